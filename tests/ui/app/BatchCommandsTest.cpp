#include "ui/app/BatchEntry.h"

#include "formats/BmpTestFiles.h"
#include "formats/JpegTestFiles.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

using namespace quillmark;
namespace fs = std::filesystem;

namespace {

class DecodeCommand : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        return m_folder.Write(name, bytes);
    }

    int Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), "decode");
        m_out.str("");
        m_err.str("");
        return RunBatchCommand(args, m_out, m_err);
    }

    std::string Out(const std::string& name = "out.ppm") const { return (m_dir / name).string(); }

    static std::vector<std::uint8_t> ReadAll(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    const test::ScratchFolder m_folder{"quillmark-decode-"};
    const fs::path& m_dir = m_folder.Path();
    std::ostringstream m_out;
    std::ostringstream m_err;
};

std::vector<std::uint8_t> Ppm(std::string_view header, std::initializer_list<int> pixels)
{
    std::vector<std::uint8_t> out(header.begin(), header.end());
    for (const int v : pixels)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

} // namespace

TEST_F(DecodeCommand, BitmapIsWrittenAsRgbPpm)
{
    const std::string picture = Write("small.BMP", quillmark::testing::SmallTrueColourBmp());
    ASSERT_EQ(Run({picture, Out()}), 0) << m_err.str();
    EXPECT_EQ(ReadAll(Out()), Ppm("P6\n3 2\n255\n", {255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 10, 20, 30}));
    EXPECT_EQ(m_out.str(), "");
    EXPECT_EQ(m_err.str(), "");
}

TEST_F(DecodeCommand, AdjustmentsRunInTheWindowsOrder)
{
    const std::string picture = Write("small.bmp", quillmark::testing::SmallTrueColourBmp());
    // Negative first, then the cut-off: only bytes above 240 of the negative stay.
    ASSERT_EQ(Run({picture, Out(), "--cutoff", "240", "--negative"}), 0) << m_err.str();
    EXPECT_EQ(ReadAll(Out()), Ppm("P6\n3 2\n255\n", {0, 255, 255, 255, 0, 255, 255, 255, 0, 255, 255, 255, 0, 0, 0, 245, 0, 0}));
    // A quarter turn keeps the size.
    ASSERT_EQ(Run({picture, Out(), "--rotate", "90"}), 0) << m_err.str();
    EXPECT_EQ(ReadAll(Out()).size(), std::string("P6\n3 2\n255\n").size() + 18);
}

TEST_F(DecodeCommand, GreyJpegGivesGreyPixels)
{
    const std::string picture = Write("grey.jpg", quillmark::testing::EncodeJpeg(
                                                      {.Width = 8, .Height = 8, .Components = 1, .Quality = 100,
                                                       .Sample = [](int, int, int) { return std::uint8_t{77}; }}));
    ASSERT_EQ(Run({"--contrast", "255", picture, Out()}), 0) << m_err.str();
    const std::vector<std::uint8_t> ppm = ReadAll(Out());
    const std::string header = "P6\n8 8\n255\n";
    ASSERT_EQ(ppm.size(), header.size() + 8 * 8 * 3);
    for (std::size_t i = header.size(); i < ppm.size(); ++i)
        ASSERT_EQ(ppm[i], 77) << "byte " << i;
}

TEST_F(DecodeCommand, LoadFailuresExitOneWithTheErrorBoxText)
{
    const std::string missing = (m_dir / "missing.png").string();
    const std::string icon = Write("a.ico", {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    const std::string corrupt = Write("bad.jpeg", {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'});
    struct Case {
        std::string picture;
        std::string message;
    };
    const Case cases[] = {
        {missing, "Cannot open file " + missing + ".\n"},
        {(m_dir / "scan.tif.bak").string(), "Unknown picture file extension (.bak)\n"},
        {icon, "Cannot assign a IconPicture to a Bitmap.\n"},
        {corrupt, "JPEG error #53.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture);
        EXPECT_EQ(Run({c.picture, Out()}), 1);
        EXPECT_EQ(m_err.str(), c.message);
        EXPECT_EQ(m_out.str(), "");
        EXPECT_FALSE(fs::exists(Out()));
    }
}

TEST_F(DecodeCommand, BadArgumentsExitTwoWithUsage)
{
    const std::string picture = Write("small.bmp", quillmark::testing::SmallTrueColourBmp());
    const std::vector<std::vector<std::string>> cases = {
        {},
        {picture},
        {picture, Out(), "extra"},
        {picture, Out(), "--contrast"},
        {picture, Out(), "--contrast", "511"},
        {picture, Out(), "--lightness", "-1"},
        {picture, Out(), "--cutoff", "256"},
        {picture, Out(), "--blur", "101"},
        {picture, Out(), "--blur", "2.5"},
        {picture, Out(), "--rotate", "ten"},
        {picture, Out(), "--rotate", "nan"},
        {picture, Out(), "--rotate", "1,5"},
        {picture, Out(), "--rotate", "1e400"},
        {picture, Out(), "--sharpen", "3"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(Run(args), 2);
        EXPECT_NE(m_err.str().find("usage: quillmark decode PICTURE OUTPUT.ppm"), std::string::npos);
        EXPECT_FALSE(fs::exists(Out()));
    }
    m_err.str("");
    std::ostringstream out;
    EXPECT_EQ(RunBatchCommand({"frobnicate"}, out, m_err), 2);
}
