// Fuzz entry for the PNG decoder. Only input errors are caught: a logic error
// or an inconsistent picture ends the run, so the fuzzer reports it.
#include "FuzzPicture.h"

#include "base/Errors.h"
#include "formats/PNGGraphic.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include <zlib.h>

namespace {

// Mutated files almost always fail their CRCs first; a copy with every CRC
// made right lets the mutations reach the checks behind them.
std::vector<std::uint8_t> WithFixedCrcs(std::span<const std::uint8_t> file)
{
    std::vector<std::uint8_t> copy(file.begin(), file.end());
    std::size_t at = 8;
    while (at + 12 <= copy.size()) {
        const std::size_t length = std::size_t{copy[at]} << 24 | std::size_t{copy[at + 1]} << 16 |
                                   std::size_t{copy[at + 2]} << 8 | copy[at + 3];
        if (length > copy.size() - at - 12)
            break;
        const auto typed = std::span<const std::uint8_t>(copy).subspan(at + 4, length + 4);
        const auto crc = static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size())));
        const std::size_t crcAt = at + 8 + length;
        copy[crcAt] = static_cast<std::uint8_t>(crc >> 24);
        copy[crcAt + 1] = static_cast<std::uint8_t>(crc >> 16);
        copy[crcAt + 2] = static_cast<std::uint8_t>(crc >> 8);
        copy[crcAt + 3] = static_cast<std::uint8_t>(crc);
        at = crcAt + 4;
    }
    return copy;
}

void Decode(std::span<const std::uint8_t> file)
{
    quillmark::TPNGGraphic graphic;
    graphic.ProbeImage(file, 0);
    try {
        graphic.ReadPicture(file);
    } catch (const quillmark::QuillmarkError&) {
        return;
    }
    quillmark::fuzz::CheckPicture(graphic);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    Decode(file);
    Decode(WithFixedCrcs(file));
    return 0;
}
