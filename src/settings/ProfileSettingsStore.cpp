#include "settings/ProfileSettingsStore.h"

namespace quillmark {

int ProfileSettingsStore::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    return m_file.ReadInteger(section, key, defaultValue);
}

bool ProfileSettingsStore::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const
{
    return m_file.ReadBool(section, key, defaultValue);
}

std::string ProfileSettingsStore::ReadString(const std::string& section, const std::string& key,
                                             const std::string& defaultValue) const
{
    return m_file.ReadString(section, key, defaultValue);
}

void ProfileSettingsStore::WriteInteger(const std::string& section, const std::string& key, int value)
{
    m_file.WriteInteger(section, key, value);
}

void ProfileSettingsStore::WriteBool(const std::string& section, const std::string& key, bool value)
{
    m_file.WriteBool(section, key, value);
}

void ProfileSettingsStore::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    m_file.WriteString(section, key, value);
}

} // namespace quillmark
