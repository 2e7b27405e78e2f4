// Printing the memorial sheet (messages, dialog, printable-area warning, the one page) and the
// print preview window (zoom, fit, print button), answered through the scripted interaction.
// The printer writes PDF files into a temporary directory.
#include "FileLimits.h"
#include "ModalDriver.h"
#include "ScriptedInteraction.h"
#include "annual/Nenkai.h"
#include "annual/NenkaiSheet.h"
#include "annual/NenkaiUnit.h"
#include "case/AtomicFile.h"
#include "sheet/MemorialPage.h"
#include "sheet/PrevUnit.h"
#include "sheet/PrintSheet.h"
#include "sheet/QtText.h"
#include "tests/support/SampleCase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cmath>
#include <optional>

using namespace ulvan;

Q_DECLARE_METATYPE(QList<int>)

namespace {

using ulvan::test::FilledCase;

// A printer dialog answer that prints to `file` with the given margins (millimetres).
std::function<void(QPrinter&)> ToPdf(const QString& file, QMarginsF margins = QMarginsF()) {
    return [file, margins](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setFullPage(false);
        printer.setPageMargins(margins, QPageLayout::Millimeter);
    };
}

int PdfPageCount(const QString& file) {
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray data = pdf.readAll();
    return static_cast<int>(data.count("/Type /Page\n") + data.count("/Type /Page\r") +
                            data.count("/Type /Page "));
}

// The drawing operations of a PDF's one page: its content stream, inflated.
QByteArray PdfPageContent(const QString& file) {
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray data = pdf.readAll();
    const QRegularExpression contents(QStringLiteral("/Contents (\\d+) 0 R"));
    const QRegularExpressionMatch ref = contents.match(QString::fromLatin1(data));
    if (!ref.hasMatch()) {
        return {};
    }
    const QByteArray object = "\n" + ref.captured(1).toLatin1() + " 0 obj";
    const qsizetype at = data.indexOf(object);
    const qsizetype begin = data.indexOf("stream\n", at);
    const qsizetype end = data.indexOf("endstream", begin);
    if (at < 0 || begin < 0 || end < 0) {
        return {};
    }
    QByteArray deflated = data.mid(begin + 7, end - begin - 7);
    while (deflated.endsWith('\n') || deflated.endsWith('\r')) {
        deflated.chop(1);
    }
    // qUncompress wants the expected size in front; it grows the buffer when that is short.
    const quint32 guess = static_cast<quint32>(deflated.size()) * 8;
    QByteArray framed(4, '\0');
    framed[0] = static_cast<char>((guess >> 24) & 0xff);
    framed[1] = static_cast<char>((guess >> 16) & 0xff);
    framed[2] = static_cast<char>((guess >> 8) & 0xff);
    framed[3] = static_cast<char>(guess & 0xff);
    const QByteArray inflated = qUncompress(framed + deflated);
    return inflated.isEmpty() ? deflated : inflated;
}

// The first line where two page contents part, for the failure message.
QString FirstDifference(const QByteArray& got, const QByteArray& expected) {
    const QList<QByteArray> a = got.split('\n');
    const QList<QByteArray> b = expected.split('\n');
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i]) {
            return QStringLiteral("line %1: \"%2\" instead of \"%3\"")
                .arg(i + 1)
                .arg(QString::fromLatin1(a[i]), QString::fromLatin1(b[i]));
        }
    }
    return QStringLiteral("%1 lines instead of %2").arg(a.size()).arg(b.size());
}

// The sheets a run prints one after the other: memorial sheets and annual charts.
enum class SheetKind { Filled, Blank, Boxed, Annual, AnnualBlank };

MemorialSheetInputs InputsOf(SheetKind kind) {
    MemorialSheetInputs in = FilledCase();
    in.Options.KaimyoStyle = kind == SheetKind::Boxed ? 1 : 0;
    return in;
}

// The filled case with the annual window's chart of a death in 2024, all rows checked.
NenkaiSheetInputs AnnualInputs() {
    const MemorialSheetInputs base = FilledCase();
    NenkaiSheetInputs in;
    in.Deceased = base.Deceased;
    in.Options = base.Options;
    in.Footer = base.Footer;
    in.Chart.Title = u"年回表";
    in.Chart.Year = u"2024";
    in.Chart.Era = u"令和";
    in.Chart.EraYear = u" 6";
    std::array<bool, 21> checked{};
    checked.fill(true);
    if (const auto results =
            ComputeNenkai(in.Chart.Year, in.Deceased.KiGatsu, in.Deceased.KiNichi)) {
        in.Chart.Rows = NenkaiPrintedRows(*results, checked);
    }
    return in;
}

void PrintOfKind(SheetKind kind, QPrinter& printer, Interaction& ui) {
    if (kind == SheetKind::Annual || kind == SheetKind::AnnualBlank) {
        NenkaiSheetInputs in = AnnualInputs();
        PrintNenkaiSheet(kind == SheetKind::AnnualBlank, in, printer, ui, nullptr);
        return;
    }
    MemorialSheetInputs in = InputsOf(kind);
    PrintMemorialSheet(kind == SheetKind::Blank, in, printer, ui, nullptr);
}

const QString kFontMessage = QStringLiteral("message: ") + kFontMissingMessage;
const QString kTitleMessage = QStringLiteral("message: ") + kTitleMissingMessage;
const QString kConfirm = QStringLiteral("confirm: 警告 | ") + kMarginQuestion;

} // namespace

class TestPrintSheet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void MessagesBeforeTheDialog_data();
    void MessagesBeforeTheDialog();
    void CancelledDialogPrintsNothing();
    void MarginWarning_data();
    void MarginWarning();
    void PrintsOnePage_data();
    void PrintsOnePage();
    void PdfWithoutFileAsksForOne();
    void PrintToPdfOnFullDiskKeepsEarlierFile();
    void PrinterObjectKeepsTheChoice();
    void SheetsOfOneRunAsPrintedAlone_data();
    void SheetsOfOneRunAsPrintedAlone();
    void MissingPictureMarkedForTheRunOnly();

    void PreviewFitsAndZooms();
    void SavePdfWritesWhatTheCommandLineWrites_data();
    void SavePdfWritesWhatTheCommandLineWrites();
    void SavePdfCancelledWritesNothing();
    void SavePdfFailureLeavesNoPartialFile_data();
    void SavePdfFailureLeavesNoPartialFile();
    void PreviewResizeRefitsOnlyAtLevelZero();
    void PreviewOpensMaximisedAndPrints();
    void PreviewZoomedOpensAtReadingEnd_data();
    void PreviewZoomedOpensAtReadingEnd();
    void PreviewPaintsTheSheet();
    void PreviewFooterMessageOncePerShowing();
    void PreviewOfTheAnnualChartPrintsThatChart();

private:
    QTemporaryDir m_dir;
};

void TestPrintSheet::initTestCase() {
    QVERIFY(m_dir.isValid());
}

void TestPrintSheet::MessagesBeforeTheDialog_data() {
    QTest::addColumn<QString>("font1");
    QTest::addColumn<QString>("font2");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("blank");
    QTest::addColumn<QStringList>("expected");
    const QString f = QStringLiteral("IPAGothic");
    const QString t = QStringLiteral("忌日表");
    const QString print = QStringLiteral("print");
    QTest::newRow("all set") << f << f << t << false << QStringList{print};
    QTest::newRow("title font empty")
        << QString() << f << t << false << QStringList{kFontMessage, print};
    QTest::newRow("body font empty")
        << f << QString() << t << false << QStringList{kFontMessage, print};
    QTest::newRow("both fonts empty: one message")
        << QString() << QString() << t << false << QStringList{kFontMessage, print};
    QTest::newRow("title empty") << f << f << QString() << false
                                 << QStringList{kTitleMessage, print};
    QTest::newRow("all empty: fonts then title") << QString() << QString() << QString() << false
                                                 << QStringList{kFontMessage, kTitleMessage, print};
    QTest::newRow("blank sheet asks the same") << QString() << QString() << QString() << true
                                               << QStringList{kFontMessage, kTitleMessage, print};
}

void TestPrintSheet::MessagesBeforeTheDialog() {
    QFETCH(QString, font1);
    QFETCH(QString, font2);
    QFETCH(QString, title);
    QFETCH(bool, blank);
    QFETCH(QStringList, expected);
    ScriptedInteraction ui;
    ui.AnswerPrintDialog(false);
    MemorialSheetInputs in = FilledCase();
    in.Options.FntName1 = ToU16(font1);
    in.Options.FntName2 = ToU16(font2);
    in.Options.TitName = ToU16(title);
    QPrinter printer;
    PrintMemorialSheet(blank, in, printer, ui, nullptr);
    QCOMPARE(ui.Log, expected);
    QCOMPARE(ui.PendingAnswers(), std::size_t{0});
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
}

void TestPrintSheet::CancelledDialogPrintsNothing() {
    ScriptedInteraction ui;
    ui.AnswerPrintDialog(false);
    MemorialSheetInputs in = FilledCase();
    QPrinter printer;
    const QString file = m_dir.filePath(QStringLiteral("cancelled.pdf"));
    ToPdf(file, QMarginsF(40, 40, 40, 40))(printer); // would warn, were it asked
    PrintMemorialSheet(false, in, printer, ui, nullptr);
    QVERIFY(!QFile::exists(file));
    QCOMPARE(ui.Log, QStringList{QStringLiteral("print")});
}

void TestPrintSheet::MarginWarning_data() {
    QTest::addColumn<QMarginsF>("margins");
    QTest::addColumn<bool>("warned");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("printed");
    // A4 is 210 x 297 mm: left limit 19.99 mm, top and bottom 19.99 mm, right 24.99 mm.
    QTest::newRow("no margins") << QMarginsF(0, 0, 0, 0) << false << false << true;
    QTest::newRow("usual margins") << QMarginsF(5, 5, 5, 5) << false << false << true;
    QTest::newRow("left too wide, no") << QMarginsF(21, 0, 0, 0) << true << false << false;
    QTest::newRow("left too wide, yes") << QMarginsF(21, 0, 0, 0) << true << true << true;
    QTest::newRow("top too wide") << QMarginsF(0, 21, 0, 0) << true << false << false;
    QTest::newRow("right within") << QMarginsF(0, 0, 24, 0) << false << false << true;
    QTest::newRow("right too wide") << QMarginsF(0, 0, 26, 0) << true << false << false;
    QTest::newRow("bottom too wide") << QMarginsF(0, 0, 0, 21) << true << true << true;
}

void TestPrintSheet::MarginWarning() {
    QFETCH(QMarginsF, margins);
    QFETCH(bool, warned);
    QFETCH(bool, answer);
    QFETCH(bool, printed);
    ScriptedInteraction ui;
    const QString file = m_dir.filePath(
        QStringLiteral("margin-%1.pdf").arg(QString::fromLatin1(QTest::currentDataTag())));
    ui.AnswerPrintDialog(true, ToPdf(file, margins));
    if (warned) {
        ui.AnswerConfirm(answer);
    }
    MemorialSheetInputs in = FilledCase();
    QPrinter printer(QPrinter::HighResolution);
    PrintMemorialSheet(false, in, printer, ui, nullptr);
    QStringList expected{QStringLiteral("print")};
    if (warned) {
        expected << QStringLiteral("beep: exclamation") << kConfirm;
    }
    QCOMPARE(ui.Log, expected);
    if (warned) {
        QCOMPARE(ui.Questions.back().Kind, Interaction::ConfirmKind::Warning);
    }
    QCOMPARE(QFile::exists(file), printed);
    QCOMPARE(ui.PendingAnswers(), std::size_t{0});
}

void TestPrintSheet::PrintsOnePage_data() {
    QTest::addColumn<bool>("blank");
    QTest::addColumn<bool>("footer");
    QTest::newRow("filled") << false << false;
    QTest::newRow("blank") << true << false;
    QTest::newRow("filled with footer") << false << true;
}

void TestPrintSheet::SavePdfWritesWhatTheCommandLineWrites_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("fromPreview"); // the preview's button rather than the command
    QTest::newRow("memorial") << static_cast<int>(SheetKind::Filled) << false;
    QTest::newRow("blank") << static_cast<int>(SheetKind::Blank) << false;
    QTest::newRow("annual") << static_cast<int>(SheetKind::Annual) << false;
    QTest::newRow("memorial, preview") << static_cast<int>(SheetKind::Filled) << true;
    QTest::newRow("annual, preview") << static_cast<int>(SheetKind::Annual) << true;
}

// The windows' "PDFに保存…" and `ulvan sheet --pdf` draw the same one page.
void TestPrintSheet::SavePdfWritesWhatTheCommandLineWrites() {
    QFETCH(int, kind);
    QFETCH(bool, fromPreview);
    const auto sheet = static_cast<SheetKind>(kind);
    const bool annual = sheet == SheetKind::Annual;
    const bool blank = sheet == SheetKind::Blank;
    const QString file = m_dir.filePath(
        QStringLiteral("save-%1.pdf").arg(QString::fromLatin1(QTest::currentDataTag())));
    ScriptedInteraction ui;
    ui.AnswerSaveFile(file);
    NenkaiSheetInputs chart = AnnualInputs();
    bool written = false;
    MemorialSheetPrinter printer(
        ui, [] { return FilledCase(); }, {}, nullptr);
    const auto saveAnnual = [&] {
        written = SaveSheetPdf(NenkaiPdfJob(false, chart), ui, nullptr);
    };
    if (fromPreview) {
        TPrevForm preview(printer);
        preview.AnnualSavePdf = saveAnnual;
        preview.AnnualPainter = [](Canvas&, int, int, FooterDrawRequest&) {};
        WhenModal([&](QWidget*) {
            QTest::mouseClick(preview.SpeedButton5, Qt::LeftButton);
            preview.close();
        });
        preview.ShowPreview(annual ? 1 : 0);
        if (!annual)
            written = QFileInfo::exists(file);
    } else if (annual) {
        saveAnnual();
    } else {
        written = printer.SaveMemorialSheetPdf(blank);
    }
    QVERIFY(written);
    QCOMPARE(ui.PendingAnswers(), std::size_t{0});
    QCOMPARE(ui.Dialogs.size(), std::size_t{1});
    QCOMPARE(ui.Dialogs.front().Caption, kPdfSaveCaption);
    QVERIFY(ui.Dialogs.front().Dir.endsWith(
        ProposedPdfName(FilledCase().Deceased, annual ? QStringLiteral("年回表") : QString())));
    QCOMPARE(PdfPageCount(file), 1);

    // What the command line makes for the same case.
    ScriptedInteraction quiet;
    MemorialSheetInputs memorial = FilledCase();
    const std::optional<QByteArray> expected = MakeSheetPdf(
        [&](QPainter& painter, int width, int height, FooterDrawRequest& request) {
            if (annual) {
                DrawNenkaiReadingPage(painter, width, height, chart, false, request);
            } else {
                DrawMemorialReadingPage(painter, width, height, memorial, blank, request);
            }
        },
        QString(), QPageSize::A4, quiet);
    QVERIFY(expected.has_value());
    const QString reference = m_dir.filePath(
        QStringLiteral("cli-%1.pdf").arg(QString::fromLatin1(QTest::currentDataTag())));
    QVERIFY(WriteFileAtomically(reference, *expected));
    const QByteArray got = PdfPageContent(file);
    const QByteArray want = PdfPageContent(reference);
    QVERIFY(!want.isEmpty());
    QVERIFY2(got == want, qPrintable(FirstDifference(got, want)));
}

void TestPrintSheet::SavePdfCancelledWritesNothing() {
    QDir folder(m_dir.filePath(QStringLiteral("cancelled")));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    ScriptedInteraction ui;
    ui.AnswerSaveFile(QString());
    MemorialSheetPrinter printer(
        ui, [] { return FilledCase(); }, {}, nullptr);
    QVERIFY(!printer.SaveMemorialSheetPdf(false));
    QCOMPARE(ui.Dialogs.size(), std::size_t{1});
    QVERIFY(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    QVERIFY(ui.Log.filter(QStringLiteral("message: ")).isEmpty());
}

void TestPrintSheet::SavePdfFailureLeavesNoPartialFile_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<int>("sizeLimit"); // bytes a file may grow to; 0: no limit
    QTest::newRow("missing folder") << QStringLiteral("missing") << false << false << 0;
    QTest::newRow("read-only folder") << QStringLiteral("readonly") << true << true << 0;
    QTest::newRow("disk full part way") << QStringLiteral("full") << true << false << 4096;
}

// A save that fails says so once, with the file's name, and leaves the folder as it was:
// no partial PDF, no temporary file, an earlier PDF of that name untouched.
void TestPrintSheet::SavePdfFailureLeavesNoPartialFile() {
    QFETCH(QString, folder);
    QFETCH(bool, folderExists);
    QFETCH(bool, readOnly);
    QFETCH(int, sizeLimit);
    const QString path = m_dir.filePath(folder);
    const QString file = path + QStringLiteral("/sheet.pdf");
    const QByteArray earlier("an earlier sheet");
    if (folderExists) {
        QVERIFY(QDir().mkpath(path));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        QCOMPARE(old.write(earlier), earlier.size());
    }
    if (readOnly)
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                QFileDevice::ReadOther | QFileDevice::ExeOther));
    ScriptedInteraction ui;
    ui.AnswerSaveFile(file);
    MemorialSheetPrinter printer(
        ui, [] { return FilledCase(); }, {}, nullptr);
    bool written = true;
    {
        std::optional<test::AsOrdinaryUser> user;
        if (readOnly)
            user.emplace();
        std::optional<test::FileSizeLimit> limit;
        if (sizeLimit > 0)
            limit.emplace(static_cast<rlim_t>(sizeLimit));
        written = printer.SaveMemorialSheetPdf(false);
    }
    QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner) ||
            !folderExists);
    QVERIFY(!written);
    const QStringList messages = ui.Log.filter(QStringLiteral("message: "));
    QCOMPARE(messages.size(), 1);
    const QString expectedStart =
        QStringLiteral("message: ") + FileWriteFailureMessage(file, QString()).chopped(3);
    QVERIFY2(messages.front().startsWith(expectedStart), qPrintable(messages.front()));
    if (!folderExists) {
        QVERIFY(!QFileInfo::exists(path));
        return;
    }
    QCOMPARE(QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("sheet.pdf")});
    QFile old(file);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), earlier);
}

// A PDF chosen in the print dialog is not written in place: a full disk leaves the earlier
// file and says so.
void TestPrintSheet::PrintToPdfOnFullDiskKeepsEarlierFile() {
    test::SmallFileSystem disk(64 * 1024);
    if (!disk.Usable())
        QSKIP(disk.Why());
    const QString file = disk.Path(QStringLiteral("sheet.pdf"));
    const QByteArray earlier("an earlier sheet");
    QVERIFY(disk.Put(QStringLiteral("sheet.pdf"), earlier));
    QVERIFY(disk.Fill(4096));
    ScriptedInteraction ui;
    ui.AnswerPrintDialog(true, ToPdf(file));
    MemorialSheetInputs in = FilledCase();
    QPrinter printer(QPrinter::HighResolution);
    PrintMemorialSheet(false, in, printer, ui, nullptr);
    const QStringList messages = ui.Log.filter(QStringLiteral("message: "));
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.front().contains(file), qPrintable(messages.front()));
    QFile old(file);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), earlier);
    QCOMPARE(printer.outputFileName(), file); // the dialog's choice stays for the next job
}

void TestPrintSheet::PrintsOnePage() {
    QFETCH(bool, blank);
    QFETCH(bool, footer);
    ScriptedInteraction ui;
    const QString file = m_dir.filePath(
        QStringLiteral("page-%1.pdf").arg(QString::fromLatin1(QTest::currentDataTag())));
    ui.AnswerPrintDialog(true, ToPdf(file, QMarginsF(4, 4, 4, 4)));
    MemorialSheetInputs in = FilledCase();
    in.Options.TmplNamePrint = footer;
    if (footer) {
        FooterFrame frame;
        frame.Left = u"500";
        frame.Top = u"1000";
        frame.Right = u"9500";
        frame.Bottom = u"9000";
        frame.FontHeight = u"1400";
        frame.Spacing = u"150";
        frame.FontFace = u"IPAMincho";
        frame.Kind = u"P";
        frame.Content = u"浄土真宗　光明山　西念寺";
        in.Footer.Append(frame);
    }
    QPrinter printer(QPrinter::HighResolution);
    PrintMemorialSheet(blank, in, printer, ui, nullptr);
    QCOMPARE(ui.Log, QStringList{QStringLiteral("print")});
    QCOMPARE(PdfPageCount(file), 1);
    // For looking at the pages: ULVAN_PRINT_DUMP=/dir keeps a copy of each.
    const QByteArray dump = qgetenv("ULVAN_PRINT_DUMP");
    if (!dump.isEmpty()) {
        const QString copy =
            QString::fromLocal8Bit(dump) + QLatin1Char('/') + QFileInfo(file).fileName();
        QFile::remove(copy);
        QVERIFY(QFile::copy(file, copy));
    }
}

void TestPrintSheet::PdfWithoutFileAsksForOne() {
    ScriptedInteraction ui;
    ui.AnswerPrintDialog(true, [](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString());
    });
    ui.AnswerSaveFile(QString()); // cancelled
    MemorialSheetInputs in = FilledCase();
    QPrinter printer;
    PrintMemorialSheet(false, in, printer, ui, nullptr);
    QCOMPARE(ui.Log,
             (QStringList{QStringLiteral("print"), QStringLiteral("save: ") + kPdfCaption}));

    const QString file = m_dir.filePath(QStringLiteral("named.pdf"));
    ui.ClearRecords();
    ui.AnswerPrintDialog(true, [](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(QString());
        p.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
    });
    ui.AnswerSaveFile(file);
    PrintMemorialSheet(false, in, printer, ui, nullptr);
    QCOMPARE(PdfPageCount(file), 1);
}

void TestPrintSheet::PrinterObjectKeepsTheChoice() {
    ScriptedInteraction ui;
    const QString first = m_dir.filePath(QStringLiteral("first.pdf"));
    ui.AnswerPrintDialog(true, ToPdf(first));
    ui.AnswerPrintDialog(true); // the user just confirms what was chosen before
    MemorialSheetPrinter printer(
        ui, [] { return FilledCase(); }, {}, nullptr);
    printer.PrintMemorialSheet(false);
    QVERIFY(QFile::remove(first));
    printer.PrintMemorialSheet(true);
    QCOMPARE(PdfPageCount(first), 1);
}

void TestPrintSheet::SheetsOfOneRunAsPrintedAlone_data() {
    QTest::addColumn<QList<int>>("kinds");
    const int filled = int(SheetKind::Filled);
    const int blank = int(SheetKind::Blank);
    const int boxed = int(SheetKind::Boxed);
    const int annual = int(SheetKind::Annual);
    const int annualBlank = int(SheetKind::AnnualBlank);
    QTest::newRow("two filled") << QList<int>{filled, filled};
    QTest::newRow("filled, blank, boxed") << QList<int>{filled, blank, boxed};
    QTest::newRow("boxed, filled, blank, filled") << QList<int>{boxed, filled, blank, filled};
    QTest::newRow("blank, blank, boxed, boxed") << QList<int>{blank, blank, boxed, boxed};
    QTest::newRow("annual, annual, filled") << QList<int>{annual, annual, filled};
    QTest::newRow("filled, annual, blank annual, boxed")
        << QList<int>{filled, annual, annualBlank, boxed};
}

// A run keeps its printer from one sheet to the next; every sheet's page (its frame, rules,
// name box and every character in its place) is drawn as that sheet printed alone on a printer
// of its own.
void TestPrintSheet::SheetsOfOneRunAsPrintedAlone() {
    QFETCH(QList<int>, kinds);
    const QString tag =
        QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'));
    ScriptedInteraction ui;
    QPrinter runPrinter(QPrinter::HighResolution);
    for (qsizetype i = 0; i < kinds.size(); ++i) {
        const auto kind = static_cast<SheetKind>(kinds[i]);
        const QString alone = m_dir.filePath(QStringLiteral("alone-%1-%2.pdf").arg(tag).arg(i));
        const QString inRun = m_dir.filePath(QStringLiteral("run-%1-%2.pdf").arg(tag).arg(i));
        {
            QPrinter own(QPrinter::HighResolution);
            ui.AnswerPrintDialog(true, ToPdf(alone, QMarginsF(4, 4, 4, 4)));
            PrintOfKind(kind, own, ui);
        }
        ui.AnswerPrintDialog(true, ToPdf(inRun, QMarginsF(4, 4, 4, 4)));
        PrintOfKind(kind, runPrinter, ui);
        QCOMPARE(PdfPageCount(inRun), 1);
        const QByteArray expected = PdfPageContent(alone);
        const QByteArray got = PdfPageContent(inRun);
        QVERIFY(expected.contains(" re\n") || expected.contains(" l\n")); // ruled, inflated
        QVERIFY2(got == expected, qPrintable(QStringLiteral("sheet %1 of the run, %2")
                                                 .arg(i + 1)
                                                 .arg(FirstDifference(got, expected))));
    }
    QCOMPARE(ui.PendingAnswers(), std::size_t{0});
}

void TestPrintSheet::MissingPictureMarkedForTheRunOnly() {
    ScriptedInteraction ui;
    const QString file = m_dir.filePath(QStringLiteral("marked.pdf"));
    ui.AnswerPrintDialog(true, ToPdf(file));
    MemorialSheetInputs in = FilledCase();
    in.Options.TmplNamePrint = true;
    FooterFrame picture;
    picture.Left = u"0";
    picture.Top = u"0";
    picture.Right = u"2000";
    picture.Bottom = u"2000";
    picture.Kind = u"F";
    picture.Content = ToU16(m_dir.filePath(QStringLiteral("missing.bmp")));
    in.Footer.Append(picture);
    std::optional<FooterLayout> written;
    MemorialSheetPrinter printer(
        ui, [in] { return in; }, [&written](const FooterLayout& l) { written = l; }, nullptr);
    printer.PrintMemorialSheet(false);
    // The missing picture is marked for this run only: the layout keeps the frame's kind, so
    // there is nothing to write back to the case.
    QVERIFY(!written.has_value());
    QCOMPARE(FooterKindForRun(in.Footer, 0), std::u16string(kFooterUnreadable));
    QVERIFY(ui.Messages.contains(ToQ(kFooterLoadFailedMessage)));
    ForgetUnreadablePictures();
    QCOMPARE(PdfPageCount(file), 1);
}

// --- the preview ------------------------------------------------------------------------------

void TestPrintSheet::PreviewFitsAndZooms() {
    ScriptedInteraction ui;
    MemorialSheetPrinter printer(
        ui, [] { return FilledCase(); }, {}, nullptr);
    TPrevForm form(printer);
    form.resize(900, 700);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QSize box = form.ScrollBox1->viewport()->size();
    const PreviewPage fitted = FitPreviewPage(box.width(), box.height());
    QCOMPARE(form.ZoomLevel, 0);
    QCOMPARE(PreviewPage(form.PreviewWidth, form.PreviewHeight), fitted);
    QCOMPARE(form.PaintBox1->size(), box);

    QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
    QCOMPARE(form.ZoomLevel, 1);
    const int h1 = static_cast<int>(std::nearbyint(fitted.Height * 1.414213));
    QCOMPARE(form.PreviewHeight, h1);
    QCOMPARE(form.PreviewWidth, static_cast<int>(std::nearbyint(h1 * 1.414213)));
    QCOMPARE(form.PaintBox1->size(), QSize(form.PreviewWidth, form.PreviewHeight));
    QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
    QCOMPARE(form.ZoomLevel, 2);
    QVERIFY(!form.SpeedButton2->isEnabled());
    form.ZoomIn(); // ignored at the top level
    QCOMPARE(form.ZoomLevel, 2);

    QTest::mouseClick(form.SpeedButton3, Qt::LeftButton);
    QVERIFY(form.SpeedButton2->isEnabled());
    QTest::mouseClick(form.SpeedButton3, Qt::LeftButton);
    QCOMPARE(form.ZoomLevel, 0);
    QCOMPARE(PreviewPage(form.PreviewWidth, form.PreviewHeight),
             FitPreviewPage(form.ScrollBox1->viewport()->width(),
                            form.ScrollBox1->viewport()->height()));
    QTest::mouseClick(form.SpeedButton3, Qt::LeftButton);
    QTest::mouseClick(form.SpeedButton3, Qt::LeftButton);
    QCOMPARE(form.ZoomLevel, -2);
    QVERIFY(!form.SpeedButton3->isEnabled());
    QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
    QCOMPARE(form.ZoomLevel, -1);
    QVERIFY(form.SpeedButton3->isEnabled());
}

void TestPrintSheet::PreviewResizeRefitsOnlyAtLevelZero() {
    ScriptedInteraction ui;
    MemorialSheetPrinter printer(
        ui, [] { return FilledCase(); }, {}, nullptr);
    TPrevForm form(printer);
    form.resize(900, 700);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ZoomIn();
    const PreviewPage zoomed{form.PreviewWidth, form.PreviewHeight};
    form.resize(1000, 800);
    QTRY_COMPARE(form.size(), QSize(1000, 800));
    QCoreApplication::processEvents(); // the resize reaches the preview's own handler
    QCOMPARE(PreviewPage(form.PreviewWidth, form.PreviewHeight), zoomed);
    form.ZoomOut();
    form.resize(700, 600);
    QTRY_COMPARE(form.size(), QSize(700, 600));
    const auto fitted = [&form] {
        const QSize box = form.ScrollBox1->viewport()->size();
        return PreviewPage(form.PreviewWidth, form.PreviewHeight) ==
               FitPreviewPage(box.width(), box.height());
    };
    QTRY_VERIFY(fitted());
}

void TestPrintSheet::PreviewOpensMaximisedAndPrints() {
    ScriptedInteraction ui;
    ui.AnswerPrintDialog(false);
    MemorialSheetPrinter printer(
        ui, [] { return FilledCase(); }, {}, nullptr);
    TPrevForm form(printer);
    bool maximised = false;
    QString caption;
    WhenModal([&](QWidget* w) {
        maximised = w->isMaximized() || (w->windowState() & Qt::WindowMaximized);
        caption = w->windowTitle();
        QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
        QTest::mouseClick(form.SpeedButton4, Qt::LeftButton);
    });
    form.ShowPreview(0);
    QVERIFY(maximised);
    QCOMPARE(caption, QStringLiteral("印刷プレビュー"));
    QCOMPARE(form.PreviewKind, 0);
    QVERIFY(!form.isVisible());
    QCOMPARE(ui.Log, QStringList{QStringLiteral("print")});
    QCOMPARE(form.SpeedButton1->text(), QStringLiteral("印刷"));
    QCOMPARE(form.SpeedButton4->toolTip(), QStringLiteral("プレビュー・フォームを閉じます"));
    // The bar in order: 印刷, PDFに保存…, ズームイン, ズームアウト, 閉じる.
    const QToolButton* const bar[] = {form.SpeedButton1, form.SpeedButton5, form.SpeedButton2,
                                      form.SpeedButton3, form.SpeedButton4};
    for (std::size_t i = 1; i < std::size(bar); ++i) {
        QVERIFY(bar[i - 1]->geometry().right() < bar[i]->geometry().left());
        QCOMPARE(bar[i]->geometry().size(), bar[0]->geometry().size());
    }
    QCOMPARE(form.SpeedButton5->text(), kPdfSaveCaption + QStringLiteral("…"));
}

void TestPrintSheet::PreviewZoomedOpensAtReadingEnd_data() {
    QTest::addColumn<int>("level");
    QTest::newRow("level 1") << 1;
    QTest::newRow("level 2") << 2;
}

// The sheet is read from its right end (title, date, name): a page larger than the window
// opens scrolled to the right and the top, each time it is shown and at each zoom step; the
// user's own scrolling is kept while it stays open.
void TestPrintSheet::PreviewZoomedOpensAtReadingEnd() {
    QFETCH(int, level);
    ScriptedInteraction ui;
    MemorialSheetPrinter printer(
        ui, [] { return FilledCase(); }, {}, nullptr);
    TPrevForm form(printer);
    // Zoomed in an earlier showing.
    form.resize(900, 700);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (int i = 0; i < level; ++i) {
        form.ZoomIn();
    }
    QCOMPARE(form.ZoomLevel, level);
    form.close();
    struct Seen {
        int across = -1;
        int acrossEnd = 0;
        int down = -1;
    };
    const auto seen = [&form] {
        const QScrollBar* across = form.ScrollBox1->horizontalScrollBar();
        return Seen{across->value(), across->maximum(),
                    form.ScrollBox1->verticalScrollBar()->value()};
    };
    for (int showing = 0; showing < 2; ++showing) {
        Seen opened;
        Seen userScrolled;
        WhenModal([&](QWidget*) {
            // The maximised window settles its size, then the view goes to the reading end.
            static_cast<void>(QTest::qWaitFor(
                [&] {
                    const Seen now = seen();
                    return now.acrossEnd > 0 && now.across == now.acrossEnd;
                },
                30000)); // the checks below say what it reached
            opened = seen();
            // The user scrolls to the left end and down: the view stays there.
            QScrollBar* across = form.ScrollBox1->horizontalScrollBar();
            across->triggerAction(QAbstractSlider::SliderToMinimum);
            form.ScrollBox1->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
            QCoreApplication::processEvents(); // nothing queued moves the view back
            userScrolled = seen();
            form.close();
        });
        form.ShowPreview(0);
        QVERIFY2(opened.acrossEnd > 0, "the zoomed page is wider than the window");
        QCOMPARE(opened.across, opened.acrossEnd);
        QCOMPARE(opened.down, 0);
        QCOMPARE(userScrolled.across, 0);
        QVERIFY(userScrolled.down > 0);
    }
    // A zoom step while open starts at the reading end again.
    form.resize(900, 700);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ScrollBox1->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    if (level == 2) {
        form.ZoomOut();
    } else {
        form.ZoomIn();
    }
    QTRY_VERIFY(seen().acrossEnd > 0 && seen().across == seen().acrossEnd);
    const Seen stepped = seen();
    QVERIFY(stepped.acrossEnd > 0);
    QCOMPARE(stepped.across, stepped.acrossEnd);
    QCOMPARE(stepped.down, 0);
}

void TestPrintSheet::PreviewPaintsTheSheet() {
    ScriptedInteraction ui;
    MemorialSheetPrinter printer(
        ui, [] { return FilledCase(); }, {}, nullptr);
    TPrevForm form(printer);
    form.resize(1200, 900);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (int level : {0, 2}) {
        while (form.ZoomLevel < level) {
            form.ZoomIn();
        }
        const QImage image = form.PaintBox1->grab().toImage();
        QCOMPARE(image.size(), QSize(form.PreviewWidth, form.PreviewHeight)
                                   .expandedTo(level == 0 ? form.PaintBox1->size() : QSize()));
        // Ink in the name column (screen x 0.7785 of the width, from y 0.2476 of the height).
        int ink = 0;
        const int x0 = static_cast<int>((0.7785 - 0.035) * form.PreviewWidth);
        const int x1 = static_cast<int>(0.7785 * form.PreviewWidth);
        for (int y = static_cast<int>(0.25 * form.PreviewHeight);
             y < static_cast<int>(0.6 * form.PreviewHeight); ++y) {
            for (int x = x0; x < x1; ++x) {
                ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
            }
        }
        QVERIFY2(ink > 50, qPrintable(QStringLiteral("level %1: %2").arg(level).arg(ink)));
        const QByteArray dump = qgetenv("ULVAN_PREVIEW_DUMP");
        if (!dump.isEmpty()) {
            image.save(QString::fromLocal8Bit(dump) + QStringLiteral("-%1.png").arg(level));
        }
    }
}

void TestPrintSheet::PreviewFooterMessageOncePerShowing() {
    ScriptedInteraction ui;
    MemorialSheetInputs in = FilledCase();
    in.Options.TmplNamePrint = true;
    FooterFrame frame;
    frame.Left = u"0";
    frame.Top = u"0";
    frame.Right = u"1000";
    frame.Bottom = u"1000";
    frame.Kind = u"Non"; // a picture that failed to load earlier
    in.Footer.Append(frame);
    MemorialSheetPrinter printer(
        ui, [in] { return in; }, {}, nullptr);
    TPrevForm form(printer);
    const QString unreadable = ToQ(std::u16string(kFooterUnreadableMessage));
    for (int showing = 1; showing <= 2; ++showing) {
        int shownDuringShowing = -1;
        WhenModal([&](QWidget*) {
            for (int i = 0; i < 3; ++i) {
                form.PaintBox1->repaint(); // each paint meets the frame again
                QCoreApplication::processEvents();
            }
            shownDuringShowing = static_cast<int>(ui.Messages.count(unreadable));
            form.close();
        });
        form.ShowPreview(0);
        QCOMPARE(shownDuringShowing, showing); // once per showing, after the paint
    }
}

void TestPrintSheet::PreviewOfTheAnnualChartPrintsThatChart() {
    ScriptedInteraction ui;
    MemorialSheetPrinter printer(
        ui, [] { return FilledCase(); }, {}, nullptr);
    TPrevForm form(printer);
    int annualPrints = 0;
    int annualPaints = 0;
    form.AnnualPrint = [&annualPrints] { ++annualPrints; };
    form.AnnualPainter = [&annualPaints](Canvas&, int, int, FooterDrawRequest&) { ++annualPaints; };
    WhenModal([&](QWidget*) {
        form.PaintBox1->repaint();
        QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
        form.close();
    });
    form.ShowPreview(1);
    QCOMPARE(form.PreviewKind, 1);
    QCOMPARE(annualPrints, 1);
    QVERIFY(annualPaints >= 1);
    QVERIFY(ui.Log.isEmpty()); // the memorial sheet's print dialog never opened
}

QTEST_MAIN(TestPrintSheet)
#include "tst_printsheet.moc"
