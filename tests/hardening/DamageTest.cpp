// Damaged copies of every corpus picture: cut at many lengths, and with single
// bytes changed. Each must decode to a consistent picture or be refused with
// an input error carrying a message, and quickly; never anything else.
#include "../formats/CorpusSupport.h"

#include "base/Errors.h"
#include "formats/GIFGraphic.h"
#include "formats/JpegPicture.h"
#include "formats/PCXGraphic.h"
#include "formats/PNGGraphic.h"
#include "formats/RasterGraphic.h"
#include "formats/TIFFGraphic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include <zlib.h>

namespace quillmark {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// One decode may take this long, even under the sanitizers on a loaded machine.
constexpr auto kDecodeLimit = std::chrono::seconds(2);

std::unique_ptr<TRasterGraphic> DecoderFor(const std::string& format)
{
    if (format == "png")
        return std::make_unique<TPNGGraphic>();
    if (format == "tiff")
        return std::make_unique<TTIFFGraphic>();
    if (format == "gif")
        return std::make_unique<TGIFGraphic>();
    if (format == "pcx")
        return std::make_unique<TPCXGraphic>();
    return nullptr;
}

// Decodes one damaged file; a failure names what was done to it.
void ExpectPictureOrInputError(const std::string& format, std::span<const std::uint8_t> file,
                               const std::string& damage, bool mustFail = false)
{
    SCOPED_TRACE(damage);
    auto decoder = DecoderFor(format);
    ASSERT_NE(decoder, nullptr);
    const auto start = Clock::now();
    decoder->ProbeImage(file, 0);
    try {
        decoder->ReadPicture(file);
        const Bitmap& picture = decoder->Picture();
        EXPECT_FALSE(mustFail) << "loaded";
        if (!picture.Empty()) {
            EXPECT_GE(picture.Pixels().size(), picture.Stride() * static_cast<std::size_t>(picture.Height()));
            EXPECT_LE(static_cast<std::uint64_t>(picture.Width()) * static_cast<std::uint64_t>(picture.Height()),
                      kMaxPixels);
        }
    } catch (const QuillmarkError& e) {
        EXPECT_STRNE(e.what(), "");
    }
    // Anything else (InternalError, std::bad_alloc, out_of_range) escapes and fails the test.
    EXPECT_LT(Clock::now() - start, kDecodeLimit);
}

// Lengths to cut at: the first bytes one by one (headers), then spread over
// the file, and the last few bytes.
std::vector<std::size_t> CutLengths(std::size_t size, std::mt19937& random)
{
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n < std::min<std::size_t>(size, 12); n += 3)
        lengths.push_back(n);
    for (int i = 0; i < 6 && size > 0; ++i)
        lengths.push_back(std::uniform_int_distribution<std::size_t>(0, size - 1)(random));
    for (std::size_t back = 1; back <= 3 && back < size; ++back)
        lengths.push_back(size - back);
    return lengths;
}

// A cut must be refused unless all it removes is bytes that belong to no
// part of the first picture's file structure: the strips of the later
// pictures of one file, padding after a GIF's trailer.
std::size_t MustFailBelow(const std::string& file, std::size_t size)
{
    if (file == "public/tiff/test_ifd_loop_subifd.tif")
        return 1338;
    if (file == "public/gif/porsche.gif")
        return 5513;
    return size;
}

class CorpusDamage : public testing::TestWithParam<std::string> {};

TEST_P(CorpusDamage, CutsAndChangedBytesGivePictureOrError)
{
    const std::string format = GetParam();
    if (!std::filesystem::exists(test::CorpusDir() / "MANIFEST.tsv"))
        GTEST_SKIP() << "corpus not found at " << test::CorpusDir();
    const auto rows = test::ManifestRows(format);
    ASSERT_FALSE(rows.empty());
    std::mt19937 random(20261208);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.File);
        const Bytes file = test::ReadWholeFile(test::CorpusDir() / row.File);
        ASSERT_FALSE(file.empty());
        for (const std::size_t length : CutLengths(file.size(), random))
            ExpectPictureOrInputError(format, std::span(file).first(length), "cut to " + std::to_string(length),
                                      row.Expected == "decode" && length < MustFailBelow(row.File, file.size()));
        // Changed bytes: mostly near the start, where the headers are.
        for (int i = 0; i < 8; ++i) {
            const std::size_t limit = i < 5 ? std::min<std::size_t>(file.size(), 256) : file.size();
            const std::size_t at = std::uniform_int_distribution<std::size_t>(0, limit - 1)(random);
            for (const std::uint8_t value : {std::uint8_t(file[at] ^ 0xFF), std::uint8_t(0x00), std::uint8_t(0x7F)}) {
                Bytes damaged = file;
                damaged[at] = value;
                ExpectPictureOrInputError(format, damaged,
                                          "byte " + std::to_string(at) + " set to " + std::to_string(value));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, CorpusDamage, testing::Values("png", "tiff", "gif", "pcx"));

// ---- Decompression bombs: small files declaring huge pictures -------------

void AppendBigEndian32(Bytes& bytes, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(v >> shift));
}

Bytes PngChunk(const char* type, const Bytes& data)
{
    Bytes chunk;
    chunk.reserve(data.size() + 12);
    AppendBigEndian32(chunk, static_cast<std::uint32_t>(data.size()));
    for (int i = 0; i < 4; ++i)
        chunk.push_back(static_cast<std::uint8_t>(type[i]));
    for (const std::uint8_t b : data)
        chunk.push_back(b);
    AppendBigEndian32(chunk, static_cast<std::uint32_t>(crc32(0, chunk.data() + 4, static_cast<uInt>(data.size() + 4))));
    return chunk;
}

Bytes Deflate(const Bytes& raw)
{
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    EXPECT_EQ(compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9), Z_OK);
    out.resize(size);
    return out;
}

// A grey PNG of width x height whose IDAT holds `rawBytes` zero bytes.
Bytes PngBomb(std::uint32_t width, std::uint32_t height, std::size_t rawBytes)
{
    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    AppendBigEndian32(header, width);
    AppendBigEndian32(header, height);
    header.insert(header.end(), {8, 0, 0, 0, 0});  // 8-bit grey
    const Bytes ihdr = PngChunk("IHDR", header);
    const Bytes idat = PngChunk("IDAT", Deflate(Bytes(rawBytes, 0)));
    const Bytes iend = PngChunk("IEND", {});
    png.insert(png.end(), ihdr.begin(), ihdr.end());
    png.insert(png.end(), idat.begin(), idat.end());
    png.insert(png.end(), iend.begin(), iend.end());
    return png;
}

struct BombCase {
    const char* Name;
    Bytes File;
    bool MustFail;  // else the decoder may stop at the picture's end and keep it
};

TEST(DecompressionBombs, RefusedQuickly)
{
    // Deflate that expands far beyond the declared picture (10 MB of zeros
    // for a 16 x 16 picture), a huge declared picture with a short stream, and
    // a declared picture beyond the size guard.
    const std::vector<BombCase> cases = {
        {"stream expanding beyond the picture", PngBomb(16, 16, 10'000'000), false},
        {"65535 x 4096 with a tiny stream", PngBomb(65535, 4096, 100), true},
        {"beyond the size guard", PngBomb(65535, 65535, 100), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_LT(c.File.size(), 20'000u);
        const auto start = Clock::now();
        TPNGGraphic png;
        if (c.MustFail) {
            EXPECT_THROW(png.ReadPicture(c.File), QuillmarkError);
        } else {
            try {
                png.ReadPicture(c.File);
                EXPECT_EQ(png.Width(), 16);
            } catch (const QuillmarkError& e) {
                EXPECT_STRNE(e.what(), "");
            }
        }
        EXPECT_LT(Clock::now() - start, kDecodeLimit);
    }
}

// A sequential JPEG of a few hundred bytes declaring 60000 x 4000 pixels:
// libjpeg would fill the whole picture from nothing.
TEST(DecompressionBombs, TinyJpegDeclaringAHugePictureIsRefused)
{
    const Bytes file = test::ReadWholeFile(std::filesystem::path(QUILLMARK_TEST_DATA) / "crashers/jpeg-bomb-60000x4000.jpg");
    ASSERT_FALSE(file.empty());
    const auto start = Clock::now();
    EXPECT_THROW(DecodeJpeg(file), InvalidGraphicError);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(200));
}

} // namespace
} // namespace quillmark
