#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/control/text.h"
#include "project/maker/file.h"

namespace {

std::vector<std::string> Split(std::string_view text, bool data) {
    std::string_view tokens[40];
    const int n = Tokenize(text, tokens, 40, data);
    return std::vector<std::string>(tokens, tokens + n);
}

struct TokenCase {
    const char* text;
    bool data;
    std::vector<std::string> expected;
};

// The rule: while at least two characters remain, drop leading separators, take up to the next one.
TEST(Tokenizer, SplitsOnEverySeparatorAndLeavesATrailingSingleKeyword) {
    const TokenCase cases[] = {
        {"tamb,simulate", false, {"tamb", "simulate"}},
        {"TAmb;HGlo:relhum twet", false, {"TAmb", "HGlo", "relhum", "twet"}},
        {",,;tamb::  relhum,", false, {"tamb", "relhum"}},
        {"tamb,x", false, {"tamb"}},            // a trailing single character is not a keyword
        {"tamb, x", false, {"tamb"}},           // the blank goes, then x stands alone: no keyword
        {"tamb, xy", false, {"tamb", "xy"}},
        {"-10, 1", true, {"-10", "1"}},
        {"x", false, {}},
        {"", false, {}},
        {" ,;: ", false, {}},
        {"-10,1", true, {"-10", "1"}},          // a data line keeps its last one-digit value
        {"1", true, {"1"}},
        {"5\t6", true, {"5", "6"}},
    };
    for (const TokenCase& c : cases) EXPECT_EQ(Split(c.text, c.data), c.expected) << c.text;
}

TEST(Tokenizer, StopsAtTheMaximumCount) {
    std::string_view tokens[2];
    EXPECT_EQ(Tokenize("a1,b2,c3", tokens, 2, true), 2);
    EXPECT_EQ(tokens[1], "b2");
}

struct NumberCase {
    const char* text;
    double expected;
    bool outOfRange;
};

TEST(LeadingNumber, ReadsTheLeadingDecimalPartOrZero) {
    const NumberCase cases[] = {
        {"0.91", 0.91, false},  {"  12abc", 12.0, false}, {"abc", 0.0, false},
        {"-1e3", -1000.0, false}, {"1e", 1.0, false},     {".5", 0.5, false},
        {"5.", 5.0, false},     {"+3", 3.0, false},       {"nan", 0.0, false},
        {"inf", 0.0, false},    {"0x10", 0.0, false},     {"1e999", 0.0, true},
        {"-", 0.0, false},      {"1e-999", 0.0, false},
    };
    for (const NumberCase& c : cases) {
        bool out = false;
        EXPECT_EQ(LeadingNumber(c.text, &out), c.expected) << c.text;
        EXPECT_EQ(out, c.outOfRange) << c.text;
    }
}

std::vector<std::string> Lines(const std::string& bytes, std::size_t maxChars) {
    CFile f;
    EXPECT_EQ(FILE_OpenMemory(f, bytes.data(), bytes.size(), "mem"), 0);
    CLineReader reader(f);
    std::vector<std::string> lines;
    std::string line;
    while (reader.Read(line, maxChars) == 0) lines.push_back(line);
    return lines;
}

TEST(LineReader, ReadsLfAndCrlfAndCutsOverlongLines) {
    EXPECT_EQ(Lines("a\nbb\r\n\r\nccc", 10), (std::vector<std::string>{"a", "bb", "", "ccc"}));
    // Cut at the maximum, the rest of the line discarded (its "\r" too), the next line intact.
    EXPECT_EQ(Lines("abcdefgh\r\nxy\n", 4), (std::vector<std::string>{"abcd", "xy"}));
    EXPECT_EQ(Lines("abc\r\n", 3), (std::vector<std::string>{"abc"}));
    EXPECT_EQ(Lines("a\rb\n", 10), (std::vector<std::string>{"a\rb"}));  // a lone CR is text
    EXPECT_EQ(Lines("", 10), (std::vector<std::string>{}));
    // A UTF-8 byte-order mark opens the file only: skipped there, text anywhere else.
    EXPECT_EQ(Lines("\xEF\xBB\xBFtamb\n\xEF\xBB\xBF\n", 10),
              (std::vector<std::string>{"tamb", "\xEF\xBB\xBF"}));
    EXPECT_EQ(Lines("\xEF\xBB", 10), (std::vector<std::string>{"\xEF\xBB"}));
    EXPECT_EQ(Lines(std::string(10000, 'z') + "\nq", 230).size(), 2u);
}

}  // namespace
