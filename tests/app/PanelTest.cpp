// The monitor panel in-process, against a service on a thread: rows and layout, texts, the
// history and the chart it feeds, the axis range, the tray hint, and replies that do not fit.
#include "MonitorFixture.h"
#include "chart/Chart.h"
#include "label/OutlinedLabel.h"

using namespace thermowl;

namespace {

struct Panel : MonitorTest {
    chart::TChartAxis& Axis() { return monitor->Chart1->LeftAxis(); }
    void Layout(bool names, bool icons, bool chart) {
        Settings.ShowHddNames = names;
        Settings.ShowIcons = icons;
        Settings.ShowChart = chart;
        monitor->CreateIcons();
    }
    // A reply sent straight to the window, as the service's SendMessageTimeoutA comes in while
    // this thread waits in a shell call or the window's move loop.
    void ReplyNow(const std::vector<FakeService::Drive>& drives) {
        testsupport::WriteFileBytes(testsupport::SystemFilePath("hdinfo.dat"), EncodeTable(drives));
        SendMessageA(monitor->Handle(), RecInfoMsg, drives.size(), 0);
    }
};

// Stands in for the system's move loop on the monitor window: counts the drags and runs
// `during` inside each.
struct DragProbe {
    static inline int drags = 0;
    static inline std::function<void()> during;
    static inline WNDPROC original = nullptr;
    HWND window;
    explicit DragProbe(HWND w) : window(w) { original = Swap(reinterpret_cast<WNDPROC>(Proc)); }
    ~DragProbe() { Swap(original); during = nullptr; }
    WNDPROC Swap(WNDPROC p) {
        return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(p)));
    }
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m != WM_SYSCOMMAND || wp != 0xF012) return CallWindowProcA(original, w, m, wp, lp);
        ++drags;
        if (during) during();
        return 0;
    }
};

struct Place {
    int left = -1, top = -1;  // -1: hidden
};
void ExpectPlace(forms::TControl* c, Place p, const std::string& what) {
    ASSERT_NE(c, nullptr) << what;
    EXPECT_EQ(c->Visible(), p.left >= 0) << what;
    if (p.left >= 0 && c->Visible()) {
        EXPECT_EQ(std::make_pair(c->Left(), c->Top()), std::make_pair(p.left, p.top)) << what;
    }
}

}  // namespace

TEST_F(Panel, EveryCombinationOfNamesIconsAndChartLaysOutItsRows) {
    const Place no;
    const struct {
        bool names, icons, chart;
        Place name[2], temp[2], icon[2], chart1;
    } cases[] = {
        // Name line, icon below it, temperature beside the icon; the chart 16 below the rows.
        {true, true, true, {{0, 0}, {0, 48}}, {{40, 22}, {40, 70}}, {{0, 16}, {0, 64}}, {0, 112}},
        {true, true, false, {{0, 0}, {0, 48}}, {{40, 22}, {40, 70}}, {{0, 16}, {0, 64}}, no},
        // Names alone carry the temperature: its own label stays hidden.
        {true, false, true, {{0, 0}, {0, 16}}, {no, no}, {no, no}, {0, 48}},
        {true, false, false, {{0, 0}, {0, 16}}, {no, no}, {no, no}, no},
        {false, true, true, {no, no}, {{40, 6}, {40, 38}}, {{0, 0}, {0, 32}}, {0, 80}},
        {false, true, false, {no, no}, {{40, 6}, {40, 38}}, {{0, 0}, {0, 32}}, no},
        {false, false, true, {no, no}, {no, no}, {no, no}, {0, 16}},  // only the chart: no text at all
        {false, false, false, {no, no}, {{0, 0}, {0, 16}}, {no, no}, no},  // the temperatures stand alone
    };
    Start();
    for (const auto& c : cases) {
        Layout(c.names, c.icons, c.chart);
        std::string what = std::string("names ") + "01"[c.names] + " icons " + "01"[c.icons] + " chart " + "01"[c.chart];
        for (int i = 0; i < 2; ++i) {
            ExpectPlace(monitor->NameLabels[i], c.name[i], what + ": name " + std::to_string(i));
            ExpectPlace(monitor->TempLabels[i], c.temp[i], what + ": temperature " + std::to_string(i));
            ExpectPlace(monitor->DriveIcons[i], c.icon[i], what + ": icon " + std::to_string(i));
        }
        ExpectPlace(monitor->Chart1, c.chart1, what + ": chart");
    }
    EXPECT_TRUE(!monitor->NameLabels[2] && !monitor->TempLabels[2] && !monitor->DriveIcons[2]);
    EXPECT_EQ(monitor->Chart1->SeriesCount(), 2);
    // The window takes the size of its visible children; a shown icon counts with its full 105
    // x 105, the chart with its 145 (the labels' widths: TheWindowFollowsATemperatureLabelThatGrows).
    const struct {
        bool names, icons, chart;
        int width, height;
    } sizes[] = {{false, false, true, 145, 16 + 105}, {true, true, true, 145, 112 + 105}, {false, true, false, 0, 32 + 105}};
    for (const auto& c : sizes) {
        Layout(c.names, c.icons, c.chart);
        EXPECT_TRUE(!c.width || monitor->ClientWidth() == c.width) << c.names << c.icons << c.chart;
        EXPECT_EQ(monitor->ClientHeight(), c.height) << c.names << c.icons << c.chart;
    }
}

TEST_F(Panel, TheWindowFollowsATemperatureLabelThatGrows) {
    Start({{"ShowHddNames", 0}, {"ShowIcons", 0}, {"ShowChart", 0}});
    monitor->Show();
    Reply({{"A", 99}});
    testsupport::PumpMessages();  // the label takes its text's size as it paints
    const int narrow = monitor->ClientWidth();
    Reply({{"A", 100}});
    testsupport::PumpMessages();
    EXPECT_GT(monitor->ClientWidth(), narrow);
    EXPECT_EQ(monitor->ClientWidth(), monitor->TempLabels[0]->Width());
}

TEST_F(Panel, DriveLabelsAndPicturesAsBuilt) {
    Start({{"TextColor", 0x12AB34}, {"DelColor", 0x5566}});
    for (int i = 0; i < 2; ++i) {
        for (label::TOutlinedLabel* l : {monitor->NameLabels[i], monitor->TempLabels[i]}) {
            EXPECT_EQ(l->Colors().Text(), forms::TColor(0x12AB34));
            EXPECT_EQ(l->Colors().Delineate(), forms::TColor(0x5566));
            EXPECT_EQ(l->Colors().Highlight(), forms::clPurple);
            EXPECT_EQ(l->Colors().Shadow(), forms::clPurple);
            EXPECT_EQ(l->Font().Style(), forms::TFontStyles(forms::fsBold));
            EXPECT_EQ(l->Options(), label::TLabelOptions(label::floDelineatedText | label::floIgnoreMouse));
            EXPECT_EQ(l->Cursor, IDC_HAND);
        }
        forms::TImage* icon = monitor->DriveIcons[i];
        EXPECT_EQ(std::make_pair(icon->Width(), icon->Height()), std::make_pair(105, 105));
        EXPECT_EQ(icon->Picture().Width(), 32);
        EXPECT_TRUE(icon->Transparent());
        EXPECT_EQ(icon->Cursor, IDC_HAND);
        EXPECT_EQ(monitor->Chart1->Series(i)->Cursor, chart::crHandPoint);
    }
    EXPECT_FALSE(monitor->OutlinedLabel1->Visible());
    EXPECT_EQ(monitor->Chart1->Cursor(), chart::crHandPoint);
    // The left axis in the stored axis colour from the start.
    for (forms::TColor c : {Axis().Axis().Color(), Axis().LabelsFont().Color(), Axis().Ticks().Color()})
        EXPECT_EQ(c, forms::TColor(0xA00000));
}

TEST_F(Panel, EveryPartOfThePanelDragsTheWindowAndARowOutlivesItsDrag) {
    Start();
    DragProbe probe(monitor->Handle());
    for (forms::TControl* c : std::initializer_list<forms::TControl*>{monitor->NameLabels[0], monitor->TempLabels[1],
                                                                       monitor->DriveIcons[1], monitor->Chart1, monitor.get()}) {
        const int before = DragProbe::drags;
        c->OnMouseDown(c, forms::mbLeft, 0, 1, 1);
        EXPECT_EQ(DragProbe::drags, before + 1) << c->Name;
    }
    // One drive fewer while the second drive's label drags: the panel follows once it returned.
    label::TOutlinedLabel* dragged = monitor->TempLabels[1];
    DragProbe::during = [&] { ReplyNow({{"A", 40}}); };
    dragged->OnMouseDown(dragged, forms::mbLeft, 0, 1, 1);
    EXPECT_EQ(monitor->TempLabels[1], dragged);
    testsupport::PumpMessages();
    EXPECT_EQ(monitor->BuiltDrives(), 1);
    EXPECT_EQ(monitor->TrayIcon1->Hint(), "A is 40\xB0" "C");
}

TEST_F(Panel, AReplyDuringAnAlarmBalloonIsShownOnceAfterTheOneInHand) {
    Start();
    bool sent = false;
    forms::platform.Shell_NotifyIconA = [&](DWORD, PNOTIFYICONDATAA d) {
        if ((d->uFlags & NIF_INFO) && d->szInfo[0] && !sent) {
            sent = true;
            ReplyNow({{"A", 30}});
        }
        return TRUE;
    };
    Reply({{"Hot", 75}, {"B", 30}, {"C", 31}});
    EXPECT_TRUE(sent);
    EXPECT_EQ(monitor->BuiltDrives(), 1);
    EXPECT_EQ(monitor->TrayIcon1->Hint(), "A is 30\xB0" "C");
}

TEST_F(Panel, ClearAllFreesEveryRowAndARebuildKeepsOneSeriesPerDrive) {
    Start();
    monitor->ClearAll();
    for (int i = 0; i < TMainForm::PanelSlots; ++i)
        EXPECT_TRUE(!monitor->NameLabels[i] && !monitor->TempLabels[i] && !monitor->DriveIcons[i]) << i;
    int children = monitor->ControlCount();
    monitor->ShowInfo();  // builds the rows again
    EXPECT_EQ(monitor->BuiltDrives(), 2);
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
    EXPECT_EQ(std::make_pair(monitor->Left(), monitor->Top()), std::make_pair(10, 20));
}

TEST_F(Panel, TextsAndHintWithAndWithoutIcons) {
    Start();
    EXPECT_EQ(monitor->NameLabels[0]->Caption(), "WDC WD5000AAKS-00V1A0");
    EXPECT_EQ(monitor->TempLabels[0]->Caption(), "41\xB0" "C");
    EXPECT_EQ(monitor->NameLabels[1]->Caption(), "ST3500418AS");
    EXPECT_EQ(monitor->TempLabels[1]->Caption(), "37\xB0" "C");
    // One line per drive, no line break at the end.
    EXPECT_EQ(monitor->TrayIcon1->Hint(), "WDC WD5000AAKS-00V1A0 is 41\xB0" "C\r\nST3500418AS is 37\xB0" "C");

    Layout(true, false, true);
    monitor->ShowInfo();
    EXPECT_EQ(monitor->NameLabels[0]->Caption(), "WDC WD5000AAKS-00V1A0 - 41\xB0" "C");
    EXPECT_EQ(monitor->NameLabels[1]->Caption(), "ST3500418AS - 37\xB0" "C");
    EXPECT_FALSE(monitor->TempLabels[0]->Visible());
    // Without names the name label keeps the bare name, hidden.
    Layout(false, false, true);
    monitor->ShowInfo();
    EXPECT_EQ(monitor->NameLabels[0]->Caption(), "WDC WD5000AAKS-00V1A0");
    // A length byte that also counts the zero bytes after the name: the name ends at the first.
    Reply({{"A", 41, 32}, {"B", 37}});
    EXPECT_EQ(monitor->TrayIcon1->Hint(), "A is 41\xB0" "C\r\nB is 37\xB0" "C");
}

TEST_F(Panel, HistoryStartsFlatAndEachReplyShiftsInOneSample) {
    Start();
    for (int i = 0; i < HistoryLength; ++i) EXPECT_TRUE(History[0][i] == 41.0 && History[1][i] == 37.0) << i;
    Reply({{"WDC WD5000AAKS-00V1A0", 45}, {"ST3500418AS", 36}});
    Reply({{"WDC WD5000AAKS-00V1A0", 47}, {"ST3500418AS", 35}});
    EXPECT_EQ(std::vector<double>(History[0] + 97, History[0] + 100), (std::vector<double>{41, 45, 47}));
    EXPECT_EQ(std::vector<double>(History[1] + 97, History[1] + 100), (std::vector<double>{37, 36, 35}));
    // The series hold the same 100 values, oldest first at x 0 .. 99.
    for (int d = 0; d < 2; ++d) {
        chart::TChartSeries* s = monitor->Chart1->Series(d);
        ASSERT_EQ(s->PointCount(), HistoryLength);
        for (int i = 0; i < HistoryLength; ++i)
            EXPECT_TRUE(s->YValues()[i] == History[d][i] && s->XValues()[i] == i) << d << " " << i;
    }
    EXPECT_EQ(monitor->TempLabels[0]->Caption(), "47\xB0" "C");
    EXPECT_EQ(std::make_pair(Axis().Minimum(), Axis().Maximum()), std::make_pair(33.0, 49.0));

    // A range entirely below the current one: the axis must not refuse it.
    for (int i = 0; i < HistoryLength; ++i) History[0][i] = History[1][i] = 10;
    Reply({{"A", 10}, {"B", 10}});
    EXPECT_EQ(std::make_pair(Axis().Minimum(), Axis().Maximum()), std::make_pair(8.0, 12.0));
}

TEST_F(Panel, TheAxisSpansTheLowestAndHighestValueWithTwoDegreesAround) {
    const struct {
        std::vector<FakeService::Drive> drives;
        double min, max;
    } cases[] = {
        {{{"A", 40}, {"B", 40}}, 38, 42},
        // The running minimum starts at 100: a hot drive alone keeps the axis minimum at 98.
        {{{"A", 120}}, 98, 122},
        {{{"A", 30}, {"B", 150}}, 28, 152},
    };
    for (const auto& c : cases) {
        service->drives = c.drives;
        Start();
        EXPECT_EQ(std::make_pair(Axis().Minimum(), Axis().Maximum()), std::make_pair(c.min, c.max))
            << int(c.drives[0].temperature);
        monitor.reset();
    }
}

TEST_F(Panel, AReplyWithMoreOrFewerDrivesRebuildsThePanel) {
    Start();
    History[2][0] = 99;  // left from some earlier drive: a new row starts flat all the same
    Reply({{"A", 41}, {"B", 37}, {"C", 50}});
    EXPECT_EQ(monitor->BuiltDrives(), 3);
    ASSERT_NE(monitor->NameLabels[2], nullptr);
    EXPECT_EQ(monitor->NameLabels[2]->Caption(), "C");
    EXPECT_TRUE(monitor->NameLabels[2]->Visible());
    EXPECT_EQ(monitor->Chart1->SeriesCount(), 3);
    for (int i = 0; i < HistoryLength; ++i) EXPECT_EQ(History[2][i], 50.0) << i;
    EXPECT_EQ(History[0][98], 41.0);  // the drives already shown keep their history

    Reply({{"A", 42}});
    EXPECT_EQ(monitor->BuiltDrives(), 1);
    EXPECT_EQ(monitor->NameLabels[1], nullptr);
    EXPECT_EQ(monitor->Chart1->SeriesCount(), 1);
    EXPECT_EQ(monitor->TrayIcon1->Hint(), "A is 42\xB0" "C");
    EXPECT_EQ(History[0][99], 42.0);
    // A count taken but not shown yet: the rows any rebuild adds start flat too.
    DriveCount = 3;
    DriveTable[2].Temperature = 45;
    monitor->CreateIcons();
    EXPECT_EQ(std::count(History[2], History[2] + HistoryLength, 45.0), HistoryLength);
}

TEST_F(Panel, NoDrivesLeaveAnEmptyPanelAndTheAxisAsItWas) {
    Start();
    double min = Axis().Minimum(), max = Axis().Maximum();
    DriveCount = 0;
    monitor->CreateIcons();
    EXPECT_NO_THROW(monitor->ShowInfo());
    EXPECT_EQ(monitor->Chart1->SeriesCount(), 0);
    EXPECT_EQ(monitor->NameLabels[0], nullptr);
    EXPECT_EQ(std::make_pair(Axis().Minimum(), Axis().Maximum()), std::make_pair(min, max));
    EXPECT_EQ(monitor->TrayIcon1->Hint(), "");
}

TEST_F(Panel, TextOnTheColourKeyHasNoPixelBlendedWithTheKey) {
    Start({{"Pos", 3}, {"Alpha", 255}});
    Reply({{"ST380011A", 41}, {"WDC WD800JB", 38}});
    // The window's image as it paints it: its surface with the labels and pictures, then the chart.
    forms::TBitmap image(monitor->Width(), monitor->Height());
    HDC dc = image.Canvas().Handle();
    SendMessageA(monitor->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(monitor->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    chart::TChart* chart = monitor->Chart1;
    SetViewportOrgEx(dc, chart->Left(), chart->Top(), nullptr);
    SendMessageA(chart->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    GdiFlush();
    // The key itself is see-through; a mix of the key and a text colour is not, and shows purple.
    int blended = 0, key = 0;
    for (int i = 0; i < image.Width() * image.Height(); ++i) {
        const uint32_t p = image.Bits()[i] & 0xFFFFFF;
        const int red = p >> 16, green = (p >> 8) & 0xFF, blue = p & 0xFF;
        key += p == 0x800080;
        blended += p != 0x800080 && red >= 64 && blue >= 64 && green <= 48;
    }
    EXPECT_GT(key, image.Width() * image.Height() / 4);
    EXPECT_EQ(blended, 0);
}

TEST_F(Panel, TheMonitorGrowsWithItsScreensDensityAndKeepsItsPointSizes) {
    const struct { UINT dpi; int width, height, font, axisFont, picture; } cases[] = {
        {96, 145, 217, -11, -9, 32},
        {120, 181, 271, -14, -11, 40},  // 125 %: the picture drawn for 40 pixels
        {144, 218, 326, -17, -14, 48},  // 150 %: the picture drawn for 48 pixels, not stretched
        {192, 290, 434, -22, -18, 64},
    };
    for (const auto& c : cases) {
        forms::platform.GetDpiForWindow = [&c](HWND) { return c.dpi; };
        Start({{"Pos", 3}, {"ShowHddNames", 1}, {"ShowIcons", 1}, {"ShowChart", 1}});
        Reply({{"A", 40}, {"B", 41}});
        const std::string what = std::to_string(c.dpi) + " dpi";
        EXPECT_EQ(std::make_pair(monitor->Width(), monitor->Height()), std::make_pair(c.width, c.height)) << what;
        EXPECT_EQ(monitor->NameLabels[0]->Font().Height(), c.font) << what;
        EXPECT_EQ(monitor->Chart1->LeftAxis().LabelsFont().Height(), c.axisFont) << what;
        EXPECT_EQ(monitor->Image1->Picture().Width(), c.picture) << what;
        forms::Application->MainForm = nullptr;
        monitor.reset();
    }
}

TEST_F(Panel, MovingOntoAScreenOfAnotherDensityRescalesTheMonitorWhereTheSystemPutsIt) {
    Start({{"Pos", 3}, {"ShowHddNames", 1}, {"ShowIcons", 1}, {"ShowChart", 1}});
    Reply({{"A", 40}, {"B", 41}});
    RECT suggested{300, 200, 300 + 218, 200 + 326};
    SendMessageA(monitor->Handle(), 0x02E0, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(std::make_pair(monitor->Width(), monitor->Height()), std::make_pair(218, 326));
    EXPECT_EQ(std::make_pair(monitor->Left(), monitor->Top()), std::make_pair(300, 200));
    EXPECT_EQ(monitor->TempLabels[1]->Caption(), "41\xB0" "C");
}
