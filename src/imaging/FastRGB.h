#pragma once
// Geometry and row access of a 24-bit picture in memory: rows run top-down,
// pixel x of row y is blue, green, red at RowTable()[y] + 3x, and every row
// ends in RowPadding() = Width() mod 4 bytes so that it is a multiple of 4
// bytes long. Padding bytes carry no meaning. TFastRGB does not own the
// memory; TFastBMP does, and the geometry never changes after creation.
#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmark {

class TFastRGB {
public:
    TFastRGB(const TFastRGB&) = delete;
    TFastRGB& operator=(const TFastRGB&) = delete;

    std::int32_t RowPadding() const { return m_rowPadding; }
    std::int32_t RowStride() const { return m_rowStride; }
    std::int32_t DataSize() const { return m_dataSize; }
    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }
    bool Empty() const { return m_width == 0 || m_height == 0; }

    // Entry y is the first byte of row y; Height() entries.
    std::uint8_t* const* RowTable() { return m_rowTable; }
    const std::uint8_t* const* RowTable() const { return m_rowTable; }
    std::uint8_t* PixelData() { return m_pixelData; }
    const std::uint8_t* PixelData() const { return m_pixelData; }

    // All DataSize() bytes, padding included.
    std::span<std::uint8_t> Pixels() { return {m_pixelData, static_cast<std::size_t>(m_dataSize)}; }
    std::span<const std::uint8_t> Pixels() const { return {m_pixelData, static_cast<std::size_t>(m_dataSize)}; }

protected:
    TFastRGB() = default;
    ~TFastRGB() = default;

    // Sets the geometry for width x height pixels at pixelData and fills the
    // row table, which must have room for height entries.
    void Attach(std::int32_t width, std::int32_t height, std::uint8_t* pixelData, std::uint8_t** rowTable)
    {
        m_width = width;
        m_height = height;
        m_rowPadding = width % 4;
        m_rowStride = 3 * width + m_rowPadding;
        m_dataSize = m_rowStride * height;
        m_pixelData = pixelData;
        m_rowTable = rowTable;
        for (std::int32_t y = 0; y < height; ++y)
            rowTable[y] = pixelData + static_cast<std::ptrdiff_t>(y) * m_rowStride;
    }

private:
    std::int32_t m_rowPadding = 0;
    std::int32_t m_rowStride = 0;
    std::int32_t m_dataSize = 0;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::uint8_t** m_rowTable = nullptr;
    std::uint8_t* m_pixelData = nullptr;
};

inline int ClampToByte(int v)
{
    if (v > 255)
        return 255;
    if (v < 0)
        return 0;
    return v;
}

// Tests high first, so high wins when low > high.
inline int ClampToRange(int v, int low, int high)
{
    if (v > high)
        return high;
    if (v < low)
        return low;
    return v;
}

} // namespace quillmark
