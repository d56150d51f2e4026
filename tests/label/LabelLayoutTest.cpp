// How big a label makes itself and where its text goes, for each direction and alignment.
#include "LabelTestSupport.h"

using namespace label;
using namespace labeltest;

namespace {

const std::string kLong = "Temperature of the first hard disk drive";
constexpr COLORREF kFill = RGB(0, 0, 128);
constexpr COLORREF kFace = RGB(255, 255, 0);

SIZE CaptionExtent(TOutlinedLabel& l) {
    forms::MemoryDC dc;
    forms::SelectScope select(dc.get(), l.DrawFont());
    SIZE s{};
    GetTextExtentPoint32A(dc.get(), l.Caption().data(), static_cast<int>(l.Caption().size()), &s);
    return s;
}

class LabelLayout : public LabelTest {};

TEST_F(LabelLayout, AutoSizeFitsTheCaptionWithOutlineAndShadow) {
    struct Case {
        TTextStyle style;
        bool delineated;
        int depth;
        int extra;  // beyond the bare caption's size
    };
    const Case cases[] = {
        {fstRaised, false, 2, 0}, {fstRaised, true, 2, 2},    {fstShadow, false, 2, 2},
        {fstShadow, true, 5, 7},  {fstVolumetric, false, 3, 3}, {fstRaised, false, 9, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " depth " << c.depth);
        auto* l = MakeLabel(kLong, c.delineated ? TLabelOptions(floDelineatedText) : 0u);
        l->TextStyles().SetPassive(c.style);
        l->Illumination().SetShadowDepth(c.depth);
        SIZE s = CaptionExtent(*l);
        ASSERT_GE(s.cx, 200);  // so the 1 % allowance counts
        Render(*l, kFill);
        EXPECT_EQ(l->Width(), s.cx + s.cx / 100 + 2 + c.extra);
        EXPECT_EQ(l->Height(), s.cy + 2 + c.extra);
        delete l;
    }
}

TEST_F(LabelLayout, VerticalDirectionsSwapWidthAndHeight) {
    auto* l = MakeLabel(kLong, floDelineatedText);
    SIZE s = CaptionExtent(*l);  // the escapement does not change the measured extent
    const int w = s.cx + s.cx / 100 + 4, h = s.cy + 4;
    for (TLabelDir dir : {fldLeftRight, fldUpDown, fldRightLeft, fldDownUp}) {
        l->SetDirection(dir);
        Render(*l, kFill, 300, 300);
        bool vertical = dir == fldUpDown || dir == fldDownUp;
        EXPECT_EQ(l->Width(), vertical ? h : w) << dir;
        EXPECT_EQ(l->Height(), vertical ? w : h) << dir;
    }
}

TEST_F(LabelLayout, SizeStaysWithoutAutoSizeOrWhenAligned) {
    auto* fixed = MakeLabel(kLong);
    fixed->SetAutoSize(false);
    auto* aligned = MakeLabel(kLong);
    aligned->Align = alTop;
    for (TOutlinedLabel* l : {fixed, aligned}) {
        Render(*l, kFill);
        EXPECT_EQ(l->Width(), 100);
        EXPECT_EQ(l->Height(), 16);
    }
}

TEST_F(LabelLayout, EscapementFollowsTheDirection) {
    auto* l = MakeLabel("x");
    const std::pair<TLabelDir, int> cases[] = {{fldLeftRight, 0}, {fldRightLeft, -1800}, {fldUpDown, -900}, {fldDownUp, 900}};
    for (auto [dir, escapement] : cases) {
        l->SetDirection(dir);
        LOGFONTA lf{};
        ASSERT_TRUE(GetObjectA(l->DrawFont(), sizeof(lf), &lf));
        EXPECT_EQ(lf.lfEscapement, escapement);
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
        EXPECT_STREQ(lf.lfFaceName, "Arial");
    }
    l->Font().SetStyle(forms::fsItalic);
    LOGFONTA lf{};
    GetObjectA(l->DrawFont(), sizeof(lf), &lf);
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_TRUE(lf.lfItalic);
}

// The text origin for each direction and alignment, in a label of 300 × 300 that keeps its size.
TEST_F(LabelLayout, TextGoesWhereDirectionAndAlignmentPutIt) {
    auto* l = MakeLabel("Disk 1");
    l->TextStyles().SetPassive(fstNone);
    l->Colors().SetText(kFace);
    SIZE s = CaptionExtent(*l);
    const int w = s.cx + s.cx / 100 + 2, h = s.cy + 2;  // fstNone, no outline: W = W0, H = H0
    struct Case {
        TLabelDir dir;
        TAlignment align;
        POINT origin;
    };
    const int side = 300;
    const Case cases[] = {
        {fldLeftRight, taLeftJustify, {0, 0}},
        {fldLeftRight, taRightJustify, {side - w, 0}},
        {fldLeftRight, taCenter, {(side - w) / 2, 0}},
        {fldRightLeft, taLeftJustify, {side - 2, h}},
        {fldRightLeft, taRightJustify, {w, h}},
        {fldRightLeft, taCenter, {(side + w) / 2, h}},
        {fldUpDown, taLeftJustify, {h, 1}},
        {fldUpDown, taRightJustify, {h, side - w}},
        {fldUpDown, taCenter, {h, (side - w) / 2}},
        {fldDownUp, taLeftJustify, {0, side - 2}},
        {fldDownUp, taRightJustify, {0, w - 4}},
        {fldDownUp, taCenter, {0, (side + w) / 2}},
    };
    l->SetAutoSize(false);
    l->SetBounds(0, 0, side, side);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "direction " << c.dir << " alignment " << c.align);
        l->SetDirection(c.dir);
        l->SetAlignment(c.align);
        auto b = Render(*l, kFill, side, side);
        TextShape shape(l->DrawFont(), l->Caption());
        RECT area{0, 0, side, side};
        EXPECT_TRUE(LayersMatch(*b, shape, c.origin, {{0, 0, kFace}}, Uniform(kFill), area));
        // None of it cut off; but reading upwards and right-justified, the text's end sits two
        // pixels above the top edge, as the origin rule for that case has it.
        if (c.dir != fldDownUp || c.align != taRightJustify) {
            EXPECT_EQ(shape.SolidCountIn(area, c.origin), shape.SolidCount());
        }
    }
}

// With AutoSize the turned text fits the label it sized.
TEST_F(LabelLayout, AutoSizedTextIsNotCutOffInAnyDirection) {
    auto* l = MakeLabel("Disk 1 - 45\xB0" "C", floDelineatedText);
    l->TextStyles().SetPassive(fstNone);
    l->Colors().SetText(kFace);
    for (TLabelDir dir : {fldLeftRight, fldRightLeft, fldUpDown, fldDownUp}) {
        SCOPED_TRACE(testing::Message() << "direction " << dir);
        l->SetDirection(dir);
        auto b = Render(*l, kFill, 300, 300);
        int faces = 0;
        for (int y = 0; y < l->Height(); ++y)
            for (int x = 0; x < l->Width(); ++x) faces += PixelAt(*b, x, y) == kFace;
        EXPECT_GE(faces, TextShape(l->DrawFont(), l->Caption()).SolidCount());
    }
}

}  // namespace
