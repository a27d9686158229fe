#include "imaging/OpenedPicture.h"

#include <cstring>

namespace quillmark {

std::unique_ptr<TFastBMP> OpenedPicture(Graphic& picture)
{
    return TFastBMP::CreateFromBitmap(picture.TakeBitmap());
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
