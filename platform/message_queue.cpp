#include "platform/message_queue.h"

namespace platform {

MessageQueue::MessageQueue() : m_handle(RegisterWindow(*this)) {}

MessageQueue::~MessageQueue() { UnregisterWindow(m_handle); }

std::optional<PostedMessage> MessageQueue::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock guard(m_lock);
    if (!m_arrived.wait_for(guard, timeout, [this] { return !m_messages.empty(); })) return std::nullopt;
    PostedMessage message = m_messages.front();
    m_messages.pop_front();
    return message;
}

std::optional<PostedMessage> MessageQueue::TryTake() { return Wait(std::chrono::milliseconds(0)); }

std::size_t MessageQueue::Count() {
    std::lock_guard guard(m_lock);
    return m_messages.size();
}

void MessageQueue::Deliver(const PostedMessage& message) {
    {
        std::lock_guard guard(m_lock);
        m_messages.push_back(message);
    }
    m_arrived.notify_one();
}

}  // namespace platform
