#include "imaging/AdjustmentPipeline.h"

#include "base/Errors.h"
#include "base/Rounding.h"
#include "imaging/FastFX.h"

#include <cstring>

namespace quillmark {

void RunAdjustmentPipeline(const TFastBMP& source, TFastBMP& work, const AdjustmentValues& values)
{
    if (&source == &work || source.Width() != work.Width() || source.Height() != work.Height())
        throw InternalError("adjustment needs a separate work buffer of the source's size");
    if (source.DataSize() > 0)
        std::memcpy(work.PixelData(), source.PixelData(), static_cast<std::size_t>(source.DataSize()));
    if (values.Rotate != 0) {
        const int cx = RoundHalfEven32(static_cast<long double>(source.Width()) / 2);
        const int cy = RoundHalfEven32(static_cast<long double>(source.Height()) / 2);
        RotateInto(source, work, cx, cy, -values.Rotate);
    }
    if (values.Invert)
        Invert(work);
    if (values.Contrast != 255)
        Contrast(work, values.Contrast - 255);
    if (values.Lightness != 255)
        Lightness(work, values.Lightness - 255);
    if (values.Saturation != 255)
        Saturation(work, values.Saturation);
    if (values.CuttingOff != 0)
        CuttingOff(work, values.CuttingOff);
    if (values.GaussianBlur != 0)
        GaussianBlur(work, values.GaussianBlur);
}

} // namespace quillmark
