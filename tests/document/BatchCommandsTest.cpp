// The batch commands' words, read without a picture or a window.
#include "document/BatchCommands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace quillmark;

namespace {

// Help and version open no picture.
const BatchEnvironment kNoPictures{".", nullptr};

} // namespace

TEST(DecodeArguments, OptionsTakeTheGivenValuesAndDefaultToTheControlsStart)
{
    std::string error;
    const auto defaults = ParseDecodeArguments({"in.png", "out.ppm"}, error);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->Rotate, 0);
    EXPECT_FALSE(defaults->Negative);
    EXPECT_EQ(defaults->Contrast, 255);
    EXPECT_EQ(defaults->Lightness, 255);
    EXPECT_EQ(defaults->Saturation, 255);
    EXPECT_EQ(defaults->CuttingOff, 0);
    EXPECT_EQ(defaults->Blur, 0);

    const auto given = ParseDecodeArguments({"--rotate", "-12.25", "in.png", "--negative", "--contrast", "0",
                                             "--lightness", "510", "--saturation", "7", "--cutoff", "255", "--blur",
                                             "100", "out.ppm"},
                                            error);
    ASSERT_TRUE(given) << error;
    // The rotation is held as the spin edit's 15-digit text.
    const auto precise = ParseDecodeArguments({"--rotate", "0.1234567890123456789", "in.png", "out.ppm"}, error);
    ASSERT_TRUE(precise) << error;
    EXPECT_DOUBLE_EQ(precise->Rotate, 0.123456789012346);

    EXPECT_EQ(given->Picture, "in.png");
    EXPECT_EQ(given->Output, "out.ppm");
    EXPECT_EQ(given->Rotate, -12.25);
    EXPECT_TRUE(given->Negative);
    EXPECT_EQ(given->Contrast, 0);
    EXPECT_EQ(given->Lightness, 510);
    EXPECT_EQ(given->Saturation, 7);
    EXPECT_EQ(given->CuttingOff, 255);
    EXPECT_EQ(given->Blur, 100);
}

TEST(BatchArguments, ErrorsNameTheWordAtFaultAndHelpEndsTheWalk)
{
    struct Case {
        std::vector<std::string> Args;
        std::string Error;
    };
    const std::vector<Case> decode = {
        {{"in.png", "out.ppm", "--blur"}, "missing value for --blur"},
        {{"in.png", "--straighten", "out.ppm"}, "unknown option --straighten"},
        {{"in.png", "--rotate", "x", "out.ppm"}, "bad value for --rotate: x"},
        {{"in.png"}, "expected PICTURE and OUTPUT.ppm"},
    };
    for (const Case& c : decode) {
        SCOPED_TRACE(c.Error);
        std::string error;
        EXPECT_FALSE(ParseDecodeArguments(c.Args, error));
        EXPECT_EQ(error, c.Error);
    }
    const std::vector<Case> trace = {
        {{"in.png", "--digits"}, "missing value for --digits"},
        {{"in.png", "--frobnicate", "1"}, "unknown option --frobnicate"},
        {{"in.png", "--digits", "19"}, "bad value for --digits: 19"},
        {{"in.png", "more.png"}, "expected one PICTURE"},
    };
    for (const Case& c : trace) {
        SCOPED_TRACE(c.Error);
        std::string error;
        EXPECT_FALSE(ParseTraceArguments(c.Args, error));
        EXPECT_EQ(error, c.Error);
    }
    // --help wins over what follows it, not over a fault before it; a switch
    // never takes the next word as its value.
    std::string error;
    const auto help = ParseTraceArguments({"--straighten", "--help", "--digits"}, error);
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->Help);
    EXPECT_FALSE(ParseTraceArguments({"--digits", "19", "--help"}, error));
    const auto switches = ParseTraceArguments(
        {"--negative", "in.png", "--straighten", "--points", "2", "--pixels", "0,4 5,0", "--values", "0,5,0,4"}, error);
    ASSERT_TRUE(switches) << error;
    EXPECT_TRUE(switches->Adjust.Negative);
    EXPECT_TRUE(switches->Straighten);
    EXPECT_EQ(switches->Picture, "in.png");
}

TEST(BatchArguments, HelpAndVersionRunWithoutTheWindow)
{
    EXPECT_TRUE(IsBatchCommand("decode"));
    EXPECT_TRUE(IsBatchCommand("trace"));
    EXPECT_TRUE(IsBatchCommand("--help"));
    EXPECT_TRUE(IsBatchCommand("-h"));
    EXPECT_TRUE(IsBatchCommand("--version"));
    EXPECT_FALSE(IsBatchCommand("chart.png"));
    EXPECT_FALSE(IsBatchCommand("--frobnicate"));

    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunBatchCommand({"--help"}, out, err, kNoPictures), 0);
    EXPECT_EQ(out.str().rfind("usage: quillmark [PICTURE]", 0), 0U);
    EXPECT_NE(out.str().find("usage: quillmark decode"), std::string::npos);
    EXPECT_NE(out.str().find("usage: quillmark trace"), std::string::npos);
    EXPECT_EQ(err.str(), "");
    out.str("");
    EXPECT_EQ(RunBatchCommand({"--version"}, out, err, kNoPictures), 0);
    EXPECT_EQ(out.str(), "Quillmark 0.61\n");
    EXPECT_EQ(err.str(), "");
}
