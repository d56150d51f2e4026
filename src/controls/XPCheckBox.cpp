#include "XPCheckBox.h"

namespace controls {

using namespace forms;

namespace {
constexpr TColor FaceFrame = 0x80501F, DisabledFrame = 0xBFC8CF;
constexpr TColor Magenta = 0xFF00FF;

// A 13 x 13 face: a one-pixel frame around the 11 x 11 picture (or a white fill).
void MakeFace(TBitmap& face, TColor frame, TBitmap* inside) {
    face.SetSize(ToggleBoxSize, ToggleBoxSize);
    TCanvas& c = face.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, ToggleBoxSize, ToggleBoxSize});
    c.Brush().SetColor(frame);
    c.FrameRect({0, 0, ToggleBoxSize, ToggleBoxSize});
    if (inside) c.Draw(1, 1, *inside);
}
}  // namespace

TXPCheckBox::TXPCheckBox(TComponent* owner) : TXPToggle(owner, 97, 17) {
    TBitmap unpressed, pressed;
    LoadResource(unpressed, "CB_UNPRESS");
    LoadResource(pressed, "CB_PRESS");
    MakeFace(face_, FaceFrame, &unpressed);
    MakeFace(pressedFace_, FaceFrame, &pressed);
    MakeFace(disabledFace_, DisabledFrame, nullptr);
    LoadResource(hotRing_, "CB_BORDER");
    hotRing_.SetTransparent(true);
    hotRing_.SetTransparentColor(Magenta);
    LoadResource(checkMark_, "CB_FLAG");
    checkMark_.SetTransparent(true);  // its bottom-left pixel: magenta
    LoadResource(grayedMark_, "CB_GRAYED");
    LoadResource(disabledCheckMark_, "CB_DISFLAG");
    disabledCheckMark_.SetTransparent(true);
    disabledCheckMark_.SetTransparentColor(Magenta);
    LoadResource(disabledGrayedMark_, "CB_DISGRAYED");
}

TXPCheckBox::~TXPCheckBox() = default;

void TXPCheckBox::SetState(TXPCheckBoxState v) {
    if (state_ == v) return;
    state_ = v;
    RedrawBox();
    Click();
}

void TXPCheckBox::Toggle() {
    switch (state_) {
        case cbUnchecked: SetState(AllowGrayed ? cbGrayed : cbChecked); break;
        case cbChecked: SetState(cbUnchecked); break;
        case cbGrayed: SetState(cbChecked); break;
    }
}

void TXPCheckBox::DrawBox(TCanvas& canvas, int x, int y) {
    if (Enabled()) {
        canvas.Draw(x, y, Flags().Pressed ? pressedFace_ : face_);
        if (Flags().MouseInside && !Flags().Pressed) canvas.Draw(x + 1, y + 1, hotRing_);
        if (state_ == cbChecked) canvas.Draw(x + 3, y + 3, checkMark_);
        else if (state_ == cbGrayed) canvas.Draw(x + 3, y + 3, grayedMark_);
    } else {
        canvas.Draw(x, y, disabledFace_);
        if (state_ == cbChecked) canvas.Draw(x + 3, y + 3, disabledCheckMark_);
        else if (state_ == cbGrayed) canvas.Draw(x + 3, y + 3, disabledGrayedMark_);
    }
}

}  // namespace controls
