#include "digitize/Magnifier.h"

#include <algorithm>

namespace quillmark {

MagnifierReach MagnifierSourceReach(int zoomIndex, int imageWidth, int imageHeight)
{
    // No item chosen (index -1) reads as the first item.
    const int divisor = 2 * (std::clamp(zoomIndex, 0, 3) + 2);
    return MagnifierReach{imageWidth / divisor, imageHeight / divisor};
}

} // namespace quillmark
