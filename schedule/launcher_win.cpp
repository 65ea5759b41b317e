#include "schedule/launcher_win.h"

#include <windows.h>

#include <vector>

#include "common/win32_ownership_win.h"

namespace {

constexpr DWORD kIdleWaitMs = 1000;

std::string_view untilZeroByte(std::string_view text) noexcept {
    return text.substr(0, text.find('\0'));
}

bool namesExistingFile(const std::string& path) noexcept {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

std::string commandLineFor(std::string_view command) {
    std::string text(untilZeroByte(command));
    const bool hasBlank = text.find_first_of(" \t") != std::string::npos;
    const bool hasQuote = text.find('"') != std::string::npos;
    if (hasBlank && !hasQuote && namesExistingFile(text)) return '"' + text + '"';
    return text;
}

bool launchCommand(std::string_view command) {
    const std::string commandLine = commandLineFor(command);
    // Nothing to start; not left to CreateProcessA, whose handling of an
    // empty line is not documented.
    if (commandLine.empty()) return false;
    // CreateProcessA may write into the command line, so it gets a copy.
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION created{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &created))
        return false;

    UniqueHandle process(created.hProcess);
    UniqueHandle thread(created.hThread);
    WaitForInputIdle(process.get(), kIdleWaitMs);  // its outcome changes nothing
    thread.reset();  // the thread first, then the process
    return true;
}
