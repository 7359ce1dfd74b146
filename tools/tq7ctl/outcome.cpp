#include "tools/tq7ctl/outcome.h"

#include "tools/tq7ctl/device_format.h"

namespace tq7ctl {

void ReportNoAnswer(const Mac& mac, std::ostream& err) {
    if (IsEveryModule(mac)) {
        err << "tq7ctl: " << MacText(mac.data())
            << " addresses every converter, not one: no request was sent and nothing answered\n";
        return;
    }
    err << "tq7ctl: no answer from " << MacText(mac.data()) << " before the deadline\n";
}

ExitCode ReportConfigurationResult(const Mac& mac, int result, int statusCode, std::string_view statusText,
                                   std::ostream& out, std::ostream& err) {
    if (result < 0) {
        ReportNoAnswer(mac, err);
        return kExitNoAnswer;
    }
    out << MacText(mac.data()) << (result == 0 ? " accepted" : " refused") << " the request: result flag "
        << result << ", error code " << statusCode << ", message: " << PlainText(statusText) << '\n';
    return result == 0 ? kExitOk : kExitRefused;
}

}  // namespace tq7ctl
