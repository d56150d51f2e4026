// Balloon hints (the fields and flags sent, cutting, hiding, the four events) and cycling the
// icon through an image list.
#include "TrayTestSupport.h"
#include <memory>

using namespace tray;
using namespace traytest;

namespace {
struct TrayBalloonTest : testing::Test {
    void SetUp() override {
        forms::Application->Initialize();
        icon = std::make_unique<TTrayIcon>(nullptr);
    }
    FakeShell shell;
    std::unique_ptr<TTrayIcon> icon;
};

std::string Repeat(const std::string& s, size_t n) {
    std::string r;
    while (r.size() < n) r += s;
    return r.substr(0, n);
}
}  // namespace

TEST_F(TrayBalloonTest, ShowBalloonHintHidesTheOldOneThenSendsTheNewCut) {
    icon->SetIconVisible(true);
    shell.calls.clear();
    std::string text = "Disk 0\r\ntemperature is 52 \xB0" "C !";
    EXPECT_TRUE(icon->ShowBalloonHint("WARNING!", text, biWarning, 10));
    ASSERT_EQ(shell.messages(), (std::vector<DWORD>{NIM_MODIFY, NIM_MODIFY}));
    const ShellCall& hide = shell.calls[0];
    EXPECT_EQ(hide.data.uFlags, 7u | NIF_INFO);
    EXPECT_EQ(hide.info(), "");
    const ShellCall& show = shell.calls[1];
    EXPECT_EQ(show.data.cbSize, NotifyDataSize);
    EXPECT_EQ(show.data.uID, icon->IconId());
    EXPECT_EQ(show.data.uFlags, 7u | NIF_INFO);
    EXPECT_EQ(show.data.uCallbackMessage, 0x800u);
    EXPECT_EQ(show.info(), text);
    EXPECT_EQ(show.title(), "WARNING!");
    EXPECT_EQ(show.data.uTimeout, 10000u);
    EXPECT_EQ(show.data.dwInfoFlags, DWORD(NIIF_WARNING));
    EXPECT_EQ(icon->NotifyData().uFlags, 7u);  // back to the plain flags

    // Title and text are cut to the record's fields.
    const std::string title = Repeat("Title-", 80), longText = Repeat("Text of the balloon. ", 300);
    EXPECT_TRUE(icon->ShowBalloonHint(title, longText, biInfo, 255));
    EXPECT_EQ(shell.last().title(), title.substr(0, 63));
    EXPECT_EQ(shell.last().info(), longText.substr(0, 255));
    EXPECT_EQ(shell.last().data.dwInfoFlags, DWORD(NIIF_INFO));
    EXPECT_EQ(shell.last().data.uTimeout, 255000u);  // passed on unchanged
    icon->ShowBalloonHint("t", "x", biError, 0);
    EXPECT_EQ(shell.last().data.dwInfoFlags, DWORD(NIIF_ERROR));
    EXPECT_EQ(shell.last().data.uTimeout, 0u);
    icon->ShowBalloonHint("t", "x", biNone, 1);
    EXPECT_EQ(shell.last().data.dwInfoFlags, DWORD(NIIF_NONE));
}

TEST_F(TrayBalloonTest, AHiddenIconShowsNoBalloonNowOrLater) {
    EXPECT_FALSE(icon->ShowBalloonHint("ALARM!", "hot", biWarning, 10));
    icon->SetIconVisible(true);
    EXPECT_EQ(shell.last().message, DWORD(NIM_ADD));
    EXPECT_EQ(shell.last().data.uFlags, 7u);  // no NIF_INFO: the old text is not shown
}

TEST_F(TrayBalloonTest, AfterHideBalloonHintEveryRefreshClearsTheBalloon) {
    icon->SetIconVisible(true);
    icon->ShowBalloonHint("WARNING!", "hot", biWarning, 10);
    EXPECT_TRUE(icon->HideBalloonHint());
    EXPECT_EQ(shell.last().data.uFlags, 7u | NIF_INFO);
    EXPECT_EQ(shell.last().info(), "");
    icon->SetHint("Disk 0 is 40\xB0" "C");
    EXPECT_EQ(shell.last().data.uFlags, 7u | NIF_INFO);
    EXPECT_EQ(shell.last().info(), "");
    EXPECT_EQ(shell.last().tip(), "Disk 0 is 40\xB0" "C");
    // Until the next balloon puts the plain flags back.
    icon->ShowBalloonHint("Thermowl", "again", biInfo, 10);
    icon->SetHint("Disk 0 is 41\xB0" "C");
    EXPECT_EQ(shell.last().data.uFlags, 7u);
}

TEST_F(TrayBalloonTest, TheShellsBalloonReportsBecomeEventsWhateverEnabledSays) {
    std::vector<std::string> events;
    auto log = [&](const char* what) {
        return [&events, what, this](forms::TObject* s) { events.push_back(s == icon.get() ? what : "?"); };
    };
    icon->OnBalloonHintShow = log("show");
    icon->OnBalloonHintHide = log("hide");
    icon->OnBalloonHintTimeout = log("timeout");
    icon->OnBalloonHintClick = log("click");
    icon->Enabled = false;
    for (LPARAM n : {NIN_BALLOONSHOW, NIN_BALLOONHIDE, NIN_BALLOONTIMEOUT, NIN_BALLOONUSERCLICK})
        Callback(*icon, n);
    EXPECT_EQ(events, (std::vector<std::string>{"show", "hide", "timeout", "click"}));
    icon->OnBalloonHintShow = nullptr;  // unassigned: nothing
    Callback(*icon, NIN_BALLOONSHOW);
    EXPECT_EQ(events.size(), 4u);
}

// --- Cycling ---------------------------------------------------------------------------

namespace {
struct TrayCycleTest : TrayBalloonTest {
    void SetUp() override {
        TrayBalloonTest::SetUp();
        list = std::make_unique<forms::TImageList>(nullptr);
        AddSolid(*list, forms::clRed);
        AddSolid(*list, forms::clGreen);
        AddSolid(*list, forms::clBlue);
    }
    void TearDown() override { icon.reset(); }
    forms::TColor Shown() const { return IconColour(shell.last().data.hIcon); }
    std::unique_ptr<forms::TImageList> list;
};
}  // namespace

TEST_F(TrayCycleTest, TicksShowTheNextImageAndReportIt) {
    icon->SetIconVisible(true);
    std::vector<int> reported;
    icon->OnCycle = [&](forms::TObject*, int next) { reported.push_back(next); };
    icon->SetIconList(list.get());
    EXPECT_EQ(Shown(), forms::clRed);
    icon->SetCycleInterval(600000);  // no real tick during the test
    icon->SetCycleIcons(true);
    EXPECT_TRUE(icon->AnimationTimer().Enabled());
    EXPECT_EQ(icon->AnimationTimer().Interval(), 600000u);

    std::vector<int> indexes;
    std::vector<forms::TColor> shown;
    for (int i = 0; i < 4; ++i) {
        Tick(icon->AnimationTimer());
        indexes.push_back(icon->IconIndex());
        shown.push_back(Shown());
    }
    EXPECT_EQ(indexes, (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(reported, (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(shown, (std::vector<forms::TColor>{forms::clGreen, forms::clBlue, forms::clRed, forms::clGreen}));
    EXPECT_EQ(IconColour(icon->Icon().Handle()), forms::clGreen);

    // A new period starts again at the first image; switching off stops the timer.
    icon->SetCycleInterval(500000);
    EXPECT_EQ(icon->IconIndex(), 0);
    EXPECT_EQ(icon->AnimationTimer().Interval(), 500000u);
    icon->SetCycleIcons(false);
    EXPECT_FALSE(icon->AnimationTimer().Enabled());
}

TEST_F(TrayCycleTest, IconIndexIsKeptInsideTheList) {
    icon->SetIconList(list.get());
    icon->SetIconIndex(7);
    EXPECT_EQ(icon->IconIndex(), 2);
    EXPECT_EQ(IconColour(icon->Icon().Handle()), forms::clBlue);
    icon->SetIconIndex(1);
    EXPECT_EQ(icon->IconIndex(), 1);
    icon->SetIconIndex(-3);  // read as the first image
    EXPECT_EQ(icon->IconIndex(), 0);
    // Freeing the list clears it; without one the index stays 0.
    icon->SetIconIndex(2);
    list.reset();
    EXPECT_EQ(icon->IconList(), nullptr);
    EXPECT_EQ(icon->IconIndex(), 0);
    icon->SetIconIndex(2);
    EXPECT_EQ(icon->IconIndex(), 0);
}

TEST_F(TrayCycleTest, WithoutAnIntervalOrAListNothingCycles) {
    icon->SetIconList(list.get());
    icon->SetCycleIcons(true);  // CycleInterval 0: the timer refuses to start
    EXPECT_TRUE(icon->CycleIcons());
    EXPECT_FALSE(icon->AnimationTimer().Enabled());

    icon->SetIconList(nullptr);
    icon->SetCycleInterval(600000);
    int cycles = 0;
    icon->OnCycle = [&](forms::TObject*, int) { ++cycles; };
    Tick(icon->AnimationTimer());
    EXPECT_EQ(cycles, 0);
}
