// The size of a system icon (SM_CXICON, SM_CXSMICON) at a density: the system's metrics are
// those of the density it started with.
#pragma once
#include "forms/Gdi.h"

namespace thermowl {

inline int IconSizeAt(int metric, int dpi) {
    forms::WindowDC screen(nullptr);
    const int systemDpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return MulDiv(GetSystemMetrics(metric), dpi, systemDpi > 0 ? systemDpi : 96);
}

}  // namespace thermowl
