// The record handed to the shell: its fixed fields, adding, removing and refreshing the icon,
// the tooltip, the owned icon, and the shared callback window.
#include "TrayTestSupport.h"
#include "tray/TrayIconHandler.h"
#include <algorithm>
#include <memory>

using namespace tray;
using namespace traytest;

namespace {
struct TrayIconTest : testing::Test {
    void SetUp() override { forms::Application->Initialize(); }
    FakeShell shell;
};
}  // namespace

TEST_F(TrayIconTest, AddRemoveAndRefreshReportTheShellsAnswer) {
    TTrayIcon icon(nullptr);
    EXPECT_TRUE(shell.calls.empty());  // nothing reaches the shell before it is asked to
    forms::TIcon image;
    SolidIcon(forms::clRed, image);
    icon.SetIcon(image);
    EXPECT_FALSE(icon.RefreshIcon());  // not in the tray yet: the shell refuses
    icon.SetHint("Disk 0 is 41\xB0" "C");

    icon.SetIconVisible(true);
    EXPECT_TRUE(icon.IconVisible());
    const ShellCall& add = shell.last();
    EXPECT_EQ(add.message, DWORD(NIM_ADD));
    // The balloon-era record: 488 bytes in a 32-bit build, the same fields laid out for 64 bits.
    EXPECT_EQ(add.data.cbSize, sizeof(void*) == 4 ? 488u : 504u);
    EXPECT_EQ(add.data.hWnd, TTrayIcon::HandlerWindow());
    EXPECT_EQ(add.data.uID, icon.IconId());
    EXPECT_EQ(add.data.uFlags, 7u);
    EXPECT_EQ(add.data.uCallbackMessage, 0x800u);
    EXPECT_EQ(add.data.hIcon, icon.Icon().Handle());
    EXPECT_EQ(add.tip(), "Disk 0 is 41\xB0" "C");

    EXPECT_FALSE(icon.AddIcon());  // already there
    EXPECT_TRUE(icon.IconVisible());
    EXPECT_TRUE(icon.RefreshIcon());
    EXPECT_EQ(shell.last().message, DWORD(NIM_MODIFY));

    EXPECT_TRUE(icon.RemoveIcon());
    EXPECT_FALSE(icon.IconVisible());
    EXPECT_EQ(shell.last().message, DWORD(NIM_DELETE));
    EXPECT_EQ(shell.last().data.uID, icon.IconId());
    EXPECT_FALSE(icon.RemoveIcon());
}

TEST_F(TrayIconTest, TheTooltipIsCutTo127CharactersAndLeftEmptyWithoutShowHint) {
    TTrayIcon icon(nullptr);
    icon.SetIconVisible(true);
    std::string hint;
    for (int i = 0; i < 200; ++i) hint += char('A' + i % 26);
    icon.SetHint(hint);
    EXPECT_EQ(shell.last().message, DWORD(NIM_MODIFY));
    EXPECT_EQ(shell.last().tip(), hint.substr(0, 127));
    EXPECT_EQ(shell.last().data.szTip[127], '\0');

    icon.SetShowHint(false);
    const char* tip = shell.last().data.szTip;
    EXPECT_EQ(std::count(tip, tip + 128, '\0'), 128);
    EXPECT_EQ(icon.Hint(), hint);  // kept, only not given to the shell

    icon.SetShowHint(true);
    icon.SetHint("");
    tip = shell.last().data.szTip;
    EXPECT_EQ(std::count(tip, tip + 128, '\0'), 128);
}

TEST_F(TrayIconTest, SettingTheIconCopiesItAndRefreshesOnce) {
    TTrayIcon icon(nullptr);
    icon.SetIconVisible(true);
    forms::TIcon image;
    SolidIcon(forms::clBlue, image);
    long live = forms::gdi::LiveObjects();
    size_t before = shell.calls.size();
    icon.SetIcon(image);
    EXPECT_EQ(shell.calls.size(), before + 1);
    EXPECT_NE(icon.Icon().Handle(), image.Handle());
    EXPECT_EQ(shell.last().data.hIcon, icon.Icon().Handle());
    EXPECT_EQ(IconColour(shell.last().data.hIcon), forms::clBlue);
    EXPECT_EQ(forms::gdi::LiveObjects(), live + 1);

    // A change made to the owned icon itself refreshes the tray too.
    forms::TIcon red;
    SolidIcon(forms::clRed, red);
    icon.Icon().Assign(red);
    EXPECT_EQ(shell.last().message, DWORD(NIM_MODIFY));
    EXPECT_EQ(IconColour(shell.last().data.hIcon), forms::clRed);
}

TEST_F(TrayIconTest, IconsShareOneCallbackWindowThatGoesWithTheLast) {
    ASSERT_EQ(TTrayIcon::HandlerWindow(), nullptr);
    int windows = forms::CountProcessWindows();
    auto a = std::make_unique<TTrayIcon>(nullptr);
    auto b = std::make_unique<TTrayIcon>(nullptr);
    a->SetIconVisible(true);
    const UINT aId = a->IconId();
    HWND w = TTrayIcon::HandlerWindow();
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    EXPECT_STREQ(cls, "TTrayIconHandler");
    EXPECT_EQ(b->NotifyData().hWnd, w);
    EXPECT_NE(a->IconId(), b->IconId());
    // The shell's close requests do not take the window away from its icons.
    EXPECT_EQ(SendMessageA(w, WM_CLOSE, 0, 0), 1);
    EXPECT_TRUE(IsWindow(w));
    a.reset();  // takes its icon out of the tray
    EXPECT_EQ(shell.last().message, DWORD(NIM_DELETE));
    EXPECT_EQ(shell.last().data.uID, aId);
    EXPECT_TRUE(shell.shown.empty());
    EXPECT_TRUE(IsWindow(w));
    b.reset();
    EXPECT_EQ(TTrayIcon::HandlerWindow(), nullptr);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(forms::CountProcessWindows(), windows);
}

TEST_F(TrayIconTest, LoadedAppliesTheStoredValuesAgain) {
    TTrayIcon icon(nullptr);
    icon.BeginLoading();
    icon.SetIconVisible(true);
    icon.SetNotifyStyle(nsVersion3);
    shell.calls.clear();
    icon.Loaded();
    EXPECT_FALSE(icon.Loading());
    // A refresh, the second add (refused), and the version.
    ASSERT_EQ(shell.messages(), (std::vector<DWORD>{NIM_MODIFY, NIM_ADD, NIM_SETVERSION}));
    EXPECT_EQ(shell.last().data.uVersion, 3u);
    EXPECT_TRUE(icon.IconVisible());
}

TEST_F(TrayIconTest, TaskbarCreatedIsRegisteredForComctl32From471) {
    DWORD version = FileVersionMS("comctl32.dll");
    ASSERT_NE(version, 0u);  // the system's comctl32.dll has a version resource
    if (version >= MAKELONG(71, 4))
        EXPECT_EQ(TTrayIcon::TaskbarCreatedMessage(), RegisterWindowMessageA("TaskbarCreated"));
    else
        EXPECT_EQ(TTrayIcon::TaskbarCreatedMessage(), 0u);
}

TEST_F(TrayIconTest, InADesignerOnlyThePreviewReachesTheShell) {
    forms::TComponent designed(nullptr);
    designed.SetDesigning(true);
    TTrayIcon icon(&designed);
    shell.calls.clear();  // creation applies the (unset) preview
    icon.SetIconVisible(true);
    icon.SetHint("tip");
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_TRUE(icon.IconVisible());

    icon.SetDesignPreview(true);  // shows the stock icon without touching IconVisible
    EXPECT_FALSE(icon.Icon().Empty());
    ASSERT_FALSE(shell.calls.empty());
    EXPECT_EQ(shell.last().message, DWORD(NIM_ADD));
    EXPECT_EQ(shell.last().data.hIcon, icon.Icon().Handle());
    icon.SetIconVisible(false);
    EXPECT_FALSE(icon.IconVisible());
    EXPECT_EQ(shell.last().message, DWORD(NIM_ADD));  // stored only
    icon.SetDesignPreview(false);
    EXPECT_EQ(shell.last().message, DWORD(NIM_DELETE));
}
