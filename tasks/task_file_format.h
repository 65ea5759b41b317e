// The task file's bytes: the text that saving writes and its reading back
// into rows. Platform-free: plain C++20, no Windows header.
//
// The file is GBK text with CR LF line ends: a header line, then one line per
// row, serial "=" time text "，" command text. Cells are stored as they are.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tasks/task_list.h"

inline constexpr std::string_view kTaskFileHeader = "[Tarvelo\xA3\xBA]";  // [Tarvelo：]
inline constexpr std::string_view kTaskFileLineEnd = "\r\n";
inline constexpr std::string_view kSerialSeparator = "=";
inline constexpr std::string_view kCellSeparator = "\xA3\xAC";  // ，

// Splits at every separator that starts on a character boundary: a byte with
// its high bit set starts a two-byte character, as in GBK. Empty pieces are
// kept, except after a separator at the very end. An empty text gives no
// pieces and an empty separator the whole text. The text ends at its first
// zero byte, since every caller holds a C string.
std::vector<std::string> splitText(std::string_view text, std::string_view separator);

// The file's whole text for the list's rows, in order, columns as the list
// has them.
std::string taskFileText(const TaskList& list);

struct TaskLine {
    std::string_view serial;
    std::string_view time;
    std::string_view command;
};

// A task line is cut at its first "=" and the rest at its first "，", so that
// "=" and "，" inside the time or command text survive. No row comes from a
// line without "=" or whose first "=" is its last byte.
std::optional<TaskLine> parseTaskLine(std::string_view line);

// Empties the list, then appends a row for every task line after the first
// line, which is skipped whatever it holds. The text ends at a zero byte.
void loadTaskFileText(std::string_view bytes, TaskList& list);
