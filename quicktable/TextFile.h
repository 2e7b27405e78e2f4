// The quick table's text files: how their bytes become the editor's text and back. The window
// writes the bytes with WriteFileAtomically (case/AtomicFile.h), so a failed save never harms
// the file it replaces.
#pragma once

#include "records/Cp932.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace ulvan {

enum class TextEncoding {
    Cp932,   // code page 932, no byte-order mark
    Utf8,    // UTF-8 without a byte-order mark (a file that was read so)
    Utf8Bom, // UTF-8 with its byte-order mark
    Utf16Le, // UTF-16 little-endian with its byte-order mark
    Utf16Be, // UTF-16 big-endian with its byte-order mark
};

// Its name as the messages give it ("UTF-8（BOM付き）", "Shift-JIS"…).
QString EncodingName(TextEncoding encoding);

struct TextFileContent {
    QString Text; // lines separated by "\n"
    TextEncoding Encoding = TextEncoding::Cp932;
    // How many byte sequences could not be read; each is shown as U+FFFD.
    std::size_t Unreadable = 0;
};

// A file that begins with a byte-order mark is read in that encoding; one without that is
// valid UTF-8 and holds a byte above 0x7F as UTF-8; anything else as code page 932. CR LF
// and a lone CR become "\n".
TextFileContent DecodeTextFile(const QByteArray& bytes);

// The text in `encoding` with its byte-order mark (none for Cp932 and Utf8), lines separated
// by CR LF. Code page 932 reports the characters it wrote as "?" in `problems` (UTF-16
// offsets in `text`); the Unicode encodings hold every character.
QByteArray EncodeTextFile(const QString& text, TextEncoding encoding,
                          std::vector<CodecProblem>* problems);

} // namespace ulvan
