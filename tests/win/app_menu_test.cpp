// The task menu and the help notice on the real window, under Wine.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/help_notice_win.h"
#include "app/main_window_win.h"
#include "app/texts.h"
#include "documents_folder.h"
#include "process_support.h"
#include "schedule/datetime.h"
#include "tests/support/gbk_test_texts.h"
#include "win_test_support.h"

namespace {

BOOL CALLBACK findIconStatic(HWND child, LPARAM found) {
    char name[16] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") == 0 && (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        SendMessageA(child, STM_GETICON, 0, 0) != 0) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

bool hasIconControl(HWND box) {
    bool found = false;
    EnumChildWindows(box, findIconStatic, reinterpret_cast<LPARAM>(&found));
    return found;
}

struct PopupSeen {
    bool seen = false;
    POINT topLeft{};
    std::vector<std::pair<UINT, std::string>> items;
    bool allEnabled = true;
};

// Right-clicks at a point of the task list, records the popup that opens
// and then does `inside` with it (presses keys, clicks...).
PopupSeen rightClickAndThen(MainWindow& main, POINT clientPoint, std::function<void(HWND popup)> inside) {
    PopupSeen result;
    NestedProbe::every(100, [&result, inside] {
        HWND popup = visibleWindowOfThisProcess("#32768");
        if (popup == nullptr) return false;
        RECT rect;
        GetWindowRect(popup, &rect);
        result.seen = true;
        result.topLeft = {rect.left, rect.top};
        auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char caption[64] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
            result.items.emplace_back(GetMenuItemID(menu, i), caption);
            if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED))
                result.allEnabled = false;
        }
        inside(popup);
        return true;
    });
    POINT screen = clientPoint;
    ClientToScreen(main.超级列表框1, &screen);
    rightClickAt(screen);
    NestedProbe::stop();
    pumpMessages();
    return result;
}

PopupSeen rightClickAndPress(MainWindow& main, POINT clientPoint, std::vector<WORD> keys) {
    return rightClickAndThen(main, clientPoint, [keys](HWND popup) {
        for (WORD key : keys) PostMessageA(popup, WM_KEYDOWN, key, 1);
    });
}

// Presses OK on the next message box of this thread, after reading its text.
void answerNextBox(std::string& caption, std::string& message) {
    NestedProbe::every(100, [&caption, &message] {
        HWND box = visibleWindowOfThisProcess("#32770");
        if (box == nullptr) return false;
        caption = windowText(box);
        message = messageBoxText(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
}

using TaskMenuTest = ShownMainWindowTest;

// What the test saw of a help notice left to close by itself.
struct SelfClosingNotice {
    DWORD openedAt = 0;
    DWORD openFor = 0;
    std::string caption;
    bool forced = false;  // still open after 30 s: OK was pressed for it
};

// Chooses 帮助 and watches the notice until it has gone.
SelfClosingNotice chooseHelpAndWatch(MainWindow& main) {
    SelfClosingNotice notice;
    NestedProbe::every(100, [&notice] {
        HWND box = visibleWindowOfThisProcess("#32770");
        if (box == nullptr) return false;
        if (notice.openedAt == 0) {
            notice.openedAt = GetTickCount();
            notice.caption = windowText(box);
        }
        if (GetTickCount() - notice.openedAt < 30000) return false;
        notice.forced = true;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    chooseMenuCommand(main, 20005);
    notice.openFor = GetTickCount() - notice.openedAt;
    NestedProbe::stop();
    return notice;
}

bool messageBoxTimeoutLookedUp = false;

MessageBoxTimeoutFunction lookUpNothing() {
    messageBoxTimeoutLookedUp = true;
    return nullptr;
}

struct MissingMessageBoxTimeout {
    MissingMessageBoxTimeout() { setMessageBoxTimeoutLookup(lookUpNothing); }
    ~MissingMessageBoxTimeout() { setMessageBoxTimeoutLookup(nullptr); }
};

}  // namespace

TEST_F(TaskMenuTest, RightClickOpensTheFiveCommandsAtThePointerAndEscRunsNothing) {
    const std::vector<std::pair<UINT, std::string>> expected = {
        {20001, text::kMenuSave},         {20002, text::kMenuLoad}, {20003, text::kMenuDeleteSelected},
        {20004, text::kMenuDeleteAll}, {20005, text::kMenuHelp}};
    // On an empty list, then on a row and below the rows of a list with one.
    const struct {
        bool withRow;
        POINT at;
    } clicks[] = {{false, {100, 100}}, {true, {100, 30}}, {true, {100, 200}}};
    for (const auto& click : clicks) {
        if (click.withRow && main_->tasks().rowCount() == 0) addTaskThroughButton(*main_, "t", "c");
        const int rowsBefore = main_->tasks().rowCount();
        POINT screen = click.at;
        ClientToScreen(main_->超级列表框1, &screen);
        const PopupSeen popup = rightClickAndPress(*main_, click.at, {VK_ESCAPE});
        ASSERT_TRUE(popup.seen) << click.at.y;
        EXPECT_EQ(popup.topLeft.x, screen.x + 3);
        EXPECT_EQ(popup.topLeft.y, screen.y + 3);
        EXPECT_EQ(popup.items, expected);
        EXPECT_TRUE(popup.allEnabled);
        EXPECT_EQ(main_->tasks().rowCount(), rowsBefore);
        EXPECT_TRUE(IsWindow(main_->window));
        EXPECT_EQ(visibleWindowOfThisProcess("#32768"), nullptr);
    }
}

TEST_F(TaskMenuTest, ChoosingDeleteItemsRunsTheirHandlers) {
    for (int i = 0; i < 3; ++i) addTaskThroughButton(*main_, "t", "c");
    // A right click on the second row selects it; third item: 删除选中.
    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(main_->超级列表框1, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)));
    const POINT onRow{50, (row.top + row.bottom) / 2};
    PopupSeen popup = rightClickAndPress(*main_, onRow, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(popup.seen);
    EXPECT_EQ(rowsOf(main_->tasks()), (Rows{{"1", "t", "c"}, {"3", "t", "c"}}));
    // Fourth item: 删除全部.
    popup = rightClickAndPress(*main_, {100, 200}, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(popup.seen);
    EXPECT_EQ(main_->tasks().rowCount(), 0);
}

TEST_F(TaskMenuTest, HelpNoticeShowsTheTextAndClosesItselfAfterTenSecondsWhileTicksGoOn) {
    struct Seen {
        bool box = false;
        std::string caption, message;
        bool icon = false, ok = false, cancel = false;
        DWORD openedAt = 0;
        bool forced = false;
        std::vector<std::string> clockTexts;
    } seen;
    NestedProbe::every(200, [&] {
        HWND box = visibleWindowOfThisProcess("#32770");
        if (box == nullptr) return false;
        if (!seen.box) {
            seen.box = true;
            seen.openedAt = GetTickCount();
            seen.caption = windowText(box);
            seen.message = messageBoxText(box);
            seen.icon = hasIconControl(box);
            seen.ok = GetDlgItem(box, IDOK) != nullptr;
            seen.cancel = GetDlgItem(box, IDCANCEL) != nullptr && IsWindowVisible(GetDlgItem(box, IDCANCEL));
        }
        const std::string clock = windowText(main_->标签4);
        if (seen.clockTexts.empty() || seen.clockTexts.back() != clock) seen.clockTexts.push_back(clock);
        if (GetTickCount() - seen.openedAt < 30000) return false;  // keep watching until the box is gone
        seen.forced = true;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    // A task falls due while the notice is open.
    char folder[MAX_PATH], log[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "tvh", 0, log);
    ASSERT_TRUE(SetEnvironmentVariableA("TARVELO_PROBE_LOG", log));
    addTaskThroughButton(*main_, dateTimeToText(currentDateTime() + 4.0 / 86400),
                         "\"" + buildFolder() + "\\launch_probe.exe\" while-help");
    chooseMenuCommand(*main_, 20005);
    const DWORD closedAt = GetTickCount();
    NestedProbe::stop();

    ASSERT_TRUE(seen.box);
    EXPECT_EQ(seen.caption, text::kHelpCaption);
    EXPECT_EQ(seen.message, text::kHelpText);
    EXPECT_TRUE(seen.icon);
    EXPECT_TRUE(seen.ok);
    EXPECT_FALSE(seen.cancel);
    const DWORD openFor = closedAt - seen.openedAt;
    EXPECT_GE(openFor, 9000u);
    EXPECT_FALSE(seen.forced) << "the notice did not close by itself";
    std::printf("help notice open for %lu ms\n", static_cast<unsigned long>(openFor));
    // The clock label went on changing while the box was open.
    SetEnvironmentVariableA("TARVELO_PROBE_LOG", nullptr);
    const std::string started = fileBytes(log).value_or("");
    DeleteFileA(log);
    EXPECT_NE(started.find("while-help"), std::string::npos) << "the due task did not start under the notice";
    EXPECT_EQ(started.find("while-help"), started.rfind("while-help")) << "started twice";
    EXPECT_GE(seen.clockTexts.size(), 8u);
}

TEST_F(TaskMenuTest, HelpNoticeClosedByOkLeavesNoTimerToCloseTheNextOne) {
    // OK at once; then a second notice must stay open for its own 10 s.
    NestedProbe::every(100, [] {
        HWND box = visibleWindowOfThisProcess("#32770");
        if (box == nullptr) return false;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    chooseMenuCommand(*main_, 20005);
    NestedProbe::stop();
    const SelfClosingNotice next = chooseHelpAndWatch(*main_);
    ASSERT_NE(next.openedAt, 0u);
    EXPECT_FALSE(next.forced);
    EXPECT_GE(next.openFor, 9000u);
}

// On a system without MessageBoxTimeoutA the notice is a plain message
// box, which closes by itself all the same.
TEST_F(TaskMenuTest, HelpNoticeWithoutMessageBoxTimeoutStillClosesItself) {
    SelfClosingNotice notice;
    {
        const MissingMessageBoxTimeout missing;
        messageBoxTimeoutLookedUp = false;
        notice = chooseHelpAndWatch(*main_);
    }
    EXPECT_TRUE(messageBoxTimeoutLookedUp);
    ASSERT_NE(notice.openedAt, 0u);
    EXPECT_EQ(notice.caption, text::kHelpCaption);
    EXPECT_FALSE(notice.forced) << "the notice did not close by itself";
    EXPECT_GE(notice.openFor, 9000u);
}

TEST_F(TaskMenuTest, AClickOutsideClosesTheMenuAndRunsNothing) {
    addTaskThroughButton(*main_, "t", "c");
    const PopupSeen popup = rightClickAndThen(*main_, {100, 200}, [this](HWND) {
        RECT window;
        GetWindowRect(main_->window, &window);
        // Left of the window, on the desktop.
        // Straight into the input queue: the menu's own loop must see the click.
        SetCursorPos(window.left > 20 ? window.left - 10 : window.right + 10, window.top + 50);
        INPUT inputs[2] = {};
        inputs[0].type = inputs[1].type = INPUT_MOUSE;
        inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, inputs, sizeof(INPUT));
    });
    ASSERT_TRUE(popup.seen);
    EXPECT_EQ(visibleWindowOfThisProcess("#32768"), nullptr);
    EXPECT_EQ(rowsOf(main_->tasks()), (Rows{{"1", "t", "c"}}));
    EXPECT_TRUE(IsWindow(main_->window));
}

TEST_F(TaskMenuTest, SaveLoadAndHelpChosenInThePopupRunTheirHandlers) {
    DocumentsFolder documents(newFolderName());
    addTaskThroughButton(*main_, "2019-3-2", "a.bat");
    std::string caption, message;
    // First item: 保存, which reports in a box.
    PopupSeen popup = rightClickAndThen(*main_, {100, 200}, [&](HWND menu) {
        answerNextBox(caption, message);
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 1);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 1);
    });
    ASSERT_TRUE(popup.seen);
    NestedProbe::stop();
    EXPECT_EQ(message, gbk::kSaved);
    EXPECT_EQ(fileBytes(documents.taskFile()),
              std::optional<std::string>("[Tarvelo\xA3\xBA]\r\n1=2019-3-2\xA3\xAC" "a.bat\r\n"));

    // Second item: 读取, after the list has changed.
    addTaskThroughButton(*main_, "x", "y");
    popup = rightClickAndPress(*main_, {100, 200}, {VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(popup.seen);
    EXPECT_EQ(rowsOf(main_->tasks()), (Rows{{"1", "2019-3-2", "a.bat"}}));
}

TEST_F(TaskMenuTest, HelpChosenInThePopupShowsTheNotice) {
    std::string caption, message;
    const PopupSeen popup = rightClickAndThen(*main_, {100, 200}, [&](HWND menu) {
        answerNextBox(caption, message);
        for (int i = 0; i < 5; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 1);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 1);
    });
    ASSERT_TRUE(popup.seen);
    NestedProbe::stop();
    EXPECT_EQ(caption, text::kHelpCaption);
    EXPECT_EQ(message, text::kHelpText);
}
