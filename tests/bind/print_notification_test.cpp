// Print notification: the four items from the information DLL's answers, and the printer
// name it is handed.
#include "bind_fixture.h"
#include "core/bind/print_notification.h"
#include "core/items/item_ids.h"
#include "platform/sim.h"

namespace zems_test {
namespace {

struct NotifyCase {
  const char* name;
  const char* so;      // stand-in registered as OMPNInf.dll; null: none
  const char* bits;    // ompninf.bits
  const char* force;   // ompninf.force
  const char* hidden;  // an export the loader does not find
  DWORD flags;
  LONG_PTR supportComplete, supportErr, complete, err;  // items 562, 563, 530, 531 afterwards
  bool valueAsked;
};

class PrintNotification : public BindTest, public ::testing::WithParamInterface<NotifyCase> {};

TEST_P(PrintNotification, FillsTheFourItems) {
  const NotifyCase& c = GetParam();
  if (c.so) InstallStandIn(kNotificationDll, c.so);
  if (c.hidden) SimHideExport(kNotificationDll, c.hidden);
  WriteScript("ompninf.bits", c.bits);
  WriteScript("ompninf.force", c.force);
  // Every item starts at 1, so that both "set to 0" and "left alone" show.
  for (WORD id : {kItem_zdmSupportFunc2SelectJobComplete, kItem_zdmSupportFunc2SelectJobErr,
                  kItem_zdmFunc2SelectJobComplete, kItem_zdmFunc2SelectJobErr})
    ItemSetRawById(ctx(), id, 1);
  CtxQueryPrintNotification(ctx(), c.flags);
  EXPECT_EQ(c.supportComplete, RawOf(kItem_zdmSupportFunc2SelectJobComplete));
  EXPECT_EQ(c.supportErr, RawOf(kItem_zdmSupportFunc2SelectJobErr));
  EXPECT_EQ(c.complete, RawOf(kItem_zdmFunc2SelectJobComplete));
  EXPECT_EQ(c.err, RawOf(kItem_zdmFunc2SelectJobErr));
  EXPECT_EQ(c.valueAsked, !LogLinesStarting("ompninf.log", "OMGetPrintNotificationValue").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintNotification,
    ::testing::Values(
        NotifyCase{"NoDll", nullptr, "", "", nullptr, 0, 0, 0, 1, 1, false},
        NotifyCase{"MissingExports", kJobControlSo, "capability 3\n", "", nullptr, 0, 0, 0, 1, 1, false},
        NotifyCase{"CapabilitiesOnly", kNotificationSo, "capability 3\nvalue 0\n", "", nullptr, 1, 1, 1, 1, 1, false},
        NotifyCase{"CapabilitiesAndValues", kNotificationSo, "capability 1\nvalue 2\n", "", nullptr, 0, 1, 0, 0, 1, true},
        NotifyCase{"ValueCallFails", kNotificationSo, "capability 3\nvalue 0\n", "OMGetPrintNotificationValue 5\n",
                   nullptr, 0, 1, 1, 1, 1, true},
        NotifyCase{"CapabilityCallFails", kNotificationSo, "capability 3\n",
                   "OMGetPrintNotificationCapability 1\n", nullptr, 0, 0, 0, 1, 1, false},
        NotifyCase{"ValueExportMissing", kNotificationSo, "capability 3\n", "", "OMGetPrintNotificationValue", 1, 0,
                   0, 1, 1, false}),
    [](const ::testing::TestParamInfo<NotifyCase>& info) { return std::string(info.param.name); });

TEST_F(BindTest, NotificationNameIsCutBetweenCharactersWithin260Bytes) {
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  InstallStandIn(kNotificationDll, kNotificationSo);
  // 150 double-byte characters: 300 bytes in code page 932.
  SetPrinterName(std::u16string(150, u'\x3042'));
  CtxQueryPrintNotification(ctx(), 1);
  SimSetAnsiCodePage(1252);
  std::vector<std::string> log = LogLinesStarting("ompninf.log", "OMGetPrintNotificationCapability");
  ASSERT_EQ(1u, log.size());
  EXPECT_NE(std::string::npos, log[0].find(" length=258 ")) << log[0];
}

}  // namespace
}  // namespace zems_test
