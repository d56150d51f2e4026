#include "PageControl.h"
#include "CommonControls.h"
#include "ImageList.h"
#include <algorithm>

namespace forms {

// --- TTabSheet ------------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) { TControl::SetVisible(false); }

TTabSheet::~TTabSheet() {
    MarkDestroying();
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style |= WS_CLIPCHILDREN;
    p.ExStyle |= WS_EX_CONTROLPARENT;  // Tab walks into the page's controls
    p.WinClassName = "TTabSheet";
}

void TTabSheet::SetPageControl(TPageControl* control) {
    if (control == pageControl_) return;
    if (pageControl_) pageControl_->RemovePage(this);
    SetParent(control);
    if (control) control->InsertPage(this);
}

void TTabSheet::SetImageIndex(int v) {
    if (v == imageIndex_) return;
    imageIndex_ = v;
    if (pageControl_) pageControl_->UpdateTab(PageIndex());
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::TextChanged() {
    // The caption is the tab's text; the sheet itself shows none.
    if (pageControl_) pageControl_->UpdateTab(PageIndex());
}

// --- TPageControl ---------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
    MarkDestroying();
    DestroyHandle();  // before the image list the window refers to
    for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
    pages_.clear();
    SetImages(nullptr);
}

void TPageControl::CreateParams(TCreateParams& p) {
    InitCommonControlClasses();
    TWinControl::CreateParams(p);
    p.SystemClass = WC_TABCONTROLA;
    p.WinClassName = "TPageControl";
    p.Style |= WS_CLIPCHILDREN | TCS_OWNERDRAWFIXED;
    p.ExStyle |= WS_EX_CONTROLPARENT;
}

LRESULT TPageControl::Send(UINT msg, WPARAM wp, LPARAM lp) {
    return HandleAllocated() ? SendMessageA(Handle(), msg, wp, lp) : 0;
}

void TPageControl::CreateWnd() {
    TWinControl::CreateWnd();
    if (!HandleAllocated()) return;
    UpdateTabImages();
    for (int i = 0; i < PageCount(); ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<char*>(pages_[i]->Caption().c_str());
        item.iImage = pages_[i]->ImageIndex();
        Send(TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    Send(TCM_SETCURSEL, activeIndex_, 0);
    PlaceSheets();
}

void TPageControl::DestroyWnd() {
    TWinControl::DestroyWnd();
    tabMetrics_.reset();
}

void TPageControl::InsertPage(TTabSheet* page) {
    page->pageControl_ = this;
    pages_.push_back(page);
    int index = PageCount() - 1;
    if (HandleAllocated()) {
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<char*>(page->Caption().c_str());
        item.iImage = page->ImageIndex();
        Send(TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
    }
    if (activeIndex_ < 0) SetActivePageIndex(index);
    else PlaceSheets();
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    int index = static_cast<int>(it - pages_.begin());
    pages_.erase(it);
    page->pageControl_ = nullptr;
    Send(TCM_DELETEITEM, index, 0);
    if (activeIndex_ >= PageCount()) activeIndex_ = PageCount() - 1;
    else if (index < activeIndex_) --activeIndex_;
    Send(TCM_SETCURSEL, activeIndex_, 0);
    PlaceSheets();
}

void TPageControl::UpdateTab(int index) {
    if (index < 0 || index >= PageCount() || !HandleAllocated()) return;
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(pages_[index]->Caption().c_str());
    item.iImage = pages_[index]->ImageIndex();
    Send(TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
    PlaceSheets();
}

TTabSheet* TPageControl::ActivePage() const {
    return activeIndex_ >= 0 && activeIndex_ < PageCount() ? pages_[activeIndex_] : nullptr;
}

void TPageControl::SetActivePageIndex(int index) {
    if (index < -1 || index >= PageCount()) index = -1;
    activeIndex_ = index;
    Send(TCM_SETCURSEL, index, 0);
    PlaceSheets();
}

void TPageControl::SetActivePage(TTabSheet* page) {
    SetActivePageIndex(page && page->pageControl_ == this ? page->PageIndex() : -1);
}

void TPageControl::SetImages(TImageList* images) {
    if (images_ == images) return;
    if (images_) RemoveFreeNotification(images_);
    images_ = images;
    if (images_) FreeNotification(images_);
    UpdateTabImages();
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == images_) {
        images_ = nullptr;
        UpdateTabImages();
    }
}

void TPageControl::UpdateTabImages() {
    if (!HandleAllocated()) return;
    HIMAGELIST list = nullptr;
    if (images_) {
        tabMetrics_.reset(ImageList_Create(images_->Width(), images_->Height(), ILC_COLOR32, 0, 1));
        list = tabMetrics_.get();
    }
    Send(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    if (!images_) tabMetrics_.reset();
    PlaceSheets();
}

RECT TPageControl::DisplayRect() {
    RECT r = ClientRect();
    Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

RECT TPageControl::TabRect(int index) {
    RECT r{};
    Send(TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TPageControl::PlaceSheets() {
    RECT r = DisplayRect();
    for (int i = 0; i < PageCount(); ++i) {
        TTabSheet* page = pages_[i];
        page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        page->SetVisible(i == activeIndex_);
    }
}

void TPageControl::BoundsChanged() {
    TWinControl::BoundsChanged();
    PlaceSheets();
}

void TPageControl::FontChanged() {
    TWinControl::FontChanged();
    PlaceSheets();  // the tabs' height follows the font
}

void TPageControl::SetTabMargin(int pixels) {
    tabMargin_ = pixels;
    SendMessageA(Handle(), TCM_SETPADDING, 0, MAKELPARAM(pixels, 3));
}

void TPageControl::DrawTab(const DRAWITEMSTRUCT& item) {
    int index = static_cast<int>(item.itemID);
    if (index < 0 || index >= PageCount()) return;
    TTabSheet* page = pages_[index];
    TCanvas canvas;
    canvas.SetHandle(item.hDC);
    RECT r = item.rcItem;
    canvas.Brush().SetColor(Color());
    canvas.FillRect(r);
    int x = r.left + (tabMargin_ ? tabMargin_ : 4);
    if (images_ && page->ImageIndex() >= 0 && page->ImageIndex() < images_->Count()) {
        images_->Draw(canvas, x, (r.top + r.bottom - images_->Height()) / 2, page->ImageIndex());
        x += images_->Width() + (tabMargin_ ? 1 : 3);
    }
    canvas.Font().Assign(Font());
    canvas.Brush().SetStyle(bsClear);
    int y = (r.top + r.bottom - canvas.TextHeight(page->Caption())) / 2;
    canvas.TextRect(r, x, y, page->Caption());
    canvas.SetHandle(nullptr);
}

void TPageControl::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_PAINT: case WM_ERASEBKGND: case WM_PRINTCLIENT:
            DefaultHandler(m);  // the tab control paints itself, and asks us for the tabs
            return;
        case ReflectBase + WM_DRAWITEM:
            DrawTab(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
            m.Result = TRUE;
            return;
        case ReflectBase + WM_NOTIFY:
            m.Result = 0;
            if (reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
                activeIndex_ = static_cast<int>(Send(TCM_GETCURSEL, 0, 0));
                PlaceSheets();
                if (OnChange) OnChange(this);  // the last thing done: a handler may free the control
            }
            return;
        default:
            TWinControl::WndProc(m);
    }
}

}  // namespace forms
