#pragma once
// Waiting for a rebooted converter to answer again.

#include <chrono>
#include <functional>

namespace tq7ctl {

inline constexpr int kRebootRetries = 40;
inline constexpr std::chrono::milliseconds kRebootRetryPause{500};

struct PollOutcome {
    bool answered = false;
    int polls = 0;  // queries made, the answering one included
};

// Asks at once, then up to kRebootRetries more times with `pause(kRebootRetryPause)` before each,
// and stops at the first answer.
PollOutcome PollUntilAnswered(const std::function<bool()>& answers,
                              const std::function<void(std::chrono::nanoseconds)>& pause);

}  // namespace tq7ctl
