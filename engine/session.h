#pragma once
// The engine instance behind a handle, the registry of live instances, and the status and
// argument checks every operation shares. Internal to the engine.

#include <sys/time.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include "engine/addp.h"
#include "engine/addp_list.h"
#include "platform/auto_reset_event.h"
#include "platform/window_messages.h"

struct AddpSession {
    std::uint32_t magic = 0;
    int statusCode = 0;
    char statusText[256] = {};
    int multicastTtl = 64;
    std::uint32_t groupAddress = 0;  // network order
    std::uint16_t port = 2362;
    timeval requestPollTimeout{0, 200000};
    std::int64_t requestDeadline = -75'000'000;  // relative, in 100 ns units
    bool running = false;
    std::thread workerThread;
    timeval discoveryPollTimeout{0, 200000};
    platform::WindowHandle notifyWindow = platform::kNoWindow;
    unsigned notifyMessage = 0;
    std::uint32_t notifyValue = 0;
    platform::AutoResetEvent stopEvent;
    AddpList* queue = nullptr;  // owned AddpReplyRecord pointers, oldest first
    int recordLimit = kAddpMaxRunRecords;  // records one run keeps at most
    int runRecords = 0;                    // records the running discovery has queued; its worker's own
    std::atomic<int> droppedRecords{0};    // accepted replies it dropped for the limit
};

// The process-wide list of live handles.
AddpList* AddpRegistry();

bool AddpIsLive(AddpHandle handle);

// Stores the code and up to 255 characters of the text; a null text leaves the status as it is.
void AddpSetStatus(AddpSession& session, int code, const char* text);
void AddpSetStatusOk(AddpSession& session);

// A password the engine can send: present and at most 255 bytes.
bool AddpIsUsablePassword(const char* password);

bool AddpIsEveryModule(const std::uint8_t mac[6]);
