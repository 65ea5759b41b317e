// A program for the launcher's tests to start. It appends one line to the
// file named by TARVELO_PROBE_LOG and exits:
//   its own file path TAB local start time (with ms) TAB its whole command line
// The file path tells copies of it apart, so one build serves as the
// expected program and as a decoy.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

std::string environmentVariable(const char* name) {
    char buffer[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
    return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

std::string ownPath() {
    char buffer[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof(buffer));
    return std::string(buffer, length < sizeof(buffer) ? length : 0);
}

std::string startTime(const SYSTEMTIME& t) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond, t.wMilliseconds);
    return buffer;
}

}  // namespace

int main() {
    SYSTEMTIME started;
    GetLocalTime(&started);
    const std::string logPath = environmentVariable("TARVELO_PROBE_LOG");
    if (logPath.empty()) return 2;

    const std::string line = ownPath() + '\t' + startTime(started) + '\t' + GetCommandLineA() + '\n';
    // Appending in one write keeps lines whole when several probes run at once.
    const HANDLE opened = CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return 3;
    const FileHandle log(opened);
    DWORD written = 0;
    const BOOL ok = WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return ok && written == line.size() ? 0 : 4;
}
