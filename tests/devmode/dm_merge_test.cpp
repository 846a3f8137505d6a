// Merging DEVMODEs into a context of the sample printer, and the identity tests.
#include <gtest/gtest.h>

#include <string.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

class DmMergeTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(ctx_, nullptr);
    ASSERT_NE(ctx_->settings, nullptr);
  }
  void TearDown() override {
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
  BYTE* Dm() { return ctx_->settings; }
  LONG_PTR Raw(WORD id) { return ItemGetRawById(ctx_, id); }
  DriverContext* ctx_ = nullptr;
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

}  // namespace
}  // namespace zems_test
