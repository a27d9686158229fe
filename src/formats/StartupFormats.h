#pragma once
// PictureRegistry: the toolkit's format list and the program's TFileFormatList
// for one run, filled in start-up order on construction and emptied in
// shutdown order on destruction. The window and the batch commands each load
// pictures through one of these. The toolkit bitmap class comes from the UI
// (bitmaps are read by the toolkit); every other class is the core's.
#include "formats/FileFormatList.h"
#include "formats/PictureClass.h"
#include "formats/PictureFormatList.h"

namespace quillmark {

class PictureRegistry {
public:
    explicit PictureRegistry(const PictureClass& toolkitBitmapClass);
    ~PictureRegistry() { Shutdown(); }
    PictureRegistry(const PictureRegistry&) = delete;
    PictureRegistry& operator=(const PictureRegistry&) = delete;

    const PictureFormatList& Formats() const { return m_toolkit; }
    TFileFormatList& FileFormats() { return m_fileFormats; }

    // The shutdown unregistrations; the rest goes with the list. Harmless
    // when repeated.
    void Shutdown();

private:
    const PictureClass& m_bitmapClass;
    PictureFormatList m_toolkit; // declared before m_fileFormats, so it outlives it
    TFileFormatList m_fileFormats;
};

// The program's own decoder classes, derived from TRasterGraphic.
const PictureClass& TIFFGraphicClass();
const PictureClass& PCXGraphicClass();
const PictureClass& GIFGraphicClass();
const PictureClass& PNGGraphicClass();

} // namespace quillmark
