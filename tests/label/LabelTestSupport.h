// Painting labels into bitmaps and checking where each drawn copy of the text landed.
#pragma once
#include "forms/Application.h"
#include "forms/Bitmap.h"
#include "forms/Form.h"
#include "label/OutlinedLabel.h"
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace labeltest {

// A hidden borderless form to put labels on, made fresh for every test.
class LabelTest : public testing::Test {
protected:
    static void SetUpTestSuite() { forms::Application->Initialize(); }
    void SetUp() override;
    void TearDown() override;
    // A label on the form with a caption, a bold font and the given options.
    label::TOutlinedLabel* MakeLabel(const std::string& caption, label::TLabelOptions options = 0);
    // The monitor's look: raised and delineated in the colours below, ignoring the mouse.
    label::TOutlinedLabel* ProgramLabel(const std::string& caption);

    forms::TForm* form = nullptr;
};

// The colour of a pixel as 0x00BBGGRR.
COLORREF PixelAt(const forms::TBitmap& bitmap, int x, int y);

// Paints the label as its parent does (origin at the label's corner, clipped to it) into a fresh
// width × height bitmap filled with `fill`. With settle, a first paint lets AutoSize take effect.
std::unique_ptr<forms::TBitmap> Render(label::TOutlinedLabel& l, COLORREF fill, int width = 260,
                                       int height = 40, bool settle = true);

// Coverage of the caption written with the label's drawing font at (0, 0).
class TextShape {
public:
    enum Cover { none, partial, solid };
    TextShape(HFONT font, const std::string& text);
    Cover At(int x, int y) const;
    int SolidCount() const;
    int SolidCountIn(RECT area, POINT origin) const;  // with the text origin at origin
private:
    static constexpr int kMargin = 150;
    int width_ = 0, height_ = 0;
    std::vector<Cover> cover_;
};

using ColorAt = std::function<COLORREF(int x, int y)>;

// One copy of the text at an offset from the text origin: in a colour, showing `behind`, or
// showing a pattern.
struct Layer {
    int dx, dy;
    COLORREF color;
    bool showsBehind = false;
    ColorAt pattern = nullptr;
};

// Every pixel of area must be: the colour of the topmost copy that fully covers it (unless a
// later copy covers it partly: then it is not checked), or `behind` where no copy touches it.
// Each layer that is visible somewhere must be seen at least once.
testing::AssertionResult LayersMatch(const forms::TBitmap& bitmap, const TextShape& shape, POINT origin,
                                     const std::vector<Layer>& layers, const ColorAt& behind, RECT area);

ColorAt Uniform(COLORREF c);

const std::string kCaption = "Disk 1 - 45\xB0" "C";
constexpr COLORREF kFace = RGB(0, 128, 128), kOutline = RGB(255, 0, 0), kHighlight = RGB(255, 255, 255),
                   kShadow = RGB(0, 0, 255);
// Face, outline, highlight and shadow as above.
label::TOutlinedLabel* SetColours(label::TOutlinedLabel* l);
// The copies a raised, delineated label draws in those colours.
extern const std::vector<Layer> kRaised;

}  // namespace labeltest
