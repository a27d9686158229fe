#include "digitize/ExportText.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace quillmark;

namespace {

struct TextCase {
    double value;
    long double digits;
    const char* comma;   // the number with "," as separator; "." gives the same with a point
};

std::string WithPoint(std::string text)
{
    for (char& c : text) {
        if (c == ',')
            c = '.';
    }
    return text;
}

std::vector<DataPoint> OnePoint(double x, double y)
{
    return {DataPoint{x, y, {}, {}}};
}

} // namespace

class DataFileNumbers : public testing::TestWithParam<TextCase> {};

TEST_P(DataFileNumbers, UnderBothSeparators)
{
    const TextCase& c = GetParam();
    const std::string number = c.comma;
    EXPECT_EQ(DataFileText(OnePoint(c.value, -c.value), c.digits, ","),
              number + " " + (c.value > 0 ? "-" + number : number) + "\r\n");
    EXPECT_EQ(DataFileText(OnePoint(c.value, c.value), c.digits, "."),
              WithPoint(number) + " " + WithPoint(number) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    ExportText, DataFileNumbers,
    testing::Values(TextCase{12.5, 6, "1,25000E+1"}, TextCase{0.00123, 6, "1,23000E-3"},
                    TextCase{0.0, 6, "0,00000E+0"}, TextCase{12.5, 2, "1,3E+1"}, TextCase{12.4, 2, "1,2E+1"},
                    TextCase{7.0, 6, "7,00000E+0"},
                    // The digits option is rounded and limited to 2 .. 18.
                    TextCase{12.5, 0, "1,3E+1"}, TextCase{3.0, 1, "3,0E+0"}, TextCase{12.5, 2.5, "1,3E+1"},
                    TextCase{1.0 / 3.0, 40, "3,33333333333333315E-1"},
                    // Half up on the exact binary value: 0.125 is a true half,
                    // 2.675 lies just below one.
                    TextCase{0.125, 2, "1,3E-1"}, TextCase{2.675, 3, "2,67E+0"},
                    TextCase{0.1, 18, "1,00000000000000006E-1"},
                    // A carry through every digit moves the exponent.
                    TextCase{999999.5, 6, "1,00000E+6"}, TextCase{9.96, 2, "1,0E+1"},
                    TextCase{1e300, 6, "1,00000E+300"},
                    TextCase{std::numeric_limits<double>::denorm_min(), 6, "4,94066E-324"}));

class ClipboardNumbers : public testing::TestWithParam<TextCase> {};

TEST_P(ClipboardNumbers, FullPrecisionUnderBothSeparators)
{
    const TextCase& c = GetParam();
    const std::string number = c.comma;
    EXPECT_EQ(ClipboardText(OnePoint(c.value, c.value), ","), number + "\t" + number + "\r\n");
    EXPECT_EQ(ClipboardText(OnePoint(c.value, c.value), "."), WithPoint(number) + "\t" + WithPoint(number) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(ExportText, ClipboardNumbers,
                         testing::Values(TextCase{0.1, 0, "0,1"}, TextCase{1.0 / 3.0, 0, "0,333333333333333"},
                                         TextCase{1e14, 0, "100000000000000"}, TextCase{1e15, 0, "1E15"},
                                         TextCase{-123.456, 0, "-123,456"}, TextCase{0.0001, 0, "0,0001"},
                                         TextCase{0.00001, 0, "1E-5"}, TextCase{2.0, 0, "2"}));

TEST(ExportText, DataFileGoldenText)
{
    const std::vector<DataPoint> points{{12.5, -0.00123, {}, {}}, {0.0, 1e-10, "0", {}}, {-3.0, 250.0, {}, {}}};
    EXPECT_EQ(DataFileText(points, 6, ","),
              "1,25000E+1 -1,23000E-3\r\n"
              "0,00000E+0 1,00000E-10\r\n"
              "-3,00000E+0 2,50000E+2\r\n");
    EXPECT_EQ(DataFileText(points, 3, "."),
              "1.25E+1 -1.23E-3\r\n"
              "0.00E+0 1.00E-10\r\n"
              "-3.00E+0 2.50E+2\r\n");
    EXPECT_EQ(DataFileText({}, 6, ","), "");
}

TEST(ExportText, ClipboardGoldenText)
{
    const std::vector<DataPoint> points{{1.5, 2.0, {}, {}}, {3.0, -0.25, {}, {}}};
    EXPECT_EQ(ClipboardText(points, ","), "1,5\t2\r\n3\t-0,25\r\n");
    EXPECT_EQ(ClipboardText(points, "."), "1.5\t2\r\n3\t-0.25\r\n");
    EXPECT_EQ(ClipboardText({}, ","), "");
}
