#pragma once
// The keys of the settings file with their types and defaults, in the order
// the window writes them at close, and the typed reads and writes on top of
// ProfileFile: booleans as 1/0, reals in the general format with the locale's
// separator (a text that does not read as a number gives the key's default),
// colours as identifiers such as "clBlue" or "$" and eight hex digits.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/ProfileFile.h"

namespace quillmark {

enum class SettingType { Integer, Boolean, Real, Colour, String };

struct SettingKey {
    std::string_view Section;
    std::string_view Key;
    SettingType Type;
    std::string_view Default; // as the file would hold it
};

// Defaults that depend on the state: a floating tool window's top edge, and
// CurrentPath (the program's folder, known to the caller only).
inline constexpr std::int32_t kToolWindowFloatingTop = 30;
inline constexpr std::int32_t kTableWindowFloatingTop = 50;

inline constexpr std::array<SettingKey, 53> kSettingKeys = {{
    {"WindowPosition", "Left", SettingType::Integer, "30"},
    {"WindowPosition", "Top", SettingType::Integer, "25"},
    {"WindowPosition", "Width", SettingType::Integer, "735"},
    {"WindowPosition", "Height", SettingType::Integer, "495"},
    {"WindowPosition", "WindowState", SettingType::Boolean, "1"},
    {"WindowPosition", "ToolBar", SettingType::Integer, "1"},
    {"Path", "CurrentPath", SettingType::String, ""},
    {"ToolWindow", "Visible", SettingType::Boolean, "1"},
    {"ToolWindow", "Docked", SettingType::Integer, "1"},
    {"ToolWindow", "Top", SettingType::Integer, "0"},
    {"ToolWindow", "Left", SettingType::Integer, "10"},
    {"TableWindow", "Visible", SettingType::Boolean, "1"},
    {"TableWindow", "Docked", SettingType::Integer, "1"},
    {"TableWindow", "Top", SettingType::Integer, "10"},
    {"TableWindow", "Left", SettingType::Integer, "20"},
    {"TableWindow", "Height", SettingType::Integer, "200"},
    {"Calibration", "XMin", SettingType::Real, "0"},
    {"Calibration", "XMax", SettingType::Real, "10"},
    {"Calibration", "XIncrement", SettingType::Real, "0"},
    {"Calibration", "YMin", SettingType::Real, "-3"},
    {"Calibration", "YMax", SettingType::Real, "3"},
    {"Calibration", "YIncrement", SettingType::Real, "0"},
    {"Calibration", "Step", SettingType::Real, "1"},
    {"Calibration", "OldStep", SettingType::Real, "1"},
    {"Calibration", "StepType", SettingType::Integer, "0"},
    {"Calibration", "XLog", SettingType::Boolean, "0"},
    {"Calibration", "YLog", SettingType::Boolean, "0"},
    {"Calibration", "XRev", SettingType::Boolean, "0"},
    {"Calibration", "YRev", SettingType::Boolean, "0"},
    {"Options", "Stretch", SettingType::Boolean, "1"},
    {"Options", "AxisSet", SettingType::Integer, "0"},
    {"Options", "RegSet", SettingType::Integer, "4"},
    {"Options", "Scaling", SettingType::Boolean, "0"},
    {"Options", "Rotate", SettingType::Boolean, "0"},
    {"Options", "Sort", SettingType::Boolean, "0"},
    {"Options", "LineSens", SettingType::Integer, "50"},
    {"Options", "ColorSens", SettingType::Integer, "50"},
    {"Options", "LineWeight", SettingType::Integer, "1"},
    {"Options", "LineColor", SettingType::Colour, "clBlue"},
    {"Options", "GridColor", SettingType::Colour, "clBlue"},
    {"Options", "Sensitivity", SettingType::Integer, "1"},
    {"Options", "Precision", SettingType::Integer, "6"},
    {"Options", "PointColor", SettingType::Colour, "clBlue"},
    {"Options", "SelectPointColor", SettingType::Colour, "clRed"},
    {"Options", "Language", SettingType::Integer, "0"},
    {"Options", "SubPixel", SettingType::Boolean, "0"},
    {"Options", "NoFill", SettingType::Boolean, "0"},
    {"Options", "Follow", SettingType::Boolean, "0"},
    {"Options", "AutoSens", SettingType::Boolean, "0"},
    {"SetAxis", "XMin", SettingType::Real, "0"},
    {"SetAxis", "XMax", SettingType::Real, "10"},
    {"SetAxis", "YMin", SettingType::Real, "0"},
    {"SetAxis", "YMax", SettingType::Real, "10"},
}};

// The table entry; a key missing from the table is a bug (InternalError),
// as is reading it as another type.
const SettingKey& FindSettingKey(std::string_view section, std::string_view key);

// Colour values as the toolkit numbers them: 0x00BBGGRR for plain colours,
// special values above.
using ColourValue = std::uint32_t;

// "clBlue" and the other identifiers, else "$" and eight upper-case hex digits.
std::string ColourToText(ColourValue colour);
// An identifier (any letter case), "$" or "0x" and hex digits, or a decimal
// integer; nothing for any other text.
std::optional<ColourValue> TextToColour(std::string_view text);

// Typed reads with the table's default; `def` overrides it where the default
// depends on the state.
std::int32_t ReadIntegerSetting(const ProfileFile& file, std::string_view section, std::string_view key,
                                std::optional<std::int32_t> def = std::nullopt);
bool ReadBoolSetting(const ProfileFile& file, std::string_view section, std::string_view key);
double ReadRealSetting(const ProfileFile& file, std::string_view section, std::string_view key,
                       std::string_view separator);
ColourValue ReadColourSetting(const ProfileFile& file, std::string_view section, std::string_view key);

// The general text with 15 significant digits, the spin edits' own text.
void WriteRealSetting(ProfileFile& file, std::string_view section, std::string_view key, double value,
                      std::string_view separator);
void WriteColourSetting(ProfileFile& file, std::string_view section, std::string_view key, ColourValue colour);

// Numeric option fields are stored truncated toward zero, held within the
// 32-bit range (NaN gives 0).
std::int32_t TruncateSetting(double value);

// The stored step as the step edit takes it: unchanged in axis units,
// rounded half to even in pixels.
double StepForUnit(double step, bool axisUnits);

} // namespace quillmark
