// The main window: its case read from and written to the settings store, and read from the
// controls for the sheets and the other windows.
#include "app/UlvanMain.h"
#include "app/UlvanMainParts.h"

#include "app/AgeCalUnit.h"
#include "app/KaiUnit.h"
#include "app/ShosaiUnit.h"
#include "calendar/DateCalc.h"
#include "calendar/TextUtil.h"
#include "case/StoredCase.h"
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
#include <limits>

namespace ulvan {

// ------------------------------------------------------------------------------------------
// Settings
// ------------------------------------------------------------------------------------------

void TUlvanForm::LoadSettings() {
    ApplyStoredCase(ReadStoredCase(m_settingsFile));
}

void TUlvanForm::ApplyStoredCase(const StoredCase& stored) {
    // The offsets, names and eve flags go in before the date, whose assignments recompute
    // the schedule: what shows after start-up is computed with the stored settings.
    const SheetOptions& options = stored.Options;
    CheckBox15->setChecked(options.RubyPrint);
    m_add = OffsetsOf(stored.Rows);
    for (std::size_t r = 0; r < 9; ++r) {
        ShowRowName(r, ToQ(stored.Rows[r].Name));
    }
    for (std::size_t r = 0; r < 9; ++r) {
        EveBoxes[r]->setChecked(stored.Rows[r].Eve);
    }
    CheckBox10->setChecked(options.TmplNamePrint);
    SetKaimyoStyle(options.KaimyoStyle);
    for (QComboBox* box : {ComboBox2, ComboBox3, ComboBox4}) {
        // Stored texts come back whole, however long (typing has its own limits).
        box->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    }
    ComboBox2->setEditText(ToQ(options.TitName));
    ComboBox3->setEditText(ToQ(options.FntName1));
    ComboBox4->setEditText(ToQ(options.FntName2));
    const DeceasedData& deceased = stored.Deceased;
    SetText(Edit1, ToQ(deceased.KiNen));
    // Selected once the era list is filled; the era fields are not recomputed from the year.
    m_storedEra = ToQ(deceased.KiNengo);
    SetText(Edit2, ToQ(deceased.KiWanen));
    SetText(Edit3, ToQ(deceased.KiGatsu));
    SetText(Edit4, ToQ(deceased.KiNichi));
    SetText(kaimyo, ToQ(deceased.Kaimyo));
    if (!stored.KeepsReading) {
        SetText(yomi, ToQ(deceased.Yomi));
    }
    SetText(zokumyo, ToQ(deceased.Zokumyo));
    SetText(gyonen, ToQ(deceased.GyoNen));
    ShowNamesFromTheStart();
    CheckBox11->setChecked(options.HatsuGatsuPrint);
    CheckBox12->setChecked(options.HyakkaNichiPrint);
    CheckBox13->setChecked(options.DogetsuShoryaku);
    CheckBox14->setChecked(options.WarekiInsatsu);
    SetEditStr(ToQ(stored.EditStr));
}

void TUlvanForm::ShowNamesFromTheStart() {
    // A text put in a field shows its end; a name too long for its field is read from its
    // start.
    for (QLineEdit* field : {kaimyo, yomi, zokumyo})
        field->setCursorPosition(0);
}

StoredCase TUlvanForm::CurrentStoredCase() const {
    StoredCase stored;
    stored.Deceased = Deceased();
    stored.Options = Options();
    stored.Rows = Schedule();
    stored.EditStr = ToU16(EditStr());
    return stored;
}

bool TUlvanForm::SaveSettings() {
    return WriteStoredCase(m_settingsFile, CurrentStoredCase());
}

void TUlvanForm::closeEvent(QCloseEvent* event) {
    // The window closes whatever happens to the store; the user is told when the settings
    // could not be kept, the earlier ones stay as they were.
    if (m_settingsWritable && !SaveSettings()) {
        m_interaction.ShowMessage(
            u"設定を保存できませんでした。前回の設定はそのまま残っています。");
    }
    event->accept();
    Q_EMIT Closed();
}

void TUlvanForm::FillLists() {
    const QStringList fonts = FontBoxFamilies();
    const QString font1 = ComboBox3->currentText();
    const QString font2 = ComboBox4->currentText();
    ComboBox3->addItems(fonts);
    ComboBox4->addItems(fonts);
    // Adding items to an empty editable box selects the first; the stored text stays.
    ComboBox3->setEditText(font1);
    ComboBox4->setEditText(font2);

    const QString title = ComboBox2->currentText();
    ComboBox2->addItems(
        {QStringLiteral("Ulvan表"), QStringLiteral("Ulvan逮夜表"), QStringLiteral("Ulvan日付表")});
    ComboBox2->setEditText(title);

    for (const std::u16string& era : EraComboItems()) {
        ComboBox1->addItem(ToQ(era));
    }
    SelectEra(m_storedEra.left(4));
    m_storedEra.clear();
}

// ------------------------------------------------------------------------------------------
// Reading the case
// ------------------------------------------------------------------------------------------

int TUlvanForm::KaimyoStyle() const {
    return RadioGroup1Buttons->checkedId();
}

void TUlvanForm::SetKaimyoStyle(int index) {
    // A stored style outside the two choices keeps the current one.
    if (QAbstractButton* button = RadioGroup1Buttons->button(index)) {
        button->setChecked(true);
    }
}

DeceasedData TUlvanForm::Deceased() const {
    DeceasedData result;
    result.Kaimyo = ToU16(kaimyo->text());
    result.Yomi = ToU16(yomi->text());
    result.Zokumyo = ToU16(zokumyo->text());
    result.GyoNen = ToU16(gyonen->text());
    result.KiNen = ToU16(Edit1->text());
    result.KiNengo = ToU16(ComboBox1->currentText());
    result.KiWanen = ToU16(Edit2->text());
    result.KiGatsu = ToU16(Edit3->text());
    result.KiNichi = ToU16(Edit4->text());
    return result;
}

SheetOptions TUlvanForm::Options() const {
    SheetOptions options;
    options.TitName = ToU16(ComboBox2->currentText());
    options.FntName1 = ToU16(ComboBox3->currentText());
    options.FntName2 = ToU16(ComboBox4->currentText());
    options.KaimyoStyle = KaimyoStyle();
    options.TmplNamePrint = CheckBox10->isChecked();
    options.HatsuGatsuPrint = CheckBox11->isChecked();
    options.HyakkaNichiPrint = CheckBox12->isChecked();
    options.DogetsuShoryaku = CheckBox13->isChecked();
    options.WarekiInsatsu = CheckBox14->isChecked();
    options.RubyPrint = CheckBox15->isChecked();
    return options;
}

MemorialSchedule TUlvanForm::Schedule() const {
    MemorialSchedule schedule;
    ulvan::SetOffsets(schedule, m_add);
    for (std::size_t r = 0; r < 9; ++r) {
        MemorialDay& day = schedule[r];
        day.Name = ToU16(NameLabels[r]->text());
        day.Eve = EveBoxes[r]->isChecked();
        day.Month = ToU16(MonthEdits[r]->text());
        day.Day = ToU16(DayEdits[r]->text());
        day.WeekdayText = ToU16(WeekLabels[r]->text());
    }
    return schedule;
}

} // namespace ulvan
