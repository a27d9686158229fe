#include "settings/ProfileFile.h"

#include <gtest/gtest.h>

#include "settings/ProfileSettingsStore.h"
#include "base/Errors.h"

using namespace quillmark;

namespace {

const std::string kHandWritten =
    "; settings kept by hand\r\n"
    "stray=before any section\r\n"
    "[WindowPosition]\r\n"
    "Left=120\r\n"
    "  top = 45  \r\n"
    "# not a comment for us, but kept\r\n"
    "\r\n"
    "[Unknown Section]\r\n"
    "Whatever=keeps its place\r\n"
    "garbage \x01\xff line without equals\r\n"
    "\r\n"
    "[path]\r\n"
    "CurrentPath=/home/пользователь/графики\r\n"
    "Odd=a=b\r\n";

TEST(ProfileFile, TextComesBackByteForByte)
{
    EXPECT_EQ(ProfileFile(kHandWritten).Text(), kHandWritten);
    EXPECT_EQ(ProfileFile("").Text(), "");
    const std::string withMark = "\xEF\xBB\xBF[A]\r\nk=v\r\n";
    const ProfileFile marked(withMark);
    EXPECT_EQ(marked.Text(), withMark);
    EXPECT_EQ(marked.ReadString("A", "k", ""), "v");
}

TEST(ProfileFile, LookupIgnoresCaseAndBlanks)
{
    const ProfileFile f(kHandWritten);
    EXPECT_EQ(f.ReadInteger("windowposition", "LEFT", 0), 120);
    EXPECT_EQ(f.ReadInteger("WindowPosition", "Top", 0), 45);
    EXPECT_EQ(f.ReadString("Path", "currentpath", ""), "/home/пользователь/графики");
    EXPECT_EQ(f.ReadString("Path", "Odd", ""), "a=b");
    EXPECT_EQ(f.ReadString("unknown section", "whatever", ""), "keeps its place");
    // A key outside every section belongs to none.
    EXPECT_FALSE(f.Find("", "stray"));
    EXPECT_EQ(f.ReadInteger("WindowPosition", "Width", 735), 735);
    EXPECT_EQ(f.ReadString("Missing", "Key", "dflt"), "dflt");
}

TEST(ProfileFile, WritingAKeyChangesOnlyItsLine)
{
    ProfileFile f(kHandWritten);
    ASSERT_TRUE(f.WriteString("WINDOWPOSITION", "TOP", "7"));
    std::string expected = kHandWritten;
    expected.replace(expected.find("  top = 45  "), 12, "TOP=7");
    EXPECT_EQ(f.Text(), expected);
    EXPECT_EQ(f.ReadInteger("WindowPosition", "Top", 0), 7);
}

TEST(ProfileFile, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEnd)
{
    ProfileFile f(kHandWritten);
    f.WriteInteger("WindowPosition", "Width", 735);
    f.WriteBool("Options", "Stretch", true);
    const std::string text = f.Text();
    // After the section's last non-blank line, before the blank separator.
    EXPECT_NE(text.find("# not a comment for us, but kept\r\nWidth=735\r\n\r\n[Unknown Section]"), std::string::npos)
        << text;
    EXPECT_EQ(text.substr(text.size() - 22), "[Options]\r\nStretch=1\r\n");
    EXPECT_EQ(ProfileFile(text).ReadInteger("WindowPosition", "Width", 0), 735);
}

TEST(ProfileFile, AMissingFileIsCreatedByTheFirstWrite)
{
    ProfileFile f;
    f.WriteInteger("WindowPosition", "Left", -30);
    f.WriteInteger("WindowPosition", "Top", 25);
    f.WriteString("Path", "CurrentPath", "/tmp/x y");
    EXPECT_EQ(f.Text(), "[WindowPosition]\r\nLeft=-30\r\nTop=25\r\n[Path]\r\nCurrentPath=/tmp/x y\r\n");
}

TEST(ProfileFile, FirstSectionAndFirstKeyWin)
{
    ProfileFile f("[A]\nk=1\nk=2\n[a]\nk=3\nother=4\n");
    EXPECT_EQ(f.ReadInteger("A", "k", 0), 1);
    EXPECT_FALSE(f.Find("A", "other")); // only in the second section of that name
    f.WriteInteger("a", "K", 9);
    EXPECT_EQ(f.Text(), "[A]\r\nK=9\r\nk=2\r\n[a]\r\nk=3\r\nother=4\r\n");
}

TEST(ProfileFile, LineEndsOfAnyKindAreRead)
{
    for (const std::string text : {"[S]\nA=1\nB=2", "[S]\rA=1\rB=2\r", "[S]\r\nA=1\r\nB=2\r\n"}) {
        const ProfileFile f(text);
        EXPECT_EQ(f.ReadInteger("S", "A", 0), 1);
        EXPECT_EQ(f.ReadInteger("S", "B", 0), 2);
        EXPECT_EQ(f.Text(), "[S]\r\nA=1\r\nB=2\r\n");
    }
}

TEST(ProfileFile, IntegersAndBooleansThatDoNotParseGiveTheDefault)
{
    struct Case {
        const char* text;
        std::int32_t integer; // read with default -7
        bool boolean;         // read with default true
    };
    const Case cases[] = {
        {"42", 42, true},       {" 42 ", 42, true},     {"+7", 7, true},
        {"-3", -3, true},       {"0", 0, false},        {"2147483647", 2147483647, true},
        {"-2147483648", INT32_MIN, true},               {"2147483648", -7, true},
        {"99999999999999999999", -7, true},             {"", -7, true},
        {"12abc", -7, true},    {"abc", -7, true},      {"1.5", -7, true},
        {"- 1", -7, true},      {"$10", -7, true},      {"+", -7, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ProfileFile f(std::string("[S]\r\nK=") + c.text + "\r\n");
        EXPECT_EQ(f.ReadInteger("S", "K", -7), c.integer);
        EXPECT_EQ(f.ReadBool("S", "K", true), c.boolean);
    }
    const ProfileFile zero("[S]\r\nK=0\r\nJunk=yes\r\n");
    EXPECT_FALSE(zero.ReadBool("S", "K", true));
    EXPECT_FALSE(zero.ReadBool("S", "Junk", false));
    EXPECT_TRUE(zero.ReadBool("S", "Missing", true));
}

TEST(ProfileFile, BrokenLinesAreKeptButAreNotKeys)
{
    const std::string text = "[Options\r\nA=1\r\n[S]\r\n=no name\r\n;B=2\r\nB=3\r\n";
    const ProfileFile f(text);
    EXPECT_FALSE(f.Find("Options", "A")); // no closing bracket: no section
    EXPECT_EQ(f.ReadInteger("S", "B", 0), 3);
    EXPECT_EQ(f.Text(), text);
}

TEST(ProfileFile, VeryLongAndBinaryLinesSurvive)
{
    std::string text = "[S]\r\nLong=" + std::string(1 << 20, 'x') + "\r\n";
    text += std::string("bin\0\x80\xfe=", 7) + "\r\n";
    text += "After=ok\r\n";
    ProfileFile f(text);
    EXPECT_EQ(f.ReadString("S", "Long", "").size(), std::size_t{1} << 20);
    EXPECT_EQ(f.ReadString("S", "After", ""), "ok");
    f.WriteString("S", "After", "still ok");
    std::string expected = text;
    expected.replace(expected.find("After=ok"), 8, "After=still ok");
    EXPECT_EQ(f.Text(), expected);
}

TEST(ProfileFile, ValuesWithLineBreaksAreRefusedAndBadNamesAreBugs)
{
    ProfileFile f("[Path]\r\nCurrentPath=/old\r\n");
    EXPECT_FALSE(f.WriteString("Path", "CurrentPath", "/new\n[Options]\nStretch=0"));
    EXPECT_FALSE(f.WriteString("Path", "CurrentPath", "/new\r"));
    EXPECT_EQ(f.Text(), "[Path]\r\nCurrentPath=/old\r\n");
    EXPECT_THROW(f.WriteString("Pa]th", "K", "v"), InternalError);
    EXPECT_THROW(f.WriteString("Path", "K=1", "v"), InternalError);
    EXPECT_THROW(f.WriteString("", "K", "v"), InternalError);
    EXPECT_THROW(f.WriteString("Path", " K", "v"), InternalError);
    EXPECT_THROW(f.WriteString("Path", "K\n", "v"), InternalError);
}

TEST(ProfileSettingsStore, ReadsAndWritesTheProfileInMemory)
{
    ProfileSettingsStore store(ProfileFile("[ToolWindow]\r\nvisible=0\r\n"));
    SettingsStore& settings = store;
    EXPECT_FALSE(settings.ReadBool("ToolWindow", "Visible", true));
    EXPECT_EQ(settings.ReadInteger("ToolWindow", "Docked", 1), 1);
    settings.WriteInteger("ToolWindow", "Docked", 3);
    settings.WriteString("Path", "CurrentPath", "/a\nb");
    settings.WriteString("Path", "CurrentPath", "/pictures");
    EXPECT_EQ(store.Text(), "[ToolWindow]\r\nvisible=0\r\nDocked=3\r\n[Path]\r\nCurrentPath=/pictures\r\n");
}

} // namespace
