// Fuzz entry for the settings file: read every key the window reads, write
// them all back, and check that the written text reads back to itself.
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "base/Errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace quillmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ProfileFile file(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const SettingKey& key : kSettingKeys) {
        switch (key.Type) {
        case SettingType::Integer:
            file.WriteInteger(key.Section, key.Key, ReadIntegerSetting(file, key.Section, key.Key));
            break;
        case SettingType::Boolean:
            file.WriteBool(key.Section, key.Key, ReadBoolSetting(file, key.Section, key.Key));
            break;
        case SettingType::Real:
            WriteRealSetting(file, key.Section, key.Key, ReadRealSetting(file, key.Section, key.Key, ","), ",");
            break;
        case SettingType::Colour:
            WriteColourSetting(file, key.Section, key.Key, ReadColourSetting(file, key.Section, key.Key));
            break;
        case SettingType::String:
            file.WriteString(key.Section, key.Key, file.ReadString(key.Section, key.Key, key.Default));
            break;
        }
    }
    const std::string text = file.Text();
    if (ProfileFile(text).Text() != text)
        std::abort();
    return 0;
}
