#include "calibration/PlotView.h"

#include <gtest/gtest.h>

#include "calibration/Calibration.h"

#include <cmath>

using namespace quillmark;

namespace {

double D(long double v)
{
    return static_cast<double>(v);
}

PlotView ViewOver(const PlotRect& rect, long double pictureScale)
{
    PlotView view;
    view.SetRect(rect);
    view.SetPictureScale(pictureScale);
    return view;
}

} // namespace

TEST(PlotView, ZoomOneIsTheSurfaceItself)
{
    const PlotView view = ViewOver({57, 31, 611, 402}, 0.1L);
    EXPECT_TRUE(view.IsIdentity());
    for (const SurfacePosition p : {SurfacePosition{57, 31}, SurfacePosition{300, 200}, SurfacePosition{667, 432}}) {
        EXPECT_EQ(view.ToScreen(p), p);
        EXPECT_EQ(view.ToSurface(p), p);
    }
}

TEST(PlotView, RoundTripsOverTheWholeZoomRangeWithPans)
{
    // 6000 x 4000 picture fitted into 600 x 400: a tenth of a screen pixel
    // per picture pixel, so the closest view is zoom 320.
    PlotView view = ViewOver({40, 20, 600, 400}, 0.1L);
    EXPECT_EQ(D(view.MaxZoom()), 320.0);
    for (int notch = -20; notch <= 40; ++notch) {
        view.Reset();
        view.ZoomAbout({340, 220}, std::pow(PlotView::kStep, static_cast<long double>(notch)));
        view.PanBy(-123.25L, 77.5L);
        ASSERT_GE(D(view.Zoom()), D(PlotView::kMinZoom));
        ASSERT_LE(D(view.Zoom()), 320.0);
        for (const SurfacePosition p : {SurfacePosition{40.0L, 20.0L}, SurfacePosition{333.3L, 111.1L},
                                        SurfacePosition{639.99L, 419.5L}}) {
            const SurfacePosition back = view.ToSurface(view.ToScreen(p));
            EXPECT_NEAR(D(back.X), D(p.X), 1e-12) << notch;
            EXPECT_NEAR(D(back.Y), D(p.Y), 1e-12) << notch;
        }
    }
}

TEST(PlotView, TheWheelKeepsThePointUnderThePointer)
{
    PlotView view = ViewOver({40, 20, 600, 400}, 0.1L);
    const SurfacePosition pointer{517, 93};
    for (int notch = 0; notch < 25; ++notch) {
        const SurfacePosition under = view.ToSurface(pointer);
        ASSERT_TRUE(view.ZoomAbout(pointer, PlotView::kStep));
        const SurfacePosition still = view.ToScreen(under);
        EXPECT_NEAR(D(still.X), 517, 1e-9);
        EXPECT_NEAR(D(still.Y), 93, 1e-9);
    }
    EXPECT_NEAR(D(view.Zoom()), D(std::pow(1.25L, 25)), 1e-9);
    // The next notch stops at the closest view, 32 screen pixels a picture pixel.
    EXPECT_TRUE(view.ZoomAbout(pointer, PlotView::kStep));
    EXPECT_EQ(D(view.Zoom()), 320.0);
    EXPECT_FALSE(view.ZoomAbout(pointer, PlotView::kStep));
    // Zoomed in, the plot fills the rectangle: the pan never shows beyond it.
    EXPECT_TRUE(view.PanBy(1e9L, -1e9L));
    EXPECT_EQ(D(view.PanX()), 0.0);
    EXPECT_EQ(D(view.PanY()), D(400 * view.Zoom() - 400));
    const ScrollState h = view.HorizontalScroll();
    EXPECT_TRUE(h.Needed());
    EXPECT_EQ(D(h.Page), 600.0);
    // Zoomed out it stays inside: at the smallest zoom a sixteenth.
    view.Reset();
    for (int notch = 0; notch < 40; ++notch)
        view.ZoomAbout(pointer, 1 / PlotView::kStep);
    EXPECT_EQ(D(view.Zoom()), 1.0 / 16);
    EXPECT_FALSE(view.HorizontalScroll().Needed());
    const SurfacePosition corner = view.ToScreen({640, 420});
    EXPECT_LE(D(corner.X), 640.0);
    EXPECT_LE(D(corner.Y), 420.0);
}

TEST(PlotView, ClicksBecomeFractionalPicturePositions)
{
    // A 6000 x 4000 picture fitted to 600 x 400 at zoom 80: 8 screen pixels
    // per picture pixel. Each screen pixel is an eighth of a picture pixel.
    const PlotRect rect{40, 20, 600, 400};
    const PicturePlacement place = PlacePicture(rect, {6000, 4000}, true);
    PlotView view = ViewOver(rect, place.ScaleX);
    view.ZoomAbout({40, 20}, 80);
    view.SetPan(1234 * 8, 567 * 8);
    const SurfacePosition atCorner = SurfaceToPicture(place, view.ToSurface({40, 20}));
    EXPECT_NEAR(D(atCorner.X), 1234, 1e-9);
    EXPECT_NEAR(D(atCorner.Y), 567, 1e-9);
    const SurfacePosition third = SurfaceToPicture(place, view.ToSurface({43, 25}));
    EXPECT_NEAR(D(third.X), 1234.375, 1e-9);
    EXPECT_NEAR(D(third.Y), 567.625, 1e-9);
    // And the value there is the picture position's own value.
    const AxisLimits limits{0, 6000, 0, 4000};
    const AxisPoint v = PixelToAxis(view.ToSurface({43, 25}), rect, limits);
    EXPECT_NEAR(D(v.X), 1234.375, 1e-9);
    EXPECT_NEAR(D(v.Y), 4000 - 567.625, 1e-9);

    // Centred at actual size: the offset is halved with truncation.
    const PicturePlacement centred = PlacePicture({0, 0, 101, 50}, {20, 11}, false);
    EXPECT_EQ(D(centred.Left), 40.0);
    EXPECT_EQ(D(centred.Top), 19.0);
    EXPECT_EQ(D(centred.ScaleX), 1.0);
}

TEST(PlotView, FractionalReferencesKeepTheirFractionWhenTurned)
{
    const PlotRect rect{0, 0, 100, 100};
    const SurfacePosition whole = RotateAboutCentre(SurfacePoint{80, 50}, 0.1L, rect, {100, 100}, true);
    EXPECT_EQ(D(whole.X), std::nearbyint(D(whole.X)));
    const SurfacePosition fine = RotateAboutCentre(SurfacePosition{80.5L, 50.0L}, 0.1L, rect, {100, 100}, true);
    EXPECT_NEAR(D(fine.X), 50 + 30.5 * std::cos(0.1), 1e-12);
    EXPECT_NEAR(D(fine.Y), 50 - 30.5 * std::sin(0.1), 1e-12);
}
