#include "common/ansi_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// 乗 is 81 5C in GBK: its trail byte is the code of "\".
#define JOU "\x81\x5C"

struct Case {
    std::string path;
    std::size_t last;
    std::string folder;
};

}  // namespace

TEST(AnsiPath, LastBackslashStartsACharacter) {
    const auto none = std::string::npos;
    const Case cases[] = {
        {"C:\\Tools\\Tarvelo.exe", 8, "C:\\Tools"},
        {"C:\\Tools\\Tarvelo" JOU ".exe", 8, "C:\\Tools"},  // a trail byte 5C in the file name
        {"C:\\" JOU "\\Tarvelo.exe", 5, "C:\\" JOU},       // and at the end of a folder's name
        {"C:\\a" JOU JOU, 2, "C:"},
        {"Tarvelo.exe", none, ""},
        {JOU, none, ""},
        {"\\Tarvelo.ini", 0, ""},
        {"C:\\docs\\\\Tarvelo.ini", 8, "C:\\docs\\"},
        {"C:\\x\xB1", 2, "C:"},  // a lead byte alone at the end
        {"", none, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lastBackslash(c.path), c.last) << c.path;
        EXPECT_EQ(folderOf(c.path), c.folder) << c.path;
    }
}
