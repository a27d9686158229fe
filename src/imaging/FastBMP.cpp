#include "imaging/FastBMP.h"

#include "base/Errors.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <span>

namespace quillmark {

namespace {

constexpr std::size_t kPageBytes = 4096;
constexpr unsigned kPageColours = 4;

} // namespace

TFastBMP::TFastBMP(std::int32_t width, std::int32_t height)
{
    if (width < 0 || height < 0)
        throw InternalError("negative pixel buffer size");
    CheckPictureSize(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height));
    // The size guard keeps this below 2^31: at most 3 x 2^28 pixel bytes
    // plus 3 padding bytes for each of at most 65535 rows.
    const std::uint64_t stride = 3 * static_cast<std::uint64_t>(width) + static_cast<std::uint64_t>(width % 4);
    const std::uint64_t dataSize = stride * static_cast<std::uint64_t>(height);
    if (dataSize > 0x7fffffffu)
        throw InternalError("pixel buffer size exceeds 31 bits");
    // Large blocks come page-aligned, so two buffers of one size would put
    // every pixel at the same address bits 0..11 in both. A loop reading one
    // and writing the other at nearby positions (rotation) then sees false
    // store-to-load dependencies on every pixel. Successive buffers therefore
    // start at different offsets within a page, none at the offset 0 of a
    // buffer taken over from a decoded bitmap.
    static std::atomic<unsigned> serial{0};
    const std::size_t offset = (1 + serial++ % (kPageColours - 1)) * (kPageBytes / kPageColours);
    m_memory = PixelMemory(static_cast<std::size_t>(dataSize) + kPageBytes);
    m_rows.resize(static_cast<std::size_t>(height));
    Attach(width, height, m_memory.Data() + offset, m_rows.data());
}

TFastBMP::TFastBMP(PixelMemory memory, std::int32_t width, std::int32_t height) : m_memory(std::move(memory))
{
    m_rows.resize(static_cast<std::size_t>(height));
    Attach(width, height, m_memory.Data(), m_rows.data());
}

std::unique_ptr<TFastBMP> TFastBMP::CreateCopy(const TFastBMP& source)
{
    auto copy = std::make_unique<TFastBMP>(source.Width(), source.Height());
    if (source.DataSize() > 0)
        std::memcpy(copy->PixelData(), source.PixelData(), static_cast<std::size_t>(source.DataSize()));
    return copy;
}

namespace {

using PaletteTable = std::array<std::array<std::uint8_t, 3>, 256>;

// Indexes beyond the palette's length read as black, so a short palette
// cannot make us read outside it.
PaletteTable MakePaletteTable(const std::vector<Color>& palette)
{
    PaletteTable table{};
    const std::size_t count = palette.size() < table.size() ? palette.size() : table.size();
    for (std::size_t i = 0; i < count; ++i)
        table[i] = {palette[i].Blue, palette[i].Green, palette[i].Red};
    return table;
}

// A 5- or 6-bit channel scaled to 0..255, rounded to nearest, so that the
// largest value becomes 255.
template <unsigned Bits>
constexpr std::array<std::uint8_t, (1u << Bits)> MakeChannelTable()
{
    constexpr unsigned maxValue = (1u << Bits) - 1;
    std::array<std::uint8_t, (1u << Bits)> table{};
    for (unsigned v = 0; v <= maxValue; ++v)
        table[v] = static_cast<std::uint8_t>((v * 255 + maxValue / 2) / maxValue);
    return table;
}

constexpr auto kChannel5 = MakeChannelTable<5>();
constexpr auto kChannel6 = MakeChannelTable<6>();

void PutPixel(std::uint8_t* out, const std::array<std::uint8_t, 3>& bgr)
{
    out[0] = bgr[0];
    out[1] = bgr[1];
    out[2] = bgr[2];
}

void ConvertRow(const Bitmap& bitmap, const PaletteTable& palette, std::span<const std::uint8_t> in, std::uint8_t* out)
{
    const auto width = static_cast<std::size_t>(bitmap.Width());
    switch (bitmap.Format()) {
    case PixelFormat::Bits1:
        for (std::size_t x = 0; x < width; ++x)
            PutPixel(out + 3 * x, palette[(unsigned{in[x / 8]} >> (7 - x % 8)) & 1u]);
        break;
    case PixelFormat::Bits4:
        for (std::size_t x = 0; x < width; ++x)
            PutPixel(out + 3 * x, palette[(unsigned{in[x / 2]} >> (x % 2 == 0 ? 4u : 0u)) & 0x0fu]);
        break;
    case PixelFormat::Bits8:
        for (std::size_t x = 0; x < width; ++x)
            PutPixel(out + 3 * x, palette[in[x]]);
        break;
    case PixelFormat::Bits15:
        for (std::size_t x = 0; x < width; ++x) {
            const unsigned v = unsigned{in[2 * x]} | (unsigned{in[2 * x + 1]} << 8);
            PutPixel(out + 3 * x, {kChannel5[v & 0x1fu], kChannel5[(v >> 5) & 0x1fu], kChannel5[(v >> 10) & 0x1fu]});
        }
        break;
    case PixelFormat::Bits16:
        for (std::size_t x = 0; x < width; ++x) {
            const unsigned v = unsigned{in[2 * x]} | (unsigned{in[2 * x + 1]} << 8);
            PutPixel(out + 3 * x, {kChannel5[v & 0x1fu], kChannel6[(v >> 5) & 0x3fu], kChannel5[(v >> 11) & 0x1fu]});
        }
        break;
    case PixelFormat::Bits24:
        std::memcpy(out, in.data(), 3 * width);
        break;
    case PixelFormat::Bits32:
        for (std::size_t x = 0; x < width; ++x)
            PutPixel(out + 3 * x, {in[4 * x], in[4 * x + 1], in[4 * x + 2]});
        break;
    }
}

} // namespace

std::unique_ptr<TFastBMP> TFastBMP::CreateFromBitmap(Bitmap&& bitmap)
{
    // A 24-bit bitmap's rows are padded to 4 bytes as ours are.
    if (bitmap.Format() == PixelFormat::Bits24 && !bitmap.Empty()) {
        const std::int32_t width = bitmap.Width();
        const std::int32_t height = bitmap.Height();
        if (bitmap.Stride() != 3 * static_cast<std::size_t>(width) + static_cast<std::size_t>(width % 4))
            throw InternalError("24-bit bitmap rows laid out unlike the pixel buffer's");
        return std::unique_ptr<TFastBMP>(new TFastBMP(bitmap.TakePixels(), width, height));
    }
    auto result = CreateFromBitmap(static_cast<const Bitmap&>(bitmap));
    bitmap = Bitmap();
    return result;
}

std::unique_ptr<TFastBMP> TFastBMP::CreateFromBitmap(const Bitmap& bitmap)
{
    auto result = std::make_unique<TFastBMP>(bitmap.Width(), bitmap.Height());
    if (result->Empty())
        return result;
    const PaletteTable palette = MakePaletteTable(bitmap.Palette);
    const auto needed = (static_cast<std::size_t>(bitmap.Width()) * static_cast<std::size_t>(BitsPerPixel(bitmap.Format())) + 7) / 8;
    for (std::int32_t y = 0; y < bitmap.Height(); ++y) {
        const std::span<const std::uint8_t> in = bitmap.Row(y);
        if (in.size() < needed)
            throw InternalError("bitmap row shorter than its width");
        ConvertRow(bitmap, palette, in, result->RowTable()[y]);
    }
    return result;
}

} // namespace quillmark
