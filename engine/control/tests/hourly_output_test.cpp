#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/control/control_file.h"
#include "project/messages.h"
#include "test_files.h"

namespace {

// Every output keyword in one list, with an unknown one in the middle.
const char* const kAllKeywords =
    "month daynum weekday hournum hour tamb vwindsite hum hglo qsol qsolop qcoll qrecap qdestrat "
    "qrad qconv tskyview tplate fcoll fsupply fexhaust bogus tcoll trecirc tceiling tfloor texhaust "
    "twall bypass fracfresh flowmalcorr";

class HourlyOutputTest : public ::testing::Test {
protected:
    std::unique_ptr<CWallRun> run = std::make_unique<CWallRun>();
    CScriptedMessenger msg;

    // An hour with a value of its own in every column: day 33 (2 February), hour 14.
    void SetUp() override {
        CWallRun& r = *run;
        r.Month = 2; r.Day = 33; r.Weekday = 6; r.Hour = 14;
        r.TAmb = -5.125f; r.VWindSite = 3.25f; r.HumRatio = 0.00234567; r.HGlo = 412.5f;
        r.CollArea = 250.0f; r.QSol = 601.25f; r.QSolOp = 123456.78f; r.QColl = 98765.4f;
        r.QRecap = 1234.56f; r.QDestrat = -12.34f; r.QRad = -99.9f; r.QConv = 4567.8f;
        r.TSkyView = -18.456; r.TPlate = 12.3456; r.FlowColl = 18000.0f; r.AirDensity = 1.25f;
        r.FlowSupply = 20000.0f; r.FlowExhaust = -999.9f; r.TColl = 10.5f; r.TRecirc = 21.0f;
        r.TCeiling = 27.25f; r.TFloor = 18.0f; r.TExhaust = -999.9f; r.TWall = 15.5f;
        r.Bypass = -9.9f; r.FracFresh = 0.25f; r.FlowMalCorr = 0.975;
    }
    // Reads a control file naming `out` with the keywords of line 3, and opens the output.
    void Start(const std::string& out, const std::string& keywords) {
        WriteTextFile("control.csv", "input,\noutput," + out + "\n" + keywords + "\n");
        run->Control.Options.ControlPath = "control.csv";
        ReadControlFile(*run, msg);
        WriteHourlyHeader(*run, msg);
    }
};

// Expected fields by hand from the column formats: "%d," for the counters, TAmb "%6.2f,",
// VWindSite "%4.1f,", Hum "%6.4f,", HGlo x 3.6 = 1485.0, QSol = 250 x 601.25 x 3.6 = 541125.0
// ("%7.1f,"), flows in l/s = kg/h / 3.6 / 1.25 ("%7.0f,", Fexhaust "%7.1f,"), temperatures
// "%7.2f,", bypass, fresh-air fraction and maldistribution "%4.2f,".
TEST_F(HourlyOutputTest, EveryColumnHasItsHeaderAndFormat) {
    Start("all.csv", kAllKeywords);
    ASSERT_EQ(run->HourlyOutputActive, 1);
    ASSERT_EQ(msg.shown.size(), 1u);
    EXPECT_EQ(msg.shown[0].text, "Writing hourly output to all.csv.");
    EXPECT_EQ(msg.shown[0].icon, MsgIcon::Information);
    EXPECT_EQ(msg.shown[0].caption, "Halvo");
    WriteHourlyLine(*run);
    CloseHourlyOutput(*run, msg);

    const std::string header =
        "Month,DayNum,WeekDay,HourNum,Hour,TAmb,VWindSite,Hum,HGlo,QSol,QSolOp,QCollSol,QRecap,"
        "QDestrat,QRad,QConv,TSkyView,TPlate,Fcoll,Fsupply,Fexhaust,Tcoll,Trecirc,Tceiling,Tfloor,"
        "Texhaust,Twall,ByPass,FracFresh,FlowMalCorr,\n";
    const std::string line =
        "2,33,6,782,14, -5.12, 3.2,0.0023, 1485.0,541125.0,123456.8,98765.4, 1234.6,  -12.3,"
        "  -99.9, 4567.8, -18.46,  12.35,   4000,   4444, -999.9, -- ,  10.50,  21.00,  27.25,"
        "  18.00,-999.90,  15.50,-9.90,0.25,0.97,\n";
    EXPECT_EQ(ReadTextFile("all.csv"), header + line);
}

TEST_F(HourlyOutputTest, SimulateColumnShowsTheImposedValueOrOne) {
    Start("sim.csv", "QCOLL,Simulate,nonsense");
    WriteHourlyLine(*run);  // alternate input not active
    run->AltInputActive = 1;
    ClearAltInput(run->Control.Alt);
    run->Control.Alt.Table[static_cast<int>(EAltKey::Simulate)][32][13] = 0.0f;
    WriteHourlyLine(*run);  // a 0 hour is written too
    run->Hour = 15;
    WriteHourlyLine(*run);  // active, but the hour has no value
    CloseHourlyOutput(*run, msg);
    EXPECT_EQ(ReadTextFile("sim.csv"),
              "QCollSol,simulate,\n98765.4,1.0, -- ,\n98765.4,0, -- ,\n98765.4,1.0, -- ,\n");
}

TEST_F(HourlyOutputTest, UnwritableFileIsReportedAndTheRunGoesOnWithout) {
    Start("no-such-folder/out.csv", "tamb");
    EXPECT_EQ(run->HourlyOutputActive, 0);
    ASSERT_EQ(msg.shown.size(), 1u);
    EXPECT_EQ(msg.shown[0].text, "Error writing to the specified output file no-such-folder/out.csv.");
    EXPECT_EQ(msg.shown[0].icon, MsgIcon::Warning);
    WriteHourlyLine(*run);  // harmless without a file
    CloseHourlyOutput(*run, msg);
    EXPECT_EQ(msg.shown.size(), 1u);
}

TEST_F(HourlyOutputTest, PreviousFileStaysUntilTheNewOneIsComplete) {
    WriteTextFile("keep.csv", "old\n");
    Start("keep.csv", "hour");
    WriteHourlyLine(*run);
    EXPECT_EQ(ReadTextFile("keep.csv"), "old\n");
    CloseHourlyOutput(*run, msg);
    EXPECT_EQ(ReadTextFile("keep.csv"), "Hour,\n14,\n");
    EXPECT_FALSE(std::filesystem::exists("keep.csv.tmp"));
}

TEST_F(HourlyOutputTest, NextWallRewritesTheFileAndAWallWithoutControlFileWritesNothing) {
    Start("walls.csv", "daynum");
    WriteHourlyLine(*run);
    CloseHourlyOutput(*run, msg);
    run->Day = 34;
    Start("walls.csv", "daynum");
    WriteHourlyLine(*run);
    CloseHourlyOutput(*run, msg);
    EXPECT_EQ(ReadTextFile("walls.csv"), "DayNum,\n34,\n");
    // A wall whose run reads no control file: the last request is not reused.
    WriteHourlyHeader(*run, msg);
    EXPECT_EQ(run->HourlyOutputActive, 0);
}

}  // namespace
