#pragma once
// Benchmarks use real sockets; they run only where every local address is on loopback (the host
// itself, or a network namespace), so that no datagram leaves the machine.

#include <arpa/inet.h>
#include <netdb.h>
#include <unistd.h>

#include <cstdio>

inline bool OnlyLoopbackHere() {
    char host[260] = {};
    gethostname(host, sizeof host - 1);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* answer = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &answer) != 0) {
        std::fprintf(stderr, "the host name %s does not resolve to an IPv4 address\n", host);
        return false;
    }
    bool loopback = true;
    for (const addrinfo* entry = answer; entry != nullptr; entry = entry->ai_next)
        if ((ntohl(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr) >> 24) != 127) loopback = false;
    freeaddrinfo(answer);
    if (!loopback)
        std::fprintf(stderr,
                     "the host name %s resolves beyond loopback; run this inside a network namespace "
                     "whose host name resolves to 127.0.0.1\n",
                     host);
    return loopback;
}
