#include "formats/ColorManager.h"

#include "base/Errors.h"
#include "base/Rounding.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace quillmark {

namespace {

constexpr const char* kBadBitsPerSample = "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
constexpr const char* kBadSampleCount = "Sample count per pixel does not correspond to the given color scheme.";
constexpr const char* kNoConverter = "Color conversion failed. Could not find a proper method.";
constexpr const char* kIndexedMismatch = "Conversion between indexed and non-indexed pixel formats is not supported.";
constexpr const char* kBadSubsampling = "Subsampling value is invalid. Allowed are 1, 2 and 4.";
constexpr const char* kBadSubsamplingOrder = "Vertical subsampling value must be <= horizontal subsampling value.";

bool SourceIsPaletteLike(ColorScheme s)
{
    return s == ColorScheme::Indexed || s == ColorScheme::Grey || s == ColorScheme::GreyAlpha;
}

bool TargetIsPaletteLike(ColorScheme s) { return s == ColorScheme::Indexed || s == ColorScheme::Grey; }

bool SchemeHasAlpha(ColorScheme s)
{
    return s == ColorScheme::GreyAlpha || s == ColorScheme::RGBA || s == ColorScheme::BGRA;
}

bool IsRGBFamily(ColorScheme s)
{
    return s == ColorScheme::RGB || s == ColorScheme::RGBA || s == ColorScheme::BGR || s == ColorScheme::BGRA;
}

bool IsRGBOrder(ColorScheme s) { return s == ColorScheme::RGB || s == ColorScheme::RGBA; }

std::uint32_t MaxValue(unsigned bits) { return (std::uint32_t{1} << bits) - 1; }

// n bits to m bits: v * (2^m - 1) div (2^n - 1). Covers 16 -> 8 (v * 255 div
// 65535), 8 -> 16 (v * 65535 div 255) and the small sizes alike.
std::uint32_t Rescale(std::uint32_t v, unsigned fromBits, unsigned toBits)
{
    if (fromBits == toBits)
        return v;
    return static_cast<std::uint32_t>(std::uint64_t{v} * MaxValue(toBits) / MaxValue(fromBits));
}

std::uint8_t ClampByte(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

bool Selected(std::uint8_t mask, std::size_t pixel) { return (mask & (0x80u >> (pixel & 7u))) != 0; }

std::size_t WrittenPixels(std::size_t count, std::uint8_t mask)
{
    const auto full = static_cast<std::size_t>(std::popcount(mask));
    const std::size_t rest = count % 8;
    const auto partial = static_cast<unsigned>(mask) & (0xFF00u >> rest) & 0xFFu;
    return count / 8 * full + static_cast<std::size_t>(std::popcount(partial));
}

std::size_t BitsToBytes(std::uint64_t bits) { return static_cast<std::size_t>((bits + 7) / 8); }

// Sample of `bits` bits at bit position `pos`, most significant bit first.
std::uint32_t ReadBits(std::span<const std::uint8_t> data, std::uint64_t pos, unsigned bits)
{
    if (bits <= 8 && 8 % bits == 0) {
        const std::uint8_t byte = data[static_cast<std::size_t>(pos / 8)];
        const auto shift = static_cast<unsigned>(8 - bits - pos % 8);
        return (byte >> shift) & MaxValue(bits);
    }
    std::uint32_t v = 0;
    for (unsigned i = 0; i < bits; ++i, ++pos) {
        const std::uint8_t byte = data[static_cast<std::size_t>(pos / 8)];
        v = (v << 1) | ((byte >> (7 - pos % 8)) & 1u);
    }
    return v;
}

// Merges a sample into the target bits, most significant bit first, leaving
// the neighbouring bits as they were.
void WriteBits(std::span<std::uint8_t> data, std::uint64_t pos, unsigned bits, std::uint32_t v)
{
    if (bits <= 8 && 8 % bits == 0) {
        std::uint8_t& byte = data[static_cast<std::size_t>(pos / 8)];
        const auto shift = static_cast<unsigned>(8 - bits - pos % 8);
        const auto keep = static_cast<unsigned>(~(MaxValue(bits) << shift));
        byte = static_cast<std::uint8_t>((byte & keep) | ((v & MaxValue(bits)) << shift));
        return;
    }
    for (unsigned i = 0; i < bits; ++i, ++pos) {
        std::uint8_t& byte = data[static_cast<std::size_t>(pos / 8)];
        const auto bit = static_cast<unsigned>(7 - pos % 8);
        const unsigned on = (v >> (bits - 1 - i)) & 1u;
        byte = static_cast<std::uint8_t>((byte & ~(1u << bit)) | (on << bit));
    }
}

// Takes a new value for a setting; true when it changed, so the converter
// must be chosen again.
template <class T>
bool AssignChanged(T& field, T value)
{
    if (value == field)
        return false;
    field = value;
    return true;
}

// The same for one of the count settings, after checking its range.
bool AssignCount(unsigned& field, unsigned value, unsigned low, unsigned high, const char* message)
{
    if (value < low || value > high)
        throw ColorConversionError(message);
    return AssignChanged(field, value);
}

} // namespace

TColorManager::TColorManager() { BuildGammaTable(); }

void TColorManager::SetSourceBitsPerSample(unsigned bits)
{
    if (AssignCount(m_sourceBPS, bits, 1, 16, kBadBitsPerSample))
        MarkChanged();
}

void TColorManager::SetTargetBitsPerSample(unsigned bits)
{
    if (AssignCount(m_targetBPS, bits, 1, 16, kBadBitsPerSample))
        MarkChanged();
}

void TColorManager::SetSourceSamplesPerPixel(unsigned samples)
{
    if (AssignCount(m_sourceSPP, samples, 1, 4, kBadSampleCount))
        MarkChanged();
}

void TColorManager::SetTargetSamplesPerPixel(unsigned samples)
{
    if (AssignCount(m_targetSPP, samples, 1, 4, kBadSampleCount))
        MarkChanged();
}

void TColorManager::SetSourceColorScheme(ColorScheme scheme)
{
    if (AssignChanged(m_sourceScheme, scheme))
        MarkChanged();
}

void TColorManager::SetTargetColorScheme(ColorScheme scheme)
{
    if (AssignChanged(m_targetScheme, scheme))
        MarkChanged();
}

void TColorManager::SetSourceOptions(ConvertOptions options)
{
    if (AssignChanged(m_sourceOptions, options))
        MarkChanged();
}

void TColorManager::SetTargetOptions(ConvertOptions options)
{
    if (AssignChanged(m_targetOptions, options))
        MarkChanged();
}

namespace {

std::optional<PixelFormat> FormatFor(unsigned bits, unsigned samples)
{
    switch (samples) {
    case 1:
        if (bits == 1)
            return PixelFormat::Bits1;
        if (bits >= 2 && bits <= 4)
            return PixelFormat::Bits4;
        if (bits >= 8)
            return PixelFormat::Bits8;
        return std::nullopt;
    case 3: return bits <= 5 ? PixelFormat::Bits15 : PixelFormat::Bits24;
    case 4:
        if (bits >= 8)
            return PixelFormat::Bits32;
        return std::nullopt;
    default: return std::nullopt;
    }
}

} // namespace

std::optional<PixelFormat> TColorManager::SourcePixelFormat() const { return FormatFor(m_sourceBPS, m_sourceSPP); }

std::optional<PixelFormat> TColorManager::TargetPixelFormat() const { return FormatFor(m_targetBPS, m_targetSPP); }

void TColorManager::SetGamma(long double displayGamma, long double mainGamma)
{
    m_displayGamma = displayGamma <= 0 ? 2.2L : displayGamma;
    m_mainGamma = mainGamma <= 0 ? 1.0L : mainGamma;
    BuildGammaTable();
}

void TColorManager::BuildGammaTable()
{
    const std::uint32_t small = MaxValue(std::min(m_targetBPS, 8u));
    const std::uint32_t c = m_sourceBPS >= 8 ? 255 : small;
    const std::uint32_t m = m_targetBPS >= 8 ? 255 : small;
    const long double exponent = 1.0L / (m_mainGamma * m_displayGamma);
    for (std::uint32_t i = 0; i < 256; ++i) {
        // Entries past c are never looked up by a sample of c's size; they
        // saturate so that the table stays monotone.
        const long double x = static_cast<long double>(std::min(i, c)) / static_cast<long double>(c);
        const auto v = RoundHalfEven(std::pow(x, exponent) * static_cast<long double>(m));
        m_gammaTable[i] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 255));
    }
}

void TColorManager::SetYCbCrParameters(const YCbCrCoefficients& coefficients, unsigned horizontalSubsampling,
                                       unsigned verticalSubsampling)
{
    const auto allowed = [](unsigned v) { return v == 1 || v == 2 || v == 4; };
    if (!allowed(horizontalSubsampling) || !allowed(verticalSubsampling))
        throw ColorConversionError(kBadSubsampling);
    if (verticalSubsampling > horizontalSubsampling)
        throw ColorConversionError(kBadSubsamplingOrder);
    m_coefficients = coefficients;
    m_hSubsampling = horizontalSubsampling;
    m_vSubsampling = verticalSubsampling;
    MarkChanged();
}

void TColorManager::BuildYCbCrTables()
{
    const long double kr = m_coefficients.Red;
    const long double kg = m_coefficients.Green;
    const long double kb = m_coefficients.Blue;
    if (kg == 0)
        throw ColorConversionError(kNoConverter);
    for (int i = 0; i < 256; ++i) {
        const auto e = static_cast<long double>(i - 128);
        const auto index = static_cast<std::size_t>(i);
        m_crToRed[index] = RoundHalfEven32((2 - 2 * kr) * e);
        m_cbToBlue[index] = RoundHalfEven32((2 - 2 * kb) * e);
        m_crToGreen[index] = -RoundHalfEven32(kr * (2 - 2 * kr) / kg * e);
        m_cbToGreen[index] = -RoundHalfEven32(kb * (2 - 2 * kb) / kg * e);
    }
}

std::vector<Color> TColorManager::CreateColorPalette(std::span<const std::uint8_t> interleaved,
                                                     unsigned bitsPerComponent, std::size_t entryCount) const
{
    if (bitsPerComponent != 8 && bitsPerComponent != 16)
        throw InternalError("palette components must have 8 or 16 bits");
    const std::size_t bytes = bitsPerComponent == 16 ? 2 : 1;
    const std::size_t stride = 3 * bytes;
    const std::size_t entries = std::min<std::size_t>(entryCount, 256);
    if (entries * stride > interleaved.size())
        throw InternalError("palette data shorter than its entry count");
    std::vector<Color> palette(entries);
    const bool swap = HasOption(m_sourceOptions, ConvertOptions::ByteSwap);
    const bool gamma = HasOption(m_targetOptions, ConvertOptions::ApplyGamma);
    for (std::size_t i = 0; i < entries; ++i) {
        std::array<std::uint8_t, 3> rgb{};
        for (std::size_t c = 0; c < 3; ++c) {
            const std::size_t at = i * stride + c * bytes;
            std::uint32_t v = interleaved[at];
            if (bytes == 2) {
                const std::uint32_t second = interleaved[at + 1];
                v = swap ? (v << 8 | second) : (second << 8 | v);
                v = Rescale(v, 16, 8);
            }
            rgb[c] = gamma ? m_gammaTable[v] : static_cast<std::uint8_t>(v);
        }
        palette[i] = Color{rgb[0], rgb[1], rgb[2]};
    }
    return palette;
}

std::vector<Color> TColorManager::CreateColorPalette(std::span<const std::span<const std::uint8_t>> planes,
                                                     unsigned bitsPerComponent, std::size_t entryCount) const
{
    if (planes.size() != 3)
        throw InternalError("a planar palette has three planes");
    if (bitsPerComponent != 8 && bitsPerComponent != 16)
        throw InternalError("palette components must have 8 or 16 bits");
    const std::size_t bytes = bitsPerComponent == 16 ? 2 : 1;
    const std::size_t entries = std::min<std::size_t>(entryCount, 256);
    for (const auto& plane : planes)
        if (entries * bytes > plane.size())
            throw InternalError("palette plane shorter than its entry count");
    std::vector<Color> palette(entries);
    const bool swap = HasOption(m_sourceOptions, ConvertOptions::ByteSwap);
    const bool gamma = HasOption(m_targetOptions, ConvertOptions::ApplyGamma);
    for (std::size_t i = 0; i < entries; ++i) {
        std::array<std::uint8_t, 3> rgb{};
        for (std::size_t c = 0; c < 3; ++c) {
            std::uint32_t v = planes[c][i * bytes];
            if (bytes == 2) {
                const std::uint32_t second = planes[c][i * bytes + 1];
                v = swap ? (v << 8 | second) : (second << 8 | v);
                v = Rescale(v, 16, 8);
            }
            rgb[c] = gamma ? m_gammaTable[v] : static_cast<std::uint8_t>(v);
        }
        palette[i] = Color{rgb[0], rgb[1], rgb[2]};
    }
    return palette;
}

std::vector<Color> TColorManager::CreateGrayscalePalette(bool minimumIsWhite) const
{
    const unsigned bits = std::min(m_targetBPS * m_targetSPP, 8u);
    const std::size_t entries = std::size_t{1} << bits;
    const auto step = static_cast<std::uint32_t>(255 / (entries - 1));
    const bool gamma = HasOption(m_targetOptions, ConvertOptions::ApplyGamma);
    std::vector<Color> palette(entries);
    for (std::size_t i = 0; i < entries; ++i) {
        auto level = static_cast<std::uint8_t>(i * step);
        if (gamma)
            level = m_gammaTable[level];
        palette[minimumIsWhite ? entries - 1 - i : i] = Color{level, level, level};
    }
    return palette;
}

void TColorManager::PrepareConversion()
{
    if (SourceIsPaletteLike(m_sourceScheme) != TargetIsPaletteLike(m_targetScheme))
        throw ColorConversionError(kIndexedMismatch);

    m_sourceOptions = SchemeHasAlpha(m_sourceScheme) ? (m_sourceOptions | ConvertOptions::AlphaPresent)
                                                     : (m_sourceOptions & ~ConvertOptions::AlphaPresent);
    m_targetOptions = SchemeHasAlpha(m_targetScheme) ? (m_targetOptions | ConvertOptions::AlphaPresent)
                                                     : (m_targetOptions & ~ConvertOptions::AlphaPresent);

    const auto byteSized = [](unsigned bits) { return bits == 8 || bits == 16; };
    // Colour converters read 8- or 16-bit samples and write 8-bit ones.
    const bool colourTarget = IsRGBFamily(m_targetScheme) && m_targetBPS == 8 && m_targetSPP >= 3;
    const bool colourSource = byteSized(m_sourceBPS);

    m_converter = Converter::None;
    switch (m_sourceScheme) {
    case ColorScheme::Indexed:
        if (m_sourceSPP == 1 && m_targetSPP == 1)
            m_converter = Converter::BitPacking;
        break;
    case ColorScheme::Grey:
        if (m_sourceBPS != 16 && m_targetBPS != 16 && m_sourceSPP == 1 && m_targetSPP == 1)
            m_converter = Converter::BitPacking;
        else if (m_sourceBPS >= 8 && m_targetBPS >= 8 && m_targetSPP == 1)
            m_converter = Converter::Grey;
        break;
    case ColorScheme::GreyAlpha:
        if (byteSized(m_sourceBPS) && byteSized(m_targetBPS) && m_sourceSPP >= 2 && m_targetSPP == 1)
            m_converter = Converter::Grey;
        break;
    case ColorScheme::RGB:
    case ColorScheme::RGBA:
    case ColorScheme::BGR:
    case ColorScheme::BGRA:
        if (colourTarget && colourSource && m_sourceSPP >= 3)
            m_converter = Converter::RGBFamily;
        break;
    case ColorScheme::CMYK:
        if (colourTarget && colourSource && m_sourceSPP >= 4)
            m_converter = Converter::CMYK;
        break;
    case ColorScheme::CIELab:
        if (colourTarget && colourSource && m_sourceSPP >= 3)
            m_converter = Converter::CIELab;
        break;
    case ColorScheme::YCbCr:
        if (colourTarget && colourSource && m_sourceSPP >= 3) {
            BuildYCbCrTables();
            m_converter = Converter::YCbCr;
        }
        break;
    case ColorScheme::PhotoYCC:
    case ColorScheme::CMY:
    case ColorScheme::Unknown: break;
    }
    m_changed = false;
}

void TColorManager::CheckTarget(std::span<std::uint8_t> target, std::size_t count) const
{
    std::uint64_t bitsPerPixel = std::uint64_t{m_targetBPS} * m_targetSPP;
    if (m_converter != Converter::BitPacking)
        bitsPerPixel = std::uint64_t{(m_targetBPS + 7) / 8} * 8 * m_targetSPP;
    if (BitsToBytes(bitsPerPixel * count) > target.size())
        throw InternalError("target row shorter than its pixel count");
}

void TColorManager::ConvertRow(std::span<const std::uint8_t> source, std::span<std::uint8_t> target,
                               std::size_t count, std::uint8_t mask)
{
    const std::size_t bytes = (m_sourceBPS + 7) / 8;
    std::array<Channel, 4> channels{};
    for (std::size_t s = 0; s < m_sourceSPP; ++s)
        channels[s] = Channel{source, s * bytes, m_sourceSPP * bytes};
    if (m_changed)
        PrepareConversion();
    if (m_converter == Converter::BitPacking) {
        CheckTarget(target, count);
        const std::uint64_t bits = std::uint64_t{m_sourceBPS} * m_sourceSPP * WrittenPixels(count, mask);
        if (BitsToBytes(bits) > source.size())
            throw InternalError("source row shorter than its pixel count");
        RowConvertBitPacking(source, target, count, mask);
        return;
    }
    Convert(std::span<const Channel>(channels).first(m_sourceSPP), target, count, mask);
}

void TColorManager::ConvertRow(std::span<const std::span<const std::uint8_t>> planes,
                               std::span<std::uint8_t> target, std::size_t count, std::uint8_t mask)
{
    if (planes.size() == 1) {
        ConvertRow(planes[0], target, count, mask);
        return;
    }
    if (planes.size() < m_sourceSPP)
        throw InternalError("fewer sample planes than samples per pixel");
    const std::size_t bytes = (m_sourceBPS + 7) / 8;
    std::array<Channel, 4> channels{};
    for (std::size_t s = 0; s < m_sourceSPP; ++s)
        channels[s] = Channel{planes[s], 0, bytes};
    if (m_changed)
        PrepareConversion();
    if (m_converter == Converter::BitPacking) {
        ConvertRow(planes[0], target, count, mask);
        return;
    }
    Convert(std::span<const Channel>(channels).first(m_sourceSPP), target, count, mask);
}

void TColorManager::Convert(std::span<const Channel> channels, std::span<std::uint8_t> target, std::size_t count,
                            std::uint8_t mask)
{
    if (m_converter == Converter::None)
        throw ColorConversionError(kNoConverter);
    CheckTarget(target, count);
    const std::size_t written = WrittenPixels(count, mask);
    if (written > 0) {
        const std::size_t bytes = (m_sourceBPS + 7) / 8;
        for (const Channel& ch : channels)
            if (ch.Offset + (written - 1) * ch.Step + bytes > ch.Data.size())
                throw InternalError("source row shorter than its pixel count");
    }
    switch (m_converter) {
    case Converter::Grey: RowConvertGrey(channels, target, count, mask); break;
    case Converter::RGBFamily: RowConvertRGBFamily(channels, target, count, mask); break;
    case Converter::CMYK: RowConvertCMYK(channels, target, count, mask); break;
    case Converter::CIELab: RowConvertCIELab(channels, target, count, mask); break;
    case Converter::YCbCr: RowConvertYCbCr(channels, target, count, mask); break;
    case Converter::BitPacking:
    case Converter::None: break;
    }
}

std::uint32_t TColorManager::ReadSample(const Channel& channel, std::size_t pixel) const
{
    const std::size_t at = channel.Offset + pixel * channel.Step;
    if (m_sourceBPS <= 8)
        return channel.Data[at];
    const std::uint32_t first = channel.Data[at];
    const std::uint32_t second = channel.Data[at + 1];
    return HasOption(m_sourceOptions, ConvertOptions::ByteSwap) ? (first << 8 | second) : (second << 8 | first);
}

std::uint8_t TColorManager::ReadSample8(const Channel& channel, std::size_t pixel) const
{
    const std::uint32_t v = ReadSample(channel, pixel);
    return static_cast<std::uint8_t>(m_sourceBPS == 16 ? Rescale(v, 16, 8) : v);
}

void TColorManager::WriteColor(std::span<std::uint8_t> target, std::size_t pixel, int red, int green,
                               int blue) const
{
    std::uint8_t r = ClampByte(red);
    std::uint8_t g = ClampByte(green);
    std::uint8_t b = ClampByte(blue);
    if (HasOption(m_targetOptions, ConvertOptions::ApplyGamma)) {
        r = m_gammaTable[r];
        g = m_gammaTable[g];
        b = m_gammaTable[b];
    }
    const std::size_t at = pixel * m_targetSPP;
    const bool rgbOrder = IsRGBOrder(m_targetScheme);
    target[at] = rgbOrder ? r : b;
    target[at + 1] = g;
    target[at + 2] = rgbOrder ? b : r;
}

void TColorManager::RowConvertBitPacking(std::span<const std::uint8_t> source, std::span<std::uint8_t> target,
                                         std::size_t count, std::uint8_t mask) const
{
    const unsigned from = m_sourceBPS;
    const unsigned to = m_targetBPS;
    const bool swap = HasOption(m_sourceOptions, ConvertOptions::ByteSwap);
    if (from == to && mask == 0xFF && !(from == 16 && swap)) {
        const std::size_t n = BitsToBytes(std::uint64_t{from} * count);
        std::copy_n(source.begin(), n, target.begin());
        return;
    }
    // Palette indices keep their value when the target is wide enough: scaling
    // index 3 of a 2-bit picture to 15 would point past its palette.
    const bool keepValue = m_sourceScheme == ColorScheme::Indexed && from <= to;
    std::size_t consumed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!Selected(mask, i))
            continue;
        std::uint32_t v = 0;
        if (from == 16) {
            const std::uint32_t first = source[consumed * 2];
            const std::uint32_t second = source[consumed * 2 + 1];
            v = swap ? (first << 8 | second) : (second << 8 | first);
        } else {
            v = ReadBits(source, std::uint64_t{consumed} * from, from);
        }
        ++consumed;
        if (!keepValue)
            v = Rescale(v, from, to);
        if (to == 16) {
            target[i * 2] = static_cast<std::uint8_t>(v);
            target[i * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
        } else {
            WriteBits(target, std::uint64_t{i} * to, to, v);
        }
    }
}

void TColorManager::RowConvertGrey(std::span<const Channel> channels, std::span<std::uint8_t> target,
                                   std::size_t count, std::uint8_t mask) const
{
    // The grey sample is channel 0; an alpha sample, if any, is skipped.
    const Channel& grey = channels[0];
    const unsigned to = m_targetBPS;
    std::size_t consumed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!Selected(mask, i))
            continue;
        const std::uint32_t v = Rescale(ReadSample(grey, consumed++), m_sourceBPS, to);
        if (to > 8) {
            target[i * 2] = static_cast<std::uint8_t>(v);
            target[i * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
        } else {
            target[i] = static_cast<std::uint8_t>(v);
        }
    }
}

void TColorManager::RowConvertRGBFamily(std::span<const Channel> channels, std::span<std::uint8_t> target,
                                        std::size_t count, std::uint8_t mask) const
{
    const bool sourceRGB = IsRGBOrder(m_sourceScheme);
    const Channel& red = channels[sourceRGB ? 0 : 2];
    const Channel& green = channels[1];
    const Channel& blue = channels[sourceRGB ? 2 : 0];
    const bool copyAlpha = HasOption(m_sourceOptions, ConvertOptions::AlphaPresent) &&
                           HasOption(m_targetOptions, ConvertOptions::AlphaPresent) && channels.size() >= 4 &&
                           m_targetSPP >= 4;
    // The common case, whole rows of 8-bit samples without gamma: a plain
    // copy loop the compiler can keep in registers (bounds were checked by
    // Convert). It writes exactly what the general loop below writes.
    if (mask == 0xFF && m_sourceBPS == 8 && !copyAlpha && !HasOption(m_targetOptions, ConvertOptions::ApplyGamma)) {
        const std::uint8_t* r = red.Data.data() + red.Offset;
        const std::uint8_t* g = green.Data.data() + green.Offset;
        const std::uint8_t* b = blue.Data.data() + blue.Offset;
        const std::size_t rs = red.Step;
        const std::size_t gs = green.Step;
        const std::size_t bs = blue.Step;
        std::uint8_t* out = target.data();
        const std::size_t spp = m_targetSPP;
        const std::size_t first = IsRGBOrder(m_targetScheme) ? 0 : 2;
        // Interleaved 3-byte pixels to 3-byte pixels: a copy or a swap of
        // whole rows.
        const auto ra = reinterpret_cast<std::uintptr_t>(r);
        const auto ga = reinterpret_cast<std::uintptr_t>(g);
        const auto ba = reinterpret_cast<std::uintptr_t>(b);
        const bool storedRGB = ga == ra + 1 && ba == ra + 2;
        const bool storedBGR = ga == ba + 1 && ra == ba + 2;
        if (rs == 3 && gs == 3 && bs == 3 && spp == 3 && (storedRGB || storedBGR)) {
            const std::uint8_t* pixels = storedRGB ? r : b;
            if ((first == 0) == storedRGB)
                std::memmove(out, pixels, 3 * count);
            else
                SwapRedBlueRow(pixels, out, 3 * count);
            return;
        }
        for (std::size_t i = 0; i < count; ++i) {
            out[i * spp + first] = r[i * rs];
            out[i * spp + 1] = g[i * gs];
            out[i * spp + 2 - first] = b[i * bs];
        }
        return;
    }
    std::size_t consumed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!Selected(mask, i))
            continue;
        WriteColor(target, i, ReadSample8(red, consumed), ReadSample8(green, consumed),
                   ReadSample8(blue, consumed));
        if (copyAlpha)
            target[i * m_targetSPP + 3] = ReadSample8(channels[3], consumed);
        ++consumed;
    }
}

void TColorManager::RowConvertCMYK(std::span<const Channel> channels, std::span<std::uint8_t> target,
                                   std::size_t count, std::uint8_t mask) const
{
    std::size_t consumed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!Selected(mask, i))
            continue;
        const int c = ReadSample8(channels[0], consumed);
        const int m = ReadSample8(channels[1], consumed);
        const int y = ReadSample8(channels[2], consumed);
        const int k = ReadSample8(channels[3], consumed);
        ++consumed;
        WriteColor(target, i, 255 - c - k + c * k / 255, 255 - m - k + m * k / 255, 255 - y - k + y * k / 255);
    }
}

void TColorManager::RowConvertCIELab(std::span<const Channel> channels, std::span<std::uint8_t> target,
                                     std::size_t count, std::uint8_t mask) const
{
    const bool byteRange = HasOption(m_sourceOptions, ConvertOptions::LabByteRange);
    // a* and b* are signed; of 16-bit samples their high byte is used.
    const auto signedSample = [this](const Channel& ch, std::size_t pixel) {
        const std::uint32_t v = ReadSample(ch, pixel);
        return static_cast<double>(static_cast<std::int8_t>(m_sourceBPS == 16 ? v >> 8 : v));
    };
    std::size_t consumed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!Selected(mask, i))
            continue;
        double l = ReadSample8(channels[0], consumed);
        if (byteRange)
            l /= 2.55;
        const double a = signedSample(channels[1], consumed);
        const double b = signedSample(channels[2], consumed);
        ++consumed;
        double x = 0;
        double y = 0;
        double z = 0;
        if (l < 7.9996) {
            y = l / 903.3;
            x = y + a / 3893.5;
            z = y - b / 1557.4;
        } else {
            const double f = (l + 16) / 116;
            y = f * f * f;
            const double fx = f + a / 500;
            const double fz = f - b / 200;
            x = fx * fx * fx;
            z = fz * fz * fz;
        }
        const auto channel = [](double v) {
            return static_cast<int>(std::clamp(std::nearbyint(v * 255), -1.0, 256.0));
        };
        WriteColor(target, i, channel(2.998 * x - 1.458 * y - 0.541 * z), channel(-0.952 * x + 1.893 * y + 0.059 * z),
                   channel(0.099 * x - 0.198 * y + 1.099 * z));
    }
}

void TColorManager::RowConvertYCbCr(std::span<const Channel> channels, std::span<std::uint8_t> target,
                                    std::size_t count, std::uint8_t mask) const
{
    std::size_t consumed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!Selected(mask, i))
            continue;
        const int y = ReadSample8(channels[0], consumed);
        const std::size_t cb = ReadSample8(channels[1], consumed);
        const std::size_t cr = ReadSample8(channels[2], consumed);
        ++consumed;
        WriteColor(target, i, y + m_crToRed[cr], y + m_cbToGreen[cb] + m_crToGreen[cr], y + m_cbToBlue[cb]);
    }
}

} // namespace quillmark
