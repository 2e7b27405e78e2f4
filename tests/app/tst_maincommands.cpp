// The main window's menus and tool bar come from its one table of commands: every row is
// reachable, and a tool button runs the same command as its menu item.
#include "ScriptedInteraction.h"
#include "app/MainCommands.h"
#include "app/UlvanMain.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cstring>
#include <functional>
#include <map>
#include <string>

using namespace ulvan;

class TestMainCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void EveryCommandStandsInOneMenuOnce();
    void ToolBarNamesOnlyCommandsWithButtons();
    void MenuItemsCarryTheirRows();
    void ButtonAndMenuItemRunTheSameCommand_data();
    void ButtonAndMenuItemRunTheSameCommand();
};

void TestMainCommands::EveryCommandStandsInOneMenuOnce() {
    std::map<std::string, int> placed;
    for (const MainMenu& menu : MainMenus()) {
        for (const char* item : menu.Items) {
            if (item != nullptr) {
                QVERIFY2(FindMainCommand(item) != nullptr, item);
                ++placed[item];
            }
        }
    }
    for (const MainCommand& command : MainCommands()) {
        QVERIFY2(placed[command.Name] == 1, command.Name);
    }
}

void TestMainCommands::ToolBarNamesOnlyCommandsWithButtons() {
    int buttons = 0;
    for (const char* item : MainToolBar()) {
        if (item == nullptr) {
            continue;
        }
        const MainCommand* command = FindMainCommand(item);
        QVERIFY2(command != nullptr, item);
        QVERIFY2(command->ToolName != nullptr && command->Icon.has_value(), item);
        ++buttons;
    }
    int withButtons = 0;
    for (const MainCommand& command : MainCommands()) {
        withButtons += command.ToolName != nullptr ? 1 : 0;
    }
    QCOMPARE(buttons, withButtons);
}

void TestMainCommands::MenuItemsCarryTheirRows() {
    QTemporaryDir dir;
    ScriptedInteraction ui;
    TUlvanForm form(ui, dir.filePath(QStringLiteral("Dorim.conf")));
    for (const MainCommand& command : MainCommands()) {
        auto* action = form.menuBar()->findChild<QAction*>(QString::fromLatin1(command.Name));
        QVERIFY2(action != nullptr, command.Name);
        QCOMPARE(action->text(), command.Caption);
        QCOMPARE(action->statusTip(), command.MenuHint);
        QCOMPARE(action->shortcut(), command.Shortcut);
        QCOMPARE(action->isEnabled(), !command.StartsDisabled);
        if (command.ToolName != nullptr) {
            auto* button = form.findChild<QToolButton*>(QString::fromLatin1(command.ToolName));
            QVERIFY2(button != nullptr, command.ToolName);
            QCOMPARE(button->statusTip(), command.ButtonHint());
            QCOMPARE(button->toolTip(), command.ButtonHint());
        }
    }
}

void TestMainCommands::ButtonAndMenuItemRunTheSameCommand_data() {
    QTest::addColumn<QString>("name");
    for (const MainCommand& command : MainCommands()) {
        if (command.ToolName != nullptr) {
            QTest::newRow(command.Name) << QString::fromLatin1(command.Name);
        }
    }
}

void TestMainCommands::ButtonAndMenuItemRunTheSameCommand() {
    QFETCH(QString, name);
    QTemporaryDir dir;
    ScriptedInteraction ui;
    TUlvanForm form(ui, dir.filePath(QStringLiteral("Dorim.conf")));
    // Every way out of the window's commands is recorded instead of opening a window or
    // a printer.
    QStringList ran;
    const auto record = [&ran](const char* what) {
        return [&ran, what] { ran << QString::fromLatin1(what); };
    };
    form.OnImport = record("import");
    form.OnAppend = record("append");
    form.OnAnnualChart = record("annual");
    form.OnQuickTable = record("quick");
    form.OnDueList = record("due");
    form.OnPrint = record("print");
    form.OnPrintBlank = record("blank");
    form.OnSavePdf = record("pdf");
    form.OnPreview = [&ran](PreviewKind) { ran << QStringLiteral("preview"); };
    form.Edit1->setText(QStringLiteral("2020"));

    const MainCommand* command = FindMainCommand(name.toLatin1().constData());
    QVERIFY(command != nullptr);
    auto* action = form.menuBar()->findChild<QAction*>(name);
    auto* button = form.findChild<QToolButton*>(QString::fromLatin1(command->ToolName));
    QVERIFY(action != nullptr && button != nullptr);

    action->trigger();
    const QStringList byMenu = ran;
    const QString yearByMenu = form.Edit1->text();
    ran.clear();
    form.Edit1->setText(QStringLiteral("2020"));
    button->click();
    QCOMPARE(ran, byMenu);
    QCOMPARE(form.Edit1->text(), yearByMenu);
    // Each command leaves a trace: a hook ran or the fields were cleared.
    QVERIFY(!byMenu.isEmpty() || yearByMenu.isEmpty());
}

QTEST_MAIN(TestMainCommands)
#include "tst_maincommands.moc"
