#include "base/Errors.h"
#include "base/NumberText.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

using namespace quillmark;

namespace {

struct GeneralCase {
    long double value;
    int precision;
    const char* text;
};

class GeneralTextTable : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(GeneralTextTable, WritesTheRoundedValueWithTheGivenSeparator)
{
    const auto& c = GetParam();
    EXPECT_EQ(GeneralText(c.value, c.precision, ","), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GeneralTextTable,
    ::testing::Values(
        GeneralCase{0.0L, 15, "0"}, GeneralCase{-0.0L, 15, "0"}, GeneralCase{12.5L, 6, "12,5"},
        GeneralCase{-0.25L, 15, "-0,25"}, GeneralCase{3.0L, 15, "3"},
        // The double nearest 0.1 lies above 0.1: 18 digits show its tail.
        GeneralCase{0.1, 15, "0,1"}, GeneralCase{0.1, 18, "0,100000000000000006"},
        GeneralCase{1.0 / 3.0, 15, "0,333333333333333"}, GeneralCase{2.0 / 3.0, 6, "0,666667"},
        GeneralCase{123456.0L, 6, "123456"}, GeneralCase{1234567.0L, 6, "1,23457E6"},
        GeneralCase{1e6L, 6, "1E6"}, GeneralCase{100000.0L, 6, "100000"},
        GeneralCase{0.0001L, 15, "0,0001"}, GeneralCase{0.00001L, 15, "1E-5"},
        GeneralCase{0.000123L, 6, "0,000123"}, GeneralCase{1.5e-5L, 15, "1,5E-5"},
        // Half up on exact binary halves, also for negative values.
        GeneralCase{2.5L, 1, "3"}, GeneralCase{-2.5L, 1, "-3"}, GeneralCase{0.125L, 2, "0,13"},
        GeneralCase{0.375L, 2, "0,38"}, GeneralCase{9.5L, 1, "1E1"}, GeneralCase{99.5L, 2, "1E2"},
        GeneralCase{99.5L, 3, "99,5"}, GeneralCase{999999.5L, 6, "1E6"},
        // 2.675 is stored just below 2.675, so it rounds down.
        GeneralCase{2.675, 3, "2,67"},
        GeneralCase{1e15L, 15, "1E15"}, GeneralCase{123456789012345.0L, 15, "123456789012345"},
        GeneralCase{1e300, 15, "1E300"}, GeneralCase{-1e-300, 15, "-1E-300"},
        GeneralCase{std::numeric_limits<double>::denorm_min(), 15, "4,94065645841247E-324"},
        GeneralCase{LDBL_MAX, 6, "1,18973E4932"}, GeneralCase{10.0000001L, 15, "10,0000001"},
        GeneralCase{0.025L, 15, "0,025"}));

TEST(GeneralText, NonFiniteValuesAndOtherSeparators)
{
    EXPECT_EQ(GeneralText(std::numeric_limits<long double>::quiet_NaN(), 15, ","), "NAN");
    EXPECT_EQ(GeneralText(std::numeric_limits<long double>::infinity(), 15, ","), "INF");
    EXPECT_EQ(GeneralText(-std::numeric_limits<long double>::infinity(), 15, ","), "-INF");
    EXPECT_EQ(FullPrecisionText(1.5L, "."), "1.5");
    EXPECT_EQ(FullPrecisionText(-1.25e-7L, "\u066B"), "-1\u066B25E-7");
}

TEST(TablePrecision, RoundsHalfEvenAndLimitsToTwoThroughEighteen)
{
    const struct {
        long double option;
        int precision;
    } cases[] = {{0, 2}, {1, 2}, {2, 2}, {6, 6}, {18, 18}, {25, 18}, {-4, 2}, {2.5L, 2}, {3.5L, 4}, {6.4L, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.option));
        EXPECT_EQ(TablePrecision(c.option), c.precision);
    }
    EXPECT_EQ(TableText(12.5L, 2, ","), "13");
    EXPECT_EQ(TableText(1.0L / 3.0L, 0, ","), "0,33");
}

TEST(ExponentText, KeepsTrailingZerosAndAlwaysWritesTheExponentSign)
{
    EXPECT_EQ(ExponentText(12.5L, 6, ","), "1,25000E+1");
    EXPECT_EQ(ExponentText(-0.00123L, 6, ","), "-1,23000E-3");
    EXPECT_EQ(ExponentText(0.0L, 6, ","), "0,00000E+0");
    EXPECT_EQ(ExponentText(-0.0L, 6, ","), "0,00000E+0");
    EXPECT_EQ(ExponentText(12.5L, 2, ","), "1,3E+1");
    EXPECT_EQ(ExponentText(12.4L, 2, ","), "1,2E+1");
    EXPECT_EQ(ExponentText(9.96L, 2, ","), "1,0E+1");
    EXPECT_EQ(ExponentText(1e-300, 3, "."), "1.00E-300");
}

TEST(ScientificText, PadsTheExponentToTheRequestedWidth)
{
    EXPECT_EQ(ScientificText(10.0L, 15, ".", 4), "1.00000000000000E+0001");
    EXPECT_EQ(ScientificText(0.5L, 15, ".", 4), "5.00000000000000E-0001");
    EXPECT_EQ(ScientificText(-3.0L, 15, ".", 4), "-3.00000000000000E+0000");
    EXPECT_EQ(ScientificText(0.0L, 15, ".", 4), "0.00000000000000E+0000");
    EXPECT_EQ(ScientificText(1e100L, 15, ".", 2), "1.00000000000000E+100");
    EXPECT_EQ(ScientificText(7.0L, 1, ",", 1), "7E+0");
}

TEST(RoundDecimals, RoundsHalfUpAtTheGivenPlace)
{
    const auto text = [](long double v, int decimals) {
        const DecimalExpansion d = RoundDecimals(ExactDecimal(v), decimals);
        return (d.Negative ? "-0." : "0.") + d.Digits + "e" + std::to_string(d.Exponent);
    };
    EXPECT_EQ(text(0.5L, 0), "0.1e1");
    EXPECT_EQ(text(0.25L, 1), "0.3e0");
    EXPECT_EQ(text(0.04L, 1), "0.e0");
    EXPECT_EQ(text(-1234.5L, 0), "-0.1235e4");
    EXPECT_EQ(text(999.9996L, 3), "0.1e4");
    EXPECT_EQ(text(0.0004L, 1), "0.e0");
}

struct ParseCase {
    const char* text;
    const char* separator;
    std::optional<long double> value;
};

class ParseNumberTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTable, AcceptsOnlyNumbersWithTheGivenSeparator)
{
    const auto& c = GetParam();
    const auto value = ParseNumber(c.text, c.separator);
    ASSERT_EQ(value.has_value(), c.value.has_value());
    if (value) {
        EXPECT_EQ(*value, *c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseNumberTable,
    ::testing::Values(ParseCase{"1,5", ",", 1.5L}, ParseCase{" -2,25 ", ",", -2.25L},
                      ParseCase{"1.5", ",", std::nullopt}, ParseCase{"1,5", ".", std::nullopt},
                      ParseCase{"", ",", std::nullopt}, ParseCase{"-", ",", std::nullopt},
                      ParseCase{",", ",", std::nullopt}, ParseCase{",5", ",", 0.5L}, ParseCase{"5,", ",", 5.0L},
                      ParseCase{"1e3", ",", 1000.0L}, ParseCase{"1E-3", ",", 0.001L}, ParseCase{"+4", ",", 4.0L},
                      ParseCase{"1e", ",", std::nullopt}, ParseCase{"1e+", ",", std::nullopt},
                      ParseCase{"1,2,3", ",", std::nullopt}, ParseCase{"abc", ",", std::nullopt},
                      ParseCase{"1 000", ",", std::nullopt}, ParseCase{"--1", ",", std::nullopt},
                      ParseCase{"0,1", ",", 0.1L}, ParseCase{"1e99999999999", ",", std::nullopt},
                      ParseCase{"1e5000", ",", std::nullopt}, ParseCase{"1e-5000", ",", 0.0L},
                      ParseCase{"0e99999999999", ",", 0.0L}, ParseCase{"NAN", ",", std::nullopt},
                      ParseCase{"INF", ",", std::nullopt}, ParseCase{"0x10", ",", std::nullopt},
                      ParseCase{"2<>5", "<>", 2.5L}, ParseCase{"1,18973E4932", ",", 1.18973e4932L}));

TEST(ParseNumber, ReadsBackEveryFullPrecisionText)
{
    const long double values[] = {0.1L, -3.0L, 1.0L / 3.0L, 12345.678901234567L, 1e-7L, 6.02214076e23L,
                                  -9.87654321e-200L, 0.025L, 1e15L, 999999999999999.0L};
    for (const char* separator : {",", "."}) {
        for (const long double v : values) {
            SCOPED_TRACE(FullPrecisionText(v, separator));
            const std::string text = FullPrecisionText(v, separator);
            const auto back = ParseNumber(text, separator);
            ASSERT_TRUE(back.has_value());
            EXPECT_NEAR(static_cast<double>(*back / v), 1.0, 1e-14);
            EXPECT_EQ(FullPrecisionText(*back, separator), text);
        }
    }
}

TEST(ParseNumberOrThrow, NamesTheTextInTheMessage)
{
    EXPECT_EQ(ParseNumberOrThrow("2,5", ","), 2.5L);
    try {
        ParseNumberOrThrow("2.5x", ",");
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'2.5x' is not a valid floating point value");
    }
}

TEST(ParseInteger, AcceptsTheFullRangeAndNothingElse)
{
    EXPECT_EQ(ParseInteger("12"), 12);
    EXPECT_EQ(ParseInteger(" -7 "), -7);
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_EQ(ParseInteger("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(ParseInteger("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(ParseInteger("9223372036854775808"), std::nullopt);
    EXPECT_EQ(ParseInteger("1,5"), std::nullopt);
    EXPECT_EQ(ParseInteger("-"), std::nullopt);
    EXPECT_EQ(ParseInteger(""), std::nullopt);
    EXPECT_EQ(IntegerText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(IntegerText(0), "0");
}

} // namespace
