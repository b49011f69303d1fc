// The library error report ends the process, so every fatal case runs in a child process (a
// death test); the child works in its own scratch folder so parallel suites never share
// "SCL.dbg".
#include "solar/scl_error.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "solar/astro.h"
#include "solar/psy.h"
#include "solar/radproc.h"
#include "solar/tilt.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const fs::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
}

class SclReport : public testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/scl_test_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        root_ = tmpl;
        work_ = root_ / "work";
        home_ = root_ / "home";
        fs::create_directories(work_);
        fs::create_directories(home_);
    }
    void TearDown() override { fs::remove_all(root_); }

    // Runs `call` in a child whose current folder is work_ and whose program folder is home_;
    // expects the child to end with the report's status and returns "SCL.dbg".
    std::string RunFatal(const std::function<void()>& call) {
        const std::string work = work_.string(), home = home_.string();
        EXPECT_EXIT(
            {
                if (chdir(work.c_str()) != 0) std::_Exit(1);
                setenv("HALVO_HOME", home.c_str(), 1);
                call();
                std::_Exit(2);  // the report returned: a fault
            },
            testing::ExitedWithCode(SCL_EXIT_STATUS), "");
        return ReadAll(work_ / "SCL.dbg");
    }

    fs::path root_, work_, home_;
};

const std::regex kLine(R"(Error ocurred in file: ([a-z_]+\.cpp) at line#: ([0-9]+)\. Message = '(.*)')");

TEST_F(SclReport, DeclinationOfDay366WritesTheLine) {
    WriteAll(work_ / "scl.err", "0x1 Day number outside 1 to 365\n8 Latitude out of range\n");
    const std::string dbg = RunFatal([] { ASTRO_Declination(366); });
    std::smatch m;
    ASSERT_TRUE(std::regex_match(dbg, m, kLine)) << dbg;  // one line, no newline
    EXPECT_EQ(m[1], "astro.cpp");
    EXPECT_GT(std::stoi(m[2]), 0);
    EXPECT_EQ(m[3], "Day number outside 1 to 365");
}

TEST_F(SclReport, MissingErrorFileAndUnknownCode) {
    std::string dbg = RunFatal([] { ASTRO_Declination(0); });
    std::smatch m;
    ASSERT_TRUE(std::regex_match(dbg, m, kLine)) << dbg;
    EXPECT_EQ(m[3], "Error file not found");

    WriteAll(work_ / "scl.err", "2 something else\n");
    dbg = RunFatal([] { ASTRO_Declination(0); });
    ASSERT_TRUE(std::regex_match(dbg, m, kLine)) << dbg;
    EXPECT_EQ(m[3], "Unknown error");
}

// The location picker leaves the current folder elsewhere: the program folder is the fallback.
TEST_F(SclReport, ProgramFolderIsTheFallback) {
    WriteAll(home_ / "scl.err", "1030 from the program folder\n");
    std::string dbg = RunFatal([] { ASTRO_ExtraterrestrialNormal(366); });
    std::smatch m;
    ASSERT_TRUE(std::regex_match(dbg, m, kLine)) << dbg;
    EXPECT_EQ(m[3], "from the program folder");
    // The current folder wins when it has the file.
    WriteAll(work_ / "scl.err", "1030 from the current folder\n");
    dbg = RunFatal([] { ASTRO_ExtraterrestrialNormal(366); });
    ASSERT_TRUE(std::regex_match(dbg, m, kLine)) << dbg;
    EXPECT_EQ(m[3], "from the current folder");
}

// Each routine's checks in their documented order: the first failing check names the code.
// The error file maps every code to "code N" so the line tells which check fired.
TEST_F(SclReport, EachCheckReportsItsCode) {
    const double pi = ASTRO_PI, nan = std::nan("");
    const struct {
        const char* what;
        std::function<void()> call;
        unsigned code;
        const char* file;
    } cases[] = {
        {"declination day 0", [] { ASTRO_Declination(0); }, 1, "astro.cpp"},
        {"sun position day", [] { double z, a; ASTRO_SunPosition(366, 12, 9.0, z, a); }, 1, "astro.cpp"},
        {"sun position latitude", [] { double z, a; ASTRO_SunPosition(1, 12, 1.58, z, a); }, 8, "astro.cpp"},
        {"sun angles latitude NaN", [nan] { double z, a; ASTRO_SunAngles(0, 0, nan, z, a); }, 8, "astro.cpp"},
        {"eccentricity", [] { ASTRO_EccentricityFactor(-3); }, 1, "astro.cpp"},
        {"air mass", [pi] { ASTRO_AirMass(pi + 1e-9); }, 1025, "astro.cpp"},
        {"sunset latitude", [] { ASTRO_SunsetHourAngle(-1.6, 0); }, 8, "astro.cpp"},
        {"kt I0n before zenith", [] { RADPROC_ClearnessIndex(-1, 0, -1); }, 1024, "radproc.cpp"},
        {"kt zenith before G", [] { RADPROC_ClearnessIndex(-1, 1400, 4); }, 1026, "radproc.cpp"},
        {"kt negative G", [] { RADPROC_ClearnessIndex(-1, 1400, 1); }, 1027, "radproc.cpp"},
        {"diffuse fraction", [] { RADPROC_DiffuseFraction(1.01); }, 1028, "radproc.cpp"},
        {"perez Id", [] { TILT_Perez(1, -1, 1400, 9, 9, 0, 9, 9, 9); }, 769, "tilt.cpp"},
        {"perez zenith", [] { TILT_Perez(1, 1, 1400, 9, 9, 0, 9, 9, 9); }, 770, "tilt.cpp"},
        {"perez sun azimuth", [] { TILT_Perez(1, 1, 1400, 1, 4, 0, 9, 9, 9); }, 771, "tilt.cpp"},
        {"perez air mass", [] { TILT_Perez(1, 1, 1400, 1, 1, 0.9995, 9, 9, 9); }, 774, "tilt.cpp"},
        {"perez slope", [] { TILT_Perez(1, 1, 1400, 1, 1, 1, 9, 9, 9); }, 772, "tilt.cpp"},
        {"perez surface azimuth", [] { TILT_Perez(1, 1, 1400, 1, 1, 1, 1, -4, 9); }, 771, "tilt.cpp"},
        {"perez reflectance", [] { TILT_Perez(1, 1, 1400, 1, 1, 1, 1, 1, 1.1); }, 773, "tilt.cpp"},
        {"sat pressure", [] { PSY_SatPressure(200.5); }, 1543, "psy.cpp"},
        {"rel hum in percent", [] { PSY_HumRatioFromRelHum(20, 50, 101325); }, 1537, "psy.cpp"},
        {"rel hum before temperature", [] { PSY_HumRatioFromRelHum(500, 2, 101325); }, 1537, "psy.cpp"},
        {"rel hum temperature", [] { PSY_HumRatioFromRelHum(500, 0.5, 101325); }, 1543, "psy.cpp"},
        {"vapour pressure", [] { PSY_HumRatioFromVapPressure(-1, 101325); }, 1539, "psy.cpp"},
        {"wet bulb above dry bulb", [] { PSY_HumRatioFromWetBulb(10, 11, 101325); }, 1541, "psy.cpp"},
        {"wet bulb range", [] { PSY_HumRatioFromWetBulb(300, 250, 101325); }, 1543, "psy.cpp"},
    };
    std::string err;
    for (unsigned code : {1u, 8u, 769u, 770u, 771u, 772u, 773u, 774u, 1024u, 1025u, 1026u, 1027u,
                          1028u, 1030u, 1537u, 1539u, 1541u, 1543u})
        err += std::to_string(code) + "\tcode " + std::to_string(code) + "\n";
    WriteAll(work_ / "scl.err", err);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(work_ / "SCL.dbg");
        const std::string dbg = RunFatal(c.call);
        std::smatch m;
        ASSERT_TRUE(std::regex_match(dbg, m, kLine)) << dbg;
        EXPECT_EQ(m[1], c.file);
        EXPECT_EQ(m[3], "code " + std::to_string(c.code));
    }
}

// Codes written in hexadecimal or octal, separators other than a blank, CRLF line ends, overlong
// lines and the 256-character limit of the message.
TEST_F(SclReport, ErrorFileLineFormat) {
    const fs::path f = work_ / "scl.err";
    const std::string longtail(300, 'x');
    WriteAll(f, "0x301 hex\n01001 octal\r\n" + std::string("7 ") + longtail + " 99 hidden\n" +
                    "99:colon\n12\n13 \n14 " + std::string(300, 'y') + "\n");
    EXPECT_EQ(SCL_LookupMessage(769, f.c_str()), "hex");
    EXPECT_EQ(SCL_LookupMessage(513, f.c_str()), "octal");
    EXPECT_EQ(SCL_LookupMessage(99, f.c_str()), "colon");  // not the tail of the long line
    EXPECT_EQ(SCL_LookupMessage(12, f.c_str()), "Unknown error");
    EXPECT_EQ(SCL_LookupMessage(13, f.c_str()), "");
    EXPECT_EQ(SCL_LookupMessage(14, f.c_str()).size(), 256u - 3u);  // the line stops at 256
    EXPECT_EQ(SCL_LookupMessage(1, (work_ / "none").c_str()), "Error file not found");
}

// The shipped "scl.err" carries a line for every code the library can raise.
TEST(SclShipped, EveryCodeHasAMessage) {
    const std::string path = std::string(HALVO_TEST_SOURCE_DIR) + "/../data/scl.err";
    const unsigned codes[] = {1,    5,    6,    7,    8,    257,  258,  259,  260,  513,  514,
                              515,  516,  517,  518,  519,  769,  770,  771,  772,  773,  774,
                              1024, 1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1280,
                              1537, 1539, 1540, 1541, 1542, 1543};
    for (unsigned c : codes) {
        const std::string msg = SCL_LookupMessage(c, path.c_str());
        EXPECT_NE(msg, "Error file not found");
        EXPECT_NE(msg, "Unknown error") << c;
        EXPECT_FALSE(msg.empty()) << c;
    }
}

}  // namespace
