#include "settings/ProfileFile.h"

#include <limits>

#include "base/Errors.h"

namespace quillmark {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// The name of a "[Section]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line)
{
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const std::size_t close = t.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

struct KeyLine {
    std::string_view Key;
    std::string_view Value;
};

// A "Key=Value" line; comment lines (starting with ";") and lines without
// "=" or without a name are not keys.
std::optional<KeyLine> ParseKeyLine(std::string_view line)
{
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';')
        return std::nullopt;
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = Trim(t.substr(0, eq));
    if (key.empty())
        return std::nullopt;
    return KeyLine{key, Trim(t.substr(eq + 1))};
}

bool HasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Optional sign and decimal digits, within the 32-bit range.
std::optional<std::int32_t> ParseInteger(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t{1} << 31)
            return std::nullopt;
    }
    const std::int64_t v = negative ? -magnitude : magnitude;
    if (v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(v);
}

void CheckName(std::string_view name, std::string_view forbidden)
{
    if (name.empty() || HasLineBreak(name) || name.find_first_of(forbidden) != std::string_view::npos ||
        Trim(name).size() != name.size())
        throw InternalError("ProfileFile: unusable section or key name");
}

} // namespace

ProfileFile::ProfileFile(std::string_view text)
{
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        m_byteOrderMark = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        m_lines.emplace_back(text.substr(start, i - start));
        ++i;
        if (c == '\r' && i < text.size() && text[i] == '\n')
            ++i;
        start = i;
    }
    if (start < text.size())
        m_lines.emplace_back(text.substr(start));
}

std::string ProfileFile::Text() const
{
    std::size_t size = m_byteOrderMark ? kByteOrderMark.size() : 0;
    for (const std::string& line : m_lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    if (m_byteOrderMark)
        text += kByteOrderMark;
    for (const std::string& line : m_lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

ProfileFile::Location ProfileFile::Locate(std::string_view section, std::string_view key) const
{
    Location where;
    where.InsertAt = m_lines.size();
    bool inSection = false;
    for (std::size_t n = 0; n < m_lines.size(); ++n) {
        const std::string& line = m_lines[n];
        if (const auto name = SectionName(line)) {
            if (inSection)
                break; // only the first section of that name counts
            inSection = SameName(*name, section);
            if (inSection) {
                where.SectionLine = n;
                where.InsertAt = n + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!Trim(line).empty())
            where.InsertAt = n + 1; // after the section's last non-blank line
        const auto parsed = ParseKeyLine(line);
        if (parsed && SameName(parsed->Key, key)) {
            where.KeyLine = n;
            return where;
        }
    }
    return where;
}

std::optional<std::string> ProfileFile::Find(std::string_view section, std::string_view key) const
{
    const Location where = Locate(section, key);
    if (!where.KeyLine)
        return std::nullopt;
    return std::string(ParseKeyLine(m_lines[*where.KeyLine])->Value);
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    if (std::optional<std::string> value = Find(section, key))
        return std::move(*value);
    return std::string(def);
}

std::int32_t ProfileFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const
{
    const std::optional<std::string> value = Find(section, key);
    if (!value)
        return def;
    return ParseInteger(*value).value_or(def);
}

bool ProfileFile::ReadBool(std::string_view section, std::string_view key, bool def) const
{
    const std::optional<std::string> value = Find(section, key);
    if (!value)
        return def;
    const std::optional<std::int32_t> n = ParseInteger(*value);
    return n ? *n != 0 : def;
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    CheckName(section, "[]");
    CheckName(key, "=[;");
    if (HasLineBreak(value))
        return false;
    std::string line(key);
    line += '=';
    line += value;
    const Location where = Locate(section, key);
    if (where.KeyLine) {
        m_lines[*where.KeyLine] = std::move(line);
    } else if (where.SectionLine) {
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(where.InsertAt), std::move(line));
    } else {
        m_lines.push_back("[" + std::string(section) + "]");
        m_lines.push_back(std::move(line));
    }
    return true;
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

} // namespace quillmark
