#pragma once
// Benchmarks use real sockets; they run only where every local address is on loopback (the host
// itself, or a network namespace), so that no datagram leaves the machine.

#include <cstdio>
#include <string>

#include "tests/support/network_namespace.h"

inline bool OnlyLoopbackHere() {
    std::string why;
    if (testsupport::OnlyLoopbackReachable(why)) return true;
    std::fprintf(stderr, "%s; run this on a loopback-only host: tests/support/in_loopback_host.sh\n", why.c_str());
    return false;
}
