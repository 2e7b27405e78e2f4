// The main window's commands, one row each: the menu bar, the tool bar and every hint they
// show are built from this one table, so a command's caption, hints, shortcut and action
// are written once. A new command of the main window is a new row here plus its place in
// a menu (and on the tool bar when it has a button).
#pragma once

#include "resources/ToolIcons.h"

#include <QKeySequence>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace ulvan {

class TUlvanForm;

struct MainCommand {
    const char* Name = nullptr; // the menu item's objectName
    QString Caption{};          // the menu item's caption
    QString MenuHint{};         // the menu item's status-bar hint and tool tip
    QKeySequence Shortcut{};
    // The tool button, when the command has one: its objectName, its picture and its hint
    // where it differs from the menu's (empty: the menu's hint).
    const char* ToolName = nullptr;
    std::optional<ToolIconId> Icon{};
    QString ToolHint{};
    // Disabled when the window is built (enabled later by the window's own state).
    bool StartsDisabled = false;
    std::function<void(TUlvanForm&)> Run{};

    // The hint the tool button shows.
    const QString& ButtonHint() const { return ToolHint.isEmpty() ? MenuHint : ToolHint; }
};

// A menu of the menu bar: its caption, objectName and the names of its commands in order
// (nullptr: a separator).
struct MainMenu {
    QString Caption{};
    const char* Name = nullptr;
    std::vector<const char*> Items{};
};

// The commands' table, the menu bar in order and the tool bar's buttons in order, named by
// their commands (nullptr: a separator).
const std::vector<MainCommand>& MainCommands();
const std::vector<MainMenu>& MainMenus();
const std::vector<const char*>& MainToolBar();

// The row of `name`, or nullptr.
const MainCommand* FindMainCommand(const char* name);

} // namespace ulvan
