// Feeds arbitrary console replies to the exchanges that judge them (the probe, the login, the
// logout, a "set" command and the restart) over a line that answers each read with the next
// reply, and checks every verdict against the replies it rests on. The input holds the replies
// one after the other, each ended by a 0x1E byte.

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/ftdi.h"
#include "platform/time.h"
#include "platform/ui/seams.h"
#include "usb/console.h"
#include "usb/link.h"

namespace {

using platform::FtdiHandle;
using platform::FtdiStatus;

constexpr char kReplyEnd = '\x1e';
constexpr int kTries = 6;
constexpr FtdiHandle kOpenLink = 1;

void Require(bool condition) {
    if (!condition) std::abort();
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The converter's end of the line: each read gets the next reply, as much of it as the read asks
// for; once they run out, reads come back empty, as from a converter that says nothing more.
// Every write goes through.
class ReplyingLine final : public platform::FtdiDriver {
public:
    void Serve(const std::vector<std::string_view>& replies) {
        m_replies = replies;
        m_served.clear();
    }
    // What each read delivered, in order.
    const std::vector<std::string_view>& Served() const { return m_served; }

    FtdiStatus Read(FtdiHandle, std::span<char> buffer, std::uint32_t& got) override {
        std::string_view reply = m_served.size() < m_replies.size() ? m_replies[m_served.size()] : "";
        reply = reply.substr(0, buffer.size());
        std::memcpy(buffer.data(), reply.data(), reply.size());
        got = static_cast<std::uint32_t>(reply.size());
        m_served.push_back(reply);
        return FtdiStatus::kOk;
    }
    FtdiStatus Write(FtdiHandle, std::span<const char> bytes, std::uint32_t& written) override {
        written = static_cast<std::uint32_t>(bytes.size());
        return FtdiStatus::kOk;
    }
    FtdiStatus BuildDeviceList(std::uint32_t& count) override {
        count = 0;
        return FtdiStatus::kOk;
    }
    FtdiStatus ReadDeviceList(std::span<platform::FtdiDeviceNode>, std::uint32_t& count) override {
        count = 0;
        return FtdiStatus::kOk;
    }
    FtdiStatus Open(std::uint32_t, FtdiHandle&) override { return FtdiStatus::kDeviceNotFound; }
    FtdiStatus Close(FtdiHandle) override { return FtdiStatus::kOk; }
    FtdiStatus SetBaudRate(FtdiHandle, std::uint32_t) override { return FtdiStatus::kOk; }
    FtdiStatus SetDataCharacteristics(FtdiHandle, std::uint8_t, std::uint8_t, std::uint8_t) override {
        return FtdiStatus::kOk;
    }
    FtdiStatus Purge(FtdiHandle, std::uint32_t) override { return FtdiStatus::kOk; }
    FtdiStatus SetTimeouts(FtdiHandle, std::uint32_t, std::uint32_t) override { return FtdiStatus::kOk; }
    FtdiStatus GetComPortNumber(FtdiHandle, std::int32_t& port) override {
        port = 0;
        return FtdiStatus::kOk;
    }

private:
    std::vector<std::string_view> m_replies;
    std::vector<std::string_view> m_served;
};

// A reply as the console exchanges take it: up to its first NUL.
std::string_view Text(std::string_view reply) {
    return reply.substr(0, reply.find('\0'));
}

bool WelcomesTheUser(std::string_view userReply, std::string_view passwordReply) {
    return !Text(userReply).starts_with("#>") && passwordReply.size() >= 5 &&
           !Contains(Text(passwordReply), "Login incorrect");
}

struct Session {
    ReplyingLine line;
    QStringList messages;

    Session() {
        platform::SetTimeScale(1e-9);  // the pause before each login try
        platform::SetDefaultFtdiDriver(&line);
        platform::ui::SetMessageBoxHandler([this](const QString& text, const QString&) {
            messages << text;
            return platform::ui::kIdOk;
        });
    }

    // An open link with nothing gone wrong yet, and the converter about to give `replies`.
    void Start(const std::vector<std::string_view>& replies) {
        g_usbLink = UsbLinkState{};
        g_usbLink.handle = kOpenLink;
        line.Serve(replies);
        messages.clear();
    }
};

void CheckProbe(Session& session) {
    const ConsoleStand stand = ConsoleProbe();
    const std::vector<std::string_view>& served = session.line.Served();
    Require(!served.empty() && served.size() <= kTries);
    for (std::size_t i = 0; i + 1 < served.size(); ++i)
        Require(!Contains(Text(served[i]), "Login incorrect") && !Contains(Text(served[i]), "#>"));
    const std::string_view last = Text(served.back());
    switch (stand) {
        case ConsoleStand::kAtLoginPrompt:
            Require(Contains(last, "Login incorrect"));
            break;
        case ConsoleStand::kLoggedIn:
            Require(Contains(last, "#>") && !Contains(last, "Login incorrect"));
            break;
        case ConsoleStand::kFailed:
            Require(served.size() == kTries && !Contains(last, "Login incorrect") && !Contains(last, "#>"));
            Require(g_usbLink.errorState == kLinkFailed);
            break;
    }
}

void CheckLogin(Session& session) {
    const bool loggedIn = ConsoleLogin("root", "tq7");
    const std::vector<std::string_view>& served = session.line.Served();
    Require(served.size() % 2 == 0 && served.size() <= 2 * kTries);
    for (std::size_t i = 0; i + 2 < served.size(); i += 2)
        Require(!WelcomesTheUser(served[i], served[i + 1]));
    if (loggedIn) {
        Require(WelcomesTheUser(served[served.size() - 2], served.back()));
        Require(g_usbLink.errorState == kNoError && UsbIsOpen());
        Require(session.messages == QStringList{"Connected"});
    } else {
        Require(served.size() == 2 * kTries && !WelcomesTheUser(served[served.size() - 2], served.back()));
        Require(g_usbLink.errorState == kLinkFailed && !UsbIsOpen());
        Require(session.messages == QStringList{"Wrong login or password"});
    }
}

void CheckLogout(Session& session) {
    const LogoutResult result = ConsoleLogout(LogoutCaller::kDisconnect);
    const std::vector<std::string_view>& served = session.line.Served();
    Require(!served.empty() && served.size() <= kTries);
    for (std::size_t i = 0; i + 1 < served.size(); ++i) Require(Text(served[i]).starts_with("login"));
    Require(result != LogoutResult::kFailed);  // the line never fails here
    if (result == LogoutResult::kLoggedOut) {
        Require(!Text(served.back()).starts_with("login") && !UsbIsOpen());
    } else {
        Require(served.size() == kTries && Text(served.back()).starts_with("login") && UsbIsOpen());
    }
    Require(session.messages.isEmpty());
}

void CheckSet(Session& session) {
    const std::int32_t state = ConsoleSendSet("set network ip=10.0.0.7\n");
    const std::vector<std::string_view>& served = session.line.Served();
    Require(served.size() == 1 && state == g_usbLink.errorState);
    // The echo's twenty bytes are not looked at, nor anything after the next 170.
    const std::string_view examined = served[0].size() > 20 ? Text(served[0].substr(20, 170)) : "";
    const std::size_t error = examined.find("error");
    if (error == std::string_view::npos) {
        Require(state == kNoError && session.messages.isEmpty());
        return;
    }
    Require(state == kSetRefused && session.messages.size() == 1);
    const QByteArray shown = session.messages[0].toLatin1();
    const std::string_view message(shown.constData(), static_cast<std::size_t>(shown.size()));
    Require(message.starts_with("error") && examined.substr(error).starts_with(message));
}

void CheckRestart(Session& session) {
    const std::int32_t state = ConsoleRestart();
    const std::vector<std::string_view>& served = session.line.Served();
    Require(served.size() == 1 && state == g_usbLink.errorState);
    Require((state == kLinkFailed) == Contains(Text(served[0]).substr(0, 170), "Error"));
    Require(session.messages.isEmpty());  // the window reports it
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Session session;
    // An exact-size copy: a read past a reply is a read past the allocation.
    const std::vector<char> bytes(data, data + size);
    std::vector<std::string_view> replies;
    const std::string_view all(bytes.data(), bytes.size());
    for (std::size_t start = 0; start < all.size();) {
        const std::size_t end = std::min(all.find(kReplyEnd, start), all.size());
        replies.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    for (void (*check)(Session&) : {CheckProbe, CheckLogin, CheckLogout, CheckSet, CheckRestart}) {
        session.Start(replies);
        check(session);
    }
    return 0;
}
