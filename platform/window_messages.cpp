#include "platform/window_messages.h"

#include <map>
#include <mutex>

namespace platform {
namespace {

struct Registry {
    std::mutex lock;
    std::map<WindowHandle, MessageTarget*> targets;
    WindowHandle next = 1;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

WindowHandle RegisterWindow(MessageTarget& target) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    const WindowHandle handle = registry.next++;
    registry.targets.emplace(handle, &target);
    return handle;
}

void UnregisterWindow(WindowHandle window) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    registry.targets.erase(window);
}

bool IsWindow(WindowHandle window) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    return registry.targets.contains(window);
}

bool PostMessage(WindowHandle window, unsigned message, std::uintptr_t first, std::intptr_t second) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    const auto found = registry.targets.find(window);
    if (found == registry.targets.end()) return false;
    found->second->Deliver(PostedMessage{message, first, second});
    return true;
}

}  // namespace platform
