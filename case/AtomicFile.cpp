#include "case/AtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace ulvan {

QString FileWriteFailureMessage(const QString& fileName, const QString& reason) {
    return QStringLiteral("ファイルを書き込めません: %1 (%2)").arg(fileName, reason);
}

FileWriteResult WriteFileAtomically(const QString& fileName, QByteArrayView contents) {
    const auto failed = [&fileName](const QString& reason) {
        return FileWriteResult{false, FileWriteFailureMessage(fileName, reason)};
    };
    if (fileName.isEmpty())
        return failed(QStringLiteral("ファイル名がありません"));
    // Only a regular file is replaced: a rename over a device or a pipe would put a plain
    // file in its place (the privileged user may do that), and a folder cannot be one.
    const QFileInfo existing(fileName); // follows a symbolic link
    if (existing.exists() && !existing.isFile())
        return failed(QStringLiteral("通常のファイルではありません"));

    QSaveFile file(fileName);
    file.setDirectWriteFallback(false); // never write into the old file in place
    // Unbuffered: every write reaches the system at once and its failure is seen here. With a
    // buffer, the last part is written only by commit()'s own flush, whose failure commit()
    // does not notice: a full disk then renamed a short file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(file.errorString());
    const char* data = contents.data();
    qint64 left = contents.size();
    while (left > 0) {
        const qint64 written = file.write(data, left);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return failed(reason);
        }
        data += written;
        left -= written;
    }
    // What the system took must be the whole: checked before the rename, not after.
    if (!file.flush() || file.error() != QFileDevice::NoError || file.size() != contents.size()) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("書き込みが途中で終わりました");
        file.cancelWriting();
        return failed(reason);
    }
    // Syncs to the disk and renames; on any failure the temporary file is removed and the
    // old file stays.
    if (!file.commit())
        return failed(file.errorString());
    return {};
}

} // namespace ulvan
