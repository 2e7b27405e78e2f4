// Conditions under which writing a file fails part way or is refused: a file size limit for
// the process, an ordinary user where the tests run as root, and a small file system that is
// (nearly) full.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace ulvan::test {

// Root writes to read-only files and folders; while this lives the process runs as an
// ordinary user.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() {
        if (::geteuid() == 0)
            m_switched = ::seteuid(65534) == 0;
    }
    ~AsOrdinaryUser() {
        if (m_switched)
            static_cast<void>(::seteuid(0));
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    bool m_switched = false;
};

// A file size limit for this process while it lives; writing beyond it fails with EFBIG
// instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// A memory file system of `bytes` mounted on a scratch folder while this lives (the test must
// run as root, as CI does; elsewhere Usable() is false and the test skips with Why()). Fill()
// leaves about `free` bytes, so that a write of more fails with ENOSPC as on a full disk.
class SmallFileSystem {
public:
    explicit SmallFileSystem(int bytes) {
        if (!m_dir.isValid()) {
            m_why = "no scratch folder";
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
        if (::geteuid() != 0) {
            m_why = "mounting a small file system needs root";
            return;
        }
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                            options.constData()) == 0;
        if (!m_mounted)
            m_why = "mount of a tmpfs refused here";
    }
    ~SmallFileSystem() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool Usable() const { return m_mounted; }
    const char* Why() const { return m_why; }
    QString Path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

    // Writes `bytes` as the file `name` (the earlier file a failed save must keep); false when
    // it could not be written.
    bool Put(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
    }

    // Writes a filler file until at most `free` bytes remain (tmpfs counts in pages).
    bool Fill(qint64 free) {
        QFile filler(Path(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(1024, 'x');
        while (filler.write(block) == block.size()) {
        }
        filler.close();
        // Give back what was asked for, a page at a time.
        const qint64 page = 4096;
        const qint64 size = QFile(filler.fileName()).size();
        return QFile::resize(filler.fileName(), std::max<qint64>(0, size - (free / page) * page));
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    const char* m_why = "";
};

} // namespace ulvan::test
