// The powersim program itself: started as a process, reached over a real
// TCP socket and over its pseudo-terminal, steered through standard input.
#include "comm/CommPC.h"
#include "comm/FPBlocks.h"
#include "records/Globals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

class SimProcess : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    if (!QCoreApplication::instance()) {
      static int argc = 1;
      static char name[] = "test_powersim";
      static char *argv[] = {name, nullptr};
      static QCoreApplication app(argc, argv);
    }
  }

  void TearDown() override {
    if (process_.state() != QProcess::NotRunning) {
      process_.write("quit\n");
      if (!process_.waitForFinished(3000))
        process_.kill();
    }
  }

  // Starts powersim and reads its start lines up to "ready".
  void Start(const QStringList &args) {
    process_.start(POWERSIM_EXE, args);
    ASSERT_TRUE(process_.waitForStarted(5000));
    for (;;) {
      const QString line = ReadLine();
      ASSERT_FALSE(line.isNull()) << "powersim ended before it was ready: "
                                  << process_.readAllStandardError().toStdString();
      const QStringList words = line.split(' ');
      if (line == "ready")
        break;
      if (words.size() == 2)
        endpoints_[words[0]] = words[1];
    }
  }

  // One line of powersim's standard output, null when none came in time.
  QString ReadLine(int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!process_.canReadLine()) {
      if (deadline.hasExpired() || !process_.waitForReadyRead(100)) {
        if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
          return {};
      }
    }
    return QString::fromUtf8(process_.readLine()).trimmed();
  }

  QString Control(const QString &line) {
    process_.write((line + "\n").toUtf8());
    return ReadLine();
  }

  QTcpSocket *Connect(const QString &endpoint) {
    auto *socket = new QTcpSocket;
    const int colon = endpoint.lastIndexOf(':');
    socket->connectToHost(endpoint.left(colon), endpoint.mid(colon + 1).toUShort());
    EXPECT_TRUE(socket->waitForConnected(3000));
    return socket;
  }

  static QByteArray Frame(int cmd1, int cmd2) {
    uint8_t f[8];
    CommFrameComplete(f, 8, 1, cmd1, cmd2);
    return QByteArray(reinterpret_cast<const char *>(f), 8);
  }

  static QByteArray ReadExactly(QTcpSocket &socket, int count, int timeoutMs = 3000) {
    QByteArray bytes;
    QDeadlineTimer deadline(timeoutMs);
    while (bytes.size() < count && !deadline.hasExpired()) {
      if (socket.bytesAvailable() == 0)
        socket.waitForReadyRead(100);
      bytes += socket.read(count - bytes.size());
    }
    return bytes;
  }

  static QByteArray ReadExactly(int fd, int count) {
    QByteArray bytes;
    QDeadlineTimer deadline(3000);
    while (bytes.size() < count && !deadline.hasExpired()) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 100) <= 0)
        continue;
      char buffer[256];
      const ssize_t n = ::read(fd, buffer, static_cast<size_t>(count - bytes.size()));
      if (n > 0)
        bytes.append(buffer, static_cast<int>(n));
    }
    return bytes;
  }

  static int AcceptedModel(const QByteArray &reply, int32_t *rating = nullptr) {
    char name[12] = {};
    int32_t type = 0, r = 0;
    if (!ModelQueryRx(reinterpret_cast<const uint8_t *>(reply.constData()),
                      static_cast<int>(reply.size()), name, &type, &r))
      return 0;
    if (rating)
      *rating = r;
    return type;
  }

  QProcess process_;
  std::map<QString, QString> endpoints_;
};

TEST_F(SimProcess, AnswersTheModelQueryOverTcpAndThePseudoTerminal) {
  QTemporaryDir dir;
  const QString log = dir.filePath("frames.log");
  Start({"--model", "FPB", "--rating", "0500", "--serial", "--log", log});
  ASSERT_TRUE(endpoints_.count("lan"));
  ASSERT_TRUE(endpoints_.count("serial"));
  gPowerInfo.SoftwareAddress = 1;

  std::unique_ptr<QTcpSocket> socket(Connect(endpoints_["lan"]));
  // The query in two pieces, then two queries in one piece.
  const QByteArray query = Frame(0xF0, 0xED);
  socket->write(query.left(3));
  socket->flush();
  socket->waitForBytesWritten(1000);
  QThread::msleep(30);
  socket->write(query.mid(3));
  int32_t rating = 0;
  EXPECT_EQ(AcceptedModel(ReadExactly(*socket, 24), &rating), kModelFPB);
  EXPECT_EQ(rating, 500);
  socket->write(query + query);
  EXPECT_EQ(AcceptedModel(ReadExactly(*socket, 24)), kModelFPB);
  EXPECT_EQ(AcceptedModel(ReadExactly(*socket, 24)), kModelFPB);

  const int fd = ::open(endpoints_["serial"].toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  termios t{};
  ASSERT_EQ(tcgetattr(fd, &t), 0);
  cfmakeraw(&t);
  tcsetattr(fd, TCSANOW, &t);
  ASSERT_EQ(::write(fd, query.constData(), 8), 8);
  EXPECT_EQ(AcceptedModel(ReadExactly(fd, 24)), kModelFPB);
  ::close(fd);

  QFile file(log);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(text.contains("lan#")) << text.toStdString();
  EXPECT_TRUE(text.contains(" in  7B 00 08 01 F0 ED E6 7D  model query"));
  EXPECT_TRUE(text.contains("serial out 7B 00 18 01 F0 ED"));
}

TEST_F(SimProcess, ControlLinesOnStandardInputRaiseAlarmsAndDropConnections) {
  Start({"--model", "GS", "--serial", "--gpib"});
  ASSERT_TRUE(endpoints_.count("gpib"));
  std::unique_ptr<QTcpSocket> socket(Connect(endpoints_["gpib"]));
  EXPECT_EQ(Control("alarm 900"), "ok alarm 900");
  socket->write(Frame(0xF0, 0xEB));
  const QByteArray status = ReadExactly(*socket, 21);
  ASSERT_EQ(status.size(), 21);
  EXPECT_EQ(static_cast<uint8_t>(status[6]), kRunAlarmNoCode);

  EXPECT_EQ(Control("silent 1"), "ok silent 1");
  socket->write(Frame(0xF0, 0xEB));
  EXPECT_TRUE(ReadExactly(*socket, 1, 300).isEmpty());

  // The pseudo-terminal is hung up and opened again before the answer.
  process_.write("drop\n");
  EXPECT_TRUE(ReadLine().startsWith("serial /dev/"));
  EXPECT_EQ(ReadLine(), "ok dropped");
  EXPECT_TRUE(socket->state() == QAbstractSocket::UnconnectedState ||
              socket->waitForDisconnected(3000));
}

} // namespace
