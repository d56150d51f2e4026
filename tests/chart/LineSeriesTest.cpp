// Value lists and line series: storage, statistics, colours, drawing and hit testing.
#include "ChartFixture.h"

using namespace chart;

namespace {

std::vector<double> Values(const TChartValueList& v) {
    std::vector<double> out;
    for (int i = 0; i < v.Count(); ++i) out.push_back(v[i]);
    return out;
}

class LineSeries : public ChartFixture {
protected:
    void SetUp() override {
        ChartFixture::SetUp();
        s = AddDriveSeries(*c, 1)[0];
        c->LeftAxis().SetMaximum(50);
        c->LeftAxis().SetMinimum(30);
    }
    std::vector<DrawOp> SeriesLines() const {
        // The series draws between its clip and unclip.
        std::vector<DrawOp> out;
        bool in = false;
        for (const DrawOp& o : rec->ops) {
            if (o.kind == DrawOp::Clip) in = true;
            else if (o.kind == DrawOp::Unclip) in = false;
            else if (in && o.kind == DrawOp::Line) out.push_back(o);
        }
        return out;
    }
    TLineSeries* s = nullptr;
};

TEST(ValueList, OrderedInsertKeepsEqualValuesInArrivalOrder) {
    TChartValueList asc(nullptr, "X", loAscending);
    EXPECT_EQ(asc.AddOrdered(5), 0);
    EXPECT_EQ(asc.AddOrdered(3), 0);
    EXPECT_EQ(asc.AddOrdered(5), 2);
    EXPECT_EQ(asc.AddOrdered(4), 1);
    EXPECT_EQ(asc.AddOrdered(3), 1) << "after the existing 3";
    EXPECT_EQ(Values(asc), (std::vector<double>{3, 3, 4, 5, 5}));

    TChartValueList desc(nullptr, "X", loDescending);
    desc.AddOrdered(1);
    desc.AddOrdered(3);
    EXPECT_EQ(desc.AddOrdered(2), 1);
    EXPECT_EQ(desc.AddOrdered(3), 1);
    EXPECT_EQ(Values(desc), (std::vector<double>{3, 3, 2, 1}));

    TChartValueList none(nullptr, "Y", loNone);
    none.AddOrdered(5);
    EXPECT_EQ(none.AddOrdered(1), 1);
}

TEST(ValueList, StatisticsAreCachedUntilAChange) {
    TChartValueList v(nullptr, "Y", loNone);
    EXPECT_EQ(v.MinValue(), 0);
    EXPECT_EQ(v.MaxValue(), 0);
    for (double x : {3.0, -7.0, 10.0, 2.0}) v.AddOrdered(x);
    EXPECT_TRUE(v.StatsDirty());
    EXPECT_EQ(v.MinValue(), -7);
    EXPECT_FALSE(v.StatsDirty());
    EXPECT_EQ(v.MaxValue(), 10);
    EXPECT_EQ(v.Total(), 8);
    EXPECT_EQ(v.TotalABS(), 22);
    v.Delete(2);
    EXPECT_TRUE(v.StatsDirty());
    EXPECT_EQ(v.MaxValue(), 3);
    v.SetMultiplier(2);
    EXPECT_EQ(v.MinValue(), -14);
    EXPECT_EQ(v[0], 6);
    v.Clear();
    EXPECT_EQ(v.Count(), 0);
    EXPECT_EQ(v.Total(), 0);
}

TEST_F(LineSeries, RefillGivesHundredPointsAtAutomaticX) {
    s->ClearPoints();
    EXPECT_EQ(s->MinY(), 0);
    EXPECT_EQ(s->MaxY(), 0);
    EXPECT_EQ(s->AppendValues(std::vector<double>(100, 35.0)), 100);
    ASSERT_EQ(s->PointCount(), 100);
    EXPECT_EQ(s->XValues()[0], 0);
    EXPECT_EQ(s->XValues()[99], 99);
    EXPECT_EQ(s->MinY(), 35);
    EXPECT_EQ(s->MaxY(), 35);
    Paint();
    auto lines = SeriesLines();
    ASSERT_FALSE(lines.empty());
    for (const DrawOp& l : lines) EXPECT_EQ(l.b, l.d) << "horizontal";
    EXPECT_EQ(lines.front().a, s->XToPixel(0));
    EXPECT_EQ(lines.back().c, s->XToPixel(99));
}

TEST_F(LineSeries, AppendInsertsInXOrderAndRefusalChangesNothing) {
    EXPECT_EQ(s->AppendXY(2, 40), 0);
    EXPECT_EQ(s->AppendXY(1, 41, "one", forms::clNavy), 0);
    EXPECT_EQ(s->AppendXY(2, 42), 2) << "equal X goes after the existing one";
    EXPECT_EQ(Values(s->YValues()), (std::vector<double>{41, 40, 42}));
    EXPECT_EQ(s->PointLabel(0), std::optional<std::string>("one"));
    EXPECT_EQ(s->PointColor(0), forms::clNavy);
    EXPECT_EQ(s->PointColor(1), forms::clRed);
    int afterAdds = 0;
    s->OnAfterAdd = [&](TChartSeries*, int) { ++afterAdds; };
    s->OnBeforeAdd = [](TChartSeries* x) { return x->YValues().TempValue < 100; };
    EXPECT_EQ(s->AppendY(100), -1);
    EXPECT_EQ(s->PointCount(), 3);
    EXPECT_EQ(s->AppendY(44), 3);
    EXPECT_EQ(s->XValues()[3], 3);
    EXPECT_EQ(afterAdds, 1);
    s->DeletePoint(0);
    EXPECT_EQ(s->PointCount(), 3);
    s->DeletePoint(3);
    s->DeletePoint(-1);
    EXPECT_EQ(s->PointCount(), 3) << "no such point";
    EXPECT_EQ(s->PointLabel(0), std::nullopt);
    EXPECT_EQ(s->MaxY(), 44);
    bool cleared = false;
    s->OnClearValues = [&](TChartSeries*) { cleared = true; };
    s->ClearPoints();
    EXPECT_TRUE(cleared);
    EXPECT_EQ(s->PointCount(), 0);
    Paint();
    EXPECT_TRUE(SeriesLines().empty()) << "an empty series draws nothing";
    EXPECT_EQ(s->SeriesColor(), forms::clRed);
}

TEST_F(LineSeries, PointColourRules) {
    s->AppendY(40);
    s->AppendY(40, std::nullopt, forms::clLime);
    s->AppendNull();
    EXPECT_EQ(s->PointColor(0), forms::clRed);
    EXPECT_EQ(s->PointColor(1), forms::clLime);
    EXPECT_TRUE(s->IsNull(2));
    EXPECT_EQ(s->PointColor(7), forms::clRed) << "beyond the colour list";
    s->SetColorEachPoint(true);
    EXPECT_EQ(s->PointColor(0), SeriesPalette[0]);
    EXPECT_EQ(s->PointColor(1), forms::clLime);
    EXPECT_EQ(PaletteColor(17), SeriesPalette[1]);
}

TEST_F(LineSeries, MultiplierDoublesStatisticsAndDrawing) {
    s->AppendValues(std::vector<double>{10, 20, 15});
    Paint();
    const int plain = s->YToPixel(1);
    EXPECT_EQ(plain, c->LeftAxis().ValueToPixel(20));
    s->YValues().SetMultiplier(2.0);
    EXPECT_EQ(s->MinY(), 20);
    EXPECT_EQ(s->MaxY(), 40);
    Paint();
    EXPECT_EQ(s->YToPixel(1), c->LeftAxis().ValueToPixel(40));
    EXPECT_NE(s->YToPixel(1), plain);
    auto lines = SeriesLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].d, c->LeftAxis().ValueToPixel(40));
}

TEST_F(LineSeries, LineUsesSeriesColourAndPenWidth) {
    s->AppendValues(std::vector<double>{35, 45, 40});
    Paint();
    auto lines = SeriesLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(s->LinePen().Color(), forms::clBlack);
    for (const DrawOp& l : lines) {
        EXPECT_EQ(l.penColor, forms::clRed);
        EXPECT_EQ(l.penWidth, 2);
        EXPECT_EQ(l.brushStyle, forms::bsClear);
    }
    EXPECT_EQ(Ends(lines[0]), (Quad{s->XToPixel(0), s->YToPixel(0), s->XToPixel(1), s->YToPixel(1)}));
    EXPECT_EQ(lines[1].a, s->XToPixel(1)); EXPECT_EQ(lines[1].d, s->YToPixel(2));

    s->LinePen().SetVisible(false);
    Paint();
    EXPECT_TRUE(SeriesLines().empty());
    s->LinePen().SetVisible(true);
    s->SetStairs(true);
    Paint();
    lines = SeriesLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].b, lines[0].d) << "across first";
    EXPECT_EQ(lines[1].a, lines[1].c) << "then up or down";
}

TEST_F(LineSeries, NullPointsBreakTheLine) {
    s->AppendY(35);
    s->AppendY(36);
    s->AppendNull();
    s->AppendY(38);
    s->AppendY(39);
    Paint();
    auto lines = SeriesLines();
    ASSERT_EQ(lines.size(), 2u);
    int nx = s->XToPixel(2);
    for (const DrawOp& l : lines) {
        EXPECT_NE(l.a, nx);
        EXPECT_NE(l.c, nx);
    }
    EXPECT_EQ(lines[0].c, s->XToPixel(1));
    EXPECT_EQ(lines[1].a, s->XToPixel(3));
}

TEST_F(LineSeries, PointsOnOnePixelAndFarOffPointsDrawNoSegment) {
    s->AppendXY(0, 40);
    s->AppendXY(0.001, 40);  // the same pixel as the first
    s->AppendXY(99, 40);
    Paint();
    auto lines = SeriesLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].a, s->XToPixel(0));

    s->ClearPoints();
    s->AppendY(40);
    s->AppendY(9000);  // some 40000 pixels off: skipped
    s->AppendY(41);
    s->AppendXY(99, 40);
    Paint();
    lines = SeriesLines();
    for (const DrawOp& l : lines) {
        EXPECT_GT(l.b, -32767); EXPECT_LT(l.b, 32767);
        EXPECT_GT(l.d, -32767); EXPECT_LT(l.d, 32767);
    }
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].a, s->XToPixel(0)) << "the line goes on from the last drawn point";
    EXPECT_EQ(lines[0].c, s->XToPixel(2));
}

TEST_F(LineSeries, LineEntersFromTheEdgeWhenEarlierPointsAreOffThePlot) {
    c->BottomAxis().SetAutomatic(false);
    c->BottomAxis().SetMaximum(10);
    c->BottomAxis().SetMinimum(4);
    for (int i = 0; i <= 10; ++i) s->AppendXY(i, 30 + 2 * i);
    Paint();
    EXPECT_EQ(s->FirstShown(), 4);
    EXPECT_EQ(s->LastShown(), 10);
    auto lines = SeriesLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].a, c->PlotRect().left);
    EXPECT_EQ(lines[0].c, s->XToPixel(4));
}

TEST_F(LineSeries, HitTestFindsSegmentsAndPoints) {
    EXPECT_EQ(s->HitTest(10, 10), -1) << "nothing drawn yet";
    s->AppendXY(0, 40);
    s->AppendXY(99, 40);
    s->AppendXY(99.5, 50);
    Paint();
    int y = s->YToPixel(0);
    int mid = (s->XToPixel(0) + s->XToPixel(1)) / 2;
    EXPECT_EQ(s->HitTest(mid, y), 0);
    EXPECT_EQ(s->HitTest(s->XToPixel(0), y), 0) << "on the point itself";
    EXPECT_EQ(s->HitTest(mid, y - 3), -1);
    EXPECT_EQ(s->HitTest(mid, y + 3), -1);
    EXPECT_EQ(s->HitTest(s->XToPixel(0) - 2, y), -1) << "before the first point";
    EXPECT_EQ(s->HitTest(s->XToPixel(2), s->YToPixel(2)), 2);
    s->ClickableLine = false;
    EXPECT_EQ(s->HitTest(mid, y), -1);
}

}  // namespace
