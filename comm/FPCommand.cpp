#include "comm/FPCommand.h"

int FPCommTx(int, int, int, uint8_t *) { return 0; }
int GSCommTx(int, int, int, uint8_t *) { return 0; }
int FPCommRx(int, int, int, const uint8_t *, int) { return 0; }
int GSCommRx(int, int, int, const uint8_t *, int) { return 0; }
