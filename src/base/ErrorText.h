#pragma once
// Texts of the error box shown for an error that escapes a command handler:
// the title is the application title, the program file's name without its
// extension; the message gets a closing "." when its last character sorts
// after "." (a letter, a digit, "?"), not when it ends in ".", "!" or ")".
#include <string>
#include <string_view>

namespace quillmark {

std::string ApplicationTitle(std::string_view programPath);

std::string ErrorBoxMessage(std::string message);

} // namespace quillmark
