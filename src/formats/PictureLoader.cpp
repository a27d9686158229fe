#include "formats/PictureLoader.h"

#include "base/Errors.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace quillmark {

std::string PictureExtension(std::string_view fileName)
{
    const std::size_t slash = fileName.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos)
        return std::string();
    return LowerCaseAscii(name.substr(dot + 1));
}

std::vector<std::uint8_t> ReadPictureFile(const std::string& fileName, std::uint64_t maxBytes)
{
    const auto cannotOpen = [&] { return FileError(FormatMessage("Cannot open file %s", {fileName})); };

    // Only regular files: a device or a pipe could feed us bytes without end.
    std::error_code error;
    const std::filesystem::path path(fileName);
    if (!std::filesystem::is_regular_file(path, error))
        throw cannotOpen();
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        throw cannotOpen();
    if (size > maxBytes)
        throw FileError(FormatMessage("Cannot open file %s. The file is too large (%s bytes).",
                                      {fileName, std::to_string(size)}));

    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw cannotOpen();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::uintmax_t>(in.gcount()) != size)
        throw cannotOpen();
    return bytes;
}

std::string ExtensionOfContent(std::span<const std::uint8_t> file)
{
    const auto startsWith = [&](std::initializer_list<std::uint8_t> signature) {
        return file.size() >= signature.size() && std::equal(signature.begin(), signature.end(), file.begin());
    };
    if (startsWith({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}))
        return "png";
    if (startsWith({'G', 'I', 'F', '8'}))
        return "gif";
    if (startsWith({0xFF, 0xD8, 0xFF}))
        return "jpg";
    if (startsWith({'I', 'I', '*', 0}) || startsWith({'M', 'M', 0, '*'}))
        return "tif";
    if (startsWith({'B', 'M'}))
        return "bmp";
    return std::string();
}

std::unique_ptr<Graphic> LoadPicture(const PictureFormatList& formats, const std::string& fileName)
{
    const std::string extension = PictureExtension(fileName);
    const PictureClass* pictureClass = extension.empty() ? nullptr : formats.FindByExtension(extension);
    if (pictureClass == nullptr)
        throw InvalidGraphicError(FormatMessage("Unknown picture file extension (.%s)", {extension}));
    const std::vector<std::uint8_t> file = ReadPictureFile(fileName);
    // A picture saved under another kind's extension opens by its content.
    const std::string actual = ExtensionOfContent(file);
    if (const PictureClass* byContent = actual.empty() ? nullptr : formats.FindByExtension(actual))
        pictureClass = byContent;
    return pictureClass->Read(file);
}

} // namespace quillmark
