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

// Holds a list view's redrawing while many rows change (loading a task
// file), with one repaint afterwards: each row would otherwise repaint.
class RedrawPause {
public:
    explicit RedrawPause(HWND listView) noexcept;
    ~RedrawPause();
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND listView_;
};
