#pragma once
// What opening a picture makes of a loaded picture, shared by the window and
// the batch commands so both start from the same buffers: the picture as
// opened and its working copy, and the title a picture file gives the plot.
#include "formats/PictureClass.h"
#include "imaging/FastBMP.h"

#include <memory>
#include <string>
#include <string_view>

namespace quillmark {

struct PictureBuffers {
    std::unique_ptr<TFastBMP> Source; // the picture as opened, never written
    std::unique_ptr<TFastBMP> Work;   // same geometry; the adjusted copy
};

// Moves the pixels out of the picture and builds both buffers. Icons and
// metafiles throw "Cannot assign a %s to a %s" and leave the picture as it was.
PictureBuffers MakePictureBuffers(Graphic& picture);
// The same, taking over reusableWork as the working copy when it has the
// picture's size (opening one scan after another of the same size then needs
// no new buffer); it is left as it was when the picture refuses.
PictureBuffers MakePictureBuffers(Graphic& picture, std::unique_ptr<TFastBMP>& reusableWork);

// The file name without its folder, cut before its first "." (run.2.png
// gives run).
std::string PictureTitle(std::string_view fileName);

} // namespace quillmark
