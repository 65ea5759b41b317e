// The main window's menu definition: "设置", hidden in the menu bar, with the
// five task commands as its children. An entry's command identifier is
// 20000 plus its position among all entries.
#pragma once

#include <windows.h>

#include <memory>
#include <span>

struct MainWindow;

using MenuHandler = void (*)(MainWindow&);

struct MenuEntry {
    int level;  // 0: top level; 1: a child of the last top-level entry
    const char* caption;
    bool hidden;          // hidden in the menu bar, with its children
    MenuHandler handler;  // run when the entry is chosen
};

inline constexpr int kFirstMenuCommand = 20000;
inline constexpr int kLastMenuCommand = 57599;

std::span<const MenuEntry> menuEntries();

// The menu bar: the visible top-level entries with their children.
HMENU createMenuBar();

// A new popup of the children of "设置", the task menu; the caller owns it.
HMENU createTaskMenuPopup();

// Runs the handler of the entry with this command identifier; ignores an
// identifier outside the entries. False when the identifier is no menu command.
bool runMenuCommand(MainWindow& main, int commandId);

struct MenuDestroyer {
    void operator()(HMENU menu) const noexcept { DestroyMenu(menu); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;
