// The hourly output columns, the per-wall output names and the output file itself.

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "engine/control/control.h"
#include "engine/control/text.h"
#include "project/maker/file.h"

namespace {

struct CColumnName {
    const char* keyword;
    EHourlyColumn column;
    const char* header;
};

const CColumnName kColumns[] = {
    {"month", EHourlyColumn::Month, "Month,"},
    {"daynum", EHourlyColumn::DayNum, "DayNum,"},
    {"weekday", EHourlyColumn::WeekDay, "WeekDay,"},
    {"hournum", EHourlyColumn::HourNum, "HourNum,"},
    {"hour", EHourlyColumn::Hour, "Hour,"},
    {"tamb", EHourlyColumn::TAmb, "TAmb,"},
    {"vwindsite", EHourlyColumn::VWindSite, "VWindSite,"},
    {"hum", EHourlyColumn::Hum, "Hum,"},
    {"hglo", EHourlyColumn::HGlo, "HGlo,"},
    {"qsol", EHourlyColumn::QSol, "QSol,"},
    {"qsolop", EHourlyColumn::QSolOp, "QSolOp,"},
    {"qcoll", EHourlyColumn::QCollSol, "QCollSol,"},
    {"qcollsol", EHourlyColumn::QCollSol, "QCollSol,"},
    {"qrecap", EHourlyColumn::QRecap, "QRecap,"},
    {"qdestrat", EHourlyColumn::QDestrat, "QDestrat,"},
    {"qrad", EHourlyColumn::QRad, "QRad,"},
    {"qconv", EHourlyColumn::QConv, "QConv,"},
    {"tskyview", EHourlyColumn::TSkyView, "TSkyView,"},
    {"tplate", EHourlyColumn::TPlate, "TPlate,"},
    {"fcoll", EHourlyColumn::FColl, "Fcoll,"},
    {"fsupply", EHourlyColumn::FSupply, "Fsupply,"},
    {"fexhaust", EHourlyColumn::FExhaust, "Fexhaust,"},
    {"tcoll", EHourlyColumn::TColl, "Tcoll,"},
    {"trecirc", EHourlyColumn::TRecirc, "Trecirc,"},
    {"tceiling", EHourlyColumn::TCeiling, "Tceiling,"},
    {"tfloor", EHourlyColumn::TFloor, "Tfloor,"},
    {"texhaust", EHourlyColumn::TExhaust, "Texhaust,"},
    {"twall", EHourlyColumn::TWall, "Twall,"},
    {"bypass", EHourlyColumn::ByPass, "ByPass,"},
    {"fracfresh", EHourlyColumn::FracFresh, "FracFresh,"},
    {"flowmalcorr", EHourlyColumn::FlowMalCorr, "FlowMalCorr,"},
    {"simulate", EHourlyColumn::Simulate, "simulate,"},
};

}  // namespace

EHourlyColumn HourlyColumnOf(std::string_view keyword) {
    for (const CColumnName& c : kColumns)
        if (keyword == c.keyword) return c.column;
    return EHourlyColumn::Unknown;
}

const char* HourlyHeaderText(EHourlyColumn column) {
    for (const CColumnName& c : kColumns)
        if (c.column == column) return c.header;
    return "";
}

int SplitHourlyColumns(std::string_view keywords, EHourlyColumn* columns) {
    const std::string lower = ToLowerAscii(keywords);
    std::string_view tokens[kMaxHourlyColumns];
    const int n = Tokenize(lower, tokens, kMaxHourlyColumns, false);
    for (int i = 0; i < n; ++i) columns[i] = HourlyColumnOf(tokens[i]);
    return n;
}

int SetHourlyColumns(CControlOptions& options, std::string_view keywords) {
    options.NumColumns = SplitHourlyColumns(keywords, options.Columns);
    return options.NumColumns;
}

std::string HourlyPathForWall(std::string_view path, int wallNumber) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    std::size_t dot = path.find_last_of('.');
    // A dot that opens the name (".csv") or lies in a folder name is no extension.
    if (dot == std::string_view::npos || dot <= nameStart) dot = path.size();
    std::string out(path.substr(0, dot));
    out += "-w" + std::to_string(wallNumber);
    out += path.substr(dot);
    return out;
}

std::string ControlFilePath(const CControlOptions& options) {
    if (!options.ControlPath.empty()) return options.ControlPath;
    std::string folder, path;
    if (!FILE_GetModulePathName(folder)) return "halvopro.csv";
    FILE_PathFile(path, folder, "halvopro.csv");
    return FILE_HostPath(path);
}

int ControlFilePresent(const CControlOptions& options) {
    if (!options.HourlyPath.empty()) return 1;
    if (!options.ControlPath.empty()) return 1;  // asked for by name: a missing one is reported
    return FILE_FileExists(ControlFilePath(options)) ? 1 : 0;
}

CHourlyFile::~CHourlyFile() { Close(); }

int CHourlyFile::Open(const std::string& path) {
    Close();
    m_path = FILE_HostPath(path);
    m_temp = m_path + ".tmp";
    m_fp = std::fopen(m_temp.c_str(), "wb");
    if (m_fp == nullptr) {
        m_path.clear();
        m_temp.clear();
        return -1;
    }
    return 0;
}

int CHourlyFile::Close() {
    if (m_fp == nullptr) return 0;
    const bool writeFailed = std::ferror(m_fp) != 0;
    const bool closeFailed = std::fclose(m_fp) != 0;
    m_fp = nullptr;
    std::error_code ec;
    int rc = 0;
    if (writeFailed || closeFailed) {
        rc = -1;
    } else {
        std::filesystem::rename(m_temp, m_path, ec);
        if (ec) rc = -1;
    }
    if (rc != 0) std::filesystem::remove(m_temp, ec);
    m_path.clear();
    m_temp.clear();
    return rc;
}
