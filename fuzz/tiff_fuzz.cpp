// Fuzz entry for the TIFF decoder. Only input errors are caught: a logic error
// or an inconsistent picture ends the run, so the fuzzer reports it.
#include "FuzzPicture.h"

#include "base/Cores.h"
#include "formats/TIFFGraphic.h"

#include <cstddef>
#include <cstdint>
#include <span>

// One core: strips decoded on several threads would bump the coverage
// counters from two threads at once, and the fuzzer, seeing counts that vary
// from run to run, would explore differently each time. The results are the
// same on any number of cores (a unit test checks that).
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quillmark::SetSharedCores(1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return quillmark::fuzz::FuzzDecoder<quillmark::TTIFFGraphic>(std::span<const std::uint8_t>(data, size));
}
