// The program's codecs and a simulated source in one test: the program
// builds a frame from its records, the source answers it, the program
// decodes the answer into its records, as the scheduler would.
#pragma once

#include "comm/CommPC.h"
#include "comm/FCCommand.h"
#include "comm/FPCommand.h"
#include "records/Globals.h"
#include "tools/powersim/PowerDevice.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class SimTestLink {
public:
  explicit SimTestLink(int32_t modelType) {
    ResetProgramState();
    gPowerInfo.ModelType = modelType;
    gPowerInfo.SoftwareAddress = 1;
    PowerDeviceOptions options;
    options.ModelType = modelType;
    options.Rating = "5";
    std::string error;
    device = PowerDevice::Create(options, &error);
    EXPECT_NE(device, nullptr) << error;
  }

  // One exchange through the codecs of the connected family: 1 when the
  // program accepts the source's reply, 0 when it rejects it or none came,
  // -1 when the program builds no frame.
  int Exchange(int cmd1, int cmd2, int param = 0) {
    const int32_t m = gPowerInfo.ModelType;
    const bool fc = IsFCModel(m), fp = m == kModelFPA || m == kModelFPB;
    uint8_t tx[256] = {};
    const auto build = fc ? FCCommTx : m == kModelGS ? GSCommTx : fp ? FPCommTx : FSCommTx;
    const int len = build(cmd1, cmd2, param, tx);
    if (len < 8)
      return -1;
    last = device->HandleFrame(tx, static_cast<size_t>(len));
    if (last.Reply.empty())
      return 0;
    const auto decode = fc              ? FCCommRx
                        : m == kModelGS ? GSCommRx
                        : fp            ? FPCommRx
                        : m == kModelFL ? FLCommRx
                                        : FSCommRx;
    return decode(cmd1, cmd2, param, last.Reply.data(), static_cast<int>(last.Reply.size()));
  }

  std::unique_ptr<PowerDevice> device;
  PowerDevice::Response last;
};
