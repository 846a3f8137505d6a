// The option-request and capability blocks on the sample printer, and committing the property
// sheets' settings.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/option_block.h"
#include "core/devmode/sheet_commit.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/store/item_store.h"
#include "core/system/settings_folders.h"
#include "dm_test_util.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class OptionBlockTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(ctx_, nullptr);
    ASSERT_NE(ctx_->settings, nullptr);
  }
  void TearDown() override {
    if (ctx_) CtxRelease(ctx_, kReleaseExpired);
    ContextTest::TearDown();
  }
  // A DEVMODE of the context carrying a request block with valid mark 1 (mode 0).
  std::vector<BYTE> Request(std::initializer_list<std::pair<int, BYTE>> bytes, BYTE mark = 1) {
    std::vector<BYTE> dm = OwnDevmode(ctx_);
    memset(dm.data() + kDmOffOptionRequest, 0, kOptionBlockSize);
    dm[kDmOffOptionRequest + 1] = mark;
    for (const auto& b : bytes) dm[kDmOffOptionRequest + b.first] = b.second;
    return dm;
  }
  // The items of a DEVMODE, read by loading it into the context.
  LONG_PTR ItemOf(const std::vector<BYTE>& dm, WORD id) {
    std::vector<BYTE> keep(ctx_->settings, ctx_->settings + kDmSize);
    memcpy(ctx_->settings, dm.data(), kDmSize);
    const LONG_PTR v = ItemGetRawById(ctx_, id);
    memcpy(ctx_->settings, keep.data(), kDmSize);
    return v;
  }
  DriverContext* ctx_ = nullptr;
};

TEST_F(OptionBlockTest, RequestTable) {
  struct Case {
    const char* what;
    std::initializer_list<std::pair<int, BYTE>> bytes;
    bool landscape, finisher;
    WORD item;
    LONG expected;
  } cases[] = {
      {"staple 4", {{5, 4}}, false, false, kItem_zdmStapleType, 0x32},
      {"staple 6", {{5, 6}}, false, false, kItem_zdmStapleType, 0x32},
      {"staple on", {{5, 6}}, false, false, kItem_zdmFuncSelectStaple, 1},
      {"scale 16386", {{10, 0x02}, {11, 0x40}}, false, false, kItem_zdmScaleH, 70},
      {"scale 150", {{10, 150}}, false, false, kItem_zdmScaleH, 150},
      {"scale 20000", {{10, 0x20}, {11, 0x4E}}, false, false, kItem_zdmScaleH, 20000},
      {"scale switches zoom on", {{10, 150}}, false, false, kItem_zdmFuncSelectScale, 1},
      {"2-up portrait", {{12, 2}}, false, false, kItem_zdmNUPType, 1},
      {"2-up landscape", {{12, 2}}, true, false, kItem_zdmNUPType, 3},
      {"2-up kind", {{12, 2}}, true, false, kItem_zdmNUPPOSTKind, 1},
      {"output paper 16", {{13, 16}}, false, false, kItem_zdmOutPaperSize, -1},
      {"output paper A4", {{13, 2}}, false, false, kItem_zdmOutPaperSize, 9},
      {"tray 14 without finisher", {{6, 14}}, false, false, kItem_zdmOutputTrayID, 0},
      {"tray 14 with finisher", {{6, 14}}, false, true, kItem_zdmOutputTrayID, 31},
      {"tray 15 with finisher", {{6, 15}}, false, true, kItem_zdmOutputTrayID, 30},
      {"tray 7", {{6, 7}}, false, false, kItem_zdmOutputTrayID, 17},
      {"duplex left", {{2, 4}}, false, false, kItem_zdmDuplexType, 3},
      {"600 dpi", {{7, 2}}, false, false, kItem_zdmDstResolutionW, 600},
      {"sort sets collate", {{3, 2}}, false, false, kItem_dmCollate, 1},
      // The sample's N-up transact switches zoom off: it runs after the zoom request's items.
      {"N-up transact after zoom", {{10, 150}, {12, 2}}, false, false, kItem_zdmFuncSelectScale, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ItemSetRawById(ctx_, kItem_dmOrientation, c.landscape ? 2 : 1);
    ItemSetRawById(ctx_, 10058, c.finisher ? 1 : 0);
    std::vector<BYTE> dm = Request(c.bytes);
    ctx_->ui->mergeFlags = 0;
    std::vector<BYTE> before(ctx_->settings, ctx_->settings + kDmSize);
    ASSERT_EQ(DmApplyOptionBlock(ctx_, dm.data()), 1);
    EXPECT_EQ(ItemOf(dm, c.item), c.expected);
    EXPECT_EQ(dm[kDmOffOptionRequest + 1], 0) << "the request is applied once";
    EXPECT_NE(ctx_->ui->mergeFlags & kMergeOptionApplied, 0u);
    EXPECT_EQ(memcmp(before.data(), ctx_->settings, kDmSize), 0) << "the context keeps its settings";
  }
}

TEST_F(OptionBlockTest, UnmarkedBlockIsIgnoredEvenInMode2) {
  std::vector<BYTE> dm = Request({{0, 2}, {5, 4}}, 0);
  const std::vector<BYTE> before = dm;
  ctx_->ui->mergeFlags = 0;
  EXPECT_EQ(DmApplyOptionBlock(ctx_, dm.data()), 1);
  EXPECT_EQ(dm, before);
  EXPECT_EQ(ctx_->ui->mergeFlags & kMergeOptionApplied, 0u);
}

TEST_F(OptionBlockTest, FailingRefreshLeavesTheDevmodeAndTheMergeGoesOn) {
  std::vector<BYTE> dm = Request({{0, 3}});
  const std::vector<BYTE> before = dm;
  if (DmApplyOptionBlock(ctx_, dm.data()) != 0) GTEST_SKIP() << "the sample printer's refresh succeeded";
  EXPECT_EQ(dm, before);
  std::vector<BYTE> again = Request({{0, 3}});
  EXPECT_EQ(DmMergeIntoContext(ctx_, again.data(), kMergeGate), 1);
}

TEST_F(OptionBlockTest, MergedRequestIsStableWhenMergedAgain) {
  std::vector<BYTE> dm = Request({{2, 4}, {5, 4}, {7, 2}, {10, 67}, {12, 2}, {13, 2}});
  ASSERT_EQ(DmMergeIntoContext(ctx_, dm.data(), kMergeGate), 1);
  EXPECT_NE(ctx_->ui->mergeFlags & kMergeOptionApplied, 0u);
  EXPECT_EQ(ctx_->settings[kDmOffOptionRequest + 1], 0);
  const std::vector<BYTE> first = OwnDevmode(ctx_);
  std::vector<BYTE> again = first;
  ASSERT_EQ(DmMergeIntoContext(ctx_, again.data(), kMergeGate), 1);
  const std::vector<BYTE> second = OwnDevmode(ctx_);
  // zdmDstResolutionH (offset 374) is left out: the merge itself stores zdmDstResolutionW's
  // logical value (3038 for 600 dpi) there, request or not.
  for (UINT i = 0; i < kDmSize; ++i) {
    if (i == 374 || i == 375) continue;
    ASSERT_EQ(first[i], second[i]) << "offset " << i;
  }
}

TEST_F(OptionBlockTest, CapabilityBlockOfTheSample) {
  // The sample: trays 0, 2, 13, 15-18 (byte 7), square resolutions 600 and 1200 (byte 10),
  // output papers A4, A5, A6, B5, B6 JIS, Letter, Legal, postcard, Statement (bytes 13-14). Its
  // PJL table maps no finishing item, so no sort, punch or staple bits, with or without a finisher.
  struct Case {
    const char* what;
    LONG finisher;
    BYTE caps[18];
  } cases[] = {
      {"no finisher", 0, {0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0xF7, 0x00, 0x00, 0x06, 0x01, 0x3F, 0xEE, 0x07, 0x00, 0x00, 0x01}},
      {"finisher", 1, {0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0xF7, 0x00, 0x00, 0x06, 0x01, 0x3F, 0xEE, 0x07, 0x00, 0x00, 0x01}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ItemSetRawById(ctx_, 10058, c.finisher);
    ctx_->settings[kDmOffOptionRequest + 1] = 1;
    ASSERT_EQ(DmBuildCapsBlock(ctx_), 1);
    const BYTE* caps = ctx_->settings + kDmOffCapabilities;
    for (UINT i = 0; i < kOptionBlockSize; ++i)
      EXPECT_EQ(caps[i], i < 18 ? c.caps[i] : 0) << "byte " << i;
    for (UINT i = 0; i < kOptionBlockSize; ++i) EXPECT_EQ(ctx_->settings[kDmOffOptionRequest + i], 0);
  }
  WORD codes[16];
  EXPECT_EQ(DmListOutputTrayCodes(ctx_, codes), 7);
}

// ---- committing ----

struct Recorded {
  int calls = 0;
  UINT function = 0;
  LPARAM result = -1;
  DWORD publishedBefore = 0;
  const WCHAR* printer = nullptr;
};
Recorded g_recorded;

LONG_PTR CALLBACK RecordResult(HANDLE, UINT function, LPARAM, LPARAM result) {
  ++g_recorded.calls;
  g_recorded.function = function;
  g_recorded.result = result;
  g_recorded.publishedBefore = SimPrinterPublishCount(g_recorded.printer, nullptr);
  return 1;
}

TEST_F(OptionBlockTest, DocumentCommitTable) {
  struct Case {
    const char* what;
    LONG fMode;
    bool inputCollates;
    bool outputWritten;
    short collate;  // the output's dmCollate: the sort switch (1), or as copied (0)
    bool diskFull;  // every save fails: the disk is full
  } cases[] = {
      {"fMode 0 writes no output", 0, false, false, 0, false},
      {"fMode 2 writes the output", 2, false, true, 1, false},
      {"input collate kept", 2, true, true, 0, false},
      {"fMode 0, the save fails", 0, false, false, 0, true},
      {"fMode 2, the save fails", 2, false, true, 1, true},
  };
  const bool collates = DmIsCollateSupported(ctx_) != 0;
  // The machine's settings folder, where the per-user settings file lives, as setting up the
  // printer leaves it.
  ASSERT_TRUE(PathCreateSettingsFolder(ctx_));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<BYTE> in = OwnDevmode(ctx_);
    DEVMODEW* pubIn = reinterpret_cast<DEVMODEW*>(in.data());
    if (c.inputCollates) {
      pubIn->dmFields |= 0x8000;
      pubIn->dmCollate = 1;
    }
    ItemSetRawById(ctx_, kItem_zdmFuncSelectSort, 1);
    reinterpret_cast<DEVMODEW*>(ctx_->settings)->dmCollate = 0;
    CtxSetCallSrc(ctx_, 0);
    std::vector<BYTE> out(kDmSize + 64, 0xAB);
    ctx_->settings[kDmOffOptionRequest + 1] = 1;
    ctx_->ui->front.documentMode = c.fMode;
    ctx_->ui->front.sheetKind = 0;
    ctx_->ui->front.inputDevmode = in.data();
    ctx_->ui->front.outputDevmode = out.data();
    g_recorded = Recorded{};
    ctx_->ui->front.sheetCallback = reinterpret_cast<void*>(&RecordResult);
    // The output is written whether the save succeeded or not.
    if (c.diskFull) {
      // Settings written before are not written again: start from no settings file.
      DeleteFileW(PathSettingsFile(ctx_));
      SimSetDiskFull(0);
    }
    SetLastError(0);
    const int result = DmApplySheetChanges(ctx_);
    const DWORD error = GetLastError();
    SimSetDiskFull(-1);
    EXPECT_EQ(result, c.diskFull ? 0 : 1);
    if (c.diskFull) {
      EXPECT_EQ(error, DWORD(ERROR_DISK_FULL)) << "the save's error is kept";
    }
    EXPECT_EQ(ctx_->ui->front.applyMarker, 1);
    for (UINT i = kDmSize; i < out.size(); ++i) ASSERT_EQ(out[i], 0xAB) << "no byte beyond the DEVMODE";
    if (!c.outputWritten) {
      EXPECT_EQ(out[0], 0xAB);
      EXPECT_EQ(g_recorded.calls, 0);
      continue;
    }
    EXPECT_EQ(g_recorded.calls, 1);
    EXPECT_EQ(g_recorded.result, c.diskFull ? CPSUI_CANCEL : CPSUI_OK);
    EXPECT_EQ(out[kDmOffCapabilities + 3], 3) << "a fresh capability block";
    for (UINT i = 0; i < kOptionBlockSize; ++i) EXPECT_EQ(out[kDmOffOptionRequest + i], 0);
    const DEVMODEW* pubOut = reinterpret_cast<const DEVMODEW*>(out.data());
    // Without a sort choice the output never collates.
    EXPECT_EQ(pubOut->dmCollate, collates ? c.collate : 0);
  }
  ctx_->ui->front.inputDevmode = ctx_->ui->front.outputDevmode = nullptr;
  ctx_->ui->front.sheetCallback = nullptr;
}

// The document sheets' commit talks to job control in a session of its own: open, push the
// document's job items, fetch the user code, close. The fetch belongs to that session: a
// one-shot fetch would end the session itself and forget how the user code was obtained.
TEST_F(OptionBlockTest, DocumentCommitFetchesInsideItsOwnSession) {
  InstallJobControl();
  ASSERT_TRUE(PathCreateSettingsFolder(ctx_));
  ctx_->ui->front.sheetKind = 0;
  ctx_->ui->front.documentMode = 0;
  ItemSetRawById(ctx_, kItem_zdmUserCodeGet, 1);
  ItemSetRawById(ctx_, kItem_zdmUserCodeDLL, 1);
  EXPECT_EQ(DmCommitSettings(ctx_), 1);
  const std::vector<std::string> expected = {"JCGetInterface", "slot2", "slot6", "slot4 property=1", "slot3",
                                             "JCDisposeInterface"};
  EXPECT_EQ(JobControlCalls(), expected);
  EXPECT_EQ(ItemGetRawById(ctx_, kItem_zdmUserCodeGet), 1);
  EXPECT_EQ(ItemGetRawById(ctx_, kItem_zdmUserCodeDLL), 1);
}

TEST_F(OptionBlockTest, PrinterApplyPublishesBeforeTheResult) {
  ctx_->ui->front.sheetKind = kSheetPrinterProperties;
  ctx_->ui->front.sheetCallback = reinterpret_cast<void*>(&RecordResult);
  g_recorded = Recorded{};
  g_recorded.printer = ctx_->ui->printerName;
  // No network key: the key's scratch text from the sheet is emptied with the item.
  ctx_->ui->textBuffer[0] = 'k';
  ctx_->ui->textBuffer[1] = 0;
  EXPECT_EQ(DmApplySheetChanges(ctx_), 1);
  EXPECT_EQ(ctx_->ui->textBuffer[0], 0);
  EXPECT_EQ(g_recorded.calls, 1);
  EXPECT_EQ(g_recorded.function, static_cast<UINT>(CPSFUNC_SET_RESULT));
  EXPECT_EQ(g_recorded.result, CPSUI_OK);
  EXPECT_EQ(g_recorded.publishedBefore, 1u) << "the spooler is told first";
  DWORD action = 0;
  EXPECT_EQ(SimPrinterPublishCount(ctx_->ui->printerName, &action), 1u);
  EXPECT_EQ(action, static_cast<DWORD>(DSPRINT_UPDATE));
  ctx_->ui->front.sheetCallback = nullptr;
}

TEST_F(OptionBlockTest, FailingPrinterSaveReportsCancel) {
  struct Case {
    const char* what;
    bool notAdministrator;  // printer data refused
    bool diskFull;
    DWORD error;            // the save's error, kept
  } cases[] = {
      {"printer data refused to a user", true, false, DWORD(ERROR_ACCESS_DENIED)},
      {"full disk", false, true, DWORD(ERROR_DISK_FULL)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimSystemIdentity id;
    ASSERT_TRUE(SimGetSystemIdentity(&id));
    SimSystemIdentity user = id;
    user.userIsAdmin = c.notAdministrator ? 0 : id.userIsAdmin;
    ASSERT_TRUE(SimSetSystemIdentity(&user));
    ctx_->ui->front.sheetKind = kSheetPrinterProperties;
    ctx_->ui->front.sheetCallback = reinterpret_cast<void*>(&RecordResult);
    g_recorded = Recorded{};
    g_recorded.printer = ctx_->ui->printerName;
    if (c.diskFull) {
      // Settings written before are not written again: start from no settings file.
      DeleteFileW(PathSettingsFile(ctx_));
      SimSetDiskFull(0);
    }
    SetLastError(0);
    const int result = DmApplySheetChanges(ctx_);
    const DWORD error = GetLastError();
    SimSetDiskFull(-1);
    SimSetSystemIdentity(&id);
    ctx_->ui->front.sheetCallback = nullptr;
    EXPECT_EQ(result, 0);
    EXPECT_EQ(g_recorded.calls, 1);
    EXPECT_EQ(g_recorded.result, CPSUI_CANCEL);
    EXPECT_EQ(error, c.error);
  }
}

}  // namespace
}  // namespace zems_test

namespace zems_test {
namespace {

// An outside program on the sample printer: it writes a request into a DEVMODE of the driver,
// has it merged and written back as a document-properties call with DM_MODIFY|DM_COPY does
// without a dialog, and reads the result.
TEST_F(OptionBlockTest, OutsideProgramRoundTrip) {
  ItemSetRawById(ctx_, 10058, 1);  // a finisher for the staple
  std::vector<BYTE> in = Request({{2, 4}, {5, 4}, {6, 3}, {7, 2}, {10, 0x01}, {11, 0x40}, {12, 2}, {13, 2}});
  ASSERT_EQ(DmMergeIntoContext(ctx_, in.data(), kMergeGate), 1);
  std::vector<BYTE> out(kDmSize, 0);
  ctx_->ui->front.documentMode = kDocModeOutBuffer;
  ctx_->ui->front.inputDevmode = in.data();
  ctx_->ui->front.outputDevmode = out.data();
  EXPECT_EQ(DmUpdateOutputDevmode(ctx_), 1);
  ctx_->ui->front.inputDevmode = ctx_->ui->front.outputDevmode = nullptr;

  struct Expect {
    WORD item;
    LONG value;
  } expected[] = {
      {kItem_zdmFuncSelectDuplex, 1}, {kItem_zdmDuplexType, 3},       {kItem_zdmFuncSelectStaple, 1},
      {kItem_zdmOutputTrayID, 13},    {kItem_zdmDstResolutionW, 600}, {kItem_zdmScaleH, 67},
      {kItem_zdmFuncSelectNup, 1},    {kItem_zdmNUPPOSTKind, 1},      {kItem_zdmOutPaperSize, 9},
  };
  for (const Expect& e : expected) EXPECT_EQ(ItemOf(out, e.item), e.value) << "item " << e.item;
  std::vector<BYTE> caps(ctx_->settings + kDmOffCapabilities, ctx_->settings + kDmOffCapabilities + kOptionBlockSize);
  ASSERT_EQ(DmBuildCapsBlock(ctx_), 1);
  EXPECT_EQ(memcmp(out.data() + kDmOffCapabilities, ctx_->settings + kDmOffCapabilities, kOptionBlockSize), 0);
  EXPECT_EQ(out[kDmOffCapabilities + 7], 0xF7);
  for (UINT i = 0; i < kOptionBlockSize; ++i) EXPECT_EQ(out[kDmOffOptionRequest + i], 0);
}

}  // namespace
}  // namespace zems_test
