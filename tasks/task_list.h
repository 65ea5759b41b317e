// The operations on the task list that the rest of the program uses. The
// list view is the only store of tasks; rows are known by position alone.
// Platform-free, so that the core can be tested with an in-memory list.
#pragma once

#include <string>
#include <string_view>

class TaskList {
public:
    virtual ~TaskList() = default;

    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    // Appends a row of empty cells; its index, or -1 when refused.
    virtual int appendRow() = 0;
    virtual void setCellText(int row, int column, std::string_view text) = 0;
    // The whole text, however long; empty for a missing row or cell.
    virtual std::string cellText(int row, int column) const = 0;
    // Out of range (-1 included) deletes nothing.
    virtual void deleteRow(int row) = 0;
    virtual void deleteAllRows() = 0;
    // The first selected row, or -1.
    virtual int selectedRow() const = 0;
};

// The task list's columns.
enum TaskColumn : int { kSerialColumn = 0, kTimeColumn = 1, kCommandColumn = 2 };
