// The control file "halvopro.csv" and the hourly output of a wall's run.

#include "engine/control/control_file.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>

#include "engine/control/text.h"
#include "project/maker/file.h"
#include "project/maker/str.h"
#include "project/messages.h"

namespace {

constexpr std::size_t kLineMax[12] = {126, 255, 1024, 126, 126, 126, 126, 126, 126, 126, 126, 126};

// Lines 1 and 2: the text between the first and the second comma (to the end of the line without a
// second comma; the whole line without any). Blanks around the name are not part of it.
std::string FileNameOfLine(std::string_view line) {
    std::string_view name = line;
    const std::size_t first = line.find(',');
    if (first != std::string_view::npos) {
        name = line.substr(first + 1);
        const std::size_t second = name.find(',');
        if (second != std::string_view::npos) name = name.substr(0, second);
    }
    return std::string(TrimBlanks(name));
}

// A settings line: label, delimiter (the first comma, semicolon or colon, at position 2 or later),
// value up to the next delimiter. False when the line sets nothing.
bool SettingValue(std::string_view line, std::string_view& value) {
    const std::size_t delim = line.find_first_of(",;:");
    if (delim == std::string_view::npos || delim < 2) return false;
    value = line.substr(delim + 1);
    const std::size_t end = value.find_first_of(",;:");
    if (end != std::string_view::npos) value = value.substr(0, end);
    return !STR_IsBlank(value);
}

void ReadSettingLine(int lineNo, std::string_view line, CControlSettings& s) {
    std::string_view value;
    if (!SettingValue(line, value)) return;
    if (lineNo == 9) {
        const std::string word = ToLowerAscii(TrimBlanks(value));
        if (word == "square") s.PitchFactor = {1, 1.0};
        else if (word == "triangle") s.PitchFactor = {1, 1.6};
        return;
    }
    bool outOfRange = false;
    const double v = LeadingNumber(value, &outOfRange);
    // The run holds these in single precision (thickness and pitch after the change to mm): a
    // number beyond that range has no value there, and the wall keeps its own.
    const double held = (lineNo == 8 || lineNo == 10) ? v * 1000.0 : v;
    if (outOfRange || std::fabs(held) > FLT_MAX) return;
    switch (lineNo) {
    case 4: s.MainAbsorptance = {1, v}; break;
    case 5: s.MainEmittance = {1, v}; break;
    case 6: s.CanopyAbsorptance = {1, v}; break;
    case 7: s.CanopyEmittance = {1, v}; break;
    case 8: s.Thickness = {1, v * 1000.0}; break;   // metres in the file, mm in the run
    case 10: s.HolePitch = {1, v * 1000.0}; break;  // metres in the file, mm in the run
    case 11: s.WindFactor = {1, v}; break;
    case 12: s.Line12 = {1, v}; break;
    default: break;
    }
}

// Settings lines replace the wall's values in this order.
void ApplySettings(const CControlSettings& s, CWallRun& run) {
    if (s.MainAbsorptance.Given) run.MainAbsorptance = static_cast<float>(s.MainAbsorptance.Value);
    if (s.MainEmittance.Given) run.MainEmittance = static_cast<float>(s.MainEmittance.Value);
    if (s.CanopyAbsorptance.Given) run.CanopyAbsorptance = static_cast<float>(s.CanopyAbsorptance.Value);
    if (s.CanopyEmittance.Given) run.CanopyEmittance = static_cast<float>(s.CanopyEmittance.Value);
    if (s.Thickness.Given) run.Thickness = static_cast<float>(s.Thickness.Value);
    if (s.PitchFactor.Given) run.PitchFactor = s.PitchFactor.Value;
    if (s.HolePitch.Given) run.HolePitch = static_cast<float>(s.HolePitch.Value);
    if (s.WindFactor.Given) run.WindFactor = static_cast<float>(s.WindFactor.Value);
}

void ReadControlLines(CFile& file, CWallRun& run, CMessenger& messenger) {
    CControlRun& ctl = run.Control;
    CControlSettings& s = ctl.Settings;
    CLineReader reader(file);
    std::string line;
    for (int lineNo = 1; lineNo <= 12; ++lineNo) {
        if (reader.Read(line, kLineMax[lineNo - 1]) != 0) break;
        if (lineNo == 1) {
            s.AltInputName = FileNameOfLine(line);
            if (!s.AltInputName.empty() &&
                ReadAlternateInput(ctl.Alt, s.AltInputName, messenger) == kAltReadOk) {
                run.AltInputActive = 1;
                messenger.Show("Halvo will use the Alternate Input file '" + s.AltInputName + "'",
                               "Halvo", MsgIcon::None, MsgButtons::Ok);
            }
        } else if (lineNo == 2) {
            s.HourlyName = FileNameOfLine(line);
        } else if (lineNo == 3) {
            if (!s.HourlyName.empty()) s.NumColumns = SplitHourlyColumns(line, s.Columns);
        } else {
            ReadSettingLine(lineNo, line, s);
        }
    }
    ApplySettings(s, run);
}

}  // namespace

int ReadControlFile(CWallRun& run, CMessenger& messenger) {
    CControlRun& ctl = run.Control;
    ctl.Hourly.Close();  // a previous wall's output that was never closed is kept as written
    ctl.Settings = CControlSettings{};
    ctl.HourlyPathInUse.clear();
    run.AltInputActive = 0;

    const CControlOptions& opt = ctl.Options;
    const std::string path = ControlFilePath(opt);
    if (!opt.ControlPath.empty() || FILE_FileExists(path)) {
        CFile file;
        if (FILE_Open(file, path, 0, 0) != 0 || GEN_GetRetCode() != 0) {
            messenger.Show("Error Reading HalvoPro.csv file. It will be ignored\n", "Halvo",
                           MsgIcon::None, MsgButtons::Ok);
        } else {
            ReadControlLines(file, run, messenger);
            FILE_Close(file);
        }
    }

    if (!opt.HourlyPath.empty()) {
        // The command line's output: one file per wall, with its own columns.
        ctl.HourlyPathInUse = HourlyPathForWall(opt.HourlyPath, run.WallNumber);
        ctl.Settings.NumColumns = opt.NumColumns;
        for (int i = 0; i < opt.NumColumns && i < kMaxHourlyColumns; ++i)
            ctl.Settings.Columns[i] = opt.Columns[i];
    } else {
        ctl.HourlyPathInUse = ctl.Settings.HourlyName;
    }
    return 0;
}

int WriteHourlyHeader(CWallRun& run, CMessenger& messenger) {
    CControlRun& ctl = run.Control;
    run.HourlyOutputActive = 0;
    // Taken once: a later wall whose run reads no control file writes no output.
    const std::string path = std::move(ctl.HourlyPathInUse);
    ctl.HourlyPathInUse.clear();
    if (path.empty()) return 0;

    if (ctl.Hourly.Open(path) != 0) {
        messenger.Show("Error writing to the specified output file " + path + ".", "Halvo",
                       MsgIcon::Warning, MsgButtons::Ok);
        return -1;
    }
    messenger.Show("Writing hourly output to " + path + ".", "Halvo", MsgIcon::Information,
                   MsgButtons::Ok);
    std::string header;
    for (int i = 0; i < ctl.Settings.NumColumns; ++i) header += HourlyHeaderText(ctl.Settings.Columns[i]);
    header += '\n';
    std::fputs(header.c_str(), ctl.Hourly.Stream());
    ctl.HourlyFileName = path;
    run.HourlyOutputActive = 1;
    return 0;
}

namespace {

// -999.9 for a flow the hour did not compute, else the mass flow as a volume flow [l/s].
double VolumeFlow(float flow, float density) {
    if (flow < -999.0f) return -999.9;
    return flow / 3.6 / density;
}

}  // namespace

void WriteHourlyLine(CWallRun& run) {
    CControlRun& ctl = run.Control;
    std::FILE* fp = ctl.Hourly.Stream();
    if (fp == nullptr) return;
    // Fields go straight into the file's buffer: a value of any size prints in full.
    auto put = [fp](const char* format, auto value) { std::fprintf(fp, format, value); };
    for (int i = 0; i < ctl.Settings.NumColumns; ++i) {
        switch (ctl.Settings.Columns[i]) {
        case EHourlyColumn::Month: put("%d,", run.Month); break;
        case EHourlyColumn::DayNum: put("%d,", run.Day); break;
        case EHourlyColumn::WeekDay: put("%d,", run.Weekday); break;
        case EHourlyColumn::HourNum: put("%d,", (run.Day - 1) * 24 + run.Hour); break;
        case EHourlyColumn::Hour: put("%d,", run.Hour); break;
        case EHourlyColumn::TAmb: put("%6.2f,", static_cast<double>(run.TAmb)); break;
        case EHourlyColumn::VWindSite: put("%4.1f,", static_cast<double>(run.VWindSite)); break;
        case EHourlyColumn::Hum: put("%6.4f,", run.HumRatio); break;
        case EHourlyColumn::HGlo: put("%7.1f,", run.HGlo * 3.6); break;
        // The area times the irradiance is formed in 32 bits, as the run holds both.
        case EHourlyColumn::QSol: put("%7.1f,", static_cast<double>(run.CollArea * run.QSol) * 3.6); break;
        case EHourlyColumn::QSolOp: put("%7.1f,", static_cast<double>(run.QSolOp)); break;
        case EHourlyColumn::QCollSol: put("%7.1f,", static_cast<double>(run.QColl)); break;
        case EHourlyColumn::QRecap: put("%7.1f,", static_cast<double>(run.QRecap)); break;
        case EHourlyColumn::QDestrat: put("%7.1f,", static_cast<double>(run.QDestrat)); break;
        case EHourlyColumn::QRad: put("%7.1f,", static_cast<double>(run.QRad)); break;
        case EHourlyColumn::QConv: put("%7.1f,", static_cast<double>(run.QConv)); break;
        case EHourlyColumn::TSkyView: put("%7.2f,", run.TSkyView); break;
        case EHourlyColumn::TPlate: put("%7.2f,", run.TPlate); break;
        case EHourlyColumn::FColl: put("%7.0f,", VolumeFlow(run.FlowColl, run.AirDensity)); break;
        case EHourlyColumn::FSupply: put("%7.0f,", VolumeFlow(run.FlowSupply, run.AirDensity)); break;
        case EHourlyColumn::FExhaust: put("%7.1f,", VolumeFlow(run.FlowExhaust, run.AirDensity)); break;
        case EHourlyColumn::TColl: put("%7.2f,", static_cast<double>(run.TColl)); break;
        case EHourlyColumn::TRecirc: put("%7.2f,", static_cast<double>(run.TRecirc)); break;
        case EHourlyColumn::TCeiling: put("%7.2f,", static_cast<double>(run.TCeiling)); break;
        case EHourlyColumn::TFloor: put("%7.2f,", static_cast<double>(run.TFloor)); break;
        case EHourlyColumn::TExhaust: put("%7.2f,", static_cast<double>(run.TExhaust)); break;
        case EHourlyColumn::TWall: put("%7.2f,", static_cast<double>(run.TWall)); break;
        case EHourlyColumn::ByPass: put("%4.2f,", static_cast<double>(run.Bypass)); break;
        case EHourlyColumn::FracFresh: put("%4.2f,", static_cast<double>(run.FracFresh)); break;
        case EHourlyColumn::FlowMalCorr: put("%4.2f,", run.FlowMalCorr); break;
        case EHourlyColumn::Simulate: {
            const double v = AltInput(run, EAltKey::Simulate);
            if (v > -999.0) put("%1.0f,", v);
            else put("%s", "1.0,");
            break;
        }
        case EHourlyColumn::Unknown: put("%s", " -- ,"); break;
        }
    }
    std::fputc('\n', fp);
}

void CloseHourlyOutput(CWallRun& run, CMessenger& messenger) {
    CControlRun& ctl = run.Control;
    run.HourlyOutputActive = 0;
    if (!ctl.Hourly.IsOpen()) return;
    if (ctl.Hourly.Close() != 0)
        messenger.Show("Error writing to the specified output file " + ctl.HourlyFileName + ".",
                       "Halvo", MsgIcon::Warning, MsgButtons::Ok);
}
