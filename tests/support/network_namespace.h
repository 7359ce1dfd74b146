#pragma once
// Test hosts of our own: network namespaces joined by veth pairs, so that tests exercise real
// interfaces, real multicast and real host-name resolution without a datagram leaving the machine.
// Everything made here is torn down by the destructors, also when a test fails.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// The host name every process started inside a namespace sees. Its /etc/hosts maps it to
// 127.0.1.1, as Debian and Ubuntu set up a desktop, unless a test says otherwise.
inline constexpr std::string_view kTestHostName = "tq7-test-host";

// Whether this process can make namespaces; when not, `why` says so (for GTEST_SKIP).
bool NamespacesAvailable(std::string& why);

// Whether every interface the engine would send through is loopback, so that real sockets here
// cannot reach another machine; when not, `why` says so.
bool OnlyLoopbackReachable(std::string& why);

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
    // While it lives, the thread that made it, and the threads that thread starts, use the
    // namespace's network; sockets made meanwhile stay in it. The rest of the process does not move.
    class Entered {
    public:
        explicit Entered(const std::string& name);
        ~Entered();
        Entered(const Entered&) = delete;
        Entered& operator=(const Entered&) = delete;

    private:
        int m_home;
    };

    NetworkNamespace();
    ~NetworkNamespace();
    NetworkNamespace(const NetworkNamespace&) = delete;
    NetworkNamespace& operator=(const NetworkNamespace&) = delete;

    const std::string& Name() const { return m_name; }

    // A veth pair inside this namespace with `cidr` (e.g. "10.77.1.1/24") on one end; returns
    // that end's name.
    std::string AddInterface(std::string_view cidr);
    // A veth pair from this namespace to the other, with an address on each end; returns the name
    // of the end in this namespace.
    std::string ConnectTo(NetworkNamespace& other, std::string_view cidrHere, std::string_view cidrThere);
    // `ip link set` on one of this namespace's links, e.g. SetLink("lo", {"down"}).
    void SetLink(std::string_view link, std::initializer_list<std::string_view> settings);
    // What kTestHostName resolves to inside; no address means it does not resolve.
    void SetHostAddresses(const std::vector<std::string>& addresses);
    // Maps kTestHostName to an IPv6 address only.
    void SetHostAddressIpv6Only();

    // Runs fn in a child process inside the namespace and returns what it returned (128 + signal
    // when the child died). The caller's process stays where it is.
    int RunInside(const std::function<int()>& fn);
    // Runs fn inside and returns whether no GoogleTest assertion failed in it.
    bool RunTestInside(const std::function<void()>& fn);

    [[nodiscard]] Entered Enter() const { return Entered(m_name); }

    CommandResult Exec(const std::vector<std::string>& argv, const std::string& input = {},
                       std::chrono::seconds timeout = std::chrono::seconds(60));
    BackgroundProcess Spawn(const std::vector<std::string>& argv);

private:
    void WriteHostsFile(const std::string& content);
    std::string NextInterfaceName();

    std::string m_name;
};

}  // namespace testsupport
