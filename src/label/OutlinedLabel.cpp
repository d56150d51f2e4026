#include "OutlinedLabel.h"

namespace label {

int Escapement(TLabelDir direction) {
    switch (direction) {
        case fldRightLeft: return -1800;
        case fldUpDown: return -900;
        case fldDownUp: return 900;
        default: return 0;
    }
}

TOutlinedLabel::TOutlinedLabel(forms::TComponent* owner) : TCustomOutlinedLabel(owner) {
    textStyles_.OnChange = [this](forms::TObject*) { StyleChanged(); };
    colors_.OnLabelColorsChange = [this](forms::TObject*) { StyleChanged(); };
    // The passive colours show at once too, rather than at some later repaint.
    colors_.OnTextColorsChange = [this](forms::TObject*) { StyleChanged(); };
    illumination_.OnIlluminationChange = [this](forms::TObject*) { StyleChanged(); };
    gradient_.OnChange = [this](forms::TObject*) { FaceRepaint(); };
    if (owner && owner->Designing()) Font().SetName("Arial");
    SetBounds(0, 0, 100, 16);
    RebuildDrawFont();
}

TOutlinedLabel::~TOutlinedLabel() {
    SetTextureImage(nullptr);
    SetBackgroundImage(nullptr);
}

void TOutlinedLabel::SetDirection(TLabelDir v) {
    direction_ = v;
    RebuildDrawFont();
    InvalidateArea();
}

void TOutlinedLabel::SetFontWeight(TFontWeight v) {
    if (fontWeight_ == v) return;
    fontWeight_ = v;
    RebuildDrawFont();
    InvalidateArea();
}

void TOutlinedLabel::SetOptions(TLabelOptions v) {
    if (v == options_) return;
    if (v & floTransparentFont) v |= floBufferedDraw;  // see-through text needs the buffer
    options_ = v;
    SetFollowFocus(v & floActiveWhileControlFocused);
    if (Parent()) ApplyAutoColors(ParentBackgroundColor(), colors_);
    InvalidateArea();
}

void TOutlinedLabel::SetAlignment(TAlignment v) {
    alignment_ = v;
    Invalidate();
}

// --- pictures -----------------------------------------------------------------------------

namespace {
// A copy of bitmap, or none for none or a bitmap without pixels.
std::unique_ptr<forms::TBitmap> CopyOf(const forms::TBitmap* bitmap) {
    if (!bitmap || !bitmap->Handle()) return nullptr;
    auto copy = std::make_unique<forms::TBitmap>();
    copy->Assign(*bitmap);
    return copy;
}
}  // namespace

void TOutlinedLabel::WatchPicture(forms::TBitmap* picture) {
    // Pictures loaded into an own copy take effect like a new one.
    if (picture) picture->OnChange = [this](forms::TObject*) { UpdateImageSources(); InvalidateArea(); };
}

forms::TBitmap& TOutlinedLabel::Texture() {
    if (!texture_) {
        texture_ = std::make_unique<forms::TBitmap>();
        WatchPicture(texture_.get());
    }
    return *texture_;
}

void TOutlinedLabel::SetTexture(const forms::TBitmap* bitmap) {
    texture_ = CopyOf(bitmap);  // copied before the old copy goes, so setting it to itself works
    WatchPicture(texture_.get());
    UpdateImageSources();
    InvalidateArea();
}

forms::TBitmap& TOutlinedLabel::Background() {
    if (!background_) {
        background_ = std::make_unique<forms::TBitmap>();
        WatchPicture(background_.get());
    }
    return *background_;
}

void TOutlinedLabel::SetBackground(const forms::TBitmap* bitmap) {
    background_ = CopyOf(bitmap);
    WatchPicture(background_.get());
    UpdateImageSources();
    InvalidateArea();
}

void TOutlinedLabel::SetTextureImage(forms::TImage* image) {
    if (textureImage_ && textureImage_ != backgroundImage_) RemoveFreeNotification(textureImage_);
    textureImage_ = image;
    if (image) FreeNotification(image);
    UpdateImageSources();
    InvalidateArea();
}

void TOutlinedLabel::SetBackgroundImage(forms::TImage* image) {
    if (backgroundImage_ && backgroundImage_ != textureImage_) RemoveFreeNotification(backgroundImage_);
    backgroundImage_ = image;
    if (image) FreeNotification(image);
    UpdateImageSources();
    InvalidateArea();
}

void TOutlinedLabel::UpdateImageSources() {
    textureSource_ = texture_ && !texture_->Empty() ? texture_.get()
                     : textureImage_                ? &textureImage_->Picture()
                                                    : nullptr;
    backgroundSource_ = background_ && !background_->Empty() ? background_.get()
                        : backgroundImage_                   ? &backgroundImage_->Picture()
                                                             : nullptr;
}

void TOutlinedLabel::Loaded() {
    TCustomOutlinedLabel::Loaded();
    UpdateImageSources();
}

void TOutlinedLabel::Notification(forms::TComponent* component, forms::TOperation operation) {
    TCustomOutlinedLabel::Notification(component, operation);
    if (operation != forms::opRemove) return;
    if (component == textureImage_) SetTextureImage(nullptr);
    if (component == backgroundImage_) SetBackgroundImage(nullptr);
}

// --- font ---------------------------------------------------------------------------------

void TOutlinedLabel::FontChanged() {
    RebuildDrawFont();
    Invalidate();
}

void TOutlinedLabel::RebuildDrawFont() {
    LOGFONTA lf = Font().LogFont();
    // The direction turns the text, whatever turn the font itself has.
    lf.lfEscapement = Escapement(direction_);
    lf.lfOrientation = 0;
    drawFont_.reset(CreateFontIndirectA(&lf));
}

// --- repainting ---------------------------------------------------------------------------

forms::TColor TOutlinedLabel::ParentBackgroundColor() const {
    return Parent() ? Parent()->Color() : Color();
}

void TOutlinedLabel::InvalidateArea() {
    forms::TWinControl* parent = Parent();
    if (!parent || !parent->HandleAllocated()) return;
    RECT r = BoundsRect();
    InvalidateRect(parent->Handle(), &r, TRUE);
}

void TOutlinedLabel::StyleChanged() {
    if (Parent()) ApplyAutoColors(ParentBackgroundColor(), colors_);
    InvalidateArea();
}

void TOutlinedLabel::FaceRepaint() { PaintNow(true); }

bool TOutlinedLabel::CanPaintNow() const {
    return Visible() && Parent() && Parent()->HandleAllocated();
}

void TOutlinedLabel::PaintNow(bool faceOnly) {
    // Without a window to draw on nothing is painted; a face-only request must not linger then,
    // or the next full paint would draw the face alone.
    if (!CanPaintNow()) return;
    faceOnly_ = faceOnly;
    try {
        Paint();
    } catch (...) {
        faceOnly_ = false;
        static_cast<forms::TControlCanvas&>(Canvas()).Release();
        throw;
    }
    static_cast<forms::TControlCanvas&>(Canvas()).Release();
}

void TOutlinedLabel::ActiveChanged() {
    const bool buffered = options_ & floBufferedDraw;
    if (textStyles_.Passive() != textStyles_.Active() ||
        (colors_.Background() != colors_.BackgroundActive() && !Transparent())) {
        if (buffered) PaintNow(false);
        else InvalidateArea();
    } else if ((options_ & floDelineatedText) && colors_.DelineateActive() != colors_.Delineate()) {
        PaintNow(false);
    } else if (colors_.TextActive() != colors_.Text()) {
        PaintNow(true);
    }
}

}  // namespace label
