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
