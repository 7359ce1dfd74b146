#pragma once
// The converter's end of a pseudo-terminal line, as a test drives it: a non-blocking descriptor
// that takes only what the line has room for.

#include <poll.h>
#include <unistd.h>

#include <string_view>

namespace testsupport {

// Puts every byte on the line, waiting for room while the program reads; gives up when the line
// has had no room for two seconds.
inline void WriteFarEnd(int fd, std::string_view bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else {
            pollfd room{fd, POLLOUT, 0};
            if (::poll(&room, 1, 2000) <= 0) break;
        }
    }
}

}  // namespace testsupport
