#include "formats/TIFFGraphic.h"

#include "base/ByteReader.h"
#include "base/CheckedMath.h"
#include "base/Cores.h"
#include "formats/CCITTDecoders.h"
#include "formats/LZ77Decoder.h"
#include "formats/PackbitsRLEDecoder.h"
#include "formats/TIFFJPEGDecoder.h"
#include "formats/TIFFLZWDecoder.h"
#include "formats/ThunderDecoder.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

// TIFF 6.0: an eight-byte header ("II" little-endian or "MM" big-endian, the
// number 42, the offset of the first image file directory), then directories
// of 12-byte entries (tag, field type, count, and the value itself when it
// fits in four bytes, else its offset). The picture data lies in strips of
// full-width rows or in tiles, each compressed on its own; with planar
// configuration 2 every sample has its own set of strips or tiles.
//
// Kept on purpose:
// - Only the first directory is decoded; the chain of the next ones is only
//   walked to see that the file is whole (loops end the walk).
// - Predictor 2 is undone only for compressed data.
// - Fill order 2 reverses bits for the CCITT compressions only.
// - Photometric values 4, 7 and above 8 give the unknown colour scheme, which
//   the colour manager refuses.
// Mended:
// - Tiled pictures are decoded, each tile placed at its position.
// - Planar configuration 2 takes each sample from its own plane.
// - Subsampled YCbCr gives each chroma pair to every pixel of its block,
//   partial blocks at the right and bottom edges included.
// - Predictor 2 works on whole 16-bit samples in the file's byte order, and
//   steps back by one pixel whatever the sample count.
// - Group 3 data with two-dimensional coding is refused as not supported.

namespace quillmark {

namespace {

constexpr const char* kKind = "TIF/TIFF";

enum Tag : std::uint16_t {
    kImageWidth = 256,
    kImageLength = 257,
    kBitsPerSample = 258,
    kCompression = 259,
    kPhotometric = 262,
    kFillOrder = 266,
    kStripOffsets = 273,
    kSamplesPerPixel = 277,
    kRowsPerStrip = 278,
    kStripByteCounts = 279,
    kXResolution = 282,
    kYResolution = 283,
    kPlanarConfiguration = 284,
    kT4Options = 292,
    kResolutionUnit = 296,
    kPredictor = 317,
    kColorMap = 320,
    kTileWidth = 322,
    kTileLength = 323,
    kTileOffsets = 324,
    kTileByteCounts = 325,
    kExtraSamples = 338,
    kJPEGTables = 347,
    kYCbCrCoefficients = 529,
    kYCbCrSubSampling = 530,
    kYCbCrPositioning = 531,
};

InvalidGraphicError InvalidFormat()
{
    return InvalidGraphicError(FormatMessage(kInvalidImageFormat, {kKind}));
}

InvalidGraphicError NotSupported()
{
    return InvalidGraphicError(FormatMessage(kNotSupported, {kCompressionSchemeIs, kKind}));
}

// Size in bytes of one value of a field type; 0 for types we do not know.
unsigned FieldTypeSize(std::uint16_t type)
{
    switch (type) {
    case 1:   // byte
    case 2:   // ASCII
    case 6:   // signed byte
    case 7:   // undefined
        return 1;
    case 3:   // short
    case 8:   // signed short
        return 2;
    case 4:   // long
    case 9:   // signed long
    case 11:  // float
        return 4;
    case 5:   // rational
    case 10:  // signed rational
    case 12:  // double
        return 8;
    default: return 0;
    }
}

struct DirectoryEntry {
    std::uint16_t Tag = 0;
    std::uint16_t Type = 0;
    std::uint32_t Count = 0;
    std::size_t ValuePos = 0;  // file offset of the first value
};

// The first image file directory, its entries sorted by tag.
class TiffDirectory {
public:
    // Reads directory number index (0 = the first); a chain that ends or
    // comes back to a directory already seen before that one is invalid.
    explicit TiffDirectory(std::span<const std::uint8_t> file, unsigned index = 0)
        : m_file(file), m_in(file, FormatMessage(kInvalidImageFormat, {kKind}))
    {
        if (file.size() < 8)
            throw InvalidFormat();
        m_bigEndian = file[0] == 'M' && file[1] == 'M';
        m_in.Seek(2);
        if (U16() != 42)
            throw InvalidFormat();
        std::uint32_t directory = U32();
        std::vector<std::uint32_t> seen;
        for (unsigned k = 0; k < index; ++k) {
            seen.push_back(directory);
            m_in.Seek(directory);
            m_in.Skip(std::size_t{U16()} * 12);
            directory = U32();
            if (directory == 0 || std::find(seen.begin(), seen.end(), directory) != seen.end())
                throw InvalidFormat();
        }
        m_in.Seek(directory);
        const std::uint16_t count = U16();
        m_entries.reserve(count);
        std::vector<std::uint32_t> others;  // directories this one points to
        for (unsigned i = 0; i < count; ++i) {
            DirectoryEntry e;
            e.Tag = U16();
            e.Type = U16();
            e.Count = U32();
            const std::size_t fieldPos = m_in.Position();
            const std::uint32_t offset = U32();
            // Every field's values lie in the file, used or not: one that
            // runs past the end shows a file cut short.
            CheckField(e.Type, e.Count, fieldPos, offset, others, e.Tag);
            const std::uint64_t size = std::uint64_t{FieldTypeSize(e.Type)} * e.Count;
            if (FieldTypeSize(e.Type) == 0)
                continue;
            e.ValuePos = size <= 4 ? fieldPos : offset;
            m_entries.push_back(e);
        }
        others.push_back(U32());
        seen.push_back(directory);
        CheckOtherDirectories(std::move(others), std::move(seen));
        std::stable_sort(m_entries.begin(), m_entries.end(),
                         [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.Tag < b.Tag; });
    }

    bool BigEndian() const { return m_bigEndian; }
    bool Has(std::uint16_t tag) const { return Find(tag) != nullptr; }

    // All values of an integer or real field, as integers (reals truncated).
    std::vector<std::uint64_t> Integers(std::uint16_t tag) const
    {
        std::vector<std::uint64_t> out;
        const DirectoryEntry* e = Find(tag);
        if (e == nullptr)
            return out;
        const auto bytes = Values(*e);
        out.reserve(e->Count);
        for (std::uint32_t i = 0; i < e->Count; ++i)
            out.push_back(AsCount(Value(*e, bytes, i)));
        return out;
    }

    std::uint64_t Integer(std::uint16_t tag, std::uint64_t fallback) const
    {
        const DirectoryEntry* e = Find(tag);
        if (e == nullptr || e->Count == 0)
            return fallback;
        return AsCount(Value(*e, Values(*e), 0));
    }

    long double Real(std::uint16_t tag, long double fallback) const
    {
        const DirectoryEntry* e = Find(tag);
        if (e == nullptr || e->Count == 0)
            return fallback;
        return Value(*e, Values(*e), 0);
    }

    std::vector<long double> Reals(std::uint16_t tag) const
    {
        std::vector<long double> out;
        const DirectoryEntry* e = Find(tag);
        if (e == nullptr)
            return out;
        const auto bytes = Values(*e);
        for (std::uint32_t i = 0; i < e->Count; ++i)
            out.push_back(Value(*e, bytes, i));
        return out;
    }

    // The raw bytes of a field (JPEG tables).
    std::span<const std::uint8_t> Bytes(std::uint16_t tag) const
    {
        const DirectoryEntry* e = Find(tag);
        if (e == nullptr)
            return {};
        return Values(*e);
    }

private:
    // The other directories (the next ones of the chain, and the EXIF, GPS
    // and sub-picture directories that fields point to) must lie whole in
    // the file, values included: one that does not shows a file cut short.
    // Directories already seen end a walk, so loops cannot matter, and so
    // does a count beyond any real file's.
    void CheckOtherDirectories(std::vector<std::uint32_t> pending, std::vector<std::uint32_t> seen)
    {
        constexpr std::size_t kMaxDirectories = 256;
        while (!pending.empty() && seen.size() < kMaxDirectories) {
            const std::uint32_t at = pending.back();
            pending.pop_back();
            if (at == 0 || std::find(seen.begin(), seen.end(), at) != seen.end())
                continue;
            seen.push_back(at);
            m_in.Seek(at);
            const std::uint16_t count = U16();
            for (unsigned i = 0; i < count; ++i) {
                const std::uint16_t tag = U16();
                const std::uint16_t type = U16();
                const std::uint32_t values = U32();
                const std::size_t fieldPos = m_in.Position();
                const std::uint32_t offset = U32();
                CheckField(type, values, fieldPos, offset, pending, tag);
            }
            pending.push_back(U32());
        }
    }

    // Checks that a field's values lie in the file and notes the
    // directories it points to.
    void CheckField(std::uint16_t type, std::uint32_t values, std::size_t fieldPos, std::uint32_t offset,
                    std::vector<std::uint32_t>& directories, std::uint16_t tag)
    {
        const unsigned typeSize = type == 13 ? 4 : FieldTypeSize(type);  // 13: a directory offset
        const std::uint64_t size = std::uint64_t{typeSize} * values;
        const std::size_t at = size <= 4 ? fieldPos : offset;
        if (at > m_file.size() || size > m_file.size() - at)
            throw InvalidFormat();
        const bool pointer = type == 13 || (type == 4 && (tag == 330 || tag == 34665 || tag == 34853 || tag == 40965));
        if (!pointer)
            return;
        const std::size_t back = m_in.Position();
        m_in.Seek(at);
        for (std::uint32_t k = 0; k < values && directories.size() < 1024; ++k)
            directories.push_back(U32());
        m_in.Seek(back);
    }

    const DirectoryEntry* Find(std::uint16_t tag) const
    {
        const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), tag,
                                         [](const DirectoryEntry& e, std::uint16_t t) { return e.Tag < t; });
        return it != m_entries.end() && it->Tag == tag ? &*it : nullptr;
    }

    std::span<const std::uint8_t> Values(const DirectoryEntry& e) const
    {
        const std::uint64_t size = std::uint64_t{FieldTypeSize(e.Type)} * e.Count;
        if (size > m_file.size())
            throw InvalidFormat();
        return m_in.At(e.ValuePos, static_cast<std::size_t>(size));
    }

    // A field value as a count: negative values give 0, values past the 64-bit
    // range (a real field holding 1e300) saturate instead of overflowing.
    static std::uint64_t AsCount(long double v)
    {
        constexpr long double limit = 18446744073709551615.0L;
        if (!(v > 0))
            return 0;
        if (v >= limit)
            return std::numeric_limits<std::uint64_t>::max();
        return static_cast<std::uint64_t>(v);
    }

    std::uint64_t Unsigned(std::span<const std::uint8_t> bytes, std::size_t at, unsigned size) const
    {
        std::uint64_t v = 0;
        for (unsigned k = 0; k < size; ++k) {
            const std::uint64_t b = bytes[at + k];
            v |= m_bigEndian ? b << (8 * (size - 1 - k)) : b << (8 * k);
        }
        return v;
    }

    static std::int64_t Signed(std::uint64_t v, unsigned size)
    {
        const std::uint64_t sign = std::uint64_t{1} << (8 * size - 1);
        return static_cast<std::int64_t>(v ^ sign) - static_cast<std::int64_t>(sign);
    }

    long double Value(const DirectoryEntry& e, std::span<const std::uint8_t> bytes, std::uint32_t i) const
    {
        const unsigned size = FieldTypeSize(e.Type);
        const std::size_t at = std::size_t{i} * size;
        switch (e.Type) {
        case 6:
        case 8:
        case 9: return static_cast<long double>(Signed(Unsigned(bytes, at, size), size));
        case 5:
        case 10: {
            const std::uint64_t num = Unsigned(bytes, at, 4);
            const std::uint64_t den = Unsigned(bytes, at + 4, 4);
            if (den == 0)
                return 0;
            if (e.Type == 10)
                return static_cast<long double>(Signed(num, 4)) / static_cast<long double>(Signed(den, 4));
            return static_cast<long double>(num) / static_cast<long double>(den);
        }
        case 11: {
            const auto bits = static_cast<std::uint32_t>(Unsigned(bytes, at, 4));
            float f = 0;
            std::memcpy(&f, &bits, sizeof f);
            return f == f ? static_cast<long double>(f) : 0.0L;
        }
        case 12: {
            const std::uint64_t bits = Unsigned(bytes, at, 8);
            double d = 0;
            std::memcpy(&d, &bits, sizeof d);
            return d == d ? static_cast<long double>(d) : 0.0L;
        }
        default: return static_cast<long double>(Unsigned(bytes, at, size));
        }
    }

    std::uint16_t U16() { return m_bigEndian ? m_in.U16BE() : m_in.U16LE(); }
    std::uint32_t U32() { return m_bigEndian ? m_in.U32BE() : m_in.U32LE(); }

    std::span<const std::uint8_t> m_file;
    ByteReader m_in;
    bool m_bigEndian = false;
    std::vector<DirectoryEntry> m_entries;
};

CompressionKind CompressionOf(std::uint64_t value)
{
    switch (value) {
    case 1: return CompressionKind::None;
    case 2: return CompressionKind::CCITTModifiedHuffman;
    case 3: return CompressionKind::CCITTFax3;
    case 4: return CompressionKind::CCITTFax4;
    case 5: return CompressionKind::LZW;
    case 6: return CompressionKind::OldJPEG;
    case 7: return CompressionKind::JPEG;
    case 8:
    case 32946: return CompressionKind::Deflate;
    case 32771: return CompressionKind::CCITTModifiedHuffmanWordAligned;
    case 32773: return CompressionKind::PackBits;
    case 32809: return CompressionKind::ThunderScan;
    case 32766: return CompressionKind::NeXT;
    case 32895:
    case 32896:
    case 32897:
    case 32898: return CompressionKind::IT8;
    case 32908: return CompressionKind::PixarFilm;
    case 32909: return CompressionKind::PixarLog;
    case 32947: return CompressionKind::KodakDCS;
    case 34661: return CompressionKind::JBIG;
    default: return CompressionKind::Unknown;
    }
}

bool Decodable(CompressionKind kind)
{
    switch (kind) {
    case CompressionKind::None:
    case CompressionKind::CCITTModifiedHuffman:
    case CompressionKind::CCITTModifiedHuffmanWordAligned:
    case CompressionKind::CCITTFax3:
    case CompressionKind::LZW:
    case CompressionKind::JPEG:
    case CompressionKind::Deflate:
    case CompressionKind::PackBits:
    case CompressionKind::ThunderScan: return true;
    default: return false;
    }
}

ColorScheme SchemeOf(std::uint64_t photometric, unsigned samples)
{
    switch (photometric) {
    case 0:
    case 1: return samples >= 2 ? ColorScheme::GreyAlpha : ColorScheme::Grey;
    case 2: return samples >= 4 ? ColorScheme::RGBA : ColorScheme::RGB;
    case 3: return ColorScheme::Indexed;
    case 5: return ColorScheme::CMYK;
    case 6: return ColorScheme::YCbCr;
    case 8: return ColorScheme::CIELab;
    default: return ColorScheme::Unknown;
    }
}

constexpr std::uint64_t kMaxSaneTile = 1024;

// Luma weights of real pictures lie between 0 and 1; the conversion divides
// by the green weight, so values far outside that, or a green weight near
// zero, would only give numbers past any pixel range.
bool UsableCoefficients(const YCbCrCoefficients& c)
{
    const auto sane = [](long double k) { return std::isfinite(k) && k >= -4 && k <= 4; };
    return sane(c.Red) && sane(c.Green) && sane(c.Blue) && std::fabs(c.Green) >= 0.001L;
}

// The most bytes one packed byte can unpack to, by compression; a picture
// that its strips could not fill even so is refused before any allocation.
std::uint64_t MaxExpansion(CompressionKind kind)
{
    switch (kind) {
    case CompressionKind::None: return 1;
    case CompressionKind::PackBits: return 64;
    case CompressionKind::ThunderScan: return 32;
    case CompressionKind::CCITTModifiedHuffman:
    case CompressionKind::CCITTModifiedHuffmanWordAligned:
    case CompressionKind::CCITTFax3: return 512;
    case CompressionKind::Deflate: return 1032;
    case CompressionKind::JPEG: return 4096;
    default: return 4096;  // LZW: a 9-bit code spells at most 4096 bytes
    }
}

// Everything the decoding needs from the directory, checked.
struct TiffLayout {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    unsigned BitsPerSample = 1;
    unsigned SamplesPerPixel = 1;
    std::uint64_t CompressionValue = 1;
    CompressionKind Compression = CompressionKind::None;
    std::uint64_t Photometric = 1;
    ColorScheme Scheme = ColorScheme::Grey;
    bool ReversedBits = false;
    bool Planar = false;
    unsigned Predictor = 1;
    bool Tiled = false;
    std::uint32_t BlockWidth = 0;      // tile width, or the picture width for strips
    std::uint32_t BlockHeight = 0;     // tile length, or rows per strip
    std::vector<std::uint64_t> RowsPerStrip;
    std::vector<std::uint64_t> Offsets;
    std::vector<std::uint64_t> ByteCounts;
    bool HasAlpha = false;
    bool TwoDimensional = false;       // Group 3 with 2-D coding
    YCbCrCoefficients Coefficients;
    bool CoefficientsGiven = false;
    unsigned SubsamplingH = 2;
    unsigned SubsamplingV = 2;
    unsigned Positioning = 1;          // 1 centred, 2 co-sited; chroma is never interpolated, so unused
    long double XResolution = 0;
    long double YResolution = 0;

    std::uint32_t TallestStrip() const
    {
        return static_cast<std::uint32_t>(*std::max_element(RowsPerStrip.begin(), RowsPerStrip.end()));
    }
    unsigned Planes() const { return Planar ? SamplesPerPixel : 1; }
    unsigned SamplesPerPlane() const { return Planar ? 1 : SamplesPerPixel; }
    bool Subsampled() const
    {
        return Scheme == ColorScheme::YCbCr && Compression != CompressionKind::JPEG &&
               (SubsamplingH != 1 || SubsamplingV != 1);
    }
};

TiffLayout ReadLayout(const TiffDirectory& dir)
{
    TiffLayout t;
    const std::uint64_t width = dir.Integer(kImageWidth, 0);
    const std::uint64_t height = dir.Integer(kImageLength, 0);
    if (width == 0 || height == 0)
        throw InvalidFormat();
    if (width > 0xFFFFFFFFu || height > 0xFFFFFFFFu)
        CheckPictureSize(width, height);
    t.Width = static_cast<std::uint32_t>(width);
    t.Height = static_cast<std::uint32_t>(height);
    t.BitsPerSample = static_cast<unsigned>(std::min<std::uint64_t>(dir.Integer(kBitsPerSample, 1), 0xFFFF));
    t.SamplesPerPixel = static_cast<unsigned>(std::min<std::uint64_t>(dir.Integer(kSamplesPerPixel, 1), 0xFFFF));
    t.CompressionValue = dir.Integer(kCompression, 1);
    t.Compression = CompressionOf(t.CompressionValue);
    t.Photometric = dir.Integer(kPhotometric, 1);
    t.Scheme = SchemeOf(t.Photometric, t.SamplesPerPixel);
    t.ReversedBits = dir.Integer(kFillOrder, 1) == 2;
    t.Planar = dir.Integer(kPlanarConfiguration, 1) == 2 && t.SamplesPerPixel > 1;
    t.Predictor = static_cast<unsigned>(std::min<std::uint64_t>(dir.Integer(kPredictor, 1), 0xFFFF));
    t.TwoDimensional = t.Compression == CompressionKind::CCITTFax3 && (dir.Integer(kT4Options, 0) & 1u) != 0;
    const std::uint64_t tileWidth = dir.Integer(kTileWidth, 0);
    const std::uint64_t tileLength = dir.Integer(kTileLength, 0);
    t.Tiled = tileWidth != 0 && tileLength != 0;
    if (t.Tiled) {
        CheckPictureSize(tileWidth, tileLength);
        // Tile sides are multiples of 16, as TIFF 6.0 requires: that keeps
        // tiny tiles from multiplying the per-tile work, and puts every tile
        // of sub-byte samples on a byte boundary. Tiles may overhang the
        // picture, but not by more than a sane tile.
        const auto fits = [](std::uint64_t tile, std::uint64_t side) {
            return tile % 16 == 0 && tile <= std::max<std::uint64_t>((side + 15) / 16 * 16, kMaxSaneTile);
        };
        if (!fits(tileWidth, width) || !fits(tileLength, height))
            throw InvalidFormat();
        t.BlockWidth = static_cast<std::uint32_t>(tileWidth);
        t.BlockHeight = static_cast<std::uint32_t>(tileLength);
        const bool tileFields = dir.Has(kTileOffsets);
        t.Offsets = dir.Integers(tileFields ? kTileOffsets : kStripOffsets);
        t.ByteCounts = dir.Integers(tileFields ? kTileByteCounts : kStripByteCounts);
    } else {
        t.BlockWidth = t.Width;
        t.RowsPerStrip = dir.Integers(kRowsPerStrip);
        for (auto& rows : t.RowsPerStrip)
            rows = rows == 0 ? t.Height : std::min<std::uint64_t>(rows, t.Height);
        if (t.RowsPerStrip.empty())
            t.RowsPerStrip.push_back(t.Height);
        t.BlockHeight = static_cast<std::uint32_t>(t.RowsPerStrip.front());
        t.Offsets = dir.Integers(kStripOffsets);
        t.ByteCounts = dir.Integers(kStripByteCounts);
    }
    const auto extra = dir.Integers(kExtraSamples);
    t.HasAlpha = !extra.empty() && std::all_of(extra.begin(), extra.end(), [](std::uint64_t v) { return v <= 2; });
    const auto coefficients = dir.Reals(kYCbCrCoefficients);
    if (coefficients.size() >= 3) {
        t.Coefficients = YCbCrCoefficients{coefficients[0], coefficients[1], coefficients[2]};
        t.CoefficientsGiven = true;
    }
    const auto subsampling = dir.Integers(kYCbCrSubSampling);
    if (subsampling.size() >= 2) {
        t.SubsamplingH = static_cast<unsigned>(std::min<std::uint64_t>(subsampling[0], 0xFFFF));
        t.SubsamplingV = static_cast<unsigned>(std::min<std::uint64_t>(subsampling[1], 0xFFFF));
    }
    t.Positioning = static_cast<unsigned>(std::min<std::uint64_t>(dir.Integer(kYCbCrPositioning, 1), 2));
    const long double scale = dir.Integer(kResolutionUnit, 2) == 3 ? 2.54L : 1.0L;
    t.XResolution = dir.Real(kXResolution, 0) * scale;
    t.YResolution = dir.Real(kYResolution, 0) * scale;
    return t;
}

ImageProperties PropertiesOf(const TiffLayout& t, bool bigEndian)
{
    ImageProperties p;
    ImageOptions options = ImageOptions::None;
    if (bigEndian)
        options = options | ImageOptions::ByteSwapped;
    if (t.Tiled)
        options = options | ImageOptions::Tiled;
    if (t.Photometric == 0)
        options = options | ImageOptions::MinIsWhite;
    if (t.ReversedBits)
        options = options | ImageOptions::ReversedBitOrder;
    p.Options = options;
    p.Width = t.Width;
    p.Height = t.Height;
    p.Scheme = t.Scheme;
    p.BitsPerSample = static_cast<std::uint8_t>(std::min(t.BitsPerSample, 255u));
    p.SamplesPerPixel = static_cast<std::uint8_t>(std::min(t.SamplesPerPixel, 255u));
    p.BitsPerPixel = static_cast<std::uint8_t>(std::min(t.BitsPerSample * t.SamplesPerPixel, 255u));
    p.Compression = t.Compression;
    p.XResolution = t.XResolution;
    p.YResolution = t.YResolution;
    p.HasAlpha = t.HasAlpha || t.Scheme == ColorScheme::RGBA || t.Scheme == ColorScheme::GreyAlpha;
    return p;
}

std::size_t BitsToBytes(std::uint64_t bits)
{
    return static_cast<std::size_t>((bits + 7) / 8);
}

// 8-bit samples, Samples to a pixel: the running sums stay in registers
// rather than being read back from the row just written.
template <std::size_t Samples>
void UndoBytePredictor(std::uint8_t* row, std::size_t count)
{
    if (count < Samples)
        return;
    std::array<std::uint8_t, Samples> sum;
    std::copy_n(row, Samples, sum.begin());
    std::size_t i = Samples;
    for (; i + Samples <= count; i += Samples)
        for (std::size_t k = 0; k < Samples; ++k)
            row[i + k] = sum[k] = static_cast<std::uint8_t>(sum[k] + row[i + k]);
    for (std::size_t k = 0; i < count; ++i, ++k)
        row[i] = static_cast<std::uint8_t>(sum[k] + row[i]);
}

// Horizontal differencing: each sample was stored as the difference to the
// same sample of the pixel before it.
void UndoPredictor(std::span<std::uint8_t> row, std::uint32_t pixels, unsigned samples, unsigned bits,
                   bool bigEndian)
{
    const std::size_t values = std::size_t{pixels} * samples;
    if (bits == 8) {
        const std::size_t count = std::min(values, row.size());
        switch (samples) {
        case 1: UndoBytePredictor<1>(row.data(), count); break;
        case 3: UndoBytePredictor<3>(row.data(), count); break;
        case 4: UndoBytePredictor<4>(row.data(), count); break;
        default:
            for (std::size_t i = samples; i < count; ++i)
                row[i] = static_cast<std::uint8_t>(row[i] + row[i - samples]);
        }
    } else if (bits == 16) {
        const auto get = [&](std::size_t i) {
            return bigEndian ? static_cast<unsigned>(row[2 * i] << 8 | row[2 * i + 1])
                             : static_cast<unsigned>(row[2 * i + 1] << 8 | row[2 * i]);
        };
        const std::size_t count = std::min(values, row.size() / 2);
        for (std::size_t i = samples; i < count; ++i) {
            const unsigned v = (get(i) + get(i - samples)) & 0xFFFFu;
            row[2 * i + (bigEndian ? 0 : 1)] = static_cast<std::uint8_t>(v >> 8);
            row[2 * i + (bigEndian ? 1 : 0)] = static_cast<std::uint8_t>(v & 0xFF);
        }
    }
}

class TiffReader {
public:
    TiffReader(std::span<const std::uint8_t> file, const TiffDirectory& dir, const TiffLayout& t,
               TColorManager& colors)
        : m_file(file), m_dir(dir), m_t(t), m_colors(colors)
    {
    }

    Bitmap Decode();

private:
    // The file bytes the blocks cover, each byte counted once however many
    // blocks share it, so that the work is bounded by the file's size.
    std::uint64_t PackedBytes() const;
    // Where block index lies in the file.
    std::span<const std::uint8_t> BlockData(std::size_t index, std::size_t unpackedSize) const;
    void SetUpColors(Bitmap& picture);
    std::unique_ptr<TDecoder> MakeDecoder(std::uint32_t blockWidth) const;
    // Bytes of one decoded row of a block as the colour manager reads it.
    std::size_t RowBytes(std::uint32_t pixels) const;
    // Block index as rows of RowBytes(width) bytes: unpacked data where it
    // lies in the file, anything else decoded into the caller's buffer, which
    // is reused from block to block. Valid until the buffer changes.
    std::span<const std::uint8_t> DecodeBlock(std::size_t index, std::uint32_t width, std::uint32_t rows,
                                              std::vector<std::uint8_t>& buffer);
    std::vector<std::uint8_t> ExpandSubsampled(std::span<const std::uint8_t> units, std::uint32_t width,
                                               std::uint32_t rows) const;
    void ConvertBand(Bitmap& picture, std::span<const std::span<const std::uint8_t>> planes, std::uint32_t top,
                     std::uint32_t rows);
    using StripList = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // top, rows
    // Strips [from, to) of the list into the picture's rows.
    void DecodeStrips(Bitmap& picture, const StripList& strips, std::size_t from, std::size_t to);
    // The same for all strips, shared out among the processor's cores.
    void DecodeStripsOnAllCores(Bitmap& picture, const StripList& strips);

    std::span<const std::uint8_t> m_file;
    const TiffDirectory& m_dir;
    const TiffLayout& m_t;
    TColorManager& m_colors;
    // Deflate strips and tiles whose stream fills them exactly go through
    // libdeflate in one call (the same bytes zlib gives, several times
    // faster); anything else (damaged, short or overlong streams) takes the
    // streaming decoder, so every outcome and message stays as it was.
    bool InflateWhole(std::span<const std::uint8_t> data, std::span<std::uint8_t> raw);
    struct InflaterFree {
        void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
    };
    std::unique_ptr<libdeflate_decompressor, InflaterFree> m_inflater;
    std::unique_ptr<TDecoder> m_decoder;
    std::uint32_t m_decoderWidth = 0;
};

void TiffReader::SetUpColors(Bitmap& picture)
{
    // Colour schemes need their samples; one sample of "RGB" is no picture.
    const ColorScheme declared = m_t.Scheme;
    const bool colour = declared == ColorScheme::RGB || declared == ColorScheme::RGBA ||
                        declared == ColorScheme::YCbCr || declared == ColorScheme::CIELab;
    if ((colour && m_t.SamplesPerPixel < 3) || (declared == ColorScheme::CMYK && m_t.SamplesPerPixel < 4))
        throw InvalidGraphicError(FormatMessage(kInvalidColorFormat, {kKind}));
    if (declared == ColorScheme::YCbCr && m_t.CoefficientsGiven && !UsableCoefficients(m_t.Coefficients))
        throw InvalidGraphicError(FormatMessage(kInvalidColorFormat, {kKind}));

    const bool jpeg = m_t.Compression == CompressionKind::JPEG;
    ColorScheme source = m_t.Scheme;
    unsigned samples = m_t.SamplesPerPixel;
    if (jpeg && (source == ColorScheme::YCbCr || source == ColorScheme::RGB)) {
        source = ColorScheme::BGR;  // the JPEG decoder hands out BGR
        samples = 3;
    }
    m_colors.SetSourceBitsPerSample(m_t.BitsPerSample);
    m_colors.SetSourceSamplesPerPixel(samples);
    m_colors.SetSourceColorScheme(source);
    ConvertOptions options = ConvertOptions::None;
    if (m_dir.BigEndian())
        options = options | ConvertOptions::ByteSwap;
    if (source == ColorScheme::CIELab)
        options = options | ConvertOptions::LabByteRange;
    m_colors.SetSourceOptions(options);
    m_colors.SetTargetOptions(ConvertOptions::None);
    if (source == ColorScheme::YCbCr)
        m_colors.SetYCbCrParameters(m_t.Coefficients, m_t.SubsamplingH, m_t.SubsamplingV);

    const unsigned bits = m_t.BitsPerSample;
    switch (source) {
    case ColorScheme::Grey:
    case ColorScheme::GreyAlpha:
    case ColorScheme::Indexed:
        m_colors.SetTargetColorScheme(source == ColorScheme::Indexed ? ColorScheme::Indexed : ColorScheme::Grey);
        m_colors.SetTargetSamplesPerPixel(1);
        m_colors.SetTargetBitsPerSample(bits == 1 ? 1 : bits <= 4 ? 4 : 8);
        break;
    case ColorScheme::RGBA:
        m_colors.SetTargetColorScheme(ColorScheme::BGRA);
        m_colors.SetTargetSamplesPerPixel(4);
        m_colors.SetTargetBitsPerSample(8);
        break;
    default:
        m_colors.SetTargetColorScheme(ColorScheme::BGR);
        m_colors.SetTargetSamplesPerPixel(3);
        m_colors.SetTargetBitsPerSample(8);
        break;
    }
    const auto format = m_colors.TargetPixelFormat();
    if (!format)
        throw InvalidGraphicError(FormatMessage(kInvalidColorFormat, {kKind}));
    picture.Allocate(*format, static_cast<std::int32_t>(m_t.Width), static_cast<std::int32_t>(m_t.Height));

    if (source == ColorScheme::Grey || source == ColorScheme::GreyAlpha) {
        picture.Palette = m_colors.CreateGrayscalePalette(m_t.Photometric == 0);
    } else if (source == ColorScheme::Indexed) {
        if (bits > 8)
            throw InvalidGraphicError(FormatMessage(kInvalidColorFormat, {kKind}));
        const std::size_t entries = std::size_t{1} << bits;
        const auto map = m_dir.Integers(kColorMap);
        if (map.size() < 3 * entries)
            throw InvalidFormat();
        picture.Palette.resize(entries);
        for (std::size_t i = 0; i < entries; ++i) {
            const auto reduce = [](std::uint64_t v) { return static_cast<std::uint8_t>(v * 255 / 65535); };
            picture.Palette[i] = Color{reduce(map[i] & 0xFFFF), reduce(map[entries + i] & 0xFFFF),
                                       reduce(map[2 * entries + i] & 0xFFFF)};
        }
    }
}

std::unique_ptr<TDecoder> TiffReader::MakeDecoder(std::uint32_t blockWidth) const
{
    switch (m_t.Compression) {
    case CompressionKind::CCITTModifiedHuffman:
        return std::make_unique<TCCITTMHDecoder>(blockWidth, m_t.ReversedBits);
    case CompressionKind::CCITTModifiedHuffmanWordAligned:
        return std::make_unique<TCCITTMHDecoder>(blockWidth, m_t.ReversedBits, true);
    case CompressionKind::CCITTFax3: return std::make_unique<TCCITTFax3Decoder>(blockWidth, m_t.ReversedBits);
    case CompressionKind::LZW: return std::make_unique<TTIFFLZWDecoder>();
    case CompressionKind::Deflate: return std::make_unique<TLZ77Decoder>(Z_PARTIAL_FLUSH, true);
    case CompressionKind::PackBits: return std::make_unique<TPackbitsRLEDecoder>();
    case CompressionKind::ThunderScan: return std::make_unique<TThunderDecoder>(blockWidth);
    case CompressionKind::JPEG: {
        TTIFFJPEGDecoder::Settings s;
        s.Tables.assign(m_dir.Bytes(kJPEGTables).begin(), m_dir.Bytes(kJPEGTables).end());
        s.Components = m_t.SamplesPerPlane();
        s.BitsPerSample = m_t.BitsPerSample;
        s.Photometric = static_cast<unsigned>(std::min<std::uint64_t>(m_t.Photometric, 0xFFFF));
        s.SubsamplingH = m_t.SubsamplingH;
        s.SubsamplingV = m_t.SubsamplingV;
        return std::make_unique<TTIFFJPEGDecoder>(std::move(s));
    }
    default: throw NotSupported();
    }
}

std::size_t TiffReader::RowBytes(std::uint32_t pixels) const
{
    if (m_t.Compression == CompressionKind::JPEG && m_t.SamplesPerPlane() >= 3)
        return std::size_t{pixels} * 3;
    if (m_t.Subsampled())
        return std::size_t{pixels} * 3;
    return BitsToBytes(std::uint64_t{pixels} * m_t.BitsPerSample * m_t.SamplesPerPlane());
}

std::vector<std::uint8_t> TiffReader::ExpandSubsampled(std::span<const std::uint8_t> units, std::uint32_t width,
                                                       std::uint32_t rows) const
{
    const std::size_t h = m_t.SubsamplingH;
    const std::size_t v = m_t.SubsamplingV;
    const std::size_t unitBytes = h * v + 2;
    const std::size_t across = (width + h - 1) / h;
    std::vector<std::uint8_t> out(std::size_t{width} * rows * 3);
    std::size_t at = 0;
    for (std::size_t by = 0; by * v < rows; ++by) {
        for (std::size_t bx = 0; bx < across; ++bx, at += unitBytes) {
            const std::uint8_t cb = units[at + h * v];
            const std::uint8_t cr = units[at + h * v + 1];
            for (std::size_t j = 0; j < v; ++j) {
                const std::size_t y = by * v + j;
                if (y >= rows)
                    break;
                for (std::size_t i = 0; i < h; ++i) {
                    const std::size_t x = bx * h + i;
                    if (x >= width)
                        break;
                    const std::size_t p = (y * width + x) * 3;
                    out[p] = units[at + j * h + i];
                    out[p + 1] = cb;
                    out[p + 2] = cr;
                }
            }
        }
    }
    return out;
}

bool TiffReader::InflateWhole(std::span<const std::uint8_t> data, std::span<std::uint8_t> raw)
{
    if (m_t.Compression != CompressionKind::Deflate)
        return false;
    if (!m_inflater)
        m_inflater.reset(libdeflate_alloc_decompressor());
    return m_inflater && libdeflate_zlib_decompress(m_inflater.get(), data.data(), data.size(), raw.data(), raw.size(),
                                                    nullptr) == LIBDEFLATE_SUCCESS;
}

std::uint64_t TiffReader::PackedBytes() const
{
    std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges;  // begin, end
    ranges.reserve(m_t.Offsets.size());
    for (std::size_t i = 0; i < m_t.Offsets.size(); ++i) {
        const std::uint64_t begin = std::min<std::uint64_t>(m_t.Offsets[i], m_file.size());
        const std::uint64_t count = i < m_t.ByteCounts.size() ? m_t.ByteCounts[i] : m_file.size();
        ranges.emplace_back(begin, begin + std::min<std::uint64_t>(count, m_file.size() - begin));
    }
    std::sort(ranges.begin(), ranges.end());
    std::uint64_t covered = 0;
    std::uint64_t reached = 0;
    for (const auto& [begin, end] : ranges) {
        const std::uint64_t from = std::max(begin, reached);
        if (end > from)
            covered += end - from;
        reached = std::max(reached, end);
    }
    return covered;
}

std::span<const std::uint8_t> TiffReader::BlockData(std::size_t index, std::size_t unpackedSize) const
{
    if (index >= m_t.Offsets.size())
        throw InvalidFormat();
    const std::uint64_t offset = m_t.Offsets[index];
    if (offset > m_file.size())
        throw InvalidFormat();
    std::uint64_t count = 0;
    if (index < m_t.ByteCounts.size()) {
        count = m_t.ByteCounts[index];
        if (count > m_file.size() - offset)
            throw InvalidFormat();
    } else {
        // No byte count: unpacked data has its own size, packed data runs to the end.
        count = m_file.size() - offset;
        if (m_t.Compression == CompressionKind::None)
            count = std::min<std::uint64_t>(unpackedSize, count);
    }
    return m_file.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
}

std::span<const std::uint8_t> TiffReader::DecodeBlock(std::size_t index, std::uint32_t width, std::uint32_t rows,
                                                      std::vector<std::uint8_t>& buffer)
{
    std::size_t packedSize = RowBytes(width) * rows;
    if (m_t.Subsampled()) {
        const std::size_t h = m_t.SubsamplingH;
        const std::size_t v = m_t.SubsamplingV;
        packedSize = ((width + h - 1) / h) * ((rows + v - 1) / v) * (h * v + 2);
    }
    const auto data = BlockData(index, packedSize);
    std::span<const std::uint8_t> packed;
    std::vector<std::uint8_t> units;
    if (m_t.Compression == CompressionKind::None) {
        // A block that ends before its rows do is a damaged file, not a
        // picture with missing rows. Unpacked data is read where it lies.
        if (data.size() < packedSize)
            throw InvalidFormat();
        packed = data.first(packedSize);
    } else {
        std::vector<std::uint8_t>& raw = m_t.Subsampled() ? units : buffer;
        raw.resize(packedSize);
        if (!InflateWhole(data, raw)) {
            if (!m_decoder || m_decoderWidth != width) {
                m_decoder = MakeDecoder(width);
                m_decoderWidth = width;
            }
            if (auto* jpeg = dynamic_cast<TTIFFJPEGDecoder*>(m_decoder.get()))
                jpeg->SetBlockSize(width, rows, m_t.Tiled ? m_t.BlockHeight : m_t.TallestStrip());
            std::size_t sourcePos = 0;
            std::size_t targetPos = 0;
            m_decoder->StartUnpack();
            m_decoder->Unpack(data, sourcePos, raw, targetPos, raw.size(), data.size());
            m_decoder->FinishUnpack();
            if (targetPos < raw.size())
                throw InvalidFormat();
        }
        if (m_t.Predictor == 2 && !m_t.Subsampled() && m_t.Compression != CompressionKind::JPEG) {
            const std::size_t rowBytes = RowBytes(width);
            for (std::size_t y = 0; y < rows; ++y)
                UndoPredictor(std::span(raw).subspan(y * rowBytes, rowBytes), width, m_t.SamplesPerPlane(),
                              m_t.BitsPerSample, m_dir.BigEndian());
        }
        packed = raw;
    }
    if (!m_t.Subsampled())
        return packed;
    buffer = ExpandSubsampled(packed, width, rows);
    return buffer;
}

void TiffReader::ConvertBand(Bitmap& picture, std::span<const std::span<const std::uint8_t>> planes,
                             std::uint32_t top, std::uint32_t rows)
{
    const std::size_t rowBytes = RowBytes(m_t.Width);
    std::vector<std::span<const std::uint8_t>> rowPlanes(planes.size());
    for (std::uint32_t y = 0; y < rows; ++y) {
        for (std::size_t p = 0; p < planes.size(); ++p)
            rowPlanes[p] = planes[p].subspan(y * rowBytes, rowBytes);
        m_colors.ConvertRow(rowPlanes, picture.Row(static_cast<std::int32_t>(top + y)), m_t.Width);
    }
}

void TiffReader::DecodeStrips(Bitmap& picture, const StripList& strips, std::size_t from, std::size_t to)
{
    const unsigned planeCount = m_t.Planes();
    std::vector<std::vector<std::uint8_t>> band(planeCount);
    std::vector<std::span<const std::uint8_t>> planes(planeCount);
    for (std::size_t s = from; s < to; ++s) {
        const auto [stripTop, rows] = strips[s];
        for (unsigned p = 0; p < planeCount; ++p)
            planes[p] = DecodeBlock(p * strips.size() + s, m_t.Width, rows, band[p]);
        ConvertBand(picture, planes, stripTop, rows);
    }
}

// Strips are independent: each core takes a run of consecutive strips with a
// reader and a colour manager of its own and writes only its strips' rows.
// Every run is decoded to its end or to its first failure, and the failure of
// the earliest run is the one reported, which is the failure a single reader
// meets first, so the picture and every error are those of one core. Small
// pictures stay on one core.
void TiffReader::DecodeStripsOnAllCores(Bitmap& picture, const StripList& strips)
{
    constexpr std::uint64_t kPixelsWorthSharing = std::uint64_t{1} << 20;
    constexpr std::size_t kStripsPerCore = 4;
    const std::size_t runs = std::min<std::size_t>(SharedCores(), strips.size() / kStripsPerCore);
    // Unpacked strips are only converted, which the memory's speed limits:
    // sharing them out only makes the cores queue for fresh pages.
    if (runs < 2 || std::uint64_t{m_t.Width} * m_t.Height < kPixelsWorthSharing ||
        m_t.Compression == CompressionKind::None) {
        DecodeStrips(picture, strips, 0, strips.size());
        return;
    }
    const auto runStart = [&](std::size_t run) { return strips.size() * run / runs; };
    std::vector<TColorManager> colours(runs, m_colors);
    RunShared(runs, [&](std::size_t run) {
        TiffReader reader(m_file, m_dir, m_t, colours[run]);
        reader.DecodeStrips(picture, strips, runStart(run), runStart(run + 1));
    });
}

Bitmap TiffReader::Decode()
{
    const std::uint64_t packed = PackedBytes();
    std::uint64_t needed = std::uint64_t{m_t.Height} * m_t.Planes() *
                           BitsToBytes(std::uint64_t{m_t.Width} * m_t.BitsPerSample * m_t.SamplesPerPlane());
    if (m_t.Subsampled()) {
        const std::uint64_t h = std::max(m_t.SubsamplingH, 1u);  // checked by the colour set-up
        const std::uint64_t v = std::max(m_t.SubsamplingV, 1u);
        needed = (m_t.Width + h - 1) / h * ((m_t.Height + v - 1) / v) * (h * v + 2);
    }
    if (packed * MaxExpansion(m_t.Compression) < needed)
        throw InvalidFormat();

    if (m_t.Compression == CompressionKind::JPEG) {
        if (m_t.BitsPerSample != 8)
            throw CompressionError("Improper JPEG data precision.");
        if (m_t.Planar)
            throw InvalidGraphicError(FormatMessage(kInvalidColorFormat, {kKind}));
    }
    Bitmap picture;
    SetUpColors(picture);
    if (m_t.Subsampled() && (m_t.Planar || m_t.BitsPerSample != 8 || m_t.SamplesPerPixel != 3))
        throw InvalidGraphicError(FormatMessage(kInvalidColorFormat, {kKind}));
    const unsigned planeCount = m_t.Planes();
    const std::size_t rowBytes = RowBytes(m_t.Width);
    std::vector<std::vector<std::uint8_t>> band(planeCount);

    if (!m_t.Tiled) {
        // Strips: each holds the next rows, the last count repeating.
        std::uint32_t top = 0;
        StripList strips;
        for (std::size_t s = 0; top < m_t.Height; ++s) {
            const auto rows = static_cast<std::uint32_t>(
                std::min<std::uint64_t>(m_t.RowsPerStrip[std::min(s, m_t.RowsPerStrip.size() - 1)], m_t.Height - top));
            strips.emplace_back(top, rows);
            top += rows;
        }
        DecodeStripsOnAllCores(picture, strips);
        return picture;
    }

    // Tiles: a row of tiles at a time, each tile copied to its columns.
    const std::uint32_t tw = m_t.BlockWidth;
    const std::uint32_t th = m_t.BlockHeight;
    const std::size_t across = (std::size_t{m_t.Width} + tw - 1) / tw;
    const std::size_t down = (std::size_t{m_t.Height} + th - 1) / th;
    const std::size_t tileRowBytes = RowBytes(tw);
    std::vector<std::uint8_t> tileBuffer;
    for (std::size_t ty = 0; ty < down; ++ty) {
        const auto top = static_cast<std::uint32_t>(ty * th);
        const std::uint32_t rows = std::min(th, m_t.Height - top);
        for (unsigned p = 0; p < planeCount; ++p) {
            band[p].assign(rowBytes * rows, 0);
            for (std::size_t tx = 0; tx < across; ++tx) {
                const std::size_t index = (p * down + ty) * across + tx;
                const auto tile = DecodeBlock(index, tw, th, tileBuffer);
                const std::size_t left = RowBytes(static_cast<std::uint32_t>(tx * tw));
                const std::size_t n = std::min(tileRowBytes, rowBytes - left);
                for (std::uint32_t y = 0; y < rows; ++y)
                    std::copy_n(tile.begin() + static_cast<std::ptrdiff_t>(y * tileRowBytes), n,
                                band[p].begin() + static_cast<std::ptrdiff_t>(y * rowBytes + left));
            }
        }
        ConvertBand(picture, std::vector<std::span<const std::uint8_t>>(band.begin(), band.end()), top, rows);
    }
    return picture;
}

} // namespace

bool TTIFFGraphic::ProbeImage(std::span<const std::uint8_t> file, unsigned imageIndex)
{
    try {
        const TiffDirectory dir(file, imageIndex);
        const TiffLayout layout = ReadLayout(dir);
        m_imageProperties = PropertiesOf(layout, dir.BigEndian());
        return true;
    } catch (const QuillmarkError&) {
        return false;
    }
}

void TTIFFGraphic::ReadPicture(std::span<const std::uint8_t> file)
{
    const TiffDirectory dir(file);
    const TiffLayout layout = ReadLayout(dir);
    if (!Decodable(layout.Compression) || layout.TwoDimensional)
        throw NotSupported();
    CheckPictureSize(layout.Width, layout.Height);
    m_imageProperties = PropertiesOf(layout, dir.BigEndian());
    TiffReader reader(file, dir, layout, m_colorManager);
    AssignPicture(reader.Decode());
}

} // namespace quillmark
