#include "DpiAwareness.h"

namespace forms {

namespace {

using SetContext = HANDLE(WINAPI*)(HANDLE);
const HANDLE Unaware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));  // DPI_AWARENESS_CONTEXT_UNAWARE

SetContext SetThreadContext() {
    static const SetContext fn = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
    return fn;
}

}  // namespace

TDpiUnawareScope::TDpiUnawareScope() {
    if (SetContext set = SetThreadContext()) previous_ = set(Unaware);
}

TDpiUnawareScope::~TDpiUnawareScope() {
    if (SetContext set = SetThreadContext(); set && previous_) set(previous_);
}

}  // namespace forms
