#include "formats/PCXGraphic.h"

#include "base/ByteReader.h"
#include "formats/PCXRLEDecoder.h"

#include <algorithm>
#include <array>
#include <vector>

// PCX: a 128-byte little-endian header (maker 10, or 205 for screen
// captures; version; encoding 1 = run-length; bits per pixel of one plane;
// the picture window; a 16-colour palette; plane count; bytes per plane line;
// palette kind 2 = grey), then for every row each plane's line in turn, all
// run-length coded as one stream. 8-bit pictures keep a 256-colour palette in
// the last 769 bytes, behind a marker byte 12.
//
// Kept on purpose:
// - 2-bit pixels are shown as 4-bit ones with the header palette.
// - Planes of 1 or 2 bits (up to 8 bits in all) combine into one palette
//   index whose lowest bits come from the first plane: up to 4 bits with the
//   header palette, more with the 256-colour one.
// - Version 3 files carry no palette and use the standard 16 colours.
// Any encoding other than 1 is read as unpacked lines.

namespace quillmark {

namespace {

constexpr const char* kKind = "PCX or SCR";
constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kPaletteTail = 769;
constexpr unsigned kMaxRunLength = 63;

InvalidGraphicError InvalidFormat()
{
    return InvalidGraphicError(FormatMessage(kInvalidImageFormat, {kKind}));
}

struct PcxHeader {
    std::uint8_t Maker = 0;
    std::uint8_t Version = 0;
    std::uint8_t Encoding = 0;
    std::uint8_t BitsPerPixel = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::array<Color, 16> Palette{};
    std::uint8_t Planes = 0;
    std::uint16_t BytesPerLine = 0;
    std::uint16_t PaletteKind = 0;
};

PcxHeader ReadHeader(std::span<const std::uint8_t> file)
{
    ByteReader in(file, FormatMessage(kInvalidImageFormat, {kKind}));
    PcxHeader h;
    h.Maker = in.U8();
    if (h.Maker != 10 && h.Maker != 205)
        throw InvalidFormat();
    h.Version = in.U8();
    h.Encoding = in.U8();
    h.BitsPerPixel = in.U8();
    const std::uint16_t left = in.U16LE();
    const std::uint16_t top = in.U16LE();
    const std::uint16_t right = in.U16LE();
    const std::uint16_t bottom = in.U16LE();
    h.Width = std::int32_t{right} - left + 1;
    h.Height = std::int32_t{bottom} - top + 1;
    in.Skip(4);  // resolution
    const auto palette = in.Bytes(48);
    for (std::size_t i = 0; i < 16; ++i)
        h.Palette[i] = Color{palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]};
    in.Skip(1);
    h.Planes = in.U8();
    h.BytesPerLine = in.U16LE();
    h.PaletteKind = in.U16LE();
    in.Seek(kHeaderSize);
    return h;
}

enum class Layout { Mono, EightBit, Packed, Rgb };

// Up to 8 bits in all planes give one palette index per pixel; only a plane
// of 4 bits is refused there. More than 8 bits are three or more 8-bit
// colour planes.
Layout ChooseLayout(const PcxHeader& h)
{
    const unsigned bits = unsigned{h.BitsPerPixel} * h.Planes;
    if (bits == 0)
        throw InvalidFormat();
    if (bits > 8) {
        if (h.BitsPerPixel == 8 && h.Planes >= 3)
            return Layout::Rgb;
    } else if (bits == 1) {
        return Layout::Mono;
    } else if (h.Planes == 1 && h.BitsPerPixel == 8) {
        return Layout::EightBit;
    } else if (h.BitsPerPixel != 4) {
        return Layout::Packed;
    }
    throw InvalidGraphicError(FormatMessage(kInvalidColorFormat, {"PCX"}));
}

// The standard 16 colours for files that carry no palette.
constexpr std::array<Color, 16> kSystemColors = {{
    {0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128}, {128, 0, 128}, {0, 128, 128},
    {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0}, {0, 0, 255}, {255, 0, 255},
    {0, 255, 255}, {255, 255, 255},
}};

std::vector<Color> GreyRamp()
{
    std::vector<Color> palette(256);
    for (std::size_t i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        palette[i] = Color{v, v, v};
    }
    return palette;
}

// A colour picture of version 5 keeps its palette at the end of the file: one
// without it has been cut short. Grey pictures, older versions and the
// combined-plane layouts get the grey ramp when none is there.
std::vector<Color> EightBitPalette(std::span<const std::uint8_t> file, const PcxHeader& h, bool required)
{
    if (h.PaletteKind == 2)
        return GreyRamp();
    if (file.size() < kHeaderSize + kPaletteTail || file[file.size() - kPaletteTail] != 12) {
        if (required && h.Version >= 5)
            throw InvalidFormat();
        return GreyRamp();
    }
    const auto bytes = file.subspan(file.size() - kPaletteTail + 1);
    std::vector<Color> palette(256);
    for (std::size_t i = 0; i < 256; ++i)
        palette[i] = Color{bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]};
    return palette;
}

} // namespace

bool TPCXGraphic::ProbeImage(std::span<const std::uint8_t> file, unsigned imageIndex)
{
    if (imageIndex != 0)
        return false;
    try {
        const PcxHeader h = ReadHeader(file);
        ImageProperties props;
        props.Width = h.Width > 0 ? static_cast<std::uint32_t>(h.Width) : 0;
        props.Height = h.Height > 0 ? static_cast<std::uint32_t>(h.Height) : 0;
        const bool rgb = h.BitsPerPixel == 8 && h.Planes >= 3;
        props.Scheme = rgb ? ColorScheme::RGB : ColorScheme::Indexed;
        props.BitsPerSample = h.BitsPerPixel;
        props.SamplesPerPixel = rgb ? 3 : 1;
        props.BitsPerPixel = static_cast<std::uint8_t>(h.BitsPerPixel * h.Planes);
        props.Compression = h.Encoding == 1 ? CompressionKind::PCXRLE : CompressionKind::None;
        m_imageProperties = props;
        return props.Width != 0 && props.Height != 0;
    } catch (const QuillmarkError&) {
        return false;
    }
}

void TPCXGraphic::ReadPicture(std::span<const std::uint8_t> file)
{
    const PcxHeader h = ReadHeader(file);
    if (h.Width <= 0 || h.Height <= 0)
        throw InvalidFormat();
    const Layout layout = ChooseLayout(h);
    CheckPictureSize(static_cast<std::uint64_t>(h.Width), static_cast<std::uint64_t>(h.Height));
    const auto width = static_cast<std::size_t>(h.Width);
    const auto height = static_cast<std::size_t>(h.Height);
    const std::size_t planeLine = h.BytesPerLine;
    if (planeLine < (width * h.BitsPerPixel + 7) / 8)
        throw InvalidFormat();

    // Every line of every plane must be reachable from the data present.
    const auto packed = file.subspan(kHeaderSize);
    const std::size_t lineBytes = planeLine * h.Planes;
    const std::uint64_t unpackedSize = std::uint64_t{lineBytes} * height;
    const unsigned ratio = h.Encoding == 1 ? kMaxRunLength : 1;
    if (std::uint64_t{packed.size()} * ratio < unpackedSize)
        throw InvalidFormat();

    const unsigned packedBits = unsigned{h.BitsPerPixel} * h.Planes;
    Bitmap picture;
    switch (layout) {
    case Layout::Mono:
        picture.Allocate(PixelFormat::Bits1, h.Width, h.Height);
        picture.Palette = {Color{0, 0, 0}, Color{255, 255, 255}};
        break;
    case Layout::Packed:
        if (packedBits > 4) {
            picture.Allocate(PixelFormat::Bits8, h.Width, h.Height);
            picture.Palette = EightBitPalette(file, h, false);
            break;
        }
        picture.Allocate(PixelFormat::Bits4, h.Width, h.Height);
        if (h.Version == 3)
            picture.Palette.assign(kSystemColors.begin(), kSystemColors.end());
        else
            picture.Palette.assign(h.Palette.begin(), h.Palette.end());
        break;
    case Layout::EightBit:
        picture.Allocate(PixelFormat::Bits8, h.Width, h.Height);
        picture.Palette = EightBitPalette(file, h, true);
        break;
    case Layout::Rgb:
        picture.Allocate(PixelFormat::Bits24, h.Width, h.Height);
        break;
    }

    TPCXRLEDecoder decoder;
    decoder.StartUnpack();
    std::vector<std::uint8_t> line(lineBytes);
    std::size_t sourcePos = 0;
    for (std::size_t y = 0; y < height; ++y) {
        std::size_t linePos = 0;
        if (h.Encoding == 1) {
            decoder.Unpack(packed, sourcePos, line, linePos, line.size(), packed.size());
        } else {
            const std::size_t n = std::min(line.size(), packed.size() - sourcePos);
            std::copy_n(packed.begin() + static_cast<std::ptrdiff_t>(sourcePos), n, line.begin());
            sourcePos += n;
            linePos = n;
        }
        // Data that ends before the last row is a damaged file, not a picture
        // with missing rows.
        if (linePos < line.size())
            throw InvalidFormat();
        const auto row = picture.Row(static_cast<std::int32_t>(y));
        switch (layout) {
        case Layout::Mono:
        case Layout::EightBit:
            std::copy_n(line.begin(), (width * h.BitsPerPixel + 7) / 8, row.begin());
            break;
        case Layout::Packed: {
            // Plane p gives bits p * depth and up of the index.
            const unsigned depth = h.BitsPerPixel;
            const unsigned perByte = 8 / depth;
            const unsigned sampleMask = (1u << depth) - 1;
            for (std::size_t x = 0; x < width; ++x) {
                const std::size_t at = x / perByte;
                const unsigned shift = 8 - depth * (1 + static_cast<unsigned>(x % perByte));
                unsigned v = 0;
                for (std::size_t p = 0; p < h.Planes; ++p)
                    v |= ((unsigned{line[p * planeLine + at]} >> shift) & sampleMask) << (p * depth);
                if (packedBits > 4)
                    row[x] = static_cast<std::uint8_t>(v);
                else
                    row[x / 2] = static_cast<std::uint8_t>(row[x / 2] | (x % 2 == 0 ? v << 4 : v));
            }
            break;
        }
        case Layout::Rgb:
            for (std::size_t x = 0; x < width; ++x) {
                row[3 * x] = line[2 * planeLine + x];
                row[3 * x + 1] = line[planeLine + x];
                row[3 * x + 2] = line[x];
            }
            break;
        }
    }
    decoder.FinishUnpack();
    AssignPicture(std::move(picture));
}

} // namespace quillmark
