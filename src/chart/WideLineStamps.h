// Wide solid lines copied from stamps: the pixels GDI paints for one segment of a given
// direction, length and width, found once by letting GDI draw that segment alone, then set for
// every segment of the same shape. GDI builds and merges a region for each segment of a wide
// pen, which is most of what a chart of eight 100-point lines costs per paint; the stamps give
// the same pixels for a fraction of it.
#pragma once
#include "forms/Bitmap.h"
#include <map>
#include <tuple>
#include <vector>

namespace chart {

class TWideLineStamps {
public:
    // Sets the pixels of the joined segments through `points`, as a solid copying pen of `width`
    // (round ends and joins) in `color` would paint them, within `clip` and the bitmap. False,
    // with nothing drawn, for a segment longer than a stamp may be or when GDI cannot make one.
    bool Draw(forms::TBitmap& bitmap, RECT clip, const POINT* points, int count, int width, COLORREF color);

private:
    struct Span {
        int dy, x0, x1;  // a run of one row, relative to the segment's start; x1 excluded
    };
    const std::vector<Span>* Stamp(int dx, int dy, int width);
    void Put(forms::TBitmap& bitmap, const RECT& clip, POINT at, const std::vector<Span>& spans, uint32_t pixel);

    std::map<std::tuple<int, int, int>, std::vector<Span>> stamps_;
    size_t spanCount_ = 0;
};

}  // namespace chart
