// The sample printer as the machine's installer puts it: a driver context moves its job items
// to the job-control stand-in and back, and loses nothing when the DLL is missing.
#include <algorithm>

#include "bind_fixture.h"
#include "core/bind/print_notification.h"
#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/items/item_ids.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

class JobControlEndToEnd : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ResetTestVariant();
    CtxCacheInit();
    ASSERT_EQ(0, RunHost("machine install --model " + SourceDir() + "/samples/models/zems_c4.zmd"));
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(u"ZEMS Printer"), &printer_, nullptr));
    ctx_ = CtxOpen(printer_, printer_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx_);
  }
  void TearDown() override {
    if (ctx_) CtxDestroy(ctx_, kReleaseExpired);
    CtxCacheExpire(TRUE);
    if (printer_) ClosePrinter(printer_);
    MachineTest::TearDown();
  }
  std::u16string Text(WORD id) {
    WCHAR buffer[64] = {};
    ItemGetTextBounded(ctx_, ItemFind(ctx_, id), buffer, 64);
    return buffer;
  }
  void SetText(WORD id, const char16_t* text) { ItemSetText(ctx_, ItemFind(ctx_, id), text); }

  HANDLE printer_ = nullptr;
  DriverContext* ctx_ = nullptr;
};

TEST_F(JobControlEndToEnd, JobItemsGoToTheStandInAndComeBack) {
  // The install's pass used the interface too: only this test's calls are counted.
  const size_t installed = LogLinesStarting("orvjc32.log", "slot6 ").size();
  SetText(kItem_zdmOwnerName, u"Ann");
  SetText(kItem_zdmDocumentName, u"Report");
  EXPECT_EQ(0u, JcPushPropertiesUi(ctx_, kJcMaskJobItems));
  std::vector<std::string> store = ScriptLines("orvjc32.store");
  EXPECT_NE(store.end(), std::find_if(store.begin(), store.end(), [](const std::string& l) {
              return l.rfind("ZEMS Printer\t2\t" + HexText(u"Ann"), 0) == 0;
            }));
  EXPECT_EQ(installed + 8u, LogLinesStarting("orvjc32.log", "slot6 ").size());

  SetText(kItem_zdmOwnerName, u"");
  SetText(kItem_zdmDocumentName, u"");
  EXPECT_EQ(0u, JcFetchPropertiesOnceUi(ctx_, kJcMaskJobItemsWithUserCode));
  EXPECT_EQ(u"Ann", Text(kItem_zdmOwnerName));
  EXPECT_EQ(u"Report", Text(kItem_zdmDocumentName));
  EXPECT_EQ(LogLinesStarting("orvjc32.log", "JCGetInterface ").size(),
            LogLinesStarting("orvjc32.log", "JCDisposeInterface ").size());

  // Without the DLL the same calls fail and nothing is lost, here or in the DLL's store.
  RemoveStandIn(kJobControlDll);
  SetText(kItem_zdmOwnerName, u"Bob");
  EXPECT_EQ(DWORD(ERROR_MOD_NOT_FOUND), JcPushPropertiesUi(ctx_, kJcMaskJobItems));
  EXPECT_EQ(DWORD(ERROR_MOD_NOT_FOUND), JcFetchPropertiesOnceUi(ctx_, kJcMaskJobItemsWithUserCode));
  EXPECT_EQ(u"Bob", Text(kItem_zdmOwnerName));
  EXPECT_EQ(store, ScriptLines("orvjc32.store"));
}

TEST_F(JobControlEndToEnd, NotificationDllIsFoundInTheSystemFolder) {
  WriteScript("ompninf.bits", "capability 2\n");
  const char kQuery[] = "OMGetPrintNotificationCapability printer=\"ZEMS Printer\"";
  const size_t installed = LogLinesStarting("ompninf.log", kQuery).size();
  CtxQueryPrintNotification(ctx_, kNotifyCapabilitiesOnly);
  EXPECT_EQ(0, ItemGetRawById(ctx_, kItem_zdmSupportFunc2SelectJobComplete));
  EXPECT_EQ(1, ItemGetRawById(ctx_, kItem_zdmSupportFunc2SelectJobErr));
  EXPECT_EQ(installed + 1u, LogLinesStarting("ompninf.log", kQuery).size());
}

}  // namespace
}  // namespace zems_test
