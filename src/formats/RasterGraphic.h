#pragma once
// Base of the program's own picture decoders. A TRasterGraphic is the decoded
// Bitmap itself; it owns one TColorManager and the image-properties record a
// decoder fills from the file header. ReadPicture decodes into a fresh Bitmap
// and moves it in only when the whole load succeeded, so a failed load leaves
// the previous picture untouched. Bitmap has no virtual destructor, so a
// picture is never deleted through a Bitmap pointer.
#include "formats/Bitmap.h"
#include "formats/ColorManager.h"

#include <cstdint>
#include <span>

namespace quillmark {

// Texts shared by the decoders; each %s is filled with the file kind's name.
inline constexpr const char* kInvalidImageFormat = "Cannot load image. Invalid or unexpected %s image format.";
inline constexpr const char* kNotSupported = "Cannot load image. %s not supported for %s files.";
inline constexpr const char* kCompressionSchemeIs = "The compression scheme is";
inline constexpr const char* kInvalidColorFormat = "Invalid color format in %s file.";

enum class ImageOptions : std::uint8_t {
    None = 0,
    ByteSwapped = 1,   // 16-bit samples are big-endian
    Tiled = 2,
    MinIsWhite = 4,    // sample value zero means white
    ReversedBitOrder = 8,
    GammaGiven = 16,   // the file gave a gamma value
};

constexpr ImageOptions operator|(ImageOptions a, ImageOptions b)
{
    return static_cast<ImageOptions>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
constexpr bool HasOption(ImageOptions set, ImageOptions flag)
{
    return (static_cast<std::uint8_t>(set) & static_cast<std::uint8_t>(flag)) != 0;
}

enum class CompressionKind : std::uint8_t {
    Unknown,
    None,
    PCXRLE,
    PackBits,
    LZW,
    GIFLZW,
    CCITTModifiedHuffman,
    CCITTModifiedHuffmanWordAligned,
    CCITTFax3,
    CCITTFax4,
    Deflate,
    JPEG,
    OldJPEG,
    ThunderScan,
    NeXT,
    IT8,
    PixarFilm,
    PixarLog,
    KodakDCS,
    JBIG,
};

struct ImageProperties {
    ImageOptions Options = ImageOptions::None;
    std::uint32_t Width = 0;   // pixels
    std::uint32_t Height = 0;  // pixels
    ColorScheme Scheme = ColorScheme::Unknown;
    std::uint8_t BitsPerSample = 0;
    std::uint8_t SamplesPerPixel = 0;
    std::uint8_t BitsPerPixel = 0;  // BitsPerSample x SamplesPerPixel
    CompressionKind Compression = CompressionKind::Unknown;
    long double FileGamma = 1.0L;
    long double XResolution = 0;  // dots per inch
    long double YResolution = 0;  // dots per inch
    bool Interlaced = false;
    bool HasAlpha = false;
};

class TRasterGraphic : public Bitmap {
public:
    TRasterGraphic() = default;
    virtual ~TRasterGraphic();
    TRasterGraphic(const TRasterGraphic&) = delete;
    TRasterGraphic& operator=(const TRasterGraphic&) = delete;

    // Replaces the content with the first image of the file. Throws a
    // QuillmarkError (invalid picture, compression or colour conversion) and
    // then leaves the content as it was.
    virtual void ReadPicture(std::span<const std::uint8_t> file) = 0;
    // Fills the image properties from the header of image imageIndex (0 = the
    // first) and answers whether that header is valid. Never throws for a bad
    // file.
    virtual bool ProbeImage(std::span<const std::uint8_t> file, unsigned imageIndex) = 0;

    const ImageProperties& Properties() const { return m_imageProperties; }
    const Bitmap& Picture() const { return *this; }

protected:
    // The only way a decoder hands over its result.
    void AssignPicture(Bitmap&& decoded) { static_cast<Bitmap&>(*this) = std::move(decoded); }

    TColorManager m_colorManager;
    ImageProperties m_imageProperties;
};

} // namespace quillmark
