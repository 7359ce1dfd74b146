#include "tools/tq7ctl/password.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace tq7ctl {
namespace {

// The line is UTF-8 text; what comes out is the Latin-1 bytes a request carries.
TEST(PasswordLine, TakesTheFirstLineWithoutItsLineEndAsTheBytesTheRequestCarries) {
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
        {"\u00e9t\u00e9\n", "\xe9t\xe9", ""},
        {"\u00a0\u00ff\n", "\xa0\xff", ""},
        {std::string(255, 'p') + "\n", std::string(255, 'p'), ""},
        {std::string(255, 'p') + "\r\n", std::string(255, 'p'), ""},
        // 260 bytes as typed, 255 characters: what counts is what goes on the wire.
        {std::string(250, 'a') + "\u00e9\u00e9\u00e9\u00e9\u00e9\n", std::string(250, 'a') + std::string(5, '\xe9'), ""},
        {std::string(256, 'p') + "\n", std::nullopt, "longer than the 255 characters"},
        {std::string(255, 'p') + "\u00e9\n", std::nullopt, "longer than the 255 characters"},
        {"price\u20ac\n", std::nullopt, "outside Latin-1"},
        {"\U0001F511\n", std::nullopt, "outside Latin-1"},
        {std::string("ab\0cd\n", 6), std::nullopt, "zero byte"},
        {"\xe9t\xe9\n", std::nullopt, "not UTF-8"},        // Latin-1 bytes as typed
        {"ab\xc3\n", std::nullopt, "not UTF-8"},            // a sequence cut short
        {"\xc0\xa9\n", std::nullopt, "not UTF-8"},         // an overlong form of U+0029
        {"\xed\xa0\x80\n", std::nullopt, "not UTF-8"},     // a surrogate
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
