// The chart panel: series list and colours, plot rectangle, paint order, ownership, cursor.
#include "ChartFixture.h"

using namespace chart;

namespace {

class ChartModel : public ChartFixture {};

TEST_F(ChartModel, SeriesTakeFreePaletteColoursSkippingTheBackground) {
    auto s = AddDriveSeries(*c, 17);
    // Purple, the chart's own colour, is skipped (12 gets silver); all taken, red.
    const std::pair<int, forms::TColor> want[] = {{0, forms::clRed}, {1, forms::clGreen}, {2, forms::clYellow},
        {3, forms::clBlue}, {11, forms::clOlive}, {12, forms::clSilver}, {13, forms::clAqua}, {14, forms::clBlack},
        {15, forms::clRed}, {16, forms::clRed}};
    for (auto [i, colour] : want) EXPECT_EQ(s[i]->SeriesColor(), colour) << "series " << i;
    EXPECT_FALSE(c->IsColorFree(forms::clPurple, true));
    EXPECT_TRUE(c->IsColorFree(forms::clPurple, false));
}

TEST_F(ChartModel, PresetColourKeptAndDetachedColourFreedAgain) {
    TLineSeries own(nullptr);
    own.SetSeriesColor(forms::clTeal);
    own.SetParentChart(c.get());
    EXPECT_EQ(own.SeriesColor(), forms::clTeal);
    auto s = AddDriveSeries(*c, 1);
    EXPECT_EQ(s[0]->SeriesColor(), forms::clRed);
    s[0]->SetParentChart(nullptr);
    EXPECT_EQ(c->PickFreeColor(true), forms::clRed);
    EXPECT_EQ(c->SeriesCount(), 1);
    own.SetParentChart(nullptr);
    EXPECT_EQ(c->SeriesCount(), 0);
    delete s[0];
}

TEST_F(ChartModel, AttachTwiceDetachUnknownAndMoveBetweenCharts) {
    auto s = AddDriveSeries(*c, 2);
    c->AttachSeries(s[0]);
    EXPECT_EQ(c->SeriesCount(), 2);
    TLineSeries stranger(nullptr);
    c->DetachSeries(&stranger);
    EXPECT_EQ(c->SeriesCount(), 2);

    TChart other(nullptr);
    s[0]->SetParentChart(&other);
    EXPECT_EQ(c->SeriesCount(), 1);
    EXPECT_EQ(c->Series(0), s[1]);
    EXPECT_EQ(other.SeriesCount(), 1);
    EXPECT_EQ(s[0]->GetVertAxis(), &other.LeftAxis());
    delete s[0];
    EXPECT_EQ(other.SeriesCount(), 0) << "a destroyed series leaves its chart";
}

TEST_F(ChartModel, ChartDestroysOwnedSeriesAndReleasesOthers) {
    struct Watched : TLineSeries {
        bool* gone;
        Watched(forms::TComponent* o, bool* g) : TLineSeries(o), gone(g) {}
        ~Watched() override { *gone = true; }
    };
    bool ownedGone = false, strangerGone = false;
    auto* owned = new Watched(c.get(), &ownedGone);
    owned->SetParentChart(c.get());
    Watched stranger(nullptr, &strangerGone);
    stranger.SetParentChart(c.get());
    c.reset();
    EXPECT_TRUE(ownedGone);
    EXPECT_FALSE(strangerGone);
    EXPECT_EQ(stranger.ParentChart(), nullptr);
    EXPECT_EQ(stranger.GetHorizAxis(), nullptr);
}

TEST_F(ChartModel, PlotRectFromMarginsThenAxisSpace) {
    auto s = AddDriveSeries(*c, 1);
    s[0]->AppendValues(std::vector<double>(100, 40.0));
    c->LeftAxis().SetMinMax(38, 42);
    Paint();
    // Labels "42" .. "38" are 12 pixels wide plus a space: 18; pen 1 and tick 6 make 25.
    EXPECT_EQ(Sides(c->PlotRect()), (Quad{25, 0, 138, 93})) << "the bottom axis pen takes one pixel";
    EXPECT_EQ(c->LeftAxis().LabelsPos(), 18);
    c->CalcPlotRectFromMargins();
    EXPECT_EQ(Sides(c->PlotRect()), (Quad{0, 0, 138, 94}));
    EXPECT_EQ(c->PlotWidth(), 138);
    EXPECT_EQ(c->PlotYCenter(), 47);
}

TEST_F(ChartModel, CollapsedPlotRectStaysPositive) {
    auto s = AddDriveSeries(*c, 1);
    s[0]->AppendValues(std::vector<double>(100, 40.0));
    Paint();
    c->SetPlotRect({80, 50, 60, 50});
    EXPECT_EQ(c->PlotRect().right, 81);
    EXPECT_EQ(c->PlotRect().bottom, 50 + 105);
    c->SetPlotRect({-5, -5, -5, -7});
    EXPECT_EQ(c->PlotRect().left, 0);
    EXPECT_EQ(c->PlotRect().top, 0);
    EXPECT_GT(c->PlotWidth(), 0);
    EXPECT_GT(c->PlotHeight(), 0);

    // Margins that leave no room at all still paint.
    c->SetMarginLeft(60);
    c->SetMarginRight(60);
    c->SetMarginTop(70);
    c->SetMarginBottom(70);
    Paint();
    EXPECT_GT(c->PlotWidth(), 0);
    EXPECT_GT(c->PlotHeight(), 0);
    EXPECT_FALSE(rec->Dirty());
}

TEST_F(ChartModel, PaintRunsInItsFixedOrder) {
    auto s = AddDriveSeries(*c, 1);
    s[0]->AppendXY(0, 40);
    s[0]->AppendXY(99, 40);
    c->LeftAxis().SetMinMax(38, 42);
    std::vector<std::string> events;
    c->OnBeforeDrawAxes = [&](forms::TObject*) { events.push_back("axes@" + std::to_string(rec->ops.size())); };
    c->OnBeforeDrawSeries = [&](forms::TObject*) { events.push_back("series@" + std::to_string(rec->ops.size())); };
    c->OnAfterDraw = [&](forms::TObject*) { events.push_back("after@" + std::to_string(rec->ops.size())); };
    Paint();
    std::string kinds;
    for (const DrawOp& o : rec->ops) kinds += "BSFRLTCU"[o.kind];
    // Begin, background, back wall, bottom axis line, 5 labels, left axis line, 5 ticks,
    // 5 grid lines, clip, the series' line, unclip, show.
    EXPECT_EQ(kinds, "BFRLTTTTTLLLLLLLLLLLCLUS");
    const DrawOp& fill = rec->ops[1];
    EXPECT_EQ(fill.brushColor, forms::clPurple);
    EXPECT_EQ(Ends(fill), (Quad{0, 0, 145, 105}));
    const DrawOp& wall = rec->ops[2];
    EXPECT_EQ(Ends(wall), (Quad{25, 0, 139, 94}));
    EXPECT_EQ(wall.penColor, forms::clBlack);
    EXPECT_EQ(wall.brushStyle, forms::bsClear);
    const DrawOp& bottom = rec->ops[3];
    int left = 25 + 2, right = 25 + 111;  // 2 % and 98 % of 113 pixels
    EXPECT_EQ(Ends(bottom), (Quad{left, 93, right, 93}));
    EXPECT_EQ(bottom.penColor, forms::clBlack);
    EXPECT_EQ(bottom.penWidth, 1);
    EXPECT_EQ(Ends(rec->ops[20]), (Quad{26, 1, 138, 92})) << "clip";
    EXPECT_EQ(events, (std::vector<std::string>{"axes@3", "series@20", "after@23"}));
}

TEST_F(ChartModel, ChangesOnlyMarkDirtyAndCleanPaintReshows) {
    auto s = AddDriveSeries(*c, 2);
    Paint();
    EXPECT_EQ(rec->paints, 1);
    EXPECT_FALSE(rec->Dirty());
    Paint();
    EXPECT_EQ(rec->paints, 1) << "clean: the bitmap is shown again";
    EXPECT_EQ(rec->shows, 2);
    for (auto* x : s) { x->ClearPoints(); x->AppendValues(std::vector<double>(100, 41.0)); }
    c->LeftAxis().SetMaximum(43);
    c->LeftAxis().SetMinimum(39);
    EXPECT_TRUE(rec->Dirty());
    EXPECT_EQ(rec->paints, 1) << "nothing is drawn at once";
    Paint();
    EXPECT_EQ(rec->paints, 2);

    // Each kind of change dirties the canvas.
    auto dirtied = [&](const std::function<void()>& change) {
        Paint();
        change();
        return rec->Dirty();
    };
    EXPECT_TRUE(dirtied([&] { c->LeftAxis().Axis().SetColor(forms::clRed); }));
    EXPECT_TRUE(dirtied([&] { c->LeftAxis().LabelsFont().SetColor(forms::clRed); }));
    EXPECT_TRUE(dirtied([&] { s[0]->LinePen().SetWidth(3); }));
    EXPECT_TRUE(dirtied([&] { s[1]->SetSeriesColor(forms::clNavy); }));
    EXPECT_TRUE(dirtied([&] { s[1]->DeletePoint(3); }));
    EXPECT_TRUE(dirtied([&] { c->BackWall().Pen().SetColor(forms::clRed); }));
    EXPECT_TRUE(dirtied([&] { c->SetWidth(150); }));
    EXPECT_FALSE(dirtied([&] { c->LeftAxis().SetMaximum(c->LeftAxis().Maximum()); }));
}

TEST_F(ChartModel, CursorFollowsTheSeriesUnderTheMouse) {
    auto s = AddDriveSeries(*c, 1);
    s[0]->AppendValues(std::vector<double>(100, 40.0));
    c->LeftAxis().SetMinMax(38, 42);
    Paint();
    EXPECT_EQ(c->Cursor(), crHandPoint) << "as the program set it";
    EXPECT_EQ(c->InitialCursor(), crDefault);
    int y = s[0]->YToPixel(50), x = s[0]->XToPixel(50);
    c->MouseMove(0, x, y);
    EXPECT_EQ(c->Cursor(), crHandPoint);
    c->MouseMove(0, x, y - 20);
    EXPECT_EQ(c->Cursor(), crDefault);
    c->MouseMove(0, x, y);
    c->MouseLeave();
    EXPECT_EQ(c->Cursor(), crDefault);
    c->MouseMove(0, x, y);
    s[0]->SetActive(false);
    c->MouseMove(0, x, y);
    EXPECT_EQ(c->Cursor(), crDefault) << "inactive series are not tested";
    s[0]->SetActive(true);
    c->MouseMove(0, x, y);
    s[0]->SetParentChart(nullptr);
    EXPECT_EQ(c->Cursor(), crDefault) << "detaching the series gives the cursor back";
    delete s[0];
}

}  // namespace
