#include "platform/sockets_library.h"

#include <mutex>

namespace platform {
namespace {
std::mutex g_lock;
int g_starts = 0;
}  // namespace

bool SocketsStartup() {
    std::lock_guard guard(g_lock);
    ++g_starts;
    return true;
}

void SocketsCleanup() {
    std::lock_guard guard(g_lock);
    if (g_starts > 0) --g_starts;
}

int SocketsStartCount() {
    std::lock_guard guard(g_lock);
    return g_starts;
}

}  // namespace platform
