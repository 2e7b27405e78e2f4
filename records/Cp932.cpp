#include "records/Cp932.h"

#include <array>
#include <cstdint>

namespace ulvan {
namespace {

constexpr char16_t kLeadByte = 0xFFFF; // never a character of the code page
constexpr char16_t kNoByte = 0xFFFE;   // not used by the current table; kept for its format

#include "records/Cp932Table.inc"

constexpr char16_t kReplacement = 0xFFFD;
constexpr char kQuestionMark = '?';

// The NEC-selected IBM extensions: decoded, never written.
constexpr unsigned kNecSelectedFirst = 0xED40;
constexpr unsigned kNecSelectedLast = 0xEEFC;

// The JIS forms that other programs produce, and the code page 932 pair a Windows reader
// expects for each.
struct LookAlike {
    char16_t Character;
    std::uint16_t Bytes;
};
constexpr std::array<LookAlike, 7> kLookAlikes{{
    {u'\u301C', 0x8160}, // WAVE DASH -> FULLWIDTH TILDE
    {u'\u2016', 0x8161}, // DOUBLE VERTICAL LINE -> PARALLEL TO
    {u'\u2212', 0x817C}, // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
    {u'\u00A2', 0x8191}, // CENT SIGN -> FULLWIDTH CENT SIGN
    {u'\u00A3', 0x8192}, // POUND SIGN -> FULLWIDTH POUND SIGN
    {u'\u00AC', 0x81CA}, // NOT SIGN -> FULLWIDTH NOT SIGN
    {u'\u2014', 0x815C}, // EM DASH -> HORIZONTAL BAR
}};

bool IsTrailByte(unsigned byte) {
    return byte >= kTrailFirst && byte < kTrailFirst + kTrailCount && byte != 0x7F;
}

// Code unit -> bytes: 0 when the code page has no form for it; below 0x100 one byte;
// otherwise a pair, first byte high. Derived from the decoding table in byte order, so the
// lowest form wins, the NEC-selected pairs only where nothing else holds the character.
using EncodeTable = std::array<std::uint16_t, 0x10000>;

EncodeTable MakeEncodeTable() {
    EncodeTable table{};
    for (unsigned byte = 0; byte < 0x100; ++byte) {
        const char16_t unit = kSingleByte[byte];
        if (unit != kLeadByte && unit != kNoByte && table[unit] == 0)
            table[unit] = static_cast<std::uint16_t>(byte);
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (unsigned lead = 0; lead < 0x100; ++lead) {
            const int row = kLeadRow[lead];
            if (row < 0)
                continue;
            for (std::size_t t = 0; t < kTrailCount; ++t) {
                const auto bytes = static_cast<std::uint16_t>(lead << 8 | (kTrailFirst + t));
                const bool necSelected = bytes >= kNecSelectedFirst && bytes <= kNecSelectedLast;
                if (necSelected != (pass == 1))
                    continue;
                const char16_t unit = kDoubleByte[static_cast<std::size_t>(row)][t];
                if (unit != 0 && table[unit] == 0)
                    table[unit] = bytes;
            }
        }
    }
    for (const LookAlike& alike : kLookAlikes) {
        if (table[alike.Character] == 0)
            table[alike.Character] = alike.Bytes;
    }
    // U+0000 is the byte 0x00; the encoder handles ASCII before it looks here.
    return table;
}

const EncodeTable& Encoding() {
    static const EncodeTable table = MakeEncodeTable();
    return table;
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

std::string EncodeCp932(std::u16string_view text, std::vector<CodecProblem>* problems) {
    const EncodeTable& table = Encoding();
    std::string out;
    out.resize(text.size() * 2);
    char* write = out.data();
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char16_t unit = text[i];
        if (unit < 0x80) {
            *write++ = static_cast<char>(unit);
            continue;
        }
        const std::uint16_t bytes = table[unit];
        if (bytes >= 0x100) {
            *write++ = static_cast<char>(bytes >> 8);
            *write++ = static_cast<char>(bytes & 0xFF);
        } else if (bytes != 0) {
            *write++ = static_cast<char>(bytes);
        } else {
            CodecProblem problem{i, 1, unit};
            if (IsHighSurrogate(unit) && i + 1 < size && IsLowSurrogate(text[i + 1])) {
                problem.Length = 2;
                problem.Value = 0x10000 + ((static_cast<std::uint32_t>(unit) - 0xD800) << 10) +
                                (static_cast<std::uint32_t>(text[i + 1]) - 0xDC00);
                ++i;
            }
            *write++ = kQuestionMark;
            if (problems != nullptr)
                problems->push_back(problem);
        }
    }
    out.resize(static_cast<std::size_t>(write - out.data()));
    return out;
}

std::u16string DecodeCp932(std::string_view bytes, std::vector<CodecProblem>* problems) {
    std::u16string out;
    out.resize(bytes.size());
    char16_t* write = out.data();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        const unsigned byte = data[i];
        if (byte < 0x80) {
            *write++ = static_cast<char16_t>(byte);
            ++i;
            continue;
        }
        const char16_t single = kSingleByte[byte];
        if (single != kLeadByte && single != kNoByte) {
            *write++ = single;
            ++i;
            continue;
        }
        std::size_t replaced = 1;
        if (single == kLeadByte && i + 1 < size) {
            const unsigned trail = data[i + 1];
            if (IsTrailByte(trail)) {
                const int row = kLeadRow[byte];
                const char16_t unit =
                    row < 0 ? 0 : kDoubleByte[static_cast<std::size_t>(row)][trail - kTrailFirst];
                if (unit != 0) {
                    *write++ = unit;
                    i += 2;
                    continue;
                }
                // An ASCII second byte is read again as itself.
                if (trail >= 0x80)
                    replaced = 2;
            }
        }
        *write++ = kReplacement;
        if (problems != nullptr) {
            const std::uint32_t value =
                replaced == 2 ? (byte << 8 | data[i + 1]) : static_cast<std::uint32_t>(byte);
            problems->push_back(CodecProblem{i, replaced, value});
        }
        i += replaced;
    }
    out.resize(static_cast<std::size_t>(write - out.data()));
    return out;
}

bool Cp932ReadsCleanly(std::string_view bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        const unsigned byte = data[i];
        const char16_t single = kSingleByte[byte];
        if (byte < 0x80 || (single != kLeadByte && single != kNoByte)) {
            ++i;
            continue;
        }
        if (single != kLeadByte || i + 1 >= size || !IsTrailByte(data[i + 1]))
            return false;
        const int row = kLeadRow[byte];
        if (row < 0 || kDoubleByte[static_cast<std::size_t>(row)][data[i + 1] - kTrailFirst] == 0)
            return false;
        i += 2;
    }
    return true;
}

} // namespace ulvan
