// Task entry on the task list: adding and deleting tasks. Platform-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tasks/task_list.h"

// Appends the task; its serial is the row count after the append, so serials
// repeat after a deletion. Nothing is checked. Returns the new row, or -1.
int addTask(TaskList& list, std::string_view timeText, std::string_view commandText);

// Deletes the selected row; nothing when no row is selected.
void deleteSelectedTask(TaskList& list);

void deleteAllTasks(TaskList& list);

// The text a drop of files gives: one path alone, several each followed by CR LF.
std::string droppedFilesText(const std::vector<std::string>& paths);
