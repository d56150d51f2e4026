// Balloon hints: shown and hidden through the same record and NIM_MODIFY as the icon itself.
#include "TrayIcon.h"
#include <algorithm>
#include <cstring>

namespace tray {

namespace {
template <size_t N>
void CopyCut(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}
}  // namespace

bool TTrayIcon::ShowBalloonHint(const std::string& title, const std::string& text, BalloonIcon kind,
                                BYTE timeoutSeconds) {
    HideBalloonHint();
    notifyData_.uFlags |= NIF_INFO;
    CopyCut(notifyData_.szInfo, text);
    CopyCut(notifyData_.szInfoTitle, title);
    notifyData_.uTimeout = timeoutSeconds * 1000u;  // the shell applies its own limits
    notifyData_.dwInfoFlags = kind;
    bool shown = RefreshIcon();
    notifyData_.uFlags = BaseNotifyFlags;
    return shown;
}

bool TTrayIcon::HideBalloonHint() {
    // NIF_INFO stays set: until the next balloon every refresh sends the empty text along,
    // which keeps any balloon away.
    notifyData_.uFlags |= NIF_INFO;
    notifyData_.szInfo[0] = '\0';
    return RefreshIcon();
}

}  // namespace tray
