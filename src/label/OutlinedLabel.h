// A windowless label that draws its caption with a relief style, an optional one-pixel outline,
// a colour ramp, a texture or a tiled background picture, in one of four directions, with
// separate looks while the mouse is over it.
#pragma once
#include "CustomOutlinedLabel.h"
#include "Gradient.h"
#include "Illumination.h"
#include "LabelColors.h"
#include "TextStyles.h"
#include "forms/Bitmap.h"
#include "forms/Image.h"
#include <memory>

namespace label {

enum TLabelDir { fldLeftRight, fldRightLeft, fldUpDown, fldDownUp };
enum TFontWeight { fwDONTCARE, fwTHIN, fwEXTRALIGHT, fwLIGHT, fwNORMAL, fwMEDIUM, fwSEMIBOLD, fwBOLD,
                   fwEXTRABOLD, fwHEAVY };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TLabelOption : unsigned {
    floActiveWhileControlFocused = 1,  // active while FocusControl has the keyboard focus
    floBufferedDraw = 2,               // composed off-screen, copied once
    floDelineatedText = 4,             // one-pixel outline around the face
    floIgnoreMouse = 8,                // no hover looks, no OnMouseEnter/OnMouseLeave
    floTransparentFont = 16,           // the text shape shows what lies behind; implies buffering
};
using TLabelOptions = unsigned;

// The escapement of the drawing font for a direction, in tenths of a degree.
int Escapement(TLabelDir direction);

class TOutlinedLabel : public TCustomOutlinedLabel {
public:
    explicit TOutlinedLabel(forms::TComponent* owner);
    ~TOutlinedLabel() override;

    TLabelDir Direction() const { return direction_; }
    void SetDirection(TLabelDir v);
    TLabelTextStyles& TextStyles() { return textStyles_; }
    TLabelColors& Colors() { return colors_; }
    TFontWeight FontWeight() const { return fontWeight_; }
    void SetFontWeight(TFontWeight v);
    int FontWeightValue() const { return fontWeight_ * 100; }  // 0, 100 ... 900; not drawn with
    TLabelOptions Options() const { return options_; }
    void SetOptions(TLabelOptions v);
    TGradient& Gradient() { return gradient_; }
    TIllumination& Illumination() { return illumination_; }

    // Own copies of a texture and a background picture. Reading makes an empty copy when there
    // is none; setting copies the given bitmap, or drops the copy for none or an empty one.
    forms::TBitmap& Texture();
    void SetTexture(const forms::TBitmap* bitmap);
    forms::TBitmap& Background();
    void SetBackground(const forms::TBitmap* bitmap);
    // Pictures of image controls, used when there is no own copy.
    forms::TImage* TextureImage() const { return textureImage_; }
    void SetTextureImage(forms::TImage* image);
    forms::TImage* BackgroundImage() const { return backgroundImage_; }
    void SetBackgroundImage(forms::TImage* image);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);

    // Invalidates the label's place on the parent, with erasing.
    void InvalidateArea();
    // Makes the drawing font from Font and Direction.
    void RebuildDrawFont();
    HFONT DrawFont() const { return drawFont_.get(); }

    void Loaded() override;

protected:
    void Paint() override;
    void FontChanged() override;
    bool IgnoresMouse() const override { return options_ & floIgnoreMouse; }
    void ActiveChanged() override;
    void Notification(forms::TComponent* component, forms::TOperation operation) override;

private:
    void StyleChanged();
    void FaceRepaint();
    bool CanPaintNow() const;
    void PaintNow(bool faceOnly);
    void WatchPicture(forms::TBitmap* picture);
    void UpdateImageSources();
    forms::TColor ParentBackgroundColor() const;

    TLabelDir direction_ = fldLeftRight;
    TLabelTextStyles textStyles_;
    TLabelColors colors_;
    TFontWeight fontWeight_ = fwDONTCARE;
    TLabelOptions options_ = floActiveWhileControlFocused;
    TGradient gradient_;
    TIllumination illumination_;
    std::unique_ptr<forms::TBitmap> texture_, background_;
    forms::TImage* textureImage_ = nullptr;
    forms::TImage* backgroundImage_ = nullptr;
    TAlignment alignment_ = taLeftJustify;

    forms::Font drawFont_;
    forms::TBitmap drawBuffer_;
    std::unique_ptr<forms::TBitmap> textMask_;
    forms::TBitmap* textureSource_ = nullptr;
    forms::TBitmap* backgroundSource_ = nullptr;
    bool faceOnly_ = false;
    bool firstPaintDone_ = false;
};

}  // namespace label
