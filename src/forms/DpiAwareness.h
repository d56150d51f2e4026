// Windows made while a TDpiUnawareScope lives are laid out for 96 pixels per inch and stretched
// by the system on a denser screen, in a program that otherwise follows each screen's density.
// Nothing happens on systems without per-thread awareness (before Windows 10 1607).
#pragma once
#include <windows.h>

namespace forms {

class TDpiUnawareScope {
public:
    TDpiUnawareScope();
    ~TDpiUnawareScope();
    TDpiUnawareScope(const TDpiUnawareScope&) = delete;
    TDpiUnawareScope& operator=(const TDpiUnawareScope&) = delete;

private:
    HANDLE previous_ = nullptr;
};

}  // namespace forms
