// A list of equally sized images with transparency, handed out as bitmaps or icons.
#pragma once
#include "Bitmap.h"
#include "Component.h"
#include <memory>
#include <vector>

namespace forms {

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);
    ~TImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return static_cast<int>(images_.size()); }

    // Adds a copy; `transparent` is the colour that becomes see-through (clNone: none).
    int Add(const TBitmap& image, TColor transparent = clNone);
    int AddIcon(HICON icon);  // the icon is copied; the caller keeps its own
    void Delete(int index);
    void Clear();
    // Empties the list for images of another size (a screen of another density).
    void SetSize(int width, int height);

    // Copies image `index` into `out`, see-through pixels filled with `background`.
    bool GetBitmap(int index, TBitmap& out, COLORREF background);
    // Makes an icon of image `index`; the icon belongs to `out`.
    bool GetIcon(int index, TIcon& out);
    void Draw(TCanvas& canvas, int x, int y, int index);
    TNotifyEvent OnChange;

private:
    struct Image {
        std::unique_ptr<TBitmap> colour;
        std::vector<bool> mask;  // true: see-through
    };
    void Changed() { if (OnChange) OnChange(this); }
    int width_, height_;
    std::vector<Image> images_;
};

}  // namespace forms
