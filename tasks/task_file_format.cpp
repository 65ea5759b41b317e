#include "tasks/task_file_format.h"

#include <cstddef>

#include "common/ansi_path.h"

namespace {

std::string_view untilZero(std::string_view text) { return text.substr(0, text.find('\0')); }

// The first separator at or after `from` (a character boundary) that starts
// on a character boundary; npos when none. A lead byte without its trail byte
// ends the scan.
std::size_t findSeparator(std::string_view text, std::string_view separator, std::size_t from) {
    std::size_t pos = from;
    while (pos <= text.size() && text.size() - pos >= separator.size()) {
        if (text.compare(pos, separator.size(), separator) == 0) return pos;
        pos += characterLength(text[pos]);
    }
    return std::string_view::npos;
}

}  // namespace

std::vector<std::string> splitText(std::string_view text, std::string_view separator) {
    text = untilZero(text);
    if (text.empty()) return {};
    if (separator.empty()) return {std::string(text)};

    std::vector<std::string> pieces;
    std::size_t begin = 0;
    for (std::size_t found; (found = findSeparator(text, separator, begin)) != std::string_view::npos;) {
        pieces.emplace_back(text.substr(begin, found - begin));
        begin = found + separator.size();
    }
    if (begin < text.size()) pieces.emplace_back(text.substr(begin));
    return pieces;
}

std::string taskFileText(const TaskList& list) {
    const int columns = list.columnCount();
    const int rows = list.rowCount();
    std::string text(kTaskFileHeader);
    text += kTaskFileLineEnd;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (c == 1) text += kSerialSeparator;
            if (c >= 2) text += kCellSeparator;
            text += list.cellText(r, c);
        }
        text += kTaskFileLineEnd;
    }
    return text;
}

std::optional<TaskLine> parseTaskLine(std::string_view line) {
    line = untilZero(line);
    const std::size_t equals = findSeparator(line, kSerialSeparator, 0);
    if (equals == std::string_view::npos || equals + kSerialSeparator.size() == line.size()) return std::nullopt;

    const std::string_view rest = line.substr(equals + kSerialSeparator.size());
    const std::size_t comma = findSeparator(rest, kCellSeparator, 0);
    if (comma == std::string_view::npos) return TaskLine{line.substr(0, equals), rest, {}};
    return TaskLine{line.substr(0, equals), rest.substr(0, comma), rest.substr(comma + kCellSeparator.size())};
}

void loadTaskFileText(std::string_view bytes, TaskList& list) {
    list.deleteAllRows();
    const std::vector<std::string> lines = splitText(bytes, kTaskFileLineEnd);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::optional<TaskLine> task = parseTaskLine(lines[i]);
        if (!task) continue;
        const int row = list.appendRow();
        if (row < 0) continue;
        list.setCellText(row, kSerialColumn, task->serial);
        list.setCellText(row, kTimeColumn, task->time);
        list.setCellText(row, kCommandColumn, task->command);
    }
}
