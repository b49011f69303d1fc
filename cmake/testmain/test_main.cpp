// The main of every test suite. CTest runs each test case as its own process, two at a time, all
// from the suite's one working folder; tests write control files, hourly output and SCL.dbg into
// the current folder, so each process first moves into a fresh folder of its own below it. The
// folder is removed when every test of the process passed and kept for inspection otherwise.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string pattern = (std::filesystem::current_path() / "case.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) {
        std::perror("test main: cannot make a working folder");
        return 2;
    }
    const int rc = RUN_ALL_TESTS();
    if (rc == 0) {
        std::error_code ec;
        std::filesystem::current_path(pattern + "/..", ec);
        std::filesystem::remove_all(pattern, ec);
    }
    return rc;
}
