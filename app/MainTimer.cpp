#include "app/MainTimer.h"

#include "comm/CommConnect.h"
#include "comm/CommReconnect.h"
#include "comm/CommScheduler.h"
#include "measure/MeasureRecord.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"

#include <QTimer>

void MainTimerTick() {
  gTimerTick += 1;
  PowerInfo &info = gPowerInfo;
  // The reconnection counts from the tick after the loss; a LAN connect
  // that has just succeeded sends its first frame in this same tick.
  CommReconnectTick();
  CommConnectTick();
  if (info.Connected == 1)
    CommTimerDeal();
  // Logo, live charts and the delayed preview redraw belong to the panels.
  Hooks().TimerTickView(gTimerTick);
  if (gTimerTick % 20 == 0 && info.OutputRunning == 1 && info.RemainSecond > 0)
    info.RemainSecond -= 1;
  // Twice a second (counter mod 10 = 3) a measurement row, when connected,
  // the output runs and the second has changed. The recorder needs only the
  // counter's phase, which a small value keeps.
  MeasureRecordOnTick(static_cast<int>(gTimerTick % 20));
}

QTimer *StartMainTimer(QObject *parent) {
  auto *timer = new QTimer(parent);
  timer->setTimerType(Qt::PreciseTimer);
  timer->setInterval(kMainTimerPeriodMs);
  QObject::connect(timer, &QTimer::timeout, timer, [] { MainTimerTick(); });
  timer->start();
  return timer;
}
