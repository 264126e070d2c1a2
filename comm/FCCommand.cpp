#include "comm/FCCommand.h"

int FCCommTx(int, int, int, uint8_t *) { return 0; }
int FSCommTx(int, int, int, uint8_t *) { return 0; }
int FCCommRx(int, int, int, const uint8_t *, int) { return 0; }
int FSCommRx(int, int, int, const uint8_t *, int) { return 0; }
int FLCommRx(int, int, int, const uint8_t *, int) { return 0; }
