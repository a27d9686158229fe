#pragma once
// The core's texts in the window's language. The core speaks Russian, the
// program's own language, and knows nothing of translations; every text it
// hands the window (hints, step names, refusals, error messages) passes
// through here on its way to the screen. The batch commands print the core's
// texts as they are.
#include <QString>

#include <string>
#include <string_view>

namespace quillmark {

// One fixed text of the core, translated when a translation is installed.
QString CoreText(std::string_view text);

// An error message: a fixed text, or one of the core's patterns with its
// blanks filled ("Не удалось открыть файл %s"), translated with the same
// fillings. Anything else (the decoders' English messages) comes back as it is.
QString CoreMessage(const std::string& message);

} // namespace quillmark
