#include "FocusLink.h"
#include "CustomOutlinedLabel.h"
#include "forms/Application.h"
#include <algorithm>
#include <vector>

namespace label::focuslink {

namespace {

const char* const LinkProp = "ThermowlLabelFocusLink";

struct Link {
    WNDPROC previous;
    std::vector<TCustomOutlinedLabel*> labels;
};

Link* LinkOf(HWND window) { return static_cast<Link*>(GetPropA(window, LinkProp)); }

bool IsLinked(HWND window, TCustomOutlinedLabel* label) {
    const Link* link = LinkOf(window);
    return link && std::find(link->labels.begin(), link->labels.end(), label) != link->labels.end();
}

LRESULT CALLBACK LinkProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    Link* link = LinkOf(window);
    if (!link) return DefWindowProcA(window, msg, wp, lp);
    // The labels' handlers may free a label, clear its FocusControl or drop its option, which
    // unlinks it and may free the link itself: what this call needs is read before, and each
    // label is looked up again before it is called.
    const WNDPROC previous = link->previous;
    if (msg == WM_DESTROY || msg == WM_SETFOCUS || msg == WM_KILLFOCUS) {
        const std::vector<TCustomOutlinedLabel*> labels = link->labels;
        try {
            for (TCustomOutlinedLabel* label : labels) {
                if (!IsLinked(window, label)) continue;
                if (msg == WM_DESTROY) label->LinkedWindowDestroyed();
                else if (msg == WM_SETFOCUS) label->LinkedControlFocused();
                else label->LinkedControlUnfocused();
            }
        } catch (...) {
            forms::Application->HandleException(std::current_exception());
        }
    }
    if (msg == WM_NCDESTROY) {
        // The window is going: put its procedure back and drop the link before the last call.
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        if (Link* still = LinkOf(window)) {
            RemovePropA(window, LinkProp);
            delete still;
        }
    }
    return CallWindowProcA(previous, window, msg, wp, lp);
}

}  // namespace

bool Attach(HWND window, TCustomOutlinedLabel* label) {
    if (!window || !IsWindow(window)) return false;
    Link* link = LinkOf(window);
    if (!link) {
        link = new Link{reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)), {}};
        if (!SetPropA(window, LinkProp, link)) {
            delete link;
            return false;
        }
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LinkProc));
    }
    if (std::find(link->labels.begin(), link->labels.end(), label) == link->labels.end())
        link->labels.push_back(label);
    return true;
}

void Detach(HWND window, TCustomOutlinedLabel* label) {
    if (!window || !IsWindow(window)) return;
    Link* link = LinkOf(window);
    if (!link) return;
    link->labels.erase(std::remove(link->labels.begin(), link->labels.end(), label), link->labels.end());
    // Someone who hooked the window after us still calls our procedure: then the link stays,
    // empty, until the window goes.
    if (link->labels.empty() && IsHooked(window)) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->previous));
        RemovePropA(window, LinkProp);
        delete link;
    }
}

bool IsHooked(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) == &LinkProc;
}

}  // namespace label::focuslink
