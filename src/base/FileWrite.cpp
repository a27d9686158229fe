#include "base/FileWrite.h"

#include "base/Errors.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmark {

namespace {

// Link chains longer than this are loops, as the system itself counts them.
constexpr int kMaxLinkHops = 40;

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// The path a chain of symbolic links ends at (which need not exist yet).
std::filesystem::path ResolveLinks(std::filesystem::path path, const FileError& failure)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error)
            throw failure;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    throw failure;
}

// Writes what produce hands over; false once a write failed (the rest is
// then made but not written).
bool WriteProduced(int fd, const std::function<void(const ByteSink&)>& produce)
{
    bool written = true;
    produce([&](std::span<const std::uint8_t> piece) { written = written && WriteAll(fd, piece); });
    return written;
}

} // namespace

void WriteFileReplacing(const std::string& fileName, std::span<const std::uint8_t> bytes,
                        const std::string& failureMessage)
{
    WriteFileReplacing(fileName, [bytes](const ByteSink& sink) { sink(bytes); }, failureMessage);
}

void WriteFileReplacing(const std::string& fileName, const std::function<void(const ByteSink&)>& produce,
                        const std::string& failureMessage)
{
    const FileError failure(FormatMessage(failureMessage, {fileName}));

    // What the name finally stands for, links followed (/dev/stdout through
    // /proc/self/fd/1 to a pipe included): devices, pipes and sockets are
    // opened by the name itself and written directly.
    struct stat info {};
    const bool exists = ::stat(fileName.c_str(), &info) == 0;
    if (exists && (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode))) {
        Descriptor out(::open(fileName.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
        if (out.Get() < 0 || !WriteProduced(out.Get(), produce) || !out.Close())
            throw failure;
        return;
    }
    if (exists && !S_ISREG(info.st_mode))
        throw failure;  // a folder or a block device
    // The file itself, for the temporary file beside it; a new name, or a
    // link that points to no file yet, resolves link by link.
    std::filesystem::path target;
    if (exists) {
        char* real = ::realpath(fileName.c_str(), nullptr);
        if (real == nullptr)
            throw failure;
        target = real;
        std::free(real);
    } else {
        target = ResolveLinks(fileName, failure);
    }

    // A new file gets the usual permissions (0666 less the umask); a replaced
    // one keeps its own.
    std::random_device random;
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = folder / (target.filename().string() + ".tmp" + std::to_string(random()));
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        throw failure;
    Descriptor out(fd);
    // Not the owner, the replacement keeps the usual permissions.
    if (exists)
        static_cast<void>(::fchmod(fd, info.st_mode & 07777));
    bool written = false;
    try {
        written = WriteProduced(fd, produce);
    } catch (...) {
        static_cast<void>(out.Close());
        ::unlink(temporary.c_str());
        throw;
    }
    if (!out.Close() || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw failure;
    }
}

} // namespace quillmark
