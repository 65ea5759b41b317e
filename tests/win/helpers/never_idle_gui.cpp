// A windowed program that never becomes idle for input: it creates a window
// and then blocks without ever reading its message queue, until the event
// named on its command line is set (or 30 s pass). Into the file named by
// TARVELO_PROBE_LOG it appends "started FLAGS SHOW" (its start-up
// information's dwFlags and wShowWindow) first and "released" last.
#include <windows.h>

#include <string>

namespace {

void appendLine(const std::string& line) {
    char log[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableA("TARVELO_PROBE_LOG", log, sizeof log);
    if (length == 0 || length >= sizeof log) return;
    HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    appendLine("started " + std::to_string(startup.dwFlags) + " " + std::to_string(startup.wShowWindow) + "\n");
    HWND window = CreateWindowExA(0, "STATIC", "never idle", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, arguments);
    WaitForSingleObject(release != nullptr ? release : GetCurrentProcess(), 30000);
    appendLine("released\n");
    if (release != nullptr) CloseHandle(release);
    if (window != nullptr) DestroyWindow(window);
    return 0;
}
