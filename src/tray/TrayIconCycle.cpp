// Cycling the icon through the images of an image list.
#include "TrayIcon.h"
#include "forms/ImageList.h"
#include <algorithm>

namespace tray {

void TTrayIcon::SetIconList(forms::TImageList* list) {
    if (iconList_) RemoveFreeNotification(iconList_);
    iconList_ = list;
    if (iconList_) FreeNotification(iconList_);
    SetIconIndex(0);
}

void TTrayIcon::SetIconIndex(int v) {
    if (iconList_) {
        // Past the last image means the last one; callers keep the index at 0 or above, and a
        // negative one is read as 0.
        iconIndex_ = std::max(0, std::min(v, iconList_->Count() - 1));
        iconList_->GetIcon(iconIndex_, *icon_);  // the icon's change refreshes the tray
    } else {
        iconIndex_ = 0;
    }
    RefreshIcon();
}

void TTrayIcon::SetCycleIcons(bool v) {
    cycleIcons_ = v;
    if (v) {
        SetIconIndex(0);
        animationTimer_->SetInterval(cycleInterval_);
        animationTimer_->SetEnabled(true);  // an interval of 0 does not start: nothing cycles
    } else {
        animationTimer_->SetEnabled(false);
    }
}

void TTrayIcon::SetCycleInterval(unsigned ms) {
    cycleInterval_ = ms;
    SetCycleIcons(cycleIcons_);  // a running animation starts again at image 0
}

void TTrayIcon::AnimationTick() {
    if (!iconList_) return;
    iconList_->GetIcon(iconIndex_, *icon_);
    const UINT id = iconId_;
    DoCycle();
    if (!Alive(id) || !iconList_) return;
    SetIconIndex(iconIndex_ < iconList_->Count() - 1 ? iconIndex_ + 1 : 0);
}

void TTrayIcon::DoCycle() {
    int next = iconList_ && iconIndex_ < iconList_->Count() - 1 ? iconIndex_ + 1 : 0;
    if (OnCycle) OnCycle(this, next);
}

}  // namespace tray
