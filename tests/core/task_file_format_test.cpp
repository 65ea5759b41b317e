#include "tasks/task_file_format.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/gbk_test_texts.h"
#include "tests/support/memory_task_list.h"

using namespace std::string_literals;

namespace {

using Rows = std::vector<MemoryTaskList::Row>;

std::string saved(const Rows& rows) { return taskFileText(MemoryTaskList(rows)); }

Rows loaded(std::string_view bytes) {
    MemoryTaskList list;
    loadTaskFileText(bytes, list);
    return list.rows();
}

// A list with any number of columns, to show that saving follows columnCount.
class GridList final : public TaskList {
public:
    explicit GridList(std::vector<std::vector<std::string>> rows, int columns)
        : rows_(std::move(rows)), columns_(columns) {}
    int rowCount() const override { return static_cast<int>(rows_.size()); }
    int columnCount() const override { return columns_; }
    int appendRow() override { return -1; }
    void setCellText(int, int, std::string_view) override {}
    std::string cellText(int row, int column) const override {
        return column < static_cast<int>(rows_[row].size()) ? rows_[row][column] : std::string();
    }
    void deleteRow(int) override {}
    void deleteAllRows() override {}
    int selectedRow() const override { return -1; }

private:
    std::vector<std::vector<std::string>> rows_;
    int columns_;
};

}  // namespace

TEST(SplitText, Cases) {
    struct Case {
        std::string text;
        std::string separator;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"a==b", "=", {"a", "", "b"}},
        {"=b", "=", {"", "b"}},
        {"a=", "=", {"a"}},
        {"=", "=", {""}},
        {"==", "=", {"", ""}},
        {"", "=", {}},
        {"", "", {}},
        {"abc", "", {"abc"}},
        {"abc", "=", {"abc"}},
        {"x" COMMA, COMMA, {"x"}},
        {COMMA COMMA, COMMA, {"", ""}},
        {"a" COMMA "b" COMMA "c", COMMA, {"a", "b", "c"}},
        {HEADER "\r\nline\r\n", "\r\n", {HEADER, "line"}},
        {"a\r\n\r\nb", "\r\n", {"a", "", "b"}},
        {"a\nb\n", "\r\n", {"a\nb\n"}},
        {"a\rb", "\r\n", {"a\rb"}},
        // 啊 (B0 A1) then B0 A3 AC 41: the bytes A3 AC straddle two characters.
        {"\xB0\xA1\xB0\xA3\xAC\x41", COMMA, {"\xB0\xA1\xB0\xA3\xAC\x41"}},
        // A lead byte takes the byte after it, whatever that is.
        {"\x81=b", "=", {"\x81=b"}},
        {"\x81\r\nb", "\r\n", {"\x81\r\nb"}},
        {"a=\xB0", "=", {"a", "\xB0"}},
        {"ab\xA3", COMMA, {"ab\xA3"}},
        {"a", COMMA, {"a"}},
        {"a=b\0=c"s, "=", {"a", "b"}},
        {"\0a=b"s, "=", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitText(c.text, c.separator), c.pieces) << c.text << " / " << c.separator;
}

TEST(TaskFileText, BytesOfRows) {
    struct Case {
        Rows rows;
        std::string bytes;
    };
    const Case cases[] = {
        {{}, "\x5B\x54\x61\x72\x76\x65\x6C\x6F\xA3\xBA\x5D\x0D\x0A"},
        {{{"1", TIME_TEXT, "C:\\Tools\\run.bat"}}, HEADER "\r\n1=" TIME_TEXT COMMA "C:\\Tools\\run.bat\r\n"},
        {{{"", "", ""}}, HEADER "\r\n=" COMMA "\r\n"},
        {{{"7", "", "a.exe"}, {"x", "t", ""}, {"3", "t3", CHINESE_PATH}},
         HEADER "\r\n7=" COMMA "a.exe\r\nx=t" COMMA "\r\n3=t3" COMMA CHINESE_PATH "\r\n"},
        {{{"1", "t", "tool.exe /mode=2 a" COMMA "b"}}, HEADER "\r\n1=t" COMMA "tool.exe /mode=2 a" COMMA "b\r\n"},
        {{{"1", "t", "a.exe\r\nb.exe\r\n"}}, HEADER "\r\n1=t" COMMA "a.exe\r\nb.exe\r\n\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(saved(c.rows), c.bytes);
}

TEST(TaskFileText, ColumnsFollowTheList) {
    const std::vector<std::vector<std::string>> rows = {{"a", "b", "c", "d"}, {"e", "f", "g", "h"}};
    EXPECT_EQ(taskFileText(GridList(rows, 0)), HEADER "\r\n\r\n\r\n");
    EXPECT_EQ(taskFileText(GridList(rows, 1)), HEADER "\r\na\r\ne\r\n");
    EXPECT_EQ(taskFileText(GridList(rows, 2)), HEADER "\r\na=b\r\ne=f\r\n");
    EXPECT_EQ(taskFileText(GridList(rows, 4)), HEADER "\r\na=b" COMMA "c" COMMA "d\r\ne=f" COMMA "g" COMMA "h\r\n");
}

TEST(ParseTaskLine, CutsAtTheFirstSeparators) {
    struct Case {
        std::string line;
        std::string serial, time, command;
    };
    const Case cases[] = {
        {"1=" TIME_TEXT COMMA "C:\\Tools\\run.bat", "1", TIME_TEXT, "C:\\Tools\\run.bat"},
        {"1=" COMMA "C:\\a.exe", "1", "", "C:\\a.exe"},
        {"1=t" COMMA, "1", "t", ""},
        {"1=t", "1", "t", ""},
        {"=t" COMMA "c", "", "t", "c"},
        {"=" COMMA, "", "", ""},
        {"a=b=", "a", "b=", ""},
        {"1==t" COMMA "c", "1", "=t", "c"},
        {"1=" TIME_TEXT COMMA "tool.exe /mode=2", "1", TIME_TEXT, "tool.exe /mode=2"},
        {"1=t" COMMA "a" COMMA "b", "1", "t", "a" COMMA "b"},
        {"1=t" COMMA "x=1" COMMA "y=2", "1", "t", "x=1" COMMA "y=2"},
        {"9=t" COMMA CHINESE_PATH, "9", "t", CHINESE_PATH},
        // The "，" is found only where a character starts.
        {"1=\xB0\xA3\xAC\x41" COMMA "c", "1", "\xB0\xA3\xAC\x41", "c"},
        {"1=t" COMMA "b\rc", "1", "t", "b\rc"},
        {"1=t" COMMA "b\0c"s, "1", "t", "b"},
    };
    for (const auto& c : cases) {
        const std::optional<TaskLine> task = parseTaskLine(c.line);
        ASSERT_TRUE(task.has_value()) << c.line;
        EXPECT_EQ(task->serial, c.serial) << c.line;
        EXPECT_EQ(task->time, c.time) << c.line;
        EXPECT_EQ(task->command, c.command) << c.line;
    }
}

TEST(ParseTaskLine, NoTaskWithoutAnInnerEqualsSign) {
    const std::string lines[] = {"", "abc", "1=", "=", "t" COMMA "c", "C:\\b.exe", "\x81=", "\0=a"s, "a\0=b"s};
    for (const auto& line : lines) EXPECT_FALSE(parseTaskLine(line).has_value()) << line;
}

TEST(LoadTaskFileText, Files) {
    const std::string utf16 =
        "\xFF\xFE[\0T\0a\0r\0v\0e\0l\0o\0\x1A\xFF]\0\r\0\n\0" "1\0=\0t\0\x0C\xFF" "c\0\r\0\n\0"s;
    struct Case {
        std::string bytes;
        Rows rows;
    };
    const Case cases[] = {
        {"", {}},
        {HEADER "\r\n", {}},
        {HEADER, {}},
        {HEADER "\r\n1=" TIME_TEXT COMMA "C:\\Tools\\run.bat\r\n", {{"1", TIME_TEXT, "C:\\Tools\\run.bat"}}},
        {HEADER "\r\n1=a" COMMA "b", {{"1", "a", "b"}}},
        // The first line is skipped whatever it holds.
        {"1=a" COMMA "b\r\n2=c" COMMA "d\r\n", {{"2", "c", "d"}}},
        {"\r\n1=a" COMMA "b\r\n", {{"1", "a", "b"}}},
        {"1=a" COMMA "b", {}},
        // Lines that end with LF alone are one line.
        {HEADER "\n1=a" COMMA "b\n2=c" COMMA "d\n", {}},
        // A zero byte ends the text.
        {HEADER "\r\n1=a" COMMA "b\r\n\0" "2=c" COMMA "d\r\n"s, {{"1", "a", "b"}}},
        {HEADER "\r\n1=a" COMMA "b\0c\r\n2=c" COMMA "d\r\n"s, {{"1", "a", "b"}}},
        {"\0" HEADER "\r\n1=a" COMMA "b\r\n"s, {}},
        {utf16, {}},
        // Lines that give no task are passed over and loading goes on.
        {HEADER "\r\n1=a" COMMA "b\r\n\r\nno task\r\n2=\r\n=\r\n3=c" COMMA "d\r\n", {{"1", "a", "b"}, {"3", "c", "d"}}},
        // A command that held the CR LF of several dropped files.
        {HEADER "\r\n1=t" COMMA "C:\\a.exe\r\nC:\\b.exe\r\n\r\n2=u" COMMA "c.exe\r\n",
         {{"1", "t", "C:\\a.exe"}, {"2", "u", "c.exe"}}},
        {HEADER "\r\n\xB0\xA1=\xB0\xA1" COMMA "\xB0\xA1\r\n", {{"\xB0\xA1", "\xB0\xA1", "\xB0\xA1"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(loaded(c.bytes), c.rows) << c.bytes;
}

TEST(LoadTaskFileText, ReplacesTheRowsAndNeverDoubles) {
    const std::string bytes = HEADER "\r\n1=a" COMMA "b\r\n2=c" COMMA "d\r\n";
    const Rows expected = {{"1", "a", "b"}, {"2", "c", "d"}};
    MemoryTaskList list({{"old", "x", "y"}, {"old2", "", ""}, {"old3", "", ""}});
    loadTaskFileText(bytes, list);
    EXPECT_EQ(list.rows(), expected);
    loadTaskFileText(bytes, list);
    EXPECT_EQ(list.rows(), expected);
    loadTaskFileText(HEADER "\r\nno task\r\n", list);
    EXPECT_TRUE(list.rows().empty());
}

TEST(LoadTaskFileText, RowsComeBackWhole) {
    const std::string longCommand = "C:\\Tools\\run.exe " + std::string(100000, 'x') + " /mode=2 " + CHINESE_PATH;
    const Rows rowSets[] = {
        {},
        {{"1", TIME_TEXT, "C:\\Tools\\run.bat"}, {"2", "2019-3-2 10:05:30", CHINESE_PATH}},
        {{"1", TIME_TEXT, "tool.exe /mode=2"}, {"2", "t=1", "a=b=c"}},
        {{"1", TIME_TEXT, "a" COMMA "b" COMMA}, {"2", "", COMMA}},
        {{"1", TIME_TEXT, ""}, {"", "", ""}, {"", "", "x"}, {"serial", "", ""}},
        {{"\xD0\xF2\xBA\xC5", TIME_TEXT, CHINESE_PATH " \xB0\xA3\xAC\x41"}},
        {{"1", "t", longCommand}, {"2", std::string(5000, 't'), longCommand}},
        {{"1", "t", "a\rb\r"}, {"2\r", "\rt", "\r"}},
    };
    for (const auto& rows : rowSets) EXPECT_EQ(loaded(saved(rows)), rows);
}

// Random rows of whole GBK characters: every row without "=" in its serial,
// "，" in its time or a CR LF anywhere comes back as it was saved.
TEST(LoadTaskFileText, RandomRowsComeBackWhole) {
    std::mt19937 rng(20240501);
    const std::vector<std::string> alphabet = {"a", "1", " ", "\\", ":", "\r", "=", COMMA, "\xA3\xBA", "\xB0\xA1",
                                               "\xB0\xA3", "\xAC\x41", "\x81\x40", "\xFE\xFE", "\xC4\xEA"};
    auto cell = [&](std::string_view banned) {
        std::string text;
        const int length = std::uniform_int_distribution(0, 12)(rng);
        while (static_cast<int>(text.size()) < length) {
            const std::string& c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
            if (c != banned) text += c;
        }
        return text;
    };
    for (int round = 0; round < 200; ++round) {
        Rows rows(std::uniform_int_distribution(0, 8)(rng));
        for (auto& row : rows) row = {cell("="), cell(COMMA), cell("")};
        ASSERT_EQ(loaded(saved(rows)), rows) << saved(rows);
    }
}
