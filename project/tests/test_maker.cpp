// The maker's libraries: program folder, stored-path translation, text items, schedules, client.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "project/maker/client.h"
#include "project/maker/file.h"
#include "project/maker/schedule.h"
#include "project/maker/str.h"

namespace fs = std::filesystem;

namespace {
fs::path Scratch(const char* name) {
    fs::path p = fs::current_path() / name;
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}
void Touch(const fs::path& p, const std::string& text = "x") {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}
}  // namespace

TEST(Maker, ProgramFolderComesFromHalvoHome) {
    std::string folder;
    ASSERT_NE(FILE_GetModulePathName(folder), 0);
    const char* home = std::getenv("HALVO_HOME");  // set by the test runner
    EXPECT_EQ(folder, home ? fs::path(home).string() : fs::read_symlink("/proc/self/exe").parent_path().string());
    std::string out;
    FILE_PathFile(out, "/prog", "default.hvf");
    EXPECT_EQ(out, "/prog\\default.hvf");
    FILE_PathFile(out, "/prog", "\\Weather\\a.wsw");
    EXPECT_EQ(out, "/prog\\Weather\\a.wsw");
    EXPECT_EQ(STR_IsBlank(""), 1);
    EXPECT_EQ(STR_IsBlank(" \t "), 1);
    EXPECT_EQ(STR_IsBlank(" a "), 0);
}

TEST(Maker, StoredPathsResolveIgnoringLetterCase) {
    fs::path root = Scratch("paths");
    Touch(root / "Weather" / "Canada" / "Toronto.wsw");
    Touch(root / "Weather" / "exact.WSW");
    std::string r = root.string();
    struct Case { std::string in, out; };
    const Case cases[] = {
        {r + "\\Weather\\Canada\\Toronto.wsw", r + "/Weather/Canada/Toronto.wsw"},
        {r + "\\WEATHER\\canada\\TORONTO.WSW", r + "/Weather/Canada/Toronto.wsw"},
        {r + "/weather//Canada\\toronto.wsw", r + "/Weather/Canada/Toronto.wsw"},
        {r + "\\weather\\Exact.wsw", r + "/Weather/exact.WSW"},
        // Nothing beyond letter case is guessed; a missing part and what follows stay as given.
        {r + "\\weather\\Kanada\\Toronto.wsw", r + "/Weather/Kanada/Toronto.wsw"},
        {r + "\\weather\\new.hvf", r + "/Weather/new.hvf"},
    };
    for (const Case& c : cases) EXPECT_EQ(FILE_HostPath(c.in), c.out) << c.in;
    EXPECT_EQ(FILE_FileExists(r + "\\WEATHER\\Canada\\toronto.wsw"), 1);
    EXPECT_EQ(FILE_FileExists(r + "\\Weather\\Canada\\Ottawa.wsw"), 0);

    const char* old = std::getenv("HALVO_HOME");
    std::string keep = old ? old : "";
    setenv("HALVO_HOME", (r + "/").c_str(), 1);
    EXPECT_EQ(FILE_ProgramPath("\\weather\\canada\\toronto.wsw"), r + "/Weather/Canada/Toronto.wsw");
    setenv("HALVO_HOME", keep.c_str(), 1);
}

TEST(Maker, TextItemsAndLinesNeverReadPastTheEnd) {
    std::vector<unsigned char> out;
    CFile w;
    FILE_OpenMemoryWrite(w, out);
    FILE_WriteCString(w, "hello");
    FILE_WriteStr(w, "line one\r\nline two");
    FILE_Close(w);
    ASSERT_EQ(out.size(), 4u + 5 + 18);

    CFile f;
    FILE_OpenMemory(f, out.data(), out.size(), "mem");
    std::string s;
    EXPECT_EQ(FILE_ReadCString(f, s), 0);
    EXPECT_EQ(s, "hello");
    char line[32];
    EXPECT_EQ(FILE_ReadStr(f, line, 31, 0), 0);
    EXPECT_STREQ(line, "line one");
    EXPECT_EQ(FILE_ReadStr(f, line, 4, 0), 0);  // capacity reached before the line end
    EXPECT_STREQ(line, "line");
    EXPECT_EQ(FILE_ReadStr(f, line, 31, 0), 0);
    EXPECT_STREQ(line, " two");
    EXPECT_NE(FILE_ReadStr(f, line, 31, 0), 0);
    EXPECT_NE(GEN_GetRetCode(), 0);

    // A length prefix larger than what follows fails and leaves the text alone.
    unsigned char bad[] = {6, 0, 0, 0, 'a', 'b', 'c'};
    FILE_OpenMemory(f, bad, sizeof bad, "bad");
    s = "kept";
    EXPECT_NE(FILE_ReadCString(f, s), 0);
    EXPECT_EQ(s, "kept");
    unsigned char shortInt[] = {1, 2, 3};
    FILE_OpenMemory(f, shortInt, sizeof shortInt, "short");
    std::int32_t v = 9;
    EXPECT_NE(FILE_ReadI32(f, v), 0);
    EXPECT_EQ(v, 9);
}

TEST(Maker, BuiltInSchedules) {
    // Weekday columns are Monday..Sunday; hour h runs from h:00 to h+1:00.
    struct Case { int id; int hoursOnMonday; int hoursOnSaturday; int hoursOnSunday; int halfMonthsOn; };
    const Case cases[] = {
        {0, 24, 24, 24, 24}, {1, 9, 0, 0, 24}, {2, 16, 0, 0, 24}, {3, 12, 12, 0, 24},
        {4, 16, 16, 16, 24}, {5, 24, 24, 24, 14}, {6, 9, 0, 0, 14}, {7, 16, 0, 0, 14},
    };
    ASSERT_EQ(C_Schedule4Occ::BuiltInList().size(), std::size(cases));
    for (const Case& c : cases) {
        C_Schedule4Occ s;
        ASSERT_EQ(s.AssignSchedule(c.id), 0);
        std::int32_t half[24], hours[24][7];
        s.Convert2BOOLs(half, hours);
        int mon = 0, sat = 0, sun = 0, on = 0;
        for (int h = 0; h < 24; ++h) {
            mon += hours[h][0];
            sat += hours[h][5];
            sun += hours[h][6];
        }
        for (int k = 0; k < 24; ++k) on += half[k];
        EXPECT_EQ(mon, c.hoursOnMonday) << c.id;
        EXPECT_EQ(sat, c.hoursOnSaturday) << c.id;
        EXPECT_EQ(sun, c.hoursOnSunday) << c.id;
        EXPECT_EQ(on, c.halfMonthsOn) << c.id;
        EXPECT_FALSE(C_Schedule4Occ::IsChangable(c.id));
        EXPECT_STRNE(s.GetPtr4Name(), "");
    }
    C_Schedule4Occ s;
    s.AssignSchedule(6);
    EXPECT_EQ(s.halfMonth[7], 1);   // second half of April
    EXPECT_EQ(s.halfMonth[8], 0);   // first half of May
    EXPECT_EQ(s.halfMonth[17], 0);  // second half of September
    EXPECT_EQ(s.halfMonth[18], 1);  // first half of October
    EXPECT_EQ(s.AssignSchedule(100), -1);
    EXPECT_EQ(s.id, 6);
    EXPECT_TRUE(C_Schedule4Occ::IsChangable(100));
}

TEST(Maker, ScheduleLibraryFile) {
    fs::path dir = Scratch("schedlib");
    std::string lib = (dir / "schedules.txt").string();
    Touch(lib,
          "# night shift\n"
          "SCHEDULE 120 Night Shift\r\n"
          "HALFMONTHS 111111111111111111111111\n"
          "HOUR 22 1111100\n"
          "HOUR 23 1111100\n"
          "END\n"
          "\n"
          "SCHEDULE 101 Weekend Only\n"
          "HALFMONTHS 000000000000000000000011\n"
          "HOUR 10 0000011\n"
          "END\n");
    C_Schedule4Occ s;
    ASSERT_EQ(s.ReadFromLib(120, lib), 0);
    EXPECT_EQ(s.name, "Night Shift");
    EXPECT_EQ(s.hours[22][4], 1);
    EXPECT_EQ(s.hours[22][5], 0);
    EXPECT_EQ(s.hours[21][0], 0);
    std::string problem;
    EXPECT_EQ(s.ReadFromLib(102, lib, &problem), -2);
    EXPECT_EQ(s.id, 120);
    auto list = C_Schedule4Occ::MakeListOfOccScheds(lib);
    ASSERT_EQ(list.size(), C_Schedule4Occ::BuiltInList().size() + 2);
    EXPECT_EQ(list[list.size() - 2].id, 101);
    EXPECT_EQ(list.back().name, "Night Shift");
    EXPECT_EQ(s.ReadFromLib(120, (dir / "none.txt").string()), -1);

    struct Bad { const char* text; const char* problem; };
    const Bad bads[] = {
        {"SCHEDULE 100 A\nHALFMONTHS 1111\nEND\n", "line 2: HALFMONTHS needs 24 digits 0 or 1"},
        {"SCHEDULE 99 A\n", "line 1: schedule id must be a whole number of at least 100"},
        {"SCHEDULE 100 A\nHALFMONTHS 111111111111111111111111\nHOUR 24 1111111\nEND\n",
         "line 3: HOUR needs an hour 0..23 and 7 digits 0 or 1"},
        {"SCHEDULE 100 A\nHALFMONTHS 111111111111111111111111\n", "line 2: last schedule has no END"},
        {"HOUR 1 1111111\n", "line 1: \"HOUR\" outside a SCHEDULE ... END block"},
        {"SCHEDULE 100 A\nHALFMONTHS 111111111111111111111111\nEND\nSCHEDULE 100 B\n",
         "line 4: schedule id 100 appears twice"},
    };
    for (const Bad& b : bads) {
        Touch(lib, b.text);
        C_Schedule4Occ t;
        EXPECT_EQ(t.ReadFromLib(100, lib, &problem), -3) << b.text;
        EXPECT_EQ(problem, b.problem);
        EXPECT_EQ(t.id, 0);
    }
}

TEST(Maker, ScheduleAndClientRecordsOnTheStream) {
    C_Schedule4Occ s;
    s.AssignSchedule(3);
    C_ClientData c;
    for (int i = 0; i < C_ClientData::kFieldCount; ++i) c.Field(i) = std::string(i, 'a' + i);
    std::vector<unsigned char> out;
    CFile w;
    FILE_OpenMemoryWrite(w, out);
    ASSERT_EQ(s.Write2File(w), 0);
    ASSERT_EQ(c.Write2File(w), 0);
    FILE_Close(w);

    CFile f;
    FILE_OpenMemory(f, out.data(), out.size(), "mem");
    C_Schedule4Occ s2;
    C_ClientData c2;
    ASSERT_EQ(s2.Read4File(f), 0);
    ASSERT_EQ(c2.Read4File(f), 0);
    EXPECT_EQ(s2, s);
    EXPECT_EQ(c2, c);

    // A flag byte other than 0 or 1 marks a damaged record; nothing is taken over.
    std::vector<unsigned char> bad = out;
    bad[4 + 4 + s.name.size() + 3] = 2;
    FILE_OpenMemory(f, bad.data(), bad.size(), "bad");
    C_Schedule4Occ s3;
    EXPECT_NE(s3.Read4File(f), 0);
    EXPECT_EQ(s3, C_Schedule4Occ());
}
