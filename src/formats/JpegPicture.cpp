#include "formats/JpegPicture.h"

// JPEG through libjpeg. libjpeg reports a fatal error by calling error_exit,
// whose default ends the process; ours records the message number and
// longjmps back into DecodeJpeg. Only C frames of libjpeg lie between the
// longjmp and its setjmp, so no destructor is skipped, and all state the
// decoder changes is on the heap (DecodeState), so none is lost. Warnings
// (a file that ends early, a corrupt marker) are ignored and libjpeg decodes
// what it can, as it does by default.
//
// Kept on purpose:
//  - A truncated file decodes without an error; libjpeg fills the missing
//    rows. Only a file holding too few bytes for even a small part of its
//    declared picture is refused (see kMinBlocksPerByte).
//  - Greyscale files are not reduced to a quantized palette: an 8-bit
//    picture with all 256 grey levels keeps every level of the scan.

#include "base/Errors.h"

#include <algorithm>
#include <csetjmp>
#include <memory>
#include <cstdio>
#include <string>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace quillmark {

namespace {

constexpr int kTooManyScans = -1;

// A Huffman-coded block costs at least two bits in a sequential file (a DC
// and an end-of-block code) and at least one in the first scan of a
// progressive one, so a complete file has a byte for every 8 blocks of its
// first component. A file with less than a byte for every 64 blocks is mostly
// missing: decoding it would allocate and fill the whole declared picture
// (hundreds of megabytes, many seconds) from a few bytes, so it is refused as
// a decompression bomb. Arithmetic coding packs a plain area far tighter
// (about 3000 blocks a byte for a blank page), so its bound is looser.
constexpr std::uint64_t kMinBlocksPerByte = 64;
constexpr std::uint64_t kMinArithmeticBlocksPerByte = 8192;

// libjpeg's own buffers (a progressive file keeps every coefficient of the
// picture) may not grow beyond this; past it libjpeg asks for a backing store,
// which this build does not have, and the picture is refused as too large.
constexpr long kMaxLibraryMemory = 1L << 30;

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

// Everything that changes after the setjmp lives here, on the heap: after a
// longjmp the automatic objects of DecodeJpeg's frame that changed since the
// setjmp would hold indeterminate values, and that frame holds nothing but
// the pointer to this. Frees libjpeg's state on every way out.
struct DecodeState {
    ErrorManager Errors{};
    jpeg_progress_mgr Progress{};
    jpeg_decompress_struct Info{};
    bool Created = false;
    Bitmap Picture;
    std::vector<std::uint8_t> CmykRow;

    DecodeState() = default;
    DecodeState(const DecodeState&) = delete;
    DecodeState& operator=(const DecodeState&) = delete;
    ~DecodeState()
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
    const auto state = std::make_unique<DecodeState>();
    jpeg_decompress_struct& info = state->Info;
    Bitmap& bitmap = state->Picture;

    info.err = jpeg_std_error(&state->Errors.Library);
    state->Errors.Library.error_exit = ExitWithError;
    state->Errors.Library.emit_message = IgnoreMessage;
    state->Progress.progress_monitor = CheckScanCount;

    if (setjmp(state->Errors.Jump) != 0) {
        const int code = state->Errors.Code;
        // libjpeg cannot tell a zero size from other header faults, but our
        // users should hear the same as for any other empty picture.
        if (code == kTooManyScans || code == JERR_EMPTY_IMAGE)
            throw InvalidGraphicError(InvalidJpegMessage());
        if (code == JERR_NO_BACKING_STORE)
            throw InvalidGraphicError(PictureTooLargeMessage(info.image_width, info.image_height));
        throw InvalidGraphicError(FormatMessage("JPEG error #%d", {std::to_string(code)}));
    }

    jpeg_create_decompress(&info);
    state->Created = true;
    info.progress = &state->Progress;
    info.mem->max_memory_to_use = kMaxLibraryMemory;
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);

    if (info.image_width == 0 || info.image_height == 0)
        throw InvalidGraphicError(InvalidJpegMessage());
    CheckPictureSize(info.image_width, info.image_height);
    const std::uint64_t blocks = (std::uint64_t{info.image_width} + 7) / 8 * ((std::uint64_t{info.image_height} + 7) / 8);
    if (blocks / (info.arith_code ? kMinArithmeticBlocksPerByte : kMinBlocksPerByte) > file.size())
        throw InvalidGraphicError(InvalidJpegMessage());

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

    jpeg_start_decompress(&info);
    if (info.output_width != info.image_width || info.output_height != info.image_height ||
        info.output_components != (cmyk ? 4 : info.out_color_space == JCS_GRAYSCALE ? 1 : 3))
        throw InternalError("libjpeg changed the output geometry");

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
        state->CmykRow.resize(std::size_t{4} * info.image_width);

    while (info.output_scanline < info.output_height) {
        const auto y = static_cast<std::int32_t>(info.output_scanline);
        JSAMPROW row = cmyk ? state->CmykRow.data() : bitmap.Row(y).data();
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            throw InvalidGraphicError(InvalidJpegMessage()); // a memory source never suspends
        if (cmyk)
            CmykRowToBgr(state->CmykRow, bitmap.Row(y), info.saw_Adobe_marker != 0);
    }
    jpeg_finish_decompress(&info);
    return std::move(bitmap);
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
