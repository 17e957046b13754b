#include "platform/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace vorlu::platform {

namespace {

[[noreturn]] void throwErrno(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

// Closes the descriptor on every road out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { closeNow(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closing can report a delayed write error, so the writer checks it.
    int closeNow()
    {
        const int result = fd_ >= 0 ? ::close(fd_) : 0;
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

void makeDirectories(const std::filesystem::path& dir)
{
    if (dir.empty())
        return;
    struct stat info {};
    if (::stat(dir.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode))
            throw std::system_error(ENOTDIR, std::generic_category(), dir.string());
        return;
    }
    makeDirectories(dir.parent_path());
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        throwErrno(dir.string());
}

void writeAll(int fd, std::string_view contents, const std::string& name)
{
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throwErrno(name);
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
}

} // namespace

std::optional<std::string> readFileIfExists(const std::filesystem::path& file)
{
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        throwErrno(file.string());
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        throwErrno(file.string());
    if (!S_ISREG(info.st_mode))
        throw std::system_error(EISDIR, std::generic_category(), file.string());
    std::string contents;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throwErrno(file.string());
        }
        if (got == 0)
            break;
        contents.append(buffer, static_cast<std::size_t>(got));
    }
    return contents;
}

void writeFileAtomically(const std::filesystem::path& requested, std::string_view contents)
{
    std::filesystem::path file = requested;
    std::error_code ignored;
    if (std::filesystem::is_symlink(file, ignored)) {
        const auto target = std::filesystem::weakly_canonical(file, ignored);
        if (!ignored)
            file = target;
    }
    const std::filesystem::path dir = file.parent_path();
    makeDirectories(dir);

    // Keep the mode of the file being replaced; a new settings file is the owner's alone.
    mode_t mode = 0600;
    struct stat old {};
    if (::stat(file.c_str(), &old) == 0)
        mode = old.st_mode & 07777;

    std::string temp = (dir / ("." + file.filename().string() + ".XXXXXX")).string();
    FileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0)
        throwErrno(file.string());
    try {
        if (::fchmod(fd.get(), mode) != 0)
            throwErrno(file.string());
        writeAll(fd.get(), contents, file.string());
        if (::fsync(fd.get()) != 0)
            throwErrno(file.string());
        if (fd.closeNow() != 0)
            throwErrno(file.string());
        if (::rename(temp.c_str(), file.c_str()) != 0)
            throwErrno(file.string());
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    // The rename itself is durable only once the folder is flushed; failing here loses nothing.
    FileDescriptor dirFd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0)
        ::fsync(dirFd.get());
}

} // namespace vorlu::platform
