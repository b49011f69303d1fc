#pragma once
// Fan operating schedules, selected by id: built-in schedules (ids 0..99) and user schedules read
// from the plain-text schedule library "schedules.txt" beside the program (ids 100 and up).
// The format of that file and the list of built-in ids are in project/maker/SCHEDULES.md.
//
// A project stores the whole schedule record of each wall (id, name and both flag tables), so a
// project keeps its schedules when opened where the library differs; the simulation converts the
// stored record, never the library.

#include <cstdint>
#include <string>
#include <vector>

class CFile;
class CMessenger;

constexpr int kScheduleFirstLibraryId = 100;
constexpr const char* kScheduleLibraryFile = "schedules.txt";

// One entry of a schedule list (for a combo box).
struct CScheduleListEntry {
    int id = 0;
    std::string name;
};

class C_Schedule4Occ {
public:
    C_Schedule4Occ();  // schedule 0 (fans always on)

    int id = 0;
    std::string name;
    std::uint8_t halfMonth[24] = {};   // 1 if the fans run in half-month k (k = 0..23)
    std::uint8_t hours[24][7] = {};    // [hour 0..23][weekday 0..6]: 1 if the fans run

    // Selects built-in schedule `id`. Returns 0 on success; an unknown or library id leaves the
    // record unchanged and returns -1 (use ReadFromLib for library ids).
    int AssignSchedule(int id);
    // Fills the 24 half-month flags and the 24 x 7 hourly table (0/1) from this schedule.
    void Convert2BOOLs(std::int32_t halfMonthOut[24], std::int32_t hourlyOut[24][7]) const;
    // Name of the schedule, for the report.
    const char* GetPtr4Name() const { return name.c_str(); }
    // True when `id` names a schedule that must be read from the schedule library file.
    static bool IsChangable(int id) { return id >= kScheduleFirstLibraryId; }
    // Reads schedule `id` from the library file at `libraryPath` (host or stored form). Returns 0 on
    // success, -1 when the file cannot be opened, -2 when the id is not in it, -3 when the file is
    // malformed (`problem` then names the line and what is wrong). The record is unchanged on failure.
    int ReadFromLib(int id, const std::string& libraryPath, std::string* problem = nullptr);
    // The built-in schedules followed by those of the library file (when it can be read).
    static std::vector<CScheduleListEntry> MakeListOfOccScheds(const std::string& libraryPath);
    // The built-in schedules only.
    static std::vector<CScheduleListEntry> BuiltInList();

    // Stored form: 32-bit id, name as a FILE_WriteCString item, 24 half-month bytes, then 168
    // hour bytes (hour-major, weekday 0..6). Read4File returns 0 on success, leaves the record
    // unchanged on failure and fails on flag bytes other than 0 and 1.
    int Write2File(CFile& file) const;
    int Read4File(CFile& file);

    bool operator==(const C_Schedule4Occ&) const = default;
};

// Path of the schedule library beside the program.
std::string ScheduleLibraryPath();
