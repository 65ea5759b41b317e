// A Documents folder of the test's own, and small file helpers, for the
// tests that touch the task file. Never the real user's folder.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/win32_ownership_win.h"

inline constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

inline std::string newFolderName() {
    static int serial = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "tarvelo-file-test-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++serial);
}

inline bool putFile(const std::string& path, const std::string& bytes) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

inline std::optional<std::string> fileBytes(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return std::nullopt;
    bytes.resize(read);
    return bytes;
}

inline std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// A new folder that the shell gives as the Documents folder while this
// lives. The earlier setting comes back and the folder goes afterwards.
class DocumentsFolder {
public:
    explicit DocumentsFolder(std::string path) : path_(std::move(path)) {
        CreateDirectoryA(path_.c_str(), nullptr);
        RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_);
        DWORD size = sizeof(old_);
        hadOld_ = RegQueryValueExA(key_, "Personal", nullptr, &oldType_, old_, &size) == ERROR_SUCCESS;
        oldSize_ = size;
        set(path_);
    }
    DocumentsFolder(const DocumentsFolder&) = delete;
    DocumentsFolder& operator=(const DocumentsFolder&) = delete;
    ~DocumentsFolder() {
        if (hadOld_)
            RegSetValueExA(key_, "Personal", 0, oldType_, old_, oldSize_);
        else
            RegDeleteValueA(key_, "Personal");
        RegCloseKey(key_);
        for (const auto& name : folderEntries(path_)) {
            const std::string file = path_ + "\\" + name;
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }

    void set(const std::string& value) {
        RegSetValueExA(key_, "Personal", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
    const std::string& path() const { return path_; }
    std::string taskFile() const { return path_ + "\\Tarvelo.ini"; }

private:
    std::string path_;
    HKEY key_ = nullptr;
    bool hadOld_ = false;
    DWORD oldType_ = 0;
    BYTE old_[1024] = {};
    DWORD oldSize_ = 0;
};

