#include "engine/session.h"

#include <arpa/inet.h>

#include <cstring>
#include <new>

#include "engine/discovery.h"
#include "engine/frames.h"
#include "platform/sockets_library.h"

namespace {
constexpr const char* kStatusOk = "Operation Successful";
constexpr const char* kGroupAddress = "224.0.5.128";
}  // namespace

AddpList* AddpRegistry() {
    // Never destroyed: instances may still be closed while the program ends.
    static AddpList* const registry = new AddpList;
    return registry;
}

bool AddpIsLive(AddpHandle handle) {
    return handle != nullptr && AddpListContains(AddpRegistry(), reinterpret_cast<std::uintptr_t>(handle));
}

void AddpSetStatus(AddpSession& session, int code, const char* text) {
    if (text == nullptr) return;
    session.statusCode = code;
    const std::size_t length = strnlen(text, sizeof session.statusText - 1);
    std::memcpy(session.statusText, text, length);
    session.statusText[length] = '\0';
}

void AddpSetStatusOk(AddpSession& session) { AddpSetStatus(session, 0, kStatusOk); }

bool AddpIsUsablePassword(const char* password) {
    return password != nullptr && strnlen(password, kAddpMaxPassword + 1) <= kAddpMaxPassword;
}

bool AddpIsEveryModule(const std::uint8_t mac[6]) { return std::memcmp(mac, kAddpEveryModule, 6) == 0; }

AddpHandle AddpOpen(std::uint32_t magic) {
    if (magic == 0) return nullptr;
    if (!platform::SocketsStartup()) return nullptr;

    auto* session = new (std::nothrow) AddpSession;
    if (session == nullptr) {
        platform::SocketsCleanup();
        return nullptr;
    }
    session->magic = magic;
    AddpSetStatusOk(*session);
    inet_pton(AF_INET, kGroupAddress, &session->groupAddress);

    session->queue = AddpListCreate();
    if (session->queue == nullptr) {
        delete session;
        platform::SocketsCleanup();
        return nullptr;
    }
    if (AddpListAppend(AddpRegistry(), reinterpret_cast<std::uintptr_t>(session)) < 0) {
        AddpListDestroy(session->queue);
        delete session;
        platform::SocketsCleanup();
        return nullptr;
    }
    return session;
}

void AddpClose(AddpHandle handle) {
    if (!AddpIsLive(handle)) return;
    AddpStopDiscovery(handle);
    AddpListRemove(AddpRegistry(), reinterpret_cast<std::uintptr_t>(handle));
    AddpDiscardQueue(*handle);
    AddpListDestroy(handle->queue);
    delete handle;
    platform::SocketsCleanup();
}

int AddpGetLastError(AddpHandle handle) {
    if (!AddpIsLive(handle)) return -1;
    return handle->statusCode;
}

int AddpGetLastErrorText(AddpHandle handle, char* buffer, int capacity) {
    if (!AddpIsLive(handle) || buffer == nullptr || capacity <= 0) return -1;
    const std::size_t length = strnlen(handle->statusText, static_cast<std::size_t>(capacity) - 1);
    std::memcpy(buffer, handle->statusText, length);
    buffer[length] = '\0';
    return 0;
}
