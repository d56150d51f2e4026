// A 32-bit DIB section with its own memory-DC canvas, and an owned icon.
#pragma once
#include "Canvas.h"
#include <memory>
#include <string>

namespace forms {

class TBitmap : public TGraphicsObject {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    void SetSize(int width, int height);  // contents are kept where they overlap
    void SetWidth(int w) { SetSize(w, height_); }
    void SetHeight(int h) { SetSize(width_, h); }

    TCanvas& Canvas();
    HBITMAP Handle() const { return bitmap_.get(); }
    uint32_t* Bits() const { return bits_; }  // top-down rows of 0x00RRGGBB, after GdiFlush

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    // The transparent colour: clDefault means the bottom-left pixel, as bitmaps are drawn.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor c);

    void Assign(const TBitmap& other);            // pixel copy, same size and transparency
    bool LoadFromResourceName(HINSTANCE module, const char* name);
    bool LoadFromFile(const std::string& path);   // .bmp
    bool LoadFromHandle(HBITMAP source);          // copies; source stays the caller's
    void Clear();

private:
    void Recreate(int width, int height, bool keep);

    int width_ = 0, height_ = 0;
    Bitmap bitmap_;
    uint32_t* bits_ = nullptr;
    std::unique_ptr<MemoryDC> dc_;
    HGDIOBJ oldBitmap_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
    bool transparent_ = false;
    TColor transparentColor_ = clDefault;
};

// An owned HICON.
class TIcon : public TGraphicsObject {
public:
    TIcon() = default;
    ~TIcon() override { Clear(); }
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    HICON Handle() const { return icon_; }
    void SetHandle(HICON icon);  // takes ownership
    bool Empty() const { return icon_ == nullptr; }
    void Assign(const TIcon& other);
    bool LoadFromResourceName(HINSTANCE module, const char* name, int size = 0);
    void Clear();

private:
    HICON icon_ = nullptr;
};

}  // namespace forms
