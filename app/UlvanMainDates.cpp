// The main window: the rules of the date fields, the up-downs and the keys, and the
// deceased's data cleared, imported and brought back.
#include "app/UlvanMain.h"
#include "app/UlvanMainParts.h"

#include "app/AgeCalUnit.h"
#include "app/KaiUnit.h"
#include "app/ShosaiUnit.h"
#include "calendar/DateCalc.h"
#include "calendar/TextUtil.h"
#include "case/StoredCase.h"
#include "records/DueList.h"
#include "resources/OpenUnit.h"
#include "resources/ToolIcons.h"
#include "sheet/Fonts.h"
#include "ui/DialogSupport.h"
#include "ui/Interaction.h"
#include "ui/UpDown.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <climits>

namespace ulvan {

// ------------------------------------------------------------------------------------------
// Date fields
// ------------------------------------------------------------------------------------------

bool TUlvanForm::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    const bool release = event->type() == QEvent::KeyRelease;
    const auto* key = (press || release) ? static_cast<QKeyEvent*>(event) : nullptr;
    if (key == nullptr || key->isAutoRepeat()) {
        return QMainWindow::eventFilter(watched, event);
    }
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (press) {
        m_keysDown.insert(key->key());
        m_textAtPress.insert(key->key(), field != nullptr ? field->text() : QString());
    } else {
        // Only the release of a key pressed in a date field counts. The key that closed a
        // dialog opened by the era update (Enter, Escape) was pressed in that dialog; its
        // release lands here once the dialog is gone and must not open it again.
        if (!m_keysDown.remove(key->key())) {
            return QMainWindow::eventFilter(watched, event);
        }
        if (field != nullptr && m_textAtPress.take(key->key()) == field->text()) {
            return QMainWindow::eventFilter(watched, event);
        }
        if (watched == Edit1 || watched == Edit3 || watched == Edit4) {
            UpdateEraFields();
        } else if (watched == Edit2) {
            UpdateWesternYear();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TUlvanForm::ShowRowName(std::size_t row, const QString& name) {
    NameLabels[row]->setText(name);
    FitTextToWidth(NameLabels[row], RowNameFont());
}

void TUlvanForm::SetText(QLineEdit* edit, const QString& text) {
    // The field's own length limit would cut a longer text set by the program.
    if (text.size() > edit->maxLength()) {
        edit->setMaxLength(static_cast<int>(std::min<qsizetype>(text.size(), INT_MAX)));
    }
    if (edit->text() != text) {
        edit->setText(text);
    }
}

void TUlvanForm::SelectEra(const QString& name) {
    const int index = ComboBox1->findText(name, Qt::MatchExactly);
    ComboBox1->setCurrentIndex(index);
    if (index < 0) {
        ComboBox1->setEditText(QString());
    }
}

namespace {

// A weekday label takes the width of its text: "（日付なし）" is longer than "（水曜日）".
void SetWeekday(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}

} // namespace

void TUlvanForm::ComputeSchedule() {
    MemorialSchedule schedule = Schedule();
    ulvan::ComputeSchedule(ToU16(Edit1->text()), ToU16(Edit3->text()), ToU16(Edit4->text()),
                           schedule, &m_interaction);
    for (std::size_t r = 0; r < 9; ++r) {
        SetText(MonthEdits[r], ToQ(schedule[r].Month));
        SetText(DayEdits[r], ToQ(schedule[r].Day));
        SetWeekday(WeekLabels[r], ToQ(schedule[r].WeekdayText));
    }
}

void TUlvanForm::ShowDeathWeekday() {
    const std::optional<std::int32_t> year = ParseInt(ToU16(Edit1->text()));
    if (!year) {
        Label6->setText(BlankWeekdayText());
        return;
    }
    const std::int32_t month = ParseIntOr(ToU16(Edit3->text()), 0);
    const std::int32_t day = ParseIntOr(ToU16(Edit4->text()), 0);
    if (month == 0 || day == 0) {
        Label6->setText(BlankWeekdayText());
        return;
    }
    SetWeekday(Label6, ToQ(WeekdayLabel(CalendarDate{*year, month, day}, &m_interaction)));
}

void TUlvanForm::ShowEditedRowWeekday(std::size_t row) {
    SetWeekday(
        WeekLabels[row],
        ToQ(EditedRowWeekday(ToU16(Edit1->text()), ToU16(Edit3->text()), ToU16(Edit4->text()),
                             ToU16(MonthEdits[row]->text()), ToU16(DayEdits[row]->text()))));
}

void TUlvanForm::UpdateEraFields() {
    const std::optional<std::int32_t> year = ParseInt(ToU16(Edit1->text()));
    if (!year) {
        SelectEra(NoEraName());
        SetText(Edit2, QStringLiteral("--"));
        return;
    }
    const std::int32_t month = ParseIntOr(ToU16(Edit3->text()), 0);
    const std::int32_t day = ParseIntOr(ToU16(Edit4->text()), 0);
    const QString wareki =
        ToQ(m_askEra ? WarekiOf(*year, month, day, &m_askEra) : WarekiOf(*year, month, day));
    SelectEra(wareki.left(2));
    SetText(Edit2, wareki.mid(2, 2));
}

void TUlvanForm::UpdateWesternYear() {
    if (const std::optional<QString> year = WesternYearFromEra(*ComboBox1, Edit2->text())) {
        SetText(Edit1, *year);
    }
}

void TUlvanForm::StepYear(int delta) {
    const std::optional<std::int32_t> year = ParseInt(ToU16(Edit1->text()));
    if (!year) {
        m_interaction.Beep(BeepKind::Default);
        return;
    }
    SetText(Edit1, ToQ(DecimalText(std::int64_t{*year} + delta)));
}

void TUlvanForm::StepMonth(int delta) {
    const std::optional<std::int32_t> year = ParseInt(ToU16(Edit1->text()));
    const std::optional<std::int32_t> month = ParseInt(ToU16(Edit3->text()));
    if (!year || !month) {
        m_interaction.Beep(BeepKind::Default);
        return;
    }
    std::int64_t newYear = *year;
    std::int64_t newMonth = std::int64_t{*month} + delta;
    if (newMonth > 12) {
        newMonth = 1;
        ++newYear;
    } else if (newMonth <= 0) {
        newMonth = 12;
        --newYear;
    }
    SetText(Edit1, ToQ(DecimalText(newYear)));
    SetText(Edit3, ToQ(DecimalText(newMonth)));
}

void TUlvanForm::StepDay(int delta) {
    const std::optional<std::int32_t> year = ParseInt(ToU16(Edit1->text()));
    const std::optional<std::int32_t> month = ParseInt(ToU16(Edit3->text()));
    const std::optional<std::int32_t> day = ParseInt(ToU16(Edit4->text()));
    if (!year || !month || !day) {
        m_interaction.Beep(BeepKind::Default);
        return;
    }
    const CalendarDate moved = AddDays(CalendarDate{*year, *month, *day}, delta);
    SetText(Edit1, ToQ(DecimalText(moved.year)));
    SetText(Edit3, ToQ(DecimalText(moved.month)));
    SetText(Edit4, ToQ(DecimalText(moved.day)));
}

void TUlvanForm::UpDownReleased() {
    UpdateEraFields();
    ShowDeathWeekday();
}

QDate TUlvanForm::CurrentDate() const {
    return m_today ? m_today() : QDate::currentDate();
}

void TUlvanForm::Today() {
    const QDate today = CurrentDate();
    const QChar zero(u'0');
    SetText(Edit1, QStringLiteral("%1").arg(today.year(), 4, 10, zero));
    SetText(Edit3, QStringLiteral("%1").arg(today.month(), 2, 10, zero));
    SetText(Edit4, QStringLiteral("%1").arg(today.day(), 2, 10, zero));
    UpdateEraFields();
    ShowDeathWeekday();
}

void TUlvanForm::ClearDeceasedData() {
    SetText(Edit1, QString());
    SetText(Edit2, QString());
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QString());
    SetText(Edit3, QString());
    SetText(Edit4, QString());
    for (std::size_t r = 0; r < 9; ++r) {
        SetText(MonthEdits[r], QString());
        SetText(DayEdits[r], QString());
    }
    SetText(kaimyo, QString());
    SetText(yomi, QString());
    SetText(zokumyo, QString());
    SetText(gyonen, QString());
    for (QLabel* weekday : WeekLabels) {
        weekday->setText(BlankWeekdayText());
    }
}

void TUlvanForm::ApplyRecord(const DeceasedData& record) {
    // The import replaces the case wholesale; what it replaced can be brought back.
    m_beforeImport = CaptureCase();
    if (m_undoAction != nullptr) {
        m_undoAction->setEnabled(true);
    }
    // A record with only its era and era year gets the western year the due list reads from
    // them, so that its schedule and annual chart are there.
    const std::optional<std::int64_t> year = RecordDeathYear(record);
    SetText(Edit1, ParseInt(record.KiNen) || !year ? ToQ(record.KiNen) : ToQ(DecimalText(*year)));
    SelectEra(ToQ(record.KiNengo));
    SetText(Edit2, ToQ(record.KiWanen));
    SetText(Edit3, ToQ(record.KiGatsu));
    SetText(Edit4, ToQ(record.KiNichi));
    SetText(kaimyo, ToQ(record.Kaimyo));
    SetText(yomi, ToQ(record.Yomi));
    SetText(zokumyo, ToQ(record.Zokumyo));
    SetText(gyonen, ToQ(record.GyoNen));
    ShowNamesFromTheStart();
}

void TUlvanForm::ShowStatusMessage(const QString& text) {
    statusBar()->showMessage(text);
}

TUlvanForm::CaseSnapshot TUlvanForm::CaptureCase() const {
    CaseSnapshot snapshot;
    const std::array<const QLineEdit*, 8> fields{Edit1,  Edit2, Edit3,   Edit4,
                                                 kaimyo, yomi,  zokumyo, gyonen};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        snapshot.Fields[i] = fields[i]->text();
    }
    snapshot.EraIndex = ComboBox1->currentIndex();
    snapshot.EraText = ComboBox1->currentText();
    for (std::size_t r = 0; r < 9; ++r) {
        snapshot.Months[r] = MonthEdits[r]->text();
        snapshot.Days[r] = DayEdits[r]->text();
        snapshot.Weekdays[r] = WeekLabels[r]->text();
    }
    snapshot.DeathWeekday = Label6->text();
    return snapshot;
}

void TUlvanForm::RestoreCase(const CaseSnapshot& snapshot) {
    // The texts go back as they were, hand edits included; nothing is recomputed on the
    // way, so no intermediate date can raise a message.
    const std::array<QLineEdit*, 8> fields{Edit1,  Edit2, Edit3,   Edit4,
                                           kaimyo, yomi,  zokumyo, gyonen};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const QSignalBlocker blocker(fields[i]);
        SetText(fields[i], snapshot.Fields[i]);
    }
    ComboBox1->setCurrentIndex(snapshot.EraIndex);
    if (snapshot.EraIndex < 0) {
        ComboBox1->setEditText(snapshot.EraText);
    }
    for (std::size_t r = 0; r < 9; ++r) {
        SetText(MonthEdits[r], snapshot.Months[r]);
        SetText(DayEdits[r], snapshot.Days[r]);
        WeekLabels[r]->setText(snapshot.Weekdays[r]);
    }
    Label6->setText(snapshot.DeathWeekday);
}

bool TUlvanForm::CanUndoImport() const {
    return m_beforeImport.has_value();
}

void TUlvanForm::UndoImport() {
    if (!m_beforeImport) {
        m_interaction.Beep(BeepKind::Default);
        return;
    }
    RestoreCase(*m_beforeImport);
    m_beforeImport.reset();
    if (m_undoAction != nullptr) {
        m_undoAction->setEnabled(false);
    }
}

} // namespace ulvan
