#include "base/NumberMask.h"

#include <gtest/gtest.h>

using namespace quillmark;

namespace {

constexpr const char* kPlain = "#,##0.###";
constexpr const char* kPlainBlank = "#,##0.### ";
constexpr const char* kScientific = "#.0## \"x10\" E+0##";
constexpr const char* kNoBreakSpace = "\xC2\xA0";

struct MaskCase {
    const char* mask;
    long double value;
    const char* withPoint; // decimal "." and group ","
    const char* withComma; // decimal "," and group no-break space
};

class AxisMasks : public ::testing::TestWithParam<MaskCase> {};

TEST_P(AxisMasks, RenderUnderBothSeparatorSets)
{
    const auto& c = GetParam();
    const NumberMask mask(c.mask);
    EXPECT_EQ(mask.Format(c.value, ".", ","), c.withPoint);
    std::string comma = c.withComma;
    for (std::size_t at = comma.find('_'); at != std::string::npos; at = comma.find('_'))
        comma.replace(at, 1, kNoBreakSpace);
    EXPECT_EQ(mask.Format(c.value, ",", kNoBreakSpace), comma);
}

// In withComma, "_" stands for the no-break space.
INSTANTIATE_TEST_SUITE_P(
    Cases, AxisMasks,
    ::testing::Values(
        MaskCase{kPlain, 0.0L, "0", "0"}, MaskCase{kPlain, -0.0L, "0", "0"}, MaskCase{kPlain, 0.5L, "0.5", "0,5"},
        MaskCase{kPlain, -3.0L, "-3", "-3"}, MaskCase{kPlain, 100.0L, "100", "100"},
        MaskCase{kPlain, 1234.5678L, "1,234.568", "1_234,568"},
        MaskCase{kPlain, 1e6L, "1,000,000", "1_000_000"},
        MaskCase{kPlain, -1234567.25L, "-1,234,567.25", "-1_234_567,25"},
        MaskCase{kPlain, 0.0004L, "0", "0"}, MaskCase{kPlain, -0.0004L, "0", "0"},
        MaskCase{kPlain, 0.0005, "0.001", "0,001"}, MaskCase{kPlain, 999.9996L, "1,000", "1_000"},
        MaskCase{kPlain, 0.30000000000000004, "0.3", "0,3"}, MaskCase{kPlain, -2.9999999999999996, "-3", "-3"},
        MaskCase{kPlainBlank, 3.0L, "3 ", "3 "}, MaskCase{kPlainBlank, -1.5L, "-1.5 ", "-1,5 "},
        MaskCase{kScientific, 12345.0L, "1.235 x10 E+4", "1,235 x10 E+4"},
        MaskCase{kScientific, 10000.0L, "1.0 x10 E+4", "1,0 x10 E+4"},
        MaskCase{kScientific, -25000.0L, "-2.5 x10 E+4", "-2,5 x10 E+4"},
        MaskCase{kScientific, 0.0001L, "1.0 x10 E-4", "1,0 x10 E-4"},
        MaskCase{kScientific, 0.00012L, "1.2 x10 E-4", "1,2 x10 E-4"},
        MaskCase{kScientific, 0.0L, "0.0 x10 E+0", "0,0 x10 E+0"},
        MaskCase{kScientific, 999960.0L, "1.0 x10 E+6", "1,0 x10 E+6"},
        MaskCase{kScientific, 5.0L, "5.0 x10 E+0", "5,0 x10 E+0"},
        MaskCase{kScientific, -1e100L, "-1.0 x10 E+100", "-1,0 x10 E+100"}));

TEST(NumberMask, OtherMaskCharacters)
{
    const struct {
        const char* mask;
        long double value;
        const char* text;
    } cases[] = {
        {"000", 7, "007"},           {"0.00", 2.5L, "2.50"},      {"'abc'0", 7, "abc7"},
        {"0.0E-00", 1234, "1.2E03"}, {"0.0e-00", 0.00123L, "1.2e-03"}, {".##", 0.5L, ".5"},
        {"00.0E+0", 12345, "12.3E+3"}, {"#", 0, ""},               {"0-00", 1234, "12-34"},
        {"0.0.0", 1.25L, "1.25"},     {"", 0.1L, "0.1"},             {"x", 5, "x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        EXPECT_EQ(NumberMask(c.mask).Format(c.value, ".", ","), c.text);
    }
}

} // namespace
