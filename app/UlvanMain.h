// The main window: it holds the case (date of death, deceased's data, memorial schedule,
// print options, footer layout) in its controls for the whole run and starts every other
// function. Other windows and the sheet renderers read the case through the accessors below
// at the moment they need it; only this window's own handlers change it.
#pragma once

#include "calendar/Era.h"
#include "calendar/Schedule.h"
#include "case/CaseData.h"
#include "case/CaseHost.h"
#include "case/StoredCase.h"
#include "sheet/Fonts.h"
#include "ui/OnFirstUse.h"

#include <QDate>
#include <QHash>
#include <QMainWindow>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace ulvan {

class Interaction;
class TAgeCalForm;
class TKaiForm;
class TShosaiForm;
struct MainCommand;
class UpDown;

class TUlvanForm : public QMainWindow, public CaseHost {
    Q_OBJECT

public:
    // ---------------------------------------------------------------------------------------
    // The case as the other windows read it (CaseHost): as it stands now.
    // ---------------------------------------------------------------------------------------

    // The deceased's data, each field the current text of its control.
    DeceasedData Deceased() const override;
    // The print options (the footer layout comes from Footer()/EditStr()).
    SheetOptions Options() const override;
    // The nine rows as shown: names from the row labels, offsets, eve flags from the eve
    // boxes, and Month/Day/WeekdayText as the result fields hold them now (manual edits
    // included). Row 5 (the first monthly memorial) has offset 0.
    MemorialSchedule Schedule() const override;
    FooterLayout Footer() const override;
    std::vector<std::u16string> EraItems() const override;
    QDate CurrentDate() const override;
    QString SettingsFile() const override { return m_settingsFile; }
    QWidget* HostWindow() const override;
    // Through the print and preview hooks below.
    void PrintMemorialSheet(bool blank) override;
    void ShowPreview(PreviewKind kind) override;
    // Copies a record read from a file into the controls (western year, era, era year,
    // month, day, posthumous name, reading, secular name, age), era fields as they stand.
    void ApplyRecord(const DeceasedData& record) override;
    void SetFooter(const FooterLayout& layout) override;
    void ShowStatusMessage(const QString& text) override;

    // The footer layout: EditList lines, and its stored form (each line followed by CR LF).
    QStringList EditList() const { return m_editList; }
    QString EditStr() const;
    void SetEditStr(const QString& text);

    // The case as it is stored between runs, and filling the window from it in the order
    // the window's creation loads it.
    StoredCase CurrentStoredCase() const;
    void ApplyStoredCase(const StoredCase& stored);

    // Command hooks. Each menu item / tool button whose window is built elsewhere calls its
    // hook; an unset hook sounds the default beep. Set by the application at start-up.
    // The print hooks print what the case reads give at the moment of printing.
    std::function<void()> OnPrint;              // Print1, ToolButton4: the memorial sheet
    std::function<void()> OnPrintBlank;         // Print2, ToolButton11: the blank sheet
    std::function<void()> OnSavePdf;            // SavePdf1, ToolButton12: the sheet as a PDF
    std::function<void(PreviewKind)> OnPreview; // PrintPreview1, ToolButton5
    std::function<void()> OnAnnualChart;        // N4, ToolButton9
    std::function<void()> OnQuickTable;         // N7, ToolButton10
    std::function<void()> OnDueList;            // DueList1, ToolButton12: this year's memorials
    std::function<void()> OnCalendarExport;     // CalendarExport1: the days as a calendar file
    // T1, Button3: shows the footer editor on a working copy of Footer(); true when it closed
    // with OK, the edited layout then having come back through SetFooter.
    std::function<bool()> OnEditFooter;
    std::function<void()> OnImport; // Open1, ToolButton1
    std::function<void()> OnAppend; // New1, ToolButton2
    std::function<void()> OnHelp;   // Contents1, SearchforHelpOn1
    std::function<void()> OnAbout;  // About1
    // Resets the footer editor's frame selection after the footer was cleared.
    std::function<void()> OnFooterCleared;

    // ---------------------------------------------------------------------------------------

    // `settingsFile`: the file of the settings store; empty for the per-user default.
    // The constructor is the window's creation: it builds the window, loads the settings,
    // builds the era lists and selects the stored era. When that has taken
    // `startupPictureAfterMs` or more at one of its steps, the start-up picture shows for the
    // rest of it (a negative value: never); the picture goes once the event loop runs.
    explicit TUlvanForm(Interaction& interaction, const QString& settingsFile = QString(),
                        int startupPictureAfterMs = -1, QWidget* parent = nullptr);
    ~TUlvanForm() override;

    // The era transition question of UpdateEraFields; without one the undecided years give
    // the eight-character form, of which the era fields show the ending era.
    void SetEraAsker(AskEraTransition ask) { m_askEra = std::move(ask); }
    // The date "きょう" writes and the age calculator's fallback year; the system date
    // unless set.
    void SetTodayProvider(std::function<QDate()> today) { m_today = std::move(today); }

    // Memorial offsets Add1 … Add8 (rows 1-4 and 6-9).
    MemorialOffsets Offsets() const { return m_add; }
    void SetOffsets(const MemorialOffsets& offsets) { m_add = offsets; }
    // The year at which the age calculator computes ages.
    std::int32_t KeisanNen = 0;

    // The routines of the date fields.
    void ComputeSchedule();
    void ShowDeathWeekday();
    void ShowEditedRowWeekday(std::size_t row);
    void ShowNamesFromTheStart();
    void UpdateEraFields();
    void UpdateWesternYear();
    void ClearDeceasedData();
    void ClearFooter();
    void EditFooter();
    void Today();
    void EditDetailSettings();
    void CalcAge();
    void EditKaimyo();

    // Stores every value of the four keys; false when the store could not be written.
    bool SaveSettings();

    // "元に戻す": brings back the case as it was before the last import's OK (the date and
    // deceased's fields, the era selection, the schedule's result fields as they stood,
    // hand edits included). One step; beeps when there is nothing to undo.
    void UndoImport();
    bool CanUndoImport() const;

Q_SIGNALS:
    // The window has closed (after saving); the application ends with it.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The commands' table runs the hooks and routines of this window.
    friend const std::vector<MainCommand>& MainCommands();

    // What an import replaces, as the controls show it.
    struct CaseSnapshot {
        std::array<QString, 8> Fields; // Edit1 … Edit4, kaimyo, yomi, zokumyo, gyonen
        int EraIndex = -1;
        QString EraText;
        std::array<QString, 9> Months;
        std::array<QString, 9> Days;
        std::array<QString, 9> Weekdays;
        QString DeathWeekday;
    };
    CaseSnapshot CaptureCase() const;
    void RestoreCase(const CaseSnapshot& snapshot);

    void BuildWindow();
    void BuildMenus();
    void BuildToolBar();
    void LoadSettings();
    void FillLists();
    void SelectEra(const QString& name);
    void StepYear(int delta);
    void StepMonth(int delta);
    void StepDay(int delta);
    void UpDownReleased();
    void RunHook(const std::function<void()>& hook);
    static void SetText(QLineEdit* edit, const QString& text);
    // The memorial name of a result row, whole within the row's name column.
    void ShowRowName(std::size_t row, const QString& name);

    Interaction& m_interaction;
    QString m_settingsFile;
    // False when the settings file could not be read at start: it is then left as it is.
    bool m_settingsWritable = true;
    QWidget* OpenForm = nullptr;
    // Shows the start-up picture when creating the window has taken long enough to see it.
    void ShowStartupPictureIfSlow(std::int64_t elapsedMs, int afterMs);
    // The dialogs this window fills and reads back, each made the first time it is asked for.
    OnFirstUse<TShosaiForm> m_shosaiForm; // N9, Button5
    OnFirstUse<TAgeCalForm> m_ageCalForm; // Button2
    OnFirstUse<TKaiForm> m_kaiForm;       // Button4
    MemorialOffsets m_add = OffsetsOf(DefaultSchedule());
    QStringList m_editList;
    QString m_storedEra; // held back until the era list is filled
    AskEraTransition m_askEra;
    std::function<QDate()> m_today;
    std::optional<CaseSnapshot> m_beforeImport;
    QAction* m_undoAction = nullptr; // "元に戻す", enabled while an import can be undone
    // Keys pressed in the date fields and not yet released there.
    QSet<int> m_keysDown;
    // The date field's text when each held key went down: a release that changed nothing
    // (Ctrl+A, an arrow along the text) leaves the era fields alone.
    QHash<int, QString> m_textAtPress;

public:
    // Controls, named as their objectNames. Public so that dialogs' callers and tests can
    // reach them; other code goes through the accessors above.
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    UpDown* UpDown1 = nullptr;
    UpDown* UpDown3 = nullptr;
    UpDown* UpDown4 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* kaimyo = nullptr;
    QLineEdit* yomi = nullptr;
    QLineEdit* zokumyo = nullptr;
    QLineEdit* gyonen = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    std::array<QLabel*, 9> NameLabels{};    // Label11 … Label19
    std::array<QLineEdit*, 9> MonthEdits{}; // Edit5 … Edit13
    std::array<QLineEdit*, 9> DayEdits{};   // Edit14 … Edit22
    std::array<QLabel*, 9> WeekLabels{};    // Label40 … Label48
    std::array<QCheckBox*, 9> EveBoxes{};   // CheckBox1 … CheckBox9
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QButtonGroup* RadioGroup1Buttons = nullptr;
    QCheckBox* CheckBox10 = nullptr;
    QCheckBox* CheckBox11 = nullptr;
    QCheckBox* CheckBox12 = nullptr;
    QCheckBox* CheckBox13 = nullptr;
    QCheckBox* CheckBox14 = nullptr;
    QCheckBox* CheckBox15 = nullptr;
    // RadioGroup1's ItemIndex: 0, 1, or -1 for none.
    int KaimyoStyle() const;
    void SetKaimyoStyle(int index);
};

} // namespace ulvan
