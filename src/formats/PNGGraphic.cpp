#include "formats/PNGGraphic.h"

// A PNG file is an 8-byte signature and a sequence of chunks, each a 32-bit
// big-endian length, a four-letter type, the data and a CRC-32 over type and
// data. IHDR comes first and gives size, bit depth, colour type and interlace;
// PLTE holds the palette; the image is one zlib stream split over consecutive
// IDAT chunks; IEND ends the file. Each stored row starts with a filter byte
// that says how the row was predicted from its left and upper neighbours.
// Interlaced images store seven Adam7 passes, each a small picture of its own.
//
// Behaviour kept on purpose:
// - Filter type above 4: the row is left as it came from the stream, not
//   refused.
// - The chunk that follows the IDAT run is only skipped (or refused when it is
//   critical), even when it is a PLTE, gAMA, bKGD or tRNS chunk.
// - tRNS and bKGD never change the pixels: the background colour only fills
//   the picture before decoding, the transparent colour is only recorded.
// - A zlib stream that ends before the picture is complete, or with data left
//   in its chunk, is reported as extra compressed data.
// Mended:
// - Image data that ends before the picture is complete (no further IDAT) is
//   a compression error, not a picture whose last rows are missing.

#include "base/ByteReader.h"
#include "base/CheckedMath.h"
#include "base/Errors.h"
#include "formats/LZ77Decoder.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace quillmark {

namespace {

constexpr const char* kKind = "PNG";
constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint32_t kIHDRLength = 13;
// Deflate cannot expand data by more than this factor (258 bytes from one
// length code of about two bits); a picture that needs more than this times
// its compressed bytes can never be filled.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

std::string Message(const char* pattern) { return FormatMessage(pattern, {kKind}); }

[[noreturn]] void FailInvalid() { throw InvalidGraphicError(Message(kInvalidImageFormat)); }

constexpr std::uint32_t ChunkType(const char (&name)[5])
{
    return (std::uint32_t{static_cast<std::uint8_t>(name[0])} << 24) |
           (std::uint32_t{static_cast<std::uint8_t>(name[1])} << 16) |
           (std::uint32_t{static_cast<std::uint8_t>(name[2])} << 8) | std::uint32_t{static_cast<std::uint8_t>(name[3])};
}

constexpr std::uint32_t kIHDR = ChunkType("IHDR");
constexpr std::uint32_t kPLTE = ChunkType("PLTE");
constexpr std::uint32_t kIDAT = ChunkType("IDAT");
constexpr std::uint32_t kIEND = ChunkType("IEND");
constexpr std::uint32_t kgAMA = ChunkType("gAMA");
constexpr std::uint32_t kbKGD = ChunkType("bKGD");
constexpr std::uint32_t ktRNS = ChunkType("tRNS");

// Bit 5 of the first type letter clear (upper case): a decoder must understand
// the chunk to show the picture.
bool IsCritical(std::uint32_t type) { return ((type >> 24) & 0x20u) == 0; }

struct ChunkHeader {
    std::uint32_t Length = 0;
    std::uint32_t Type = 0;
    std::size_t DataStart = 0;  // file offset of the data
};

struct Adam7Pass {
    std::uint32_t StartRow, StartColumn, RowStep, ColumnStep;
    std::uint8_t Mask;  // bitmap pixels of every eight that the pass holds
};

constexpr std::array<Adam7Pass, 7> kAdam7{{
    {0, 0, 8, 8, 0x80},
    {0, 4, 8, 8, 0x08},
    {4, 0, 8, 4, 0x88},
    {0, 2, 4, 4, 0x22},
    {2, 0, 4, 2, 0xAA},
    {0, 1, 2, 2, 0x55},
    {1, 0, 2, 1, 0xFF},
}};

std::uint8_t ScaleToByte(std::uint32_t v, unsigned bits)
{
    if (bits == 0)
        return 0;
    if (bits >= 16)
        return static_cast<std::uint8_t>(v * 255 / 65535);
    if (bits >= 8)
        return static_cast<std::uint8_t>(v);
    return static_cast<std::uint8_t>(v * 255 / ((1u << bits) - 1));
}

std::uint8_t Paeth(std::uint8_t a, std::uint8_t b, std::uint8_t c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    if (pb <= pc)
        return b;
    return c;
}

// Undoes one row's filter in place. row and previous exclude the filter byte.
void Unfilter(std::uint8_t filter, std::span<std::uint8_t> row, std::span<const std::uint8_t> previous,
              std::size_t bpp)
{
    const std::size_t n = row.size();
    const std::size_t lead = std::min(bpp, n);  // the bytes with no left neighbour
    std::uint8_t* r = row.data();
    const std::uint8_t* up = previous.data();
    switch (filter) {
    case 1:
        for (std::size_t i = bpp; i < n; ++i)
            r[i] = static_cast<std::uint8_t>(r[i] + r[i - bpp]);
        break;
    case 2:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = static_cast<std::uint8_t>(r[i] + up[i]);
        break;
    case 3:
        for (std::size_t i = 0; i < lead; ++i)
            r[i] = static_cast<std::uint8_t>(r[i] + up[i] / 2);
        for (std::size_t i = lead; i < n; ++i)
            r[i] = static_cast<std::uint8_t>(r[i] + (unsigned{r[i - bpp]} + up[i]) / 2);
        break;
    case 4:
        // With no left neighbour Paeth picks the byte above.
        for (std::size_t i = 0; i < lead; ++i)
            r[i] = static_cast<std::uint8_t>(r[i] + up[i]);
        for (std::size_t i = lead; i < n; ++i)
            r[i] = static_cast<std::uint8_t>(r[i] + Paeth(r[i - bpp], up[i], up[i - bpp]));
        break;
    default:  // 0, and the types above 4 (kept on purpose, see above)
        break;
    }
}

// The state of one load. It owns the decompressor, so every exit, also by an
// exception, releases the inflate state.
class PNGLoad {
public:
    PNGLoad(std::span<const std::uint8_t> file, TColorManager& colors, ImageProperties& properties)
        : m_reader(file, Message(kInvalidImageFormat)), m_colors(colors), m_properties(properties),
          m_decoder(Z_PARTIAL_FLUSH, false, Message("Cannot load image. Compression error found in %s file."))
    {
    }

    Bitmap Run();

private:
    ChunkHeader ReadChunkHeader();
    std::span<const std::uint8_t> ReadChunkData(const ChunkHeader& chunk);
    // Chunks we do not interpret are still CRC-checked, so a damaged byte
    // anywhere in the file is reported as damage.
    void SkipChunk(const ChunkHeader& chunk) { ReadChunkData(chunk); }

    void CheckHeader() const;
    void SetupColors();
    void ReadPalette(const ChunkHeader& chunk);
    void ReadGamma(const ChunkHeader& chunk);
    void ReadBackground(const ChunkHeader& chunk);
    void ReadTransparency(const ChunkHeader& chunk);
    ChunkHeader DecodeImage(ChunkHeader first);
    void CheckDataCanFillPicture(const ChunkHeader& first) const;
    // The bytes of the IDAT run that starts with first, as far as the file holds them.
    std::uint64_t PackedImageBytes(const ChunkHeader& first) const;
    void FillBackground();
    void ReadRow(std::span<std::uint8_t> row);
    bool InflateRunWhole(const ChunkHeader& first, PixelMemory& raw);
    std::uint32_t GreyLevel(std::span<const std::uint8_t> data) const;
    Color RgbSamples(std::span<const std::uint8_t> data) const;

    ByteReader m_reader;
    TColorManager& m_colors;
    ImageProperties& m_properties;
    TLZ77Decoder m_decoder;
    Bitmap m_bitmap;

    bool m_colorsReady = false;
    bool m_paletteRead = false;
    std::size_t m_filterBpp = 1;  // bytes per complete pixel, 1..8
    std::vector<Color> m_palette;
    Color m_background{255, 255, 255};
    std::optional<Color> m_transparent;

    // Image data: the IDAT chunk being read and how far.
    std::span<const std::uint8_t> m_input;
    std::size_t m_inputPos = 0;
    bool m_inputExhausted = false;  // the IDAT run is over
    ChunkHeader m_afterImage;       // the first chunk after the IDAT run
};

ChunkHeader PNGLoad::ReadChunkHeader()
{
    ChunkHeader h;
    h.Length = m_reader.U32BE();
    h.Type = m_reader.U32BE();
    h.DataStart = m_reader.Position();
    // The PNG standard caps lengths at 2^31 - 1; anything larger is not a
    // length but damage.
    if (h.Length > 0x7FFFFFFFu)
        FailInvalid();
    return h;
}

std::span<const std::uint8_t> PNGLoad::ReadChunkData(const ChunkHeader& chunk)
{
    const auto data = m_reader.Bytes(chunk.Length);
    const std::uint32_t stored = m_reader.U32BE();
    const std::array<std::uint8_t, 4> type{static_cast<std::uint8_t>(chunk.Type >> 24),
                                           static_cast<std::uint8_t>(chunk.Type >> 16),
                                           static_cast<std::uint8_t>(chunk.Type >> 8),
                                           static_cast<std::uint8_t>(chunk.Type)};
    uLong crc = crc32(0L, type.data(), 4);
    // zlib takes 32-bit lengths; a chunk is at most 2^31 - 1 bytes.
    crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
    if (static_cast<std::uint32_t>(crc) != stored)
        throw InvalidGraphicError(Message("Cannot load image. CRC error found in %s file."));
    return data;
}

Bitmap PNGLoad::Run()
{
    m_reader.Seek(kSignature.size());

    // The property check has shown the first chunk to be a 13-byte IHDR.
    const ChunkHeader ihdr = ReadChunkHeader();
    ReadChunkData(ihdr);
    CheckHeader();

    m_decoder.StartUnpack();
    ChunkHeader chunk = ReadChunkHeader();
    for (;;) {
        if (chunk.Type == kIDAT && m_bitmap.Empty()) {
            chunk = DecodeImage(chunk);
        } else if (chunk.Type == kIDAT) {
            // Image data after the picture is complete has nothing to add.
            SkipChunk(chunk);
            chunk = ReadChunkHeader();
            continue;
        } else if (chunk.Type == kPLTE) {
            ReadPalette(chunk);
            chunk = ReadChunkHeader();
            continue;
        } else if (chunk.Type == kgAMA) {
            ReadGamma(chunk);
            chunk = ReadChunkHeader();
            continue;
        } else if (chunk.Type == kbKGD) {
            ReadBackground(chunk);
            chunk = ReadChunkHeader();
            continue;
        } else if (chunk.Type == ktRNS) {
            ReadTransparency(chunk);
            chunk = ReadChunkHeader();
            continue;
        }
        // Any other chunk, and the one after the image data.
        SkipChunk(chunk);
        if (chunk.Type == kIEND)
            break;
        if (IsCritical(chunk.Type))
            throw InvalidGraphicError("Cannot load PNG image. Unexpected but critical chunk detected.");
        chunk = ReadChunkHeader();
    }
    m_decoder.FinishUnpack();
    // A file without image data gives no picture at all.
    if (m_bitmap.Empty())
        FailInvalid();
    return std::move(m_bitmap);
}

// The rules IHDR must pass before anything else is read, first failing rule
// first; all of them before any allocation.
void PNGLoad::CheckHeader() const
{
    if (m_properties.Compression != CompressionKind::Deflate)
        throw InvalidGraphicError(FormatMessage(kNotSupported, {kCompressionSchemeIs, kKind}));
    const unsigned depth = m_properties.BitsPerSample;
    bool valid = false;
    switch (m_properties.Scheme) {
    case ColorScheme::Grey: valid = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16; break;
    case ColorScheme::Indexed: valid = depth == 1 || depth == 2 || depth == 4 || depth == 8; break;
    case ColorScheme::RGB:
    case ColorScheme::GreyAlpha:
    case ColorScheme::RGBA: valid = depth == 8 || depth == 16; break;
    default: break;
    }
    if (!valid)
        throw InvalidGraphicError(Message(kInvalidColorFormat));
    CheckPictureSize(m_properties.Width, m_properties.Height);
}

void PNGLoad::SetupColors()
{
    const unsigned depth = m_properties.BitsPerSample;
    const auto depthIn = [depth](std::initializer_list<unsigned> allowed) {
        return std::find(allowed.begin(), allowed.end(), depth) != allowed.end();
    };
    ColorScheme target = ColorScheme::Grey;
    unsigned targetBits = 8;
    unsigned targetSamples = 1;
    unsigned samples = 1;
    bool valid = false;
    switch (m_properties.Scheme) {
    case ColorScheme::Grey:
        valid = depthIn({1, 2, 4, 8, 16});
        targetBits = depth == 2 ? 4 : std::min(depth, 8u);
        break;
    case ColorScheme::RGB:
        valid = depthIn({8, 16});
        samples = 3;
        target = ColorScheme::BGR;
        targetSamples = 3;
        break;
    case ColorScheme::Indexed:
        valid = depthIn({1, 2, 4, 8});
        target = ColorScheme::Indexed;
        targetBits = depth == 2 ? 4 : depth;
        break;
    case ColorScheme::GreyAlpha:
        valid = depthIn({8, 16});
        samples = 2;
        break;
    case ColorScheme::RGBA:
        valid = depthIn({8, 16});
        samples = 4;
        target = ColorScheme::BGRA;
        targetSamples = 4;
        break;
    default: break;
    }
    if (!valid)
        throw InvalidGraphicError(Message(kInvalidColorFormat));

    m_colors.SetSourceColorScheme(m_properties.Scheme);
    m_colors.SetSourceBitsPerSample(depth);
    m_colors.SetSourceSamplesPerPixel(samples);
    m_colors.SetTargetColorScheme(target);
    m_colors.SetTargetBitsPerSample(targetBits);
    m_colors.SetTargetSamplesPerPixel(targetSamples);
    m_filterBpp = std::max<std::size_t>(1, depth * samples / 8);
    if (target == ColorScheme::Grey)
        m_palette = m_colors.CreateGrayscalePalette(false);
    m_colorsReady = true;
}

void PNGLoad::ReadPalette(const ChunkHeader& chunk)
{
    if (chunk.Length % 3 != 0)
        throw InvalidGraphicError(Message("Cannot load image. Palette in %s file is invalid."));
    const auto data = ReadChunkData(chunk);
    if (m_properties.Scheme != ColorScheme::Indexed)
        return;  // a suggested palette for a true-colour picture
    SetupColors();
    m_palette = m_colors.CreateColorPalette(data, 8, chunk.Length / 3);
    m_paletteRead = true;
}

void PNGLoad::ReadGamma(const ChunkHeader& chunk)
{
    const auto data = ReadChunkData(chunk);
    if (data.size() < 4)
        return;
    ByteReader r(data, Message(kInvalidImageFormat));
    const long double gamma = static_cast<long double>(r.U32BE()) / 100000.0L;
    m_colors.SetGamma(2.2L, gamma);
    m_colors.SetTargetOptions(m_colors.TargetOptions() | ConvertOptions::ApplyGamma);
    m_properties.FileGamma = gamma;
    m_properties.Options = m_properties.Options | ImageOptions::GammaGiven;
}

std::uint32_t PNGLoad::GreyLevel(std::span<const std::uint8_t> data) const
{
    const auto v = static_cast<std::uint32_t>(data[0] << 8 | data[1]);
    const unsigned depth = m_properties.BitsPerSample;
    return ScaleToByte(v & ((1u << std::min(depth, 16u)) - 1), depth);
}

// Three 16-bit fields of bKGD or tRNS, each reduced to 8 bits.
Color PNGLoad::RgbSamples(std::span<const std::uint8_t> data) const
{
    const unsigned depth = m_properties.BitsPerSample;
    const auto sample = [&](std::size_t i) {
        const auto v = static_cast<std::uint32_t>(data[2 * i] << 8 | data[2 * i + 1]);
        return ScaleToByte(v & (depth >= 16 ? 0xFFFFu : 0xFFu), depth);
    };
    return Color{sample(0), sample(1), sample(2)};
}

void PNGLoad::ReadBackground(const ChunkHeader& chunk)
{
    const auto data = ReadChunkData(chunk);
    switch (m_properties.Scheme) {
    case ColorScheme::Grey:
    case ColorScheme::GreyAlpha:
        if (data.size() >= 2) {
            const auto level = static_cast<std::uint8_t>(GreyLevel(data));
            m_background = Color{level, level, level};
        }
        break;
    case ColorScheme::RGB:
    case ColorScheme::RGBA:
        if (data.size() >= 6) {
            m_background = RgbSamples(data);
        }
        break;
    case ColorScheme::Indexed:
        if (!data.empty() && data[0] < m_palette.size())
            m_background = m_palette[data[0]];
        break;
    default: break;
    }
}

void PNGLoad::ReadTransparency(const ChunkHeader& chunk)
{
    const auto data = ReadChunkData(chunk);
    if (m_properties.Scheme == ColorScheme::Grey && data.size() >= 2) {
        const auto level = static_cast<std::uint8_t>(GreyLevel(data));
        m_transparent = Color{level, level, level};
    } else if (m_properties.Scheme == ColorScheme::RGB && data.size() >= 6) {
        m_transparent = RgbSamples(data);
    }
}

std::uint64_t PNGLoad::PackedImageBytes(const ChunkHeader& first) const
{
    ByteReader scan = m_reader;
    std::uint64_t packed = 0;
    ChunkHeader chunk = first;
    for (;;) {
        scan.Seek(chunk.DataStart);
        packed += std::min<std::uint64_t>(chunk.Length, scan.Remaining());
        if (chunk.Length > scan.Remaining() || scan.Remaining() - chunk.Length < 12)
            break;
        scan.Skip(chunk.Length + 4);
        const std::uint32_t length = scan.U32BE();
        const std::uint32_t type = scan.U32BE();
        if (type != kIDAT)
            break;
        chunk = ChunkHeader{length, type, scan.Position()};
    }
    return packed;
}

void PNGLoad::CheckDataCanFillPicture(const ChunkHeader& first) const
{
    // Sum the IDAT run without reading it, so that a small file declaring a
    // huge picture is refused before the picture is allocated.
    const std::uint64_t packed = PackedImageBytes(first);
    const std::uint64_t width = m_properties.Width;
    const std::uint64_t depth = m_properties.BitsPerSample;
    const std::uint64_t samples = m_properties.BitsPerPixel / depth;  // depth was checked with the header
    // The first pass alone needs (height / 8) rows of (width / 8) pixels; the
    // whole image needs height rows. Either way a row has its filter byte.
    const std::uint64_t rowBytes = (width * depth + 7) / 8 * samples + 1;
    const auto needed = CheckedMul(rowBytes, m_properties.Height);
    const auto possible = CheckedMul(packed, kMaxDeflateRatio);
    if (needed && possible && *needed > *possible + kMaxDeflateRatio)
        throw CompressionError(Message("Cannot load image. Compression error found in %s file."));
}

void PNGLoad::FillBackground()
{
    const auto pixels = m_bitmap.Pixels();
    switch (m_bitmap.Format()) {
    case PixelFormat::Bits24:
        for (std::int32_t y = 0; y < m_bitmap.Height(); ++y) {
            const auto row = m_bitmap.Row(y);
            for (std::size_t x = 0; x < static_cast<std::size_t>(m_bitmap.Width()); ++x) {
                row[3 * x] = m_background.Blue;
                row[3 * x + 1] = m_background.Green;
                row[3 * x + 2] = m_background.Red;
            }
        }
        break;
    case PixelFormat::Bits32:
        for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
            pixels[i] = m_background.Blue;
            pixels[i + 1] = m_background.Green;
            pixels[i + 2] = m_background.Red;
            pixels[i + 3] = 255;
        }
        break;
    default: {
        // Indexed pictures take the palette entry nearest to the background.
        std::size_t best = 0;
        int bestDistance = 1 << 30;
        for (std::size_t i = 0; i < m_bitmap.Palette.size(); ++i) {
            const Color& c = m_bitmap.Palette[i];
            const int dr = c.Red - m_background.Red;
            const int dg = c.Green - m_background.Green;
            const int db = c.Blue - m_background.Blue;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        const auto index = static_cast<unsigned>(best);
        std::uint8_t byte = static_cast<std::uint8_t>(index);
        if (m_bitmap.Format() == PixelFormat::Bits4)
            byte = static_cast<std::uint8_t>(index << 4 | index);
        else if (m_bitmap.Format() == PixelFormat::Bits1)
            byte = index != 0 ? 0xFF : 0x00;
        std::fill(pixels.begin(), pixels.end(), byte);
        break;
    }
    }
}

void PNGLoad::ReadRow(std::span<std::uint8_t> row)
{
    std::size_t done = 0;
    while (done < row.size()) {
        if (m_decoder.StreamEnded())
            throw CompressionError(Message("Cannot load image. Extra compressed data found in %s file."));
        if (m_inputPos >= m_input.size()) {
            // Image data that ends before the last row is a damaged file, not
            // a picture with missing rows.
            if (m_inputExhausted)
                throw CompressionError(Message("Cannot load image. Compression error found in %s file."));
            const ChunkHeader next = ReadChunkHeader();
            if (next.Type != kIDAT) {
                // A damaged chunk type shows as a CRC error first.
                SkipChunk(next);
                throw CompressionError(Message("Cannot load image. Compression error found in %s file."));
            }
            m_input = ReadChunkData(next);
            m_inputPos = 0;
            continue;
        }
        const std::size_t inBefore = m_inputPos;
        const std::size_t outBefore = done;
        m_decoder.Unpack(m_input, m_inputPos, row, done, row.size() - done, m_input.size() - m_inputPos);
        if (m_decoder.StreamEnded() && m_inputPos < m_input.size())
            throw CompressionError(Message("Cannot load image. Extra compressed data found in %s file."));
        // With input and room left inflate always moves; if it does not, the
        // stream is damaged and waiting would never end.
        if (m_inputPos == inBefore && done == outBefore && !m_decoder.StreamEnded())
            throw CompressionError(Message("Cannot load image. Compression error found in %s file."));
    }
}

// The whole IDAT run inflated at once by libdeflate, when that is sure to give
// what the row-by-row zlib path gives: one zlib stream, checksum included,
// that fills raw exactly and ends with the run's last byte. The chunks' CRCs
// are then checked in order, as the zlib path checks them, and the reader is
// left after the run with the chunk that follows it read. Anything else
// (damage, a stream too short or too long, data after it, a file cut inside
// the run) returns false with the reader where it was, and the zlib path
// decodes the file and reports exactly what it finds.
bool PNGLoad::InflateRunWhole(const ChunkHeader& first, PixelMemory& raw)
{
    const std::size_t start = m_reader.Position();
    std::vector<std::uint8_t> packed;
    ByteReader scan = m_reader;
    ChunkHeader chunk = first;
    std::size_t chunks = 0;
    for (;;) {
        scan.Seek(chunk.DataStart);
        if (chunk.Length > scan.Remaining() || scan.Remaining() - chunk.Length < 4)
            return false;
        const auto data = scan.Bytes(chunk.Length);
        packed.insert(packed.end(), data.begin(), data.end());
        scan.Skip(4);
        ++chunks;
        if (scan.Remaining() < 8)
            return false;
        const std::uint32_t length = scan.U32BE();
        const std::uint32_t type = scan.U32BE();
        if (type != kIDAT)
            break;
        chunk = ChunkHeader{length, type, scan.Position()};
    }
    struct Free {
        void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
    };
    const std::unique_ptr<libdeflate_decompressor, Free> inflater(libdeflate_alloc_decompressor());
    std::size_t used = 0;
    std::size_t made = 0;
    if (!inflater ||
        libdeflate_zlib_decompress_ex(inflater.get(), packed.data(), packed.size(), raw.Data(), raw.Size(), &used,
                                      &made) != LIBDEFLATE_SUCCESS ||
        used != packed.size() || made != raw.Size()) {
        m_reader.Seek(start);
        return false;
    }
    chunk = first;
    for (std::size_t i = 0; i < chunks; ++i) {
        ReadChunkData(chunk);
        chunk = ReadChunkHeader();
    }
    m_afterImage = chunk;
    m_inputExhausted = true;
    return true;
}

ChunkHeader PNGLoad::DecodeImage(ChunkHeader first)
{
    if (!m_colorsReady)
        SetupColors();
    if (m_properties.Scheme == ColorScheme::Indexed && !m_paletteRead)
        throw InvalidGraphicError(Message("Cannot load image. Palette in %s file is invalid."));
    const auto format = m_colors.TargetPixelFormat();
    if (!format)
        throw InvalidGraphicError(Message(kInvalidColorFormat));
    CheckDataCanFillPicture(first);

    const auto width = static_cast<std::int32_t>(m_properties.Width);
    const auto height = static_cast<std::int32_t>(m_properties.Height);
    m_bitmap.Allocate(*format, width, height);
    m_bitmap.Palette = m_palette;
    if (m_properties.Scheme == ColorScheme::Indexed) {
        // Every index a pixel can hold has an entry, so no reader of the
        // Bitmap can look past the palette.
        const std::size_t entries = std::size_t{1} << std::min(BitsPerPixel(*format), 8);
        if (m_bitmap.Palette.size() < entries)
            m_bitmap.Palette.resize(entries, Color{0, 0, 0});
    }
    // Every pixel of a picture that decodes is written; only the passes of an
    // interlaced one leave the background in view while they are drawn.
    if (m_properties.Interlaced)
        FillBackground();
    m_bitmap.Transparent = m_transparent;

    const std::uint64_t depth = m_properties.BitsPerSample;
    const std::uint64_t samples = m_properties.BitsPerPixel / depth;
    const auto rowBytesFor = [&](std::uint64_t pixels) {
        return static_cast<std::size_t>((pixels * depth + 7) / 8 * samples);
    };
    const std::size_t rowBytes = rowBytesFor(m_properties.Width);
    const auto count = static_cast<std::size_t>(width);

    // The passes as (first row, row step, bytes a row, pixel mask); one for a
    // picture that is not interlaced.
    struct Pass {
        std::uint32_t StartRow, RowStep;
        std::size_t Bytes;
        std::uint8_t Mask;
    };
    std::vector<Pass> passes;
    if (!m_properties.Interlaced) {
        passes.push_back({0, 1, rowBytes, 0xFF});
    } else {
        for (const Adam7Pass& pass : kAdam7) {
            if (pass.StartColumn >= m_properties.Width)
                continue;
            const std::uint64_t passWidth =
                (std::uint64_t{m_properties.Width} + pass.ColumnStep - pass.StartColumn - 1) / pass.ColumnStep;
            passes.push_back({pass.StartRow, pass.RowStep, rowBytesFor(passWidth), pass.Mask});
        }
    }
    // The stored bytes of the whole picture, filter bytes included; within
    // what CheckDataCanFillPicture allowed, so no larger than the picture's
    // own size allows.
    std::uint64_t rawSize = 0;
    for (const Pass& pass : passes)
        if (pass.StartRow < m_properties.Height)
            rawSize += (std::uint64_t{m_properties.Height} - pass.StartRow + pass.RowStep - 1) / pass.RowStep *
                       (pass.Bytes + 1);

    // Inflated whole only where that pays for the extra buffer: rows no larger
    // than the picture's (8-bit samples) and data packed at least eight to one,
    // where inflating is most of the work. Other pictures (photographs, 16-bit
    // samples) stream row by row.
    const bool small = rawSize <= m_bitmap.Pixels().size() + m_properties.Height &&
                       PackedImageBytes(first) <= rawSize / 8;
    PixelMemory raw(small ? static_cast<std::size_t>(rawSize) : 0);
    const bool whole = small && InflateRunWhole(first, raw);
    if (!whole) {
        raw = PixelMemory();
        m_input = ReadChunkData(first);
        m_inputPos = 0;
    }
    std::size_t rawPos = 0;
    std::vector<std::uint8_t> current(rowBytes + 1, 0);
    std::vector<std::uint8_t> previous(rowBytes + 1, 0);
    const std::vector<std::uint8_t> zeros(rowBytes + 1, 0);
    for (const Pass& pass : passes) {
        const std::uint8_t* above = zeros.data() + 1;
        for (std::uint32_t y = pass.StartRow; y < m_properties.Height; y += pass.RowStep) {
            std::span<std::uint8_t> row;
            if (whole) {
                row = std::span<std::uint8_t>(raw.Data() + rawPos, pass.Bytes + 1);
                rawPos += pass.Bytes + 1;
            } else {
                row = std::span<std::uint8_t>(current).first(pass.Bytes + 1);
                ReadRow(row);
            }
            const auto data = row.subspan(1);
            Unfilter(row[0], data, std::span<const std::uint8_t>(above, pass.Bytes), m_filterBpp);
            m_colors.ConvertRow(data, m_bitmap.Row(static_cast<std::int32_t>(y)), count, pass.Mask);
            if (whole) {
                above = data.data();
            } else {
                std::swap(current, previous);
                above = previous.data() + 1;
            }
        }
    }
    if (whole)
        return m_afterImage;

    // Skip what is left of the IDAT run; its CRCs are still checked.
    while (!m_inputExhausted) {
        const ChunkHeader next = ReadChunkHeader();
        if (next.Type != kIDAT) {
            m_afterImage = next;
            m_inputExhausted = true;
        } else {
            ReadChunkData(next);
        }
    }
    return m_afterImage;
}

} // namespace

bool TPNGGraphic::ProbeImage(std::span<const std::uint8_t> file, unsigned imageIndex)
{
    m_imageProperties = ImageProperties{};
    if (imageIndex != 0 || file.size() < kSignature.size() + 8 + kIHDRLength + 4)
        return false;
    if (!std::equal(kSignature.begin(), kSignature.end(), file.begin()))
        return false;
    ByteReader r(file, Message(kInvalidImageFormat));
    r.Seek(kSignature.size());
    if (r.U32BE() != kIHDRLength || r.U32BE() != kIHDR)
        return false;
    ImageProperties p;
    p.Width = r.U32BE();
    p.Height = r.U32BE();
    p.BitsPerSample = r.U8();
    const std::uint8_t colorType = r.U8();
    p.Compression = r.U8() == 0 ? CompressionKind::Deflate : CompressionKind::Unknown;
    r.U8();  // filter method: only 0 exists
    p.Interlaced = r.U8() != 0;
    r.Skip(4);  // CRC, checked when the picture is read
    if (p.Width == 0 || p.Height == 0)
        return false;
    switch (colorType) {
    case 0: p.Scheme = ColorScheme::Grey; p.SamplesPerPixel = 1; break;
    case 2: p.Scheme = ColorScheme::RGB; p.SamplesPerPixel = 3; break;
    case 3: p.Scheme = ColorScheme::Indexed; p.SamplesPerPixel = 1; break;
    case 4: p.Scheme = ColorScheme::GreyAlpha; p.SamplesPerPixel = 2; p.HasAlpha = true; break;
    case 6: p.Scheme = ColorScheme::RGBA; p.SamplesPerPixel = 4; p.HasAlpha = true; break;
    default: p.Scheme = ColorScheme::Unknown; p.SamplesPerPixel = 1; break;
    }
    p.BitsPerPixel = static_cast<std::uint8_t>(std::min(255, p.BitsPerSample * p.SamplesPerPixel));
    p.Options = ImageOptions::ByteSwapped;

    // The gamma is wanted before any pixel is converted; look for it, but a
    // damaged chunk list after IHDR does not make the header invalid.
    while (r.Remaining() >= 12) {
        const std::uint32_t length = r.U32BE();
        const std::uint32_t type = r.U32BE();
        if (type == kIEND || length > r.Remaining())
            break;
        if (type == kgAMA && length >= 4) {
            p.FileGamma = static_cast<long double>(r.U32BE()) / 100000.0L;
            p.Options = p.Options | ImageOptions::GammaGiven;
            break;
        }
        if (r.Remaining() - length < 4)
            break;
        r.Skip(length + std::size_t{4});
    }
    m_imageProperties = p;
    return true;
}

void TPNGGraphic::ReadPicture(std::span<const std::uint8_t> file)
{
    if (!ProbeImage(file, 0))
        FailInvalid();
    m_colorManager = TColorManager{};
    m_colorManager.SetSourceOptions(ConvertOptions::ByteSwap);
    PNGLoad load(file, m_colorManager, m_imageProperties);
    AssignPicture(load.Run());
}

} // namespace quillmark
