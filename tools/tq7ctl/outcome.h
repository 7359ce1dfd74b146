#pragma once
// What a configuration request's result means to the user and to a script.

#include <ostream>
#include <string_view>

#include "tools/tq7ctl/arguments.h"
#include "tools/tq7ctl/exit_codes.h"

namespace tq7ctl {

// `result` is what the engine returned: -1 when no reply came, else the converter's result flag;
// `statusCode` and `statusText` are the instance's status afterwards. Without a reply the engine
// keeps its own "Operation Successful" status, so that is never passed on as the converter's word.
// A converter's answer goes to `out`; no answer goes to `err`.
ExitCode ReportConfigurationResult(const Mac& mac, int result, int statusCode, std::string_view statusText,
                                   std::ostream& out, std::ostream& err);

// The line for a request or query that got no answer.
void ReportNoAnswer(const Mac& mac, std::ostream& err);

}  // namespace tq7ctl
