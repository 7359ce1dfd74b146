#include "platform/ftdi.h"

#include <atomic>

#include "platform/ftdi_linux.h"

namespace platform {
namespace {
std::atomic<FtdiDriver*> g_override{nullptr};
}

FtdiDriver& DefaultFtdiDriver() {
    if (FtdiDriver* chosen = g_override.load()) return *chosen;
    static SysfsFtdiDriver system(FtdiRootsFromEnvironment());
    return system;
}

void SetDefaultFtdiDriver(FtdiDriver* driver) {
    g_override.store(driver);
}

}  // namespace platform
