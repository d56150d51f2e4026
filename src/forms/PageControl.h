// TPageControl: the system's tab control with one TTabSheet per tab; the sheet of the selected
// tab fills the control's display area and the others are hidden. The tabs are drawn by the
// control itself: each tab's image from Images, then its caption in the control's font.
#pragma once
#include "WinControl.h"
#include <commctrl.h>
#include <memory>
#include <vector>

namespace forms {

class TImageList;
class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* control);  // the sheet becomes the control's last page
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v);
    int PageIndex() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    int imageIndex_ = -1;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_.at(index); }
    TTabSheet* ActivePage() const;
    int ActivePageIndex() const { return activeIndex_; }
    void SetActivePageIndex(int index);  // an index out of range selects nothing
    void SetActivePage(TTabSheet* page);

    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    // The room beside each tab's picture and caption, in pixels (the system's is 6): less lets
    // more tabs stand in a row.
    void SetTabMargin(int pixels);

    // The rectangle (client coordinates) the sheets fill: the client area below the tabs.
    RECT DisplayRect();
    // Where a tab lies on the control (client coordinates).
    RECT TabRect(int index);

    TNotifyEvent OnChange;  // the user chose another tab

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& msg) override;
    void BoundsChanged() override;
    void FontChanged() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    int tabMargin_ = 0;  // 0: the system's own
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void UpdateTab(int index);
    void UpdateTabImages();
    void PlaceSheets();
    void DrawTab(const DRAWITEMSTRUCT& item);
    LRESULT Send(UINT msg, WPARAM wp, LPARAM lp);

    std::vector<TTabSheet*> pages_;
    int activeIndex_ = -1;
    TImageList* images_ = nullptr;
    struct ImageListDeleter {
        void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
    };
    // An empty list of the images' size, given to the control so its tabs leave room for them.
    std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter> tabMetrics_;
};

}  // namespace forms
