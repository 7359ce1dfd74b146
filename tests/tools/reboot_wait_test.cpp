#include "tools/tq7ctl/reboot_wait.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tq7ctl {
namespace {

TEST(RebootWait, AsksAtOnceThenRetriesFortyTimesHalfASecondApart) {
    constexpr int kNever = 0;
    struct Case {
        int answersOnPoll;  // 1 = the first query answers
        bool answered;
        int polls;
    };
    const Case cases[] = {{1, true, 1}, {2, true, 2}, {40, true, 40}, {41, true, 41}, {kNever, false, 41}};
    for (const Case& c : cases) {
        std::string events;  // "q" for a query, "p" for a pause
        std::vector<std::chrono::nanoseconds> pauses;
        int polls = 0;
        const PollOutcome outcome = PollUntilAnswered(
            [&] {
                events += 'q';
                return ++polls == c.answersOnPoll;
            },
            [&](std::chrono::nanoseconds pause) {
                events += 'p';
                pauses.push_back(pause);
            });
        EXPECT_EQ(outcome.answered, c.answered) << c.answersOnPoll;
        EXPECT_EQ(outcome.polls, c.polls) << c.answersOnPoll;

        std::string expected = "q";
        for (int i = 1; i < c.polls; ++i) expected += "pq";
        EXPECT_EQ(events, expected) << c.answersOnPoll;
        for (const auto pause : pauses) EXPECT_EQ(pause, std::chrono::milliseconds(500));
    }
}

}  // namespace
}  // namespace tq7ctl
