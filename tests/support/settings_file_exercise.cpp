#include "support/settings_file_exercise.h"

#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/common/mem.h"
#include "core/common/module_handle.h"
#include "core/context/context_cache.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/store/settings_file.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"

namespace zems_test {

namespace {
const char16_t kDriver[] = u"ORVEL ALTEN KV310 ZEMS";
constexpr WORD kTrayLock = 10419;

std::string Host(const std::u16string& windowsPath) { return SimHostPath(reinterpret_cast<LPCWSTR>(windowsPath.c_str())); }

bool WriteHostFile(const std::string& host, const std::string& bytes) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(host).parent_path(), ec);
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out);
}
}  // namespace

const std::vector<DWORD>& SettingsFileLoadFlags() {
  static const std::vector<DWORD> flags = {0,     0x4,   0x8004, 0x20004, 0x10,  0x2010, 0x1010, 0x20,
                                           0x80,  0x200, 0x8,    0x100,   0x800, 0x2000, 0x2004, 0x8000};
  return flags;
}

HANDLE MakeSampleMachine(const std::string& sourceDir, std::string* root) {
  std::string pattern = (std::filesystem::temp_directory_path() / "zems-sample-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  if (!made) return nullptr;
  *root = made;
  SimSetMachineRoot(made);
  std::ifstream sample(sourceDir + "/samples/models/zems_c4.zmd", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(sample)), std::istreambuf_iterator<char>());
  if (text.empty() ||
      !WriteHostFile(Host(u"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\OV1BD172.zmd"), text))
    return nullptr;
  std::u16string driverName = kDriver, gr = u"zemsgr.dll", data = u"OV1BD172.zmd", ui = u"zemsui.dll";
  DRIVER_INFO_3W driver = {};
  driver.cVersion = 3;
  driver.pName = &driverName[0];
  driver.pDriverPath = &gr[0];
  driver.pDataFile = &data[0];
  driver.pConfigFile = &ui[0];
  if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver))) return nullptr;
  std::u16string name = u"Office", port = u"LPT1:", processor = u"WinPrint", datatype = u"RAW";
  PRINTER_INFO_2W info = {};
  info.pPrinterName = &name[0];
  info.pPortName = &port[0];
  info.pDriverName = &driverName[0];
  info.pPrintProcessor = &processor[0];
  info.pDatatype = &datatype[0];
  info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  return AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
}

DriverContext* OpenSampleContext(HANDLE printer) {
  DriverContext* ctx = CtxOpen(printer, printer, nullptr, 0, kKindSettings, 0, nullptr);
  if (!ctx) return nullptr;
  std::u16string path = reinterpret_cast<const char16_t*>(PathSettingsFile(ctx));
  std::error_code ec;
  if (path.size() > 3) std::filesystem::create_directories(std::filesystem::path(Host(path)).parent_path(), ec);
  return ctx;
}

LONG ExerciseSettingsFileLoad(DriverContext* ctx, HANDLE printer, const std::u16string& path, const uint8_t* data,
                              size_t size) {
  if (!ctx || !ctx->settings || size < 1) return -1;
  const std::vector<DWORD>& all = SettingsFileLoadFlags();
  DWORD flags = all[data[0] % all.size()];
  BYTE* kept = static_cast<BYTE*>(MemAllocZero(kSettingsBlockSize));
  if (!kept) return -1;
  memcpy(kept, ctx->settings, kSettingsBlockSize);
  ItemSetRawById(ctx, kTrayLock, (data[0] & 0x80) ? 1 : 0);
  WriteHostFile(Host(path), std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  StoreLoadSettingsFile(printer, reinterpret_cast<LPCWSTR>(path.c_str()), flags, ctx);
  LONG status = CtxGetFileStatus(ctx);
  memcpy(ctx->settings, kept, kSettingsBlockSize);
  MemFree(kept);
  return status;
}

std::vector<std::string> SettingsFileSeeds(DriverContext* ctx, HANDLE printer, const std::u16string& path) {
  std::vector<std::string> seeds;
  const std::pair<DWORD, char> saves[] = {{0, 0}, {0x4, 1}, {0x20, 7}};
  for (const auto& save : saves) {
    StoreSaveSettingsFile(printer, reinterpret_cast<LPCWSTR>(path.c_str()), save.first, ctx);
    std::ifstream in(Host(path), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    seeds.push_back(std::string(1, save.second) + bytes);
  }
  return seeds;
}

HANDLE MakeSamplePrintMachine(const std::string& sourceDir, std::string* root) {
  static char moduleStandIn;
  CtxCacheInit();
  HANDLE printer = MakeSampleMachine(sourceDir, root);
  DriverContext* ctx = printer ? OpenSampleContext(printer) : nullptr;
  if (!ctx) printer = nullptr;
  CtxRelease(ctx, kReleasePark);
  ResSetModuleHandle(reinterpret_cast<HINSTANCE>(&moduleStandIn));
  return printer;
}

}  // namespace zems_test
