#include "engine/weather/weather_file.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include <gtest/gtest.h>

#include "engine/weather/tests/weather_fixture.h"
#include "solar/astro.h"

namespace fs = std::filesystem;

namespace {

std::vector<unsigned char> ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& p, const std::vector<unsigned char>& b, std::size_t n) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(n));
}

// A program folder with the weather tree, named to ReadWeather through HALVO_HOME.
class WeatherRead : public testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("HALVO_HOME");
        had_home_ = old != nullptr;
        if (old) old_home_ = old;
        setenv("HALVO_HOME", dir_.path.c_str(), 1);
        fs::create_directories(dir_.path / "Weather" / "Canada" / "Ontario");
        data_ = MakeSyntheticWeather();
        std::string err;
        ASSERT_EQ(WriteWeatherFile(Host(kToronto), *data_, err), 0) << err;
        location_ = std::make_unique<CLocationData>();
    }
    void TearDown() override {
        if (had_home_) setenv("HALVO_HOME", old_home_.c_str(), 1);
        else unsetenv("HALVO_HOME");
    }
    std::string Host(const char* stored) const {
        std::string s = stored;
        for (char& c : s) if (c == '\\') c = '/';
        return (dir_.path / s.substr(1)).string();
    }
    // Writes raw bytes of a possibly modified year at the stored path.
    void WriteRaw(const char* stored, const CWeatherFileData& w, std::size_t n = kWeatherFileSize) {
        std::vector<unsigned char> b;
        EncodeWeatherFile(w, b);
        WriteBytes(Host(stored), b, n);
    }

    static constexpr const char* kToronto = "\\Weather\\Canada\\Ontario\\Toronto.wsw";
    CScratchDir dir_;
    bool had_home_ = false;
    std::string old_home_;
    std::unique_ptr<CWeatherFileData> data_;
    std::unique_ptr<CLocationData> location_;
};

TEST(WeatherFile, WriteThenReadGivesTheSameBytes) {
    CScratchDir dir;
    auto w = MakeSyntheticWeather();
    w->days[364].hours[23] = {-32768, 32767, -1, 12345};
    w->elevation = -28;
    std::memcpy(w->stationName + 90, "\x01\xff tail\0\0\0", 10);
    const fs::path p = dir.path / "a.wsw";
    std::string err;
    ASSERT_EQ(WriteWeatherFile(p.string(), *w, err), 0) << err;
    const auto bytes = ReadBytes(p);
    ASSERT_EQ(bytes.size(), kWeatherFileSize);
    std::vector<unsigned char> expect;
    EncodeWeatherFile(*w, expect);
    EXPECT_EQ(bytes, expect);
    // Layout spot checks: offsets of the header fields and of the last hour record.
    EXPECT_EQ(bytes[0] | bytes[1] << 8, 6158);
    EXPECT_EQ(std::memcmp(&bytes[2], "Toronto", 7), 0);
    EXPECT_EQ(std::memcmp(&bytes[102], "ONN 43 40\0", 10), 0);
    EXPECT_EQ(bytes[124], 0xe4);  // -28
    EXPECT_EQ(bytes[125], 0xff);
    EXPECT_EQ(bytes[126], 7);     // day 1 reflectance
    EXPECT_EQ(bytes[kWeatherFileSize - 2] | bytes[kWeatherFileSize - 1] << 8, 12345);

    auto back = std::make_unique<CWeatherFileData>();
    ASSERT_EQ(ReadWeatherFile(p.string(), *back, err), 0) << err;
    std::vector<unsigned char> again;
    EncodeWeatherFile(*back, again);
    EXPECT_EQ(again, expect);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

// The layout byte by byte, built without the encoder: every field at its offset, little-endian,
// the day records 194 bytes apart and the four hour values in the order dry bulb, humidity ratio,
// wind speed, irradiation.
TEST(WeatherFile, FieldsAtTheirOffsets) {
    std::vector<unsigned char> b(kWeatherFileSize, 0);
    auto put = [&](std::size_t at, int v) {
        b[at] = static_cast<unsigned char>(v & 0xff);
        b[at + 1] = static_cast<unsigned char>((v >> 8) & 0xff);
    };
    put(0, 0x1234);
    std::memcpy(&b[2], "Station", 7);
    b[101] = 'z';  // last byte of the name
    std::memcpy(&b[102], "ABS 12 34\0", 10);
    std::memcpy(&b[112], "W  79 24 end", 12);
    put(124, -7);
    for (int d = 0; d < kDaysPerYear; ++d) put(126 + 194 * d, d % 11);
    const std::size_t hour = 126 + 194 * 2 + 2 + 8 * 5;  // day 3, hour 5
    put(hour, -123);
    put(hour + 2, 4567);
    put(hour + 4, 89);
    put(hour + 6, 1011);
    put(kWeatherFileSize - 2, 222);  // day 365, hour 23, irradiation

    auto w = std::make_unique<CWeatherFileData>();
    std::string err;
    ASSERT_EQ(ParseWeatherFile(b.data(), b.size(), *w, "layout.wsw", err), 0) << err;
    EXPECT_EQ(w->stationCode, 0x1234);
    EXPECT_EQ(std::memcmp(w->stationName, "Station", 7), 0);
    EXPECT_EQ(w->stationName[99], 'z');
    EXPECT_EQ(std::memcmp(w->latitudeField, "ABS 12 34\0", 10), 0);
    EXPECT_EQ(std::memcmp(w->longitudeText, "W  79 24 end", 12), 0);
    EXPECT_EQ(w->elevation, -7);
    for (int d = 0; d < kDaysPerYear; ++d) ASSERT_EQ(w->days[d].groundReflectance, d % 11) << d;
    EXPECT_EQ(w->days[2].hours[5].dryBulb, -123);
    EXPECT_EQ(w->days[2].hours[5].humidityRatio, 4567);
    EXPECT_EQ(w->days[2].hours[5].windSpeed, 89);
    EXPECT_EQ(w->days[2].hours[5].globalHoriz, 1011);
    EXPECT_EQ(w->days[2].hours[4].globalHoriz, 0);
    EXPECT_EQ(w->days[364].hours[23].globalHoriz, 222);
    std::vector<unsigned char> again;
    EncodeWeatherFile(*w, again);
    EXPECT_EQ(again, b);
}

TEST(WeatherFile, FailedWriteKeepsThePreviousFile) {
    CScratchDir dir;
    auto w = MakeSyntheticWeather();
    const fs::path p = dir.path / "a.wsw";
    std::string err;
    ASSERT_EQ(WriteWeatherFile(p.string(), *w, err), 0);
    const auto before = ReadBytes(p);
    w->days[3].groundReflectance = 11;  // the reader would refuse it
    EXPECT_EQ(WriteWeatherFile(p.string(), *w, err), WEATHER_BAD_FIELD);
    EXPECT_NE(err.find("day 4"), std::string::npos) << err;
    EXPECT_EQ(ReadBytes(p), before);
    w->days[3].groundReflectance = 3;
    EXPECT_EQ(WriteWeatherFile((dir.path / "missing" / "b.wsw").string(), *w, err),
              WEATHER_CANNOT_WRITE);
    EXPECT_NE(err.find("b.wsw"), std::string::npos) << err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

// Latitude fields: region code, hemisphere, blank, two-digit degrees, blank, two-digit minutes,
// terminator. 43 40' = 43.6667 deg = 0.762127 rad.
TEST(WeatherFile, LatitudeField) {
    const struct {
        const char field[11];
        bool ok;
        double latitude;
    } cases[] = {
        {"ONN 43 40", true, 0.7621271067},
        {"ONS 43 40", true, -0.7621271067},
        {"ONs 43 40", true, -0.7621271067},
        {"QLN  5  0", true, 5.0 * ASTRO_PI / 180},
        {"XXN 90 00", true, ASTRO_HALF_PI},
        {"XXS 90 00", true, -ASTRO_HALF_PI},
        {"XXN 90 01", false, 0},
        {"XXN 95 00", false, 0},  // beyond 90 degrees would end the program in the solar routines
        {"XXN 89 99", false, 0},  // 89 + 99/60
        {"XXN 4x 00", false, 0},
        {"XXN    00", false, 0},
        {"XXN 43 -1", false, 0},
    };
    for (const auto& c : cases) {
        char field[kWeatherLatitudeFieldBytes];
        std::memcpy(field, c.field, sizeof field);
        double lat = 99;
        std::string err;
        EXPECT_EQ(WeatherLatitude(field, lat, err), c.ok) << c.field << " " << err;
        if (c.ok) EXPECT_NEAR(lat, c.latitude, 1e-10) << c.field;
        else EXPECT_NE(err.find(std::string("latitude field \"") + c.field), std::string::npos) << err;
    }
}

TEST_F(WeatherRead, StationHeaderAndHourlyValues) {
    std::string err;
    ASSERT_EQ(ReadWeather(*location_, kToronto, 90, 0, err), 0) << err;
    const CLocationData& loc = *location_;
    EXPECT_EQ(loc.weatherFile, kToronto);
    EXPECT_EQ(loc.stationCode, 6158);
    EXPECT_EQ(loc.stationName, "Toronto");
    EXPECT_STREQ(loc.regionCode, "ON");
    EXPECT_EQ(std::memcmp(loc.latitudeText, "N 43 40\0", 8), 0);
    EXPECT_EQ(std::memcmp(loc.longitudeText, "W  79 24", 8), 0);
    EXPECT_NEAR(loc.latitude, 0.762127, 1e-6);
    EXPECT_EQ(loc.elevation, 113.0f);
    for (int d : {0, 171, 364}) {
        for (int h : {0, 12, 23}) {
            const CWeatherHour& r = data_->days[d].hours[h];
            EXPECT_EQ(loc.dryBulb[d][h], static_cast<float>(r.dryBulb / 10.0));
            EXPECT_EQ(loc.humidityRatio[d][h], r.humidityRatio / 1e6);
            EXPECT_EQ(loc.windSpeed[d][h], static_cast<float>(r.windSpeed / 10.0));
        }
    }
    // G = file value / 3.6 held in single precision (3.5999999046...), divided in double and
    // stored as a 32-bit real; a sun below the horizon gives kt = 1 and nothing on the wall.
    for (int d = 0; d < kDaysPerYear; ++d) {
        for (int h = 0; h < kHoursPerDay; ++h) {
            const int v = data_->days[d].hours[h].globalHoriz;
            ASSERT_EQ(loc.globalHoriz[d][h], static_cast<float>(v / 3.5999999046325684));
            ASSERT_GE(loc.clearnessIndex[d][h], 0.0f);
            ASSERT_LE(loc.clearnessIndex[d][h], 1.0f);
            if (v == 0) {
                ASSERT_EQ(loc.wallIrradiance[d][h], 0.0f);
            }
        }
    }
    EXPECT_EQ(loc.clearnessIndex[0][0], 1.0f);  // midnight in January
}

// One hour worked by hand from the routines' formulas: day 172, hour 12 (sun at 12:30 solar),
// 43 40' N, horizontal wall, so the wall receives exactly the global irradiance, and kt is
// G / (I0n cos z) with the sun at mid-hour.
TEST_F(WeatherRead, MidHourSunAndHorizontalWall) {
    std::string err;
    ASSERT_EQ(ReadWeather(*location_, kToronto, 0, 0, err), 0) << err;
    const double G = data_->days[171].hours[12].globalHoriz / 3.5999999046325684;
    const double phi = (43 + 40 / 60.0) * ASTRO_PI / 180;
    const double delta = ASTRO_Declination(172);
    const double w = 0.5 * 15 * ASTRO_PI / 180;
    const double cosz = std::sin(phi) * std::sin(delta) + std::cos(phi) * std::cos(delta) * std::cos(w);
    const double I0n = 1367 * ASTRO_EccentricityFactor(172);
    EXPECT_FLOAT_EQ(location_->clearnessIndex[171][12], static_cast<float>(G / (I0n * cosz)));
    // Away from noon the morning and afternoon sides differ: hour h is taken at h + 0.5, not h - 0.5.
    for (int h : {7, 9, 15}) {
        const double Gh = data_->days[171].hours[h].globalHoriz / 3.5999999046325684;
        const double wh = (h + 0.5 - 12) * 15 * ASTRO_PI / 180;
        const double c = std::sin(phi) * std::sin(delta) + std::cos(phi) * std::cos(delta) * std::cos(wh);
        EXPECT_FLOAT_EQ(location_->clearnessIndex[171][h], static_cast<float>(Gh / (I0n * c))) << h;
    }
    for (int d = 0; d < kDaysPerYear; d += 7)
        for (int h = 8; h <= 15; ++h)  // sun well above 5 degrees
            ASSERT_NEAR(location_->wallIrradiance[d][h], location_->globalHoriz[d][h],
                        1e-4 * location_->globalHoriz[d][h]) << d << " " << h;
}

TEST_F(WeatherRead, NegativeHourValueGivesZero) {
    data_->days[9].hours[12].globalHoriz = -5;  // instrument offset
    WriteRaw(kToronto, *data_);
    std::string err;
    ASSERT_EQ(ReadWeather(*location_, kToronto, 90, 0, err), 0) << err;
    EXPECT_EQ(location_->globalHoriz[9][12], 0.0f);
    EXPECT_EQ(location_->wallIrradiance[9][12], 0.0f);
    EXPECT_EQ(location_->clearnessIndex[9][12], 0.0f);  // sun up, no light
}

// The arrays always describe the orientation of the last read.
TEST_F(WeatherRead, SameFileForTwoOrientations) {
    std::string err;
    ASSERT_EQ(ReadWeather(*location_, kToronto, 90, 0, err), 0) << err;
    auto south = std::make_unique<CLocationData>(*location_);
    ASSERT_EQ(ReadWeather(*location_, kToronto, 90, 90, err), 0) << err;
    const CLocationData& west = *location_;
    EXPECT_EQ(std::memcmp(south->dryBulb, west.dryBulb, sizeof west.dryBulb), 0);
    EXPECT_EQ(std::memcmp(south->humidityRatio, west.humidityRatio, sizeof west.humidityRatio), 0);
    EXPECT_EQ(std::memcmp(south->globalHoriz, west.globalHoriz, sizeof west.globalHoriz), 0);
    EXPECT_EQ(std::memcmp(south->clearnessIndex, west.clearnessIndex, sizeof west.clearnessIndex), 0);
    // Morning light favours neither; the west wall gets more in the afternoon than in the morning.
    EXPECT_GT(west.wallIrradiance[171][16], west.wallIrradiance[171][7]);
    EXPECT_GT(south->wallIrradiance[0][12], west.wallIrradiance[0][12]);
    EXPECT_NE(std::memcmp(south->wallIrradiance, west.wallIrradiance, sizeof west.wallIrradiance), 0);
}

// The day's reflectance code is tenths and holds for all 24 hours of that day only: on a vertical
// wall the ground term is rho G / 2, so code 10 against code 0 adds G / 2 to every lit hour.
TEST_F(WeatherRead, GroundReflectanceOfTheDay) {
    for (auto& day : data_->days) day.groundReflectance = 0;
    WriteRaw(kToronto, *data_);
    std::string err;
    ASSERT_EQ(ReadWeather(*location_, kToronto, 90, 0, err), 0) << err;
    const auto dark = std::make_unique<CLocationData>(*location_);
    data_->days[100].groundReflectance = 10;
    WriteRaw(kToronto, *data_);
    ASSERT_EQ(ReadWeather(*location_, kToronto, 90, 0, err), 0) << err;
    int lit = 0;
    for (int h = 0; h < kHoursPerDay; ++h) {
        const double G = data_->days[100].hours[h].globalHoriz / 3.5999999046325684;
        double zenith = 0, azimuth = 0;
        ASTRO_SunPosition(101, h + 0.5, location_->latitude, zenith, azimuth);
        if (G <= 0 || zenith > ASTRO_HALF_PI) continue;  // no sky model below the horizon
        ++lit;
        EXPECT_NEAR(location_->wallIrradiance[100][h] - dark->wallIrradiance[100][h], G / 2,
                    1e-4 * G + 1e-4) << h;
    }
    EXPECT_GT(lit, 10);
    EXPECT_EQ(std::memcmp(location_->wallIrradiance[99], dark->wallIrradiance[99],
                          sizeof dark->wallIrradiance[99]), 0);
    EXPECT_EQ(std::memcmp(location_->wallIrradiance[101], dark->wallIrradiance[101],
                          sizeof dark->wallIrradiance[101]), 0);
}

// Low winter sun on a south wall far north: the sky model can give many times the horizontal
// value, and an hour at 15 G or more is held at 15 G.
TEST_F(WeatherRead, WallGainLimit) {
    SetWeatherLatitudeField(*data_, "NU", 'N', 66, 0);
    for (auto& day : data_->days)
        for (auto& h : day.hours) h.globalHoriz = h.globalHoriz > 0 ? 40 : 0;
    WriteRaw(kToronto, *data_);
    std::string err;
    ASSERT_EQ(ReadWeather(*location_, kToronto, 90, 0, err), 0) << err;
    int limited = 0;
    for (int d = 0; d < kDaysPerYear; ++d) {
        for (int h = 0; h < kHoursPerDay; ++h) {
            const float G = location_->globalHoriz[d][h];
            const float It = location_->wallIrradiance[d][h];
            ASSERT_LE(It, static_cast<float>(15.0 * G)) << d << " " << h;
            if (G > 0 && It == static_cast<float>(15.0 * G)) ++limited;
        }
    }
    EXPECT_GT(limited, 0);
}

// Failures: the message names the file, and the location keeps what it had.
TEST_F(WeatherRead, RefusedFilesKeepThePreviousLocation) {
    std::string err;
    ASSERT_EQ(ReadWeather(*location_, kToronto, 90, 0, err), 0) << err;
    const auto before = std::make_unique<CLocationData>(*location_);

    auto bad_latitude = MakeSyntheticWeather();
    std::memcpy(bad_latitude->latitudeField, "ONN 95 00\0", 10);
    auto bad_reflectance = MakeSyntheticWeather();
    bad_reflectance->days[200].groundReflectance = -1;
    const char* kOther = "\\Weather\\Canada\\Ontario\\Other.wsw";
    const struct {
        const char* what;
        std::function<void()> make;
        double slope, azimuth;
        int code;
        const char* says;
    } cases[] = {
        {"missing", [] {}, 90, 0, WEATHER_CANNOT_OPEN, "Cannot open"},
        {"truncated", [&] { WriteRaw(kOther, *data_, kWeatherFileSize - 1); }, 90, 0,
         WEATHER_TOO_SHORT, "70935 bytes"},
        {"header only", [&] { WriteRaw(kOther, *data_, 126); }, 90, 0, WEATHER_TOO_SHORT, "126 bytes"},
        {"empty", [&] { WriteRaw(kOther, *data_, 0); }, 90, 0, WEATHER_TOO_SHORT, "0 bytes"},
        {"latitude", [&] { WriteRaw(kOther, *bad_latitude, kWeatherFileSize); }, 90, 0,
         WEATHER_BAD_FIELD, "latitude field \"ONN 95 00 \""},
        {"reflectance", [&] { WriteRaw(kOther, *bad_reflectance, kWeatherFileSize); }, 90, 0,
         WEATHER_BAD_FIELD, "ground reflectance of day 201 is -1"},
        {"slope", [&] { WriteRaw(kOther, *data_, kWeatherFileSize); }, 181, 0,
         WEATHER_BAD_ORIENTATION, "slope"},
        {"azimuth", [&] { WriteRaw(kOther, *data_, kWeatherFileSize); }, 90, -180.5,
         WEATHER_BAD_ORIENTATION, "azimuth"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(Host(kOther));
        c.make();
        err.clear();
        EXPECT_EQ(ReadWeather(*location_, kOther, c.slope, c.azimuth, err), c.code);
        EXPECT_NE(err.find("Other.wsw"), std::string::npos) << err;
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        EXPECT_EQ(location_->weatherFile, kToronto);
        EXPECT_EQ(std::memcmp(location_->wallIrradiance, before->wallIrradiance,
                              sizeof before->wallIrradiance), 0);
    }
    // A longer file is read for its first 70 936 bytes.
    std::vector<unsigned char> b;
    EncodeWeatherFile(*data_, b);
    b.resize(kWeatherFileSize + 100, 0xAB);
    WriteBytes(Host(kOther), b, b.size());
    EXPECT_EQ(ReadWeather(*location_, kOther, 90, 0, err), 0) << err;
    // North-facing and horizontal extremes are in range.
    EXPECT_EQ(ReadWeather(*location_, kOther, 180, 180, err), 0) << err;
    EXPECT_EQ(ReadWeather(*location_, kOther, 0, -180, err), 0) << err;
}

// A stored path was written on a file system that ignores letter case.
TEST_F(WeatherRead, StoredPathIsResolvedIgnoringCase) {
    fs::rename(Host(kToronto), dir_.path / "Weather" / "Canada" / "Ontario" / "TORONTO.WSW");
    std::string err;
    EXPECT_EQ(ReadWeather(*location_, "\\weather\\canada\\ontario\\toronto.wsw", 90, 0, err), 0) << err;
    EXPECT_EQ(location_->stationName, "Toronto");
}

}  // namespace
