#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "engine/control/control_file.h"
#include "project/messages.h"
#include "test_files.h"

namespace {

// A wall with its own collector values, as RunWall sets them before the control file is read.
class ControlFileTest : public ::testing::Test {
protected:
    std::unique_ptr<CWallRun> run = std::make_unique<CWallRun>();
    CScriptedMessenger msg;

    void SetUp() override {
        run->MainAbsorptance = 0.95f;
        run->MainEmittance = 0.9f;
        run->CanopyAbsorptance = 0.85f;
        run->CanopyEmittance = 0.9f;
        run->Thickness = 0.8f;
        run->PitchFactor = 1.6;
        run->HolePitch = 16.0f;
        run->WindFactor = 0.35f;
        run->WallNumber = 1;
    }
    void Read(const std::string& name, const std::string& bytes) {
        WriteTextFile(name, bytes);
        run->Control.Options.ControlPath = name;
        ReadControlFile(*run, msg);
    }
};

TEST_F(ControlFileTest, LabelWithoutNamesGivesNoAlternateInputAndNoMessage) {
    Read("empty-names.csv", "alternate,\noutput,\ntamb,qsol\n");
    EXPECT_EQ(run->AltInputActive, 0);
    EXPECT_TRUE(msg.shown.empty());
    EXPECT_TRUE(run->Control.HourlyPathInUse.empty());
    EXPECT_EQ(run->MainAbsorptance, 0.95f);
}

struct SettingCase {
    const char* lines4to11;  // lines 4..11 of the file
    float mainAbs, mainEm, canAbs, canEm, thickness;
    double pitchFactor;
    float holePitch, windFactor;
};

TEST_F(ControlFileTest, SettingsLinesReplaceTheWallsValues) {
    const SettingCase cases[] = {
        // Every line given; metres become mm; the label needs two characters.
        {"absorptance;0.91\nemit,0.8\ncanabs:0.7\ncanem,0.6\nthick,0.001\npattern,Square\n"
         "pitch,0.02\nwind,0.5\n",
         0.91f, 0.8f, 0.7f, 0.6f, 1.0f, 1.0, 20.0f, 0.5f},
        // One-character labels, empty values and an unknown pattern word leave everything.
        {"a;0.91\nemit,\ncanabs:   \n,0.6\nthick\npattern,hexagon\npitch;;0.03\nwind:\n",
         0.95f, 0.9f, 0.85f, 0.9f, 0.8f, 1.6, 16.0f, 0.35f},
        // Only the text up to the next delimiter counts; text that is not a number reads as 0.
        {"ab,0.88,0.1\nemit,x\nca\ncanem,0.5 units\nthick,0.0012;9\npattern, TRIANGLE \n"
         "pitch:1.1e-2\nwind,0.2\n",
         0.88f, 0.0f, 0.85f, 0.5f, 1.2f, 1.6, 11.0f, 0.2f},
        // Numbers beyond single precision (the thickness and pitch once in mm) leave the value.
        {"ab,1e39\nemit,-1e39\nca,1e300\ncanem,0.5\nthick,1e36\npattern,square\npitch,1e300\n"
         "wind,1e39\n",
         0.95f, 0.9f, 0.85f, 0.5f, 0.8f, 1.0, 16.0f, 0.35f},
    };
    for (const SettingCase& c : cases) {
        SetUp();
        Read("settings.csv", std::string("alt,\nout,\n\n") + c.lines4to11 + "unused,7\n");
        EXPECT_FLOAT_EQ(run->MainAbsorptance, c.mainAbs) << c.lines4to11;
        EXPECT_FLOAT_EQ(run->MainEmittance, c.mainEm) << c.lines4to11;
        EXPECT_FLOAT_EQ(run->CanopyAbsorptance, c.canAbs) << c.lines4to11;
        EXPECT_FLOAT_EQ(run->CanopyEmittance, c.canEm) << c.lines4to11;
        EXPECT_FLOAT_EQ(run->Thickness, c.thickness) << c.lines4to11;
        EXPECT_EQ(run->PitchFactor, c.pitchFactor) << c.lines4to11;
        EXPECT_FLOAT_EQ(run->HolePitch, c.holePitch) << c.lines4to11;
        EXPECT_FLOAT_EQ(run->WindFactor, c.windFactor) << c.lines4to11;
    }
    EXPECT_TRUE(msg.shown.empty());
}

TEST_F(ControlFileTest, NamesTheAlternateInputAndHourlyOutput) {
    WriteTextFile("alt-in.csv", "tamb,simulate\n-10,1\n");
    // CRLF endings and a blank after the comma; the third field is anything.
    Read("named.csv", "input, alt-in.csv ,comment\r\noutput,hourly.csv\r\nMonth;TAmb x\r\n");
    EXPECT_EQ(run->AltInputActive, 1);
    ASSERT_EQ(msg.shown.size(), 1u);
    EXPECT_EQ(msg.shown[0].text, "Halvo will use the Alternate Input file 'alt-in.csv'");
    EXPECT_EQ(msg.shown[0].caption, "Halvo");
    EXPECT_EQ(run->Control.HourlyPathInUse, "hourly.csv");
    ASSERT_EQ(run->Control.Settings.NumColumns, 2);  // the trailing "x" is no keyword
    EXPECT_EQ(run->Control.Settings.Columns[1], EHourlyColumn::TAmb);

    run->Day = 1;
    run->Hour = 1;
    EXPECT_EQ(AltInput(*run, EAltKey::TAmb), -10.0);
    run->Hour = 2;
    EXPECT_EQ(AltInput(*run, EAltKey::TAmb), kAltNoValue);
    run->Hour = 1;
    run->AltInputActive = 0;
    EXPECT_EQ(AltInput(*run, EAltKey::TAmb), kAltNoValue);
}

TEST_F(ControlFileTest, RefusedAlternateInputLeavesTheRunOnTheWeatherFile) {
    WriteTextFile("percent.csv", "tamb,relhum,simulate\n20,50,1\n");
    Read("refused.csv", "input,percent.csv\n");
    EXPECT_EQ(run->AltInputActive, 0);
    ASSERT_EQ(msg.shown.size(), 1u);
    EXPECT_NE(msg.shown[0].text.find("Line 2, column 2 (\"relhum\")"), std::string::npos);
}

TEST_F(ControlFileTest, OverlongFirstLineIsCutAt126Characters) {
    const std::string name(130, 'n');
    Read("long.csv", "input," + name + "\noutput,h.csv\n");
    ASSERT_EQ(msg.shown.size(), 1u);
    EXPECT_EQ(msg.shown[0].text, "Error Reading Alternate Input File: " + name.substr(0, 120));
    EXPECT_EQ(run->Control.HourlyPathInUse, "h.csv");  // line 2 still read as line 2
}

TEST_F(ControlFileTest, UnreadableControlFileIsReportedAndIgnored) {
    run->Control.Options.ControlPath = "no-such-control.csv";
    ReadControlFile(*run, msg);
    ASSERT_EQ(msg.shown.size(), 1u);
    EXPECT_EQ(msg.shown[0].text, "Error Reading HalvoPro.csv file. It will be ignored\n");
    EXPECT_EQ(msg.shown[0].caption, "Halvo");
    EXPECT_EQ(run->MainAbsorptance, 0.95f);
    EXPECT_EQ(run->AltInputActive, 0);
}

TEST_F(ControlFileTest, CommandLineOutputGivesEveryWallItsOwnFile) {
    Read("with-output.csv", "input,\noutput,from-file.csv\ntamb\n");
    CControlOptions& opt = run->Control.Options;
    opt.HourlyPath = "batch.csv";
    EXPECT_EQ(SetHourlyColumns(opt, "Hour,tamb,qsol"), 3);
    run->WallNumber = 3;
    ReadControlFile(*run, msg);
    EXPECT_EQ(run->Control.HourlyPathInUse, "batch-w3.csv");
    ASSERT_EQ(run->Control.Settings.NumColumns, 3);
    EXPECT_EQ(run->Control.Settings.Columns[2], EHourlyColumn::QSol);

    // Without any control file the options alone ask for the output.
    opt.ControlPath.clear();
    EXPECT_EQ(ControlFilePresent(opt), 1);
}

TEST(ControlFilePath, IsBesideTheProgramUnlessGiven) {
    const char* home = std::getenv("HALVO_HOME");
    ASSERT_NE(home, nullptr);
    CControlOptions opt;
    EXPECT_EQ(ControlFilePath(opt), std::string(home) + "/halvopro.csv");
    opt.ControlPath = "elsewhere.csv";
    EXPECT_EQ(ControlFilePath(opt), "elsewhere.csv");
}

struct WallPathCase {
    const char* path;
    int wall;
    const char* expected;
};

TEST(HourlyPathForWall, PutsTheWallBeforeTheExtension) {
    const WallPathCase cases[] = {
        {"out.csv", 1, "out-w1.csv"},
        {"out", 2, "out-w2"},
        {"runs.d/out", 3, "runs.d/out-w3"},
        {"/tmp/a.b.csv", 4, "/tmp/a.b-w4.csv"},
        {".hidden", 1, ".hidden-w1"},
        {"dir\\x.txt", 2, "dir\\x-w2.txt"},
    };
    for (const WallPathCase& c : cases) EXPECT_EQ(HourlyPathForWall(c.path, c.wall), c.expected);
}

}  // namespace
