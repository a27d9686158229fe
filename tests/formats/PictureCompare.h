#pragma once
// Test helpers for decoded pictures: whole files, binary PPM references, a
// Bitmap turned into red-green-blue through its palette or pixel format, and a
// comparison that names the file and the first pixel that differs.
#include "formats/Bitmap.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace quillmark::test {

struct RgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;  // red, green, blue; rows top-down
};

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline RgbImage ReadPpm(const std::filesystem::path& path)
{
    const auto bytes = ReadBytes(path);
    RgbImage image;
    if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6')
        return image;
    std::size_t pos = 2;
    const auto number = [&] {
        while (pos < bytes.size() && std::isspace(bytes[pos]))
            ++pos;
        int v = 0;
        while (pos < bytes.size() && std::isdigit(bytes[pos]))
            v = v * 10 + (bytes[pos++] - '0');
        return v;
    };
    image.Width = number();
    image.Height = number();
    number();
    ++pos;  // the one white-space byte after maxval
    if (pos <= bytes.size())
        image.Pixels.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos), bytes.end());
    return image;
}

// Indexes beyond the palette make the helper fail the test, as a reader of
// the Bitmap would otherwise look past the palette.
inline RgbImage ToRgb(const Bitmap& bitmap)
{
    RgbImage image;
    image.Width = bitmap.Width();
    image.Height = bitmap.Height();
    const int bits = BitsPerPixel(bitmap.Format());
    for (std::int32_t y = 0; y < bitmap.Height(); ++y) {
        const auto row = bitmap.Row(y);
        for (std::size_t x = 0; x < static_cast<std::size_t>(bitmap.Width()); ++x) {
            Color c;
            if (bits <= 8) {
                unsigned index = row[x * static_cast<unsigned>(bits) / 8];
                if (bits == 1)
                    index = (index >> (7 - x % 8)) & 1u;
                else if (bits == 4)
                    index = (index >> (x % 2 == 0 ? 4 : 0)) & 15u;
                if (index < bitmap.Palette.size())
                    c = bitmap.Palette[index];
                else
                    ADD_FAILURE() << "index " << index << " beyond the palette at x=" << x << " y=" << y;
            } else if (bits == 24 || bits == 32) {
                const std::size_t at = x * static_cast<std::size_t>(bits / 8);
                c = Color{row[at + 2], row[at + 1], row[at]};
            } else {
                ADD_FAILURE() << "unexpected pixel format of " << bits << " bits";
                return image;
            }
            image.Pixels.insert(image.Pixels.end(), {c.Red, c.Green, c.Blue});
        }
    }
    return image;
}

// Empty when equal, else "NAME: WxH, first difference at x, y: got r,g,b, expected r,g,b".
inline std::string FirstDifference(const RgbImage& actual, const RgbImage& expected, const std::string& name)
{
    std::ostringstream out;
    if (actual.Width != expected.Width || actual.Height != expected.Height) {
        out << name << ": size " << actual.Width << "x" << actual.Height << ", expected " << expected.Width << "x"
            << expected.Height;
        return out.str();
    }
    if (actual.Pixels.size() != expected.Pixels.size()) {
        out << name << ": " << actual.Pixels.size() << " samples, expected " << expected.Pixels.size();
        return out.str();
    }
    for (std::size_t i = 0; i < actual.Pixels.size(); i += 3) {
        if (actual.Pixels[i] == expected.Pixels[i] && actual.Pixels[i + 1] == expected.Pixels[i + 1] &&
            actual.Pixels[i + 2] == expected.Pixels[i + 2])
            continue;
        const std::size_t pixel = i / 3;
        const auto width = static_cast<std::size_t>(actual.Width);
        out << name << ": first difference at x=" << pixel % width << " y=" << pixel / width << ": got "
            << int{actual.Pixels[i]} << "," << int{actual.Pixels[i + 1]} << "," << int{actual.Pixels[i + 2]}
            << ", expected " << int{expected.Pixels[i]} << "," << int{expected.Pixels[i + 1]} << ","
            << int{expected.Pixels[i + 2]};
        return out.str();
    }
    return {};
}

struct CorpusRow {
    std::string File;
    std::string Format;
    std::string Expected;  // decode, must-fail:KIND or no-crash
};

inline std::filesystem::path CorpusPath() { return std::filesystem::path(QUILLMARK_CORPUS); }

inline bool CorpusPresent() { return std::filesystem::exists(CorpusPath() / "MANIFEST.tsv"); }

inline std::vector<CorpusRow> CorpusRows(const std::string& format)
{
    std::ifstream in(CorpusPath() / "MANIFEST.tsv");
    std::vector<CorpusRow> rows;
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::vector<std::string> columns;
        std::istringstream fields(line);
        for (std::string column; std::getline(fields, column, '\t');)
            columns.push_back(column);
        if (columns.size() >= 6 && columns[1] == format)
            rows.push_back({columns[0], columns[1], columns[5]});
    }
    return rows;
}

} // namespace quillmark::test
