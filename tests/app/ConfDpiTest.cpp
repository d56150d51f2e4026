// The options dialog and the menu images at the density of the screen: every design size grows by
// dpi / 96, and at 96 dpi stays exactly as drawn.
#include "ConfFixture.h"
#include "forms/Application.h"
#include <map>
#include <tuple>
#include <vector>

using namespace thermowl;

namespace {
using Rect4 = std::tuple<int, int, int, int>;
Rect4 BoxOf(forms::TControl* c) { return {c->Left(), c->Top(), c->Width(), c->Height()}; }
}  // namespace

TEST_F(ConfTest, TheDialogAndTheMenuImagesGrowWithTheScreensDensity) {
    const struct { UINT dpi; int width, height, font, image; Rect4 pages, apply, spin, link; } cases[] = {
        {96, 304, 327, -11, 16, {8, 64, 289, 225}, {128, 296, 81, 25}, {101, 59, 40, 22}, {88, 16, 43, 13}},
        {144, 456, 491, -17, 24, {12, 96, 434, 338}, {192, 444, 122, 38}, {152, 89, 60, 33}, {132, 24, 65, 20}},
    };
    int opaqueAt96 = 0;
    for (const auto& c : cases) {
        forms::platform.GetDpiForWindow = [&c](HWND) { return c.dpi; };
        Start();
        const std::string what = std::to_string(c.dpi) + " dpi";
        EXPECT_EQ(std::pair(dialog->ClientWidth(), dialog->ClientHeight()), std::pair(c.width, c.height)) << what;
        EXPECT_EQ(dialog->Font().Height(), c.font) << what;
        EXPECT_EQ(dialog->XPCheckBox1->Font().Height(), c.font) << what;
        EXPECT_EQ(BoxOf(dialog->PageControl1), c.pages) << what;
        EXPECT_EQ(BoxOf(dialog->XPButton2), c.apply) << what;
        EXPECT_EQ(BoxOf(dialog->SpinEdit1), c.spin) << what;
        EXPECT_EQ(BoxOf(dialog->Label6), c.link) << what;
        EXPECT_EQ(BoxOf(dialog->Image1), Rect4(0, 0, c.width, MulDiv(60, c.dpi, 96))) << what;
        EXPECT_EQ(CaptionMisfits(dialog.get()), "") << what;

        // The menu's pictures at the size the menu asks for, grown from the strip without the
        // see-through colour bleeding into them: the opaque part grows with the area.
        forms::TImageList* images = monitor->PopupMenu1->Images();
        ASSERT_EQ(images, monitor->ImageList1);
        EXPECT_EQ(std::pair(images->Width(), images->Height()), std::pair(c.image, c.image)) << what;
        EXPECT_EQ(images->Count(), 9) << what;
        forms::TBitmap picture;
        ASSERT_TRUE(images->GetBitmap(2, picture, 0xFF00FF));
        GdiFlush();
        int opaque = 0, fringe = 0;
        for (int i = 0; i < picture.Width() * picture.Height(); ++i) {
            const uint32_t p = picture.Bits()[i] & 0xFFFFFF;
            const int red = p >> 16, green = (p >> 8) & 0xFF, blue = p & 0xFF;
            opaque += p != 0xFF00FF;
            fringe += p != 0xFF00FF && red >= 160 && blue >= 160 && green <= 96;
        }
        EXPECT_EQ(fringe, 0) << what;
        if (c.dpi == 96) opaqueAt96 = opaque;
        else EXPECT_NEAR(opaque, opaqueAt96 * 9 / 4, opaqueAt96 * 9 / 4 / 6) << what;
        dialog.reset();
        forms::Application->MainForm = nullptr;
        monitor.reset();
        service.reset();
    }
}

namespace {
// Each control's place, size and font height by name, the styled controls' own metrics, the
// client area and the title bar's icon.
using Layout = std::map<std::string, std::vector<int>>;
Layout LayoutOf(TConfForm* d) {
    Layout layout{{"(client)", {d->ClientWidth(), d->ClientHeight(), d->Font().Height()}},
                  {"(thumb)", {d->TrackBar1->ThumbLength()}},
                  {"(icon)", {IconWidth(reinterpret_cast<HICON>(SendMessageA(d->Handle(), WM_GETICON, ICON_SMALL, 0)))}}};
    for (int i = 0; i < d->PageControl1->PageCount(); ++i) {
        const RECT tab = d->PageControl1->TabRect(i);
        layout["(tab " + std::to_string(i) + ")"] = {tab.left, tab.top, tab.right, tab.bottom};
    }
    for (forms::TComponent* c : d->Components())
        if (auto* control = dynamic_cast<forms::TControl*>(c)) {
            std::vector<int>& v = layout[c->Name];
            v = {control->Left(), control->Top(), control->Width(), control->Height(), control->Font().Height()};
            if (auto* toggle = dynamic_cast<controls::TXPToggle*>(c)) v.push_back(toggle->BoxSize());
            if (auto* spin = dynamic_cast<controls::TSpinEdit*>(c)) v.push_back(spin->Button()->Width());
        }
    return layout;
}
}  // namespace

TEST_F(ConfTest, MovedOntoAScreenOfAnotherDensityTheDialogIsLaidOutAsOneMadeThere) {
    UINT dpi = 96;
    forms::platform.GetDpiForWindow = [&dpi](HWND) { return dpi; };
    auto madeAt = [&](UINT at) {
        dpi = at;
        Start();
        const Layout layout = LayoutOf(dialog.get());
        dialog.reset();
        monitor.reset();
        service.reset();
        return layout;
    };
    const Layout at96 = madeAt(96), at144 = madeAt(144);
    ASSERT_NE(at96, at144);
    dpi = 96;
    Start();
    const struct { UINT dpi; const Layout& expected; } moves[] = {{144, at144}, {96, at96}};
    for (const auto& m : moves) {
        dpi = m.dpi;
        // The main screen changed with it: the menu images the tabs show follow.
        SendMessageA(monitor->Handle(), WM_SETTINGCHANGE, 0, 0);
        RECT suggested{40 + int(m.dpi), 30, 40 + int(m.dpi) + 500, 530};
        SendMessageA(dialog->Handle(), 0x02E0, MAKEWPARAM(m.dpi, m.dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(LayoutOf(dialog.get()), m.expected) << m.dpi << " dpi";
        EXPECT_EQ(std::pair(dialog->Left(), dialog->Top()), std::pair(int(suggested.left), 30)) << m.dpi << " dpi";
    }
}
