#include "records/RecordFileIo.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace ulvan {
namespace {

QByteArray NativePath(const QString& path) {
    return QFile::encodeName(path);
}

// Reads `size` bytes from the start; false with errno set on an error. A file that shrank
// meanwhile gives what it holds.
bool ReadAll(int fd, std::uint64_t size, std::string& bytes) {
    bytes.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got =
            ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return true;
}

bool WriteAt(int fd, std::string_view bytes, std::uint64_t offset) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                     static_cast<off_t>(offset + done));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (put == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

// Puts back the bytes from the cut point and the earlier length, and syncs.
bool Restore(int fd, std::string_view kept, std::uint64_t cutAt, std::uint64_t oldSize) {
    const bool written = WriteAt(fd, kept, cutAt);
    const bool truncated = ::ftruncate(fd, static_cast<off_t>(oldSize)) == 0;
    const bool synced = ::fsync(fd) == 0;
    return written && truncated && synced;
}

} // namespace

RecordFileLoad LoadRecordFile(const QString& path) {
    RecordFileLoad load;
    if (path.isEmpty())
        return load;
    const QByteArray native = NativePath(path);
    // Non-blocking, so that a named pipe given as the file cannot hang the window.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        load.Error = errno;
        load.Result = (errno == ENOENT || errno == ENOTDIR) ? RecordFileLoad::Status::Missing
                                                            : RecordFileLoad::Status::Failed;
        return load;
    }
    struct stat info {};
    std::string bytes;
    if (::fstat(fd, &info) != 0) {
        load.Error = errno;
        load.Result = RecordFileLoad::Status::Failed;
    } else if (!S_ISREG(info.st_mode)) {
        load.Result = RecordFileLoad::Status::NotRegular;
    } else if (static_cast<std::uint64_t>(info.st_size) > kMaxRecordFileBytes) {
        load.Result = RecordFileLoad::Status::TooLarge;
    } else if (!ReadAll(fd, static_cast<std::uint64_t>(info.st_size), bytes)) {
        load.Error = errno;
        load.Result = RecordFileLoad::Status::Failed;
    } else {
        load.Result = RecordFileLoad::Status::Read;
        load.Text = ReadRecordText(bytes);
    }
    ::close(fd);
    return load;
}

AppendResult AppendRecordLine(const QString& path, std::u16string_view line,
                              const ConfirmLostChars& confirmLost) {
    AppendResult result;
    const QByteArray native = NativePath(path);
    if (native.isEmpty()) {
        result.Error = ENOENT;
        return result;
    }
    int fd = ::open(native.constData(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(native.constData(), O_RDWR | O_CLOEXEC | O_CREAT | O_EXCL, 0666);
        result.Created = fd >= 0;
    }
    if (fd < 0) {
        result.Error = errno;
        return result;
    }
    // Undoes a file created here; a file that was there gets its bytes back.
    auto fail = [&](int error, bool restored) {
        result.Result = AppendResult::Status::Failed;
        result.Error = error;
        result.Restored = restored;
        if (result.Created)
            result.Restored = ::unlink(native.constData()) == 0;
        result.Created = false;
        return result;
    };

    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(error, true);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(0, true);
    }
    if (static_cast<std::uint64_t>(info.st_size) > kMaxRecordFileBytes) {
        ::close(fd);
        return fail(EFBIG, true);
    }
    std::string existing;
    if (!ReadAll(fd, static_cast<std::uint64_t>(info.st_size), existing)) {
        const int error = errno;
        ::close(fd);
        return fail(error, true);
    }

    const AppendPlan plan = PlanRecordAppend(existing);
    result.Encoding = plan.Encoding;
    if (plan.Check.Problem != RecordEncodingCheck::Conflict::None) {
        ::close(fd);
        result.Check = plan.Check;
        result.Result = AppendResult::Status::Refused;
        return result;
    }
    const EncodedText encoded = EncodeRecordText(line, plan.Encoding);
    if (!encoded.Lost.empty() && !(confirmLost && confirmLost(plan.Encoding, encoded.Lost))) {
        ::close(fd);
        if (result.Created)
            ::unlink(native.constData());
        result.Created = false;
        result.Result = AppendResult::Status::Declined;
        return result;
    }

    const std::uint64_t oldSize = existing.size();
    const std::string_view kept = std::string_view(existing).substr(plan.CutAt);
    const std::string bytes = AppendedBytes(plan, encoded.Bytes);
    const std::uint64_t newSize = plan.CutAt + bytes.size();

    const bool done = WriteAt(fd, bytes, plan.CutAt) &&
                      (newSize >= oldSize || ::ftruncate(fd, static_cast<off_t>(newSize)) == 0) &&
                      ::fsync(fd) == 0;
    if (!done) {
        const int error = errno;
        const bool restored = Restore(fd, kept, plan.CutAt, oldSize);
        ::close(fd);
        return fail(error, restored);
    }
    // A full disk or a quota may show only at the close.
    if (::close(fd) != 0) {
        const int error = errno;
        const int again = ::open(native.constData(), O_WRONLY | O_CLOEXEC);
        bool restored = false;
        if (again >= 0) {
            restored = Restore(again, kept, plan.CutAt, oldSize);
            restored = ::close(again) == 0 && restored;
        }
        return fail(error, restored);
    }
    result.Result = AppendResult::Status::Appended;
    return result;
}

} // namespace ulvan

namespace ulvan {
namespace {

QString SystemReason(int error) {
    if (error == 0)
        return QStringLiteral("通常のファイルではありません");
    return QString::fromLocal8Bit(std::strerror(error));
}

// At most this many characters are named; the rest are counted.
constexpr std::size_t kNamedChars = 10;

QString CharText(char32_t c) {
    // An unpaired surrogate cannot be shown; its code stands for it.
    if (c >= 0xD800 && c <= 0xDFFF)
        return QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
    const char32_t one[1] = {c};
    return QString::fromUcs4(one, 1);
}

} // namespace

QString LoadProblemText(const RecordFileLoad& load) {
    switch (load.Result) {
    case RecordFileLoad::Status::Missing:
        return QString();
    case RecordFileLoad::Status::NotRegular:
        return QStringLiteral("このファイルは読めません（通常のファイルではありません）");
    case RecordFileLoad::Status::TooLarge:
        return QStringLiteral("このファイルは大きすぎて読めません（%1 MB まで）")
            .arg(kMaxRecordFileBytes / (1024 * 1024));
    case RecordFileLoad::Status::Failed:
        return QStringLiteral("このファイルは読めません（%1）").arg(SystemReason(load.Error));
    case RecordFileLoad::Status::Read:
        break;
    }
    if (load.Text.HasUnreadable)
        return QStringLiteral("読めない文字があります（�で表示しています）");
    return QString();
}

QString AppendFailureText(const QString& path, const AppendResult& result) {
    QString text = QStringLiteral("ファイル「%1」に追記できませんでした。\n理由: %2\n")
                       .arg(path, SystemReason(result.Error));
    if (result.Restored)
        text += QStringLiteral("ファイルには何も追記していません。");
    else
        text += QStringLiteral("ファイルを元の内容に戻せなかった可能性があります。"
                               "ファイルの末尾を確かめてください。");
    return text;
}

QString AppendRefusalText(const QString& path, const RecordEncodingCheck& check) {
    QString text = QStringLiteral("ファイル「%1」には追記できません。\n").arg(path);
    if (check.Problem == RecordEncodingCheck::Conflict::ForeignMark) {
        text += QStringLiteral("このファイルは %1 で書かれています（先頭のバイト順マーク）。\n"
                               "メモ帳などでシフトJIS（ANSI）または UTF-8 で保存し直してから"
                               "追記するか、別のファイルを選んでください。\n")
                    .arg(QString::fromStdU16String(std::u16string(check.MarkName)));
    } else {
        text += QStringLiteral("このファイルにはシフトJISの行と UTF-8 の行が混ざっています"
                               "（%1行目が、それより前の行と違う文字コードです）。"
                               "このまま追記すると、どちらかの行が読めなくなります。\n"
                               "%1行目以降を前の行と同じ文字コードにそろえてから追記するか、"
                               "別のファイルを選んでください。\n")
                    .arg(check.Line);
    }
    return text + QStringLiteral("ファイルには何も追記していません。");
}

QString LostCharsQuestion(RecordEncoding encoding, const std::vector<char32_t>& lost,
                          LostCharsUse use) {
    QString names;
    for (std::size_t i = 0; i < lost.size() && i < kNamedChars; ++i)
        names += QStringLiteral("「%1」").arg(CharText(lost[i]));
    if (lost.size() > kNamedChars)
        names += QStringLiteral(" ほか%1文字").arg(lost.size() - kNamedChars);
    const QString code =
        encoding == RecordEncoding::Cp932 ? QStringLiteral("シフトJIS") : QStringLiteral("UTF-8");
    if (use == LostCharsUse::Save) {
        return QStringLiteral("次の%1種類の文字は選んだ文字コード（%2）で書けません。\n%3\n\n"
                              "「?」に置き換えて保存しますか？\n"
                              "「いいえ」を選ぶと保存しません。")
            .arg(lost.size())
            .arg(code, names);
    }
    return QStringLiteral("次の%1種類の文字はこのファイルの文字コード（%2）で書けません。\n%3\n\n"
                          "「?」に置き換えて追記しますか？\n"
                          "「いいえ」を選ぶと何も追記しません。")
        .arg(lost.size())
        .arg(code, names);
}

QString AppendedStatusText(const QString& path) {
    return QStringLiteral("追記しました: %1").arg(path);
}

} // namespace ulvan
