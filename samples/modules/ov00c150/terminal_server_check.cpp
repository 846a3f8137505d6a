// Stand-in for the terminal-server check DLL of the driver package. Its answer is scripted
// by the machine: the file <root>/stand-ins/ov00c150.answer holds the number the export
// returns; without that file it answers 0 (not a terminal server).
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "platform/sim.h"
#include "platform/win32.h"

extern "C" __attribute__((visibility("default"))) int WINAPI _IsTSE_WMICOM_ZEMS_Printer_Driver(void) {
  std::string path = std::string(SimMachineRoot()) + "/stand-ins/ov00c150.answer";
  FILE* f = fopen(path.c_str(), "r");
  if (!f) return 0;
  char text[32] = {};
  size_t n = fread(text, 1, sizeof text - 1, f);
  fclose(f);
  text[n] = 0;
  return int(strtol(text, nullptr, 0));
}
