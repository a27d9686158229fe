#pragma once
// Test helpers for the shared picture corpus: the manifest rows of a format,
// file reading, reference pixels (binary PPM) and a bitmap turned into the
// same red-green-blue layout, compared with the first differing pixel named.
#include "base/Errors.h"
#include "formats/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace quillmark::test {

struct ManifestRow {
    std::string File;
    std::string Format;
    std::string Variant;
    std::string Expected;  // decode, must-fail:KIND or no-crash
};

inline std::filesystem::path CorpusDir()
{
    return std::filesystem::path(QUILLMARK_CORPUS);
}

inline std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<ManifestRow> ManifestRows(const std::string& format)
{
    std::ifstream in(CorpusDir() / "MANIFEST.tsv");
    std::vector<ManifestRow> rows;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> cols;
        std::stringstream s(line);
        std::string col;
        while (std::getline(s, col, '\t'))
            cols.push_back(col);
        if (cols.size() >= 6 && cols[1] == format)
            rows.push_back({cols[0], cols[1], cols[2], cols[5]});
    }
    return rows;
}

struct RgbPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;  // red, green, blue, rows top-down
};

inline RgbPicture ReadPpm(const std::filesystem::path& path)
{
    const auto bytes = ReadWholeFile(path);
    RgbPicture p;
    std::size_t pos = 0;
    auto number = [&] {
        while (pos < bytes.size() && std::isspace(bytes[pos]))
            ++pos;
        int v = 0;
        while (pos < bytes.size() && std::isdigit(bytes[pos]))
            v = v * 10 + (bytes[pos++] - '0');
        return v;
    };
    if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6')
        return p;
    pos = 2;
    p.Width = number();
    p.Height = number();
    number();  // maxval 255
    ++pos;
    p.Pixels.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos), bytes.end());
    return p;
}

inline RgbPicture ToRgb(const Bitmap& b)
{
    RgbPicture p;
    p.Width = b.Width();
    p.Height = b.Height();
    const int bits = BitsPerPixel(b.Format());
    for (int y = 0; y < b.Height(); ++y) {
        const auto row = b.Row(y);
        for (int x = 0; x < b.Width(); ++x) {
            const auto ux = static_cast<std::size_t>(x);
            Color c;
            if (bits <= 8) {
                unsigned index = 0;
                if (bits == 1)
                    index = (row[ux / 8] >> (7 - ux % 8)) & 1u;
                else if (bits == 4)
                    index = (row[ux / 2] >> (ux % 2 == 0 ? 4 : 0)) & 15u;
                else
                    index = row[ux];
                if (index < b.Palette.size())
                    c = b.Palette[index];
            } else if (bits == 24 || bits == 32) {
                const std::size_t at = ux * static_cast<std::size_t>(bits / 8);
                c = Color{row[at + 2], row[at + 1], row[at]};
            }
            p.Pixels.insert(p.Pixels.end(), {c.Red, c.Green, c.Blue});
        }
    }
    return p;
}

inline void ExpectSamePicture(const RgbPicture& actual, const RgbPicture& expected, const std::string& name)
{
    ASSERT_EQ(actual.Width, expected.Width) << name;
    ASSERT_EQ(actual.Height, expected.Height) << name;
    ASSERT_EQ(actual.Pixels.size(), expected.Pixels.size()) << name;
    for (std::size_t i = 0; i < actual.Pixels.size(); i += 3) {
        if (!std::equal(actual.Pixels.begin() + static_cast<std::ptrdiff_t>(i),
                        actual.Pixels.begin() + static_cast<std::ptrdiff_t>(i + 3),
                        expected.Pixels.begin() + static_cast<std::ptrdiff_t>(i))) {
            const std::size_t pixel = i / 3;
            ADD_FAILURE() << name << ": first difference at x=" << pixel % static_cast<std::size_t>(actual.Width)
                          << " y=" << pixel / static_cast<std::size_t>(actual.Width) << ": got "
                          << int{actual.Pixels[i]} << "," << int{actual.Pixels[i + 1]} << ","
                          << int{actual.Pixels[i + 2]} << " expected " << int{expected.Pixels[i]} << ","
                          << int{expected.Pixels[i + 1]} << "," << int{expected.Pixels[i + 2]};
            return;
        }
    }
}

// Decodes every manifest row of a format with a fresh Graphic and checks the
// row's expectation; messages gives the expected text of each failure kind.
template <typename Graphic, typename MessageOf>
void RunCorpus(const std::string& format, MessageOf messageOf)
{
    if (!std::filesystem::exists(CorpusDir() / "MANIFEST.tsv"))
        GTEST_SKIP() << "picture corpus not found";
    const auto rows = ManifestRows(format);
    ASSERT_FALSE(rows.empty());
    for (const ManifestRow& row : rows) {
        SCOPED_TRACE(row.File);
        const auto bytes = ReadWholeFile(CorpusDir() / row.File);
        Graphic graphic;
        if (row.Expected == "decode") {
            try {
                graphic.ReadPicture(bytes);
            } catch (const QuillmarkError& e) {
                ADD_FAILURE() << row.File << " failed: " << e.what();
                continue;
            }
            ExpectSamePicture(ToRgb(graphic), ReadPpm(CorpusDir() / (row.File + ".ppm")), row.File);
        } else if (row.Expected.rfind("must-fail:", 0) == 0) {
            const std::string kind = row.Expected.substr(10);
            try {
                graphic.ReadPicture(bytes);
                ADD_FAILURE() << row.File << " loaded but must fail (" << kind << ")";
            } catch (const QuillmarkError& e) {
                const std::string expected = messageOf(kind);
                if (!expected.empty()) {
                    EXPECT_EQ(std::string(e.what()), expected) << row.File;
                }
            }
        } else {
            try {
                graphic.ReadPicture(bytes);
            } catch (const QuillmarkError&) {
            }
        }
    }
}

} // namespace quillmark::test
