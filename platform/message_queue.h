#pragma once
// A window stand-in for code without a window system (tools, tests): it registers itself as a
// message target for its whole life and lets its owner wait for what was posted to it.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/window_messages.h"

namespace platform {

class MessageQueue final : public MessageTarget {
public:
    MessageQueue();
    ~MessageQueue() override;
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;

    WindowHandle Handle() const { return m_handle; }

    // The oldest message, waiting up to the timeout (in real time) for one to arrive.
    std::optional<PostedMessage> Wait(std::chrono::milliseconds timeout);
    std::optional<PostedMessage> TryTake();
    std::size_t Count();

    void Deliver(const PostedMessage& message) override;

private:
    std::mutex m_lock;
    std::condition_variable m_arrived;
    std::deque<PostedMessage> m_messages;
    WindowHandle m_handle;
};

}  // namespace platform
