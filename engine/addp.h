#pragma once
// The discovery engine: finds converters on the LAN and changes their network settings.
//
// A plain-function library over instance handles. Results are plain ints: -1 means failure or
// refusal; otherwise 0, a count, or a converter's result byte. Nothing throws. Every function
// first asks the process-wide registry whether the handle is live, so a stale or made-up handle
// is harmless: the call returns -1 (or does nothing) without touching memory through it.
//
// Each instance carries a status code and text. The engine itself only ever sets code 0 with
// "Operation Successful"; a converter's reply to a configuration request replaces it with the
// converter's error code and message. The text is owned by the instance and overwritten by the
// next operation that sets a status.
//
// An instance is used by one thread at a time; only a running discovery adds the engine's own
// worker thread, which never calls back into the caller but posts a message to a window.
//
// The engine sends through every IPv4 address of every local interface that is up and can
// multicast, in the system's order; loopback only when there is no other (see
// AddpGetLocalInterfaces). A flood of replies cannot hold it: a receive cycle reads at most a
// cycle's worth of datagrams before it checks for a stop, and one discovery run keeps at most
// kAddpMaxRunRecords (4096) records; accepted replies beyond that are dropped and counted
// (AddpGetDroppedCount).

#include <cstddef>
#include <cstdint>

#include "platform/window_messages.h"

// One converter as its module described itself. A fixed-size value, copied whole. Addresses are
// four bytes in network order (first octet first in memory). Fields whose bit in `present` is
// clear hold zero; text fields always end in a zero byte.
struct AddpDevice {
    std::uint32_t localAddress;  // the local interface the reply came through
    std::uint32_t present;       // which fields the reply carried (AddpPresent* bits)
    std::uint8_t mac[6];
    std::uint32_t ipAddress;
    std::uint32_t subnetMask;
    std::uint32_t gateway;
    std::uint32_t dnsAddress;
    std::uint8_t dhcpEnabled;  // 1 when the converter takes its settings from DHCP
    std::uint16_t realPortPort;
    char name[256];
    char domain[256];
    std::uint8_t hardwareType;
    std::uint8_t hardwareRevision;
    char firmware[256];
    char modelName[256];  // from the reply, or from the model table by hardware type
    std::uint8_t portCount;
    std::uint16_t advisory;
    std::uint32_t extPresent;  // which of the extension fields 224 to 230 the reply carried
    std::uint8_t ext224Length;
    std::uint8_t ext224[32];
    std::uint16_t ext225;
    std::uint16_t ext227;
    std::uint16_t ext228;
    std::uint8_t ext229Length;
    std::uint8_t ext229[13];
    std::uint16_t ext230;
};

enum : std::uint32_t {
    AddpPresentMac = 0x0001,
    AddpPresentIpAddress = 0x0002,
    AddpPresentSubnetMask = 0x0004,
    AddpPresentGateway = 0x0008,
    AddpPresentDnsAddress = 0x0010,
    AddpPresentDhcpEnabled = 0x0020,
    AddpPresentRealPortPort = 0x0040,
    AddpPresentName = 0x0080,
    AddpPresentDomain = 0x0100,
    AddpPresentHardwareType = 0x0200,
    AddpPresentHardwareRevision = 0x0400,
    AddpPresentFirmware = 0x0800,
    AddpPresentModelName = 0x1000,
    AddpPresentPortCount = 0x2000,
    AddpPresentAdvisory = 0x4000,
    AddpPresentExtension = 0x8000,
};

enum : std::uint32_t {
    AddpExt224 = 0x01,
    AddpExt225 = 0x02,
    AddpExt227 = 0x04,
    AddpExt228 = 0x08,
    AddpExt229 = 0x10,
    AddpExt230 = 0x20,
};

// The protocol magic of this converter family: the four ASCII bytes "DIGI".
constexpr std::uint32_t kAddpMagicDigi = 0x44494749;

// The longest password, in bytes, that a configuration request can carry.
constexpr std::size_t kAddpMaxPassword = 255;

// The most records one discovery run keeps; accepted replies beyond them are dropped.
constexpr int kAddpMaxRunRecords = 4096;

// A run or request sends through at most this many local interfaces, the first ones listed.
constexpr int kAddpMaxInterfaces = 64;

// One local interface the engine sends through.
struct AddpInterface {
    std::uint32_t address;  // IPv4, network order
    char name[16];          // the system's name for the interface, zero-terminated
};

struct AddpSession;
using AddpHandle = AddpSession*;

// ---- Instances and status ---------------------------------------------------------------------

// Opens an instance for the given protocol magic and starts the sockets library for it.
// Returns the handle, or nullptr when the magic is 0 or a resource could not be had (nothing is
// left behind then). The new instance has status 0, "Operation Successful".
// Does not block. Any thread.
AddpHandle AddpOpen(std::uint32_t magic);

// Stops a running discovery (waiting for its worker, as AddpStopDiscovery does), releases every
// record still queued and destroys the instance; the handle is stale from then on. A handle that
// is not live is ignored. Blocks for at most one receive cycle (about 200 ms) when a discovery
// runs. Call it from the thread that uses the instance.
void AddpClose(AddpHandle handle);

// The status code of the last operation; -1 when the handle is not live. Does not block.
int AddpGetLastError(AddpHandle handle);

// Copies the status text into buffer, cut to capacity - 1 characters and always terminated.
// Returns 0, or -1 (buffer untouched) when the handle is not live, capacity is not positive or
// buffer is null. Does not block.
int AddpGetLastErrorText(AddpHandle handle, char* buffer, int capacity);

// ---- Local interfaces --------------------------------------------------------------------------

// Fills `interfaces` with the local interfaces that discovery runs and requests send through, as
// they are now, and returns how many it wrote (at most capacity; 0 when there is none): every IPv4
// address of every interface that is up and can multicast, in the system's order, each once,
// loopback left out. When that leaves none, 127.0.0.1 alone, if loopback is up. -1 when interfaces
// is null or capacity is not positive. Does not block. Any thread.
int AddpGetLocalInterfaces(AddpInterface* interfaces, int capacity);

// Process-wide: while on, every instance sends through loopback (127.0.0.1) only, so that a
// converter simulated on this computer is reached and no datagram goes to the LAN. Off at start.
// Takes effect at the next run or request. Any thread.
void AddpUseLoopbackOnly(bool on);

// ---- Discovery ---------------------------------------------------------------------------------

// Starts a discovery run: a worker thread sends one discovery request through every local IPv4
// interface, then collects every reply into the instance's queue until the run is stopped. After
// each receive cycle that leaves records waiting it posts `message` to `window` (first parameter
// 0, second `value`); it never waits for the window. Records left from an earlier run are dropped.
// Returns 0 when the worker was started; -1 when the handle is not live, the window does not exist,
// the message is 0, a run is already running (also when its worker ended on its own) or the
// thread could not be created. A run without usable interfaces starts, sends nothing and never
// notifies. Does not block. Call it from the thread that uses the instance.
int AddpStartDiscovery(AddpHandle handle, platform::WindowHandle window, unsigned message,
                       std::uint32_t value);

// Ends a running discovery and waits for its worker: at most one receive cycle (about 200 ms),
// however many replies arrive meanwhile. Records already queued stay there. Does nothing when no
// run is running or the handle is not live.
void AddpStopDiscovery(AddpHandle handle);

// How many accepted replies the current (or last) run dropped because it already kept
// kAddpMaxRunRecords records; -1 when the handle is not live. Does not block. Any thread.
int AddpGetDroppedCount(AddpHandle handle);

// The number of records waiting in the queue; -1 when the handle is not live. Does not block.
int AddpGetDeviceCount(AddpHandle handle);

// Moves up to `count` waiting records out of the queue into `devices`, oldest first, and returns
// how many it moved (0 when none waits); -1 when the handle is not live, count is not positive or
// devices is null. A record moved out belongs to the caller. Does not block.
int AddpGetDevices(AddpHandle handle, AddpDevice* devices, int count);

// ---- Requests to one converter ----------------------------------------------------------------
// All four address the converter by its MAC through the multicast group, send their datagram
// once, and block the calling thread until the reply arrives or the request deadline (7.5 s)
// passes. They use sockets of their own, so a discovery may run on the same instance meanwhile.
// Their status on entry is 0, "Operation Successful"; a MAC of FF:FF:FF:FF:FF:FF is refused
// with -1 and nothing is sent.

// Asks the converter for its description. Returns 0 and fills `device` when it answered; -1
// otherwise, with `device` untouched. Never changes the status beyond the one set on entry.
int AddpQueryDevice(AddpHandle handle, const std::uint8_t mac[6], AddpDevice* device);

// The three configuration requests carry the converter's password (at most 255 bytes; a longer
// or null one is refused with -1, status unchanged). On a host with two or more IPv4 addresses
// the converter is first queried to learn which interface reaches it, so the call may block for
// about 15 s in all. Result: -1 when no reply came (status stays 0, "Operation Successful");
// otherwise the converter's result flag (0 = accepted), with its error code and message as the
// instance's status.

int AddpReboot(AddpHandle handle, const std::uint8_t mac[6], const char* password);

// The three addresses are in network order, first octet first in memory.
int AddpSetNetwork(AddpHandle handle, const std::uint8_t mac[6], std::uint32_t ipAddress,
                   std::uint32_t subnetMask, std::uint32_t gateway, const char* password);

// `dhcpFlag` 1 asks the converter to take its settings from DHCP.
int AddpSetDhcp(AddpHandle handle, const std::uint8_t mac[6], std::uint8_t dhcpFlag, const char* password);
