// A stand-in GPIB driver library with the NI-488.2 entry points the program
// resolves (ibdev, ibwrt, ibrd, ibonl). Each device descriptor is a TCP
// connection to the simulated power source named by VEXA_GPIB_SIM
// ("HOST:PORT"); the bytes pass unchanged. ibrd waits for exactly the asked
// count, an end of the connection, or the descriptor's time-out, as a GPIB
// read does.
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#define GPIB_EXPORT extern "C" __attribute__((visibility("default")))
#define GPIB_EXPORT_DATA __attribute__((visibility("default")))

namespace {

// Status word bits.
constexpr int kErr = 0x8000;
constexpr int kTimo = 0x4000;
constexpr int kEnd = 0x2000;
constexpr int kCmpl = 0x0100;
// Error codes.
constexpr int kEdvr = 0; // no connection to the device
constexpr int kEabo = 6; // I/O aborted (time-out or a lost connection)
constexpr int kEarg = 4; // bad argument

constexpr int kMaxDevices = 32;
// Descriptors handed out start here, as board descriptors come first in real drivers.
constexpr int kFirstDescriptor = 16;

struct Device {
  int Socket = -1;
  int TimeoutMs = 30;
};
Device gDevices[kMaxDevices];

// NI-488.2 time-out codes in milliseconds (0 = none); codes below 1 ms round up.
int TimeoutMs(int code) {
  static const int table[] = {0,   1,   1,    1,    1,     1,     3,      10,     30,
                              100, 300, 1000, 3000, 10000, 30000, 100000, 300000, 1000000};
  return code >= 0 && code < static_cast<int>(sizeof table / sizeof table[0]) ? table[code] : 30;
}

Device *Find(int ud) {
  const int index = ud - kFirstDescriptor;
  if (index < 0 || index >= kMaxDevices || gDevices[index].Socket < 0)
    return nullptr;
  return &gDevices[index];
}

int Connect() {
  const char *target = std::getenv("VEXA_GPIB_SIM");
  if (!target)
    return -1;
  const std::string text(target);
  const auto colon = text.rfind(':');
  if (colon == std::string::npos)
    return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(std::atoi(text.c_str() + colon + 1)));
  if (inet_pton(AF_INET, text.substr(0, colon).c_str(), &address.sin_addr) != 1)
    return -1;
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0)
    return -1;
  if (connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

} // namespace

// The driver's last status, error and count, as NI-488.2 publishes them.
extern "C" {
GPIB_EXPORT_DATA int ibsta = 0;
GPIB_EXPORT_DATA int iberr = 0;
GPIB_EXPORT_DATA int ibcnt = 0;
GPIB_EXPORT_DATA long ibcntl = 0;
}

GPIB_EXPORT int ibdev(int board, int pad, int sad, int tmo, int eot, int eos) {
  (void)board;
  (void)sad;
  (void)eot;
  (void)eos;
  if (pad < 0 || pad > 30) {
    iberr = kEarg;
    ibsta = kErr;
    return -1;
  }
  for (int i = 0; i < kMaxDevices; ++i) {
    if (gDevices[i].Socket >= 0)
      continue;
    const int fd = Connect();
    if (fd < 0) {
      iberr = kEdvr;
      ibsta = kErr;
      return -1;
    }
    gDevices[i].Socket = fd;
    gDevices[i].TimeoutMs = TimeoutMs(tmo);
    ibsta = kCmpl;
    return kFirstDescriptor + i;
  }
  iberr = kEdvr;
  ibsta = kErr;
  return -1;
}

GPIB_EXPORT int ibonl(int ud, int online) {
  Device *device = Find(ud);
  if (!device) {
    iberr = kEarg;
    return ibsta = kErr;
  }
  if (online == 0) {
    close(device->Socket);
    device->Socket = -1;
  }
  return ibsta = kCmpl;
}

GPIB_EXPORT int ibwrt(int ud, const void *buffer, long count) {
  Device *device = Find(ud);
  ibcnt = 0;
  ibcntl = 0;
  if (!device) {
    iberr = kEarg;
    return ibsta = kErr;
  }
  const char *bytes = static_cast<const char *>(buffer);
  long sent = 0;
  while (sent < count) {
    const ssize_t n =
        send(device->Socket, bytes + sent, static_cast<size_t>(count - sent), MSG_NOSIGNAL);
    if (n <= 0) {
      iberr = kEabo;
      ibcnt = static_cast<int>(sent);
      ibcntl = sent;
      return ibsta = kErr | kCmpl;
    }
    sent += n;
  }
  ibcnt = static_cast<int>(sent);
  ibcntl = sent;
  return ibsta = kCmpl;
}

GPIB_EXPORT int ibrd(int ud, void *buffer, long count) {
  Device *device = Find(ud);
  ibcnt = 0;
  ibcntl = 0;
  if (!device) {
    iberr = kEarg;
    return ibsta = kErr;
  }
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(device->TimeoutMs);
  char *bytes = static_cast<char *>(buffer);
  long got = 0;
  int status = kCmpl | kEnd;
  while (got < count) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (device->TimeoutMs > 0 && left <= 0) {
      iberr = kEabo;
      status = kErr | kTimo | kCmpl;
      break;
    }
    pollfd waiting{device->Socket, POLLIN, 0};
    const int ready = poll(&waiting, 1, device->TimeoutMs > 0 ? static_cast<int>(left) : -1);
    if (ready < 0 && errno == EINTR)
      continue;
    if (ready == 0)
      continue; // the deadline test above ends the read
    const ssize_t n =
        ready > 0 ? recv(device->Socket, bytes + got, static_cast<size_t>(count - got), 0) : -1;
    if (n <= 0) {
      iberr = kEabo;
      status = kErr | kCmpl;
      break;
    }
    got += n;
  }
  ibcnt = static_cast<int>(got);
  ibcntl = got;
  return ibsta = status;
}
