// Merging DEVMODEs into a context of the sample printer, and the identity tests.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_convert.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/common/mem.h"
#include "core/model/model_image.h"
#include "core/model/model_lookup.h"
#include "core/store/item_store.h"
#include "core/tables/value_symbols.h"
#include "dm_test_util.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

// What the modules see of a merge: a recorder in front of the first module's callbacks, which
// may also add flags to the merge's word when event 52 offers it.
struct Seen {
  std::vector<int> events;
  std::vector<WORD> notes;
  void* flagsArgument = nullptr;
  DWORD addFlags = 0;
  void (*onFlags)(DriverContext*) = nullptr;  // what the module does when it sees the flags
  UiModuleEventFn nextEvent = nullptr;
  UiModuleNotifyFn nextNotify = nullptr;
};
Seen g_seen;

int SeeEvent(DriverContext* ctx, int event, void* argument, void* data) {
  g_seen.events.push_back(event);
  if (event == 52) {
    g_seen.flagsArgument = argument;
    if (argument) *static_cast<DWORD*>(argument) |= g_seen.addFlags;
    if (g_seen.onFlags) g_seen.onFlags(ctx);
  }
  return g_seen.nextEvent ? g_seen.nextEvent(ctx, event, argument, data) : 0;
}
int SeeNote(DriverContext* ctx, WORD code, void* data) {
  g_seen.notes.push_back(code);
  return g_seen.nextNotify ? g_seen.nextNotify(ctx, code, data) : 0;
}

bool Has(const std::vector<int>& events, int event) {
  return std::find(events.begin(), events.end(), event) != events.end();
}

class DmMergeTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(ctx_, nullptr);
    ASSERT_NE(ctx_->settings, nullptr);
  }
  void TearDown() override {
    if (watched_) {
      ctx_->ui->modules->rows[0].event = g_seen.nextEvent;
      ctx_->ui->modules->rows[0].notify = g_seen.nextNotify;
    }
    if (image_) {
      ctx_->modelImage = previousImage_;
      MemFree(image_);
    }
    if (ctx_) CtxRelease(ctx_, kReleaseExpired);
    ContextTest::TearDown();
  }
  // Puts the sample description with the rules of merge_described_items.zmd appended in the
  // context's place until the test ends.
  void DescribeMergedItems() {
    std::string text;
    for (const char* file : {"/samples/models/zems_c4.zmd", "/tests/fixtures/model/merge_described_items.zmd"}) {
      std::ifstream in(SourceDir() + file, std::ios::binary);
      text.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      text += "\n";
    }
    image_ = ModelCompileMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
    ASSERT_NE(image_, nullptr);
    ModelFixUpImage(image_);
    previousImage_ = ctx_->modelImage;
    ctx_->modelImage = reinterpret_cast<ModelImage*>(image_);
    ASSERT_NE(ModelFindDescriptor(kItem_zdmLockPrnMethod, ctx_), nullptr);
  }
  // Puts the recorder in front of the modules and forgets what it saw.
  void Watch() {
    ASSERT_NE(ctx_->ui->modules, nullptr);
    ASSERT_GT(ctx_->ui->modules->count, 0);
    UiModuleEntry& first = ctx_->ui->modules->rows[0];
    if (!watched_) {
      g_seen.nextEvent = first.event;
      g_seen.nextNotify = first.notify;
      first.event = SeeEvent;
      first.notify = SeeNote;
      watched_ = true;
    }
    g_seen.events.clear();
    g_seen.notes.clear();
    g_seen.flagsArgument = nullptr;
    g_seen.addFlags = 0;
    g_seen.onFlags = nullptr;
  }
  BYTE* Dm() { return ctx_->settings; }
  LONG_PTR Raw(WORD id) { return ItemGetRawById(ctx_, id); }
  DriverContext* ctx_ = nullptr;
  bool watched_ = false;
  ModelImageHeader* image_ = nullptr;
  ModelImage* previousImage_ = nullptr;
};

TEST_F(DmMergeTest, IdentityAndTrust) {
  struct Case {
    const char* what;
    void (*change)(std::vector<BYTE>&);
    int own, anyVersion, sameModel, trust;
  } cases[] = {
      {"own 322", [](std::vector<BYTE>&) {}, 1, 1, 1, 0},
      {"320", [](std::vector<BYTE>& d) { WriteU32(d.data(), kDmOffLayoutVersion, 320); }, 0, 1, 1, 1},
      {"222", [](std::vector<BYTE>& d) { WriteU32(d.data(), kDmOffLayoutVersion, 222); }, 0, 1, 1, 2},
      {"410", [](std::vector<BYTE>& d) { WriteU32(d.data(), kDmOffLayoutVersion, 410); }, 0, 1, 1, 0},
      {"other tag", [](std::vector<BYTE>& d) { d[kDmOffPrivateTag] = 'q'; }, 0, 0, 0, 2},
      {"other machine code", [](std::vector<BYTE>& d) { d[kDmOffMachineId] = 162; }, 0, 0, 0, 2},
      {"driver type 1", [](std::vector<BYTE>& d) { d[kDmOffDriverType] = 1; }, 0, 0, 0, 2},
      {"other private size", [](std::vector<BYTE>& d) { WriteU32(d.data(), kDmOffPrivateSize, 1024); }, 0, 0, 1, 0},
      {"changed signature", [](std::vector<BYTE>& d) { memcpy(d.data() + 220, "XXXX", 4); }, 1, 1, 1, 0},
      {"public size 212", [](std::vector<BYTE>& d) { WriteU16(d.data(), kDmOffSize, 212); }, 0, 0, 0, 2},
      {"private part short of 814", [](std::vector<BYTE>& d) { WriteU16(d.data(), kDmOffDriverExtra, 593); }, 0, 0, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<BYTE> dm = OwnDevmode(ctx_);
    c.change(dm);
    EXPECT_EQ(DmIsOwnDevmode(dm.data()), c.own);
    EXPECT_EQ(DmIsOwnDevmodeAnyVersion(dm.data()), c.anyVersion);
    EXPECT_EQ(DmIsSameModelDevmode(dm.data()), c.sameModel);
    EXPECT_EQ(DmTrustLevel(dm.data()), c.trust);
  }
  EXPECT_EQ(DmIsOwnDevmode(nullptr), 0);
  EXPECT_EQ(DmIsSameModelDevmode(nullptr), 0);
}

TEST_F(DmMergeTest, WithoutAGateBitNothingHappens) {
  ctx_->ui->mergeFlags = 0x1234;
  std::vector<BYTE> before(Dm(), Dm() + kDmSize);
  std::vector<BYTE> other = OwnDevmode(ctx_);
  WriteU16(other.data(), 86, 7);  // dmCopies
  EXPECT_EQ(DmMergeIntoContext(ctx_, other.data(), 0x04000002), 1);
  EXPECT_EQ(ctx_->ui->mergeFlags, 0x1234u);
  EXPECT_EQ(std::vector<BYTE>(Dm(), Dm() + kDmSize), before);
}

// Flag sets against the work prompt (item 1010) and the load of the persisted device settings.
TEST_F(DmMergeTest, FlagSetsSelectTheirSteps) {
  struct Case {
    DWORD flags;
    LONG_PTR prompt;  // item 1010 afterwards (it is 1 before)
    bool loadsDeviceSettings;
  } cases[] = {
      {0x10008, 0, false},          {0x0400000A, 0, true},       {0x02 | 0x22000008, 0, false},
      {0x20008, 0, true},           {0x0408000C, 1, true},       {0x10000008, 1, false},
  };
  ASSERT_EQ(StoreSavePersistedItems(office_, ctx_, 2, kStoreSaveForced), 1);
  const LONG_PTR savedRam = Raw(kItem_zdmPrinterMemory);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    ItemSetRawById(ctx_, kItem_wdmCtrlWorkPrompt, 1);
    ItemSetRawById(ctx_, kItem_zdmPrinterMemory, savedRam + 64);
    EXPECT_EQ(DmMergeIntoContext(ctx_, nullptr, c.flags), 1);
    EXPECT_EQ(ctx_->ui->mergeFlags, c.flags);
    EXPECT_EQ(Raw(kItem_wdmCtrlWorkPrompt), c.prompt);
    EXPECT_EQ(Raw(kItem_zdmPrinterMemory), c.loadsDeviceSettings ? savedRam : savedRam + 64);
  }
}

TEST_F(DmMergeTest, EnvironmentFlagsKeptTakenAndRecomputed) {
  memset(Dm() + kDmOffEnvFlags, 0, kEnvFlagCount);
  Dm()[kDmOffEnvFlags + kEnvCallSrc] = 1;
  Dm()[kDmOffEnvFlags + kEnvBidiFunc] = 0x21;
  std::vector<BYTE> in = OwnDevmode(ctx_);
  memset(in.data() + kDmOffEnvFlags, 1, kEnvFlagCount);
  in[kDmOffEnvFlags + kEnvBidiFunc] = 0x7F;
  in[kDmOffEnvFlags + kEnvPresentUIMode] = 0;
  in[369] = 1;  // zdmUIModeChange: the recomputed flag 712 follows it
  ASSERT_EQ(DmMergeIntoContext(ctx_, in.data(), 0x0408000C), 1);
  const BYTE* f = Dm() + kDmOffEnvFlags;
  // Kept from the context: 706-711, 714 (then recomputed: a local printer), 718, 720-722.
  for (UINT flag : {kEnvOSKind, kEnvBatchInst, kEnvPrintLog, kEnvBiDirect, kEnvNoPermission,
                    kEnvServerClientMode, kEnvPropertyType, kEnvTSE, kEnvAdmin})
    EXPECT_EQ(f[flag], 0) << "item " << 705 + flag;
  EXPECT_EQ(f[kEnvCallSrc], 1);
  EXPECT_EQ(f[kEnvBidiFunc], 0x21);
  EXPECT_EQ(f[kEnvPresentUIMode], 1);
  EXPECT_EQ(f[kEnvBidiSupport], 0);
  // Taken from the incoming DEVMODE: 715, 716, 719.
  EXPECT_EQ(f[kEnvUserCodeFix], 1);
  EXPECT_EQ(f[kEnvUserCodeGet], 1);
  EXPECT_EQ(f[kEnvUserCodeDll], 1);
  EXPECT_TRUE(HeaderIntact(Dm()));
}

TEST_F(DmMergeTest, LockPrintMethodFollowsTheLockBits) {
  struct Case {
    LONG_PTR lockBit, preview;
    DWORD flags;
    int expected;  // the context has 2, the incoming DEVMODE 5
  } cases[] = {{0, 0, 0x8, 5}, {1, 0, 0x8, 2}, {1, 1, 0x8, 5}, {1, 0, 0x10008, 5}};
  // Without a rule for the item the repair sweep after the merge gives it its fallback 0.
  DescribeMergedItems();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lockBit << c.preview << " " << c.flags);
    ItemSetRawById(ctx_, kItem_zdmLock000InfoBitPrintType, c.lockBit);
    DmSetLockPrnMethod(Dm(), 2);
    std::vector<BYTE> in = OwnDevmode(ctx_);
    DmSetLockPrnMethod(in.data(), 5);
    // zdmFunc2SelectPreviewFlag is bit 31 of the word at 1016; the merged value counts.
    in[1019] = c.preview ? 0x80 : 0;
    ASSERT_EQ(DmMergeIntoContext(ctx_, in.data(), c.flags), 1);
    EXPECT_EQ(DmGetLockPrnMethod(Dm()), c.expected);
  }
}

TEST_F(DmMergeTest, QualityHiddenAndSupportBits) {
  // Without rules for bits 0 and 1 the repair sweep after the merge clears them.
  DescribeMergedItems();
  std::vector<BYTE> in = OwnDevmode(ctx_);
  DmSetQualityFuncBits(in.data(), 0xFFFF);
  WriteU32(in.data(), kDmOffHidden2Bits, 0xABCD0000u);
  WriteU32(in.data(), kDmOffSupport2Bits, 0x22u);  // bit 1 and bit 5
  WriteU32(Dm(), kDmOffSupport2Bits, 0x01u);
  DmSetFrontFunc(Dm(), 0x1234);
  ASSERT_EQ(DmMergeIntoContext(ctx_, in.data(), 0x00400008), 1);
  const bool textBitmap = ModelGetItemDefault(kItem_zdmQualityFuncTextBitmapSupport, ctx_) != 0;
  EXPECT_EQ(DmGetQualityFuncBits(Dm()), textBitmap ? 0xFFFF : 0xDFFF);
  const bool custom1 = ModelGetItemDefault(kItem_wdmCustomFunc1, ctx_) != 0;
  EXPECT_EQ(DmGetHidden2FuncBits(Dm()), custom1 ? 0xABCD0080u : 0xABCD0000u) << "bits 16-31 survive";
  EXPECT_EQ(DmGetSupportFunc2Bits(Dm()), 0x21u) << "bits 0 and 1 are the context's";
  EXPECT_EQ(DmGetFrontFunc(Dm()), 0x1234u);

  // Without 0x400000 the incoming support bits count.
  WriteU32(in.data(), kDmOffSupport2Bits, 0x22u);
  ASSERT_EQ(DmMergeIntoContext(ctx_, in.data(), 0x8), 1);
  EXPECT_EQ(DmGetSupportFunc2Bits(Dm()), 0x22u);
}

TEST_F(DmMergeTest, ImageFormJobReset) {
  // Without a rule for the scale switch the repair sweep after the merge turns it off.
  DescribeMergedItems();
  for (DWORD flags : {0x8u, 0x20008u}) {
    ItemSetRawById(ctx_, kItem_wdmImageFormJob, 1);
    ItemSetRawById(ctx_, kItem_zdmFuncSelectScale, 1);
    ItemSetRawById(ctx_, kItem_zdmOutPaperSize, 9);
    ItemSetRawById(ctx_, kItem_zdmExtOutput2A4Fit, 1);
    ASSERT_EQ(DmMergeIntoContext(ctx_, nullptr, flags), 1);
    const bool reset = flags & 0x20000;
    EXPECT_EQ(Raw(kItem_zdmFuncSelectScale), reset ? 0 : 1);
    EXPECT_EQ(Raw(kItem_zdmOutPaperSize), reset ? 1024 : 9);
    EXPECT_EQ(Raw(kItem_zdmExtOutput2A4Fit), reset ? 0 : 1);
  }
}

TEST_F(DmMergeTest, TrustDecidesThePrivatePart) {
  struct Case {
    const char* what;
    void (*change)(std::vector<BYTE>&);
    bool privateTaken;
  } cases[] = {
      {"own", [](std::vector<BYTE>&) {}, true},
      {"foreign tag", [](std::vector<BYTE>& d) { d[kDmOffPrivateTag] = 'x'; }, false},
      {"version 222", [](std::vector<BYTE>& d) { WriteU32(d.data(), kDmOffLayoutVersion, 222); }, false},
      {"driver type 1", [](std::vector<BYTE>& d) { d[kDmOffDriverType] = 1; }, false},
      {"private size 1024", [](std::vector<BYTE>& d) { WriteU16(d.data(), kDmOffDriverExtra, 1024); }, false},
      // Same model, taken whole: the header still ends up saying what this driver writes.
      {"header private size 1024", [](std::vector<BYTE>& d) { WriteU32(d.data(), kDmOffPrivateSize, 1024); }, true},
      {"version 410", [](std::vector<BYTE>& d) { WriteU32(d.data(), kDmOffLayoutVersion, 410); }, true},
      {"version 399", [](std::vector<BYTE>& d) { WriteU32(d.data(), kDmOffLayoutVersion, 399); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ItemSetRawById(ctx_, kItem_zdmNUPPOSTKind, 1);
    std::vector<BYTE> in = OwnDevmode(ctx_);
    in[kDmOffNupPostKind] = 3;
    WriteU16(in.data(), kDmOffOrientation, 2);
    c.change(in);
    in.resize(ReadU16(in.data(), kDmOffSize) + ReadU16(in.data(), kDmOffDriverExtra), 0x5A);
    ASSERT_EQ(DmMergeIntoContext(ctx_, in.data(), 0x8), 1);
    EXPECT_EQ(DmGetNupPostKind(Dm()), c.privateTaken ? 3 : 1);
    EXPECT_TRUE(HeaderIntact(Dm()));
    EXPECT_EQ(DmGetPrivateVersion(Dm()), 322u);
    EXPECT_EQ(DmGetPrivateSize(Dm()), 1016u);
    EXPECT_EQ(DmIsOwnDevmode(Dm()), 1);
  }
}

TEST_F(DmMergeTest, AnOlderLayoutIsUpgradedAndStamped) {
  std::vector<BYTE> in = OwnDevmode(ctx_, 320);
  in[kDmOffNupPostKind] = 3;
  ItemSetRawById(ctx_, kItem_wdmConvertVersion, 0);
  ASSERT_EQ(DmMergeIntoContext(ctx_, in.data(), 0x8), 1);
  EXPECT_EQ(DmGetPrivateVersion(Dm()), 322u);
  // The sample's conversion entry sets the sort type at 3.21 and the poster kind at 3.22 on
  // the incoming items; its last action ends the conversion by setting item 1020 to 400.
  EXPECT_EQ(DmGetNupPostKind(Dm()), 2) << "an upgraded private part is taken";
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_zdmSortType), TblFindValueSymbolByName("ZDMSORTTYPE_SORT")->logical);
  EXPECT_EQ(Raw(kItem_wdmConvertVersion), 400) << "the script ran for each version up to 322";
}

TEST_F(DmMergeTest, PublicPartBelowDmFieldsGivesNothing) {
  // Such a DEVMODE merges as no DEVMODE at all: the merge re-runs on the context's own
  // settings (the first merge after the defaults recomputes some of them, e.g. the balance
  // macro from the print quality).
  ASSERT_EQ(DmMergeIntoContext(ctx_, nullptr, 0x8), 1);
  std::vector<BYTE> before(Dm(), Dm() + kDmSize);
  std::vector<BYTE> tiny(10, 0x33);
  WriteU16(tiny.data(), 0, 0);
  std::vector<BYTE> in(80, 0x44);
  WriteU16(in.data(), kDmOffSize, 10);
  WriteU16(in.data(), kDmOffDriverExtra, 0);
  ASSERT_EQ(DmMergeIntoContextSized(ctx_, in.data(), 80, 0x8), 1);
  EXPECT_EQ(memcmp(Dm(), before.data(), kDmOffEnvFlags), 0);
  EXPECT_TRUE(HeaderIntact(Dm()));
  // A known length shorter than the claim refuses the DEVMODE whole.
  std::vector<BYTE> own = OwnDevmode(ctx_);
  own[kDmOffNupPostKind] = 3;
  ASSERT_EQ(DmMergeIntoContextSized(ctx_, own.data(), 1000, 0x8), 1);
  EXPECT_NE(DmGetNupPostKind(Dm()), 3);
}

// Step 17: the repair flags run every item's transact list (the sample's paper transact turns
// stapling off on an envelope).
TEST_F(DmMergeTest, RepairFlagsRunTheTransacts) {
  
  for (DWORD flags : {0x10008u, 0x0400000Au, 0x01000008u}) {
    SCOPED_TRACE(flags);
    ASSERT_TRUE(ItemSetValueById(ctx_, kItem_dmPaperSize, TblFindValueSymbolByName("DMPAPERSIZE_ENVDL")->logical));
    ASSERT_TRUE(ItemSetValueById(ctx_, kItem_zdmStapleType, TblFindValueSymbolByName("ZDMSTAPLETYPE_LEFT2")->logical));
    ASSERT_EQ(DmMergeIntoContext(ctx_, nullptr, flags), 1);
    EXPECT_EQ(ItemGetValueById(ctx_, kItem_zdmStapleType) == TblFindValueSymbolByName("ZDMSTAPLETYPE_OFF")->logical,
              (flags & kMergeRepairMask) != 0);
  }
}

// Step 10: the lock data are loaded for the load flags, and a printer reached through a server
// then sends events 60 and 59; steps 16-18: the modules get the UI state's flag word, and what
// they add to it counts for the transacts and for the last step, which recomputes the derived
// settings (event 53) only for the work prompt or an applied option request.
TEST_F(DmMergeTest, ModulesSeeTheLockDataTheFlagsAndTheLastStep) {
  struct Case {
    const char* what;
    DWORD flags;
    BYTE onServer;  // 1 through a server, 2 local
    DWORD added;    // by a module in event 52
    bool lockData, serverEvents, recomputes, transacts;
  } cases[] = {
      {"printer properties through a server", 0x0400000A, 1, 0, true, true, false, true},
      {"printer properties, local printer", 0x0400000A, 2, 0, true, false, false, true},
      {"no load flag", 0x10008, 1, 0, false, false, false, false},
      {"work prompt", 0x0408000C, 2, 0, true, false, true, true},
      {"an option request a module reports", 0x8, 2, kMergeOptionApplied, false, false, true, false},
      {"a repair a module asks for", 0x8, 2, 0x01000000, false, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ctx_->ui->onServer = c.onServer;
    ASSERT_TRUE(ItemSetValueById(ctx_, kItem_dmPaperSize, TblFindValueSymbolByName("DMPAPERSIZE_ENVDL")->logical));
    ASSERT_TRUE(ItemSetValueById(ctx_, kItem_zdmStapleType, TblFindValueSymbolByName("ZDMSTAPLETYPE_LEFT2")->logical));
    Watch();
    g_seen.addFlags = c.added;
    ASSERT_EQ(DmMergeIntoContext(ctx_, nullptr, c.flags), 1);
    EXPECT_EQ(g_seen.flagsArgument, &ctx_->ui->mergeFlags);
    EXPECT_EQ(ctx_->ui->mergeFlags, c.flags | c.added);
    EXPECT_EQ(std::find(g_seen.notes.begin(), g_seen.notes.end(), kNotifyLockDataLoaded) != g_seen.notes.end(),
              c.lockData);
    std::vector<int> server;
    for (int e : g_seen.events)
      if (e == 59 || e == 60) server.push_back(e);
    EXPECT_EQ(server, c.serverEvents ? std::vector<int>({60, 59}) : std::vector<int>());
    EXPECT_EQ(Has(g_seen.events, 53), c.recomputes);
    EXPECT_EQ(ItemGetValueById(ctx_, kItem_zdmStapleType) == TblFindValueSymbolByName("ZDMSTAPLETYPE_OFF")->logical,
              c.transacts);
  }
}

// Step 18 without a recompute: the custom-size table is loaded for a custom paper and the
// output paper's items are computed again, after whatever the modules did to them.
TEST_F(DmMergeTest, WithoutARecomputeTheOutputPaperIsAppliedAgain) {
  ItemSetRawById(ctx_, kItem_dmPaperSize, 256);
  ItemSetRawById(ctx_, kItem_zdmOutPaperSize, 9);
  CtxClearChangeFlags(ctx_, 0x4000000);
  Watch();
  g_seen.onFlags = [](DriverContext* ctx) {
    ItemSetRawById(ctx, kItem_zdmDstPaperLengthDot, 7);
    ItemSetRawById(ctx, kItem_zdmDstPaperWidthDot, 7);
  };
  ASSERT_EQ(DmMergeIntoContext(ctx_, nullptr, 0x8), 1);
  EXPECT_NE(CtxGetChangeFlags(ctx_) & 0x4000000, 0u) << "the custom-size table was loaded";
  // A4 in portrait at the context's resolution.
  const LONG_PTR dpi = Raw(kItem_zdmDstResolutionW);
  EXPECT_EQ(Raw(kItem_zdmDstPaperLengthDot), dpi == 1200 ? 14031 : 7016);
  EXPECT_EQ(Raw(kItem_zdmDstPaperWidthDot), dpi == 1200 ? 9921 : 4961);
}

// Steps 12 and 13: the companion products are tested again, and the work prompt fetches the
// job-control properties.
TEST_F(DmMergeTest, CompanionsAndJobControl) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, reinterpret_cast<LPCWSTR>(u"Software\\ORVEL\\Tavrello\\JobBinder"), 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD count = 1;
  ASSERT_EQ(RegSetValueExW(key, reinterpret_cast<LPCWSTR>(u"INSTALL_COUNT"), 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&count), sizeof count),
            ERROR_SUCCESS);
  RegCloseKey(key);
  struct Case {
    DWORD flags;
    bool fetches;
  } cases[] = {{0x8, false}, {0x0408000C, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    InstallJobControl();
    Dm()[kDmOffEnvFlags + (717 - 705)] = 0;
    Dm()[kDmOffEnvFlags + (705 - 705)] = 1;
    ASSERT_EQ(DmMergeIntoContext(ctx_, nullptr, c.flags), 1);
    EXPECT_EQ(Raw(kItem_zdmJBInstalled), 1) << "the job binder is installed";
    EXPECT_EQ(Raw(kItem_zdmPLInstalled), 0) << "the preview is not";
    const std::vector<std::string> calls = JobControlCalls();
    EXPECT_EQ(std::find(calls.begin(), calls.end(), "slot4 property=1") != calls.end(), c.fetches);
  }
}

}  // namespace
}  // namespace zems_test
