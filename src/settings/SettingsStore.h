#pragma once
// What the main window reads from and writes to its settings file: sections of
// key=value lines, names compared without regard to case. A missing section or
// key yields the caller's default. The main window holds one store for the
// whole run; while none is attached every read gives its default.
#include <string>

namespace quillmark {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const = 0;
    virtual bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const = 0;
    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) const = 0;

    virtual void WriteInteger(const std::string& section, const std::string& key, int value) = 0;
    virtual void WriteBool(const std::string& section, const std::string& key, bool value) = 0;
    virtual void WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
};

} // namespace quillmark
