#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/weather/weather_file.h"
#include "nimbra/generator.h"
#include "nimbra/regions.h"

namespace fs = std::filesystem;
using nimbra::ECreate;
using nimbra::SGeneratorFields;

namespace {

// A program folder of its own with the region folders of the shipped tree.
class GeneratorTest : public ::testing::Test {
protected:
    void SetUp() override {
        home = fs::current_path() / ("home-" + std::to_string(getpid()) + "-" +
                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(home);
        for (const std::string& f : nimbra::AllRegionFolders()) {
            std::string p = f;
            for (char& c : p)
                if (c == '\\') c = '/';
            fs::create_directories(home / "Weather" / p);
        }
    }
    void TearDown() override { fs::remove_all(home); }

    static SGeneratorFields Toronto() {
        SGeneratorFields f;
        f.region = nimbra::kRegionCanada;
        f.subRegion = 3;  // Ontario
        f.city = "Toronto";
        f.latitude = 43.67;
        f.longitude = 79.4;
        f.elevation = 173.4;
        f.radiationSource = 2;
        const double mj[13] = {0, 5.7, 8.9, 12.6, 16.2, 19.8, 21.9, 21.7, 18.6, 14.0, 8.8, 5.3, 4.4};
        const double t[13] = {0, 0.0, 0.1, -1.0, 6.9, 13.3, 18.6, 21.5, 20.6, 16.0, 9.4, 3.7, -2.8};
        for (int m = 1; m <= 12; ++m) {
            f.radiation[m] = mj[m];
            f.temperature[m] = t[m];
            f.humidity[m] = 70;
            f.wind[m] = 4.25;
        }
        return f;
    }

    ECreate Create(const SGeneratorFields& f, std::string* stored = nullptr) {
        return nimbra::CreateWeatherFile(f, home.string(), messages, stored);
    }

    size_t FilesWritten() const {
        size_t n = 0;
        for (const auto& e : fs::recursive_directory_iterator(home))
            if (e.is_regular_file()) ++n;
        return n;
    }

    std::unique_ptr<CWeatherFileData> Read(const std::string& stored) {
        auto d = std::make_unique<CWeatherFileData>();
        std::string error;
        EXPECT_EQ(ReadWeatherFile(home.string() + stored, *d, error), 0) << error;
        return d;
    }

    fs::path home;
    CScriptedMessenger messages;
};

TEST_F(GeneratorTest, TorontoFile) {
    std::string stored;
    ASSERT_EQ(Create(Toronto(), &stored), ECreate::Created);
    EXPECT_EQ(stored, "\\Weather\\North America\\Canada\\Ontario\\Toronto.wsw");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "City: Toronto\nWas created successfully!");
    EXPECT_EQ(messages.shown[0].caption, "Weather File Created");

    const fs::path file = home / "Weather/North America/Canada/Ontario/Toronto.wsw";
    ASSERT_EQ(fs::file_size(file), 70936u);
    std::ifstream in(file, std::ios::binary);
    char head[126];
    in.read(head, sizeof head);
    EXPECT_EQ(head[0], 0);
    EXPECT_EQ(head[1], 0);
    EXPECT_EQ(std::string(head + 2), "Toronto");
    for (int i = 2 + 7; i < 102; ++i) ASSERT_EQ(head[i], 0);
    // "ON", "N", space, "43", space, "40", zero byte; "W", space, " 79", space, "24", zero byte.
    EXPECT_EQ(std::string(head + 102, 10), std::string("ONN 43 40\0", 10));
    EXPECT_EQ(std::string(head + 112, 12), std::string("W  79 24\0\0\0\0", 12));
    EXPECT_EQ(static_cast<unsigned char>(head[124]) | (static_cast<unsigned char>(head[125]) << 8), 173);

    auto d = Read(stored);
    // Ground reflectance: mean temperature 0 C in January gives 6 (snow), 0.1 C in February 2.
    EXPECT_EQ(d->days[0].groundReflectance, 6);
    EXPECT_EQ(d->days[31].groundReflectance, 2);
    EXPECT_EQ(d->days[59].groundReflectance, 6);
    EXPECT_EQ(d->days[200].groundReflectance, 2);
    double wh[13] = {};
    int n = 0;
    for (int m = 1; m <= 12; ++m) {
        static const int kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const int days = kDays[m];
        for (int k = 0; k < days; ++k, ++n)
            for (const CWeatherHour& h : d->days[n].hours) {
                EXPECT_EQ(h.windSpeed, 42);  // trunc(10 * 4.25)
                EXPECT_EQ(h.humidityRatio,
                          static_cast<int16_t>(1e6 * nimbra::GeneratorHumidityRatio(h.dryBulb / 10.0, 70, 0)));
                wh[m] += h.globalHoriz / 3.6;
            }
        const double mj = Toronto().radiation[m];
        // Hourly kJ are truncated twice (Wh, then kJ): allow 3 % on the month.
        EXPECT_NEAR(wh[m] * 3600.0 / days / (mj * 1e6), 1.0, 0.03) << "month " << m;
    }
    // Typical day: coldest at hour 6, warmest at hour 15 (July).
    const CWeatherDay& july = d->days[195];
    const auto [lo, hi] = std::minmax_element(
        july.hours, july.hours + 24,
        [](const CWeatherHour& a, const CWeatherHour& b) { return a.dryBulb < b.dryBulb; });
    // (stored values are truncated to 0.1 C, so a neighbour may tie)
    EXPECT_EQ(july.hours[5].dryBulb, lo->dryBulb);
    EXPECT_EQ(july.hours[14].dryBulb, hi->dryBulb);
}

TEST_F(GeneratorTest, FieldCharacters) {
    struct Case {
        const char* what;
        int region, sub;
        const char* abbreviation;
        double latitude;
        bool south;
        const char* folder;
        const char* latitudeField;  // 10 bytes
    };
    const Case cases[] = {
        // 43.999: degrees 43, minutes 60, which the reader turns into 44 degrees.
        {"minutes round to 60", 1, 3, "", 43.999, false, "North America/Canada/Ontario", "ONN 43 60"},
        {"Iowa", 2, 16, "", 41.53, false, "North America/USA/West North Central", "IWN 41 32"},
        {"southern site", 9, 0, "", 33.9, true, "Australia", "AUS 33 54"},
        {"negative latitude is southern", 9, 0, "", -33.9, false, "Australia", "AUS 33 54"},
        {"country code from the abbreviation", 6, 0, "FRance", 48.85, false, "Europe", "FRN 48 51"},
        {"one-letter abbreviation", 7, 0, "E", 9.0, false, "Africa", "E\0N  9  0"},
        {"Northwest Territories folder of either case", 1, 9, "", 62.46, false,
         "North America/Canada/Nwt", "WTN 62 28"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SGeneratorFields f = Toronto();
        f.region = c.region;
        f.subRegion = c.sub;
        f.abbreviation = c.abbreviation;
        f.latitude = c.latitude;
        f.south = c.south;
        f.city = "Site";
        std::string stored;
        ASSERT_EQ(Create(f, &stored), ECreate::Created);
        ASSERT_TRUE(fs::exists(home / "Weather" / c.folder / "Site.wsw")) << stored;
        auto d = Read(stored);
        EXPECT_EQ(std::string(d->latitudeField, 10), std::string(c.latitudeField, 9) + '\0');
        double lat = 0;
        std::string error;
        ASSERT_TRUE(WeatherLatitude(d->latitudeField, lat, error)) << error;
        const double deg = std::round(std::fabs(c.latitude) * 60) / 60;
        EXPECT_NEAR(lat * 180 / 3.14159265358979, (c.south || c.latitude < 0) ? -deg : deg, 1e-9);
        fs::remove(home / "Weather" / c.folder / "Site.wsw");
    }
}

TEST_F(GeneratorTest, SouthernHemisphereSummerInJanuary) {
    SGeneratorFields f = Toronto();
    f.region = nimbra::kRegionAustralia;
    f.latitude = 33.9;
    f.south = true;
    f.radiationSource = 1;
    for (int m = 1; m <= 12; ++m) f.radiation[m] = 0.5;
    std::string stored;
    ASSERT_EQ(Create(f, &stored), ECreate::Created);
    auto d = Read(stored);
    double jan = 0, jul = 0;
    for (int n = 0; n < 31; ++n)
        for (int h = 0; h < 24; ++h) {
            jan += d->days[n].hours[h].globalHoriz;
            jul += d->days[181 + n].hours[h].globalHoriz;
        }
    EXPECT_GT(jan, 1.8 * jul);
}

TEST_F(GeneratorTest, RefusalsWriteNothing) {
    struct Case {
        const char* what;
        void (*edit)(SGeneratorFields&);
        const char* message;
        ECreate result;
    };
    const Case cases[] = {
        {"no radiation source", [](SGeneratorFields& f) { f.radiationSource = 0; },
         "Type of radiation data not chosen!", ECreate::Refused},
        {"no region", [](SGeneratorFields& f) { f.region = 0; }, "No Region Selected", ECreate::Refused},
        {"region out of the list", [](SGeneratorFields& f) { f.region = 10; }, "No Region Selected",
         ECreate::Refused},
        {"Canada without province", [](SGeneratorFields& f) { f.subRegion = 0; }, "No Province Selected",
         ECreate::Refused},
        {"USA without state",
         [](SGeneratorFields& f) {
             f.region = 2;
             f.subRegion = 0;
         },
         "No State Selected", ECreate::Refused},
        {"Saskatchewan without city",
         [](SGeneratorFields& f) {
             f.subRegion = 5;
             f.city.clear();
         },
         "No Saskatchewan City Name Entered", ECreate::Refused},
        {"state without city",
         [](SGeneratorFields& f) {
             f.region = 2;
             f.subRegion = 16;
             f.city.clear();
         },
         "No State City Name Entered", ECreate::Refused},
        {"Europe without city",
         [](SGeneratorFields& f) {
             f.region = 6;
             f.city.clear();
         },
         "No European City Name Entered", ECreate::Refused},
        {"city name of 100 characters", [](SGeneratorFields& f) { f.city = std::string(100, 'x'); },
         "The City Name is too long (at most 99 characters).", ECreate::Refused},
        {"city name leaving its folder", [](SGeneratorFields& f) { f.city = "../../Escape"; },
         "The City Name cannot contain any of the characters \\ / : * ? \" < > |", ECreate::Refused},
        {"latitude", [](SGeneratorFields& f) { f.latitude = 90.5; },
         "Please enter a number between -90 and 90.", ECreate::Refused},
        {"latitude not a number", [](SGeneratorFields& f) { f.latitude = std::nan(""); },
         "Please enter a number.", ECreate::Refused},
        {"elevation", [](SGeneratorFields& f) { f.elevation = -1001; },
         "Please enter a number between -1000 and 8000.", ECreate::Refused},
        {"temperature", [](SGeneratorFields& f) { f.temperature[7] = 80.5; },
         "Please enter a number between -80 and 80.", ECreate::Refused},
        {"relative humidity", [](SGeneratorFields& f) { f.humidity[2] = 100.1; },
         "Please enter a number between 0 and 100.", ECreate::Refused},
        {"wind", [](SGeneratorFields& f) { f.wind[12] = -0.1; },
         "Please enter a number between 0 and 30.", ECreate::Refused},
        {"missing region folder", [](SGeneratorFields& f) { f.region = 3; }, nullptr, ECreate::Failed},
    };
    fs::remove_all(home / "Weather/Japan");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.shown.clear();
        SGeneratorFields f = Toronto();
        c.edit(f);
        EXPECT_EQ(Create(f), c.result);
        ASSERT_EQ(messages.shown.size(), 1u);  // no confirmation follows
        if (c.message) {
            EXPECT_EQ(messages.shown[0].text, c.message);
        } else {
            EXPECT_NE(messages.shown[0].text.find("Japan"), std::string::npos) << messages.shown[0].text;
        }
        EXPECT_EQ(messages.shown[0].caption, "Nimbra");
        EXPECT_EQ(FilesWritten(), 0u);
    }
}

TEST(GeneratorHumidity, Routine) {
    // t = 20 C, 50 %: pws = 2.3388 kPa (Hyland-Wexler), pw = 1.1694 kPa,
    // W = 0.62198 * 1.1694 / (101.315 - 1.1694) = 0.0072627.
    struct Case {
        double t, rh, z, w, tol;
    };
    const Case cases[] = {
        {20, 50, 0, 0.0072627, 2e-7},
        {-10, 100, 0, 0.62198 * 0.25990 / (101.315 - 0.25990), 2e-6},  // ice branch
        {20, 50, -1, -1, 0},
        {20, 50, 8853.6, -1, 0},
        {-120.1, 50, 0, -2, 0},
        {120.1, 50, 0, -2, 0},
        {20, -0.1, 0, -3, 0},
        {20, 100.1, 0, -3, 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(nimbra::GeneratorHumidityRatio(c.t, c.rh, c.z), c.w, c.tol) << c.t << " " << c.rh << " " << c.z;
}

TEST_F(GeneratorTest, HumidityAboveTheFieldIsLimited) {
    SGeneratorFields f = Toronto();
    for (int m = 1; m <= 12; ++m) {
        f.temperature[m] = 60;
        f.humidity[m] = 100;
    }
    std::string stored;
    ASSERT_EQ(Create(f, &stored), ECreate::Created);
    auto d = Read(stored);
    EXPECT_EQ(d->days[100].hours[12].humidityRatio, 32767);
}

TEST(RegionTables, Lists) {
    EXPECT_EQ(nimbra::States().size(), 52u);
    EXPECT_EQ(nimbra::Provinces().size(), 10u);
    EXPECT_STREQ(nimbra::States()[16].listText, "Iowa");
    EXPECT_STREQ(nimbra::States()[16].code, "IW");
    EXPECT_EQ(nimbra::FolderList({"Canada", "USA"}), "00206Canada,03USA,");
}

}  // namespace
