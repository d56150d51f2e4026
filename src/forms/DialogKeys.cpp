#include "DialogKeys.h"

namespace forms {

namespace {
// Walks a copy of each child list: a handler may add or remove controls.
template <typename Visit>
bool Walk(TWinControl* parent, const Visit& visit) {
    std::vector<TControl*> children = parent->Controls();
    for (TControl* c : children) {
        if (auto* client = dynamic_cast<TDialogClient*>(c); client && visit(client)) return true;
        if (c->IsWindowed() && Walk(static_cast<TWinControl*>(c), visit)) return true;
    }
    return false;
}

char Upper(char c) {
    char s[2] = {c, 0};
    CharUpperBuffA(s, 1);
    return s[0];
}
}  // namespace

TWinControl* RootControl(TControl* control) {
    TWinControl* root = control && control->IsWindowed() ? static_cast<TWinControl*>(control) : nullptr;
    for (TControl* c = control; c; c = c->Parent())
        if (c->IsWindowed()) root = static_cast<TWinControl*>(c);
    return root;
}

bool BroadcastDialogKey(TWinControl* root, WORD key, TShiftState shift) {
    return root && Walk(root, [&](TDialogClient* c) { return c->DialogKey(key, shift); });
}

bool BroadcastDialogChar(TWinControl* root, char key, TShiftState shift) {
    return root && Walk(root, [&](TDialogClient* c) { return c->DialogChar(key, shift); });
}

void BroadcastFocusChanged(TWinControl* root, TWinControl* focused) {
    if (root) Walk(root, [&](TDialogClient* c) { c->FocusChanged(focused); return false; });
}

bool IsAccel(char key, const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') { ++i; continue; }
        return Upper(caption[i + 1]) == Upper(key);
    }
    return false;
}

}  // namespace forms
