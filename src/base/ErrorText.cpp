#include "base/ErrorText.h"

namespace quillmark {

std::string ApplicationTitle(std::string_view programPath)
{
    const auto slash = programPath.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    return std::string(name);
}

std::string ErrorBoxMessage(std::string message)
{
    // Bytes compare unsigned, so a message ending in a Cyrillic letter (UTF-8
    // lead and trail bytes are all above 0x7F) gets its full stop too.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        message += '.';
    return message;
}

} // namespace quillmark
