// Axes: range setters, mapping, label step and text, and what an axis draws where.
#include "ChartFixture.h"
#include <cmath>
#include <functional>

using namespace chart;

namespace {

class ChartAxis : public ChartFixture {
protected:
    void SetUp() override {
        ChartFixture::SetUp();
        series = AddDriveSeries(*c, 1)[0];
        series->AppendValues(std::vector<double>(100, 35.0));
    }
    void Range(double min, double max) {
        c->LeftAxis().SetMaximum(max);
        c->LeftAxis().SetMinimum(min);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const DrawOp& o : rec->Of(DrawOp::Text)) out.push_back(o.text);
        return out;
    }
    TLineSeries* series = nullptr;
};

using Strings = std::vector<std::string>;

TEST_F(ChartAxis, StepFiveLabelsFromTheTopWithTicksAndGridThereOnly) {
    Range(26, 44);
    Paint();
    TChartAxis& a = c->LeftAxis();
    ASSERT_EQ(a.AxisLength(), 93);
    EXPECT_EQ(rec->FontHeight(), 11);
    EXPECT_DOUBLE_EQ(a.LabelStep(), 5.0);
    EXPECT_EQ(Texts(), (Strings{"40", "35", "30"}));
    EXPECT_EQ(a.TickList(), (std::vector<int>{21, 47, 72}));
    auto texts = rec->Of(DrawOp::Text);
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].a, 18) << "right edge 7 pixels left of the axis";
        EXPECT_EQ(texts[i].b, a.TickList()[i] - 5);
        EXPECT_EQ(texts[i].horiz, thRight);
        EXPECT_EQ(texts[i].fontColor, forms::clBlue);
        EXPECT_EQ(texts[i].brushStyle, forms::bsClear);
    }
    auto blue = LinesIn(forms::clBlue);
    ASSERT_EQ(blue.size(), 4u) << "axis line and three ticks";
    EXPECT_EQ(Ends(blue[0]), (Quad{25, 0, 25, 93}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Ends(blue[i + 1]), (Quad{24, a.TickList()[i], 18, a.TickList()[i]}));
    auto green = LinesIn(forms::clGreen);
    ASSERT_EQ(green.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Ends(green[i]), (Quad{25, a.TickList()[i], 138, a.TickList()[i]}));
        EXPECT_EQ(green[i].penStyle, forms::psDot);
        EXPECT_TRUE(green[i].transparent) << "dotted gaps stay unpainted";
    }
}

TEST_F(ChartAxis, EndsOnMultiplesOfTheStepAreLabelled) {
    Range(20, 40);
    Paint();
    EXPECT_EQ(Texts(), (Strings{"40", "35", "30", "25", "20"}));
    EXPECT_EQ(c->LeftAxis().TickList(), (std::vector<int>{0, 23, 47, 70, 93}));
    EXPECT_EQ(c->LeftAxis().TickList().back(), c->PlotRect().bottom);

    c->LeftAxis().SetLabelsOnAxis(false);
    Paint();
    EXPECT_EQ(Texts(), (Strings{"35", "30", "25"}));
}

TEST_F(ChartAxis, EqualMinimumAndMaximumMapToTheCentre) {
    Range(30, 30);
    Paint();
    TChartAxis& a = c->LeftAxis();
    EXPECT_DOUBLE_EQ(a.LabelStep(), 1e-12);
    EXPECT_EQ(a.ValueToPixel(30), a.AxisCenter());
    EXPECT_EQ(a.ValueToPixel(-1000), a.AxisCenter());
    auto texts = rec->Of(DrawOp::Text);
    ASSERT_FALSE(texts.empty());
    for (const DrawOp& t : texts) {
        EXPECT_EQ(t.text, "30");
        EXPECT_EQ(t.b, a.AxisCenter() - 5);
    }
    EXPECT_EQ(series->YToPixel(0), a.AxisCenter());
}

TEST_F(ChartAxis, RangeSettersRefuseCrossedValues) {
    TChartAxis& a = c->LeftAxis();
    Range(5, 300);
    auto refusal = [](const std::function<void()>& set) {
        try {
            set();
        } catch (const AxisException& e) {
            return std::string(e.what());
        }
        return std::string("no exception");
    };
    EXPECT_EQ(refusal([&] { a.SetMaximum(4); }), "Axis Maximum Value must be >= Minimum");
    EXPECT_EQ(refusal([&] { a.SetMinimum(301); }), "Axis Minimum Value must be <= Maximum");
    EXPECT_EQ(a.Minimum(), 5);
    EXPECT_EQ(a.Maximum(), 300);
    // A range entirely below the old minimum fails on the maximum, which is set first.
    EXPECT_THROW(Range(1, 3), AxisException);
    EXPECT_EQ(a.Maximum(), 300);
    a.SetMinMax(1, 3);
    EXPECT_EQ(a.Minimum(), 1);
    EXPECT_EQ(a.Maximum(), 3);
    // While the stored configuration loads, the checks are off.
    c->BeginLoading();
    a.SetMaximum(0);
    c->Loaded();
    EXPECT_EQ(a.Maximum(), 0);
}

TEST_F(ChartAxis, AutomaticFlagsFollowEachOther) {
    TChartAxis& a = c->BottomAxis();
    EXPECT_TRUE(a.Automatic());
    a.SetAutomaticMinimum(false);
    EXPECT_FALSE(a.Automatic());
    EXPECT_TRUE(a.AutomaticMaximum());
    a.SetAutomaticMinimum(true);
    EXPECT_TRUE(a.Automatic());
    a.SetAutomatic(false);
    EXPECT_FALSE(a.AutomaticMinimum());
    EXPECT_FALSE(a.AutomaticMaximum());
}

TEST_F(ChartAxis, BottomAxisSpansTheHistoryFromTwoToNinetyEightPercent) {
    Range(30, 40);
    Paint();
    TChartAxis& b = c->BottomAxis();
    EXPECT_EQ(b.ScaleMin(), 0);
    EXPECT_EQ(b.ScaleMax(), 99);
    int w = c->PlotWidth();
    EXPECT_EQ(series->XToPixel(0), c->PlotRect().left + static_cast<int>(std::lrint(w * 0.02)));
    EXPECT_EQ(series->XToPixel(99), c->PlotRect().left + static_cast<int>(std::lrint(w * 0.98)));
    EXPECT_EQ(b.TickList().size(), 0u) << "no labels, so no ticks and no grid";
    EXPECT_NEAR(b.PixelToValue(series->XToPixel(40)), 40, 0.5);
    EXPECT_EQ(c->LeftAxis().PixelToValue(c->LeftAxis().AxisEnd()), 30);
    c->LeftAxis().SetInverted(true);
    Paint();
    EXPECT_EQ(c->LeftAxis().ValueToPixel(30), c->LeftAxis().AxisStart());
}

TEST_F(ChartAxis, MinorMarksOnlyWithAMinorCount) {
    Range(26, 44);
    Paint();
    EXPECT_EQ(LinesIn(forms::clGreen).size(), 3u) << "minor grid visible but count 0";
    c->LeftAxis().SetMinorTickCount(1);
    Paint();
    auto green = LinesIn(forms::clGreen);
    ASSERT_EQ(green.size(), 7u);
    std::vector<int> minor;
    for (size_t i = 3; i < green.size(); ++i) minor.push_back(green[i].b);
    EXPECT_EQ(minor, (std::vector<int>{34, 60, 8, 85}));
    auto blue = LinesIn(forms::clBlue);
    ASSERT_EQ(blue.size(), 8u) << "axis, three ticks, four minor ticks";
    EXPECT_EQ(blue[4].a, 24);
    EXPECT_EQ(blue[4].c, 21) << "3 pixels long";
}

TEST_F(ChartAxis, GridPenVariants) {
    Range(26, 44);
    c->LeftAxis().Grid().SetColor(clDefault);
    Paint();
    EXPECT_EQ(LinesIn(forms::clGray).size(), 3u) << "a default grid colour is gray";
    c->LeftAxis().Grid().SetSmallDots(true);
    Paint();
    auto gray = LinesIn(forms::clGray);
    ASSERT_EQ(gray.size(), 3u);
    EXPECT_TRUE(gray[0].smallDots);
    c->LeftAxis().Grid().SetVisible(false);
    Paint();
    EXPECT_TRUE(LinesIn(forms::clGray).empty());
    EXPECT_EQ(LinesIn(forms::clBlue).size(), 4u) << "ticks stay";
}

TEST_F(ChartAxis, LabelCountIsBounded) {
    c->LeftAxis().SetLabelsSeparation(0);  // no step search: one label per unit
    Range(0, 5000);
    Paint();
    EXPECT_EQ(rec->Of(DrawOp::Text).size(), 5001u);
    EXPECT_EQ(c->LeftAxis().TickList().size(), TChartAxis::MaxTicks);
    Range(0, 20000);
    Paint();
    EXPECT_TRUE(rec->Of(DrawOp::Text).empty()) << "10000 labels or more: none";
    EXPECT_TRUE(c->LeftAxis().TickList().empty());
}

TEST_F(ChartAxis, AStepBelowTheValuesPrecisionStillEnds) {
    // Near 1e17 doubles lie 16 apart: the rounded first label lands above the maximum, and
    // taking 0.3 off no longer changes it.
    c->LeftAxis().SetLabelsSeparation(0);
    c->LeftAxis().SetIncrement(0.3);
    Range(1e17 - 16, 1e17);
    ASSERT_GT(std::trunc(1e17 / 0.3) * 0.3, 1e17);
    Paint();
    auto texts = rec->Of(DrawOp::Text);
    ASSERT_FALSE(texts.empty());
    EXPECT_LE(texts.size(), 2u);
    for (const DrawOp& t : texts) EXPECT_GE(t.b + 5, c->LeftAxis().AxisStart()) << "no label above the axis";
}

TEST_F(ChartAxis, LabelTextUsesTheFormatAndSeparators) {
    const std::pair<double, const char*> plain[] = {{1234.5, "1,234.5"}, {30, "30"}, {2.5, "2.5"},
        {-1234567.0001, "-1,234,567"}, {0.12345, "0.123"}, {-0.0001, "0"}};
    for (auto [v, text] : plain) EXPECT_EQ(FormatFloat("#,##0.###", v, ',', '.'), text) << v;
    EXPECT_EQ(FormatFloat("#,##0.###", 1234.5, '\xA0', ','), "1\xA0" "234,5");
    EXPECT_EQ(FormatFloat("##0.## %", 0.5, ',', '.'), "50 %");
    char dec[8] = ".";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, dec, sizeof dec);
    EXPECT_EQ(c->LeftAxis().LabelText(2.5), std::string("2") + dec[0] + "5");
    EXPECT_EQ(c->LeftAxis().LabelText(30), "30");
}

TEST_F(ChartAxis, NiceStepsRunOneTwoFive) {
    const std::pair<double, double> steps[] = {{1, 2}, {2, 5}, {5, 10}, {10, 20}, {50, 100}, {0.5, 1}, {0.2, 0.5}};
    for (auto [from, next] : steps) EXPECT_DOUBLE_EQ(NextNiceStep(from), next) << from;
    EXPECT_EQ(NextNiceStep(0), 0) << "no successor: callers stop";
    // A huge range still finds a step and draws a bounded number of labels.
    Range(-1e300, 1e300);
    Paint();
    EXPECT_LE(rec->Of(DrawOp::Text).size(), 9u);
    EXPECT_FALSE(rec->Dirty());
}

}  // namespace
