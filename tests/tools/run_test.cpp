// The command line through the whole tool, for the paths that end before anything is sent.

#include "tools/tq7ctl/run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/time.h"
#include "product_version.h"

namespace tq7ctl {
namespace {

struct Outcome {
    ExitCode exit;
    std::string out;
    std::string err;
    std::vector<bool> passwordAsks;  // fromStdin of each ask
};

Outcome RunWith(const std::vector<std::string_view>& args, std::optional<std::string_view> timeScale = {},
                PasswordResult password = {std::nullopt, "no password for the test"}) {
    std::ostringstream out, err;
    Outcome outcome{};
    const Surroundings surroundings{out, err, timeScale, [&](bool fromStdin) {
                                        outcome.passwordAsks.push_back(fromStdin);
                                        return password;
                                    }};
    outcome.exit = Run(args, surroundings);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

class RunTest : public ::testing::Test {
protected:
    void TearDown() override { platform::SetTimeScale(1.0); }
};

TEST_F(RunTest, HelpGoesToStdoutWithStatusZero) {
    for (const auto& args : {std::vector<std::string_view>{"--help"}, {"help"}, {"reboot", "--help"}}) {
        const Outcome outcome = RunWith(args);
        EXPECT_EQ(outcome.exit, kExitOk);
        EXPECT_NE(outcome.out.find("set-network MAC IP MASK GATEWAY"), std::string::npos);
        EXPECT_EQ(outcome.err, "");
        EXPECT_TRUE(outcome.passwordAsks.empty());
    }
}

TEST_F(RunTest, VersionGoesToStdoutWithStatusZero) {
    const Outcome outcome = RunWith({"--version"});
    EXPECT_EQ(outcome.exit, kExitOk);
    EXPECT_EQ(outcome.out, std::string("tq7ctl ") + kProductVersion + "\n");
    EXPECT_EQ(outcome.err, "");
    EXPECT_TRUE(outcome.passwordAsks.empty());
}

TEST_F(RunTest, UsageErrorsExitTwoWithTheBadArgumentAndTheUsageOnStderr) {
    struct Case {
        std::vector<std::string_view> args;
        std::optional<std::string_view> timeScale;
        std::string_view named;
    };
    const Case cases[] = {
        {{}, {}, "no command given"},
        {{"explode"}, {}, "unknown command 'explode'"},
        {{"query", "00:40:9d:01:02"}, {}, "bad MAC address '00:40:9d:01:02'"},
        {{"set-network", "00:40:9d:01:02:03", "1.2.3.4", "255.0.0.0", "1.2.3"}, {}, "bad gateway '1.2.3'"},
        {{"discover", "--seconds", "zero"}, {}, "--seconds 'zero'"},
        {{"query", "00:40:9d:01:02:03"}, "0", "bad TQ7_TIME_SCALE '0'"},
        {{"discover"}, "fast", "bad TQ7_TIME_SCALE 'fast'"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = RunWith(c.args, c.timeScale);
        const std::string shown = ::testing::PrintToString(c.args);
        EXPECT_EQ(outcome.exit, kExitUsage) << shown;
        EXPECT_NE(outcome.err.find(c.named), std::string::npos) << shown << ": " << outcome.err;
        EXPECT_NE(outcome.err.find("usage: tq7ctl"), std::string::npos) << shown;
        EXPECT_EQ(outcome.out, "") << shown;
        EXPECT_TRUE(outcome.passwordAsks.empty()) << shown;
    }
    EXPECT_EQ(platform::TimeScale(), 1.0);
}

TEST_F(RunTest, ConfigurationCommandsAskForThePasswordAndStopWhenThereIsNone) {
    struct Case {
        std::vector<std::string_view> args;
        bool fromStdin;
    };
    const Case cases[] = {
        {{"dhcp", "00:40:9d:01:02:03"}, false},
        {{"dhcp", "00:40:9d:01:02:03", "--password-stdin"}, true},
        {{"reboot", "--password-stdin", "--wait", "00:40:9d:01:02:03"}, true},
        {{"set-network", "00:40:9d:01:02:03", "10.0.0.7", "255.255.255.0", "10.0.0.1"}, false},
    };
    for (const Case& c : cases) {
        const Outcome outcome =
            RunWith(c.args, "0.5", {std::nullopt, "the password is longer than 255 bytes"});
        const std::string shown = ::testing::PrintToString(c.args);
        EXPECT_EQ(outcome.exit, kExitUsage) << shown;
        EXPECT_EQ(outcome.passwordAsks, std::vector<bool>{c.fromStdin}) << shown;
        EXPECT_NE(outcome.err.find("tq7ctl: the password is longer than 255 bytes"), std::string::npos)
            << shown;
        EXPECT_NE(outcome.err.find("usage: tq7ctl"), std::string::npos) << shown;
    }
    // The scale is taken from the environment before the password is asked for.
    EXPECT_EQ(platform::TimeScale(), 0.5);
}

}  // namespace
}  // namespace tq7ctl
