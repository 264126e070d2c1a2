#include "app/gui/AppMain.h"

int main(int argc, char **argv) { return VexaMain(argc, argv); }
