#include "sheet/PrintSheet.h"

#include "calendar/TextUtil.h"
#include "sheet/Canvas.h"
#include "sheet/PrinterMetrics.h"
#include "sheet/QtText.h"
#include "ui/Interaction.h"

#include <QPainter>
#include <QPrinter>

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

} // namespace

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
    const SheetOptions& options = sheetJob.Options;
    if (options.FntName1.empty() || options.FntName2.empty()) {
        Show(interaction, kFontMissingMessage);
    }
    if (sheetJob.TitleMissing) {
        Show(interaction, sheetJob.TitleMissingMessage);
    }
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
    }
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

void MemorialSheetPrinter::PrintMemorialSheet(bool blank) {
    MemorialSheetInputs inputs = m_read();
    const FooterLayout before = inputs.Footer;
    ulvan::PrintMemorialSheet(blank, inputs, *m_printer, m_interaction, m_parent);
    if (!(inputs.Footer == before)) {
        WriteFooter(inputs.Footer);
    }
}

} // namespace ulvan
