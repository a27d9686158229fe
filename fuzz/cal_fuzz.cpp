// Fuzz entry for the calibration file reader, with both decimal separators.
// A file it accepts must write back and read back to the same values.
#include "base/Errors.h"
#include "calibration/CalFile.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool AllFinite(const quillmark::CalibrationFile& v)
{
    return std::isfinite(v.Xmin) && std::isfinite(v.Xmax) && std::isfinite(v.Xincr) && std::isfinite(v.Ymin) &&
           std::isfinite(v.Ymax) && std::isfinite(v.Yincr);
}

void Read(std::string_view bytes, std::string_view separator)
{
    std::optional<quillmark::CalibrationFile> values;
    try {
        values = quillmark::ReadCalFile(bytes, separator);
    } catch (const quillmark::QuillmarkError&) {
        return;
    }
    if (!values || !AllFinite(*values))
        return;
    const std::string text = quillmark::CalFileText(*values);
    if (!quillmark::ReadCalFile(text, separator))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Read(bytes, ",");
    Read(bytes, ".");
    return 0;
}
