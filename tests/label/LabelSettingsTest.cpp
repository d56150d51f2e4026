// The label's setting objects: clamps, and which changes they report through which slot.
#include "LabelTestSupport.h"

using namespace label;
using namespace labeltest;

namespace {

// Counts the notifications of a slot and checks the sender.
struct Counter {
    const forms::TObject* expected;
    int count = 0;
    forms::TNotifyEvent Slot() {
        return [this](forms::TObject* sender) {
            EXPECT_EQ(sender, expected);
            ++count;
        };
    }
};

TEST(GradientSettings, StepsAndPercentStayInRange) {
    TGradient g;
    Counter n{&g};
    g.OnChange = n.Slot();
    g.SetSteps(0);
    EXPECT_EQ(g.Steps(), 1);
    g.SetSteps(-5);
    EXPECT_EQ(g.Steps(), 1);
    EXPECT_EQ(n.count, 1);  // the second clamp to 1 changed nothing
    g.SetSteps(1000);
    EXPECT_EQ(g.Steps(), 255);
    g.SetSteps(256);
    EXPECT_EQ(n.count, 2);
    g.SetPercentFilling(150);
    EXPECT_EQ(g.PercentFilling(), 100);
    EXPECT_EQ(n.count, 2);
    g.SetPercentFilling(-1);
    EXPECT_EQ(g.PercentFilling(), 0);
    EXPECT_EQ(n.count, 3);
}

TEST(GradientSettings, OrientationNotifiesOnlyWhileActive) {
    TGradient g;
    Counter n{&g};
    g.OnChange = n.Slot();
    g.SetOrientation(fgdVertical);
    EXPECT_EQ(g.Orientation(), fgdVertical);
    EXPECT_EQ(n.count, 0);
    g.SetActive(true);
    EXPECT_EQ(n.count, 1);
    g.SetActive(true);
    EXPECT_EQ(n.count, 1);
    g.SetOrientation(fgdRectangle);
    EXPECT_EQ(n.count, 2);
    g.SetBrushStyle(forms::bsSolid);  // even unchanged
    EXPECT_EQ(n.count, 3);
    g.BufferedDraw = true;
    EXPECT_EQ(n.count, 3);
}

TEST(GradientSettings, ColoursAreCachedAsRgb) {
    TGradient g;
    Counter n{&g};
    g.OnChange = n.Slot();
    g.SetFromColor(forms::clBtnFace);
    g.SetToColor(forms::clRed);
    g.SetToColor(forms::clRed);
    EXPECT_EQ(n.count, 2);
    EXPECT_EQ(g.FromRGB(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(g.ToRGB(), COLORREF(forms::clRed));
}

TEST(IlluminationSettings, ShadowDepthIsNeverNegative) {
    TIllumination i;
    Counter own{&i}, align{&i};
    i.OnIlluminationChange = own.Slot();
    i.OnAlignChange = align.Slot();
    EXPECT_EQ(i.ShadowDepth(), 2);
    i.SetShadowDepth(-3);
    EXPECT_EQ(i.ShadowDepth(), 0);
    EXPECT_EQ(own.count, 1);
    i.SetShadowDepth(-3);  // already 0: no notification
    i.SetShadowDepth(0);
    EXPECT_EQ(own.count, 1);
    i.SetHorizontal(fhaCenter);
    i.SetVertical(fvaBottom);
    i.SetVertical(fvaBottom);
    EXPECT_EQ(align.count, 2);
    EXPECT_EQ(own.count, 1);
}

TEST(TextStyleSettings, OnlyChangesNotify) {
    TLabelTextStyles s;
    Counter n{&s};
    s.OnChange = n.Slot();
    s.SetActive(s.Active());
    EXPECT_EQ(n.count, 0);
    s.SetActive(fstShadow);
    s.SetPassive(fstNone);
    s.SetDisabled(fstVolumetric);
    EXPECT_EQ(n.count, 3);
}

TEST(ColorSettings, EachChangeGoesToItsSlot) {
    TLabelColors c;
    Counter text{&c}, labelSlot{&c};
    c.OnTextColorsChange = text.Slot();
    c.OnLabelColorsChange = labelSlot.Slot();
    c.SetText(c.Text());
    c.SetText(forms::clTeal);
    c.SetTextDisabled(forms::clRed);
    c.SetDelineate(forms::clRed);
    c.SetBackground(forms::clRed);
    c.SetHighlight(forms::clRed);
    c.SetShadow(forms::clRed);
    EXPECT_EQ(text.count, 6);
    EXPECT_EQ(labelSlot.count, 0);
    c.SetTextActive(forms::clRed);
    c.SetDelineateActive(forms::clRed);
    c.SetAutoHighlight(true);
    c.SetAutoShadow(true);
    c.SetAutoShadow(true);
    c.SetBackgroundActive(forms::clRed);
    c.SetColorHighlightShift(10);
    c.SetColorShadowShift(10);
    EXPECT_EQ(labelSlot.count, 7);
    EXPECT_EQ(text.count, 6);
}

TEST(AutoColors, ShiftEachChannelWithinRange) {
    TLabelColors c;
    Counter n{&c};
    c.OnTextColorsChange = n.Slot();
    c.SetAutoShadow(true);
    ApplyAutoColors(RGB(128, 64, 32), c);
    EXPECT_EQ(c.Shadow(), RGB(68, 4, 0));
    EXPECT_EQ(c.Highlight(), forms::clBtnHighlight);  // AutoHighlight off: untouched
    c.SetAutoHighlight(true);
    ApplyAutoColors(RGB(128, 64, 32), c);
    EXPECT_EQ(c.Highlight(), RGB(168, 104, 72));
    ApplyAutoColors(RGB(250, 10, 230), c);
    EXPECT_EQ(c.Highlight(), RGB(255, 50, 255));
    EXPECT_EQ(c.Shadow(), RGB(190, 0, 170));
    EXPECT_EQ(n.count, 0);  // written without notification
    c.SetColorShadowShift(-100);  // a negative shift brightens, still within range
    ApplyAutoColors(RGB(200, 0, 0), c);
    EXPECT_EQ(c.Shadow(), RGB(255, 100, 100));
}

TEST(AutoColors, SystemColourBaseUsesItsCurrentValue) {
    TLabelColors c;
    c.SetAutoShadow(true);
    c.SetAutoHighlight(true);
    c.SetColorShadowShift(0);
    c.SetColorHighlightShift(0);
    ApplyAutoColors(forms::clBtnFace, c);
    EXPECT_EQ(c.Shadow(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(c.Highlight(), GetSysColor(COLOR_BTNFACE));
}

class LabelSettings : public LabelTest {};

TEST_F(LabelSettings, FontWeightGivesItsValue) {
    TOutlinedLabel l(nullptr);
    l.SetFontWeight(fwHEAVY);
    EXPECT_EQ(l.FontWeightValue(), 900);
}

TEST_F(LabelSettings, TransparentFontForcesBufferedDrawing) {
    auto* l = MakeLabel("x");
    l->SetOptions(floTransparentFont);
    EXPECT_EQ(l->Options(), TLabelOptions(floBufferedDraw | floTransparentFont));
    l->SetOptions(floDelineatedText | floIgnoreMouse);
    EXPECT_EQ(l->Options(), TLabelOptions(floDelineatedText | floIgnoreMouse));
}

TEST_F(LabelSettings, ColourChangesDeriveReliefFromTheParentColour) {
    form->SetColor(RGB(128, 64, 32));
    auto* l = MakeLabel("x");
    l->Colors().SetAutoShadow(true);  // a label-colour notification: derived at once
    EXPECT_EQ(l->Colors().Shadow(), RGB(68, 4, 0));
    form->SetColor(forms::clBtnFace);
    l->Illumination().SetShadowDepth(4);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(l->Colors().Shadow(), RGB(std::max(GetRValue(face) - 60, 0), std::max(GetGValue(face) - 60, 0),
                                        std::max(GetBValue(face) - 60, 0)));
    form->SetColor(RGB(0, 0, 0));
    l->SetOptions(floDelineatedText);
    EXPECT_EQ(l->Colors().Shadow(), RGB(0, 0, 0));
}

TEST_F(LabelSettings, OwnPicturesComeBeforeImageControls) {
    auto* l = MakeLabel("Disk", 0);
    l->TextStyles().SetPassive(fstNone);
    l->Colors().SetText(RGB(0, 0, 0));
    // The label's bottom right corner, where no text lies.
    auto corner = [&] {
        auto b = Render(*l, RGB(0, 0, 128));  // first, as it sizes the label
        return PixelAt(*b, l->Width() - 1, l->Height() - 1);
    };
    auto* image = new forms::TImage(form);
    image->Picture().SetSize(1, 1);
    SetPixel(image->Picture().Canvas().Handle(), 0, 0, RGB(0, 255, 0));
    l->SetBackgroundImage(image);
    EXPECT_EQ(corner(), RGB(0, 255, 0));
    forms::TBitmap own(1, 1);
    SetPixel(own.Canvas().Handle(), 0, 0, RGB(255, 0, 0));
    l->SetBackground(&own);
    EXPECT_EQ(corner(), RGB(255, 0, 0));
    l->SetBackground(nullptr);
    EXPECT_EQ(corner(), RGB(0, 255, 0));
    delete image;  // the label lets go of it
    EXPECT_EQ(l->BackgroundImage(), nullptr);
    EXPECT_EQ(corner(), RGB(0, 0, 128));
    // A picture loaded into the label's own copy is used at once.
    l->Background().SetSize(1, 1);
    SetPixel(l->Background().Canvas().Handle(), 0, 0, RGB(0, 0, 255));
    EXPECT_EQ(corner(), RGB(0, 0, 255));
}

}  // namespace
