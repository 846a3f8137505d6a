// The table dispatch of zemshost's commands and command groups.
#include <stdio.h>
#include <string.h>

#include "host/commands.h"

namespace {

int Usage(FILE* out, const char* program, const HostCommand* table, size_t count, const char* footer) {
  fprintf(out, "usage: %s <command> [options]\ncommands:\n", program);
  for (size_t i = 0; i < count; ++i) fprintf(out, "  %-9s %s\n", table[i].name, table[i].summary);
  fprintf(out, "%s", footer);
  return out == stderr ? 2 : 0;
}

}  // namespace

int RunCommand(const char* program, const HostCommand* table, size_t count, const char* footer, int argc,
               char** argv) {
  if (argc < 1) return Usage(stderr, program, table, count, footer);
  const char* name = argv[0];
  if (strcmp(name, "--help") == 0 || strcmp(name, "help") == 0 || strcmp(name, "-h") == 0)
    return Usage(stdout, program, table, count, footer);
  for (size_t i = 0; i < count; ++i)
    if (strcmp(name, table[i].name) == 0) return table[i].run(argc - 1, argv + 1);
  fprintf(stderr, "%s: unknown command '%s' (see %s --help)\n", program, name, program);
  return 2;
}
