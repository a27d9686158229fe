#pragma once
// Icons and metafiles: they are registered and load (their header gives the
// size), but they are no bitmap, so assigning one to a bitmap fails with
// "Cannot assign a %s to a %s" and leaves the target untouched. The size
// passes the picture size guard, since whoever assigns sizes its target first.
#include "formats/PictureClass.h"

#include <cstdint>
#include <span>
#include <string>

namespace quillmark {

class UnassignablePicture final : public Graphic {
public:
    UnassignablePicture(std::string className, std::int32_t width, std::int32_t height);
    std::int32_t Width() const override { return m_width; }
    std::int32_t Height() const override { return m_height; }
    Bitmap TakeBitmap() override;

    // The first image of an icon (or cursor) directory. Throws
    // InvalidGraphicError "Icon image is not valid" for a bad header.
    static std::unique_ptr<Graphic> ReadIcon(std::span<const std::uint8_t> file);
    // An enhanced metafile, or a placeable Windows metafile at 96 pixels per
    // inch. Throws InvalidGraphicError "Metafile is not valid" otherwise.
    static std::unique_ptr<Graphic> ReadMetafile(std::span<const std::uint8_t> file);

private:
    std::string m_className;
    std::int32_t m_width;
    std::int32_t m_height;
};

const PictureClass& IconPictureClass();
const PictureClass& MetafilePictureClass();

} // namespace quillmark
