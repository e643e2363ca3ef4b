#include "platform/NameLookup.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <poll.h>
#include <system_error>
#include <thread>

#include "platform/Event.h"

namespace platform {

namespace {

std::atomic<BlockingLookup> substitute{nullptr};
std::atomic<int> running{0};

// What the caller and the lookup's thread share. Whichever of them lets go last frees it, and
// the completion event's descriptor with it, so a caller that stopped waiting leaves nothing the
// thread could trip on, and the thread never touches the caller's memory.
struct Pending {
  std::string host;
  uint16_t port = 0;
  BlockingLookup lookup = nullptr;
  Event done;
  // Written by the thread before done is set; read by the caller only once done is seen set
  // (the event's lock orders the two).
  int result = EAI_SYSTEM;
  sockaddr_in address{};
};

}  // namespace

int SystemLookup(const std::string& host, uint16_t port, sockaddr_in* address) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* list = nullptr;
  std::string service = std::to_string(port);
  int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
  if (rc != 0) return rc;
  if (!list || list->ai_addrlen < sizeof(sockaddr_in)) {
    if (list) ::freeaddrinfo(list);
    return EAI_NONAME;
  }
  std::memcpy(address, list->ai_addr, sizeof(sockaddr_in));
  ::freeaddrinfo(list);
  return 0;
}

void SetBlockingLookupForTesting(BlockingLookup lookup) { substitute.store(lookup); }

int LookupsRunning() { return running.load(); }

// A short-lived thread per lookup rather than glibc's getaddrinfo_a: that one answers on threads
// of its own that the sanitizers cannot see, and a request given up on must still be kept alive
// and freed from a notification thread; ours is one thread per connect attempt with its handoff
// through an Event. The thread is detached, not joined: the system's lookup cannot watch a stop
// event, so nothing could bound a join; the thread holds only the shared state and ends when the
// lookup gives up.
int LookUpHost(const std::string& host, uint16_t port, int wakeFd1, int wakeFd2, sockaddr_in* address) {
  sockaddr_in numeric{};
  if (::inet_pton(AF_INET, host.c_str(), &numeric.sin_addr) == 1) {
    numeric.sin_family = AF_INET;
    numeric.sin_port = htons(port);
    *address = numeric;
    return 0;
  }
  BlockingLookup lookup = substitute.load();
  if (!lookup) lookup = SystemLookup;
  if (wakeFd1 < 0 && wakeFd2 < 0) return lookup(host, port, address);  // nothing to wait for

  auto pending = std::make_shared<Pending>();
  pending->host = host;
  pending->port = port;
  pending->lookup = lookup;
  const int doneFd = pending->done.Fd();  // made before the thread exists: never created twice
  if (doneFd < 0) return lookup(host, port, address);
  running.fetch_add(1);
  try {
    std::thread([pending]() mutable {
      sockaddr_in found{};
      int rc = pending->lookup(pending->host, pending->port, &found);
      pending->address = found;
      pending->result = rc;
      pending->done.Set();
      pending.reset();
      running.fetch_sub(1);
    }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: look up on this one, as a blocking lookup would.
    running.fetch_sub(1);
    return lookup(host, port, address);
  }
  for (;;) {
    pollfd p[3] = {{doneFd, POLLIN, 0}, {wakeFd1, POLLIN, 0}, {wakeFd2, POLLIN, 0}};
    int r = ::poll(p, 3, 1000);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return EAI_SYSTEM;  // errno tells why
    if (p[1].revents | p[2].revents) return EAI_CANCELED;
    if (r > 0 && pending->done.IsSet()) {
      *address = pending->address;
      return pending->result;
    }
  }
}

}  // namespace platform
