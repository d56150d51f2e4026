#include "XPGradient.h"
#include <algorithm>
#include <cstring>

namespace controls {

namespace {
// n / d rounded to the nearest whole number, halves to even (d > 0).
int RoundHalfEven(int n, int d) {
    int q = n / d, r = n % d;
    if (r < 0) { r += d; --q; }
    if (2 * r > d || (2 * r == d && (q & 1))) ++q;
    return q;
}

// n / d rounded, halves away from zero (n >= 0, d > 0).
int RoundHalfUp(int n, int d) { return (2 * n + d) / (2 * d); }

int Channel(forms::TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// A table colour (0x00BBGGRR) as a DIB pixel (0x00RRGGBB).
uint32_t ToPixel(forms::TColor c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
}  // namespace

std::array<forms::TColor, 32> GradientTable(forms::TColor top, forms::TColor bottom) {
    std::array<forms::TColor, 32> table{};
    for (int i = 0; i < 32; ++i) {
        forms::TColor c = 0;
        for (int shift : {0, 8, 16}) {
            int a = Channel(top, shift), b = Channel(bottom, shift);
            c |= static_cast<forms::TColor>(a + RoundHalfEven(i * (b - a), 31)) << shift;
        }
        table[i] = c;
    }
    return table;
}

void MakeGradient(forms::TBitmap& bitmap, int width, int height, forms::TColor top, forms::TColor bottom,
                  std::minstd_rand& random) {
    bitmap.SetSize(std::max(width, 0), std::max(height, 0));
    if (bitmap.Empty()) return;
    const int w = bitmap.Width(), h = bitmap.Height();
    const auto table = GradientTable(forms::ColorToRGB(top), forms::ColorToRGB(bottom));
    GdiFlush();
    uint32_t* bits = bitmap.Bits();
    auto row = [&](int y) { return bits + size_t(y) * w; };

    std::fill(bits, bits + size_t(w) * h, ToPixel(table[0]));
    const int strip = std::min(w, 16);
    const int fray = h / 31;
    for (int i = 0; i < 32; ++i) {
        int y0 = RoundHalfUp(i * h, 32), y1 = RoundHalfUp((i + 1) * h, 32);
        for (int y = y0; y < y1; ++y) std::fill(row(y), row(y) + w, ToPixel(table[i]));
        if (i == 0) continue;
        for (int x = 0; x < strip; ++x) {
            for (int j = 0; j <= fray; ++j) {
                int r = j > 0 ? static_cast<int>(random() % static_cast<unsigned>(j)) : 0;
                if (y0 + r < h) row(y0 + r)[x] = ToPixel(table[i - 1]);
            }
        }
    }
    // Every 16-column tile carries the same frayed edges.
    for (int x = 16; x < w; x += 16) {
        int n = std::min(16, w - x);
        for (int y = 0; y < h; ++y) std::memcpy(row(y) + x, row(y), size_t(n) * 4);
    }
}

}  // namespace controls
