// Checking the settings file before the program relies on it.
//
// The store rewrites its whole file when it saves. A file that did not read cleanly (not
// UTF-8, as a file written in code page 932; lines the store cannot read, which it drops;
// values in a form it reads as empty; a line that its trailing backslash joins to the next)
// would lose what the store could not read, so a copy of it is kept beside it before the
// program may save, and the user is told once what was kept.
//
// A file that cannot be read at all (no permission, a folder or a FIFO in its place, its
// folder a plain file) is reported; the program then runs on its defaults and leaves that
// file alone. A file that does not exist yet (the first start) is no error.
#pragma once

#include <QDateTime>
#include <QString>

#include <string>
#include <vector>

namespace ulvan {

enum class SettingsFileState {
    Missing,    // nothing there yet: the first start
    Clean,      // reads as the store will write it back
    Unclean,    // readable, but saving would lose or change something
    Unreadable, // cannot be read at all
};

struct SettingsFileCheck {
    SettingsFileState State = SettingsFileState::Missing;
    QString File;
    // Unclean: what did not read cleanly, each a short Japanese phrase.
    std::vector<std::u16string> Findings;
    // Unreadable: why, as the system or the check puts it.
    QString Reason;
};

// Looks at the settings file `file` (empty: the per-user store). Never blocks: only a
// regular file is opened.
SettingsFileCheck CheckSettingsFile(const QString& file);

// Whether the store may read and write `file`: it is a regular file that can be read, or
// does not exist and can come into being (its folder is not a plain file). Reading a
// settings file that fails this gives the defaults; writing it is refused.
bool SettingsFileUsable(const QString& file);

// What the program does with its settings for this run.
struct SettingsOpening {
    // False when the file could not be read (or a copy of an unclean file could not be
    // kept): the run must not write it.
    bool MayWrite = true;
    // To be shown to the user once at start; empty when there is nothing to say.
    std::u16string Message;
    // The copy kept beside an unclean file.
    QString Copy;
};

// Checks `file` (empty: the per-user store) and, when it did not read cleanly, keeps a copy
// named after it with "-YYYYMMDD-HHMMSS" (the time `now`) appended to ".bak".
SettingsOpening PrepareSettingsForRun(const QString& file,
                                      const QDateTime& now = QDateTime::currentDateTime());

// The message for a file that cannot be read: "設定ファイルを読めません: FILE (reason)".
std::u16string UnreadableSettingsMessage(const SettingsFileCheck& check);

} // namespace ulvan
