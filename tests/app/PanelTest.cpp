// The monitor panel in-process, against a service on a thread: rows and layout, texts, the
// history and the chart it feeds, the axis range, the tray hint, and replies that do not fit.
#include "AppFixture.h"
#include "FakeService.h"
#include "Process.h"
#include "app/MainForm.h"
#include "app/ServiceLink.h"
#include "app/Settings.h"
#include "chart/Chart.h"
#include "forms/Application.h"
#include "forms/Platform.h"
#include "label/OutlinedLabel.h"
#include <cstring>
#include <memory>

using namespace thermowl;
using namespace testsupport;

namespace {

struct Panel : AppFixture {
    forms::PlatformOverride restore;
    std::unique_ptr<FakeService> owned;
    FakeService* service = nullptr;
    std::unique_ptr<TMainForm> monitor;

    void SetUp() override {
        AppFixture::SetUp();
        owned = std::make_unique<FakeService>();  // after the clean-up, which removes its file
        service = owned.get();
        forms::Application->Initialize();
        forms::platform.MessageBoxA = [](HWND, LPCSTR, LPCSTR, UINT) { return IDOK; };
        forms::platform.ShellExecuteA = [](HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
            return reinterpret_cast<HINSTANCE>(42);
        };
        forms::platform.Shell_NotifyIconA = [](DWORD, PNOTIFYICONDATAA) { return TRUE; };
        Settings = TSettings{};
        ServiceThreadId = 0;
        DriveCount = 0;
        memset(DriveTable, 0, sizeof(DriveTable));
        memset(History, 0, sizeof(History));
        ReplyReceived = PanelReady = false;
        SystemDir = ReadSystemDir();
    }
    void TearDown() override {
        monitor.reset();
        owned.reset();
        AppFixture::TearDown();
    }
    void Start(std::map<std::string, int32_t> settings = {}) {
        StoreSettings(settings);
        monitor = std::make_unique<TMainForm>(nullptr);
        ASSERT_TRUE(PanelReady);
    }
    // One poll, answered and shown.
    void Poll() {
        ReplyReceived = false;
        monitor->Timer1Timer(nullptr);
        // Set while the reply is handled, which is one message: once seen, it has been shown.
        ASSERT_TRUE(WaitUntil([] { return ReplyReceived; }));
    }
    chart::TChartAxis& Axis() { return monitor->Chart1->LeftAxis(); }
};

struct Place {
    bool visible;
    int left, top;
};
void ExpectPlace(forms::TControl* c, Place p, const std::string& what) {
    ASSERT_NE(c, nullptr) << what;
    EXPECT_EQ(c->Visible(), p.visible) << what;
    if (!p.visible || !c->Visible()) return;
    EXPECT_EQ(c->Left(), p.left) << what;
    EXPECT_EQ(c->Top(), p.top) << what;
}

}  // namespace

// --- building ---------------------------------------------------------------------------------

TEST_F(Panel, EveryCombinationOfNamesIconsAndChartLaysOutItsRows) {
    const Place hidden{false, 0, 0};
    struct Case {
        bool names, icons, chart;
        Place name[2], temp[2], icon[2], chart1;
    } cases[] = {
        // Name line, icon below it, temperature beside the icon; the chart 16 below the rows.
        {true, true, true, {{true, 0, 0}, {true, 0, 48}}, {{true, 40, 22}, {true, 40, 70}},
         {{true, 0, 16}, {true, 0, 64}}, {true, 0, 112}},
        {true, true, false, {{true, 0, 0}, {true, 0, 48}}, {{true, 40, 22}, {true, 40, 70}},
         {{true, 0, 16}, {true, 0, 64}}, hidden},
        // Names alone carry the temperature: its own label stays hidden.
        {true, false, true, {{true, 0, 0}, {true, 0, 16}}, {hidden, hidden}, {hidden, hidden}, {true, 0, 48}},
        {true, false, false, {{true, 0, 0}, {true, 0, 16}}, {hidden, hidden}, {hidden, hidden}, hidden},
        {false, true, true, {hidden, hidden}, {{true, 40, 6}, {true, 40, 38}}, {{true, 0, 0}, {true, 0, 32}},
         {true, 0, 80}},
        {false, true, false, {hidden, hidden}, {{true, 40, 6}, {true, 40, 38}}, {{true, 0, 0}, {true, 0, 32}},
         hidden},
        // Only the chart: no text at all.
        {false, false, true, {hidden, hidden}, {hidden, hidden}, {hidden, hidden}, {true, 0, 16}},
        // Nothing chosen: the temperatures stand alone.
        {false, false, false, {hidden, hidden}, {{true, 0, 0}, {true, 0, 16}}, {hidden, hidden}, hidden},
    };
    Start();
    for (const Case& c : cases) {
        Settings.ShowHddNames = c.names;
        Settings.ShowIcons = c.icons;
        Settings.ShowChart = c.chart;
        monitor->CreateIcons();
        std::string what = std::string("names ") + (c.names ? "on" : "off") + ", icons " + (c.icons ? "on" : "off") +
                           ", chart " + (c.chart ? "on" : "off");
        for (int i = 0; i < 2; ++i) {
            ExpectPlace(monitor->NameLabels[i], c.name[i], what + ": name " + std::to_string(i));
            ExpectPlace(monitor->TempLabels[i], c.temp[i], what + ": temperature " + std::to_string(i));
            ExpectPlace(monitor->DriveIcons[i], c.icon[i], what + ": icon " + std::to_string(i));
        }
        ExpectPlace(monitor->Chart1, c.chart1, what + ": chart");
        EXPECT_EQ(monitor->NameLabels[2], nullptr) << what;
        EXPECT_EQ(monitor->Chart1->SeriesCount(), 2) << what;
    }
}

TEST_F(Panel, TheWindowTakesTheSizeOfItsVisibleChildren) {
    struct Case {
        bool names, icons, chart;
        int width, height;
    } cases[] = {
        {false, false, true, 145, 16 + 105},       // the chart alone
        {true, true, true, 145, 112 + 105},        // rows above the chart
        {false, true, false, 140, 32 + 105},       // a shown icon counts with its full 105 x 105
    };
    Start();
    for (const Case& c : cases) {
        Settings.ShowHddNames = c.names;
        Settings.ShowIcons = c.icons;
        Settings.ShowChart = c.chart;
        monitor->CreateIcons();
        int labels = 0;
        for (int i = 0; i < 2; ++i)
            if (monitor->TempLabels[i]->Visible()) labels = std::max(labels, monitor->TempLabels[i]->Left() + monitor->TempLabels[i]->Width());
        EXPECT_EQ(monitor->ClientWidth(), std::max(c.width, labels)) << c.names << c.icons << c.chart;
        EXPECT_EQ(monitor->ClientHeight(), c.height) << c.names << c.icons << c.chart;
    }
}

TEST_F(Panel, DriveLabelsAndPicturesAsBuilt) {
    Start({{"TextColor", 0x12AB34}, {"DelColor", 0x5566}});
    for (int i = 0; i < 2; ++i) {
        for (label::TOutlinedLabel* l : {monitor->NameLabels[i], monitor->TempLabels[i]}) {
            EXPECT_EQ(l->Colors().Text(), forms::TColor(0x12AB34));
            EXPECT_EQ(l->Colors().Delineate(), forms::TColor(0x5566));
            EXPECT_EQ(l->Colors().Highlight(), forms::clPurple);
            EXPECT_EQ(l->Colors().Shadow(), forms::clPurple);
            EXPECT_EQ(l->Font().Name(), "MS Sans Serif");
            EXPECT_EQ(l->Font().Height(), -11);
            EXPECT_EQ(l->Font().Style(), forms::TFontStyles(forms::fsBold));
            EXPECT_EQ(l->Options(), label::TLabelOptions(label::floDelineatedText | label::floIgnoreMouse));
            EXPECT_EQ(l->Cursor, IDC_HAND);
            EXPECT_TRUE(l->OnMouseDown != nullptr);
            EXPECT_EQ(l->Parent(), monitor.get());
        }
        forms::TImage* icon = monitor->DriveIcons[i];
        EXPECT_EQ(icon->Width(), 105);
        EXPECT_EQ(icon->Height(), 105);
        EXPECT_EQ(icon->Picture().Width(), 32);
        EXPECT_TRUE(icon->Transparent());
        EXPECT_EQ(icon->Cursor, IDC_HAND);
        EXPECT_TRUE(icon->OnMouseDown != nullptr);
        EXPECT_EQ(monitor->Chart1->Series(i)->Cursor, chart::crHandPoint);
    }
    EXPECT_FALSE(monitor->OutlinedLabel1->Visible());
    EXPECT_EQ(monitor->Chart1->Cursor(), chart::crHandPoint);
    // The left axis in the stored axis colour from the start.
    EXPECT_EQ(Axis().Axis().Color(), forms::TColor(0xA00000));
    EXPECT_EQ(Axis().LabelsFont().Color(), forms::TColor(0xA00000));
    EXPECT_EQ(Axis().Ticks().Color(), forms::TColor(0xA00000));
}

TEST_F(Panel, ClearAllFreesEveryRowAndARebuildKeepsOneSeriesPerDrive) {
    Start();
    monitor->ClearAll();
    for (int i = 0; i < TMainForm::PanelSlots; ++i) {
        EXPECT_EQ(monitor->NameLabels[i], nullptr);
        EXPECT_EQ(monitor->TempLabels[i], nullptr);
        EXPECT_EQ(monitor->DriveIcons[i], nullptr);
    }
    int children = monitor->ControlCount();
    monitor->CreateIcons();
    monitor->CreateIcons();
    EXPECT_EQ(monitor->ControlCount(), children + 6);
    EXPECT_EQ(monitor->Chart1->SeriesCount(), 2);
    // Colours are picked afresh: the rebuilt series are red and green again.
    EXPECT_EQ(monitor->Chart1->Series(0)->SeriesColor(), forms::clRed);
    EXPECT_EQ(monitor->Chart1->Series(1)->SeriesColor(), forms::clGreen);
}

TEST_F(Panel, AWindowBeyondTheScreenIsPulledBackInside) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    Start({{"PosX", w - 50}, {"PosY", h - 30}});
    EXPECT_EQ(monitor->Left(), w - (monitor->Width() + 24));
    EXPECT_EQ(monitor->Top(), h - monitor->Height());
    EXPECT_GT(monitor->Height(), 30);

    // Inside the screen nothing moves.
    monitor.reset();
    Start({{"PosX", 10}, {"PosY", 20}});
    EXPECT_EQ(monitor->Left(), 10);
    EXPECT_EQ(monitor->Top(), 20);
}

// --- feeding ----------------------------------------------------------------------------------

TEST_F(Panel, TextsWithAndWithoutIcons) {
    Start();
    EXPECT_EQ(monitor->NameLabels[0]->Caption(), "WDC WD5000AAKS-00V1A0");
    EXPECT_EQ(monitor->TempLabels[0]->Caption(), "41\xB0" "C");
    EXPECT_EQ(monitor->NameLabels[1]->Caption(), "ST3500418AS");
    EXPECT_EQ(monitor->TempLabels[1]->Caption(), "37\xB0" "C");

    Settings.ShowIcons = false;
    monitor->CreateIcons();
    monitor->ShowInfo();
    EXPECT_EQ(monitor->NameLabels[0]->Caption(), "WDC WD5000AAKS-00V1A0 - 41\xB0" "C");
    EXPECT_EQ(monitor->NameLabels[1]->Caption(), "ST3500418AS - 37\xB0" "C");
    EXPECT_FALSE(monitor->TempLabels[0]->Visible());

    // Without names the name label keeps the bare name, hidden.
    Settings.ShowHddNames = false;
    monitor->CreateIcons();
    monitor->ShowInfo();
    EXPECT_EQ(monitor->NameLabels[0]->Caption(), "WDC WD5000AAKS-00V1A0");
}

TEST_F(Panel, HistoryStartsFlatAndEachReplyShiftsInOneSample) {
    Start();
    for (int i = 0; i < HistoryLength; ++i) {
        EXPECT_EQ(History[0][i], 41.0) << i;
        EXPECT_EQ(History[1][i], 37.0) << i;
    }
    service->drives = {{"WDC WD5000AAKS-00V1A0", 45}, {"ST3500418AS", 36}};
    Poll();
    service->drives = {{"WDC WD5000AAKS-00V1A0", 47}, {"ST3500418AS", 35}};
    Poll();
    EXPECT_EQ(History[0][97], 41.0);
    EXPECT_EQ(History[0][98], 45.0);
    EXPECT_EQ(History[0][99], 47.0);
    EXPECT_EQ(History[1][98], 36.0);
    EXPECT_EQ(History[1][99], 35.0);
    // The series hold the same 100 values, oldest first at x 0 .. 99.
    for (int d = 0; d < 2; ++d) {
        chart::TChartSeries* s = monitor->Chart1->Series(d);
        ASSERT_EQ(s->PointCount(), HistoryLength);
        for (int i = 0; i < HistoryLength; ++i) {
            EXPECT_EQ(s->YValues()[i], History[d][i]) << d << " " << i;
            EXPECT_EQ(s->XValues()[i], double(i));
        }
    }
    EXPECT_EQ(monitor->TempLabels[0]->Caption(), "47\xB0" "C");
    EXPECT_EQ(Axis().Minimum(), 33.0);
    EXPECT_EQ(Axis().Maximum(), 49.0);
}

TEST_F(Panel, TheAxisSpansTheLowestAndHighestValueWithTwoDegreesAround) {
    struct Case {
        std::vector<FakeService::Drive> drives;
        double min, max;
    } cases[] = {
        {{{"A", 40}, {"B", 40}}, 38, 42},
        // The running minimum starts at 100: a hot drive alone keeps the axis minimum at 98.
        {{{"A", 120}}, 98, 122},
        {{{"A", 30}, {"B", 150}}, 28, 152},
    };
    for (const Case& c : cases) {
        service->drives = c.drives;
        Start();
        EXPECT_EQ(Axis().Minimum(), c.min) << c.drives[0].temperature;
        EXPECT_EQ(Axis().Maximum(), c.max) << c.drives[0].temperature;
        monitor.reset();
    }
}

TEST_F(Panel, ARangeBelowTheWholeOldOneIsStillShown) {
    Start();
    // A range entirely below the current one: the axis must not refuse it.
    for (int i = 0; i < HistoryLength; ++i) History[0][i] = History[1][i] = 10;
    service->drives = {{"A", 10}, {"B", 10}};
    Poll();
    EXPECT_EQ(Axis().Minimum(), 8.0);
    EXPECT_EQ(Axis().Maximum(), 12.0);
}

TEST_F(Panel, TheHintHasOneLinePerDriveAndNoLineBreakAtTheEnd) {
    Start();
    EXPECT_EQ(monitor->TrayIcon1->Hint(), "WDC WD5000AAKS-00V1A0 is 41\xB0" "C\r\nST3500418AS is 37\xB0" "C");
    service->drives = {{"Only", 50}};
    Poll();
    EXPECT_EQ(monitor->TrayIcon1->Hint(), "Only is 50\xB0" "C");
}

// --- replies that do not fit the panel ---------------------------------------------------------

TEST_F(Panel, AReplyWithMoreOrFewerDrivesRebuildsThePanel) {
    Start();
    History[2][0] = 99;  // left from some earlier drive: a new row starts flat all the same
    service->drives = {{"A", 41}, {"B", 37}, {"C", 50}};
    Poll();
    EXPECT_EQ(monitor->BuiltDrives(), 3);
    ASSERT_NE(monitor->NameLabels[2], nullptr);
    EXPECT_EQ(monitor->NameLabels[2]->Caption(), "C");
    EXPECT_TRUE(monitor->NameLabels[2]->Visible());
    EXPECT_EQ(monitor->Chart1->SeriesCount(), 3);
    for (int i = 0; i < HistoryLength; ++i) EXPECT_EQ(History[2][i], 50.0) << i;
    EXPECT_EQ(History[0][98], 41.0);  // the drives already shown keep their history

    service->drives = {{"A", 42}};
    Poll();
    EXPECT_EQ(monitor->BuiltDrives(), 1);
    EXPECT_EQ(monitor->NameLabels[1], nullptr);
    EXPECT_EQ(monitor->Chart1->SeriesCount(), 1);
    EXPECT_EQ(monitor->TrayIcon1->Hint(), "A is 42\xB0" "C");
    EXPECT_EQ(History[0][99], 42.0);
}

TEST_F(Panel, NoDrivesLeaveAnEmptyPanelAndTheAxisAsItWas) {
    Start();
    double min = Axis().Minimum(), max = Axis().Maximum();
    DriveCount = 0;
    monitor->CreateIcons();
    EXPECT_NO_THROW(monitor->ShowInfo());
    EXPECT_EQ(monitor->Chart1->SeriesCount(), 0);
    EXPECT_EQ(monitor->NameLabels[0], nullptr);
    EXPECT_EQ(Axis().Minimum(), min);
    EXPECT_EQ(Axis().Maximum(), max);
    EXPECT_EQ(monitor->TrayIcon1->Hint(), "");
}
