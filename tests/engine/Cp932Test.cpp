#include "records/Cp932.h"
#include "tests/support/Cp932Fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ulvan {
namespace {

using test::Cp932Row;
using test::Cp932Way;

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
        out += ' ';
    }
    return out;
}

std::string Pair(unsigned bytes) {
    return {static_cast<char>(bytes >> 8), static_cast<char>(bytes & 0xFF)};
}

std::vector<Cp932Row> RowsThatGo(Cp932Way skipped) {
    std::vector<Cp932Row> rows;
    for (const Cp932Row& row : test::Cp932Rows())
        if (row.Way != skipped)
            rows.push_back(row);
    return rows;
}

std::string RowName(const testing::TestParamInfo<Cp932Row>& row) {
    return row.param.Name;
}

class Cp932WriteTest : public testing::TestWithParam<Cp932Row> {};

TEST_P(Cp932WriteTest, WritesWhatWindowsWrites) {
    std::vector<CodecProblem> problems;
    EXPECT_EQ(Hex(EncodeCp932(GetParam().Text, &problems)), Hex(GetParam().Bytes));
    EXPECT_TRUE(problems.empty());
}

// The pairs Windows never writes are only read.
INSTANTIATE_TEST_SUITE_P(Rows, Cp932WriteTest, testing::ValuesIn(RowsThatGo(Cp932Way::ReadOnly)),
                         RowName);

class Cp932ReadTest : public testing::TestWithParam<Cp932Row> {};

TEST_P(Cp932ReadTest, ReadsWhatWindowsReads) {
    std::vector<CodecProblem> problems;
    EXPECT_EQ(DecodeCp932(GetParam().Bytes, &problems), GetParam().Text);
    EXPECT_TRUE(problems.empty());
}

// A look-alike reads back as its code page form, so it is only written.
INSTANTIATE_TEST_SUITE_P(Rows, Cp932ReadTest, testing::ValuesIn(RowsThatGo(Cp932Way::WriteOnly)),
                         RowName);

TEST(Cp932Test, FixtureFileWrittenByteForByte) {
    const test::Cp932File file = test::Cp932FixtureFile();
    EXPECT_EQ(Hex(EncodeCp932(file.Text, nullptr)), Hex(file.Bytes));
}

TEST(Cp932Test, EveryAsciiByteUnchanged) {
    std::string bytes;
    std::u16string text;
    for (int b = 0; b < 0x80; ++b) {
        bytes += static_cast<char>(b);
        text += static_cast<char16_t>(b);
    }
    EXPECT_EQ(DecodeCp932(bytes, nullptr), text);
    EXPECT_EQ(EncodeCp932(text, nullptr), bytes);
}

// The characters where the converter Qt reaches on Linux differs from Windows.
TEST(Cp932Test, ControlBytesAndJisFormsAsWindows) {
    EXPECT_EQ(DecodeCp932("\x1A\x1C\x7F", nullptr), u"\u001A\u001C\u007F");
    EXPECT_EQ(EncodeCp932(u"\u001A\u001C\u007F", nullptr), "\x1A\x1C\x7F");
    EXPECT_EQ(EncodeCp932(u"\u301C", nullptr), "\x81\x60");
    EXPECT_EQ(EncodeCp932(u"\u2212", nullptr), "\x81\x7C");
    EXPECT_EQ(DecodeCp932(EncodeCp932(u"\u301C\u2212", nullptr), nullptr), u"\uFF5E\uFF0D");
}

bool IsNecSelected(unsigned bytes) {
    return bytes >= 0xED40 && bytes <= 0xEEFC;
}

// Every pair that reads as one character is written back as the lowest pair outside the
// NEC-selected block that reads as the same character.
TEST(Cp932Test, EveryPairWrittenBackAsWindowsWritesIt) {
    std::vector<unsigned> lowest(0x10000, 0);
    std::vector<std::pair<unsigned, char16_t>> pairs;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead < 0xE0)
            continue; // single bytes
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const unsigned bytes = lead << 8 | trail;
            std::vector<CodecProblem> problems;
            const std::u16string text = DecodeCp932(Pair(bytes), &problems);
            if (!problems.empty())
                continue;
            ASSERT_EQ(text.size(), 1U) << std::hex << bytes;
            pairs.emplace_back(bytes, text[0]);
            if (!IsNecSelected(bytes) && lowest[text[0]] == 0)
                lowest[text[0]] = bytes;
        }
    }
    EXPECT_EQ(pairs.size(), 9604U); // Windows' table, the 1880 user-defined pairs included
    for (const auto& [bytes, unit] : pairs) {
        std::vector<CodecProblem> problems;
        const std::string written = EncodeCp932(std::u16string(1, unit), &problems);
        ASSERT_TRUE(problems.empty()) << std::hex << bytes;
        ASSERT_EQ(written.size(), 2U) << std::hex << bytes;
        EXPECT_EQ(Hex(written), Hex(Pair(lowest[unit]))) << std::hex << bytes;
        EXPECT_EQ(DecodeCp932(written, nullptr), std::u16string(1, unit));
    }
}

TEST(Cp932Test, DuplicatePairsTurnIntoTheOneWindowsWrites) {
    struct Row {
        unsigned read;
        unsigned written;
    };
    for (const Row row : {Row{0xED40, 0xFA5C}, Row{0xFA4A, 0x8754}, Row{0x8790, 0x81E0},
                          Row{0xEEF9, 0x81CA}, Row{0xFA54, 0x81CA}, Row{0xEEEF, 0xFA40}}) {
        const std::string out = EncodeCp932(DecodeCp932(Pair(row.read), nullptr), nullptr);
        EXPECT_EQ(Hex(out), Hex(Pair(row.written))) << std::hex << row.read;
    }
}

bool IsLookAlike(char16_t unit) {
    for (const char16_t alike :
         {u'\u301C', u'\u2016', u'\u2212', u'\u00A2', u'\u00A3', u'\u00AC', u'\u2014'})
        if (unit == alike)
            return true;
    return false;
}

// Every character with a byte form reads back as itself; the look-alikes as their code page
// 932 forms; every other character is written as "?" and named.
TEST(Cp932Test, EveryCharacterWrittenAndReadBack) {
    std::size_t writable = 0;
    for (unsigned u = 0; u < 0x10000; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue;
        const std::u16string text(1, static_cast<char16_t>(u));
        std::vector<CodecProblem> problems;
        const std::string bytes = EncodeCp932(text, &problems);
        if (!problems.empty()) {
            EXPECT_EQ(bytes, "?");
            EXPECT_EQ(problems, (std::vector<CodecProblem>{{0, 1, u}})) << std::hex << u;
            continue;
        }
        ++writable;
        std::vector<CodecProblem> readProblems;
        const std::u16string back = DecodeCp932(bytes, &readProblems);
        EXPECT_TRUE(readProblems.empty()) << std::hex << u;
        if (IsLookAlike(text[0]))
            EXPECT_NE(back, text) << std::hex << u;
        else
            EXPECT_EQ(back, text) << std::hex << u;
    }
    EXPECT_EQ(writable, 9409U); // every character of the table, and the seven look-alikes
}

struct EncodeProblemCase {
    const char* name;
    std::u16string text;
    std::string bytes;
    std::vector<CodecProblem> problems;
};

class Cp932EncodeProblemTest : public testing::TestWithParam<EncodeProblemCase> {};

TEST_P(Cp932EncodeProblemTest, QuestionMarkAndWhere) {
    std::vector<CodecProblem> problems;
    EXPECT_EQ(Hex(EncodeCp932(GetParam().text, &problems)), Hex(GetParam().bytes));
    EXPECT_EQ(problems, GetParam().problems);
    EXPECT_EQ(EncodeCp932(GetParam().text, nullptr), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cp932EncodeProblemTest,
    testing::Values(
        EncodeProblemCase{"Accent", u"caf\u00E9", "caf?", {{3, 1, 0xE9}}},
        EncodeProblemCase{"Euro", u"\u20AC1", "?1", {{0, 1, 0x20AC}}},
        EncodeProblemCase{"YenSign", u"\u00A5", "?", {{0, 1, 0xA5}}},
        EncodeProblemCase{"Replacement", u"a\uFFFDb", "a?b", {{1, 1, 0xFFFD}}},
        EncodeProblemCase{"SurrogatePair", u"\xD842\xDFB7田", "?\x93\x63", {{0, 2, 0x20BB7}}},
        EncodeProblemCase{"LoneHigh",
                          u"\xD842"
                          u"a",
                          "?a",
                          {{0, 1, 0xD842}}},
        EncodeProblemCase{"LoneHighAtEnd", u"a\xD842", "a?", {{1, 1, 0xD842}}},
        EncodeProblemCase{"LoneLow", u"\xDFB7\xDFB7", "??", {{0, 1, 0xDFB7}, {1, 1, 0xDFB7}}},
        EncodeProblemCase{
            "Several", u"\u00E9令\u00E8", "?\x97\xDF?", {{0, 1, 0xE9}, {2, 1, 0xE8}}}),
    [](const auto& row) { return std::string(row.param.name); });

struct DecodeProblemCase {
    const char* name;
    std::string bytes;
    std::u16string text;
    std::vector<CodecProblem> problems;
};

class Cp932DecodeProblemTest : public testing::TestWithParam<DecodeProblemCase> {};

TEST_P(Cp932DecodeProblemTest, ReplacementAndWhere) {
    std::vector<CodecProblem> problems;
    EXPECT_EQ(DecodeCp932(GetParam().bytes, &problems), GetParam().text);
    EXPECT_EQ(problems, GetParam().problems);
    EXPECT_EQ(DecodeCp932(GetParam().bytes, nullptr), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cp932DecodeProblemTest,
    testing::Values(
        DecodeProblemCase{"TruncatedAtEnd", "ab\x81", u"ab\uFFFD", {{2, 1, 0x81}}},
        DecodeProblemCase{"LeadThenComma", "\x81,x", u"\uFFFD,x", {{0, 1, 0x81}}},
        DecodeProblemCase{"LeadThenLineBreak", "\x97\r\n", u"\uFFFD\r\n", {{0, 1, 0x97}}},
        DecodeProblemCase{"LeadThenDelete", "\x81\x7F", u"\uFFFD\x7F", {{0, 1, 0x81}}},
        DecodeProblemCase{"LeadThenByteFD", "\x81\xFD", u"\uFFFD\uF8F1", {{0, 1, 0x81}}},
        DecodeProblemCase{"UnmappedAsciiTrail", "\x85\x40", u"\uFFFD@", {{0, 1, 0x85}}},
        DecodeProblemCase{"UnmappedPair", "\x85\x80", u"\uFFFD", {{0, 2, 0x8580}}},
        DecodeProblemCase{"UnmappedInRow", "x\x82\xF2y", u"x\uFFFDy", {{1, 2, 0x82F2}}},
        DecodeProblemCase{"AfterIbmBlock", "\xFC\x4C", u"\uFFFDL", {{0, 1, 0xFC}}},
        DecodeProblemCase{"AfterIbmBlockHigh", "\xFC\xFC", u"\uFFFD", {{0, 2, 0xFCFC}}},
        DecodeProblemCase{"TwoUnmappedLeads", "\x85\x85", u"\uFFFD", {{0, 2, 0x8585}}},
        DecodeProblemCase{
            "Several", "\x85\x80\x97\xDF\x81", u"\uFFFD令\uFFFD", {{0, 2, 0x8580}, {4, 1, 0x81}}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Cp932Test, EmptyBothWays) {
    std::vector<CodecProblem> problems;
    EXPECT_EQ(EncodeCp932(u"", &problems), "");
    EXPECT_EQ(DecodeCp932("", &problems), u"");
    EXPECT_TRUE(problems.empty());
}

} // namespace
} // namespace ulvan
