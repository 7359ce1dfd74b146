#include <gtest/gtest.h>

#include <string>

#include "engine/addp.h"
#include "engine/frames.h"
#include "engine/session.h"
#include "platform/message_queue.h"
#include "platform/sockets_library.h"

namespace {

std::string StatusText(AddpHandle handle, int capacity = 256) {
    std::string buffer(static_cast<std::size_t>(capacity), '#');
    if (AddpGetLastErrorText(handle, buffer.data(), capacity) != 0) return "<refused>";
    return buffer.c_str();
}

TEST(Session, OpenGivesALiveInstanceWithTheEngineStatus) {
    EXPECT_EQ(AddpOpen(0), nullptr);
    AddpHandle handle = AddpOpen(kAddpMagicDigi);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(AddpGetLastError(handle), 0);
    EXPECT_EQ(StatusText(handle), "Operation Successful");
    EXPECT_EQ(handle->multicastTtl, 64);
    EXPECT_EQ(handle->port, 2362);
    const auto* group = reinterpret_cast<const std::uint8_t*>(&handle->groupAddress);
    EXPECT_EQ(group[0], 224);
    EXPECT_EQ(group[3], 128);
    EXPECT_EQ(handle->requestDeadline, -75'000'000);
    EXPECT_EQ(handle->requestPollTimeout.tv_usec, 200000);
    EXPECT_EQ(handle->discoveryPollTimeout.tv_usec, 200000);
    AddpClose(handle);
}

TEST(Session, InstancesAreIndependentAndShareTheSocketsLibrary) {
    const int before = platform::SocketsStartCount();
    AddpHandle first = AddpOpen(kAddpMagicDigi);
    AddpHandle second = AddpOpen(kAddpMagicDigi);
    EXPECT_EQ(platform::SocketsStartCount(), before + 2);
    AddpClose(first);
    EXPECT_EQ(AddpGetLastError(first), -1);
    EXPECT_EQ(AddpGetLastError(second), 0);
    EXPECT_EQ(platform::SocketsStartCount(), before + 1);
    AddpClose(first);  // stale: nothing happens, the count stays
    EXPECT_EQ(platform::SocketsStartCount(), before + 1);
    AddpClose(second);
    EXPECT_EQ(platform::SocketsStartCount(), before);
}

TEST(Session, StaleAndMadeUpHandlesAreRefusedEverywhere) {
    AddpHandle stale = AddpOpen(kAddpMagicDigi);
    AddpClose(stale);
    alignas(AddpSession) unsigned char junk[sizeof(AddpSession)] = {};
    const AddpHandle madeUp = reinterpret_cast<AddpHandle>(junk);
    platform::MessageQueue window;
    const std::uint8_t mac[6] = {0, 1, 2, 3, 4, 5};
    AddpDevice device{};
    char text[16];
    for (AddpHandle handle : {stale, madeUp, static_cast<AddpHandle>(nullptr)}) {
        EXPECT_EQ(AddpGetLastError(handle), -1);
        EXPECT_EQ(AddpGetLastErrorText(handle, text, sizeof text), -1);
        EXPECT_EQ(AddpStartDiscovery(handle, window.Handle(), 0x8002, 0), -1);
        EXPECT_EQ(AddpGetDeviceCount(handle), -1);
        EXPECT_EQ(AddpGetDevices(handle, &device, 1), -1);
        EXPECT_EQ(AddpQueryDevice(handle, mac, &device), -1);
        EXPECT_EQ(AddpReboot(handle, mac, ""), -1);
        EXPECT_EQ(AddpSetNetwork(handle, mac, 0, 0, 0, ""), -1);
        EXPECT_EQ(AddpSetDhcp(handle, mac, 1, ""), -1);
        AddpStopDiscovery(handle);
        AddpClose(handle);
    }
}

TEST(Session, StatusTextIsCutToTheCallersBufferAndToItsOwnRoom) {
    AddpHandle handle = AddpOpen(kAddpMagicDigi);
    EXPECT_EQ(StatusText(handle, 1), "");
    EXPECT_EQ(StatusText(handle, 10), "Operation");
    char untouched[4] = "abc";
    EXPECT_EQ(AddpGetLastErrorText(handle, untouched, 0), -1);
    EXPECT_EQ(AddpGetLastErrorText(handle, untouched, -5), -1);
    EXPECT_EQ(AddpGetLastErrorText(handle, nullptr, 10), -1);
    EXPECT_STREQ(untouched, "abc");

    AddpSetStatus(*handle, 7, std::string(300, 'x').c_str());
    EXPECT_EQ(AddpGetLastError(handle), 7);
    EXPECT_EQ(StatusText(handle), std::string(255, 'x'));
    AddpSetStatus(*handle, 9, nullptr);  // no text: the status stays
    EXPECT_EQ(AddpGetLastError(handle), 7);
    AddpClose(handle);
}

TEST(Session, RefusedArgumentsLeaveTheStatusAlone) {
    AddpHandle handle = AddpOpen(kAddpMagicDigi);
    AddpSetStatus(*handle, 3, "earlier");
    platform::MessageQueue window;
    const std::uint8_t mac[6] = {0, 1, 2, 3, 4, 5};
    const std::string tooLong(256, 'p');
    AddpDevice device{};
    EXPECT_EQ(AddpStartDiscovery(handle, window.Handle(), 0, 0), -1);
    EXPECT_EQ(AddpStartDiscovery(handle, platform::kNoWindow, 0x8002, 0), -1);
    EXPECT_EQ(AddpGetDevices(handle, nullptr, 1), -1);
    EXPECT_EQ(AddpGetDevices(handle, &device, 0), -1);
    EXPECT_EQ(AddpQueryDevice(handle, nullptr, &device), -1);
    EXPECT_EQ(AddpQueryDevice(handle, mac, nullptr), -1);
    EXPECT_EQ(AddpReboot(handle, mac, nullptr), -1);
    EXPECT_EQ(AddpReboot(handle, nullptr, ""), -1);
    EXPECT_EQ(AddpSetNetwork(handle, mac, 0, 0, 0, tooLong.c_str()), -1);
    EXPECT_EQ(AddpSetDhcp(handle, mac, 1, tooLong.c_str()), -1);
    EXPECT_EQ(AddpGetLastError(handle), 3);
    EXPECT_EQ(StatusText(handle), "earlier");
    AddpClose(handle);
}

TEST(Session, EveryModuleMacIsRefusedWithTheEngineStatus) {
    AddpHandle handle = AddpOpen(kAddpMagicDigi);
    AddpSetStatus(*handle, 3, "earlier");
    AddpDevice device{};
    device.portCount = 42;
    EXPECT_EQ(AddpQueryDevice(handle, kAddpEveryModule, &device), -1);
    EXPECT_EQ(device.portCount, 42);
    EXPECT_EQ(AddpReboot(handle, kAddpEveryModule, "pw"), -1);
    EXPECT_EQ(AddpGetLastError(handle), 0);
    EXPECT_EQ(StatusText(handle), "Operation Successful");
    AddpClose(handle);
}

TEST(Session, CloseReleasesQueuedRecords) {
    AddpHandle handle = AddpOpen(kAddpMagicDigi);
    for (int i = 0; i < 3; ++i) {
        auto* record = new AddpReplyRecord;
        AddpInitReplyRecord(*record);
        record->valueList = {1, 2, 3};
        AddpListAppend(handle->queue, reinterpret_cast<std::uintptr_t>(record));
    }
    EXPECT_EQ(AddpGetDeviceCount(handle), 3);
    AddpClose(handle);  // the leak checker of the sanitizer build tells when they are not released
}

TEST(Session, GetDevicesMovesOldestFirstAndAtMostTheCount) {
    AddpHandle handle = AddpOpen(kAddpMagicDigi);
    for (std::uint8_t i = 1; i <= 2; ++i) {
        auto* record = new AddpReplyRecord;
        AddpInitReplyRecord(*record);
        record->device.mac[5] = i;
        AddpListAppend(handle->queue, reinterpret_cast<std::uintptr_t>(record));
    }
    AddpDevice devices[5]{};
    EXPECT_EQ(AddpGetDevices(handle, devices, 5), 2);
    EXPECT_EQ(devices[0].mac[5], 1);
    EXPECT_EQ(devices[1].mac[5], 2);
    EXPECT_EQ(AddpGetDeviceCount(handle), 0);
    EXPECT_EQ(AddpGetDevices(handle, devices, 5), 0);
    AddpStopDiscovery(handle);  // idle: nothing happens
    AddpClose(handle);
}

}  // namespace
