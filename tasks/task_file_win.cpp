#include "tasks/task_file_win.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstddef>

#include "common/ansi_path.h"
#include "common/win32_ownership_win.h"
#include "tasks/task_file_format.h"

namespace {

constexpr const char* kSaved = "\xB1\xA3\xB4\xE6\xB3\xC9\xB9\xA6";           // 保存成功
constexpr const char* kNotSaved = "\xB1\xA3\xB4\xE6\xCA\xA7\xB0\xDC";        // 保存失败
constexpr const char* kCaption = "\xCC\xE1\xCA\xBE\xD0\xC5\xCF\xA2\xA3\xBA";  // 提示信息：

// WriteFile and ReadFile take at most a DWORD at a time.
constexpr std::size_t kMaxChunk = std::size_t{1} << 30;

// A name for the new file written beside the task file: "~", this
// process's id and a serial of three digits, both in base 36. At most 11
// bytes, the length of "Tarvelo.ini", so the new file's path is never longer
// than the task file's: whatever folder holds a task file that fits within
// MAX_PATH holds this one too.
std::string temporaryName(unsigned serial) {
    constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string id;
    for (DWORD process = GetCurrentProcessId(); process != 0 || id.empty(); process /= 36)
        id.insert(id.begin(), kDigits[process % 36]);  // at most 7 digits
    std::string name = "~" + id;
    for (unsigned digit = 36 * 36; digit != 0; digit /= 36) name += kDigits[serial / digit % 36];
    return name;
}

// A new file of this process's own, deleted again unless it was kept.
class TemporaryFile {
public:
    // Beside `target`, so that moving it there never crosses volumes.
    explicit TemporaryFile(const std::string& target) {
        static unsigned serial = 0;
        const std::size_t slash = lastBackslash(target);
        const std::string prefix = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = prefix + temporaryName(serial++);
            file_.reset(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file_) {
                path_ = std::move(name);
                return;
            }
            if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return;
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        file_.reset();
        if (!path_.empty()) DeleteFileA(path_.c_str());
    }

    explicit operator bool() const noexcept { return static_cast<bool>(file_); }
    const std::string& path() const noexcept { return path_; }
    HANDLE handle() const noexcept { return file_.get(); }
    // The last data may be written only on closing, so its outcome counts.
    bool close() noexcept {
        HANDLE file = file_.release();
        return file && CloseHandle(file);
    }
    void keep() noexcept { path_.clear(); }

private:
    UniqueHandle file_;
    std::string path_;
};

// Another program may hold the task file open for a moment: a second copy
// saving at the same time (Wine's replace itself holds the file briefly), a
// virus scanner, the search indexer, the sync client of a synced Documents
// folder. A replace refused for that is tried again for about a second.
constexpr DWORD kReplaceRetryMilliseconds = 1000;
constexpr DWORD kReplacePauseMilliseconds = 20;

bool refusesWriting(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

bool inUseElsewhere(DWORD error, const std::string& path) {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return true;
    return error == ERROR_ACCESS_DENIED && !refusesWriting(path);  // a file being deleted, or open elsewhere
}

bool replaceFile(const std::string& from, const std::string& to) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        if (!inUseElsewhere(GetLastError(), to) || GetTickCount() - start >= kReplaceRetryMilliseconds) return false;
        Sleep(kReplacePauseMilliseconds);
    }
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min(bytes.size(), kMaxChunk));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written != chunk) return false;
        bytes.remove_prefix(chunk);
    }
    return true;
}

}  // namespace

std::string taskFilePath() {
    char folder[MAX_PATH] = {};
    std::string path;
    if (SHGetSpecialFolderPathA(nullptr, folder, CSIDL_PERSONAL, FALSE)) {
        path = folder;
        if (!path.empty() && path.back() != '\\') path += '\\';
    }
    // With the backslash above, the normal path has two before the name; the
    // file system reads them as one.
    return path + "\\Tarvelo.ini";
}

bool writeTaskFile(const std::string& path, std::string_view bytes) {
    // Wine run as root replaces a read-only file; Windows refuses to.
    if (refusesWriting(path)) return false;

    TemporaryFile temporary(path);
    if (!temporary || !writeAll(temporary.handle(), bytes) || !FlushFileBuffers(temporary.handle()) ||
        !temporary.close())
        return false;
    // Refused while another program holds the task file open for longer.
    if (!replaceFile(temporary.path(), path)) return false;
    temporary.keep();
    return true;
}

std::optional<std::string> readTaskFile(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) return std::nullopt;
    if (static_cast<unsigned long long>(size.QuadPart) > std::string().max_size()) return std::nullopt;

    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto chunk = static_cast<DWORD>(std::min(bytes.size() - done, kMaxChunk));
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) return std::nullopt;
        if (read == 0) break;  // the file got shorter meanwhile
        done += read;
    }
    bytes.resize(done);
    return bytes;
}

void saveTaskFile(const TaskList& list) {
    const bool saved = writeTaskFile(taskFilePath(), taskFileText(list));
    MessageBoxA(nullptr, saved ? kSaved : kNotSaved, kCaption,
                MB_OK | MB_TASKMODAL | (saved ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

void loadTaskFile(TaskList& list) {
    list.deleteAllRows();
    if (const std::optional<std::string> bytes = readTaskFile(taskFilePath())) loadTaskFileText(*bytes, list);
}
