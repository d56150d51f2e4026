// The installer as users run it: silently, over a running copy, and without administrator
// rights; and the uninstaller after it. run-installer-test builds the installer from this
// build's programs and runs these tests in a Wine prefix of their own.
#include "Process.h"
#include <gtest/gtest.h>
#include <objbase.h>
#include <sddl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <aclapi.h>
#include <tlhelp32.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

using testsupport::FileExists;
using testsupport::SystemFilePath;
using testsupport::WaitUntil;

namespace {

constexpr DWORD ErrorElevationRequired = 740;
constexpr DWORD StartBoundMs = 60000, RunBoundMs = 180000;  // a hung program, not a slow one
constexpr const char* MachineKey = "Software\\Vantrell\\Thermowl";
constexpr const char* RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Thermowl";
constexpr const char* SettingsKey = "Software\\Vantrell\\Thermowl\\Conf";
const char* const InstalledFiles[] = {"thermowl.exe", "thermowl-service.exe", "clear.scf", "uninstall.exe"};

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        throw std::runtime_error("no folder for CSIDL " + std::to_string(csidl));
    return path;
}
std::string InstallDir() { return Folder(CSIDL_PROGRAM_FILES) + "\\Vantrell\\Thermowl"; }
std::string MenuFolder() { return Folder(CSIDL_COMMON_PROGRAMS) + "\\Thermowl"; }
std::string SetupPath() {
    const char* path = std::getenv("THERMOWL_SETUP");
    if (!path || !*path) throw std::runtime_error("THERMOWL_SETUP names no installer");
    return testsupport::QuoteArgument(testsupport::WindowsPath(path));
}
bool PathExists(const std::string& path) { return std::filesystem::exists(path); }
std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return text;
}

// --- the registry, in its 64-bit view ---

HKEY OpenKey(HKEY root, const std::string& key, REGSAM access) {
    HKEY handle = nullptr;
    return RegOpenKeyExA(root, key.c_str(), 0, access | KEY_WOW64_64KEY, &handle) == ERROR_SUCCESS ? handle : nullptr;
}
bool KeyExists(HKEY root, const std::string& key) {
    HKEY handle = OpenKey(root, key, KEY_READ);
    if (handle) RegCloseKey(handle);
    return handle != nullptr;
}
// The value's bytes if it exists with `type`.
std::optional<std::string> ReadValue(HKEY root, const std::string& key, const std::string& name, DWORD type) {
    HKEY handle = OpenKey(root, key, KEY_READ);
    if (!handle) return std::nullopt;
    char data[1024] = {};
    DWORD got = 0, size = sizeof data - 1;
    LONG result = RegQueryValueExA(handle, name.c_str(), nullptr, &got, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS || got != type) return std::nullopt;
    return std::string(data, type == REG_SZ ? strlen(data) : size);
}
std::optional<std::string> ReadString(HKEY root, const std::string& key, const std::string& name) {
    return ReadValue(root, key, name, REG_SZ);
}
std::optional<DWORD> ReadDword(HKEY root, const std::string& key, const std::string& name) {
    auto bytes = ReadValue(root, key, name, REG_DWORD);
    if (!bytes || bytes->size() != sizeof(DWORD)) return std::nullopt;
    DWORD value;
    memcpy(&value, bytes->data(), sizeof value);
    return value;
}
bool WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
    HKEY handle = OpenKey(root, key, KEY_SET_VALUE);
    if (!handle) return false;
    LONG result = RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

// The access the installer grants on the service's files, by trustee (string SID), read from the
// security descriptor its script gives them. (Wine keeps no descriptor on a file, so the one set
// on an installed file cannot be read back here.)
std::map<std::string, DWORD> ServiceFileAccess() {
    std::ifstream script(testsupport::WindowsPath(INSTALLER_SCRIPT));
    std::string line, sddl;
    const std::string define = "!define SERVICE_FILE_SDDL \"";
    while (sddl.empty() && std::getline(script, line))
        if (line.rfind(define, 0) == 0) sddl = line.substr(define.size(), line.find('"', define.size()) - define.size());
    std::map<std::string, DWORD> allowed;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return allowed;
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACE_HEADER* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || ace->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        auto* allowedAce = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace);
        char* sid = nullptr;
        if (ConvertSidToStringSidA(&allowedAce->SidStart, &sid)) {
            allowed[sid] |= allowedAce->Mask;
            LocalFree(sid);
        }
    }
    LocalFree(descriptor);
    return allowed;
}

// --- processes and windows ---

// Every running process, from a snapshot taken now.
std::vector<PROCESSENTRY32> Processes() {
    std::vector<PROCESSENTRY32> processes;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return processes;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        processes.push_back(entry);
    CloseHandle(snapshot);
    return processes;
}
// The full path of a process's program, empty if it cannot be asked.
std::string ProcessImage(DWORD processId) {
    // Vista's QueryFullProcessImageNameA, not declared for the XP headers the build uses.
    using QueryImageFn = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
    auto queryImage = reinterpret_cast<QueryImageFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
    HANDLE process = OpenProcess(0x1000 /* PROCESS_QUERY_LIMITED_INFORMATION */, FALSE, processId);
    if (!process || !queryImage) return {};
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    BOOL ok = queryImage(process, 0, path, &size);
    CloseHandle(process);
    return ok ? std::string(path, size) : std::string();
}
// The process of the thread named in "hsid.dat", 0 if none runs.
DWORD ServiceProcessId() {
    auto bytes = testsupport::ReadFileBytes(SystemFilePath("hsid.dat"));
    if (!bytes || bytes->size() < 4) return 0;
    DWORD threadId = 0, owner = 0;
    memcpy(&threadId, bytes->data(), 4);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more && !owner; more = Thread32Next(snapshot, &entry))
        if (entry.th32ThreadID == threadId) owner = entry.th32OwnerProcessID;
    CloseHandle(snapshot);
    return owner;
}
DWORD WindowProcessId(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}
// The monitor's window (top-level, or on the program manager in the desktop placement), or null.
HWND FindMonitorWindow() {
    if (HWND window = FindWindowA("TMainForm", "Thermowl")) return window;
    HWND desktop = FindWindowA("Progman", "Program Manager");
    return desktop ? FindWindowExA(desktop, nullptr, "TMainForm", "Thermowl") : nullptr;
}
// Waits at most `boundMs` for the process to end; true if it has (or never ran).
bool WaitForProcessEnd(DWORD processId, DWORD boundMs = 30000) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return true;
    bool ended = WaitForSingleObject(process, boundMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}
void TerminateProcessesIn(const std::string& folder) {
    const std::string prefix = Lower(folder + "\\");
    for (const PROCESSENTRY32& entry : Processes()) {
        if (Lower(ProcessImage(entry.th32ProcessID)).rfind(prefix, 0) != 0) continue;
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 10000);
            CloseHandle(process);
        }
    }
}

// The message boxes `processId` shows: the texts of their static controls; with `confirm`, OK is pressed on each.
struct BoxSearch {
    DWORD processId;
    bool confirm;
    std::string texts;
};
BOOL CALLBACK CollectStaticText(HWND window, LPARAM param) {
    char className[32] = {}, text[512] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0 && GetWindowTextA(window, text, sizeof text) > 0)
        reinterpret_cast<BoxSearch*>(param)->texts += std::string(text) + "\n";
    return TRUE;
}
BOOL CALLBACK VisitBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (WindowProcessId(window) != search->processId || std::string(className) != "#32770" || !IsWindowVisible(window))
        return TRUE;
    EnumChildWindows(window, CollectStaticText, param);
    if (search->confirm) PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}
std::string MessageBoxTexts(DWORD processId, bool confirm = false) {
    BoxSearch search{processId, confirm, {}};
    EnumWindows(VisitBox, reinterpret_cast<LPARAM>(&search));
    return search.texts;
}

// --- running the installer and the uninstaller ---

DWORD RunSetup(const std::string& arguments) {
    auto code = testsupport::Process::Start(SetupPath() + " " + arguments, {false}).WaitForExit(RunBoundMs);
    if (!code) throw std::runtime_error("the installer did not end");
    return *code;
}
// Runs the uninstall entry's QuietUninstallString and waits for the uninstaller and the copy of
// itself that it hands the work to. False if there is no entry.
bool RunQuietUninstall(const std::string& extraArguments = "") {
    auto command = ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "QuietUninstallString");
    if (!command) return false;
    auto uninstaller = testsupport::Process::Start(*command + " " + extraArguments, {false});
    if (!uninstaller.WaitForExit(RunBoundMs)) throw std::runtime_error("the uninstaller did not end");
    // It copies itself out of the folder it removes and lets the copy do the work.
    for (const PROCESSENTRY32& process : Processes())
        if (process.th32ParentProcessID == uninstaller.Id() && !WaitForProcessEnd(process.th32ProcessID, RunBoundMs))
            throw std::runtime_error("the uninstaller's copy did not end");
    return true;
}
// Starts the installer with the caller's rights minus the administrators' group, as a user
// without administrator rights would run it.
HANDLE StartSetupWithoutAdministratorRights(const std::string& arguments, DWORD* processId) {
    HANDLE token = nullptr, restricted = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &token)) throw std::runtime_error("no process token");
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                             &administrators);
    SID_AND_ATTRIBUTES denyOnly{administrators, 0};
    BOOL made = CreateRestrictedToken(token, DISABLE_MAX_PRIVILEGE, 1, &denyOnly, 0, nullptr, 0, nullptr, &restricted);
    FreeSid(administrators);
    CloseHandle(token);
    if (!made) throw std::runtime_error("cannot make a token without administrator rights");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = SetupPath() + arguments;
    BOOL started = CreateProcessAsUserA(restricted, nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &info);
    CloseHandle(restricted);
    if (!started) throw std::runtime_error("cannot start " + line);
    CloseHandle(info.hThread);
    *processId = info.dwProcessId;
    return info.hProcess;
}
DWORD ExitCodeOf(HANDLE process) {
    DWORD code = 0;
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, StartBoundMs));
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
}

class InstallerTest : public testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        Tidy();
    }
    void TearDown() override {
        Tidy();
        CoUninitialize();
    }

    // No installation, nothing of it running, no settings.
    static void Tidy() {
        RunQuietUninstall("/REMOVESETTINGS");
        TerminateProcessesIn(InstallDir());
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Vantrell");
    }

    // Starts the monitor from its Start-menu shortcut; its window once it shows, or null.
    static HWND StartMonitorFromMenu() {
        ShellExecuteA(nullptr, "open", (MenuFolder() + "\\Thermowl.lnk").c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        HWND window = nullptr;
        WaitUntil([&] { return (window = FindMonitorWindow()) != nullptr && IsWindowVisible(window); }, StartBoundMs);
        return window && IsWindowVisible(window) ? window : nullptr;
    }

    const std::string dir_ = InstallDir();
};

TEST_F(InstallerTest, SilentInstallSetsUpTheMachineAndSilentUninstallLeavesOnlyTheSettings) {
    ASSERT_EQ(0u, RunSetup("/S"));

    unsigned long long bytes = 0;
    for (const char* name : InstalledFiles) {
        EXPECT_TRUE(FileExists(dir_ + "\\" + name)) << name;
        bytes += std::filesystem::file_size(dir_ + "\\" + name);
    }
    EXPECT_TRUE(FileExists(MenuFolder() + "\\Thermowl.lnk"));
    EXPECT_TRUE(FileExists(MenuFolder() + "\\Uninstall Thermowl.lnk"));
    EXPECT_TRUE(FileExists(SystemFilePath("hdinfo.dat")));

    EXPECT_EQ(dir_ + "\\", ReadString(HKEY_LOCAL_MACHINE, MachineKey, "PATH"));
    EXPECT_EQ("\"" + dir_ + "\\thermowl-service.exe\" --background",
              ReadString(HKEY_LOCAL_MACHINE, RunKey, "Thermowl Service"));
    EXPECT_EQ("Thermowl", ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName"));
    EXPECT_EQ("1.2.0", ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayVersion"));
    EXPECT_EQ("Vantrell", ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "Publisher"));
    EXPECT_EQ("\"" + dir_ + "\\uninstall.exe\"", ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString"));
    EXPECT_EQ("\"" + dir_ + "\\uninstall.exe\" /S", ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "QuietUninstallString"));
    auto sizeKb = ReadDword(HKEY_LOCAL_MACHINE, UninstallKey, "EstimatedSize");
    ASSERT_TRUE(sizeKb.has_value());
    EXPECT_NEAR(static_cast<double>(bytes / 1024), static_cast<double>(*sizeKb), 1.0);

    // The installer started the service; the monitor finds it.
    DWORD service = 0;
    EXPECT_TRUE(WaitUntil([&] { return (service = ServiceProcessId()) != 0; }, StartBoundMs));
    EXPECT_EQ(Lower(dir_ + "\\thermowl-service.exe"), Lower(ProcessImage(service)));
    HWND monitor = StartMonitorFromMenu();
    ASSERT_NE(nullptr, monitor);
    DWORD monitorProcess = WindowProcessId(monitor);
    EXPECT_EQ(Lower(dir_ + "\\thermowl.exe"), Lower(ProcessImage(monitorProcess)));
    // The monitor's own start-with-Windows value, which goes with the uninstall too.
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, RunKey, "Thermowl", dir_ + "\\thermowl.exe"));

    ASSERT_TRUE(RunQuietUninstall());
    EXPECT_TRUE(WaitForProcessEnd(monitorProcess));
    EXPECT_TRUE(WaitForProcessEnd(service));
    EXPECT_FALSE(PathExists(dir_));
    EXPECT_FALSE(PathExists(dir_.substr(0, dir_.rfind('\\'))));  // the empty company folder
    EXPECT_FALSE(PathExists(MenuFolder()));
    EXPECT_FALSE(PathExists(SystemFilePath("hsid.dat")));
    EXPECT_FALSE(PathExists(SystemFilePath("hdinfo.dat")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Vantrell"));
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, RunKey, "Thermowl"));
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, RunKey, "Thermowl Service"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
    // What the monitor saved when the uninstaller closed it stays for a later installation.
    EXPECT_TRUE(ReadDword(HKEY_CURRENT_USER, SettingsKey, "RefreshTime").has_value());
}

TEST_F(InstallerTest, InstallOverARunningCopyEndsItStartsTheNewOneAndKeepsTheSettings) {
    ASSERT_EQ(0u, RunSetup("/S"));
    HWND oldMonitor = StartMonitorFromMenu();
    ASSERT_NE(nullptr, oldMonitor);
    DWORD oldMonitorProcess = WindowProcessId(oldMonitor);
    DWORD oldService = ServiceProcessId();
    ASSERT_NE(0u, oldService);

    ASSERT_EQ(0u, RunSetup("/S"));
    EXPECT_TRUE(WaitForProcessEnd(oldMonitorProcess));
    EXPECT_TRUE(WaitForProcessEnd(oldService));
    // The old monitor was closed, not killed: it saved its settings, and the upgrade kept them.
    EXPECT_TRUE(ReadDword(HKEY_CURRENT_USER, SettingsKey, "RefreshTime").has_value());
    HWND newMonitor = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        newMonitor = FindMonitorWindow();
        return newMonitor && newMonitor != oldMonitor && IsWindowVisible(newMonitor);
    }, StartBoundMs));
    DWORD newService = ServiceProcessId();
    EXPECT_NE(0u, newService);
    EXPECT_NE(oldService, newService);
    EXPECT_EQ(dir_ + "\\", ReadString(HKEY_LOCAL_MACHINE, MachineKey, "PATH"));

    // Asked to, the uninstaller takes the settings along.
    ASSERT_TRUE(RunQuietUninstall("/REMOVESETTINGS"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Vantrell"));
    EXPECT_FALSE(PathExists(dir_));
}

TEST_F(InstallerTest, UpgradeIntoAnotherFolderEndsEveryCopyAndRemovesTheOldFolder) {
    ASSERT_EQ(0u, RunSetup("/S"));
    // A copy of the service that the id file does not name, as another user's session runs it.
    auto stray = testsupport::Process::Start(
        testsupport::QuoteArgument(dir_ + "\\thermowl-service.exe") + " --source simulated --no-hsid", {false});

    const std::string newDir = "C:\\Thermowl2";
    ASSERT_EQ(0u, RunSetup("/S /D=" + newDir));
    EXPECT_TRUE(stray.WaitForExit(StartBoundMs).has_value());
    for (const char* name : InstalledFiles) EXPECT_TRUE(FileExists(newDir + "\\" + name)) << name;
    EXPECT_FALSE(PathExists(dir_));
    EXPECT_EQ(newDir + "\\", ReadString(HKEY_LOCAL_MACHINE, MachineKey, "PATH"));
    DWORD service = 0;
    EXPECT_TRUE(WaitUntil([&] { return (service = ServiceProcessId()) != 0; }, StartBoundMs));
    EXPECT_EQ(Lower(newDir + "\\thermowl-service.exe"), Lower(ProcessImage(service)));
}

// Users may read the service's files and write their data, nothing more: no attributes, no
// delete, no permission changes, which would let one user stop or fool every user's service.
TEST(InstallerServiceFiles, UsersMayOnlyReadAndWriteTheData) {
    const std::map<std::string, DWORD> expected = {
        {"S-1-5-18", FILE_ALL_ACCESS}, {"S-1-5-32-544", FILE_ALL_ACCESS}, {"S-1-5-32-545", FILE_GENERIC_READ | FILE_WRITE_DATA}};
    EXPECT_EQ(expected, ServiceFileAccess());
}

TEST_F(InstallerTest, WithoutAdministratorRightsTheInstallerStopsWithAClearMessage) {
    DWORD setupId = 0;
    HANDLE setup = StartSetupWithoutAdministratorRights("", &setupId);
    std::string shown;
    EXPECT_TRUE(WaitUntil([&] { return !(shown = MessageBoxTexts(setupId)).empty(); }, StartBoundMs));
    EXPECT_NE(std::string::npos, shown.find("Thermowl can only be installed by an administrator.")) << shown;
    MessageBoxTexts(setupId, true);
    EXPECT_EQ(ErrorElevationRequired, ExitCodeOf(setup));
    // Silently, the same refusal as the exit code.
    EXPECT_EQ(ErrorElevationRequired, ExitCodeOf(StartSetupWithoutAdministratorRights(" /S", &setupId)));

    EXPECT_FALSE(PathExists(dir_));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, MachineKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
}

}  // namespace
