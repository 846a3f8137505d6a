// zemshost: plays spooler, GDI and application against the three driver DLLs on the
// simulated machine.
#include <stdio.h>
#include <string.h>

#include <string>

#include "host/demo_cmd.h"
#include "host/machine_cmd.h"
#include "platform/sim.h"
#include "platform/win32.h"

int CmdModel(int argc, char** argv);  // host/model_cmd.cpp

namespace {

int Usage(FILE* out) {
  fprintf(out,
          "usage: zemshost <command> [options]\n"
          "commands:\n"
          "  demo      run the main paths on the sample model\n"
          "  info      show the machine root\n"
          "  machine   set up the simulated machine: printers, printer data, registry, system\n"
          "  model     compile a model description and report its image\n"
          "Each command takes --help.\n");
  return out == stderr ? 2 : 0;
}

int CmdInfo(int argc, char** argv) {
  if (argc > 0 && strcmp(argv[0], "--help") == 0) {
    printf("usage: zemshost info\nPrints the machine root of the simulated machine.\n");
    return 0;
  }
  printf("machine root: %s\n", SimMachineRoot());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(stderr);
  std::string cmd = argv[1];
  if (cmd == "--help" || cmd == "help") return Usage(stdout);
  if (cmd == "demo") return CmdDemo(argc - 2, argv + 2);
  if (cmd == "info") return CmdInfo(argc - 2, argv + 2);
  if (cmd == "machine") return CmdMachine(argc - 2, argv + 2);
  if (cmd == "model") return CmdModel(argc - 2, argv + 2);
  fprintf(stderr, "zemshost: unknown command '%s'\n", cmd.c_str());
  return Usage(stderr);
}
