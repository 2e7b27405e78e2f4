#include "records/RecordFile.h"
#include "records/RecordLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ulvan {
namespace {

using Lines = std::vector<std::u16string>;

// --- splitting the bytes into lines ---------------------------------------------------------

struct SplitCase {
    const char* name;
    std::string bytes;
    Lines lines;
};

class RecordLinesTest : public testing::TestWithParam<SplitCase> {};

TEST_P(RecordLinesTest, SplitsAsTheFileIsRead) {
    EXPECT_EQ(ReadRecordText(GetParam().bytes).Lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordLinesTest,
    testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"CrLf", "a\r\nb\r\n", {u"a", u"b"}},
                    SplitCase{"LoneLf", "a\nb\n", {u"a", u"b"}},
                    SplitCase{"LoneCrDropped", "a\rb\r\nc", {u"ab", u"c"}},
                    SplitCase{"LastLineWithoutEnd", "a\r\nb", {u"a", u"b"}},
                    SplitCase{"TrailingCrIsAnEmptyLine", "a\r\n\r", {u"a", u""}},
                    SplitCase{"EmptyLinesKept", "a\r\n\r\nb\r\n", {u"a", u"", u"b"}},
                    SplitCase{"CtrlZEnds",
                              "a\r\nb\x1A"
                              "c\r\n",
                              {u"a", u"b"}},
                    SplitCase{"CtrlZFirst",
                              "\x1A"
                              "a\r\n",
                              {}},
                    SplitCase{"OnlyLineEnds", "\r\n\n", {u"", u""}},
                    SplitCase{"Utf8BomNotInFirstLine",
                              "\xEF\xBB\xBF"
                              "a,b\r\n",
                              {u"a,b"}}),
    [](const auto& row) { return std::string(row.param.name); });

// --- which encoding a file is read and appended in ----------------------------------------

struct EncodingCase {
    const char* name;
    std::string bytes;
    RecordEncoding encoding;
};

class RecordEncodingTest : public testing::TestWithParam<EncodingCase> {};

TEST_P(RecordEncodingTest, Detects) {
    EXPECT_EQ(DetectRecordEncoding(GetParam().bytes), GetParam().encoding);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordEncodingTest,
    testing::Values(EncodingCase{"Empty", "", RecordEncoding::Cp932},
                    EncodingCase{"Ascii", "a,b\r\n", RecordEncoding::Cp932},
                    EncodingCase{"Bom",
                                 "\xEF\xBB\xBF"
                                 "a",
                                 RecordEncoding::Utf8Bom},
                    EncodingCase{"BomOnly", "\xEF\xBB\xBF", RecordEncoding::Utf8Bom},
                    EncodingCase{"ValidUtf8", "\xE9\x87\x8B\r\n", RecordEncoding::Utf8}, // 釋
                    EncodingCase{"ShiftJis", "\xE1\x60\r\n", RecordEncoding::Cp932}, // 釋 in cp932
                    EncodingCase{"HalfWidthKana", "\xB1\xB2\r\n", RecordEncoding::Cp932},
                    EncodingCase{"Overlong", "\xC0\xAF", RecordEncoding::Cp932},
                    EncodingCase{"Surrogate", "\xED\xA0\x80", RecordEncoding::Cp932},
                    EncodingCase{"Truncated", "a\xE9\x87", RecordEncoding::Cp932},
                    EncodingCase{"Utf8BeforeCtrlZ", "\xE9\x87\x8B\x1A\xE1\x60",
                                 RecordEncoding::Utf8}),
    [](const auto& row) { return std::string(row.param.name); });

// Files whose encoding cannot take one more line in either encoding, and files whose bytes
// read in both (half-width kana are valid UTF-8 too).
struct ConflictCase {
    const char* name;
    std::string bytes;
    RecordEncoding encoding;
    RecordEncodingCheck::Conflict problem;
    std::size_t line; // Mixed: the first line of the other encoding
};

class RecordEncodingConflictTest : public testing::TestWithParam<ConflictCase> {};

TEST_P(RecordEncodingConflictTest, Checks) {
    const RecordEncodingCheck check = CheckRecordEncoding(GetParam().bytes);
    EXPECT_EQ(check.Problem, GetParam().problem);
    if (check.Problem != RecordEncodingCheck::Conflict::ForeignMark) {
        EXPECT_EQ(check.Encoding, GetParam().encoding);
    }
    EXPECT_EQ(check.Line, GetParam().line);
    EXPECT_EQ(PlanRecordAppend(GetParam().bytes).Check.Problem, GetParam().problem);
}

using C = RecordEncodingCheck::Conflict;
INSTANTIATE_TEST_SUITE_P(
    Cases, RecordEncodingConflictTest,
    testing::Values(
        ConflictCase{"Utf16LeMark",
                     std::string("\xFF\xFE"
                                 "a\0",
                                 4),
                     {},
                     C::ForeignMark,
                     0},
        ConflictCase{"Utf16BeMark",
                     std::string("\xFE\xFF\0"
                                 "a",
                                 4),
                     {},
                     C::ForeignMark,
                     0},
        ConflictCase{"Utf32LeMark",
                     std::string("\xFF\xFE\0\0"
                                 "a\0\0\0",
                                 8),
                     {},
                     C::ForeignMark,
                     0},
        // 釋 in UTF-8, then 釋 in code page 932
        ConflictCase{"Utf8ThenCp932", "a\r\n\xE9\x87\x8B\r\n\xE1\x60\r\n", RecordEncoding::Utf8,
                     C::Mixed, 3},
        ConflictCase{"Cp932ThenUtf8", "\xE1\x60\r\nb\r\n\xE9\x87\x8B\r\n", RecordEncoding::Cp932,
                     C::Mixed, 3},
        ConflictCase{"Utf8MarkThenCp932",
                     "\xEF\xBB\xBF"
                     "a\r\n\xE1\x60\r\n",
                     RecordEncoding::Utf8Bom, C::Mixed, 2},
        // ﾆｼ (C6 BC) is also the valid UTF-8 "Ƽ": with nothing else it is code page 932.
        ConflictCase{"HalfWidthKanaOnly", "\xC6\xBC,1\r\n", RecordEncoding::Cp932, C::None, 0},
        ConflictCase{"HalfWidthKanaThenKanji", "\xC6\xBC\r\n\xE1\x60\r\n", RecordEncoding::Cp932,
                     C::None, 0},
        ConflictCase{"HalfWidthKanaThenUtf8", "\xC6\xBC\r\n\xE9\x87\x8B\r\n", RecordEncoding::Utf8,
                     C::None, 0},
        // One damaged character in UTF-8 blocks nothing.
        ConflictCase{"Utf8WithOneBadByte",
                     "\xE9\x87\x8B\xE6\xB5\x84\r\n\xE9\x87\xE6\xB5\x84\xE5\xBF\xB5\r\n",
                     RecordEncoding::Utf8, C::None, 0},
        ConflictCase{"Cp932WithOneBadByte", "\xE1\x60\r\n\x81\x20\r\n", RecordEncoding::Cp932,
                     C::None, 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(RecordFileText, Utf8ReadsAsText) {
    const RecordFileText text = ReadRecordText("\xE9\x87\x8B,\xF0\xA0\xAE\xB7\r\n");
    EXPECT_EQ(text.Encoding, RecordEncoding::Utf8);
    EXPECT_EQ(text.Lines, Lines{u"釋,𠮷"});
    EXPECT_FALSE(text.HasUnreadable);
}

TEST(RecordFileText, InvalidUtf8AfterBomShowsReplacementAndSaysSo) {
    const RecordFileText text = ReadRecordText("\xEF\xBB\xBF"
                                               "a\xFF"
                                               "b\r\n");
    EXPECT_EQ(text.Lines, Lines{u"a\uFFFDb"});
    EXPECT_TRUE(text.HasUnreadable);
}

TEST(RecordFileText, PlainFileHasNothingUnreadable) {
    EXPECT_FALSE(ReadRecordText("a,b\r\n").HasUnreadable);
}

TEST(RecordFileText, BinaryBytesNeitherCrashNorLoop) {
    std::string bytes;
    for (int i = 0; i < 4096; ++i)
        bytes.push_back(static_cast<char>((i * 37 + 11) % 256));
    const RecordFileText text = ReadRecordText(bytes);
    EXPECT_LE(text.Lines.size(), bytes.size());
}

TEST(RecordFileText, LongLineReadWhole) {
    const std::string line(4 * 1024 * 1024, 'x');
    const RecordFileText text = ReadRecordText(line + "\r\n");
    ASSERT_EQ(text.Lines.size(), 1u);
    EXPECT_EQ(text.Lines[0].size(), line.size());
}

// --- encoding the appended line ---------------------------------------------------------

TEST(RecordEncode, Utf8WritesEveryCharacter) {
    const EncodedText out = EncodeRecordText(u"釋𠮷,a", RecordEncoding::Utf8);
    EXPECT_EQ(out.Bytes, "\xE9\x87\x8B\xF0\xA0\xAE\xB7,a");
    EXPECT_TRUE(out.Lost.empty());
}

TEST(RecordEncode, Utf8WithBomFileGetsNoSecondMark) {
    EXPECT_EQ(EncodeRecordText(u"a", RecordEncoding::Utf8Bom).Bytes, "a");
}

TEST(RecordEncode, UnpairedSurrogateIsLostInUtf8) {
    const EncodedText out = EncodeRecordText(u"a\xD800"
                                             "b\xD800",
                                             RecordEncoding::Utf8);
    EXPECT_EQ(out.Bytes, "a?b?");
    EXPECT_EQ(out.Lost, std::vector<char32_t>{0xD800});
}

// --- planning an append -----------------------------------------------------------------

struct PlanCase {
    const char* name;
    std::string existing;
    std::uint64_t cutAt;
    std::string lineEnd;
    RecordEncoding encoding;
};

class AppendPlanTest : public testing::TestWithParam<PlanCase> {};

TEST_P(AppendPlanTest, Plans) {
    const AppendPlan plan = PlanRecordAppend(GetParam().existing);
    EXPECT_EQ(plan.CutAt, GetParam().cutAt);
    EXPECT_EQ(plan.LineEnd, GetParam().lineEnd);
    EXPECT_EQ(plan.Encoding, GetParam().encoding);
}

const std::string kFiller(200, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, AppendPlanTest,
    testing::Values(PlanCase{"NewFile", "", 0, "", RecordEncoding::Cp932},
                    PlanCase{"EndsWithLineEnd", "a\r\n", 3, "", RecordEncoding::Cp932},
                    PlanCase{"EndsWithLf", "a\n", 2, "", RecordEncoding::Cp932},
                    PlanCase{"LastLineWithoutEnd", "a\r\nb", 4, "\r\n", RecordEncoding::Cp932},
                    PlanCase{"LoneCrCompleted", "a\r", 2, "\n", RecordEncoding::Cp932},
                    PlanCase{"CtrlZReplaced", "a\r\n\x1A", 3, "", RecordEncoding::Cp932},
                    PlanCase{"FirstCtrlZOfTheTail",
                             "a\r\n\x1A\x1A"
                             "b",
                             3, "", RecordEncoding::Cp932},
                    PlanCase{"CtrlZAfterUnendedLine", "a\x1A", 1, "\r\n", RecordEncoding::Cp932},
                    PlanCase{"CtrlZOnly", "\x1A", 0, "", RecordEncoding::Cp932},
                    // A Ctrl-Z farther from the end than the window is left where it is.
                    PlanCase{"CtrlZBeforeTheWindow", "\x1A" + kFiller + "\r\n", 203, "",
                             RecordEncoding::Cp932},
                    PlanCase{"CtrlZAtWindowStart", kFiller + "\r\n\x1A" + std::string(127, 'y'),
                             202, "", RecordEncoding::Cp932},
                    PlanCase{"Utf8File", "\xE9\x87\x8B\r\n", 5, "", RecordEncoding::Utf8},
                    PlanCase{"Utf8BomOnly", "\xEF\xBB\xBF", 3, "", RecordEncoding::Utf8Bom},
                    PlanCase{"Utf8BomUnended",
                             "\xEF\xBB\xBF"
                             "a",
                             4, "\r\n", RecordEncoding::Utf8Bom}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(AppendPlan, BytesAreLineEndRecordCrLf) {
    AppendPlan plan;
    plan.LineEnd = "\r\n";
    EXPECT_EQ(AppendedBytes(plan, "a,b"), "\r\na,b\r\n");
    plan.LineEnd = {};
    EXPECT_EQ(AppendedBytes(plan, "/"), "/\r\n");
}

// One record as a Windows program of this kind writes it into a new file, byte by byte in
// code page 932 (髙 is the IBM extension pair FB FC that Windows writes), and read back.
TEST(RecordFileBytes, WindowsLineByteForByte) {
    const DeceasedRecord record{.Kaimyo = u"釋浄心",
                                .Yomi = u"しゃくじょうしん",
                                .Zokumyo = u"髙橋 太郎",
                                .GyoNen = u"88",
                                .KiNen = u"2019",
                                .KiNengo = u"令和",
                                .KiWanen = u" 1",
                                .KiGatsu = u"5",
                                .KiNichi = u"3"};
    const std::string windows =
        "\xE7\xD7\x8F\xF2\x90\x53/"                                         // 釋浄心/
        "\x82\xB5\x82\xE1\x82\xAD\x82\xB6\x82\xE5\x82\xA4\x82\xB5\x82\xF1," // しゃくじょうしん,
        "\"\xFB\xFC\x8B\xB4 \x91\xBE\x98\x59\","                            // "髙橋 太郎",
        "2019,\x97\xDF\x98\x61,\" 1\",5,3,88\r\n"; // 2019,令和," 1",5,3,88

    const EncodedText encoded = EncodeRecordText(WriteRecordLine(record), RecordEncoding::Cp932);
    EXPECT_TRUE(encoded.Lost.empty());
    EXPECT_EQ(AppendedBytes(PlanRecordAppend(""), encoded.Bytes), windows);

    const RecordFileText read = ReadRecordText(windows);
    EXPECT_EQ(read.Encoding, RecordEncoding::Cp932);
    EXPECT_FALSE(read.HasUnreadable);
    ASSERT_EQ(read.Lines.size(), 1U);
    EXPECT_EQ(ReadRecordLine(read.Lines[0]), record);
}

} // namespace
} // namespace ulvan
