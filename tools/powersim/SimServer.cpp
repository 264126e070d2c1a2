#include "tools/powersim/SimServer.h"

#include <QFile>
#include <QHostAddress>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kExpireEveryMs = 100;

} // namespace

SimServer::SimServer(PowerDevice &device, const SimOptions &options, QObject *parent)
    : QObject(parent), device_(device), options_(options), control_(device) {
  clock_.start();
  control_.OnDrop = [this] { DropAll(); };
  control_.OnQuit = [this] { Q_EMIT QuitRequested(); };
  expireTimer_.setInterval(kExpireEveryMs);
  connect(&expireTimer_, &QTimer::timeout, this, [this] {
    const int64_t now = Now();
    std::vector<int> ids;
    for (auto &[id, c] : connections_)
      ids.push_back(id);
    for (int id : ids) {
      Connection *c = Find(id);
      if (!c)
        continue;
      for (const auto &piece : c->Assembler.Expire(now)) {
        c = Find(id); // a drop while handling removes the connection
        if (!c)
          break;
        Handle(*c, piece);
      }
    }
  });
}

SimServer::~SimServer() { ClosePty(); }

int64_t SimServer::Now() {
  device_.SetNowMs(clock_.elapsed());
  return device_.NowMs();
}

void SimServer::Print(const QString &line) {
  std::fprintf(stdout, "%s\n", qPrintable(line));
  std::fflush(stdout);
}

bool SimServer::Start(QString *error) {
  if (!options_.LogFile.isEmpty() && !log_.Open(options_.LogFile.toStdString())) {
    *error = "cannot open the log file " + options_.LogFile;
    return false;
  }
  if (options_.Lan.Enabled) {
    lanServer_ = new QTcpServer(this);
    if (!Listen(lanServer_, options_.Lan, "lan", error))
      return false;
    AcceptFrames(lanServer_, "lan");
  }
  if (options_.Gpib.Enabled) {
    gpibServer_ = new QTcpServer(this);
    if (!Listen(gpibServer_, options_.Gpib, "gpib", error))
      return false;
    AcceptFrames(gpibServer_, "gpib");
  }
  if (options_.Serial && !OpenPty(error))
    return false;
  if (options_.Control.Enabled) {
    controlServer_ = new QTcpServer(this);
    if (!Listen(controlServer_, options_.Control, "control", error))
      return false;
    connect(controlServer_, &QTcpServer::newConnection, this, &SimServer::AcceptControl);
  }
  if (options_.Stdin) {
    stdinNotifier_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(stdinNotifier_, &QSocketNotifier::activated, this, &SimServer::OnStdinReadable);
  }
  expireTimer_.start();
  Print("ready");
  return true;
}

bool SimServer::Listen(QTcpServer *server, const SimEndpoint &endpoint, const char *label,
                       QString *error) {
  const QHostAddress address(endpoint.Host);
  if (address.isNull()) {
    *error = QString("%1: not an IP address: %2").arg(label, endpoint.Host);
    return false;
  }
  if (!server->listen(address, endpoint.Port)) {
    *error = QString("%1: cannot listen on %2:%3: %4")
                 .arg(label, endpoint.Host)
                 .arg(endpoint.Port)
                 .arg(server->errorString());
    return false;
  }
  Print(
      QString("%1 %2:%3").arg(label, server->serverAddress().toString()).arg(server->serverPort()));
  return true;
}

void SimServer::AcceptFrames(QTcpServer *server, const char *kind) {
  const std::string prefix = kind;
  connect(server, &QTcpServer::newConnection, this, [this, server, prefix] {
    while (QTcpSocket *socket = server->nextPendingConnection()) {
      auto c = std::make_unique<Connection>();
      c->Id = nextId_++;
      c->Name = prefix + "#" + std::to_string(c->Id);
      c->Socket = socket;
      socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
      const int id = c->Id;
      connect(socket, &QTcpSocket::readyRead, this, [this, id] {
        Connection *conn = Find(id);
        if (!conn || !conn->Socket)
          return;
        const QByteArray bytes = conn->Socket->readAll();
        OnBytes(id, reinterpret_cast<const uint8_t *>(bytes.constData()),
                static_cast<size_t>(bytes.size()));
      });
      connect(socket, &QTcpSocket::disconnected, this, [this, id] { Forget(id); });
      log_.Write(FrameLog::Direction::None, c->Name, Now(), nullptr, 0, "connected", "");
      connections_[id] = std::move(c);
    }
  });
}

SimServer::Connection *SimServer::Find(int id) {
  auto it = connections_.find(id);
  return it == connections_.end() ? nullptr : it->second.get();
}

void SimServer::Forget(int id) {
  auto it = connections_.find(id);
  if (it == connections_.end())
    return;
  log_.Write(FrameLog::Direction::None, it->second->Name, Now(), nullptr, 0, "disconnected", "");
  if (it->second->Socket)
    it->second->Socket->deleteLater();
  connections_.erase(it);
}

void SimServer::OnBytes(int id, const uint8_t *data, size_t count) {
  Connection *c = Find(id);
  if (!c)
    return;
  const auto pieces = c->Assembler.Feed(data, count, Now());
  for (const auto &piece : pieces) {
    // A drop inside Handle removes the connection; stop at once then.
    c = Find(id);
    if (!c)
      return;
    Handle(*c, piece);
  }
}

void SimServer::Handle(Connection &c, const FrameAssembler::Piece &piece) {
  const int64_t now = Now();
  if (!piece.IsFrame) {
    log_.Write(FrameLog::Direction::Garbage, c.Name, now, piece.Bytes.data(), piece.Bytes.size(),
               "garbage", "discarded");
    return;
  }
  const PowerDevice::Response r = device_.HandleFrame(piece.Bytes.data(), piece.Bytes.size());
  log_.Write(FrameLog::Direction::In, c.Name, now, piece.Bytes.data(), piece.Bytes.size(), r.Name,
             "");
  // A cable's time: the frame came in and the reply goes out at the line rate.
  const int lineMs = c.PtyFd >= 0 && options_.LineRate > 0
                         ? static_cast<int>(std::lround((piece.Bytes.size() + r.Reply.size()) * 10 *
                                                        1000.0 / options_.LineRate))
                         : 0;
  const int holdMs = r.DelayMs + lineMs;
  if (r.Reply.empty()) {
    log_.Write(FrameLog::Direction::None, c.Name, now, nullptr, 0, r.Name, r.Note);
  } else if (holdMs > 0) {
    SendLater(c.Id, r.Reply, holdMs, r.Name, r.Note);
    log_.Write(FrameLog::Direction::None, c.Name, now, nullptr, 0, r.Name,
               "reply held " + std::to_string(holdMs) + " ms");
  } else {
    log_.Write(FrameLog::Direction::Out, c.Name, now, r.Reply.data(), r.Reply.size(), r.Name,
               r.Note);
    Send(c, r.Reply);
  }
  ++framesHandled_;
  if (options_.DropAfter > 0 && !dropDone_ && framesHandled_ >= options_.DropAfter) {
    dropDone_ = true;
    DropAll();
  }
}

void SimServer::SendLater(int id, const std::vector<uint8_t> &reply, int delayMs,
                          const std::string &name, const std::string &note) {
  QTimer::singleShot(delayMs, this, [this, id, reply, name, note] {
    Connection *c = Find(id);
    if (!c)
      return;
    log_.Write(FrameLog::Direction::Out, c->Name, Now(), reply.data(), reply.size(), name,
               note.empty() ? "held reply" : "held reply; " + note);
    Send(*c, reply);
  });
}

void SimServer::Send(Connection &c, const std::vector<uint8_t> &reply) {
  if (c.Socket) {
    c.Socket->write(reinterpret_cast<const char *>(reply.data()),
                    static_cast<qint64>(reply.size()));
  } else if (c.PtyFd >= 0) {
    size_t done = 0;
    while (done < reply.size()) {
      const ssize_t n = ::write(c.PtyFd, reply.data() + done, reply.size() - done);
      if (n <= 0) {
        if (n < 0 && errno == EINTR)
          continue;
        break; // the line is full or gone: the reply is lost, as on a cable
      }
      done += static_cast<size_t>(n);
    }
  }
}

void SimServer::DropAll() {
  std::vector<int> ids;
  for (auto &[id, c] : connections_)
    if (c->Socket)
      ids.push_back(id);
  for (int id : ids) {
    Connection *c = Find(id);
    QPointer<QTcpSocket> socket = c->Socket;
    Forget(id);
    if (socket)
      socket->abort();
  }
  if (ptyId_ != 0) {
    ClosePty();
    QString error;
    if (!OpenPty(&error))
      std::fprintf(stderr, "powersim: %s\n", qPrintable(error));
  }
}

// ---- pseudo-terminal -------------------------------------------------------

bool SimServer::OpenPty(QString *error) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    *error = QString("cannot open a pseudo-terminal: %1").arg(std::strerror(errno));
    if (master >= 0)
      ::close(master);
    return false;
  }
  const QString path = QString::fromLocal8Bit(ptsname(master));
  // Hold the line open ourselves, so the master side never reads an error
  // while no program has the port open, and make it raw: no echo, no line
  // editing, every byte as it is.
  ptySlaveFd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
  if (ptySlaveFd_ >= 0) {
    termios t{};
    if (tcgetattr(ptySlaveFd_, &t) == 0) {
      cfmakeraw(&t);
      tcsetattr(ptySlaveFd_, TCSANOW, &t);
    }
  }
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  auto c = std::make_unique<Connection>();
  c->Id = nextId_++;
  c->Name = "serial";
  c->PtyFd = master;
  ptyId_ = c->Id;
  connections_[c->Id] = std::move(c);
  ptyNotifier_ = new QSocketNotifier(master, QSocketNotifier::Read, this);
  connect(ptyNotifier_, &QSocketNotifier::activated, this, &SimServer::OnPtyReadable);
  if (!options_.SerialLink.isEmpty()) {
    QFile::remove(options_.SerialLink);
    if (!QFile::link(path, options_.SerialLink))
      std::fprintf(stderr, "powersim: cannot make the link %s\n", qPrintable(options_.SerialLink));
  }
  Print("serial " + path);
  return true;
}

void SimServer::ClosePty() {
  if (ptyId_ == 0)
    return;
  delete ptyNotifier_;
  ptyNotifier_ = nullptr;
  if (Connection *c = Find(ptyId_)) {
    ::close(c->PtyFd);
    connections_.erase(ptyId_);
  }
  if (ptySlaveFd_ >= 0)
    ::close(ptySlaveFd_);
  ptySlaveFd_ = -1;
  ptyId_ = 0;
}

void SimServer::OnPtyReadable() {
  Connection *c = Find(ptyId_);
  if (!c)
    return;
  uint8_t buffer[1024];
  const ssize_t n = ::read(c->PtyFd, buffer, sizeof buffer);
  if (n > 0)
    OnBytes(ptyId_, buffer, static_cast<size_t>(n));
}

// ---- control ---------------------------------------------------------------

QString SimServer::ControlLine(const QString &line) {
  Now();
  return QString::fromStdString(control_.Execute(line.trimmed().toStdString()));
}

void SimServer::OnStdinReadable() {
  char buffer[512];
  const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
  if (n <= 0) {
    // End of input (or no input at all, as when started in the background):
    // keep running, just stop listening to it.
    stdinNotifier_->setEnabled(false);
    return;
  }
  stdinBuffer_.append(buffer, static_cast<size_t>(n));
  size_t eol;
  while ((eol = stdinBuffer_.find('\n')) != std::string::npos) {
    const QString line = QString::fromStdString(stdinBuffer_.substr(0, eol));
    stdinBuffer_.erase(0, eol + 1);
    const QString answer = ControlLine(line);
    if (!answer.isEmpty())
      Print(answer);
  }
}

void SimServer::AcceptControl() {
  while (QTcpSocket *socket = controlServer_->nextPendingConnection()) {
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
      while (socket->canReadLine()) {
        const QString answer = ControlLine(QString::fromUtf8(socket->readLine()));
        if (!answer.isEmpty())
          socket->write((answer + "\n").toUtf8());
      }
    });
  }
}
