#include "formats/LZ77Decoder.h"

#include "base/Errors.h"

#include <algorithm>
#include <limits>

namespace quillmark {

namespace {

constexpr const char* kLZ77Error = "LZ77 decompression error.";

uInt ZlibCount(std::size_t n)
{
    return static_cast<uInt>(std::min<std::size_t>(n, std::numeric_limits<uInt>::max()));
}

} // namespace

TLZ77Decoder::TLZ77Decoder(int flushMode, bool autoReset, std::string unpackError)
    : m_flushMode(flushMode), m_autoReset(autoReset), m_unpackError(std::move(unpackError))
{
}

TLZ77Decoder::~TLZ77Decoder()
{
    if (m_started)
        inflateEnd(&m_stream);
}

void TLZ77Decoder::StartUnpack()
{
    FinishUnpack();
    m_stream = z_stream{};
    if (inflateInit(&m_stream) != Z_OK)
        throw CompressionError(kLZ77Error);
    m_started = true;
    m_streamEnded = false;
}

void TLZ77Decoder::FinishUnpack()
{
    if (!m_started)
        return;
    m_started = false;
    if (inflateEnd(&m_stream) != Z_OK)
        throw CompressionError(kLZ77Error);
}

void TLZ77Decoder::Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos,
                          std::span<std::uint8_t> target, std::size_t& targetPos, std::size_t unpackedCount,
                          std::size_t packedCount)
{
    if (!m_started)
        StartUnpack();
    if (m_autoReset) {
        if (inflateReset(&m_stream) != Z_OK)
            throw CompressionError(m_unpackError);
        m_streamEnded = false;
    }
    const std::size_t inCount = UnpackLimit(source.size(), sourcePos, packedCount);
    const std::size_t outCount = UnpackLimit(target.size(), targetPos, unpackedCount);
    if (m_streamEnded || outCount == 0)
        return;
    const auto in = source.subspan(std::min(sourcePos, source.size()), inCount);
    const auto out = target.subspan(std::min(targetPos, target.size()), outCount);
    // zlib's interface takes a non-const input pointer but never writes it.
    m_stream.next_in = const_cast<Bytef*>(in.data());
    m_stream.avail_in = ZlibCount(in.size());
    m_stream.next_out = out.data();
    m_stream.avail_out = ZlibCount(out.size());
    const int result = inflate(&m_stream, m_flushMode);
    sourcePos += in.size() - m_stream.avail_in;
    targetPos += out.size() - m_stream.avail_out;
    m_stream.next_in = nullptr;
    m_stream.next_out = nullptr;
    switch (result) {
    case Z_OK: break;
    case Z_BUF_ERROR: break;  // no progress possible: input or output ran out
    case Z_STREAM_END: m_streamEnded = true; break;
    default: throw CompressionError(m_unpackError);
    }
}

} // namespace quillmark
