#include "formats/GIFGraphic.h"

#include "base/ByteReader.h"
#include "base/CheckedMath.h"
#include "formats/GIFLZWDecoder.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

// GIF87a/89a: a six-byte signature and version, the logical screen descriptor
// with an optional global colour table, then blocks: extensions ('!', label,
// data sub-blocks) and image descriptors (',', position, size, flags, an
// optional local colour table, the LZW code size and data sub-blocks), up to
// the trailer ';'. Every multi-byte number is little-endian.
//
// Kept on purpose:
// - The picture has the size of the first image descriptor, not of the
//   logical screen; the screen size stands in only where the image gives 0.
// - The version is checked only for being a number ("87", "89").
// Mended: a file that ends (or reaches its trailer) before any image
// descriptor is refused instead of loading as an empty picture, and so are
// image data that ends before the last pixel and a file that ends before its
// trailer.

namespace quillmark {

namespace {

constexpr const char* kKind = "GIF";

InvalidGraphicError InvalidFormat()
{
    return InvalidGraphicError(FormatMessage(kInvalidImageFormat, {kKind}));
}

struct GifImage {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    bool Interlaced = false;
    std::vector<Color> Palette;
    std::size_t DataStart = 0;  // file offset of the LZW code size byte
};

void CheckSignature(ByteReader& in)
{
    const auto sig = in.Bytes(6);
    if (std::toupper(sig[0]) != 'G' || std::toupper(sig[1]) != 'I' || std::toupper(sig[2]) != 'F')
        throw InvalidFormat();
    if (!std::isdigit(sig[3]) || !std::isdigit(sig[4]))
        throw ConvertError(FormatMessage("'%s' is not a valid integer value",
                                         {std::string{static_cast<char>(sig[3]), static_cast<char>(sig[4])}}));
}

std::vector<Color> ReadColorTable(ByteReader& in, unsigned flags)
{
    const std::size_t count = std::size_t{2} << (flags & 7u);
    const auto bytes = in.Bytes(count * 3);
    std::vector<Color> palette(count);
    for (std::size_t i = 0; i < count; ++i)
        palette[i] = Color{bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]};
    return palette;
}

void SkipSubBlocks(ByteReader& in)
{
    for (std::uint8_t length = in.U8(); length != 0; length = in.U8())
        in.Skip(length);
}

// Skips extension blocks ('!', label, sub-blocks); returns the byte of the
// first block that is none.
std::uint8_t SkipExtensions(ByteReader& in)
{
    for (std::uint8_t block = in.U8();; block = in.U8()) {
        if (block != '!')
            return block;
        in.Skip(1);  // label
        SkipSubBlocks(in);
    }
}

// Reads up to the first image descriptor and its colour table.
GifImage ReadFirstImage(ByteReader& in)
{
    CheckSignature(in);
    const std::uint16_t screenWidth = in.U16LE();
    const std::uint16_t screenHeight = in.U16LE();
    const std::uint8_t screenFlags = in.U8();
    in.Skip(2);  // background colour index, aspect ratio
    GifImage image;
    if (screenFlags & 0x80u)
        image.Palette = ReadColorTable(in, screenFlags);
    if (SkipExtensions(in) != ',')
        throw InvalidFormat();  // the trailer, or bytes that are no block
    in.Skip(4);  // left, top
    image.Width = in.U16LE();
    image.Height = in.U16LE();
    const std::uint8_t flags = in.U8();
    if (image.Width == 0)
        image.Width = screenWidth;
    if (image.Height == 0)
        image.Height = screenHeight;
    image.Interlaced = (flags & 0x40u) != 0;
    if (flags & 0x80u)
        image.Palette = ReadColorTable(in, flags);
    image.DataStart = in.Position();
    return image;
}

// Walks the blocks after the first image up to the trailer, so that a file
// cut short anywhere is refused, not shown as if whole. Bytes that are no
// block end the walk as the trailer would.
void SkipToTrailer(ByteReader& in)
{
    while (SkipExtensions(in) == ',') {
        in.Skip(8);  // left, top, width, height
        const std::uint8_t flags = in.U8();
        if (flags & 0x80u)
            in.Skip((std::size_t{2} << (flags & 7u)) * 3);
        in.Skip(1);  // LZW code size
        SkipSubBlocks(in);
    }
}

// The most bytes that n bits of LZW codes at a starting width of w can
// spell: the k-th code after a clear adds at most one byte to the longest
// string so far.
std::uint64_t MaxLzwOutput(std::uint64_t bits, unsigned codeSize)
{
    const std::uint64_t codes = bits / (codeSize + 1);
    return codes >= LzwCodeTable::kMaxCodes ? codes * LzwCodeTable::kMaxCodes : codes * (codes + 1) / 2;
}

// The order in which an interlaced image stores its rows.
std::vector<std::uint32_t> InterlacedRowOrder(std::uint32_t height)
{
    std::vector<std::uint32_t> order;
    order.reserve(height);
    constexpr std::uint32_t kStart[4] = {0, 4, 2, 1};
    constexpr std::uint32_t kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (std::uint32_t y = kStart[pass]; y < height; y += kStep[pass])
            order.push_back(y);
    return order;
}

} // namespace

bool TGIFGraphic::ProbeImage(std::span<const std::uint8_t> file, unsigned imageIndex)
{
    if (imageIndex != 0)
        return false;
    try {
        ByteReader in(file, FormatMessage(kInvalidImageFormat, {kKind}));
        const GifImage image = ReadFirstImage(in);
        ImageProperties props;
        props.Width = image.Width;
        props.Height = image.Height;
        props.Scheme = ColorScheme::Indexed;
        props.BitsPerSample = 8;
        props.SamplesPerPixel = 1;
        props.BitsPerPixel = 8;
        props.Compression = CompressionKind::GIFLZW;
        props.Interlaced = image.Interlaced;
        m_imageProperties = props;
        return image.Width != 0 && image.Height != 0;
    } catch (const QuillmarkError&) {
        return false;
    }
}

void TGIFGraphic::ReadPicture(std::span<const std::uint8_t> file)
{
    ByteReader in(file, FormatMessage(kInvalidImageFormat, {kKind}));
    const GifImage image = ReadFirstImage(in);
    if (image.Width == 0 || image.Height == 0)
        throw InvalidFormat();
    CheckPictureSize(image.Width, image.Height);

    const unsigned codeSize = in.U8();
    // Join the data sub-blocks; a file cut short in them is refused.
    std::vector<std::uint8_t> packed;
    for (std::uint8_t length = in.U8(); length != 0; length = in.U8()) {
        const auto block = in.Bytes(length);
        packed.insert(packed.end(), block.begin(), block.end());
    }
    SkipToTrailer(in);
    const std::uint64_t pixels = std::uint64_t{image.Width} * image.Height;
    // A few bytes that claim a huge picture are refused before any allocation.
    if (MaxLzwOutput(std::uint64_t{packed.size()} * 8, std::max(codeSize, 1u)) < pixels)
        throw InvalidFormat();

    TGIFLZWDecoder decoder(codeSize);
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(pixels), 0);
    std::size_t sourcePos = 0;
    std::size_t targetPos = 0;
    decoder.StartUnpack();
    decoder.Unpack(packed, sourcePos, indices, targetPos, indices.size(), packed.size());
    decoder.FinishUnpack();
    // Image data that ends before the last pixel is a damaged file, not a
    // picture with missing rows.
    if (targetPos < indices.size())
        throw InvalidFormat();

    Bitmap picture;
    picture.Allocate(PixelFormat::Bits8, static_cast<std::int32_t>(image.Width),
                     static_cast<std::int32_t>(image.Height));
    // Indices past the colour table show black, as do all pixels of a file
    // without any colour table.
    picture.Palette = image.Palette;
    picture.Palette.resize(256, Color{});
    std::vector<std::uint32_t> rows;
    if (image.Interlaced)
        rows = InterlacedRowOrder(image.Height);
    const std::size_t width = image.Width;
    for (std::uint32_t i = 0; i < image.Height; ++i) {
        const std::uint32_t y = image.Interlaced ? rows[i] : i;
        std::copy_n(indices.begin() + static_cast<std::ptrdiff_t>(i * width), width,
                    picture.Row(static_cast<std::int32_t>(y)).begin());
    }
    AssignPicture(std::move(picture));
}

} // namespace quillmark
