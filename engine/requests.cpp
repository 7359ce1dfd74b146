#include "engine/requests.h"

#include <unistd.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "engine/sockets.h"
#include "platform/time.h"

namespace {

platform::Clock::time_point ArmDeadline(const AddpSession& session) {
    // The deadline is kept as a relative time in 100 ns units, negative as a waitable timer takes it.
    return platform::DeadlineAfter(std::chrono::nanoseconds(-session.requestDeadline * 100));
}

bool Passed(platform::Clock::time_point deadline) { return platform::Clock::now() >= deadline; }

// Sends the request and hands its reply's result back: the converter's result flag, with its
// error code and message as the status; -1 when no reply came.
int Configure(AddpSession& session, const std::uint8_t mac[6], std::uint16_t replyType,
              const std::vector<std::uint8_t>& datagram) {
    std::uint32_t localAddress = 0;
    if (datagram.empty() || !AddpChooseInterface(session, mac, localAddress)) return -1;

    AddpReplyRecord record;
    AddpInitReplyRecord(record);
    if (AddpExchange(session, localAddress, replyType, mac, datagram, record) != 0) return -1;
    AddpSetStatus(session, record.errorCode, record.resultMessage);
    return record.resultFlag;
}

bool ConfigurationArgumentsUsable(AddpHandle handle, const std::uint8_t mac[6], const char* password) {
    return AddpIsLive(handle) && mac != nullptr && AddpIsUsablePassword(password);
}

}  // namespace

int AddpQuery(AddpSession& session, const std::uint8_t mac[6], AddpReplyRecord& record) {
    if (AddpIsEveryModule(mac)) return -1;
    std::vector<int> sockets;
    if (!AddpOpenAllSockets(session, sockets)) return -1;
    AddpSendFrame(session, sockets, AddpBuildDiscoveryRequest(session.magic, mac));

    const auto deadline = ArmDeadline(session);
    std::vector<bool> readable;
    int result = -1;
    for (;;) {
        if (AddpWaitReadable(sockets, session.requestPollTimeout, readable) < 0) break;
        for (std::size_t i = 0; i < sockets.size() && result != 0; ++i) {
            if (!readable[i]) continue;
            AddpResetReplyRecord(record);
            if (AddpReceiveReply(session, sockets[i], AddpDiscoveryReply, mac, record) == 0) result = 0;
        }
        if (result == 0 || Passed(deadline)) break;
    }
    AddpCloseSockets(sockets);
    return result;
}

bool AddpChooseInterface(AddpSession& session, const std::uint8_t mac[6], std::uint32_t& localAddress) {
    if (AddpIsEveryModule(mac)) return false;
    AddpList* addresses = AddpListCreate();
    if (addresses == nullptr) return false;
    const int count = AddpListLocalAddresses(addresses);
    bool chosen = false;
    if (count == 1) {
        localAddress = static_cast<std::uint32_t>(AddpListAt(addresses, 0));
        chosen = true;
    } else if (count > 1) {
        AddpReplyRecord record;
        AddpInitReplyRecord(record);
        if (AddpQuery(session, mac, record) == 0) {
            localAddress = record.device.localAddress;
            chosen = true;
        }
    }
    AddpListDestroy(addresses);
    return chosen;
}

int AddpExchange(AddpSession& session, std::uint32_t localAddress, std::uint16_t expectedType,
                 const std::uint8_t mac[6], std::span<const std::uint8_t> datagram, AddpReplyRecord& record) {
    const int socket = AddpOpenSocket(session, localAddress);
    if (socket < 0) return -1;
    const int sockets[] = {socket};
    AddpSendFrame(session, sockets, datagram);

    const auto deadline = ArmDeadline(session);
    std::vector<bool> readable;
    int result = -1;
    for (;;) {
        const int ready = AddpWaitReadable(sockets, session.requestPollTimeout, readable);
        if (ready < 0) break;
        AddpResetReplyRecord(record);
        if (ready > 0 && AddpReceiveReply(session, socket, expectedType, mac, record) == 0) {
            result = 0;
            break;
        }
        if (Passed(deadline)) break;
    }
    close(socket);
    return result;
}

int AddpQueryDevice(AddpHandle handle, const std::uint8_t mac[6], AddpDevice* device) {
    if (!AddpIsLive(handle) || mac == nullptr || device == nullptr) return -1;
    AddpSetStatusOk(*handle);
    AddpReplyRecord record;
    AddpInitReplyRecord(record);
    const int result = AddpQuery(*handle, mac, record);
    if (result == 0) std::memcpy(device, &record.device, sizeof(AddpDevice));
    return result;
}

int AddpReboot(AddpHandle handle, const std::uint8_t mac[6], const char* password) {
    if (!ConfigurationArgumentsUsable(handle, mac, password)) return -1;
    AddpSetStatusOk(*handle);
    return Configure(*handle, mac, AddpRebootReply, AddpBuildRebootRequest(handle->magic, mac, password));
}

int AddpSetNetwork(AddpHandle handle, const std::uint8_t mac[6], std::uint32_t ipAddress,
                   std::uint32_t subnetMask, std::uint32_t gateway, const char* password) {
    if (!ConfigurationArgumentsUsable(handle, mac, password)) return -1;
    AddpSetStatusOk(*handle);
    return Configure(*handle, mac, AddpNetworkReply,
                     AddpBuildNetworkRequest(handle->magic, mac, ipAddress, subnetMask, gateway, password));
}

int AddpSetDhcp(AddpHandle handle, const std::uint8_t mac[6], std::uint8_t dhcpFlag, const char* password) {
    if (!ConfigurationArgumentsUsable(handle, mac, password)) return -1;
    AddpSetStatusOk(*handle);
    return Configure(*handle, mac, AddpDhcpReply, AddpBuildDhcpRequest(handle->magic, mac, dhcpFlag, password));
}
