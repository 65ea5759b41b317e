#include "app/menu_win.h"

#include <iterator>

#include "app/texts.h"

namespace {

// In the order of MenuEntryPosition.
const MenuEntry kEntries[] = {
    {0, text::kMenuSettings, true},
    {1, text::kMenuSave, false},
    {1, text::kMenuLoad, false},
    {1, text::kMenuDeleteSelected, false},
    {1, text::kMenuDeleteAll, false},
    {1, text::kMenuHelp, false},
};
static_assert(std::size(kEntries) == kHelpEntry + 1);

UINT commandOf(std::size_t position) { return static_cast<UINT>(kFirstMenuCommand + position); }

}  // namespace

std::span<const MenuEntry> menuEntries() { return kEntries; }

HMENU createMenuBar() {
    HMENU bar = CreateMenu();
    if (bar == nullptr) return nullptr;
    HMENU popup = nullptr;
    for (std::size_t i = 0; i < std::size(kEntries); ++i) {
        const MenuEntry& entry = kEntries[i];
        if (entry.level == 0) {
            popup = nullptr;
            if (entry.hidden) continue;  // its children go with it
            popup = CreatePopupMenu();
            AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), entry.caption);
        } else if (popup != nullptr) {
            AppendMenuA(popup, MF_STRING, commandOf(i), entry.caption);
        }
    }
    return bar;
}

HMENU createTaskMenuPopup() {
    HMENU popup = CreatePopupMenu();
    if (popup == nullptr) return nullptr;
    bool inSettings = false;
    for (std::size_t i = 0; i < std::size(kEntries); ++i) {
        const MenuEntry& entry = kEntries[i];
        if (entry.level == 0)
            inSettings = entry.caption == text::kMenuSettings;
        else if (inSettings)
            AppendMenuA(popup, MF_STRING, commandOf(i), entry.caption);
    }
    return popup;
}

std::optional<MenuEntryPosition> menuEntryOfCommand(int commandId) {
    if (commandId < kFirstMenuCommand || commandId > kLastMenuCommand) return std::nullopt;
    const auto position = static_cast<std::size_t>(commandId - kFirstMenuCommand);
    if (position >= std::size(kEntries)) return std::nullopt;
    return static_cast<MenuEntryPosition>(position);
}
