// The main window: the menu bar and the tool bar built from the one table of commands, and
// the commands' own routines.
#include "app/MainCommands.h"
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

namespace ulvan {

void TUlvanForm::BuildMenus() {
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    for (const MainMenu& entry : MainMenus()) {
        QMenu* menu = menuBar()->addMenu(entry.Caption);
        menu->setObjectName(QString::fromLatin1(entry.Name));
        for (const char* item : entry.Items) {
            const MainCommand* command = item == nullptr ? nullptr : FindMainCommand(item);
            if (command == nullptr) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(command->Caption);
            action->setObjectName(QString::fromLatin1(command->Name));
            action->setStatusTip(command->MenuHint);
            action->setToolTip(command->MenuHint);
            action->setShortcut(command->Shortcut);
            action->setEnabled(!command->StartsDisabled);
            connect(action, &QAction::triggered, this, [this, command] { command->Run(*this); });
        }
    }
    // Enabled while an import can be undone.
    m_undoAction = menuBar()->findChild<QAction*>(QStringLiteral("Undo1"));
}

void TUlvanForm::BuildToolBar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(kToolBarHeight);
    bar->setIconSize(QSize(kToolIconSize, kToolIconSize));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, bar);
    for (const char* item : MainToolBar()) {
        const MainCommand* command = item == nullptr ? nullptr : FindMainCommand(item);
        if (command == nullptr || command->ToolName == nullptr) {
            bar->addSeparator();
            continue;
        }
        auto* button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(command->ToolName));
        if (command->Icon) {
            button->setIcon(ToolIcon(*command->Icon));
        }
        button->setAutoRaise(true);
        button->setFixedSize(23, 22);
        button->setToolTip(command->ButtonHint());
        button->setStatusTip(command->ButtonHint());
        connect(button, &QToolButton::clicked, this, [this, command] { command->Run(*this); });
        bar->addWidget(button);
    }
}

// ------------------------------------------------------------------------------------------
// Footer and commands
// ------------------------------------------------------------------------------------------

QString TUlvanForm::EditStr() const {
    QString text;
    for (const QString& line : m_editList) {
        text += line + QStringLiteral("\r\n");
    }
    return text;
}

void TUlvanForm::SetEditStr(const QString& text) {
    m_editList.clear();
    if (text.isEmpty()) {
        return;
    }
    // Lines end in CR LF; a lone LF or CR (a hand-edited store) ends a line too.
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_editList = normal.split(QLatin1Char('\n'));
    if (normal.endsWith(QLatin1Char('\n'))) {
        m_editList.removeLast();
    }
}

FooterLayout TUlvanForm::Footer() const {
    return FooterLayout::FromStored(ToU16(EditStr()));
}

void TUlvanForm::SetFooter(const FooterLayout& layout) {
    SetEditStr(ToQ(layout.ToStored()));
}

std::vector<std::u16string> TUlvanForm::EraItems() const {
    std::vector<std::u16string> items;
    items.reserve(static_cast<std::size_t>(ComboBox1->count()));
    for (int i = 0; i < ComboBox1->count(); ++i) {
        items.push_back(ToU16(ComboBox1->itemText(i)));
    }
    return items;
}

QWidget* TUlvanForm::HostWindow() const {
    return const_cast<TUlvanForm*>(this);
}

void TUlvanForm::PrintMemorialSheet(bool blank) {
    RunHook(blank ? OnPrintBlank : OnPrint);
}

void TUlvanForm::ShowPreview(PreviewKind kind) {
    if (OnPreview) {
        OnPreview(kind);
    } else {
        m_interaction.Beep(BeepKind::Default);
    }
}

void TUlvanForm::ClearFooter() {
    m_interaction.Beep(BeepKind::Exclamation);
    if (m_interaction.Confirm(Interaction::ConfirmKind::Question, QStringLiteral("確認"),
                              QStringLiteral("寺院名等のデータをすべて削除しますか？"))) {
        m_editList.clear();
        if (OnFooterCleared) {
            OnFooterCleared();
        }
    }
}

void TUlvanForm::EditFooter() {
    if (!OnEditFooter) {
        m_interaction.Beep(BeepKind::Default);
        return;
    }
    // The editor works on its own copy of Footer() and hands it back through SetFooter on OK.
    OnEditFooter();
}

void TUlvanForm::EditDetailSettings() {
    DetailSettings values;
    values.Schedule = Schedule();
    values.HatsuGatsuPrint = CheckBox11->isChecked();
    values.HyakkaNichiPrint = CheckBox12->isChecked();
    const std::optional<DetailSettings> edited = m_shosaiForm->Edit(values);
    if (!edited) {
        return;
    }
    for (std::size_t r = 0; r < 9; ++r) {
        ShowRowName(r, ToQ(edited->Schedule[r].Name));
    }
    m_add = OffsetsOf(edited->Schedule);
    // An eve box set to a new state recomputes on its own; the last recomputation covers
    // the offsets.
    for (std::size_t r = 0; r < 9; ++r) {
        EveBoxes[r]->setChecked(edited->Schedule[r].Eve);
    }
    CheckBox11->setChecked(edited->HatsuGatsuPrint);
    CheckBox12->setChecked(edited->HyakkaNichiPrint);
    ComputeSchedule();
}

void TUlvanForm::CalcAge() {
    m_ageCalForm->Reset();
    KeisanNen = AgeReferenceYear(Edit1->text(), CurrentDate().year(), m_interaction);
    if (const std::optional<QString> age = m_ageCalForm->Calc(KeisanNen)) {
        SetText(gyonen, *age);
    }
}

void TUlvanForm::EditKaimyo() {
    if (const std::optional<QString> name = m_kaiForm->Edit(kaimyo->text())) {
        SetText(kaimyo, *name);
    }
}

void TUlvanForm::RunHook(const std::function<void()>& hook) {
    if (hook) {
        hook();
    } else {
        m_interaction.Beep(BeepKind::Default);
    }
}

} // namespace ulvan
