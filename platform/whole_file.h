#pragma once
// Reading and writing a small file in one go, with failures told by the cause numbers the
// program shows its users.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

enum class FileCause : int {
    kNone = 0,
    kGeneric = 1,
    kFileNotFound = 2,
    kBadPath = 3,
    kTooManyOpenFiles = 4,
    kAccessDenied = 5,
    kInvalidFile = 6,
    kRemoveCurrentDir = 7,
    kDirectoryFull = 8,
    kBadSeek = 9,
    kHardIo = 10,
    kSharingViolation = 11,
    kLockViolation = 12,
    kDiskFull = 13,
    kEndOfFile = 14,
};

// The cause that a system error number stands for; kGeneric for those without one of their own.
FileCause FileCauseOf(int systemError);

struct FileOutcome {
    bool opened = false;  // false: `cause` says why the file could not be opened
    FileCause cause = FileCause::kNone;
};

// Both calls take regular files only: a folder, FIFO or device is refused with kAccessDenied
// before it is opened, so neither call blocks on one. A path whose folder is missing gives
// kBadPath; a missing file in an existing folder kFileNotFound.

// Creates the file or empties it, and writes `bytes` with one write.
FileOutcome WriteWholeFile(const std::string& path, std::string_view bytes);

// The file's bytes into `bytes`, but never more than `limit` of them.
FileOutcome ReadFileStart(const std::string& path, std::size_t limit, std::string& bytes);

}  // namespace platform
