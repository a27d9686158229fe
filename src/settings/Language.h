#pragma once
// Which language the window speaks: Russian, the program's own, or English.
// The choice in the options dialog (stored as Options/Language) holds unless
// one run is told otherwise by QUILLMARK_LANG or --lang.
#include <cstdint>
#include <optional>
#include <string_view>

namespace quillmark {

// Item indices of the language box; the values are stored in the settings file.
enum class LanguageOption : std::int32_t { System = 0, Russian = 1, English = 2 };

enum class UiLanguage { Russian, English };

// "ru" or "en" (any case); anything else is no choice.
std::optional<UiLanguage> LanguageFromCode(std::string_view code);
std::string_view LanguageCode(UiLanguage language);

// The system's choice, from its locale's name ("C", "POSIX", "ru_RU", ...)
// and its first user-interface language ("ru-RU", "en-GB", "de", ...):
// Russian for Russian and for the C and POSIX locales, so scripts and tests
// keep the program's own texts; English for English and for every language
// without a translation of ours.
UiLanguage SystemLanguage(std::string_view localeName, std::string_view firstUiLanguage);

// The command line's --lang first, then QUILLMARK_LANG, then the option.
UiLanguage ChooseLanguage(std::optional<UiLanguage> commandLine, std::optional<UiLanguage> environment,
                          LanguageOption option, UiLanguage system);

} // namespace quillmark
