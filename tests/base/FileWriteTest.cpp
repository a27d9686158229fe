#include "base/FileWrite.h"

#include "base/Errors.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillmark;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::size_t EntryCount(const fs::path& dir)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

} // namespace

TEST(FileWrite, PlainFileIsReplacedWholeKeepsItsPermissionsAndNoTemporaryStays)
{
    const test::ScratchFolder folder("quillmark-write-");
    const fs::path target = folder.Path() / "out.dat";
    std::ofstream(target) << "old contents";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteFileReplacing(target.string(), "new");
    EXPECT_EQ(ReadAll(target), "new");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteFileReplacing((folder.Path() / "fresh.dat").string(), "made");
    EXPECT_EQ(ReadAll(folder.Path() / "fresh.dat"), "made");
    EXPECT_EQ(EntryCount(folder.Path()), 2u);
}

TEST(FileWrite, SymbolicLinkStaysALinkAndItsTargetIsReplaced)
{
    const test::ScratchFolder folder("quillmark-write-");
    fs::create_directories(folder.Path() / "real");
    const fs::path real = folder.Path() / "real" / "data.dat";
    std::ofstream(real) << "old";
    const fs::path link = folder.Path() / "link.dat";
    fs::create_symlink("real/data.dat", link);  // relative to the link's folder
    const fs::path chain = folder.Path() / "chain.dat";
    fs::create_symlink(link, chain);
    WriteFileReplacing(chain.string(), "through two links");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(chain));
    EXPECT_EQ(ReadAll(real), "through two links");
    EXPECT_EQ(EntryCount(folder.Path() / "real"), 1u);
    // A dangling link makes the file it names.
    const fs::path dangling = folder.Path() / "dangling.dat";
    fs::create_symlink("real/new.dat", dangling);
    WriteFileReplacing(dangling.string(), "made");
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(ReadAll(folder.Path() / "real" / "new.dat"), "made");
    // A loop of links is an error.
    fs::create_symlink("loop-b", folder.Path() / "loop-a");
    fs::create_symlink("loop-a", folder.Path() / "loop-b");
    EXPECT_THROW(WriteFileReplacing((folder.Path() / "loop-a").string(), "x"), FileError);
}

// Writes text to name while a reader reads the pipe; what the reader got.
// The writer waits for a reader, as a named pipe makes it.
std::string WrittenThroughPipe(const fs::path& pipe, const fs::path& name, const std::string& text)
{
    auto reader = std::async(std::launch::async, [&] { return ReadAll(pipe); });
    EXPECT_NO_THROW(WriteFileReplacing(name.string(), text));
    // Should the write have failed, this lets the reader see the end.
    if (const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0)
        ::close(fd);
    return reader.get();
}

TEST(FileWrite, NamedPipeIsWrittenDirectlyAndStaysAPipe)
{
    const test::ScratchFolder folder("quillmark-write-");
    const fs::path pipe = folder.Path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(WrittenThroughPipe(pipe, pipe, "through the pipe"), "through the pipe");
    EXPECT_TRUE(fs::is_fifo(pipe));
    // Through a link, as /dev/stdout reaches a pipe.
    const fs::path link = folder.Path() / "stdout";
    fs::create_symlink(pipe, link);
    EXPECT_EQ(WrittenThroughPipe(pipe, link, "through the link"), "through the link");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(EntryCount(folder.Path()), 2u);
}

TEST(FileWrite, FolderOrMissingFolderIsAFileErrorAndChangesNothing)
{
    const test::ScratchFolder folder("quillmark-write-");
    const fs::path full = folder.Path() / "full.ppm";  // a folder where the file should go
    fs::create_directories(full / "inside");
    const fs::path empty = folder.Path() / "empty.ppm";
    fs::create_directories(empty);
    const fs::path missingFolder = folder.Path() / "no" / "such" / "out.ppm";
    for (const fs::path& target : {full, empty, missingFolder}) {
        SCOPED_TRACE(target.string());
        try {
            WriteFileReplacing(target.string(), "x");
            FAIL() << "wrote";
        } catch (const FileError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + target.string());
        }
    }
    EXPECT_THROW(WriteFileReplacing(missingFolder.string(), "x", "Не удалось записать файл %s"), FileError);
    EXPECT_TRUE(fs::is_directory(full / "inside"));
    EXPECT_TRUE(fs::is_directory(empty));
    EXPECT_EQ(EntryCount(folder.Path()), 2u);
}
