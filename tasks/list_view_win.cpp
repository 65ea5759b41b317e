#include "tasks/list_view_win.h"

#include <commctrl.h>

#include <string>

int ListViewTaskList::rowCount() const {
    return static_cast<int>(SendMessageA(listView_, LVM_GETITEMCOUNT, 0, 0));
}

int ListViewTaskList::columnCount() const {
    const auto header = reinterpret_cast<HWND>(SendMessageA(listView_, LVM_GETHEADER, 0, 0));
    return header != nullptr ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int ListViewTaskList::appendRow() {
    char empty[] = "";
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE | LVIF_PARAM | LVIF_INDENT;
    item.iItem = rowCount();
    item.pszText = empty;
    item.iImage = -1;
    return static_cast<int>(SendMessageA(listView_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListViewTaskList::setCellText(int row, int column, std::string_view text) {
    std::string copy(text);  // the message wants a zero-terminated, writable text
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = copy.data();
    SendMessageA(listView_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string ListViewTaskList::cellText(int row, int column) const {
    // The control only reports how much it copied, so a text that fills the
    // buffer may have been cut: double the buffer until it does not. A cut
    // never splits a double-byte character, so it can leave one byte unused:
    // a copy of size - 2 bytes may be cut too.
    std::string buffer(512, '\0');
    for (;;) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto copied = static_cast<std::size_t>(
            SendMessageA(listView_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (copied + 2 < buffer.size()) {
            buffer.resize(copied);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

void ListViewTaskList::deleteRow(int row) {
    if (row < 0) return;  // -1 would mean nothing to the control either; keep it explicit
    SendMessageA(listView_, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

void ListViewTaskList::deleteAllRows() { SendMessageA(listView_, LVM_DELETEALLITEMS, 0, 0); }

int ListViewTaskList::selectedRow() const {
    return static_cast<int>(SendMessageA(listView_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

RedrawPause::RedrawPause(HWND listView) noexcept : listView_(listView) {
    SendMessageA(listView_, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause() {
    SendMessageA(listView_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listView_, nullptr, TRUE);
}
