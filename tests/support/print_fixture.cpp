#include "support/print_fixture.h"

#include <string.h>

#include <algorithm>

#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/devmode/dm_convert.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
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
  ASSERT_EQ(0, RunHostKept("machine install --model " + SourceDir() + "/samples/models/zems_c4.zmd --printer Print --extra " +
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
  std::vector<BYTE> out;
  DriverContext* ctx = CtxOpenByKind(printer_, printer_, nullptr, 0);
  EXPECT_NE(nullptr, ctx);
  if (!ctx) return out;
  for (const ItemValue& item : items) {
    std::u16string name(item.first.begin(), item.first.end());
    SettingItem* record = ItemFindByName(ctx, reinterpret_cast<const WCHAR*>(name.c_str()));
    EXPECT_NE(nullptr, record) << "no item " << item.first;
    if (record) {
      EXPECT_TRUE(ItemSetRaw(ctx, record, item.second)) << item.first;
    }
  }
  out.assign(1236, 0);
  EXPECT_EQ(1, DmBuildOutputDevmode(ctx->settings, nullptr, out.data(), ctx));
  CtxRelease(ctx, kReleaseExpired);
  const DEVMODEW* dm = reinterpret_cast<const DEVMODEW*>(out.data());
  out.resize(std::min<size_t>(out.size(), size_t(dm->dmSize) + dm->dmDriverExtra));
  return out;
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
  DHPDEV pdev = enablePdev(dm ? reinterpret_cast<DEVMODEW*>(copy.data()) : nullptr, nullptr, 18, patterns,
                           sizeof gdi_, reinterpret_cast<ULONG*>(&gdi_), sizeof devInfo_, &devInfo_, hdev_,
                           W(kPrinter), printer_);
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

void PrintTest::DisablePdev(DHPDEV pdev) {
  pdevs_.erase(std::remove(pdevs_.begin(), pdevs_.end(), pdev), pdevs_.end());
  Ddi<PFN_DrvDisablePDEV>(INDEX_DrvDisablePDEV)(pdev);
}

}  // namespace zems_test
