// The record file on disk: reading it whole, and appending one line so that a failure leaves
// the file exactly as it was. The file is open only during one call and never locked.
#pragma once

#include "records/RecordFile.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace ulvan {

// A record file is text of about 100 bytes a line; a file beyond this is not one, and
// reading it whole would only exhaust memory.
inline constexpr std::uint64_t kMaxRecordFileBytes = 64ull * 1024 * 1024;

struct RecordFileLoad {
    enum class Status { Read, Missing, NotRegular, TooLarge, Failed };
    Status Result = Status::Missing;
    RecordFileText Text;
    int Error = 0; // the system's error number when Failed
};

// Reads the file named `path`. Missing: no file of that name (no message is due).
RecordFileLoad LoadRecordFile(const QString& path);

// Asked when the line holds characters that the file's encoding cannot hold (listed once
// each, in text order): true writes "?" in their place, false writes nothing.
using ConfirmLostChars =
    std::function<bool(RecordEncoding encoding, const std::vector<char32_t>& lost)>;

struct AppendResult {
    // Refused: the file mixes encodings or is UTF-16/UTF-32 (Check says which); untouched.
    enum class Status { Appended, Declined, Refused, Failed };
    Status Result = Status::Failed;
    int Error = 0;             // the system's error number when Failed (0: not a regular file)
    bool Restored = true;      // after a failure: the file holds its earlier bytes again
    bool Created = false;      // Appended: the file was new
    RecordEncoding Encoding{}; // the encoding the line was (or would have been) written in
    RecordEncodingCheck Check; // Refused: why
};

// Appends `line` and CR LF to the file named `path` as PlanRecordAppend says, creating the
// file when missing; a file in an encoding it must not extend is refused before anything
// is written. The new bytes are written, synced and the file closed, each checked;
// on any failure the bytes from the cut point are written back and the file truncated to
// its earlier length (a file created here is removed).
AppendResult AppendRecordLine(const QString& path, std::u16string_view line,
                              const ConfirmLostChars& confirmLost);

} // namespace ulvan

namespace ulvan {

// What the windows say: why a file could not be read, that a read file holds characters
// that could not be read, why an append failed (with the system's reason), the question
// before characters are written as "?", and the status bar's report of an append.
QString LoadProblemText(const RecordFileLoad& load);
QString AppendFailureText(const QString& path, const AppendResult& result);
QString AppendRefusalText(const QString& path, const RecordEncodingCheck& check);
// Append: the line goes at the end of an existing file; Save: a new file is written whole.
enum class LostCharsUse { Append, Save };
QString LostCharsQuestion(RecordEncoding encoding, const std::vector<char32_t>& lost,
                          LostCharsUse use = LostCharsUse::Append);
QString AppendedStatusText(const QString& path);

} // namespace ulvan
