#include "ColorDialog.h"
#include "Platform.h"

namespace forms {

TColorDialog::TColorDialog(TComponent* owner) : TComponent(owner) {
    for (COLORREF& c : customColors_) c = RGB(255, 255, 255);
}

TColorDialog::~TColorDialog() = default;

bool TColorDialog::Execute(HWND owner) {
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = owner;
    cc.rgbResult = ColorToRGB(Color);
    cc.lpCustColors = customColors_;
    cc.Flags = CC_RGBINIT;
    if (!platform.ChooseColorA(&cc)) return false;
    Color = cc.rgbResult;
    return true;
}

}  // namespace forms
