#include "XPCheckBox.h"

namespace controls {

using namespace forms;

namespace {
constexpr TColor FaceFrame = 0x80501F, DisabledFrame = 0xBFC8CF;

// The face: a frame around the gradient picture (or a white fill).
void MakeFace(TBitmap& face, const ToggleMetrics& m, TColor frame, TBitmap* inside) {
    face.SetSize(m.box, m.box);
    TCanvas& c = face.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect({0, 0, m.box, m.box});
    c.Brush().SetColor(frame);
    for (int i = 0; i < m.frame; ++i) c.FrameRect({i, i, m.box - i, m.box - i});
    if (inside) c.Draw(m.frame, m.frame, *inside);
}
}  // namespace

TXPCheckBox::TXPCheckBox(TComponent* owner) : TXPToggle(owner, 97, 17) { MakePictures(); }

void TXPCheckBox::MakePictures() {
    TBitmap unpressed, pressed;
    LoadPicture(unpressed, "CB_UNPRESS");
    LoadPicture(pressed, "CB_PRESS");
    MakeFace(face_, Metrics(), FaceFrame, &unpressed);
    MakeFace(pressedFace_, Metrics(), FaceFrame, &pressed);
    MakeFace(disabledFace_, Metrics(), DisabledFrame, nullptr);
    LoadPicture(hotRing_, "CB_BORDER", true);
    LoadPicture(checkMark_, "CB_FLAG", true);
    LoadPicture(grayedMark_, "CB_GRAYED");
    LoadPicture(disabledCheckMark_, "CB_DISFLAG", true);
    LoadPicture(disabledGrayedMark_, "CB_DISGRAYED");
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
    const ToggleMetrics& m = Metrics();
    const int mark = (m.box - m.mark) / 2;
    if (Enabled()) {
        canvas.Draw(x, y, Flags().Pressed ? pressedFace_ : face_);
        if (Flags().MouseInside && !Flags().Pressed) canvas.Draw(x + m.frame, y + m.frame, hotRing_);
        if (state_ == cbChecked) canvas.Draw(x + mark, y + mark, checkMark_);
        else if (state_ == cbGrayed) canvas.Draw(x + mark, y + mark, grayedMark_);
    } else {
        canvas.Draw(x, y, disabledFace_);
        if (state_ == cbChecked) canvas.Draw(x + mark, y + mark, disabledCheckMark_);
        else if (state_ == cbGrayed) canvas.Draw(x + mark, y + mark, disabledGrayedMark_);
    }
}

}  // namespace controls
