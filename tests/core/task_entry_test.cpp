#include "tasks/task_entry.h"

#include <gtest/gtest.h>

#include "tests/support/memory_task_list.h"

namespace {

std::vector<std::string> serials(const MemoryTaskList& list) {
    std::vector<std::string> result;
    for (const auto& row : list.rows()) result.push_back(row[kSerialColumn]);
    return result;
}

}  // namespace

TEST(AddTask, SerialIsTheRowCountAfterTheAppend) {
    MemoryTaskList list;
    for (int i = 0; i < 3; ++i) addTask(list, "t", "c");
    EXPECT_EQ(serials(list), (std::vector<std::string>{"1", "2", "3"}));
    list.deleteRow(1);
    EXPECT_EQ(addTask(list, "t", "c"), 2);
    EXPECT_EQ(serials(list), (std::vector<std::string>{"1", "3", "3"}));
}

TEST(AddTask, StoresBothTextsUncheckedAndEmptyOnesAsEmpty) {
    MemoryTaskList list({{"7", "x", "y"}, {"a", "b", "c"}, {"", "", ""}, {"", "", ""}, {"", "", ""}});
    addTask(list, "", "");
    addTask(list, "not a time", "C:\\a b\\c.exe /x=1\r\nD:\\d.bat\r\n");
    ASSERT_EQ(list.rowCount(), 7);
    EXPECT_EQ(list.rows()[5], (MemoryTaskList::Row{"6", "", ""}));
    EXPECT_EQ(list.rows()[6], (MemoryTaskList::Row{"7", "not a time", "C:\\a b\\c.exe /x=1\r\nD:\\d.bat\r\n"}));
}

TEST(DeleteSelectedTask, DeletesOnlyTheSelectedRowAndNothingWithoutSelection) {
    MemoryTaskList list({{"1", "a", "x"}, {"2", "b", "y"}, {"3", "c", "z"}});
    deleteSelectedTask(list);
    EXPECT_EQ(list.rowCount(), 3);
    list.select(1);
    deleteSelectedTask(list);
    EXPECT_EQ(serials(list), (std::vector<std::string>{"1", "3"}));
}

TEST(DeleteAllTasks, EmptiesTheListAndIsHarmlessOnAnEmptyOne) {
    MemoryTaskList list({{"1", "a", "x"}, {"2", "b", "y"}});
    deleteAllTasks(list);
    EXPECT_EQ(list.rowCount(), 0);
    deleteAllTasks(list);
    EXPECT_EQ(list.rowCount(), 0);
}

TEST(DroppedFilesText, OnePathAloneSeveralEachFollowedByCrLf) {
    EXPECT_EQ(droppedFilesText({"C:\\Tools\\run.bat"}), "C:\\Tools\\run.bat");
    EXPECT_EQ(droppedFilesText({"C:\\a.exe", "C:\\b c.bat"}), "C:\\a.exe\r\nC:\\b c.bat\r\n");
    EXPECT_EQ(droppedFilesText({}), "");
}
