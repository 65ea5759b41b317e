// GBK bytes that the tests write and expect, each with its meaning.
// Platform-free. Macros, so that they join other literals.
#pragma once

#define HEADER "[Tarvelo\xA3\xBA]"  // [Tarvelo：], the task file's first line
#define HEADER_LINE HEADER "\r\n"
#define COMMA "\xA3\xAC"  // ，
#define TIME_TEXT "2024\xC4\xEA" "5\xD4\xC2" "1\xC8\xD5" "8\xCA\xB1" "30\xB7\xD6"  // 2024年5月1日8时30分
#define CHINESE_PATH "D:\\\xD6\xD0\xCE\xC4\xC2\xB7\xBE\xB6\\run.bat"                  // D:\中文路径\run.bat

namespace gbk {
inline constexpr char kSaved[] = "\xB1\xA3\xB4\xE6\xB3\xC9\xB9\xA6";                // 保存成功
inline constexpr char kNotSaved[] = "\xB1\xA3\xB4\xE6\xCA\xA7\xB0\xDC";             // 保存失败
inline constexpr char kOutcomeCaption[] = "\xCC\xE1\xCA\xBE\xD0\xC5\xCF\xA2\xA3\xBA";  // 提示信息：
}  // namespace gbk
