// The x86_64 installer under Wine's msiexec: a silent per-user install that
// runs, its shortcuts and version, an upgrade in place, the start-at-logon
// feature left out and removed, and an uninstall that leaves the task file.
// Runs in a Wine prefix of its own: it installs into that user's profile.
#include <windows.h>
#include <commctrl.h>
#include <msi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/texts.h"
#include "common/win32_ownership_win.h"
#include "documents_folder.h"
#include "process_support.h"
#include "tests/support/message_boxes_win.h"

namespace {

constexpr DWORD kInstallerDeadline = 120000;

std::string packagePath(const char* name) { return buildFolder() + "\\packages\\" + name; }

std::string shellFolder(int id) {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, id, TRUE)) return {};
    return path;
}

std::string installFolder() { return shellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Tarvelo"; }
std::string installedProgram() { return installFolder() + "\\Tarvelo.exe"; }
std::string menuShortcut() { return shellFolder(CSIDL_PROGRAMS) + "\\Tarvelo.lnk"; }
std::string startupShortcut() { return shellFolder(CSIDL_STARTUP) + "\\Tarvelo.lnk"; }
std::string taskFile() { return shellFolder(CSIDL_PERSONAL) + "\\Tarvelo.ini"; }

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// msiexec with ARGS; its exit code, or nothing when it did not end in time.
std::optional<DWORD> msiexec(const std::string& args) {
    ChildProcess installer("msiexec.exe " + args);
    if (!installer.started()) {
        ADD_FAILURE() << "msiexec " << args << " did not start, error " << GetLastError();
        return std::nullopt;
    }
    const DWORD start = GetTickCount();
    const auto code = installer.waitForExit(kInstallerDeadline);
    if (!code) ADD_FAILURE() << "msiexec " << args << " still running after " << GetTickCount() - start << " ms";
    return code;
}

std::vector<std::string> relatedProducts() {
    std::vector<std::string> codes;
    char code[39];
    for (DWORD i = 0; MsiEnumRelatedProductsA(TARVELO_UPGRADE_CODE, 0, i, code) == ERROR_SUCCESS; ++i)
        codes.emplace_back(code);
    return codes;
}

std::string productVersion(const std::string& code) {
    char version[64] = {};
    DWORD size = sizeof version;
    if (MsiGetProductInfoA(code.c_str(), INSTALLPROPERTY_VERSIONSTRING, version, &size) != ERROR_SUCCESS) return {};
    return version;
}

// Entries named Tarvelo in the lists of installed programs, the user's and
// the machine's: Windows keeps a per-user product in one, Wine in the other.
int uninstallEntries() {
    int count = 0;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        HKEY list = nullptr;
        if (RegOpenKeyExA(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0, KEY_READ, &list) !=
            ERROR_SUCCESS)
            continue;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD nameSize = sizeof name;
            if (RegEnumKeyExA(list, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            char display[256] = {};
            DWORD displaySize = sizeof display;
            if (RegGetValueA(list, name, "DisplayName", RRF_RT_REG_SZ, nullptr, display, &displaySize) ==
                    ERROR_SUCCESS &&
                lstrcmpA(display, "Tarvelo") == 0)
                ++count;
        }
        RegCloseKey(list);
    }
    return count;
}

bool keyExists(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

struct Shortcut {
    std::string target;
    std::string workingDirectory;
};

template <class T>
using ComPtr = std::unique_ptr<T, ComReleaser<T>>;

std::optional<Shortcut> readShortcut(const std::string& path) {
    IShellLinkA* rawLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&rawLink))))
        return std::nullopt;
    ComPtr<IShellLinkA> link(rawLink);
    IPersistFile* rawFile = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile)))) return std::nullopt;
    ComPtr<IPersistFile> file(rawFile);
    std::wstring widePath(MAX_PATH, L'\0');
    widePath.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath.data(), MAX_PATH)));
    char target[MAX_PATH] = {};
    char directory[MAX_PATH] = {};
    if (FAILED(file->Load(widePath.c_str(), STGM_READ)) ||
        FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) ||
        FAILED(link->GetWorkingDirectory(directory, MAX_PATH)))
        return std::nullopt;
    return Shortcut{target, directory};
}

// The same file or folder, whatever the case, short names or a final "\\"
// (Windows Installer ends folder paths with one).
bool samePath(const std::string& a, const std::string& b) {
    auto longForm = [](const std::string& path) {
        char full[MAX_PATH] = {};
        if (!GetLongPathNameA(path.c_str(), full, MAX_PATH)) return std::string();
        std::string result = full;
        while (result.size() > 3 && result.back() == '\\') result.pop_back();
        return result;
    };
    const std::string longA = longForm(a);
    return !longA.empty() && lstrcmpiA(longA.c_str(), longForm(b).c_str()) == 0;
}

// Installed on this computer. Wine answers "from the source" (4) for a
// feature whose components are keyed by registry values; Windows, "local".
bool featureInstalled(INSTALLSTATE state) { return state == INSTALLSTATE_LOCAL || state == INSTALLSTATE_SOURCE; }

// A shortcut that starts the installed program from the install folder.
void expectShortcutToProgram(const std::string& path) {
    const auto shortcut = readShortcut(path);
    ASSERT_TRUE(shortcut.has_value()) << path;
    EXPECT_TRUE(samePath(shortcut->target, installedProgram())) << shortcut->target;
    EXPECT_TRUE(samePath(shortcut->workingDirectory, installFolder())) << shortcut->workingDirectory;
}

std::string versionString(const std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT size = 0;
    const std::string query = std::string("\\StringFileInfo\\080403A8\\") + name;
    if (!VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &size) || size == 0) return {};
    return std::string(value);
}

// "1.2.3" read from the fixed part of a program's version resource.
std::string fixedFileVersion(const std::vector<char>& info) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size) || size < sizeof *fixed) return {};
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
           "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
}

std::vector<char> versionInfo(const std::string& program) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
    std::vector<char> info(size);
    if (size == 0 || !GetFileVersionInfoA(program.c_str(), 0, size, info.data())) info.clear();
    return info;
}

// Starts the program as its Start Menu shortcut does, Esc on its task list,
// and gives the exit code.
std::optional<DWORD> runAndEscape(const Shortcut& shortcut) {
    std::string command = "\"" + shortcut.target + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        shortcut.workingDirectory.c_str(), &startup, &info)) {
        ADD_FAILURE() << command << " did not start, error " << GetLastError();
        return std::nullopt;
    }
    UniqueHandle process(info.hProcess);
    CloseHandle(info.hThread);
    HWND main = nullptr;
    for (DWORD start = GetTickCount(); main == nullptr && GetTickCount() - start < 30000; Sleep(20))
        main = visibleWindowOf(info.dwProcessId, text::kWindowTitle);
    // Which step failed tells a slow start from a lost key or a hung exit.
    if (main == nullptr) {
        DWORD code = 0;
        GetExitCodeProcess(process.get(), &code);
        ADD_FAILURE() << "no visible main window within 30 s; the program "
                      << (code == STILL_ACTIVE ? std::string("is still running")
                                               : "ended with " + std::to_string(code));
        TerminateProcess(process.get(), 99);
        return std::nullopt;
    }
    HWND list = FindWindowExA(main, nullptr, WC_LISTVIEWA, nullptr);
    if (list == nullptr) ADD_FAILURE() << "the main window has no list view";
    PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 1);
    if (WaitForSingleObject(process.get(), 20000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "still running 20 s after Esc on its task list; main window "
                      << (IsWindow(main) ? (IsWindowVisible(main) ? "visible" : "hidden") : "gone");
        TerminateProcess(process.get(), 99);
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return code;
}

// A task file in Documents that nothing here may change.
// [Tarvelo：] / 1=2019年3月2日10时5分30秒，C:\none.bat
const std::string kTaskFileBytes =
    "[Tarvelo\xA3\xBA]\r\n1=2019\xC4\xEA" "3\xD4\xC2" "2\xC8\xD5" "10\xCA\xB1" "5\xB7\xD6" "30\xC3\xEB\xA3\xAC"
    "C:\\none.bat\r\n";

// Wine starts winemenubuilder for every shortcut made in the Start Menu, to
// mirror it on the Linux desktop; while it reads a shortcut, that shortcut
// cannot be deleted, and the installer that removes it leaves it behind.
// Windows has no such reader. Turned off in this prefix (an empty override
// disables the program); Windows ignores the key.
void turnOffWineMenuBuilder() {
    HKEY overrides = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &overrides, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(overrides, "winemenubuilder.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    RegCloseKey(overrides);
}

class Installer : public testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        turnOffWineMenuBuilder();
        removeEverything();
        ASSERT_TRUE(putFile(taskFile(), kTaskFileBytes));
    }
    void TearDown() override {
        removeEverything();
        DeleteFileA(taskFile().c_str());
        CoUninitialize();
    }
    // A run that failed half-way leaves nothing for the next test.
    static void removeEverything() {
        for (const auto& code : relatedProducts()) msiexec("/x " + code + " /qn");
    }

    static std::string package() { return "\"" + packagePath(TARVELO_MSI) + "\""; }
    static std::string nextPackage() { return "\"" + packagePath(TARVELO_NEXT_MSI) + "\""; }
};

TEST_F(Installer, SilentInstallRunsFromItsFolderAndUninstallLeavesTheTaskFile) {
    ASSERT_EQ(msiexec("/i " + package() + " /qn"), std::optional<DWORD>(0));

    EXPECT_TRUE(exists(installedProgram()));
    EXPECT_EQ(folderEntries(installFolder()), std::vector<std::string>{"Tarvelo.exe"});
    expectShortcutToProgram(menuShortcut());
    expectShortcutToProgram(startupShortcut());
    const auto products = relatedProducts();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(productVersion(products[0]), TARVELO_VERSION);
    EXPECT_EQ(uninstallEntries(), 1);
    EXPECT_EQ(MsiQueryProductStateA(products[0].c_str()), INSTALLSTATE_DEFAULT);
    EXPECT_TRUE(featureInstalled(MsiQueryFeatureStateA(products[0].c_str(), "Main")));
    EXPECT_TRUE(featureInstalled(MsiQueryFeatureStateA(products[0].c_str(), "StartAtLogon")));

    const auto shortcut = readShortcut(menuShortcut());
    ASSERT_TRUE(shortcut.has_value());
    EXPECT_EQ(runAndEscape(*shortcut), std::optional<DWORD>(0));

    ASSERT_EQ(msiexec("/x " + package() + " /qn"), std::optional<DWORD>(0));
    EXPECT_FALSE(exists(installedProgram()));
    EXPECT_FALSE(exists(installFolder()));
    EXPECT_FALSE(exists(menuShortcut()));
    EXPECT_FALSE(exists(startupShortcut()));
    EXPECT_TRUE(relatedProducts().empty());
    EXPECT_EQ(uninstallEntries(), 0);
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, "Software\\Quenlit"));
    EXPECT_EQ(fileBytes(taskFile()), std::optional<std::string>(kTaskFileBytes));
}

TEST_F(Installer, ProgramCarriesTheProjectVersion) {
    ASSERT_EQ(msiexec("/i " + package() + " /qn"), std::optional<DWORD>(0));
    const auto info = versionInfo(installedProgram());
    ASSERT_FALSE(info.empty());
    const std::string dotted = std::string(TARVELO_VERSION) + ".0";
    EXPECT_EQ(fixedFileVersion(info), dotted);
    EXPECT_EQ(versionString(info, "FileVersion"), dotted);
    EXPECT_EQ(versionString(info, "ProductVersion"), dotted);
    EXPECT_EQ(versionString(info, "ProductName"), "Tarvelo");
    EXPECT_EQ(versionString(info, "OriginalFilename"), "Tarvelo.exe");
    EXPECT_EQ(versionString(info, "InternalName"), "Tarvelo");
    // Tarvelo 定时运行程序, read in code page 936.
    EXPECT_EQ(versionString(info, "FileDescription"), "Tarvelo \xB6\xA8\xCA\xB1\xD4\xCB\xD0\xD0\xB3\xCC\xD0\xF2");
    EXPECT_NE(versionString(info, "LegalCopyright"), "");
}

TEST_F(Installer, NewerVersionReplacesTheOlderInPlaceAndOlderIsRefused) {
    ASSERT_EQ(msiexec("/i " + package() + " /qn"), std::optional<DWORD>(0));
    ASSERT_EQ(msiexec("/i " + nextPackage() + " /qn"), std::optional<DWORD>(0));

    const auto products = relatedProducts();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(productVersion(products[0]), TARVELO_NEXT_VERSION);
    EXPECT_EQ(uninstallEntries(), 1);
    EXPECT_EQ(folderEntries(installFolder()), std::vector<std::string>{"Tarvelo.exe"});
    EXPECT_EQ(fixedFileVersion(versionInfo(installedProgram())), std::string(TARVELO_NEXT_VERSION) + ".0");
    expectShortcutToProgram(menuShortcut());
    expectShortcutToProgram(startupShortcut());

    // The older package does not go back over the newer one.
    EXPECT_NE(msiexec("/i " + package() + " /qn"), std::optional<DWORD>(0));
    EXPECT_EQ(relatedProducts(), products);
    EXPECT_EQ(fixedFileVersion(versionInfo(installedProgram())), std::string(TARVELO_NEXT_VERSION) + ".0");

    ASSERT_EQ(msiexec("/x " + products[0] + " /qn"), std::optional<DWORD>(0));
    EXPECT_FALSE(exists(installFolder()));
    EXPECT_FALSE(exists(menuShortcut()));
    EXPECT_FALSE(exists(startupShortcut()));
    EXPECT_EQ(fileBytes(taskFile()), std::optional<std::string>(kTaskFileBytes));
}

TEST_F(Installer, StartAtLogonCanBeLeftOutAtInstall) {
    ASSERT_EQ(msiexec("/i " + package() + " /qn ADDLOCAL=Main"), std::optional<DWORD>(0));
    EXPECT_TRUE(exists(installedProgram()));
    expectShortcutToProgram(menuShortcut());
    EXPECT_FALSE(exists(startupShortcut()));
    const auto products = relatedProducts();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_TRUE(featureInstalled(MsiQueryFeatureStateA(products[0].c_str(), "Main")));
    EXPECT_EQ(MsiQueryFeatureStateA(products[0].c_str(), "StartAtLogon"), INSTALLSTATE_ABSENT);
}

TEST_F(Installer, StartAtLogonCanBeRemovedFromTheInstalledProduct) {
    ASSERT_EQ(msiexec("/i " + package() + " /qn"), std::optional<DWORD>(0));
    ASSERT_TRUE(exists(startupShortcut()));
    const auto products = relatedProducts();
    ASSERT_EQ(products.size(), 1u);

    // As a user would: the same package again, with the feature to remove.
    ASSERT_EQ(msiexec("/i " + package() + " /qn REMOVE=StartAtLogon"), std::optional<DWORD>(0));
    EXPECT_FALSE(exists(startupShortcut()));
    EXPECT_TRUE(exists(installedProgram()));
    expectShortcutToProgram(menuShortcut());
    EXPECT_EQ(MsiQueryFeatureStateA(products[0].c_str(), "StartAtLogon"), INSTALLSTATE_ABSENT);
    EXPECT_EQ(relatedProducts(), products);
}

}  // namespace
