// Tarvelo.exe as a whole process: how it ends and with which exit code.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/startup_win.h"
#include "app/texts.h"
#include "process_support.h"
#include "win_test_support.h"

namespace {

std::string tarveloCommand() { return "\"" + buildFolder() + "\\Tarvelo.exe\""; }

HWND taskListOf(HWND main) { return FindWindowExA(main, nullptr, WC_LISTVIEWA, nullptr); }

}  // namespace

TEST(TarveloProcess, EscOnTheTaskListEndsWithExitCodeZero) {
    ChildProcess tarvelo(tarveloCommand());
    ASSERT_TRUE(tarvelo.started());
    HWND main = tarvelo.waitForMainWindow(30000);
    ASSERT_NE(main, nullptr);
    HWND list = taskListOf(main);
    ASSERT_NE(list, nullptr);
    PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(tarvelo.waitForExit(20000), std::optional<DWORD>(0));
}

TEST(TarveloProcess, CloseMessageEndsWithExitCodeZero) {
    ChildProcess tarvelo(tarveloCommand());
    ASSERT_TRUE(tarvelo.started());
    HWND main = tarvelo.waitForMainWindow(30000);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(tarvelo.waitForExit(20000), std::optional<DWORD>(0));
}

TEST(TarveloProcess, TwoCopiesRunSideBySide) {
    ChildProcess first(tarveloCommand());
    ChildProcess second(tarveloCommand());
    HWND a = first.waitForMainWindow(30000);
    HWND b = second.waitForMainWindow(30000);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    PostMessageA(a, WM_CLOSE, 0, 0);
    PostMessageA(b, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.waitForExit(20000), std::optional<DWORD>(0));
    EXPECT_EQ(second.waitForExit(20000), std::optional<DWORD>(0));
}

namespace {

struct ChildBoxSearch {
    DWORD process;
    HWND box;
};

BOOL CALLBACK matchChildBox(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ChildBoxSearch*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (process == search->process && IsWindowVisible(window) && lstrcmpA(name, "#32770") == 0) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

// 帮助 chosen with a close already queued behind it: the owner search
// dispatches the close between candidates, and the process must then end,
// not search on with no window, nor show the notice to nobody.
TEST(TarveloProcess, HelpChosenWithACloseQueuedBehindItEndsTheProcessWithoutANotice) {
    // A window of another process ahead of Tarvelo's in the window order,
    // so that its search dispatches pending events before it finds its own.
    HWND ahead = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "ahead", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(ahead, nullptr);
    struct Case {
        const char* name;
        bool esc;  // Esc on the task list, else WM_CLOSE to the window
    };
    for (const Case& c : {Case{"Esc", true}, Case{"WM_CLOSE", false}}) {
        SCOPED_TRACE(c.name);
        ChildProcess tarvelo(tarveloCommand());
        HWND main = tarvelo.waitForMainWindow(30000);
        ASSERT_NE(main, nullptr);
        SetWindowPos(ahead, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(20005, 0), 0);  // 帮助
        if (c.esc)
            PostMessageA(taskListOf(main), WM_KEYDOWN, VK_ESCAPE, 1);
        else
            PostMessageA(main, WM_CLOSE, 0, 0);
        bool boxSeen = false;
        std::optional<DWORD> exitCode;
        const DWORD start = GetTickCount();
        while (!(exitCode = tarvelo.waitForExit(20)) && GetTickCount() - start < 15000) {
            ChildBoxSearch search{tarvelo.id(), nullptr};
            EnumWindows(matchChildBox, reinterpret_cast<LPARAM>(&search));
            if (search.box != nullptr) {
                boxSeen = true;
                PostMessageA(search.box, WM_COMMAND, IDOK, 0);
            }
        }
        EXPECT_EQ(exitCode, std::optional<DWORD>(0)) << "still running 15 s after its window was closed";
        EXPECT_FALSE(boxSeen) << "the help notice was shown after the window had gone";
    }
    DestroyWindow(ahead);
}

namespace {

// Refuses the creation of every list view on this thread, as a system out
// of resources for it would.
LRESULT CALLBACK refuseListViews(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        const char* name = create->lpcs->lpszClass;
        if (!IS_INTRESOURCE(name) && lstrcmpiA(name, WC_LISTVIEWA) == 0) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST(TarveloProcess, RefusedControlShowsAnErrorAndGivesMinusOne) {
    HHOOK hook = SetWindowsHookExA(WH_CBT, refuseListViews, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    std::atomic<bool> boxSeen{false};
    std::string boxText;
    const DWORD process = GetCurrentProcessId();
    std::thread closer([&] {
        for (int i = 0; i < 1000 && !boxSeen; ++i) {
            for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box != nullptr;
                 box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(box, &owner);
                if (owner != process || !IsWindowVisible(box)) continue;
                char buffer[256] = {};
                GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
                boxText = buffer;
                boxSeen = true;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                break;
            }
            Sleep(20);
        }
    });
    const int exitCode = runTarvelo(GetModuleHandleA(nullptr));
    closer.join();
    UnhookWindowsHookEx(hook);
    drainQuit();
    EXPECT_EQ(exitCode, -1);
    EXPECT_TRUE(boxSeen);
    EXPECT_EQ(boxText, text::kCreationFailed);
}
