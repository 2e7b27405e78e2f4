// The program started as a command: what it reports when its output cannot be written.
// Each case runs the built program in a child process: standard output on /dev/full, on a
// file under a small file size limit (SIGXFSZ ignored, so the write fails with EFBIG part
// way), or closed; the PDF of `ulvan sheet` likewise.
#include "FileLimits.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <sys/resource.h>
#include <unistd.h>

namespace {

enum class Output { Normal, DevFull, SizeLimit, Closed };

struct Result {
    int Code = -1;
    QByteArray Out;
    QString Err;
};

const QByteArray kOldPdf = QByteArray("%PDF-1.4 the sheet printed last week\n").repeated(20);

class TestCliProcess : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void StandardOutputFailures_data();
    void StandardOutputFailures();
    void StandardOutputWorks_data();
    void StandardOutputWorks();
    void SheetPdfFailures_data();
    void SheetPdfFailures();
    void SheetWritesNonAsciiName();
    void SheetRefusesNameNotUtf8();
    void FullDiskKeepsEarlierFile_data();
    void FullDiskKeepsEarlierFile();
    void WindowIgnoresFileSizeSignal();

private:
    Result Start(const QStringList& args, Output output, rlim_t sizeLimit = 0,
                 bool ignoreSignal = true);

    QTemporaryDir m_dir;
    QString m_work; // fresh per test
};

void TestCliProcess::initTestCase() {
    QVERIFY(m_dir.isValid());
    QVERIFY(QFile::exists(QStringLiteral(ULVAN_PROGRAM)));
}

void TestCliProcess::init() {
    m_work = m_dir.filePath(QString::fromLatin1(QTest::currentTestFunction()) +
                            QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_'));
    QVERIFY(QDir().mkpath(m_work));
}

Result TestCliProcess::Start(const QStringList& args, Output output, rlim_t sizeLimit,
                             bool ignoreSignal) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    const QString outFile = m_work + QStringLiteral("/stdout.txt");
    if (output == Output::DevFull)
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
    else if (output == Output::SizeLimit)
        process.setStandardOutputFile(outFile);
    process.setChildProcessModifier([output, sizeLimit, ignoreSignal] {
        if (sizeLimit > 0) {
            // Ignored, it stays ignored across exec; otherwise the program must see to it.
            std::signal(SIGXFSZ, ignoreSignal ? SIG_IGN : SIG_DFL);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = sizeLimit;
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (output == Output::Closed)
            close(STDOUT_FILENO);
    });
    process.start(QStringLiteral(ULVAN_PROGRAM), args);
    Result result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.Code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.Out = output == Output::SizeLimit ? [&outFile] {
        QFile file(outFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }()
                                             : process.readAllStandardOutput();
    result.Err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

struct PrintingCommand {
    const char* Tag;
    QStringList Args;
};

// Every command that prints, with a call that prints more than a few bytes.
QList<PrintingCommand> PrintingCommands() {
    return {
        {"help", {QStringLiteral("--help")}},
        {"schedule",
         {QStringLiteral("schedule"), QStringLiteral("2019"), QStringLiteral("1"),
          QStringLiteral("31")}},
        {"schedule help", {QStringLiteral("schedule"), QStringLiteral("--help")}},
        {"wareki",
         {QStringLiteral("wareki"), QStringLiteral("1989"), QStringLiteral("1"),
          QStringLiteral("0")}},
        {"annual", {QStringLiteral("annual"), QStringLiteral("2018")}},
        {"quicktable", {QStringLiteral("quicktable"), QStringLiteral("2019")}},
        {"sheet help", {QStringLiteral("sheet"), QStringLiteral("--help")}},
    };
}

} // namespace

void TestCliProcess::StandardOutputFailures_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("output");
    QTest::addColumn<int>("error"); // errno the reason is the text of
    const struct {
        const char* Tag;
        Output Where;
        int Error;
    } outputs[] = {
        {"/dev/full", Output::DevFull, ENOSPC},
        {"size limit", Output::SizeLimit, EFBIG},
        {"closed", Output::Closed, EBADF},
    };
    for (const PrintingCommand& command : PrintingCommands()) {
        for (const auto& output : outputs) {
            QTest::addRow("%s, %s", command.Tag, output.Tag)
                << command.Args << static_cast<int>(output.Where) << output.Error;
        }
    }
}

void TestCliProcess::StandardOutputFailures() {
    QFETCH(QStringList, args);
    QFETCH(int, output);
    QFETCH(int, error);
    const auto where = static_cast<Output>(output);
    const Result result = Start(args, where, where == Output::SizeLimit ? 5 : 0);
    QCOMPARE(result.Code, 1);
    QVERIFY2(result.Err.contains(QStringLiteral("書き込めません")), qPrintable(result.Err));
    QVERIFY2(result.Err.contains(QString::fromLocal8Bit(std::strerror(error))),
             qPrintable(result.Err));
    if (where == Output::SizeLimit)
        QCOMPARE(result.Out.size(), 5); // it failed part way, after the first bytes
}

void TestCliProcess::StandardOutputWorks_data() {
    QTest::addColumn<QStringList>("args");
    for (const PrintingCommand& command : PrintingCommands())
        QTest::newRow(command.Tag) << command.Args;
}

void TestCliProcess::StandardOutputWorks() {
    QFETCH(QStringList, args);
    const Result result = Start(args, Output::Normal);
    QCOMPARE(result.Code, 0);
    QVERIFY(result.Out.size() > 8);
    QVERIFY(result.Out.endsWith('\n'));
}

void TestCliProcess::SheetPdfFailures_data() {
    QTest::addColumn<QString>("target"); // relative to the work folder unless absolute
    QTest::addColumn<bool>("oldFile");   // an earlier PDF at that name
    QTest::addColumn<int>("sizeLimit");  // 0: none
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("ignoreSignal"); // SIGXFSZ ignored by the caller
    QTest::newRow("/dev/full") << QStringLiteral("/dev/full") << false << 0 << 0 << true;
    QTest::newRow("full part way, no earlier file")
        << QStringLiteral("sheet.pdf") << false << 4096 << EFBIG << true;
    QTest::newRow("full part way, earlier file kept")
        << QStringLiteral("sheet.pdf") << true << 4096 << EFBIG << true;
    QTest::newRow("full part way, signal left to the program")
        << QStringLiteral("sheet.pdf") << true << 4096 << EFBIG << false;
    QTest::newRow("missing folder")
        << QStringLiteral("no/such/sheet.pdf") << false << 0 << ENOENT << true;
}

void TestCliProcess::SheetPdfFailures() {
    QFETCH(QString, target);
    QFETCH(bool, oldFile);
    QFETCH(int, sizeLimit);
    QFETCH(int, error);
    QFETCH(bool, ignoreSignal);
    const QString file = target.startsWith(u'/') ? target : m_work + u'/' + target;
    if (oldFile) {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        QCOMPARE(old.write(kOldPdf), kOldPdf.size());
    }
    const QStringList before = QDir(m_work).entryList(QDir::Files);
    const Result result = Start({QStringLiteral("sheet"), QStringLiteral("--pdf"), file},
                                Output::Normal, static_cast<rlim_t>(sizeLimit), ignoreSignal);
    QCOMPARE(result.Code, 1);
    QVERIFY2(result.Err.contains(QStringLiteral("ファイルを書き込めません: ") + file),
             qPrintable(result.Err));
    if (error != 0)
        QVERIFY2(result.Err.contains(QString::fromLocal8Bit(std::strerror(error))),
                 qPrintable(result.Err));
    // Nothing new beside it, and the earlier sheet byte for byte.
    QCOMPARE(QDir(m_work).entryList(QDir::Files), before);
    if (oldFile) {
        QFile old(file);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), kOldPdf);
    }
}

void TestCliProcess::SheetWritesNonAsciiName() {
    const QString file = m_work + QStringLiteral("/忌日表 café.pdf");
    const Result result =
        Start({QStringLiteral("sheet"), QStringLiteral("--pdf"), file}, Output::Normal);
    QCOMPARE(result.Code, 0);
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.readAll().startsWith("%PDF"));
}

void TestCliProcess::SheetRefusesNameNotUtf8() {
    // "caf\xe9.pdf" in Latin-1: not a name the program can hold; it must not make another.
    const QByteArray name = QFile::encodeName(m_work) + "/caf\xe9.pdf";
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    // The argument's bytes go to the child unchanged only through a shell variable's escape.
    const QByteArray script =
        "exec \"$0\" sheet --pdf \"$(printf '" + QFile::encodeName(m_work) + "/caf\\351.pdf')\"";
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QString::fromUtf8(script), QStringLiteral(ULVAN_PROGRAM)});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 2);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("UTF-8")), qPrintable(err));
    QVERIFY(QDir(m_work).entryList(QDir::Files).isEmpty()); // neither that name nor another
    QVERIFY(!QFile::exists(QFile::decodeName(name)));
}

void TestCliProcess::FullDiskKeepsEarlierFile_data() {
    QTest::addColumn<QStringList>("args"); // the file's name follows them
    QTest::addColumn<QByteArray>("earlier");
    QTest::newRow("ical") << QStringList{QStringLiteral("ical"),     QStringLiteral("2024"),
                                         QStringLiteral("3"),        QStringLiteral("10"),
                                         QStringLiteral("--annual"), QStringLiteral("--ics")}
                          << QByteArray("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
    QTest::newRow("sheet --pdf") << QStringList{QStringLiteral("sheet"), QStringLiteral("--pdf")}
                                 << kOldPdf;
}

void TestCliProcess::FullDiskKeepsEarlierFile() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, earlier);
    ulvan::test::SmallFileSystem disk(64 * 1024);
    if (!disk.Usable())
        QSKIP(disk.Why());
    const QString file = disk.Path(QStringLiteral("out"));
    QVERIFY(disk.Put(QStringLiteral("out"), earlier));
    QVERIFY(disk.Fill(512)); // less than either result takes
    const Result result = Start(args << file, Output::Normal);
    QCOMPARE(result.Code, 1);
    QVERIFY2(result.Err.contains(QStringLiteral("ファイルを書き込めません: ") + file),
             qPrintable(result.Err));
    QFile old(file);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), earlier);
    QCOMPARE(QDir(disk.Path(QString())).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// The windows, too, must not end at a file size limit (the record append rolls back instead).
void TestCliProcess::WindowIgnoresFileSizeSignal() {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setChildProcessModifier([] { std::signal(SIGXFSZ, SIG_DFL); });
    process.start(QStringLiteral(ULVAN_PROGRAM), QStringList{});
    QVERIFY(process.waitForStarted());
    const QString status = QStringLiteral("/proc/%1/status").arg(process.processId());
    const auto ignored = [&status] {
        QFile file(status);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith("SigIgn:"))
                return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGXFSZ - 1) & 1) != 0;
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(ignored(), 30000);
    process.kill();
    process.waitForFinished();
}

QTEST_GUILESS_MAIN(TestCliProcess)
#include "tst_cliprocess.moc"
