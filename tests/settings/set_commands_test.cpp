#include "settings/set_commands.h"

#include <gtest/gtest.h>

namespace {

TEST(SetCommandLine, EndsInALineFeedAndQuotesEmptyValuesButTheProfile) {
    struct Case {
        std::string_view prefix;
        std::string_view value;
        const char* line;
    } const cases[] = {
        {settings::kSetIpAddress, "10.0.0.7", "set network ip=10.0.0.7\n"},
        {settings::kSetIpAddress, "", "set network ip=\"\n"},
        {settings::kSetStatic, "", "set network static=\"\n"},
        {settings::kSetSpeed, "", "set ethernet speed=\"\n"},
        {settings::kSetProfile, "", "set profile profile=\n"},
        {settings::kSetProfile, "console_management", "set profile profile=console_management\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(settings::SetCommandLine(c.prefix, c.value), c.line) << c.line;
    // The longest line the window can send.
    EXPECT_EQ(settings::SetCommandLine(settings::kSetProfile, "console_management").size(), 39u);
}

}  // namespace
