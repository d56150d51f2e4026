#include "LabelTestSupport.h"
#include <sstream>

namespace labeltest {

void LabelTest::SetUp() {
    form = new forms::TForm(nullptr);
    form->SetBorderStyle(forms::bsNone);
    form->SetBounds(0, 0, 300, 120);
    form->SetColor(forms::clPurple);
}

void LabelTest::TearDown() { delete form; }

label::TOutlinedLabel* LabelTest::MakeLabel(const std::string& caption, label::TLabelOptions options) {
    auto* l = new label::TOutlinedLabel(form);
    l->SetParent(form);
    l->Font().SetName("Arial");
    l->Font().SetHeight(-13);
    l->Font().SetStyle(forms::fsBold);
    l->SetOptions(options);
    l->SetCaption(caption);
    return l;
}

label::TOutlinedLabel* LabelTest::ProgramLabel(const std::string& caption) {
    auto* l = SetColours(MakeLabel(caption, label::floDelineatedText | label::floIgnoreMouse));
    l->TextStyles().SetPassive(label::fstRaised);
    return l;
}

label::TOutlinedLabel* SetColours(label::TOutlinedLabel* l) {
    l->Colors().SetText(kFace);
    l->Colors().SetDelineate(kOutline);
    l->Colors().SetHighlight(kHighlight);
    l->Colors().SetShadow(kShadow);
    return l;
}

const std::vector<Layer> kRaised = {{0, 0, kHighlight}, {4, 4, kShadow}, {1, 1, kOutline}, {3, 3, kOutline},
                                    {1, 3, kOutline}, {3, 1, kOutline}, {2, 2, kFace}};

COLORREF PixelAt(const forms::TBitmap& bitmap, int x, int y) {
    GdiFlush();
    uint32_t p = bitmap.Bits()[size_t(y) * bitmap.Width() + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::unique_ptr<forms::TBitmap> Render(label::TOutlinedLabel& l, COLORREF fill, int width, int height,
                                       bool settle) {
    if (settle) {
        forms::TBitmap scratch(width, height);
        l.PaintTo(scratch.Canvas().Handle());
    }
    auto bitmap = std::make_unique<forms::TBitmap>(width, height);
    HDC dc = bitmap->Canvas().Handle();
    forms::Brush brush(CreateSolidBrush(fill));
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush.get());
    {
        forms::SavedDC saved(dc);
        IntersectClipRect(dc, 0, 0, l.Width(), l.Height());
        l.PaintTo(dc);
    }
    GdiFlush();
    return bitmap;
}

TextShape::TextShape(HFONT font, const std::string& text) {
    // Room on every side for text turned by the font's escapement.
    forms::TBitmap b(2 * kMargin + 400, 2 * kMargin + 80);
    HDC dc = b.Canvas().Handle();
    PatBlt(dc, 0, 0, b.Width(), b.Height(), BLACKNESS);
    {
        forms::SelectScope select(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutA(dc, kMargin, kMargin, text.data(), static_cast<int>(text.size()));
    }
    GdiFlush();
    width_ = b.Width();
    height_ = b.Height();
    cover_.resize(size_t(width_) * height_);
    for (size_t i = 0; i < cover_.size(); ++i) {
        uint32_t p = b.Bits()[i] & 0xFFFFFF;
        cover_[i] = p == 0 ? none : p == 0xFFFFFF ? solid : partial;
    }
}

TextShape::Cover TextShape::At(int x, int y) const {
    x += kMargin;
    y += kMargin;
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return none;
    return cover_[size_t(y) * width_ + x];
}

int TextShape::SolidCountIn(RECT area, POINT origin) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) n += At(x - origin.x, y - origin.y) == solid;
    return n;
}

int TextShape::SolidCount() const {
    int n = 0;
    for (Cover c : cover_) n += c == solid;
    return n;
}

ColorAt Uniform(COLORREF c) {
    return [c](int, int) { return c; };
}

testing::AssertionResult LayersMatch(const forms::TBitmap& bitmap, const TextShape& shape, POINT origin,
                                     const std::vector<Layer>& layers, const ColorAt& behind, RECT area) {
    std::vector<int> seen(layers.size(), 0), expected(layers.size(), 0);
    std::ostringstream errors;
    int errorCount = 0, checked = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            int top = -1;
            bool skip = false;
            for (int i = static_cast<int>(layers.size()) - 1; i >= 0; --i) {
                auto c = shape.At(x - origin.x - layers[i].dx, y - origin.y - layers[i].dy);
                if (c == TextShape::none) continue;
                if (c == TextShape::partial) skip = true;
                else top = i;
                break;
            }
            if (skip) continue;
            COLORREF want = top < 0 || layers[top].showsBehind ? behind(x, y)
                            : layers[top].pattern          ? layers[top].pattern(x, y)
                                                           : layers[top].color;
            COLORREF got = PixelAt(bitmap, x, y);
            ++checked;
            if (top >= 0) ++expected[top];
            if (got == want) {
                if (top >= 0) ++seen[top];
            } else if (++errorCount <= 5) {
                errors << " (" << x << "," << y << ") is " << std::hex << got << " not " << want << std::dec
                       << (top < 0 ? " (nothing drawn)" : " (layer " + std::to_string(top) + ")") << ";";
            }
        }
    }
    for (size_t i = 0; i < layers.size(); ++i)
        if (expected[i] == 0) errors << " layer " << i << " never on top;";
    if (errorCount || errors.tellp() > 0)
        return testing::AssertionFailure() << errorCount << " of " << checked << " pixels wrong:" << errors.str();
    return testing::AssertionSuccess();
}

}  // namespace labeltest
