#pragma once
// The sockets library is started once per user and stopped once per user; the count tells
// whether anybody still needs it. POSIX sockets need no start-up, but the count is kept so that
// every engine instance pairs its start with its stop.

namespace platform {

// True when the library is usable. Any thread.
bool SocketsStartup();
void SocketsCleanup();
int SocketsStartCount();

}  // namespace platform
