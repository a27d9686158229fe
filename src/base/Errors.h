#pragma once
// The one exception family of the core. Each error carries the exact text the
// user is shown; the subclass says what kind of thing went wrong. Bugs are not
// bad files: they are InternalError, never a QuillmarkError.
#include <stdexcept>
#include <string>

namespace quillmark {

class QuillmarkError : public std::runtime_error {
public:
    explicit QuillmarkError(const std::string& message) : std::runtime_error(message) {}
};

// A picture file that cannot be decoded (header, size, layout, registry).
class InvalidGraphicError : public QuillmarkError {
public:
    using QuillmarkError::QuillmarkError;
};

// A decompressor's own failure (zlib, LZW, run lengths).
class CompressionError : public QuillmarkError {
public:
    using QuillmarkError::QuillmarkError;
};

// Colour set-up found no conversion for the source and target formats.
class ColorConversionError : public QuillmarkError {
public:
    using QuillmarkError::QuillmarkError;
};

// A file that cannot be opened, read or written.
class FileError : public QuillmarkError {
public:
    using QuillmarkError::QuillmarkError;
};

// Text that is not a number where one is required.
class ConvertError : public QuillmarkError {
public:
    using QuillmarkError::QuillmarkError;
};

class InternalError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Fills each "%s" of pattern with the next argument, in order. Messages are
// fixed texts with a few blanks; this keeps them readable at the throw site.
std::string FormatMessage(std::string pattern, std::initializer_list<std::string> args);

} // namespace quillmark
