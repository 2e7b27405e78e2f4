#include "records/RecordLine.h"

#include <array>

namespace ulvan {
namespace {

constexpr char16_t kDelimiter = u',';
constexpr char16_t kQuote = u'"';

// Code 0 is treated like the other control characters: a NUL left in a field would otherwise
// end an unquoted field without being skippable, and reading would never move past it.
bool IsBlankOrControl(char16_t c) {
    return c <= u' ';
}

bool NeedsQuotes(std::u16string_view field) {
    for (const char16_t c : field) {
        if (IsBlankOrControl(c) || c == kQuote || c == kDelimiter)
            return true;
    }
    return false;
}

} // namespace

std::vector<std::u16string> SplitCommaText(std::u16string_view line) {
    std::vector<std::u16string> fields;
    const std::size_t end = line.size();
    std::size_t pos = 0;
    auto skipBlanks = [&] {
        while (pos < end && IsBlankOrControl(line[pos]))
            ++pos;
    };

    skipBlanks();
    while (pos < end) {
        std::u16string field;
        if (line[pos] == kQuote) {
            ++pos;
            while (pos < end) {
                if (line[pos] == kQuote) {
                    if (pos + 1 < end && line[pos + 1] == kQuote) {
                        field.push_back(kQuote);
                        pos += 2;
                        continue;
                    }
                    ++pos; // the closing quote
                    break;
                }
                field.push_back(line[pos++]);
            }
        } else {
            const std::size_t start = pos;
            while (pos < end && !IsBlankOrControl(line[pos]) && line[pos] != kDelimiter)
                ++pos;
            field.assign(line.substr(start, pos - start));
        }
        fields.push_back(std::move(field));
        skipBlanks();
        if (pos < end && line[pos] == kDelimiter) {
            if (pos + 1 == end)
                fields.emplace_back();
            ++pos;
            skipBlanks();
        }
    }
    return fields;
}

namespace {

void AppendField(std::u16string& line, std::u16string_view field, bool quoted) {
    if (!quoted && !NeedsQuotes(field)) {
        line += field;
        return;
    }
    line.push_back(kQuote);
    for (const char16_t c : field) {
        if (c == kQuote)
            line.push_back(kQuote);
        line.push_back(c);
    }
    line.push_back(kQuote);
}

// What a spreadsheet takes for the start of a formula.
bool StartsFormula(std::u16string_view field) {
    if (field.empty())
        return false;
    const char16_t c = field.front();
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

} // namespace

std::u16string JoinCommaText(std::span<const std::u16string> fields) {
    std::u16string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line.push_back(kDelimiter);
        AppendField(line, fields[i], false);
    }
    return line;
}

std::u16string SpreadsheetCsvLine(std::span<const std::u16string> fields) {
    std::u16string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line.push_back(kDelimiter);
        const bool formula = StartsFormula(fields[i]);
        std::u16string field = formula ? u"'" + fields[i] : fields[i];
        for (char16_t& c : field) {
            if (c == u'\r' || c == u'\n')
                c = u' ';
        }
        AppendField(line, field, formula);
    }
    return line;
}

std::u16string WriteRecordLine(const DeceasedRecord& record) {
    const std::array<std::u16string, 8> fields{
        JoinNameReading(record.Kaimyo, record.Yomi),
        record.Zokumyo,
        record.KiNen,
        record.KiNengo,
        record.KiWanen,
        record.KiGatsu,
        record.KiNichi,
        record.GyoNen,
    };
    return JoinCommaText(fields);
}

DeceasedRecord ReadRecordLine(std::u16string_view line) {
    std::vector<std::u16string> fields = SplitCommaText(line);
    fields.resize(8);
    DeceasedRecord record;
    NameAndReading name = SplitNameReading(fields[0]);
    record.Kaimyo = std::move(name.Name);
    record.Yomi = name.Reading.value_or(std::u16string());
    record.Zokumyo = std::move(fields[1]);
    record.KiNen = std::move(fields[2]);
    record.KiNengo = std::move(fields[3]);
    record.KiWanen = std::move(fields[4]);
    record.KiGatsu = std::move(fields[5]);
    record.KiNichi = std::move(fields[6]);
    record.GyoNen = std::move(fields[7]);
    return record;
}

} // namespace ulvan
