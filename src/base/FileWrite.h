#pragma once
// Writing a whole file so that a failure never costs the file that was there.
// A plain file (or a new name) is written to a temporary file in the same
// folder and renamed over the target only once every byte is written. A
// symbolic link keeps being a link: the file it points to is replaced. A
// character device, FIFO or socket (/dev/stdout, a named pipe) is written
// directly and never renamed over. A folder, a block device, or a path whose
// folder is missing or cannot be written throws FileError with the given
// message and changes nothing.
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace quillmark {

// failureMessage is the exact text of the FileError; "%s" in it is filled
// with fileName.
void WriteFileReplacing(const std::string& fileName, std::span<const std::uint8_t> bytes,
                        const std::string& failureMessage = "Cannot create file %s");

// Hands the bytes of the file over piece by piece, in order.
using ByteSink = std::function<void(std::span<const std::uint8_t>)>;

// The same, the bytes made while they are written: produce calls the sink
// with each piece. An exception from produce leaves the target as it was and
// goes on to the caller.
void WriteFileReplacing(const std::string& fileName, const std::function<void(const ByteSink&)>& produce,
                        const std::string& failureMessage = "Cannot create file %s");

inline void WriteFileReplacing(const std::string& fileName, const std::string& text,
                               const std::string& failureMessage = "Cannot create file %s")
{
    WriteFileReplacing(fileName, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                       failureMessage);
}

} // namespace quillmark
