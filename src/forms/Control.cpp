#include "Control.h"
#include "Menus.h"
#include "WinControl.h"
#include <windowsx.h>
#include <algorithm>

namespace forms {

TShiftState ShiftFromKeys(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    font_.OnChange = [this](TObject*) {
        parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    MarkDestroying();
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::StoreBounds(int l, int t, int w, int h) {
    left_ = l; top_ = t; width_ = w; height_ = h;
}

void TControl::SetBounds(int l, int t, int w, int h) {
    if (l == left_ && t == top_ && w == width_ && h == height_) return;
    if (parent_ && parent_->HandleAllocated() && visible_) {
        RECT old = BoundsRect();
        InvalidateRect(parent_->Handle(), &old, TRUE);
    }
    StoreBounds(l, t, w, h);
    Invalidate();
    BoundsChanged();
    if (OnResize) OnResize(this);
}

POINT TControl::ClientToScreen(POINT p) const {
    POINT o{left_, top_};
    if (!parent_) return {p.x + o.x, p.y + o.y};
    return parent_->ClientToScreen({p.x + o.x, p.y + o.y});
}

POINT TControl::ScreenToClient(POINT p) const {
    POINT origin = ClientToScreen({0, 0});
    return {p.x - origin.x, p.y - origin.y};
}

bool TControl::Showing() const {
    if (!visible_) return false;
    return parent_ ? parent_->Showing() : false;
}

void TControl::SetVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    if (parent_ && parent_->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->Handle(), &r, TRUE);
    }
    VisibleChanged();
}

void TControl::SetEnabled(bool v) {
    if (enabled_ == v) return;
    enabled_ = v;
    EnabledChanged();
}

void TControl::SetCaption(const std::string& v) {
    if (caption_ == v) return;
    caption_ = v;
    TextChanged();
}

void TControl::SetColor(TColor v) {
    if (color_ == v) { parentColor_ = false; return; }
    color_ = v;
    parentColor_ = false;
    ColorChanged();
}

void TControl::SetParentFont(bool v) {
    parentFont_ = v;
    if (v && parent_) ParentFontChanged();
}

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v && parent_) ParentColorChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    auto keep = font_.OnChange;
    font_.OnChange = nullptr;
    font_.Assign(parent_->Font());
    font_.OnChange = keep;
    FontChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_) return;
    if (color_ != parent_->Color()) {
        color_ = parent_->Color();
        ColorChanged();
    }
}

void TControl::SetAutoSize(bool v) { autoSize_ = v; }

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (popupMenu_) RemoveFreeNotification(popupMenu_);
    popupMenu_ = menu;
    if (menu) FreeNotification(menu);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::Invalidate() {
    if (parent_ && parent_->HandleAllocated() && visible_) {
        RECT r = BoundsRect();
        InvalidateRect(parent_->Handle(), &r, TRUE);
    }
}

void TControl::Repaint() {
    Invalidate();
    if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->Handle());
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    Invalidate();
}

bool TControl::MouseCapture() const {
    return parent_ && parent_->captureControl_ == this && GetCapture() == parent_->handle_;
}

void TControl::SetMouseCapture(bool v) {
    if (!parent_) return;
    if (v) { parent_->captureControl_ = this; SetCapture(parent_->Handle()); }
    else if (parent_->captureControl_ == this) { parent_->captureControl_ = nullptr; ReleaseCapture(); }
}

void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, s, x, y);
}
void TControl::Click() { if (OnClick) OnClick(this); }
void TControl::DblClick() { if (OnDblClick) OnDblClick(this); }
void TControl::MouseEnter() { if (OnMouseEnter) OnMouseEnter(this); }
void TControl::MouseLeave() { if (OnMouseLeave) OnMouseLeave(this); }

// --- TControlCanvas ---------------------------------------------------------------------

void TControlCanvas::CreateHandle() {
    TWinControl* parent = control_->Parent();
    if (!parent) return;
    window_ = parent->Handle();
    ownDc_ = GetDC(window_);
    SetViewportOrgEx(ownDc_, control_->Left(), control_->Top(), nullptr);
    IntersectClipRect(ownDc_, 0, 0, control_->Width(), control_->Height());
    SetHandle(ownDc_);
}

void TControlCanvas::Release() {
    if (!ownDc_) return;
    SetHandle(nullptr);
    SetViewportOrgEx(ownDc_, 0, 0, nullptr);
    SelectClipRgn(ownDc_, nullptr);
    ReleaseDC(window_, ownDc_);
    ownDc_ = nullptr;
    window_ = nullptr;
}

// --- TGraphicControl --------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {
    canvas_->Font().Assign(Font());
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintTo(HDC dc) {
    canvas_->Release();
    canvas_->Font().Assign(Font());
    canvas_->SetHandle(dc);
    try {
        Paint();
    } catch (...) {
        canvas_->SetHandle(nullptr);
        throw;
    }
    canvas_->SetHandle(nullptr);
}

}  // namespace forms
