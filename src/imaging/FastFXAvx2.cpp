// AVX2 forms of the effect routines. Bytes are widened to 16-bit lanes, the
// integer formulas of the plain loops are evaluated there exactly, and
// packus clamps the results back into 0..255. The functions carry a target
// attribute, so the file builds for plain x86-64 and runs only after
// HaveAvx2() said yes.
#include "imaging/FastFXKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUILLMARK_AVX2 __attribute__((target("avx2")))
#endif

namespace quillmark::fxkernels {

#if defined(QUILLMARK_AVX2)

bool HaveAvx2()
{
    static const bool have = [] {
        __builtin_cpu_init(); // may run before the library's own start-up code
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return have;
}

namespace {

QUILLMARK_AVX2 inline __m256i Load(const std::uint8_t* p)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

QUILLMARK_AVX2 inline void Store(std::uint8_t* p, __m256i v)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// i + sign x (|128 - i| x |a|) div 256, where the sign is that of a for
// i >= 127 and the opposite below. At i = 127 the product is below 256, so
// the zero that _mm256_sign_epi16 gives there is the right answer.
QUILLMARK_AVX2 inline __m256i ContrastHalf(__m256i x, __m256i absAmount, bool negative)
{
    const __m256i c127 = _mm256_set1_epi16(127);
    const __m256i distance = _mm256_abs_epi16(_mm256_sub_epi16(x, _mm256_set1_epi16(128)));
    const __m256i step = _mm256_srli_epi16(_mm256_mullo_epi16(distance, absAmount), 8);
    const __m256i side = negative ? _mm256_sub_epi16(c127, x) : _mm256_sub_epi16(x, c127);
    return _mm256_add_epi16(x, _mm256_sign_epi16(step, side));
}

QUILLMARK_AVX2 inline __m256i LightnessHalf(__m256i x, __m256i absAmount, bool brighten)
{
    if (brighten) {
        const __m256i rest = _mm256_sub_epi16(_mm256_set1_epi16(255), x);
        return _mm256_add_epi16(x, _mm256_srli_epi16(_mm256_mullo_epi16(rest, absAmount), 8));
    }
    return _mm256_sub_epi16(x, _mm256_srli_epi16(_mm256_mullo_epi16(x, absAmount), 8));
}

// Lane 0 from at, lane 1 from at + 15.
QUILLMARK_AVX2 inline __m256i LoadFivePixelPairs(const std::uint8_t* at)
{
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 15));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(first), second, 1);
}

} // namespace

QUILLMARK_AVX2 std::size_t ContrastAvx2(std::uint8_t* bytes, std::size_t count, int amount)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i absAmount = _mm256_set1_epi16(static_cast<short>(amount < 0 ? -amount : amount));
    const bool negative = amount < 0;
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i v = Load(bytes + i);
        const __m256i lo = ContrastHalf(_mm256_unpacklo_epi8(v, zero), absAmount, negative);
        const __m256i hi = ContrastHalf(_mm256_unpackhi_epi8(v, zero), absAmount, negative);
        Store(bytes + i, _mm256_packus_epi16(lo, hi));
    }
    return i;
}

QUILLMARK_AVX2 std::size_t LightnessAvx2(std::uint8_t* bytes, std::size_t count, int amount)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i absAmount = _mm256_set1_epi16(static_cast<short>(amount < 0 ? -amount : amount));
    const bool brighten = amount > 0;
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i v = Load(bytes + i);
        const __m256i lo = LightnessHalf(_mm256_unpacklo_epi8(v, zero), absAmount, brighten);
        const __m256i hi = LightnessHalf(_mm256_unpackhi_epi8(v, zero), absAmount, brighten);
        Store(bytes + i, _mm256_packus_epi16(lo, hi));
    }
    return i;
}

QUILLMARK_AVX2 std::size_t InvertAvx2(std::uint8_t* bytes, std::size_t count)
{
    const __m256i ones = _mm256_set1_epi8(-1);
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32)
        Store(bytes + i, _mm256_xor_si256(Load(bytes + i), ones));
    return i;
}

QUILLMARK_AVX2 std::size_t CuttingOffAvx2(std::uint8_t* bytes, std::size_t count, int threshold)
{
    const __m256i limit = _mm256_set1_epi8(static_cast<char>(static_cast<std::uint8_t>(threshold)));
    const __m256i zero = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i v = Load(bytes + i);
        // v - t saturates to 0 exactly when v <= t.
        const __m256i cut = _mm256_cmpeq_epi8(_mm256_subs_epu8(v, limit), zero);
        Store(bytes + i, _mm256_andnot_si256(cut, v));
    }
    return i;
}

// Each 128-bit lane takes five pixels (15 bytes): lane 0 from p, lane 1 from
// p + 15. Shuffles spread every pixel's blue, green and red over the 16-bit
// lanes of its own bytes, so the pixel's mean lines up with each of them. The
// 16th byte of a lane is passed through unchanged, which keeps the two
// overlapping stores correct: lane 0 writes p .. p + 15 with byte 15 as it
// was, then lane 1 writes the real p + 15 .. p + 29 and leaves p + 30 alone.
QUILLMARK_AVX2 std::size_t SaturationAvx2(std::uint8_t* pixels, std::size_t count, int amount)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i s = _mm256_set1_epi16(static_cast<short>(amount));
    const __m256i third = _mm256_set1_epi16(21846); // (sum x 21846) >> 16 == sum div 3 for sum <= 765
    constexpr char z = -128;
    const __m256i blueLo = _mm256_setr_epi8(0, z, 0, z, 0, z, 3, z, 3, z, 3, z, 6, z, 6, z,
                                            0, z, 0, z, 0, z, 3, z, 3, z, 3, z, 6, z, 6, z);
    const __m256i greenLo = _mm256_setr_epi8(1, z, 1, z, 1, z, 4, z, 4, z, 4, z, 7, z, 7, z,
                                             1, z, 1, z, 1, z, 4, z, 4, z, 4, z, 7, z, 7, z);
    const __m256i redLo = _mm256_setr_epi8(2, z, 2, z, 2, z, 5, z, 5, z, 5, z, 8, z, 8, z,
                                           2, z, 2, z, 2, z, 5, z, 5, z, 5, z, 8, z, 8, z);
    const __m256i blueHi = _mm256_setr_epi8(6, z, 9, z, 9, z, 9, z, 12, z, 12, z, 12, z, z, z,
                                            6, z, 9, z, 9, z, 9, z, 12, z, 12, z, 12, z, z, z);
    const __m256i greenHi = _mm256_setr_epi8(7, z, 10, z, 10, z, 10, z, 13, z, 13, z, 13, z, z, z,
                                             7, z, 10, z, 10, z, 10, z, 13, z, 13, z, 13, z, z, z);
    const __m256i redHi = _mm256_setr_epi8(8, z, 11, z, 11, z, 11, z, 14, z, 14, z, 14, z, z, z,
                                           8, z, 11, z, 11, z, 11, z, 14, z, 14, z, 14, z, z, z);
    const __m256i keepLast = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, z,
                                              0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, z);
    // Lane 1 reads and writes up to p + 30: 31 bytes, so at least 11 pixels.
    if (count < 11)
        return 0;
    std::size_t done = 0;
    std::uint8_t* p = pixels;
    __m256i v = LoadFivePixelPairs(p);
    for (;;) {
        const __m256i sumLo = _mm256_add_epi16(_mm256_add_epi16(_mm256_shuffle_epi8(v, blueLo),
                                                                _mm256_shuffle_epi8(v, greenLo)),
                                               _mm256_shuffle_epi8(v, redLo));
        const __m256i sumHi = _mm256_add_epi16(_mm256_add_epi16(_mm256_shuffle_epi8(v, blueHi),
                                                                _mm256_shuffle_epi8(v, greenHi)),
                                               _mm256_shuffle_epi8(v, redHi));
        const __m256i meanLo = _mm256_mulhi_epu16(sumLo, third);
        const __m256i meanHi = _mm256_mulhi_epu16(sumHi, third);
        // (x x s) div 256 as the high half of (x << 8) x s.
        const __m256i greyLo = _mm256_sub_epi16(meanLo, _mm256_mulhi_epu16(_mm256_slli_epi16(meanLo, 8), s));
        const __m256i greyHi = _mm256_sub_epi16(meanHi, _mm256_mulhi_epu16(_mm256_slli_epi16(meanHi, 8), s));
        const __m256i outLo = _mm256_add_epi16(greyLo, _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, v), s));
        const __m256i outHi = _mm256_add_epi16(greyHi, _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, v), s));
        const __m256i out = _mm256_blendv_epi8(_mm256_packus_epi16(outLo, outHi), v, keepLast);

        // The next block's first byte is this block's pass-through byte:
        // loading it before the stores spares a stalled store forwarding.
        done += 10;
        const bool more = done + 11 <= count;
        const __m256i next = more ? LoadFivePixelPairs(p + 30) : v;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(out));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 15), _mm256_extracti128_si256(out, 1));
        if (!more)
            break;
        v = next;
        p += 30;
    }
    return done;
}

QUILLMARK_AVX2 std::size_t Average4Avx2(std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b,
                                        const std::uint8_t* c, const std::uint8_t* d, std::size_t count)
{
    const __m256i zero = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i va = Load(a + i);
        const __m256i vb = Load(b + i);
        const __m256i vc = Load(c + i);
        const __m256i vd = Load(d + i);
        const __m256i lo = _mm256_add_epi16(
            _mm256_add_epi16(_mm256_unpacklo_epi8(va, zero), _mm256_unpacklo_epi8(vb, zero)),
            _mm256_add_epi16(_mm256_unpacklo_epi8(vc, zero), _mm256_unpacklo_epi8(vd, zero)));
        const __m256i hi = _mm256_add_epi16(
            _mm256_add_epi16(_mm256_unpackhi_epi8(va, zero), _mm256_unpackhi_epi8(vb, zero)),
            _mm256_add_epi16(_mm256_unpackhi_epi8(vc, zero), _mm256_unpackhi_epi8(vd, zero)));
        Store(out + i, _mm256_packus_epi16(_mm256_srli_epi16(lo, 2), _mm256_srli_epi16(hi, 2)));
    }
    return i;
}

// 0, step, 2 step, ... 7 step in the eight 32-bit lanes (|step| <= 65536).
QUILLMARK_AVX2 inline __m256i EightSteps(std::int64_t step)
{
    return _mm256_mullo_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7),
                              _mm256_set1_epi32(static_cast<std::int32_t>(step)));
}

// Per group of eight: lane 0 makes pixels 0..3 from a 16-byte window at
// source pixel 0, lane 1 pixels 4..7 from a window at source pixel 4. The
// pixels' column offsets within their window (0..3) become byte shuffles;
// where a pixel's row is the next one, the same shuffle of that row's window
// is blended in.
QUILLMARK_AVX2 std::size_t RotateShallowAvx2(std::uint8_t* out, std::size_t count, const std::uint8_t* source,
                                             std::int64_t stride, std::int64_t& x, std::int64_t& y,
                                             std::int64_t dx, std::int64_t dy)
{
    const __m256i stepX = EightSteps(dx);
    const __m256i stepY = EightSteps(dy);
    constexpr char z = -128;
    // Low byte of 32-bit element j / 3 to byte j, for 12 bytes of each lane.
    const __m256i spread = _mm256_setr_epi8(0, 0, 0, 4, 4, 4, 8, 8, 8, 12, 12, 12, z, z, z, z,
                                            0, 0, 0, 4, 4, 4, 8, 8, 8, 12, 12, 12, z, z, z, z);
    const __m256i channel = _mm256_setr_epi8(0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, z, z, z, z,
                                             0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, z, z, z, z);
    const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    const std::int64_t nextRow = dy > 0 ? stride : -stride;
    std::size_t done = 0;
    for (; done + 8 <= count; done += 8, out += 24, x += 8 * dx, y += 8 * dy) {
        const std::int64_t column0 = x >> 16;
        const std::int64_t column4 = (x + 4 * dx) >> 16;
        const std::int64_t row0 = y >> 16;
        const std::uint8_t* rowA = source + row0 * stride;
        // Column offsets within each lane's window, times 3.
        const __m256i px = _mm256_add_epi32(_mm256_set1_epi32(static_cast<std::int32_t>(x - (column0 << 16))), stepX);
        const auto lane1 = static_cast<std::int32_t>(column4 - column0);
        const __m256i firstColumn = _mm256_setr_epi32(0, 0, 0, 0, lane1, lane1, lane1, lane1);
        const __m256i offset = _mm256_sub_epi32(_mm256_srli_epi32(px, 16), firstColumn);
        const __m256i offset3 = _mm256_add_epi32(offset, _mm256_add_epi32(offset, offset));
        const __m256i index = _mm256_add_epi8(_mm256_shuffle_epi8(offset3, spread), channel);

        const __m256i windowA = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rowA + 3 * column0))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(rowA + 3 * column4)), 1);
        __m256i pixels = _mm256_shuffle_epi8(windowA, index);
        if (((y + 7 * dy) >> 16) != row0) {
            const std::uint8_t* rowB = rowA + nextRow;
            const __m256i windowB = _mm256_inserti128_si256(
                _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rowB + 3 * column0))),
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(rowB + 3 * column4)), 1);
            const __m256i py = _mm256_add_epi32(_mm256_set1_epi32(static_cast<std::int32_t>(y - (row0 << 16))), stepY);
            const __m256i sameRow = _mm256_cmpeq_epi32(_mm256_srai_epi32(py, 16), _mm256_setzero_si256());
            const __m256i fromB = _mm256_shuffle_epi8(windowB, index);
            pixels = _mm256_blendv_epi8(fromB, pixels, _mm256_shuffle_epi8(sameRow, spread));
        }
        const __m256i packed = _mm256_permutevar8x32_epi32(pixels, join);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(packed));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(packed, 1));
    }
    return done;
}

// Pixel i of a group lies at column X + ((fx + i dx) >> 16) and row
// Y + ((fy + i dy) >> 16), where X, fx split the first position into its
// whole and fractional parts (floor, so fx is 0..65535); both sums fit 32
// bits, and the arithmetic shift floors as the 64-bit walk does.
QUILLMARK_AVX2 std::size_t RotateGatherAvx2(std::uint8_t* out, std::size_t count, const std::uint8_t* source,
                                            std::int64_t stride, std::int64_t& x, std::int64_t& y,
                                            std::int64_t dx, std::int64_t dy)
{
    const __m256i stepX = EightSteps(dx);
    const __m256i stepY = EightSteps(dy);
    const __m256i rowBytes = _mm256_set1_epi32(static_cast<std::int32_t>(stride));
    constexpr char z = -128;
    // The three colour bytes of each 32-bit element, packed to 12 bytes a lane.
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, z, z, z, z,
                                          0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, z, z, z, z);
    const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    std::size_t done = 0;
    for (; done + 8 <= count; done += 8, out += 24, x += 8 * dx, y += 8 * dy) {
        const std::int64_t column = x >> 16;
        const std::int64_t row = y >> 16;
        const std::uint8_t* first = source + row * stride + 3 * column;
        const __m256i px = _mm256_add_epi32(_mm256_set1_epi32(static_cast<std::int32_t>(x - (column << 16))), stepX);
        const __m256i py = _mm256_add_epi32(_mm256_set1_epi32(static_cast<std::int32_t>(y - (row << 16))), stepY);
        const __m256i columns = _mm256_srai_epi32(px, 16);
        const __m256i rows = _mm256_srai_epi32(py, 16);
        const __m256i offsets = _mm256_add_epi32(_mm256_mullo_epi32(rows, rowBytes),
                                                 _mm256_add_epi32(columns, _mm256_add_epi32(columns, columns)));
        const __m256i pixels = _mm256_i32gather_epi32(reinterpret_cast<const int*>(first), offsets, 1);
        const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(pixels, pack), join);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(packed));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(packed, 1));
    }
    return done;
}

#else

bool HaveAvx2() { return false; }
std::size_t ContrastAvx2(std::uint8_t*, std::size_t, int) { return 0; }
std::size_t LightnessAvx2(std::uint8_t*, std::size_t, int) { return 0; }
std::size_t InvertAvx2(std::uint8_t*, std::size_t) { return 0; }
std::size_t CuttingOffAvx2(std::uint8_t*, std::size_t, int) { return 0; }
std::size_t SaturationAvx2(std::uint8_t*, std::size_t, int) { return 0; }
std::size_t Average4Avx2(std::uint8_t*, const std::uint8_t*, const std::uint8_t*, const std::uint8_t*,
                         const std::uint8_t*, std::size_t) { return 0; }
std::size_t RotateShallowAvx2(std::uint8_t*, std::size_t, const std::uint8_t*, std::int64_t, std::int64_t&,
                              std::int64_t&, std::int64_t, std::int64_t) { return 0; }
std::size_t RotateGatherAvx2(std::uint8_t*, std::size_t, const std::uint8_t*, std::int64_t, std::int64_t&,
                             std::int64_t&, std::int64_t, std::int64_t) { return 0; }
#endif

} // namespace quillmark::fxkernels
