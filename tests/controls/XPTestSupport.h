// Shared by the styled-control tests: a shown form to hold the controls, a snapshot of what a
// control paints, and real window messages for the pointer and the keyboard.
#pragma once
#include "forms/Application.h"
#include "forms/Bitmap.h"
#include "forms/Form.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include "forms/Component.h"
#include "forms/Gdi.h"

namespace xptest {

constexpr forms::TColor FormColor = 0xD8E9EC;  // the XP dialog face, easy to tell from white

// What a control painted, read back as colour values (0x00BBGGRR).
class Snapshot {
public:
    explicit Snapshot(forms::TWinControl& control);
    forms::TColor At(int x, int y) const;
    int Width() const { return bitmap_->Width(); }
    int Height() const { return bitmap_->Height(); }
    // Whether any pixel of the rectangle has the colour.
    bool Contains(const RECT& r, forms::TColor c) const;
    bool ContainsDark(const RECT& r) const;
private:
    std::unique_ptr<forms::TBitmap> bitmap_;
};

// A colour as it sits in a bitmap picture, from its red, green and blue.
constexpr forms::TColor Rgb(int r, int g, int b) { return forms::TColor(r | (g << 8) | (b << 16)); }

// A pixel of a bitmap's own bits, as a colour value.
inline forms::TColor BitmapPixel(forms::TBitmap& b, int x, int y) {
    GdiFlush();
    uint32_t p = b.Bits()[size_t(y) * b.Width() + x];
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

// The colours expected at points of a snapshot.
struct Pixel {
    int x, y;
    forms::TColor colour;
};
inline void ExpectPixels(const Snapshot& s, std::initializer_list<Pixel> pixels) {
    for (const Pixel& p : pixels) EXPECT_EQ(s.At(p.x, p.y), p.colour) << "at " << p.x << "," << p.y;
}

// The corners of the smallest rectangle around the points of `area` where `hit` holds ({1000, 1000, -1, -1}
// if there are none).
template <typename Hit>
RECT BoundingBox(const RECT& area, Hit hit) {
    RECT r{1000, 1000, -1, -1};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (hit(x, y))
                r = {std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x),
                     std::max<LONG>(r.bottom, y)};
    return r;
}

// Text pixels: captions may be drawn smoothed, so their edges are not the font colour itself.
inline bool Dark(forms::TColor c) { return (c & 0xFF) < 0x90 && ((c >> 8) & 0xFF) < 0x90 && ((c >> 16) & 0xFF) < 0x90; }

class ControlsTest : public ::testing::Test {
protected:
    ~ControlsTest() override;
    void SetUp() override;
    void TearDown() override;

    forms::TForm* form = nullptr;       // shown for the whole run: destroying a window costs Wine time
    forms::TComponent* owner = nullptr;  // owns the test's controls; they go with the test

    // A control of the test's own on `parent`.
    template <typename T>
    T* Add(forms::TWinControl* parent, int x, int y, int w, int h, const std::string& caption = "") {
        T* c = new T(owner);
        c->SetParent(parent);
        c->SetBounds(x, y, w, h);
        if (!caption.empty()) c->SetCaption(caption);
        return c;
    }

    static void MouseMove(forms::TWinControl& c, int x, int y);
    static void MouseDown(forms::TWinControl& c, int x, int y);
    static void MouseUp(forms::TWinControl& c, int x, int y);
    static void Click(forms::TWinControl& c);  // down and up in the middle
    // Key messages go to the window that has the focus, as the keyboard sends them.
    static void KeyDown(WORD key);
    static void KeyUp(WORD key);
    static void Char(char c);
    static void AltChar(char c);
    // Tab through the application's message loop, which hands it to the dialog manager.
    static void Tab();
    static bool HasFocus(forms::TWinControl& c);
    // Makes (from its number), paints and frees a control `times` times: no GDI object or window stays.
    template <typename Make>
    static void ExpectNoLeaks(int times, Make make) {
        const long objects = forms::gdi::LiveObjects();
        const int windows = forms::CountProcessWindows();
        for (int i = 0; i < times; ++i) {
            forms::TWinControl* c = make(i);
            Snapshot s(*c);
            delete c;
        }
        EXPECT_EQ(forms::gdi::LiveObjects(), objects);
        EXPECT_EQ(forms::CountProcessWindows(), windows);
    }
};

}  // namespace xptest
