#include "formats/PpmWriter.h"

#include "base/Errors.h"

#include <algorithm>
#include <string>

namespace quillmark {

namespace {

std::uint8_t Scale5(unsigned v)
{
    return static_cast<std::uint8_t>((v << 3) | (v >> 2));
}

std::uint8_t Scale6(unsigned v)
{
    return static_cast<std::uint8_t>((v << 2) | (v >> 4));
}

Color PaletteColor(const Bitmap& bitmap, unsigned index)
{
    // A pixel beyond the palette's end shows black, as the toolkit draws it.
    return index < bitmap.Palette.size() ? bitmap.Palette[index] : Color{};
}

void PutRgb(std::vector<std::uint8_t>& out, Color c)
{
    out.push_back(c.Red);
    out.push_back(c.Green);
    out.push_back(c.Blue);
}

void AppendRow(const Bitmap& bitmap, std::span<const std::uint8_t> row, std::vector<std::uint8_t>& out)
{
    const auto width = static_cast<std::size_t>(bitmap.Width());
    for (std::size_t x = 0; x < width; ++x) {
        switch (bitmap.Format()) {
        case PixelFormat::Bits1:
            PutRgb(out, PaletteColor(bitmap, (unsigned{row[x / 8]} >> (7 - x % 8)) & 1u));
            break;
        case PixelFormat::Bits4:
            PutRgb(out, PaletteColor(bitmap, (unsigned{row[x / 2]} >> (x % 2 == 0 ? 4 : 0)) & 15u));
            break;
        case PixelFormat::Bits8:
            PutRgb(out, PaletteColor(bitmap, row[x]));
            break;
        case PixelFormat::Bits15: {
            const unsigned v = row[2 * x] | (unsigned{row[2 * x + 1]} << 8);
            PutRgb(out, Color{Scale5((v >> 10) & 31u), Scale5((v >> 5) & 31u), Scale5(v & 31u)});
            break;
        }
        case PixelFormat::Bits16: {
            const unsigned v = row[2 * x] | (unsigned{row[2 * x + 1]} << 8);
            PutRgb(out, Color{Scale5((v >> 11) & 31u), Scale6((v >> 5) & 63u), Scale5(v & 31u)});
            break;
        }
        case PixelFormat::Bits24:
            PutRgb(out, Color{row[3 * x + 2], row[3 * x + 1], row[3 * x]});
            break;
        case PixelFormat::Bits32:
            PutRgb(out, Color{row[4 * x + 2], row[4 * x + 1], row[4 * x]});
            break;
        }
    }
}

std::vector<std::uint8_t> PpmHeader(std::int32_t width, std::int32_t height)
{
    const std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    return std::vector<std::uint8_t>(header.begin(), header.end());
}

} // namespace

std::vector<std::uint8_t> EncodePpm(const Bitmap& bitmap)
{
    std::vector<std::uint8_t> out = PpmHeader(bitmap.Width(), bitmap.Height());
    out.reserve(out.size() + std::size_t{3} * static_cast<std::size_t>(bitmap.Width()) *
                                 static_cast<std::size_t>(bitmap.Height()));
    for (std::int32_t y = 0; y < bitmap.Height(); ++y)
        AppendRow(bitmap, bitmap.Row(y), out);
    return out;
}

void StreamBgrPpm(std::int32_t width, std::int32_t height, const std::uint8_t* const* rows, const ByteSink& sink)
{
    constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
    const std::vector<std::uint8_t> header = PpmHeader(width, height);
    sink(header);
    const auto bytes = std::size_t{3} * static_cast<std::size_t>(std::max(width, 0));
    if (bytes == 0 || height <= 0)
        return;
    const std::size_t rowsPerPiece = std::max<std::size_t>(1, kPieceBytes / bytes);
    std::vector<std::uint8_t> piece(bytes * std::min(rowsPerPiece, static_cast<std::size_t>(height)));
    std::size_t filled = 0;
    for (std::int32_t y = 0; y < height; ++y) {
        SwapRedBlueRow(rows[y], piece.data() + filled, bytes);
        filled += bytes;
        if (filled == piece.size() || y + 1 == height) {
            sink(std::span<const std::uint8_t>(piece.data(), filled));
            filled = 0;
        }
    }
}

} // namespace quillmark
