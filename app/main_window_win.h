// The main window: its controls, its state, and how it is loaded.
#pragma once

#include <windows.h>

#include <memory>

#include "tasks/drop_target_win.h"
#include "schedule/tick.h"
#include "tasks/list_view_win.h"

inline constexpr int kMainWindowWidth = 454;
inline constexpr int kMainWindowHeight = 460;

// Control identifiers; menu commands use 20000 and up.
enum ControlId : int {
    kTaskListId = 101,
    kAddButtonId,
    kTimeCaptionId,
    kPathCaptionId,
    kTimeFieldId,
    kPathFieldId,
    kClockLabelId,
};
inline constexpr UINT_PTR kTickTimerId = 1;

// Everything that lives exactly as long as the main window. The controls
// keep the names of the window's form.
struct MainWindow {
    HWND window = nullptr;
    HWND 超级列表框1 = nullptr;  // task list
    HWND 按钮4 = nullptr;        // add button "确认添加"
    HWND 标签1 = nullptr;        // caption of the time field
    HWND 标签2 = nullptr;        // caption of the path field
    HWND 编辑框1 = nullptr;      // time field
    HWND 编辑框2 = nullptr;      // path field
    HWND 标签4 = nullptr;        // clock label
    // 时钟1, the tick timer, is the window timer kTickTimerId.
    // 拖放对象1, the drop target; registered on the window when it is created.
    std::unique_ptr<FileDropTarget, ComReleaser<FileDropTarget>> 拖放对象1;

    // The tick writes the clock into the time field while this is true.
    bool timeFollowsClock = false;
    // The last second the scheduler tick examined.
    TickState tickState;
    // The control that had the focus when the window was last deactivated.
    HWND focusBeforeDeactivation = nullptr;

    ListViewTaskList tasks() const noexcept { return ListViewTaskList(超级列表框1); }
};

// Creates the hidden main window with all its controls and runs its created
// handler; shows nothing. Null, with an error message shown, when the
// system refuses the window or one of its controls.
std::unique_ptr<MainWindow> loadMainWindow(HINSTANCE instance);

// The state of a main window handle, or null for any other window.
MainWindow* mainWindowOf(HWND window) noexcept;

// Writes a window text in the ANSI code page; reads one whole.
void setWindowText(HWND window, const std::string& text);
std::string windowText(HWND window);
