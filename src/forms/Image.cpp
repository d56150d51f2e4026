#include "Image.h"

namespace forms {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 105, 105);
    picture_.OnChange = [this](TObject*) { Invalidate(); };
}

void TImage::Paint() {
    if (picture_.Empty()) return;
    RECT r{0, 0, picture_.Width(), picture_.Height()};
    if (Stretch) r = {0, 0, Width(), Height()};
    else if (Center) OffsetRect(&r, (Width() - picture_.Width()) / 2, (Height() - picture_.Height()) / 2);
    // A paint for a neighbour's change often touches the control but not its picture.
    if (!RectVisible(Canvas().Handle(), &r)) return;
    Canvas().StretchDraw(r, picture_);
}

}  // namespace forms
