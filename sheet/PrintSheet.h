// The print command of the memorial sheet and the printer it prints on. The main window's
// print and blank-sheet commands and the preview's print button all come here.
#pragma once

#include "sheet/MemorialPage.h"

#include <QByteArray>
#include <QPageSize>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QPainter;
class QPrinter;
class QWidget;

namespace ulvan {

class Interaction;

inline const QString kFontMissingMessage =
    QStringLiteral("表題または本文のフォントが指定されていません。\n仮のフォントを使用します");
inline const QString kTitleMissingMessage =
    QStringLiteral("表題が指定されていません。\n仮に「Ulvan表」とします");
inline const QString kMarginCaption = QStringLiteral("警告");
inline const QString kMarginQuestion =
    QStringLiteral("プリンタの印刷可能領域を\nこえる可能性があります。\n印刷しますか？");
inline const QString kPrintStartFailed =
    QStringLiteral("プリンタに印刷を始められませんでした。\n印刷は行われていません。");
inline const QString kPrintEndFailed =
    QStringLiteral("印刷を正しく終えられませんでした。\nプリンタを確かめてください。");
inline const QString kPdfCaption = QStringLiteral("PDFファイルに印刷");
inline const QString kPdfSaveCaption = QStringLiteral("PDFに保存");
inline const QString kPdfMakeFailed =
    QStringLiteral("PDFを作れませんでした。\nファイルは書き込まれていません。");

// A sheet's page in the reading view: `painter` draws on a landscape device of paper height x
// paper width, the sheet laid out as on portrait paper of portraitWidth x portraitHeight.
using ReadingPageDrawer =
    std::function<void(QPainter&, int portraitWidth, int portraitHeight, FooterDrawRequest&)>;

// The one-page PDF of a sheet in its reading view, made in memory (the command line and the
// windows' "PDFに保存…" both come here): `paper` turned landscape, no margins, `title` as
// the document's title. Footer reports go to `messages`. Nothing when drawing failed.
std::optional<QByteArray> MakeSheetPdf(const ReadingPageDrawer& draw, const QString& title,
                                       QPageSize::PageSizeId paper, MessageSink& messages);

// The messages every sheet shows before its print or save dialog: the font message when a
// font is not chosen, then the title message when the title is missing.
void ShowSheetMessages(const SheetOptions& options, bool titleMissing,
                       const QString& titleMissingMessage, MessageSink& messages);

// The file name the save dialog proposes: the posthumous name and the date of death, with
// characters no file name may hold replaced; `prefix` goes first (such as "年回表").
QString ProposedPdfName(const DeceasedData& deceased, const QString& prefix);

// What a sheet's "PDFに保存…" needs: the print job's messages, the document title, the name
// proposed and the page in its reading view.
struct SheetPdfJob {
    SheetOptions Options;
    bool TitleMissing = false;
    QString TitleMissingMessage;
    QString Title;
    QString ProposedName;
    ReadingPageDrawer Draw;
};

// "PDFに保存…": the font and title messages, the save dialog (cancel: nothing written), then
// the PDF made in memory and written in one step; a failure is reported and leaves no partial
// file and an earlier file as it was. No printer is involved. True when the file was written.
bool SaveSheetPdf(const SheetPdfJob& job, Interaction& interaction, QWidget* parent);

// The memorial sheet's save job (`blank`: the printed form only).
SheetPdfJob MemorialPdfJob(bool blank, MemorialSheetInputs& inputs);

// What distinguishes one sheet's print job from another's: the options whose fonts are
// checked, whether the title is missing and the message that says so, and the page itself
// (drawn on a canvas whose origin is the corner of the printable area).
struct SheetPrintJob {
    SheetOptions Options;
    bool TitleMissing = false;
    QString TitleMissingMessage;
    std::function<void(Canvas&, const PageMetrics&, FooterDrawRequest&)> DrawPage;
};

// While it lives, a printer that the print dialog set to write a PDF file writes into a
// scratch file instead; Finish() then puts that PDF under the chosen name as every replaced
// file is written (whole, or the earlier file left as it was). The printer gets its chosen
// file name back at the end. A printer that prints on paper is left alone.
class PdfFileGuard {
public:
    explicit PdfFileGuard(QPrinter& printer);
    ~PdfFileGuard();
    PdfFileGuard(const PdfFileGuard&) = delete;
    PdfFileGuard& operator=(const PdfFileGuard&) = delete;

    // Empty when the job may start; else the message why it cannot.
    const QString& StartProblem() const { return m_problem; }
    // After the job ended well: empty when the PDF is in place (or the job was on paper),
    // else the message for the user.
    QString Finish();

private:
    QPrinter& m_printer;
    QString m_target;
    QString m_scratch;
    QString m_problem;
};

// The print sequence every sheet shares: the font and title messages, the print dialog
// (cancel: nothing more), the printable-area warning (No: nothing printed), then one page.
// A job that fails part way is aborted and reported, never left open. When the dialog leaves
// the printer writing a PDF without a file name, the file is asked for (cancel: nothing).
void PrintSheetPage(const SheetPrintJob& job, QPrinter& printer, Interaction& interaction,
                    QWidget* parent);

// The one-page print of the memorial sheet (`blank`: the printed form only) on `printer`:
// the font and title messages, the print dialog (cancel: nothing more), the printable-area
// warning (No: nothing printed), then the page. A job that fails part way is aborted and
// reported, never left open. When the dialog leaves the printer writing a PDF without a file
// name, the file is asked for (cancel: nothing printed). The footer renderer may mark a
// picture that fails to load in `inputs.Footer`.
void PrintMemorialSheet(bool blank, MemorialSheetInputs& inputs, QPrinter& printer,
                        Interaction& interaction, QWidget* parent);

// Holds the application's printer (the printer and settings last chosen stay for the run)
// and reads the main window's values each time a sheet is printed.
class MemorialSheetPrinter {
public:
    using InputReader = std::function<MemorialSheetInputs()>;
    // Receives the footer layout when drawing changed it (a picture marked unreadable).
    using FooterWriter = std::function<void(const FooterLayout&)>;

    MemorialSheetPrinter(Interaction& interaction, InputReader read, FooterWriter write,
                         QWidget* parent);
    ~MemorialSheetPrinter();
    MemorialSheetPrinter(const MemorialSheetPrinter&) = delete;
    MemorialSheetPrinter& operator=(const MemorialSheetPrinter&) = delete;

    // Before the sheet of the case is printed, previewed or saved: a date of death that does
    // not exist is asked about (false: the clerk said no), a posthumous name too long to be
    // printed is said. The blank form needs neither.
    bool ConfirmCase(bool blank);
    // `asked`: ConfirmCase already ran for this case (the preview asked when it opened).
    void PrintMemorialSheet(bool blank, bool asked = false);
    // "PDFに保存…" of the memorial sheet; true when a file was written.
    bool SaveMemorialSheetPdf(bool blank, bool asked = false);
    // The values as the sheets read them now.
    MemorialSheetInputs ReadInputs() const { return m_read(); }
    void WriteFooter(const FooterLayout& layout) const;
    QPrinter& Printer() { return *m_printer; }
    Interaction& UserInteraction() { return m_interaction; }

private:
    Interaction& m_interaction;
    InputReader m_read;
    FooterWriter m_write;
    QWidget* m_parent;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace ulvan
