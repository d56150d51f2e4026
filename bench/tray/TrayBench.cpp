// Makes and frees 10,000 lone tray components and 100,000 lone simple timers (each one making
// and destroying the shared hidden windows) and prints time and working-set growth against a
// baseline measured in the same run: the same number of bare hidden windows made and
// destroyed. GDI objects and process windows must come back to where they were.
// Usage: tray_bench [scale]   (scale divides the counts, e.g. 10 for a quick run)
#include "../BenchClock.h"
#include "tray/TrayIcon.h"
#include "forms/ProcessStats.h"
#include "forms/Application.h"
#include "forms/ImageList.h"
#include "forms/Platform.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {
struct Run {
    double seconds;
    long long wsGrowth;
    long gdiDelta;
    int windowDelta;
};

Run Measure(int count, const std::function<void()>& once) {
    for (int i = 0; i < count / 20; ++i) once();  // warm-up
    long gdi = forms::gdi::LiveObjects();
    int windows = forms::CountProcessWindows();
    SIZE_T ws = forms::WorkingSetBytes();
    double t0 = Now();
    for (int i = 0; i < count; ++i) once();
    double seconds = Now() - t0;
    return {seconds, (long long)forms::WorkingSetBytes() - (long long)ws,
            forms::gdi::LiveObjects() - gdi, forms::CountProcessWindows() - windows};
}

LRESULT CALLBACK BareProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

void BareWindow() {
    HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "TrayBenchBare", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    DestroyWindow(w);
}

void Report(const char* what, int count, const Run& base, const Run& run) {
    std::printf("%-28s %7d  time %.2f s (baseline %.2f s, ratio %.2f)  working set %+lld KB (baseline %+lld KB)"
                "  GDI %+ld  windows %+d\n",
                what, count, run.seconds, base.seconds, base.seconds > 0 ? run.seconds / base.seconds : 0.0,
                run.wsGrowth / 1024, base.wsGrowth / 1024, run.gdiDelta, run.windowDelta);
}
}  // namespace

int main(int argc, char** argv) {
    int scale = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    forms::Application->Initialize();
    forms::platform.Shell_NotifyIconA = [](DWORD, PNOTIFYICONDATAA) -> BOOL { return TRUE; };
    WNDCLASSA wc{};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TrayBenchBare";
    RegisterClassA(&wc);

    forms::TImageList list(nullptr);
    forms::TBitmap bmp(16, 16);
    list.Add(bmp);
    list.Add(bmp);
    forms::TIcon image;
    list.GetIcon(0, image);
    forms::TForm form(nullptr);
    form.Handle();

    int icons = 10000 / scale, timers = 100000 / scale;
    // A lone tray component makes two shared windows (callbacks, timers) and frees them.
    Run iconBase = Measure(icons, [] { BareWindow(); BareWindow(); });
    Run iconRun = Measure(icons, [&] {
        auto* icon = new tray::TTrayIcon(&form);
        icon->SetIcon(image);
        icon->SetHint("Disk 0 is 40\xB0" "C");
        icon->SetIconVisible(true);
        icon->ShowBalloonHint("WARNING!", "hot", tray::biWarning, 10);
        icon->SetIconList(&list);
        icon->SetCycleInterval(600000);
        icon->SetCycleIcons(true);
        delete icon;
    });
    Report("tray components", icons, iconBase, iconRun);

    Run timerBase = Measure(timers, [] { BareWindow(); });
    Run timerRun = Measure(timers, [] {
        tray::TSimpleTimer timer(60000, [](forms::TObject*) {});
        timer.SetEnabled(true);
    });
    Report("simple timers", timers, timerBase, timerRun);
    forms::Application->Finalize();
    return iconRun.gdiDelta || iconRun.windowDelta || timerRun.gdiDelta || timerRun.windowDelta ? 1 : 0;
}
