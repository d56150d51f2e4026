// TTrayIcon: a non-visual component that owns one icon in the taskbar notification area. It
// turns the shell's callbacks into events, pops its menu up at the cursor, sends the main form
// to the tray on minimize, brings the icon back when the taskbar is re-created, shows balloon
// hints and can cycle the icon through an image list.
#pragma once
#include "SimpleTimer.h"
#include "forms/Bitmap.h"
#include "forms/Component.h"
#include "forms/Control.h"
#include "forms/WinControl.h"
#include <shellapi.h>
#include <memory>
#include <string>

namespace forms {
class TImageList;
class TPopupMenu;
}  // namespace forms

namespace tray {

// The icon inside a balloon; the values are the shell's NIIF_ ones.
enum BalloonIcon : BYTE { biNone = 0, biInfo = 1, biWarning = 2, biError = 3 };
enum TNotifyStyle { nsClassic = 0, nsVersion3 = 1 };

using TCycleEvent = std::function<void(forms::TObject* sender, int NextIndex)>;
using TStartupEvent = std::function<void(forms::TObject* sender, bool& ShowMainForm)>;

// The callback message the shell sends to the shared window (WM_USER + 0x400).
constexpr UINT TrayCallbackMessage = WM_USER + 0x400;
// The record with the balloon fields: 488 bytes in a 32-bit build, 504 in a 64-bit one.
constexpr DWORD NotifyDataSize = NOTIFYICONDATAA_V2_SIZE;
// The uFlags every shell call carries unless a balloon is being shown or hidden.
constexpr UINT BaseNotifyFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

class TTrayIcon : public forms::TComponent {
public:
    explicit TTrayIcon(forms::TComponent* owner);
    ~TTrayIcon() override;

    // Inside a form designer only: show the icon while designing.
    bool DesignPreview() const { return designPreview_; }
    void SetDesignPreview(bool v);

    forms::TImageList* IconList() const { return iconList_; }
    void SetIconList(forms::TImageList* list);
    bool CycleIcons() const { return cycleIcons_; }
    void SetCycleIcons(bool v);
    unsigned CycleInterval() const { return cycleInterval_; }
    void SetCycleInterval(unsigned ms);
    int IconIndex() const { return iconIndex_; }
    void SetIconIndex(int v);

    bool Enabled = true;  // false: mouse notifications are dropped (balloon ones are not)
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& v);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);

    forms::TIcon& Icon() { return *icon_; }
    void SetIcon(const forms::TIcon& icon);  // copies
    bool IconVisible() const { return iconVisible_; }
    void SetIconVisible(bool v);

    forms::TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(forms::TPopupMenu* menu);
    bool LeftPopup = false;       // a left button-down shows the menu too
    bool WantEnterExitEvents() const { return wantEnterExit_; }
    void SetWantEnterExitEvents(bool v);
    bool MinimizeToTray = false;  // a minimize of the application sends the main form to the tray
    TNotifyStyle NotifyStyle() const { return notifyStyle_; }
    void SetNotifyStyle(TNotifyStyle v);

    forms::TNotifyEvent OnClick, OnDblClick;
    forms::TMouseEvent OnMouseDown, OnMouseUp;
    forms::TMouseMoveEvent OnMouseMove;
    forms::TNotifyEvent OnMouseEnter, OnMouseExit;
    TCycleEvent OnCycle;
    forms::TNotifyEvent OnBalloonHintShow, OnBalloonHintHide, OnBalloonHintTimeout, OnBalloonHintClick;
    forms::TNotifyEvent OnMinimizeToTray;
    TStartupEvent OnStartup;

    // Each returns whether the shell accepted the call.
    virtual bool WantsStockIcon() { return true; }
    virtual bool AddIcon();
    virtual bool RemoveIcon();
    virtual bool RefreshIcon();
    bool Refresh() { return RefreshIcon(); }

    // Title cut to 63 characters, text to 255; false when the icon is not in the tray.
    bool ShowBalloonHint(const std::string& title, const std::string& text, BalloonIcon kind,
                         BYTE timeoutSeconds);
    bool HideBalloonHint();

    void ShowTrayMenu();
    void RestoreMainForm();
    void HideMainForm();
    void HideTaskbarButton();
    virtual void SendToTray();

    void Loaded() override;

    // For inspection: the record passed to the shell, this icon's id and its timers.
    const NOTIFYICONDATAA& NotifyData() const { return notifyData_; }
    UINT IconId() const { return iconId_; }
    const TSimpleTimer& AnimationTimer() const { return *animationTimer_; }
    const TSimpleTimer& SingleClickTimer() const { return *singleClickTimer_; }
    const TSimpleTimer& HoverPollTimer() const { return *hoverPollTimer_; }
    // The shared callback window, or null while no tray icon exists.
    static HWND HandlerWindow();
    // "TaskbarCreated", or 0 when comctl32.dll is older than 4.71.
    static UINT TaskbarCreatedMessage();

protected:
    void Notification(forms::TComponent* component, forms::TOperation operation) override;

    virtual void DoClick();
    virtual void DoDblClick();
    virtual void DoCycle();
    virtual void DoMouseDown(forms::TMouseButton button, forms::TShiftState shift, int x, int y);
    virtual void DoMouseUp(forms::TMouseButton button, forms::TShiftState shift, int x, int y);
    virtual void DoMouseMove(forms::TShiftState shift, int x, int y);
    virtual void DoMouseEnter();
    virtual void DoMouseExit();
    // Shows the menu at a screen point and returns when it closes (tests replace it).
    virtual void PopupAt(forms::TPopupMenu& menu, int x, int y);

private:
    friend class TTrayIconHandler;
    friend class OwnerHook;

    bool InDesigner() const;
    bool FillIconData();
    bool Notify(DWORD message);
    forms::TWinControl* WindowedOwner() const;
    bool CallStartup();

    // Shell callbacks and the hooks; each returns false once this icon is gone (an event
    // handler freed it), so the caller touches nothing more.
    void IconMessage(LPARAM notification);
    bool ApplicationHook(forms::TMessage& msg);
    bool OwnerWindowProc(forms::TMessage& msg);
    void SingleClickTick();
    void HoverPollTick();
    void AnimationTick();
    static bool Alive(UINT id);  // whether the icon with this id still exists

    UINT iconId_;
    NOTIFYICONDATAA notifyData_;
    bool designPreview_ = false, previewUpdating_ = false;
    forms::TImageList* iconList_ = nullptr;
    bool cycleIcons_ = false;
    unsigned cycleInterval_ = 0;
    int iconIndex_ = 0;
    std::string hint_;
    bool showHint_ = true;
    std::unique_ptr<forms::TIcon> icon_;
    bool iconVisible_ = false;
    forms::TPopupMenu* popupMenu_ = nullptr;
    bool wantEnterExit_ = false;
    TNotifyStyle notifyStyle_ = nsClassic;

    bool leftDownSeen_ = false, clickPending_ = false, doubleClickSeen_ = false;
    bool cursorOutside_ = true;
    POINT lastHoverPoint_{0, 0};
    bool startupCheckPending_ = true;

    std::unique_ptr<TSimpleTimer> animationTimer_, singleClickTimer_, hoverPollTimer_;
    int appHookId_ = 0;
    HWND hookedOwner_ = nullptr;  // the owner window whose procedure we replaced
};

}  // namespace tray
