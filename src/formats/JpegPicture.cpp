#include "formats/JpegPicture.h"

// JPEG through libjpeg. libjpeg reports a fatal error by calling error_exit,
// whose default ends the process; ours records the message number and
// longjmps back into DecodeJpeg. Only C frames of libjpeg lie between the
// longjmp and its setjmp, and every C++ object of DecodeJpeg with a destructor
// is constructed before the setjmp, so no destructor is skipped. Warnings
// (a file that ends early, a corrupt marker) are ignored and libjpeg decodes
// what it can, as it does by default.
//
// Kept on purpose:
//  - A truncated file decodes without an error; libjpeg fills the missing
//    rows.
//  - Greyscale files are not reduced to a quantized palette: an 8-bit
//    picture with all 256 grey levels keeps every level of the scan.

#include "base/Errors.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace quillmark {

namespace {

constexpr int kTooManyScans = -1;

struct ErrorManager {
    jpeg_error_mgr Library; // first, so libjpeg's pointer to it is ours too
    std::jmp_buf Jump;
    int Code;
};

[[noreturn]] void ExitWithError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    manager->Code = info->err->msg_code;
    std::longjmp(manager->Jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

void CheckScanCount(j_common_ptr info)
{
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxJpegScans) {
        auto* manager = reinterpret_cast<ErrorManager*>(info->err);
        manager->Code = kTooManyScans;
        std::longjmp(manager->Jump, 1);
    }
}

std::string InvalidJpegMessage()
{
    return FormatMessage("Cannot load image. Invalid or unexpected %s image format.", {"JPEG"});
}

// Frees libjpeg's state on every way out of DecodeJpeg.
struct Decompressor {
    jpeg_decompress_struct Info{};
    volatile bool Created = false; // set after the setjmp, read after a longjmp
    ~Decompressor()
    {
        if (Created)
            jpeg_destroy_decompress(&Info);
    }
};

// CMYK as Adobe writes it (inverted: 255 is no ink) or plain, to BGR.
void CmykRowToBgr(std::span<const std::uint8_t> cmyk, std::span<std::uint8_t> bgr, bool inverted)
{
    const std::size_t width = std::min(cmyk.size() / 4, bgr.size() / 3);
    for (std::size_t x = 0; x < width; ++x) {
        unsigned ink[4];
        for (std::size_t i = 0; i < 4; ++i)
            ink[i] = inverted ? cmyk[4 * x + i] : 255u - cmyk[4 * x + i];
        const unsigned k = ink[3];
        bgr[3 * x] = static_cast<std::uint8_t>((ink[2] * k + 127) / 255);
        bgr[3 * x + 1] = static_cast<std::uint8_t>((ink[1] * k + 127) / 255);
        bgr[3 * x + 2] = static_cast<std::uint8_t>((ink[0] * k + 127) / 255);
    }
}

} // namespace

Bitmap DecodeJpeg(std::span<const std::uint8_t> file)
{
    Bitmap bitmap;
    Decompressor decompressor;
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
    std::vector<std::uint8_t> cmykRow;
    jpeg_decompress_struct& info = decompressor.Info;

    info.err = jpeg_std_error(&errors.Library);
    errors.Library.error_exit = ExitWithError;
    errors.Library.emit_message = IgnoreMessage;
    progress.progress_monitor = CheckScanCount;

    if (setjmp(errors.Jump) != 0) {
        // libjpeg cannot tell a zero size from other header faults, but our
        // users should hear the same as for any other empty picture.
        if (errors.Code == kTooManyScans || errors.Code == JERR_EMPTY_IMAGE)
            throw InvalidGraphicError(InvalidJpegMessage());
        throw InvalidGraphicError(FormatMessage("JPEG error #%d", {std::to_string(errors.Code)}));
    }

    jpeg_create_decompress(&info);
    decompressor.Created = true;
    info.progress = &progress;
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);

    if (info.image_width == 0 || info.image_height == 0)
        throw InvalidGraphicError(InvalidJpegMessage());
    CheckPictureSize(info.image_width, info.image_height);

    bool cmyk = false;
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        info.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        info.out_color_space = JCS_EXT_BGR;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        info.out_color_space = JCS_CMYK;
        cmyk = true;
        break;
    default:
        throw InvalidGraphicError(
            FormatMessage("Cannot load image. %s not supported for %s files.", {"The colour space is", "JPEG"}));
    }
    info.scale_num = 1;
    info.scale_denom = 1;
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    info.quantize_colors = FALSE;

    const auto width = static_cast<std::int32_t>(info.image_width);
    const auto height = static_cast<std::int32_t>(info.image_height);
    if (info.out_color_space == JCS_GRAYSCALE) {
        bitmap.Allocate(PixelFormat::Bits8, width, height);
        bitmap.Palette.resize(256);
        for (std::size_t i = 0; i < bitmap.Palette.size(); ++i) {
            const auto level = static_cast<std::uint8_t>(i);
            bitmap.Palette[i] = Color{level, level, level};
        }
    } else {
        bitmap.Allocate(PixelFormat::Bits24, width, height);
    }
    if (cmyk)
        cmykRow.resize(std::size_t{4} * info.image_width);

    jpeg_start_decompress(&info);
    if (info.output_width != info.image_width || info.output_height != info.image_height ||
        info.output_components != (cmyk ? 4 : info.out_color_space == JCS_GRAYSCALE ? 1 : 3))
        throw InternalError("libjpeg changed the output geometry");

    while (info.output_scanline < info.output_height) {
        const auto y = static_cast<std::int32_t>(info.output_scanline);
        JSAMPROW row = cmyk ? cmykRow.data() : bitmap.Row(y).data();
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            throw InvalidGraphicError(InvalidJpegMessage()); // a memory source never suspends
        if (cmyk)
            CmykRowToBgr(cmykRow, bitmap.Row(y), info.saw_Adobe_marker != 0);
    }
    jpeg_finish_decompress(&info);
    return bitmap;
}

const PictureClass& JpegPictureClass()
{
    static const PictureClass jpegClass{
        "JpegPicture", {}, [](std::span<const std::uint8_t> file) -> std::unique_ptr<Graphic> {
            return std::make_unique<BitmapGraphic>(DecodeJpeg(file));
        }};
    return jpegClass;
}

} // namespace quillmark
