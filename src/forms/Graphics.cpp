#include "Graphics.h"
#include <cstring>

namespace forms {

namespace {
int ScreenPixelsPerInch() {
    WindowDC dc(nullptr);
    return GetDeviceCaps(dc.get(), LOGPIXELSY);
}
}  // namespace

TFont::TFont() = default;

template <typename T>
void TFont::Set(T& field, const T& v) {
    if (field == v) return;
    Changing();
    handle_.reset();
    field = v;
    Changed();
}

void TFont::SetName(const std::string& v) { Set(name_, v); }
void TFont::SetHeight(int v) { Set(height_, v); }
void TFont::SetStyle(TFontStyles v) { Set(style_, v); }
void TFont::SetCharset(BYTE v) { Set(charset_, v); }
void TFont::SetPitch(TFontPitch v) { Set(pitch_, v); }
void TFont::SetOrientation(int v) { Set(orientation_, v); }
void TFont::SetQuality(TFontQuality v) { Set(quality_, v); }
void TFont::SetColor(TColor v) {
    // The colour is not part of the handle: no need to drop it.
    if (color_ == v) return;
    color_ = v;
    Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, ScreenPixelsPerInch()); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72)); }

void TFont::Assign(const TFont& o) {
    if (SameAs(o) && color_ == o.color_) return;
    Changing();
    handle_.reset();
    name_ = o.name_; height_ = o.height_; style_ = o.style_; color_ = o.color_;
    charset_ = o.charset_; pitch_ = o.pitch_; orientation_ = o.orientation_; quality_ = o.quality_;
    Changed();
}

bool TFont::SameAs(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && charset_ == o.charset_ &&
           pitch_ == o.pitch_ && orientation_ == o.orientation_ && quality_ == o.quality_;
}

LOGFONTA TFont::LogFont() const {
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfEscapement = orientation_;
    lf.lfOrientation = orientation_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
    lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = quality_ == fqNonAntialiased ? NONANTIALIASED_QUALITY
                   : quality_ == fqAntialiased  ? ANTIALIASED_QUALITY
                                                : DEFAULT_QUALITY;
    lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    return lf;
}

HFONT TFont::Handle() {
    if (!handle_) {
        LOGFONTA lf = LogFont();
        handle_.reset(CreateFontIndirectA(&lf));
    }
    return handle_.get();
}

// --- TPen ---------------------------------------------------------------------

void TPen::Assign(const TPen& o) {
    Changing();
    handle_.reset();
    color_ = o.color_; width_ = o.width_; style_ = o.style_; mode_ = o.mode_;
    Changed();
}

void TPen::SetColor(TColor v) { if (color_ != v) { Changing(); handle_.reset(); color_ = v; Changed(); } }
void TPen::SetWidth(int v) { if (width_ != v) { Changing(); handle_.reset(); width_ = v; Changed(); } }
void TPen::SetStyle(TPenStyle v) { if (style_ != v) { Changing(); handle_.reset(); style_ = v; Changed(); } }
void TPen::SetMode(TPenMode v) { if (mode_ != v) { mode_ = v; Changed(); } }

int Rop2(TPenMode mode) {
    // The R2_ codes are not in TPenMode's order (R2_COPYPEN is 13), so map them one by one.
    static const int codes[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN, R2_MERGEPENNOT,
                                R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                                R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN};
    int i = static_cast<int>(mode);
    return i >= 0 && i < 16 ? codes[i] : R2_COPYPEN;
}

int TPen::Rop2() const { return forms::Rop2(mode_); }

HPEN TPen::Handle() {
    if (!handle_) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        LOGPEN lp{static_cast<UINT>(styles[style_]), {width_, 0}, ColorToRGB(color_)};
        handle_.reset(CreatePenIndirect(&lp));
    }
    return handle_.get();
}

// --- TBrush -------------------------------------------------------------------

void TBrush::Assign(const TBrush& o) {
    Changing();
    handle_.reset();
    color_ = o.color_; style_ = o.style_; pattern_ = o.pattern_;
    Changed();
}

void TBrush::SetColor(TColor v) {
    if (color_ == v) return;
    Changing(); handle_.reset(); color_ = v;
    if (style_ == bsClear) style_ = bsSolid;  // choosing a colour makes a clear brush solid again
    Changed();
}
void TBrush::SetStyle(TBrushStyle v) { if (style_ != v) { Changing(); handle_.reset(); style_ = v; Changed(); } }
void TBrush::SetPattern(HBITMAP v) { if (pattern_ != v) { Changing(); handle_.reset(); pattern_ = v; Changed(); } }

HBRUSH TBrush::Handle() {
    if (!handle_) {
        LOGBRUSH lb{};
        lb.lbColor = ColorToRGB(color_);
        if (pattern_) { lb.lbStyle = BS_PATTERN; lb.lbHatch = reinterpret_cast<ULONG_PTR>(pattern_); }
        else if (style_ == bsSolid) lb.lbStyle = BS_SOLID;
        else if (style_ == bsClear) lb.lbStyle = BS_HOLLOW;
        else {
            static const int hatches[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
            lb.lbStyle = BS_HATCHED;
            lb.lbHatch = hatches[style_];
        }
        handle_.reset(CreateBrushIndirect(&lb));
    }
    return handle_.get();
}

}  // namespace forms
