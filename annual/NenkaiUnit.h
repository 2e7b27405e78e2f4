// The annual chart window: from a year of death, given as a western year or as an era and
// era year, it shows the twenty-one annual memorials with their western and era years, lets
// the user choose with check boxes which of them the chart carries and set the chart's
// title, and prints the chart, a blank chart form, or opens the preview on it. Everything
// else on the chart (names, age, month and day of death, fonts, footer) comes from the main
// window through the host interface.
//
// Created once after the main window (it copies the main window's era list) and shown
// modally any number of times through Open(); its controls keep their contents between
// showings. The selection is read from the store at every showing and written with the
// title at every closing; the title is read once, at creation.
#pragma once

#include "annual/NenkaiPage.h"
#include "calendar/Era.h"
#include "sheet/PrintSheet.h"
#include "ui/DialogSupport.h"

#include <QSet>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace ulvan {

class CaseHost;
class Interaction;
class UpDown;

inline const QString kNenkaiTitleMissingMessage =
    QStringLiteral("表題が指定されていません。\n仮に「年回表」とします");

// The one-page print of the annual chart (`blank`: the printed form only) through the print
// sequence every sheet shares: font and title messages, print dialog, printable-area question.
void PrintNenkaiSheet(bool blank, NenkaiSheetInputs& inputs, QPrinter& printer,
                      Interaction& interaction, QWidget* parent);

// The annual chart's "PDFに保存…" job (`blank`: the printed form only).
SheetPdfJob NenkaiPdfJob(bool blank, NenkaiSheetInputs& inputs);

class TNenkaiForm : public CentredDialog {
    Q_OBJECT

public:
    // `printer` is the application's printer (the choices of the print dialog stay for the
    // run); host, interaction and printer must outlive the window.
    TNenkaiForm(CaseHost& host, Interaction& interaction, QPrinter& printer,
                QWidget* parent = nullptr);
    ~TNenkaiForm() override;

    // The era question of SyncDeathEra; without one an undecided year shows the ending era.
    void SetEraAsker(AskEraTransition ask) { m_askEra = std::move(ask); }

    // Opening from the main window: takes the main window's year of death into Edit1 (the
    // results recompute only when that changes the text), reads the stored selection, brings
    // the era fields in step, and shows the window modally until it closes.
    void Open();
    // How Open runs the window once it is prepared; exec() unless replaced (tests).
    using Runner = std::function<void(TNenkaiForm&)>;
    void SetRunner(Runner runner) { m_runner = std::move(runner); }
    // The preparation Open does before the window shows.
    void PrepareShowing();

    // The computation on the window's fields.
    void ComputeNenkai();
    void ClearNenkai();
    void SyncDeathEra();
    void DeathYearFromEra();
    // Button2 / Button4, and the preview's print button on the annual chart.
    void PrintNenkaiSheet(bool blank);
    // Button5 and the preview's "PDFに保存…" on the annual chart; true when written.
    bool SaveNenkaiSheetPdf(bool blank);
    // Button1: the preview on the annual chart.
    void ShowPreview();
    // The chart as it would print now: both windows' values.
    NenkaiSheetInputs ReadInputs() const;
    // The preview's drawing of the chart (border included).
    void PaintPreview(Canvas& canvas, int previewWidth, int previewHeight,
                      FooterDrawRequest& request);

    // The check boxes' states, in list order.
    std::array<bool, 21> Selection() const;

    // Controls under their component names.
    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* Edit1 = nullptr; // western year of death
    UpDown* UpDown1 = nullptr;
    QComboBox* ComboBox1 = nullptr; // era of death
    QLineEdit* Edit2 = nullptr;     // era year of death
    QComboBox* ComboBox2 = nullptr; // title
    QLabel* Label48 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label58 = nullptr;
    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr; // preview
    QPushButton* Button2 = nullptr; // print
    QPushButton* Button3 = nullptr; // close
    QPushButton* Button4 = nullptr; // blank form
    QPushButton* Button5 = nullptr; // PDFに保存…
    // The rows, in list order.
    std::array<QLabel*, 21> NameLabels{};      // Label4 … Label24
    std::array<QLineEdit*, 21> WesternEdits{}; // Edit45 … Edit65
    std::array<QLineEdit*, 21> EraNameEdits{}; // Edit3 … Edit23
    std::array<QLineEdit*, 21> EraYearEdits{}; // Edit24 … Edit44
    std::array<QCheckBox*, 21> CheckBoxes{};   // CheckBox1 … CheckBox21

public Q_SLOTS:
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildRows();
    void StepYear(int delta);
    void SaveSettings();

    CaseHost& m_host;
    Interaction& m_interaction;
    QPrinter& m_printer;
    AskEraTransition m_askEra;
    Runner m_runner;
    // Keys pressed in Edit1 / Edit2 and not yet released there: a release counts only for a
    // key whose press the field saw (the release of the key that closed the era question
    // must not ask again).
    QSet<int> m_keysDown1;
    QSet<int> m_keysDown2;
};

} // namespace ulvan
