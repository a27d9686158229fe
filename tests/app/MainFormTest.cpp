#include "app/MainUnit.h"

#include <gtest/gtest.h>

using namespace quillmark;

TEST(MainForm, CaptionAndMinimumSize)
{
    TMainForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Quillmark 0.61"));
    EXPECT_EQ(form.minimumSize(), QSize(400, 400));
}
