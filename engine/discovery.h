#pragma once
// The discovery run's internals, shared with closing.

#include "engine/session.h"
#include "platform/time.h"

// Releases every record still waiting in the instance's queue.
void AddpDiscardQueue(AddpSession& session);

// Reads the replies waiting in one ready socket into the queue, one cycle's worth: the first
// datagram, then on while the socket has more, until 256 were read or `until` has come. Stops at a
// datagram that is not accepted. Once the run has queued its limit of records, accepted replies
// are counted as dropped instead.
void AddpReadReplies(AddpSession& session, int socket, platform::Clock::time_point until);

// Body of the worker thread of a running discovery.
void AddpDiscoveryWorker(AddpSession& session);
