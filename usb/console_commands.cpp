#include <algorithm>
#include <string>

#include "platform/ui/seams.h"
#include "usb/console.h"
#include "usb/console_io.h"
#include "usb/exchange_log.h"
#include "usb/link.h"

namespace {

constexpr std::string_view kRestartLine = "boot action=r\n";
// What the restart and set checks look at; a longer reply is not read further.
constexpr std::size_t kExaminedLength = 170;
// The reply opens with the echo of the command, whose start is not looked at.
constexpr std::size_t kSetEchoLength = 20;

std::int32_t Fail() {
    g_usbLink.errorState = kLinkFailed;
    return g_usbLink.errorState;
}

// The bytes after the echo, as text up to the first NUL.
std::string_view SetAnswer() {
    const std::string_view received(g_usbLink.rxBuffer.data(), std::min(g_usbLink.rxCount, kRxBufferSize));
    if (received.size() <= kSetEchoLength) return {};
    const std::string_view answer = received.substr(kSetEchoLength, kExaminedLength);
    return answer.substr(0, answer.find('\0'));
}

// From "error" to the end of the line after it, where the converter's explanation ends; when the
// answer stops before that, all that is left of it.
std::string_view RefusalText(std::string_view answer, std::size_t at) {
    const std::size_t lineFeed = answer.find('\n', at);
    const std::size_t end = lineFeed == std::string_view::npos ? answer.size()
                                                               : std::min(answer.find('\r', lineFeed), answer.size());
    return answer.substr(at, end - at);
}

}  // namespace

std::int32_t ConsoleRestart() {
    if (!UsbWriteCommand(kRestartLine) || !UsbReadReply()) return Fail();
    const std::string_view reply = UsbReplyText().substr(0, kExaminedLength);
    g_usbLink.errorState = reply.find("Error") != std::string_view::npos ? kLinkFailed : kNoError;
    LogExchange(reply);
    return g_usbLink.errorState;
}

std::int32_t ConsoleSendSet(std::string_view command) {
    UsbWriteCommand(command);
    if (!platform::IsOk(g_usbLink.lastStatus) || !UsbReadReply()) return Fail();
    const std::string_view answer = SetAnswer();
    const std::size_t at = answer.find("error");
    if (at == std::string_view::npos) {
        g_usbLink.errorState = kNoError;
    } else {
        g_usbLink.errorState = kSetRefused;
        const std::string_view refusal = RefusalText(answer, at);
        platform::ui::MessageBox(QString::fromLatin1(refusal.data(), static_cast<qsizetype>(refusal.size())));
    }
    LogExchange(answer);
    return g_usbLink.errorState;
}

bool ConsoleShow(std::string_view command) {
    if (!UsbWriteCommand(std::string(command) + '\n') || !UsbReadReply()) {
        Fail();
        return false;
    }
    return true;
}
