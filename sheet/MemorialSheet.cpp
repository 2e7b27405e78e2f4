#include "sheet/MemorialSheet.h"

#include "calendar/DateCalc.h"
#include "calendar/TextUtil.h"
#include "sheet/KanjiNumerals.h"

namespace ulvan {

namespace {

using namespace memorial;

constexpr std::u16string_view kDefaultTitle = u"Ulvan表";
constexpr std::u16string_view kTitleFallback = u"ＭＳ ゴシック";
constexpr std::u16string_view kBodyFallback = u"ＭＳ 明朝";
constexpr std::u16string_view kBlankEra = u"　　";
constexpr std::u16string_view kNoEra = u"－－";
constexpr std::u16string_view kDateForm = u"　　　年　　月　　　日寂";
constexpr std::u16string_view kSecularForm = u"俗名　　　　　　　　　　　　行年　　　　歳";

constexpr double kColumnStart = 0.1476;
constexpr std::int32_t kDateRow = 1465;
constexpr std::int32_t kSecularRow = 3064;

// Kanji of a number text; empty when it does not parse or lies outside 0..150.
std::u16string KanjiOf(std::u16string_view text) {
    const auto value = ParseInt(text);
    return value ? KanjiNumber(*value) : std::u16string();
}

AcrossPos RowY(std::int32_t r) {
    return AcrossPos{kRowBase, kRowStep, 1.0, r - 1};
}

void AddPoint(SheetDescription& sheet, std::u16string_view text, double fx, AcrossPos fy) {
    sheet.Elements.emplace_back(SheetText{std::u16string(text), Along(fx), fy});
}

SheetRect Box(double x1, std::int32_t y1, double x2, std::int32_t y2) {
    return SheetRect{Along(x1), Across(y1), Along(x2), Across(y2)};
}

// The vertical face of a family: "@" before its name.
std::u16string VerticalFace(std::u16string_view family) {
    std::u16string face;
    face.reserve(family.size() + 1);
    face.push_back(u'@');
    face.append(family);
    return face;
}

} // namespace

std::u16string SheetTitle(std::u16string_view titName) {
    return std::u16string(titName.empty() ? kDefaultTitle : titName);
}

std::u16string TitleFace(std::u16string_view fntName1) {
    return VerticalFace(fntName1.empty() ? kTitleFallback : fntName1);
}

std::u16string BodyFace(std::u16string_view fntName2) {
    return VerticalFace(fntName2.empty() ? kBodyFallback : fntName2);
}

std::int32_t PrintedRowCount(const SheetOptions& options) {
    return kRows - (options.HatsuGatsuPrint ? 0 : 1) - (options.HyakkaNichiPrint ? 0 : 1);
}

ScheduleCells ScheduleRowTexts(const MemorialSchedule& schedule, const SheetOptions& options) {
    ScheduleCells cells;
    bool anyBare = false;
    for (std::size_t i = 0; i < 9; ++i) {
        cells.Names[i] = schedule[i].Name;
        const auto month = ParseInt(schedule[i].Month);
        cells.Months[i] = (month ? KanjiNumber(*month) : std::u16string()) + u"月";
        anyBare = anyBare || cells.Months[i] == u"月";
        cells.Days[i] = KanjiOf(schedule[i].Day);
    }
    if (!options.HatsuGatsuPrint) {
        // The first monthly row drops out; the later rows move up, the last keeps its own.
        for (std::size_t i = kFirstMonthlyRow; i + 1 < 9; ++i) {
            cells.Names[i] = cells.Names[i + 1];
            cells.Months[i] = cells.Months[i + 1];
            cells.Days[i] = cells.Days[i + 1];
        }
        // The bare-month check looks at the shifted list, which no longer holds row 5.
        anyBare = false;
        for (const auto& m : cells.Months) {
            anyBare = anyBare || m == u"月";
        }
    }
    if (options.DogetsuShoryaku && !anyBare) {
        std::u16string previous = cells.Months[0];
        for (std::size_t i = 1; i < 9; ++i) {
            std::u16string current = cells.Months[i];
            if (current == previous) {
                cells.Months[i].clear();
            }
            previous = std::move(current);
        }
    }
    for (auto& m : cells.Months) {
        const std::size_t n = CharCount(m);
        if (n == 1) {
            m = u"　　" + m;
        } else if (n == 2) {
            m = u"　" + m;
        }
    }
    for (auto& d : cells.Days) {
        const auto chars = SplitCharacters(d);
        if (chars.empty()) {
            d = u"　　　";
        } else if (chars.size() == 1) {
            d = std::u16string(chars[0]) + u"　　";
        } else if (chars.size() == 2) {
            d = std::u16string(chars[0]) + u"　" + std::u16string(chars[1]);
        }
    }
    return cells;
}

std::u16string AgeText(std::u16string_view gyoNen) {
    return PadFront(KanjiOf(gyoNen), 4);
}

std::u16string EraYearText(std::u16string_view kiWanen) {
    std::u16string year = KanjiOf(kiWanen);
    if (year == u"一") {
        year = u"元";
    }
    return PadFront(year, 3);
}

std::u16string WesternYearText(std::u16string_view kiNen) {
    return PadFront(KanjiDigits(kiNen), 5);
}

std::u16string MonthOfDeathText(std::u16string_view kiGatsu) {
    return PadFront(KanjiOf(kiGatsu), 2);
}

std::u16string DayOfDeathText(std::u16string_view kiNichi) {
    return PadFront(KanjiOf(kiNichi), 3);
}

std::u16string DeathDateForm(const DeceasedData& data, const SheetOptions& options, bool blank) {
    std::u16string prefix(kBlankEra);
    if (options.WarekiInsatsu) {
        if (blank) {
            prefix = u"令和";
        } else if (!data.KiNengo.empty() && data.KiNengo != kNoEra) {
            prefix = data.KiNengo;
        }
    }
    return prefix + std::u16string(kDateForm);
}

NameClass ClassifyName(std::size_t characters) {
    if (characters == 1) {
        return NameClass::Single;
    }
    if (characters >= 2 && characters <= 8) {
        return NameClass::Short;
    }
    if (characters >= 9 && characters <= 12) {
        return NameClass::Long;
    }
    if (characters >= 13 && characters <= 16) {
        return NameClass::Small;
    }
    return NameClass::None;
}

SheetCaseCheck CheckSheetCase(const DeceasedData& data) {
    SheetCaseCheck check;
    check.NameNotPrinted =
        ClassifyName(CharCount(data.Kaimyo)) == NameClass::None && !data.Kaimyo.empty();
    const std::optional<std::int32_t> month = ParseInt(data.KiGatsu);
    const std::optional<std::int32_t> day = ParseInt(data.KiNichi);
    if (!month || !day)
        return check; // blank cells, as the clerk left them
    // Without a western year, a 29 February may be right: a leap year is assumed.
    const std::int32_t year = ParseInt(data.KiNen).value_or(2000);
    if (*month < 1 || *month > 12 || *day < 1 || *day > MonthDays(year, *month))
        check.MissingDate = DecimalText(*month) + u"月" + DecimalText(*day) + u"日";
    return check;
}

std::u16string MissingDateQuestion(std::u16string_view monthDay) {
    return u"命日の日付が存在しません（" + std::u16string(monthDay) + u"）。このまま印刷しますか？";
}

namespace sheetparts {

void AddTableFrame(SheetDescription& sheet, std::int32_t rows) {
    sheet.Elements.emplace_back(SheetPen{0.005, 1.0, 0, 1});
    sheet.Elements.emplace_back(Box(kFrameLeft, kFrameTop, kFrameRight, kFrameBottom));
    sheet.Elements.emplace_back(SheetPen{1.0, 1300.0, 1, 0});
    for (std::int32_t i = 1; i < rows; ++i) {
        const AcrossPos y{kFrameTop, kFrameBand, static_cast<double>(rows), i};
        sheet.Elements.emplace_back(SheetLine{Along(kFrameLeft), y, Along(kFrameRight), y});
    }
    for (const double x : {0.4238, 0.4286}) {
        sheet.Elements.emplace_back(
            SheetLine{Along(x), Across(kFrameTop), Along(x), Across(kFrameBottom)});
    }
}

void AddNameBox(SheetDescription& sheet, const SheetOptions& options) {
    if (options.KaimyoStyle == 0) {
        sheet.Elements.emplace_back(
            SheetPicture{SheetPictureKind::Canopy, Box(0.0952, 1851, 0.2, 2929)});
        sheet.Elements.emplace_back(
            SheetPicture{SheetPictureKind::Lotus, Box(0.7952, 1851, kFrameRight, 2929)});
    } else {
        sheet.Elements.emplace_back(SheetPen{0.0029, 1.0, 0, 0});
        sheet.Elements.emplace_back(Box(kFrameLeft, 1851, kFrameRight, 2929));
    }
}

void AddTitle(SheetDescription& sheet, const SheetOptions& options, std::u16string_view title) {
    sheet.Elements.emplace_back(SheetFont{TitleFace(options.FntName1), kTitleHeight});
    AddSpread(sheet, title, 0.3048, 0.2809, Across(707));
}

void AddBodyFont(SheetDescription& sheet, const SheetOptions& options) {
    sheet.Elements.emplace_back(SheetFont{BodyFace(options.FntName2), kBodyHeight});
}

void AddColumnForms(SheetDescription& sheet, const DeceasedData& data, const SheetOptions& options,
                    bool blank) {
    AddCells(sheet, DeathDateForm(data, options, blank), kColumnStart, kCellStep, Across(kDateRow));
    AddCells(sheet, kSecularForm, kColumnStart, kCellStep, Across(kSecularRow));
}

void AddFooterArea(SheetDescription& sheet, const SheetOptions& options) {
    if (options.TmplNamePrint) {
        sheet.Elements.emplace_back(
            SheetFooter{kFrameLeft, kFrameRight, kFooterTop, kFooterBottom});
    }
}

NameClass AddPosthumousName(SheetDescription& sheet, const DeceasedData& data,
                            const SheetOptions& options) {
    // The font is set afresh because a footer frame may have left bold.
    const NameClass nameClass = ClassifyName(CharCount(data.Kaimyo));
    sheet.Elements.emplace_back(SheetFont{BodyFace(options.FntName2),
                                          nameClass == NameClass::Small ? 0.026 : kTitleHeight});
    switch (nameClass) {
    case NameClass::Single:
        AddPoint(sheet, data.Kaimyo, 0.2476, Across(2215));
        break;
    case NameClass::Short:
        AddSpread(sheet, data.Kaimyo, 0.2476, 0.3567, Across(2215));
        break;
    case NameClass::Long:
        AddSpread(sheet, data.Kaimyo, 0.2, 0.5428, Across(2215));
        break;
    case NameClass::Small:
        AddSpread(sheet, data.Kaimyo, 0.2, 0.5428, Across(2260));
        break;
    case NameClass::None:
        break;
    }
    return nameClass;
}

void AddReading(SheetDescription& sheet, const DeceasedData& data, const SheetOptions& options,
                NameClass nameClass) {
    if (options.RubyPrint && nameClass != NameClass::None) {
        sheet.Elements.emplace_back(SheetFont{BodyFace(options.FntName2), 0.011});
        const double start =
            (nameClass == NameClass::Single || nameClass == NameClass::Short) ? 0.262 : 0.2142;
        AddPitched(sheet, data.Yomi, start, 0.017, Across(1953));
    }
}

void AddSecularNameAgeAndDate(SheetDescription& sheet, const DeceasedData& data,
                              const SheetOptions& options) {
    AddBodyFont(sheet, options);
    AddCells(sheet, data.Zokumyo, 0.2476, 0.0436, Across(kSecularRow));
    AddPoint(sheet, AgeText(data.GyoNen), 0.6952, Across(kSecularRow));

    if (options.WarekiInsatsu) {
        AddCells(sheet, EraYearText(data.KiWanen), 0.215, kCellStep, Across(kDateRow));
    } else {
        AddCells(sheet, WesternYearText(data.KiNen), kColumnStart, kCellStep, Across(kDateRow));
    }
    AddCells(sheet, MonthOfDeathText(data.KiGatsu), 0.3498, kCellStep, Across(kDateRow));
    AddCells(sheet, DayOfDeathText(data.KiNichi), 0.4509, kCellStep, Across(kDateRow));
}

} // namespace sheetparts

SheetDescription BuildMemorialSheet(const DeceasedData& data, const SheetOptions& options,
                                    const MemorialSchedule& schedule, bool blank) {
    using namespace sheetparts;
    SheetDescription sheet;
    sheet.Elements.reserve(400);

    AddTableFrame(sheet, kRows);
    AddNameBox(sheet, options);
    AddTitle(sheet, options, SheetTitle(options.TitName));

    // 4. Row headings and marks.
    AddBodyFont(sheet, options);
    const std::int32_t printed = PrintedRowCount(options);
    const ScheduleCells cells = ScheduleRowTexts(schedule, options);
    // All headings first, then the marks of every row: the order the form is drawn in.
    for (std::int32_t r = 1; r <= printed; ++r) {
        AddSpread(sheet, cells.Names[static_cast<std::size_t>(r - 1)], 0.1333, 0.2429, RowY(r));
    }
    if (blank) {
        for (std::int32_t r = 1; r <= printed; ++r) {
            AddPoint(sheet, u"月", 0.6238, RowY(r));
        }
    }
    for (std::int32_t r = 1; r <= printed; ++r) {
        AddPoint(sheet, u"日", 0.8286, RowY(r));
    }

    AddColumnForms(sheet, data, options, blank);
    AddFooterArea(sheet, options);
    if (blank) {
        return sheet;
    }

    const NameClass nameClass = AddPosthumousName(sheet, data, options);
    AddReading(sheet, data, options, nameClass);
    AddSecularNameAgeAndDate(sheet, data, options);

    // 15. Schedule months and days.
    // Every row's month, then every row's day.
    for (std::int32_t r = 1; r <= printed; ++r) {
        AddCells(sheet, cells.Months[static_cast<std::size_t>(r - 1)], 0.5564, kCellStep, RowY(r));
    }
    for (std::int32_t r = 1; r <= printed; ++r) {
        AddCells(sheet, cells.Days[static_cast<std::size_t>(r - 1)], 0.7275, kCellStep, RowY(r));
    }
    return sheet;
}

} // namespace ulvan
