// A long run leaks nothing: tray components and simple timers made and freed leave the GDI
// objects, the windows and the heap as they were.
#include "TrayTestSupport.h"
#include "forms/Form.h"
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

using namespace tray;
using namespace traytest;

// Every C++ allocation of this program is counted, so that one block left behind by a loop shows
// exactly, after a few hundred rounds (the working set only moves in whole pages).
namespace {
std::atomic<long long> liveBytes{0};
std::atomic<long> liveBlocks{0};
constexpr size_t Header = 16;  // the size in front of the block, keeping malloc's alignment
}  // namespace

void* operator new(size_t n) {
    auto* p = static_cast<char*>(std::malloc(n + Header));
    if (!p) throw std::bad_alloc();
    *reinterpret_cast<size_t*>(p) = n;
    liveBytes += static_cast<long long>(n);
    ++liveBlocks;
    return p + Header;
}
void operator delete(void* block) noexcept {
    if (!block) return;
    char* p = static_cast<char*>(block) - Header;
    liveBytes -= static_cast<long long>(*reinterpret_cast<size_t*>(p));
    --liveBlocks;
    std::free(p);
}
void operator delete(void* block, size_t) noexcept { operator delete(block); }

namespace {
struct Counts {
    long gdi;
    int windows;
    long blocks;
    long long bytes;
    bool operator==(const Counts&) const = default;
};
Counts Now() { return {forms::gdi::LiveObjects(), forms::CountProcessWindows(), liveBlocks, liveBytes}; }
std::ostream& operator<<(std::ostream& out, const Counts& c) {
    return out << c.gdi << " GDI objects, " << c.windows << " windows, " << c.blocks << " blocks of " << c.bytes
               << " bytes";
}

// Made once: what the components are given is not what is measured.
struct TrayLeakTest : testing::Test {
    static void SetUpTestSuite() {
        forms::Application->Initialize();
        form = new forms::TForm(nullptr);
        form->Handle();
        image = new forms::TIcon;
        SolidIcon(forms::clRed, *image);
        list = new forms::TImageList(nullptr);
        AddSolid(*list, forms::clGreen);
        AddSolid(*list, forms::clBlue);
    }
    static void TearDownTestSuite() {
        delete list;
        delete image;
        delete form;
    }
    // One component through a busy life: icon, hint, balloon, cycling, clicks, then freed.
    void OneTrayIcon() {
        auto* icon = new TTrayIcon(form);
        icon->SetIcon(*image);
        icon->SetHint("Disk 0 is 40\xB0" "C");
        icon->SetIconVisible(true);
        icon->ShowBalloonHint("WARNING!", "hot", biWarning, 10);
        icon->SetIconList(list);
        icon->SetCycleInterval(600000);
        icon->SetCycleIcons(true);
        icon->OnDblClick = [](forms::TObject*) {};
        icon->SetWantEnterExitEvents(true);
        Callback(*icon, WM_LBUTTONDOWN);
        Callback(*icon, WM_MOUSEMOVE);
        Tick(icon->AnimationTimer());
        delete icon;
        shell.calls.clear();  // the record is the test's, not the component's
    }
    void OneTimer() {
        TSimpleTimer timer(60000, [](forms::TObject*) {});
        timer.SetEnabled(true);
    }
    // `rounds` of both after as many to let caches and containers settle.
    Counts Run(int rounds) {
        for (int pass = 0; pass < 2; ++pass) {
            if (pass == 1) before = Now();
            for (int i = 0; i < rounds; ++i) {
                OneTrayIcon();
                OneTimer();
            }
        }
        return Now();
    }

    inline static forms::TForm* form = nullptr;
    inline static forms::TIcon* image = nullptr;
    inline static forms::TImageList* list = nullptr;
    FakeShell shell;
    Counts before{};
};
}  // namespace

// With a component and a timer kept alive the shared windows stay, so the loop measures each
// one's own resources.
TEST_F(TrayLeakTest, TrayComponentsAndSimpleTimersLeaveNothingBehind) {
    TTrayIcon keeper(nullptr);
    TSimpleTimer keeperTimer;
    EXPECT_EQ(Run(300), before);
}

// Alone, each one makes and destroys the shared windows: none is left behind.
TEST_F(TrayLeakTest, TheSharedWindowsComeAndGoWithoutLeftovers) {
    EXPECT_EQ(Run(30), before);
    EXPECT_EQ(TTrayIcon::HandlerWindow(), nullptr);
    EXPECT_EQ(TSimpleTimerHandler::Instance(), nullptr);
}

TEST_F(TrayLeakTest, TheChecksSeeALeak) {
    // The counts above can fail: a component that is never freed shows in each.
    Counts start = Now();
    auto* leaked = new TTrayIcon(nullptr);
    leaked->SetIcon(*image);
    Counts now = Now();
    EXPECT_EQ(now.gdi, start.gdi + 1);
    EXPECT_EQ(now.windows, start.windows + 2);  // the icon's window and the timers' window
    EXPECT_GT(now.blocks, start.blocks);
    delete leaked;
}
