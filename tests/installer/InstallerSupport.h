// What the installer test looks at: the installer and uninstaller runs, the machine's 64-bit
// registry, the installed programs' processes and windows.
#pragma once
#include <windows.h>
#include <optional>
#include <string>
#include <vector>

namespace installertest {

// The installer made for this run (its path in THERMOWL_SETUP).
std::string SetupPath();
// "C:\Program Files\Vantrell\Thermowl" and the Start-menu folder of all users.
std::string InstallDir();
std::string MenuFolder();

// Runs the installer with `arguments` and waits for it; its exit code.
DWORD RunSetup(const std::string& arguments);
// Runs the uninstall entry's QuietUninstallString (plus `extraArguments`) and waits for the
// uninstaller and the copy of itself that it hands the work to. False if there is no entry.
bool RunQuietUninstall(const std::string& extraArguments = "");

// The 64-bit view of HKEY_LOCAL_MACHINE, and HKEY_CURRENT_USER.
constexpr const char* MachineKey = "Software\\Vantrell\\Thermowl";
constexpr const char* RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Thermowl";
constexpr const char* SettingsKey = "Software\\Vantrell\\Thermowl\\Conf";
bool KeyExists(HKEY root, const std::string& key);
std::optional<std::string> ReadString(HKEY root, const std::string& key, const std::string& name);
std::optional<DWORD> ReadDword(HKEY root, const std::string& key, const std::string& name);
bool WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& value);
void DeleteTree(HKEY root, const std::string& key);

// The full path of a process's program, empty if it cannot be asked.
std::string ProcessImage(DWORD processId);
// The process of the thread named in "hsid.dat", 0 if none runs.
DWORD ServiceProcessId();
// The monitor's window (top-level, or on the program manager in the desktop placement), or null.
HWND FindMonitorWindow();
DWORD WindowProcessId(HWND window);
// Waits at most `boundMs` for the process to end; true if it has (or never ran).
bool WaitForProcessEnd(DWORD processId, DWORD boundMs = 30000);
// Terminates every running process whose program lies in `folder`.
void TerminateProcessesIn(const std::string& folder);

// Starts `commandLine` with the caller's rights minus the administrators' group, as a user
// without administrator rights would run it.
HANDLE StartWithoutAdministratorRights(const std::string& commandLine, DWORD* processId);
// The texts of the static controls of the message boxes that `processId` shows.
std::vector<std::string> MessageBoxTexts(DWORD processId);
// Presses OK on every message box of `processId`.
void ConfirmMessageBoxes(DWORD processId);

}  // namespace installertest
