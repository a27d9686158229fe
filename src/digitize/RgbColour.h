#pragma once
// A 24-bit colour as three 8-bit components, the form in which tracing reads
// the line colour and in which point markers are coloured.
#include <cstdint>

namespace quillmark {

struct RgbColour {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;

    friend bool operator==(const RgbColour&, const RgbColour&) = default;
};

} // namespace quillmark
