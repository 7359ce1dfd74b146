#include "tests/support/network_namespace.h"

#include "engine/addp.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace testsupport {
namespace {

namespace fs = std::filesystem;

std::atomic<int> g_counter{0};

int ExitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// Runs a program and waits for it, its output thrown away; true when it exited with 0.
bool RunQuietly(const std::vector<std::string>& argv) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return ExitCodeOf(status) == 0;
}

void Ip(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"ip"};
    argv.insert(argv.end(), args.begin(), args.end());
    if (!RunQuietly(argv)) {
        std::string command;
        for (const std::string& arg : argv) command += arg + " ";
        throw std::runtime_error("failed: " + command);
    }
}

// A link just set up drops what is sent through it until the kernel has got round to activating
// it, which on a busy machine takes a while: wait until it reports itself up.
void WaitUntilUp(const std::string& space, const std::string& link) {
    const std::string command = "ip -n " + space + " -o link show dev " + link + " 2>/dev/null";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        std::string shown;
        if (FILE* out = popen(command.c_str(), "r")) {
            char buffer[512];
            while (std::fgets(buffer, sizeof buffer, out) != nullptr) shown += buffer;
            pclose(out);
        }
        if (shown.find(" state UP ") != std::string::npos) return;
        if (std::chrono::steady_clock::now() > deadline) throw std::runtime_error("link " + link + " never came up");
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

fs::path EtcDir(const std::string& name) { return fs::path("/etc/netns") / name; }

// Namespaces left behind by a test process that was killed before its destructors ran.
void RemoveStaleNamespaces() {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/var/run/netns", error)) {
        const std::string name = entry.path().filename();
        if (name.rfind("tq7t-", 0) != 0) continue;
        const pid_t owner = static_cast<pid_t>(std::atoi(name.c_str() + 5));
        if (owner > 0 && kill(owner, 0) == 0) continue;
        RunQuietly({"ip", "netns", "del", name});
        fs::remove_all(EtcDir(name), error);
    }
}

// Child side: enter the namespace with its own host name and its own view of /etc/hosts.
void EnterNamespace(const std::string& name) {
    const int fd = open(("/var/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || setns(fd, CLONE_NEWNET) != 0) _exit(125);
    close(fd);
    if (unshare(CLONE_NEWNS | CLONE_NEWUTS) != 0) _exit(125);
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) _exit(125);
    for (const char* file : {"hosts", "resolv.conf"}) {
        const fs::path source = EtcDir(name) / file;
        const std::string target = std::string("/etc/") + file;
        if (mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0) _exit(125);
    }
    if (sethostname(kTestHostName.data(), kTestHostName.size()) != 0) _exit(125);
}

std::vector<char*> ArgvOf(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    return args;
}

}  // namespace

bool NamespacesAvailable(std::string& why) {
    static const std::string reason = [] {
        if (geteuid() != 0) return std::string("network namespaces need root");
        RemoveStaleNamespaces();
        const std::string probe = "tq7t-" + std::to_string(getpid()) + "-probe";
        if (!RunQuietly({"ip", "netns", "add", probe})) return std::string("`ip netns add` is not possible here");
        const bool veth = RunQuietly({"ip", "-n", probe, "link", "add", "p0", "type", "veth", "peer", "name", "p1"});
        RunQuietly({"ip", "netns", "del", probe});
        return veth ? std::string() : std::string("veth interfaces are not possible here");
    }();
    why = reason;
    return reason.empty();
}

bool OnlyLoopbackReachable(std::string& why) {
    AddpInterface interfaces[kAddpMaxInterfaces];
    const int count = AddpGetLocalInterfaces(interfaces, kAddpMaxInterfaces);
    for (int i = 0; i < count; ++i) {
        if ((ntohl(interfaces[i].address) >> 24) == 127) continue;
        char address[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &interfaces[i].address, address, sizeof address);
        why = std::string("the engine would send through ") + address + " (" + interfaces[i].name +
              "), beyond loopback";
        return false;
    }
    return true;
}

BackgroundProcess::BackgroundProcess(BackgroundProcess&& other) noexcept
    : m_pid(other.m_pid), m_out(other.m_out), m_seen(std::move(other.m_seen)) {
    other.m_pid = -1;
    other.m_out = -1;
}

BackgroundProcess::~BackgroundProcess() { Stop(); }

bool BackgroundProcess::WaitForLine(std::string_view line, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::size_t searched = 0;
    for (;;) {
        for (std::size_t end; (end = m_seen.find('\n', searched)) != std::string::npos; searched = end + 1)
            if (std::string_view(m_seen).substr(searched, end - searched) == line) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || m_out < 0) return false;
        pollfd fd{m_out, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) return false;
        char buffer[512];
        const ssize_t got = read(m_out, buffer, sizeof buffer);
        if (got <= 0) return false;
        m_seen.append(buffer, static_cast<std::size_t>(got));
    }
}

int BackgroundProcess::Stop() {
    if (m_pid <= 0) return -1;
    kill(m_pid, SIGTERM);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    if (m_out >= 0) close(m_out);
    m_out = -1;
    return ExitCodeOf(status);
}

NetworkNamespace::NetworkNamespace()
    : m_name("tq7t-" + std::to_string(getpid()) + "-" + std::to_string(g_counter++)) {
    Ip({"netns", "add", m_name});
    SetLink("lo", {"up"});
    fs::create_directories(EtcDir(m_name));
    std::ofstream(EtcDir(m_name) / "resolv.conf");
    SetHostAddresses({"127.0.1.1"});
}

NetworkNamespace::~NetworkNamespace() {
    RunQuietly({"ip", "netns", "del", m_name});
    std::error_code error;
    fs::remove_all(EtcDir(m_name), error);
}

std::string NetworkNamespace::NextInterfaceName() { return "tq7v" + std::to_string(g_counter++); }

std::string NetworkNamespace::AddInterface(std::string_view cidr) {
    const std::string end = NextInterfaceName();
    const std::string peer = end + "p";
    Ip({"-n", m_name, "link", "add", end, "type", "veth", "peer", "name", peer});
    Ip({"-n", m_name, "addr", "add", std::string(cidr), "dev", end});
    Ip({"-n", m_name, "link", "set", end, "up"});
    Ip({"-n", m_name, "link", "set", peer, "up"});
    WaitUntilUp(m_name, end);
    WaitUntilUp(m_name, peer);
    return end;
}

std::string NetworkNamespace::ConnectTo(NetworkNamespace& other, std::string_view cidrHere,
                                        std::string_view cidrThere) {
    const std::string here = NextInterfaceName();
    const std::string there = NextInterfaceName();
    Ip({"link", "add", here, "netns", m_name, "type", "veth", "peer", "name", there, "netns", other.m_name});
    Ip({"-n", m_name, "addr", "add", std::string(cidrHere), "dev", here});
    Ip({"-n", other.m_name, "addr", "add", std::string(cidrThere), "dev", there});
    Ip({"-n", m_name, "link", "set", here, "up"});
    Ip({"-n", other.m_name, "link", "set", there, "up"});
    WaitUntilUp(m_name, here);
    WaitUntilUp(other.m_name, there);
    return here;
}

void NetworkNamespace::SetLink(std::string_view link, std::initializer_list<std::string_view> settings) {
    std::vector<std::string> args{"-n", m_name, "link", "set", std::string(link)};
    args.insert(args.end(), settings.begin(), settings.end());
    Ip(args);
}

NetworkNamespace::Entered::Entered(const std::string& name)
    : m_home(open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC)) {
    const int fd = open(("/var/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
    const bool entered = m_home >= 0 && fd >= 0 && setns(fd, CLONE_NEWNET) == 0;
    if (fd >= 0) close(fd);
    if (!entered) {
        if (m_home >= 0) close(m_home);
        throw std::runtime_error("cannot enter network namespace " + name);
    }
}

NetworkNamespace::Entered::~Entered() {
    setns(m_home, CLONE_NEWNET);
    close(m_home);
}

void NetworkNamespace::WriteHostsFile(const std::string& content) {
    std::ofstream(EtcDir(m_name) / "hosts") << "127.0.0.1 localhost\n" << content;
}

void NetworkNamespace::SetHostAddresses(const std::vector<std::string>& addresses) {
    std::string content;
    for (const std::string& address : addresses) content += address + " " + std::string(kTestHostName) + "\n";
    WriteHostsFile(content);
}

void NetworkNamespace::SetHostAddressIpv6Only() { WriteHostsFile("fd00::1 " + std::string(kTestHostName) + "\n"); }

int NetworkNamespace::RunInside(const std::function<int()>& fn) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        EnterNamespace(m_name);
        const int result = fn();
        std::fflush(nullptr);
        _exit(result);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return ExitCodeOf(status);
}

bool NetworkNamespace::RunTestInside(const std::function<void()>& fn) {
    return RunInside([&] {
               fn();
               return ::testing::Test::HasFailure() ? 1 : 0;
           }) == 0;
}

CommandResult NetworkNamespace::Exec(const std::vector<std::string>& argv, const std::string& input,
                                     std::chrono::seconds timeout) {
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        EnterNamespace(m_name);
        auto args = ArgvOf(argv);
        execv(args[0], args.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    if (!input.empty() && write(in[1], input.data(), input.size()) < 0) {
        // A program that does not read its input is no failure of ours.
    }
    close(in[1]);

    CommandResult result;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(pid, SIGKILL);
            break;
        }
        if (poll(fds, 2, static_cast<int>(left.count())) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buffer[4096];
            const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(got));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (const pollfd& fd : fds)
        if (fd.fd >= 0) close(fd.fd);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = ExitCodeOf(status);
    return result;
}

BackgroundProcess NetworkNamespace::Spawn(const std::vector<std::string>& argv) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        EnterNamespace(m_name);
        auto args = ArgvOf(argv);
        execv(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    return BackgroundProcess(pid, out[0]);
}

}  // namespace testsupport
