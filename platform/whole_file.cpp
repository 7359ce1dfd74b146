#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <utility>

namespace platform {
namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the user's umask

// Closes on every way out; a failed close after a good write is the write's failure.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_fd; }
    bool Close() { return ::close(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
};

bool IsFolder(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.empty() ? "." : path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// A path whose folder is missing is a bad path, not a missing file.
FileOutcome OpenFailed(const std::string& path) {
    const int error = errno;
    if (error == ENOENT && !IsFolder(std::filesystem::path(path).parent_path()))
        return {.opened = false, .cause = FileCause::kBadPath};
    return {.opened = false, .cause = FileCauseOf(error)};
}
FileOutcome NotAFile() {
    return {.opened = false, .cause = FileCause::kAccessDenied};
}
FileOutcome TransferFailed() { return {.opened = true, .cause = FileCauseOf(errno)}; }
FileOutcome Done() { return {.opened = true, .cause = FileCause::kNone}; }

// Only regular files are read or written: opening a FIFO blocks until someone writes to it, and
// opening a device node may act on the device. Checked before the open, so that neither is ever
// opened, and on the open descriptor, in case the path was swapped meanwhile.
bool ExistsButIsNoFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
}
bool IsRegularFile(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

FileCause FileCauseOf(int systemError) {
    switch (systemError) {
    case 0: return FileCause::kNone;
    case ENOENT: return FileCause::kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL: return FileCause::kBadPath;
    case EMFILE:
    case ENFILE: return FileCause::kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return FileCause::kAccessDenied;
    case EBADF: return FileCause::kInvalidFile;
    case ESPIPE: return FileCause::kBadSeek;
    case EIO: return FileCause::kHardIo;
    case ETXTBSY:
    case EBUSY: return FileCause::kSharingViolation;
    case ENOLCK: return FileCause::kLockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return FileCause::kDiskFull;
    default: return FileCause::kGeneric;
    }
}

FileOutcome WriteWholeFile(const std::string& path, std::string_view bytes) {
    if (ExistsButIsNoFile(path)) return NotAFile();
    Descriptor file(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, kNewFileMode));
    if (file.Get() < 0) return OpenFailed(path);
    if (!IsRegularFile(file.Get())) return NotAFile();
    const ssize_t written = ::write(file.Get(), bytes.data(), bytes.size());
    if (written < 0) return TransferFailed();
    if (static_cast<std::size_t>(written) != bytes.size()) {
        errno = ENOSPC;  // a short write of a file this small means the disk is full
        return TransferFailed();
    }
    if (!file.Close()) return TransferFailed();
    return Done();
}

FileOutcome ReadFileStart(const std::string& path, std::size_t limit, std::string& bytes) {
    bytes.clear();
    if (ExistsButIsNoFile(path)) return NotAFile();
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) return OpenFailed(path);
    if (!IsRegularFile(file.Get())) return NotAFile();
    bytes.resize(limit);
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t n = ::read(file.Get(), bytes.data() + got, limit - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            bytes.resize(got);
            return TransferFailed();
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return Done();
}

}  // namespace platform
