// Owning and scoped wrappers for GDI handles. Every GDI object the program makes goes through
// GdiObject, which keeps a process-wide count of live objects: leak tests compare that count,
// since Wine's GetGuiResources always answers 0.
#pragma once
#include <windows.h>
#include <utility>

namespace forms {

namespace gdi {
long LiveObjects();          // GDI objects made through GdiObject and not yet deleted
void CountCreated();
void CountDeleted();
}  // namespace gdi

// Move-only owner of one HPEN, HBRUSH, HFONT, HBITMAP, HRGN or HPALETTE.
template <typename H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H h) : h_(h) { if (h_) gdi::CountCreated(); }
    GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GdiObject& operator=(GdiObject&& o) noexcept {
        if (this != &o) { reset(); h_ = std::exchange(o.h_, nullptr); }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset(H h = nullptr) {
        if (h_ && DeleteObject(h_)) gdi::CountDeleted();  // a failed delete stays counted as live
        h_ = h;
        if (h_) gdi::CountCreated();
    }
    H release() { H h = std::exchange(h_, nullptr); if (h) gdi::CountDeleted(); return h; }

private:
    H h_ = nullptr;
};

using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

// A memory DC compatible with the screen (or a given DC), deleted on destruction.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible = nullptr);
    ~MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }
private:
    HDC dc_;
};

// GetDC/ReleaseDC pair for a window (nullptr: the screen).
class WindowDC {
public:
    explicit WindowDC(HWND wnd);
    ~WindowDC();
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
private:
    HWND wnd_;
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back at scope end.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectScope() { if (old_) SelectObject(dc_, old_); }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;
private:
    HDC dc_;
    HGDIOBJ old_;
};

// SaveDC/RestoreDC pair.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
    ~SavedDC() { RestoreDC(dc_, id_); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
private:
    HDC dc_;
    int id_;
};

}  // namespace forms
