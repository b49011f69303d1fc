// The shipped example projects and the template: sensible designs, a year of each on its shipped
// weather file, and the simulate command of halvo-cli on them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "cli/run.h"
#include "engine/sim/simulate.h"
#include "engine/sim/tests/sim_fixture.h"
#include "project/doc.h"
#include "project/messages.h"
#include "project/project_file.h"

namespace fs = std::filesystem;

namespace {

// The repository's data folder has the program folder's layout (Weather tree, template, examples).
fs::path DataFolder() { return fs::path(HALVO_TEST_SOURCE_DIR) / ".." / ".." / ".." / "data"; }

struct CExample {
    const char* file;
    int appType;
};
const CExample kExamples[] = {
    {"warehouse-makeup-air.hvf", 1},
    {"ventilation-preheat-canopy.hvf", 2},
    {"crop-dryer.hvf", 3},
};

std::unique_ptr<CHalvo98Doc> Load(const fs::path& path) {
    auto doc = std::make_unique<CHalvo98Doc>();
    CScriptedMessenger msg;
    std::string problem;
    EXPECT_EQ(ReadProject(*doc, path.string(), msg, &problem), kReadOk) << path << ": " << problem;
    return doc;
}

std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(ShippedProjects, AreSensibleDesigns) {
    // The porosity the porosity rule gives, and a suction velocity (flow / area) of 0.01-0.05 m/s.
    std::vector<fs::path> files = {DataFolder() / "default.hvf"};
    for (const CExample& e : kExamples) files.push_back(DataFolder() / "examples" / e.file);
    for (const fs::path& f : files) {
        auto doc = Load(f);
        for (int w = 0; w < doc->WallCount(); ++w) {
            const CCollectorSpec& c = doc->collectors[w];
            const CAirSystem& a = doc->airSystems[w];
            EXPECT_EQ(c.porosity, PorosityRule(a.designFlow, c.collectorHeight, c.collectorWidth)) << f;
            const double suction = a.designFlow / 1000.0 / (c.collectorHeight * c.collectorWidth);
            EXPECT_GE(suction, 0.01) << f;
            EXPECT_LE(suction, 0.05) << f;
        }
    }
}

TEST(ShippedProjects, AYearOfEachExampleMakesEnergySense) {
    setenv("HALVO_HOME", fs::absolute(DataFolder()).string().c_str(), 1);
    for (const CExample& e : kExamples) {
        auto doc = Load(DataFolder() / "examples" / e.file);
        EXPECT_EQ(doc->applicationType, e.appType) << e.file;
        CScriptedMessenger msg;
        ASSERT_EQ(SimulateProject(*doc, msg, nullptr), kSimulateDone) << e.file;
        EXPECT_TRUE(msg.shown.empty()) << e.file;
        simtest::ExpectEnergySense(doc->results, 1, 0.2, 0.8, e.file);
        EXPECT_GT(doc->results.designFanPower[0], 0) << e.file;
        EXPECT_GT(doc->results.designFanPressure[0], 0) << e.file;
    }
}

TEST(ShippedProjects, SimulateCommandPrintsAndNeverWritesTheProject) {
    setenv("HALVO_HOME", fs::absolute(DataFolder()).string().c_str(), 1);
    const fs::path src = DataFolder() / "examples" / "ventilation-preheat-canopy.hvf";
    const fs::path copy = fs::absolute("cli-example.hvf");
    fs::copy_file(src, copy, fs::copy_options::overwrite_existing);
    const std::string before = Bytes(copy);

    std::ostringstream out, err;
    EXPECT_EQ(run({"simulate", copy.string(), "--csv"}, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("\nsolarCollected,GJ,wall1,"), std::string::npos);
    EXPECT_NE(out.str().find("\ndesignFanPressure,Pa,wall1,"), std::string::npos);
    std::ostringstream outIp, errIp;
    EXPECT_EQ(run({"simulate", copy.string(), "--json", "--units", "ip"}, outIp, errIp), 0);
    EXPECT_NE(outIp.str().find("\"unit\": \"MMBTU\""), std::string::npos);
    EXPECT_EQ(Bytes(copy), before);

    // A control file named on the command line that cannot be read stops the command.
    std::ostringstream outC, errC;
    EXPECT_EQ(run({"simulate", copy.string(), "--control", "no-such-control.csv"}, outC, errC), 3);
    EXPECT_NE(errC.str().find("no-such-control.csv: cannot open the control file"), std::string::npos);
    EXPECT_TRUE(outC.str().empty());

    // Without its weather file the command stops with the message and exit code 3.
    setenv("HALVO_HOME", fs::absolute("no-weather-here").string().c_str(), 1);
    std::ostringstream out3, err3;
    EXPECT_EQ(run({"simulate", copy.string()}, out3, err3), 3);
    EXPECT_NE(err3.str().find("Weather File Cannot be Found. Please Select a valid Location."),
              std::string::npos);
    EXPECT_TRUE(out3.str().empty());
    EXPECT_EQ(Bytes(copy), before);
}
