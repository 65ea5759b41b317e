// The task file as the window uses it: loaded when the window is created,
// saved and loaded through the task menu. In a Documents folder of the
// test's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "documents_folder.h"
#include "schedule/datetime.h"
#include "tests/support/gbk_test_texts.h"
#include "win_test_support.h"

namespace {

class WindowTaskFile : public testing::Test {
protected:
    void SetUp() override { drainQuit(); }

    void TearDown() override {
        if (main_ && IsWindow(main_->window)) DestroyWindow(main_->window);
        drainQuit();
    }

    void openWindow() {
        main_ = loadMainWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(main_, nullptr);
        ShowWindow(main_->window, SW_SHOW);
        pumpMessages();
    }

    DocumentsFolder documents_{newFolderName()};
    std::unique_ptr<MainWindow> main_;
};

}  // namespace

TEST_F(WindowTaskFile, OpensWithTheSavedRowsInOrderAndTheTimeOfStart) {
    ASSERT_TRUE(putFile(documents_.taskFile(), HEADER_LINE "3=" TIME_TEXT COMMA "C:\\Tools\\run.bat\r\n"
                                                      "1=" TIME_TEXT COMMA "tool.exe /mode=2\r\n"
                                                      "x=" COMMA "\r\n"));
    const DateTime before = currentDateTime();
    openWindow();
    EXPECT_EQ(rowsOf(main_->tasks()), (Rows{{"3", TIME_TEXT, "C:\\Tools\\run.bat"},
                                            {"1", TIME_TEXT, "tool.exe /mode=2"},
                                            {"x", "", ""}}));
    const DateTime shown = textToDateTime(windowText(main_->编辑框1));
    EXPECT_GE(shown, before);
    EXPECT_LE(shown, currentDateTime());
    EXPECT_TRUE(main_->timeFollowsClock);

    // The drop target is registered, and a drop reaches the path field.
    EXPECT_EQ(RegisterDragDrop(main_->window, main_->拖放对象1.get()), DRAGDROP_E_ALREADYREGISTERED);
    auto files = makeFileDropDataObject({"C:\\a.exe"});
    DWORD effect = DROPEFFECT_COPY;
    main_->拖放对象1->DragEnter(files.get(), MK_LBUTTON, POINTL{0, 0}, &effect);
    main_->拖放对象1->Drop(files.get(), MK_LBUTTON, POINTL{0, 0}, &effect);
    EXPECT_EQ(windowText(main_->编辑框2), "C:\\a.exe");

    // The next add counts the loaded rows.
    addTaskThroughButton(*main_, "t", "c");
    EXPECT_EQ(main_->tasks().cellText(3, 0), "4");
}

TEST_F(WindowTaskFile, OpensEmptyAndSilentWithoutAFile) {
    openWindow();
    EXPECT_EQ(main_->tasks().rowCount(), 0);
    EXPECT_EQ(visibleWindowOfThisProcess("#32770"), nullptr);
    EXPECT_FALSE(textToDateTime(windowText(main_->编辑框1)) == minDateTime);
}

TEST_F(WindowTaskFile, MenuSaveWritesTheListAndTicksGoOnUnderTheOutcomeBox) {
    openWindow();
    addTaskThroughButton(*main_, TIME_TEXT, "C:\\Tools\\run.bat");
    addTaskThroughButton(*main_, "", "");
    std::vector<std::string> clockTexts;
    std::string boxText;
    DWORD firstSeen = 0;
    NestedProbe::every(100, [&] {
        HWND box = visibleWindowOfThisProcess("#32770");
        if (box == nullptr) return false;
        if (firstSeen == 0) {
            firstSeen = GetTickCount();
            boxText = messageBoxText(box);
        }
        const std::string clock = windowText(main_->标签4);
        if (clockTexts.empty() || clockTexts.back() != clock) clockTexts.push_back(clock);
        if (GetTickCount() - firstSeen < 3500) return false;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    chooseMenuCommand(*main_, 20001);  // 保存
    NestedProbe::stop();

    EXPECT_EQ(boxText, gbk::kSaved);
    EXPECT_GE(clockTexts.size(), 3u) << "the clock label refreshed while the box was open";
    EXPECT_EQ(fileBytes(documents_.taskFile()),
              std::optional<std::string>(HEADER_LINE "1=" TIME_TEXT COMMA "C:\\Tools\\run.bat\r\n2=" COMMA "\r\n"));
}

TEST_F(WindowTaskFile, MenuLoadReplacesTheRowsWithTheFilesRows) {
    openWindow();
    addTaskThroughButton(*main_, "unsaved", "row");
    ASSERT_TRUE(putFile(documents_.taskFile(), HEADER_LINE "7=" TIME_TEXT COMMA "b.bat\r\n"));
    chooseMenuCommand(*main_, 20002);  // 读取
    EXPECT_EQ(rowsOf(main_->tasks()), (Rows{{"7", TIME_TEXT, "b.bat"}}));
    chooseMenuCommand(*main_, 20002);  // twice: not doubled
    EXPECT_EQ(main_->tasks().rowCount(), 1);
}
