// The real main window under Wine: geometry, settings, keyboard, task entry
// and drops, driven through the program's own message path.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "app/message_loop_win.h"
#include "app/texts.h"
#include "documents_folder.h"
#include "process_support.h"
#include "schedule/datetime.h"
#include "schedule/tick.h"
#include "win_test_support.h"

namespace {

class MainWindowTest : public ShownMainWindowTest {
protected:
    // Posts a key to the focused window, as the keyboard would, with the
    // modifiers held in the thread's key state, and lets the program handle it.
    void pressKey(WORD key, std::initializer_list<int> modifiers = {}) {
        BYTE state[256];
        GetKeyboardState(state);
        for (int modifier : modifiers) state[modifier] = 0x80;
        SetKeyboardState(state);
        HWND target = GetFocus() != nullptr ? GetFocus() : main_->window;
        const bool alt = std::find(modifiers.begin(), modifiers.end(), VK_MENU) != modifiers.end();
        const LPARAM lParam = 1 | (alt ? (1 << 29) : 0);
        PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, lParam);
        pumpMessages();
        for (int modifier : modifiers) state[modifier] = 0;
        SetKeyboardState(state);
    }

    bool windowAlive() const { return IsWindow(main_->window) != FALSE; }
};

RECT clientRectOf(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The time the clock label shows; minDateTime before the first tick.
DateTime clockLabelTime(const MainWindow& main) {
    const std::string label = windowText(main.标签4);
    return textToDateTime(std::string_view(label).substr(std::string_view(text::kClockPrefix).size()));
}

// Seconds, which compare exactly where DateTime sums may not.
SecondCount clockLabelSecond(const MainWindow& main) { return secondOf(clockLabelTime(main)); }
SecondCount timeFieldSecond(const MainWindow& main) { return secondOf(textToDateTime(windowText(main.编辑框1))); }

// Handles messages until the clock label shows `second` or later.
bool pumpUntilClockShows(const MainWindow& main, SecondCount second) {
    return pumpUntil([&] { return clockLabelSecond(main) >= second; });
}

std::string classOf(HWND window) {
    char name[64];
    GetClassNameA(window, name, sizeof name);
    return name;
}

}  // namespace

TEST_F(MainWindowTest, IsCentredWithTheFixedOuterSizeTitleAndStyles) {
    RECT outer;
    GetWindowRect(main_->window, &outer);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 454) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 460) / 2);
    EXPECT_EQ(outer.right - outer.left, 454);
    EXPECT_EQ(outer.bottom - outer.top, 460);
    EXPECT_EQ(windowText(main_->window), text::kWindowTitle);
    EXPECT_EQ(classOf(main_->window), text::kWindowTitle);

    const auto style = static_cast<DWORD>(GetWindowLongPtrA(main_->window, GWL_STYLE));
    for (DWORD bit : {WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX, WS_CLIPCHILDREN}) EXPECT_TRUE(style & bit) << bit;
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_EQ(GetWindowLongPtrA(main_->window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    EXPECT_NE(SendMessageA(main_->window, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageA(main_->window, WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_EQ(GetParent(main_->window), nullptr);
    EXPECT_EQ(GetWindow(main_->window, GW_OWNER), nullptr);
}

TEST_F(MainWindowTest, MenuBarIsPresentAndEmpty) {
    HMENU bar = GetMenu(main_->window);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenuItemCount(bar), 0);
}

struct ControlExpectation {
    HWND MainWindow::*handle;
    const char* className;
    RECT rect;
    const char* text;
    DWORD styleBits;
};

TEST_F(MainWindowTest, ControlsHaveTheirClassRectangleTextAndStyles) {
    const DWORD edit = WS_BORDER | ES_AUTOHSCROLL;
    const ControlExpectation controls[] = {
        {&MainWindow::超级列表框1, "SysListView32", {0, 0, 450, 320}, nullptr,
         WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_EDITLABELS},
        {&MainWindow::按钮4, "Button", {360, 380, 440, 405}, text::kAddButton,
         BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE},
        {&MainWindow::标签1, "Static", {18, 340, 50, 372}, text::kTimeCaption, 0},
        {&MainWindow::标签2, "Static", {20, 377, 52, 409}, text::kPathCaption, 0},
        {&MainWindow::编辑框1, "Edit", {60, 345, 240, 370}, "", edit},
        {&MainWindow::编辑框2, "Edit", {60, 380, 240, 405}, "", edit},
        {&MainWindow::标签4, "Static", {250, 350, 470, 370}, text::kClockPrefix, 0},
    };
    for (const auto& c : controls) {
        HWND control = main_.get()->*c.handle;
        SCOPED_TRACE(c.className);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(classOf(control), c.className);
        const RECT rect = clientRectOf(control);
        EXPECT_EQ(rect.left, c.rect.left);
        EXPECT_EQ(rect.top, c.rect.top);
        EXPECT_EQ(rect.right, c.rect.right);
        EXPECT_EQ(rect.bottom, c.rect.bottom);
        if (c.text != nullptr && control != main_->编辑框1) {
            EXPECT_EQ(windowText(control), c.text);
        }
        const auto style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
        EXPECT_EQ(style & c.styleBits, c.styleBits);
        EXPECT_TRUE(IsWindowVisible(control));
        EXPECT_EQ(SendMessageA(control, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
    }
    const auto buttonStyle = GetWindowLongPtrA(main_->按钮4, GWL_STYLE);
    EXPECT_NE(buttonStyle & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    const auto listStyle = GetWindowLongPtrA(main_->超级列表框1, GWL_STYLE);
    EXPECT_FALSE(listStyle & (LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER));
    EXPECT_FALSE(GetWindowLongPtrA(main_->超级列表框1, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(MainWindowTest, TaskListHasItsColumnsExtendedStylesAndColours) {
    HWND list = main_->超级列表框1;
    const DWORD extended = static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    const DWORD wanted = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP;
    EXPECT_EQ(extended & wanted, wanted);
    EXPECT_FALSE(extended & (LVS_EX_CHECKBOXES | LVS_EX_TRACKSELECT));
    EXPECT_EQ(SendMessageA(list, LVM_GETTEXTCOLOR, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(SendMessageA(list, LVM_GETTEXTBKCOLOR, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(SendMessageA(list, LVM_GETBKCOLOR, 0, 0), RGB(255, 255, 255));

    const char* headers[] = {text::kSerialColumn, text::kTimeColumn, text::kCommandColumn};
    const int widths[] = {50, 200, 200};
    EXPECT_EQ(main_->tasks().columnCount(), 3);
    for (int i = 0; i < 3; ++i) {
        char buffer[128] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = buffer;
        column.cchTextMax = sizeof buffer;
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(buffer, headers[i]);
        EXPECT_EQ(column.cx, widths[i]);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
}

TEST_F(MainWindowTest, TimeFieldStartsWithTheTimeOfStartAndFollowsTheClock) {
    const DateTime shown = textToDateTime(windowText(main_->编辑框1));
    const DateTime now = currentDateTime();
    EXPECT_GE(shown, now - 5.0 / 86400);
    EXPECT_LE(shown, now);
    EXPECT_TRUE(main_->timeFollowsClock);
    EXPECT_EQ(windowText(main_->编辑框2), "");
}

// The time field across ticks, as the user meets it: it follows the clock
// from the start, also while typed into after Tab reached it; a press on it
// stops that until the next add.
TEST(TimeFieldAcrossTicks, FollowsTheClockUntilPressedAndAgainAfterAnAdd) {
    drainQuit();
    const std::unique_ptr<MainWindow> main = loadMainWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(main, nullptr);
    // No message handled yet, so no tick either.
    const SecondCount start = timeFieldSecond(*main);
    EXPECT_EQ(windowText(main->标签4), text::kClockPrefix);
    ShowWindow(main->window, SW_SHOW);
    SetForegroundWindow(main->window);

    // Ticks replace the time of start with the time of each tick.
    ASSERT_TRUE(pumpUntilClockShows(*main, start + 2));
    EXPECT_GE(timeFieldSecond(*main), clockLabelSecond(*main) - 1);

    // Reached with Tab, typed into: the next tick overwrites the typing.
    ASSERT_EQ(GetFocus(), main->超级列表框1);
    for (int i = 0; i < 2; ++i) {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        pumpMessages();
    }
    ASSERT_EQ(GetFocus(), main->编辑框1);
    PostMessageA(main->编辑框1, WM_CHAR, 'x', 1);
    pumpMessages();
    ASSERT_NE(windowText(main->编辑框1).find('x'), std::string::npos);
    EXPECT_TRUE(main->timeFollowsClock);
    ASSERT_TRUE(pumpUntilClockShows(*main, clockLabelSecond(*main) + 1));
    EXPECT_EQ(windowText(main->编辑框1).find('x'), std::string::npos);
    EXPECT_GE(timeFieldSecond(*main), clockLabelSecond(*main) - 1);

    // A press on the field's text line: later ticks leave the typed time.
    RECT line;
    GetClientRect(main->编辑框1, &line);
    MapWindowPoints(main->编辑框1, nullptr, reinterpret_cast<POINT*>(&line), 2);
    clickAt((line.left + line.right) / 2, (line.top + line.bottom) / 2);
    ASSERT_FALSE(main->timeFollowsClock);
    const std::string typed = "2030\xC4\xEA" "1\xD4\xC2" "1\xC8\xD5";  // 2030年1月1日
    setWindowText(main->编辑框1, typed);
    ASSERT_TRUE(pumpUntilClockShows(*main, clockLabelSecond(*main) + 2));
    EXPECT_EQ(windowText(main->编辑框1), typed);

    // The add takes the typed time; the next tick writes the clock again.
    SendMessageA(main->按钮4, BM_CLICK, 0, 0);
    pumpMessages();
    EXPECT_EQ(main->tasks().cellText(0, 1), typed);
    ASSERT_TRUE(pumpUntilClockShows(*main, clockLabelSecond(*main) + 1));
    EXPECT_GE(timeFieldSecond(*main), clockLabelSecond(*main) - 1);

    DestroyWindow(main->window);
    drainQuit();
}

// Minimised, the window goes on ticking and starts a task that falls due.
TEST_F(MainWindowTest, MinimisedItKeepsTickingAndStartsADueTask) {
    char folder[MAX_PATH], log[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "tvm", 0, log);
    ASSERT_TRUE(SetEnvironmentVariableA("TARVELO_PROBE_LOG", log));
    ShowWindow(main_->window, SW_MINIMIZE);
    pumpMessages();
    ASSERT_TRUE(IsIconic(main_->window));
    const DateTime due = currentDateTime() + 2.0 / 86400;
    addTaskThroughButton(*main_, dateTimeToText(due), "\"" + buildFolder() + "\\launch_probe.exe\" minimised");
    const bool started = pumpUntil([&] { return fileBytes(log).value_or("").find("minimised") != std::string::npos; });
    SetEnvironmentVariableA("TARVELO_PROBE_LOG", nullptr);
    DeleteFileA(log);
    EXPECT_TRUE(started) << "the due task did not start while the window was minimised";
    EXPECT_GE(clockLabelSecond(*main_), secondOf(due)) << "the clock label stopped";
    EXPECT_TRUE(IsIconic(main_->window));
}

TEST_F(MainWindowTest, FocusStartsOnTheTaskListAndTabCyclesBothWays) {
    HWND list = main_->超级列表框1, button = main_->按钮4, time = main_->编辑框1, path = main_->编辑框2;
    EXPECT_EQ(GetFocus(), list);
    const HWND forward[] = {button, time, path, list, button};
    for (HWND expected : forward) {
        pressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), expected);
    }
    const HWND backward[] = {list, path, time, button, list};
    for (HWND expected : backward) {
        pressKey(VK_TAB, {VK_SHIFT});
        EXPECT_EQ(GetFocus(), expected);
    }
}

TEST_F(MainWindowTest, FocusComesBackToTheControlThatHadItBeforeDeactivation) {
    for (HWND control : {main_->编辑框2, main_->按钮4}) {
        SetFocus(control);
        HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                     nullptr, nullptr, nullptr);
        ASSERT_NE(other, nullptr);
        SetActiveWindow(other);
        pumpMessages();
        EXPECT_NE(GetFocus(), control);
        SetActiveWindow(main_->window);
        pumpMessages();
        EXPECT_EQ(GetFocus(), control);
        DestroyWindow(other);
        pumpMessages();
    }
}

TEST_F(MainWindowTest, EnterDoesNotMoveTheFocus) {
    for (HWND control : {main_->超级列表框1, main_->按钮4, main_->编辑框1, main_->编辑框2}) {
        SetFocus(control);
        pressKey(VK_RETURN);
        EXPECT_EQ(GetFocus(), control);
        EXPECT_TRUE(windowAlive());
    }
}

TEST_F(MainWindowTest, EscWithAModifierDoesNotClose) {
    for (int modifier : {VK_CONTROL, VK_SHIFT, VK_MENU}) {
        SetFocus(main_->编辑框2);
        pressKey(VK_ESCAPE, {modifier});
        EXPECT_TRUE(windowAlive()) << modifier;
    }
}

class EscapeFromControl : public MainWindowTest, public testing::WithParamInterface<int> {};

TEST_P(EscapeFromControl, ClosesTheWindowAndPostsQuit) {
    HWND controls[] = {main_->超级列表框1, main_->按钮4, main_->编辑框1, main_->编辑框2};
    SetFocus(controls[GetParam()]);
    pressKey(VK_ESCAPE);
    EXPECT_FALSE(windowAlive());
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

INSTANTIATE_TEST_SUITE_P(EachControl, EscapeFromControl, testing::Range(0, 4));

TEST_F(MainWindowTest, EscInTheInPlaceEditorClosesTheWindow) {
    addTaskThroughButton(*main_, "t", "c");
    SetFocus(main_->超级列表框1);
    HWND editor = reinterpret_cast<HWND>(SendMessageA(main_->超级列表框1, LVM_EDITLABELA, 0, 0));
    ASSERT_NE(editor, nullptr);
    pumpMessages();
    SetFocus(editor);
    pressKey(VK_TAB);  // Tab from inside the editor goes on from the list
    EXPECT_EQ(GetFocus(), main_->按钮4);
    editor = reinterpret_cast<HWND>(SendMessageA(main_->超级列表框1, LVM_EDITLABELA, 0, 0));
    ASSERT_NE(editor, nullptr);
    SetFocus(editor);
    pressKey(VK_ESCAPE);
    EXPECT_FALSE(windowAlive());
}

TEST_F(MainWindowTest, AnEditedSerialStaysAsTyped) {
    addTaskThroughButton(*main_, "t", "c");
    SetFocus(main_->超级列表框1);
    HWND editor = reinterpret_cast<HWND>(SendMessageA(main_->超级列表框1, LVM_EDITLABELA, 0, 0));
    ASSERT_NE(editor, nullptr);
    SetWindowTextA(editor, "x&9");
    pressKey(VK_RETURN);
    pumpMessages();
    EXPECT_EQ(main_->tasks().cellText(0, 0), "x&9");
}

TEST_F(MainWindowTest, PressOnTheTextLineOfTheTimeFieldStopsFollowingTheClock) {
    HWND field = main_->编辑框1;
    RECT window, client;
    GetWindowRect(field, &window);
    GetClientRect(field, &client);
    MapWindowPoints(field, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ASSERT_GT(client.top, window.top + 1) << "the text line is not centred";
    ASSERT_LT(client.bottom, window.bottom - 1);

    struct Press {
        int y;
        bool raises;
    };
    const int x = (client.left + client.right) / 2;
    const Press presses[] = {{window.top + 2, false}, {window.bottom - 2, false}, {(client.top + client.bottom) / 2, true}};
    for (const Press& press : presses) {
        main_->timeFollowsClock = true;
        clickAt(x, press.y);
        EXPECT_EQ(main_->timeFollowsClock, !press.raises) << "press at y = " << press.y;
    }
}

TEST_F(MainWindowTest, AddingTasksNumbersThemByRowCount) {
    main_->timeFollowsClock = false;
    addTaskThroughButton(*main_, "2019\xC4\xEA" "3\xD4\xC2" "2\xC8\xD5", "C:\\Tools\\run.bat");
    EXPECT_TRUE(main_->timeFollowsClock);
    addTaskThroughButton(*main_, "", "");
    addTaskThroughButton(*main_, "x", "y");
    ListViewTaskList list = main_->tasks();
    EXPECT_EQ(rowsOf(list), (Rows{{"1", "2019\xC4\xEA" "3\xD4\xC2" "2\xC8\xD5", "C:\\Tools\\run.bat"},
                                  {"2", "", ""},
                                  {"3", "x", "y"}}));
    EXPECT_EQ(windowText(main_->编辑框2), "y");  // the fields are not cleared

    ListView_SetItemState(main_->超级列表框1, 1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.selectedRow(), 1);
    chooseMenuCommand(*main_, 20003);  // 删除选中
    addTaskThroughButton(*main_, "z", "w");
    std::vector<std::string> serials;
    for (const auto& row : rowsOf(list)) serials.push_back(row[0]);
    EXPECT_EQ(serials, (std::vector<std::string>{"1", "3", "3"}));
}

TEST_F(MainWindowTest, DeletesWithoutSelectionOrOnAnEmptyListChangeNothing) {
    chooseMenuCommand(*main_, 20004);  // 删除全部 on an empty list
    ListViewTaskList list = main_->tasks();
    EXPECT_EQ(list.rowCount(), 0);
    addTaskThroughButton(*main_, "a", "b");
    chooseMenuCommand(*main_, 20003);  // 删除选中 with nothing selected
    EXPECT_EQ(list.rowCount(), 1);
    EXPECT_EQ(list.selectedRow(), -1);
    chooseMenuCommand(*main_, 20099);  // past the last entry: ignored
    EXPECT_EQ(list.rowCount(), 1);
    chooseMenuCommand(*main_, 20004);
    EXPECT_EQ(list.rowCount(), 0);
}

TEST_F(MainWindowTest, CellTextReadsLongCellsWhole) {
    ListViewTaskList list = main_->tasks();
    const int row = list.appendRow();
    ASSERT_EQ(row, 0);
    // Lengths around the first buffer, odd and even, in GBK double-byte
    // characters so that a cut cannot hide inside a character.
    for (std::size_t length : {510u, 511u, 512u, 513u, 1023u, 1024u, 6001u}) {
        std::string text;
        while (text.size() + 2 <= length) text += "\xCA\xB1";  // 时
        if (text.size() < length) text += "a";
        list.setCellText(row, 2, text);
        EXPECT_EQ(list.cellText(row, 2), text) << length;
    }
    EXPECT_EQ(list.cellText(5, 1), "");  // no such row
    EXPECT_EQ(list.cellText(row, 0), "");
}

TEST_F(MainWindowTest, DropTargetTakesFilesOnlyAndFillsThePathField) {
    setWindowText(main_->编辑框2, "old");
    const auto drop = [&](IDataObject* data) {
        DWORD effect = DROPEFFECT_COPY;
        main_->拖放对象1->DragEnter(data, MK_LBUTTON, POINTL{0, 0}, &effect);
        const DWORD enterEffect = effect;
        effect = DROPEFFECT_COPY;
        main_->拖放对象1->Drop(data, MK_LBUTTON, POINTL{0, 0}, &effect);
        return enterEffect;
    };

    auto text = makeTextDataObject("C:\\not\\a\\file.txt");
    EXPECT_EQ(drop(text.get()), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(windowText(main_->编辑框2), "old");

    auto one = makeFileDropDataObject({"C:\\Tools\\run.bat"});
    EXPECT_EQ(drop(one.get()), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(windowText(main_->编辑框2), "C:\\Tools\\run.bat");

    auto two = makeFileDropDataObject({"C:\\a.exe", "D:\\\xCA\xB1 b.bat"});
    drop(two.get());
    EXPECT_EQ(windowText(main_->编辑框2), "C:\\a.exe\r\nD:\\\xCA\xB1 b.bat\r\n");
    addTaskThroughButton(*main_, "t", windowText(main_->编辑框2));
    EXPECT_EQ(main_->tasks().cellText(0, 2), "C:\\a.exe\r\nD:\\\xCA\xB1 b.bat\r\n");
}

TEST_F(MainWindowTest, DropTargetIsRegisteredOnTheWindow) {
    // A second registration is refused while ours is in place.
    EXPECT_EQ(RegisterDragDrop(main_->window, main_->拖放对象1.get()), DRAGDROP_E_ALREADYREGISTERED);
}
