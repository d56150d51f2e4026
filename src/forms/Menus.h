// Popup menus: a tree of items built into a fresh HMENU each time the menu pops up.
#pragma once
#include "Component.h"
#include <vector>

namespace forms {

class TImageList;
class TControl;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    std::string Caption;   // "-" is a separator
    bool Default = false;
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    int ImageIndex = -1;
    TNotifyEvent OnClick;

    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    const std::vector<TMenuItem*>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Parent() const { return parent_; }
    virtual void Click();

private:
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    TMenuItem& Items() { return *items_; }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    bool AutoPopup = true;
    TComponent* PopupComponent = nullptr;
    TNotifyEvent OnPopup;

    // Shows the menu at a screen point and runs the chosen item's OnClick; returns that item.
    TMenuItem* Popup(int x, int y);
    // The window that owns the menu while it is up (receives its messages).
    HWND WindowHandle() const;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* items_;
    TImageList* images_ = nullptr;
};

}  // namespace forms
