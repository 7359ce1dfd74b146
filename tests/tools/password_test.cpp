#include "tools/tq7ctl/password.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace tq7ctl {
namespace {

TEST(PasswordLine, TakesTheFirstLineWithoutItsLineEnd) {
    struct Case {
        std::string input;
        std::optional<std::string> password;
        std::string_view why;  // part of the refusal
    };
    const Case cases[] = {
        {"secret\n", "secret", ""},
        {"secret\r\n", "secret", ""},
        {"secret", "secret", ""},
        {"first\nsecond\n", "first", ""},
        {"\n", "", ""},
        {"\r\n", "", ""},
        {"with space \n", "with space ", ""},
        {"a\rb\n", "a\rb", ""},
        {"tab\there\n", "tab\there", ""},
        {"\xe9t\xe9\n", "\xe9t\xe9", ""},
        {std::string(255, 'p') + "\n", std::string(255, 'p'), ""},
        {std::string(255, 'p') + "\r\n", std::string(255, 'p'), ""},
        {std::string(256, 'p') + "\n", std::nullopt, "longer than 255"},
        {std::string("ab\0cd\n", 6), std::nullopt, "zero byte"},
        {"", std::nullopt, "ended"},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.input);
        const PasswordResult result = ReadPasswordLine(in);
        EXPECT_EQ(result.password, c.password) << ::testing::PrintToString(c.input);
        if (!c.password) {
            EXPECT_NE(result.error.find(c.why), std::string::npos)
                << ::testing::PrintToString(c.input) << ": " << result.error;
        }
    }
}

}  // namespace
}  // namespace tq7ctl
