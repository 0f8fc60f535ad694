#include "jpeg_logo.h"

#include <csetjmp>
// clang-format off
#include <cstdio>  // before jpeglib.h, which uses FILE without including it
#include <jpeglib.h>
// clang-format on

namespace pelmo {
namespace {

// libjpeg's default error handler ends the process; this one jumps back to the caller.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void QuietMessage(j_common_ptr) {}

// Kept apart from DecodeJpeg so that no object with a destructor lives in the frame that
// setjmp returns into.
bool Decode(jpeg_decompress_struct& cinfo, const uint8_t* data, size_t size, RgbImage& out) {
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
    cinfo.out_color_space = JCS_RGB;
    if (cinfo.image_width == 0 || cinfo.image_height == 0 ||
        cinfo.image_width > static_cast<JDIMENSION>(kMaxJpegSide) ||
        cinfo.image_height > static_cast<JDIMENSION>(kMaxJpegSide)) {
        return false;
    }
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) return false;
    out.width = static_cast<int>(cinfo.output_width);
    out.height = static_cast<int>(cinfo.output_height);
    const size_t stride = static_cast<size_t>(out.width) * 3;
    out.rgb.resize(stride * static_cast<size_t>(out.height));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.rgb.data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

}  // namespace

std::optional<RgbImage> DecodeJpeg(const uint8_t* data, size_t size) {
    if (data == nullptr || size == 0) return std::nullopt;
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.output_message = QuietMessage;
    RgbImage image;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return std::nullopt;
    }
    jpeg_create_decompress(&cinfo);
    // A corrupt stream that libjpeg could patch over (a warning) is still a damaged file.
    const bool ok = Decode(cinfo, data, size, image) && err.pub.num_warnings == 0;
    jpeg_destroy_decompress(&cinfo);
    if (!ok) return std::nullopt;
    return image;
}

}  // namespace pelmo
