// Status texts of both models: exact texts, rows each model has, and never writing past the buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "collperf/collperf.h"

namespace {

using Lookup = bool (*)(int, char*, size_t);

struct TextCase {
    Lookup lookup;
    int status;
    const char* text;  // nullptr: no row
};

const TextCase kTexts[] = {
    {TP_StatusText, -1, "Maximium iterations reached in function TP_Performance.  Results are suspect!  Call for Technical Assistance."},
    {TP_StatusText, -2, "Maximium iterations reached in function TranspiraEff.  Results are suspect!  Call for Technical Assistance."},
    {TP_StatusText, -3, "Bad Temperature Value passed.  Results are suspect!  Call for Technical Assistance."},
    {TP_StatusText, -4, "Bad Humidity Ratio passed.  Results are suspect!  Call for Technical Assistance."},
    {TP_StatusText, -10, "Bad Area Correction Factor passed.  Results are suspect!  Call for Technical Assistance."},
    {TP_StatusText, -11, "Flow Rate to Wall Area too Large!!!!!.  Results are suspect!  Call for Technical Assistance."},
    {TP_StatusText, -12, "Bad Slope passed.  Results are suspect!  Call for Technical Assistance."},
    {TP_StatusText, -21, "Bad Clearness Value passed.  Results are suspect!  Call for Technical Assistance."},
    {TP_StatusText, -22, "Bad Solar Radiation passed.  Results are suspect!  Call for Technical Assistance."},
    {TP_StatusText, 1, nullptr},
    {TP_StatusText, 0, nullptr},
    {TP_StatusText, -20, nullptr},
    {BP_StatusText, -1, "Reynold Number is too High in function BackPlateCollEff.  Results are suspect!  Call for Technical Assistance."},
    {BP_StatusText, -2, "Maximium iterations reached in function BackPlateCollEff.  Results are suspect!  Call for Technical Assistance."},
    {BP_StatusText, -3, "Bad Temperature Value passed.  Results are suspect!  Call for Technical Assistance."},
    {BP_StatusText, -4, "Bad Humidity Ratio passed.  Results are suspect!  Call for Technical Assistance."},
    {BP_StatusText, -10, "Bad Area Correction Factor passed.  Results are suspect!  Call for Technical Assistance."},
    {BP_StatusText, -12, "Bad Slope passed.  Results are suspect!  Call for Technical Assistance."},
    {BP_StatusText, -21, "Bad Clearness Value passed.  Results are suspect!  Call for Technical Assistance."},
    {BP_StatusText, -22, "Bad Solar Radiation passed.  Results are suspect!  Call for Technical Assistance."},
    {BP_StatusText, -11, nullptr},  // the back-pass model has no -11 row
    {BP_StatusText, 1, nullptr},
};

TEST(StatusText, ExactTextsAndMissingRows)
{
    for (const TextCase& k : kTexts) {
        char buf[256];
        std::memset(buf, 'x', sizeof buf);
        const bool got = k.lookup(k.status, buf, sizeof buf);
        if (!k.text) {
            EXPECT_FALSE(got) << k.status;
            EXPECT_EQ(buf[0], 'x') << k.status;
            continue;
        }
        ASSERT_TRUE(got) << k.status;
        EXPECT_STREQ(buf, k.text);
    }
}

TEST(StatusText, NeverWritesPastTheBuffer)
{
    for (const TextCase& k : kTexts) {
        if (!k.text)
            continue;
        const size_t need = std::strlen(k.text) + 1;
        EXPECT_LE(need, 128u);  // the header promises callers that 128 bytes always suffice
        // Exactly enough room fits; one byte less is refused with the buffer untouched.
        for (size_t cap : {need, need - 1, size_t{1}, size_t{0}}) {
            char buf[300];
            std::memset(buf, 'x', sizeof buf);
            const bool got = k.lookup(k.status, buf, cap);
            EXPECT_EQ(got, cap >= need) << k.status << " cap " << cap;
            if (got)
                EXPECT_STREQ(buf, k.text);
            else
                EXPECT_EQ(buf[0], 'x');
            for (size_t i = cap; i < sizeof buf; ++i)
                ASSERT_EQ(buf[i], 'x') << k.status << " cap " << cap << " byte " << i;
        }
        EXPECT_FALSE(k.lookup(k.status, nullptr, 512));
    }
}

}  // namespace
