#pragma once
// What opening a picture makes of a loaded picture, shared by the window and
// the batch commands so both start from the same pixels, and the title a
// picture file gives the plot.
#include "formats/PictureClass.h"
#include "imaging/FastBMP.h"

#include <memory>
#include <string>
#include <string_view>

namespace quillmark {

// The picture as opened: its pixels moved out of the loaded picture. Icons
// and metafiles throw "Cannot assign a %s to a %s" and leave the picture as
// it was. The working copy is the document's (DigitizeSession::Adjust).
std::unique_ptr<TFastBMP> OpenedPicture(Graphic& picture);

// The file name without its folder, cut before its first "." (run.2.png
// gives run).
std::string PictureTitle(std::string_view fileName);

} // namespace quillmark
