// Fuzz target: any bytes as a drawing script. The first byte picks the mode: even, the reader
// alone; odd, the reader and then, for a short script it accepts, the print session on the
// sample printer with the graphics driver's own code (bit 1 asks for a raster job). A crash or
// a sanitizer report is a finding. The machine with the sample printer is made at start in a
// temporary folder; the sample scripts are the seeds whenever an input is too short.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "gr2k/ddi_functions.h"
#include "host/print_devmode.h"
#include "platform/sim_gdi.h"
#include "support/settings_file_exercise.h"

// The graphics DLL's own entry points, built into this program.
ZEMS_EXPORT BOOL WINAPI DrvEnableDriver(ULONG engineVersion, ULONG cbData, DRVENABLEDATA* data);
ZEMS_EXPORT VOID WINAPI DrvDisableDriver(VOID);

namespace {

// A session plays only short scripts: the reader's bounds are what the long ones test.
constexpr size_t kSessionStatements = 40;

struct Machine {
  std::string root;
  HANDLE printer = nullptr;
  std::vector<std::string> seeds;
};

Machine& TheMachine() {
  static Machine m = [] {
    Machine made;
    made.printer = zems_test::MakeSamplePrintMachine(ZEMS_SOURCE_DIR, &made.root);
    std::ifstream in(std::string(ZEMS_SOURCE_DIR) + "/samples/print/two_pages.zds", std::ios::binary);
    made.seeds.push_back(std::string("\x01") +
                         std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    made.seeds.push_back(
        "\x03"
        "devmode dmPrintQuality=300\ndoc \"r\"\npage\nclip rect 0 0 500 500\n"
        "brush solid 0x808080\nrect 0 0 4000 4000\nreset dmCopies=2\npage\nescape 8 in=u32:17\nenddoc\n");
    return made;
  }();
  return m;
}

}  // namespace

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!TheMachine().printer) abort();  // no machine: the session mode could not run
  return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
  const std::vector<std::string>& seeds = TheMachine().seeds;
  if (size < 8) {
    const std::string& s = seeds[seed % seeds.size()];
    if (s.size() <= maxSize) {
      memcpy(data, s.data(), s.size());
      size = s.size();
    }
  }
  return LLVMFuzzerMutate(data, size, maxSize);
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  if (size < 1) return 0;
  winsim::ScriptResult read = winsim::ReadDrawScript(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (!(data[0] & 1) || read.error != winsim::ScriptError::None || read.statements.size() > kSessionStatements)
    return 0;
  winsim::PrintSessionOptions options;
  options.printer = u"Office";
  options.editDevmode = HostEditJobDevmode;
  options.driver = DrvEnableDriver;
  options.disableDriver = DrvDisableDriver;
  options.maxPages = 4;
  if (data[0] & 2) options.settings = {{"zdmImagePrint", "1"}};
  winsim::RunPrintSession(read.statements, options);
  return 0;
}
