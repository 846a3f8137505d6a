#include "support/print_fixture.h"

#include <string.h>

#include <algorithm>

#include "core/context/context_cache.h"
#include "host/print_devmode.h"
#include "platform/sim.h"
#include "platform/sim_gdi.h"
#include "support/test_printer.h"

namespace zems_test {

namespace {
const char16_t kPrinter[] = u"Print";

LPWSTR W(const char16_t* s) { return reinterpret_cast<LPWSTR>(const_cast<char16_t*>(s)); }
}  // namespace

void PrintTest::SetUp() {
  MachineTest::SetUp();
  CtxCacheInit();
  ASSERT_EQ(
      0, RunHostKept("machine install --model " + SourceDir() + "/samples/models/zems_c4.zmd --printer Print --extra " +
                     SourceDir() + "/samples/driver/OV1BD172.ini"));
  ASSERT_TRUE(OpenPrinterW(W(kPrinter), &printer_, nullptr));
  dll_ = LoadLibraryW(TEXT("zemsgr.dll"));
  ASSERT_NE(nullptr, dll_);
  auto enable = Export<BOOL(WINAPI*)(ULONG, ULONG, DRVENABLEDATA*)>("DrvEnableDriver");
  ASSERT_NE(nullptr, enable);
  ASSERT_TRUE(enable(DDI_DRIVER_VERSION_NT5, sizeof enable_, &enable_));
  hdev_ = SimGdiCreateDevice();
}

void PrintTest::TearDown() {
  auto disable = Ddi<PFN_DrvDisablePDEV>(INDEX_DrvDisablePDEV);
  for (DHPDEV p : pdevs_)
    if (disable) disable(p);
  pdevs_.clear();
  if (hdev_) SimGdiDeleteDevice(hdev_);
  if (dll_) FreeLibrary(dll_);
  if (printer_) ClosePrinter(printer_);
  CtxCacheExpire(TRUE);
  MachineTest::TearDown();
}

std::vector<BYTE> PrintTest::JobDevmode(const std::vector<ItemValue>& items) {
  std::vector<std::pair<std::string, std::string>> settings;
  for (const ItemValue& item : items) settings.emplace_back(item.first, std::to_string(item.second));
  std::vector<BYTE> dm;
  std::string error;
  EXPECT_TRUE(HostEditJobDevmode(nullptr, printer_, settings, &dm, &error)) << error;
  return dm;
}

winsim::PrintSessionResult PrintTest::RunScript(const std::string& script, winsim::PrintSessionOptions options) {
  winsim::ScriptResult read = winsim::ReadDrawScript(script.data(), script.size());
  EXPECT_EQ(winsim::ScriptError::None, read.error) << winsim::ScriptErrorText(read);
  if (options.printer.empty()) options.printer = kPrinter;
  if (!options.editDevmode) options.editDevmode = HostEditJobDevmode;
  return winsim::RunPrintSession(read.statements, options);
}

DHPDEV PrintTest::EnablePdev(const std::vector<BYTE>* dm) {
  auto enablePdev = Ddi<PFN_DrvEnablePDEV>(INDEX_DrvEnablePDEV);
  if (!enablePdev) return nullptr;
  // GDI's copy of the job DEVMODE is exactly as long as it claims: nothing beyond to read.
  std::vector<BYTE> copy;
  if (dm) copy = *dm;
  HSURF patterns[18];
  memset(&gdi_, 0xCD, sizeof gdi_);
  memset(&devInfo_, 0xCD, sizeof devInfo_);
  DHPDEV pdev = enablePdev(dm ? reinterpret_cast<DEVMODEW*>(copy.data()) : nullptr, nullptr, 18, patterns, sizeof gdi_,
                           reinterpret_cast<ULONG*>(&gdi_), sizeof devInfo_, &devInfo_, hdev_, W(kPrinter), printer_);
  if (pdev) SimGdiBindDevice(hdev_, pdev);
  return pdev;
}

DHPDEV PrintTest::EnableCompletePdev(const std::vector<BYTE>* dm) {
  DHPDEV pdev = EnablePdev(dm);
  if (!pdev) return nullptr;
  Ddi<PFN_DrvCompletePDEV>(INDEX_DrvCompletePDEV)(pdev, hdev_);
  pdevs_.push_back(pdev);
  return pdev;
}

DHPDEV PrintTest::EnableJob(const std::vector<ItemValue>& items) {
  std::vector<BYTE> dm = JobDevmode(items);
  return EnableCompletePdev(&dm);
}

void PrintTest::DisablePdev(DHPDEV pdev) {
  pdevs_.erase(std::remove(pdevs_.begin(), pdevs_.end(), pdev), pdevs_.end());
  Ddi<PFN_DrvDisablePDEV>(INDEX_DrvDisablePDEV)(pdev);
}

}  // namespace zems_test
