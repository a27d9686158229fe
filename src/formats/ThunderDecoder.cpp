#include "formats/ThunderDecoder.h"

// ThunderScan codes, by the top two bits of each byte:
//   00 nnnnnn  repeat the last value n times
//   01 aabbcc  three 2-bit deltas (0, +1, skip, -1)
//   10 aaabbb  two 3-bit deltas (0, 1, 2, 3, skip, -3, -2, -1)
//   11 --vvvv  the literal value v
// Deltas apply to the last value modulo 16.

namespace quillmark {

namespace {
constexpr int kSkip = 99;
constexpr int kTwoBitDeltas[4] = {0, 1, kSkip, -1};
constexpr int kThreeBitDeltas[8] = {0, 1, 2, 3, kSkip, -3, -2, -1};
} // namespace

void TThunderDecoder::StartUnpack()
{
    m_x = 0;
    m_last = 0;
}

void TThunderDecoder::Put(std::span<std::uint8_t> target, std::size_t& targetPos, unsigned value)
{
    const std::size_t at = targetPos + m_x / 2;
    if (m_x % 2 == 0)
        target[at] = static_cast<std::uint8_t>(value << 4);
    else
        target[at] = static_cast<std::uint8_t>(target[at] | value);
    if (++m_x == m_width) {
        targetPos += m_rowBytes;
        m_x = 0;
        m_last = 0;
    }
}

void TThunderDecoder::Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos,
                             std::span<std::uint8_t> target, std::size_t& targetPos, std::size_t unpackedCount,
    std::size_t packedCount)
{
    source = source.first(sourcePos + UnpackLimit(source.size(), sourcePos, packedCount));
    target = target.first(targetPos + UnpackLimit(target.size(), targetPos, unpackedCount));
    if (m_width == 0)
        return;
    while (sourcePos < source.size() && targetPos <= target.size() && target.size() - targetPos >= m_rowBytes) {
        const std::uint8_t b = source[sourcePos++];
        const std::size_t row = targetPos;
        // Everything a byte yields past the end of its row is dropped.
        auto emit = [&](unsigned value) {
            if (targetPos == row)
                Put(target, targetPos, value);
        };
        switch (b >> 6) {
        case 0:
            for (unsigned n = b & 0x3Fu; n > 0 && targetPos == row; --n)
                emit(m_last);
            break;
        case 1:
            for (const unsigned shift : {4u, 2u, 0u}) {
                if (targetPos != row)
                    break;
                const int d = kTwoBitDeltas[(b >> shift) & 3u];
                if (d != kSkip) {
                    m_last = static_cast<unsigned>(static_cast<int>(m_last) + d) & 0xFu;
                    emit(m_last);
                }
            }
            break;
        case 2:
            for (const unsigned shift : {3u, 0u}) {
                if (targetPos != row)
                    break;
                const int d = kThreeBitDeltas[(b >> shift) & 7u];
                if (d != kSkip) {
                    m_last = static_cast<unsigned>(static_cast<int>(m_last) + d) & 0xFu;
                    emit(m_last);
                }
            }
            break;
        default:
            m_last = b & 0xFu;
            emit(m_last);
            break;
        }
    }
}

} // namespace quillmark
