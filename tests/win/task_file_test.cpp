// The task file on real files, in a Documents folder of the test's own that
// the shell is pointed at, and the save's outcome box as the user sees it.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "documents_folder.h"
#include "common/win32_ownership_win.h"
#include "tasks/task_file_format.h"
#include "tasks/task_file_win.h"
#include "tests/support/gbk_test_texts.h"
#include "tests/support/memory_task_list.h"
#include "tests/support/message_boxes_win.h"

namespace {



using Rows = std::vector<MemoryTaskList::Row>;

std::string shellDocumentsFolder() {
    char folder[MAX_PATH] = {};
    return SHGetSpecialFolderPathA(nullptr, folder, CSIDL_PERSONAL, FALSE) ? folder : "";
}

// A thread timer, so that the test sees whether ticks go on under the box.
std::atomic<int> ticks{0};
void CALLBACK countTick(HWND, UINT, UINT_PTR, DWORD) { ++ticks; }

struct ThreadTimer {
    UINT_PTR id = SetTimer(nullptr, 0, 20, countTick);
    ~ThreadTimer() { KillTimer(nullptr, id); }
};

struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// What the test saw of a message box of this process.
struct SeenBox {
    bool shown = false;
    std::string caption;
    std::vector<std::string> texts;
    HICON icon = nullptr;
    std::vector<int> buttons;
    bool owned = false;
    bool otherWindowEnabled = true;
    bool ticksWent = false;
};

BOOL CALLBACK readChild(HWND child, LPARAM seenBox) {
    auto& seen = *reinterpret_cast<SeenBox*>(seenBox);
    char name[32] = {};
    GetClassNameA(child, name, sizeof(name));
    if (!IsWindowVisible(child)) return TRUE;
    if (std::string(name) == "Button") {
        seen.buttons.push_back(GetDlgCtrlID(child));
    } else if (std::string(name) == "Static") {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            seen.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        } else {
            char text[256] = {};
            GetWindowTextA(child, text, sizeof(text));
            if (text[0]) seen.texts.push_back(text);
        }
    }
    return TRUE;
}

// From a second thread: waits for a box of this process, reads it, waits for
// two ticks of the test thread's timer, then presses OK.
class BoxWatcher {
public:
    explicit BoxWatcher(HWND otherWindow) : thread_([this, otherWindow] { watch(otherWindow); }) {}
    ~BoxWatcher() { stop(); }
    SeenBox stop() {
        done_ = true;
        if (thread_.joinable()) thread_.join();
        return seen_;
    }

private:
    void watch(HWND otherWindow) {
        using namespace std::chrono;
        const auto deadline = steady_clock::now() + seconds(20);
        HWND box = nullptr;
        while (!box && !done_ && steady_clock::now() < deadline) {
            box = visibleWindowOfThisProcess("#32770");
            if (!box) Sleep(10);
        }
        if (!box) return;
        seen_.shown = true;
        char caption[256] = {};
        GetWindowTextA(box, caption, sizeof(caption));
        seen_.caption = caption;
        EnumChildWindows(box, readChild, reinterpret_cast<LPARAM>(&seen_));
        seen_.owned = GetWindow(box, GW_OWNER) != nullptr;
        seen_.otherWindowEnabled = IsWindowEnabled(otherWindow);
        const int first = ticks;
        while (ticks < first + 2 && steady_clock::now() < deadline) Sleep(5);
        seen_.ticksWent = ticks >= first + 2 && IsWindow(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }

    std::atomic<bool> done_{false};
    SeenBox seen_;
    std::thread thread_;
};

// Runs `action` on this thread with a timer running and another top-level
// window of this thread, and tells what box it showed.
SeenBox watchBox(const std::function<void()>& action, bool* otherWindowEnabledAfter = nullptr) {
    UniqueWindow other(CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    ThreadTimer timer;
    BoxWatcher watcher(other.get());
    action();
    SeenBox seen = watcher.stop();
    if (otherWindowEnabledAfter) *otherWindowEnabledAfter = IsWindowEnabled(other.get());
    return seen;
}

void expectOutcomeBox(const std::function<void()>& save, const std::string& text, LPCSTR icon) {
    bool enabledAfter = false;
    const SeenBox seen = watchBox(save, &enabledAfter);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.caption, gbk::kOutcomeCaption);
    EXPECT_EQ(seen.texts, std::vector<std::string>{text});
    EXPECT_EQ(seen.icon, LoadIconA(nullptr, icon));
    EXPECT_EQ(seen.buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(seen.owned);
    EXPECT_FALSE(seen.otherWindowEnabled) << "task-modal: the thread's windows are disabled";
    EXPECT_TRUE(enabledAfter);
    EXPECT_TRUE(seen.ticksWent) << "timer ticks go on while the box waits";
}

void expectSaved(const TaskList& list) {
    expectOutcomeBox([&] { saveTaskFile(list); }, gbk::kSaved, IDI_INFORMATION);
}
void expectNotSaved(const TaskList& list) {
    expectOutcomeBox([&] { saveTaskFile(list); }, gbk::kNotSaved, IDI_EXCLAMATION);
}

class TaskFile : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(shellDocumentsFolder(), documents_.path()); }
    DocumentsFolder documents_{newFolderName()};
};

}  // namespace

TEST_F(TaskFile, PathFollowsTheDocumentsFolder) {
    const std::string folder = documents_.path();
    struct Case {
        std::string setting;
        std::string path;
    };
    const Case cases[] = {
        {folder, folder + "\\\\Tarvelo.ini"},
        {folder + "\\", folder + "\\\\Tarvelo.ini"},
        {"", "\\Tarvelo.ini"},                                  // no folder from the shell
        {folder + "\\missing", "\\Tarvelo.ini"},                // nor for one that does not exist
    };
    for (const auto& c : cases) {
        documents_.set(c.setting);
        EXPECT_EQ(taskFilePath(), c.path) << c.setting;
    }
}

TEST_F(TaskFile, SaveThenLoadGivesTheSameRows) {
    const Rows rows = {
        {"1", TIME_TEXT, "C:\\Tools\\run.bat"},
        {"2", "2019-3-2 10:05:30", "tool.exe /mode=2 a" COMMA "b"},
        {"7", "", CHINESE_PATH},
        {"8", TIME_TEXT, ""},
    };
    expectSaved(MemoryTaskList(rows));

    MemoryTaskList list({{"stale", "x", "y"}});
    for (int load = 0; load < 2; ++load) {
        const SeenBox seen = watchBox([&] { loadTaskFile(list); });
        EXPECT_FALSE(seen.shown);
        EXPECT_EQ(list.rows(), rows);
    }
}

TEST_F(TaskFile, SavedBytesOnDisk) {
    struct Case {
        Rows rows;
        std::string bytes;
    };
    const Case cases[] = {
        {{}, "[Tarvelo\xA3\xBA]\r\n"},
        {{{"1", TIME_TEXT, "C:\\Tools\\run.bat"}, {"", "", ""}, {"3", "t", CHINESE_PATH}},
         "[Tarvelo\xA3\xBA]\r\n1=" TIME_TEXT COMMA "C:\\Tools\\run.bat\r\n=" COMMA "\r\n3=t" COMMA CHINESE_PATH "\r\n"},
        {{}, "[Tarvelo\xA3\xBA]\r\n"},  // a longer file before it is replaced whole
    };
    for (const auto& c : cases) {
        expectSaved(MemoryTaskList(c.rows));
        EXPECT_EQ(fileBytes(documents_.taskFile()), c.bytes);
        EXPECT_EQ(folderEntries(documents_.path()), std::vector<std::string>{"Tarvelo.ini"});
    }
}

TEST_F(TaskFile, RefusedSaveKeepsTheOldFile) {
    const std::string path = documents_.taskFile();
    struct Case {
        const char* name;
        std::function<UniqueHandle()> block;
    };
    const Case cases[] = {
        {"read-only",
         [&] {
             SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
             return UniqueHandle();
         }},
        {"open without sharing",
         [&] {
             return UniqueHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
         }},
        {"open for reading elsewhere",
         [&] {
             return UniqueHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
         }},
    };
    const std::string old = "[Tarvelo\xA3\xBA]\r\n1=old" COMMA "old.exe\r\n";
    const MemoryTaskList list({{"2", TIME_TEXT, "new.exe"}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(putFile(path, old));
        {
            const UniqueHandle holder = c.block();
            expectNotSaved(list);
        }
        EXPECT_EQ(fileBytes(path), old);
        EXPECT_EQ(folderEntries(documents_.path()), std::vector<std::string>{"Tarvelo.ini"});
    }
}

// A virus scanner, the search indexer, a sync client or a second copy
// saving at the same moment hold the task file open for a moment: the save
// waits for it and succeeds.
TEST_F(TaskFile, SaveWaitsForAFileHeldOpenForAMoment) {
    const std::string path = documents_.taskFile();
    const std::string old = "[Tarvelo\xA3\xBA]\r\n1=old" COMMA "old.exe\r\n";
    struct Case {
        const char* name;
        DWORD access, sharing;
    };
    const Case cases[] = {{"open without sharing", GENERIC_READ | GENERIC_WRITE, 0},
                          {"open for reading elsewhere", GENERIC_READ, FILE_SHARE_READ}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(putFile(path, old));
        UniqueHandle held(CreateFileA(path.c_str(), c.access, c.sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
        ASSERT_TRUE(held);
        std::thread release([&held] {
            Sleep(200);
            held.reset();
        });
        expectSaved(MemoryTaskList({{"2", TIME_TEXT, "new.exe"}}));
        release.join();
        EXPECT_EQ(fileBytes(path), "[Tarvelo\xA3\xBA]\r\n2=" TIME_TEXT COMMA "new.exe\r\n");
        EXPECT_EQ(folderEntries(documents_.path()), std::vector<std::string>{"Tarvelo.ini"});
    }
}

// Two saves replacing the task file at the same moment: under Wine about
// one replace in 40 met the other's, which holds the file for an instant.
TEST_F(TaskFile, ConcurrentSavesAllSucceed) {
    const std::string path = documents_.taskFile();
    constexpr int kSaves = 150;
    std::atomic<int> failed{0};
    const auto saveMany = [&](char mark) {
        for (int i = 0; i < kSaves; ++i)
            if (!writeTaskFile(path, std::string(64, mark))) ++failed;
    };
    std::thread other(saveMany, 'a');
    saveMany('b');
    other.join();
    EXPECT_EQ(failed, 0);
    const std::optional<std::string> bytes = fileBytes(path);
    EXPECT_TRUE(bytes == std::string(64, 'a') || bytes == std::string(64, 'b'));
    EXPECT_EQ(folderEntries(documents_.path()), std::vector<std::string>{"Tarvelo.ini"});
}

// Documents folders so deep that the task file's path just fits within
// MAX_PATH: the save works, since the new file written beside it first has a
// path no longer than the task file's own. (Past MAX_PATH, Windows refuses
// the task file itself; Wine takes a path of 260 bytes still.)
TEST_F(TaskFile, SavesWhereverTheTaskFilePathFits) {
    const std::string base = documents_.path();
    const std::size_t suffix = std::string("\\\\Tarvelo.ini").size();  // as taskFilePath() ends
    const std::string old = "[Tarvelo\xA3\xBA]\r\n1=old" COMMA "old.exe\r\n";
    const std::string bytes = "[Tarvelo\xA3\xBA]\r\n2=" TIME_TEXT COMMA "new.exe\r\n";
    for (const std::size_t pathLength : {MAX_PATH - 20, MAX_PATH - 10, MAX_PATH - 5, MAX_PATH - 2, MAX_PATH - 1}) {
        SCOPED_TRACE(pathLength);
        ASSERT_LT(base.size() + 1 + suffix, pathLength);
        DocumentsFolder deep(base + "\\" + std::string(pathLength - suffix - base.size() - 1, 'd'));
        ASSERT_EQ(shellDocumentsFolder(), deep.path());
        ASSERT_EQ(taskFilePath().size(), pathLength);
        ASSERT_TRUE(putFile(deep.taskFile(), old));
        EXPECT_TRUE(writeTaskFile(taskFilePath(), bytes));
        EXPECT_EQ(fileBytes(deep.taskFile()), bytes);
        EXPECT_EQ(folderEntries(deep.path()), std::vector<std::string>{"Tarvelo.ini"});
    }
    // The deepest once more through the menu's save, with its outcome.
    DocumentsFolder deepest(base + "\\" + std::string(MAX_PATH - 1 - suffix - base.size() - 1, 'e'));
    ASSERT_TRUE(putFile(deepest.taskFile(), old));
    expectSaved(MemoryTaskList({{"2", TIME_TEXT, "new.exe"}}));
    EXPECT_EQ(fileBytes(deepest.taskFile()), bytes);
    EXPECT_EQ(folderEntries(deepest.path()), std::vector<std::string>{"Tarvelo.ini"});
}

TEST_F(TaskFile, LoadWithoutAReadableFileEmptiesTheListQuietly) {
    const std::string path = documents_.taskFile();
    struct Case {
        const char* name;
        std::function<UniqueHandle()> prepare;
    };
    const Case cases[] = {
        {"missing", [] { return UniqueHandle(); }},
        {"open for writing elsewhere",
         [&] {
             putFile(path, "[Tarvelo\xA3\xBA]\r\n1=t" COMMA "c\r\n");
             return UniqueHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const UniqueHandle holder = c.prepare();
        MemoryTaskList list({{"1", "t", "c"}, {"2", "u", "d"}});
        const SeenBox seen = watchBox([&] { loadTaskFile(list); });
        EXPECT_FALSE(seen.shown);
        EXPECT_TRUE(list.rows().empty());
    }
}

TEST_F(TaskFile, WriteAndReadKeepEveryByte) {
    const std::string path = documents_.taskFile();
    std::string bytes;
    for (int i = 0; i < (3 << 20); ++i) bytes += static_cast<char>((i * 131) >> 3);
    const std::string texts[] = {bytes, "short", std::string("\0\xFF\r\n", 4), ""};
    for (const auto& text : texts) {
        ASSERT_TRUE(writeTaskFile(path, text));
        EXPECT_EQ(fileBytes(path), text);
        EXPECT_EQ(readTaskFile(path), text);
    }
    EXPECT_EQ(readTaskFile(documents_.path() + "\\missing.ini"), std::nullopt);
    EXPECT_FALSE(writeTaskFile(documents_.path() + "\\missing\\Tarvelo.ini", "x"));
    EXPECT_EQ(folderEntries(documents_.path()), std::vector<std::string>{"Tarvelo.ini"});
}
