// A history chart drawing through a recording canvas with fixed font metrics.
#pragma once
#include "HistoryChart.h"
#include "RecordingCanvas.h"
#include "forms/Application.h"
#include <gtest/gtest.h>
#include <array>
#include <memory>

// Line ends or rectangle sides, to compare in one go.
using Quad = std::array<long, 4>;
inline Quad Ends(const DrawOp& o) { return {o.a, o.b, o.c, o.d}; }
inline Quad Sides(RECT r) { return {r.left, r.top, r.right, r.bottom}; }

class ChartFixture : public testing::Test {
protected:
    void SetUp() override {
        forms::Application->Initialize();
        c = std::make_unique<chart::TChart>(nullptr);
        ConfigureHistoryChart(*c);
        auto r = std::make_unique<RecordingCanvas>(true);
        rec = r.get();
        c->SetChartCanvas(std::move(r));
    }
    // A full paint (or a re-show when clean) into a scratch bitmap; the record starts afresh.
    void Paint() {
        rec->Clear();
        forms::TBitmap target(c->Width(), c->Height());
        c->PaintTo(target.Canvas().Handle());
    }
    std::vector<DrawOp> LinesIn(chart::TColor color) const {
        std::vector<DrawOp> out;
        for (const DrawOp& o : rec->Of(DrawOp::Line)) if (o.penColor == color) out.push_back(o);
        return out;
    }
    std::unique_ptr<chart::TChart> c;
    RecordingCanvas* rec = nullptr;
};
