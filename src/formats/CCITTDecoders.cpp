#include "formats/CCITTDecoders.h"

#include "base/Errors.h"

#include <algorithm>

// CCITT T.4 one-dimensional coding: each row is a sequence of runs that
// alternate white and black, starting white (a row that starts black begins
// with a white run of 0). A run of 64 or more is a make-up code followed by
// further codes of the same colour, ending with a terminating code (0..63).
// Codes are matched bit by bit through one binary tree per colour.
//
// Kept on purpose:
// - A modified Huffman row (compression 2) starts on a new input byte: the
//   rest of the byte after a complete row is dropped.
// - Word-aligned rows (compression 32771) start on an even input byte; the
//   output rows stay packed one after another.
// - Group 3 rows are found by their end-of-line codes; data without them
//   leaves the rows white.

namespace quillmark {

namespace {

struct Code {
    const char* Bits;
    int Run;
};

// T.4 terminating codes 0..63 and make-up codes 64..1728.
constexpr Code kWhiteCodes[] = {
    {"00110101", 0},   {"000111", 1},     {"0111", 2},       {"1000", 3},       {"1011", 4},
    {"1100", 5},       {"1110", 6},       {"1111", 7},       {"10011", 8},      {"10100", 9},
    {"00111", 10},     {"01000", 11},     {"001000", 12},    {"000011", 13},    {"110100", 14},
    {"110101", 15},    {"101010", 16},    {"101011", 17},    {"0100111", 18},   {"0001100", 19},
    {"0001000", 20},   {"0010111", 21},   {"0000011", 22},   {"0000100", 23},   {"0101000", 24},
    {"0101011", 25},   {"0010011", 26},   {"0100100", 27},   {"0011000", 28},   {"00000010", 29},
    {"00000011", 30},  {"00011010", 31},  {"00011011", 32},  {"00010010", 33},  {"00010011", 34},
    {"00010100", 35},  {"00010101", 36},  {"00010110", 37},  {"00010111", 38},  {"00101000", 39},
    {"00101001", 40},  {"00101010", 41},  {"00101011", 42},  {"00101100", 43},  {"00101101", 44},
    {"00000100", 45},  {"00000101", 46},  {"00001010", 47},  {"00001011", 48},  {"01010010", 49},
    {"01010011", 50},  {"01010100", 51},  {"01010101", 52},  {"00100100", 53},  {"00100101", 54},
    {"01011000", 55},  {"01011001", 56},  {"01011010", 57},  {"01011011", 58},  {"01001010", 59},
    {"01001011", 60},  {"00110010", 61},  {"00110011", 62},  {"00110100", 63},  {"11011", 64},
    {"10010", 128},    {"010111", 192},   {"0110111", 256},  {"00110110", 320}, {"00110111", 384},
    {"01100100", 448}, {"01100101", 512}, {"01101000", 576}, {"01100111", 640}, {"011001100", 704},
    {"011001101", 768},  {"011010010", 832},  {"011010011", 896},  {"011010100", 960},
    {"011010101", 1024}, {"011010110", 1088}, {"011010111", 1152}, {"011011000", 1216},
    {"011011001", 1280}, {"011011010", 1344}, {"011011011", 1408}, {"010011000", 1472},
    {"010011001", 1536}, {"010011010", 1600}, {"011000", 1664},    {"010011011", 1728},
};

constexpr Code kBlackCodes[] = {
    {"0000110111", 0},    {"010", 1},           {"11", 2},            {"10", 3},
    {"011", 4},           {"0011", 5},          {"0010", 6},          {"00011", 7},
    {"000101", 8},        {"000100", 9},        {"0000100", 10},      {"0000101", 11},
    {"0000111", 12},      {"00000100", 13},     {"00000111", 14},     {"000011000", 15},
    {"0000010111", 16},   {"0000011000", 17},   {"0000001000", 18},   {"00001100111", 19},
    {"00001101000", 20},  {"00001101100", 21},  {"00000110111", 22},  {"00000101000", 23},
    {"00000010111", 24},  {"00000011000", 25},  {"000011001010", 26}, {"000011001011", 27},
    {"000011001100", 28}, {"000011001101", 29}, {"000001101000", 30}, {"000001101001", 31},
    {"000001101010", 32}, {"000001101011", 33}, {"000011010010", 34}, {"000011010011", 35},
    {"000011010100", 36}, {"000011010101", 37}, {"000011010110", 38}, {"000011010111", 39},
    {"000001101100", 40}, {"000001101101", 41}, {"000011011010", 42}, {"000011011011", 43},
    {"000001010100", 44}, {"000001010101", 45}, {"000001010110", 46}, {"000001010111", 47},
    {"000001100100", 48}, {"000001100101", 49}, {"000001010010", 50}, {"000001010011", 51},
    {"000000100100", 52}, {"000000110111", 53}, {"000000111000", 54}, {"000000100111", 55},
    {"000000101000", 56}, {"000001011000", 57}, {"000001011001", 58}, {"000000101011", 59},
    {"000000101100", 60}, {"000001011010", 61}, {"000001100110", 62}, {"000001100111", 63},
    {"0000001111", 64},     {"000011001000", 128},  {"000011001001", 192},  {"000001011011", 256},
    {"000000110011", 320},  {"000000110100", 384},  {"000000110101", 448},  {"0000001101100", 512},
    {"0000001101101", 576}, {"0000001001010", 640}, {"0000001001011", 704}, {"0000001001100", 768},
    {"0000001001101", 832}, {"0000001110010", 896}, {"0000001110011", 960}, {"0000001110100", 1024},
    {"0000001110101", 1088}, {"0000001110110", 1152}, {"0000001110111", 1216}, {"0000001010010", 1280},
    {"0000001010011", 1344}, {"0000001010100", 1408}, {"0000001010101", 1472}, {"0000001011010", 1536},
    {"0000001011011", 1600}, {"0000001100100", 1664}, {"0000001100101", 1728},
};

// Make-up codes 1792..2560, the same for both colours.
constexpr Code kExtendedCodes[] = {
    {"00000001000", 1792},  {"00000001100", 1856},  {"00000001101", 1920},  {"000000010010", 1984},
    {"000000010011", 2048}, {"000000010100", 2112}, {"000000010101", 2176}, {"000000010110", 2240},
    {"000000010111", 2304}, {"000000011100", 2368}, {"000000011101", 2432}, {"000000011110", 2496},
    {"000000011111", 2560},
};

constexpr unsigned kEolZeros = 11;

std::uint8_t ReverseBits(std::uint8_t b)
{
    unsigned r = 0;
    for (int i = 0; i < 8; ++i)
        r |= ((unsigned{b} >> i) & 1u) << (7 - i);
    return static_cast<std::uint8_t>(r);
}

[[noreturn]] void Fail()
{
    throw CompressionError("CCITT decompression error.");
}

} // namespace

TCCITTMHDecoder::TCCITTMHDecoder(std::uint32_t width, bool reverseBits, bool wordAligned)
    : m_width(width), m_rowBytes((std::size_t{width} + 7) / 8), m_reverseBits(reverseBits), m_wordAligned(wordAligned)
{
    for (auto& tree : m_trees)
        tree.assign(1, Node{});
    for (const Code& c : kWhiteCodes)
        AddCode(m_trees[0], c.Bits, c.Run);
    for (const Code& c : kBlackCodes)
        AddCode(m_trees[1], c.Bits, c.Run);
    for (const Code& c : kExtendedCodes) {
        AddCode(m_trees[0], c.Bits, c.Run);
        AddCode(m_trees[1], c.Bits, c.Run);
    }
    StartUnpack();
}

void TCCITTMHDecoder::AddCode(Tree& tree, const char* bits, int run)
{
    std::size_t node = 0;
    for (const char* p = bits; *p != '\0'; ++p) {
        const auto bit = static_cast<std::size_t>(*p - '0');
        if (tree[node].Child[bit] < 0) {
            tree[node].Child[bit] = static_cast<std::int16_t>(tree.size());
            tree.push_back(Node{});
        }
        node = static_cast<std::size_t>(tree[node].Child[bit]);
        if (tree[node].Run >= 0)
            throw InternalError("CCITT code table is not prefix-free");
    }
    if (tree[node].Child[0] >= 0 || tree[node].Child[1] >= 0)
        throw InternalError("CCITT code table is not prefix-free");
    tree[node].Run = static_cast<std::int16_t>(run);
}

void TCCITTMHDecoder::StartUnpack()
{
    m_state = m_seekEndOfLine ? State::SeekEol : State::Runs;
    m_bitsLeft = 0;
    m_bytesRead = 0;
    m_skipPadByte = false;
    m_zeros = 0;
    m_colour = 0;
    m_node = 0;
    m_codeLength = 0;
    m_zeroPrefix = true;
    m_rowPos = 0;
    m_rowOpen = false;
}

void TCCITTMHDecoder::EndRow()
{
    m_rowPos = 0;
    m_rowOpen = false;
    m_colour = 0;
    m_node = 0;
    m_codeLength = 0;
    m_zeroPrefix = true;
    if (m_seekEndOfLine) {
        m_state = State::SeekEol;
        m_zeros = 0;
        return;
    }
    m_bitsLeft = 0;
    if (m_wordAligned && m_bytesRead % 2 != 0)
        m_skipPadByte = true;
}

void TCCITTMHDecoder::Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos,
                             std::span<std::uint8_t> target, std::size_t& targetPos, std::size_t unpackedCount,
    std::size_t packedCount)
{
    source = source.first(sourcePos + UnpackLimit(source.size(), sourcePos, packedCount));
    target = target.first(targetPos + UnpackLimit(target.size(), targetPos, unpackedCount));
    if (m_width == 0)
        return;
    for (;;) {
        if (m_skipPadByte) {
            if (sourcePos >= source.size())
                return;
            ++sourcePos;
            ++m_bytesRead;
            m_skipPadByte = false;
        }
        if (m_bitsLeft == 0) {
            // A row is begun only where it fits whole.
            if (targetPos > target.size() || target.size() - targetPos < m_rowBytes)
                return;
            if (sourcePos >= source.size())
                return;
            m_byte = m_reverseBits ? ReverseBits(source[sourcePos]) : source[sourcePos];
            ++sourcePos;
            ++m_bytesRead;
            m_bitsLeft = 8;
        }
        --m_bitsLeft;
        const unsigned bit = (unsigned{m_byte} >> m_bitsLeft) & 1u;

        if (m_state == State::SeekEol || m_state == State::SkipZeros) {
            if (bit == 0) {
                ++m_zeros;
                continue;
            }
            if (m_zeros >= kEolZeros) {
                m_state = State::Runs;
            } else if (m_state == State::SkipZeros) {
                Fail();
            }
            m_zeros = 0;
            continue;
        }

        if (!m_rowOpen) {
            std::fill_n(target.begin() + static_cast<std::ptrdiff_t>(targetPos), m_rowBytes, std::uint8_t{0});
            m_rowOpen = true;
        }
        const Tree& tree = m_trees[static_cast<std::size_t>(m_colour)];
        const std::int16_t next = tree[static_cast<std::size_t>(m_node)].Child[bit];
        if (next < 0) {
            // Only the zeros of an end-of-line code (or fill before one) run off the tree.
            if (!m_zeroPrefix || bit != 0)
                Fail();
            m_zeros = m_codeLength + 1;
            m_state = State::SkipZeros;
            m_node = 0;
            m_codeLength = 0;
            continue;
        }
        m_zeroPrefix = m_zeroPrefix && bit == 0;
        ++m_codeLength;
        m_node = next;
        const int run = tree[static_cast<std::size_t>(m_node)].Run;
        if (run < 0)
            continue;
        m_node = 0;
        m_codeLength = 0;
        m_zeroPrefix = true;
        if (std::uint32_t{static_cast<std::uint32_t>(run)} > m_width - m_rowPos)
            Fail();
        if (m_colour == 1) {
            auto row = target.subspan(targetPos, m_rowBytes);
            for (std::uint32_t x = m_rowPos; x < m_rowPos + static_cast<std::uint32_t>(run); ++x)
                row[x / 8] = static_cast<std::uint8_t>(row[x / 8] | (0x80u >> (x % 8)));
        }
        m_rowPos += static_cast<std::uint32_t>(run);
        if (run < 64) {
            m_colour = 1 - m_colour;
            if (m_rowPos == m_width) {
                targetPos += m_rowBytes;
                EndRow();
            }
        }
    }
}

TCCITTFax3Decoder::TCCITTFax3Decoder(std::uint32_t width, bool reverseBits)
    : TCCITTMHDecoder(width, reverseBits)
{
    m_seekEndOfLine = true;
    StartUnpack();
}

} // namespace quillmark
