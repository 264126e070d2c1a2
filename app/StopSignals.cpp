#include "app/StopSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <memory>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

volatile std::sig_atomic_t gCount = 0;
volatile std::sig_atomic_t gLast = 0;
int gPipe[2] = {-1, -1}; // [0] written by the handler, [1] read by the loop
std::unique_ptr<QSocketNotifier> gNotifier;
std::function<void(int)> gOnStop;

void OnSignal(int signal) {
  gLast = signal;
  gCount = gCount + 1;
  const char byte = static_cast<char>(signal);
  // A full socket already holds a wake-up; the count keeps every signal.
  [[maybe_unused]] const ssize_t written = ::write(gPipe[0], &byte, 1);
}

void OnReadable() {
  char bytes[16];
  const ssize_t count = ::read(gPipe[1], bytes, sizeof bytes);
  for (ssize_t i = 0; i < count; ++i)
    if (gOnStop)
      gOnStop(bytes[i]);
}

} // namespace

void InstallStopSignals(std::function<void(int)> onStop) {
  gOnStop = std::move(onStop);
  if (gPipe[0] < 0 &&
      ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, gPipe) != 0)
    gPipe[0] = gPipe[1] = -1;
  if (!gNotifier && gPipe[1] >= 0 && QCoreApplication::instance() != nullptr) {
    gNotifier = std::make_unique<QSocketNotifier>(gPipe[1], QSocketNotifier::Read);
    QObject::connect(gNotifier.get(), &QSocketNotifier::activated, [] { OnReadable(); });
  }
  gCount = 0;
  gLast = 0;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : kSignals)
    ::sigaction(signal, &action, nullptr);
}

void RemoveStopSignals() {
  for (const int signal : kSignals)
    std::signal(signal, SIG_DFL);
  gOnStop = nullptr;
  gNotifier.reset();
}

int StopSignalCount() { return gCount; }

int LastStopSignal() { return gLast; }
