#include "formats/BmpHeader.h"

#include "base/Errors.h"

#include "BmpTestFiles.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillmark;

namespace {

// A file header and a core (12-byte) header.
std::vector<std::uint8_t> CoreHeaderBmp(std::uint16_t width, std::uint16_t height)
{
    std::vector<std::uint8_t> file = {'B', 'M'};
    quillmark::testing::PutLE(file, 26, 4);
    quillmark::testing::PutLE(file, 0, 4);
    quillmark::testing::PutLE(file, 26, 4);
    quillmark::testing::PutLE(file, 12, 4);
    quillmark::testing::PutLE(file, width, 2);
    quillmark::testing::PutLE(file, height, 2);
    quillmark::testing::PutLE(file, 1, 2);
    quillmark::testing::PutLE(file, 24, 2);
    return file;
}

} // namespace

TEST(BmpHeader, DeclaredSizeIsReadFromEitherHeader)
{
    const DeclaredSize core = CheckBmpHeader(CoreHeaderBmp(640, 480));
    EXPECT_EQ(core.Width, 640u);
    EXPECT_EQ(core.Height, 480u);
    const DeclaredSize topDown = CheckBmpHeader(quillmark::testing::BuildBmp({.Width = 7, .Height = -5}));
    EXPECT_EQ(topDown.Width, 7u);
    EXPECT_EQ(topDown.Height, 5u);
}

TEST(BmpHeader, MalformedHeadersAreInvalidBitmaps)
{
    std::vector<std::uint8_t> tinyHeader = quillmark::testing::BuildBmp({.Width = 1, .Height = 1});
    tinyHeader[14] = 8;
    const std::string invalid = "Cannot load image. Invalid or unexpected BMP image format.";
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
        std::string message;
    };
    const Case cases[] = {
        {"empty", {}, invalid},
        {"file header only", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, invalid},
        {"wrong magic", {'M', 'B', 0, 0}, invalid},
        {"header size 8", tinyHeader, invalid},
        {"negative width", quillmark::testing::BuildBmp({.Width = -4, .Height = 4}), invalid},
        {"zero core height", CoreHeaderBmp(4, 0), invalid},
        {"most negative height", quillmark::testing::BuildBmp({.Width = 1, .Height = INT32_MIN}),
         "Cannot load image. Picture of 1x2147483648 pixels is too large."},
        {"side limit + 1", quillmark::testing::BuildBmp({.Width = 65536, .Height = 1}),
         "Cannot load image. Picture of 65536x1 pixels is too large."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            CheckBmpHeader(c.file);
            ADD_FAILURE() << "accepted";
        } catch (const InvalidGraphicError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
    EXPECT_EQ(CheckBmpHeader(quillmark::testing::BuildBmp({.Width = 65535, .Height = 1})).Width, 65535u);
}
