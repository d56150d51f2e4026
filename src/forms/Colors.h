// Colour values (0x00BBGGRR) and the named colours. A value whose high byte is 0xFF names a
// system colour by its COLOR_ index in the low byte.
#pragma once
#include <windows.h>
#include <cstdint>

namespace forms {

using TColor = uint32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

constexpr TColor SystemColor(int index) { return 0xFF000000u | static_cast<TColor>(index); }
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE), clBtnShadow = SystemColor(COLOR_BTNSHADOW),
                 clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT), clBtnText = SystemColor(COLOR_BTNTEXT),
                 clWindow = SystemColor(COLOR_WINDOW), clWindowText = SystemColor(COLOR_WINDOWTEXT),
                 clHighlight = SystemColor(COLOR_HIGHLIGHT), clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT),
                 clGrayText = SystemColor(COLOR_GRAYTEXT), cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW),
                 cl3DLight = SystemColor(COLOR_3DLIGHT), clInfoBk = SystemColor(COLOR_INFOBK);

inline bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == 0xFF000000u; }

// Resolves a system colour to its current RGB value; other values pass through unchanged.
inline COLORREF ColorToRGB(TColor c) {
    return IsSystemColor(c) ? GetSysColor(static_cast<int>(c & 0xFF)) : static_cast<COLORREF>(c);
}

}  // namespace forms
