// `quillmark trace` run in process: exit codes, and the bytes it writes for a
// picture made here, against texts worked out by hand.
#include "ui/app/BatchEntry.h"

#include "calibration/CalFile.h"

#include <QImage>
#include <QFileInfo>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

using namespace quillmark;

namespace {

// 5 x 4 pixels, white, with red pixels at rows 1, 2, (none), 0 of columns
// 0 .. 3; column 4 is never sampled. By colour the rows are 1, 2, 1 (the gap
// interpolated), 0; over the axes 0..5 and 0..4 the points are (0, 3),
// (1, 2), (2, 3), (3, 4).
QImage SmallCurve()
{
    QImage image(5, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 1, qRgb(255, 0, 0));
    image.setPixel(1, 2, qRgb(255, 0, 0));
    image.setPixel(3, 0, qRgb(255, 0, 0));
    image.setPixel(4, 3, qRgb(255, 0, 0));
    return image;
}

const std::string kDat = "0,00000E+0 3,00000E+0\r\n1,00000E+0 2,00000E+0\r\n"
                         "2,00000E+0 3,00000E+0\r\n3,00000E+0 4,00000E+0\r\n";
const std::string kTsv = "0\t3\r\n1\t2\r\n2\t3\r\n3\t4\r\n";

class TraceCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        picture = Path("curve.bmp");
        ASSERT_TRUE(SmallCurve().save(QString::fromStdString(picture), "BMP"));
    }

    std::string Path(const char* name) const { return m_folder.filePath(QString::fromUtf8(name)).toStdString(); }

    int Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), "trace");
        out.str("");
        err.str("");
        return RunBatchCommand(args, out, err);
    }

    std::vector<std::string> Colour(std::vector<std::string> more)
    {
        std::vector<std::string> args{picture, "--method", "colour", "--colour", "ff0000", "--decimal-point", ","};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    static std::string ReadAll(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    QTemporaryDir m_folder;
    std::string picture;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(TraceCommand, EveryCalibrationGivesTheHandWorkedDataFile)
{
    const std::string cal = Path("axes.cal");
    std::ofstream(cal, std::ios::binary) << CalFileText(CalibrationFile{0, 5, 1, 0, 4, 1});
    const std::vector<std::vector<std::string>> calibrations = {
        {"--axes", "0,5,0,4"},
        {"--cal", cal},
        {"--points", "2", "--pixels", "0,4 5,0", "--values", "0,5,0,4"},
        {"--points", "4", "--pixels", "0,2 5,2 1,4 1,0", "--values", "0,5,0,4", "--straighten"},
    };
    for (const std::vector<std::string>& calibration : calibrations) {
        SCOPED_TRACE(calibration[0] + " " + calibration[1]);
        ASSERT_EQ(Run(Colour(calibration)), 0) << err.str();
        EXPECT_EQ(out.str(), kDat);
        // What was found goes to standard error; standard output is the data.
        EXPECT_EQ(err.str(), "found 3 of 4 columns\n");
    }
}

TEST_F(TraceCommand, ClipboardTextToAFile)
{
    const std::string target = Path("points.txt");
    ASSERT_EQ(Run({picture, "--method", "colour", "--colour", "FF0000", "--axes", "0,5,0,4", "--format", "tsv",
                   "--decimal-point", ".", "--out", target}),
              0)
        << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(ReadAll(target), kTsv);
}

TEST_F(TraceCommand, StartAxesAndDigits)
{
    // X 0..10 over 5 columns, Y -3..3 over 4 rows: (0, 1.5), (2, 0), (4, 1.5), (6, 3).
    ASSERT_EQ(Run(Colour({"--digits", "1", "--format", "dat"})), 0) << err.str();
    EXPECT_EQ(out.str(), "0,0E+0 1,5E+0\r\n2,0E+0 0,0E+0\r\n4,0E+0 1,5E+0\r\n6,0E+0 3,0E+0\r\n");
}

TEST_F(TraceCommand, FailuresExitOneWithTheMessageAndNoOutput)
{
    struct Case {
        std::vector<std::string> Args;
        std::string Message;
    };
    const std::vector<Case> cases = {
        {{picture, "--axes", "0,5,0,4", "--line-sens", "0"}, "Линия не найдена.\n"},
        {Colour({"--step", "0", "--step-unit", "axis"}), "Шаг оцифровки должен быть больше нуля.\n"},
        {Colour({"--step", "-1"}), "Шаг оцифровки должен быть больше нуля.\n"},
        {Colour({"--axes", "5,0,0,4"}), "Минимальное значение оси должно быть < максимального.\n"},
        {Colour({"--points", "2", "--pixels", "1,4 1,0", "--values", "0,5,0,4"}), ""},
        {{Path("missing.bmp")}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args.back());
        EXPECT_EQ(Run(c.Args), 1);
        EXPECT_EQ(out.str(), "");
        if (!c.Message.empty())
            EXPECT_EQ(err.str(), c.Message);
        else
            EXPECT_FALSE(err.str().empty());
    }
}

TEST_F(TraceCommand, BadArgumentsExitTwoWithUsage)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {picture, picture},
        {picture, "--axes", "0,5,0,4", "--cal", "x.cal"},
        {picture, "--points", "2", "--pixels", "0,4", "--values", "0,5,0,4"},
        {picture, "--points", "5", "--pixels", "0,4 5,0", "--values", "0,5,0,4"},
        {picture, "--points", "2", "--pixels", "0,4 5,0"},
        {picture, "--straighten"},
        {picture, "--axes", "0,5,0"},
        {picture, "--method", "darkest"},
        {picture, "--colour", "red"},
        {picture, "--line-sens", "501"},
        {picture, "--digits", "19"},
        {picture, "--step", "one"},
        {picture, "--format", "csv"},
        {picture, "--contrast", "511"},
        {picture, "--frobnicate", "1"},
        {picture, "--out"},
    };
    for (const std::vector<std::string>& args : cases) {
        SCOPED_TRACE(args.empty() ? std::string("(none)") : args.back());
        EXPECT_EQ(Run(args), 2);
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str().find("usage: quillmark trace"), std::string::npos);
    }
}

TEST_F(TraceCommand, ManyPicturesWriteEveryFileAndNameEveryFailure)
{
    // Four good copies, one file that is no picture, one that is missing.
    std::vector<std::string> args;
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) {
        ASSERT_TRUE(SmallCurve().save(QString::fromStdString(Path(name)), "BMP"));
        args.push_back(Path(name));
    }
    {
        std::ofstream junk(Path("junk.bmp"), std::ios::binary);
        junk << "not a picture";
    }
    args.push_back(Path("junk.bmp"));
    args.push_back(Path("missing.bmp"));
    const std::string folder = Path("out");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    args.insert(args.end(), {"--out-dir", folder, "--method", "colour", "--colour", "ff0000", "--decimal-point", ",",
                             "--axes", "0,5,0,4"});
    EXPECT_EQ(Run(args), 1);
    for (const char* name : {"/a.dat", "/b.dat", "/c.dat", "/d.dat"})
        EXPECT_EQ(ReadAll(folder + name), kDat) << name;
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(folder + "/junk.dat")));
    EXPECT_NE(err.str().find(Path("junk.bmp") + ": "), std::string::npos) << err.str();
    EXPECT_NE(err.str().find(Path("missing.bmp") + ": "), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find("a.bmp"), std::string::npos) << err.str();
    // Several pictures need the folder; the flags of the precise trace parse.
    EXPECT_EQ(Run({picture, picture}), 2);
    ASSERT_EQ(Run(Colour({"--axes", "0,5,0,4", "--no-fill", "--subpixel", "--follow", "--auto-sens"})), 0) << err.str();
    EXPECT_EQ(err.str().rfind("found 3 of 4 columns, colour sensitivity ", 0), 0u) << err.str();
    const std::string points = out.str();
    EXPECT_EQ(std::count(points.begin(), points.end(), '\n'), 3);
}

TEST_F(TraceCommand, HelpGoesToStandardOutput)
{
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(out.str().find("--step-unit pixels|axis"), std::string::npos);
    EXPECT_EQ(err.str(), "");
}

} // namespace

namespace {

// A straight line on a log-log chart from (1, 10) at the top left to
// (1000, 0.01) at the bottom right: every point's log10 lies on it within
// half a pixel.
TEST_F(TraceCommand, LogLogAxesGivePointsOnTheLineInDecades)
{
    constexpr int kSize = 301;
    QImage chart(kSize, kSize, QImage::Format_RGB32);
    chart.fill(Qt::white);
    for (int x = 0; x < kSize; ++x)
        chart.setPixel(x, x, qRgb(0, 0, 0));
    const std::string path = Path("loglog.bmp");
    ASSERT_TRUE(chart.save(QString::fromStdString(path), "BMP"));
    ASSERT_EQ(Run({path, "--method", "colour", "--axes", "1,1000,0.01,10", "--log-x", "--log-y", "--format", "tsv",
                   "--decimal-point", "."}),
              0)
        << err.str();
    std::istringstream lines(out.str());
    double x = 0;
    double y = 0;
    int count = 0;
    const double pixel = 3.0 / kSize; // decades
    while (lines >> x >> y) {
        ++count;
        EXPECT_NEAR(std::log10(y), 1 - std::log10(x), pixel / 2) << x;
    }
    EXPECT_EQ(count, kSize - 1);
}

} // namespace
