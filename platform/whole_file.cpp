#include "platform/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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

FileOutcome OpenFailed() { return {.opened = false, .cause = FileCauseOf(errno)}; }
FileOutcome TransferFailed() { return {.opened = true, .cause = FileCauseOf(errno)}; }
FileOutcome Done() { return {.opened = true, .cause = FileCause::kNone}; }

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
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kNewFileMode));
    if (file.Get() < 0) return OpenFailed();
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
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) return OpenFailed();
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
