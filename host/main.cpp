// zemshost: plays spooler, GDI and application against the three driver DLLs on the
// simulated machine.
#include <stddef.h>

#include "host/commands.h"

namespace {

// One row per command (host/<name>_cmd.cpp).
const HostCommand kCommands[] = {
    {"api", "get and set status items through the application interface of zemsexc", CmdApi},
    {"demo", "run the main paths on the sample model", CmdDemo},
    {"filedialog", "run one of the driver's file dialogs on the window fake, the user's steps given", CmdFileDialog},
    {"info", "show the machine root", CmdInfo},
    {"job", "show and check a job stream (the blocks zemsgr sent to the spool side)", CmdJob},
    {"machine", "set up the simulated machine: printers, printer data, registry, system", CmdMachine},
    {"model", "compile a model description and report its image", CmdModel},
    {"pjl", "run \"@PJL SET\" lines through the exclusion service of zemsexc", CmdPjl},
    {"prefs", "open a printer's preferences or properties sheet on the window fake", CmdPrefs},
    {"print", "play a drawing script through GDI's print session and zemsgr", CmdPrint},
};

}  // namespace

int main(int argc, char** argv) {
  return RunCommand("zemshost", kCommands, sizeof kCommands / sizeof kCommands[0], "Each command takes --help.\n",
                    argc - 1, argv + 1);
}
