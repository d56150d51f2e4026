#include "Gdi.h"
#include <atomic>

namespace forms {

namespace {
std::atomic<long> liveObjects{0};
}

namespace gdi {
long LiveObjects() { return liveObjects.load(); }
void CountCreated() { ++liveObjects; }
void CountDeleted() { --liveObjects; }
}  // namespace gdi

MemoryDC::MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {
    if (dc_) gdi::CountCreated();
}
MemoryDC::~MemoryDC() {
    if (dc_) { DeleteDC(dc_); gdi::CountDeleted(); }
}

WindowDC::WindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
WindowDC::~WindowDC() { if (dc_) ReleaseDC(wnd_, dc_); }

}  // namespace forms
