// The drawing operations of an outlined label: the text with its relief layers and outline,
// the face as a colour ramp, and a colour swap in a bitmap.
#pragma once
#include "Gradient.h"
#include "Illumination.h"
#include "TextStyles.h"
#include "forms/Bitmap.h"
#include <string>

namespace label {

struct TextLayerColors {
    forms::TColor face, outline, highlight, shadow;  // colours or system colours
};

// Draws text with its text origin at (x, y), every copy clipped to clip: the relief layers of
// style (left out when faceOnly, except for fstPushed, which has no face), the outline when
// delineated (left out when faceOnly) and the face, through gradient when there is one.
// Draws nothing without a font.
void DrawStyledText(HDC dc, int x, int y, const RECT& clip, const std::string& text, TTextStyle style,
                    bool delineated, bool faceOnly, const TextLayerColors& colors,
                    const TIllumination* illumination, const TCustomGradient* gradient, HFONT font);

// How far right and down of the text origin DrawStyledText puts the face.
int FaceOffset(TTextStyle style, bool delineated);

// Writes text at (x, y) in strips across clip whose colour runs from the gradient's FromColor
// to its ToColor (top to bottom, or left to right for fgdVertical), stopping after
// PercentFilling per cent of the span. Inactive, or on a surface of fewer than 16 bits per
// pixel, it writes the text once in the current text colour.
void DrawGradientText(const TCustomGradient& gradient, HDC dc, const std::string& text, const RECT& clip,
                      int x, int y);

// Every pixel of colour `from` becomes `to`; the others stay.
void ReplaceBitmapColor(forms::TBitmap& bitmap, forms::TColor from, forms::TColor to);

}  // namespace label
