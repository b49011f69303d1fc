// halvo-cli through its run function: exit codes, messages, the JSON form and its round trip.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/run.h"
#include "project/doc.h"
#include "project/messages.h"
#include "project/project_file.h"
#include "project/tests/fixtures.h"

namespace fs = std::filesystem;

namespace {
struct Result {
    int code;
    std::string out, err;
};
Result Cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    int code = run(args, out, err);
    return {code, out.str(), err.str()};
}
std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
void Spit(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }
int Lines(const std::string& s) { return static_cast<int>(std::count(s.begin(), s.end(), '\n')); }

// Each test works in its own folder, and with a program folder that holds no template unless it
// asks for the staged one.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::current_path() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir / "home");
        const char* old = std::getenv("HALVO_HOME");
        oldHome = old ? old : "";
        setenv("HALVO_HOME", (dir / "home").c_str(), 1);
    }
    void TearDown() override { setenv("HALVO_HOME", oldHome.c_str(), 1); }
    std::string P(const char* name) const { return (dir / name).string(); }
    fs::path dir;
    std::string oldHome;
};
}  // namespace

TEST_F(CliTest, HelpVersionAndUsageErrors) {
    Result r = Cli({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Exit codes: 0 success"), std::string::npos);
    EXPECT_NE(r.out.find("show"), std::string::npos);
    r = Cli({"--version"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind("halvo-cli ", 0), 0u);
    struct Case { std::vector<std::string> args; };
    const Case usage[] = {{{}}, {{"frobnicate"}}, {{"show"}}, {{"new"}}, {{"show", "a.hvf", "b.hvf"}},
                          {{"--answer", "maybe", "show", "a.hvf"}}, {{"new", "a.hvf", "--bogus"}},
                          {{"show", ""}}, {{"new", ""}}};
    for (const Case& c : usage) {
        r = Cli(c.args);
        EXPECT_EQ(r.code, 2) << (c.args.empty() ? "" : c.args[0]);
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
}

TEST_F(CliTest, UnreadableProjectsGiveOneLineNamingTheFile) {
    auto d = std::make_unique<CHalvo98Doc>();
    std::vector<unsigned char> good = ProjectFileBytes(*d);
    Spit(P("bad header.hvf"), "Halvo File Ver 2.0 and more");
    Spit(P("cut.hvf"), std::string(good.begin(), good.begin() + 500));
    fs::create_directories(dir / "folder.hvf");
    struct Case { std::string file, says; };
    const Case cases[] = {{P("missing.hvf"), "cannot open the file"},
                          {P("bad header.hvf"), "Invalid Halvo File"},
                          {P("cut.hvf"), "the file ends inside"},
                          {P("folder.hvf"), "cannot open the file: Is a directory"}};
    for (const Case& c : cases) {
        Result r = Cli({"show", c.file});
        EXPECT_EQ(r.code, 3) << c.file;
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(Lines(r.err), 1) << r.err;
        EXPECT_EQ(r.err.rfind("halvo-cli: " + c.file + ": ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
}

TEST_F(CliTest, NewWithoutTemplateShowsTheRecordDefaults) {
    ASSERT_EQ(Cli({"new", P("p.hvf")}).code, 0);
    Result r = Cli({"show", P("p.hvf")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["fileVersion"], 1030);
    EXPECT_EQ(j["applicationType"], 1);
    EXPECT_EQ(j["location"]["weatherFile"], "");
    ASSERT_EQ(j["walls"].size(), 4u);
    EXPECT_EQ(j["walls"][0]["present"], 1);
    EXPECT_EQ(j["walls"][1]["present"], 0);
    EXPECT_EQ(j["walls"][0]["airSystem"]["scheduleId"], 0);   // the new-project changes
    EXPECT_EQ(j["walls"][0]["airSystem"]["flowStraightener"], 0);
    EXPECT_EQ(j["walls"][1]["airSystem"]["scheduleId"], 1);   // record defaults
    EXPECT_EQ(j["walls"][0]["schedule"]["halfMonths"], "111111111111111111111111");
    EXPECT_EQ(j["walls"][3]["collector"]["testArea"], 50);
    // 32-bit reals with 9 significant digits, 64-bit with 17.
    EXPECT_NE(r.out.find("\"windFactor\": 0.349999994"), std::string::npos);
    EXPECT_NE(r.out.find("\"roofRValue\": 5.28000021"), std::string::npos);
    EXPECT_EQ(j["economics"]["tax1Name"], "PST");
    EXPECT_EQ(j["economics"]["collector"]["unitCost"], 70);

    // The writer finds "P.HVF" as "p.hvf" (names are resolved ignoring case), so both are refused.
    for (const char* name : {"p.hvf", "P.HVF"}) {
        std::string before = Slurp(P("p.hvf"));
        Result again = Cli({"new", P(name)});
        EXPECT_EQ(again.code, 2) << name;
        EXPECT_NE(again.err.find("already exists"), std::string::npos) << name;
        EXPECT_EQ(Slurp(P("p.hvf")), before) << name;
    }
    EXPECT_EQ(Cli({"new", P("p.hvf"), "--force"}).code, 0);
}

// show followed by new --from gives back the same bytes, for every stored field and for texts and
// reals that are awkward in JSON (8-bit characters, zero bytes, negative zero, NaN).
TEST_F(CliTest, ShowThenNewFromIsByteIdentical) {
    auto d = std::make_unique<CHalvo98Doc>();
    FillEveryStoredField(*d);
    d->location.stationName = "MONTR\xC9" "AL \"QC\"\\";
    std::memcpy(d->location.latitudeText, "N\0" "45\x01" "30\xFF", 8);
    d->collectors[3].azimuth = -0.0f;
    d->collectors[2].slope = std::numeric_limits<float>::quiet_NaN();
    d->economics.reserved[1] = -1e-300;
    d->client.name = std::string("line 1\nline\t2");
    ASSERT_TRUE(WriteProjectFile(*d, P("orig.hvf")));

    Result shown = Cli({"show", P("orig.hvf")});
    ASSERT_EQ(shown.code, 0) << shown.err;
    Spit(P("orig.json"), shown.out);
    Result made = Cli({"new", P("copy.hvf"), "--from", P("orig.json")});
    ASSERT_EQ(made.code, 0) << made.err;
    EXPECT_TRUE(Slurp(P("copy.hvf")) == Slurp(P("orig.hvf")));
    EXPECT_NE(shown.out.find("\"stationName\": \"MONTR\xC3\x89" "AL \\\"QC\\\"\\\\\""), std::string::npos);
}

TEST_F(CliTest, NewFromKeepsWhatIsLeftOut) {
    Spit(P("edit.json"), R"({"applicationType": 2,
        "walls": [{}, {"present": 1, "schedule": {"id": 5}, "collector": {"collectorWidth": 12.5}}],
        "economics": {"tax2Name": "HST", "fuelPrice": [0.25]},
        "dealer": {"company": "Soleil Caf\u00e9"}})");
    ASSERT_EQ(Cli({"new", P("e.hvf"), "--from", P("edit.json")}).code, 0);
    CScriptedMessenger msg;
    auto d = std::make_unique<CHalvo98Doc>();
    ASSERT_EQ(ReadProject(*d, P("e.hvf"), msg), kReadOk);
    EXPECT_EQ(d->applicationType, 2);
    EXPECT_EQ(d->WallCount(), 2);
    EXPECT_EQ(d->collectors[1].collectorWidth, 12.5f);
    EXPECT_EQ(d->collectors[1].collectorHeight, 7.0f);
    EXPECT_EQ(d->schedules[1].id, 5);
    EXPECT_EQ(d->airSystems[1].scheduleId, 5);
    EXPECT_EQ(d->schedules[1].halfMonth[10], 0);  // heating season only
    EXPECT_STREQ(d->economics.tax2Name, "HST");
    EXPECT_STREQ(d->economics.tax1Name, "PST");
    EXPECT_EQ(d->economics.fuelPrice[0], 0.25);
    EXPECT_EQ(d->economics.fuelPrice[1], 0.0);
    EXPECT_EQ(d->dealer.company, "Soleil Caf\xE9");
}

TEST_F(CliTest, NewFromRefusesBadFieldsNamingThem) {
    struct Case { const char* json; const char* says; };
    const Case cases[] = {
        {"{\"walls\": [{\"collector\": {\"widht\": 3}}]}", "walls[0].collector.widht: unknown field"},
        {"{\"currency\": 1.5}", "currency: must be a whole number"},
        {"{\"applicationType\": 70000}", "applicationType: is out of range"},
        {"{\"economics\": {\"tax1Name\": \"ABCDE\"}}", "economics.tax1Name: is longer than 4 characters"},
        {"{\"location\": {\"stationName\": \"\\u20ac\"}}", "location.stationName: has a character that cannot be stored"},
        {"{\"walls\": [{}, {}, {}, {}, {}]}", "walls: must be an array of at most 4 objects"},
        {"{\"walls\": [{\"schedule\": {\"id\": 42}}]}", "walls[0].schedule.id: schedule 42 is neither built in"},
        {"{\"walls\": [{\"schedule\": {\"hours\": [\"1\"]}}]}", "walls[0].schedule.hours: must be an array of 24"},
        {"{\"format\": \"other\"}", "format: must be \"halvo-project\""},
        {"[1, 2]", "the document must be a JSON object"},
        {"{\"unitsFlag\": ", "not valid JSON"},
        {"{\"elevation\": 1e999}", "not valid JSON"},
    };
    for (const Case& c : cases) {
        Spit(P("bad.json"), c.json);
        Result r = Cli({"new", P("x.hvf"), "--from", P("bad.json")});
        EXPECT_EQ(r.code, 3) << c.json;
        EXPECT_EQ(r.err.rfind("halvo-cli: " + P("bad.json") + ": ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(Lines(r.err), 1) << r.err;
        EXPECT_FALSE(fs::exists(P("x.hvf")));
    }
    Result r = Cli({"new", P("x.hvf"), "--from", P("none.json")});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("cannot open"), std::string::npos);
}

// The shipped template is what data/default.json makes with no template beside the program.
TEST_F(CliTest, ShippedTemplateIsGeneratedFromItsSource) {
    fs::path data = fs::path(HALVO_TEST_SOURCE_DIR) / ".." / ".." / "data";
    ASSERT_TRUE(fs::exists(data / "default.json"));
    ASSERT_EQ(Cli({"new", P("gen.hvf"), "--from", (data / "default.json").string()}).code, 0);
    EXPECT_TRUE(Slurp(P("gen.hvf")) == Slurp(data / "default.hvf"))
        << "data/default.hvf is stale: build the target regenerate_default_hvf";

    setenv("HALVO_HOME", HALVO_TEST_STAGE_DIR, 1);
    ASSERT_EQ(Cli({"new", P("from-template.hvf")}).code, 0);
    EXPECT_TRUE(Slurp(P("from-template.hvf")) == Slurp(data / "default.hvf"));
}

// --location reads the weather file as choosing a location does, and the shipped examples are
// what their JSON and their location make.
TEST_F(CliTest, NewWithLocationReadsTheStationHeader) {
    fs::path data = fs::path(HALVO_TEST_SOURCE_DIR) / ".." / ".." / "data";
    fs::create_directory_symlink(data / "Weather", dir / "home" / "Weather");
    const std::string toronto = "\\Weather\\North America\\Canada\\Ontario\\Toronto.wsw";
    ASSERT_EQ(Cli({"new", P("t.hvf"), "--location", toronto}).code, 0);
    Result shown = Cli({"show", P("t.hvf")});
    ASSERT_EQ(shown.code, 0);
    const auto loc = nlohmann::json::parse(shown.out)["location"];
    EXPECT_EQ(loc["weatherFile"], toronto);
    EXPECT_EQ(loc["stationName"], "Toronto");
    EXPECT_EQ(loc["regionCode"], "ON");
    EXPECT_EQ(loc["stationCode"], 11);

    // Letter case of the stored path does not matter; a missing file is an unreadable input.
    EXPECT_EQ(Cli({"new", P("u.hvf"), "--location", "\\weather\\north america\\canada\\ontario\\toronto.wsw"}).code, 0);
    Result r = Cli({"new", P("x.hvf"), "--location", "\\Weather\\Nowhere.wsw"});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("Nowhere.wsw"), std::string::npos);
    EXPECT_FALSE(fs::exists(P("x.hvf")));

    for (const char* name : {"warehouse-makeup-air", "ventilation-preheat-canopy", "crop-dryer"}) {
        const fs::path json = data / "examples" / (std::string(name) + ".json");
        const std::string weather = nlohmann::json::parse(Slurp(json))["location"]["weatherFile"];
        const std::string out = P((std::string(name) + ".hvf").c_str());
        ASSERT_EQ(Cli({"new", out, "--from", json.string(), "--location", weather}).code, 0) << name;
        EXPECT_TRUE(Slurp(out) == Slurp(data / "examples" / (std::string(name) + ".hvf")))
            << name << ".hvf is stale: run tools/make-examples.sh";
    }
}
