#include "Label.h"

namespace forms {

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetParentColor(true);
    TControl::SetAutoSize(true);
    SetBounds(0, 0, 65, 13);
}

TLabel::~TLabel() = default;

void TLabel::SetTransparent(bool v) {
    if (transparent_ == v) return;
    transparent_ = v;
    Invalidate();
}

void TLabel::SetAutoSize(bool v) {
    TControl::SetAutoSize(v);
    AdjustSize();
}

void TLabel::TextChanged() {
    AdjustSize();
    Invalidate();
}

void TLabel::FontChanged() {
    AdjustSize();
    Invalidate();
}

void TLabel::AdjustSize() {
    if (!AutoSize()) return;
    MemoryDC dc;
    SelectScope font(dc.get(), Font().Handle());
    // An empty caption keeps the height of one line.
    const std::string& text = Caption().empty() ? std::string(" ") : Caption();
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    SetBounds(Left(), Top(), Caption().empty() ? 0 : size.cx, size.cy);
}

void TLabel::Paint() {
    TCanvas& canvas = Canvas();
    RECT r{0, 0, Width(), Height()};
    if (!transparent_) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.FillRect(r);
    }
    canvas.Brush().SetStyle(bsClear);
    if (Enabled()) {
        canvas.TextRect(r, 0, 0, Caption());
        return;
    }
    // Etched, as the system shows disabled text: a light copy one pixel down and right.
    canvas.Font().SetColor(clBtnHighlight);
    canvas.TextRect(r, 1, 1, Caption());
    canvas.Font().SetColor(clBtnShadow);
    canvas.TextRect(r, 0, 0, Caption());
}

}  // namespace forms
