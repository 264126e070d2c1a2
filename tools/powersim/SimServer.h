// The endpoints of powersim: TCP, the stand-in GPIB library's TCP endpoint,
// a pseudo-terminal serial line and the control interface, all on the Qt
// event loop of one thread. Every endpoint feeds the same device.
#pragma once

#include "tools/powersim/FrameAssembler.h"
#include "tools/powersim/FrameLog.h"
#include "tools/powersim/PowerDevice.h"
#include "tools/powersim/SimControl.h"
#include "tools/powersim/SimOptions.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <map>
#include <memory>

class QSocketNotifier;
class QTcpServer;
class QTcpSocket;

class SimServer : public QObject {
  Q_OBJECT

public:
  SimServer(PowerDevice &device, const SimOptions &options, QObject *parent = nullptr);
  ~SimServer() override;

  // Opens every endpoint asked for and prints its line on standard output,
  // then "ready". false with a message when one cannot be opened.
  bool Start(QString *error);

  // Closes every frame connection (TCP clients; the pseudo-terminal is hung
  // up and a new one opened in its place).
  void DropAll();

Q_SIGNALS:
  void QuitRequested();

private:
  struct Connection {
    int Id = 0;
    std::string Name; // "lan#1", "gpib#2", "serial"
    QPointer<QTcpSocket> Socket;
    int PtyFd = -1;
    FrameAssembler Assembler;
  };

  bool Listen(QTcpServer *server, const SimEndpoint &endpoint, const char *label, QString *error);
  void AcceptFrames(QTcpServer *server, const char *kind);
  void OnBytes(int id, const uint8_t *data, size_t count);
  void Handle(Connection &c, const FrameAssembler::Piece &piece);
  void SendLater(int id, const std::vector<uint8_t> &reply, int delayMs, const std::string &name,
                 const std::string &note);
  void Send(Connection &c, const std::vector<uint8_t> &reply);
  void Forget(int id);
  Connection *Find(int id);
  int64_t Now();
  void Print(const QString &line);

  bool OpenPty(QString *error);
  void ClosePty();
  void OnPtyReadable();

  void OnStdinReadable();
  void AcceptControl();
  QString ControlLine(const QString &line);

  PowerDevice &device_;
  SimOptions options_;
  SimControl control_;
  FrameLog log_;
  QElapsedTimer clock_;
  QTimer expireTimer_;

  QTcpServer *lanServer_ = nullptr;
  QTcpServer *gpibServer_ = nullptr;
  QTcpServer *controlServer_ = nullptr;
  std::map<int, std::unique_ptr<Connection>> connections_;
  int nextId_ = 1;
  int ptyId_ = 0;
  int ptySlaveFd_ = -1;
  QSocketNotifier *ptyNotifier_ = nullptr;
  QSocketNotifier *stdinNotifier_ = nullptr;
  std::string stdinBuffer_;
  int framesHandled_ = 0;
  bool dropDone_ = false;
};
