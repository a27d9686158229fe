#include "formats/LZ77Decoder.h"

#include "base/Errors.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace quillmark;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Sample(std::size_t size)
{
    Bytes data(size);
    std::uint32_t state = 7;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        // Runs and noise, so that the stream has literals and matches.
        data[i] = (i / 64) % 2 == 0 ? static_cast<std::uint8_t>(i / 64) : static_cast<std::uint8_t>(state >> 16);
    }
    return data;
}

Bytes Compress(const Bytes& raw)
{
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    EXPECT_EQ(compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6), Z_OK);
    out.resize(size);
    return out;
}

} // namespace

TEST(LZ77Decoder, SameOutputWhateverTheInputAndOutputPieces)
{
    const Bytes raw = Sample(5000);
    const Bytes packed = Compress(raw);
    for (const std::size_t inPiece : {1u, 2u, 7u, 100000u}) {
        for (const std::size_t outPiece : {41u, 43u, 100000u}) {
            SCOPED_TRACE(std::to_string(inPiece) + " in, " + std::to_string(outPiece) + " out");
            TLZ77Decoder decoder(Z_PARTIAL_FLUSH, false);
            decoder.StartUnpack();
            Bytes out(raw.size() + 10);
            std::size_t in = 0;
            std::size_t produced = 0;
            int calls = 0;
            while (!decoder.StreamEnded() && calls < 100000) {
                const std::size_t inBefore = in;
                const std::size_t outBefore = produced;
                decoder.Unpack(packed, in, out, produced, outPiece, inPiece);
                ASSERT_LE(in, packed.size());
                ASSERT_LE(produced - outBefore, outPiece);
                ASSERT_LE(in - inBefore, inPiece);
                // Every call makes progress until the stream ends.
                ASSERT_TRUE(in > inBefore || produced > outBefore || decoder.StreamEnded());
                ++calls;
            }
            decoder.FinishUnpack();
            EXPECT_TRUE(decoder.StreamEnded());
            EXPECT_EQ(in, packed.size());
            ASSERT_EQ(produced, raw.size());
            EXPECT_TRUE(std::equal(raw.begin(), raw.end(), out.begin()));
        }
    }
}

TEST(LZ77Decoder, StopsAtTheEndOfItsSpans)
{
    const Bytes raw = Sample(3000);
    const Bytes packed = Compress(raw);
    TLZ77Decoder decoder(Z_PARTIAL_FLUSH, false);
    decoder.StartUnpack();
    Bytes out(100, 0xEE);
    std::size_t in = 0;
    std::size_t produced = 0;
    decoder.Unpack(packed, in, std::span<std::uint8_t>(out).first(64), produced, 1u << 20, 1u << 20);
    EXPECT_EQ(produced, 64u);
    EXPECT_EQ(out[64], 0xEE);
    EXPECT_FALSE(decoder.StreamEnded());
    // Positions at or past the end of a span do nothing.
    produced = 64;
    const std::size_t inBefore = in;
    decoder.Unpack(packed, in, std::span<std::uint8_t>(out).first(64), produced, 10, 10);
    EXPECT_EQ(produced, 64u);
    EXPECT_EQ(in, inBefore);
}

TEST(LZ77Decoder, AutomaticResetTakesOneStreamPerCall)
{
    const Bytes first = Sample(700);
    const Bytes second(300, 42);
    const Bytes a = Compress(first);
    const Bytes b = Compress(second);
    TLZ77Decoder decoder(Z_PARTIAL_FLUSH, true);
    decoder.StartUnpack();
    Bytes out(1000);
    std::size_t in = 0;
    std::size_t produced = 0;
    decoder.Unpack(a, in, out, produced, first.size(), a.size());
    EXPECT_EQ(produced, first.size());
    in = 0;
    decoder.Unpack(b, in, out, produced, second.size(), b.size());
    EXPECT_EQ(produced, first.size() + second.size());
    EXPECT_TRUE(std::equal(second.begin(), second.end(), out.begin() + static_cast<std::ptrdiff_t>(first.size())));
}

TEST(LZ77Decoder, DamagedStreamRaisesTheGivenMessage)
{
    Bytes packed = Compress(Sample(2000));
    packed[0] = 0x79;  // wrong header check bits
    const auto errorOf = [&](TLZ77Decoder& decoder) {
        decoder.StartUnpack();
        Bytes out(2000);
        std::size_t in = 0;
        std::size_t produced = 0;
        try {
            decoder.Unpack(packed, in, out, produced, out.size(), packed.size());
        } catch (const CompressionError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    TLZ77Decoder plain(Z_PARTIAL_FLUSH, false);
    EXPECT_EQ(errorOf(plain), "LZ77 decompression error.");
    TLZ77Decoder png(Z_PARTIAL_FLUSH, false, "Cannot load image. Compression error found in PNG file.");
    EXPECT_EQ(errorOf(png), "Cannot load image. Compression error found in PNG file.");
}
