// Fuzz entry for the GIF decoder. Only input errors are caught: a logic error
// or an inconsistent picture ends the run, so the fuzzer reports it.
#include "FuzzPicture.h"

#include "formats/GIFGraphic.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return quillmark::fuzz::FuzzDecoder<quillmark::TGIFGraphic>(std::span<const std::uint8_t>(data, size));
}
