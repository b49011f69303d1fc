#include "engine/control/control.h"

// First cut: the types and entry points the engine builds against; the readers follow.

const char* AltKeyword(EAltKey) { return ""; }

void ClearAltInput(CAltInput& alt) {
    for (auto& table : alt.Table)
        for (auto& day : table)
            for (float& v : day) v = kAltNoValue;
    for (auto& day : alt.HumRatio)
        for (double& v : day) v = kAltNoValue;
}

int ReadAlternateInput(CAltInput& alt, const std::string&, CMessenger&) {
    ClearAltInput(alt);
    return kAltCannotOpen;
}

int ReadAlternateInputFrom(CAltInput& alt, CFile&, const std::string&, CMessenger&) {
    ClearAltInput(alt);
    return kAltCannotOpen;
}

EHourlyColumn HourlyColumnOf(std::string_view) { return EHourlyColumn::Unknown; }
const char* HourlyHeaderText(EHourlyColumn) { return ""; }
int SetHourlyColumns(CControlOptions& options, std::string_view) { return options.NumColumns = 0; }
std::string HourlyPathForWall(std::string_view path, int) { return std::string(path); }
std::string ControlFilePath(const CControlOptions& options) { return options.ControlPath; }
int ControlFilePresent(const CControlOptions&) { return 0; }

CHourlyFile::~CHourlyFile() { Close(); }
int CHourlyFile::Open(const std::string&) { return -1; }
int CHourlyFile::Close() { return 0; }

int ControlTokenize(std::string_view, std::string_view*, int) { return 0; }
