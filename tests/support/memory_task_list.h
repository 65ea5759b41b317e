// An in-memory task list with the list view's rules, for the core tests,
// the Win32 tests of the task file and launcher, and the benchmarks.
#pragma once

#include <string>
#include <vector>

#include "tasks/task_list.h"

class MemoryTaskList final : public TaskList {
public:
    using Row = std::vector<std::string>;

    MemoryTaskList() = default;
    explicit MemoryTaskList(std::vector<Row> rows) : rows_(std::move(rows)) {
        for (auto& row : rows_) row.resize(kColumns);
    }

    int rowCount() const override { return static_cast<int>(rows_.size()); }
    int columnCount() const override { return kColumns; }
    int appendRow() override {
        rows_.emplace_back(kColumns);
        return rowCount() - 1;
    }
    void setCellText(int row, int column, std::string_view text) override {
        if (valid(row, column)) rows_[row][column] = std::string(text);
    }
    std::string cellText(int row, int column) const override {
        return valid(row, column) ? rows_[row][column] : std::string();
    }
    void deleteRow(int row) override {
        if (row >= 0 && row < rowCount()) rows_.erase(rows_.begin() + row);
    }
    void deleteAllRows() override { rows_.clear(); }
    int selectedRow() const override { return selected_; }

    void select(int row) { selected_ = row; }
    const std::vector<Row>& rows() const { return rows_; }

private:
    static constexpr int kColumns = 3;
    bool valid(int row, int column) const {
        return row >= 0 && row < rowCount() && column >= 0 && column < kColumns;
    }
    std::vector<Row> rows_;
    int selected_ = -1;
};
