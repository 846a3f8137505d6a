// Fuzz target: any bytes as a DEVMODE from outside. The bytes, in a block of exactly their
// size, go through the sized check, the merge into a context of the sample printer, the
// copies, the identity and version tests, the conversions and, stored raw as the printer's
// DEVMODE, a context open; the context must keep its settings block header. A DEVMODE whose
// header fits the bytes also goes through the printer interface's entry points that take a
// caller's DEVMODE: the job check with its form match, the conversion and a device capability
// with a merge. The target sets
// up a simulated machine of its own with the sample printer (the model description is taken
// from the folder among its arguments that holds zems_c4.zmd), and its mutator starts from the
// printer's own DEVMODE whenever an input is too short to be one.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/model/model_cache.h"
#include "devmode/devmode_fuzz_body.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace {

struct Setup {
  std::string root;
  HANDLE printer = nullptr;
  DriverContext* ctx = nullptr;
  std::vector<BYTE> seed;
};

Setup& State() {
  static Setup s;
  return s;
}

void RemoveRoot() {
  Setup& s = State();
  if (s.ctx) CtxRelease(s.ctx, kReleaseExpired);
  s.ctx = nullptr;
  CtxCacheExpire(TRUE);
  if (s.printer) ClosePrinter(s.printer);
  std::error_code ec;
  if (!s.root.empty()) std::filesystem::remove_all(s.root, ec);
}

bool InstallSamplePrinter(const std::string& model) {
  std::ifstream in(model, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (text.empty()) return false;
  std::string pattern = (std::filesystem::temp_directory_path() / "zems-devmode-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return false;
  Setup& s = State();
  s.root = pattern;
  atexit(RemoveRoot);
  SimSetMachineRoot(s.root.c_str());
  std::string host = SimHostPath(reinterpret_cast<LPCWSTR>(u"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\OV1BD172.zmd"));
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(host).parent_path(), ec);
  std::ofstream(host, std::ios::binary) << text;

  std::u16string driverName = u"ORVEL ALTEN KV310 ZEMS", gr = u"zemsgr.dll", data = u"OV1BD172.zmd", ui = u"zemsui.dll";
  DRIVER_INFO_3W driver = {};
  driver.cVersion = 3;
  driver.pName = reinterpret_cast<LPWSTR>(&driverName[0]);
  driver.pDriverPath = reinterpret_cast<LPWSTR>(&gr[0]);
  driver.pDataFile = reinterpret_cast<LPWSTR>(&data[0]);
  driver.pConfigFile = reinterpret_cast<LPWSTR>(&ui[0]);
  if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver))) return false;
  std::u16string name = u"Fuzz", port = u"LPT1:", processor = u"WinPrint", datatype = u"RAW";
  PRINTER_INFO_2W info = {};
  info.pPrinterName = reinterpret_cast<LPWSTR>(&name[0]);
  info.pPortName = reinterpret_cast<LPWSTR>(&port[0]);
  info.pDriverName = reinterpret_cast<LPWSTR>(&driverName[0]);
  info.pPrintProcessor = reinterpret_cast<LPWSTR>(&processor[0]);
  info.pDatatype = reinterpret_cast<LPWSTR>(&datatype[0]);
  info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  s.printer = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  if (!s.printer) return false;
  CtxCacheInit();
  SimSetTickCount(100000);
  s.ctx = CtxOpen(s.printer, s.printer, nullptr, 0, kKindSettings, 0, nullptr);
  if (!s.ctx || !s.ctx->settings) return false;
  s.seed.assign(s.ctx->settings, s.ctx->settings + kDmSize);
  s.seed[kDmOffMachineId] = 148;
  return true;
}

// The printer interface's entry points that read a caller's DEVMODE (built in).
extern "C" {
BOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO query);
BOOL WINAPI DrvConvertDevMode(LPWSTR printerName, PDEVMODEW input, PDEVMODEW output, PLONG cbNeeded, DWORD mode);
DWORD WINAPI DrvDeviceCapabilities(HANDLE printer, LPWSTR deviceName, WORD capability, PVOID output,
                                   PDEVMODEW devmode);
}

// A caller hands these a DEVMODE whose header is true of its bytes.
void RunEntryPoints(const unsigned char* data, size_t size) {
  if (size < kDmOffFields + 4) return;
  std::vector<BYTE> dm(data, data + size);
  const DEVMODEW* header = reinterpret_cast<const DEVMODEW*>(dm.data());
  if (size_t(header->dmSize) + header->dmDriverExtra > size) return;
  Setup& s = State();
  std::u16string name = u"Fuzz";
  DEVQUERYPRINT_INFO query = {};
  query.cbSize = sizeof query;
  query.Level = 1;
  query.hPrinter = s.printer;
  query.pDevMode = reinterpret_cast<DEVMODEW*>(dm.data());
  DevQueryPrintEx(&query);
  std::vector<BYTE> in(data, data + size), out(kDmSize);
  reinterpret_cast<DEVMODEW*>(out.data())->dmSize = 220;
  reinterpret_cast<DEVMODEW*>(out.data())->dmDriverExtra = WORD(kDmSize - 220);
  LONG needed = LONG(out.size());
  DrvConvertDevMode(reinterpret_cast<LPWSTR>(&name[0]), reinterpret_cast<DEVMODEW*>(in.data()),
                    reinterpret_cast<DEVMODEW*>(out.data()), &needed, CDM_CONVERT);
  DrvDeviceCapabilities(s.printer, reinterpret_cast<LPWSTR>(&name[0]), DC_FIELDS, nullptr,
                        reinterpret_cast<DEVMODEW*>(in.data()));
}

}  // namespace

extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  for (int i = 1; i < *argc; ++i) {
    const char* arg = (*argv)[i];
    if (arg[0] == '-') continue;
    std::string model = std::string(arg) + "/zems_c4.zmd";
    std::error_code ec;
    if (std::filesystem::exists(model, ec) && InstallSamplePrinter(model)) break;
  }
  if (!State().ctx) fprintf(stderr, "devmode_fuzz: no folder with zems_c4.zmd among the arguments; nothing runs\n");
  return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
  const std::vector<BYTE>& own = State().seed;
  if ((size < kDmOffFields + 4 || size > 4 * kDmSize) && !own.empty() && own.size() <= maxSize) {
    memcpy(data, own.data(), own.size());
    size = own.size();
  }
  if (size >= kDmOffFields + 4 && seed % 3 == 0) {
    static const WORD kSizes[] = {0, 10, 76, 148, 188, 212, 220, 594, 1016, 1024, 0xFFFF};
    WORD v = kSizes[(seed / 3) % (sizeof kSizes / sizeof kSizes[0])];
    memcpy(data + ((seed / 7) % 2 ? kDmOffSize : kDmOffDriverExtra), &v, 2);
    return size;
  }
  return LLVMFuzzerMutate(data, size, maxSize);
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  Setup& s = State();
  if (!s.ctx) return 0;
  std::string why = devmode_fuzz::RunOne(s.ctx, s.printer, u"Fuzz", data, size);
  if (!why.empty()) {
    fprintf(stderr, "devmode_fuzz: %s\n", why.c_str());
    abort();
  }
  RunEntryPoints(data, size);
  return 0;
}
