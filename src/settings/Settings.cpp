#include "settings/Settings.h"

#include <cmath>
#include <limits>

#include "base/Errors.h"
#include "base/NumberText.h"

namespace quillmark {

namespace {

struct ColourName {
    std::string_view Name;
    ColourValue Value;
};

// The first name of a value is the one written; later aliases are read only.
constexpr std::array<ColourName, 24> kColourNames = {{
    {"clBlack", 0x000000},      {"clMaroon", 0x000080},   {"clGreen", 0x008000},
    {"clOlive", 0x008080},      {"clNavy", 0x800000},     {"clPurple", 0x800080},
    {"clTeal", 0x808000},       {"clGray", 0x808080},     {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},        {"clLime", 0x00FF00},     {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},       {"clFuchsia", 0xFF00FF},  {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},      {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},      {"clMedGray", 0xA4A0A0},  {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},  {"clLtGray", 0xC0C0C0},   {"clDkGray", 0x808080},
}};

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

const SettingKey& TypedKey(std::string_view section, std::string_view key, SettingType type)
{
    const SettingKey& entry = FindSettingKey(section, key);
    if (entry.Type != type)
        throw InternalError("Settings: key used with another type");
    return entry;
}

std::optional<std::uint64_t> ParseDigits(std::string_view text, unsigned base)
{
    if (text.empty())
        return std::nullopt;
    std::uint64_t v = 0;
    for (const char c : text) {
        unsigned d = 0;
        if (c >= '0' && c <= '9')
            d = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        if (d >= base)
            return std::nullopt;
        v = v * base + d;
        if (v > 0xFFFFFFFFULL)
            return std::nullopt;
    }
    return v;
}

} // namespace

const SettingKey& FindSettingKey(std::string_view section, std::string_view key)
{
    for (const SettingKey& entry : kSettingKeys)
        if (SameName(entry.Section, section) && SameName(entry.Key, key))
            return entry;
    throw InternalError("Settings: unknown key");
}

std::string ColourToText(ColourValue colour)
{
    for (const ColourName& c : kColourNames)
        if (c.Value == colour)
            return std::string(c.Name);
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "$";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += kHex[(colour >> shift) & 0xFU];
    return text;
}

std::optional<ColourValue> TextToColour(std::string_view text)
{
    for (const ColourName& c : kColourNames)
        if (SameName(c.Name, text))
            return c.Value;
    std::optional<std::uint64_t> v;
    if (text.size() > 1 && text.front() == '$') {
        v = ParseDigits(text.substr(1), 16);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        v = ParseDigits(text.substr(2), 16);
    } else if (!text.empty() && text.front() == '-') {
        // A negative decimal is the value's two's complement, as a 32-bit
        // signed colour would print.
        const std::optional<std::uint64_t> m = ParseDigits(text.substr(1), 10);
        if (m && *m <= 0x80000000ULL)
            v = (0x100000000ULL - *m) & 0xFFFFFFFFULL;
    } else {
        v = ParseDigits(text, 10);
        if (v && *v > 0x7FFFFFFFULL)
            v.reset();
    }
    if (!v)
        return std::nullopt;
    return static_cast<ColourValue>(*v);
}

std::int32_t ReadIntegerSetting(const ProfileFile& file, std::string_view section, std::string_view key,
                                std::optional<std::int32_t> def)
{
    const SettingKey& entry = TypedKey(section, key, SettingType::Integer);
    const std::int32_t tableDefault = std::stoi(std::string(entry.Default));
    return file.ReadInteger(section, key, def.value_or(tableDefault));
}

bool ReadBoolSetting(const ProfileFile& file, std::string_view section, std::string_view key)
{
    const SettingKey& entry = TypedKey(section, key, SettingType::Boolean);
    return file.ReadBool(section, key, entry.Default != "0");
}

double ReadRealSetting(const ProfileFile& file, std::string_view section, std::string_view key,
                       std::string_view separator)
{
    const SettingKey& entry = TypedKey(section, key, SettingType::Real);
    // Defaults are integers: they read the same under any separator.
    const auto tableDefault = static_cast<double>(*ParseNumber(entry.Default, "."));
    const std::optional<std::string> text = file.Find(section, key);
    if (!text)
        return tableDefault;
    const std::optional<long double> value = ParseNumber(*text, separator);
    if (!value || !(std::fabs(*value) <= std::numeric_limits<double>::max()))
        return tableDefault;
    return static_cast<double>(*value);
}

ColourValue ReadColourSetting(const ProfileFile& file, std::string_view section, std::string_view key)
{
    const SettingKey& entry = TypedKey(section, key, SettingType::Colour);
    const ColourValue tableDefault = *TextToColour(entry.Default);
    const std::optional<std::string> text = file.Find(section, key);
    if (!text)
        return tableDefault;
    return TextToColour(*text).value_or(tableDefault);
}

void WriteRealSetting(ProfileFile& file, std::string_view section, std::string_view key, double value,
                      std::string_view separator)
{
    TypedKey(section, key, SettingType::Real);
    file.WriteString(section, key, FullPrecisionText(value, separator));
}

void WriteColourSetting(ProfileFile& file, std::string_view section, std::string_view key, ColourValue colour)
{
    TypedKey(section, key, SettingType::Colour);
    file.WriteString(section, key, ColourToText(colour));
}

std::int32_t TruncateSetting(double value)
{
    if (std::isnan(value))
        return 0;
    const double t = std::trunc(value);
    if (t <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (t >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(t);
}

double StepForUnit(double step, bool axisUnits)
{
    return axisUnits ? step : std::nearbyint(step);
}

} // namespace quillmark
