#pragma once
// One-dimensional CCITT T.4 decompressors (modified Huffman run lengths) for
// bilevel TIFF strips. Output rows are (width + 7) / 8 bytes, most significant
// bit first, 1 = black. The bit reader and the position inside a row survive
// between calls, so the input may come in any pieces; a row is written only
// where it fits whole into the target.
#include <array>
#include "formats/Decoder.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quillmark {

class TCCITTMHDecoder : public TDecoder {
public:
    // reverseBits: fill order 2 (least significant bit first in each byte).
    // wordAligned: each coded row starts on an even input byte (TIFF 32771).
    TCCITTMHDecoder(std::uint32_t width, bool reverseBits, bool wordAligned = false);
    void StartUnpack() override;
    void Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos, std::span<std::uint8_t> target,
                std::size_t& targetPos, std::size_t unpackedCount, std::size_t packedCount) override;

protected:
    // Group 3 files announce every row with an end-of-line code.
    bool m_seekEndOfLine = false;

private:
    struct Node {
        std::array<std::int16_t, 2> Child{-1, -1};
        std::int16_t Run = -1;  // run length at a leaf, 0..2560
    };
    using Tree = std::vector<Node>;
    static void AddCode(Tree& tree, const char* bits, int run);
    void EndRow();

    enum class State { SeekEol, Runs, SkipZeros };
    std::array<Tree, 2> m_trees;  // white 0, black 1
    std::uint32_t m_width;
    std::size_t m_rowBytes;
    bool m_reverseBits;
    bool m_wordAligned;

    State m_state = State::Runs;
    std::uint8_t m_byte = 0;
    unsigned m_bitsLeft = 0;          // unread bits of m_byte, 0..8
    std::size_t m_bytesRead = 0;      // since StartUnpack, for word alignment
    bool m_skipPadByte = false;
    unsigned m_zeros = 0;             // consecutive 0 bits while looking for an end of line
    int m_colour = 0;                 // 0 white, 1 black
    std::int16_t m_node = 0;          // position in the current colour's tree
    bool m_zeroPrefix = true;         // the code read so far is all 0 bits
    unsigned m_codeLength = 0;        // bits of the code read so far, 0..13
    std::uint32_t m_rowPos = 0;       // pixels of the current row done, 0..width
    bool m_rowOpen = false;           // the current row's target bytes are cleared
};

class TCCITTFax3Decoder : public TCCITTMHDecoder {
public:
    TCCITTFax3Decoder(std::uint32_t width, bool reverseBits);
};

} // namespace quillmark
