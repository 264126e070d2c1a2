#include "tools/vexactl/DeviceSession.h"

#include "app/MainPanelFunc.h"
#include "app/MainTimer.h"
#include "app/StopSignals.h"
#include "comm/CommConnect.h"
#include "comm/CommReconnect.h"
#include "comm/CommScheduler.h"
#include "comm/CommSettings.h"
#include "records/Globals.h"
#include "tools/vexactl/ModelOption.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QHostAddress>
#include <QHostInfo>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <unistd.h>

namespace {

bool ParseInt(const QString &text, int low, int high, int &out) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < low || value > high)
    return false;
  out = value;
  return true;
}

// The IPv4 address of a dotted address or a host name.
std::optional<quint32> Ipv4Of(const QString &host) {
  QHostAddress address(host);
  if (address.isNull())
    for (const QHostAddress &found : QHostInfo::fromName(host).addresses())
      if (found.protocol() == QAbstractSocket::IPv4Protocol) {
        address = found;
        break;
      }
  bool ok = false;
  const quint32 ip = address.toIPv4Address(&ok);
  if (!ok)
    return std::nullopt;
  return ip;
}

QString LanOption(const QString &text) {
  const int colon = text.lastIndexOf(':');
  int port = 0;
  if (colon < 1 || !ParseInt(text.mid(colon + 1), 1, 65535, port))
    return "--lan needs HOST:PORT, not " + text;
  const std::optional<quint32> ip = Ipv4Of(text.left(colon));
  if (!ip)
    return "--lan: no IPv4 address for " + text.left(colon);
  PowerInfo &info = gPowerInfo;
  info.CommType = kCommLAN;
  info.CommTypeLAN_IP1 = static_cast<int32_t>(*ip >> 24);
  info.CommTypeLAN_IP2 = static_cast<int32_t>((*ip >> 16) & 0xFF);
  info.CommTypeLAN_IP3 = static_cast<int32_t>((*ip >> 8) & 0xFF);
  info.CommTypeLAN_IP4 = static_cast<int32_t>(*ip & 0xFF);
  info.CommTypeLAN_Port = port;
  return {};
}

QString SerialOption(const QString &device, const QString &baudText) {
  PowerInfo &info = gPowerInfo;
  const QByteArray path = device.toLocal8Bit();
  if (path.size() >= static_cast<qsizetype>(info.CommTypeRS232Device.size()))
    return "--serial: the device path is too long";
  int baud = kDefaultRS232Baudrate;
  if (!baudText.isEmpty() &&
      (!ParseInt(baudText, 0, 38400, baud) || (baud != 9600 && baud != 19200 && baud != 38400)))
    return "--baud must be 9600, 19200 or 38400, not " + baudText;
  info.CommType = kCommRS232;
  info.CommTypeRS232Port = kDefaultRS232Port; // the device path decides
  info.CommTypeRS232Baudrate = baud;
  std::copy(path.begin(), path.end(), info.CommTypeRS232Device.begin());
  info.CommTypeRS232Device[static_cast<size_t>(path.size())] = '\0';
  return {};
}

// Session folders are named after the process that made them, so a later
// run can tell the ones of a killed run and remove them.
const QString kSessionDirPrefix = QStringLiteral("vexactl-session-");

QString SessionDirTemplate() {
  // The user's runtime folder where there is one; Qt would warn on standard
  // error when it is not set, and a device verb's error output is one line.
  QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (base.isEmpty() || !QFileInfo(base).isDir())
    base = QDir::tempPath();
  QDir folder(base);
  for (const QFileInfo &entry :
       folder.entryInfoList({kSessionDirPrefix + "*"}, QDir::Dirs | QDir::NoDotAndDotDot)) {
    bool ok = false;
    const qint64 pid =
        entry.fileName().mid(kSessionDirPrefix.size()).section('-', 0, 0).toLongLong(&ok);
    if (ok && pid > 0 && entry.ownerId() == ::getuid() && ::kill(static_cast<pid_t>(pid), 0) != 0 &&
        errno == ESRCH)
      QDir(entry.filePath()).removeRecursively();
  }
  return folder.filePath(kSessionDirPrefix + QString::number(QCoreApplication::applicationPid()) +
                         "-XXXXXX");
}

QString OneLine(QString text) { return text.replace('\n', ' ').trimmed(); }

} // namespace

bool ModelHasPrograms(int32_t model) {
  return model == kModelFPA || model == kModelFPB || model == kModelGS;
}

bool ModelHasCross(int32_t model) { return model == kModelGS; }

void QueueProgramRead(int32_t page) {
  const CommInfo &c = gCommInfo;
  switch (page) {
  case kPageStep:
    CommSetNewCmdSingleGroup(kCmdClassRead, 0x22, 0);
    break;
  case kPageList:
    if (c.ListDataOk != 1)
      CommSetNewCmdGroup(kGroupReadList);
    break;
  case kPageRamp:
    if (c.RampDataOk != 1)
      CommSetNewCmdGroup(kGroupReadRamp);
    break;
  case kPageCross:
    if (c.CrossDataOk != 1)
      CommSetNewCmdGroup(kGroupReadCross);
    break;
  default:
    break;
  }
}

int DeviceFail(int code, const QString &message) {
  std::fprintf(stderr, "vexactl: %s\n", qPrintable(OneLine(message)));
  std::fflush(stderr);
  return code;
}

DeviceSession::DeviceSession() : previousDir_(QDir::currentPath()), workDir_(SessionDirTemplate()) {
  ResetProgramState();
  DataInitCommSet();
  gPowerInfo.Language = 1;
  if (workDir_.isValid())
    QDir::setCurrent(workDir_.path());
  // A signal ends the run in the event loop: the link is closed and the
  // session folder removed on the way out.
  InstallStopSignals();
}

DeviceSession::~DeviceSession() {
  Disconnect();
  RemoveStopSignals();
  SetHooks(nullptr);
  QDir::setCurrent(previousDir_);
}

QString DeviceSession::Configure(const GlobalOptions &global) {
  if (!workDir_.isValid())
    return "no temporary directory for the session";
  const std::optional<int32_t> model = ModelFromOption(global.Model);
  if (!model)
    return "unknown model " + global.Model;
  gPowerInfo.ModelType = *model;
  const int ports =
      int(!global.Lan.isEmpty()) + int(!global.Serial.isEmpty()) + int(!global.Gpib.isEmpty());
  if (ports != 1)
    return "give one of --lan HOST:PORT, --serial DEVICE or --gpib ADDRESS";
  if (!global.Baud.isEmpty() && global.Serial.isEmpty())
    return "--baud goes with --serial";
  int address = kDefaultSoftwareAddress;
  if (!global.Address.isEmpty() && !ParseInt(global.Address, 1, 255, address))
    return "--address must be 1 to 255, not " + global.Address;
  gPowerInfo.SoftwareAddress = address;
  gPowerInfo.CommReplyPacing = global.Fast ? 1 : 0;
  QString error;
  if (!global.Lan.isEmpty()) {
    error = LanOption(global.Lan);
  } else if (!global.Serial.isEmpty()) {
    error = SerialOption(global.Serial, global.Baud);
  } else {
    int primary = 0;
    if (!ParseInt(global.Gpib, 0, 30, primary))
      return "--gpib needs a primary address 0 to 30, not " + global.Gpib;
    gPowerInfo.CommType = kCommGPIB;
    gPowerInfo.CommTypeGPIBPort = primary;
  }
  if (error.isEmpty() && DataCheckCommSet() != 0)
    error = "the connection options name no usable port";
  return error;
}

QString DeviceSession::LinkName() const {
  const PowerInfo &info = gPowerInfo;
  switch (info.CommType) {
  case kCommLAN:
    return QString("LAN %1.%2.%3.%4:%5")
        .arg(info.CommTypeLAN_IP1)
        .arg(info.CommTypeLAN_IP2)
        .arg(info.CommTypeLAN_IP3)
        .arg(info.CommTypeLAN_IP4)
        .arg(info.CommTypeLAN_Port);
  case kCommRS232:
    return QString("serial %1").arg(QString::fromLocal8Bit(info.CommTypeRS232Device.data()));
  default:
    return QString("GPIB address %1").arg(info.CommTypeGPIBPort);
  }
}

int DeviceSession::Connect() {
  SetHooks(this);
  if (timer_ == nullptr)
    timer_ = StartMainTimer(&timerOwner_);
  CommConnectDeal(1);
  // A LAN connect ends on a later tick.
  while (gCommLink.Opening == 1)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  if (gPowerInfo.Connected != 1)
    return kExitLink; // the open-failure message has been printed
  return RunUntil([this] { return connectShown_ && gCommNewCmd.Count == 0; });
}

std::optional<int> DeviceSession::CheckFailure() {
  if (failure_)
    return failure_;
  if (StopSignalCount() > stopsHandled_)
    return kExitSignalled + LastStopSignal();
  if (gPowerInfo.Connected != 1 && !CommReconnectActive()) {
    if (!linkLostTold_)
      DeviceFail(kExitLink, LinkName() + ": the link was closed");
    linkLostTold_ = true;
    failure_ = kExitLink;
    return failure_;
  }
  if (gCommPoll.LastMissReason == kMissRefused) {
    // The reply echoes the refused command; an output command has already
    // been replaced by the status query that follows it.
    const CommInfo &c = gCommInfo;
    const int cmd1 = c.RxBuff[4];
    const int cmd2 = c.RxBuff[5];
    const int param = cmd1 == c.PresentCmd1 && cmd2 == c.PresentCmd2 ? c.PresentParam : 0;
    failure_ =
        DeviceFail(kExitFailed, QString("the power source refused \"%1\" (code %2)")
                                    .arg(QString::fromStdString(CommCommandText(cmd1, cmd2, param)))
                                    .arg(c.RxBuff[6]));
    return failure_;
  }
  return std::nullopt;
}

int DeviceSession::RunUntil(const std::function<bool()> &done) {
  if (const std::optional<int> failed = CheckFailure())
    return *failed;
  if (done())
    return kExitOk;
  QEventLoop loop;
  int result = kExitOk;
  // Connected after the timer's own slot: runs after every tick.
  const QMetaObject::Connection after = QObject::connect(timer_, &QTimer::timeout, &loop, [&] {
    if (const std::optional<int> failed = CheckFailure()) {
      result = *failed;
      loop.quit();
    } else if (done()) {
      loop.quit();
    }
  });
  loop.exec();
  QObject::disconnect(after);
  return result;
}

int DeviceSession::RunUntilIdle() {
  return RunUntil([] { return gCommNewCmd.Count == 0 && gCommInfo.PresentValid == 0; });
}

int DeviceSession::SwitchOutput(bool on) {
  const int want = on ? 1 : 0;
  if (gPowerInfo.OutputRunning != want) {
    MainPanelState panel;
    gCurrentPage = kPageMain;
    OutputSwitchClick(panel);
    // Refused before anything was queued: the message has been printed.
    if (gCommNewCmd.Count == 0)
      return kExitFailed;
    if (const int result = RunUntilIdle(); result != kExitOk)
      return result;
  }
  // The reply to the output command is not the end: the next status reply
  // must report the output as wanted.
  const int seen = statusReplies_;
  if (const int result = RunUntil([&] { return statusReplies_ > seen; }); result != kExitOk)
    return result;
  if (gPowerInfo.OutputRunning == want)
    return kExitOk;
  QString why = on ? "the power source did not switch its output on"
                   : "the power source did not switch its output off";
  if (gPowerInfo.Alarming == 1)
    why += QString(" (alarm %1)").arg(gPowerState.AlarmCode);
  return DeviceFail(kExitFailed, why);
}

void DeviceSession::AcknowledgeStop() { stopsHandled_ = StopSignalCount(); }

void DeviceSession::Disconnect() {
  CommReconnectStop();
  CommConnectDeal(0);
}

void DeviceSession::MessagePopup(const std::string &title, const std::string &text) {
  (void)title;
  DeviceFail(kExitFailed, LinkName() + ": " + QString::fromStdString(text));
}

void DeviceSession::RefreshOutputState() {
  if (gCommInfo.PresentCmd1 == kCmdClassQuery && gCommInfo.PresentCmd2 == kQueryStatus)
    ++statusReplies_;
}

void DeviceSession::MeasureReply() {
  const int cmd2 = gCommInfo.PresentCmd2;
  if (gCommInfo.PresentCmd1 == kCmdClassQuery &&
      (cmd2 == kQueryMeasure || cmd2 == kQueryMeasureFCT || cmd2 == kQueryMeasureFCS) &&
      OnMeasureReply)
    OnMeasureReply();
}

void DeviceSession::DataFPFromMeasureToPanel() { MeasureReply(); }
void DeviceSession::DataFCFromMeasureToPanel() { MeasureReply(); }

void DeviceSession::CommConnectToPanel(int connected) { connectShown_ = connected == 1; }

void DeviceSession::CommRequestDropped(const std::string &text) {
  failure_ = DeviceFail(kExitFailed, QString::fromStdString(text));
}

void DeviceSession::CommLinkStatus(const std::string &text) {
  // One line when the countdown to an attempt starts and one when the link
  // is back, not one every second.
  const CommLinkInfo &link = gCommLink;
  if (link.Reconnect == kReconnectWaiting && link.RetryTicks == link.RetrySeconds * 20)
    DeviceFail(kExitOk, LinkName() + ": " + QString::fromStdString(text) + " (Ctrl-C stops)");
  else if (text.empty() && link.Reconnect == kReconnectOff && gCommInfo.NormalDataOk == 1)
    DeviceFail(kExitOk, LinkName() + ": reconnected to " + gPowerInfo.PowerModelStr.data());
}

void DeviceSession::CommAskOtherSource(const std::string &title, const std::string &text) {
  (void)title;
  // Nobody to ask: the other source is not taken on, and the verb ends.
  failure_ = DeviceFail(kExitLink, LinkName() + ": " + QString::fromStdString(text) +
                                       " Not connected: vexactl takes on no other source.");
  CommReconnectAnswer(0);
}

void DeviceSession::CommLinkLost(const std::string &title, const std::string &text) {
  (void)title;
  linkLostTold_ = true;
  DeviceFail(kExitLink, LinkName() + ": " + QString::fromStdString(text));
}
