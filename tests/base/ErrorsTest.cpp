#include "base/ByteReader.h"
#include "base/Errors.h"

#include <gtest/gtest.h>

#include <array>

using namespace quillmark;

TEST(FormatMessage, FillsBlanksInOrderAndKeepsTheRest)
{
    EXPECT_EQ(FormatMessage("Cannot load image. %s not supported for %s files.", {"The compression scheme is", "PNG"}),
              "Cannot load image. The compression scheme is not supported for PNG files.");
    EXPECT_EQ(FormatMessage("%dx%d and 100%", {"3", "4"}), "3x4 and 100%");
    EXPECT_EQ(FormatMessage("%s %s", {"only"}), "only %s");
}

TEST(ByteReader, EveryReadPastTheEndThrowsTheGivenMessage)
{
    const std::array<std::uint8_t, 5> bytes{1, 2, 3, 4, 5};
    ByteReader r(bytes, "short");
    EXPECT_EQ(r.U16BE(), 0x0102);
    EXPECT_EQ(r.U16LE(), 0x0403);
    EXPECT_EQ(r.Remaining(), 1u);
    try {
        r.U32BE();
        FAIL() << "no error";
    } catch (const InvalidGraphicError& e) {
        EXPECT_STREQ(e.what(), "short");
    }
    EXPECT_EQ(r.Position(), 4u) << "a failed read must not move the reader";
    EXPECT_THROW(r.At(3, 3), InvalidGraphicError);
    EXPECT_THROW(r.At(6, 0), InvalidGraphicError);
    EXPECT_EQ(r.At(5, 0).size(), 0u);
}
