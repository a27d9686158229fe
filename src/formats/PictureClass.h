#pragma once
// A picture class is what the format registry maps an extension to: a name, the
// class it derives from, and a reader that turns the file's bytes into a
// loaded picture. A loaded picture knows its size; bitmap kinds hand their
// pixels over as a Bitmap, while icons and metafiles load but refuse to.
// Class objects are static and outlive every registry that refers to them;
// the registry tells classes apart by address.
#include "formats/Bitmap.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace quillmark {

// The class name of the bitmap that loaded pictures are assigned to.
inline constexpr const char* kBitmapTargetName = "Bitmap";

// The toolkit's own picture kinds, by name (the decoders derive from the first).
inline constexpr const char* kBitmapPictureName = "BitmapPicture";
inline constexpr const char* kIconPictureName = "IconPicture";
inline constexpr const char* kMetafilePictureName = "MetafilePicture";
inline constexpr const char* kRasterGraphicName = "TRasterGraphic";

// A picture loaded by its class; the picture loader's result.
class Graphic {
public:
    virtual ~Graphic() = default;
    virtual std::int32_t Width() const = 0;
    virtual std::int32_t Height() const = 0;
    // Moves the pixels out into a bitmap. Kinds that are no bitmap throw
    // "Cannot assign a %s to a %s" and change nothing.
    virtual Bitmap TakeBitmap() = 0;
};

// A loaded picture that is a bitmap.
class BitmapGraphic final : public Graphic {
public:
    explicit BitmapGraphic(Bitmap bitmap) : m_bitmap(std::move(bitmap)) {}
    std::int32_t Width() const override { return m_bitmap.Width(); }
    std::int32_t Height() const override { return m_bitmap.Height(); }
    Bitmap TakeBitmap() override { return std::move(m_bitmap); }

private:
    Bitmap m_bitmap;
};

struct PictureClass {
    using Reader = std::function<std::unique_ptr<Graphic>(std::span<const std::uint8_t> file)>;

    std::string Name;
    // Names of the classes this one derives from, nearest first. Names, not
    // pointers, so a core decoder can derive from the toolkit's bitmap class,
    // whose reader lives on the UI side.
    std::vector<std::string> Ancestors;
    Reader Read;

    // True for this class itself and for every class derived from it.
    bool DerivesFrom(const PictureClass& ancestor) const;
};

// A reader for a decoder class derived from Bitmap that fills itself from the
// file with ReadPicture(file). The decoder works on a fresh object; the pixels
// are handed over only when it finished without an error.
template <class Decoder>
PictureClass::Reader ReaderFor()
{
    return [](std::span<const std::uint8_t> file) -> std::unique_ptr<Graphic> {
        auto decoder = std::make_unique<Decoder>();
        decoder->ReadPicture(file);
        return std::make_unique<BitmapGraphic>(std::move(static_cast<Bitmap&>(*decoder)));
    };
}

} // namespace quillmark
