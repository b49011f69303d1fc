#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/control/control.h"
#include "project/messages.h"
#include "solar/astro.h"
#include "solar/psy.h"
#include "solar/radproc.h"
#include "solar/tilt.h"
#include "test_files.h"

namespace {

class AltInputTest : public ::testing::Test {
protected:
    std::unique_ptr<CAltInput> alt = std::make_unique<CAltInput>();
    CScriptedMessenger msg;

    int Read(const std::string& name, const std::string& bytes) {
        WriteTextFile(name, bytes);
        return ReadAlternateInput(*alt, name, msg);
    }
    double At(EAltKey key, int day, int hour) const { return AltTableValue(*alt, key, day, hour); }
};

TEST_F(AltInputTest, ImposedTemperatureGetsTheHumidityRatioOfHalfSaturation) {
    ASSERT_EQ(Read("tamb.csv", "tamb,simulate\n-10,1\n"), kAltReadOk);
    EXPECT_TRUE(msg.shown.empty());
    EXPECT_EQ(At(EAltKey::TAmb, 1, 1), -10.0);
    EXPECT_EQ(At(EAltKey::Simulate, 1, 1), 1.0);
    // No "relhum" column: the derivation starts on, at 50 % (ice branch at -10 C, about 0.000803).
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 1), PSY_HumRatioFromRelHum(-10.0, 0.5, 101325.0));
    EXPECT_NEAR(At(EAltKey::HumRatio, 1, 1), 0.000799, 0.00001);
    EXPECT_EQ(At(EAltKey::TAmb, 1, 2), kAltNoValue);
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 2), kAltNoValue);
    EXPECT_EQ(At(EAltKey::TGlo, 1, 1), kAltNoValue);  // no "hglo" column: nothing derived
}

TEST_F(AltInputTest, UnknownHeaderKeywordStopsTheRestOfEveryLine) {
    ASSERT_EQ(Read("unknown.csv", "tamb,wind,simulate\n-10,3,1\n5,3,1\n"), kAltReadOk);
    EXPECT_EQ(At(EAltKey::TAmb, 1, 1), -10.0);
    EXPECT_EQ(At(EAltKey::TAmb, 1, 2), 5.0);
    EXPECT_EQ(At(EAltKey::Simulate, 1, 1), kAltNoValue);
    EXPECT_EQ(At(EAltKey::Simulate, 1, 2), kAltNoValue);
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 1), kAltNoValue);  // not simulated: no derivation
}

TEST_F(AltInputTest, EmptyLineEndsTheDayAndEndOfFileTheRest) {
    ASSERT_EQ(Read("days.csv", "TAMB;FColl\r\n1;100\r\n2;200\r\n\r\n3;300\r\n"), kAltReadOk);
    EXPECT_EQ(At(EAltKey::TAmb, 1, 1), 1.0);
    EXPECT_EQ(At(EAltKey::FColl, 1, 2), 200.0);
    EXPECT_EQ(At(EAltKey::TAmb, 1, 3), kAltNoValue);
    EXPECT_EQ(At(EAltKey::TAmb, 2, 1), 3.0);
    EXPECT_EQ(At(EAltKey::TAmb, 2, 2), kAltNoValue);
    EXPECT_EQ(At(EAltKey::TAmb, 365, 24), kAltNoValue);
}

TEST_F(AltInputTest, FullYearFillsTheLastHour) {
    std::string text = "tfloor simulate\n";
    for (int i = 0; i < 8760; ++i) text += std::to_string(i % 30) + " 0\n";
    ASSERT_EQ(Read("year.csv", text), kAltReadOk);
    EXPECT_EQ(At(EAltKey::TFloor, 365, 24), 8759 % 30);
    EXPECT_EQ(At(EAltKey::Simulate, 365, 24), 0.0);
}

TEST_F(AltInputTest, OverlongLineIsCutAtTheMaximum) {
    // The second column of line 2 lies beyond character 230: cut off, the next line read intact.
    std::string line2 = "7," + std::string(240, '0') + ",1\n";
    ASSERT_EQ(Read("long.csv", "tamb,tcoll,simulate\n" + line2 + "8,9,1\n"), kAltReadOk);
    EXPECT_EQ(At(EAltKey::TAmb, 1, 1), 7.0);
    EXPECT_EQ(At(EAltKey::TColl, 1, 1), 0.0);
    EXPECT_EQ(At(EAltKey::Simulate, 1, 1), kAltNoValue);
    EXPECT_EQ(At(EAltKey::TAmb, 1, 2), 8.0);
    EXPECT_EQ(At(EAltKey::Simulate, 1, 2), 1.0);
}

TEST_F(AltInputTest, HumiditySwitchesCarryOverAndWetBulbReplacesRelativeHumidity) {
    ASSERT_EQ(Read("hum.csv",
                   "tamb,simulate,relhum,twet\n"
                   "10,1,0.8\n"     // relative humidity 0.8
                   "12,1\n"         // 0.8 carried over
                   "20,1,0.3,15\n"  // wet bulb turns the relative-humidity derivation off
                   "22,1\n"         // wet bulb 15 carried over
                   "25,0\n"         // not simulated: nothing derived
                   "relhum\n"),     // not a number: tamb 0, not simulated
              kAltReadOk);
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 1), PSY_HumRatioFromRelHum(10, 0.8, 101325));
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 2), PSY_HumRatioFromRelHum(12, 0.8, 101325));
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 3), PSY_HumRatioFromWetBulb(20, 15, 101325));
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 4), PSY_HumRatioFromWetBulb(22, 15, 101325));
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 5), kAltNoValue);
    EXPECT_EQ(At(EAltKey::TAmb, 1, 6), 0.0);
    EXPECT_EQ(At(EAltKey::RelHum, 1, 1), kAltNoValue);  // only the current value is kept
}

TEST_F(AltInputTest, SimulatedLineWithoutTemperatureKeepsTheWeatherHumidity) {
    ASSERT_EQ(Read("notamb.csv", "relhum,simulate,tamb\n0.3,1\n0.3,1,-9999\n"), kAltReadOk);
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 1), kAltNoValue);
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 2), kAltNoValue);
}

TEST_F(AltInputTest, HorizontalIrradianceDerivesClearnessAndWallIrradiance) {
    std::string text = "hglo,simulate\n";
    for (int h = 1; h <= 24; ++h) text += (h == 12 ? "400" : h == 13 ? "0" : "250") + std::string(",1\n");
    text += "300,0\n";  // day 2 hour 1 not simulated: "hglo" only becomes the current value
    ASSERT_EQ(Read("hglo.csv", text), kAltReadOk);

    // Reference: the weather loading's composition for day 1, solar time 11.5, 45 N, a vertical
    // south wall and ground reflectance 0.2, without the 15 G limit.
    double zenith = 0, azimuth = 0;
    ASTRO_SunPosition(1, 11.5, ASTRO_PI / 4, zenith, azimuth);
    const double I0n = ASTRO_ExtraterrestrialNormal(1);
    double kt = RADPROC_ClearnessIndex(400, I0n, zenith);
    kt = kt > 1 ? 1 : kt;
    const double F = RADPROC_DiffuseFraction(kt);
    const double It = TILT_Perez((1 - F) * 400, 400 - (1 - F) * 400, I0n, zenith, azimuth,
                                 ASTRO_AirMass(zenith), ASTRO_HALF_PI, 0, 0.2);
    EXPECT_FLOAT_EQ(At(EAltKey::Clearness, 1, 12), static_cast<float>(kt));
    EXPECT_FLOAT_EQ(At(EAltKey::TGlo, 1, 12), static_cast<float>(It));
    EXPECT_GT(At(EAltKey::TGlo, 1, 12), 400.0);  // a south wall at noon in January sees more
    EXPECT_EQ(At(EAltKey::HGlo, 1, 12), 400.0);
    // G = 0: the wall gets 0; a night hour with G > 0: the sun is down, kt = 1, the wall gets G.
    EXPECT_EQ(At(EAltKey::TGlo, 1, 13), 0.0);
    EXPECT_EQ(At(EAltKey::Clearness, 1, 1), 1.0);
    EXPECT_EQ(At(EAltKey::TGlo, 1, 1), 250.0);
    EXPECT_EQ(At(EAltKey::HGlo, 2, 1), kAltNoValue);
}

// A no-value marker where "hglo", "relhum" or "twet" stand: the hour (and any later line that does
// not give the column again) derives nothing, rather than an earlier hour's sun or humidity.
TEST_F(AltInputTest, NoValueMarkerInACurrentValueColumnDerivesNothing) {
    ASSERT_EQ(Read("gaps.csv",
                   "hglo,tamb,simulate,relhum,twet\n"
                   "300,10,1,0.4\n"
                   "-9999,10,1,-9999\n"    // both gone for this hour
                   "-9999,10,1\n"          // still none: no line gave them again
                   "300,12,1,0.6\n"
                   "300,12,1,0.6,8\n"      // the wet bulb takes over
                   "300,12,1,0.6,-9999\n"  // and has no value: no humidity ratio
                   "300,12,1,0.6,9\n"),
              kAltReadOk);
    EXPECT_FLOAT_EQ(At(EAltKey::HGlo, 1, 1), 300.0f);
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 1), PSY_HumRatioFromRelHum(10, 0.4, 101325));
    for (int h : {2, 3}) {
        EXPECT_EQ(At(EAltKey::HGlo, 1, h), kAltNoValue) << h;
        EXPECT_EQ(At(EAltKey::TGlo, 1, h), kAltNoValue) << h;
        EXPECT_EQ(At(EAltKey::Clearness, 1, h), kAltNoValue) << h;
        EXPECT_EQ(At(EAltKey::HumRatio, 1, h), kAltNoValue) << h;
        EXPECT_EQ(At(EAltKey::TAmb, 1, h), 10.0) << h;
    }
    EXPECT_FLOAT_EQ(At(EAltKey::HGlo, 1, 4), 300.0f);
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 4), PSY_HumRatioFromRelHum(12, 0.6, 101325));
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 5), PSY_HumRatioFromWetBulb(12, 8, 101325));
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 6), kAltNoValue);
    EXPECT_EQ(At(EAltKey::HumRatio, 1, 7), PSY_HumRatioFromWetBulb(12, 9, 101325));
}

struct RefusalCase {
    const char* name;
    const char* text;
    const char* where;   // "Line n, column c (\"key\")"
    const char* reason;  // a part of the reason
};

// Values the solar and psychrometric routines would reject refuse the whole file.
TEST_F(AltInputTest, RefusesValuesTheSolarRoutinesWouldRejectNamingLineAndColumn) {
    const RefusalCase cases[] = {
        {"percent.csv", "tamb,relhum,simulate\n20,0.5,1\n20,50,1\n", "Line 3, column 2 (\"relhum\")",
         "relative humidity 50 is outside 0 to 1"},
        {"wetbulb.csv", "simulate,tamb,twet\n1,10,12\n", "Line 2, column 3 (\"twet\")",
         "wet-bulb temperature 12 C is above the dry-bulb temperature 10 C"},
        {"hglo.csv", "simulate;hglo\n0;100\n0;-2\n", "Line 3, column 2 (\"hglo\")",
         "horizontal irradiance -2 W/m2 is negative"},
        {"cold.csv", "tamb,simulate\n1,1\n-150,1\n", "Line 3, column 1 (\"tamb\")",
         "ambient temperature -150 C is outside -100 to 200 C"},
        {"huge.csv", "tcoll\n1e39\n", "Line 2, column 1 (\"tcoll\")", "the value 1e39 is too large"},
        {"dry.csv", "tamb,twet,simulate\n45,0,1\n", "Line 2, column 2 (\"twet\")",
         "no humidity ratio can be formed"},
        // Low sun on the wall: the beam it receives is several times G, beyond single precision.
        {"sun.csv", "hglo,simulate\n0,0\n0,0\n0,0\n0,0\n0,0\n0,0\n0,0\n0,0\n3e38,1\n",
         "Line 10, column 1 (\"hglo\")", "the horizontal irradiance 3e+38 W/m2 is too large"},
    };
    for (const RefusalCase& c : cases) {
        msg.shown.clear();
        EXPECT_EQ(Read(c.name, c.text), kAltRefused) << c.name;
        ASSERT_EQ(msg.shown.size(), 1u) << c.name;
        const CShownMessage& m = msg.shown[0];
        EXPECT_EQ(m.text.rfind(std::string("Error Reading Alternate Input File: ") + c.name + "\n", 0), 0u)
            << m.text;
        EXPECT_NE(m.text.find(c.where), std::string::npos) << m.text;
        EXPECT_NE(m.text.find(c.reason), std::string::npos) << m.text;
        EXPECT_EQ(m.caption, "Halvo");
        EXPECT_EQ(m.icon, MsgIcon::Warning);
        // Nothing of the refused file stays in the tables.
        EXPECT_EQ(At(EAltKey::TAmb, 1, 1), kAltNoValue) << c.name;
        EXPECT_EQ(At(EAltKey::Simulate, 1, 1), kAltNoValue) << c.name;
    }
}

TEST_F(AltInputTest, MissingFileIsReported) {
    EXPECT_EQ(ReadAlternateInput(*alt, "no-such-file.csv", msg), kAltCannotOpen);
    ASSERT_EQ(msg.shown.size(), 1u);
    EXPECT_EQ(msg.shown[0].text, "Error Reading Alternate Input File: no-such-file.csv");
    EXPECT_EQ(msg.shown[0].icon, MsgIcon::Warning);
    EXPECT_EQ(msg.shown[0].caption, "Halvo");
}

}  // namespace
