#include "formats/TIFFGraphic.h"

#include "CorpusSupport.h"
#include "JpegTestFiles.h"
#include "LzwTestEncoder.h"

#include <gtest/gtest.h>

#include <jpeglib.h>
#include <zlib.h>

#include <cstring>
#include <limits>
#include <map>

using namespace quillmark;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::string MessageOf(const std::string& kind)
{
    if (kind == "invalid-format")
        return "Cannot load image. Invalid or unexpected TIF/TIFF image format.";
    if (kind == "compression-not-supported")
        return "Cannot load image. The compression scheme is not supported for TIF/TIFF files.";
    if (kind == "color-depth")
        return "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
    return "";
}

const std::string kNotSupportedText = "Cannot load image. The compression scheme is not supported for TIF/TIFF files.";
const std::string kInvalid = "Cannot load image. Invalid or unexpected TIF/TIFF image format.";

enum : std::uint16_t { kByte = 1, kShort = 3, kLong = 4, kRational = 5, kUndefined = 7, kDouble = 12 };

// Writes a TIFF with one directory. Strip or tile offsets and byte counts are
// filled in from the blocks; entries are written in reverse tag order, so the
// reader's sorting is exercised.
class TiffBuilder {
public:
    explicit TiffBuilder(bool bigEndian = false) : m_bigEndian(bigEndian) {}

    TiffBuilder& Set(std::uint16_t tag, std::uint16_t type, std::vector<std::uint64_t> values)
    {
        m_fields[tag] = {type, std::move(values)};
        return *this;
    }
    TiffBuilder& Blocks(std::vector<Bytes> blocks, bool tiled = false)
    {
        m_blocks = std::move(blocks);
        m_tiled = tiled;
        return *this;
    }
    bool BigEndian() const { return m_bigEndian; }

    Bytes Build() const
    {
        Bytes out = m_bigEndian ? Bytes{'M', 'M'} : Bytes{'I', 'I'};
        Put(out, 42, 2);
        Put(out, 0, 4);  // directory offset, patched below
        auto fields = m_fields;
        std::vector<std::uint64_t> offsets;
        std::vector<std::uint64_t> counts;
        for (const Bytes& b : m_blocks) {
            offsets.push_back(out.size());
            counts.push_back(b.size());
            out.insert(out.end(), b.begin(), b.end());
        }
        fields[m_tiled ? 324 : 273] = {kLong, offsets};
        fields[m_tiled ? 325 : 279] = {kLong, counts};
        // Values that do not fit in an entry go before the directory.
        std::map<std::uint16_t, std::uint64_t> valueOffsets;
        for (const auto& [tag, field] : fields) {
            const Bytes v = Encode(field);
            if (v.size() > 4) {
                if (out.size() % 2)
                    out.push_back(0);
                valueOffsets[tag] = out.size();
                out.insert(out.end(), v.begin(), v.end());
            }
        }
        if (out.size() % 2)
            out.push_back(0);
        Patch(out, 4, out.size());
        Put(out, fields.size(), 2);
        for (auto it = fields.rbegin(); it != fields.rend(); ++it) {
            const auto& [tag, field] = *it;
            Put(out, tag, 2);
            Put(out, field.Type, 2);
            Put(out, field.Type == kRational ? field.Values.size() / 2 : field.Values.size(), 4);
            Bytes v = Encode(field);
            if (v.size() > 4) {
                Put(out, valueOffsets[tag], 4);
            } else {
                v.resize(4, 0);
                out.insert(out.end(), v.begin(), v.end());
            }
        }
        Put(out, 0, 4);
        return out;
    }

private:
    struct Field {
        std::uint16_t Type = kShort;
        std::vector<std::uint64_t> Values;  // rationals as numerator, denominator pairs
    };

    void Put(Bytes& out, std::uint64_t v, unsigned size) const
    {
        for (unsigned k = 0; k < size; ++k) {
            const unsigned shift = m_bigEndian ? 8 * (size - 1 - k) : 8 * k;
            out.push_back(static_cast<std::uint8_t>(v >> shift));
        }
    }
    void Patch(Bytes& out, std::size_t at, std::uint64_t v) const
    {
        Bytes b;
        Put(b, v, 4);
        std::copy(b.begin(), b.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
    }
    Bytes Encode(const Field& f) const
    {
        Bytes b;
        const unsigned size = f.Type == kShort                          ? 2
                              : (f.Type == kLong || f.Type == kRational) ? 4
                              : f.Type == kDouble                        ? 8
                                                                         : 1;
        for (const std::uint64_t v : f.Values)
            Put(b, v, size);
        return b;
    }

    bool m_bigEndian;
    bool m_tiled = false;
    std::map<std::uint16_t, Field> m_fields;
    std::vector<Bytes> m_blocks;
};

// Samples of a test picture: every value differs from its neighbours.
Bytes Samples(std::size_t count, unsigned seed)
{
    Bytes b(count);
    for (std::size_t i = 0; i < count; ++i)
        b[i] = static_cast<std::uint8_t>((i * 37 + seed * 11 + (i / 5) * (i % 7)) & 0xFF);
    return b;
}

// Horizontal differencing as a writer does it, per sample of `bytes` bytes.
Bytes ApplyPredictor(Bytes rows, std::size_t rowBytes, unsigned samples, unsigned bytes, bool bigEndian)
{
    for (std::size_t r = 0; r + rowBytes <= rows.size(); r += rowBytes) {
        const std::size_t values = rowBytes / bytes;
        for (std::size_t i = values; i-- > samples;) {
            auto get = [&](std::size_t k) -> unsigned {
                const std::size_t at = r + k * bytes;
                if (bytes == 1)
                    return rows[at];
                return bigEndian ? (rows[at] << 8 | rows[at + 1]) : (rows[at + 1] << 8 | rows[at]);
            };
            const unsigned v = (get(i) - get(i - samples)) & (bytes == 1 ? 0xFFu : 0xFFFFu);
            const std::size_t at = r + i * bytes;
            if (bytes == 1) {
                rows[at] = static_cast<std::uint8_t>(v);
            } else {
                rows[at + (bigEndian ? 0 : 1)] = static_cast<std::uint8_t>(v >> 8);
                rows[at + (bigEndian ? 1 : 0)] = static_cast<std::uint8_t>(v);
            }
        }
    }
    return rows;
}

Bytes PackBitsLiterals(const Bytes& data)
{
    Bytes out;
    std::size_t i = 0;
    while (i < data.size()) {
        // A run of three or more equal bytes, else up to 128 literals.
        std::size_t run = 1;
        while (i + run < data.size() && run < 128 && data[i + run] == data[i])
            ++run;
        if (run >= 3) {
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(data[i]);
            i += run;
            continue;
        }
        const std::size_t n = std::min<std::size_t>(data.size() - i, 128);
        out.push_back(static_cast<std::uint8_t>(n - 1));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                   data.begin() + static_cast<std::ptrdiff_t>(i + n));
        i += n;
    }
    return out;
}

Bytes Deflate(const Bytes& data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9);
    out.resize(size);
    return out;
}

// Splits rows of rowBytes into strips of rowsPerStrip rows, each passed through pack.
template <typename Pack>
std::vector<Bytes> Strips(const Bytes& rows, std::size_t rowBytes, std::size_t rowsPerStrip, Pack pack)
{
    std::vector<Bytes> strips;
    const std::size_t stripBytes = rowBytes * rowsPerStrip;
    for (std::size_t at = 0; at < rows.size(); at += stripBytes) {
        const std::size_t n = std::min(stripBytes, rows.size() - at);
        strips.push_back(pack(Bytes(rows.begin() + static_cast<std::ptrdiff_t>(at),
                                    rows.begin() + static_cast<std::ptrdiff_t>(at + n))));
    }
    return strips;
}

TiffBuilder Base(bool bigEndian, unsigned width, unsigned height, unsigned bits, unsigned samples,
                 unsigned photometric, unsigned compression = 1)
{
    TiffBuilder b(bigEndian);
    b.Set(256, kLong, {width}).Set(257, kShort, {height}).Set(259, kShort, {compression});
    b.Set(262, kShort, {photometric}).Set(277, kShort, {samples});
    b.Set(258, kShort, std::vector<std::uint64_t>(samples, bits));
    return b;
}

test::RgbPicture Decode(const Bytes& file)
{
    TTIFFGraphic tiff;
    tiff.ReadPicture(file);
    return test::ToRgb(tiff);
}

std::string FailureOf(const Bytes& file)
{
    TTIFFGraphic tiff;
    try {
        tiff.ReadPicture(file);
    } catch (const QuillmarkError& e) {
        return e.what();
    }
    return "(loaded)";
}

} // namespace

TEST(Tiff, CorpusMatchesReferencePixels)
{
    test::RunCorpus<TTIFFGraphic>("tiff", MessageOf);
}

TEST(Tiff, LzwWithPredictorEqualsUncompressedTwin)
{
    struct Case { const char* what; unsigned bits; unsigned samples; unsigned photometric; };
    for (const bool bigEndian : {false, true}) {
        for (const Case c : {Case{"RGB 8", 8, 3, 2}, Case{"grey 16", 16, 1, 1}, Case{"RGB 16", 16, 3, 2},
                             Case{"grey+alpha 8", 8, 2, 1}, Case{"RGBA 8", 8, 4, 2}}) {
            SCOPED_TRACE(::testing::Message() << c.what << (bigEndian ? " MM" : " II"));
            const unsigned width = 13;
            const unsigned height = 7;
            const std::size_t rowBytes = std::size_t{width} * c.samples * c.bits / 8;
            const Bytes pixels = Samples(rowBytes * height, c.bits);
            TiffBuilder plain = Base(bigEndian, width, height, c.bits, c.samples, c.photometric);
            plain.Blocks({pixels});
            if (c.samples == 2 || c.samples == 4)
                plain.Set(338, kShort, {2});
            TiffBuilder lzw = Base(bigEndian, width, height, c.bits, c.samples, c.photometric, 5);
            lzw.Set(278, kShort, {3}).Set(317, kShort, {2});
            if (c.samples == 2 || c.samples == 4)
                lzw.Set(338, kShort, {2});
            const Bytes differenced = ApplyPredictor(pixels, rowBytes, c.samples, c.bits / 8, bigEndian);
            lzw.Blocks(Strips(differenced, rowBytes, 3, [](const Bytes& s) { return test::LzwEncode(s, true); }));
            test::ExpectSamePicture(Decode(lzw.Build()), Decode(plain.Build()), c.what);
        }
    }
}

TEST(Tiff, PackBitsAndDeflateEqualUncompressedTwin)
{
    const unsigned width = 30;
    const unsigned height = 9;
    Bytes pixels = Samples(std::size_t{width} * height * 3, 4);
    std::fill(pixels.begin() + 10, pixels.begin() + 60, std::uint8_t{7});  // runs for PackBits
    const Bytes plainFile = Base(false, width, height, 8, 3, 2).Blocks({pixels}).Build();
    TiffBuilder packbits = Base(false, width, height, 8, 3, 2, 32773);
    packbits.Set(278, kShort, {4}).Blocks(Strips(pixels, width * 3, 4, PackBitsLiterals));
    test::ExpectSamePicture(Decode(packbits.Build()), Decode(plainFile), "PackBits");
    for (const unsigned code : {8u, 32946u}) {
        TiffBuilder deflate = Base(true, width, height, 8, 3, 2, code);
        deflate.Set(278, kShort, {2}).Blocks(Strips(pixels, width * 3, 2, Deflate));
        test::ExpectSamePicture(Decode(deflate.Build()), Decode(plainFile), "deflate");
    }
}

TEST(Tiff, PlanarSamplesAreAssembledIntoPixels)
{
    const unsigned width = 11;
    const unsigned height = 6;
    const Bytes chunky = Samples(std::size_t{width} * height * 3, 9);
    std::vector<Bytes> planes(3);
    for (std::size_t i = 0; i < chunky.size(); ++i)
        planes[i % 3].push_back(chunky[i]);
    // Two strips per plane, LZW with the predictor, so each plane stands alone.
    std::vector<Bytes> strips;
    for (const Bytes& plane : planes)
        for (const Bytes& s : Strips(ApplyPredictor(plane, width, 1, 1, false), width, 4,
                                     [](const Bytes& d) { return test::LzwEncode(d, true); }))
            strips.push_back(s);
    TiffBuilder planar = Base(false, width, height, 8, 3, 2, 5);
    planar.Set(284, kShort, {2}).Set(278, kShort, {4}).Set(317, kShort, {2}).Blocks(strips);
    const Bytes plain = Base(false, width, height, 8, 3, 2).Blocks({chunky}).Build();
    test::ExpectSamePicture(Decode(planar.Build()), Decode(plain), "planar");
}

TEST(Tiff, TilesArePlacedAtTheirPositionsWithPartialEdgeTiles)
{
    const unsigned width = 21;
    const unsigned height = 18;
    const unsigned tile = 16;
    const Bytes pixels = Samples(std::size_t{width} * height, 2);
    std::vector<Bytes> tiles;
    for (unsigned ty = 0; ty < height; ty += tile) {
        for (unsigned tx = 0; tx < width; tx += tile) {
            Bytes t(tile * tile, 0xAB);  // padding outside the picture must not show
            for (unsigned y = 0; y < tile && ty + y < height; ++y)
                for (unsigned x = 0; x < tile && tx + x < width; ++x)
                    t[y * tile + x] = pixels[(ty + y) * width + tx + x];
            tiles.push_back(test::LzwEncode(t, true));
        }
    }
    TiffBuilder tiled = Base(true, width, height, 8, 1, 1, 5);
    tiled.Set(322, kShort, {tile}).Set(323, kShort, {tile}).Blocks(tiles, true);
    TTIFFGraphic tiff;
    tiff.ReadPicture(tiled.Build());
    ASSERT_FALSE(tiff.Empty());
    test::ExpectSamePicture(test::ToRgb(tiff), Decode(Base(true, width, height, 8, 1, 1).Blocks({pixels}).Build()),
                            "tiled");
}

TEST(Tiff, SubsampledYCbCrGivesEachChromaPairToItsWholeBlock)
{
    struct Case { unsigned h; unsigned v; };
    for (const Case c : {Case{2, 2}, Case{2, 1}, Case{4, 2}, Case{4, 4}}) {
        SCOPED_TRACE(::testing::Message() << c.h << "x" << c.v);
        const unsigned width = 7;   // partial blocks at the right edge
        const unsigned height = 5;  // and at the bottom
        const Bytes luma = Samples(std::size_t{width} * height, c.h);
        const unsigned across = (width + c.h - 1) / c.h;
        const unsigned down = (height + c.v - 1) / c.v;
        Bytes units;
        Bytes full(std::size_t{width} * height * 3);
        for (unsigned by = 0; by < down; ++by) {
            for (unsigned bx = 0; bx < across; ++bx) {
                const auto cb = static_cast<std::uint8_t>(60 + 20 * bx);
                const auto cr = static_cast<std::uint8_t>(200 - 30 * by);
                for (unsigned j = 0; j < c.v; ++j)
                    for (unsigned i = 0; i < c.h; ++i) {
                        const unsigned x = bx * c.h + i;
                        const unsigned y = by * c.v + j;
                        const bool inside = x < width && y < height;
                        units.push_back(inside ? luma[y * width + x] : 0);
                        if (inside) {
                            const std::size_t p = (std::size_t{y} * width + x) * 3;
                            full[p] = luma[y * width + x];
                            full[p + 1] = cb;
                            full[p + 2] = cr;
                        }
                    }
                units.insert(units.end(), {cb, cr});
            }
        }
        TiffBuilder sub = Base(false, width, height, 8, 3, 6);
        sub.Set(530, kShort, {c.h, c.v}).Blocks({units});
        TiffBuilder twin = Base(false, width, height, 8, 3, 6);
        twin.Set(530, kShort, {1, 1}).Blocks({full});
        test::ExpectSamePicture(Decode(sub.Build()), Decode(twin.Build()), "YCbCr");
    }
}

TEST(Tiff, RefusedCompressionsSayNotSupported)
{
    for (const unsigned code : {4u, 6u, 32766u, 32895u, 32896u, 32897u, 32898u, 32908u, 32909u, 32947u, 34661u,
                                34676u, 50001u}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(FailureOf(Base(false, 8, 2, 1, 1, 0, code).Blocks({Bytes(4, 0)}).Build()), kNotSupportedText);
    }
    // Group 3 with two-dimensional coding; fill bits alone are fine.
    TiffBuilder fax = Base(false, 8, 1, 1, 1, 0, 3);
    fax.Set(292, kLong, {1}).Blocks({Bytes{0x00, 0x1B, 0x60}});
    EXPECT_EQ(FailureOf(fax.Build()), kNotSupportedText);
    fax.Set(292, kLong, {4});
    const auto picture = Decode(fax.Build());
    EXPECT_EQ(picture.Pixels[4 * 3], 0);    // black from pixel 4 on
    EXPECT_EQ(picture.Pixels[3 * 3], 255);  // white before
}

TEST(Tiff, MalformedFilesFailWithClearErrors)
{
    const Bytes good = Base(false, 4, 2, 8, 1, 1).Blocks({Bytes(8, 1)}).Build();
    EXPECT_NO_THROW(Decode(good));

    EXPECT_EQ(FailureOf(Base(false, 0, 2, 8, 1, 1).Blocks({Bytes(8, 1)}).Build()), kInvalid);
    EXPECT_EQ(FailureOf(Base(true, 4, 0, 8, 1, 1).Blocks({Bytes(8, 1)}).Build()), kInvalid);
    Bytes badMagic = good;
    badMagic[2] = 43;
    EXPECT_EQ(FailureOf(badMagic), kInvalid);
    EXPECT_EQ(FailureOf(Base(false, 4, 2, 8, 1, 4).Blocks({Bytes(8, 1)}).Build()),
              "Color conversion failed. Could not find a proper method.");


    // Every prefix of a compressed file fails cleanly or loads.
    TiffBuilder lzw = Base(true, 9, 5, 8, 3, 2, 5);
    lzw.Blocks({test::LzwEncode(Samples(9 * 5 * 3, 1), true)});
    const Bytes whole = lzw.Build();
    for (std::size_t n = 0; n < whole.size(); ++n) {
        SCOPED_TRACE(n);
        TTIFFGraphic tiff;
        try {
            tiff.ReadPicture(std::span(whole).first(n));
        } catch (const QuillmarkError&) {
        }
    }
}

TEST(Tiff, OffsetsAndCountsBeyondTheFileAreRefused)
{
    Bytes file = Base(false, 4, 2, 8, 1, 1).Blocks({Bytes(8, 1)}).Build();
    // Entries are 12 bytes after the 2-byte count; find tag 273 and 279.
    const std::size_t dir = file[4] | file[5] << 8 | file[6] << 16 | std::size_t{file[7]} << 24;
    const std::size_t count = file[dir] | file[dir + 1] << 8;
    for (const std::uint16_t tag : {273, 279}) {
        SCOPED_TRACE(tag);
        Bytes bad = file;
        for (std::size_t e = 0; e < count; ++e) {
            const std::size_t at = dir + 2 + 12 * e;
            if ((bad[at] | bad[at + 1] << 8) == tag) {
                bad[at + 8] = 0xFF;
                bad[at + 9] = 0xFF;
                bad[at + 10] = 0xFF;
                bad[at + 11] = 0x0F;
            }
        }
        EXPECT_EQ(FailureOf(bad), kInvalid);
    }
    // A field claiming more values than the file holds.
    Bytes huge = file;
    huge[dir + 2 + 4] = 0xFF;
    huge[dir + 2 + 5] = 0xFF;
    huge[dir + 2 + 6] = 0xFF;
    huge[dir + 2 + 7] = 0x7F;
    EXPECT_NE(FailureOf(huge), "(loaded)");
}

TEST(Tiff, HugeClaimsFromFewBytesAreRefusedBeforeAllocating)
{
    // 60000 x 4000 RGB from a 20-byte LZW strip.
    TiffBuilder bomb = Base(false, 60000, 4000, 8, 3, 2, 5);
    bomb.Blocks({test::LzwEncode(Bytes(20, 0), true)});
    EXPECT_EQ(FailureOf(bomb.Build()), kInvalid);
    // No strips at all is no picture either.
    EXPECT_EQ(FailureOf(Base(false, 4, 4, 8, 1, 1).Build()), kInvalid);
    // A tile far larger than the picture.
    TiffBuilder tile = Base(false, 8, 8, 8, 1, 1, 5);
    tile.Set(322, kLong, {32768}).Set(323, kLong, {8}).Blocks({test::LzwEncode(Bytes(64, 0), true)}, true);
    EXPECT_EQ(FailureOf(tile.Build()), kInvalid);
    // Subsampling values the colour manager refuses.
    TiffBuilder sub = Base(false, 4, 4, 8, 3, 6);
    sub.Set(530, kShort, {0, 0}).Blocks({Bytes(48, 0)});
    EXPECT_EQ(FailureOf(sub.Build()), "Subsampling value is invalid. Allowed are 1, 2 and 4.");
    sub.Set(530, kShort, {2, 4});
    EXPECT_EQ(FailureOf(sub.Build()), "Vertical subsampling value must be <= horizontal subsampling value.");
}

// Doubles (type 12) are stored as their bit patterns.
std::uint64_t DoubleBits(double d)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

TEST(Tiff, RealFieldsOutsideTheCountRangeAreClampedNotOverflowed)
{
    // Sizes and counts may come as reals; 1e300, -1e300 and infinity must
    // neither overflow the conversion nor pass as a sensible size.
    for (const double v : {1e300, -1e300, std::numeric_limits<double>::infinity(), 1.8446744073709552e19}) {
        SCOPED_TRACE(v);
        TiffBuilder width = Base(false, 4, 2, 8, 1, 1).Blocks({Bytes(8, 1)});
        width.Set(256, kDouble, {DoubleBits(v)});
        const std::string widthResult = FailureOf(width.Build());
        if (v > 0)
            EXPECT_EQ(widthResult, "Cannot load image. Picture of 18446744073709551615x2 pixels is too large.");
        else
            EXPECT_EQ(widthResult, kInvalid);
        // Rows per strip beyond the picture mean one strip for the whole picture.
        TiffBuilder rows = Base(false, 4, 2, 8, 1, 1).Blocks({Bytes(8, 1)});
        rows.Set(278, kDouble, {DoubleBits(v)});
        const std::string rowsResult = FailureOf(rows.Build());
        if (v > 0)
            EXPECT_EQ(rowsResult, "(loaded)");
        else
            EXPECT_NE(rowsResult, "");
    }
    // A real that fits is truncated to its whole part.
    TiffBuilder fits = Base(false, 4, 2, 8, 1, 1).Blocks({Bytes(8, 1)});
    fits.Set(256, kDouble, {DoubleBits(4.75)});
    EXPECT_EQ(Decode(fits.Build()).Width, 4);
}

TEST(Tiff, PaletteAndGreyLevels)
{
    // 2-bit palette widens to 4 bits; colour map entries reduce as v * 255 div 65535.
    std::vector<std::uint64_t> map(12, 0);
    map[1] = 65535;   // red of entry 1
    map[4 + 2] = 300; // green of entry 2 -> 1
    map[8 + 3] = 32768;
    TiffBuilder pal = Base(false, 4, 1, 2, 1, 3);
    pal.Set(320, kShort, map).Blocks({Bytes{0x1B}});
    TTIFFGraphic tiff;
    tiff.ReadPicture(pal.Build());
    EXPECT_EQ(tiff.Format(), PixelFormat::Bits4);
    const auto rgb = test::ToRgb(tiff);
    EXPECT_EQ((Bytes(rgb.Pixels.begin(), rgb.Pixels.end())), (Bytes{0, 0, 0, 255, 0, 0, 0, 1, 0, 0, 0, 127}));

    // Min-is-white 8-bit grey reverses the levels.
    const auto grey = Decode(Base(true, 2, 1, 8, 1, 0).Blocks({Bytes{0, 200}}).Build());
    EXPECT_EQ(grey.Pixels, (Bytes{255, 255, 255, 55, 55, 55}));
}

namespace {

// A baseline JPEG of width x height with the given components and sampling.
Bytes EncodeJpeg(unsigned width, unsigned height, int components, int hSample, int vSample)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    info.comp_info[0].h_samp_factor = hSample;
    info.comp_info[0].v_samp_factor = vSample;
    jpeg_start_compress(&info, TRUE);
    Bytes row(std::size_t{width} * static_cast<unsigned>(components));
    for (unsigned y = 0; y < height; ++y) {
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = static_cast<std::uint8_t>(components == 3 ? (i % 3 == 0 ? 200 : i % 3 == 1 ? 100 : 30) : 90);
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    free(buffer);
    jpeg_destroy_compress(&info);
    return out;
}

TiffBuilder JpegTiff(unsigned width, unsigned height, unsigned samples, const Bytes& strip)
{
    TiffBuilder b = Base(false, width, height, 8, samples, samples == 3 ? 6 : 1, 7);
    b.Set(530, kShort, {2, 2}).Blocks({strip});
    return b;
}

} // namespace

TEST(TiffJpeg, DecodesAStripAndChecksItsShape)
{
    const Bytes strip = EncodeJpeg(16, 16, 3, 2, 2);
    const auto picture = Decode(JpegTiff(16, 16, 3, strip).Build());
    ASSERT_EQ(picture.Width, 16);
    for (std::size_t i = 0; i < picture.Pixels.size(); i += 3) {
        EXPECT_NEAR(picture.Pixels[i], 200, 4);
        EXPECT_NEAR(picture.Pixels[i + 1], 100, 4);
        EXPECT_NEAR(picture.Pixels[i + 2], 30, 4);
    }
    EXPECT_EQ(FailureOf(JpegTiff(24, 16, 3, strip).Build()), "Improper JPEG strip/tile size.");
    EXPECT_EQ(FailureOf(JpegTiff(8, 16, 3, strip).Build()), "Fractional JPEG scanline unsupported.");
    EXPECT_EQ(FailureOf(JpegTiff(16, 16, 1, strip).Build()), "Improper JPEG component count.");
    EXPECT_EQ(FailureOf(JpegTiff(16, 16, 3, strip).Set(530, kShort, {1, 1}).Build()),
              "Improper JPEG sampling factors.");
    EXPECT_EQ(FailureOf(JpegTiff(16, 16, 3, Bytes(strip.begin(), strip.begin() + 400)).Build()),
              "JPEG decompression error. Unexpected end of input.");
    EXPECT_EQ(FailureOf(JpegTiff(16, 16, 3, strip).Set(347, kUndefined, {0x01, 0x02, 0x03, 0x04, 0x05}).Build()),
              "Bogus JPEG tables field.");
    // Tables that are a valid tables-only stream are loaded first.
    EXPECT_EQ(FailureOf(JpegTiff(16, 16, 3, strip).Set(347, kUndefined, {0xFF, 0xD8, 0xFF, 0xD9}).Build()),
              "(loaded)");
    const Bytes grey = EncodeJpeg(8, 8, 1, 1, 1);
    EXPECT_EQ(Decode(JpegTiff(8, 8, 1, grey).Build()).Pixels[0], 90);
    Bytes garbage = strip;
    std::fill(garbage.begin() + 2, garbage.begin() + 40, std::uint8_t{0x55});
    EXPECT_NE(FailureOf(JpegTiff(16, 16, 3, garbage).Build()).find("JPEG"), std::string::npos);
}

TEST(Tiff, CmykAndLabBecomeBgr)
{
    // CMYK: K = 255 is black whatever C, M, Y say; all zero is white.
    const auto cmyk = Decode(Base(false, 2, 1, 8, 4, 5).Blocks({Bytes{10, 20, 30, 255, 0, 0, 0, 0}}).Build());
    EXPECT_EQ(cmyk.Pixels, (Bytes{0, 0, 0, 255, 255, 255}));
    // CIE L*a*b* with L* stored as 0..255: full L* and neutral a*, b* is white.
    const auto lab = Decode(Base(true, 1, 1, 8, 3, 8).Blocks({Bytes{255, 0, 0}}).Build());
    EXPECT_GE(lab.Pixels[0], 250);
    EXPECT_GE(lab.Pixels[1], 250);
    EXPECT_GE(lab.Pixels[2], 250);
}

TEST(Tiff, ProbeReadsTheHeaderOnly)
{
    TiffBuilder b = Base(true, 300, 200, 16, 3, 2, 5);
    b.Set(282, kRational, {150, 1}).Set(283, kRational, {75, 2}).Set(296, kShort, {3});
    b.Set(322, kShort, {16}).Set(323, kShort, {16}).Blocks({}, true);
    TTIFFGraphic tiff;
    ASSERT_TRUE(tiff.ProbeImage(b.Build(), 0));
    const ImageProperties& p = tiff.Properties();
    EXPECT_EQ(p.Width, 300u);
    EXPECT_EQ(p.Height, 200u);
    EXPECT_EQ(p.Scheme, ColorScheme::RGB);
    EXPECT_EQ(p.BitsPerPixel, 48);
    EXPECT_EQ(p.Compression, CompressionKind::LZW);
    EXPECT_TRUE(HasOption(p.Options, ImageOptions::Tiled));
    EXPECT_TRUE(HasOption(p.Options, ImageOptions::ByteSwapped));
    EXPECT_NEAR(static_cast<double>(p.XResolution), 381.0, 1e-9);  // 150 per cm
    EXPECT_NEAR(static_cast<double>(p.YResolution), 95.25, 1e-9);
    EXPECT_FALSE(tiff.ProbeImage(Bytes{'I', 'I', 42}, 0));
    EXPECT_FALSE(tiff.ProbeImage(b.Build(), 1));  // no second page
}

TEST(Tiff, LaterPagesAreProbedButNeverDecoded)
{
    if (!std::filesystem::exists(test::CorpusDir() / "MANIFEST.tsv"))
        GTEST_SKIP() << "picture corpus not found";
    const auto dir = test::CorpusDir() / "public/tiff";
    TTIFFGraphic tiff;
    EXPECT_TRUE(tiff.ProbeImage(test::ReadWholeFile(dir / "test_two_ifds.tif"), 1));
    // Directory chains that loop are refused, not followed for ever.
    EXPECT_FALSE(tiff.ProbeImage(test::ReadWholeFile(dir / "test_ifd_loop_to_self.tif"), 1));
    EXPECT_FALSE(tiff.ProbeImage(test::ReadWholeFile(dir / "test_ifd_loop_to_first.tif"), 2));
}

// The work is bounded by the file: a strip shorter than its rows, a strip
// that is missing, and tiny or misaligned tiles are refused, not decoded
// into a picture of zeros.
TEST(Tiff, StripsAndTilesMustHoldTheirRows)
{
    const Bytes pixels = Samples(64, 3);
    TiffBuilder whole = Base(false, 8, 8, 8, 1, 1).Set(278, kShort, {4});
    whole.Blocks({Bytes(pixels.begin(), pixels.begin() + 32), Bytes(pixels.begin() + 32, pixels.end())});
    EXPECT_EQ(Decode(whole.Build()).Width, 8);
    whole.Blocks({Bytes(pixels.begin(), pixels.begin() + 32), Bytes(pixels.begin() + 32, pixels.end() - 1)});
    EXPECT_EQ(FailureOf(whole.Build()), kInvalid);
    whole.Blocks({Bytes(pixels.begin(), pixels.begin() + 32)});  // the second strip is missing
    EXPECT_EQ(FailureOf(whole.Build()), kInvalid);
    TiffBuilder packed = Base(false, 8, 8, 8, 1, 1, 5);
    packed.Blocks({test::LzwEncode(Bytes(pixels.begin(), pixels.end() - 8), true)});
    EXPECT_EQ(FailureOf(packed.Build()), kInvalid);

    for (const unsigned side : {1u, 8u, 24u}) {
        SCOPED_TRACE(side);
        TiffBuilder tiled = Base(false, 32, 32, 8, 1, 1);
        tiled.Set(322, kShort, {side}).Set(323, kShort, {16});
        tiled.Blocks(std::vector<Bytes>(32 / side * 2 + 2, Bytes(side * 16, 0)), true);
        EXPECT_EQ(FailureOf(tiled.Build()), kInvalid);
    }
    // 1-bit tiles of 16 land on their byte: column 17 of the second tile row.
    TiffBuilder bits = Base(false, 32, 32, 1, 1, 1);
    bits.Set(322, kShort, {16}).Set(323, kShort, {16});
    std::vector<Bytes> tiles(4, Bytes(32, 0));
    tiles[3][2 * 5] = 0x40;  // tile (1, 1), its row 5, its column 1
    bits.Blocks(tiles, true);
    const auto picture = Decode(bits.Build());
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(picture.Pixels[static_cast<std::size_t>(y * 32 + x) * 3], (x == 17 && y == 21) ? 255 : 0)
                << x << "," << y;
}

TEST(Tiff, ColourSchemesWithoutTheirSamplesOrWithUnusableCoefficientsAreRefused)
{
    const std::string kColour = "Invalid color format in TIF/TIFF file.";
    for (const unsigned photometric : {2u, 6u, 8u, 5u}) {
        SCOPED_TRACE(photometric);
        TiffBuilder one = Base(false, 4, 4, 8, 1, photometric);
        one.Set(530, kShort, {1, 1}).Blocks({Bytes(16, 0)});
        EXPECT_EQ(FailureOf(one.Build()), kColour);
    }
    TiffBuilder jpegOne = Base(false, 16, 16, 8, 1, 2, 7);
    jpegOne.Blocks({EncodeJpeg(16, 16, 3, 1, 1)});
    EXPECT_EQ(FailureOf(jpegOne.Build()), kColour);
    for (const double green : {std::numeric_limits<double>::quiet_NaN(), 1e300, 0.0, 1e-9}) {
        SCOPED_TRACE(green);
        TiffBuilder ycc = Base(false, 2, 2, 8, 3, 6);
        ycc.Set(530, kShort, {1, 1}).Set(529, kDouble, {DoubleBits(0.299), DoubleBits(green), DoubleBits(0.114)});
        ycc.Blocks({Bytes(12, 128)});
        EXPECT_EQ(FailureOf(ycc.Build()), kColour);
    }
}


TEST(TiffJpeg, StreamTallerThanItsStripIsRefused)
{
    const Bytes strip = EncodeJpeg(16, 16, 3, 2, 2);
    EXPECT_EQ(FailureOf(JpegTiff(16, 8, 3, strip).Build()), "Improper JPEG strip/tile size.");
    EXPECT_EQ(FailureOf(JpegTiff(16, 16, 3, strip).Set(278, kShort, {8}).Build()), "Improper JPEG strip/tile size.");
}

TEST(TiffJpeg, EndlessScansAreRefused)
{
    const Bytes progressive = quillmark::testing::EncodeJpeg(
        {.Width = 8, .Height = 8, .Components = 1, .Progressive = true, .Sample = [](int, int, int) { return std::uint8_t{90}; }});
    // The last scan again and again: a bogus progression libjpeg only warns about.
    std::size_t lastScan = 0;
    for (std::size_t i = 0; i + 1 < progressive.size(); ++i)
        if (progressive[i] == 0xFF && progressive[i + 1] == 0xDA)
            lastScan = i;
    ASSERT_NE(lastScan, 0u);
    Bytes endless(progressive.begin(), progressive.end() - 2);
    for (int i = 0; i < 1010; ++i)
        endless.insert(endless.end(), progressive.begin() + static_cast<std::ptrdiff_t>(lastScan), progressive.end() - 2);
    endless.insert(endless.end(), {0xFF, 0xD9});
    EXPECT_EQ(FailureOf(JpegTiff(8, 8, 1, progressive).Build()), "(loaded)");
    EXPECT_EQ(FailureOf(JpegTiff(8, 8, 1, endless).Build()), kInvalid);
}

TEST(Tiff, StripsSharedAmongCoresGiveThePictureAndTheFirstFailureOfOneCore)
{
    // Large enough to be shared out: a megapixel in 64 strips.
    const unsigned width = 1024;
    const unsigned height = 1024;
    const Bytes pixels = Samples(std::size_t{width} * height, 8);
    const Bytes plainFile = Base(false, width, height, 8, 1, 1).Blocks({pixels}).Build();
    const auto lzw = [&](std::vector<Bytes> strips) {
        TiffBuilder b = Base(false, width, height, 8, 1, 1, 5);
        return b.Set(278, kShort, {16}).Blocks(std::move(strips)).Build();
    };
    const std::vector<Bytes> strips = Strips(pixels, width, 16, [](const Bytes& s) { return test::LzwEncode(s, true); });
    test::ExpectSamePicture(Decode(lzw(strips)), Decode(plainFile), "LZW strips");

    // A broken code in strip 60 and a stream too short in strip 10: one core
    // meets strip 10 first.
    std::vector<Bytes> damaged = strips;
    damaged[60] = Bytes{0xFF, 0xFF, 0xFF};
    EXPECT_EQ(FailureOf(lzw(damaged)), "LZW decompression error.");
    damaged[10] = test::LzwEncode(Bytes(width * 8, 1), true);
    EXPECT_EQ(FailureOf(lzw(damaged)), kInvalid);
}
