#pragma once
// Turns one row of decoded samples (any scheme, 1..16 bits per sample, either
// byte order, interleaved or planar) into one row of a Bitmap in the pixel
// format the decoder chose. The decoder describes source and target, then
// converts row by row; the row converter is chosen on the first row after a
// setting changed and reused until the next change. Owned by its picture.
#include "formats/Bitmap.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quillmark {

// The numbering is shared by decoders and manager; write the values out.
enum class ColorScheme : std::uint8_t {
    Unknown = 0,
    Indexed = 1,
    Grey = 2,
    GreyAlpha = 3,
    RGB = 4,
    RGBA = 5,
    BGR = 6,
    BGRA = 7,
    CMY = 8,
    CMYK = 9,
    CIELab = 10,
    YCbCr = 11,
    PhotoYCC = 12,
};

enum class ConvertOptions : std::uint8_t {
    None = 0,
    AlphaPresent = 1,  // set and cleared from the scheme when a converter is chosen
    ApplyGamma = 2,    // target: 8-bit colour results go through the gamma table
    ByteSwap = 4,      // source: 16-bit samples are big-endian
    LabByteRange = 8,  // source: L* stored as 0..255 instead of 0..100
};

constexpr ConvertOptions operator|(ConvertOptions a, ConvertOptions b)
{
    return static_cast<ConvertOptions>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
constexpr ConvertOptions operator&(ConvertOptions a, ConvertOptions b)
{
    return static_cast<ConvertOptions>(static_cast<std::uint8_t>(a) & static_cast<std::uint8_t>(b));
}
constexpr ConvertOptions operator~(ConvertOptions a)
{
    return static_cast<ConvertOptions>(static_cast<std::uint8_t>(~static_cast<std::uint8_t>(a)));
}
constexpr bool HasOption(ConvertOptions set, ConvertOptions flag) { return (set & flag) != ConvertOptions::None; }

struct YCbCrCoefficients {
    long double Red = 0.299L;
    long double Green = 0.587L;
    long double Blue = 0.114L;
};

class TColorManager {
public:
    TColorManager();

    // Bits per sample must be 1..16, samples per pixel 1..4; anything else is
    // refused with the user-facing message and leaves the state unchanged.
    void SetSourceBitsPerSample(unsigned bits);
    void SetTargetBitsPerSample(unsigned bits);
    void SetSourceSamplesPerPixel(unsigned samples);
    void SetTargetSamplesPerPixel(unsigned samples);
    void SetSourceColorScheme(ColorScheme scheme);
    void SetTargetColorScheme(ColorScheme scheme);
    void SetSourceOptions(ConvertOptions options);
    void SetTargetOptions(ConvertOptions options);

    unsigned SourceBitsPerSample() const { return m_sourceBPS; }
    unsigned TargetBitsPerSample() const { return m_targetBPS; }
    unsigned SourceSamplesPerPixel() const { return m_sourceSPP; }
    unsigned TargetSamplesPerPixel() const { return m_targetSPP; }
    ColorScheme SourceColorScheme() const { return m_sourceScheme; }
    ColorScheme TargetColorScheme() const { return m_targetScheme; }
    ConvertOptions SourceOptions() const { return m_sourceOptions; }
    ConvertOptions TargetOptions() const { return m_targetOptions; }

    // The Bitmap format that holds the source or target layout; nullopt for a
    // layout no Bitmap format fits (the decoder rejects or replaces it).
    std::optional<PixelFormat> SourcePixelFormat() const;
    std::optional<PixelFormat> TargetPixelFormat() const;

    // A value <= 0 falls back to 2.2 (display) or 1.0 (main); the gamma table
    // is rebuilt from the bit sizes set at the time of the call.
    void SetGamma(long double displayGamma, long double mainGamma = 1.0L);
    long double DisplayGamma() const { return m_displayGamma; }
    long double MainGamma() const { return m_mainGamma; }
    std::uint8_t GammaTable(std::uint8_t value) const { return m_gammaTable[value]; }

    // Subsampling is 1, 2 or 4 with vertical <= horizontal. The values are kept
    // for the decoders; conversion takes one Y, Cb, Cr triple per pixel.
    void SetYCbCrParameters(const YCbCrCoefficients& coefficients, unsigned horizontalSubsampling,
                            unsigned verticalSubsampling);
    unsigned HorizontalSubsampling() const { return m_hSubsampling; }
    unsigned VerticalSubsampling() const { return m_vSubsampling; }

    // Palette from red-green-blue triples of 8 or 16 bits (16-bit ones in the
    // source byte order), interleaved in one span or as three planes. At most
    // 256 entries are made; components pass the gamma table when the target
    // applies gamma.
    std::vector<Color> CreateColorPalette(std::span<const std::uint8_t> interleaved, unsigned bitsPerComponent,
                                          std::size_t entryCount) const;
    std::vector<Color> CreateColorPalette(std::span<const std::span<const std::uint8_t>> planes,
                                          unsigned bitsPerComponent, std::size_t entryCount) const;
    // 2^min(target bits x target samples, 8) evenly spaced levels, reversed
    // when zero means white.
    std::vector<Color> CreateGrayscalePalette(bool minimumIsWhite) const;

    // Converts count target pixels. Within every group of eight target pixels
    // the mask's bits, most significant first, select the pixels written; a
    // source pixel is consumed for each written pixel only. The source is one
    // span of interleaved samples, or one span per sample plane.
    void ConvertRow(std::span<const std::uint8_t> source, std::span<std::uint8_t> target, std::size_t count,
                    std::uint8_t mask = 0xFF);
    void ConvertRow(std::span<const std::span<const std::uint8_t>> planes, std::span<std::uint8_t> target,
                    std::size_t count, std::uint8_t mask = 0xFF);

private:
    enum class Converter { None, BitPacking, Grey, RGBFamily, CMYK, CIELab, YCbCr };

    // Where sample s of source pixel j lives: Data[Offset + j * Step].
    struct Channel {
        std::span<const std::uint8_t> Data;
        std::size_t Offset = 0;
        std::size_t Step = 0;
    };

    void MarkChanged() { m_changed = true; }
    void PrepareConversion();
    void BuildGammaTable();
    void BuildYCbCrTables();
    void CheckTarget(std::span<std::uint8_t> target, std::size_t count) const;
    void Convert(std::span<const Channel> channels, std::span<std::uint8_t> target, std::size_t count,
                 std::uint8_t mask);

    void RowConvertBitPacking(std::span<const std::uint8_t> source, std::span<std::uint8_t> target,
                              std::size_t count, std::uint8_t mask) const;
    void RowConvertGrey(std::span<const Channel> channels, std::span<std::uint8_t> target, std::size_t count,
                        std::uint8_t mask) const;
    void RowConvertRGBFamily(std::span<const Channel> channels, std::span<std::uint8_t> target, std::size_t count,
                             std::uint8_t mask) const;
    void RowConvertCMYK(std::span<const Channel> channels, std::span<std::uint8_t> target, std::size_t count,
                        std::uint8_t mask) const;
    void RowConvertCIELab(std::span<const Channel> channels, std::span<std::uint8_t> target, std::size_t count,
                          std::uint8_t mask) const;
    void RowConvertYCbCr(std::span<const Channel> channels, std::span<std::uint8_t> target, std::size_t count,
                         std::uint8_t mask) const;

    std::uint32_t ReadSample(const Channel& channel, std::size_t pixel) const;
    std::uint8_t ReadSample8(const Channel& channel, std::size_t pixel) const;
    void WriteColor(std::span<std::uint8_t> target, std::size_t pixel, int red, int green, int blue) const;

    unsigned m_sourceBPS = 8;  // 1..16
    unsigned m_targetBPS = 8;  // 1..16
    unsigned m_sourceSPP = 3;  // 1..4
    unsigned m_targetSPP = 3;  // 1..4
    ColorScheme m_sourceScheme = ColorScheme::RGB;
    ColorScheme m_targetScheme = ColorScheme::BGR;
    ConvertOptions m_sourceOptions = ConvertOptions::None;
    ConvertOptions m_targetOptions = ConvertOptions::None;
    long double m_mainGamma = 1.0L;     // > 0
    long double m_displayGamma = 2.2L;  // > 0
    std::array<std::uint8_t, 256> m_gammaTable{};
    YCbCrCoefficients m_coefficients;
    unsigned m_hSubsampling = 1;  // 1, 2, 4
    unsigned m_vSubsampling = 1;  // 1, 2, 4, <= horizontal
    std::array<int, 256> m_crToRed{};
    std::array<int, 256> m_cbToBlue{};
    std::array<int, 256> m_crToGreen{};
    std::array<int, 256> m_cbToGreen{};
    Converter m_converter = Converter::None;
    bool m_changed = true;
};

} // namespace quillmark
