// The options dialog at its screen's density. Every place and size is kept as its 96-dpi design
// value and grown from it, so the dialog moved onto a denser screen and back is laid out exactly
// as before; fonts keep their point size.
#include "ConfForm.h"
#include "IconSize.h"
#include "MainForm.h"

namespace thermowl {

using namespace forms;

namespace {
constexpr UINT DpiChangedMsg = 0x02E0;  // WM_DPICHANGED, from Windows 8.1 on
constexpr int DesignWidth = 304, DesignHeight = 327;  // the client area
}  // namespace

void TConfForm::Design(TControl* control, int left, int top, int width, int height) {
    designs_[control] = {control, left, top, width, height};
    control->SetBounds(Scaled(left), Scaled(top), Scaled(width), Scaled(height));
}

void TConfForm::ApplyDensityExtras() {
    TrackBar1->SetThumbLength(Scaled(20));
    Image1->Stretch = dpi_ != 96;  // the photograph has one size; stretched it still fills the band
}

void TConfForm::LoadWindowIcons() {
    const struct {
        TIcon& icon;
        int metric;
        WPARAM which;
    } icons[] = {{bigIcon_, SM_CXICON, ICON_BIG}, {smallIcon_, SM_CXSMICON, ICON_SMALL}};
    for (const auto& k : icons)
        if (k.icon.LoadFromResourceName(GetModuleHandleA(nullptr), "MAINICON", IconSizeAt(k.metric, dpi_)))
            SendMessageA(Handle(), WM_SETICON, k.which, reinterpret_cast<LPARAM>(k.icon.Handle()));
}

void TConfForm::FitClientArea(int left, int top) {
    RECT frame{0, 0, Scaled(DesignWidth), Scaled(DesignHeight)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
    SetBounds(left, top, frame.right - frame.left, frame.bottom - frame.top);
    // The client area is the design value: the frame the system really draws may be that of
    // another density than the one AdjustWindowRectEx knows.
    const int wider = Scaled(DesignWidth) - ClientWidth(), taller = Scaled(DesignHeight) - ClientHeight();
    if (wider || taller) SetBounds(left, top, Width() + wider, Height() + taller);
}

void TConfForm::DpiChanged(int dpi, const RECT& suggested) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    PageControl1->SetTabMargin(Scaled(TabMargin));
    // Fonts next: a spin edit's least height follows its font.
    Font().SetHeight(-Scaled(DesignFontHeight));
    for (TComponent* c : Components())
        if (auto* control = dynamic_cast<TControl*>(c)) control->Font().SetHeight(-Scaled(DesignFontHeight));
    for (TComponent* c : Components()) {
        if (auto* toggle = dynamic_cast<controls::TXPToggle*>(c)) toggle->SetDpi(dpi);
        if (auto* spin = dynamic_cast<controls::TSpinEdit*>(c)) spin->SetDpi(dpi);
    }
    for (const auto& [component, d] : designs_) {
        TControl* c = d.control;
        // A label sized to its text has just taken its size from its new font.
        if (c->AutoSize()) c->SetBounds(Scaled(d.left), Scaled(d.top), c->Width(), c->Height());
        else c->SetBounds(Scaled(d.left), Scaled(d.top), Scaled(d.width), Scaled(d.height));
    }
    ApplyDensityExtras();
    // The tabs leave room for the menu images, which follow the main screen's density.
    if (monitor_) {
        PageControl1->SetImages(nullptr);
        PageControl1->SetImages(monitor_->ImageList1);
    }
    FitDriveNames();
    FitClientArea(suggested.left, suggested.top);
    LoadWindowIcons();
    Invalidate();
}

void TConfForm::WndProc(TMessage& m) {
    if (m.Msg == DpiChangedMsg) {
        Guarded([&] { DpiChanged(HIWORD(m.WParam), *reinterpret_cast<const RECT*>(m.LParam)); });
        m.Result = 0;
        return;
    }
    TForm::WndProc(m);
}

}  // namespace thermowl
