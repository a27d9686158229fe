// Fuzz entry for the TIFF decoder. Only input errors are caught: a logic error
// or an inconsistent picture ends the run, so the fuzzer reports it.
#include "FuzzPicture.h"

#include "base/Errors.h"
#include "formats/TIFFGraphic.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    quillmark::TTIFFGraphic graphic;
    graphic.ProbeImage(file, 0);
    graphic.ProbeImage(file, 1);
    try {
        graphic.ReadPicture(file);
    } catch (const quillmark::QuillmarkError&) {
        return 0;
    }
    quillmark::fuzz::CheckPicture(graphic);
    return 0;
}
