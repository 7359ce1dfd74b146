// The simulator as a program: its command line, its "ready" line and its end on SIGTERM.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/ftdi_linux.h"
#include "sim/module.h"
#include "tests/sim/loopback.h"
#include "tests/support/network_namespace.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

class Program {
public:
    explicit Program(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), TQ7SIM_PATH);
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);

        int out[2];
        int err[2];
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        const int spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(err[1]);
        m_out = out[0];
        m_err = err[0];
        if (spawned != 0) throw std::runtime_error("cannot start tq7sim");
    }

    ~Program() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        close(m_out);
        close(m_err);
    }

    // The next line of standard output, or nothing when none comes within the timeout.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (const std::size_t end = m_pending.find('\n'); end != std::string::npos) {
                std::string line = m_pending.substr(0, end);
                m_pending.erase(0, end + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd fd{m_out, POLLIN, 0};
            if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
            char buffer[512];
            const ssize_t length = read(m_out, buffer, sizeof buffer);
            if (length <= 0) return std::nullopt;
            m_pending.append(buffer, static_cast<std::size_t>(length));
        }
    }

    std::string ReadAllErrors() {
        std::string text;
        char buffer[512];
        ssize_t length;
        while ((length = read(m_err, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<std::size_t>(length));
        return text;
    }

    void Signal(int signal) { kill(m_pid, signal); }

    // The exit status, or -1 when it did not end normally.
    int Wait() {
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    std::string m_pending;
};

TEST(Tq7simCommandLine, RefusesBadArgumentsWithUsageError) {
    const std::string module = "mac=02:00:00:00:02:0a,ip=10.0.0.5";
    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{}, "at least one --module"},
        {{"--module", "ip=10.0.0.5"}, "needs a mac"},
        {{"--module", module, "--colour"}, "unknown option \"--colour\""},
        {{"--module"}, "--module needs a value"},
        {{"--module", module, "--bind", "localhost"}, "--bind"},
        {{"--module", module, "--port", "70000"}, "--port"},
        {{"--module", module, "--reboot-silence", "-1"}, "--reboot-silence"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Program program(c.arguments);
        EXPECT_EQ(program.Wait(), 2);
        const std::string errors = program.ReadAllErrors();
        EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
    }
}

TEST(Tq7simCommandLine, HelpListsOptionsAndModuleKeys) {
    Program program({"--help"});
    std::string text;
    while (auto line = program.ReadLine(2000ms)) text += *line + "\n";
    EXPECT_EQ(program.Wait(), 0);
    for (const char* expected :
         {"--module", "--usb", "TQ7_SYSFS_ROOT", "--bind", "--reboot-silence", "mac=", "copies=N", "only-from="})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
}

TEST(Tq7simProgram, ServesItsModulesUntilTerminated) {
    if (std::string problem; !testsupport::OnlyLoopbackReachable(problem)) GTEST_SKIP() << problem;
    Program program({"--bind", "127.0.0.1", "--port", "0", "--module",
                     "mac=02:00:00:00:02:0a,ip=10.0.0.5,name=Left\\, desk", "--module",
                     "mac=02:00:00:00:02:0b,ip=10.0.0.6,name=Right,copies=2"});
    std::vector<std::string> lines;
    while (auto line = program.ReadLine(5000ms)) {
        lines.push_back(*line);
        if (*line == "ready") break;
    }
    ASSERT_FALSE(lines.empty());
    ASSERT_EQ(lines.back(), "ready") << program.ReadAllErrors();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("module 02:00:00:00:02:0a ip 10.0.0.5", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("module 02:00:00:00:02:0b ip 10.0.0.6", 0), 0u) << lines[1];
    unsigned port = 0;
    ASSERT_EQ(std::sscanf(lines[2].c_str(), "listening on port %u", &port), 1) << lines[2];

    simtest::LoopbackClient client;
    client.SendToGroup(AddpBuildDiscoveryRequest(kAddpMagicDigi, kAddpEveryModule),
                       static_cast<std::uint16_t>(port));
    std::multiset<std::string> names;
    for (const auto& reply : client.ReceiveUntilQuiet(500ms)) {
        const auto record = simtest::Decode(AddpDiscoveryReply, reply.bytes);
        ASSERT_TRUE(record);
        names.insert(record->device.name);
    }
    EXPECT_EQ(names, (std::multiset<std::string>{"Left, desk", "Right", "Right"}));

    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(), 0);
}

// The program reaches the simulated converter through the roots tq7sim prints: the driver lists
// it as a converter, and its console takes the login tq7sim names. The LAN side may run beside it.
TEST(Tq7simProgram, PresentsAConverterConsoleOnUsbUntilTerminated) {
    const std::vector<std::string> commandLines[] = {
        {"--usb"},
        {"--bind", "127.0.0.1", "--port", "0", "--module", "mac=02:00:00:00:02:0a,ip=10.0.0.5", "--usb"},
    };
    for (const std::vector<std::string>& arguments : commandLines) {
        SCOPED_TRACE(arguments.size());
        Program program(arguments);
        std::map<std::string, std::string> roots;
        std::vector<std::string> others;
        while (auto line = program.ReadLine(5000ms)) {
            if (*line == "ready") break;
            const std::size_t equals = line->find('=');
            if (line->rfind("TQ7_", 0) == 0 && equals != std::string::npos)
                roots[line->substr(0, equals)] = line->substr(equals + 1);
            else
                others.push_back(*line);
        }
        ASSERT_EQ(roots.size(), 2u) << program.ReadAllErrors();
        ASSERT_FALSE(others.empty());
        EXPECT_EQ(others.back(), "usb device \"TQ7 Converter\" on ttyUSB0, console user \"root\" password \"tq7\"");
        EXPECT_EQ(others.size(), arguments.size() == 1 ? 1u : 3u);  // a module line and a listening line

        platform::SysfsFtdiDriver driver({roots["TQ7_SYSFS_ROOT"], roots["TQ7_DEV_ROOT"]});
        std::uint32_t count = 0;
        ASSERT_EQ(driver.BuildDeviceList(count), platform::FtdiStatus::kOk);
        ASSERT_EQ(count, 1u);
        std::array<platform::FtdiDeviceNode, 1> nodes;
        ASSERT_EQ(driver.ReadDeviceList(nodes, count), platform::FtdiStatus::kOk);
        EXPECT_EQ(nodes[0].deviceId, 0x04036009u);
        EXPECT_STREQ(nodes[0].description.data(), "TQ7 Converter");

        platform::FtdiHandle handle = platform::kNoFtdiHandle;
        ASSERT_EQ(driver.Open(0, handle), platform::FtdiStatus::kOk);
        ASSERT_EQ(driver.SetTimeouts(handle, 500, 500), platform::FtdiStatus::kOk);
        const auto exchange = [&](std::string_view line) {
            std::uint32_t moved = 0;
            EXPECT_EQ(driver.Write(handle, line, moved), platform::FtdiStatus::kOk);
            std::array<char, 256> reply{};
            EXPECT_EQ(driver.Read(handle, reply, moved), platform::FtdiStatus::kOk);
            return std::string(reply.data(), moved);
        };
        EXPECT_NE(exchange(std::string_view("\0\r", 2)).find("Login incorrect"), std::string::npos);
        exchange(std::string_view("root\0\r", 6));
        EXPECT_NE(exchange("tq7\r").find("#>"), std::string::npos);
        driver.Close(handle);

        program.Signal(SIGINT);
        EXPECT_EQ(program.Wait(), 0);
        EXPECT_FALSE(std::filesystem::exists(roots["TQ7_SYSFS_ROOT"]));  // the tree goes with the program
    }
}

}  // namespace
