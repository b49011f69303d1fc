#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/weather/weather_file.h"
#include "nimbra/epw_import.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Regina CWEC 2016 with the columns the importer reads (the others set to 0); its snow column
// holds the 0/1 "snow on the ground" flags of CWEC files.
const std::string& Fixture() {
    static const std::string text = [] {
        std::ifstream in(std::string(HALVO_TEST_SOURCE_DIR) + "/tests/data/regina_cwec2016.epw",
                         std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }();
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return s;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> f;
    std::istringstream in(line);
    for (std::string x; std::getline(in, x, ',');) f.push_back(x);
    return f;
}

std::string SetField(const std::string& line, int index, const std::string& value) {
    auto f = Fields(line);
    f[index] = value;
    std::string s;
    for (size_t i = 0; i < f.size(); ++i) s += (i ? "," : "") + f[i];
    return s;
}

struct SImport {
    int rc = -1;
    std::unique_ptr<CWeatherFileData> data = std::make_unique<CWeatherFileData>();
    std::vector<std::string> warnings;
    std::string error;
};

SImport Import(const std::string& text, nimbra::SEpwImportOptions options = {}) {
    SImport r;
    r.rc = nimbra::ImportEpw(text, "regina.epw", options, *r.data, r.warnings, r.error);
    return r;
}

constexpr size_t kFirstRow = 8;  // index of the first data line

TEST(EpwImport, MonthlyRadiationMatchesTheEpw) {
    // Monthly mean daily global horizontal radiation of the EPW, from its own rows.
    const auto lines = Lines(Fixture());
    double epw[13] = {};
    for (size_t i = kFirstRow; i < lines.size(); ++i) {
        const auto f = Fields(lines[i]);
        epw[std::stoi(f[1])] += std::stod(f[13]);
    }
    const SImport r = Import(Fixture());
    ASSERT_EQ(r.rc, 0) << r.error;
    EXPECT_TRUE(r.warnings.empty());
    int n = 0;
    for (int m = 1; m <= 12; ++m) {
        double wh = 0;
        for (int d = 0; d < kDays[m]; ++d, ++n)
            for (const CWeatherHour& h : r.data->days[n].hours) wh += h.globalHoriz / 3.6;
        const double want = epw[m] / kDays[m], got = wh / kDays[m];
        EXPECT_NEAR(got, want, std::max(0.01 * want, 2.0)) << "month " << m;
    }
}

TEST(EpwImport, HeaderAndHourlyValues) {
    nimbra::SEpwImportOptions options;
    const SImport r = Import(Fixture(), options);
    ASSERT_EQ(r.rc, 0) << r.error;
    const CWeatherFileData& d = *r.data;
    EXPECT_EQ(d.stationCode, 1);
    EXPECT_EQ(std::string(d.stationName), "Regina Intl AP");
    // 50.4333 N: 50 degrees 26 minutes; 104.6667 W: 104 degrees 40 minutes; 577.6 m.
    EXPECT_EQ(std::string(d.latitudeField, 10), std::string("SKN 50 26\0", 10));
    EXPECT_EQ(std::string(d.longitudeText, 12), std::string("W 104 40\0\0\0\0", 12));
    EXPECT_EQ(d.elevation, 578);

    // CWEC snow flags: 6 on days with snow on the ground, 2 otherwise.
    EXPECT_EQ(d.days[10].groundReflectance, 6);
    EXPECT_EQ(d.days[190].groundReflectance, 2);

    // Regina lies 14.67 degrees west of its zone meridian: solar time runs about an hour behind
    // standard time, so a solar hour ends near the end of the standard hour after it. The mean
    // over the year is kept, and the July noon hours are the EPW hours about an hour later.
    const auto lines = Lines(Fixture());
    double tEpw = 0, tOut = 0;
    for (size_t i = kFirstRow; i < lines.size(); ++i) tEpw += std::stod(Fields(lines[i])[6]);
    for (const CWeatherDay& day : d.days)
        for (const CWeatherHour& h : day.hours) tOut += h.dryBulb / 10.0;
    EXPECT_NEAR(tOut / 8760, tEpw / 8760, 0.02);
    // Humidity ratio from dew point and station pressure (1 Jan hour 1: -31.9 C, 96290 Pa gives
    // about 0.000196 kg/kg); all values in a plausible range.
    for (const CWeatherDay& day : d.days)
        for (const CWeatherHour& h : day.hours) {
            ASSERT_GT(h.humidityRatio, 50);
            ASSERT_LT(h.humidityRatio, 25000);
            ASSERT_GE(h.windSpeed, 0);
        }

    options.stationName = "Regina";
    options.regionCode = "SK";
    options.stationCode = 11;
    const SImport named = Import(Fixture(), options);
    EXPECT_EQ(named.data->stationCode, 11);
    EXPECT_EQ(std::string(named.data->stationName), "Regina");
}

TEST(EpwImport, LeapYearDropsTheTwentyNinth) {
    auto lines = Lines(Fixture());
    // Insert a 29 February after 28 February hour 24 (day 59).
    const size_t after = kFirstRow + 59 * 24;
    std::vector<std::string> leap;
    for (int h = 1; h <= 24; ++h) {
        std::string row = SetField(lines[after - 24 + h - 1], 2, "29");
        leap.push_back(SetField(row, 6, "55.5"));
    }
    lines.insert(lines.begin() + after, leap.begin(), leap.end());
    const SImport r = Import(Join(lines));
    ASSERT_EQ(r.rc, 0) << r.error;
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("29 February dropped (24 rows)"), std::string::npos) << r.warnings[0];
    const SImport plain = Import(Fixture());
    EXPECT_EQ(std::memcmp(r.data.get(), plain.data.get(), sizeof(CWeatherFileData)), 0);
}

TEST(EpwImport, MissingValuesAreInterpolated) {
    auto lines = Lines(Fixture());
    // 10 July, hours 11-13: dry bulb and GHI missing, wind missing at hour 12.
    const size_t row = kFirstRow + (190 * 24) + 10;
    for (size_t i = row; i < row + 3; ++i) {
        lines[i] = SetField(lines[i], 6, "99.9");
        lines[i] = SetField(lines[i], 13, "9999");
    }
    lines[row + 1] = SetField(lines[row + 1], 21, "999");
    const SImport r = Import(Join(lines));
    ASSERT_EQ(r.rc, 0) << r.error;
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("7 missing values filled by interpolation"), std::string::npos)
        << r.warnings[0];
    EXPECT_NE(r.warnings[0].find("dry bulb temperature 3"), std::string::npos);
    for (const CWeatherHour& h : r.data->days[190].hours) {
        EXPECT_LT(h.dryBulb, 450);
        EXPECT_LT(h.globalHoriz, 4000);
    }
}

TEST(EpwImport, SnowRules) {
    struct Case {
        const char* what;
        const char* depth;  // every row's snow depth
        int january, july;
    };
    // Without snow data the month's mean temperature decides: Regina's January is below 0 C.
    const Case cases[] = {{"all zero (TMY3)", "0", 6, 2},
                          {"missing (SWERA 899)", "899", 6, 2},
                          {"snow all year", "15", 6, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto lines = Lines(Fixture());
        for (size_t i = kFirstRow; i < lines.size(); ++i) lines[i] = SetField(lines[i], 30, c.depth);
        const SImport r = Import(Join(lines));
        ASSERT_EQ(r.rc, 0) << r.error;
        EXPECT_EQ(r.data->days[15].groundReflectance, c.january);
        EXPECT_EQ(r.data->days[196].groundReflectance, c.july);
    }
}

TEST(EpwImport, NegativeElevationIsZero) {
    auto lines = Lines(Fixture());
    lines[0] = SetField(lines[0], 9, "-28.0");
    const SImport r = Import(Join(lines));
    ASSERT_EQ(r.rc, 0) << r.error;
    EXPECT_EQ(r.data->elevation, 0);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("elevation -28.0 m written as 0 m"), std::string::npos);
}

TEST(EpwImport, MalformedFilesNameTheLine) {
    struct Case {
        const char* what;
        void (*edit)(std::vector<std::string>&);
        const char* message;
    };
    const Case cases[] = {
        {"field count", [](std::vector<std::string>& l) { l[19] = l[19].substr(0, l[19].rfind(',')); },
         "regina.epw, line 20: 34 fields, 35 expected."},
        {"not a number", [](std::vector<std::string>& l) { l[30] = SetField(l[30], 6, "abc"); },
         "regina.epw, line 31, field 7 (dry bulb temperature): \"abc\" is not a number."},
        {"bad month", [](std::vector<std::string>& l) { l[40] = SetField(l[40], 1, "13"); },
         "regina.epw, line 41, field 2 (month): \"13\" is not a month 1-12."},
        {"too few rows", [](std::vector<std::string>& l) { l.resize(l.size() - 30); },
         "regina.epw: too few rows: 8730 hourly rows of a 365-day year (8760 needed); the first "
         "missing is 12/30 hour 19."},
        {"duplicate row", [](std::vector<std::string>& l) { l[9] = l[8]; },
         "regina.epw, line 10: a second row for 1/1 hour 1 (the first is line 9)."},
        {"no data periods", [](std::vector<std::string>& l) { l[7] = "COMMENTS 3"; },
         "regina.epw: no DATA PERIODS line; this is not an EPW weather file."},
        {"bad latitude", [](std::vector<std::string>& l) { l[0] = SetField(l[0], 6, "95"); },
         "regina.epw, line 1, field 7 (latitude): \"95\" is not a valid latitude."},
        {"not an EPW", [](std::vector<std::string>& l) { l = {"hello", "world"}; },
         "regina.epw: no LOCATION line; this is not an EPW weather file."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto lines = Lines(Fixture());
        c.edit(lines);
        const SImport r = Import(Join(lines));
        EXPECT_EQ(r.rc, nimbra::kEpwMalformed);
        EXPECT_EQ(r.error, c.message);
    }
}

TEST(EpwImport, EquationOfTime) {
    // Spencer (1971); extremes near 11 February (about -14.2 min) and 3 November (+16.4 min).
    EXPECT_NEAR(nimbra::EquationOfTime(42), -14.2, 0.4);
    EXPECT_NEAR(nimbra::EquationOfTime(307), 16.4, 0.4);
}

TEST(EpwImport, Command) {
    const fs::path dir = fs::current_path() / ("cmd-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string in = std::string(HALVO_TEST_SOURCE_DIR) + "/tests/data/regina_cwec2016.epw";
    const std::string out = (dir / "Regina.wsw").string();
    std::ostringstream o, e;
    EXPECT_EQ(nimbra::RunImportEpw({in, "-o", out, "--name", "Regina", "--region", "SK", "--code", "11"}, o, e), 0)
        << e.str();
    EXPECT_EQ(fs::file_size(out), 70936u);
    CWeatherFileData d;
    std::string error;
    ASSERT_EQ(ReadWeatherFile(out, d, error), 0) << error;
    EXPECT_EQ(d.stationCode, 11);

    struct Case {
        std::vector<std::string> args;
        int rc;
    };
    const Case cases[] = {{{in}, 2},
                          {{in, "-o"}, 2},
                          {{in, "-o", out, "--bogus"}, 2},
                          {{in, "-o", out, "--region", "SKX"}, 2},
                          {{in, "-o", out, "--code", "x"}, 2},
                          {{(dir / "none.epw").string(), "-o", out}, 3},
                          {{in, "-o", (dir / "no-such-folder" / "x.wsw").string()}, 1},
                          {{"--help"}, 0}};
    for (const Case& c : cases) {
        std::ostringstream o2, e2;
        EXPECT_EQ(nimbra::RunImportEpw(c.args, o2, e2), c.rc) << c.args.back();
    }
    fs::remove_all(dir);
}

}  // namespace
