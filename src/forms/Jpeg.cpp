#include "Jpeg.h"
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>
#include <jpeglib.h>

namespace forms {

namespace {

// libjpeg's default error handler ends the process; ours jumps back to the decoder instead.
// No C++ exception may pass through libjpeg's C frames, hence the jump. Warnings (a stream
// cut short, corrupt data) are counted: such a picture is refused rather than shown half grey.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf back;
    int warnings;
};

void ErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->back, 1);
}

void CountWarning(j_common_ptr info, int level) {
    if (level < 0) ++reinterpret_cast<ErrorManager*>(info->err)->warnings;
}

constexpr size_t MaxPixels = size_t(1) << 24;  // 64 MB of pixels

struct Decoded {
    std::vector<uint32_t> pixels;  // top-down rows of 0x00RRGGBB
    int width = 0, height = 0;
};

// Between setjmp and a jump back nothing here has a destructor to skip; the pixels live in the
// caller's object, reached through a pointer that does not change.
bool Decode(const unsigned char* data, unsigned long size, Decoded* out) {
    jpeg_decompress_struct info{};  // zeroed: destroying it before it was made is harmless
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    errors.base.emit_message = CountWarning;
    errors.warnings = 0;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRX;  // the byte order of a 32-bit DIB pixel
    jpeg_start_decompress(&info);
    out->width = static_cast<int>(info.output_width);
    out->height = static_cast<int>(info.output_height);
    // A header may declare any size: a picture too big to be a banner is refused before its
    // buffer is made, and a buffer that cannot be had must not throw past the clean-up.
    const size_t pixels = size_t(info.output_width) * info.output_height;
    bool allocated = pixels <= MaxPixels;
    if (allocated) {
        try {
            out->pixels.resize(pixels);
        } catch (...) {
            allocated = false;
        }
    }
    if (!allocated) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(out->pixels.data() + size_t(info.output_scanline) * info.output_width);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return errors.warnings == 0;
}

}  // namespace

bool LoadJpeg(const void* data, size_t size, TBitmap& out) {
    if (!data || size == 0) return false;
    Decoded decoded;
    if (!Decode(static_cast<const unsigned char*>(data), static_cast<unsigned long>(size), &decoded)) return false;
    if (decoded.width <= 0 || decoded.height <= 0) return false;
    out.SetSize(decoded.width, decoded.height);
    GdiFlush();
    uint32_t* bits = out.Bits();
    if (!bits) return false;  // the bitmap could not be made
    for (uint32_t& p : decoded.pixels) p &= 0x00FFFFFF;
    std::memcpy(bits, decoded.pixels.data(), decoded.pixels.size() * sizeof(uint32_t));
    if (out.OnChange) out.OnChange(&out);
    return true;
}

bool LoadJpegResource(HINSTANCE module, const char* name, TBitmap& out) {
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);  // part of the module: nothing to free
    const void* data = loaded ? LockResource(loaded) : nullptr;
    return LoadJpeg(data, SizeofResource(module, found), out);
}

}  // namespace forms
