#include "project/maker/schedule.h"

#include <cstdlib>
#include <cstring>
#include <map>

#include "project/maker/file.h"

namespace {
// Weekday columns 0..6 are Monday..Sunday; hour h is the hour from h:00 to h+1:00.
struct BuiltIn {
    int id;
    const char* name;
    int firstHour;     // first operating hour (inclusive)
    int endHour;       // operating hours end before this hour
    int days;          // operating weekdays: 0..days-1 (5 = Mon-Fri, 6 = Mon-Sat, 7 = every day)
    bool heatingOnly;  // only the half-months of October to April
};

constexpr BuiltIn kBuiltIns[] = {
    {0, "24 Hours, 7 Days, All Year", 0, 24, 7, false},
    {1, "Weekdays 8:00-17:00, All Year", 8, 17, 5, false},
    {2, "Two Shifts, Weekdays 6:00-22:00, All Year", 6, 22, 5, false},
    {3, "Six Days 7:00-19:00, All Year", 7, 19, 6, false},
    {4, "Seven Days 7:00-23:00, All Year", 7, 23, 7, false},
    {5, "24 Hours, 7 Days, Heating Season Only", 0, 24, 7, true},
    {6, "Weekdays 8:00-17:00, Heating Season Only", 8, 17, 5, true},
    {7, "Two Shifts, Weekdays 6:00-22:00, Heating Season Only", 6, 22, 5, true},
};

// Half-months 0..7 (January-April) and 18..23 (October-December).
bool InHeatingSeason(int k) { return k <= 7 || k >= 18; }

const BuiltIn* FindBuiltIn(int id) {
    for (const BuiltIn& b : kBuiltIns)
        if (b.id == id) return &b;
    return nullptr;
}

void Fill(C_Schedule4Occ& s, const BuiltIn& b) {
    s.id = b.id;
    s.name = b.name;
    for (int k = 0; k < 24; ++k) s.halfMonth[k] = (!b.heatingOnly || InHeatingSeason(k)) ? 1 : 0;
    for (int h = 0; h < 24; ++h)
        for (int d = 0; d < 7; ++d) s.hours[h][d] = (h >= b.firstHour && h < b.endHour && d < b.days) ? 1 : 0;
}

std::string Trim(std::string_view s) {
    std::size_t a = 0, e = s.size();
    while (a < e && (s[a] == ' ' || s[a] == '\t' || s[a] == '\r')) ++a;
    while (e > a && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return std::string(s.substr(a, e - a));
}

bool ParseFlags(std::string_view text, std::uint8_t* out, std::size_t n) {
    if (text.size() != n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] != '0' && text[i] != '1') return false;
        out[i] = static_cast<std::uint8_t>(text[i] - '0');
    }
    return true;
}

bool ParseInt(std::string_view text, int lo, int hi, int& out) {
    if (text.empty() || text.size() > 9) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

// Reads every schedule of a library file. Returns 0, -1 (cannot open) or -3 (malformed).
int ParseLibrary(const std::string& path, std::map<int, C_Schedule4Occ>& out, std::string* problem) {
    CFile file;
    if (FILE_Open(file, path, 0, 0) != 0) {
        if (problem) *problem = "cannot open the schedule library";
        return -1;
    }
    auto fail = [&](int line, const std::string& what) {
        if (problem) *problem = "line " + std::to_string(line) + ": " + what;
        return -3;
    };
    constexpr int kLineMax = 1024;
    char buf[kLineMax + 1];
    int lineNo = 0;
    C_Schedule4Occ cur;
    bool open = false, haveHalfMonths = false;
    bool hourSeen[24] = {};
    while (file.Remaining() > 0) {
        if (FILE_ReadStr(file, buf, kLineMax, 0) != 0) break;
        ++lineNo;
        std::string line = Trim(buf);
        if (line.empty() || line[0] == '#') continue;
        std::size_t sp = line.find_first_of(" \t");
        std::string key = line.substr(0, sp);
        std::string rest = sp == std::string::npos ? "" : Trim(std::string_view(line).substr(sp));
        if (key == "SCHEDULE") {
            if (open) return fail(lineNo, "SCHEDULE before END of the previous schedule");
            std::size_t sp2 = rest.find_first_of(" \t");
            int id = 0;
            if (!ParseInt(rest.substr(0, sp2), kScheduleFirstLibraryId, 999999, id))
                return fail(lineNo, "schedule id must be a whole number of at least 100");
            if (out.count(id)) return fail(lineNo, "schedule id " + std::to_string(id) + " appears twice");
            cur = C_Schedule4Occ();
            cur.id = id;
            cur.name = sp2 == std::string::npos ? "" : Trim(std::string_view(rest).substr(sp2));
            if (cur.name.empty()) return fail(lineNo, "schedule name missing");
            std::memset(cur.halfMonth, 0, sizeof cur.halfMonth);
            std::memset(cur.hours, 0, sizeof cur.hours);
            std::memset(hourSeen, 0, sizeof hourSeen);
            open = true;
            haveHalfMonths = false;
        } else if (!open) {
            return fail(lineNo, "\"" + key + "\" outside a SCHEDULE ... END block");
        } else if (key == "HALFMONTHS") {
            if (haveHalfMonths) return fail(lineNo, "HALFMONTHS given twice");
            if (!ParseFlags(rest, cur.halfMonth, 24)) return fail(lineNo, "HALFMONTHS needs 24 digits 0 or 1");
            haveHalfMonths = true;
        } else if (key == "HOUR") {
            std::size_t sp2 = rest.find_first_of(" \t");
            int h = 0;
            if (sp2 == std::string::npos || !ParseInt(rest.substr(0, sp2), 0, 23, h))
                return fail(lineNo, "HOUR needs an hour 0..23 and 7 digits 0 or 1");
            if (hourSeen[h]) return fail(lineNo, "hour " + std::to_string(h) + " given twice");
            if (!ParseFlags(Trim(std::string_view(rest).substr(sp2)), cur.hours[h], 7))
                return fail(lineNo, "HOUR needs 7 digits 0 or 1 (Monday..Sunday)");
            hourSeen[h] = true;
        } else if (key == "END") {
            if (!haveHalfMonths) return fail(lineNo, "schedule without HALFMONTHS");
            out[cur.id] = cur;
            open = false;
        } else {
            return fail(lineNo, "unknown keyword \"" + key + "\"");
        }
    }
    if (open) return fail(lineNo, "last schedule has no END");
    return 0;
}
}  // namespace

C_Schedule4Occ::C_Schedule4Occ() { Fill(*this, kBuiltIns[0]); }

int C_Schedule4Occ::AssignSchedule(int newId) {
    const BuiltIn* b = FindBuiltIn(newId);
    if (b == nullptr) return -1;
    Fill(*this, *b);
    return 0;
}

void C_Schedule4Occ::Convert2BOOLs(std::int32_t halfMonthOut[24], std::int32_t hourlyOut[24][7]) const {
    for (int k = 0; k < 24; ++k) halfMonthOut[k] = halfMonth[k] ? 1 : 0;
    for (int h = 0; h < 24; ++h)
        for (int d = 0; d < 7; ++d) hourlyOut[h][d] = hours[h][d] ? 1 : 0;
}

int C_Schedule4Occ::ReadFromLib(int wantedId, const std::string& libraryPath, std::string* problem) {
    std::map<int, C_Schedule4Occ> all;
    int rc = ParseLibrary(libraryPath, all, problem);
    if (rc != 0) return rc;
    auto it = all.find(wantedId);
    if (it == all.end()) {
        if (problem) *problem = "schedule " + std::to_string(wantedId) + " is not in the schedule library";
        return -2;
    }
    *this = it->second;
    return 0;
}

std::vector<CScheduleListEntry> C_Schedule4Occ::BuiltInList() {
    std::vector<CScheduleListEntry> list;
    for (const BuiltIn& b : kBuiltIns) list.push_back({b.id, b.name});
    return list;
}

std::vector<CScheduleListEntry> C_Schedule4Occ::MakeListOfOccScheds(const std::string& libraryPath) {
    std::vector<CScheduleListEntry> list = BuiltInList();
    std::map<int, C_Schedule4Occ> all;
    if (ParseLibrary(libraryPath, all, nullptr) == 0)
        for (const auto& [id, s] : all) list.push_back({id, s.name});
    return list;
}

int C_Schedule4Occ::Write2File(CFile& file) const {
    if (FILE_WriteI32(file, id) != 0 || FILE_WriteCString(file, name) != 0) return -1;
    if (FILE_Write(file, halfMonth, sizeof halfMonth) != 0) return -1;
    return FILE_Write(file, hours, sizeof hours);
}

int C_Schedule4Occ::Read4File(CFile& file) {
    C_Schedule4Occ read;
    std::int32_t storedId = 0;
    if (FILE_ReadI32(file, storedId) != 0 || FILE_ReadCString(file, read.name) != 0) return -1;
    if (FILE_Read(file, read.halfMonth, sizeof read.halfMonth, 0) != 0) return -1;
    if (FILE_Read(file, read.hours, sizeof read.hours, 0) != 0) return -1;
    for (std::uint8_t f : read.halfMonth)
        if (f > 1) return -1;
    for (auto& row : read.hours)
        for (std::uint8_t f : row)
            if (f > 1) return -1;
    read.id = storedId;
    *this = std::move(read);
    return 0;
}

std::string ScheduleLibraryPath() { return FILE_ProgramPath(std::string("\\") + kScheduleLibraryFile); }
