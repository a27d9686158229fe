#pragma once
// zlib inflate as a TDecoder, for PNG image data and deflate-compressed TIFF
// strips. The inflate state lives from StartUnpack to FinishUnpack (and is
// freed by the destructor on every path). With automatic reset the state starts
// over before every Unpack, so each call takes one complete stream.
#include "formats/Decoder.h"

#include <zlib.h>

#include <string>

namespace quillmark {

class TLZ77Decoder : public TDecoder {
public:
    // flushMode is the zlib flush argument of every inflate call; errors of
    // Unpack carry unpackError.
    TLZ77Decoder(int flushMode, bool autoReset, std::string unpackError = "LZ77 decompression error.");
    ~TLZ77Decoder() override;
    TLZ77Decoder(const TLZ77Decoder&) = delete;
    TLZ77Decoder& operator=(const TLZ77Decoder&) = delete;

    void Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos, std::span<std::uint8_t> target,
                std::size_t& targetPos, std::size_t unpackedCount, std::size_t packedCount) override;
    void FinishUnpack() override;
    void StartUnpack() override;

    // The stream's end was reached by the last Unpack (cleared by a reset).
    bool StreamEnded() const { return m_streamEnded; }

private:
    z_stream m_stream{};
    int m_flushMode;
    bool m_autoReset;
    bool m_started = false;
    bool m_streamEnded = false;
    std::string m_unpackError;
};

} // namespace quillmark
