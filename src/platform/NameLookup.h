#pragma once
// Finds the IPv4 address of a host for a TCP connection without holding the caller past its wake
// descriptors. A name lookup may take long (an unreachable name server costs seconds per try, and
// it is tried several times) and cannot be interrupted, so it runs on a thread of its own while
// the caller waits for it or for a wake descriptor. A lookup the caller stopped waiting for ends
// on its own and drops its result.

#include <cstdint>
#include <netinet/in.h>
#include <string>

namespace platform {

// A dotted address at once; a name by the system's lookup. 0, the lookup's EAI_* code, or
// EAI_CANCELED when a wake descriptor (-1 for none) became readable first.
int LookUpHost(const std::string& host, uint16_t port, int wakeFd1, int wakeFd2, sockaddr_in* address);

// A lookup that blocks until it has an answer: 0 or an EAI_* code.
using BlockingLookup = int (*)(const std::string& host, uint16_t port, sockaddr_in* address);
// The system's (getaddrinfo, IPv4, TCP; the first address).
int SystemLookup(const std::string& host, uint16_t port, sockaddr_in* address);
// Tests: names are looked up by lookup instead of the system (nullptr: the system again).
void SetBlockingLookupForTesting(BlockingLookup lookup);
// Lookups still running, those no caller waits for included (tests wait for none before ending).
int LookupsRunning();

}  // namespace platform
