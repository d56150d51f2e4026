#include "LabelDraw.h"

namespace label {

namespace {

// One clipped copy of the text in a colour.
void TextCopy(HDC dc, int x, int y, const RECT& clip, const std::string& text, forms::TColor color) {
    SetTextColor(dc, forms::ColorToRGB(color));
    ExtTextOutA(dc, x, y, ETO_CLIPPED, &clip, text.data(), static_cast<UINT>(text.size()), nullptr);
}

// The outline (four diagonal copies around the face) and the face, a pixels in from (x, y).
void DrawTextFace(HDC dc, int x, int y, int a, const RECT& clip, const std::string& text, bool delineated,
                  bool faceOnly, const TextLayerColors& colors, const TCustomGradient* gradient) {
    int fx = x + a, fy = y + a;
    if (delineated) {
        if (!faceOnly) {
            TextCopy(dc, x + a, y + a, clip, text, colors.outline);
            TextCopy(dc, x + a + 2, y + a + 2, clip, text, colors.outline);
            TextCopy(dc, x + a, y + a + 2, clip, text, colors.outline);
            TextCopy(dc, x + a + 2, y + a, clip, text, colors.outline);
        }
        fx += 1;
        fy += 1;
    }
    if (gradient) {
        SetTextColor(dc, forms::ColorToRGB(colors.face));
        DrawGradientText(*gradient, dc, text, clip, fx, fy);
    } else {
        TextCopy(dc, fx, fy, clip, text, colors.face);
    }
}

// The diagonal step between the two relief copies.
int ReliefStep(TTextStyle style, bool delineated) {
    int g = delineated ? 4 : 2;
    if (style == fstNone || style == fstShadow) g = g / 2 - 1;
    return g;
}

}  // namespace

int FaceOffset(TTextStyle style, bool delineated) {
    int outline = delineated ? 1 : 0;
    switch (style) {
        case fstRaised:
        case fstRecessed: return 1 + outline;
        case fstPushed: return ReliefStep(style, delineated) / 2;  // no face; where the text sits
        default: return outline;
    }
}

void DrawStyledText(HDC dc, int x, int y, const RECT& clip, const std::string& text, TTextStyle style,
                    bool delineated, bool faceOnly, const TextLayerColors& colors,
                    const TIllumination* illumination, const TCustomGradient* gradient, HFONT font) {
    if (!font) return;
    forms::SelectScope selectFont(dc, font);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    int g = ReliefStep(style, delineated);
    int depth = illumination ? illumination->ShadowDepth() : 2;
    auto face = [&](int a) { DrawTextFace(dc, x, y, a, clip, text, delineated, faceOnly, colors, gradient); };
    switch (style) {
        case fstNone:
            face(0);
            break;
        case fstRaised:
            if (!faceOnly) {
                TextCopy(dc, x, y, clip, text, colors.highlight);
                TextCopy(dc, x + g, y + g, clip, text, colors.shadow);
            }
            face(1);
            break;
        case fstRecessed:
            if (!faceOnly) {
                TextCopy(dc, x, y, clip, text, colors.shadow);
                TextCopy(dc, x + g, y + g, clip, text, colors.highlight);
            }
            face(1);
            break;
        case fstPushed:
            TextCopy(dc, x + 1, y + 1, clip, text, colors.highlight);
            TextCopy(dc, x, y, clip, text, colors.shadow);
            break;
        case fstShadow:
            if (!faceOnly) TextCopy(dc, x + g + depth, y + g + depth, clip, text, colors.shadow);
            face(0);
            break;
        case fstVolumetric:
            if (!faceOnly)
                for (int i = 1; i <= depth; ++i) TextCopy(dc, x + i, y + i, clip, text, colors.shadow);
            face(0);
            break;
    }
    SetBkMode(dc, oldMode);
}

void DrawGradientText(const TCustomGradient& gradient, HDC dc, const std::string& text, const RECT& clip,
                      int x, int y) {
    const UINT length = static_cast<UINT>(text.size());
    if (!gradient.Active() || GetDeviceCaps(dc, BITSPIXEL) < 16) {
        TextOutA(dc, x, y, text.data(), static_cast<int>(length));
        return;
    }
    const bool vertical = gradient.Orientation() == fgdVertical;
    const int span = vertical ? clip.right - clip.left : clip.bottom - clip.top;
    if (span <= 0) return;
    COLORREF from = gradient.FromRGB(), to = gradient.ToRGB();
    float r = GetRValue(from), g = GetGValue(from), b = GetBValue(from);
    const float dr = (float(GetRValue(to)) - r) / span, dg = (float(GetGValue(to)) - g) / span,
                db = (float(GetBValue(to)) - b) / span;
    const int n = MulDiv(span, gradient.PercentFilling(), 100);
    COLORREF oldColor = GetTextColor(dc);
    for (int i = 0; i <= n; ++i) {
        SetTextColor(dc, RGB(BYTE(r), BYTE(g), BYTE(b)));
        RECT strip = vertical ? RECT{i, clip.top, i + 1, clip.bottom} : RECT{clip.left, i, clip.right, i + 1};
        ExtTextOutA(dc, x, y, ETO_CLIPPED, &strip, text.data(), length, nullptr);
        r += dr;
        g += dg;
        b += db;
    }
    SetTextColor(dc, oldColor);
}

void ReplaceBitmapColor(forms::TBitmap& bitmap, forms::TColor from, forms::TColor to) {
    if (bitmap.Empty() || !bitmap.Bits()) return;
    // The bits are 0x00RRGGBB, colours 0x00BBGGRR.
    auto toPixel = [](COLORREF c) { return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c); };
    const uint32_t f = toPixel(forms::ColorToRGB(from)), t = toPixel(forms::ColorToRGB(to));
    GdiFlush();
    uint32_t* p = bitmap.Bits();
    for (size_t i = 0, count = size_t(bitmap.Width()) * bitmap.Height(); i < count; ++i)
        if ((p[i] & 0xFFFFFF) == f) p[i] = t;
}

}  // namespace label
