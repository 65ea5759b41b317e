#include "common/ansi_path.h"

std::size_t lastBackslash(std::string_view path) noexcept {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); i += characterLength(path[i]))
        if (path[i] == '\\') last = i;
    return last;
}

std::string_view folderOf(std::string_view path) noexcept {
    const std::size_t slash = lastBackslash(path);
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}
