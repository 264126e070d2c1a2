// Event-loop helpers for the tests of the ports: the ports are Qt objects
// that only see bytes when the event loop runs.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

// The application object the ports need; created once for the test program.
inline QCoreApplication &PortTestApp() {
  if (QCoreApplication *app = QCoreApplication::instance())
    return *app;
  static int argc = 1;
  static char name[] = "test_comm";
  static char *argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

// Runs the event loop until done() holds or timeoutMs have passed.
inline bool PumpUntil(const std::function<bool()> &done, int timeoutMs = 3000) {
  PortTestApp();
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs)
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

// Runs the event loop for about ms milliseconds.
inline void PumpFor(int ms) {
  PortTestApp();
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
}
