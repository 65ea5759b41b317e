// Tarvelo.exe as a whole process: how it ends and with which exit code.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/startup_win.h"
#include "app/texts.h"
#include "documents_folder.h"
#include "process_support.h"
#include "tests/support/gbk_test_texts.h"
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
            if (HWND box = visibleWindowOf(tarvelo.id(), "#32770")) {
                boxSeen = true;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
        }
        EXPECT_EQ(exitCode, std::optional<DWORD>(0)) << "still running 15 s after its window was closed";
        EXPECT_FALSE(boxSeen) << "the help notice was shown after the window had gone";
    }
    DestroyWindow(ahead);
}

namespace {

// The rows of another process's task list, read through memory lent by
// that process: the list view's messages carry pointers.
Rows remoteRows(HWND list) {
    DWORD id = 0;
    GetWindowThreadProcessId(list, &id);
    const UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id));
    if (!process) return {};
    constexpr int kTextBytes = 1024;
    char* remote = static_cast<char*>(
        VirtualAllocEx(process.get(), nullptr, sizeof(LVITEMA) + kTextBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (remote == nullptr) return {};
    Rows rows;
    const auto count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < count; ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < 3; ++c) {
            LVITEMA item{};
            item.iSubItem = c;
            item.pszText = remote + sizeof(LVITEMA);
            item.cchTextMax = kTextBytes;
            WriteProcessMemory(process.get(), remote, &item, sizeof item, nullptr);
            const auto copied = static_cast<std::size_t>(
                SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(remote)));
            std::string text(copied, '\0');
            ReadProcessMemory(process.get(), item.pszText, text.data(), copied, nullptr);
            row.push_back(text);
        }
        rows.push_back(row);
    }
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return rows;
}

// Chooses 保存 in another process's window and presses OK on its outcome
// box; the box's text, or nothing when no box came.
std::optional<std::string> saveIn(HWND main, DWORD process) {
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(20001, 0), 0);
    HWND box = nullptr;
    const DWORD start = GetTickCount();
    while (box == nullptr && GetTickCount() - start < 15000) {
        Sleep(20);
        box = visibleWindowOf(process, "#32770");
    }
    if (box == nullptr) return std::nullopt;
    const std::string text = messageBoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    while (IsWindow(box) && IsWindowVisible(box) && GetTickCount() - start < 30000) Sleep(20);
    return text;
}

}  // namespace

// Closing asks nothing and saves nothing; every start, also one beside a
// running copy, shows the rows of the last save.
TEST(TarveloProcess, ClosingUnsavedRowsSavesNothingAndEveryStartLoadsTheLastSave) {
    DocumentsFolder documents(newFolderName());
    ChildProcess first(tarveloCommand());
    HWND a = first.waitForMainWindow(30000);
    ASSERT_NE(a, nullptr);
    ASSERT_TRUE(addTaskInWindowOf(a, "2030-1-1", "saved.bat"));
    EXPECT_EQ(saveIn(a, first.id()), std::optional<std::string>(gbk::kSaved));
    const std::optional<std::string> saved = fileBytes(documents.taskFile());
    ASSERT_EQ(saved, std::optional<std::string>("[Tarvelo\xA3\xBA]\r\n1=2030-1-1\xA3\xAC" "saved.bat\r\n"));
    ASSERT_TRUE(addTaskInWindowOf(a, "2030-1-2", "unsaved.bat"));
    EXPECT_EQ(remoteRows(taskListOf(a)), (Rows{{"1", "2030-1-1", "saved.bat"}, {"2", "2030-1-2", "unsaved.bat"}}));

    ChildProcess second(tarveloCommand());  // while the first runs
    HWND b = second.waitForMainWindow(30000);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(remoteRows(taskListOf(b)), (Rows{{"1", "2030-1-1", "saved.bat"}}));

    PostMessageA(a, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.waitForExit(20000), std::optional<DWORD>(0));
    EXPECT_EQ(fileBytes(documents.taskFile()), saved);

    ChildProcess third(tarveloCommand());  // the next start
    HWND c = third.waitForMainWindow(30000);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(remoteRows(taskListOf(c)), (Rows{{"1", "2030-1-1", "saved.bat"}}));
    PostMessageA(b, WM_CLOSE, 0, 0);
    PostMessageA(c, WM_CLOSE, 0, 0);
    EXPECT_EQ(second.waitForExit(20000), std::optional<DWORD>(0));
    EXPECT_EQ(third.waitForExit(20000), std::optional<DWORD>(0));
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
            if (HWND box = visibleWindowOf(process, "#32770")) {
                boxText = messageBoxText(box);
                boxSeen = true;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
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
