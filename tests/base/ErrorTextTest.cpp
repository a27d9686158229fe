#include "base/ErrorText.h"

#include <gtest/gtest.h>

using namespace quillmark;

TEST(ErrorBox, TitleIsProgramNameWithoutExtension)
{
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"/usr/local/bin/quillmark", "quillmark"},
        {"quillmark", "quillmark"},
        {"./build/quillmark.bin", "quillmark"},
        {"/opt/q.v2/Quillmark.x.exe", "Quillmark.x"},
        {"/opt/q.v2/quillmark", "quillmark"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ApplicationTitle(c.path), c.title);
    }
}

TEST(ErrorBox, FullStopAddedWhenLastCharacterSortsAfterIt)
{
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"JPEG error #42", "JPEG error #42."},
        {"Cannot open file", "Cannot open file."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},
        {"(see above)", "(see above)"},
        {"Why?", "Why?."},
        {"a-", "a-"},
        {"ends/", "ends/."},
        {"Деление на ноль", "Деление на ноль."},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(ErrorBoxMessage(c.message), c.shown);
    }
}
