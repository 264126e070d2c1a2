#include "tools/powersim/SimOptions.h"

#include "tools/powersim/SimControl.h"
#include "tools/powersim/SimModel.h"

namespace {

bool ParseHostPort(const QString &text, SimEndpoint &endpoint) {
  const int colon = text.lastIndexOf(':');
  if (colon < 0)
    return false;
  bool ok = false;
  const uint port = text.mid(colon + 1).toUInt(&ok);
  if (!ok || port > 65535)
    return false;
  endpoint.Enabled = true;
  endpoint.Host = colon > 0 ? text.left(colon) : QString("127.0.0.1");
  endpoint.Port = static_cast<quint16>(port);
  return true;
}

} // namespace

QString SimUsage() {
  return QString("usage: powersim [options]\n"
                 "A simulated power source that answers the Vexa wire protocol.\n"
                 "\n"
                 "Identity:\n"
                 "  --model FCT|FCS|FSA|FSB|FPA|FPB|GS|FL   model (default FPA)\n"
                 "  --rating N          rating, 1-3 digits, or 4 digits on FSB and FPB\n"
                 "                      (\"0500\" gives the four-digit identifier; default 5)\n"
                 "  --address N         device address 1..255 (default 1)\n"
                 "  --ident TEXT        answer the model query with this 11-character identifier\n"
                 "\n"
                 "Endpoints (several at once; each prints one line on start):\n"
                 "  --lan HOST:PORT     TCP endpoint (default 127.0.0.1 and a free port)\n"
                 "                      prints \"lan HOST:PORT\"\n"
                 "  --no-lan            no TCP endpoint\n"
                 "  --serial            a pseudo-terminal; prints \"serial /dev/pts/N\"\n"
                 "  --serial-link PATH  also keep PATH a symbolic link to the pseudo-terminal\n"
                 "  --line-rate BAUD    every reply on the pseudo-terminal goes out when the\n"
                 "                      frame and the reply would have crossed a cable at\n"
                 "                      BAUD (10 bits a byte)\n"
                 "  --gpib              endpoint of the stand-in GPIB library on a free port\n"
                 "  --gpib-lan HOST:PORT  the same on a given address; prints \"gpib HOST:PORT\"\n"
                 "                      (give it to the library as VEXA_GPIB_SIM=HOST:PORT)\n"
                 "  --control HOST:PORT line-oriented control over TCP (port 0: a free one);\n"
                 "                      prints \"control HOST:PORT\"\n"
                 "  --no-stdin          do not read control lines from standard input\n"
                 "  A line \"ready\" follows once every endpoint listens.\n"
                 "\n"
                 "Behaviour:\n"
                 "  --load-ohms X       load impedance per phase in ohms (default 48.4; 0: none)\n"
                 "  --pf X              load power factor -1..1 (default 1)\n"
                 "  --dc-volts X        GS: voltage of the DC output (default 24)\n"
                 "  --running           the output is running when the program connects\n"
                 "\n"
                 "Faults at start:\n"
                 "  --alarm CODE        start in alarm (900 emergency stop, 200 input fault)\n"
                 "  --silent N          lose the first N frames\n"
                 "  --corrupt N         corrupt the checksum of the first N replies\n"
                 "  --delay MS          hold every reply MS ms\n"
                 "  --drop-after N      close every connection after N frames\n"
                 "\n"
                 "  --log FILE          one line per frame in and out: time, hex bytes, command\n"
                 "  --help              this text\n"
                 "\n"
                 "Control commands (standard input or --control), one per line:\n") +
         SimControl::HelpText();
}

bool ParseSimOptions(const QStringList &args, SimOptions &o, QString *error) {
  auto fail = [error](const QString &why) {
    if (error)
      *error = why;
    return false;
  };
  for (int i = 0; i < args.size(); ++i) {
    const QString &a = args[i];
    const bool hasValue = i + 1 < args.size();
    const QString value = hasValue ? args[i + 1] : QString();
    auto takeInt = [&](long lo, long hi, long &out) {
      bool ok = false;
      out = value.toLong(&ok);
      if (!hasValue || !ok || out < lo || out > hi)
        return false;
      ++i;
      return true;
    };
    auto takeDouble = [&](double &out) {
      bool ok = false;
      out = value.toDouble(&ok);
      if (!hasValue || !ok)
        return false;
      ++i;
      return true;
    };
    long n = 0;
    double x = 0;
    if (a == "--help" || a == "-h") {
      o.Help = true;
    } else if (a == "--model") {
      const auto code = SimModelFromName(value.toStdString());
      if (!hasValue || !code)
        return fail("--model takes FCT, FCS, FSA, FSB, FPA, FPB, GS or FL");
      o.Device.ModelType = *code;
      ++i;
    } else if (a == "--rating") {
      if (!hasValue)
        return fail("--rating takes a number");
      o.Device.Rating = value.toStdString();
      ++i;
    } else if (a == "--address") {
      if (!takeInt(1, 255, n))
        return fail("--address takes 1..255");
      o.Device.Address = static_cast<int>(n);
    } else if (a == "--ident") {
      if (!hasValue || value.toLatin1().size() != 11)
        return fail("--ident takes exactly 11 characters");
      o.Device.Identifier = value.toStdString();
      ++i;
    } else if (a == "--lan" || a == "--gpib-lan" || a == "--control") {
      SimEndpoint &e = a == "--lan" ? o.Lan : a == "--gpib-lan" ? o.Gpib : o.Control;
      if (!hasValue || !ParseHostPort(value, e))
        return fail(a + " takes HOST:PORT");
      ++i;
    } else if (a == "--no-lan") {
      o.Lan.Enabled = false;
    } else if (a == "--gpib") {
      o.Gpib.Enabled = true;
    } else if (a == "--serial") {
      o.Serial = true;
    } else if (a == "--serial-link") {
      if (!hasValue)
        return fail("--serial-link takes a path");
      o.Serial = true;
      o.SerialLink = value;
      ++i;
    } else if (a == "--line-rate") {
      if (!takeInt(300, 1000000, n))
        return fail("--line-rate takes a baud rate, 300 or more");
      o.LineRate = static_cast<int>(n);
    } else if (a == "--no-stdin") {
      o.Stdin = false;
    } else if (a == "--load-ohms") {
      if (!takeDouble(x) || x < 0)
        return fail("--load-ohms takes a number of ohms, 0 or more");
      o.Device.Load.Ohms = x;
    } else if (a == "--pf") {
      if (!takeDouble(x) || x < -1 || x > 1)
        return fail("--pf takes a power factor in -1..1");
      o.Device.Load.PowerFactor = x;
    } else if (a == "--dc-volts") {
      if (!takeDouble(x) || x < 0 || x > 6553.5)
        return fail("--dc-volts takes 0..6553.5");
      o.Device.DCVolts = x;
    } else if (a == "--running") {
      o.Device.Running = true;
    } else if (a == "--alarm") {
      if (!takeInt(1, 65535, n))
        return fail("--alarm takes a code 1..65535");
      o.Alarm = static_cast<int32_t>(n);
    } else if (a == "--silent" || a == "--corrupt" || a == "--delay" || a == "--drop-after") {
      if (!takeInt(0, 1000000, n))
        return fail(a + " takes a count, 0 or more");
      (a == "--silent"    ? o.Faults.SilentFrames
       : a == "--corrupt" ? o.Faults.CorruptReplies
       : a == "--delay"   ? o.Faults.DelayMs
                          : o.DropAfter) = static_cast<int>(n);
    } else if (a == "--log") {
      if (!hasValue)
        return fail("--log takes a file name");
      o.LogFile = value;
      ++i;
    } else {
      return fail("unknown option " + a);
    }
  }
  std::string why;
  if (!o.Help && o.Device.Identifier.empty() &&
      !SimBuildIdentifier(o.Device.ModelType, o.Device.Rating, &why))
    return fail(QString::fromStdString(why));
  return true;
}
