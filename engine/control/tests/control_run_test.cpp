// The control file through a whole wall run of the hourly driver: imposed hours, hours that are
// written but not summed, and the output file of the run.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/control/control_file.h"
#include "engine/sim/run_wall.h"
#include "project/messages.h"
#include "test_files.h"

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(ControlRun, SimulateZeroHourIsWrittenButNotSummed) {
    WriteTextFile("run-alt.csv", "tglo,simulate\n100,1\n100,0\n");
    WriteTextFile("run-control.csv", "in,run-alt.csv\nout,run-hourly.csv\nhournum,simulate,qsol\n");
    auto run = std::make_unique<CWallRun>();
    run->AppType = 0;  // no application model: the driver's own selection and sums only
    run->AreaMain = 10.0f;
    run->CollHeight = 2.0f;
    run->CollWidth = 5.0f;
    run->Porosity = 0.005f;
    run->WallR = 1.0f;
    run->RoofR = 1.0f;
    run->ControlFilePresent = 1;
    run->Control.Options.ControlPath = "run-control.csv";
    CScriptedMessenger msg;
    RunWall(*run, 1, nullptr, msg);

    // 3.6 x 100 W/m2 x 10 m2 for hour 1 only; hour 2 has "simulate" 0, the others no value.
    EXPECT_FLOAT_EQ(run->Acc[1][kAccSolarIncident], 3600.0f);
    const std::vector<std::string> lines = SplitLines(ReadTextFile("run-hourly.csv"));
    ASSERT_EQ(lines.size(), 8761u);
    EXPECT_EQ(lines[0], "HourNum,simulate,QSol,");
    EXPECT_EQ(lines[1], "1,1, 3600.0,");
    EXPECT_EQ(lines[2], "2,0, 3600.0,");
    EXPECT_EQ(lines[3], "3,1.0,    0.0,");
    EXPECT_EQ(lines[8760], "8760,1.0,    0.0,");
    ASSERT_EQ(msg.shown.size(), 2u);
    EXPECT_EQ(msg.shown[0].text, "Halvo will use the Alternate Input file 'run-alt.csv'");
    EXPECT_EQ(msg.shown[1].text, "Writing hourly output to run-hourly.csv.");
}

}  // namespace
