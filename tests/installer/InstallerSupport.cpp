#include "InstallerSupport.h"
#include "Process.h"
#include <shlobj.h>
#include <tlhelp32.h>
#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace installertest {
namespace {

constexpr DWORD kRunBoundMs = 180000;  // a hung installer, not a slow one

std::string FolderPath(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        throw std::runtime_error("no folder for CSIDL " + std::to_string(csidl));
    return path;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return text;
}

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

DWORD ThreadOwner(DWORD threadId) {
    DWORD owner = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more && !owner; more = Thread32Next(snapshot, &entry))
        if (entry.th32ThreadID == threadId) owner = entry.th32OwnerProcessID;
    CloseHandle(snapshot);
    return owner;
}

HKEY OpenKey(HKEY root, const std::string& key, REGSAM access) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, access | KEY_WOW64_64KEY, &handle) != ERROR_SUCCESS) return nullptr;
    return handle;
}

struct BoxSearch {
    DWORD processId;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (WindowProcessId(window) == search->processId && std::string(className) == "#32770" && IsWindowVisible(window))
        search->boxes.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectStaticTexts(HWND window, LPARAM param) {
    char className[32] = {}, text[512] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0 && GetWindowTextA(window, text, sizeof text) > 0)
        reinterpret_cast<std::vector<std::string>*>(param)->push_back(text);
    return TRUE;
}

std::vector<HWND> MessageBoxes(DWORD processId) {
    BoxSearch search{processId, {}};
    EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));
    return search.boxes;
}

}  // namespace

std::string SetupPath() {
    const char* path = std::getenv("THERMOWL_SETUP");
    if (!path || !*path) throw std::runtime_error("THERMOWL_SETUP names no installer");
    return testsupport::WindowsPath(path);
}

std::string InstallDir() { return FolderPath(CSIDL_PROGRAM_FILES) + "\\Vantrell\\Thermowl"; }
std::string MenuFolder() { return FolderPath(CSIDL_COMMON_PROGRAMS) + "\\Thermowl"; }

DWORD RunSetup(const std::string& arguments) {
    auto setup = testsupport::Process::Start(testsupport::QuoteArgument(SetupPath()) + " " + arguments, {false});
    auto code = setup.WaitForExit(kRunBoundMs);
    if (!code) throw std::runtime_error("the installer did not end");
    return *code;
}

bool RunQuietUninstall(const std::string& extraArguments) {
    auto command = ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "QuietUninstallString");
    if (!command) return false;
    auto uninstaller = testsupport::Process::Start(*command + " " + extraArguments, {false});
    if (!uninstaller.WaitForExit(kRunBoundMs)) throw std::runtime_error("the uninstaller did not end");
    // It copies itself out of the folder it removes and lets the copy do the work.
    for (const PROCESSENTRY32& process : Processes())
        if (process.th32ParentProcessID == uninstaller.Id() && !WaitForProcessEnd(process.th32ProcessID, kRunBoundMs))
            throw std::runtime_error("the uninstaller's copy did not end");
    return true;
}

bool KeyExists(HKEY root, const std::string& key) {
    HKEY handle = OpenKey(root, key, KEY_READ);
    if (handle) RegCloseKey(handle);
    return handle != nullptr;
}

std::optional<std::string> ReadString(HKEY root, const std::string& key, const std::string& name) {
    HKEY handle = OpenKey(root, key, KEY_READ);
    if (!handle) return std::nullopt;
    char data[1024] = {};
    DWORD type = 0, size = sizeof data - 1;
    LONG result = RegQueryValueExA(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    return std::string(data);
}

std::optional<DWORD> ReadDword(HKEY root, const std::string& key, const std::string& name) {
    HKEY handle = OpenKey(root, key, KEY_READ);
    if (!handle) return std::nullopt;
    DWORD value = 0, type = 0, size = sizeof value;
    LONG result = RegQueryValueExA(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
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

void DeleteTree(HKEY root, const std::string& key) {
    // RegDeleteTreeA is not declared for XP: take it from advapi32 when it is there.
    using DeleteTreeFn = LONG(WINAPI*)(HKEY, LPCSTR);
    auto deleteTree = reinterpret_cast<DeleteTreeFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegDeleteTreeA")));
    if (deleteTree) deleteTree(root, key.c_str());
}

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

DWORD ServiceProcessId() {
    auto bytes = testsupport::ReadFileBytes(testsupport::SystemFilePath("hsid.dat"));
    if (!bytes || bytes->size() < 4) return 0;
    DWORD threadId = (*bytes)[0] | (*bytes)[1] << 8 | (*bytes)[2] << 16 | static_cast<DWORD>((*bytes)[3]) << 24;
    return ThreadOwner(threadId);
}

HWND FindMonitorWindow() {
    if (HWND window = FindWindowA("TMainForm", "Thermowl")) return window;
    HWND desktop = FindWindowA("Progman", "Program Manager");
    return desktop ? FindWindowExA(desktop, nullptr, "TMainForm", "Thermowl") : nullptr;
}

DWORD WindowProcessId(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

bool WaitForProcessEnd(DWORD processId, DWORD boundMs) {
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

HANDLE StartWithoutAdministratorRights(const std::string& commandLine, DWORD* processId) {
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
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    BOOL started =
        CreateProcessAsUserA(restricted, nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info);
    CloseHandle(restricted);
    if (!started) throw std::runtime_error("cannot start " + commandLine);
    CloseHandle(info.hThread);
    *processId = info.dwProcessId;
    return info.hProcess;
}

std::vector<std::string> MessageBoxTexts(DWORD processId) {
    std::vector<std::string> texts;
    for (HWND box : MessageBoxes(processId)) EnumChildWindows(box, CollectStaticTexts, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void ConfirmMessageBoxes(DWORD processId) {
    for (HWND box : MessageBoxes(processId)) PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace installertest
