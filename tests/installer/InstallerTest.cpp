// The installer as users run it: silently, over a running copy, and without administrator
// rights; and the uninstaller after it. run-installer-test builds the installer from this
// build's programs and runs these tests in a Wine prefix of their own.
#include "InstallerSupport.h"
#include "Process.h"
#include <gtest/gtest.h>
#include <objbase.h>
#include <shellapi.h>
#include <algorithm>

using namespace installertest;
using testsupport::FileExists;
using testsupport::SystemFilePath;
using testsupport::WaitUntil;

namespace {

constexpr DWORD ErrorElevationRequired = 740;
constexpr DWORD StartBoundMs = 60000;

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return text;
}

unsigned long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

const char* const InstalledFiles[] = {"thermowl.exe", "thermowl-service.exe", "clear.scf", "uninstall.exe"};

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
        DeleteTree(HKEY_CURRENT_USER, "Software\\Vantrell");
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
        bytes += FileSize(dir_ + "\\" + name);
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

TEST_F(InstallerTest, WithoutAdministratorRightsTheInstallerStopsWithAClearMessage) {
    DWORD setupId = 0;
    HANDLE setup = StartWithoutAdministratorRights(testsupport::QuoteArgument(SetupPath()), &setupId);
    std::vector<std::string> texts;
    EXPECT_TRUE(WaitUntil([&] { return !(texts = MessageBoxTexts(setupId)).empty(); }, StartBoundMs));
    std::string shown;
    for (const std::string& text : texts) shown += text + "\n";
    EXPECT_NE(std::string::npos, shown.find("Thermowl can only be installed by an administrator.")) << shown;
    ConfirmMessageBoxes(setupId);
    DWORD code = 0;
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(setup, StartBoundMs));
    GetExitCodeProcess(setup, &code);
    CloseHandle(setup);
    EXPECT_EQ(ErrorElevationRequired, code);

    // Silently, the same refusal as the exit code.
    HANDLE silent = StartWithoutAdministratorRights(testsupport::QuoteArgument(SetupPath()) + " /S", &setupId);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(silent, StartBoundMs));
    GetExitCodeProcess(silent, &code);
    CloseHandle(silent);
    EXPECT_EQ(ErrorElevationRequired, code);

    EXPECT_FALSE(PathExists(dir_));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, MachineKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
}

}  // namespace
