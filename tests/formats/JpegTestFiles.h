#pragma once
// Builds JPEG files in memory with libjpeg's compressor, for the tests.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace quillmark::testing {

struct JpegRecipe {
    int Width = 32;
    int Height = 32;
    int Components = 3; // 1 grey, 3 RGB, 4 CMYK, others of no known colour space
    int Quality = 95;
    bool Progressive = false;
    bool Arithmetic = false;
    bool FullChroma = false; // 1x1 sampling for every component
    // Sample c of pixel (x, y).
    std::function<std::uint8_t(int x, int y, int c)> Sample;
};

inline std::vector<std::uint8_t> EncodeJpeg(const JpegRecipe& recipe)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(recipe.Width);
    info.image_height = static_cast<JDIMENSION>(recipe.Height);
    info.input_components = recipe.Components;
    info.in_color_space = recipe.Components == 1   ? JCS_GRAYSCALE
                          : recipe.Components == 3 ? JCS_RGB
                          : recipe.Components == 4 ? JCS_CMYK
                                                   : JCS_UNKNOWN;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, recipe.Quality, TRUE);
    if (recipe.FullChroma)
        for (int c = 0; c < info.num_components; ++c)
            info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    if (recipe.Progressive)
        jpeg_simple_progression(&info);
    info.arith_code = recipe.Arithmetic ? TRUE : FALSE;
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(recipe.Width * recipe.Components));
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < recipe.Width; ++x)
            for (int c = 0; c < recipe.Components; ++c)
                row[static_cast<std::size_t>(x * recipe.Components + c)] = recipe.Sample(x, y, c);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> file(buffer, buffer + size);
    std::free(buffer);
    return file;
}

// Offset of the first marker 0xFF code in the file, or 0.
inline std::size_t FindMarker(const std::vector<std::uint8_t>& file, std::uint8_t code, std::size_t from = 2)
{
    for (std::size_t i = from; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == code)
            return i;
    return 0;
}

// Rewrites the frame size in the SOF marker.
inline void SetFrameSize(std::vector<std::uint8_t>& file, std::uint16_t width, std::uint16_t height)
{
    std::size_t sof = 0;
    for (const std::uint8_t code : {0xC0, 0xC2, 0xC9, 0xCA})
        if (sof == 0)
            sof = FindMarker(file, code);
    file[sof + 5] = static_cast<std::uint8_t>(height >> 8);
    file[sof + 6] = static_cast<std::uint8_t>(height);
    file[sof + 7] = static_cast<std::uint8_t>(width >> 8);
    file[sof + 8] = static_cast<std::uint8_t>(width);
}

} // namespace quillmark::testing
