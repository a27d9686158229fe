#include "base/Errors.h"

namespace quillmark {

std::string FormatMessage(std::string pattern, std::initializer_list<std::string> args)
{
    std::string out;
    out.reserve(pattern.size() + 32);
    auto arg = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            const char kind = pattern[i + 1];
            if ((kind == 's' || kind == 'd') && arg != args.end()) {
                out += *arg++;
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

} // namespace quillmark
