#include "app/help_notice_win.h"

#include "app/handlers_win.h"
#include "app/message_loop_win.h"
#include "app/texts.h"

namespace {

constexpr DWORD kOwnerSearchGiveUpMilliseconds = 31536000;
constexpr UINT kHelpStyle = MB_OK | MB_ICONINFORMATION;  // 64

// Exported by user32 but left out of its documented headers and import
// libraries: looked up by name, null where the system lacks it.
MessageBoxTimeoutFunction lookUpMessageBoxTimeout() {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 != nullptr
               ? reinterpret_cast<MessageBoxTimeoutFunction>(
                     reinterpret_cast<void*>(GetProcAddress(user32, "MessageBoxTimeoutA")))
               : nullptr;
}

MessageBoxTimeoutLookup messageBoxTimeout = lookUpMessageBoxTimeout;

BOOL CALLBACK matchHelpNotice(HWND window, LPARAM found) {
    char className[16] = {}, caption[16] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (lstrcmpA(className, "#32770") == 0 && lstrcmpA(caption, text::kHelpCaption) == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK matchVisibleWindowOfThisProcess(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

bool quitMessageWaiting() {
    MSG message;
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

// The open help notice of this thread, if any.
HWND findHelpNotice() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), matchHelpNotice, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Some systems (Wine among them) ignore the box's time-out: end the box
// like OK when the time is up. The box's own loop dispatches this timer.
void CALLBACK closeHelpNotice(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (HWND box = findHelpNotice()) PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace

void onHelpChosen(MainWindow&) { showHelpNotice(); }

void setMessageBoxTimeoutLookup(MessageBoxTimeoutLookup lookup) noexcept {
    messageBoxTimeout = lookup != nullptr ? lookup : lookUpMessageBoxTimeout;
}

bool programIsEnding() {
    if (quitMessageWaiting()) return true;
    bool visible = false;
    EnumWindows(matchVisibleWindowOfThisProcess, reinterpret_cast<LPARAM>(&visible));
    return !visible;
}

void showHelpNotice() {
    HWND owner = findOwnProcessWindow();
    // The user closed the window while the search ran: a program on its way
    // out shows no notice, so that it ends at once.
    if (owner == nullptr && programIsEnding()) return;
    const UINT_PTR timer = SetTimer(nullptr, 0, kHelpNoticeMilliseconds, closeHelpNotice);
    if (const auto timed = messageBoxTimeout())
        timed(owner, text::kHelpText, text::kHelpCaption, kHelpStyle, 0, kHelpNoticeMilliseconds);
    else
        MessageBoxA(owner, text::kHelpText, text::kHelpCaption, kHelpStyle);
    // Closed by OK, by the system or by the timer: a timer still pending
    // must not close a later notice.
    if (timer != 0) KillTimer(nullptr, timer);
}

HWND findOwnProcessWindow() {
    const DWORD process = GetCurrentProcessId();
    const DWORD start = GetTickCount();
    HWND candidate = nullptr;
    for (;;) {
        if (GetTickCount() - start >= kOwnerSearchGiveUpMilliseconds) return nullptr;
        // The events dispatched below may have closed the window: no pass can
        // find one then, and the search would spin until its give-up time.
        if (quitMessageWaiting()) return nullptr;
        candidate = FindWindowExA(nullptr, candidate, nullptr, nullptr);
        if (candidate == nullptr && programIsEnding()) return nullptr;  // a whole pass found none
        if (candidate != nullptr && IsWindow(candidate) && IsWindowVisible(candidate)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(candidate, &owner);
            if (owner == process) return candidate;
        }
        processPendingEvents();
    }
}

void processPendingEvents() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) break;
        if (message.message == WM_QUIT) {  // arrived between the two looks
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        dispatchQueuedMessage(message);
    }
}
