#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "nimbra/cli.h"
#include "nimbra/regions.h"

namespace fs = std::filesystem;

namespace {

std::string Header() {
    std::string h = "region,subregion,abbreviation,city,latitude,hemisphere,longitude,eastwest,elevation,source";
    for (const char* p : {"rad", "temp", "rh", "wind"})
        for (int m = 1; m <= 12; ++m) h += std::string(",") + p + std::to_string(m);
    return h;
}

std::string Row(const std::string& head, const std::string& rad = "0.5") {
    std::string r = head;
    for (int m = 1; m <= 12; ++m) r += "," + rad;
    for (int m = 1; m <= 12; ++m) r += "," + std::to_string(m - 6);
    for (int m = 1; m <= 12; ++m) r += ",70";
    for (int m = 1; m <= 12; ++m) r += ",4";
    return r;
}

class NimbraCli : public ::testing::Test {
protected:
    void SetUp() override {
        home = fs::current_path() / ("cli-" + std::to_string(getpid()) + "-" +
                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(home);
        for (std::string f : nimbra::AllRegionFolders()) {
            for (char& c : f)
                if (c == '\\') c = '/';
            fs::create_directories(home / "Weather" / f);
        }
    }
    void TearDown() override { fs::remove_all(home); }
    int Run(const std::string& csv) {
        const fs::path p = home / "sites.csv";
        std::ofstream(p) << csv;
        out.str("");
        err.str("");
        return nimbra::NimbraCliRun({"--home", home.string(), p.string()}, out, err);
    }
    fs::path home;
    std::ostringstream out, err;
};

TEST_F(NimbraCli, CreatesEverySiteAndReportsRefusals) {
    const std::string csv = "# two sites\n" + Header() + "\n" +
                            Row("Canada,Ontario,,Toronto,43.67,N,79.4,W,173,1") + "\n" +
                            Row("1,5,,,52.1,N,106.7,W,500,1") + "\n" +
                            Row("USA,iowa,,\"DES MOINES\",41.53,N,93.65,W,294,2", "15") + "\n" +
                            Row("Europe,,FR,Paris,48.85,N,2.35,E,35,1e20") + "\n";
    EXPECT_EQ(Run(csv), 1) << err.str();
    EXPECT_EQ(fs::file_size(home / "Weather/North America/Canada/Ontario/Toronto.wsw"), 70936u);
    EXPECT_TRUE(fs::exists(home / "Weather/North America/USA/West North Central/DES MOINES.wsw"));
    EXPECT_NE(err.str().find("line 4: Nimbra: No Saskatchewan City Name Entered"), std::string::npos) << err.str();
    // A source far beyond any radiation kind is "none chosen", not a number out of int's range.
    EXPECT_NE(err.str().find("line 6: Nimbra: Type of radiation data not chosen!"), std::string::npos);
    EXPECT_FALSE(fs::exists(home / "Weather/Europe/Paris.wsw"));
    EXPECT_NE(out.str().find("\\Weather\\North America\\Canada\\Ontario\\Toronto.wsw"), std::string::npos);
}

TEST_F(NimbraCli, MalformedInputCreatesNothing) {
    struct Case {
        std::string csv;
        const char* message;
    };
    const Case cases[] = {
        {Header() + "\n" + Row("Canada,Ontario,,A,43.67,N,79.4,W,173,1") + "\n" +
             Row("Canada,Ontario,,B,north,N,79.4,W,173,1") + "\n",
         "line 3, field \"latitude\": \"north\" is not a number."},
        {"city,latitude\n", "no column \"region\""},
        {Header() + "\n" + Row("Canada,Nowhere,,A,43.67,N,79.4,W,173,1") + "\n",
         "field \"subregion\": \"Nowhere\" is not a province."},
        {Header() + "\n" + "Canada,Ontario\n", "2 fields, 58 expected."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.csv), 3);
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
        EXPECT_FALSE(fs::exists(home / "Weather/North America/Canada/Ontario/A.wsw"));
    }
}

TEST_F(NimbraCli, Usage) {
    std::ostringstream o, e;
    EXPECT_EQ(nimbra::NimbraCliRun({}, o, e), 2);
    EXPECT_EQ(nimbra::NimbraCliRun({"--bogus"}, o, e), 2);
    EXPECT_EQ(nimbra::NimbraCliRun({"--help"}, o, e), 0);
    EXPECT_NE(o.str().find("Exit codes"), std::string::npos);
    EXPECT_EQ(nimbra::NimbraCliRun({"--home", home.string(), (home / "none.csv").string()}, o, e), 3);
}

}  // namespace
