#include "calibration/RangeStep.h"

#include <cmath>

namespace quillmark {

RangeShift CtrlArrowRangeShift(long double min, long double max, RangeStepKind kind, bool aboutZero)
{
    const long double d = (max - min) / 400.0L;
    long double fMin = 1;
    long double fMax = 1;
    if (aboutZero) {
        const long double absMin = std::fabs(min);
        const long double absMax = std::fabs(max);
        if (absMin == 0 && absMax == 0)
            return {};
        if (absMin > absMax)
            fMax = absMax / absMin;
        else
            fMin = absMin / absMax;
    }
    if (kind == RangeStepKind::Widen)
        return {-d * fMin, d * fMax};
    return {d * fMin, -d * fMax};
}

} // namespace quillmark
