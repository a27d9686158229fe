#include "calibration/ImageFit.h"

#include <gtest/gtest.h>

#include "calibration/Calibration.h"

using namespace quillmark;

namespace {

double D(long double v)
{
    return static_cast<double>(v);
}

void ExpectLimitsNear(const AxisLimits& got, const AxisLimits& want, double tolerance)
{
    EXPECT_NEAR(D(got.XMin), D(want.XMin), tolerance);
    EXPECT_NEAR(D(got.XMax), D(want.XMax), tolerance);
    EXPECT_NEAR(D(got.YMin), D(want.YMin), tolerance);
    EXPECT_NEAR(D(got.YMax), D(want.YMax), tolerance);
}

TEST(ImageFit, SmallPictureOnALargePlotAndBack)
{
    const PlotRect rect{30, 10, 400, 400};
    const AxisLimits actual{0, 10, 0, 10};
    const AxisLimits fitted = LimitsForFit(actual, rect, PictureSize{200, 100});
    ExpectLimitsNear(fitted, {2.5, 7.5, 3.75, 6.25}, 1e-15);
    ExpectLimitsNear(LimitsForActualSize(fitted, rect, PictureSize{200, 100}), actual, 1e-15);
}

TEST(ImageFit, WithoutAPictureOrAreaTheLimitsStay)
{
    const AxisLimits limits{-1, 4, 2, 3};
    EXPECT_EQ(LimitsForFit(limits, {0, 0, 400, 300}, std::nullopt), limits);
    EXPECT_EQ(LimitsForActualSize(limits, {0, 0, 400, 300}, std::nullopt), limits);
    EXPECT_EQ(LimitsForFit(limits, {0, 0, 0, 300}, PictureSize{10, 10}), limits);
    EXPECT_EQ(LimitsForActualSize(limits, {0, 0, 400, 300}, PictureSize{10, 0}), limits);
}

// Where a picture pixel lands on the plot surface in each mode.
void PictureToSurface(std::int32_t px, std::int32_t py, const PlotRect& rect, PictureSize pic,
                              bool fitted, long double* sx, long double* sy)
{
    if (fitted) {
        *sx = rect.Left + static_cast<long double>(px) * rect.Width / pic.Width;
        *sy = rect.Top + static_cast<long double>(py) * rect.Height / pic.Height;
    } else {
        *sx = rect.Left + (rect.Width - pic.Width) / 2.0L + px;
        *sy = rect.Top + (rect.Height - pic.Height) / 2.0L + py;
    }
}

TEST(ImageFit, PictureFeaturesKeepTheirAxisValuesAcrossTheSwitch)
{
    const PlotRect rect{12, 7, 640, 480};
    const PictureSize pictures[] = {{200, 100}, {1600, 1200}, {640, 480}, {301, 977}};
    for (const PictureSize pic : pictures) {
        SCOPED_TRACE(pic.Width);
        const AxisLimits actual{-2.5, 17.25, 1e3, 4e3};
        const AxisLimits fitted = LimitsForFit(actual, rect, pic);
        for (std::int32_t px = 0; px < pic.Width; px += pic.Width / 7) {
            const std::int32_t py = (px * 5) % pic.Height;
            long double ax = 0, ay = 0, fx = 0, fy = 0;
            PictureToSurface(px, py, rect, pic, false, &ax, &ay);
            PictureToSurface(px, py, rect, pic, true, &fx, &fy);
            // The linear transform at fractional pixels.
            const long double xActual = actual.XMin + (actual.XMax - actual.XMin) * (ax - rect.Left) / rect.Width;
            const long double xFitted = fitted.XMin + (fitted.XMax - fitted.XMin) * (fx - rect.Left) / rect.Width;
            const long double yActual = actual.YMax - (actual.YMax - actual.YMin) * (ay - rect.Top) / rect.Height;
            const long double yFitted = fitted.YMax - (fitted.YMax - fitted.YMin) * (fy - rect.Top) / rect.Height;
            EXPECT_NEAR(D(xFitted), D(xActual), 1e-12);
            EXPECT_NEAR(D(yFitted), D(yActual), 1e-9);
        }
    }
}

} // namespace
