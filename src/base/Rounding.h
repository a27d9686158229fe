#pragma once
// Rounding rules of the program: "rounded" means to nearest with halves to
// the even neighbour (std::nearbyint in the default mode); integer division
// with / truncates toward zero as the C++ operator does.
#include <cmath>
#include <cstdint>

namespace quillmark {

inline std::int64_t RoundHalfEven(long double v)
{
    return static_cast<std::int64_t>(std::nearbyint(v));
}

inline std::int32_t RoundHalfEven32(long double v)
{
    return static_cast<std::int32_t>(std::nearbyint(v));
}

} // namespace quillmark
