#include "calibration/CalFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "base/Errors.h"
#include "base/NumberText.h"

namespace quillmark {

namespace {

constexpr int kCalDigits = 15;
constexpr int kCalExponentDigits = 4;
// A bad value is quoted in the message; a longer one is cut.
constexpr std::size_t kQuotedValueLimit = 40;

constexpr std::array<std::string_view, 6> kCalKeys = {"Xmin", "Xmax", "Xincr", "Ymin", "Ymax", "Yincr"};

std::vector<std::string_view> SplitLines(std::string_view text)
{
    // CR, LF and CR LF each end a line; a last line without an end counts.
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(text.substr(start, i - start));
            ++i;
            if (c == '\r' && i < text.size() && text[i] == '\n')
                ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string QuotedForMessage(std::string_view value)
{
    std::string quoted(value.substr(0, kQuotedValueLimit));
    if (value.size() > kQuotedValueLimit)
        quoted += "...";
    return quoted;
}

double ReadCalKey(const std::vector<std::string_view>& lines, std::string_view key, std::string_view separator)
{
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::string_view line = lines[n];
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || !EqualNoCase(line.substr(0, eq), key))
            continue;
        std::string value(line.substr(eq + 1));
        for (std::size_t p = 0; (p = value.find('.', p)) != std::string::npos; p += separator.size())
            value.replace(p, 1, separator);
        const std::optional<long double> parsed = ParseNumber(value, separator);
        if (parsed && std::fabs(*parsed) <= std::numeric_limits<double>::max())
            return static_cast<double>(*parsed);
        throw ConvertError(FormatMessage("Неверное значение %s в файле калибровки: \"%s\"",
                                         {std::string(key), QuotedForMessage(line.substr(eq + 1))}));
    }
    throw FileError(FormatMessage("В файле калибровки нет значения %s", {std::string(key)}));
}

// An optional flag line: absent or "0" is off, "1" on; anything else is
// refused with the key named.
bool ReadCalFlag(const std::vector<std::string_view>& lines, std::string_view key)
{
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::string_view line = lines[n];
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || !EqualNoCase(line.substr(0, eq), key))
            continue;
        const std::optional<std::int64_t> value = ParseInteger(line.substr(eq + 1));
        if (value && (*value == 0 || *value == 1))
            return *value == 1;
        throw ConvertError(FormatMessage("Неверное значение %s в файле калибровки: \"%s\"",
                                         {std::string(key), QuotedForMessage(line.substr(eq + 1))}));
    }
    return false;
}

constexpr std::array<std::string_view, 4> kCalFlagKeys = {"Xlog", "Ylog", "Xrev", "Yrev"};

} // namespace

std::string CalNumberText(double value)
{
    if (!std::isfinite(value))
        throw InternalError("CalNumberText: value has no digits");
    // The sign takes one place: a blank for zero and positive values.
    const std::string text = ScientificText(value, kCalDigits, ".", kCalExponentDigits);
    return text.front() == '-' ? text : " " + text;
}

std::string CalFileText(const CalibrationFile& values)
{
    const std::array<double, 6> ordered = {values.Xmin, values.Xmax, values.Xincr,
                                           values.Ymin, values.Ymax, values.Yincr};
    std::string text(kCalHeader);
    text += "\r\n";
    for (std::size_t i = 0; i < kCalKeys.size(); ++i) {
        text += kCalKeys[i];
        text += '=';
        text += CalNumberText(ordered[i]);
        text += "\r\n";
    }
    const std::array<bool, 4> flags = {values.Xlog, values.Ylog, values.Xrev, values.Yrev};
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (flags[i]) {
            text += kCalFlagKeys[i];
            text += "=1\r\n";
        }
    }
    return text;
}

std::optional<CalibrationFile> ReadCalFile(std::string_view bytes, std::string_view decimalSeparator)
{
    if (decimalSeparator.empty())
        decimalSeparator = ".";
    if (bytes.size() > kMaxCalFileBytes)
        throw FileError("Файл калибровки слишком велик");
    const std::vector<std::string_view> lines = SplitLines(bytes);
    if (lines.empty())
        throw FileError("Файл калибровки пуст");
    if (lines[0] != kCalHeader)
        return std::nullopt;

    CalibrationFile values;
    values.Xmin = ReadCalKey(lines, "Xmin", decimalSeparator);
    values.Xmax = ReadCalKey(lines, "Xmax", decimalSeparator);
    values.Xincr = ReadCalKey(lines, "Xincr", decimalSeparator);
    values.Ymin = ReadCalKey(lines, "Ymin", decimalSeparator);
    values.Ymax = ReadCalKey(lines, "Ymax", decimalSeparator);
    values.Yincr = ReadCalKey(lines, "Yincr", decimalSeparator);
    values.Xlog = ReadCalFlag(lines, "Xlog");
    values.Ylog = ReadCalFlag(lines, "Ylog");
    values.Xrev = ReadCalFlag(lines, "Xrev");
    values.Yrev = ReadCalFlag(lines, "Yrev");
    return values;
}

std::string CalSuggestedFileName(const std::vector<std::string>& titleLines)
{
    if (titleLines.empty() || (titleLines.size() == 1 && titleLines[0].empty()))
        return "noname";
    std::string joined;
    for (std::size_t n = 0; n < titleLines.size(); ++n) {
        const std::string& line = titleLines[n];
        bool quote = false;
        for (const char c : line) {
            const auto u = static_cast<unsigned char>(c);
            if (u <= ' ' || c == ',' || c == '"') {
                quote = true;
                break;
            }
        }
        if (n > 0)
            joined += ',';
        if (!quote) {
            joined += line;
            continue;
        }
        joined += '"';
        for (const char c : line) {
            if (c == '"')
                joined += '"';
            joined += c;
        }
        joined += '"';
    }
    return joined;
}

} // namespace quillmark
