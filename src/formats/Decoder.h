#pragma once
// Base of the decompressors. A decompressor is lent its input and output on
// each call and keeps no pointer into either between calls; positions are
// indices into the spans it is given. Every Unpack stops at the end of either
// span, so no stream can make it write out of bounds or loop without end.
#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmark {

class TDecoder {
public:
    virtual ~TDecoder() = default;

    // Unpacks from source[sourcePos..] into target[targetPos..] until
    // unpackedCount bytes have been written or packedCount bytes consumed (each
    // also limited by what is left of its span), and advances both positions by
    // what was consumed and written.
    virtual void Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos, std::span<std::uint8_t> target,
                        std::size_t& targetPos, std::size_t unpackedCount, std::size_t packedCount) = 0;
    // Releases what StartUnpack set up; safe to call more than once.
    virtual void FinishUnpack() {}
    // Prepares a fresh stream; called once before the first Unpack.
    virtual void StartUnpack() {}

protected:
    TDecoder() = default;
    TDecoder(const TDecoder&) = default;
    TDecoder& operator=(const TDecoder&) = default;
};

// Bounds for one Unpack call: how many bytes may still be read and written.
inline std::size_t UnpackLimit(std::size_t spanSize, std::size_t position, std::size_t count)
{
    if (position >= spanSize)
        return 0;
    const std::size_t left = spanSize - position;
    return count < left ? count : left;
}

} // namespace quillmark
