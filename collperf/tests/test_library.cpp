// The design program imports the two models by name from libcollperf.so in its program folder. This
// suite links nothing of collperf: it loads the staged library as the program does.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "collperf/tests/collperf_calls.h"

using collperf_test::BpCall;
using collperf_test::TpCall;

namespace {

const std::string kLibrary = std::string(HALVO_TEST_STAGE_DIR) + "/libcollperf.so";

class LoadedLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        handle_ = dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
    }
    void TearDown() override
    {
        if (handle_)
            dlclose(handle_);
    }
    template <typename Fn>
    Fn Find(const char* name)
    {
        return reinterpret_cast<Fn>(dlsym(handle_, name));
    }
    void* handle_ = nullptr;
};

TEST_F(LoadedLibrary, BothModelsAreFoundByNameAndRun)
{
    const auto tp = Find<decltype(&TP_Performance)>("TP_Performance");
    const auto bp = Find<decltype(&BP_Performance)>("BP_Performance");
    ASSERT_NE(tp, nullptr);
    ASSERT_NE(bp, nullptr);

    TpCall t;
    ASSERT_EQ(t.RunWith(tp), 1);
    EXPECT_GT(t.QColl, 0.0);
    EXPECT_GT(t.TColl, t.TAmb);
    EXPECT_EQ(t.FlowMalCorr, 1.0);

    BpCall b;
    ASSERT_EQ(b.RunWith(bp), 1);
    EXPECT_GT(b.QColl, 0.0);
    EXPECT_GT(b.PressDrop, 0.0);

    // Arguments arrive in order: a QSol only the transpired model accepts tells them apart.
    t.QSol = b.QSol = 1500.0;
    EXPECT_EQ(t.RunWith(tp), 1);
    EXPECT_EQ(b.RunWith(bp), -22);
}

TEST_F(LoadedLibrary, StatusTextsAreFoundByName)
{
    const auto tpText = Find<decltype(&TP_StatusText)>("TP_StatusText");
    const auto bpText = Find<decltype(&BP_StatusText)>("BP_StatusText");
    ASSERT_NE(tpText, nullptr);
    ASSERT_NE(bpText, nullptr);
    char buf[160];
    ASSERT_TRUE(bpText(-1, buf, sizeof buf));
    EXPECT_EQ(std::string(buf).rfind("Reynold Number is too High", 0), 0u);
    EXPECT_FALSE(tpText(1, buf, sizeof buf));
}

TEST_F(LoadedLibrary, InternalRoutinesAreNotExported)
{
    for (const char* name : {"AtmPressure", "KinViscosity", "_Z11AtmPressured", "_ZN8collperf12TranspiraEffERKNS_8TpInputsEdRNS_9TpThermalE"})
        EXPECT_EQ(dlsym(handle_, name), nullptr) << name;
}

// The dynamic symbol table holds the four entry points and nothing else of ours.
TEST(LibraryExports, OnlyTheFourEntryPoints)
{
    const std::string cmd = "nm -D --defined-only '" + kLibrary + "' 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::set<std::string> names;
    char line[512];
    while (std::fgets(line, sizeof line, p)) {
        std::string s(line);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
            s.pop_back();
        const size_t sp = s.find_last_of(' ');
        names.insert(sp == std::string::npos ? s : s.substr(sp + 1));
    }
    const int rc = pclose(p);
    if (rc != 0 && names.empty())
        GTEST_SKIP() << "nm is not available";
    const std::set<std::string> want{"BP_Performance", "BP_StatusText", "TP_Performance", "TP_StatusText"};
    EXPECT_EQ(names, want);
}

}  // namespace
