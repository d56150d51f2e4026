// What a painted label puts on its parent's surface: the copies of its text for each relief
// style, backgrounds, gradients, textures and see-through text.
#include "LabelTestSupport.h"
#include "forms/Image.h"
#include "label/LabelDraw.h"

using namespace label;
using namespace labeltest;

namespace {

constexpr COLORREF kFill = RGB(0, 0, 128);  // what the parent already shows

RECT Area(const TOutlinedLabel& l) { return {0, 0, l.Width(), l.Height()}; }

class LabelPaint : public LabelTest {};

TEST_F(LabelPaint, ReliefInTheColourKeyLeavesOnlyOutlineAndFace) {
    TOutlinedLabel* l = ProgramLabel(kCaption);
    l->Colors().SetHighlight(forms::clPurple);
    l->Colors().SetShadow(forms::clPurple);
    auto b = Render(*l, forms::clPurple);
    TextShape shape(l->DrawFont(), kCaption);
    EXPECT_TRUE(LayersMatch(*b, shape, {0, 0},
                            {{0, 0, forms::clPurple}, {4, 4, forms::clPurple}, {1, 1, kOutline}, {3, 3, kOutline},
                             {1, 3, kOutline}, {3, 1, kOutline}, {2, 2, kFace}},
                            Uniform(forms::clPurple), Area(*l)));
}

TEST_F(LabelPaint, EachReliefStyleDrawsItsCopies) {
    struct Case {
        TTextStyle style;
        bool delineated;
        std::vector<Layer> layers;
    };
    const std::vector<Case> cases = {
        {fstNone, false, {{0, 0, kFace}}},
        {fstNone, true, {{0, 0, kOutline}, {2, 2, kOutline}, {0, 2, kOutline}, {2, 0, kOutline}, {1, 1, kFace}}},
        {fstRaised, false, {{0, 0, kHighlight}, {2, 2, kShadow}, {1, 1, kFace}}},
        {fstRaised, true, kRaised},
        {fstRecessed, false, {{0, 0, kShadow}, {2, 2, kHighlight}, {1, 1, kFace}}},
        {fstRecessed, true, {{0, 0, kShadow}, {4, 4, kHighlight}, {1, 1, kOutline}, {3, 3, kOutline},
                             {1, 3, kOutline}, {3, 1, kOutline}, {2, 2, kFace}}},
        {fstPushed, true, {{1, 1, kHighlight}, {0, 0, kShadow}}},
        {fstShadow, false, {{2, 2, kShadow}, {0, 0, kFace}}},              // g 0 + depth 2
        {fstShadow, true, {{3, 3, kShadow}, {0, 0, kOutline}, {2, 2, kOutline}, {0, 2, kOutline},
                           {2, 0, kOutline}, {1, 1, kFace}}},              // g 1 + depth 2
        {fstVolumetric, false, {{1, 1, kShadow}, {2, 2, kShadow}, {0, 0, kFace}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << (c.delineated ? " delineated" : ""));
        auto* l = MakeLabel(kCaption, c.delineated ? TLabelOptions(floDelineatedText) : 0u);
        SetColours(l)->TextStyles().SetPassive(c.style);
        auto b = Render(*l, kFill);
        EXPECT_TRUE(LayersMatch(*b, TextShape(l->DrawFont(), kCaption), {0, 0}, c.layers, Uniform(kFill), Area(*l)));
        delete l;
    }
}

TEST_F(LabelPaint, EmptyCaptionDrawsNothingNotEvenTheBackground) {
    for (TLabelOptions options : {0u, unsigned(floBufferedDraw), unsigned(floTransparentFont)}) {
        auto* l = MakeLabel("", options);
        l->SetTransparent(false);
        l->Colors().SetBackground(forms::clYellow);
        auto b = Render(*l, kFill);
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x) ASSERT_EQ(PixelAt(*b, x, y), kFill) << x << "," << y;
        delete l;
    }
}

TEST_F(LabelPaint, OpaqueLabelFillsItsRectangleFirst) {
    for (TLabelOptions options : {0u, unsigned(floBufferedDraw)}) {
        TOutlinedLabel* l = ProgramLabel(kCaption);
        l->SetOptions(l->Options() | options);
        l->SetTransparent(false);
        l->Colors().SetBackground(forms::clYellow);
        auto b = Render(*l, kFill);
        EXPECT_TRUE(LayersMatch(*b, TextShape(l->DrawFont(), kCaption), {0, 0}, kRaised, Uniform(forms::clYellow),
                                Area(*l)));
        EXPECT_EQ(PixelAt(*b, l->Width(), 0), kFill);  // nothing beyond the label
        delete l;
    }
}

TEST_F(LabelPaint, DisabledLabelDrawsItsDisabledStyleWithoutTheGradient) {
    struct Case {
        TTextStyle style;
        TLabelOptions options;
        std::vector<Layer> layers;
    };
    const std::vector<Case> cases = {
        {fstPushed, floDelineatedText, {{1, 1, kHighlight}, {0, 0, kShadow}}},
        {fstNone, 0u, {{0, 0, kFace}}},  // a style with a face, which the gradient could fill
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style);
        auto* l = SetColours(MakeLabel(kCaption, c.options));
        l->TextStyles().SetDisabled(c.style);
        l->Colors().SetTextDisabled(kFace);
        l->Gradient().SetFromColor(forms::clRed);
        l->Gradient().SetToColor(forms::clRed);
        l->Gradient().SetActive(c.style == fstNone);
        l->SetEnabled(false);
        auto b = Render(*l, kFill);
        EXPECT_TRUE(LayersMatch(*b, TextShape(l->DrawFont(), kCaption), {0, 0}, c.layers, Uniform(kFill), Area(*l)));
        delete l;
    }
}

TEST_F(LabelPaint, GradientRunsDownTheFaceAndStopsAtPercentFilling) {
    auto* l = MakeLabel(kCaption);
    l->TextStyles().SetPassive(fstNone);
    l->Gradient().SetFromColor(RGB(0, 0, 0));
    l->Gradient().SetToColor(RGB(255, 0, 0));
    l->Gradient().SetActive(true);
    TextShape shape(l->DrawFont(), kCaption);
    {
        auto b = Render(*l, kFill);
        const int span = l->Height();
        int checked = 0;
        for (int y = 0; y < l->Height(); ++y)
            for (int x = 0; x < l->Width(); ++x) {
                if (shape.At(x, y) != TextShape::solid) continue;
                int want = 255 * y / span;
                COLORREF got = PixelAt(*b, x, y);
                ASSERT_NEAR(GetRValue(got), want, 1) << x << "," << y;
                ASSERT_EQ(got & 0xFFFF00, 0u);
                ++checked;
            }
        EXPECT_GT(checked, 20);
    }
    // Half filled: rows 0 … MulDiv(span, 50, 100) only.
    l->Gradient().SetToColor(RGB(0, 0, 0));
    l->Gradient().SetPercentFilling(50);
    auto b = Render(*l, kFill);
    const int last = MulDiv(l->Height(), 50, 100);
    EXPECT_TRUE(LayersMatch(*b, shape, {0, 0}, {{0, 0, RGB(0, 0, 0)}}, Uniform(kFill), {0, 0, l->Width(), last + 1}));
    EXPECT_TRUE(LayersMatch(*b, shape, {0, 0}, {}, Uniform(kFill), {0, last + 1, l->Width(), l->Height()}));
}

TEST_F(LabelPaint, VerticalGradientFillsColumnsFromTheLeft) {
    auto* l = MakeLabel(kCaption);
    l->TextStyles().SetPassive(fstNone);
    l->Gradient().SetFromColor(forms::clLime);
    l->Gradient().SetToColor(forms::clLime);
    l->Gradient().SetOrientation(fgdVertical);
    l->Gradient().SetPercentFilling(50);
    l->Gradient().SetActive(true);
    auto b = Render(*l, kFill);
    const int last = MulDiv(l->Width(), 50, 100);
    TextShape shape(l->DrawFont(), kCaption);
    EXPECT_TRUE(LayersMatch(*b, shape, {0, 0}, {{0, 0, forms::clLime}}, Uniform(kFill), {0, 0, last + 1, l->Height()}));
    EXPECT_TRUE(LayersMatch(*b, shape, {0, 0}, {}, Uniform(kFill), {last + 1, 0, l->Width(), l->Height()}));
}

TEST_F(LabelPaint, GradientIsLeftOutWhileAnotherHoverFaceShows) {
    auto* l = MakeLabel(kCaption);
    l->TextStyles().SetPassive(fstNone);
    l->TextStyles().SetActive(fstNone);
    l->Colors().SetTextActive(kFace);
    l->Gradient().SetFromColor(forms::clRed);
    l->Gradient().SetToColor(forms::clRed);
    l->Gradient().SetActive(true);
    l->EnterActive();
    ASSERT_TRUE(l->MouseActive());
    auto b = Render(*l, kFill);
    EXPECT_TRUE(LayersMatch(*b, TextShape(l->DrawFont(), kCaption), {0, 0}, {{0, 0, kFace}}, Uniform(kFill), Area(*l)));
    EXPECT_TRUE(l->Gradient().Active());  // switched off for that paint only
}

TEST_F(LabelPaint, BackgroundPictureIsTiledUnderTheText) {
    auto* l = MakeLabel(kCaption);
    l->TextStyles().SetPassive(fstNone);
    l->Colors().SetText(kFace);
    forms::TBitmap tile(3, 2);
    const COLORREF colours[2][3] = {{RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90)},
                                    {RGB(100, 110, 120), RGB(130, 140, 150), RGB(160, 170, 180)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) SetPixel(tile.Canvas().Handle(), x, y, colours[y][x]);
    l->SetBackground(&tile);
    auto b = Render(*l, kFill);
    EXPECT_TRUE(LayersMatch(*b, TextShape(l->DrawFont(), kCaption), {0, 0}, {{0, 0, kFace}},
                            [&](int x, int y) { return colours[y % 2][x % 3]; }, Area(*l)));
}

TEST_F(LabelPaint, TextureShowsThroughTheFace) {
    forms::TBitmap checker(2, 2);
    HDC dc = checker.Canvas().Handle();
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    SetPixel(dc, 1, 1, RGB(255, 0, 0));
    SetPixel(dc, 1, 0, RGB(0, 255, 0));
    SetPixel(dc, 0, 1, RGB(0, 255, 0));
    const ColorAt texel = [](int x, int y) { return (x + y) % 2 ? RGB(0, 255, 0) : RGB(255, 0, 0); };
    // The texture lands exactly on the face, whichever offset the style gives the face; around
    // the text the parent's black stays.
    struct Case {
        TTextStyle style;
        bool delineated;
        std::vector<Layer> layers;
    };
    const std::vector<Case> cases = {
        {fstNone, false, {{0, 0, 0, false, texel}}},
        {fstRaised, true, {{0, 0, kHighlight}, {4, 4, kShadow}, {1, 1, kOutline}, {3, 3, kOutline},
                           {1, 3, kOutline}, {3, 1, kOutline}, {2, 2, 0, false, texel}}},
        // depth 3: the shadow copies at (1, 1) and (2, 2) lie wholly under face and outline
        {fstVolumetric, true, {{3, 3, kShadow}, {0, 0, kOutline}, {2, 2, kOutline}, {0, 2, kOutline},
                               {2, 0, kOutline}, {1, 1, 0, false, texel}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style);
        auto* l = MakeLabel(kCaption, c.delineated ? TLabelOptions(floDelineatedText) : 0u);
        l->TextStyles().SetPassive(c.style);
        l->Colors().SetDelineate(kOutline);
        l->Colors().SetHighlight(kHighlight);
        l->Colors().SetShadow(kShadow);
        l->Illumination().SetShadowDepth(3);
        l->SetTexture(&checker);
        auto b = Render(*l, RGB(0, 0, 0));
        EXPECT_TRUE(LayersMatch(*b, TextShape(l->DrawFont(), kCaption), {0, 0}, c.layers, Uniform(RGB(0, 0, 0)),
                                Area(*l)));
        delete l;
    }
}

TEST_F(LabelPaint, SeeThroughTextShowsWhatLiesBehind) {
    form->SetColor(forms::clYellow);
    // A picture below the label covering its left part.
    auto* image = new forms::TImage(form);
    image->SetParent(form);
    image->SetBounds(10, 5, 30, 30);
    image->Picture().SetSize(30, 30);
    {
        forms::Brush blue(CreateSolidBrush(RGB(0, 0, 255)));
        RECT r{0, 0, 30, 30};
        FillRect(image->Picture().Canvas().Handle(), &r, blue.get());
    }
    auto* l = MakeLabel(kCaption, floTransparentFont | floDelineatedText);
    l->SetBounds(5, 10, 10, 10);
    l->TextStyles().SetPassive(fstNone);
    l->Colors().SetDelineate(kOutline);
    auto b = Render(*l, kFill);
    // Behind the label, in its own coordinates: the form's yellow and the blue picture.
    auto behind = [&](int x, int y) {
        int px = x + l->Left(), py = y + l->Top();
        bool onImage = px >= 10 && px < 40 && py >= 5 && py < 35;
        return onImage ? RGB(0, 0, 255) : RGB(255, 255, 0);
    };
    EXPECT_TRUE(LayersMatch(*b, TextShape(l->DrawFont(), kCaption), {0, 0},
                            {{0, 0, kOutline}, {2, 2, kOutline}, {0, 2, kOutline}, {2, 0, kOutline}, {1, 1, 0, true}},
                            behind, Area(*l)));
}

TEST_F(LabelPaint, BufferedTransparentLabelComposesWithoutItselfOrWhatIsAbove) {
    form->SetColor(forms::clYellow);
    auto* l = MakeLabel(kCaption, floBufferedDraw);
    l->TextStyles().SetPassive(fstNone);
    l->Colors().SetText(kFace);
    // A picture above the label must not be part of its background.
    auto* above = new forms::TImage(form);
    above->SetParent(form);
    above->SetBounds(0, 0, 50, 50);
    above->Picture().SetSize(50, 50);
    auto b = Render(*l, kFill);
    EXPECT_TRUE(LayersMatch(*b, TextShape(l->DrawFont(), kCaption), {0, 0}, {{0, 0, kFace}},
                            Uniform(forms::clYellow), Area(*l)));
}

TEST_F(LabelPaint, SystemColoursAreResolvedBeforeDrawing) {
    auto* l = MakeLabel(kCaption);
    l->TextStyles().SetPassive(fstNone);
    l->Colors().SetText(forms::clHighlight);
    auto b = Render(*l, kFill);
    EXPECT_TRUE(LayersMatch(*b, TextShape(l->DrawFont(), kCaption), {0, 0}, {{0, 0, GetSysColor(COLOR_HIGHLIGHT)}},
                            Uniform(kFill), Area(*l)));
}

TEST(ReplaceBitmapColor, SwapsOnlyTheGivenColour) {
    forms::TBitmap b(3, 1);
    HDC dc = b.Canvas().Handle();
    SetPixel(dc, 0, 0, RGB(0, 0, 0));
    SetPixel(dc, 1, 0, RGB(1, 0, 0));
    SetPixel(dc, 2, 0, RGB(0, 0, 0));
    ReplaceBitmapColor(b, forms::clBlack, forms::clTeal);
    EXPECT_EQ(PixelAt(b, 0, 0), COLORREF(forms::clTeal));
    EXPECT_EQ(PixelAt(b, 1, 0), RGB(1, 0, 0));
    EXPECT_EQ(PixelAt(b, 2, 0), COLORREF(forms::clTeal));
    forms::TBitmap empty;
    ReplaceBitmapColor(empty, forms::clBlack, forms::clTeal);  // nothing to do, no failure
}

}  // namespace
