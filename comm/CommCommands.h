// The command set of each family: which commands exist, the length of the
// frame sent and the only reply length accepted. The model query (F0 ED) is
// common to all and handled by ModelQueryTx/ModelQueryRx.
#pragma once

#include <cstdint>

struct CommCommand {
  uint8_t Cmd1;
  uint8_t Cmd2;
  uint8_t TxLen;
  uint8_t RxLen;
};

// The command of the family of modelType, or nullptr when it has none.
const CommCommand *CommFindCommand(int modelType, int cmd1, int cmd2);
