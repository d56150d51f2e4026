#include "ImageList.h"

namespace forms {

TImageList::TImageList(TComponent* owner, int width, int height) : TComponent(owner), width_(width), height_(height) {}
TImageList::~TImageList() { MarkDestroying(); }

int TImageList::Add(const TBitmap& image, TColor transparent) {
    Image img;
    img.colour = std::make_unique<TBitmap>(width_, height_);
    TBitmap& c = *img.colour;
    BitBlt(c.Canvas().Handle(), 0, 0, width_, height_, const_cast<TBitmap&>(image).Canvas().Handle(), 0, 0, SRCCOPY);
    GdiFlush();
    img.mask.assign(size_t(width_) * height_, false);
    if (transparent != clNone) {
        COLORREF key = ColorToRGB(transparent);
        uint32_t keyBits = ((key & 0xFF) << 16) | (key & 0xFF00) | ((key >> 16) & 0xFF);
        for (size_t i = 0; i < img.mask.size(); ++i) img.mask[i] = (c.Bits()[i] & 0xFFFFFF) == keyBits;
    }
    images_.push_back(std::move(img));
    Changed();
    return Count() - 1;
}

int TImageList::AddIcon(HICON icon) {
    Image img;
    img.colour = std::make_unique<TBitmap>(width_, height_);
    TBitmap& c = *img.colour;
    // Draw on two backgrounds: where they differ, the icon is see-through.
    TBitmap black(width_, height_);
    black.Canvas().Brush().SetColor(clBlack);
    RECT r{0, 0, width_, height_};
    black.Canvas().FillRect(r);
    c.Canvas().Brush().SetColor(clWhite);
    c.Canvas().FillRect(r);
    DrawIconEx(black.Canvas().Handle(), 0, 0, icon, width_, height_, 0, nullptr, DI_NORMAL);
    DrawIconEx(c.Canvas().Handle(), 0, 0, icon, width_, height_, 0, nullptr, DI_NORMAL);
    GdiFlush();
    img.mask.assign(size_t(width_) * height_, false);
    for (size_t i = 0; i < img.mask.size(); ++i)
        img.mask[i] = (c.Bits()[i] & 0xFFFFFF) == 0xFFFFFF && (black.Bits()[i] & 0xFFFFFF) == 0;
    images_.push_back(std::move(img));
    Changed();
    return Count() - 1;
}

void TImageList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    images_.erase(images_.begin() + index);
    Changed();
}

void TImageList::Clear() {
    images_.clear();
    Changed();
}

void TImageList::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
    Clear();
}

bool TImageList::GetBitmap(int index, TBitmap& out, COLORREF background) {
    if (index < 0 || index >= Count()) return false;
    Image& img = images_[index];
    out.Assign(*img.colour);
    GdiFlush();
    uint32_t bg = ((background & 0xFF) << 16) | (background & 0xFF00) | ((background >> 16) & 0xFF);
    for (size_t i = 0; i < img.mask.size(); ++i)
        if (img.mask[i]) out.Bits()[i] = bg;
    return true;
}

bool TImageList::GetIcon(int index, TIcon& out) {
    if (index < 0 || index >= Count()) return false;
    Image& img = images_[index];
    TBitmap colour;
    GetBitmap(index, colour, 0);  // see-through pixels black, as an icon's XOR image wants
    // The AND mask: one bit a pixel, rows padded to 16 bits; 1 where see-through.
    int stride = ((width_ + 15) / 16) * 2;
    std::vector<BYTE> bits(size_t(stride) * height_, 0);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (img.mask[size_t(y) * width_ + x]) bits[size_t(y) * stride + x / 8] |= BYTE(0x80 >> (x % 8));
    Bitmap mask(CreateBitmap(width_, height_, 1, 1, bits.data()));
    ICONINFO info{TRUE, 0, 0, mask.get(), colour.Handle()};
    HICON icon = CreateIconIndirect(&info);
    if (!icon) return false;
    out.SetHandle(icon);
    return true;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index) {
    if (index < 0 || index >= Count()) return;
    TIcon icon;
    if (GetIcon(index, icon)) DrawIconEx(canvas.Handle(), x, y, icon.Handle(), width_, height_, 0, nullptr, DI_NORMAL);
}

}  // namespace forms
