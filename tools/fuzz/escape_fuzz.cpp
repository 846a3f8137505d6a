// Fuzz target: escape sequences with hostile sizes sent to a live PDEV of the sample printer
// during a job, which then ends. Each input record is {code selector, input length, input bytes,
// output length}: the session hands the driver an input buffer of exactly that many bytes and an
// output buffer of exactly its stated size. A crash or a sanitizer report is a finding, and so is
// a job stream the reader refuses or a header whose copy count is outside 1-999.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "gr2k/ddi_functions.h"
#include "host/job_stream/job_stream.h"
#include "host/print_devmode.h"
#include "platform/sim.h"
#include "platform/sim_gdi.h"
#include "support/settings_file_exercise.h"

ZEMS_EXPORT BOOL WINAPI DrvEnableDriver(ULONG engineVersion, ULONG cbData, DRVENABLEDATA* data);
ZEMS_EXPORT VOID WINAPI DrvDisableDriver(VOID);

namespace {

// The escapes the driver answers, and a few it does not.
const unsigned kCodes[] = {8, 17, 19, 20, 42, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120,
                           121, 122, 123, 124, 125, 126, 140, 141, 7, 127, 4096};
constexpr size_t kMaxEscapes = 24;

struct Machine {
  std::string root;
  HANDLE printer = nullptr;
};

Machine& TheMachine() {
  static Machine m = [] {
    Machine made;
    made.printer = zems_test::MakeSamplePrintMachine(ZEMS_SOURCE_DIR, &made.root);
    return made;
  }();
  return m;
}

std::string Hex(const uint8_t* p, size_t n) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < n; ++i) out += std::string{digits[p[i] >> 4], digits[p[i] & 15]};
  return out;
}

// The job's stream as the spool stand-in kept it.
std::vector<uint8_t> Stream(DWORD job) {
  std::ifstream in(TheMachine().root + "/stand-ins/ov1bc123/" + std::to_string(job) + ".zjs", std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!TheMachine().printer) abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  std::string script = "doc \"e\"\npage\n";
  size_t at = 0, count = 0;
  while (at + 3 <= size && count < kMaxEscapes) {
    unsigned code = kCodes[data[at] % (sizeof kCodes / sizeof kCodes[0])];
    size_t cbIn = data[at + 1];
    at += 2;
    if (cbIn > size - at - 1) cbIn = size - at - 1;
    std::string statement = "escape " + std::to_string(code);
    if (cbIn) statement += " <" + Hex(data + at, cbIn) + ">";
    at += cbIn;
    statement += " out=" + std::to_string(data[at++] % 64);
    script += statement + "\n";
    // Between pages too: the offsets of escape 42 and the page state differ there.
    if (++count % 8 == 0) script += "page\n";
  }
  script += "enddoc\n";
  winsim::ScriptResult read = winsim::ReadDrawScript(script.data(), script.size());
  if (read.error != winsim::ScriptError::None) return 0;
  winsim::PrintSessionOptions options;
  options.printer = u"Office";
  options.editDevmode = HostEditJobDevmode;
  options.driver = DrvEnableDriver;
  options.disableDriver = DrvDisableDriver;
  winsim::PrintSessionResult result = winsim::RunPrintSession(read.statements, options);
  if (!result.ok) return 0;
  std::vector<uint8_t> bytes = Stream(result.jobId);
  JsJob job;
  JsError err;
  if (!JsRead(bytes.data(), bytes.size(), &job, &err)) {
    fprintf(stderr, "the job stream does not read: %s\n", err.message.c_str());
    abort();
  }
  std::string text(bytes.begin(), bytes.end());
  const std::string key = "@PJL SET COPIES = ";
  for (size_t p = text.find(key); p != std::string::npos; p = text.find(key, p + 1)) {
    long copies = strtol(text.c_str() + p + key.size(), nullptr, 10);
    if (copies < 1 || copies > 999) {
      fprintf(stderr, "copies %ld in the header\n", copies);
      abort();
    }
  }
  remove((TheMachine().root + "/stand-ins/ov1bc123/" + std::to_string(result.jobId) + ".zjs").c_str());
  return 0;
}
