// Controls: a place on a parent, a caption, a font and colour, visibility, enabled state and
// mouse events. A TGraphicControl has no window: its parent paints it and routes the mouse to it.
#pragma once
#include "Canvas.h"
#include "Component.h"
#include <functional>
#include <memory>

namespace forms {

class TWinControl;
class TPopupMenu;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

TShiftState ShiftFromKeys(WPARAM keys);  // MK_* flags and the keyboard's state

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual RECT ClientRect() const { return {0, 0, width_, height_}; }
    int ClientWidth() const { RECT r = ClientRect(); return r.right - r.left; }
    int ClientHeight() const { RECT r = ClientRect(); return r.bottom - r.top; }
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Showing() const;  // visible itself and on a showing parent
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v);
    TFont& Font() { return font_; }
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    bool AutoSize() const { return autoSize_; }
    virtual void SetAutoSize(bool v);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);
    std::string Hint;
    bool ShowHint = false;
    // A system cursor (IDC_HAND, ...) shown while the mouse is over a windowless control; none:
    // the parent window's own.
    LPCSTR Cursor = nullptr;

    virtual void Invalidate();
    void Repaint();   // invalidate and paint now
    void BringToFront();

    TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseLeave, OnResize;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Mouse input in client coordinates, as the parent or the window routes it.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseEnter();
    virtual void MouseLeave();
    bool MouseInControl() const { return mouseInControl_; }
    bool MouseCapture() const;
    void SetMouseCapture(bool v);
    // Whether a point (client coordinates) hits the control; windowless controls can refuse.
    virtual bool HitTest(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    virtual bool IsWindowed() const { return false; }

protected:
    friend class TWinControl;
    virtual void BoundsChanged() {}
    virtual void TextChanged() { Invalidate(); }
    virtual void FontChanged() { Invalidate(); }
    virtual void ColorChanged() { Invalidate(); }
    virtual void EnabledChanged() { Invalidate(); }
    virtual void VisibleChanged() {}
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    void Notification(TComponent* component, TOperation operation) override;
    void StoreBounds(int left, int top, int width, int height);

    bool mouseInControl_ = false;
    bool pressed_ = false;  // a button went down on the control and has not come up

private:
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true, enabled_ = true, parentFont_ = true, parentColor_ = false, autoSize_ = false;
    std::string caption_;
    TFont font_;
    TColor color_ = clBtnFace;
    TPopupMenu* popupMenu_ = nullptr;
};

// A canvas on the parent window's surface, moved and clipped to a windowless control. Outside
// a paint it takes the parent's DC and gives it back in Release.
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control) : control_(control) {}
    ~TControlCanvas() override { Release(); }
    void Release();
protected:
    void CreateHandle() override;
private:
    TControl* control_;
    HWND window_ = nullptr;
    HDC ownDc_ = nullptr;
};

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas& Canvas() { return *canvas_; }
    // Paints into dc, whose origin is the control's top-left corner (called by the parent).
    void PaintTo(HDC dc);
protected:
    virtual void Paint() {}
private:
    std::unique_ptr<TControlCanvas> canvas_;
};

}  // namespace forms
