// The launcher against real processes: copies of launch_probe.exe report
// which file ran and with what command line.
#include "schedule/launcher_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "schedule/datetime.h"
#include "schedule/tick.h"
#include "tests/support/memory_task_list.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kProbeWait = 20s;  // a bound, not a speed: a loaded machine may be slow
constexpr auto kQuietWait = 1500ms;  // how long to watch for a start that must not happen

std::string folderOfThisProgram() {
    char buffer[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof(buffer));
    std::string path(buffer, length);
    return path.substr(0, path.find_last_of('\\'));
}

std::string probeBuilt() { return folderOfThisProgram() + "\\launch_probe.exe"; }

// The long, canonical form, lower-cased, for comparing the paths Windows
// reports with the ones the test built.
std::string canonical(const std::string& path) {
    char buffer[MAX_PATH * 2];
    const DWORD length = GetLongPathNameA(path.c_str(), buffer, sizeof(buffer));
    std::string result = length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : path;
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

struct ProbeLine {
    std::string program;  // the file that ran
    std::string startTime;
    std::string commandLine;
};

// A folder of the test's own under the temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        char temp[MAX_PATH + 1];
        const DWORD tempLength = GetTempPathA(sizeof(temp), temp);
        // The short form has no blank, which the tests place on purpose.
        char shortened[MAX_PATH + 1];
        const DWORD shortLength = GetShortPathNameA(temp, shortened, sizeof(shortened));
        const std::string base = shortLength > 0 && shortLength < sizeof(shortened)
                                     ? std::string(shortened, shortLength)
                                     : std::string(temp, tempLength);
        for (int attempt = 0; path_.empty(); ++attempt) {
            const std::string candidate = base + "tarvelo-launch-" +
                                          std::to_string(GetCurrentProcessId()) + "-" +
                                          std::to_string(GetTickCount64()) + "-" + std::to_string(attempt);
            if (CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate;
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        // A probe may still be on its way out and hold its file for a moment.
        std::error_code error;
        for (int attempt = 0; attempt < 100; ++attempt) {
            fs::remove_all(path_, error);
            if (!error) return;
            std::this_thread::sleep_for(50ms);
        }
    }

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

class LauncherTest : public testing::Test {
protected:
    void SetUp() override {
        log_ = temp_.path() + "\\probe.log";
        ASSERT_TRUE(SetEnvironmentVariableA("TARVELO_PROBE_LOG", log_.c_str()));
        char cwd[MAX_PATH * 2];
        const DWORD length = GetCurrentDirectoryA(sizeof(cwd), cwd);
        savedDirectory_.assign(cwd, length);
    }
    void TearDown() override {
        SetCurrentDirectoryA(savedDirectory_.c_str());
        SetEnvironmentVariableA("TARVELO_PROBE_LOG", nullptr);
    }

    // A copy of the probe at `relative` under the temp folder; its full path.
    std::string placeProbe(const std::string& relative) {
        const fs::path target = fs::path(temp_.path()) / relative;
        fs::create_directories(target.parent_path());
        fs::copy_file(probeBuilt(), target, fs::copy_options::overwrite_existing);
        return target.string();
    }

    std::string writeFile(const std::string& relative, const std::string& content) {
        const fs::path target = fs::path(temp_.path()) / relative;
        fs::create_directories(target.parent_path());
        std::ofstream(target, std::ios::binary) << content;
        return target.string();
    }

    // The whole lines of the log so far; a probe may be mid-write.
    std::vector<std::string> logLines() const {
        std::ifstream in(log_, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::vector<std::string> lines;
        std::string all = text.str();
        for (std::size_t start = 0, end; (end = all.find('\n', start)) != std::string::npos; start = end + 1) {
            std::string line = all.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    std::vector<std::string> waitForLogLines(std::size_t count, std::chrono::milliseconds limit = kProbeWait) const {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        std::vector<std::string> lines = logLines();
        while (lines.size() < count && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(25ms);
            lines = logLines();
        }
        return lines;
    }

    std::vector<ProbeLine> waitForProbes(std::size_t count) const {
        std::vector<ProbeLine> probes;
        for (const std::string& line : waitForLogLines(count)) {
            const std::size_t first = line.find('\t');
            const std::size_t second = line.find('\t', first + 1);
            if (first == std::string::npos || second == std::string::npos) continue;
            probes.push_back(
                {line.substr(0, first), line.substr(first + 1, second - first - 1), line.substr(second + 1)});
        }
        return probes;
    }

    // Waits a while for anything to appear in the log: nothing must.
    std::vector<std::string> linesAfterQuietWait() const {
        std::this_thread::sleep_for(kQuietWait);
        return logLines();
    }

    TempFolder temp_;
    std::string log_;
    std::string savedDirectory_;
};

}  // namespace

TEST_F(LauncherTest, StartsTheProgramWithTheCommandLineAsTyped) {
    const std::string probe = placeProbe("probe.exe");
    ASSERT_TRUE(launchCommand(probe));
    const auto probes = waitForProbes(1);
    ASSERT_EQ(probes.size(), 1u);
    EXPECT_EQ(canonical(probes[0].program), canonical(probe));
    EXPECT_EQ(probes[0].commandLine, probe);
    EXPECT_FALSE(probes[0].startTime.empty());
}

TEST_F(LauncherTest, PassesArgumentsWhole) {
    const std::string probe = placeProbe("probe.exe");
    const std::string commands[] = {
        probe + " alpha beta",
        probe + " \"two words\" --flag=1  double-spaced",
        "\"" + probe + "\" quoted-program \"C:\\A Folder\\file.txt\"",
    };
    for (const std::string& command : commands) {
        ASSERT_TRUE(std::filesystem::remove(log_) || !std::filesystem::exists(log_));
        ASSERT_TRUE(launchCommand(command)) << command;
        const auto probes = waitForProbes(1);
        ASSERT_EQ(probes.size(), 1u) << command;
        EXPECT_EQ(canonical(probes[0].program), canonical(probe)) << command;
        EXPECT_EQ(probes[0].commandLine, command);
    }
}

TEST_F(LauncherTest, StartsABatchFileThroughCmd) {
    struct Case {
        const char* relative;
        const char* marker;
    };
    const Case cases[] = {{"run.bat", "batch-ran"}, {"My Tools\\run.bat", "spaced-batch-ran"}};
    for (const auto& c : cases) {
        const std::string batch =
            writeFile(c.relative, std::string("@echo ") + c.marker + ">>\"%TARVELO_PROBE_LOG%\"\r\n");
        ASSERT_TRUE(launchCommand(batch)) << batch;
        const auto lines = waitForLogLines(1);
        ASSERT_FALSE(lines.empty()) << batch;
        EXPECT_EQ(lines.back(), c.marker);
        std::filesystem::remove(log_);
    }
}

TEST_F(LauncherTest, ResolvesARelativePathAgainstTheCurrentDirectory) {
    const std::string direct = placeProbe("relative_probe.exe");
    const std::string nested = placeProbe("sub\\nested_probe.exe");
    ASSERT_TRUE(SetCurrentDirectoryA(temp_.path().c_str()));
    struct Case {
        std::string command;
        std::string expected;
    };
    const Case cases[] = {
        {"relative_probe.exe bare", direct},
        {".\\relative_probe.exe dotted", direct},
        {"sub\\nested_probe.exe nested", nested},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(log_);
        ASSERT_TRUE(launchCommand(c.command)) << c.command;
        const auto probes = waitForProbes(1);
        ASSERT_EQ(probes.size(), 1u) << c.command;
        EXPECT_EQ(canonical(probes[0].program), canonical(c.expected)) << c.command;
        EXPECT_EQ(probes[0].commandLine, c.command);
    }
}

TEST_F(LauncherTest, StartsNothingForAMissingFileOrAnEmptyText) {
    placeProbe("present.exe");
    ASSERT_TRUE(SetCurrentDirectoryA(temp_.path().c_str()));
    const std::string commands[] = {
        "",
        std::string("\0present.exe", 12),  // a C string that ends before it begins
        temp_.path() + "\\missing.exe",
        temp_.path() + "\\missing.exe present.exe",
        "missing_tarvelo_probe.exe",
        temp_.path(),  // a folder
    };
    for (const std::string& command : commands) EXPECT_FALSE(launchCommand(command)) << command;
    EXPECT_TRUE(linesAfterQuietWait().empty());
}

// "<tmp>\Program Files\Tools\run.exe" typed without quotes must start run.exe,
// never "<tmp>\Program.exe" that sits at the first blank.
TEST_F(LauncherTest, StartsTheNamedProgramNotADecoyAtItsFirstBlank) {
    const std::string decoy = placeProbe("Program.exe");
    const std::string program = placeProbe("Program Files\\Tools\\run.exe");
    ASSERT_TRUE(launchCommand(program));
    const auto probes = waitForProbes(1);
    ASSERT_EQ(probes.size(), 1u);
    EXPECT_EQ(canonical(probes[0].program), canonical(program));
    EXPECT_EQ(linesAfterQuietWait().size(), 1u);  // and the decoy did not run as well
}

TEST_F(LauncherTest, QuotesOnlyAWholeExistingPathWithABlank) {
    const std::string spaced = placeProbe("Program Files\\run.exe");
    const std::string plain = placeProbe("plain.exe");
    const std::string folder = temp_.path() + "\\Program Files";
    struct Case {
        std::string command;
        std::string expected;
    };
    const Case cases[] = {
        {spaced, "\"" + spaced + "\""},
        {plain, plain},                                        // no blank
        {spaced + " arg", spaced + " arg"},                    // not a file as a whole
        {"\"" + spaced + "\"", "\"" + spaced + "\""},          // quoted already
        {folder, folder},                                      // a folder, not a file
        {temp_.path() + "\\No File.exe", temp_.path() + "\\No File.exe"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(commandLineFor(c.command), c.expected) << c.command;
}

// A windowed program that never reads its messages never becomes idle for
// input: the launcher lets it go after about a second, still counting it as
// started, and asks it to show normally.
TEST_F(LauncherTest, AProgramThatNeverTurnsIdleReleasesTheLauncherAfterASecond) {
    const std::string name = "tarvelo-never-idle-" + std::to_string(GetCurrentProcessId());
    const HANDLE release = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    ASSERT_NE(release, nullptr);
    const std::string program = folderOfThisProgram() + "\\never_idle_gui.exe";
    const auto before = std::chrono::steady_clock::now();
    const bool started = launchCommand("\"" + program + "\" " + name);
    const auto waited = std::chrono::steady_clock::now() - before;
    EXPECT_TRUE(started);
    const std::vector<std::string> lines = waitForLogLines(1);
    SetEvent(release);
    // STARTF_USESHOWWINDOW and SW_SHOWNORMAL; not yet released: the launcher
    // did not wait for the program's end.
    EXPECT_EQ(lines, std::vector<std::string>{"started 1 1"});
    EXPECT_GE(waited, 900ms) << "the launcher did not wait for the program to become idle";
    EXPECT_EQ(waitForLogLines(2), (std::vector<std::string>{"started 1 1", "released"}));
    CloseHandle(release);
}

// The whole way from a due row of the task list to a running process.
TEST_F(LauncherTest, ADueRowStartsItsCommandOnce) {
    const std::string probe = placeProbe("due.exe");
    const DateTime now = currentDateTime();
    MemoryTaskList list({{"1", dateTimeToText(now), probe + " due-row"},
                         {"2", dateTimeToText(now - 1.0), probe + " yesterday"}});
    TickState state;
    const auto launch = [](std::string_view command) { launchCommand(command); };
    EXPECT_EQ(runSchedulerTick(list, state, now, launch), 1);
    EXPECT_EQ(runSchedulerTick(list, state, now, launch), 0);  // the same second again
    const auto probes = waitForProbes(1);
    ASSERT_EQ(probes.size(), 1u);
    EXPECT_EQ(probes[0].commandLine, probe + " due-row");
    EXPECT_EQ(linesAfterQuietWait().size(), 1u);
}
