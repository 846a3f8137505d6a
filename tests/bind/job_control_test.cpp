// The job-control binding against its scripted stand-in: version agreement, fetching into
// the items (also from hostile answers), pushing, the dispatcher's commands and the DLL or an
// export missing.
#include <unistd.h>

#include <algorithm>

#include "bind_fixture.h"
#include "core/system/languages.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/store/item_store.h"
#include "platform/sim.h"
#include "support/child_process.h"
#include "support/sample_model.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class JobControlTest : public BindTest {
 protected:
  void SetUp() override {
    BindTest::SetUp();
    InstallStandIn(kJobControlDll, kJobControlSo);
  }
  // Properties of the slot-6 calls in the log, in order.
  std::vector<DWORD> PushedProperties() {
    std::vector<DWORD> out;
    for (const std::string& line : JcLog("slot6 ")) {
      size_t at = line.find("property=");
      out.push_back(DWORD(std::stoul(line.substr(at + 9))));
    }
    return out;
  }
  bool Asked(const std::string& slot, DWORD property) {
    for (const std::string& line : JcLog(slot + " "))
      if (line.find(" property=" + std::to_string(property) + " ") != std::string::npos) return true;
    return false;
  }
};

// ---- versions ----

struct VersionCase {
  const char* versions;  // orvjc32.versions; null: no file
  DWORD openResult;
  WORD version;
  std::vector<DWORD> pushed;  // properties sent for mask 0x3FFF
};

class JobControlVersions : public JobControlTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(JobControlVersions, GatePushedPropertiesByAgreedVersion) {
  const VersionCase& c = GetParam();
  if (c.versions) WriteScript("orvjc32.versions", c.versions);
  EXPECT_EQ(c.openResult, JcOpenUi(ctx()));
  EXPECT_EQ(c.version, c.openResult ? 0 : Block().version);
  EXPECT_EQ(0u, JcPushOpenUi(ctx(), 0x3FFF));
  std::vector<DWORD> pushed = PushedProperties();
  EXPECT_EQ(c.pushed, pushed);
  // Fetching 9-11 asks the DLL whatever the version.
  JcFetchPropertiesUi(ctx(), 0x3800);
  EXPECT_EQ(c.openResult == 0, Asked("slot4", 9) && Asked("slot4", 11));
  JcCloseUi(ctx());
  EXPECT_EQ(nullptr, Block().module);
  if (c.openResult) {
    EXPECT_EQ(5u, JcLog("JCGetInterface ").size()) << "every version tried";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JobControlVersions,
    ::testing::Values(VersionCase{"0x101", 0, 0x101, {1, 2, 3, 4, 5, 6, 7, 8}},
                      VersionCase{"0x105\n", 0, 0x105, {1, 2, 3, 4, 5, 6, 7, 8, 256, 257, 258, 9, 10, 11}},
                      VersionCase{"0x103", 0, 0x103, {1, 2, 3, 4, 5, 6, 7, 8, 256, 257, 258}},
                      VersionCase{"", 0x20000002, 0, {}}));

// ---- fetching one property ----

struct FetchCase {
  const char* name;
  DWORD property;
  std::string stored;  // hex of the stored value; empty: no value
  const char* hostile;  // orvjc32.hostile line, or null
  std::u16string text;  // expected item text (text properties)
  LONG_PTR number;      // expected zdmTelLine (property 7)
  DWORD result;
};

std::string Repeat(const std::string& hex, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += hex;
  return out;
}

const std::u16string kForty = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";

class JobControlFetch : public JobControlTest, public ::testing::WithParamInterface<FetchCase> {};

TEST_P(JobControlFetch, StoresWithinTheItem) {
  const FetchCase& c = GetParam();
  SetTextOf(kItem_zdmOwnerName, u"KEEP");
  SetTextOf(kItem_zdmUserCode, u"KEEP");
  ItemSetRawById(ctx(), kItem_zdmTelLine, 7);
  if (!c.stored.empty()) StoreValue(c.property, c.stored);
  if (c.hostile) WriteScript("orvjc32.hostile", c.hostile);
  ASSERT_EQ(0u, JcOpenUi(ctx()));
  EXPECT_EQ(c.result, JcFetchProperty(ctx(), c.property));
  if (c.property == 7)
    EXPECT_EQ(c.number, RawOf(kItem_zdmTelLine));
  else
    EXPECT_EQ(c.text, TextOf(c.property == 1 ? kItem_zdmUserCode : kItem_zdmOwnerName));
  JcCloseUi(ctx());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JobControlFetch,
    ::testing::Values(
        FetchCase{"Owner40Chars", 2, HexText(kForty), nullptr, kForty.substr(0, 16), 0, 0},
        FetchCase{"TelLineDigitsThenLetter", 7, HexText(u"12a"), nullptr, u"", 12, 0},
        FetchCase{"TelLineTooLargeForItem", 7, HexText(u"300"), nullptr, u"", 7, 0},
        FetchCase{"TelLineOverflowingNumber", 7, HexText(u"99999999999999999999"), nullptr, u"", 7, 0},
        FetchCase{"EmptyValueKeepsItem", 2, HexText(u""), nullptr, u"KEEP", 0, 0},
        FetchCase{"NoValueKeepsItem", 2, "", nullptr, u"KEEP", 0, 0},
        FetchCase{"Unterminated", 2, HexText(u"ABC", false), nullptr, u"ABC", 0, 0},
        FetchCase{"UnterminatedLongerThanItem", 1, HexText(kForty, false), nullptr, kForty.substr(0, 8), 0, 0},
        FetchCase{"OddByteCount", 2, HexText(u"ABC", false) + "44", nullptr, u"ABC", 0, 0},
        FetchCase{"OddByteCountInBigBuffer", 1, HexText(kForty, false) + "44", nullptr, kForty.substr(0, 8), 0, 0},
        FetchCase{"SizeClaimAboveDelivered", 2, HexText(u"ABC"), "2 claim 100", u"ABC", 0, 0},
        FetchCase{"SizeClaimSlightlyAbove", 1, HexText(u"1234", false), "1 claim 19", u"1234", 0, 0},
        FetchCase{"SizeClaimFarAboveRefused", 2, HexText(u"ABC"), "2 claim 2147483647", u"KEEP", 0,
                  ERROR_INVALID_DATA}),
    [](const ::testing::TestParamInfo<FetchCase>& info) { return std::string(info.param.name); });

TEST_F(JobControlTest, FetchOfDriverIdentityAsksNothing) {
  ASSERT_EQ(0u, JcOpenUi(ctx()));
  EXPECT_EQ(0u, JcFetchPropertiesUi(ctx(), kJcMaskDriverIdentity));
  EXPECT_TRUE(JcLog("slot4").empty());
  EXPECT_EQ(kJcNotHandled, JcFetchProperty(ctx(), 256));
}

TEST_F(JobControlTest, WithoutSessionNothingIsCalled) {
  EXPECT_EQ(0u, JcFetchProperty(ctx(), 2));
  EXPECT_EQ(0u, JcPushProperty(ctx(), 2, kJcCmdPushOpen));
  EXPECT_EQ(0u, JcDeleteProperty(ctx(), 9));
  EXPECT_EQ(0u, JcSendLanguageUi(ctx()));
  EXPECT_TRUE(ScriptLines("orvjc32.log").empty());
}

// ---- pushing ----

TEST_F(JobControlTest, PushSendsItemTextsTelLineAndDriverIdentity) {
  SetTextOf(kItem_zdmOwnerName, u"Ann");
  ItemSetRawById(ctx(), kItem_zdmTelLine, 42);
  SetTextOf(kItem_wdmDriverVersion, u"1.2.3");
  ItemSetRawById(ctx(), kItem_zdmLanguageID, 1);
  EXPECT_EQ(0u, JcPushPropertiesUi(ctx(), 0x0742));
  std::vector<std::string> store = ScriptLines("orvjc32.store");
  auto has = [&](const std::string& line) { return std::find(store.begin(), store.end(), line) != store.end(); };
  EXPECT_TRUE(has("Office\t2\t" + HexText(u"Ann") + Repeat("0000", 17 - 4)));
  EXPECT_TRUE(has("Office\t7\t" + HexText(u"42") + Repeat("0000", 16 - 3)));
  EXPECT_TRUE(has("Office\t256\t" + HexText(u"ZEMS") + Repeat("0000", 16 - 5)));
  EXPECT_TRUE(has("Office\t257\t" + HexText(u"1.2.3") + Repeat("0000", 16 - 6)));
  ASSERT_EQ(1u, JcLog("slot6 session=1 property=258 kind=4 size=4 ").size());
  EXPECT_EQ(1u, JcLog("slot3 ").size());
  EXPECT_EQ(1u, JcLog("JCDisposeInterface table=1 -> 0").size());
}

TEST_F(JobControlTest, SendLanguageHandsTheLanguageBlock) {
  ItemSetRawById(ctx(), kItem_zdmLanguageID, 1);
  WORD sub = 0;
  WORD primary = ResLangIdFromIndex(1, &sub);
  ASSERT_EQ(0u, JcOpenUi(ctx()));
  EXPECT_EQ(0u, JcSendLanguageUi(ctx()));
  char block[17];
  snprintf(block, sizeof block, "08000000%02x%02x%02x%02x", primary & 0xFF, primary >> 8, sub & 0xFF, sub >> 8);
  EXPECT_EQ(1u, JcLog(std::string("slot8 session=1 code=1 block=") + block).size());
}

TEST_F(JobControlTest, StoreOutlivesTheProcessThatPushed) {
  // Another process pushes the owner name and ends; this one fetches it back.
  ChildProcess child([this](ChildProcess&) {
    SetTextOf(kItem_zdmOwnerName, u"Ann");
    if (JcPushPropertiesUi(ctx(), 0x0002) != 0) _exit(1);
  });
  ASSERT_EQ(0, child.Wait());
  SetTextOf(kItem_zdmOwnerName, u"");
  EXPECT_EQ(0u, JcFetchPropertiesOnceUi(ctx(), 0x0002));
  EXPECT_EQ(u"Ann", TextOf(kItem_zdmOwnerName));
}

// ---- the dispatcher's commands ----

TEST_F(JobControlTest, FetchOnceWithFailingOpenResetsFlagsAndUnloads) {
  WriteScript("orvjc32.force", "slot2 5\n");
  StoreValue(2, HexText(u"Bob"));
  ItemSetRawById(ctx(), kItem_zdmUserCodeGet, 1);
  ItemSetRawById(ctx(), kItem_zdmUserCodeDLL, 1);
  EXPECT_EQ(5u, JcFetchPropertiesOnceUi(ctx(), kJcMaskJobItemsWithUserCode));
  EXPECT_TRUE(JcLog("slot4").empty());
  EXPECT_TRUE(JcLog("slot3").empty());
  EXPECT_EQ(1u, JcLog("JCDisposeInterface table=1 -> 0").size());
  EXPECT_EQ(nullptr, Block().module);
  EXPECT_EQ(0, RawOf(kItem_zdmUserCodeGet));
  EXPECT_EQ(0, RawOf(kItem_zdmUserCodeDLL));
}

TEST_F(JobControlTest, OpenTwiceCloseOnceHoldsOneTableAndSession) {
  EXPECT_EQ(0u, JcOpenUi(ctx()));
  EXPECT_EQ(0u, JcOpenUi(ctx()));
  EXPECT_EQ(0u, JcCloseUi(ctx()));
  EXPECT_EQ(1u, JcLog("JCGetInterface ").size());
  EXPECT_EQ(1u, JcLog("slot2 ").size());
  EXPECT_EQ(1u, JcLog("slot3 session=1 -> 0").size());
  EXPECT_EQ(1u, JcLog("JCDisposeInterface table=1 -> 0").size());
  EXPECT_EQ(nullptr, Block().module);
  EXPECT_EQ(0u, Block().session);
}

TEST_F(JobControlTest, ClearAndPushSendsTelLineModelDefaultWhileClearSetsZero) {
  // The sample does not describe the line (its default is 0, as a clear): a model that does.
  SampleModel model(ctx(), "tests/fixtures/model/tel_line.zmd");
  ASSERT_NE(nullptr, model.image());
  const LONG_PTR modelDefault = ModelGetItemDefault(kItem_zdmTelLine, ctx());
  ASSERT_EQ(2, modelDefault);
  ItemSetRawById(ctx(), kItem_zdmTelLine, 99);
  ASSERT_EQ(0u, JcOpenUi(ctx()));
  EXPECT_EQ(0u, JcClearAndPushUi(ctx(), 0x0040));
  EXPECT_EQ(modelDefault, RawOf(kItem_zdmTelLine));
  JcCloseUi(ctx());
  ItemSetRawById(ctx(), kItem_zdmTelLine, 99);
  JcClearJobItemsUi(ctx(), 0x0040);
  EXPECT_EQ(0, RawOf(kItem_zdmTelLine));
}

TEST_F(JobControlTest, ClearAndPushEmptiesTextsAndSendsThem) {
  SetTextOf(kItem_zdmOwnerName, u"Ann");
  ASSERT_EQ(0u, JcOpenUi(ctx()));
  EXPECT_EQ(0u, JcClearAndPushUi(ctx(), kJcMaskJobItemsNoAuth));
  JcCloseUi(ctx());
  EXPECT_EQ(u"", TextOf(kItem_zdmOwnerName));
  EXPECT_EQ((std::vector<DWORD>{2, 3, 4, 5, 8}), PushedProperties());
  EXPECT_EQ(1u, JcLog("slot6 session=1 property=2 kind=1 size=34 data=" + Repeat("0000", 17)).size());
}

TEST_F(JobControlTest, ClearJobItemsEmptiesMaskedItemsOnly) {
  SetTextOf(kItem_zdmOwnerName, u"Ann");
  SetTextOf(kItem_zdmUserCode, u"123");
  ItemSetRawById(ctx(), kItem_zdmTelLine, 5);
  SetTextOf(kItem_wdmDriverVersion, u"1.0");
  EXPECT_EQ(0u, JcClearJobItemsUi(ctx(), 0x0742));
  EXPECT_EQ(u"", TextOf(kItem_zdmOwnerName));
  EXPECT_EQ(0, RawOf(kItem_zdmTelLine));
  EXPECT_EQ(u"123", TextOf(kItem_zdmUserCode));
  EXPECT_EQ(u"1.0", TextOf(kItem_wdmDriverVersion)) << "rows 256-258 have no job item";
}

TEST_F(JobControlTest, RunPrinterCommandCallsSlotZeroAndResetsFlags) {
  ItemSetRawById(ctx(), kItem_zdmUserCodeGet, 1);
  WriteScript("orvjc32.force", "slot0 9\n");
  EXPECT_EQ(9u, JcRunPrinterCommandUi(ctx()));
  EXPECT_EQ(1u, JcLog("slot0 printer=\"Office\" -> 9").size());
  EXPECT_EQ(0, RawOf(kItem_zdmUserCodeGet));
  EXPECT_EQ(nullptr, Block().module);
}

TEST_F(JobControlTest, SessionCheckLeavesAnOpenSessionWithItsDll) {
  EXPECT_EQ(1, JcOpenSessionChecked(ctx()));
  EXPECT_EQ(nullptr, Block().module);
  ASSERT_EQ(0u, JcOpenUi(ctx()));
  EXPECT_EQ(1, JcOpenSessionChecked(ctx()));
  ASSERT_NE(nullptr, Block().ops) << "the open session keeps its table";
  SetTextOf(kItem_zdmOwnerName, u"Ann");
  EXPECT_EQ(0u, JcPushOpenUi(ctx(), 0x0002));
  JcCloseUi(ctx());
  EXPECT_EQ(JcLog("JCGetInterface ").size(), JcLog("JCDisposeInterface ").size());
  WriteScript("orvjc32.force", "slot2 5\n");
  EXPECT_EQ(0, JcOpenSessionChecked(ctx()));
}

TEST_F(JobControlTest, InfoFlagsReadCodeNineBetweenModes) {
  ASSERT_EQ(0u, JcOpenUi(ctx()));
  WriteScript("orvjc32.store", "Office\tinfo9\t05000000\n");
  EXPECT_EQ(5u, JcInfoFlags(Block().ops, Block().session));
  std::vector<std::string> log = ScriptLines("orvjc32.log");
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(0u, log[log.size() - 3].find("slot11 session=1 first=2 second=0"));
  EXPECT_EQ(0u, log[log.size() - 2].find("slot12 session=1 code=9 one=1 four=4 size=4 -> 0"));
  EXPECT_EQ(0u, log[log.size() - 1].find("slot11 session=1 first=0 second=2"));
  WriteScript("orvjc32.force", "slot12 1\n");
  EXPECT_EQ(0u, JcInfoFlags(Block().ops, Block().session));
  EXPECT_EQ(0u, JcInfoFlags(Block().ops, 0));
}

// ---- faults of the DLL ----

TEST_F(JobControlTest, MissingDllReturnsErrorAndKeepsItems) {
  RemoveStandIn(kJobControlDll);
  SetTextOf(kItem_zdmOwnerName, u"Ann");
  ItemSetRawById(ctx(), kItem_zdmUserCodeGet, 1);
  EXPECT_EQ(DWORD(ERROR_MOD_NOT_FOUND), JcOpenUi(ctx()));
  EXPECT_EQ(0u, JcPushOpenUi(ctx(), kJcMaskJobItems));
  EXPECT_EQ(DWORD(ERROR_MOD_NOT_FOUND), JcFetchPropertiesOnceUi(ctx(), kJcMaskJobItemsWithUserCode));
  EXPECT_EQ(1, RawOf(kItem_zdmUserCodeGet)) << "a failed load stops before the flag reset";
  EXPECT_EQ(u"Ann", TextOf(kItem_zdmOwnerName));
  EXPECT_EQ(nullptr, Block().module);
}

class JobControlMissingExport : public JobControlTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(JobControlMissingExport, ReturnsProcNotFoundAndUnloads) {
  SimHideExport(kJobControlDll, GetParam());
  EXPECT_EQ(DWORD(ERROR_PROC_NOT_FOUND), JcOpenUi(ctx()));
  EXPECT_EQ(DWORD(ERROR_PROC_NOT_FOUND), JcFetchPropertiesOnceUi(ctx(), kJcMaskJobItems));
  EXPECT_TRUE(JcLog("JCGetInterface").empty()) << "no table is taken that could not be given back";
  EXPECT_EQ(nullptr, Block().module);
  EXPECT_EQ(nullptr, Block().getInterface);
}

INSTANTIATE_TEST_SUITE_P(Cases, JobControlMissingExport, ::testing::Values("JCGetInterface", "JCDisposeInterface"));

TEST_F(JobControlTest, DllWithoutEitherExportReturnsProcNotFound) {
  // The notification stand-in under the job-control name: loads, but has neither export.
  InstallStandIn(kJobControlDll, kNotificationSo);
  EXPECT_EQ(DWORD(ERROR_PROC_NOT_FOUND), JcOpenUi(ctx()));
  EXPECT_EQ(nullptr, Block().module);
}

TEST_F(JobControlTest, FailingSlotReturnsItsResultAndKeepsItems) {
  SetTextOf(kItem_zdmOwnerName, u"Ann");
  StoreValue(2, HexText(u"Bob"));
  ASSERT_EQ(0u, JcOpenUi(ctx()));
  WriteScript("orvjc32.force", "slot5 31\nslot6 32\nslot7 33\n");
  EXPECT_EQ(31u, JcFetchProperty(ctx(), 2));
  EXPECT_EQ(u"Ann", TextOf(kItem_zdmOwnerName));
  EXPECT_EQ(32u, JcPushProperty(ctx(), 2, kJcCmdPushOpen));
  EXPECT_EQ(33u, JcDeleteProperty(ctx(), 9));
  WriteScript("orvjc32.force", "slot4 34\n");
  EXPECT_EQ(34u, JcFetchProperty(ctx(), 2));
  EXPECT_EQ(u"Ann", TextOf(kItem_zdmOwnerName));
}

TEST_F(JobControlTest, DeletedPropertyHasNoValueAfterwards) {
  StoreValue(9, HexText(u"user"));
  SetTextOf(kItem_wdmAuthenticationUserName, u"KEEP");
  ASSERT_EQ(0u, JcOpenUi(ctx()));
  EXPECT_EQ(0u, JcDeleteProperty(ctx(), 9));
  EXPECT_EQ(0u, JcFetchProperty(ctx(), 9));
  EXPECT_EQ(u"KEEP", TextOf(kItem_wdmAuthenticationUserName));
}

// ---- job items in printer data ----

TEST_F(JobControlTest, JobItemsSavedAndLoadedInPrinterData) {
  HANDLE printer = AddTestPrinter(u"Office");
  ASSERT_NE(nullptr, printer);
  ctx()->printer = printer;
  SetTextOf(kItem_zdmOwnerName, u"Ann");
  EXPECT_EQ(1, StoreWriteItemDefaultName(printer, ctx(), Item(kItem_zdmOwnerName)));
  SetTextOf(kItem_zdmDocumentName, u"Report");
  EXPECT_EQ(0u, JcSaveJobItems(ctx(), kJcMaskJobItems));
  JcClearJobItems(ctx(), kJcMaskJobItems);
  EXPECT_EQ(u"", TextOf(kItem_zdmOwnerName));
  EXPECT_EQ(0u, JcLoadJobItems(ctx(), kJcMaskJobItems));
  EXPECT_EQ(u"Ann", TextOf(kItem_zdmOwnerName));
  EXPECT_EQ(u"Report", TextOf(kItem_zdmDocumentName));
  ClosePrinter(printer);
}

}  // namespace
}  // namespace zems_test
