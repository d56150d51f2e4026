// The tray icon and the menu images follow the main screen's density: made again at its new
// density when the monitor or the application window hears of a change, and only then.
#include "MonitorFixture.h"
#include "forms/ImageList.h"

using namespace thermowl;

namespace {

struct TrayDpi : MonitorTest {
    UINT desktopDpi = 96;
    std::vector<int> modified;  // the icon's width in each NIM_MODIFY

    void SetUp() override {
        MonitorTest::SetUp();
        forms::platform.GetDpiForWindow = [this](HWND) { return desktopDpi; };
        forms::platform.Shell_NotifyIconA = [this](DWORD m, PNOTIFYICONDATAA d) {
            if (m == NIM_MODIFY) modified.push_back(IconWidth(d->hIcon));
            return TRUE;
        };
    }
};

}  // namespace

TEST_F(TrayDpi, TheIconAndTheMenuImagesAreMadeAgainAtTheMainScreensNewDensity) {
    Start();
    const HWND app = forms::Application->Handle(), mon = monitor->Handle();
    const struct { const char* what; HWND to; UINT msg, dpi; int size; } cases[] = {
        {"the monitor's density", mon, 0x02E0, 144, 24},
        {"a display change", app, WM_DISPLAYCHANGE, 120, 20},
        {"a settings change", mon, WM_SETTINGCHANGE, 192, 32},
        {"a settings change, same density", app, WM_SETTINGCHANGE, 192, 0},
        {"back at 100 %", app, WM_SETTINGCHANGE, 96, 16},
    };
    for (const auto& c : cases) {
        desktopDpi = c.dpi;
        modified.clear();
        RECT suggested{100, 100, 300, 400};
        SendMessageA(c.to, c.msg, MAKEWPARAM(c.dpi, c.dpi), c.msg == 0x02E0 ? reinterpret_cast<LPARAM>(&suggested) : 0);
        if (!c.size) {
            EXPECT_EQ(modified, std::vector<int>{}) << c.what;
            continue;
        }
        ASSERT_FALSE(modified.empty()) << c.what;
        EXPECT_EQ(modified.back(), c.size) << c.what;
        EXPECT_EQ(monitor->ImageList1->Width(), c.size) << c.what;
        EXPECT_EQ(monitor->ImageList1->Count(), 9) << c.what;
        EXPECT_EQ(monitor->PopupMenu1->Images(), monitor->ImageList1) << c.what;
    }
}
