// Replacing a file whole. Every file the program writes anew (the sheet's PDF, the quick
// table's text files, and any other file it replaces) goes through WriteFileAtomically: the
// contents go to a temporary file in the same folder, which takes the file's name by a
// rename only after all of it was written and flushed to the disk. A write that fails at any
// step leaves the file that was there before exactly as it was, and no temporary file behind.
//
//     const QByteArray text = ...;
//     if (const FileWriteResult written = WriteFileAtomically(name, text); !written)
//         interaction.ShowMessage(written.Message); // or err << written.Message.toStdString()
//
// Appending to a file (the record files) is not replacing it and does not come here.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace ulvan {

struct FileWriteResult {
    bool Ok = true;
    // When the write failed: one Japanese line for the user naming the file and the system's
    // reason, such as "ファイルを書き込めません: /tmp/a.pdf (No space left on device)".
    QString Message;

    explicit operator bool() const { return Ok; }
};

// Writes `contents` as the whole of `fileName`. A symbolic link is followed and its target
// replaced; an existing file keeps its permissions, a new one gets the usual ones for the
// user. Something that is not a regular file (a device, a pipe, a folder) is never replaced:
// that is a failure.
[[nodiscard]] FileWriteResult WriteFileAtomically(const QString& fileName, QByteArrayView contents);

// The message of a failed write: "ファイルを書き込めません: FILE (reason)".
QString FileWriteFailureMessage(const QString& fileName, const QString& reason);

} // namespace ulvan
