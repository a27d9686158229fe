#include "calibration/RealText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace quillmark;

namespace {

TEST(GeneralRealText, FixedUnlessTheMagnitudeNeedsAnExponent)
{
    struct Case {
        double value;
        const char* point;
        const char* comma;
    };
    const Case cases[] = {
        {0, "0", "0"},
        {-0.0, "0", "0"},
        {2.5, "2.5", "2,5"},
        {-3, "-3", "-3"},
        {100, "100", "100"},
        {0.1, "0.1", "0,1"},
        {1.0 / 3.0, "0.333333333333333", "0,333333333333333"},
        {2.0 / 3.0, "0.666666666666667", "0,666666666666667"},
        {999999999999999, "999999999999999", "999999999999999"},
        {123456789012345.6, "123456789012346", "123456789012346"},
        {999999999999999.9, "1E15", "1E15"},
        {1e20, "1E20", "1E20"},
        {-1.25e300, "-1.25E300", "-1,25E300"},
        {0.00001, "0.00001", "0,00001"},
        {0.000012345, "0.000012345", "0,000012345"},
        {0.000001, "1E-6", "1E-6"},
        {-1.5e-7, "-1.5E-7", "-1,5E-7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.point);
        EXPECT_EQ(GeneralRealText(c.value, '.'), c.point);
        EXPECT_EQ(GeneralRealText(c.value, ','), c.comma);
    }
    EXPECT_EQ(GeneralRealText(std::nan(""), '.'), "NAN");
    EXPECT_EQ(GeneralRealText(-std::numeric_limits<double>::infinity(), '.'), "-INF");
    EXPECT_EQ(GeneralRealText(12.5, ',', 2), "13");
    EXPECT_EQ(GeneralRealText(12.4, ',', 2), "12");
}

TEST(ParseReal, AcceptsTheRuntimeFormsWithTheGivenSeparator)
{
    struct Case {
        const char* text;
        char separator;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"2.5", '.', 2.5},      {"2,5", ',', 2.5},      {"2,5", '.', std::nullopt},
        {"2.5", ',', std::nullopt},                     {"  -3  ", '.', -3.0},
        {"+.5", '.', 0.5},      {"5.", '.', 5.0},       {"1e3", '.', 1000.0},
        {"1E-3", ',', 0.001},   {"1,5E+2", ',', 150.0}, {"", '.', std::nullopt},
        {"-", '.', std::nullopt},                       {".", '.', std::nullopt},
        {"1e", '.', std::nullopt},                      {"1 000", '.', std::nullopt},
        {"inf", '.', std::nullopt},                     {"NAN", '.', std::nullopt},
        {"0x1p3", '.', std::nullopt},                   {"1e400", '.', std::nullopt},
        {"--2", '.', std::nullopt},                     {"2..5", '.', std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseReal(c.text, c.separator), c.value);
    }
}

TEST(ParseReal, ReadsBackWhatGeneralRealTextWrites)
{
    const double values[] = {0, 1, -3, 0.1, 2.6, 1e-7, 6.02214076e23, -123.456, 1.0 / 7.0, 0.000012345};
    for (const char separator : {'.', ','}) {
        for (const double v : values) {
            const std::string text = GeneralRealText(v, separator);
            SCOPED_TRACE(text);
            const auto back = ParseReal(text, separator);
            ASSERT_TRUE(back.has_value());
            EXPECT_NEAR(*back, v, std::fabs(v) * 1e-15);
        }
    }
}

} // namespace
