#include "tools/tq7ctl/reboot_wait.h"

namespace tq7ctl {

PollOutcome PollUntilAnswered(const std::function<bool()>& answers,
                              const std::function<void(std::chrono::nanoseconds)>& pause) {
    PollOutcome outcome;
    for (int poll = 0; poll <= kRebootRetries; ++poll) {
        if (poll > 0) pause(kRebootRetryPause);
        ++outcome.polls;
        if (answers()) {
            outcome.answered = true;
            break;
        }
    }
    return outcome;
}

}  // namespace tq7ctl
