// TBevel: a windowless etched frame or line, as dialogs separate their parts.
#pragma once
#include "Control.h"

namespace forms {

enum TBevelShape { bsBox, bsTopLine, bsBottomLine };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* owner);
    ~TBevel() override;

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape v);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle v);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

}  // namespace forms
