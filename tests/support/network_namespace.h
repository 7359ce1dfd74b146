#pragma once
// Test hosts of our own: network namespaces joined by veth pairs, so that tests exercise real
// interfaces, real multicast and real host-name resolution without a datagram leaving the machine.
// Everything made here is torn down by the destructors, also when a test fails.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// The host name every process started inside a namespace sees.
inline constexpr std::string_view kTestHostName = "tq7-test-host";

// Whether this process can make namespaces; when not, `why` says so (for GTEST_SKIP).
bool NamespacesAvailable(std::string& why);

// Whether every address the host's own name resolves to is on loopback, so that real sockets on
// the host cannot reach another machine; when not, `why` says so.
bool HostResolvesOnlyToLoopback(std::string& why);

struct CommandResult {
    int exitCode = -1;  // 128 + signal when it was killed
    std::string out;
    std::string err;
};

class BackgroundProcess {
public:
    BackgroundProcess(pid_t pid, int outFd) : m_pid(pid), m_out(outFd) {}
    BackgroundProcess(BackgroundProcess&& other) noexcept;
    BackgroundProcess& operator=(BackgroundProcess&&) = delete;
    ~BackgroundProcess();

    // Reads its standard output until a line equal to `line` arrived; false on time-out or end.
    bool WaitForLine(std::string_view line, std::chrono::milliseconds timeout);
    const std::string& Output() const { return m_seen; }
    // Ends it with SIGTERM and returns its exit code.
    int Stop();

private:
    pid_t m_pid;
    int m_out;
    std::string m_seen;
};

class NetworkNamespace {
public:
    NetworkNamespace();
    ~NetworkNamespace();
    NetworkNamespace(const NetworkNamespace&) = delete;
    NetworkNamespace& operator=(const NetworkNamespace&) = delete;

    const std::string& Name() const { return m_name; }

    // A veth pair inside this namespace with `cidr` (e.g. "10.77.1.1/24") on one end.
    void AddInterface(std::string_view cidr);
    // A veth pair from this namespace to the other, with an address on each end.
    void ConnectTo(NetworkNamespace& other, std::string_view cidrHere, std::string_view cidrThere);
    // What kTestHostName resolves to inside; no address means it does not resolve.
    void SetHostAddresses(const std::vector<std::string>& addresses);
    // Maps kTestHostName to an IPv6 address only.
    void SetHostAddressIpv6Only();

    // Runs fn in a child process inside the namespace and returns what it returned (128 + signal
    // when the child died). The caller's process stays where it is.
    int RunInside(const std::function<int()>& fn);
    // Runs fn inside and returns whether no GoogleTest assertion failed in it.
    bool RunTestInside(const std::function<void()>& fn);

    CommandResult Exec(const std::vector<std::string>& argv, const std::string& input = {},
                       std::chrono::seconds timeout = std::chrono::seconds(60));
    BackgroundProcess Spawn(const std::vector<std::string>& argv);

private:
    void WriteHostsFile(const std::string& content);
    std::string NextInterfaceName();

    std::string m_name;
    int m_interfaces = 0;
};

}  // namespace testsupport
