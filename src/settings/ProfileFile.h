#pragma once
// Our reader and writer of the settings text: "[Section]" lines, each followed
// by "Key=Value" lines. Section and key names compare without regard to ASCII
// letter case; blanks around names and values are ignored. Every line the
// file held is kept as it was (comments, unknown sections and keys, garbage),
// and only the line of a key that is written changes. Text is UTF-8 bytes,
// passed through untouched. The caller reads the file and writes Text()
// through a temporary file and a rename.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

class ProfileFile {
public:
    ProfileFile() = default;
    // Any bytes are accepted; lines end with CR LF, LF or CR.
    explicit ProfileFile(std::string_view text);

    // The whole file, every line ended by CR LF.
    std::string Text() const;

    // The value of the first matching key in the first matching section.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // Decimal text in the 32-bit range, else def.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;
    // Read as an integer: anything but 0 is true; not an integer gives def.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Replaces the key's line, or adds the key at the end of its section, or
    // the section at the end of the file. A value holding a line break
    // cannot be stored in one line: it is refused (false) and nothing
    // changes. Names are the program's own: an empty name, a line break, a
    // "]" in a section or a "=" in a key, or blanks around either, is a bug
    // (InternalError).
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    // Written as "1" or "0".
    void WriteBool(std::string_view section, std::string_view key, bool value);

private:
    struct Location {
        std::optional<std::size_t> SectionLine; // the section's header line
        std::optional<std::size_t> KeyLine;     // the key's line
        std::size_t InsertAt = 0;               // where a new key of that section goes
    };
    Location Locate(std::string_view section, std::string_view key) const;

    std::vector<std::string> m_lines;
    bool m_byteOrderMark = false; // kept so a file saved by an editor keeps it
};

} // namespace quillmark
