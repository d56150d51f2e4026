// Top-level forms: border style, layer (topmost), colour key and alpha, window state, show/hide,
// modal showing and closing.
#pragma once
#include "WinControl.h"

namespace forms {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle v);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState v);

    // Layered window: colour key and alpha.
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool v);
    BYTE AlphaBlendValue() const { return alphaValue_; }
    void SetAlphaBlendValue(BYTE v);
    bool TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(bool v);
    TColor TransparentColorValue() const { return transparentColorValue_; }
    void SetTransparentColorValue(TColor v);

    void SetVisible(bool v) override;
    void Close();
    int ShowModal();
    int ModalResult = mrNone;
    bool Active() const;

    TNotifyEvent OnShow, OnHide, OnPaint, OnDestroy, OnActivate, OnDeactivate;
    std::function<void(TObject*, TCloseAction&)> OnClose;
    std::function<void(TObject*, bool&)> OnCloseQuery;

    // The layered-window attributes as they are now on the window (for checks).
    bool LayeredAttributes(COLORREF& key, BYTE& alpha, DWORD& flags) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& msg) override;
    void PaintWindow(HDC dc) override;
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    void ApplyLayered();
    void ApplyWindowState();

private:
    TFormBorderStyle borderStyle_ = bsSizeable;
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    bool alphaBlend_ = false, transparentColor_ = false;
    BYTE alphaValue_ = 255;
    TColor transparentColorValue_ = clBlack;
    bool inModal_ = false;
};

}  // namespace forms
