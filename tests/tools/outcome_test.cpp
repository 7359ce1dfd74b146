#include "tools/tq7ctl/outcome.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace tq7ctl {
namespace {

const Mac kMac{0x00, 0x40, 0x9d, 0x01, 0x02, 0x03};
const Mac kEvery{0xff, 0xff, 0xff, 0xff, 0xff, 0xff};

TEST(ConfigurationOutcome, TheConvertersAnswerDecidesAndSilenceIsNeverSuccess) {
    struct Case {
        Mac mac;
        int result;
        int code;
        std::string_view text;
        ExitCode exit;
        std::string_view out;
        std::string_view err;  // part of what goes to stderr
    };
    const Case cases[] = {
        {kMac, 0, 0, "Success", kExitOk,
         "00:40:9d:01:02:03 accepted the request: result flag 0, error code 0, message: Success\n", ""},
        // A reply without outcome fields leaves code 0 and an empty message.
        {kMac, 0, 0, "", kExitOk,
         "00:40:9d:01:02:03 accepted the request: result flag 0, error code 0, message: \n", ""},
        {kMac, 1, 5, "Invalid password", kExitRefused,
         "00:40:9d:01:02:03 refused the request: result flag 1, error code 5, message: Invalid password\n",
         ""},
        {kMac, 255, 0, "odd\nreply", kExitRefused,
         "00:40:9d:01:02:03 refused the request: result flag 255, error code 0, message: odd\\x0areply\n",
         ""},
        // Without a reply the engine keeps its own status; it must not read as the converter's.
        {kMac, -1, 0, "Operation Successful", kExitNoAnswer, "", "no answer from 00:40:9d:01:02:03"},
        {kEvery, -1, 0, "Operation Successful", kExitNoAnswer, "", "no request was sent"},
    };
    for (const Case& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(ReportConfigurationResult(c.mac, c.result, c.code, c.text, out, err), c.exit) << c.result;
        EXPECT_EQ(out.str(), c.out) << c.result;
        if (c.err.empty()) {
            EXPECT_EQ(err.str(), "") << c.result;
        } else {
            EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
            EXPECT_EQ(err.str().find("Successful"), std::string::npos) << err.str();
        }
    }
}

}  // namespace
}  // namespace tq7ctl
