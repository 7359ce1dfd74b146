#pragma once
// Window handles and posted messages: what the engine needs of a window system, and nothing more.
// A dialog registers itself while its window exists; a tool or a test can register a plain
// message queue instead. Handles are never reused, so a stale one simply answers "no such window".

#include <cstdint>

namespace platform {

using WindowHandle = std::uintptr_t;
constexpr WindowHandle kNoWindow = 0;

constexpr unsigned kWmApp = 0x8000;

struct PostedMessage {
    unsigned message = 0;
    std::uintptr_t first = 0;
    std::intptr_t second = 0;
};

class MessageTarget {
public:
    virtual ~MessageTarget() = default;
    // Called on the posting thread while the window registry is locked: queue the message and
    // return at once, never block and never call back into the registry.
    virtual void Deliver(const PostedMessage& message) = 0;
};

// The target must stay alive until UnregisterWindow returns.
WindowHandle RegisterWindow(MessageTarget& target);
void UnregisterWindow(WindowHandle window);

// Any thread.
bool IsWindow(WindowHandle window);

// Any thread; never waits for the window. False when the window does not exist.
bool PostMessage(WindowHandle window, unsigned message, std::uintptr_t first, std::intptr_t second);

}  // namespace platform
