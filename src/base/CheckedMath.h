#pragma once
// Size arithmetic on values that came from files: every product and sum is
// checked before use, so a header can never make us allocate a wrapped size.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

namespace quillmark {

inline std::optional<std::uint64_t> CheckedMul(std::uint64_t a, std::uint64_t b)
{
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a)
        return std::nullopt;
    return a * b;
}

inline std::optional<std::uint64_t> CheckedAdd(std::uint64_t a, std::uint64_t b)
{
    if (b > std::numeric_limits<std::uint64_t>::max() - a)
        return std::nullopt;
    return a + b;
}

} // namespace quillmark
