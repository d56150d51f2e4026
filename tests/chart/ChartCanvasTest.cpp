// The chart canvas when the system cannot make a pen, brush or font (out of GDI resources):
// the object in use stays selected and owned, and nothing is deleted while still selected.
#include "chart/ChartCanvas.h"
#include "forms/Gdi.h"
#include <gtest/gtest.h>
#include <functional>

using namespace chart;

namespace {

class FailingCanvas : public TChartCanvas {
public:
    bool failing = false;
    using TChartCanvas::DC;

protected:
    HPEN MakePen(TColor color, int width, forms::TPenStyle style, bool smallDots) override {
        return failing ? nullptr : TChartCanvas::MakePen(color, width, style, smallDots);
    }
    HBRUSH MakeBrush(TColor color, forms::TBrushStyle style) override {
        return failing ? nullptr : TChartCanvas::MakeBrush(color, style);
    }
    HFONT MakeFont(const LOGFONTA& font) override { return failing ? nullptr : TChartCanvas::MakeFont(font); }
};

void Draw(TChartCanvas& c, TColor color) {
    c.SetPen(color, 1, forms::psSolid, forms::pmCopy);
    c.Line(0, 0, 5, 5);
}
void Fill(TChartCanvas& c, TColor color) {
    c.SetBrush(color, forms::bsSolid);
    c.FillRect({0, 0, 5, 5});
}
// Each size is another font; the canvas keeps a few of them.
void Write(TChartCanvas& c, int size) {
    forms::TFont f;
    f.SetSize(size);
    c.SetFont(f);
    c.TextOut(0, 0, "40");
}

TEST(ChartCanvasFailure, TheObjectInUseStaysSelectedAndCounted) {
    struct Case {
        const char* what;
        UINT kind;
        std::function<void(TChartCanvas&)> before, failing;
    };
    const std::vector<Case> cases = {
        {"pen", OBJ_PEN, [](TChartCanvas& c) { Draw(c, forms::clRed); }, [](TChartCanvas& c) { Draw(c, forms::clBlue); }},
        {"brush", OBJ_BRUSH, [](TChartCanvas& c) { Fill(c, forms::clRed); }, [](TChartCanvas& c) { Fill(c, forms::clBlue); }},
        // Four fonts fill the cache; the first is in use again when a fifth cannot be made.
        {"font", OBJ_FONT,
         [](TChartCanvas& c) {
             for (int size : {8, 9, 10, 11, 8}) Write(c, size);
         },
         [](TChartCanvas& c) { Write(c, 12); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const long base = forms::gdi::LiveObjects();
        {
            FailingCanvas c;
            c.BeginPaint(20, 20);
            k.before(c);
            const HGDIOBJ inUse = GetCurrentObject(c.DC(), k.kind);
            const long live = forms::gdi::LiveObjects();
            c.failing = true;
            k.failing(c);
            EXPECT_EQ(GetCurrentObject(c.DC(), k.kind), inUse);
            EXPECT_EQ(forms::gdi::LiveObjects(), live) << "an object still in use was deleted";
            // Once the system can again, the canvas gets its object.
            c.failing = false;
            k.failing(c);
            EXPECT_NE(GetCurrentObject(c.DC(), k.kind), inUse);
        }
        EXPECT_EQ(forms::gdi::LiveObjects(), base) << "left behind";
    }
}

}  // namespace
