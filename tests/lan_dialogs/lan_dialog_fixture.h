#pragma once
// What the LAN dialog tests share: a simulated converter on this host's loopback, the record the
// main window would hand to a dialog, and the message boxes a dialog showed.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstring>
#include <memory>
#include <string>

#include "engine/addp.h"
#include "platform/time.h"
#include "platform/ui/dialog.h"
#include "platform/ui/seams.h"
#include "sim/lan_simulator.h"
#include "sim/requests.h"
#include "tests/support/network_namespace.h"

namespace landialogs {

inline std::uint32_t Ip(const char* text) { return *sim::ParseIpv4(text); }

inline sim::ModuleDescription Converter() {
    sim::ModuleDescription module;
    module.mac = {0x0a, 0x1b, 0x2c, 0x3d, 0x4e, 0x5f};
    module.ipAddress = Ip("10.77.1.50");
    module.subnetMask = Ip("255.255.255.0");
    module.gateway = Ip("10.77.1.254");
    module.dnsAddress = Ip("10.77.1.253");
    module.name = "bench-1";
    module.modelName = "Digi Connect ME";
    module.firmware = "82000856_F";
    module.realPortPort = 771;
    module.password = "dbps";
    return module;
}

// The row's record as discovery would have filled it for this module.
inline AddpDevice RecordOf(const sim::ModuleDescription& module) {
    AddpDevice device{};
    std::memcpy(device.mac, module.mac.data(), sizeof device.mac);
    device.present = AddpPresentMac | AddpPresentIpAddress | AddpPresentSubnetMask | AddpPresentGateway |
                     AddpPresentDhcpEnabled | AddpPresentModelName;
    device.ipAddress = module.ipAddress;
    device.subnetMask = module.subnetMask;
    device.gateway = module.gateway;
    device.dhcpEnabled = module.dhcpEnabled ? 1 : 0;
    std::strncpy(device.name, module.name.c_str(), sizeof device.name - 1);
    std::strncpy(device.modelName, module.modelName.value_or("").c_str(), sizeof device.modelName - 1);
    return device;
}

template <typename Widget>
Widget* Item(const platform::ui::CDialog& dialog, int id) {
    auto* widget = qobject_cast<Widget*>(dialog.GetDlgItem(id));
    EXPECT_NE(widget, nullptr) << "no control " << id << " of that kind";
    return widget;
}

// Records every message box instead of showing it.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::ui::SetMessageBoxHandler([this](const QString& text, const QString& caption) {
            boxes << text;
            captions << caption;
            return platform::ui::kIdOk;
        });
    }
    void TearDown() override {
        platform::ui::ResetSeams();
        platform::SetTimeScale(1.0);
    }

    QStringList boxes;
    QStringList captions;
};

// The real engine against a simulated converter, on a host whose only network is loopback.
// Program time runs `scale` times real time, so a request deadline of 7.5 s lasts 75 ms at 0.01.
class LanDialogTest : public DialogTest {
protected:
    void SetUp() override {
        std::string why;
        if (!testsupport::OnlyLoopbackReachable(why)) GTEST_SKIP() << why;
        DialogTest::SetUp();
        platform::SetTimeScale(0.01);
    }

    // For a test whose converter answers: the real deadline, so that on a busy machine its
    // answer cannot come too late; the short one is for waiting out silence.
    static void WithRealDeadline() { platform::SetTimeScale(1.0); }

    // Starts the simulator with one module; its index is 0.
    void StartConverter(const sim::ModuleDescription& module, const sim::Faults& faults = {},
                        std::chrono::nanoseconds rebootSilence = std::chrono::seconds(10)) {
        simulator = std::make_unique<sim::LanSimulator>(
            sim::LanSimulatorOptions{.interfaces = {Ip("127.0.0.1")}, .rebootSilence = rebootSilence});
        simulator->AddModule(module, faults);
        std::string error;
        ASSERT_TRUE(simulator->Start(&error)) << error;
    }

    // The requests the converter received, decoded; a datagram that is none fails the test.
    std::vector<sim::Request> Requests() const {
        std::vector<sim::Request> requests;
        for (const auto& datagram : simulator->Received()) {
            const auto request = sim::ParseRequest(kAddpMagicDigi, datagram.bytes);
            EXPECT_TRUE(request.has_value()) << "a datagram that is no request";
            if (request) requests.push_back(*request);
        }
        return requests;
    }

    std::unique_ptr<sim::LanSimulator> simulator;
};

}  // namespace landialogs
