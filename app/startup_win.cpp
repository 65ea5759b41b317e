#include "app/startup_win.h"

#include <commctrl.h>
#include <ole2.h>

#include <string>

#include "app/main_window_win.h"
#include "app/message_loop_win.h"
#include "app/texts.h"
#include "common/ansi_path.h"

namespace {

// Started processes inherit the current directory, so a relative command
// resolves against the program's folder, not where it was started from.
void setCurrentDirectoryToProgramFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return;
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    // The last backslash that starts a character: in GBK the trail byte of
    // a character such as 乗 (81 5C) is the code of "\\".
    const std::string folder(folderOf(path));
    if (folder.empty()) return;
    SetCurrentDirectoryA(folder.c_str());  // on failure the directory stays as it was
}

// OLE for the user-interface thread, for the drop target; uninitialised
// only when this call initialised it.
class OleSession {
public:
    OleSession() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (initialised_) OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool initialised_;
};

}  // namespace

int runTarvelo(HINSTANCE instance) {
    setCurrentDirectoryToProgramFolder();
    OleSession ole;
    const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    const std::unique_ptr<MainWindow> main = loadMainWindow(instance);
    if (!main) {
        MessageBoxA(nullptr, text::kCreationFailed, text::kWindowTitle, MB_OK | MB_ICONERROR);
        return -1;
    }
    ShowWindow(main->window, SW_SHOW);
    return runMessageLoop();
}
