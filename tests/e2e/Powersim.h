// The simulated power source as its own process, for the end-to-end and
// GUI tests.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <map>

inline QCoreApplication &E2EApp() {
  if (QCoreApplication *app = QCoreApplication::instance())
    return *app;
  static int argc = 1;
  static char name[] = "test_e2e";
  static char *argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

// One powersim process: its endpoint lines, and control lines on its
// standard input.
class Powersim {
public:
  explicit Powersim(const QStringList &args) {
    E2EApp();
    process_.start(POWERSIM_EXE, args);
    if (!process_.waitForStarted(5000))
      return;
    for (QString line = ReadLine(); !line.isNull(); line = ReadLine()) {
      if (line == "ready") {
        ready_ = true;
        return;
      }
      const int blank = line.indexOf(' ');
      if (blank > 0)
        endpoints_[line.left(blank)] = line.mid(blank + 1);
    }
  }
  ~Powersim() {
    if (process_.state() == QProcess::NotRunning)
      return;
    process_.write("quit\n");
    if (!process_.waitForFinished(3000))
      process_.kill();
    process_.waitForFinished(1000);
  }

  bool Ready() const { return ready_; }
  // The rest of a start line: "lan" gives "127.0.0.1:40123".
  QString Endpoint(const QString &name) const {
    const auto found = endpoints_.find(name);
    return found == endpoints_.end() ? QString() : found->second;
  }
  // The identifier of the "model" line, blanks included.
  QString Identifier() const { return Endpoint("model").section('"', 1, 1); }
  // Sends one control line; the answer line.
  QString Control(const QString &line) {
    process_.write((line + "\n").toUtf8());
    return ReadLine();
  }

private:
  QString ReadLine(int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!process_.canReadLine()) {
      if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
        return {};
      process_.waitForReadyRead(50);
    }
    return QString::fromUtf8(process_.readLine()).trimmed();
  }

  QProcess process_;
  bool ready_ = false;
  std::map<QString, QString> endpoints_;
};
