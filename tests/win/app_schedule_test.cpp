// End to end: the real Tarvelo.exe starts a task due a few seconds ahead
// exactly once, within its second.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/texts.h"
#include "documents_folder.h"
#include "process_support.h"
#include "schedule/datetime.h"
#include "schedule/tick.h"

namespace {

std::string temporaryFile(const char* prefix) {
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, prefix, 0, path);
    return path;
}

std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Its long form: the form a started program reports for itself.
std::string longPath(const std::string& path) {
    char buffer[MAX_PATH * 2];
    const DWORD length = GetLongPathNameA(path.c_str(), buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : path;
}

// Waits for `done`, looking every 50 ms; false when `milliseconds` passed first.
bool waitFor(const std::function<bool()>& done, DWORD milliseconds = 20000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(50);
    }
    return true;
}

// The time another process's clock label shows; minDateTime before its first tick.
DateTime clockLabelTime(HWND main) {
    char label[128] = {};
    GetWindowTextA(GetDlgItem(main, 107), label, sizeof label);
    return textToDateTime(std::string_view(label).substr(std::string_view(text::kClockPrefix).size()));
}

std::string probeProgramOf(const std::string& line) { return line.substr(0, line.find('\t')); }

// A new folder, removed with its files when this goes.
class ScratchFolder {
public:
    explicit ScratchFolder(std::string path) : path_(std::move(path)) {
        removeAll();  // a folder left by an earlier run, whose process id this one got again
        created_ = CreateDirectoryA(path_.c_str(), nullptr) != FALSE;
    }
    ~ScratchFolder() { removeAll(); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool created() const { return created_; }
    const std::string& path() const { return path_; }

private:
    void removeAll() {
        for (const std::string& name : folderEntries(path_)) DeleteFileA((path_ + "\\" + name).c_str());
        RemoveDirectoryA(path_.c_str());
    }
    std::string path_;
    bool created_ = false;
};

}  // namespace

// Tarvelo.exe copied into a folder of its own and started from another
// current directory: a task's relative command runs from the program's
// folder. The second copy's name holds 乗 (81 5C in GBK), whose trail byte
// is the code of "\".
TEST(TarveloSchedule, ARelativeCommandStartsFromTheProgramsFolder) {
    struct Case {
        const char* folder;
        const char* program;
    };
    const Case cases[] = {{"plain", "Tarvelo.exe"}, {"\x81\x5C" "dbcs", "Tarvelo\x81\x5C.exe"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        const ScratchFolder scratch(newFolderName() + "-" + c.folder);
        ASSERT_TRUE(scratch.created());
        const std::string& folder = scratch.path();
        const std::string program = folder + "\\" + c.program, probe = folder + "\\relative_probe.exe";
        ASSERT_TRUE(CopyFileA((buildFolder() + "\\Tarvelo.exe").c_str(), program.c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((buildFolder() + "\\launch_probe.exe").c_str(), probe.c_str(), FALSE));
        const std::string log = temporaryFile("tvr");
        ASSERT_TRUE(SetEnvironmentVariableA("TARVELO_PROBE_LOG", log.c_str()));
        {
            ChildProcess tarvelo("\"" + program + "\"");  // from this test's current directory
            HWND main = tarvelo.waitForMainWindow(30000);
            ASSERT_NE(main, nullptr);
            // ".\" pins the command to the current directory: a bare name
            // would also be found in the folder of the program that starts it.
            ASSERT_TRUE(addTaskInWindowOf(main, dateTimeToText(currentDateTime() + 2.0 / 86400),
                                          ".\\relative_probe.exe rel"));
            std::vector<std::string> lines;
            waitFor([&] { return !(lines = linesOf(log)).empty(); });
            PostMessageA(main, WM_CLOSE, 0, 0);
            EXPECT_EQ(tarvelo.waitForExit(20000), std::optional<DWORD>(0));
            ASSERT_EQ(lines.size(), 1u) << "the relative command did not start";
            EXPECT_EQ(lowerCase(longPath(probeProgramOf(lines[0]))), lowerCase(longPath(probe)));
        }
        SetEnvironmentVariableA("TARVELO_PROBE_LOG", nullptr);
        DeleteFileA(log.c_str());
    }
}

TEST(TarveloSchedule, ADueTaskStartsOnceWithinItsSecond) {
    const std::string log = temporaryFile("tvl");
    ASSERT_TRUE(SetEnvironmentVariableA("TARVELO_PROBE_LOG", log.c_str()));  // inherited down to the probe
    ChildProcess tarvelo("\"" + buildFolder() + "\\Tarvelo.exe\"");
    HWND main = tarvelo.waitForMainWindow(30000);
    ASSERT_NE(main, nullptr);
    const DateTime due = currentDateTime() + 4.0 / 86400;
    const std::string dueText = dateTimeToText(due);
    ASSERT_TRUE(addTaskInWindowOf(main, dueText, "\"" + buildFolder() + "\\launch_probe.exe\" end-to-end"));

    // The start, then three more ticks in which a second start would show.
    EXPECT_TRUE(waitFor([&] { return !linesOf(log).empty(); }));
    EXPECT_TRUE(waitFor([&] { return secondOf(clockLabelTime(main)) >= secondOf(due) + 3; }));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(tarvelo.waitForExit(20000), std::optional<DWORD>(0));
    SetEnvironmentVariableA("TARVELO_PROBE_LOG", nullptr);

    const std::vector<std::string> lines = linesOf(log);
    DeleteFileA(log.c_str());
    ASSERT_EQ(lines.size(), 1u) << "started " << lines.size() << " times";
    // path TAB yyyy-mm-dd hh:mm:ss.mmm TAB command line
    std::istringstream fields(lines[0]);
    std::string path, startedAt, commandLine;
    std::getline(fields, path, '\t');
    std::getline(fields, startedAt, '\t');
    std::getline(fields, commandLine, '\r');
    EXPECT_NE(commandLine.find("end-to-end"), std::string::npos);
    const DateTime started = textToDateTime(startedAt.substr(0, 19));
    EXPECT_EQ(dateTimeToText(started), dueText) << "started at " << startedAt;
}
