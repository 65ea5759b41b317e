// Paths as the ANSI functions take them: byte strings in the system's
// double-byte code page (GBK). Platform-free.
#pragma once

#include <cstddef>
#include <string_view>

// The bytes of the character that starts with `lead`: every byte with its
// high bit set starts a two-byte character, whose trail byte may be 0x5C,
// the code of "\" (乗 is 81 5C). Paths and task lines are cut by this rule.
constexpr std::size_t characterLength(char lead) noexcept {
    return (static_cast<unsigned char>(lead) & 0x80u) ? 2 : 1;
}

// The last backslash that starts a character, or npos.
std::size_t lastBackslash(std::string_view path) noexcept;

// The path up to its last backslash, that backslash excluded; empty when
// it has none.
std::string_view folderOf(std::string_view path) noexcept;
