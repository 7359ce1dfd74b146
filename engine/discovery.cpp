#include "engine/discovery.h"

#include <cstring>
#include <limits>
#include <new>
#include <system_error>
#include <vector>

#include "engine/frames.h"
#include "engine/sockets.h"
#include "platform/time.h"

namespace {

// A flood must not hold a cycle: a ready socket gives at most this many datagrams per cycle.
constexpr int kDatagramsPerSocketPerCycle = 256;

AddpReplyRecord* NewRecord() {
    auto* record = new (std::nothrow) AddpReplyRecord;
    if (record != nullptr) AddpInitReplyRecord(*record);
    return record;
}

// Past the run's limit an accepted reply is read, counted and let go; false when none was accepted.
bool DropOneReply(AddpSession& session, int socket) {
    AddpReplyRecord scratch;
    AddpInitReplyRecord(scratch);
    if (AddpReceiveReply(session, socket, AddpDiscoveryReply, kAddpEveryModule, scratch) != 0) return false;
    // Only this worker counts; a day of flooding must not wrap the count round to "not live".
    if (session.droppedRecords < std::numeric_limits<int>::max()) ++session.droppedRecords;
    return true;
}

// False when the datagram was not accepted, or there is no record to take it: the rest then
// waits in the socket for the next cycle.
bool QueueOneReply(AddpSession& session, int socket) {
    AddpReplyRecord* record = NewRecord();
    if (record == nullptr) return false;
    if (AddpReceiveReply(session, socket, AddpDiscoveryReply, kAddpEveryModule, *record) != 0 ||
        AddpListAppend(session.queue, reinterpret_cast<std::uintptr_t>(record)) < 0) {
        delete record;
        return false;
    }
    ++session.runRecords;
    return true;
}

}  // namespace

void AddpReadReplies(AddpSession& session, int socket, platform::Clock::time_point until) {
    for (int read = 0; read < kDatagramsPerSocketPerCycle; ++read) {
        if (read > 0 && platform::Clock::now() >= until) return;
        const bool accepted =
            session.runRecords < session.recordLimit ? QueueOneReply(session, socket) : DropOneReply(session, socket);
        if (!accepted) return;
    }
}

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
            // A cycle reads for no longer than it would wait, so that a stop is seen in time.
            const auto until = platform::DeadlineAfter(AddpDurationOf(session.discoveryPollTimeout));
            for (std::size_t i = 0; i < sockets.size(); ++i)
                if (readable[i]) AddpReadReplies(session, sockets[i], until);
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
    session.runRecords = 0;
    session.droppedRecords = 0;
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

int AddpGetDroppedCount(AddpHandle handle) {
    if (!AddpIsLive(handle)) return -1;
    return handle->droppedRecords;
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
