#include "app/OutputState.h"

#include <array>
#include <vector>

#include "app/NormalPanelMap.h"
#include "comm/CommScheduler.h"
#include "records/Globals.h"
#include "records/ViewHooks.h"

namespace {

constexpr int kGenericAlarmItem = 328;
// Longest text taken from the language file, in characters.
constexpr size_t kAlarmTextMax = 255;

struct AlarmItem {
  int Code;
  int Item;
};

constexpr std::array<AlarmItem, 40> kAlarmItems = {{
    {100, 341}, {101, 342}, {200, 340}, {201, 329}, {310, 343}, {311, 313}, {312, 316}, {313, 319},
    {314, 322}, {315, 325}, {340, 344}, {341, 314}, {342, 317}, {343, 320}, {344, 323}, {345, 326},
    {370, 345}, {371, 315}, {372, 318}, {373, 321}, {374, 324}, {375, 327}, {410, 300}, {412, 303},
    {440, 301}, {442, 304}, {470, 302}, {472, 305}, {500, 306}, {600, 330}, {601, 346}, {602, 347},
    {610, 331}, {611, 332}, {612, 333}, {613, 334}, {614, 335}, {615, 336}, {616, 337}, {617, 338},
}};
constexpr AlarmItem kLastRangeItem{618, 339};

// Splits UTF-8 text into characters (a malformed byte counts as one).
std::vector<std::string> Characters(const std::string &text) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t len = 1;
    if (lead >= 0xF0) {
      len = 4;
    } else if (lead >= 0xE0) {
      len = 3;
    } else if (lead >= 0xC0) {
      len = 2;
    }
    size_t n = 1;
    while (n < len && i + n < text.size() &&
           (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) {
      ++n;
    }
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

} // namespace

int AlarmTextItem(int code) {
  for (const AlarmItem &entry : kAlarmItems) {
    if (entry.Code == code) {
      return entry.Item;
    }
  }
  if (code == kLastRangeItem.Code) {
    return kLastRangeItem.Item;
  }
  return kGenericAlarmItem;
}

std::string StrAlarmLanguageSet(int code, int language, const LanguageItemFn &itemText) {
  int prefix = 0;
  if (code >= 1000) {
    prefix = code / 1000;
    code %= 1000;
  }
  const int item = AlarmTextItem(code);
  std::vector<std::string> chars = Characters(itemText ? itemText(language, item) : "");
  if (chars.size() > kAlarmTextMax) {
    chars.resize(kAlarmTextMax);
  }
  if (item == kGenericAlarmItem) {
    // The generic text is one character and three placeholders for the code.
    const int digits = code < 0 ? -code % 1000 : code;
    const std::array<char, 3> d{static_cast<char>('0' + digits / 100),
                                static_cast<char>('0' + digits / 10 % 10),
                                static_cast<char>('0' + digits % 10)};
    if (chars.size() < 4) {
      chars.resize(4, " ");
    }
    for (int i = 0; i < 3; ++i) {
      chars[1 + i] = std::string(1, d[i]);
    }
  }
  std::string text;
  if (prefix >= 1) {
    text.push_back(static_cast<char>('0' + prefix % 10));
  }
  for (const std::string &c : chars) {
    text += c;
  }
  return text;
}

void RefreshOutputState(MainPanelState &panel) {
  const int a = gPowerInfo.Alarming;
  const int r = gPowerInfo.OutputRunning;
  // Without a link the output's state is unknown: the switches are dimmed,
  // their lamps dark and neither running nor stopped is shown.
  const bool linked = gPowerInfo.Connected == 1;
  OutputAreaView &out = panel.Output;
  PanelRequests &req = panel.Requests;

  // 1.-3. the output area of the five panels
  out.AlarmLamp.Visible = a != 0;
  out.ClearAlarm.Dimmed = a == 0;
  out.OutputSwitch.Visible = a == 0;
  out.OutputSwitch.On = linked && r != 0;
  out.OutputSwitch.Dimmed = !linked;
  out.DCOutput.On = linked && gPowerState.DCOutputOn != 0;
  out.AlarmText = StrAlarmLanguageSet(gPowerState.AlarmCode, gPowerInfo.Language, panel.ItemText);
  out.AlarmTextVisible = a != 0;
  const bool rising = gPowerInfo.RemainSecond > 0;
  if (a != 0 || !linked) {
    out.RunningVisible = false;
    out.RisingVisible = false;
    out.StoppedVisible = false;
  } else {
    out.StoppedVisible = r == 0;
    out.RunningVisible = r == 1 && !rising;
    out.RisingVisible = r == 1 && rising;
  }
  MeasureExpected(panel.Measure);

  // 4.-5. the panel in front and the menus, once per change
  if (r != panel.LastOutputRunning || a != panel.LastAlarming) {
    const bool busy = r == 1 || a == 1;
    switch (gCurrentPage) {
    case kPageMain:
      DataFromNormalAndSystemVarToPanel(panel);
      req.NormalSaveLoadDimmed = busy;
      break;
    case kPageList:
    case kPageRamp: {
      // The five-step window has no meaning for a running program.
      int32_t &disMode = gCurrentPage == kPageList ? gListSetDisMode : gRampSetDisMode;
      if (disMode >= 5) {
        disMode -= 3;
      }
      const ListSet &header = gCurrentPage == kPageList ? gListSet : gRampSet;
      req.ProgramSinglePhase = header.OutMode == 5;
      req.ProgramRunning = r == 1;
      req.ProgramDisMode = disMode;
    }
      [[fallthrough]];
    case kPageStep:
    case kPageCross:
    case kPageTHD:
      req.RefreshProgramPage = gCurrentPage;
      req.ProgramPageBusy = busy;
      break;
    default:
      break;
    }
    req.PowerModelDimmed = r == 1 || gPowerInfo.Connected == 1;
  }

  // 6.-8.
  const int model = gPowerInfo.ModelType;
  if (model == kModelFPA || model == kModelFPB || model == kModelGS) {
    req.ProgramDimmed = r == 1;
    req.THDDimmed = r == 1;
  }
  req.MeasureHistoryDimmed = r != 0;
  out.DCOutput.Dimmed = a != 0 || !linked;

  // 9.
  panel.LastOutputRunning = r;
  panel.LastAlarming = a;
}

void RefreshDCOutputStateAndMeasure(MainPanelState &panel) {
  panel.Output.DCReading.Value = gPowerState.DCValue / 10.0;
  panel.Output.DCOutput.On = gPowerInfo.Connected == 1 && gPowerState.DCOutputOn != 0;
}

void ClearAlarmKey(MainPanelState &panel) {
  if (gPowerInfo.Connected != 1) {
    gPowerInfo.Alarming = 0;
    RefreshOutputState(panel);
    return;
  }
  if (gPowerState.AlarmCode == 900) {
    MessagePopupInLanguage("Warning", "Power is in emergency state, please manually cancel!",
                           "警告", "电源处于急停状态，请手动解除！");
    return;
  }
  if (gPowerState.AlarmCode == 200) {
    MessagePopupInLanguage("Warning", "Power input is error,please power off and check.", "警告",
                           "电源输入异常，请关机检查！");
    return;
  }
  CommSetNewCmdSingleGroup(15, 3, 0);
}
