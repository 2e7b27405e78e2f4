// Code page 932 as a Windows program writes it, typed by hand from the published table (not
// produced by the codec under test): each row a text and its bytes. Rows marked `OneWay`
// are only written (the look-alikes) or only read (pairs Windows never writes); the others
// go both ways.
#pragma once

#include <string>
#include <vector>

namespace ulvan::test {

enum class Cp932Way { Both, WriteOnly, ReadOnly };

struct Cp932Row {
    const char* Name;
    std::u16string Text;
    std::string Bytes;
    Cp932Way Way = Cp932Way::Both;
};

inline std::vector<Cp932Row> Cp932Rows() {
    using W = Cp932Way;
    return {
        {"Nul", std::u16string(1, u'\0'), std::string(1, '\0')},
        {"Ascii", u"Az09 ,.\t\r\n", "Az09 ,.\t\r\n"},
        {"Substitute1A", u"\x1A", "\x1A"},
        {"FileSeparator1C", u"\x1C", "\x1C"},
        {"Delete7F", u"\x7F", "\x7F"},
        {"Backslash5C", u"\\", "\x5C"},
        {"Tilde7E", u"~", "\x7E"},
        {"Byte80", u"\u0080", "\x80"},
        {"ByteA0", u"\uF8F0", "\xA0"},
        {"ByteFD", u"\uF8F1", "\xFD"},
        {"ByteFE", u"\uF8F2", "\xFE"},
        {"ByteFF", u"\uF8F3", "\xFF"},
        {"HalfWidthKatakana", u"\uFF61\uFF71\uFF9F", "\xA1\xB1\xDF"},
        {"IdeographicSpace", u"\u3000", "\x81\x40"},
        {"HorizontalBar", u"\u2015", "\x81\x5C"},
        {"FullwidthReverseSolidus", u"\uFF3C", "\x81\x5F"},
        {"FullwidthTilde", u"\uFF5E", "\x81\x60"},
        {"ParallelTo", u"\u2225", "\x81\x61"},
        {"FullwidthHyphenMinus", u"\uFF0D", "\x81\x7C"},
        {"FullwidthMacron", u"\uFFE3", "\x81\x50"},
        {"FullwidthCent", u"\uFFE0", "\x81\x91"},
        {"FullwidthPound", u"\uFFE1", "\x81\x92"},
        {"FullwidthNot", u"\uFFE2", "\x81\xCA"},
        {"ApproximatelyEqual", u"\u2252", "\x81\xE0"},
        {"Because", u"\u2235", "\x81\xE6"},
        {"Reiwa", u"令和", "\x97\xDF\x98\x61"},
        {"Ki", u"忌", "\x8A\xF5"},
        {"NecCircledOne", u"\u2460", "\x87\x40"},
        {"NecRomanOne", u"\u2160", "\x87\x54"},
        {"NecRowApproximatelyEqual", u"\u2252", "\x87\x90", W::ReadOnly},
        {"IbmSmallRomanOne", u"\u2170", "\xFA\x40"},
        {"IbmRomanOne", u"\u2160", "\xFA\x4A", W::ReadOnly},
        {"IbmKo", u"\u7E8A", "\xFA\x5C"},
        {"IbmTaka", u"\u9AD9", "\xFB\xFC"},
        {"IbmSaki", u"\uFA11", "\xFA\xB1"},
        {"IbmLast", u"\u9ED1", "\xFC\x4B"},
        {"NecSelectedKo", u"\u7E8A", "\xED\x40", W::ReadOnly},
        {"NecSelectedTaka", u"\u9AD9", "\xEE\xE0", W::ReadOnly},
        {"NecSelectedSaki", u"\uFA11", "\xED\x95", W::ReadOnly},
        {"NecSelectedSmallRomanOne", u"\u2170", "\xEE\xEF", W::ReadOnly},
        {"NecSelectedNot", u"\uFFE2", "\xEE\xF9", W::ReadOnly},
        {"UserDefinedFirst", u"\uE000", "\xF0\x40"},
        {"UserDefinedBeforeGap", u"\uE03E", "\xF0\x7E"},
        {"UserDefinedAfterGap", u"\uE03F", "\xF0\x80"},
        {"UserDefinedSecondRow", u"\uE0BC", "\xF1\x40"},
        {"UserDefinedLast", u"\uE757", "\xF9\xFC"},
        {"WaveDash", u"\u301C", "\x81\x60", W::WriteOnly},
        {"DoubleVerticalLine", u"\u2016", "\x81\x61", W::WriteOnly},
        {"MinusSign", u"\u2212", "\x81\x7C", W::WriteOnly},
        {"CentSign", u"\u00A2", "\x81\x91", W::WriteOnly},
        {"PoundSign", u"\u00A3", "\x81\x92", W::WriteOnly},
        {"NotSign", u"\u00AC", "\x81\xCA", W::WriteOnly},
        {"EmDash", u"\u2014", "\x81\x5C", W::WriteOnly},
    };
}

// The rows that a Windows program writes, concatenated: the fixture file's text and bytes.
struct Cp932File {
    std::u16string Text;
    std::string Bytes;
};

inline Cp932File Cp932FixtureFile() {
    Cp932File file;
    for (const Cp932Row& row : Cp932Rows()) {
        if (row.Way == Cp932Way::ReadOnly)
            continue;
        file.Text += row.Text;
        file.Bytes += row.Bytes;
    }
    return file;
}

} // namespace ulvan::test
