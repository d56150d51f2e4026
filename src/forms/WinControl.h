// Windowed controls. All our windows share one window procedure; the object is bound to its
// window at WM_NCCREATE and unbound at WM_NCDESTROY. A system control (EDIT, BUTTON) is
// superclassed under our own class name so it binds the same way.
#pragma once
#include "Control.h"
#include <vector>

namespace forms {

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    std::string WinClassName;   // our class name
    std::string SystemClass;    // a system class to superclass, or empty
    UINT ClassStyle = CS_DBLCLKS;
    HBRUSH Background = nullptr;
};

// Messages we reflect to the control that sent them (the child gets Msg + ReflectBase).
constexpr UINT ReflectBase = 0xBC00;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle();                       // makes the window when there is none
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();
    void RecreateWnd();

    const std::vector<TControl*>& Controls() const { return controls_; }
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* ControlAtPos(POINT p, bool allowDisabled = false) const;  // windowless children only

    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() const override;
    void SetVisible(bool v) override;
    void Invalidate() override;
    void Update();
    bool IsWindowed() const override { return true; }

    bool TabStop = false;
    bool DoubleBuffered = false;
    bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    TNotifyEvent OnEnter, OnExit;
    std::function<void(TObject*, WORD& key, TShiftState)> OnKeyDown, OnKeyUp;
    std::function<void(TObject*, char& key)> OnKeyPress;

    // The window's rectangle in its parent's client coordinates (the screen's for a top-level
    // window, also one re-parented onto another top-level window).
    static RECT RectInParent(HWND wnd);

    // Finds our object for a window of ours, or null.
    static TWinControl* FromHandle(HWND wnd);

    // Sizes the control to its visible children (right and bottom edges).
    void AdjustSizeToChildren();

    // Paints the window's own surface (background and PaintWindow, no windowless children) into
    // dc, for a see-through child that composes what lies behind it.
    void PaintSurfaceTo(HDC dc);

protected:
    friend class TControl;
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    virtual void WndProc(TMessage& msg);
    void DefaultHandler(TMessage& msg);
    // Painting of the window's own surface; windowless children are painted after it.
    virtual void PaintWindow(HDC dc);
    void PaintControls(HDC dc, const RECT* update);
    virtual void EraseBackground(HDC dc);
    virtual void DoEnter();
    virtual void DoExit();
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void Resize();
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;  // children that follow the parent's colour take the new one
    void EnabledChanged() override;
    void DestroyOwnedControls();

private:
    friend LRESULT CALLBACK FormsWindowProc(HWND, UINT, WPARAM, LPARAM);
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    void PaintHandler(TMessage& msg);
    void MouseHandler(TMessage& msg);
    bool SetChildCursor(TMessage& msg);  // the cursor of the windowless child under the mouse
    void UpdateMouseOver(TControl* over);

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = DefWindowProcA;
    std::vector<TControl*> controls_;
    TControl* captureControl_ = nullptr;   // a windowless child that holds the mouse
    TControl* mouseControl_ = nullptr;     // the child the mouse is over
    bool trackingLeave_ = false;
    Brush backgroundBrush_;
    COLORREF backgroundRgb_ = 0;
    Bitmap paintBuffer_;  // double-buffered painting, kept while the size holds
    SIZE paintBufferSize_{0, 0};
    bool creating_ = false;
};

// A windowed control with a canvas and a Paint method.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas& Canvas() { return canvas_; }
protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;
private:
    TCanvas canvas_;
};

}  // namespace forms
