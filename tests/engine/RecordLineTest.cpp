#include "records/RecordLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace ulvan {
namespace {

using Fields = std::vector<std::u16string>;

struct JoinCase {
    const char* name;
    Fields fields;
    std::u16string line;
};

class JoinCommaTextTest : public testing::TestWithParam<JoinCase> {};

TEST_P(JoinCommaTextTest, QuotesOnlyWhereNeeded) {
    EXPECT_EQ(JoinCommaText(GetParam().fields), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JoinCommaTextTest,
    testing::Values(
        JoinCase{"Plain", {u"a", u"b"}, u"a,b"},
        JoinCase{"OneDigitEraYear", {u"2019", u"令和", u" 1"}, u"2019,令和,\" 1\""},
        JoinCase{"Blank", {u"a b"}, u"\"a b\""}, JoinCase{"Tab", {u"a\tb"}, u"\"a\tb\""},
        JoinCase{"ControlOne", {std::u16string(u"a\x01")}, u"\"a\x01\""},
        JoinCase{"Nul", {std::u16string(u"a\0b", 3)}, std::u16string(u"\"a\0b\"", 5)},
        JoinCase{"Quote", {u"say \"hi\""}, u"\"say \"\"hi\"\"\""},
        JoinCase{"LoneQuote", {u"\""}, u"\"\"\"\""},
        JoinCase{"Comma", {u"a,b", u"c"}, u"\"a,b\",c"},
        JoinCase{"FullWidthNeverQuoted", {u"釋\u3000浄心", u"，＂"}, u"釋\u3000浄心,，＂"},
        JoinCase{"Latin1NotQuoted", {u"\u00A0\u00FF"}, u"\u00A0\u00FF"},
        JoinCase{"EmptyFields", {u"", u"a", u"", u""}, u",a,,"}, JoinCase{"NoFields", {}, u""},
        JoinCase{"OneEmpty", {u""}, u""}, JoinCase{"Slash", {u"/"}, u"/"}),
    [](const auto& row) { return std::string(row.param.name); });

// A CSV line for a spreadsheet: nothing there runs as a formula, and every field still reads
// back (the apostrophe is what a spreadsheet hides).
class SpreadsheetCsvLineTest : public testing::TestWithParam<JoinCase> {};

TEST_P(SpreadsheetCsvLineTest, NeutralisesFormulas) {
    const std::u16string line = SpreadsheetCsvLine(GetParam().fields);
    EXPECT_EQ(line, GetParam().line);
    EXPECT_EQ(line.find_first_of(u"\r\n"), std::u16string::npos);
    for (const std::u16string& field : SplitCommaText(line))
        EXPECT_TRUE(field.empty() ||
                    std::u16string_view(u"=+-@\t\r").find(field[0]) == std::u16string_view::npos)
            << "a field a spreadsheet would run";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpreadsheetCsvLineTest,
    testing::Values(
        JoinCase{"Plain", {u"七回忌", u"2019", u" 1"}, u"七回忌,2019,\" 1\""},
        JoinCase{"Hyperlink",
                 {u"=HYPERLINK(\"http://x\",\"a\")"},
                 u"\"'=HYPERLINK(\"\"http://x\"\",\"\"a\"\")\""},
        JoinCase{"Plus", {u"+81 3"}, u"\"'+81 3\""}, JoinCase{"Minus", {u"-2+3"}, u"\"'-2+3\""},
        JoinCase{"At", {u"@SUM(A1)"}, u"\"'@SUM(A1)\""}, JoinCase{"Tab", {u"\t=1"}, u"\"'\t=1\""},
        JoinCase{"Cr", {u"\r=1"}, u"\"' =1\""},
        JoinCase{"LineBreakInside", {u"a\r\nb"}, u"\"a  b\""},
        JoinCase{"FormulaSignInside", {u"a=b", u"1-2"}, u"a=b,1-2"},
        JoinCase{"FullWidthSignNotAFormula", {u"＝1"}, u"＝1"}, JoinCase{"Empty", {u""}, u""}),
    [](const auto& row) { return std::string(row.param.name); });

struct SplitCase {
    const char* name;
    std::u16string line;
    Fields fields;
};

class SplitCommaTextTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommaTextTest, ReadsFields) {
    EXPECT_EQ(SplitCommaText(GetParam().line), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommaTextTest,
    testing::Values(SplitCase{"Plain", u"a,b,c", {u"a", u"b", u"c"}}, SplitCase{"Empty", u"", {}},
                    SplitCase{"OnlyBlanks", u"  \t ", {}}, SplitCase{"LoneComma", u",", {u"", u""}},
                    SplitCase{"TwoCommas", u"a,,b", {u"a", u"", u"b"}},
                    SplitCase{"TrailingComma", u"a,", {u"a", u""}},
                    SplitCase{"TrailingCommaThenBlank", u"a, ", {u"a"}},
                    SplitCase{"LeadingComma", u",a", {u"", u"a"}},
                    SplitCase{"UnquotedBlankSplits", u"a b,c", {u"a", u"b", u"c"}},
                    SplitCase{"BlanksAroundFieldsSkipped", u"  a ,  b  ", {u"a", u"b"}},
                    SplitCase{"QuotedBlank", u"\" 1\",x", {u" 1", u"x"}},
                    SplitCase{"QuotedCommaAndQuote", u"\"a,\"\"b\"\"\",c", {u"a,\"b\"", u"c"}},
                    SplitCase{"QuotedEmpty", u"\"\",a", {u"", u"a"}},
                    SplitCase{"UnclosedQuote", u"\"abc,d", {u"abc,d"}},
                    SplitCase{"TextAfterClosingQuote", u"\"ab\"cd,e", {u"ab", u"cd", u"e"}},
                    SplitCase{"ControlSplits",
                              u"a\x01"
                              u"b",
                              {u"a", u"b"}},
                    SplitCase{"NulSplits", std::u16string(u"a\0b", 3), {u"a", u"b"}},
                    SplitCase{"LoneNul", std::u16string(1, u'\0'), {}},
                    SplitCase{"IdeographicSpaceIsText", u"釋\u3000浄心,x", {u"釋\u3000浄心", u"x"}},
                    SplitCase{"QuoteInsideUnquoted", u"a\"b,c", {u"a\"b", u"c"}}),
    [](const auto& row) { return std::string(row.param.name); });

class CommaRoundTripTest : public testing::TestWithParam<Fields> {};

TEST_P(CommaRoundTripTest, SplitGivesBackJoinedFields) {
    const std::u16string line = JoinCommaText(GetParam());
    EXPECT_EQ(SplitCommaText(line), GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Lists, CommaRoundTripTest,
    testing::Values(Fields{u"a"}, Fields{u" 1"}, Fields{u"", u""}, Fields{u"a", u"", u""},
                    Fields{u"", u"", u"", u"x"}, Fields{u" lead", u"trail ", u"\"q\""},
                    Fields{u",", u",,", u"\"\""}, Fields{u"\t\r\n"},
                    Fields{std::u16string(u"\0", 1), std::u16string(u"x\0", 2)},
                    Fields{u"釋浄心/しゃくじょうしん", u"山田 太郎", u"2019", u"令和", u" 1", u"5",
                           u"1", u"88"}));

// A record in the order of the line's fields.
DeceasedRecord Rec(std::u16string kaimyo, std::u16string yomi, std::u16string zokumyo,
                   std::u16string kiNen, std::u16string kiNengo, std::u16string kiWanen,
                   std::u16string kiGatsu, std::u16string kiNichi, std::u16string gyoNen) {
    DeceasedRecord record;
    record.Kaimyo = std::move(kaimyo);
    record.Yomi = std::move(yomi);
    record.Zokumyo = std::move(zokumyo);
    record.KiNen = std::move(kiNen);
    record.KiNengo = std::move(kiNengo);
    record.KiWanen = std::move(kiWanen);
    record.KiGatsu = std::move(kiGatsu);
    record.KiNichi = std::move(kiNichi);
    record.GyoNen = std::move(gyoNen);
    return record;
}

struct RecordCase {
    const char* name;
    DeceasedRecord record;
    std::u16string line;
};

class RecordLineTest : public testing::TestWithParam<RecordCase> {};

TEST_P(RecordLineTest, WritesTheLine) {
    EXPECT_EQ(WriteRecordLine(GetParam().record), GetParam().line);
}

TEST_P(RecordLineTest, ReadsItBackUnchanged) {
    const DeceasedRecord read = ReadRecordLine(GetParam().line);
    const DeceasedRecord& r = GetParam().record;
    EXPECT_EQ(read.Kaimyo, r.Kaimyo);
    EXPECT_EQ(read.Yomi, r.Yomi);
    EXPECT_EQ(read.Zokumyo, r.Zokumyo);
    EXPECT_EQ(read.KiNen, r.KiNen);
    EXPECT_EQ(read.KiNengo, r.KiNengo);
    EXPECT_EQ(read.KiWanen, r.KiWanen);
    EXPECT_EQ(read.KiGatsu, r.KiGatsu);
    EXPECT_EQ(read.KiNichi, r.KiNichi);
    EXPECT_EQ(read.GyoNen, r.GyoNen);
}

INSTANTIATE_TEST_SUITE_P(
    Records, RecordLineTest,
    testing::Values(
        RecordCase{"Typical",
                   Rec(u"釋浄心", u"しゃくじょうしん", u"山田太郎", u"2019", u"令和", u" 1", u"5",
                       u"1", u"88"),
                   u"釋浄心/しゃくじょうしん,山田太郎,2019,令和,\" 1\",5,1,88"},
        RecordCase{"EmptyReading",
                   Rec(u"釋浄心", u"", u"山田太郎", u"2018", u"平成", u"30", u"3", u"9", u"77"),
                   u"釋浄心/,山田太郎,2018,平成,30,3,9,77"},
        RecordCase{"AllEmpty", {}, u"/,,,,,,,"},
        RecordCase{"CommaInSecularName",
                   Rec(u"a", u"b", u"山田,太郎", u"", u"", u"", u"", u"", u""),
                   u"a/b,\"山田,太郎\",,,,,,"},
        RecordCase{"BlankInName",
                   Rec(u"釋 浄心", u"", u"", u"1989", u"昭和", u"64", u"1", u"7", u""),
                   u"\"釋 浄心/\",,1989,昭和,64,1,7,"},
        RecordCase{"SlashInReading", Rec(u"名", u"よみ/さらに", u"", u"", u"", u"", u"", u"", u""),
                   u"名/よみ/さらに,,,,,,,"}),
    [](const auto& row) { return std::string(row.param.name); });

struct ReadCase {
    const char* name;
    std::u16string line;
    std::u16string kaimyo, yomi, zokumyo, gyonen;
};

class ReadRecordLineTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadRecordLineTest, SplitsFirstFieldAndPadsMissingFields) {
    const DeceasedRecord read = ReadRecordLine(GetParam().line);
    EXPECT_EQ(read.Kaimyo, GetParam().kaimyo);
    EXPECT_EQ(read.Yomi, GetParam().yomi);
    EXPECT_EQ(read.Zokumyo, GetParam().zokumyo);
    EXPECT_EQ(read.GyoNen, GetParam().gyonen);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadRecordLineTest,
    testing::Values(ReadCase{"NoSlash", u"釋浄心,俗名", u"釋浄心", u"", u"俗名", u""},
                    ReadCase{"SecondSlashStaysInReading", u"名/よみ/x", u"名", u"よみ/x", u"", u""},
                    ReadCase{"EmptyLine", u"", u"", u"", u"", u""},
                    ReadCase{"ExtraFieldsIgnored", u"a/b,c,1,2,3,4,5,6,7,8", u"a", u"b", u"c",
                             u"6"},
                    ReadCase{"UnquotedBlankShiftsLaterFields", u"a/b,山田 太郎,1,2,3,4,5,6", u"a",
                             u"b", u"山田", u"5"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace ulvan
