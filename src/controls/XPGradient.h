// The vertical gradients of the styled push button: 32 bands whose top edges are frayed by a
// few random pixels, so the steps between bands do not show, tiled every 16 columns.
#pragma once
#include "forms/Bitmap.h"
#include <array>
#include <random>

namespace controls {

// Entry i is top + i/31 of the way to bottom, each of red, green and blue on its own.
std::array<forms::TColor, 32> GradientTable(forms::TColor top, forms::TColor bottom);

// Makes `bitmap` width x height and fills it with the gradient from `top` to `bottom`.
void MakeGradient(forms::TBitmap& bitmap, int width, int height, forms::TColor top, forms::TColor bottom,
                  std::minstd_rand& random);

}  // namespace controls
