#include "ControlArt.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

namespace controls {

using namespace forms;

namespace {

struct Rgb { int r, g, b; };
constexpr Rgb Magenta{255, 0, 255}, Olive{128, 128, 0}, Black{0, 0, 0};

// The drawing follows make_bitmaps.py step by step, rounding half to even as Python does, so that
// at 96 dpi it gives the very pixels of the bitmaps.
int Round(double v) { return static_cast<int>(std::nearbyint(v)); }

Rgb Mix(Rgb a, Rgb b, double t) {
    return {Round(a.r + (b.r - a.r) * t), Round(a.g + (b.g - a.g) * t), Round(a.b + (b.b - a.b) * t)};
}

// Weight of the bottom-right colour in an n x n diagonal gradient.
double Diagonal(int n, int x, int y) { return n > 1 ? double(x + y) / (2 * (n - 1)) : 0.0; }

void Fill(TBitmap& out, int w, int h, const std::function<Rgb(int x, int y)>& colourAt) {
    out.SetSize(w, h);
    GdiFlush();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = colourAt(x, y);
            out.Bits()[size_t(y) * w + x] = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | uint32_t(c.b);
        }
}

void GradientSquare(TBitmap& out, int n, Rgb a, Rgb b, int hole = 0) {
    Fill(out, n, n, [&](int x, int y) {
        const bool inside = hole && x >= hole && y >= hole && x < n - hole && y < n - hole;
        return inside ? Magenta : Mix(a, b, Diagonal(n, x, y));
    });
}

// The tick: a stroke three units thick through the centres of seven columns, down to the third
// and up to the last.
void Tick(TBitmap& out, int n, Rgb colour) {
    const double unit = n / 7.0;
    Fill(out, n, n, [&](int x, int y) {
        const double cx = (x + 0.5) / unit, cy = (y + 0.5) / unit;
        const double centre = cx <= 2.5 ? 3.0 + cx : 8.0 - cx;
        return std::abs(cy - centre) < 1.5 ? colour : Magenta;
    });
}

// Share of pixel (x, y) inside the circle of `radius` round the middle of an n x n picture.
double Coverage(int n, int x, int y, double radius) {
    const int samples = 8;
    const double c = n / 2.0;
    int inside = 0;
    for (int sy = 0; sy < samples; ++sy)
        for (int sx = 0; sx < samples; ++sx) {
            const double px = x + (sx + 0.5) / samples - c, py = y + (sy + 0.5) / samples - c;
            inside += px * px + py * py <= radius * radius;
        }
    return double(inside) / (samples * samples);
}

// The radio face: a ring round a gradient, its edge blended into the dialog face.
void RadioFace(TBitmap& out, int n, double ringWidth, Rgb a, Rgb b) {
    const Rgb ringColour{24, 81, 123}, edge{214, 211, 206};
    const double outer = n / 2.0, inner = outer - ringWidth;
    Fill(out, n, n, [&](int x, int y) {
        const double cOut = Coverage(n, x, y, outer), cIn = inner > 0 ? Coverage(n, x, y, inner) : 0.0;
        if (cOut < 0.3) return Magenta;
        const Rgb inside = Mix(a, b, Diagonal(n, x, y));
        const std::pair<double, Rgb> parts[] = {{cOut - cIn, ringColour}, {1.0 - cOut, edge}, {cIn, inside}};
        double r = 0, g = 0, bl = 0;
        for (const auto& [weight, c] : parts) r += weight * c.r, g += weight * c.g, bl += weight * c.b;
        return Rgb{Round(r), Round(g), Round(bl)};
    });
}

// A ring without soft edges: pixels mostly on it take colourAt, the rest are see-through.
void ThinRing(TBitmap& out, int n, double ringWidth, double threshold, const std::function<Rgb(int, int)>& colourAt) {
    const double outer = n / 2.0;
    Fill(out, n, n, [&](int x, int y) {
        const double onRing = Coverage(n, x, y, outer) - Coverage(n, x, y, outer - ringWidth);
        return onRing >= threshold ? colourAt(x, y) : Magenta;
    });
}

void Dot(TBitmap& out, int n, Rgb centre, Rgb rim) {
    const double c = (n - 1) / 2.0, radius = 2.3 * (n / 5.0);
    Fill(out, n, n, [&](int x, int y) {
        const double d = std::sqrt((x - c) * (x - c) + (y - c) * (y - c));
        return d > radius ? Magenta : Mix(centre, rim, std::min(d / radius, 1.0));
    });
}

// A black triangle on olive, pointing up or down; `rows` high, one pixel of olive above and below.
void Arrow(TBitmap& out, int rows, bool up) {
    Fill(out, 2 * rows + 1, rows + 2, [&](int x, int y) {
        const int i = up ? y - 1 : rows - y;  // the row's distance from the point
        return i >= 0 && i < rows && std::abs(x - rows) <= i ? Black : Olive;
    });
}

}  // namespace

ToggleMetrics ToggleMetricsFor(int dpi) {
    if (dpi <= 0) dpi = 96;
    auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    return {scaled(13), std::max(1, dpi / 96), scaled(2), scaled(7), scaled(5)};
}

bool DrawControlPicture(TBitmap& out, const char* name, int dpi) {
    const ToggleMetrics m = ToggleMetricsFor(dpi);
    const int inner = m.box - 2 * m.frame;
    const double unit = m.box / 13.0;  // the radio rings' widths grow with the face
    const Rgb disabled{206, 203, 189};
    auto is = [name](const char* n) { return std::strcmp(name, n) == 0; };
    if (is("CB_UNPRESS")) GradientSquare(out, inner, {222, 223, 214}, {255, 255, 255});
    else if (is("CB_PRESS")) GradientSquare(out, inner, {181, 178, 165}, {247, 239, 222});
    else if (is("CB_BORDER")) GradientSquare(out, inner, {255, 243, 206}, {255, 178, 49}, m.ring);
    else if (is("CB_FLAG")) Tick(out, m.mark, {33, 162, 33});
    else if (is("CB_DISFLAG")) Tick(out, m.mark, disabled);
    else if (is("CB_GRAYED")) GradientSquare(out, m.mark, {107, 186, 107}, {115, 199, 115});
    else if (is("CB_DISGRAYED")) GradientSquare(out, m.mark, disabled, disabled);
    else if (is("RD_UNPRESS")) RadioFace(out, m.box, unit, {220, 220, 215}, {255, 255, 255});
    else if (is("RD_PRESS")) RadioFace(out, m.box, unit, {181, 182, 173}, {239, 235, 222});
    else if (is("RD_BORDER"))
        ThinRing(out, inner, 2 * unit, 0.45, [inner](int x, int y) {
            return Mix({255, 223, 156}, {255, 186, 57}, Diagonal(inner, x, y));
        });
    else if (is("RD_FLAG")) Dot(out, m.dot, {33, 162, 33}, {140, 214, 140});
    else if (is("RD_DISABLED")) ThinRing(out, m.box, unit, 0.35, [](int, int) { return Rgb{206, 203, 189}; });
    else if (is("RD_DISFLAG")) Dot(out, m.dot, {198, 190, 181}, {198, 190, 181});
    else if (is("SpinUp") || is("SpinDown")) Arrow(out, MulDiv(4, dpi > 0 ? dpi : 96, 96), is("SpinUp"));
    else return false;
    return true;
}

void LoadControlPicture(TBitmap& out, const char* name, int dpi) {
    if (dpi == 96 || dpi <= 0) out.LoadFromResourceName(GetModuleHandleA(nullptr), name);
    else DrawControlPicture(out, name, dpi);
}

}  // namespace controls
