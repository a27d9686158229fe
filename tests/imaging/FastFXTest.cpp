#include "imaging/FastFX.h"

#include "base/Cores.h"

#include "ImagingTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>

using namespace quillmark;
using quillmark::testing::Bgr;
using quillmark::testing::FirstDifference;
using quillmark::testing::PixelAt;
using quillmark::testing::RandomBuffer;
using quillmark::testing::SetPixel;

TEST(FastFX, ClampHelpers)
{
    EXPECT_EQ(ClampToByte(-1), 0);
    EXPECT_EQ(ClampToByte(256), 255);
    EXPECT_EQ(ClampToByte(77), 77);
    EXPECT_EQ(ClampToRange(5, 0, 3), 3);
    EXPECT_EQ(ClampToRange(-2, 0, 3), 0);
    EXPECT_EQ(ClampToRange(2, 0, 3), 2);
}

TEST(FastFX, ContrastTableHandValues)
{
    struct Case { int amount; int in; int out; };
    const Case cases[] = {
        {255, 0, 0},   {255, 100, 73}, {255, 126, 125}, {255, 127, 127}, {255, 128, 128}, {255, 200, 255},
        {-255, 0, 127}, {-255, 126, 127}, {-255, 127, 127}, {-255, 255, 129}, {-100, 0, 50}, {-100, 255, 206},
        {0, 33, 33},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "amount " << c.amount << ", byte " << c.in);
        EXPECT_EQ(ContrastTable(c.amount)[static_cast<std::size_t>(c.in)], c.out);
    }
}

TEST(FastFX, LightnessTableHandValues)
{
    struct Case { int amount; int in; int out; };
    const Case cases[] = {
        {255, 0, 254}, {255, 255, 255}, {-255, 255, 1}, {-255, 0, 0}, {100, 100, 160}, {-100, 100, 61}, {0, 99, 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "amount " << c.amount << ", byte " << c.in);
        EXPECT_EQ(LightnessTable(c.amount)[static_cast<std::size_t>(c.in)], c.out);
    }
}

namespace {

std::unique_ptr<TFastBMP> OnePixel(Bgr c)
{
    auto buffer = std::make_unique<TFastBMP>(1, 1);
    SetPixel(*buffer, 0, 0, c);
    return buffer;
}

} // namespace

TEST(FastFX, SaturationHandValues)
{
    struct Case { int amount; Bgr in; Bgr out; };
    const Case cases[] = {
        {0, {10, 20, 40}, {23, 23, 23}},       // grey: the integer mean
        {0, {255, 255, 254}, {254, 254, 254}},
        {256, {10, 20, 40}, {10, 20, 40}},
        {510, {100, 150, 200}, {51, 150, 250}},
        {510, {0, 0, 255}, {0, 0, 255}},       // mean 85 - 169 + 0 clamps to 0
        {255, {0, 0, 255}, {1, 1, 255}},       // 255 is not quite neutral
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "amount " << c.amount << ", pixel " << c.in);
        const auto buffer = OnePixel(c.in);
        Saturation(*buffer, c.amount);
        EXPECT_EQ(PixelAt(*buffer, 0, 0), c.out);
    }
}

TEST(FastFX, InvertAndCuttingOffTestEachByte)
{
    const auto buffer = OnePixel({0, 100, 255});
    Invert(*buffer);
    EXPECT_EQ(PixelAt(*buffer, 0, 0), (Bgr{255, 155, 0}));

    struct Case { int threshold; Bgr in; Bgr out; };
    const Case cases[] = {
        {100, {100, 101, 7}, {0, 101, 0}},
        {100, {255, 0, 250}, {255, 0, 250}},
        {255, {255, 254, 128}, {0, 0, 0}},
        {0, {0, 1, 255}, {0, 1, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "threshold " << c.threshold << ", pixel " << c.in);
        const auto one = OnePixel(c.in);
        CuttingOff(*one, c.threshold);
        EXPECT_EQ(PixelAt(*one, 0, 0), c.out);
    }
}

// Grey 3 x 3 picture; values worked out by hand in pass order. Row 0 reads
// itself (clamped row above), rows 1 and 2 read the already blurred row above,
// and the last row reads its own already blurred left neighbours.
TEST(FastFX, BlurPassReadsAlreadyBlurredNeighbours)
{
    const int before[3][3] = {{0, 40, 80}, {120, 160, 200}, {240, 20, 60}};
    const int after[3][3] = {{80, 120, 140}, {115, 130, 85}, {126, 96, 92}};
    for (const auto& blur : {std::function<void(TFastBMP&)>([](TFastBMP& b) { BlurPass(b, 1); }),
                             std::function<void(TFastBMP&)>([](TFastBMP& b) { reference::BlurPass(b, 1); }),
                             std::function<void(TFastBMP&)>([](TFastBMP& b) { GaussianBlur(b, 1); })}) {
        TFastBMP buffer(3, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) {
                const auto v = static_cast<std::uint8_t>(before[y][x]);
                SetPixel(buffer, x, y, {v, v, v});
            }
        blur(buffer);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) {
                const auto v = static_cast<std::uint8_t>(after[y][x]);
                EXPECT_EQ(PixelAt(buffer, x, y), (Bgr{v, v, v})) << x << "," << y;
            }
    }
}

TEST(FastFX, GaussianBlurRunsPassesDownToOne)
{
    const auto source = RandomBuffer(41, 23, 7);
    auto expected = TFastBMP::CreateCopy(*source);
    for (int d = 4; d >= 1; --d)
        reference::BlurPass(*expected, d);
    auto blurred = TFastBMP::CreateCopy(*source);
    GaussianBlur(*blurred, 4);
    EXPECT_EQ(FirstDifference(*blurred, *expected), -1);

    auto untouched = TFastBMP::CreateCopy(*source);
    GaussianBlur(*untouched, 0);
    GaussianBlur(*untouched, -3);
    EXPECT_EQ(FirstDifference(*untouched, *source), -1);
}

// The vector paths against the plain loops, on random pictures whose widths
// leave every kind of row tail and padding, for every amount the controls give.
class VectorMatchesReference : public ::testing::TestWithParam<int> {};

TEST_P(VectorMatchesReference, AllEffects)
{
    const int width = GetParam();
    struct Effect {
        std::string name;
        std::function<void(TFastBMP&, int)> fast;
        std::function<void(TFastBMP&, int)> plain;
        int from, to, step;
    };
    const Effect effects[] = {
        {"contrast", [](TFastBMP& b, int a) { Contrast(b, a); }, [](TFastBMP& b, int a) { reference::Contrast(b, a); }, -300, 300, 1},
        {"lightness", [](TFastBMP& b, int a) { Lightness(b, a); }, [](TFastBMP& b, int a) { reference::Lightness(b, a); }, -300, 300, 1},
        {"saturation", [](TFastBMP& b, int a) { Saturation(b, a); }, [](TFastBMP& b, int a) { reference::Saturation(b, a); }, 0, 520, 1},
        {"cut-off", [](TFastBMP& b, int a) { CuttingOff(b, a); }, [](TFastBMP& b, int a) { reference::CuttingOff(b, a); }, -1, 256, 1},
        {"invert", [](TFastBMP& b, int) { Invert(b); }, [](TFastBMP& b, int) { reference::Invert(b); }, 0, 0, 1},
        {"blur pass", [](TFastBMP& b, int d) { BlurPass(b, d); }, [](TFastBMP& b, int d) { reference::BlurPass(b, d); }, -2, 40, 1},
    };
    for (const int height : {1, 2, 3, 9}) {
        const auto source = RandomBuffer(width, height, static_cast<std::uint32_t>(width * 131 + height));
        for (const Effect& e : effects)
            for (int amount = e.from; amount <= e.to; amount += e.step) {
                auto fast = TFastBMP::CreateCopy(*source);
                auto plain = TFastBMP::CreateCopy(*source);
                e.fast(*fast, amount);
                e.plain(*plain, amount);
                const long at = FirstDifference(*fast, *plain);
                ASSERT_EQ(at, -1) << e.name << " " << amount << ", " << width << " x " << height << ", byte " << at;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(OddWidths, VectorMatchesReference, ::testing::Values(1, 3, 5, 7, 11, 13, 21, 33, 67, 255));

TEST(FastFX, BlurOfLargePictureMatchesReference)
{
    const auto source = RandomBuffer(1001, 37, 99);
    for (const int d : {1, 2, 5, 17, 100, 499, 500, 501, 2000}) {
        auto fast = TFastBMP::CreateCopy(*source);
        auto plain = TFastBMP::CreateCopy(*source);
        BlurPass(*fast, d);
        reference::BlurPass(*plain, d);
        EXPECT_EQ(FirstDifference(*fast, *plain), -1) << "distance " << d;
    }
}

TEST(FastFX, EffectsOnAnEmptyBufferDoNothing)
{
    TFastBMP empty(0, 0);
    TFastBMP other(0, 0);
    Contrast(empty, 100);
    Lightness(empty, -100);
    Saturation(empty, 0);
    Invert(empty);
    CuttingOff(empty, 50);
    GaussianBlur(empty, 3);
    RotateInto(other, empty, 0, 0, 30);
    TFastBMP wideButFlat(5, 0);
    GaussianBlur(wideButFlat, 2);
    EXPECT_TRUE(empty.Empty());
}

namespace {

// Every pixel names its own position: blue = x, green = y, red = x + y.
std::unique_ptr<TFastBMP> CoordinatePicture(int width, int height)
{
    auto buffer = std::make_unique<TFastBMP>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(*buffer, x, y, {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(x + y)});
    return buffer;
}

// The rotation walked one pixel at a time, straight from its definition.
std::int64_t WrapPlain(std::int64_t p, std::int64_t size)
{
    if (p < 0)
        return (size - 1) - ((-p) >> 16) % size;
    std::int64_t i = p >> 16;
    if (i > size - 1)
        i = i % size;
    return i;
}

void RotatePlain(const TFastBMP& source, TFastBMP& destination, int cx, int cy, double angle)
{
    const float theta = static_cast<float>(-static_cast<long double>(angle) * std::numbers::pi_v<long double> / 180);
    const float s = std::sin(theta);
    const float c = std::cos(theta);
    const auto dx = static_cast<std::int64_t>(std::nearbyint(c * 65536.0f));
    const auto dy = static_cast<std::int64_t>(std::nearbyint(s * 65536.0f));
    for (int y = 0; y < destination.Height(); ++y) {
        auto sx = static_cast<std::int64_t>(std::nearbyint((-cx * static_cast<long double>(c) + cx - (y - cy) * static_cast<long double>(s)) * 65536));
        auto sy = static_cast<std::int64_t>(std::nearbyint((-cx * static_cast<long double>(s) + cy + (y - cy) * static_cast<long double>(c)) * 65536));
        for (int x = 0; x < destination.Width(); ++x, sx += dx, sy += dy) {
            const Bgr p = PixelAt(source, static_cast<int>(WrapPlain(sx, source.Width())), static_cast<int>(WrapPlain(sy, source.Height())));
            SetPixel(destination, x, y, p);
        }
    }
}

} // namespace

TEST(FastFX, RotationByZeroCopies)
{
    const auto source = RandomBuffer(13, 7, 3);
    auto destination = RandomBuffer(13, 7, 4);
    RotateInto(*source, *destination, 6, 4, 0);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x)
            ASSERT_EQ(PixelAt(*destination, x, y), PixelAt(*source, x, y)) << x << "," << y;
}

// Turned a quarter on a 200 x 100 picture about (100, 50): destination row y
// is source column 150 - y, destination column x source row x - 50, wrapped.
// Negative positions count back from the last row, so column 49 shows row 98.
TEST(FastFX, QuarterTurnKeepsSizeAndWrapsContent)
{
    const auto source = CoordinatePicture(200, 100);
    TFastBMP destination(200, 100);
    RotateInto(*source, destination, 100, 50, -90);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const int row = x < 50 ? 49 + x : (x - 50) % 100;
            ASSERT_EQ(PixelAt(destination, x, y), PixelAt(*source, 150 - y, row)) << x << "," << y;
        }
}

TEST(FastFX, RotationMatchesPlainWalk)
{
    struct Case { int width, height; int sourceWidth, sourceHeight; double angle; };
    const Case cases[] = {
        {600, 70, 600, 70, 5},   {600, 70, 600, 70, -0.25}, {333, 301, 333, 301, 90}, {300, 300, 300, 300, 180},
        {257, 33, 257, 33, 37.5}, {64, 64, 31, 47, -123.75}, {20, 530, 101, 7, 271}, {1, 1, 1, 1, 45},
        {700, 40, 700, 40, 3.25}, {513, 21, 513, 21, -2}, {300, 90, 41, 13, 6.5}, {90, 300, 90, 300, -7},
        {400, 300, 7, 5, 33}, {300, 40, 9, 300, 0.5}, {260, 260, 3, 2, -1.5}, {100, 100, 1, 1, 200},
        // Steep walks over rows longer than the tiles, and whole rows crossing many source rows.
        {1201, 203, 997, 611, 20}, {1500, 90, 1500, 90, 12}, {517, 419, 600, 400, -60}, {421, 77, 389, 1003, 135},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height << " at " << c.angle);
        const auto source = RandomBuffer(c.sourceWidth, c.sourceHeight, 5);
        auto fast = RandomBuffer(c.width, c.height, 6);
        auto plain = TFastBMP::CreateCopy(*fast);
        RotateInto(*source, *fast, c.sourceWidth / 2, c.sourceHeight / 3, c.angle);
        RotatePlain(*source, *plain, c.sourceWidth / 2, c.sourceHeight / 3, c.angle);
        EXPECT_EQ(FirstDifference(*fast, *plain), -1);
    }
}

TEST(FastFX, RotationSharedAmongCoresMatchesPlainWalk)
{
    // Above a megapixel the bands are shared out; 3 cores give uneven shares.
    const auto source = RandomBuffer(1100, 1000, 5);
    for (const unsigned cores : {1u, 3u}) {
        SCOPED_TRACE(cores);
        SetSharedCores(cores);
        auto fast = RandomBuffer(1037, 1021, 6);
        auto plain = TFastBMP::CreateCopy(*fast);
        RotateInto(*source, *fast, 550, 333, 20);
        RotatePlain(*source, *plain, 550, 333, 20);
        EXPECT_EQ(FirstDifference(*fast, *plain), -1);
    }
    SetSharedCores(0);
}

TEST(FastFX, RotationByAnAngleWithoutDirectionCopies)
{
    const auto source = RandomBuffer(6, 5, 10);
    for (const double angle : {1e300, -1e300, std::nan("")}) {
        auto destination = RandomBuffer(6, 5, 11);
        RotateInto(*source, *destination, 3, 2, angle);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x)
                ASSERT_EQ(PixelAt(*destination, x, y), PixelAt(*source, x, y)) << angle << " at " << x << "," << y;
    }
}

TEST(FastFX, BlurBeyondThePictureEqualsBlurToItsEdge)
{
    const auto source = RandomBuffer(9, 6, 12);
    auto edge = TFastBMP::CreateCopy(*source);
    reference::BlurPass(*edge, 9);
    for (const int d : {10, 1000000, -2147483647 - 1, 2147483647}) {
        auto far = TFastBMP::CreateCopy(*source);
        BlurPass(*far, d);
        EXPECT_EQ(FirstDifference(*far, *edge), -1) << d;
    }
}

TEST(FastFX, RotationNeedsTwoBuffers)
{
    TFastBMP buffer(4, 4);
    EXPECT_THROW(RotateInto(buffer, buffer, 2, 2, 10), InternalError);
}
