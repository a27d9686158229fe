#include "formats/TIFFGraphic.h"

#include "CorpusSupport.h"

#include <gtest/gtest.h>

using namespace quillmark;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::string MessageOf(const std::string& kind)
{
    if (kind == "invalid-format")
        return "Cannot load image. Invalid or unexpected TIF/TIFF image format.";
    if (kind == "compression-not-supported")
        return "Cannot load image. The compression scheme is not supported for TIF/TIFF files.";
    if (kind == "color-depth")
        return "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
    return "";
}

} // namespace

TEST(Tiff, CorpusMatchesReferencePixels)
{
    test::RunCorpus<TTIFFGraphic>("tiff", MessageOf);
}
