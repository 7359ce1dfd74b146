#pragma once
// The discovery run's internals, shared with closing.

#include "engine/session.h"

// Releases every record still waiting in the instance's queue.
void AddpDiscardQueue(AddpSession& session);

// Body of the worker thread of a running discovery.
void AddpDiscoveryWorker(AddpSession& session);
