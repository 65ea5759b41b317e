// The main window's menu definition: "设置", hidden in the menu bar, with the
// five task commands as its children. An entry's command identifier is
// 20000 plus its position among all entries. Which handler an entry runs
// is bound in app/event_bindings_win.cpp.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <span>

// The entries by their position in the definition.
enum MenuEntryPosition : std::size_t {
    kSettingsEntry,  // 设置
    kSaveEntry,      // 保存
    kLoadEntry,      // 读取
    kDeleteSelectedEntry,  // 删除选中
    kDeleteAllEntry,  // 删除全部
    kHelpEntry,      // 帮助
};

struct MenuEntry {
    int level;  // 0: top level; 1: a child of the last top-level entry
    const char* caption;
    bool hidden;  // hidden in the menu bar, with its children
};

inline constexpr int kFirstMenuCommand = 20000;
inline constexpr int kLastMenuCommand = 57599;

std::span<const MenuEntry> menuEntries();

// The menu bar: the visible top-level entries with their children.
HMENU createMenuBar();

// A new popup of the children of "设置", the task menu; the caller owns it.
HMENU createTaskMenuPopup();

// The entry that a menu command names; nothing for an identifier outside
// the menu commands or past the last entry.
std::optional<MenuEntryPosition> menuEntryOfCommand(int commandId);
