// The SetStatus engine through the exports: record versions, gates, the preset number, the
// changed-items bitmap by level, and the rollback of a set the model undoes - settings, the
// settings file and the bitmap - also when each allocation fails in turn.
#include <gtest/gtest.h>

#include <string.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "api_e2e/api_e2e_fixture.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

constexpr DWORD kOutputTrayItem = 4, kCopiesItem = 9, kProofItem = 30, kMediaTypeItem = 3, kEmfSpoolItem = 48;
constexpr LONG kTransparency = 2;


// Proof print in the model, undone by its own transact; the output tray disabled on
// transparencies. Rules name only what the description has defined before them.
const char kExclusiveHead[] = "*Exclusive: {\n";
const char kProofUndone[] =
    "*OpenUI *TOV_zdmActionProof: Boolean\n"
    "*TOV_zdmActionProof True: \"ON\"\n*TOV_zdmActionProof False: \"OFF\"\n*DefaultTOV_zdmActionProof: False\n"
    "*CloseUI\n"
    "*Action 20=ProofOff: { TOV_zdmActionProof 0 }\n"
    "*Transact 20=UndoProof: { NULL ProofOff }\n"
    "*Exclusive: {\n"
    "   TOV_zdmActionProof NULL NULL NULL NULL UndoProof NULL NULL\n"
    "   TOV_zdmOutputTrayID IsTransparency NULL NULL NULL NULL NULL NULL\n";

class ApiEngineTest : public ApiE2eTest {
 protected:
  void Install() {
    InstallPrinterWithModel({{kExclusiveHead, kProofUndone}}, "");
    ASSERT_NE(nullptr, EnableApi());
    Level(16);
  }
  LONG Set(DWORD id, LONG value, BYTE* bits = nullptr, LONG mode = 0, DWORD version = 1) {
    SimpleRecord r = {version, value, 0, 0, 0, {}, 0};
    return api_.setStatus(handle_, id, &r, bits, mode);
  }
  LONG Get(DWORD id) {
    SimpleRecord r = {};
    api_.getStatus(handle_, id, &r, 1);
    return r.value;
  }
  std::vector<BYTE> Devmode() {
    std::vector<BYTE> dm(1236);
    EXPECT_EQ(1236, api_.getDevmode(handle_, 4, dm.data()));
    return dm;
  }
};

TEST_F(ApiEngineTest, NewerRecordVersions) {
  Install();
  // Mode 2 answers the item's newest version and sets nothing; other modes set and answer it.
  EXPECT_EQ(1, Set(kCopiesItem, 4, nullptr, 2, 5));
  EXPECT_EQ(1, Get(kCopiesItem));
  EXPECT_EQ(1, Set(kCopiesItem, 4, nullptr, 0, 5));
  EXPECT_EQ(4, Get(kCopiesItem));
  EXPECT_EQ(0, Set(kCopiesItem, 5, nullptr, 0, 0)) << "version 0 reads as 1";
  EXPECT_EQ(5, Get(kCopiesItem));
}

TEST_F(ApiEngineTest, GatesRefuseWithTheirCodes) {
  Install();
  EXPECT_EQ(-1, Set(kEmfSpoolItem, 1));
  EXPECT_EQ(2, api_.getLastError(handle_)) << "EMF spooling is not a feature of the sample";
  ASSERT_EQ(0, Set(kMediaTypeItem, kTransparency));
  const std::vector<BYTE> before = Devmode();
  EXPECT_EQ(-1, Set(kOutputTrayItem, 1));
  EXPECT_EQ(7, api_.getLastError(handle_)) << "the output tray is disabled on transparencies";
  EXPECT_EQ(before, Devmode());
}

TEST_F(ApiEngineTest, BitmapIs32BytesWhenMeasuredBelowLevel6) {
  Install();
  Level(5);
  EXPECT_EQ(32, api_.getCaps(handle_, 0, nullptr));
  Level(16);
  BYTE bits[64];
  memset(bits, 0xCD, sizeof(bits));
  ASSERT_EQ(0, Set(kCopiesItem, 2, bits));
  for (int i = 32; i < 64; ++i) ASSERT_EQ(0xCD, bits[i]) << "byte " << i << " beyond the measured 32";
  int written = 0;
  for (int i = 0; i < 32; ++i) written += bits[i] != 0xCD;
  EXPECT_GT(written, 0) << "the first 32 bytes are the bitmap";
  EXPECT_EQ(64, api_.getCaps(handle_, 0, nullptr)) << "measured again at 16";
  memset(bits, 0xCD, sizeof(bits));
  ASSERT_EQ(0, Set(kCopiesItem, 3, bits));
  EXPECT_NE(0xCD, bits[40]) << "now all 64 bytes are written";
}

TEST_F(ApiEngineTest, SetTheModelUndoesIsRolledBack) {
  Install();
  const std::vector<BYTE> before = Devmode();
  const std::string file = SettingsFile();
  BYTE bits[64];
  memset(bits, 0xAB, sizeof(bits));
  EXPECT_EQ(-1, Set(kProofItem, 1, bits));
  EXPECT_EQ(7, api_.getLastError(handle_)) << "the verify finds proof print off again";
  for (BYTE b : bits) ASSERT_EQ(0, b);
  EXPECT_EQ(before, Devmode());
  EXPECT_EQ(file, SettingsFile()) << "the action word written by the set is put back";
  EXPECT_EQ(0, Get(kProofItem));
}

TEST_F(ApiEngineTest, EachAllocationFailedInTurnChangesNothing) {
  Install();
  const std::vector<BYTE> before = Devmode();
  const std::string file = SettingsFile();
  bool succeeded = false;
  for (int n = 0; n < 400 && !succeeded; ++n) {
    SimFailAllocations(n);
    BYTE bits[64];
    memset(bits, 0xAB, sizeof(bits));
    const LONG r = Set(kMediaTypeItem, kTransparency, bits);
    SimFailAllocations(-1);
    if (r == 0) {
      succeeded = true;
      break;
    }
    ASSERT_EQ(-1, r);
    for (BYTE b : bits) ASSERT_EQ(0, b) << "allocation " << n;
    ASSERT_EQ(before, Devmode()) << "allocation " << n;
    ASSERT_EQ(file, SettingsFile()) << "allocation " << n;
  }
  EXPECT_TRUE(succeeded) << "with enough memory the set succeeds";
  EXPECT_EQ(kTransparency, Get(kMediaTypeItem));
  // The set the model undoes writes the settings file before it fails: whatever allocation
  // fails, the file and the settings are as before.
  const std::vector<BYTE> now = Devmode();
  const std::string nowFile = SettingsFile();  // the successful set saved zdmPrnMethod
  for (int n = 0; n < 200; ++n) {
    SimFailAllocations(n);
    BYTE bits[64];
    memset(bits, 0xAB, sizeof(bits));
    const LONG r = Set(kProofItem, 1, bits);
    SimFailAllocations(-1);
    ASSERT_EQ(-1, r) << "allocation " << n;
    for (BYTE b : bits) ASSERT_EQ(0, b) << "allocation " << n;
    ASSERT_EQ(now, Devmode()) << "allocation " << n;
    ASSERT_EQ(nowFile, SettingsFile()) << "allocation " << n;
  }
}

TEST_F(ApiEngineTest, EnableWithEachAllocationFailedGivesNull) {
  InstallPrinterWithModel({}, "");
  void* first = EnableApi();
  ASSERT_NE(nullptr, first);
  Level(16);
  for (int n = 0; n < 2000; ++n) {
    SimFailAllocations(n);
    void* h = api_.enable("Api");
    SimFailAllocations(-1);
    if (h) {
      EXPECT_EQ(1, api_.disable(h));
      return;
    }
    // The process-wide level stays where Init put it.
    ASSERT_EQ(64, api_.getCaps(first, 0, nullptr)) << "allocation " << n;
  }
  ADD_FAILURE() << "enable never succeeded";
}

TEST_F(ApiEngineTest, QualityDataSavedAndRestored) {
  Install();
  EXPECT_EQ(1, api_.saveQuality(handle_));
  EXPECT_EQ(1, api_.restoreQuality(handle_));
}

// The load share as the model offers it: modes 0, 16 and 1 (the others have no rule, so are
// not offered).
const char kLoadShare[] =
    "*OpenUI *TOV_zdmLoadShare: PickOne\n"
    "*TOV_zdmLoadShare ZDMLOADSHARE_OFF: \"OFF\"\n*TOV_zdmLoadShare ZDMLOADSHARE_OFF16: \"OFF16\"\n"
    "*TOV_zdmLoadShare ZDMLOADSHARE_ON: \"ON\"\n*DefaultTOV_zdmLoadShare: ZDMLOADSHARE_OFF\n*CloseUI\n"
    "*Item 20=LoadShareValues: { ZDMLOADSHARE_OFF NULL NULL NULL ZDMLOADSHARE_OFF16 NULL NULL NULL\n"
    "   ZDMLOADSHARE_ON NULL NULL NULL }\n"
    "*Exclusive: {\n"
    "   TOV_zdmLoadShare NULL NULL LoadShareValues NULL NULL NULL NULL\n";

TEST_F(ApiEngineTest, LoadShareUsesThisPrintersRows) {
  InstallPrinterWithModel({{kExclusiveHead, kLoadShare}}, "");
  ASSERT_NE(nullptr, EnableApi());
  Level(16);
  EXPECT_EQ(0, Set(61, 1)) << api_.getLastError(handle_);
  EXPECT_EQ(1, Get(61));
  EXPECT_EQ(0, Set(61, 0)) << "two usable rows of value 0: the first is written and the check accepts it";
  EXPECT_EQ(0, Get(61));
  EXPECT_EQ(-1, Set(61, 2)) << "mode 2 is not offered";
  EXPECT_EQ(-1, Set(61, 3));
}

}  // namespace
}  // namespace zems_test

namespace zems_test {
namespace {

class ApiSampleSetTest : public ApiE2eTest {
 protected:
  void SetUp() override {
    ApiE2eTest::SetUp();
    StartSample();
  }
  // The status ids whose bits a set reports.
  std::vector<DWORD> Set(DWORD id, LONG value, DWORD sw = 0) {
    SimpleRecord r = {1, value, 0, 0, 0, {}, sw};
    BYTE bits[64] = {};
    EXPECT_EQ(0, api_.setStatus(handle_, id, &r, bits, 0)) << "status " << id << " error " << api_.getLastError(handle_);
    std::vector<DWORD> ids;
    for (DWORD i = 1; i <= 512; ++i)
      if (bits[(i - 1) >> 3] & (0x80u >> ((i - 1) & 7u))) ids.push_back(i);
    return ids;
  }
};

// The sample's stored defaults agree with what they resolve to, so the first set after enable
// reports only what it moved; N-up is set through the interface as through PJL.
TEST_F(ApiSampleSetTest, TheFirstSetReportsOnlyWhatItMovedAndNupIsSettable) {
  EXPECT_EQ(std::vector<DWORD>{}, Set(9, 3)) << "copies move no other item";
  Set(14, 33, 1);
  SimpleRecord r = {};
  ASSERT_GE(api_.getStatus(handle_, 14, &r, 1), 0);
  EXPECT_EQ(33, r.value) << "four-up";
  EXPECT_EQ(1u, r.masterSwitch);
}

}  // namespace
}  // namespace zems_test
