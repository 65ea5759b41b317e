#include "tasks/task_entry.h"

int addTask(TaskList& list, std::string_view timeText, std::string_view commandText) {
    const int row = list.appendRow();
    if (row < 0) return -1;
    list.setCellText(row, kSerialColumn, std::to_string(list.rowCount()));
    list.setCellText(row, kTimeColumn, timeText);
    list.setCellText(row, kCommandColumn, commandText);
    return row;
}

void deleteSelectedTask(TaskList& list) { list.deleteRow(list.selectedRow()); }

void deleteAllTasks(TaskList& list) { list.deleteAllRows(); }

std::string droppedFilesText(const std::vector<std::string>& paths) {
    if (paths.size() == 1) return paths.front();
    std::string text;
    for (const auto& path : paths) text.append(path).append("\r\n");
    return text;
}
