// The banner across the top of the options dialog: a JPEG resource decoded with libjpeg.
#include "ConfFixture.h"
#include "forms/Jpeg.h"
#include <vector>

using namespace thermowl;

namespace {
// Within a JPEG's error of the colour drawn there.
bool Near(forms::TColor c, int r, int g, int b) {
    auto close = [](int a, int b) { return a > b - 24 && a < b + 24; };
    return close(c & 0xFF, r) && close((c >> 8) & 0xFF, g) && close((c >> 16) & 0xFF, b);
}
}  // namespace

TEST_F(ConfTest, TheBannerIsDecodedAndShownAcrossTheTop) {
    Start();
    forms::TBitmap& bitmap = dialog->Image1->Picture();
    ASSERT_EQ(std::pair(bitmap.Width(), bitmap.Height()), std::pair(304, 60));
    forms::TCanvas& picture = bitmap.Canvas();
    // The blue ramp from dark at the left to light at the right, and the white name.
    EXPECT_TRUE(Near(picture.Pixel(2, 2), 16, 40, 112)) << std::hex << picture.Pixel(2, 2);
    EXPECT_TRUE(Near(picture.Pixel(301, 2), 72, 150, 220)) << std::hex << picture.Pixel(301, 2);
    EXPECT_TRUE(Near(picture.Pixel(59, 13), 255, 255, 255)) << std::hex << picture.Pixel(59, 13);

    // On the shown dialog, the same pixels are on the screen: the banner is at its top left.
    ShowOptions();
    dialog->Update();
    HDC dc = GetDC(dialog->Handle());
    EXPECT_TRUE(Near(GetPixel(dc, 2, 2), 16, 40, 112)) << std::hex << GetPixel(dc, 2, 2);
    EXPECT_TRUE(Near(GetPixel(dc, 301, 2), 72, 150, 220)) << std::hex << GetPixel(dc, 301, 2);
    ReleaseDC(dialog->Handle(), dc);
}

TEST(Jpeg, DataThatIsNotAWholeJpegIsRefusedAndLeavesTheBitmapAlone) {
    HRSRC found = FindResourceA(nullptr, "BANNER", MAKEINTRESOURCEA(10));
    ASSERT_TRUE(found);
    auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)));
    const DWORD size = SizeofResource(nullptr, found);
    forms::TBitmap out(7, 5);
    const unsigned char garbage[] = "not a picture at all";
    EXPECT_FALSE(forms::LoadJpeg(garbage, sizeof garbage, out));
    EXPECT_FALSE(forms::LoadJpeg(data, 200, out));  // the header only
    EXPECT_FALSE(forms::LoadJpeg(data, size / 2, out));  // cut off in the middle of the picture
    // The banner's frame header declaring the largest picture a JPEG can hold: refused, not a
    // buffer of 16 GB (whose failure would end the program before the dialog was made).
    std::vector<unsigned char> huge(data, data + size);
    for (size_t i = 0; i + 9 < huge.size(); ++i)
        if (huge[i] == 0xFF && (huge[i + 1] == 0xC0 || huge[i + 1] == 0xC2)) {
            huge[i + 5] = huge[i + 7] = 0xFF;  // height and width 65500
            huge[i + 6] = huge[i + 8] = 0xDC;
            break;
        }
    EXPECT_FALSE(forms::LoadJpeg(huge.data(), huge.size(), out));
    EXPECT_EQ(out.Width(), 7);
    EXPECT_TRUE(forms::LoadJpeg(data, size, out));
    EXPECT_EQ(out.Width(), 304);
}
