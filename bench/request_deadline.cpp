// How long a request to a converter that does not answer blocks its caller, at real time: the
// figure the Reboot dialog's polling and the Set IP dialog's wait are built on (about 7.5 s).

#include <chrono>
#include <cstdio>

#include "bench/loopback_guard.h"
#include "engine/addp.h"

int main() {
    if (!OnlyLoopbackHere()) return 2;
    AddpHandle handle = AddpOpen(kAddpMagicDigi);
    const std::uint8_t nobody[6] = {0x00, 0x40, 0x9d, 0xde, 0xad, 0x00};
    AddpDevice device{};
    const auto start = std::chrono::steady_clock::now();
    const int result = AddpQueryDevice(handle, nobody, &device);
    const std::chrono::duration<double> blocked = std::chrono::steady_clock::now() - start;
    std::printf("unanswered query: result %d after %.3f s (expected: -1 after about 7.5 s)\n", result,
                blocked.count());
    AddpClose(handle);
    return 0;
}
