// JPEG pictures decoded with libjpeg into 32-bit bitmaps.
#pragma once
#include "Bitmap.h"
#include <cstddef>

namespace forms {

// Decodes a whole JPEG file held in memory; false (and `out` untouched) when it is not one
// libjpeg can read or is larger than 16 M pixels; false (and `out` empty) when no bitmap of its
// size can be made. Never throws.
bool LoadJpeg(const void* data, size_t size, TBitmap& out);

// The same, from a resource of type RCDATA in `module`.
bool LoadJpegResource(HINSTANCE module, const char* name, TBitmap& out);

}  // namespace forms
