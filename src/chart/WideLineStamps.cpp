#include "WideLineStamps.h"
#include "forms/Gdi.h"
#include <algorithm>
#include <cstdlib>

namespace chart {

namespace {
// Random data can make a stamp of nearly every shape; past this many runs (about 800 KB) they
// are made afresh.
constexpr size_t MaxSpans = 65536;
// A longer segment (a point far off the plot) is left to GDI rather than stamped.
constexpr int MaxStampLength = 1024;
}  // namespace

const std::vector<TWideLineStamps::Span>* TWideLineStamps::Stamp(int dx, int dy, int width) {
    const auto key = std::make_tuple(dx, dy, width);
    if (auto found = stamps_.find(key); found != stamps_.end()) return &found->second;
    // Room for the round ends on every side of the segment.
    const int margin = width + 2;
    const int w = std::abs(dx) + 2 * margin + 1, h = std::abs(dy) + 2 * margin + 1;
    const POINT from{margin + std::max(0, -dx), margin + std::max(0, -dy)};
    const POINT line[2] = {from, {from.x + dx, from.y + dy}};
    forms::TBitmap scratch(w, h);
    forms::Pen pen(CreatePen(PS_SOLID, width, RGB(255, 255, 255)));
    if (!scratch.Bits() || !pen) return nullptr;
    HDC dc = scratch.Canvas().Handle();
    PatBlt(dc, 0, 0, w, h, BLACKNESS);
    {
        forms::SelectScope select(dc, pen.get());
        Polyline(dc, line, 2);
    }
    GdiFlush();

    std::vector<Span> spans;
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = scratch.Bits() + size_t(y) * w;
        for (int x = 0; x < w;) {
            if (!(row[x] & 0xFFFFFF)) { ++x; continue; }
            const int start = x;
            while (x < w && (row[x] & 0xFFFFFF)) ++x;
            spans.push_back({y - from.y, start - from.x, x - from.x});
        }
    }
    spanCount_ += spans.size();
    return &stamps_.emplace(key, std::move(spans)).first->second;
}

void TWideLineStamps::Put(forms::TBitmap& bitmap, const RECT& clip, POINT at, const std::vector<Span>& spans,
                          uint32_t pixel) {
    for (const Span& s : spans) {
        const int y = at.y + s.dy;
        if (y < clip.top || y >= clip.bottom) continue;
        const int x0 = std::max<int>(at.x + s.x0, clip.left), x1 = std::min<int>(at.x + s.x1, clip.right);
        if (x0 >= x1) continue;
        uint32_t* row = bitmap.Bits() + size_t(y) * bitmap.Width();
        std::fill(row + x0, row + x1, pixel);
    }
}

bool TWideLineStamps::Draw(forms::TBitmap& bitmap, RECT clip, const POINT* points, int count, int width,
                           COLORREF color) {
    if (count < 2 || !bitmap.Bits()) return false;
    if (spanCount_ >= MaxSpans) {
        stamps_.clear();
        spanCount_ = 0;
    }
    // Every stamp first: a line is drawn whole, or left to GDI whole.
    std::vector<std::pair<POINT, const std::vector<Span>*>> segments;
    segments.reserve(count);
    for (int i = 1; i < count; ++i) {
        const int dx = points[i].x - points[i - 1].x, dy = points[i].y - points[i - 1].y;
        // A segment that does not move has its ends in its neighbours' joins.
        if (dx == 0 && dy == 0) continue;
        if (std::abs(dx) > MaxStampLength || std::abs(dy) > MaxStampLength) return false;
        segments.emplace_back(points[i - 1], Stamp(dx, dy, width));
        if (!segments.back().second) return false;
    }
    // A line that never moves is a dot, the shape of its round end.
    if (segments.empty()) {
        segments.emplace_back(points[0], Stamp(0, 0, width));
        if (!segments.back().second) return false;
    }

    clip.left = std::max<LONG>(clip.left, 0);
    clip.top = std::max<LONG>(clip.top, 0);
    clip.right = std::min<LONG>(clip.right, bitmap.Width());
    clip.bottom = std::min<LONG>(clip.bottom, bitmap.Height());
    if (clip.left >= clip.right || clip.top >= clip.bottom) return true;
    // 0x00RRGGBB, as the bitmap's rows hold colours.
    const uint32_t pixel = uint32_t(GetRValue(color)) << 16 | uint32_t(GetGValue(color)) << 8 | GetBValue(color);
    GdiFlush();
    for (const auto& [at, spans] : segments) Put(bitmap, clip, at, *spans, pixel);
    return true;
}

}  // namespace chart
