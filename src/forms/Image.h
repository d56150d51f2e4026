// TImage: a windowless control that shows a bitmap, optionally see-through, stretched or centred.
#pragma once
#include "Bitmap.h"
#include "Control.h"

namespace forms {

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    TBitmap& Picture() { return picture_; }
    bool Transparent() const { return picture_.Transparent(); }
    void SetTransparent(bool v) { picture_.SetTransparent(v); }
    bool Stretch = false;
    bool Center = false;
protected:
    void Paint() override;
private:
    TBitmap picture_;
};

}  // namespace forms
