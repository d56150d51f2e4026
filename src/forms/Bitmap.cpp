#include "Bitmap.h"
#include <algorithm>
#include <cstring>

namespace forms {

TBitmap::TBitmap() = default;
TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() {
    canvas_.reset();
    if (dc_ && oldBitmap_) SelectObject(dc_->get(), oldBitmap_);
}

void TBitmap::SetSize(int w, int h) {
    if (w == width_ && h == height_) return;
    Changing();
    Recreate(std::max(w, 0), std::max(h, 0), true);
    Changed();
}

void TBitmap::Recreate(int w, int h, bool keep) {
    Bitmap fresh;
    uint32_t* bits = nullptr;
    if (w > 0 && h > 0) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;  // top-down
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* p = nullptr;
        fresh.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
        bits = static_cast<uint32_t*>(p);
        if (!fresh) { w = h = 0; bits = nullptr; }
        else std::fill(bits, bits + size_t(w) * h, 0xFFFFFFu);  // a new bitmap is white
    }
    if (keep && bits && bits_) {
        GdiFlush();
        int cw = std::min(w, width_), ch = std::min(h, height_);
        for (int y = 0; y < ch; ++y) std::memcpy(bits + size_t(y) * w, bits_ + size_t(y) * width_, size_t(cw) * 4);
    }
    if (dc_) {
        if (canvas_) canvas_->SetHandle(nullptr);
        SelectObject(dc_->get(), oldBitmap_);
        oldBitmap_ = nullptr;
    }
    bitmap_ = std::move(fresh);
    bits_ = bits;
    width_ = w;
    height_ = h;
    if (dc_) {
        if (bitmap_) oldBitmap_ = SelectObject(dc_->get(), bitmap_.get());
        if (canvas_) canvas_->SetHandle(dc_->get());
    }
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) {
        dc_ = std::make_unique<MemoryDC>();
        if (bitmap_) oldBitmap_ = SelectObject(dc_->get(), bitmap_.get());
        canvas_ = std::make_unique<TCanvas>();
        canvas_->SetHandle(dc_->get());
    }
    return *canvas_;
}

void TBitmap::SetTransparent(bool v) { if (transparent_ != v) { transparent_ = v; Changed(); } }
void TBitmap::SetTransparentColor(TColor c) { if (transparentColor_ != c) { transparentColor_ = c; Changed(); } }

TColor TBitmap::TransparentColor() const {
    if (transparentColor_ != clDefault || Empty()) return transparentColor_ == clDefault ? clWhite : transparentColor_;
    GdiFlush();
    uint32_t p = bits_[size_t(height_ - 1) * width_];
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

void TBitmap::Assign(const TBitmap& o) {
    Changing();
    Recreate(o.width_, o.height_, false);
    if (bits_ && o.bits_) { GdiFlush(); std::memcpy(bits_, o.bits_, size_t(width_) * height_ * 4); }
    transparent_ = o.transparent_;
    transparentColor_ = o.transparentColor_;
    Changed();
}

bool TBitmap::LoadFromHandle(HBITMAP source) {
    BITMAP info{};
    if (!source || !GetObjectA(source, sizeof(info), &info)) return false;
    Changing();
    Recreate(info.bmWidth, std::abs(info.bmHeight), false);
    if (bitmap_) {
        MemoryDC src;
        SelectScope sel(src.get(), source);
        BitBlt(Canvas().Handle(), 0, 0, width_, height_, src.get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    Changed();
    return static_cast<bool>(bitmap_);
}

bool TBitmap::LoadFromResourceName(HINSTANCE module, const char* name) {
    // LoadImage's handle is counted here too, so a leak of it would show.
    Bitmap loaded(static_cast<HBITMAP>(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return loaded && LoadFromHandle(loaded.get());
}

bool TBitmap::LoadFromFile(const std::string& path) {
    Bitmap loaded(static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    return loaded && LoadFromHandle(loaded.get());
}

void TBitmap::Clear() { SetSize(0, 0); }

// --- TIcon ------------------------------------------------------------------------

void TIcon::SetHandle(HICON icon) {
    if (icon == icon_) return;
    Changing();
    if (icon_) { DestroyIcon(icon_); gdi::CountDeleted(); }
    icon_ = icon;
    if (icon_) gdi::CountCreated();
    Changed();
}

void TIcon::Clear() { SetHandle(nullptr); }

void TIcon::Assign(const TIcon& o) { SetHandle(o.icon_ ? CopyIcon(o.icon_) : nullptr); }

bool TIcon::LoadFromResourceName(HINSTANCE module, const char* name, int size) {
    HICON icon = static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, size, size, 0));
    if (!icon) return false;
    SetHandle(icon);
    return true;
}

}  // namespace forms
