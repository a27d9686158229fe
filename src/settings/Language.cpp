#include "settings/Language.h"

#include <cctype>
#include <string>

namespace quillmark {

namespace {

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

std::optional<UiLanguage> LanguageFromCode(std::string_view code)
{
    const std::string lower = Lower(code);
    if (lower == "ru")
        return UiLanguage::Russian;
    if (lower == "en")
        return UiLanguage::English;
    return std::nullopt;
}

std::string_view LanguageCode(UiLanguage language)
{
    return language == UiLanguage::Russian ? "ru" : "en";
}

UiLanguage SystemLanguage(std::string_view localeName, std::string_view firstUiLanguage)
{
    if (localeName.empty() || localeName == "C" || localeName == "POSIX")
        return UiLanguage::Russian;
    const std::string first = Lower(firstUiLanguage.empty() ? localeName : firstUiLanguage);
    if (first == "c" || first == "posix" || first.rfind("ru", 0) == 0)
        return UiLanguage::Russian;
    return UiLanguage::English;
}

UiLanguage ChooseLanguage(std::optional<UiLanguage> commandLine, std::optional<UiLanguage> environment,
                          LanguageOption option, UiLanguage system)
{
    if (commandLine)
        return *commandLine;
    if (environment)
        return *environment;
    switch (option) {
    case LanguageOption::Russian:
        return UiLanguage::Russian;
    case LanguageOption::English:
        return UiLanguage::English;
    case LanguageOption::System:
        break;
    }
    return system;
}

} // namespace quillmark
