// Code page 932 (Windows Japanese, "Shift-JIS" as Windows writes it): the encoding of the
// record files and of the quick table's text files without a byte-order mark. Every file
// this program reads or writes in that code page goes through these two functions, so that
// what it writes is byte for byte what a Windows program writes for the same text.
//
// Decoding follows the Windows table (0x5C and 0x7E stay ASCII, 0x80 -> U+0080,
// 0xA0 -> U+F8F0, 0xFD-0xFF -> U+F8F1-U+F8F3, the user-defined area 0xF040-0xF9FC ->
// U+E000-U+E757, the NEC and IBM extensions included). Encoding writes, for a character
// with several byte pairs, the lowest pair outside 0xED40-0xEEFC (the NEC-selected IBM
// extensions, which Windows never writes), and also accepts the JIS forms that other
// programs produce for seven characters (U+301C, U+2016, U+2212, U+00A2, U+00A3, U+00AC,
// U+2014), writing their code page 932 look-alikes.
//
// Both directions are table lookups in one pass; they keep no state between calls and may
// be called from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ulvan {

// One place where text and code page 932 did not meet.
struct CodecProblem {
    // Encoding: index of the character's first UTF-16 unit in the text.
    // Decoding: index of the first byte of the sequence in the bytes.
    std::size_t Offset = 0;
    // Encoding: UTF-16 units of the character (2 for a surrogate pair). Decoding: bytes
    // replaced by the one U+FFFD (1 or 2).
    std::size_t Length = 0;
    // Encoding: the character that has no byte form (a lone surrogate as itself).
    // Decoding: the bytes, the first byte in the high eight bits for a pair.
    std::uint32_t Value = 0;

    friend bool operator==(const CodecProblem&, const CodecProblem&) = default;
};

// Text -> code page 932. A character the code page cannot hold is written as "?" (0x3F) and,
// when `problems` is given, appended to it in text order. Nothing else is lost or changed.
std::string EncodeCp932(std::u16string_view text, std::vector<CodecProblem>* problems);

// Code page 932 -> text. A byte that cannot start a character, a lead byte whose second
// byte is missing or not a valid second byte, and a pair that has no character each become
// one U+FFFD and, when `problems` is given, are appended to it in byte order. A lead byte
// followed by an ASCII byte that does not complete a pair is replaced alone, and the ASCII
// byte is read as itself (a comma or line break after a broken byte is never swallowed).
std::u16string DecodeCp932(std::string_view bytes, std::vector<CodecProblem>* problems);

// True when DecodeCp932 would read `bytes` without a problem; allocates nothing.
bool Cp932ReadsCleanly(std::string_view bytes);

} // namespace ulvan
