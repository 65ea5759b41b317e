// The task list on the real report-style list view (ANSI messages).
#pragma once

#include <windows.h>

#include "tasks/task_list.h"

class ListViewTaskList final : public TaskList {
public:
    explicit ListViewTaskList(HWND listView) noexcept : listView_(listView) {}

    int rowCount() const override;
    int columnCount() const override;
    int appendRow() override;
    void setCellText(int row, int column, std::string_view text) override;
    std::string cellText(int row, int column) const override;
    void deleteRow(int row) override;
    void deleteAllRows() override;
    int selectedRow() const override;

    HWND handle() const noexcept { return listView_; }

private:
    HWND listView_;
};
