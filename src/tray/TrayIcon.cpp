#include "TrayIcon.h"
#include "OwnerHook.h"
#include "TrayIconHandler.h"
#include "forms/Application.h"
#include "forms/ImageList.h"
#include "forms/Menus.h"
#include "forms/Platform.h"
#include <algorithm>
#include <cstring>

namespace tray {

static_assert(sizeof(void*) != 4 || NotifyDataSize == 488, "the balloon record is 488 bytes in a 32-bit build");
static_assert(NotifyDataSize <= sizeof(NOTIFYICONDATAA), "the record we fill must hold the size we announce");

TTrayIcon::TTrayIcon(forms::TComponent* owner) : forms::TComponent(owner) {
    iconId_ = TTrayIconHandler::Acquire(this);
    RegisteredTaskbarCreatedMessage();
    try {
        icon_ = std::make_unique<forms::TIcon>();
        icon_->OnChange = [this](forms::TObject*) { RefreshIcon(); };

        std::memset(&notifyData_, 0, sizeof(notifyData_));
        notifyData_.cbSize = NotifyDataSize;  // whatever the shell's version
        notifyData_.hWnd = TTrayIconHandler::Instance()->Handle();
        notifyData_.uID = iconId_;
        notifyData_.uFlags = BaseNotifyFlags;
        notifyData_.uCallbackMessage = TrayCallbackMessage;

        animationTimer_ = std::make_unique<TSimpleTimer>(1000, [this](forms::TObject*) { AnimationTick(); });
        singleClickTimer_ = std::make_unique<TSimpleTimer>(1000, [this](forms::TObject*) { SingleClickTick(); });
        hoverPollTimer_ = std::make_unique<TSimpleTimer>(20, [this](forms::TObject*) { HoverPollTick(); });
        cursorOutside_ = true;
        SetDesignPreview(designPreview_);

        if (!InDesigner()) {
            // The hook finds the icon by id: a hook list copied before this icon went away
            // must not reach it.
            appHookId_ = forms::Application->HookMainWindow([id = iconId_](forms::TMessage& m) {
                if (TTrayIcon* icon = TTrayIconHandler::Find(id)) icon->ApplicationHook(m);
                return false;  // the application still sees every message
            });
            if (forms::TWinControl* form = WindowedOwner()) {
                hookedOwner_ = form->Handle();
                OwnerHook::Install(hookedOwner_, this);
            }
        }
    } catch (...) {
        if (appHookId_) forms::Application->UnhookMainWindow(appHookId_);
        TTrayIconHandler::Release(iconId_);
        throw;
    }
}

TTrayIcon::~TTrayIcon() {
    MarkDestroying();
    std::exception_ptr error;
    try {
        SetIconVisible(false);
        SetDesignPreview(false);
        animationTimer_.reset();
        singleClickTimer_.reset();
        hoverPollTimer_.reset();
        icon_->OnChange = nullptr;  // the icon is gone from the tray: nothing to refresh
        icon_.reset();
    } catch (...) {
        error = std::current_exception();
    }
    if (appHookId_) forms::Application->UnhookMainWindow(appHookId_);
    if (hookedOwner_) OwnerHook::Remove(hookedOwner_, this);
    appHookId_ = 0;
    hookedOwner_ = nullptr;
    TTrayIconHandler::Release(iconId_);
    if (error) forms::Application->HandleException(error);
}

bool TTrayIcon::InDesigner() const { return Designing() || (Owner() && Owner()->Designing()); }

forms::TWinControl* TTrayIcon::WindowedOwner() const { return dynamic_cast<forms::TWinControl*>(Owner()); }

bool TTrayIcon::Alive(UINT id) { return TTrayIconHandler::Find(id) != nullptr; }

HWND TTrayIcon::HandlerWindow() {
    TTrayIconHandler* h = TTrayIconHandler::Instance();
    return h ? h->Handle() : nullptr;
}

UINT TTrayIcon::TaskbarCreatedMessage() { return RegisteredTaskbarCreatedMessage(); }

// --- Properties --------------------------------------------------------------------------

void TTrayIcon::SetDesignPreview(bool v) {
    designPreview_ = v;
    if (!InDesigner()) return;
    previewUpdating_ = true;
    if (icon_->Empty() && WantsStockIcon())
        icon_->SetHandle(CopyIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32517))));  // IDI_WINLOGO
    // Shows or hides the preview without touching the stored IconVisible.
    SetIconVisible(v);
    previewUpdating_ = false;
}

void TTrayIcon::SetHint(const std::string& v) {
    hint_ = v;
    RefreshIcon();
}

void TTrayIcon::SetShowHint(bool v) {
    showHint_ = v;
    RefreshIcon();
}

void TTrayIcon::SetIcon(const forms::TIcon& icon) {
    // One refresh for the whole copy, not one per change of the owned icon.
    forms::TNotifyEvent onChange = std::move(icon_->OnChange);
    icon_->OnChange = nullptr;
    icon_->Assign(icon);
    icon_->OnChange = std::move(onChange);
    RefreshIcon();
}

void TTrayIcon::SetIconVisible(bool v) {
    if (v) AddIcon();
    else RemoveIcon();
}

void TTrayIcon::SetPopupMenu(forms::TPopupMenu* menu) {
    if (popupMenu_) RemoveFreeNotification(popupMenu_);
    popupMenu_ = menu;
    if (popupMenu_) FreeNotification(popupMenu_);
}

void TTrayIcon::SetWantEnterExitEvents(bool v) {
    wantEnterExit_ = v;
    hoverPollTimer_->SetEnabled(v);
}

void TTrayIcon::SetNotifyStyle(TNotifyStyle v) {
    notifyStyle_ = v;
    notifyData_.uVersion = v == nsVersion3 ? NOTIFYICON_VERSION : 0;
    if (!InDesigner() || previewUpdating_) Notify(NIM_SETVERSION);
}

void TTrayIcon::Notification(forms::TComponent* component, forms::TOperation operation) {
    forms::TComponent::Notification(component, operation);
    if (operation != forms::opRemove) return;
    if (component == iconList_) SetIconList(nullptr);
    if (component == popupMenu_) popupMenu_ = nullptr;
}

// --- The shell ---------------------------------------------------------------------------

bool TTrayIcon::FillIconData() {
    if (InDesigner() && !previewUpdating_ && !designPreview_) return false;
    notifyData_.hIcon = icon_ ? icon_->Handle() : nullptr;
    std::memset(notifyData_.szTip, 0, sizeof(notifyData_.szTip));
    if (!hint_.empty() && showHint_) {
        size_t n = std::min(hint_.size(), sizeof(notifyData_.szTip) - 1);
        std::memcpy(notifyData_.szTip, hint_.data(), n);
    }
    return true;
}

bool TTrayIcon::Notify(DWORD message) {
    return forms::platform.Shell_NotifyIconA && forms::platform.Shell_NotifyIconA(message, &notifyData_) != FALSE;
}

bool TTrayIcon::AddIcon() {
    if (!previewUpdating_) iconVisible_ = true;
    if (InDesigner() && !previewUpdating_) return false;
    return FillIconData() && Notify(NIM_ADD);
}

bool TTrayIcon::RemoveIcon() {
    if (!previewUpdating_) iconVisible_ = false;
    if (InDesigner() && !previewUpdating_) return false;
    return FillIconData() && Notify(NIM_DELETE);
}

bool TTrayIcon::RefreshIcon() { return FillIconData() && Notify(NIM_MODIFY); }

// --- Loading -----------------------------------------------------------------------------

bool TTrayIcon::CallStartup() {
    bool showMainForm = true;
    if (OnStartup) OnStartup(this, showMainForm);
    return showMainForm;
}

void TTrayIcon::Loaded() {
    forms::TComponent::Loaded();
    if (WindowedOwner() && !InDesigner()) {
        UINT id = iconId_;
        if (!CallStartup()) {
            if (!Alive(id)) return;
            forms::Application->ShowMainForm = false;
            HideMainForm();
        }
        if (!Alive(id)) return;
    }
    RefreshIcon();
    // The stored values, applied again now that everything they depend on is in place.
    SetIconVisible(iconVisible_);
    SetCycleIcons(cycleIcons_);
    SetWantEnterExitEvents(wantEnterExit_);
    SetNotifyStyle(notifyStyle_);
}

// --- Event dispatchers -------------------------------------------------------------------

void TTrayIcon::DoClick() { if (OnClick) OnClick(this); }
void TTrayIcon::DoDblClick() { if (OnDblClick) OnDblClick(this); }
void TTrayIcon::DoMouseDown(forms::TMouseButton b, forms::TShiftState s, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void TTrayIcon::DoMouseUp(forms::TMouseButton b, forms::TShiftState s, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void TTrayIcon::DoMouseMove(forms::TShiftState s, int x, int y) { if (OnMouseMove) OnMouseMove(this, s, x, y); }
void TTrayIcon::DoMouseEnter() { if (OnMouseEnter) OnMouseEnter(this); }
void TTrayIcon::DoMouseExit() { if (OnMouseExit) OnMouseExit(this); }

void TTrayIcon::PopupAt(forms::TPopupMenu& menu, int x, int y) { menu.Popup(x, y); }

}  // namespace tray
