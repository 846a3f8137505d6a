// Stand-in for the terminal-server check DLL of the driver package, scripted by the machine:
// the file <root>/stand-ins/ov00c150.answer holds the number the export returns (without the
// file it answers 0, not a terminal server), and every process attach and detach appends a
// line "attach" or "detach" to <root>/stand-ins/ov00c150.log.
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "platform/sim.h"
#include "platform/win32.h"

namespace {

std::string StandInFile(const char* name) { return std::string(SimMachineRoot()) + "/stand-ins/" + name; }

void Log(const char* line) {
  FILE* f = fopen(StandInFile("ov00c150.log").c_str(), "a");
  if (!f) return;
  fprintf(f, "%s\n", line);
  fclose(f);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) Log("attach");
  if (reason == DLL_PROCESS_DETACH) Log("detach");
  return TRUE;
}

extern "C" __attribute__((visibility("default"))) int WINAPI _IsTSE_WMICOM_ZEMS_Printer_Driver(void) {
  FILE* f = fopen(StandInFile("ov00c150.answer").c_str(), "r");
  if (!f) return 0;
  char text[32] = {};
  size_t n = fread(text, 1, sizeof text - 1, f);
  fclose(f);
  text[n] = 0;
  return int(strtol(text, nullptr, 0));
}
