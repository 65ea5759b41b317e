// The program's own texts, in GBK (code page 936) bytes as the ANSI window
// functions take them. Each is followed by its meaning.
#pragma once

namespace text {

inline constexpr char kWindowTitle[] = "Tarvelo\xC8\xED\xBC\xFE byQuenlit";  // Tarvelo软件 byQuenlit
inline constexpr char kAddButton[] = "\xC8\xB7\xC8\xCF\xCC\xED\xBC\xD3";     // 确认添加
inline constexpr char kTimeCaption[] = "\xCA\xB1\xBC\xE4\xA3\xBA";           // 时间：
inline constexpr char kPathCaption[] = "\xC4\xBF\xC2\xBC\xA3\xBA";           // 目录：
inline constexpr char kClockPrefix[] = "\xB5\xB1\xC7\xB0\xA3\xBA";           // 当前：
inline constexpr char kSerialColumn[] = "\xD0\xF2\xBA\xC5";                  // 序号
inline constexpr char kTimeColumn[] = "\xCA\xB1\xBC\xE4";                    // 时间
// 执行文件目录（exe\bat..）
inline constexpr char kCommandColumn[] = "\xD6\xB4\xD0\xD0\xCE\xC4\xBC\xFE\xC4\xBF\xC2\xBC\xA3\xA8" "exe\\bat..\xA3\xA9";

inline constexpr char kMenuSettings[] = "\xC9\xE8\xD6\xC3";                  // 设置
inline constexpr char kMenuSave[] = "\xB1\xA3\xB4\xE6";                      // 保存
inline constexpr char kMenuLoad[] = "\xB6\xC1\xC8\xA1";                      // 读取
inline constexpr char kMenuDeleteSelected[] = "\xC9\xBE\xB3\xFD\xD1\xA1\xD6\xD0";  // 删除选中
inline constexpr char kMenuDeleteAll[] = "\xC9\xBE\xB3\xFD\xC8\xAB\xB2\xBF";       // 删除全部
inline constexpr char kMenuHelp[] = "\xB0\xEF\xD6\xFA";                      // 帮助

}  // namespace text

namespace text {
// 无法创建主窗口或其控件。
inline constexpr char kCreationFailed[] =
    "\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8\xD6\xF7\xB4\xB0\xBF\xDA\xBB\xF2\xC6\xE4\xBF\xD8\xBC\xFE\xA1\xA3";
}  // namespace text
