// The paint of TOutlinedLabel: size, text origin, background, mask for texture and see-through
// text, the styled text, and the copy of the off-screen composition.
#include "LabelDraw.h"
#include "OutlinedLabel.h"
#include "ParentBackground.h"
#include <algorithm>

namespace label {

namespace {

bool HasImage(const forms::TBitmap* g) { return g && g->Width() > 0 && g->Height() > 0; }

void FillSolid(HDC dc, const RECT& r, forms::TColor color) {
    forms::Brush brush(CreateSolidBrush(forms::ColorToRGB(color)));
    FillRect(dc, &r, brush.get());
}

// Whole copies of source from the top-left corner on, as far as width × height reaches.
void Tile(HDC dc, int width, int height, forms::TBitmap& source, DWORD rop) {
    const int w = source.Width(), h = source.Height();
    HDC src = source.Canvas().Handle();
    for (int y = 0; y < height; y += h)
        for (int x = 0; x < width; x += w) BitBlt(dc, x, y, w, h, src, 0, 0, rop);
}

// The size the caption needs (w × h), and without relief depth and outline (w0 × h0).
struct Extent {
    int w, h, w0, h0;
};

Extent MeasureLabel(SIZE text, TTextStyle style, bool delineated, int shadowDepth) {
    Extent e{};
    e.w = text.cx + static_cast<int>(text.cx * 0.01) + 2;
    e.h = text.cy + 2;
    e.w0 = e.w;
    e.h0 = e.h;
    if (style == fstShadow || style == fstVolumetric) {
        e.w += shadowDepth;
        e.h += shadowDepth;
    }
    if (delineated) {
        e.w += 2;
        e.h += 2;
    }
    return e;
}

// Where the text origin goes for a direction and an alignment, in a control of width × height.
POINT TextOrigin(TLabelDir dir, TAlignment align, int width, int height, const Extent& e) {
    const int extra = e.h - e.h0;  // depth and outline
    POINT p{0, 0};
    switch (dir) {
        case fldLeftRight:
            p.x = align == taLeftJustify ? 0 : align == taRightJustify ? width - e.w : (width - e.w) / 2;
            break;
        case fldRightLeft:
            p.x = align == taLeftJustify ? width - (e.w - e.w0) - 2 : align == taRightJustify ? e.w0 : (width + e.w) / 2;
            p.y = e.h0;
            break;
        case fldUpDown:
            p.y = align == taLeftJustify ? 1 : align == taRightJustify ? height - e.w : (height - e.w) / 2;
            p.x = e.h0;
            break;
        case fldDownUp:
            p.y = align == taLeftJustify ? height - extra - 2 : align == taRightJustify ? e.w0 - 4 : (height + e.w0 - extra) / 2;
            break;
    }
    return p;
}

}  // namespace

void TOutlinedLabel::Paint() {
    RehookIfPending();
    const std::string& caption = Caption();
    if (caption.empty()) {
        // Nothing at all, not even an opaque background; and a face-only request ends here too,
        // or the next full paint would draw the face alone.
        faceOnly_ = false;
        return;
    }

    const bool transparentFont = options_ & floTransparentFont;
    const bool delineated = options_ & floDelineatedText;
    const bool buffered = transparentFont || ((options_ & floBufferedDraw) && !Designing());
    HDC own = Canvas().Handle();
    HDC target = buffered ? drawBuffer_.Canvas().Handle() : own;

    if (!firstPaintDone_) {
        faceOnly_ = false;
        firstPaintDone_ = true;
    } else {
        faceOnly_ = faceOnly_ && !buffered && !HasImage(backgroundSource_);
    }

    forms::SelectScope selectFont(target, drawFont_.get());
    SIZE text{};
    GetTextExtentPoint32A(target, caption.data(), static_cast<int>(caption.size()), &text);

    TTextStyle style;
    forms::TColor outline, face;
    if (mouseActive_) {
        style = textStyles_.Active();
        outline = colors_.DelineateActive();
        face = colors_.TextActive();
    } else if (Enabled()) {
        style = textStyles_.Passive();
        outline = colors_.Delineate();
        face = colors_.Text();
    } else {
        style = textStyles_.Disabled();
        outline = colors_.Delineate();
        face = colors_.TextDisabled();
    }

    const Extent e = MeasureLabel(text, style, delineated, illumination_.ShadowDepth());
    if (Align == alNone && AutoSize()) {
        if (direction_ == fldUpDown || direction_ == fldDownUp) SetBounds(Left(), Top(), e.h, e.w);
        else SetBounds(Left(), Top(), e.w, e.h);
    }
    const POINT origin = TextOrigin(direction_, alignment_, Width(), Height(), e);

    const RECT r{0, 0, Width(), Height()};
    if (buffered) drawBuffer_.SetSize(Width(), Height());
    SetBkMode(target, TRANSPARENT);

    const forms::TColor background = mouseActive_ ? colors_.BackgroundActive() : colors_.Background();
    if (!Transparent()) FillSolid(target, r, background);

    const bool bg = HasImage(backgroundSource_), tex = HasImage(textureSource_);

    if (bg) {
        Tile(target, Width(), Height(), *backgroundSource_, SRCCOPY);
    } else if (buffered && (Transparent() || transparentFont)) {
        try {
            FillSolid(target, r, ParentBackgroundColor());
            PaintParentBackground(*this, BoundsRect(), target);
        } catch (...) {
            // what lies behind is decoration: the text is drawn all the same
        }
    }

    // The ramp is for the passive face only: not under a different hover face, not disabled.
    TGradient faceGradient = gradient_;
    faceGradient.OnChange = nullptr;
    if ((mouseActive_ && colors_.TextActive() != colors_.Text()) || !Enabled()) faceGradient.SetActive(false);

    if (tex || transparentFont) {
        // The text shape in white on black, exactly where DrawStyledText will put the face.
        if (!textMask_) textMask_ = std::make_unique<forms::TBitmap>();
        textMask_->SetSize(Width(), Height());
        HDC mask = textMask_->Canvas().Handle();
        PatBlt(mask, 0, 0, Width(), Height(), BLACKNESS);
        {
            forms::SelectScope maskFont(mask, drawFont_.get());
            SetBkMode(mask, TRANSPARENT);
            SetTextColor(mask, RGB(255, 255, 255));
            const int d = FaceOffset(style, delineated);
            TextOutA(mask, origin.x + d, origin.y + d, caption.data(), static_cast<int>(caption.size()));
        }
        if (!Transparent()) {
            BitBlt(mask, 0, 0, Width(), Height(), target, 0, 0, SRCAND);
            ReplaceBitmapColor(*textMask_, forms::clBlack, background);
            BitBlt(own, 0, 0, Width(), Height(), mask, 0, 0, SRCCOPY);
            faceOnly_ = false;
            return;
        }
        if (transparentFont) BitBlt(mask, 0, 0, Width(), Height(), target, 0, 0, SRCAND);
        else Tile(mask, Width(), Height(), *textureSource_, SRCAND);
    }

    if (tex) face = forms::clBlack;  // the texture is ORed into a black face

    DrawStyledText(target, origin.x, origin.y, r, caption, style, delineated, faceOnly_,
                   {face, outline, colors_.Highlight(), colors_.Shadow()}, &illumination_, &faceGradient,
                   drawFont_.get());

    if ((tex || transparentFont) && style != fstPushed)
        BitBlt(target, 0, 0, Width(), Height(), textMask_->Canvas().Handle(), 0, 0, SRCPAINT);
    if (buffered) BitBlt(own, 0, 0, Width(), Height(), target, 0, 0, SRCCOPY);
    faceOnly_ = false;
}

}  // namespace label
