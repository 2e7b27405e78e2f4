// The deceased-record file as bytes: which encoding it is written in, its lines, and the
// bytes that appending one record writes. Reading and appending the file on disk use these;
// this file touches no file itself.
//
// Reading: the text ends at the first character 0x1A (Ctrl-Z) or at the end of the bytes.
// CR LF and a lone LF end a line; a lone CR is dropped. A last line without its line end
// still counts. The text is code page 932, unless it starts with a UTF-8 byte-order mark, or
// has none and is valid UTF-8 holding non-ASCII text: then it is UTF-8. An invalid byte
// sequence reads as U+FFFD and is reported.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ulvan {

enum class RecordEncoding : std::int32_t {
    Cp932,   // the default: what a Windows program of this kind reads and writes
    Utf8,    // UTF-8 without a byte-order mark
    Utf8Bom, // UTF-8 after a byte-order mark (the mark is written once, never again)
};

inline constexpr char kRecordFileEnd = '\x1A';
// Appending cuts the file at a Ctrl-Z found within this many bytes of its end.
inline constexpr std::size_t kEndMarkWindow = 128;

// Where the readable text ends: the first 0x1A, or the size.
std::size_t RecordTextEnd(std::string_view bytes);

// How a file's readable text (up to the first 0x1A) is encoded, judged on the whole text.
// Each line is taken as UTF-8 when it is valid UTF-8 holding a sequence of three bytes or
// more (Japanese in UTF-8 always has one) or holding non-ASCII text that code page 932 cannot
// read; as code page 932 when code page 932 reads it cleanly and UTF-8 breaks at more places
// than it reads a sequence of three bytes; any other line (ASCII, bytes both read cleanly
// such as half-width kana, UTF-8 with a damaged character) decides nothing. The first line
// that decides gives the file's encoding (code page 932 when none does).
struct RecordEncodingCheck {
    enum class Conflict {
        None,
        ForeignMark, // a UTF-16 or UTF-32 byte-order mark: text this program cannot append to
        Mixed,       // lines in UTF-8 and lines in code page 932
    };
    RecordEncoding Encoding = RecordEncoding::Cp932;
    Conflict Problem = Conflict::None;
    std::u16string_view MarkName; // ForeignMark: u"UTF-16" or u"UTF-32"
    // Mixed: the first line (from 1) written in the other encoding than the lines before it.
    std::size_t Line = 0;
};
RecordEncodingCheck CheckRecordEncoding(std::string_view bytes);

// The encoding of CheckRecordEncoding.
RecordEncoding DetectRecordEncoding(std::string_view bytes);

// The lines of the readable text as byte ranges, LF removed (a CR before it, or anywhere,
// is still inside the range; DecodeRecordLine drops it). A byte-order mark is not part of
// the first line. One pass over the bytes.
std::vector<std::string_view> SplitRecordLines(std::string_view bytes);

// One line's bytes as text, CR characters dropped. `unreadable` is set (never cleared) when
// an invalid byte sequence became U+FFFD.
std::u16string DecodeRecordLine(std::string_view line, RecordEncoding encoding, bool& unreadable);

struct RecordFileText {
    std::vector<std::u16string> Lines;
    RecordEncoding Encoding = RecordEncoding::Cp932;
    // Some bytes could not be read and show as U+FFFD.
    bool HasUnreadable = false;
};

// The whole file's lines, decoded.
RecordFileText ReadRecordText(std::string_view bytes);

// Text in an encoding. A character the encoding cannot hold (for code page 932 one it lacks,
// for UTF-8 an unpaired surrogate) is written as "?" and listed in Lost, in text order,
// each character once.
struct EncodedText {
    std::string Bytes;
    std::vector<char32_t> Lost;
};
EncodedText EncodeRecordText(std::u16string_view text, RecordEncoding encoding);

// How one record is appended to a file whose present bytes are `existing`:
// - the new bytes go at CutAt: the first 0x1A within the last 128 bytes, else the end, so a
//   file closed by a Ctrl-Z gets the record in its place;
// - when the text before CutAt ends in a line without its line end, the line end is written
//   first (a lone CR is completed with LF), so the record starts a line of its own;
// - the record is written in the file's own encoding (code page 932 for a new or plain
//   ASCII file), never with a second byte-order mark;
// - a file whose Check has a Conflict is not to be appended to at all: one more line in
//   either encoding would leave a file no program reads whole.
struct AppendPlan {
    std::uint64_t CutAt = 0;
    std::string_view LineEnd; // written before the record: "", "\r\n" or "\n"
    RecordEncoding Encoding = RecordEncoding::Cp932;
    RecordEncodingCheck Check;
};
AppendPlan PlanRecordAppend(std::string_view existing);

// The bytes written at CutAt: the plan's line end, the encoded line, CR LF.
std::string AppendedBytes(const AppendPlan& plan, std::string_view encodedLine);

} // namespace ulvan
