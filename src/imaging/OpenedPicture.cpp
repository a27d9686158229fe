#include "imaging/OpenedPicture.h"

#include <cstring>

namespace quillmark {

PictureBuffers MakePictureBuffers(Graphic& picture, std::unique_ptr<TFastBMP>& reusableWork)
{
    PictureBuffers buffers;
    buffers.Source = TFastBMP::CreateFromBitmap(picture.TakeBitmap());
    const TFastBMP& source = *buffers.Source;
    const bool reusable =
        reusableWork && reusableWork->Width() == source.Width() && reusableWork->Height() == source.Height();
    buffers.Work = reusable ? std::move(reusableWork) : std::make_unique<TFastBMP>(source.Width(), source.Height());
    if (source.DataSize() > 0)
        std::memcpy(buffers.Work->PixelData(), source.PixelData(), static_cast<std::size_t>(source.DataSize()));
    return buffers;
}

PictureBuffers MakePictureBuffers(Graphic& picture)
{
    std::unique_ptr<TFastBMP> none;
    return MakePictureBuffers(picture, none);
}

std::string PictureTitle(std::string_view fileName)
{
    const std::size_t slash = fileName.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = name.find('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    return std::string(name);
}

} // namespace quillmark
