#include "Menus.h"
#include "Application.h"
#include "Bitmap.h"
#include "ImageList.h"
#include <algorithm>
#include <memory>

namespace forms {

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    MarkDestroying();
    for (TMenuItem* i : items_) i->parent_ = nullptr;
    if (parent_) parent_->Remove(this);
}

void TMenuItem::Add(TMenuItem* item) {
    if (item->parent_) item->parent_->Remove(item);
    items_.push_back(item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->parent_ = nullptr;
}

void TMenuItem::Click() {
    if (Enabled && OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {}

TPopupMenu::~TPopupMenu() { MarkDestroying(); }

void TPopupMenu::SetImages(TImageList* images) {
    if (images_) RemoveFreeNotification(images_);
    images_ = images;
    if (images_) FreeNotification(images_);
}

void TPopupMenu::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op == opRemove && c == images_) images_ = nullptr;
    if (op == opRemove && c == PopupComponent) PopupComponent = nullptr;
}

HWND TPopupMenu::WindowHandle() const { return Application->Handle(); }

namespace {
struct BuiltMenu {
    HMENU menu = nullptr;
    std::vector<TMenuItem*> commands;          // command id - 1 -> item
    std::vector<std::unique_ptr<TBitmap>> images;  // alive while the menu is up
    ~BuiltMenu() { if (menu) DestroyMenu(menu); }
};

HMENU Build(BuiltMenu& built, TMenuItem& parent, TImageList* images) {
    HMENU menu = CreatePopupMenu();
    for (TMenuItem* item : parent.Items()) {
        if (!item->Visible) continue;
        MENUITEMINFOA mi{};
        mi.cbSize = sizeof(mi);
        if (item->Caption == "-") {
            mi.fMask = MIIM_FTYPE;
            mi.fType = MFT_SEPARATOR;
        } else {
            mi.fMask = MIIM_STRING | MIIM_STATE | MIIM_ID;
            mi.dwTypeData = const_cast<char*>(item->Caption.c_str());
            mi.fState = (item->Enabled ? MFS_ENABLED : MFS_DISABLED) | (item->Checked ? MFS_CHECKED : 0) |
                        (item->Default ? MFS_DEFAULT : 0);
            built.commands.push_back(item);
            mi.wID = static_cast<UINT>(built.commands.size());
            if (item->Count() > 0) {
                mi.fMask |= MIIM_SUBMENU;
                mi.hSubMenu = Build(built, *item, images);
            }
            if (images && item->ImageIndex >= 0 && item->ImageIndex < images->Count()) {
                auto bmp = std::make_unique<TBitmap>();
                images->GetBitmap(item->ImageIndex, *bmp, GetSysColor(COLOR_MENU));
                mi.fMask |= MIIM_BITMAP;
                mi.hbmpItem = bmp->Handle();
                built.images.push_back(std::move(bmp));
            }
        }
        InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &mi);
    }
    return menu;
}
}  // namespace

TMenuItem* TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    BuiltMenu built;
    built.menu = Build(built, *items_, images_);
    UINT cmd = TrackPopupMenu(built.menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0,
                              WindowHandle(), nullptr);
    if (cmd == 0 || cmd > built.commands.size()) return nullptr;
    TMenuItem* chosen = built.commands[cmd - 1];
    chosen->Click();
    return chosen;
}

}  // namespace forms
