// The task file, Tarvelo.ini in the user's Documents folder: its place, its
// reading and its replacement, and the save and load that the menu and the
// window's creation run.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tasks/task_list.h"

// The Documents folder, a backslash unless it ends with one, then
// "\Tarvelo.ini"; "\Tarvelo.ini" alone when the shell gives no folder.
std::string taskFilePath();

// Writes the bytes to a new file beside the path, flushes it and puts it in
// the path's place in one step, so that a failure leaves the old file whole.
// A read-only file is not replaced; one that is open elsewhere is tried
// again for about a second, then left as it is.
bool writeTaskFile(const std::string& path, std::string_view bytes);

// The whole file; nothing when it cannot be opened for reading (missing, no
// access, open elsewhere for writing) or read.
std::optional<std::string> readTaskFile(const std::string& path);

// Saves the list and tells the outcome in a task-modal box without owner.
void saveTaskFile(const TaskList& list);

// Empties the list and fills it from the task file, if there is one to read.
// Shows nothing, whatever happens.
void loadTaskFile(TaskList& list);
