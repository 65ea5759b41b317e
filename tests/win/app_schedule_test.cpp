// End to end: the real Tarvelo.exe starts a task due a few seconds ahead
// exactly once, within its second.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/texts.h"
#include "process_support.h"
#include "schedule/datetime.h"

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

HWND childWithId(HWND parent, int id) { return GetDlgItem(parent, id); }

}  // namespace

TEST(TarveloSchedule, ADueTaskStartsOnceWithinItsSecond) {
    const std::string log = temporaryFile("tvl");
    ASSERT_TRUE(SetEnvironmentVariableA("TARVELO_PROBE_LOG", log.c_str()));  // inherited down to the probe
    ChildProcess tarvelo("\"" + buildFolder() + "\\Tarvelo.exe\"");
    HWND main = tarvelo.waitForMainWindow(30000);
    ASSERT_NE(main, nullptr);
    HWND timeField = childWithId(main, 105), pathField = childWithId(main, 106), add = childWithId(main, 102);
    ASSERT_NE(timeField, nullptr);

    // Stop the time field from following the clock, as a press on it does,
    // then type the task and add it.
    PostMessageA(timeField, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(timeField, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Sleep(300);
    const DateTime due = currentDateTime() + 4.0 / 86400;
    const std::string dueText = dateTimeToText(due);
    const std::string command = "\"" + buildFolder() + "\\launch_probe.exe\" end-to-end";
    SendMessageA(timeField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(dueText.c_str()));
    SendMessageA(pathField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(command.c_str()));
    SendMessageA(add, BM_CLICK, 0, 0);

    Sleep(9000);  // the due second and a few more ticks after it
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
