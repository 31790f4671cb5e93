// SPDX-License-Identifier: MIT
#pragma once

#include <span>

#include "app/toolbar_icons.h"

namespace kr820::app {

class TfrmMain;

// A menu of the main window's menu bar, by its object name, with its title (mnemonic included).
struct MainMenu {
    const char* name;
    const char* title;
    bool visible = true;
};

// An entry's tool button, when it has one: its object name, picture and hint (which is also
// what a screen reader says for it), and its place on the tool bar from the left.
struct ToolSlot {
    const char* name = nullptr;
    ToolIcon icon = ToolIcon::Open;
    const char* hint = nullptr;
    int place = 0;
};

// One command of the main window. The menus and the tool bar are built from these rows, in
// order; a new command (a new dialog, say) is one more row.
struct MainAction {
    enum Flag : unsigned {
        None = 0,
        SeparatorBefore = 1,
        Checkable = 2,
        Radio = 4,    // one of the menu's exclusive choices
        Checked = 8,  // ticked at the start
    };

    const char* menu;  // the MainMenu's name; nullptr: the entry sits on the menu bar itself
    const char* name;  // the entry's object name
    const char* text;  // with its mnemonic
    void (*run)(TfrmMain&);
    // Held: the command owns the port or a window's data, so it runs under the command lock and
    // is dropped while another such command runs.
    bool locked;
    unsigned flags = None;
    ToolSlot tool = {};
    const char* shortcut = nullptr;  // a QKeySequence's text, shown beside the entry
};

// The menu bar's menus, left to right (the entries on the bar itself sit between them as the
// action table orders them).
std::span<const MainMenu> MainMenus();

// The main window's commands.
std::span<const MainAction> MainActions();

// The row named `name` (an entry's or a tool button's object name), or nullptr.
const MainAction* FindMainAction(const char* name);

}  // namespace kr820::app
