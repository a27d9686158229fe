#include "settings/Settings.h"
#include "settings/Language.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "base/Errors.h"
#include "base/NumberText.h"

using namespace quillmark;

namespace {

TEST(Settings, KeyTableIsUniqueAndEveryDefaultReadsAsItsType)
{
    std::set<std::pair<std::string, std::string>> seen;
    for (const SettingKey& k : kSettingKeys) {
        SCOPED_TRACE(std::string(k.Section) + "/" + std::string(k.Key));
        EXPECT_TRUE(seen.emplace(std::string(k.Section), std::string(k.Key)).second);
        const ProfileFile empty;
        switch (k.Type) {
        case SettingType::Integer:
            EXPECT_EQ(std::to_string(ReadIntegerSetting(empty, k.Section, k.Key)), k.Default);
            break;
        case SettingType::Boolean:
            EXPECT_TRUE(k.Default == "1" || k.Default == "0");
            break;
        case SettingType::Real:
            EXPECT_TRUE(ParseNumber(k.Default, ",").has_value());
            break;
        case SettingType::Colour:
            EXPECT_TRUE(TextToColour(k.Default).has_value());
            break;
        case SettingType::String:
            break;
        }
    }
    EXPECT_EQ(kSettingKeys.front().Key, "Left");
    EXPECT_EQ(kSettingKeys.back().Section, "SetAxis");
}

TEST(Settings, DefaultsOfAnEmptyFile)
{
    const ProfileFile f;
    EXPECT_TRUE(ReadBoolSetting(f, "WindowPosition", "WindowState"));
    EXPECT_FALSE(ReadBoolSetting(f, "Options", "Rotate"));
    EXPECT_EQ(ReadIntegerSetting(f, "Options", "RegSet"), 4);
    EXPECT_EQ(ReadIntegerSetting(f, "ToolWindow", "Top"), 0);
    EXPECT_EQ(ReadIntegerSetting(f, "ToolWindow", "Top", kToolWindowFloatingTop), 30);
    EXPECT_EQ(ReadRealSetting(f, "Calibration", "YMin", ","), -3.0);
    EXPECT_EQ(ReadColourSetting(f, "Options", "SelectPointColor"), 0x0000FFU);
    EXPECT_EQ(ReadColourSetting(f, "Options", "GridColor"), 0xFF0000U);
}

TEST(Settings, RealsUseTheLocaleSeparatorAndFallBackToTheirDefault)
{
    ProfileFile f;
    WriteRealSetting(f, "Calibration", "Step", 2.6, ",");
    WriteRealSetting(f, "Calibration", "XMax", 1e20, ",");
    EXPECT_EQ(f.Text(), "[Calibration]\r\nStep=2,6\r\nXMax=1E20\r\n");
    EXPECT_EQ(ReadRealSetting(f, "Calibration", "Step", ","), 2.6);
    EXPECT_EQ(ReadRealSetting(f, "Calibration", "XMax", ","), 1e20);
    // Written under another locale: the key's default, no error.
    EXPECT_EQ(ReadRealSetting(f, "Calibration", "Step", "."), 1.0);
    const ProfileFile junk("[calibration]\r\nymax=three\r\nYMin=\r\n");
    EXPECT_EQ(ReadRealSetting(junk, "Calibration", "YMax", "."), 3.0);
    EXPECT_EQ(ReadRealSetting(junk, "Calibration", "YMin", "."), -3.0);
}

TEST(Settings, ColoursByIdentifierOrHexValue)
{
    EXPECT_EQ(ColourToText(0xFF0000), "clBlue");
    EXPECT_EQ(ColourToText(0x0000FF), "clRed");
    EXPECT_EQ(ColourToText(0xC0C0C0), "clSilver");
    EXPECT_EQ(ColourToText(0x123456), "$00123456");
    EXPECT_EQ(ColourToText(0x80000005), "$80000005");
    struct Case {
        const char* text;
        std::optional<ColourValue> value;
    };
    const Case cases[] = {
        {"clBlue", 0xFF0000},   {"CLRED", 0x0000FF},     {"clLtGray", 0xC0C0C0},
        {"$00123456", 0x123456}, {"$ff", 0xFF},          {"0x10", 0x10},
        {"255", 255},           {"-1", 0xFFFFFFFF},      {"$123456789", std::nullopt},
        {"clBlu", std::nullopt}, {"$", std::nullopt},    {"", std::nullopt},
        {"$12G", std::nullopt}, {"4294967295", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TextToColour(c.text), c.value);
    }
    ProfileFile f("[Options]\r\nGridColor=clRed\r\nLineColor=rubbish\r\n");
    EXPECT_EQ(ReadColourSetting(f, "Options", "GridColor"), 0x0000FFU);
    EXPECT_EQ(ReadColourSetting(f, "Options", "LineColor"), 0xFF0000U);
    WriteColourSetting(f, "Options", "PointColor", 0x00ABCDEF);
    EXPECT_EQ(f.ReadString("Options", "PointColor", ""), "$00ABCDEF");
    EXPECT_EQ(ReadColourSetting(f, "Options", "PointColor"), 0x00ABCDEFU);
}

TEST(Settings, StepAndTruncatedFields)
{
    EXPECT_EQ(StepForUnit(2.6, false), 3.0);
    EXPECT_EQ(StepForUnit(2.5, false), 2.0);
    EXPECT_EQ(StepForUnit(2.6, true), 2.6);
    EXPECT_EQ(TruncateSetting(49.9), 49);
    EXPECT_EQ(TruncateSetting(-1.5), -1);
    EXPECT_EQ(TruncateSetting(1e20), INT32_MAX);
    EXPECT_EQ(TruncateSetting(-1e20), INT32_MIN);
    EXPECT_EQ(TruncateSetting(std::nan("")), 0);
}

TEST(Settings, KeysOutsideTheTableOrOfAnotherTypeAreBugs)
{
    const ProfileFile f;
    EXPECT_THROW(ReadIntegerSetting(f, "Options", "NoSuchKey"), InternalError);
    EXPECT_THROW(ReadIntegerSetting(f, "Calibration", "XMin"), InternalError);
    EXPECT_THROW(ReadRealSetting(f, "Options", "Stretch", "."), InternalError);
    // Names compare without regard to case here too.
    EXPECT_EQ(ReadIntegerSetting(f, "options", "precision"), 6);
}

} // namespace

TEST(Language, SystemCommandLineAndEnvironment)
{
    // The C locale and Russian speak Russian; English and untranslated
    // languages speak English.
    EXPECT_EQ(SystemLanguage("C", "C"), UiLanguage::Russian);
    EXPECT_EQ(SystemLanguage("POSIX", ""), UiLanguage::Russian);
    EXPECT_EQ(SystemLanguage("ru_RU", "ru-RU"), UiLanguage::Russian);
    EXPECT_EQ(SystemLanguage("en_US", "en-US"), UiLanguage::English);
    EXPECT_EQ(SystemLanguage("de_DE", "de-DE"), UiLanguage::English);
    EXPECT_EQ(SystemLanguage("de_DE", "ru"), UiLanguage::Russian);
    EXPECT_EQ(LanguageFromCode("EN"), UiLanguage::English);
    EXPECT_EQ(LanguageFromCode("fr"), std::nullopt);
    const auto ru = UiLanguage::Russian;
    const auto en = UiLanguage::English;
    EXPECT_EQ(ChooseLanguage(std::nullopt, std::nullopt, LanguageOption::System, en), en);
    EXPECT_EQ(ChooseLanguage(std::nullopt, std::nullopt, LanguageOption::Russian, en), ru);
    EXPECT_EQ(ChooseLanguage(std::nullopt, en, LanguageOption::Russian, ru), en);
    EXPECT_EQ(ChooseLanguage(ru, en, LanguageOption::English, en), ru);
    EXPECT_EQ(FindSettingKey("Options", "Language").Default, "0");
}
