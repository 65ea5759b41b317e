#include "app/controls_win.h"

#include <commctrl.h>

#include <initializer_list>

#include "app/centered_edit_win.h"
#include "app/label_win.h"
#include "app/texts.h"

namespace {

struct ControlDefinition {
    HWND MainWindow::*handle;
    int id;
    const char* className;
    const char* text;
    DWORD style;  // besides WS_CHILD; every control starts hidden
    int x, y, width, height;
};

// WS_BORDER is added once the box exists (see makeCenteredEdit).
constexpr DWORD kEditStyle = WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD kLabelStyle = SS_LEFT;

// In creation order; positions are client coordinates, sizes outer sizes.
const ControlDefinition kControls[] = {
    {&MainWindow::超级列表框1, kTaskListId, WC_LISTVIEWA, "",
     WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_EDITLABELS, 0, 0, 450, 320},
    {&MainWindow::按钮4, kAddButtonId, WC_BUTTONA, text::kAddButton,
     WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE, 360, 380, 80, 25},
    {&MainWindow::标签1, kTimeCaptionId, WC_STATICA, text::kTimeCaption, kLabelStyle, 18, 340, 32, 32},
    {&MainWindow::标签2, kPathCaptionId, WC_STATICA, text::kPathCaption, kLabelStyle, 20, 377, 32, 32},
    {&MainWindow::编辑框1, kTimeFieldId, WC_EDITA, "", kEditStyle, 60, 345, 180, 25},
    {&MainWindow::编辑框2, kPathFieldId, WC_EDITA, "", kEditStyle, 60, 380, 180, 25},
    {&MainWindow::标签4, kClockLabelId, WC_STATICA, text::kClockPrefix, kLabelStyle, 250, 350, 220, 20},
};

struct ColumnDefinition {
    const char* header;
    int width;
};

const ColumnDefinition kColumns[] = {
    {text::kSerialColumn, 50},
    {text::kTimeColumn, 200},
    {text::kCommandColumn, 200},
};

void setUpTaskList(HWND list) {
    constexpr DWORD extended =
        LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    SendMessageA(list, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
    SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(list, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    int index = 0;
    for (const auto& column : kColumns) {
        LVCOLUMNA definition{};
        definition.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        definition.fmt = LVCFMT_LEFT;
        definition.cx = column.width;
        definition.pszText = const_cast<char*>(column.header);
        definition.iSubItem = index;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&definition));
        ++index;
    }
}

void setUpEdit(HWND edit) {
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    SendMessageA(edit, EM_SETSEL, 0, 0);
    makeCenteredEdit(edit);
}

}  // namespace

bool createControls(MainWindow& main, HINSTANCE instance) {
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (const auto& control : kControls) {
        HWND handle = CreateWindowExA(0, control.className, control.text, WS_CHILD | control.style, control.x,
                                      control.y, control.width, control.height, main.window,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
        if (handle == nullptr) return false;
        SendMessageA(handle, WM_SETFONT, font, FALSE);
        main.*control.handle = handle;
    }
    setUpTaskList(main.超级列表框1);
    setUpEdit(main.编辑框1);
    setUpEdit(main.编辑框2);
    for (HWND label : {main.标签1, main.标签2, main.标签4}) makeSelfPaintedLabel(label);
    return SetTimer(main.window, kTickTimerId, 1000, nullptr) != 0;
}

void showControls(const MainWindow& main) {
    for (const auto& control : kControls) ShowWindow(main.*control.handle, SW_SHOWNOACTIVATE);
}

void tabCycle(const MainWindow& main, HWND (&cycle)[kTabCycleLength]) {
    cycle[0] = main.超级列表框1;
    cycle[1] = main.按钮4;
    cycle[2] = main.编辑框1;
    cycle[3] = main.编辑框2;
}
