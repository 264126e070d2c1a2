// powersim: a simulated power source on TCP, a pseudo-terminal and the
// stand-in GPIB library's endpoint. See "powersim --help".
#include "tools/powersim/PowerDevice.h"
#include "tools/powersim/SimModel.h"
#include "tools/powersim/SimOptions.h"
#include "tools/powersim/SimServer.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  SimOptions options;
  QString error;
  if (!ParseSimOptions(app.arguments().mid(1), options, &error)) {
    std::fprintf(stderr, "powersim: %s\n(see powersim --help)\n", qPrintable(error));
    return 2;
  }
  if (options.Help) {
    std::fputs(qPrintable(SimUsage()), stdout);
    return 0;
  }
  std::string why;
  auto device = PowerDevice::Create(options.Device, &why);
  if (!device) {
    std::fprintf(stderr, "powersim: %s\n", why.c_str());
    return 2;
  }
  device->Faults() = options.Faults;
  if (options.Alarm != 0)
    device->RaiseAlarm(options.Alarm);
  // A reply to a closed pseudo-terminal or socket must not end the program.
  std::signal(SIGPIPE, SIG_IGN);

  SimServer server(*device, options);
  QObject::connect(&server, &SimServer::QuitRequested, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  std::printf("model %s \"%s\" address %d\n", SimModelName(device->ModelType()),
              device->Identifier().c_str(), device->Address());
  std::fflush(stdout);
  if (!server.Start(&error)) {
    std::fprintf(stderr, "powersim: %s\n", qPrintable(error));
    return 1;
  }
  return app.exec();
}
