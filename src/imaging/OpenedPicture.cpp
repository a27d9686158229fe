#include "imaging/OpenedPicture.h"

namespace quillmark {

PictureBuffers MakePictureBuffers(Graphic& picture)
{
    PictureBuffers buffers;
    buffers.Source = TFastBMP::CreateFromBitmap(picture.TakeBitmap());
    buffers.Work = TFastBMP::CreateCopy(*buffers.Source);
    return buffers;
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
