#include "records/RecordFile.h"

#include "records/Cp932.h"
#include "records/RecordCodec.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace ulvan {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr char16_t kReplacement = u'\uFFFD';

unsigned char Byte(char c) {
    return static_cast<unsigned char>(c);
}

// The length of the well-formed UTF-8 sequence at `pos` (1 to 4), or 0 when the bytes there
// do not start one (stray continuation byte, overlong form, surrogate, beyond U+10FFFF,
// truncated).
std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t pos, char32_t& value) {
    const unsigned char lead = Byte(bytes[pos]);
    if (lead < 0x80) {
        value = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
        min = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - pos < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = Byte(bytes[pos + i]);
        if ((next & 0xC0u) != 0x80u)
            return 0;
        value = (value << 6) | (next & 0x3Fu);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

void AppendUtf16(std::u16string& text, char32_t value) {
    if (value < 0x10000) {
        text.push_back(static_cast<char16_t>(value));
        return;
    }
    value -= 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FFu)));
}

std::u16string DecodeUtf8(std::string_view bytes, bool& unreadable) {
    std::u16string text;
    text.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        char32_t value = 0;
        const std::size_t length = Utf8SequenceAt(bytes, pos, value);
        if (length == 0) {
            text.push_back(kReplacement);
            unreadable = true;
            ++pos;
            continue;
        }
        AppendUtf16(text, value);
        pos += length;
    }
    return text;
}

void AppendUtf8(std::string& bytes, char32_t value) {
    if (value < 0x80) {
        bytes.push_back(static_cast<char>(value));
    } else if (value < 0x800) {
        bytes.push_back(static_cast<char>(0xC0 | (value >> 6)));
        bytes.push_back(static_cast<char>(0x80 | (value & 0x3Fu)));
    } else if (value < 0x10000) {
        bytes.push_back(static_cast<char>(0xE0 | (value >> 12)));
        bytes.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3Fu)));
        bytes.push_back(static_cast<char>(0x80 | (value & 0x3Fu)));
    } else {
        bytes.push_back(static_cast<char>(0xF0 | (value >> 18)));
        bytes.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3Fu)));
        bytes.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3Fu)));
        bytes.push_back(static_cast<char>(0x80 | (value & 0x3Fu)));
    }
}

void AddLost(std::vector<char32_t>& lost, char32_t c) {
    if (std::find(lost.begin(), lost.end(), c) == lost.end())
        lost.push_back(c);
}

EncodedText EncodeUtf8(std::u16string_view text) {
    EncodedText out;
    out.Bytes.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            const char32_t value = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                                   (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            AppendUtf8(out.Bytes, value);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out.Bytes.push_back('?');
            AddLost(out.Lost, c);
        } else {
            AppendUtf8(out.Bytes, c);
        }
    }
    return out;
}

} // namespace

std::size_t RecordTextEnd(std::string_view bytes) {
    const std::size_t end = bytes.find(kRecordFileEnd);
    return end == std::string_view::npos ? bytes.size() : end;
}

RecordEncodingCheck CheckRecordEncoding(std::string_view bytes) {
    RecordEncodingCheck check;
    // UTF-32 LE first: its mark begins with UTF-16 LE's.
    constexpr std::pair<std::string_view, std::u16string_view> kForeignMarks[] = {
        {std::string_view("\xFF\xFE\0\0", 4), u"UTF-32"},
        {std::string_view("\0\0\xFE\xFF", 4), u"UTF-32"},
        {"\xFF\xFE", u"UTF-16"},
        {"\xFE\xFF", u"UTF-16"},
    };
    for (const auto& [mark, name] : kForeignMarks) {
        if (bytes.starts_with(mark)) {
            check.Problem = RecordEncodingCheck::Conflict::ForeignMark;
            check.MarkName = name;
            return check;
        }
    }
    bytes = bytes.substr(0, RecordTextEnd(bytes));
    const bool marked = bytes.starts_with(kUtf8Bom);
    enum class Kind { Neither, Utf8, Cp932 };
    Kind first = Kind::Neither;
    std::size_t firstLine = 0;
    std::size_t lineNumber = 0;
    // Line by line in place: a file of many short lines must not cost a list of them.
    for (std::size_t start = marked ? kUtf8Bom.size() : 0; start < bytes.size();) {
        const std::size_t lf = bytes.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        const std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        std::size_t invalid = 0;   // bytes where no UTF-8 sequence starts
        std::size_t sequences = 0; // UTF-8 sequences of two bytes or more
        std::size_t longSequences = 0;
        for (std::size_t pos = 0; pos < line.size();) {
            if (Byte(line[pos]) < 0x80) {
                ++pos;
                continue;
            }
            char32_t value = 0;
            const std::size_t length = Utf8SequenceAt(line, pos, value);
            if (length == 0) {
                ++invalid;
                ++pos;
                continue;
            }
            ++sequences;
            longSequences += length >= 3 ? 1 : 0;
            pos += length;
        }
        Kind kind = Kind::Neither;
        if (invalid == 0 && sequences > 0 && (longSequences > 0 || !Cp932ReadsCleanly(line)))
            kind = Kind::Utf8;
        // Code page 932 text breaks UTF-8 at nearly every character; UTF-8 with a damaged
        // character here and there stays mostly UTF-8 and decides nothing.
        else if (invalid > longSequences && Cp932ReadsCleanly(line))
            kind = Kind::Cp932;
        if (kind == Kind::Neither)
            continue;
        if (first == Kind::Neither) {
            first = kind;
            firstLine = lineNumber;
        } else if (kind != first) {
            check.Problem = RecordEncodingCheck::Conflict::Mixed;
            check.Line = lineNumber;
            break;
        }
    }
    if (marked) {
        check.Encoding = RecordEncoding::Utf8Bom;
        // A file marked as UTF-8 whose lines read only as code page 932 is mixed as well.
        if (first == Kind::Cp932 && check.Problem == RecordEncodingCheck::Conflict::None) {
            check.Problem = RecordEncodingCheck::Conflict::Mixed;
            check.Line = firstLine;
        }
    } else if (first == Kind::Utf8) {
        check.Encoding = RecordEncoding::Utf8;
    }
    return check;
}

RecordEncoding DetectRecordEncoding(std::string_view bytes) {
    return CheckRecordEncoding(bytes).Encoding;
}

std::vector<std::string_view> SplitRecordLines(std::string_view bytes) {
    std::string_view text = bytes.substr(0, RecordTextEnd(bytes));
    if (text.starts_with(kUtf8Bom))
        text.remove_prefix(kUtf8Bom.size());
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            // A last line without its line end; a lone CR there makes an empty line, as it
            // does once a record is appended after it.
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, lf - start));
        start = lf + 1;
    }
    return lines;
}

std::u16string DecodeRecordLine(std::string_view line, RecordEncoding encoding, bool& unreadable) {
    std::u16string text = encoding == RecordEncoding::Cp932 ? DecodeAnsiText(line, unreadable)
                                                            : DecodeUtf8(line, unreadable);
    // CR can be neither part of a double-byte character nor of a UTF-8 sequence, so it
    // decodes as itself wherever it stands.
    std::erase(text, u'\r');
    return text;
}

RecordFileText ReadRecordText(std::string_view bytes) {
    RecordFileText file;
    file.Encoding = DetectRecordEncoding(bytes);
    const std::vector<std::string_view> lines = SplitRecordLines(bytes);
    file.Lines.reserve(lines.size());
    for (const std::string_view line : lines)
        file.Lines.push_back(DecodeRecordLine(line, file.Encoding, file.HasUnreadable));
    return file;
}

EncodedText EncodeRecordText(std::u16string_view text, RecordEncoding encoding) {
    if (encoding != RecordEncoding::Cp932)
        return EncodeUtf8(text);
    EncodedText out;
    out.Bytes = EncodeAnsiText(text, out.Lost);
    // Each character named once, in text order.
    std::vector<char32_t> unique;
    for (const char32_t c : out.Lost)
        AddLost(unique, c);
    out.Lost = std::move(unique);
    return out;
}

AppendPlan PlanRecordAppend(std::string_view existing) {
    AppendPlan plan;
    const std::size_t windowStart =
        existing.size() > kEndMarkWindow ? existing.size() - kEndMarkWindow : 0;
    const std::size_t mark = existing.find(kRecordFileEnd, windowStart);
    const std::size_t cut = mark == std::string_view::npos ? existing.size() : mark;
    plan.CutAt = cut;
    plan.Check = CheckRecordEncoding(existing);
    plan.Encoding = plan.Check.Encoding;

    std::string_view before = existing.substr(0, cut);
    if (plan.Encoding == RecordEncoding::Utf8Bom)
        before.remove_prefix(std::min(before.size(), kUtf8Bom.size()));
    if (!before.empty() && before.back() == '\r')
        plan.LineEnd = "\n";
    else if (!before.empty() && before.back() != '\n')
        plan.LineEnd = "\r\n";
    return plan;
}

std::string AppendedBytes(const AppendPlan& plan, std::string_view encodedLine) {
    std::string bytes;
    bytes.reserve(plan.LineEnd.size() + encodedLine.size() + 2);
    bytes += plan.LineEnd;
    bytes += encodedLine;
    bytes += "\r\n";
    return bytes;
}

} // namespace ulvan
