#pragma once
// The main window's settings store backed by a ProfileFile held in memory:
// reads and writes go to the profile, and Text() is what the window writes
// to the settings file (through a temporary file and a rename) at close.
#include <string>
#include <utility>

#include "settings/ProfileFile.h"
#include "settings/SettingsStore.h"

namespace quillmark {

class ProfileSettingsStore : public SettingsStore {
public:
    ProfileSettingsStore() = default;
    explicit ProfileSettingsStore(ProfileFile file) : m_file(std::move(file)) {}

    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const override;
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const override;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;

    void WriteInteger(const std::string& section, const std::string& key, int value) override;
    void WriteBool(const std::string& section, const std::string& key, bool value) override;
    // A value with a line break cannot be stored; the key keeps its old value.
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;

    const ProfileFile& File() const { return m_file; }
    ProfileFile& File() { return m_file; }
    std::string Text() const { return m_file.Text(); }

private:
    ProfileFile m_file;
};

} // namespace quillmark
