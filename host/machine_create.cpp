// zemshost machine create: creates a machine root with its folders and system identity.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "host/host_text.h"
#include "host/machine_support.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace machine_cmd {

int CmdCreate(int argc, char** argv) {
  Args a = Parse(argc, argv, {"root"});
  if (a.help) {
    printf("usage: zemshost machine create [--root DIR]\n"
           "Creates the machine root (default: $ZEMS_MACHINE_ROOT) with the Windows and driver folders\n"
           "and the default system identity, and prints its path.\n");
    return 0;
  }
  if (!a.error.empty()) return Fail(a.error);
  if (!a.positional.empty()) return Fail("create takes no arguments");
  ChooseRoot(a);
  CreateMachineFolders();
  SimSystemIdentity id;
  if (!SimGetSystemIdentity(&id) || !SimSetSystemIdentity(&id)) return Fail("cannot write the system identity");
  printf("%s\n", SimMachineRoot());
  return 0;
}

}  // namespace machine_cmd
