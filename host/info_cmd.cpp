// zemshost info: the machine root of the simulated machine.
#include <stdio.h>
#include <string.h>

#include "host/commands.h"
#include "platform/sim.h"

int CmdInfo(int argc, char** argv) {
  if (argc > 0 && strcmp(argv[0], "--help") == 0) {
    printf("usage: zemshost info\nPrints the machine root of the simulated machine.\n");
    return 0;
  }
  printf("machine root: %s\n", SimMachineRoot());
  return 0;
}
