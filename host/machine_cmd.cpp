// zemshost machine: sets up and inspects the simulated machine the driver runs on: the
// machine root, printers with their driver files, printer data, registry values and the
// system identity (Windows version, user, administrator). One file per subcommand
// (host/machine_<name>.cpp).
#include "host/commands.h"
#include "host/machine_support.h"
#include "platform/sim.h"

namespace {

const HostCommand kMachineCommands[] = {
    {"create", "create a machine root", machine_cmd::CmdCreate},
    {"install", "install a printer from a driver build and a model description", machine_cmd::CmdInstall},
    {"list", "list the printers", machine_cmd::CmdList},
    {"data", "get, set or delete printer data", machine_cmd::CmdData},
    {"reg", "get, set or delete registry values", machine_cmd::CmdReg},
    {"system", "set the Windows version, user and administrator flag", machine_cmd::CmdSystem},
};

}  // namespace

int CmdMachine(int argc, char** argv) {
  // The machine's own set-up: it may write HKLM and printer data whoever the machine's user is.
  SimActForMachine(TRUE);
  return RunCommand("zemshost machine", kMachineCommands, sizeof kMachineCommands / sizeof kMachineCommands[0],
                    "Each command takes --help and --root DIR (default: $ZEMS_MACHINE_ROOT).\n", argc, argv);
}
