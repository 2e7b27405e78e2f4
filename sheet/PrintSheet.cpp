#include "sheet/PrintSheet.h"

#include "calendar/TextUtil.h"
#include "case/AtomicFile.h"
#include "sheet/Canvas.h"
#include "sheet/MemorialSheet.h"
#include "sheet/PrinterMetrics.h"
#include "sheet/QtText.h"
#include "ui/Interaction.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryFile>

namespace ulvan {

namespace {

void Show(Interaction& interaction, const QString& text) {
    interaction.ShowMessage(ToU16(text));
}

// Ends the painter on every way out, aborting the job when it did not finish, so that no
// half-written job stays open.
class JobGuard {
public:
    JobGuard(QPainter& painter, QPrinter& printer)
        : m_painter(painter)
        , m_printer(printer) {}
    ~JobGuard() {
        if (m_painter.isActive()) {
            if (!m_done) {
                m_printer.abort();
            }
            m_painter.end();
        }
    }
    JobGuard(const JobGuard&) = delete;
    JobGuard& operator=(const JobGuard&) = delete;
    // Ends the job normally; false when the printer reported a failure.
    bool Finish() {
        m_done = true;
        return m_painter.end();
    }

private:
    QPainter& m_painter;
    QPrinter& m_printer;
    bool m_done = false;
};

constexpr int kPdfResolution = 600;

} // namespace

std::optional<QByteArray> MakeSheetPdf(const ReadingPageDrawer& draw, const QString& title,
                                       QPageSize::PageSizeId paper, MessageSink& messages) {
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&document);
        writer.setResolution(kPdfResolution);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Ulvan表"));
        writer.setPageLayout(QPageLayout(QPageSize(paper), QPageLayout::Landscape, QMarginsF()));
        const QRect full = writer.pageLayout().fullRectPixels(kPdfResolution);
        QPainter painter;
        if (!painter.begin(&writer)) {
            return std::nullopt;
        }
        // The landscape page's height is the portrait paper's width.
        FooterDrawRequest request(&messages);
        try {
            draw(painter, full.height(), full.width(), request);
        } catch (const std::exception&) {
            painter.end();
            return std::nullopt;
        }
        if (!painter.end()) {
            return std::nullopt;
        }
    }
    return document.data();
}

void ShowSheetMessages(const SheetOptions& options, bool titleMissing,
                       const QString& titleMissingMessage, MessageSink& messages) {
    if (options.FntName1.empty() || options.FntName2.empty()) {
        messages.ShowMessage(ToU16(kFontMissingMessage));
    }
    if (titleMissing) {
        messages.ShowMessage(ToU16(titleMissingMessage));
    }
}

QString ProposedPdfName(const DeceasedData& deceased, const QString& prefix) {
    QStringList parts;
    if (!prefix.isEmpty()) {
        parts << prefix;
    }
    const QString name = ToQ(deceased.Kaimyo).trimmed();
    if (!name.isEmpty()) {
        parts << name;
    }
    const QString year = ToQ(deceased.KiNen).trimmed();
    const QString month = ToQ(deceased.KiGatsu).trimmed();
    const QString day = ToQ(deceased.KiNichi).trimmed();
    if (!year.isEmpty() && !month.isEmpty() && !day.isEmpty()) {
        parts << year + QStringLiteral("年") + month + QStringLiteral("月") + day +
                     QStringLiteral("日");
    }
    if (parts.isEmpty()) {
        parts << QStringLiteral("Ulvan表");
    }
    QString file = parts.join(QLatin1Char('_'));
    for (QChar& c : file) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c)) {
            c = QLatin1Char('_');
        }
    }
    return file + QStringLiteral(".pdf");
}

bool SaveSheetPdf(const SheetPdfJob& job, Interaction& interaction, QWidget* parent) {
    ShowSheetMessages(job.Options, job.TitleMissing, job.TitleMissingMessage, interaction);
    QPageSize::PageSizeId paper = QPageSize::A4;
    const QString file = interaction.SavePdfFileName(
        parent, kPdfSaveCaption, QDir::home().filePath(job.ProposedName), paper);
    if (file.isEmpty()) {
        return false;
    }
    const std::optional<QByteArray> pdf = MakeSheetPdf(job.Draw, job.Title, paper, interaction);
    if (!pdf) {
        Show(interaction, kPdfMakeFailed);
        return false;
    }
    if (const FileWriteResult written = WriteFileAtomically(file, *pdf); !written) {
        Show(interaction, written.Message);
        return false;
    }
    return true;
}

SheetPdfJob MemorialPdfJob(bool blank, MemorialSheetInputs& inputs) {
    SheetPdfJob job;
    job.Options = inputs.Options;
    job.TitleMissing = inputs.Options.TitName.empty();
    job.TitleMissingMessage = kTitleMissingMessage;
    job.Title = ToQ(SheetTitle(inputs.Options.TitName));
    job.ProposedName = ProposedPdfName(inputs.Deceased, QString());
    job.Draw = [&inputs, blank](QPainter& painter, int width, int height,
                                FooterDrawRequest& request) {
        DrawMemorialReadingPage(painter, width, height, inputs, blank, request);
    };
    return job;
}

void PrintMemorialSheet(bool blank, MemorialSheetInputs& inputs, QPrinter& printer,
                        Interaction& interaction, QWidget* parent) {
    SheetPrintJob job;
    job.Options = inputs.Options;
    job.TitleMissing = inputs.Options.TitName.empty();
    job.TitleMissingMessage = kTitleMissingMessage;
    job.DrawPage = [&inputs, blank](Canvas& canvas, const PageMetrics& page,
                                    FooterDrawRequest& request) {
        DrawMemorialPaper(canvas, page, inputs, blank, request);
    };
    PrintSheetPage(job, printer, interaction, parent);
}

void PrintSheetPage(const SheetPrintJob& sheetJob, QPrinter& printer, Interaction& interaction,
                    QWidget* parent) {
    ShowSheetMessages(sheetJob.Options, sheetJob.TitleMissing, sheetJob.TitleMissingMessage,
                      interaction);
    printer.setPageOrientation(QPageLayout::Portrait);
    if (!interaction.PrintDialog(parent, printer)) {
        return;
    }
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty()) {
        // No printer is installed, or the user chose a file without naming one.
        const QString file =
            interaction.SaveFileName(parent, kPdfCaption, QString(), QStringLiteral("PDF (*.pdf)"));
        if (file.isEmpty()) {
            return;
        }
        printer.setOutputFileName(file);
    }
    const PageMetrics page = PrinterPageMetrics(printer);
    if (ExceedsPrintableArea(page)) {
        interaction.Beep(BeepKind::Exclamation);
        if (!interaction.Confirm(Interaction::ConfirmKind::Warning, kMarginCaption,
                                 kMarginQuestion)) {
            return;
        }
    }
    printer.setDocName(QString());
    PdfFileGuard pdfFile(printer);
    if (!pdfFile.StartProblem().isEmpty()) {
        Show(interaction, pdfFile.StartProblem());
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        Show(interaction, kPrintStartFailed);
        return;
    }
    // The printer lives for the run; each job starts from the default state, whatever the
    // previous job left with the printer's engine.
    ResetPainterState(painter);
    bool finished = false;
    {
        JobGuard job(painter, printer);
        try {
            QPainterCanvas canvas(painter);
            FooterDrawRequest request(&interaction);
            sheetJob.DrawPage(canvas, page, request);
            finished = job.Finish();
        } catch (const std::exception&) {
            finished = false;
        }
    }
    if (!finished) {
        Show(interaction, kPrintEndFailed);
        return;
    }
    if (const QString problem = pdfFile.Finish(); !problem.isEmpty())
        Show(interaction, problem);
}

PdfFileGuard::PdfFileGuard(QPrinter& printer)
    : m_printer(printer) {
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return;
    m_target = printer.outputFileName();
    QTemporaryFile scratch(QDir::temp().filePath(QStringLiteral("ulvan-print-XXXXXX.pdf")));
    scratch.setAutoRemove(false);
    if (!scratch.open()) {
        m_problem = FileWriteFailureMessage(m_target, scratch.errorString());
        return;
    }
    m_scratch = scratch.fileName();
    printer.setOutputFileName(m_scratch);
}

PdfFileGuard::~PdfFileGuard() {
    if (!m_scratch.isEmpty()) {
        m_printer.setOutputFileName(m_target);
        QFile::remove(m_scratch);
    }
}

QString PdfFileGuard::Finish() {
    if (m_scratch.isEmpty())
        return QString();
    QFile printed(m_scratch);
    const QByteArray pdf = printed.open(QIODevice::ReadOnly) ? printed.readAll() : QByteArray();
    // A PDF's last line is written last: without it the scratch file was cut short.
    if (!pdf.trimmed().endsWith("%%EOF"))
        return kPrintEndFailed;
    if (const FileWriteResult written = WriteFileAtomically(m_target, pdf); !written)
        return written.Message;
    return QString();
}

MemorialSheetPrinter::MemorialSheetPrinter(Interaction& interaction, InputReader read,
                                           FooterWriter write, QWidget* parent)
    : m_interaction(interaction)
    , m_read(std::move(read))
    , m_write(std::move(write))
    , m_parent(parent)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

MemorialSheetPrinter::~MemorialSheetPrinter() = default;

void MemorialSheetPrinter::WriteFooter(const FooterLayout& layout) const {
    if (m_write) {
        m_write(layout);
    }
}

bool MemorialSheetPrinter::ConfirmCase(bool blank) {
    if (blank)
        return true;
    const SheetCaseCheck check = CheckSheetCase(m_read().Deceased);
    if (check.NameNotPrinted) {
        m_interaction.Beep(BeepKind::Exclamation);
        m_interaction.ShowMessage(kNameNotPrintedMessage);
    }
    if (check.MissingDate.empty())
        return true;
    m_interaction.Beep(BeepKind::Exclamation);
    return m_interaction.Confirm(Interaction::ConfirmKind::Warning, QStringLiteral("警告"),
                                 ToQ(MissingDateQuestion(check.MissingDate)));
}

void MemorialSheetPrinter::PrintMemorialSheet(bool blank, bool asked) {
    if (!asked && !ConfirmCase(blank))
        return;
    MemorialSheetInputs inputs = m_read();
    const FooterLayout before = inputs.Footer;
    ulvan::PrintMemorialSheet(blank, inputs, *m_printer, m_interaction, m_parent);
    if (!(inputs.Footer == before)) {
        WriteFooter(inputs.Footer);
    }
}

bool MemorialSheetPrinter::SaveMemorialSheetPdf(bool blank, bool asked) {
    if (!asked && !ConfirmCase(blank))
        return false;
    MemorialSheetInputs inputs = m_read();
    const FooterLayout before = inputs.Footer;
    const bool written = SaveSheetPdf(MemorialPdfJob(blank, inputs), m_interaction, m_parent);
    if (!(inputs.Footer == before)) {
        WriteFooter(inputs.Footer);
    }
    return written;
}

} // namespace ulvan
