// Making, painting and destroying many labels leaves no GDI object, window or memory behind.
#include "forms/ProcessStats.h"
#include "forms/Application.h"
#include "forms/Bitmap.h"
#include "forms/Form.h"
#include "label/OutlinedLabel.h"
#include <gtest/gtest.h>
#include <cstdio>

using namespace label;

namespace {

TEST(LabelLeak, TenThousandLabelsLeaveNothingBehind) {
    forms::Application->Initialize();
    forms::TForm form(nullptr);
    form.SetBorderStyle(forms::bsNone);
    form.SetBounds(0, 0, 300, 60);
    form.HandleNeeded();  // a window, so hover repaints draw at once
    auto* edit = new forms::TWinControl(&form);
    edit->SetParent(&form);
    edit->SetBounds(0, 40, 30, 20);
    edit->HandleNeeded();
    forms::TBitmap picture(3, 3);
    forms::TBitmap surface(300, 60);

    // Every kind of paint: plain, buffered, see-through, textured on a picture, opaque with a
    // texture; hover repaints; a focus link.
    auto cycle = [&](int i) {
        auto* l = new TOutlinedLabel(&form);
        l->SetParent(&form);
        l->SetCaption("Disk " + std::to_string(i) + " - 45\xB0" "C");
        l->Colors().SetTextActive(forms::clRed);
        switch (i % 5) {
            case 0: l->SetOptions(floDelineatedText); break;
            case 1: l->SetOptions(floDelineatedText | floBufferedDraw); break;
            case 2: l->SetOptions(floTransparentFont); break;
            case 3:
                l->SetTexture(&picture);
                l->SetBackground(&picture);
                break;
            case 4:
                l->SetTexture(&picture);
                l->SetTransparent(false);
                break;
        }
        l->Gradient().SetActive(i % 2 == 0);
        if (i % 3 == 0) l->SetFocusControl(edit);
        l->PaintTo(surface.Canvas().Handle());
        l->EnterActive();
        l->LeaveActive();
        delete l;
    };

    for (int i = 0; i < 300; ++i) cycle(i);  // caches and heaps settle
    const long objects = forms::gdi::LiveObjects();
    const int windows = forms::CountProcessWindows();
    const SIZE_T before = forms::WorkingSetBytes();
    for (int i = 0; i < 10000; ++i) cycle(i);
    const SIZE_T after = forms::WorkingSetBytes();
    std::printf("working set %lu KB -> %lu KB\n", static_cast<unsigned long>(before / 1024),
                static_cast<unsigned long>(after / 1024));

    EXPECT_EQ(forms::gdi::LiveObjects(), objects);
    EXPECT_EQ(forms::CountProcessWindows(), windows);
    // One label's buffers are some kilobytes: 10,000 leaked ones would be tens of megabytes.
    EXPECT_LT(after, before + 4 * 1024 * 1024);
}

}  // namespace
