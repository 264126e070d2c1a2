#include "comm/CommPortFunc.h"

#include "records/Globals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHostAddress>
#include <QLibrary>
#include <QPointer>
#include <QSerialPort>
#include <QTcpSocket>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {

// Ports belong to the application object when there is one, so that they are
// gone before it is; the tables below only watch them.
QObject *PortParent() { return QCoreApplication::instance(); }

// Takes up to capacity of the n waiting bytes and drops the rest: the caller's
// buffer bounds one reply, and a surplus would only be the tail of a garbled
// or unexpected answer.
int TakeWaiting(QIODevice &device, qint64 waiting, uint8_t *buffer, int capacity) {
  const qint64 take = std::min<qint64>(waiting, std::max(capacity, 0));
  const qint64 got = take > 0 ? device.read(reinterpret_cast<char *>(buffer), take) : 0;
  if (waiting > take)
    device.skip(waiting - take);
  return got < 0 ? 0 : static_cast<int>(got);
}

// Every waiting byte (at most capacity) when at least minimum, and at least
// one, wait; else kPortNothingWaiting. A missing device has nothing waiting.
int ReadWaiting(QIODevice *device, qint64 minimum, int32_t &count, uint8_t *buffer, int capacity) {
  count = 0;
  const qint64 waiting = device ? device->bytesAvailable() : 0;
  if (waiting < 1 || waiting < minimum)
    return kPortNothingWaiting;
  count = TakeWaiting(*device, waiting, buffer, capacity);
  return count;
}

PortEventHandler gEventHandler = nullptr;

int WaitingCount(QIODevice *device) {
  return device ? static_cast<int>(device->bytesAvailable()) : 0;
}

// ---- RS-232 ----

std::map<int, QPointer<QSerialPort>> gUarts;

QSerialPort *Uart(int port) {
  const auto it = gUarts.find(port);
  if (it == gUarts.end())
    return nullptr;
  QSerialPort *serial = it->second.data();
  return serial && serial->isOpen() ? serial : nullptr;
}

QString UartDeviceName(int port, const char *deviceName) {
  if (deviceName && deviceName[0] != '\0')
    return QString::fromLocal8Bit(deviceName);
#ifdef _WIN32
  return QStringLiteral("COM%1").arg(port);
#else
  return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

// Negative code of a serial error (never 0).
int UartErrorCode(const QSerialPort &serial) {
  const int error = static_cast<int>(serial.error());
  return error > 0 ? -error : -1;
}

QSerialPort::Parity UartParity(int parity) {
  switch (parity) {
  case 1:
    return QSerialPort::OddParity;
  case 2:
    return QSerialPort::EvenParity;
  case 3:
    return QSerialPort::MarkParity;
  case 4:
    return QSerialPort::SpaceParity;
  default:
    return QSerialPort::NoParity;
  }
}

// Empties the input queue; 0, or a negative code when the port is not open.
int UartFlushInput(int port) {
  QSerialPort *serial = Uart(port);
  if (!serial)
    return -1;
  return serial->clear(QSerialPort::Input) ? 0 : UartErrorCode(*serial);
}

// ---- LAN ----

struct LanConnection {
  QPointer<QTcpSocket> Socket;
  QElapsedTimer Since; // the connect's start
};

std::map<int32_t, LanConnection> gSockets;
int32_t gNextLanHandle = 1;
// Why the last LAN connect failed.
PortOpenFault gLanOpenFault = kOpenFaultNone;

QTcpSocket *Socket(int32_t handle) {
  const auto it = gSockets.find(handle);
  return it == gSockets.end() ? nullptr : it->second.Socket.data();
}

// The device of the link the communication settings name.
QIODevice *LinkDevice() {
  const PowerInfo &info = gPowerInfo;
  if (info.CommType == kCommLAN)
    return Socket(info.LanHandle);
  return info.CommType == kCommRS232 ? Uart(info.CommTypeRS232Port) : nullptr;
}

// The handler runs from the event queue, not inside the device's signal or
// event: it may close the link, which deletes the device. Events of a device
// closed in the meantime, or of one that is not the link's, are dropped.
void Tell(QIODevice *device, int event) {
  if (!PortParent())
    return;
  QMetaObject::invokeMethod(
      PortParent(),
      [watched = QPointer<QIODevice>(device), event] {
        if (watched && watched == LinkDevice() && gEventHandler)
          gEventHandler(event);
      },
      Qt::QueuedConnection);
}

void WatchArrivals(QIODevice *device) {
  QObject::connect(device, &QIODevice::readyRead, device,
                   [device] { Tell(device, kPortBytesArrived); });
}

// ---- GPIB ----

#ifdef _WIN32
#define VEXA_GPIB_CALL __stdcall
#else
#define VEXA_GPIB_CALL
#endif

using IbDevFunc = int(VEXA_GPIB_CALL *)(int, int, int, int, int, int);
using IbWrtFunc = int(VEXA_GPIB_CALL *)(int, const void *, long);
using IbRdFunc = int(VEXA_GPIB_CALL *)(int, void *, long);
using IbOnlFunc = int(VEXA_GPIB_CALL *)(int, int);

struct GpibLibrary {
  bool Tried = false;
  std::unique_ptr<QLibrary> Library;
  IbDevFunc IbDev = nullptr;
  IbWrtFunc IbWrt = nullptr;
  IbRdFunc IbRd = nullptr;
  IbOnlFunc IbOnl = nullptr; // optional: releases a descriptor
  int LastDescriptor = -1;
};

GpibLibrary gGpib;

bool GpibTryLoad(std::unique_ptr<QLibrary> library) {
  if (!library->load())
    return false;
  auto dev = reinterpret_cast<IbDevFunc>(library->resolve("ibdev"));
  auto wrt = reinterpret_cast<IbWrtFunc>(library->resolve("ibwrt"));
  auto rd = reinterpret_cast<IbRdFunc>(library->resolve("ibrd"));
  if (!dev || !wrt || !rd) {
    library->unload();
    return false;
  }
  gGpib.IbDev = dev;
  gGpib.IbWrt = wrt;
  gGpib.IbRd = rd;
  gGpib.IbOnl = reinterpret_cast<IbOnlFunc>(library->resolve("ibonl"));
  gGpib.Library = std::move(library);
  return true;
}

bool GpibLoad() {
  if (gGpib.Tried)
    return gGpib.Library != nullptr;
  gGpib.Tried = true;
  const QString chosen = qEnvironmentVariable("VEXA_GPIB_LIBRARY");
  if (!chosen.isEmpty())
    return GpibTryLoad(std::make_unique<QLibrary>(chosen));
#ifdef _WIN32
  return GpibTryLoad(std::make_unique<QLibrary>(QStringLiteral("ni4882"))) ||
         GpibTryLoad(std::make_unique<QLibrary>(QStringLiteral("gpib-32")));
#else
  return GpibTryLoad(std::make_unique<QLibrary>(QStringLiteral("gpib"), 0)) ||
         GpibTryLoad(std::make_unique<QLibrary>(QStringLiteral("gpib")));
#endif
}

// GPIB board index, no secondary address, 30 ms time-out (NI-488.2 code 8),
// EOI with the last byte written, no end-of-string character.
constexpr int kGpibBoard = 0;
constexpr int kGpibSecondary = 0;
constexpr int kGpibTimeout30ms = 8;
constexpr int kGpibEot = 1;
constexpr int kGpibEos = 0;

// Status of the drain read that marks a failed GPIB connect.
constexpr int kGpibConnectFailStatus = 3;

SystemCommPort gSystemPort;
CommPort *gActivePort = &gSystemPort;

} // namespace

void PortSetEventHandler(PortEventHandler handler) { gEventHandler = handler; }

PortEventHandler PortGetEventHandler() { return gEventHandler; }

// ---- RS-232 ----

int PortUartOpen(int port, const char *deviceName, int baud, int parity, int dataBits, int stopBits,
                 int inQueueSize, int outQueueSize) {
  (void)outQueueSize; // the write side has no fixed queue: writes are handed on at once
  if (QSerialPort *old = Uart(port))
    delete old;
  gUarts.erase(port);

  auto serial = std::make_unique<QSerialPort>(PortParent());
  serial->setPortName(UartDeviceName(port, deviceName));
  serial->setReadBufferSize(inQueueSize);
  if (!serial->open(QIODevice::ReadWrite))
    return UartErrorCode(*serial);
  const bool configured =
      serial->setBaudRate(baud) && serial->setParity(UartParity(parity)) &&
      serial->setDataBits(static_cast<QSerialPort::DataBits>(dataBits)) &&
      serial->setStopBits(stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
      serial->setFlowControl(QSerialPort::NoFlowControl);
  if (!configured) {
    const int code = UartErrorCode(*serial);
    serial->close();
    return code;
  }
  serial->clear(QSerialPort::AllDirections);
  WatchArrivals(serial.get());
  gUarts[port] = serial.release();
  return 0;
}

std::string PortUartDeviceName(int port) {
  return UartDeviceName(port, gPowerInfo.CommTypeRS232Device.data()).toStdString();
}

int PortUartOpenDefault(int port, int baud) {
  return PortUartOpen(port, gPowerInfo.CommTypeRS232Device.data(), baud, 0, 8, 1, 1024, 1024);
}

int PortUartClose(int port) {
  QSerialPort *serial = Uart(port);
  gUarts.erase(port);
  if (!serial)
    return -1;
  serial->close();
  delete serial;
  return 0;
}

int PortUartClear(int port) {
  UartFlushInput(port);
  return 0;
}

int PortUartWriteBuff(int port, int length, const uint8_t *buffer) {
  const int flushed = UartFlushInput(port);
  if (flushed != 0)
    return flushed;
  QSerialPort *serial = Uart(port);
  const qint64 written = serial->write(reinterpret_cast<const char *>(buffer), length);
  // Hand the bytes to the driver now instead of on the next event-loop pass;
  // this replaces the fixed 1 ms hold after the write and never blocks.
  serial->flush();
  return written < 0 ? UartErrorCode(*serial) : static_cast<int>(written);
}

int PortUartReadBuff(int port, int32_t &count, uint8_t *buffer, int capacity) {
  return ReadWaiting(Uart(port), 1, count, buffer, capacity);
}

int PortUartReadBuffByLenght(int port, int length, uint8_t *buffer) {
  QSerialPort *serial = Uart(port);
  const qint64 waiting = serial ? serial->bytesAvailable() : 0;
  if (waiting < 1 || waiting < length)
    return kPortNothingWaiting;
  return TakeWaiting(*serial, length, buffer, length);
}

int PortUartReadBuffByMinLenght(int port, int minimum, int unused, int32_t &count, uint8_t *buffer,
                                int capacity) {
  (void)unused;
  return ReadWaiting(Uart(port), minimum, count, buffer, capacity);
}

int PortUartInQLen(int port) { return WaitingCount(Uart(port)); }

// ---- LAN ----

int PortLanOpen(const char *address, int tcpPort, int32_t &handle) {
  QHostAddress host;
  gLanOpenFault = kOpenFaultOther;
  if (!address || !host.setAddress(QString::fromLatin1(address)) ||
      host.protocol() != QAbstractSocket::IPv4Protocol || tcpPort < 0 || tcpPort > 65535)
    return -1;
  // The connect goes on in the event loop: an address that does not answer
  // takes seconds to give up on, and the window must not freeze meanwhile.
  auto *socket = new QTcpSocket(PortParent());
  WatchArrivals(socket);
  QObject::connect(socket, &QAbstractSocket::disconnected, socket,
                   [socket] { Tell(socket, kPortLinkClosed); });
  socket->connectToHost(host, static_cast<quint16>(tcpPort));
  gLanOpenFault = kOpenFaultNone;
  handle = gNextLanHandle++;
  LanConnection &connection = gSockets[handle];
  connection.Socket = socket;
  connection.Since.start();
  return 0;
}

int PortLanOpenState(int32_t handle) {
  const auto it = gSockets.find(handle);
  QTcpSocket *socket = it == gSockets.end() ? nullptr : it->second.Socket.data();
  if (socket && socket->state() == QAbstractSocket::ConnectedState) {
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    return kPortOpen;
  }
  const bool underWay = socket && (socket->state() == QAbstractSocket::HostLookupState ||
                                   socket->state() == QAbstractSocket::ConnectingState);
  if (underWay && it->second.Since.elapsed() < kPortLanConnectTimeoutMs)
    return kPortOpening;
  gLanOpenFault = underWay ? kOpenFaultNoAnswer
                  : socket && socket->error() == QAbstractSocket::ConnectionRefusedError
                      ? kOpenFaultRefused
                      : kOpenFaultOther;
  PortLanClose(handle);
  return kPortOpenFailed;
}

int PortLanClose(int32_t handle) {
  QTcpSocket *socket = Socket(handle);
  gSockets.erase(handle);
  if (!socket)
    return -1;
  if (socket->state() == QAbstractSocket::ConnectedState) {
    socket->flush();
    socket->disconnectFromHost();
  } else {
    socket->abort();
  }
  delete socket;
  return 0;
}

int PortLanWriteBuff(int32_t handle, int length, const uint8_t *buffer) {
  QTcpSocket *socket = Socket(handle);
  qint64 sent = -1;
  if (socket && socket->state() == QAbstractSocket::ConnectedState) {
    sent = socket->write(reinterpret_cast<const char *>(buffer), length);
    socket->flush();
  }
  if (sent <= 0)
    std::fprintf(stderr, "send call failed: %s\n",
                 socket ? qPrintable(socket->errorString()) : "no such connection");
  return static_cast<int>(sent);
}

int PortLanReadBuff(int32_t handle, int32_t &count, uint8_t *buffer, int capacity) {
  return ReadWaiting(Socket(handle), 1, count, buffer, capacity);
}

int PortLanReadBuffByLenght(int32_t handle, int length, uint8_t *buffer, int capacity) {
  int32_t count = 0;
  return ReadWaiting(Socket(handle), length, count, buffer, capacity);
}

int PortLanReadBuffByMinLenght(int32_t handle, int minimum, int unused, int32_t &count,
                               uint8_t *buffer, int capacity) {
  (void)unused;
  return ReadWaiting(Socket(handle), minimum, count, buffer, capacity);
}

int PortLanInQLen(int32_t handle) { return WaitingCount(Socket(handle)); }

bool PortLanIsOpen(int32_t handle) {
  QTcpSocket *socket = Socket(handle);
  return socket && socket->state() == QAbstractSocket::ConnectedState;
}

// ---- GPIB ----

int PortGPIBOpen(int primaryAddress) {
  if (!GpibLoad())
    return -1;
  // Each connect asks for a new descriptor; the one of the previous connect
  // is released first so that descriptors do not pile up in the driver.
  if (gGpib.LastDescriptor >= 0 && gGpib.IbOnl)
    gGpib.IbOnl(gGpib.LastDescriptor, 0);
  gGpib.LastDescriptor = -1;
  const int descriptor =
      gGpib.IbDev(kGpibBoard, primaryAddress, kGpibSecondary, kGpibTimeout30ms, kGpibEot, kGpibEos);
  if (descriptor >= 0)
    gGpib.LastDescriptor = descriptor;
  return descriptor;
}

int PortGPIBClose(int unitDescriptor) {
  (void)unitDescriptor;
  return 0;
}

int PortGPIBWriteBuff(int unitDescriptor, int length, const uint8_t *buffer) {
  if (!GpibLoad())
    return kPortGPIBNoLibrary;
  return gGpib.IbWrt(unitDescriptor, buffer, length);
}

int PortGPIBReadBuffByLenght(int unitDescriptor, int length, uint8_t *buffer) {
  if (!GpibLoad())
    return kPortGPIBNoLibrary;
  return gGpib.IbRd(unitDescriptor, buffer, std::clamp(length, 0, kPortRxBuffSize));
}

int PortGPIBLibraryLoaded() { return GpibLoad() ? 1 : 0; }

void PortGPIBUnloadLibrary() {
  if (gGpib.Library) {
    if (gGpib.LastDescriptor >= 0 && gGpib.IbOnl)
      gGpib.IbOnl(gGpib.LastDescriptor, 0);
    gGpib.Library->unload();
  }
  gGpib = GpibLibrary{};
}

// ---- The system's link ----

int SystemCommPort::Open() {
  Failure = PortOpenFailure{};
  const int result = OpenPort();
  if (result == kPortOpenFailed && Failure.Fault == kOpenFaultNone)
    Failure.Fault = kOpenFaultOther;
  return result;
}

int SystemCommPort::OpenPort() {
  PowerInfo &info = gPowerInfo;
  switch (info.CommType) {
  case kCommRS232: {
    const int code = PortUartOpenDefault(info.CommTypeRS232Port, info.CommTypeRS232Baudrate);
    if (code == -QSerialPort::DeviceNotFoundError)
      Failure.Fault = kOpenFaultNoDevice;
    if (code == -QSerialPort::PermissionError) {
      // The owning group tells the user which group to join.
      Failure.Fault = kOpenFaultPermission;
      Failure.Group = QFileInfo(QString::fromStdString(PortUartDeviceName(info.CommTypeRS232Port)))
                          .group()
                          .toStdString();
    }
    if (code == -QSerialPort::OpenError)
      Failure.Fault = kOpenFaultBusy;
    return code == 0 ? 0 : -1;
  }
  case kCommLAN: {
    std::snprintf(info.LanIPStr.data(), info.LanIPStr.size(), "%d.%d.%d.%d", info.CommTypeLAN_IP1,
                  info.CommTypeLAN_IP2, info.CommTypeLAN_IP3, info.CommTypeLAN_IP4);
    if (PortLanOpen(info.LanIPStr.data(), info.CommTypeLAN_Port, info.LanHandle) != 0)
      return kPortOpenFailed;
    return kPortOpening;
  }
  case kCommGPIB: {
    info.GPIBHandle = PortGPIBOpen(info.CommTypeGPIBPort);
    // A driver that is missing or refuses the descriptor fails the connect;
    // otherwise only the drain read's status 3 does.
    if (info.GPIBHandle < 0) {
      Failure.Fault = PortGPIBLibraryLoaded() == 1 ? kOpenFaultGpibDevice : kOpenFaultNoGpibDriver;
      return -1;
    }
    std::array<uint8_t, kPortRxBuffSize> drain{};
    if (PortGPIBReadBuffByLenght(info.GPIBHandle, 255, drain.data()) != kGpibConnectFailStatus)
      return 0;
    Failure.Fault = kOpenFaultGpibDevice;
    return -1;
  }
  default:
    return -1;
  }
}

int SystemCommPort::OpenState() {
  if (gPowerInfo.CommType != kCommLAN)
    return kPortOpen;
  const int state = PortLanOpenState(gPowerInfo.LanHandle);
  if (state == kPortOpenFailed)
    Failure.Fault = gLanOpenFault;
  return state;
}

void SystemCommPort::Close() {
  PowerInfo &info = gPowerInfo;
  std::array<uint8_t, kPortRxBuffSize> drain{};
  switch (info.CommType) {
  case kCommRS232:
    PortUartClear(info.CommTypeRS232Port);
    PortUartClose(info.CommTypeRS232Port);
    break;
  case kCommLAN: {
    int32_t count = 0;
    PortLanReadBuff(info.LanHandle, count, drain.data(), static_cast<int>(drain.size()));
    PortLanClose(info.LanHandle);
    break;
  }
  case kCommGPIB:
    PortGPIBReadBuffByLenght(info.GPIBHandle, 255, drain.data());
    PortGPIBClose(info.GPIBHandle);
    break;
  default:
    break;
  }
}

void SystemCommPort::Clear() {
  if (gPowerInfo.CommType == kCommRS232)
    PortUartClear(gPowerInfo.CommTypeRS232Port);
}

int SystemCommPort::Write(const uint8_t *buffer, int32_t length) {
  const PowerInfo &info = gPowerInfo;
  switch (info.CommType) {
  case kCommRS232:
    return PortUartWriteBuff(info.CommTypeRS232Port, length, buffer);
  case kCommLAN:
    return PortLanWriteBuff(info.LanHandle, length, buffer);
  case kCommGPIB:
    return PortGPIBWriteBuff(info.GPIBHandle, length, buffer);
  default:
    return 0;
  }
}

int32_t SystemCommPort::Read(uint8_t *buffer, int32_t capacity, int32_t expectLen) {
  const PowerInfo &info = gPowerInfo;
  int32_t count = 0;
  switch (info.CommType) {
  case kCommRS232:
    PortUartReadBuff(info.CommTypeRS232Port, count, buffer, capacity);
    return count;
  case kCommLAN:
    PortLanReadBuff(info.LanHandle, count, buffer, capacity);
    return count;
  case kCommGPIB: {
    // The driver reads up to the expected count and the decoder judges what
    // came; a buffer the read left untouched (a frame never ends in 0) is no
    // reply at all.
    const int32_t length = std::clamp(expectLen, 0, capacity);
    std::fill_n(buffer, length, uint8_t{0});
    PortGPIBReadBuffByLenght(info.GPIBHandle, length, buffer);
    return std::all_of(buffer, buffer + length, [](uint8_t b) { return b == 0; }) ? 0 : length;
  }
  default:
    return 0;
  }
}

CommPort &ActiveCommPort() { return *gActivePort; }

void SetCommPort(CommPort *port) { gActivePort = port ? port : &gSystemPort; }
