// The quick table window (年回早見表): the quick table (QuickTable.h) for a
// year, in a small plain-text editor that opens, saves and prints text files. It reaches the
// main window only through CaseHost (the era names, today's date, the window it stands
// over) and talks to the user only through Interaction.
#pragma once

#include "quicktable/TextFile.h"

#include <QDialog>
#include <QString>

#include <functional>

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace ulvan {

// The section of the guide that SearchforHelpOn1 opens.
inline constexpr const char* kQuickTableHelpAnchor = "quicktable";

class CaseHost;
class Interaction;
class UpDown;

class THayamiForm : public QDialog {
    Q_OBJECT

public:
    // `printer` is the application's printer (the one the sheets print on); host, interaction
    // and printer must outlive the window.
    THayamiForm(CaseHost& host, Interaction& interaction, QPrinter& printer,
                QWidget* parent = nullptr);

    // The main window's command: the current year, four digits, into Edit2; then the
    // window modally (its showing regenerates the table).
    void Execute();

    // SearchforHelpOn1: opens the guide at `anchor` (kQuickTableHelpAnchor), over this window.
    std::function<void(const QString& anchor)> OnHelp;

    // --- the window's routines, as its events run them ---
    // Regenerates the text from Edit2, ComboBox1 and Edit3 (empties it when Edit2 is not an
    // integer, keeping the caption); clears the modified flag; sets the caption.
    void BuildQuickTable();
    // ComboBox1 and Edit3 from Edit2.
    void SyncFiscalEra();
    // Edit2 from ComboBox1 and Edit3; Edit2 is left as it is when the combo's text names no
    // era, and emptied when Edit3 is not an integer.
    void FiscalYearFromEra();
    // Open1: the save question, the open dialog, the file.
    void OpenFile();
    // SaveAs1: the save dialog and the file; true when the text was written.
    bool SaveAs();
    // Print1: the whole text on the application's printer, page after page, without a print
    // dialog; where there is no printer to print on, offers to write the pages to a PDF file.
    void PrintText();
    // Enables paste when the clipboard holds text, cut, copy and delete when text is
    // selected.
    void UpdateCommandStates();

    // The caption as set by generation or opening.
    QString Caption() const { return m_caption; }
    // The encoding the next save writes.
    TextEncoding SaveEncoding() const { return m_encoding; }
    // Whether the computer has a printer to print on; the system's answer unless a test
    // replaces it.
    std::function<bool()> PrinterAvailable;

    QMenuBar* MainMenu1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Cut1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* Delete1 = nullptr;
    QAction* SelectAll1 = nullptr;
    QAction* SearchforHelpOn1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Cut2 = nullptr;
    QAction* C1 = nullptr;
    QAction* Paste2 = nullptr;
    QAction* Delete2 = nullptr;
    QAction* rw1 = nullptr;

    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton2 = nullptr; // open
    QToolButton* ToolButton3 = nullptr; // save as
    QToolButton* ToolButton4 = nullptr; // print
    QToolButton* ToolButton6 = nullptr; // cut
    QToolButton* ToolButton7 = nullptr; // copy
    QToolButton* ToolButton8 = nullptr; // paste
    QToolButton* ToolButton9 = nullptr; // delete
    QLineEdit* Edit2 = nullptr;         // western year
    UpDown* UpDown1 = nullptr;
    QComboBox* ComboBox1 = nullptr; // era
    QLineEdit* Edit3 = nullptr;     // era year
    QPushButton* Button1 = nullptr; // 再計算
    QPlainTextEdit* RichEdit1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    // Closing (the close box, Escape, Exit1) asks the save question first.
    void reject() override;

private:
    void BuildWindow();
    void StepYear(int delta);
    // The save question; true when the operation that asked goes on.
    bool AskToSave();
    bool WriteTo(const QString& path);
    void SetCaption(const QString& caption);
    // `name` in the folder of the last file opened or saved (as it is before the first).
    QString InFolder(const QString& name) const;
    // Where there is no printer: asks whether to write a PDF file instead, and which; empty
    // when the user declines.
    QString AskPdfFile();

    CaseHost& m_host;
    Interaction& m_interaction;
    QPrinter& m_printer;
    QString m_caption;
    QString m_openedPath; // the file last opened, shown as the caption until regenerated
    // The folder of the file last opened or saved in the run: the file dialogs start there.
    QString m_folder;
    TextEncoding m_encoding = TextEncoding::Cp932;
    // Edit2 and Edit3 as the text was last generated from them.
    QString m_tableYear;
    QString m_tableEraYear;
};

} // namespace ulvan
