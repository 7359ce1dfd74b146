#include "sim/lan_simulator.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "sim/behaviour.h"
#include "sim/faults.h"
#include "sim/requests.h"

namespace sim {
namespace {

constexpr const char* kGroup = "224.0.5.128";
constexpr std::size_t kLargestDatagram = 65536;

std::string Reason(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

bool Join(int socket, std::uint32_t group, std::uint32_t interface) {
    ip_mreq membership{};
    membership.imr_multiaddr.s_addr = group;
    membership.imr_interface.s_addr = interface;
    return setsockopt(socket, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof membership) == 0;
}

timespec Until(platform::Clock::time_point due) {
    const auto left = std::max(due - platform::Clock::now(), platform::Clock::duration::zero());
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    return {static_cast<time_t>(nanoseconds / 1'000'000'000), static_cast<long>(nanoseconds % 1'000'000'000)};
}

}  // namespace

struct LanSimulator::Outgoing {
    platform::Clock::time_point due;
    std::vector<std::uint8_t> bytes;
    sockaddr_in destination;
};

LanSimulator::LanSimulator(LanSimulatorOptions options) : m_options(std::move(options)) {}

LanSimulator::~LanSimulator() {
    Stop();
}

std::size_t LanSimulator::AddModule(const ModuleDescription& module, const Faults& faults) {
    std::lock_guard guard(m_lock);
    m_modules.push_back({module, faults, {}});
    return m_modules.size() - 1;
}

std::size_t LanSimulator::ModuleCount() const {
    std::lock_guard guard(m_lock);
    return m_modules.size();
}

bool LanSimulator::Start(std::string* error) {
    std::string reason;
    if (Running()) {
        reason = "the simulator already runs";
    } else if (OpenSocket(reason)) {
        m_stopping = false;
        try {
            m_worker = std::thread(&LanSimulator::Work, this);
            return true;
        } catch (const std::system_error& failure) {
            reason = std::string("cannot start the worker: ") + failure.what();
            CloseSockets();
        }
    }
    if (error != nullptr) *error = reason;
    return false;
}

bool LanSimulator::OpenSocket(std::string& error) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_UDP);
    if (fd < 0) {
        error = Reason("cannot create a UDP socket");
        return false;
    }
    const int on = 1;
    // Only datagrams for groups this socket joined, on the interfaces it joined them on: another
    // simulator's group memberships must not leak requests into this one.
    const int off = 0;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(m_options.port);
    if (setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        setsockopt(fd, IPPROTO_IP, IP_MULTICAST_ALL, &off, sizeof off) != 0) {
        error = Reason("cannot set the socket options");
        close(fd);
        return false;
    }
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        error = Reason(("cannot bind port " + std::to_string(m_options.port)).c_str());
        close(fd);
        return false;
    }
    sockaddr_in bound{};
    socklen_t boundLength = sizeof bound;
    getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &boundLength);

    const std::uint32_t group = *ParseIpv4(kGroup);
    // Unless told otherwise the modules stay on this computer: nobody on the LAN sees them.
    const std::vector<std::uint32_t> joined =
        m_options.interfaces.empty() ? std::vector<std::uint32_t>{htonl(INADDR_LOOPBACK)} : m_options.interfaces;
    for (const std::uint32_t interface : joined) {
        if (!Join(fd, group, interface)) {
            error = Reason(("cannot join the group on " + Ipv4Text(interface)).c_str());
            close(fd);
            return false;
        }
    }
    if (pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = Reason("cannot create the wake-up pipe");
        close(fd);
        return false;
    }

    std::lock_guard guard(m_lock);
    m_socket = fd;
    m_port = ntohs(bound.sin_port);
    m_joined = joined;
    return true;
}

void LanSimulator::CloseSockets() {
    std::lock_guard guard(m_lock);
    const auto release = [](int& fd) {
        if (fd >= 0) close(fd);
        fd = -1;
    };
    release(m_socket);
    release(m_wake[0]);
    release(m_wake[1]);
    m_joined.clear();
}

void LanSimulator::Stop() {
    if (!m_worker.joinable()) return;
    m_stopping = true;
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = write(m_wake[1], &wake, 1);
    m_worker.join();
    CloseSockets();
}

bool LanSimulator::Running() const {
    std::lock_guard guard(m_lock);
    return m_socket >= 0;
}

std::uint16_t LanSimulator::Port() const {
    std::lock_guard guard(m_lock);
    return m_port;
}

std::vector<std::uint32_t> LanSimulator::JoinedInterfaces() const {
    std::lock_guard guard(m_lock);
    return m_joined;
}

ModuleDescription LanSimulator::Description(std::size_t module) const {
    std::lock_guard guard(m_lock);
    return m_modules.at(module).description;
}

void LanSimulator::SetDescription(std::size_t module, const ModuleDescription& description) {
    std::lock_guard guard(m_lock);
    m_modules.at(module).description = description;
}

void LanSimulator::SetFaults(std::size_t module, const Faults& faults) {
    std::lock_guard guard(m_lock);
    m_modules.at(module).faults = faults;
}

void LanSimulator::EndRebootSilence(std::size_t module) {
    std::lock_guard guard(m_lock);
    m_modules.at(module).quietUntil = {};
}

std::vector<ReceivedDatagram> LanSimulator::Received() const {
    std::lock_guard guard(m_lock);
    return m_log;
}

void LanSimulator::ClearReceived() {
    std::lock_guard guard(m_lock);
    m_log.clear();
}

bool LanSimulator::WaitForReceived(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock guard(m_lock);
    return m_datagramArrived.wait_for(guard, timeout, [&] { return m_log.size() >= count; });
}

bool LanSimulator::SendRaw(std::span<const std::uint8_t> bytes, std::uint32_t address, std::uint16_t port) {
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_addr.s_addr = address;
    destination.sin_port = htons(port);
    std::lock_guard guard(m_lock);
    if (m_socket < 0) return false;
    const ssize_t sent = sendto(m_socket, bytes.data(), bytes.size(), 0,
                                reinterpret_cast<const sockaddr*>(&destination), sizeof destination);
    return sent == static_cast<ssize_t>(bytes.size());
}

void LanSimulator::Work() {
    std::vector<Outgoing> pending;  // in the order they are due
    std::vector<std::uint8_t> buffer(kLargestDatagram);
    while (!m_stopping) {
        pollfd fds[] = {{m_socket, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        timespec wait{};
        if (!pending.empty()) wait = Until(pending.front().due);
        if (ppoll(fds, 2, pending.empty() ? nullptr : &wait, nullptr) < 0 && errno != EINTR) break;
        if (m_stopping) break;

        if (fds[0].revents & POLLIN) {
            for (;;) {
                sockaddr_in source{};
                socklen_t sourceLength = sizeof source;
                const ssize_t length = recvfrom(m_socket, buffer.data(), buffer.size(), 0,
                                                reinterpret_cast<sockaddr*>(&source), &sourceLength);
                if (length < 0) break;
                ReceivedDatagram datagram{{buffer.begin(), buffer.begin() + length},
                                          source.sin_addr.s_addr,
                                          ntohs(source.sin_port),
                                          platform::Clock::now()};
                Answer(datagram, pending);
                {
                    std::lock_guard guard(m_lock);
                    m_log.push_back(std::move(datagram));
                }
                m_datagramArrived.notify_all();
            }
        }

        const auto now = platform::Clock::now();
        while (!pending.empty() && pending.front().due <= now) {
            const Outgoing& out = pending.front();
            sendto(m_socket, out.bytes.data(), out.bytes.size(), 0,
                   reinterpret_cast<const sockaddr*>(&out.destination), sizeof out.destination);
            pending.erase(pending.begin());
        }
    }
}

void LanSimulator::Answer(const ReceivedDatagram& datagram, std::vector<Outgoing>& pending) {
    const std::optional<Request> request = ParseRequest(m_options.magic, datagram.bytes);
    if (!request) return;
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_addr.s_addr = datagram.sourceAddress;
    destination.sin_port = htons(datagram.sourcePort);

    std::lock_guard guard(m_lock);
    for (ModuleState& module : m_modules) {
        if (!Hears(module.faults, datagram.sourceAddress) || datagram.arrival < module.quietUntil) continue;
        std::optional<sim::Answer> answer = AnswerRequest(module.description, *request);
        if (!answer) continue;
        const auto due = datagram.arrival + platform::Scaled(module.faults.delay);
        for (auto& bytes : ApplyFaults(module.faults, m_options.magic, std::move(answer->reply))) {
            // Later answers due at the same moment go after the earlier ones.
            const auto at =
                std::upper_bound(pending.begin(), pending.end(), due,
                                 [](const auto& time, const Outgoing& out) { return time < out.due; });
            pending.insert(at, Outgoing{due, std::move(bytes), destination});
        }
        if (answer->rebooting) module.quietUntil = due + platform::Scaled(m_options.rebootSilence);
    }
}

}  // namespace sim
