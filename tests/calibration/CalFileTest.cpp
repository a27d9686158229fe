#include "calibration/CalFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/Errors.h"

using namespace quillmark;

namespace {

const std::string kGolden =
    "Curvinel v0.4\r\n"
    "Xmin= 0.00000000000000E+0000\r\n"
    "Xmax= 1.00000000000000E+0001\r\n"
    "Xincr= 1.00000000000000E+0000\r\n"
    "Ymin=-3.00000000000000E+0000\r\n"
    "Ymax= 3.00000000000000E+0000\r\n"
    "Yincr= 1.00000000000000E+0000\r\n";

std::string File(const std::string& body)
{
    return "Curvinel v0.4\r\n" + body;
}

TEST(CalFile, GoldenBytesForTheDefaultAxes)
{
    EXPECT_EQ(CalFileText({0, 10, 1, -3, 3, 1}), kGolden);
}

TEST(CalFile, AxisFlagsAreOptionalLinesAfterTheSeven)
{
    CalibrationFile values{1, 1000, 1, 0.01, 10, 1};
    values.Xlog = true;
    values.Yrev = true;
    const std::string text = CalFileText(values);
    EXPECT_EQ(text.substr(kGolden.size() - 2), "\r\nXlog=1\r\nYrev=1\r\n");
    EXPECT_EQ(ReadCalFile(text, "."), values);
    // A file of the seven lines reads as linear and forward; "0" is off too.
    const std::optional<CalibrationFile> old = ReadCalFile(kGolden + "ylog=0\r\n", ".");
    ASSERT_TRUE(old);
    EXPECT_FALSE(old->Xlog || old->Ylog || old->Xrev || old->Yrev);
    EXPECT_THROW(ReadCalFile(kGolden + "Xrev=yes\r\n", "."), ConvertError);
}

TEST(CalFile, NumbersAreTwentyThreeCharactersWhateverTheValue)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {10, " 1.00000000000000E+0001"},
        {-3, "-3.00000000000000E+0000"},
        {0.5, " 5.00000000000000E-0001"},
        {0, " 0.00000000000000E+0000"},
        {-0.0, " 0.00000000000000E+0000"},
        {0.1, " 1.00000000000000E-0001"},
        {-123.456, "-1.23456000000000E+0002"},
        {2.0 / 3.0, " 6.66666666666667E-0001"},
        {1e-300, " 1.00000000000000E-0300"},
        {std::numeric_limits<double>::max(), " 1.79769313486232E+0308"},
        {-std::numeric_limits<double>::denorm_min(), "-4.94065645841247E-0324"},
        {9.999999999999999, " 1.00000000000000E+0001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string text = CalNumberText(c.value);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(text.size(), 23U);
    }
    EXPECT_THROW(CalNumberText(std::nan("")), InternalError);
    EXPECT_THROW(CalNumberText(std::numeric_limits<double>::infinity()), InternalError);
}

TEST(CalFile, WriteThenReadGivesTheValuesBackUnderBothSeparators)
{
    const CalibrationFile samples[] = {
        {0, 10, 1, -3, 3, 1},
        {-1e-7, 3.25e-7, 5e-8, 1234.5, 98765.4321, 0},
        {0.1, 0.7, 0.01, -0.3, 1e300, 2.5e-300},
    };
    for (const char* separator : {".", ","}) {
        for (const CalibrationFile& values : samples) {
            SCOPED_TRACE(separator);
            const auto back = ReadCalFile(CalFileText(values), separator);
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(*back, values);
        }
    }
    // Values with more digits than the file keeps come back to 15 digits.
    const CalibrationFile fine{1.0 / 3.0, std::sqrt(2.0), 0, 0, 1, 0};
    const auto back = ReadCalFile(CalFileText(fine), ",");
    ASSERT_TRUE(back.has_value());
    EXPECT_NEAR(back->Xmin, fine.Xmin, 1e-15);
    EXPECT_NEAR(back->Xmax, fine.Xmax, 5e-15);
}

TEST(CalFile, AHeaderThatIsNotExactlyOursIsIgnored)
{
    const std::string body = kGolden.substr(kGolden.find('\n') + 1);
    for (const std::string header :
         {"curvinel v0.4", "CURVINEL V0.4", "Curvinel v0.4 ", " Curvinel v0.4", "Curvinel v0.5",
          "\xEF\xBB\xBF" "Curvinel v0.4", "", "Xmin=0"}) {
        SCOPED_TRACE(header);
        EXPECT_FALSE(ReadCalFile(header + "\r\n" + body, ".").has_value());
    }
}

TEST(CalFile, LooseLookupOfKeysAndValues)
{
    const std::string text = File(
        "; written by hand\n"
        "YINCR = 7\n"          // key with a blank before "=" is another key
        "yincr=   0.5e1  \n"
        "Yincr=99\n"           // the first match wins
        "XMAX=2.5\n"
        "xmin=-1E-2\n"
        "garbage line without equals\n"
        "Xincr=+.25\n"
        "ymin=3.\n"
        "Ymax=1e+3\n");
    for (const char* separator : {".", ","}) {
        const auto v = ReadCalFile(text, separator);
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(*v, (CalibrationFile{-0.01, 2.5, 0.25, 3, 1000, 5}));
    }
}

TEST(CalFile, LineEndsMayBeCrLfLfOrCr)
{
    const CalibrationFile want{0, 10, 1, -3, 3, 1};
    std::string lf = kGolden;
    std::string cr = kGolden;
    for (std::size_t p; (p = lf.find("\r\n")) != std::string::npos;)
        lf.replace(p, 2, "\n");
    for (std::size_t p; (p = cr.find("\r\n")) != std::string::npos;)
        cr.replace(p, 2, "\r");
    for (const std::string& text : {lf, cr, kGolden.substr(0, kGolden.size() - 2)}) {
        const auto v = ReadCalFile(text, ".");
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(*v, want);
    }
}

TEST(CalFile, TheLocaleSeparatorIsAcceptedBesideThePoint)
{
    const std::string comma = File("Xmin=0,5\nXmax=1\nXincr=0\nYmin=0\nYmax=1\nYincr=0\n");
    const auto v = ReadCalFile(comma, ",");
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->Xmin, 0.5);
    try {
        ReadCalFile(comma, ".");
        ADD_FAILURE() << "a comma read under a point locale";
    } catch (const ConvertError& e) {
        EXPECT_NE(std::string(e.what()).find("Xmin"), std::string::npos) << e.what();
    }
}

TEST(CalFile, AnyMissingKeyOrBadValueRefusesTheWholeFileNamingTheKey)
{
    const std::string good[] = {"Xmin=0", "Xmax=10", "Xincr=1", "Ymin=-3", "Ymax=3", "Yincr=1"};
    const char* keys[] = {"Xmin", "Xmax", "Xincr", "Ymin", "Ymax", "Yincr"};
    for (int k = 0; k < 6; ++k) {
        std::string missing;
        std::string bad;
        for (int j = 0; j < 6; ++j) {
            if (j != k)
                missing += good[j] + "\r\n";
            bad += (j == k ? std::string(keys[j]) + "=1,0,0" : good[j]) + "\r\n";
        }
        SCOPED_TRACE(keys[k]);
        try {
            ReadCalFile(File(missing), ",");
            ADD_FAILURE() << "missing key accepted";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(keys[k]), std::string::npos) << e.what();
        }
        try {
            ReadCalFile(File(bad), ",");
            ADD_FAILURE() << "bad value accepted";
        } catch (const ConvertError& e) {
            EXPECT_NE(std::string(e.what()).find(keys[k]), std::string::npos) << e.what();
        }
    }
}

TEST(CalFile, MalformedNumbersAreNotNumbers)
{
    for (const std::string value : {"", " ", "abc", "1e", "1e+", "--1", "+-1", "1.5.2", ".", "e5", "inf", "nan",
                                    "0x10", "1 2", "1e999", "1,5", "$10", "\t"}) {
        SCOPED_TRACE(value);
        const std::string text = File("Xmin=" + value + "\nXmax=1\nXincr=0\nYmin=0\nYmax=1\nYincr=0\n");
        EXPECT_THROW(ReadCalFile(text, "."), ConvertError);
    }
}

TEST(CalFile, EmptyOversizedAndHeaderOnlyFiles)
{
    EXPECT_THROW(ReadCalFile("", "."), FileError);
    EXPECT_THROW(ReadCalFile("Curvinel v0.4", "."), FileError);
    std::string huge = kGolden;
    huge.append(kMaxCalFileBytes, 'x');
    EXPECT_THROW(ReadCalFile(huge, "."), FileError);
    // A very long garbage line within the limit is only skipped.
    std::string longLine = kGolden + std::string(500000, '=') + "\r\n";
    EXPECT_TRUE(ReadCalFile(longLine, ".").has_value());
    // A bad value is quoted, but not at any length.
    try {
        ReadCalFile(File("Xmin=" + std::string(100000, 'z') + "\n"), ".");
        ADD_FAILURE();
    } catch (const ConvertError& e) {
        EXPECT_LT(std::string(e.what()).size(), 200U);
    }
}

TEST(CalFile, SuggestedNameFromThePlotTitle)
{
    EXPECT_EQ(CalSuggestedFileName({""}), "noname");
    EXPECT_EQ(CalSuggestedFileName({}), "noname");
    EXPECT_EQ(CalSuggestedFileName({"chart"}), "chart");
    EXPECT_EQ(CalSuggestedFileName({"график"}), "график");
    EXPECT_EQ(CalSuggestedFileName({"my chart"}), "\"my chart\"");
    EXPECT_EQ(CalSuggestedFileName({"a,b"}), "\"a,b\"");
    EXPECT_EQ(CalSuggestedFileName({"say \"hi\""}), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CalSuggestedFileName({"tab\there"}), "\"tab\there\"");
    EXPECT_EQ(CalSuggestedFileName({"one", "two words"}), "one,\"two words\"");
}

} // namespace
