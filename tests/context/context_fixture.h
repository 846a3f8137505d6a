// A simulated machine with the driver installed and two printers, and helpers to reach the
// items of a context.
#pragma once
#include <string.h>

#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/items/item_table.h"
#include "core/context/ui_state.h"
#include "platform/sim.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"
#include "support/test_variant.h"

namespace zems_test {

class ContextTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ResetTestVariant();
    CtxCacheInit();
    SimSetTickCount(100000);
    DRIVER_INFO_3W driver = {};
    driver.cVersion = 3;
    driver.pName = Text(u"ORVEL ALTEN KV310 ZEMS");
    driver.pDriverPath = Text(u"zemsgr.dll");
    driver.pDataFile = Text(u"OV1BD172.zmd");
    driver.pConfigFile = Text(u"zemsui.dll");
    ASSERT_TRUE(AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&driver)));
    office_ = AddPrinter(u"Office");
    lab_ = AddPrinter(u"Lab");
  }
  void TearDown() override {
    CtxCacheExpire(TRUE);
    for (HANDLE h : {office_, lab_})
      if (h) ClosePrinter(h);
    MachineTest::TearDown();
  }

  static LPWSTR Text(const char16_t* s) { return reinterpret_cast<LPWSTR>(const_cast<char16_t*>(s)); }

  HANDLE AddPrinter(const char16_t* name) {
    PRINTER_INFO_2W info = {};
    info.pPrinterName = Text(name);
    info.pDriverName = Text(u"ORVEL ALTEN KV310 ZEMS");
    info.pPortName = Text(u"LPT1:");
    HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
    EXPECT_NE(h, nullptr) << "cannot add a printer";
    return h;
  }

  HANDLE OpenAgain(const char16_t* name) {
    HANDLE h = nullptr;
    EXPECT_TRUE(OpenPrinterW(Text(name), &h, nullptr));
    return h;
  }

  // The value bytes of an item in a settings block of the context.
  static BYTE* ValueIn(DriverContext* ctx, BYTE* block, WORD id) { return ItemStorageIn(block, ItemFind(ctx, id)); }
  static DWORD ReadDword(const BYTE* p) {
    DWORD v;
    memcpy(&v, p, 4);
    return v;
  }
  static void WriteDword(BYTE* p, DWORD v) { memcpy(p, &v, 4); }

  HANDLE office_ = nullptr;
  HANDLE lab_ = nullptr;
};

}  // namespace zems_test
