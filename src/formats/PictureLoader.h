#pragma once
// Loading a picture file: the file's extension must name a registered class
// (newest registration first); the whole file is read into memory, and a
// file whose signature plainly says another registered kind (a PNG saved as
// .jpg) is decoded as that kind, any other by the extension's class.
#include "formats/PictureClass.h"
#include "formats/PictureFormatList.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

// No picture file may be larger than this: the largest picture the size guard
// lets through, as an uncompressed 32-bit bitmap, is 1 GiB.
inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{1} << 31;

// The text after the last "." of the file name (folders do not count),
// lower-cased; empty when the name has no ".".
std::string PictureExtension(std::string_view fileName);

// The whole file. A file that cannot be opened or read, or is not a regular
// file, throws FileError "Cannot open file %s"; one larger than maxBytes
// throws FileError before anything is read.
std::vector<std::uint8_t> ReadPictureFile(const std::string& fileName,
                                          std::uint64_t maxBytes = kMaxPictureFileBytes);

// The extension of the kind a file's signature names (PNG, GIF, JPEG, TIFF,
// BMP), or empty when it names none of them.
std::string ExtensionOfContent(std::span<const std::uint8_t> file);

// Finds the class ("Unknown picture file extension (.%s)" when none), reads
// the file and decodes it. Errors of the decoder pass through unchanged.
std::unique_ptr<Graphic> LoadPicture(const PictureFormatList& formats, const std::string& fileName);

} // namespace quillmark
