// Broken settings and calibration files: binary garbage, very long lines,
// missing and repeated sections, numbers out of range. Settings fall back to
// their defaults; a calibration file is read whole or refused with a message.
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "base/Errors.h"
#include "calibration/CalFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace quillmark {
namespace {

std::string Garbage(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
    return bytes;
}

struct SettingsCase {
    const char* Name;
    std::string Text;
};

// Every key reads as its type allows: integers and reals from the file or the
// default, never a crash or a value the window cannot take.
void ReadAllKeys(const ProfileFile& file)
{
    for (const SettingKey& key : kSettingKeys) {
        SCOPED_TRACE(std::string(key.Section) + "." + std::string(key.Key));
        switch (key.Type) {
        case SettingType::Integer:
            ReadIntegerSetting(file, key.Section, key.Key);
            break;
        case SettingType::Boolean:
            ReadBoolSetting(file, key.Section, key.Key);
            break;
        case SettingType::Real:
            EXPECT_TRUE(std::isfinite(ReadRealSetting(file, key.Section, key.Key, ",")));
            break;
        case SettingType::Colour:
            ReadColourSetting(file, key.Section, key.Key);
            break;
        case SettingType::String:
            file.ReadString(key.Section, key.Key, key.Default);
            break;
        }
    }
}

TEST(BrokenSettingsFile, LoadsWithDefaults)
{
    const std::string longLine(1'000'000, 'x');
    const std::vector<SettingsCase> cases = {
        {"binary garbage", Garbage(64 * 1024, 1)},
        {"garbage with zero bytes and line breaks", Garbage(4096, 2) + "\n\r\n\0\r" + Garbage(4096, 3)},
        {"very long line", longLine},
        {"very long section name", "[" + longLine + "]\nLeft=1\n"},
        {"very long value", "[WindowPosition]\nLeft=" + longLine + "\n"},
        {"unclosed section", "[WindowPosition\nLeft=5\n"},
        {"keys without a section", "Left=5\nTop=6\n"},
        {"integers out of range",
         "[WindowPosition]\nLeft=99999999999999999999\nTop=-2147483649\nWidth=2147483648\n"},
        {"reals out of range", "[Calibration]\nXMin=1e99999\nXMax=-1e5000\nStep=nan\nYMin=inf\n"},
        {"colours out of range", "[Options]\nLineColor=$FFFFFFFFFFFF\nGridColor=0x\nPointColor=99999999999\n"},
        {"empty names", "[]\n=\n=5\n[ ]\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const ProfileFile file(c.Text);
        ReadAllKeys(file);
    }
    // Out-of-range numbers give the defaults.
    const ProfileFile ranges(cases[7].Text);
    EXPECT_EQ(ReadIntegerSetting(ranges, "WindowPosition", "Left"), 30);
    EXPECT_EQ(ReadIntegerSetting(ranges, "WindowPosition", "Top"), 25);
    EXPECT_EQ(ReadIntegerSetting(ranges, "WindowPosition", "Width"), 735);
    const ProfileFile reals(cases[8].Text);
    EXPECT_EQ(ReadRealSetting(reals, "Calibration", "XMin", ","), 0.0);
    EXPECT_EQ(ReadRealSetting(reals, "Calibration", "XMax", ","), 10.0);
    EXPECT_EQ(ReadRealSetting(reals, "Calibration", "Step", ","), 1.0);
    EXPECT_EQ(ReadRealSetting(reals, "Calibration", "YMin", ","), -3.0);
}

TEST(BrokenSettingsFile, RepeatedSectionsAndKeysReadTheFirst)
{
    const ProfileFile file("[Options]\nLineSens=7\nLineSens=8\n[Options]\nLineSens=9\nColorSens=3\n");
    EXPECT_EQ(ReadIntegerSetting(file, "Options", "LineSens"), 7);
    // A key only in the repeated section is not looked for there.
    EXPECT_EQ(ReadIntegerSetting(file, "Options", "ColorSens"), 50);
}

TEST(BrokenSettingsFile, GarbageLinesSurviveAWrite)
{
    const std::string garbage = Garbage(2048, 4);
    ProfileFile file(garbage);
    WriteRealSetting(file, "Calibration", "XMin", 2.5, ",");
    const ProfileFile again(file.Text());
    EXPECT_EQ(ReadRealSetting(again, "Calibration", "XMin", ","), 2.5);
    EXPECT_EQ(again.Text(), file.Text());
}

std::string CalText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

struct CalCase {
    const char* Name;
    std::string Bytes;
};

TEST(BrokenCalFile, RefusedWithAMessageOrIgnored)
{
    const std::string header(kCalHeader);
    const std::vector<std::string> good = {header,  "Xmin=0", "Xmax=10", "Xincr=1",
                                           "Ymin=-3", "Ymax=3", "Yincr=1"};
    auto with = [&](std::size_t line, const std::string& text) {
        auto lines = good;
        lines[line] = text;
        return CalText(lines);
    };
    const std::vector<CalCase> refused = {
        {"garbage after the header", header + "\r\n" + Garbage(8192, 5)},
        {"missing key", CalText({good.begin(), good.end() - 1})},
        {"very long line", with(2, "Xmax=" + std::string(200'000, '9'))},
        {"value beyond double", with(2, "Xmax=1e400")},
        {"value not a number", with(3, "Xincr=abc")},
        {"nan", with(4, "Ymin=nan")},
        {"empty value", with(5, "Ymax=")},
        {"oversized file", CalText(good) + std::string(kMaxCalFileBytes, ' ')},
        {"empty file", ""},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.Name);
        try {
            const auto values = ReadCalFile(c.Bytes, ",");
            // A file may only be accepted with finite values.
            if (values) {
                for (const double v : {values->Xmin, values->Xmax, values->Xincr, values->Ymin, values->Ymax,
                                       values->Yincr})
                    EXPECT_TRUE(std::isfinite(v));
                ADD_FAILURE() << "accepted";
            }
        } catch (const QuillmarkError& e) {
            EXPECT_STRNE(e.what(), "");
        }
    }
    // Not a calibration file at all: ignored without a message.
    EXPECT_EQ(ReadCalFile(Garbage(4096, 6), ","), std::nullopt);
    EXPECT_EQ(ReadCalFile(std::string(300'000, 'C'), ","), std::nullopt);
}

} // namespace
} // namespace quillmark
