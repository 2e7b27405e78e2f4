// The one writer of replaced files: whole or nothing, the earlier file kept on failure.
#include "FileLimits.h"
#include "case/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace ulvan;

namespace {

QByteArray ReadAll(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

bool WriteDirectly(const QString& name, const QByteArray& data) {
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.flush();
}

// Limits the size of files this process writes while it lives, with the signal that would
// end the process ignored, so that a write past the limit fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool Active() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
    bool m_active = false;
};

const QByteArray kOld = QByteArray("old contents\n").repeated(50);
const QByteArray kNew = QByteArray("new contents, longer than the old ones\n").repeated(2000);

} // namespace

class TestAtomicFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void WritesNewFile();
    void ReplacesExistingFileKeepingItsMode();
    void FollowsSymbolicLink();
    void EmptyContents();
    void Refusals_data();
    void Refusals();
    void FailurePartWayKeepsOldFile();
    void FullDiskKeepsOldFile_data();
    void FullDiskKeepsOldFile();

private:
    QString Path(const char* name) const { return m_dir->filePath(QString::fromUtf8(name)); }
    QStringList Entries() const {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestAtomicFile::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestAtomicFile::WritesNewFile() {
    const QString name = Path("new.txt");
    const FileWriteResult result = WriteFileAtomically(name, kNew);
    QVERIFY2(result.Ok, qPrintable(result.Message));
    QVERIFY(result.Message.isEmpty());
    QCOMPARE(ReadAll(name), kNew);
    QCOMPARE(Entries(), QStringList{QStringLiteral("new.txt")}); // no temporary file left
    // A new file is readable by others as the user's mask allows, not private to the writer.
    const mode_t mask = umask(0);
    umask(mask);
    struct stat info {};
    QCOMPARE(stat(QFile::encodeName(name).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777u, 0666u & ~mask);
}

void TestAtomicFile::ReplacesExistingFileKeepingItsMode() {
    const QString name = Path("kept.txt");
    QVERIFY(WriteDirectly(name, kOld));
    QCOMPARE(chmod(QFile::encodeName(name).constData(), 0640), 0);
    QVERIFY(WriteFileAtomically(name, kNew).Ok);
    QCOMPARE(ReadAll(name), kNew);
    struct stat info {};
    QCOMPARE(stat(QFile::encodeName(name).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777u, 0640u);
    QCOMPARE(Entries().size(), 1);
}

void TestAtomicFile::FollowsSymbolicLink() {
    const QString target = Path("target.txt");
    const QString link = Path("link.txt");
    QVERIFY(WriteDirectly(target, kOld));
    QVERIFY(QFile::link(target, link));
    QVERIFY(WriteFileAtomically(link, kNew).Ok);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(ReadAll(target), kNew);
}

void TestAtomicFile::EmptyContents() {
    const QString name = Path("empty.txt");
    QVERIFY(WriteDirectly(name, kOld));
    QVERIFY(WriteFileAtomically(name, QByteArray()).Ok);
    QCOMPARE(QFileInfo(name).size(), 0);
}

void TestAtomicFile::Refusals_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing folder") << QStringLiteral("missing folder");
    QTest::newRow("folder in its place") << QStringLiteral("folder");
    QTest::newRow("device") << QStringLiteral("device");
    QTest::newRow("pipe") << QStringLiteral("pipe");
    QTest::newRow("no name") << QStringLiteral("no name");
}

void TestAtomicFile::Refusals() {
    QFETCH(QString, kind);
    QString name;
    if (kind == QStringLiteral("missing folder")) {
        name = Path("no/such/folder/file.pdf");
    } else if (kind == QStringLiteral("folder")) {
        name = Path("folder");
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
    } else if (kind == QStringLiteral("device")) {
        // Replacing it would put a plain file in place of the device (as the administrator).
        name = QStringLiteral("/dev/full");
    } else if (kind == QStringLiteral("pipe")) {
        name = Path("fifo");
        QCOMPARE(mkfifo(QFile::encodeName(name).constData(), 0600), 0);
    }
    const QStringList before = Entries();
    struct stat was {};
    const bool existed = !name.isEmpty() && stat(QFile::encodeName(name).constData(), &was) == 0;

    const FileWriteResult result = WriteFileAtomically(name, kNew);
    QVERIFY(!result.Ok);
    QVERIFY2(result.Message.startsWith(QStringLiteral("ファイルを書き込めません: ")),
             qPrintable(result.Message));
    QVERIFY2(result.Message.contains(name), qPrintable(result.Message));
    // The reason in brackets, not empty.
    QVERIFY2(result.Message.endsWith(QLatin1Char(')')) &&
                 !result.Message.endsWith(QStringLiteral("()")),
             qPrintable(result.Message));
    QCOMPARE(Entries(), before);
    if (existed) {
        struct stat is {};
        QCOMPARE(stat(QFile::encodeName(name).constData(), &is), 0);
        QCOMPARE(is.st_mode, was.st_mode);
        QCOMPARE(is.st_ino, was.st_ino);
    }
}

void TestAtomicFile::FailurePartWayKeepsOldFile() {
    const QString name = Path("partial.pdf");
    QVERIFY(WriteDirectly(name, kOld));
    FileWriteResult result;
    {
        const FileSizeLimit limit(4096); // the old file fits, the new one does not
        QVERIFY(limit.Active());
        result = WriteFileAtomically(name, kNew);
    }
    QVERIFY(!result.Ok);
    QVERIFY2(result.Message.contains(QString::fromLocal8Bit(strerror(EFBIG))),
             qPrintable(result.Message));
    QCOMPARE(ReadAll(name), kOld);
    QCOMPARE(Entries(), QStringList{QStringLiteral("partial.pdf")});
    // The same write succeeds once the limit is gone.
    QVERIFY(WriteFileAtomically(name, kNew).Ok);
    QCOMPARE(ReadAll(name), kNew);
}

void TestAtomicFile::FullDiskKeepsOldFile_data() {
    QTest::addColumn<int>("size");
    // Qt's write buffer holds 16 KiB: a smaller file reaches the disk only when it is closed.
    QTest::newRow("smaller than the write buffer") << 8 * 1024;
    QTest::newRow("larger than the write buffer") << 100 * 1024;
}

void TestAtomicFile::FullDiskKeepsOldFile() {
    QFETCH(int, size);
    test::SmallFileSystem disk(64 * 1024);
    if (!disk.Usable())
        QSKIP(disk.Why());
    const QString name = disk.Path(QStringLiteral("table.txt"));
    QVERIFY(WriteDirectly(name, kOld));
    QVERIFY(disk.Fill(4096));

    const QByteArray contents = kNew.left(size).leftJustified(size, 'z');
    const FileWriteResult result = WriteFileAtomically(name, contents);
    QVERIFY(!result.Ok);
    QVERIFY2(result.Message.contains(QString::fromLocal8Bit(strerror(ENOSPC))),
             qPrintable(result.Message));
    QCOMPARE(ReadAll(name), kOld);
    QCOMPARE(QDir(QFileInfo(name).path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral(".filler"), QStringLiteral("table.txt")}));
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
