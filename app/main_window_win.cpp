#include "app/main_window_win.h"

#include "app/controls_win.h"
#include "app/event_bindings_win.h"
#include "app/handlers_win.h"
#include "app/menu_win.h"
#include "app/texts.h"

namespace {

constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* main = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        main->window = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(main));
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    } else if (MainWindow* main = mainWindowOf(window)) {
        LRESULT result;
        if (handleMainWindowMessage(*main, message, wParam, lParam, result)) return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(instance, text::kWindowTitle, &existing)) return true;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = text::kWindowTitle;
    return RegisterClassExA(&windowClass) != 0;
}


void setIcons(HWND window, HINSTANCE instance) {
    const auto load = [instance](int metricX, int metricY) {
        return reinterpret_cast<LPARAM>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(metricX),
                                                   GetSystemMetrics(metricY), LR_SHARED));
    };
    SendMessageA(window, WM_SETICON, ICON_BIG, load(SM_CXICON, SM_CYICON));
    SendMessageA(window, WM_SETICON, ICON_SMALL, load(SM_CXSMICON, SM_CYSMICON));
}

// Destroys a window whose loading failed, without leaving its WM_QUIT behind.
void abandon(HWND window) {
    DestroyWindow(window);
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace

MainWindow* mainWindowOf(HWND window) noexcept {
    if (window == nullptr) return nullptr;
    char className[64];
    if (GetClassNameA(window, className, sizeof className) == 0 || lstrcmpA(className, text::kWindowTitle) != 0)
        return nullptr;
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

std::unique_ptr<MainWindow> loadMainWindow(HINSTANCE instance) {
    if (!registerMainWindowClass(instance)) return nullptr;
    auto main = std::make_unique<MainWindow>();
    MainWindow* state = main.get();
    main->拖放对象1.reset(FileDropTarget::create([state](const std::string& text) { onFilesDropped(*state, text); }));

    const int x = (GetSystemMetrics(SM_CXSCREEN) - kMainWindowWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kMainWindowHeight) / 2;
    HMENU bar = createMenuBar();
    HWND window = CreateWindowExA(0, text::kWindowTitle, text::kWindowTitle, kMainWindowStyle, x, y, kMainWindowWidth,
                                  kMainWindowHeight, nullptr, bar, instance, state);
    if (window == nullptr) {
        if (bar != nullptr) DestroyMenu(bar);
        return nullptr;
    }
    RECT outer;
    GetWindowRect(window, &outer);
    if (outer.left != x || outer.top != y || outer.right - outer.left != kMainWindowWidth ||
        outer.bottom - outer.top != kMainWindowHeight)
        SetWindowPos(window, nullptr, x, y, kMainWindowWidth, kMainWindowHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    setIcons(window, instance);
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    if (!createControls(*main, instance)) {
        abandon(window);
        return nullptr;
    }
    showControls(*main);
    onMainWindowCreated(*main);
    return main;
}

void setWindowText(HWND window, const std::string& text) { SetWindowTextA(window, text.c_str()); }

std::string windowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}
