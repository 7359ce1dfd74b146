#include "engine/discovery.h"

#include <cstring>
#include <new>
#include <system_error>
#include <vector>

#include "engine/frames.h"
#include "engine/sockets.h"

namespace {

AddpReplyRecord* NewRecord() {
    auto* record = new (std::nothrow) AddpReplyRecord;
    if (record != nullptr) AddpInitReplyRecord(*record);
    return record;
}

// Reads replies from the socket until it has none left or yields one that is not accepted.
// Without a working record the rest waits in the socket for the next cycle.
void DrainSocket(AddpSession& session, int socket) {
    for (;;) {
        AddpReplyRecord* record = NewRecord();
        if (record == nullptr) return;
        if (AddpReceiveReply(session, socket, AddpDiscoveryReply, kAddpEveryModule, *record) != 0 ||
            AddpListAppend(session.queue, reinterpret_cast<std::uintptr_t>(record)) < 0) {
            delete record;
            return;
        }
    }
}

}  // namespace

void AddpDiscardQueue(AddpSession& session) {
    while (AddpListCount(session.queue) > 0)
        delete reinterpret_cast<AddpReplyRecord*>(AddpListPopFront(session.queue));
}

void AddpDiscoveryWorker(AddpSession& session) {
    std::vector<int> sockets;
    if (!AddpOpenAllSockets(session, sockets)) return;

    AddpSendFrame(session, sockets, AddpBuildDiscoveryRequest(session.magic, kAddpEveryModule));

    std::vector<bool> readable;
    for (;;) {
        const int ready = AddpWaitReadable(sockets, session.discoveryPollTimeout, readable);
        if (ready < 0) break;
        if (ready > 0) {
            for (std::size_t i = 0; i < sockets.size(); ++i)
                if (readable[i]) DrainSocket(session, sockets[i]);
            if (AddpListCount(session.queue) > 0)
                platform::PostMessage(session.notifyWindow, session.notifyMessage, 0, session.notifyValue);
        }
        if (session.stopEvent.TryWait()) break;
    }
    AddpCloseSockets(sockets);
}

int AddpStartDiscovery(AddpHandle handle, platform::WindowHandle window, unsigned message, std::uint32_t value) {
    if (!AddpIsLive(handle) || !platform::IsWindow(window) || message == 0 || handle->running) return -1;
    AddpSession& session = *handle;
    AddpSetStatusOk(session);
    session.notifyWindow = window;
    session.notifyMessage = message;
    session.notifyValue = value;
    session.running = true;
    AddpDiscardQueue(session);
    // A stop signalled after the last worker had already ended by itself must not end this one.
    session.stopEvent.TryWait();
    try {
        session.workerThread = std::thread(AddpDiscoveryWorker, std::ref(session));
    } catch (const std::system_error&) {
        return -1;
    }
    return 0;
}

void AddpStopDiscovery(AddpHandle handle) {
    if (!AddpIsLive(handle) || !handle->running) return;
    handle->stopEvent.Signal();
    if (handle->workerThread.joinable()) handle->workerThread.join();
    handle->running = false;
}

int AddpGetDeviceCount(AddpHandle handle) {
    if (!AddpIsLive(handle)) return -1;
    return AddpListCount(handle->queue);
}

int AddpGetDevices(AddpHandle handle, AddpDevice* devices, int count) {
    if (!AddpIsLive(handle) || devices == nullptr || count <= 0) return -1;
    int moved = 0;
    while (moved < count) {
        auto* record = reinterpret_cast<AddpReplyRecord*>(AddpListPopFront(handle->queue));
        if (record == nullptr) break;
        std::memcpy(&devices[moved], &record->device, sizeof(AddpDevice));
        delete record;
        ++moved;
    }
    return moved;
}
