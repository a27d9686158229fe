#include "base/Errors.h"
#include "formats/CCITTDecoders.h"
#include "formats/GIFLZWDecoder.h"
#include "formats/PCXRLEDecoder.h"
#include "formats/PackbitsRLEDecoder.h"
#include "formats/TIFFLZWDecoder.h"
#include "formats/ThunderDecoder.h"

#include "LzwTestEncoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace quillmark;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Feeds the source in pieces of the given size (0 = all at once) into a
// target of outSize bytes. Every call must either consume input or produce
// output until the target is full or the input is gone.
template <typename Decoder>
Bytes UnpackInPieces(Decoder& decoder, const Bytes& source, std::size_t outSize, std::size_t piece)
{
    Bytes out(outSize, 0xEE);
    decoder.StartUnpack();
    std::size_t consumed = 0;
    std::size_t targetPos = 0;
    while (consumed < source.size() && targetPos < out.size()) {
        const std::size_t n = piece == 0 ? source.size() - consumed : std::min(piece, source.size() - consumed);
        const std::span<const std::uint8_t> chunk(source.data() + consumed, n);
        std::size_t sourcePos = 0;
        const std::size_t before = targetPos;
        decoder.Unpack(chunk, sourcePos, out, targetPos, out.size(), chunk.size());
        EXPECT_TRUE(sourcePos > 0 || targetPos > before) << "no progress";
        if (sourcePos == 0 && targetPos == before)
            break;
        // A piece that is not used up when the target is full is simply left.
        consumed += sourcePos;
    }
    decoder.FinishUnpack();
    out.resize(targetPos);
    return out;
}

template <typename Decoder>
void ExpectSameInAllPieces(const std::function<Decoder()>& make, const Bytes& source, const Bytes& expected)
{
    for (const std::size_t piece : {0u, 1u, 2u, 7u}) {
        SCOPED_TRACE(testing::Message() << "piece size " << piece);
        Decoder d = make();
        EXPECT_EQ(UnpackInPieces(d, source, expected.size(), piece), expected);
    }
}

Bytes NoisyPicture(std::size_t size, unsigned seed)
{
    std::mt19937 rng(seed);
    Bytes data(size);
    // Runs of repeated and slowly varying bytes, as in real rows.
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<std::uint8_t>((i / 7) % 5 == 0 ? rng() % 256 : (i / 13) % 40);
    return data;
}

} // namespace

TEST(PackBits, DecodesTheTiffSampleInEveryPieceSize)
{
    const Bytes packed = {0xFE, 0xAA, 0x02, 0x80, 0x00, 0x2A, 0xFD, 0xAA, 0x03, 0x80, 0x00, 0x2A, 0x22, 0xF7, 0xAA};
    const Bytes expected = {0xAA, 0xAA, 0xAA, 0x80, 0x00, 0x2A, 0xAA, 0xAA, 0xAA, 0xAA, 0x80, 0x00,
                            0x2A, 0x22, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    ExpectSameInAllPieces<TPackbitsRLEDecoder>([] { return TPackbitsRLEDecoder(); }, packed, expected);
}

TEST(PackBits, SkipsMinus128AndStopsAtTheTargetEnd)
{
    TPackbitsRLEDecoder d;
    const Bytes packed = {0x80, 0x81, 0x07};  // no-op, then 0x07 repeated 128 times
    EXPECT_EQ(UnpackInPieces(d, packed, 5, 0), Bytes(5, 0x07));
}

TEST(PcxRle, RunsAndLiteralsInEveryPieceSize)
{
    const Bytes packed = {0xC3, 0x10, 0x05, 0xC1, 0xC7, 0xC0, 0x55, 0xBF, 0xC2, 0x00};
    const Bytes expected = {0x10, 0x10, 0x10, 0x05, 0xC7, 0xBF, 0x00, 0x00};
    ExpectSameInAllPieces<TPCXRLEDecoder>([] { return TPCXRLEDecoder(); }, packed, expected);
}

TEST(PcxRle, StopsAtTheUnpackedCount)
{
    TPCXRLEDecoder d;
    d.StartUnpack();
    const Bytes packed = {0xC5, 0x09, 0x01};
    Bytes row(8, 0);
    std::size_t sourcePos = 0;
    std::size_t targetPos = 1;
    d.Unpack(packed, sourcePos, row, targetPos, 2, packed.size());
    EXPECT_EQ(targetPos, 3u);
    EXPECT_EQ(row, (Bytes{0, 9, 9, 0, 0, 0, 0, 0}));
}

TEST(PcxRle, RunCarriesOverIntoTheNextTarget)
{
    TPCXRLEDecoder d;
    d.StartUnpack();
    const Bytes packed = {0xC5, 0x09, 0x01};
    Bytes row(3);
    std::size_t sourcePos = 0;
    std::size_t targetPos = 0;
    d.Unpack(packed, sourcePos, row, targetPos, row.size(), packed.size());
    EXPECT_EQ(row, (Bytes{9, 9, 9}));
    targetPos = 0;
    d.Unpack(packed, sourcePos, row, targetPos, row.size(), packed.size());
    EXPECT_EQ(row, (Bytes{9, 9, 1}));
}

TEST(TiffLzw, RoundTripsThroughCodeWidthChangesInEveryPieceSize)
{
    // Long enough to pass 511, 1023, 2047 and a table reset.
    const Bytes data = NoisyPicture(40000, 1);
    const Bytes packed = test::LzwEncode(data, true);
    ExpectSameInAllPieces<TTIFFLZWDecoder>([] { return TTIFFLZWDecoder(); }, packed, data);
}

TEST(TiffLzw, StopsAtTheEndCode)
{
    Bytes data = {1, 2, 3, 1, 2, 3, 1, 2, 3};
    Bytes packed = test::LzwEncode(data, true);
    packed.insert(packed.end(), {0xFF, 0xFF, 0xFF});
    TTIFFLZWDecoder d;
    EXPECT_EQ(UnpackInPieces(d, packed, 20, 0), data);
    EXPECT_TRUE(d.Finished());
}

TEST(TiffLzw, CodeBeyondTheTableIsAnError)
{
    test::BitWriter w(true);
    w.Put(256, 9);
    w.Put(65, 9);
    w.Put(300, 9);  // next free is 258
    const Bytes packed = w.Finish();
    TTIFFLZWDecoder d;
    EXPECT_THROW(UnpackInPieces(d, packed, 10, 0), CompressionError);
}

TEST(GifLzw, RoundTripsForEveryCodeSize)
{
    for (const unsigned size : {2u, 4u, 8u}) {
        SCOPED_TRACE(size);
        Bytes data = NoisyPicture(20000, size);
        for (auto& b : data)
            b = static_cast<std::uint8_t>(b % (1u << size));
        const Bytes packed = test::LzwEncode(data, false, size);
        ExpectSameInAllPieces<TGIFLZWDecoder>([size] { return TGIFLZWDecoder(size); }, packed, data);
    }
}

TEST(GifLzw, RefusesBadCodeSizesAndCodesBeyondTheTable)
{
    EXPECT_THROW(TGIFLZWDecoder(0), CompressionError);
    EXPECT_THROW(TGIFLZWDecoder(12), CompressionError);
    test::BitWriter w(false);
    w.Put(4, 3);  // clear for size 2
    w.Put(1, 3);
    w.Put(7, 3);  // next free is 6
    const Bytes packed = w.Finish();
    TGIFLZWDecoder d(2);
    EXPECT_THROW(UnpackInPieces(d, packed, 10, 0), CompressionError);
}

// Gives the decoder all of the input but room for only `room` bytes a call, in
// a fresh window each time, so that strings are split across calls. Nothing
// may be written past the bytes a call reports.
template <typename Decoder>
Bytes UnpackInSmallTargets(Decoder& decoder, const Bytes& source, std::size_t room)
{
    Bytes out;
    decoder.StartUnpack();
    std::size_t sourcePos = 0;
    for (;;) {
        Bytes window(room + 8, 0xEE);
        std::size_t targetPos = 0;
        decoder.Unpack(source, sourcePos, window, targetPos, room, source.size());
        EXPECT_LE(targetPos, room);
        EXPECT_EQ(Bytes(window.begin() + static_cast<std::ptrdiff_t>(targetPos), window.end()),
                  Bytes(window.size() - targetPos, 0xEE));
        if (targetPos == 0 || out.size() > source.size() * 4096)
            return out;
        out.insert(out.end(), window.begin(), window.begin() + static_cast<std::ptrdiff_t>(targetPos));
    }
}

TEST(Lzw, StringsCarryOverIntoTheNextTarget)
{
    const Bytes data = NoisyPicture(30000, 5);
    const Bytes tiff = test::LzwEncode(data, true);
    const Bytes gif = test::LzwEncode(data, false, 8);
    for (const std::size_t room : {1u, 2u, 7u, 300u, 5000u}) {
        SCOPED_TRACE(testing::Message() << "room " << room);
        TTIFFLZWDecoder t;
        EXPECT_EQ(UnpackInSmallTargets(t, tiff, room), data);
        EXPECT_TRUE(t.Finished());
        TGIFLZWDecoder g(8);
        EXPECT_EQ(UnpackInSmallTargets(g, gif, room), data);
        EXPECT_TRUE(g.Finished());
    }
}

TEST(CcittMh, DecodesRowsEachStartingOnANewByte)
{
    // Width 16. Row 0: white 4 (1011), black 8 (000101), white 4 (1011).
    // Row 1: white 16 (101010). Row 2: white 0 (00110101), black 16 (0000010111).
    const Bytes packed = {0xB1, 0x6C, 0xA8, 0x35, 0x05, 0xC0};
    const Bytes expected = {0x0F, 0xF0, 0x00, 0x00, 0xFF, 0xFF};
    ExpectSameInAllPieces<TCCITTMHDecoder>([] { return TCCITTMHDecoder(16, false); }, packed, expected);
}

TEST(CcittMh, MakeUpCodesAndReversedFillOrder)
{
    // Width 80: white 64 (11011) + white 2 (0111), black 14 (00000111).
    const Bytes packed = {0xDB, 0x83, 0x80};
    Bytes expected(10, 0);
    expected[8] = 0x3F;
    expected[9] = 0xFF;
    ExpectSameInAllPieces<TCCITTMHDecoder>([] { return TCCITTMHDecoder(80, false); }, packed, expected);
    Bytes reversed = packed;
    for (auto& b : reversed) {
        unsigned r = 0;
        for (unsigned i = 0; i < 8; ++i)
            r |= ((b >> i) & 1u) << (7 - i);
        b = static_cast<std::uint8_t>(r);
    }
    ExpectSameInAllPieces<TCCITTMHDecoder>([] { return TCCITTMHDecoder(80, true); }, reversed, expected);
}

TEST(CcittMh, WordAlignedRowsStartOnEvenInputBytes)
{
    // Width 16, each row one byte of code plus one pad byte: white 16, white 16.
    const Bytes packed = {0xA8, 0xFF, 0xA8, 0xFF};
    ExpectSameInAllPieces<TCCITTMHDecoder>([] { return TCCITTMHDecoder(16, false, true); }, packed, Bytes(4, 0));
}

TEST(CcittMh, RunBeyondTheRowIsAnError)
{
    TCCITTMHDecoder d(8, false);
    const Bytes packed = {0xA8};  // white 16 in an 8-pixel row
    EXPECT_THROW(UnpackInPieces(d, packed, 1, 0), CompressionError);
}

TEST(CcittFax3, FindsEachRowAfterItsEndOfLine)
{
    // EOL (000000000001), white 4 (1011), black 4 (011), EOL, white 8 (10011).
    // 00000000 00011011 01100000 00000011 0011xxxx
    const Bytes packed = {0x00, 0x1B, 0x60, 0x03, 0x30};
    const Bytes expected = {0x0F, 0x00};
    ExpectSameInAllPieces<TCCITTFax3Decoder>([] { return TCCITTFax3Decoder(8, false); }, packed, expected);
}

TEST(CcittFax3, DataWithoutEndOfLineEndsQuietly)
{
    TCCITTFax3Decoder d(8, false);
    const Bytes packed(100, 0xAA);
    EXPECT_TRUE(UnpackInPieces(d, packed, 8, 0).empty());
}

TEST(Thunder, RunsDeltasAndLiteralsPerRow)
{
    // Width 5: literal 9, two-bit deltas +1, skip, -1 (10, 9), repeat 2;
    // then row 2: three-bit deltas 3, -3 from 0 (3, 0), literal 15 repeated 9 times (cut at the row).
    const Bytes packed = {0xC9, 0x5B, 0x02, 0x9D, 0xCF, 0x09};
    const Bytes expected = {0x9A, 0x99, 0x90, 0x30, 0xFF, 0xF0};
    ExpectSameInAllPieces<TThunderDecoder>([] { return TThunderDecoder(5); }, packed, expected);
}
