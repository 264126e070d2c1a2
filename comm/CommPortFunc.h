// The port layer: RS-232, LAN and GPIB behind the same few byte-moving
// operations (open, close, clear, write a buffer, read what has arrived).
// It knows nothing of frames or commands.
//
// Ports are Qt objects driven by the event loop of the thread that uses them:
// a read takes what Qt has already buffered and never waits, so the caller
// must let the event loop run between a write and the read of its reply (the
// 50 ms timer does). Only the GPIB read waits, for at most its 30 ms time-out,
// as the GPIB driver does.
#pragma once

#include <cstdint>
#include <string>

// Result of a read when nothing (or not enough) is waiting; the out count is 0.
constexpr int kPortNothingWaiting = -1111;
// Size of the caller's receive buffer: a read never delivers more.
constexpr int kPortRxBuffSize = 256;
// Time a LAN connect may take before it counts as failed.
constexpr int kPortLanConnectTimeoutMs = 3000;
// Results of an open and of the state of an open under way.
constexpr int kPortOpen = 0;
constexpr int kPortOpenFailed = -1;
constexpr int kPortOpening = 1;

// What the port layer reports from the event loop.
enum PortEvent : int {
  kPortBytesArrived = 1, // bytes came in on the serial port or the LAN connection
  kPortLinkClosed = 2,   // the other end closed the LAN connection
};
// Installs the function told of port events (nullptr: nobody). It is called
// from the event loop, never from inside a port operation or a port's own
// signal, so it may write, read and close.
using PortEventHandler = void (*)(int event);
void PortSetEventHandler(PortEventHandler handler);
PortEventHandler PortGetEventHandler();

// ---- RS-232 ---------------------------------------------------------------
// A port is named by its number 1..10. The device opened is deviceName when it
// is not empty, else "COMn" on Windows and /dev/ttyS<n-1> elsewhere.

// Opens with every parameter given: parity 0 none, 1 odd, 2 even; queue sizes in
// bytes (the input queue bounds what is buffered). Hardware handshake off, both
// queues emptied. 0 = open; a negative code when the port cannot be opened.
int PortUartOpen(int port, const char *deviceName, int baud, int parity, int dataBits, int stopBits,
                 int inQueueSize, int outQueueSize);
// 8N1, 1024-byte queues, the device the user chose in PowerInfo (if any).
int PortUartOpenDefault(int port, int baud);
// 0, or a negative code when the port is not open.
int PortUartClose(int port);
// Discards whatever is waiting in the input queue. 0.
int PortUartClear(int port);
// Discards waiting input first, so that a late reply to an earlier frame cannot
// be taken for the answer to this one, then writes. Bytes written, or negative.
int PortUartWriteBuff(int port, int length, const uint8_t *buffer);
// Takes every waiting byte (at most capacity; the surplus is dropped).
// Bytes read, or kPortNothingWaiting with count 0.
int PortUartReadBuff(int port, int32_t &count, uint8_t *buffer, int capacity = kPortRxBuffSize);
// Exactly length bytes when at least length (and at least 1) wait, else
// kPortNothingWaiting and nothing is taken.
int PortUartReadBuffByLenght(int port, int length, uint8_t *buffer);
// Every waiting byte when at least minimum (and at least 1) wait.
int PortUartReadBuffByMinLenght(int port, int minimum, int unused, int32_t &count, uint8_t *buffer,
                                int capacity = kPortRxBuffSize);
// Bytes waiting in the input queue (0 when the port is not open).
int PortUartInQLen(int port);
// The device a port number opens with the device the user chose in PowerInfo.
std::string PortUartDeviceName(int port);

// ---- LAN ------------------------------------------------------------------
// A TCP connection is named by the handle returned at open (kept in
// PowerInfo.LanHandle).

// Starts connecting to the dotted IPv4 address and TCP port and returns at
// once: 0 with the handle stored (PortLanOpenState tells how it goes), or -1
// for an address or port that cannot be connected to (nothing stays open).
int PortLanOpen(const char *address, int tcpPort, int32_t &handle);
// The connect of PortLanOpen: kPortOpen when established, kPortOpening while
// under way, kPortOpenFailed when refused or not done within
// kPortLanConnectTimeoutMs (the handle is then closed and forgotten).
int PortLanOpenState(int32_t handle);
// Shuts both directions and closes. 0, or -1 for an unknown handle.
int PortLanClose(int32_t handle);
// Queues the bytes and hands them to the system at once. Bytes accepted; a
// result of 0 or less prints "send call failed" on the standard error stream.
int PortLanWriteBuff(int32_t handle, int length, const uint8_t *buffer);
// Takes every waiting byte (at most capacity; the surplus is dropped).
// Bytes read, or kPortNothingWaiting with count 0.
int PortLanReadBuff(int32_t handle, int32_t &count, uint8_t *buffer,
                    int capacity = kPortRxBuffSize);
// Every waiting byte (at most capacity) when at least length (and at least 1) wait.
int PortLanReadBuffByLenght(int32_t handle, int length, uint8_t *buffer,
                            int capacity = kPortRxBuffSize);
int PortLanReadBuffByMinLenght(int32_t handle, int minimum, int unused, int32_t &count,
                               uint8_t *buffer, int capacity = kPortRxBuffSize);
// Bytes waiting on the connection (0 for an unknown handle).
int PortLanInQLen(int32_t handle);
// True while the connection of this handle is established.
bool PortLanIsOpen(int32_t handle);

// ---- GPIB -----------------------------------------------------------------
// The NI-488.2 entry points ibdev, ibwrt and ibrd are resolved from the GPIB
// driver library at their first use: the file named by the environment
// variable VEXA_GPIB_LIBRARY when it is set, else the system's library
// (libgpib.so.0 of linux-gpib; ni4882.dll or gpib-32.dll on Windows).

// Board 0, the primary address, no secondary address, 30 ms time-out, EOI with
// the last byte, no end-of-string character. The unit descriptor, or a
// negative value when the library or the device is not available. A descriptor
// of an earlier connection is released first (when the library can).
int PortGPIBOpen(int primaryAddress);
// Leaves the descriptor as it is. 0.
int PortGPIBClose(int unitDescriptor);
// The status word of ibwrt, or kPortGPIBNoLibrary.
int PortGPIBWriteBuff(int unitDescriptor, int length, const uint8_t *buffer);
// Reads exactly length bytes (at most kPortRxBuffSize): returns when they have
// come, at the device's END, or after the time-out. The status word of ibrd.
int PortGPIBReadBuffByLenght(int unitDescriptor, int length, uint8_t *buffer);

// Status returned by the GPIB operations when no library could be loaded
// (the error bit of the status word alone).
constexpr int kPortGPIBNoLibrary = 0x8000;
// 1 when the GPIB entry points are available (loads the library on first call).
int PortGPIBLibraryLoaded();
// Forgets the loaded library so that the next use loads it again (tests switch
// VEXA_GPIB_LIBRARY between cases).
void PortGPIBUnloadLibrary();

// ---- The link as the scheduler and the connection procedure see it ---------

// One open link to the power source. The system's link chooses RS-232, LAN or
// GPIB by PowerInfo.CommType at every call; tests and tools may install
// another (a simulated cable) with SetCommPort.
// Why the link could not be opened, for the message that says so.
enum PortOpenFault : int {
  kOpenFaultNone = 0,
  kOpenFaultOther,
  kOpenFaultNoDevice,     // no such serial device
  kOpenFaultPermission,   // the serial device is not the user's to open
  kOpenFaultBusy,         // another program holds the serial device
  kOpenFaultRefused,      // nothing listens on the TCP port
  kOpenFaultNoAnswer,     // the address did not answer in time
  kOpenFaultNoGpibDriver, // no GPIB driver library
  kOpenFaultGpibDevice,   // the GPIB driver refused the device
};

struct PortOpenFailure {
  int Fault = kOpenFaultNone;
  std::string Group; // the group owning a serial device without permission
};

class CommPort {
public:
  virtual ~CommPort() = default;
  // Opens the link the communication settings name: kPortOpen, or
  // kPortOpening when the open goes on in the background (a LAN connect;
  // OpenState tells how it ends), or kPortOpenFailed with nothing left open.
  virtual int Open() = 0;
  // The state of an open that returned kPortOpening, asked once per tick.
  virtual int OpenState() { return kPortOpen; }
  // Drains what is waiting and closes.
  virtual void Close() = 0;
  // Empties the input queue where the link keeps one (RS-232).
  virtual void Clear() = 0;
  // Sends a frame; the result is not examined by the scheduler.
  virtual int Write(const uint8_t *buffer, int32_t length) = 0;
  // Reads the reply once: every waiting byte (RS-232, LAN) or exactly
  // expectLen bytes (GPIB), never more than capacity. Returns the received
  // count the scheduler stores in RxLen.
  virtual int32_t Read(uint8_t *buffer, int32_t capacity, int32_t expectLen) = 0;
  // Why the last Open failed (kOpenFaultNone when the link cannot tell).
  virtual PortOpenFailure OpenFailure() const { return {}; }
};

// The port layer of the CommType in PowerInfo, with the operations above.
class SystemCommPort : public CommPort {
public:
  int Open() override;
  int OpenState() override;
  void Close() override;
  void Clear() override;
  int Write(const uint8_t *buffer, int32_t length) override;
  int32_t Read(uint8_t *buffer, int32_t capacity, int32_t expectLen) override;
  PortOpenFailure OpenFailure() const override { return Failure; }

private:
  int OpenPort();
  PortOpenFailure Failure;
};

// The link in force; never null (the system's link until another is installed).
CommPort &ActiveCommPort();
// Installs a link (nullptr restores the system's). The caller keeps ownership.
void SetCommPort(CommPort *port);
