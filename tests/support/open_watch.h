#pragma once
// Tells how often files were opened, as the kernel saw it: a test can show that a program never
// opened a device node at all, not only that it never asked its own driver to.

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>

namespace testsupport {

class OpenWatch {
public:
    OpenWatch() : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) { EXPECT_GE(m_fd, 0) << "no inotify"; }
    ~OpenWatch() {
        if (m_fd >= 0) ::close(m_fd);
    }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;

    // Counts the opens of `file` from now on; a link counts for the file it names.
    void Watch(const std::filesystem::path& file) {
        const int watch = ::inotify_add_watch(m_fd, file.c_str(), IN_OPEN);
        ASSERT_GE(watch, 0) << "cannot watch " << file;
        m_files[file] = watch;
        m_opens[watch] = 0;
    }

    // Opens of `file` since it was watched. The kernel queues the event before open() returns,
    // so every open that has returned is counted.
    int Opens(const std::filesystem::path& file) {
        Drain();
        return m_opens[m_files.at(file)];
    }

private:
    void Drain() {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) {
                EXPECT_TRUE(got < 0 && errno == EAGAIN) << "inotify read failed";
                return;
            }
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if ((event->mask & IN_OPEN) != 0) ++m_opens[event->wd];
                EXPECT_EQ(event->mask & IN_Q_OVERFLOW, 0u) << "opens were lost";
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

    int m_fd;
    std::map<std::filesystem::path, int> m_files;
    std::map<int, int> m_opens;
};

}  // namespace testsupport
