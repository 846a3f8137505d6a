// Job type, user ID and information status items through the exports: what each print method
// checks and writes, user strings in the job-control stand-in's store, and the information
// sub-codes by level.
#include <gtest/gtest.h>

#include <string.h>

#include <fstream>
#include <map>

#include "api_e2e/api_items_fixture.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

constexpr DWORD kJobType = 10, kUserId = 26, kInfo = 50;
constexpr LONG kNormal = 0, kLocked = 1, kStored = 3, kHeld = 8;
constexpr UINT kV1 = 392, kV2 = 408, kV3 = 484;
enum : UINT { kType = 4, kFlags = 8, kUid = 12, kJobPw4 = 21, kStoredPw4 = 26, kOwner = 31, kDoc = 48,
              kOverlay = 130, kJobPw8 = 390, kStoredPw8 = 399 };
const char kPrintMethodsBlock[] = "*OpenUI *TOV_zdmPrnMethod: PickOne";

class JobItemsTest : public ApiItemsTest {};

struct JobCase {
  const char* what;
  DWORD version;
  LONG type;
  DWORD flags;
  const char* uid;
  const char* pw4;      // +21 (locked) or +26 (stored)
  const char* pw8;      // +390 (locked) or +399 (stored, save)
  LONG result;
  LONG error;
};

TEST_F(JobItemsTest, EachPrintMethodChecksTheFieldsItUses) {
  Start();
  const JobCase cases[] = {
      {"version 1 drops the 8-digit flag before the checks", 1, kLocked, 0x1 | 0x2 | 0x80, "ann1", "1234", "x", 0, 0},
      {"a 4-digit password of 5 digits has no room for its end", 2, kLocked, 0x1 | 0x2, "ann1", "12345", "", -1, 11},
      {"a 4-digit password of 3 digits", 2, kLocked, 0x1 | 0x2, "ann1", "123", "", -1, 7},
      {"8 digits while passwords have 4", 2, kLocked, 0x1 | 0x80, "ann1", "", "12345678", -1, 7},
      {"4 digits in the long field", 2, kLocked, 0x1 | 0x80, "ann1", "", "4321", 0, 0},
      {"with both fields both are checked", 2, kLocked, 0x1 | 0x2 | 0x80, "ann1", "1234", "12a4", -1, 7},
      {"locked needs a user ID", 2, kLocked, 0x1 | 0x2, "", "1234", "", -1, 7},
      {"user ID of letters and digits only", 2, kNormal, 0x1, "a-b", "", "", -1, 7},
      {"an empty stored password", 2, kStored, 0x1 | 0x4, "ann1", "", "", 0, 0},
      {"with both stored fields both are checked", 2, kStored, 0x4 | 0x100, "", "1234", "12", -1, 7},
      {"held: an empty user ID", 3, kHeld, 0x1, "", "", "", -1, 7},
      {"held: other characters", 3, kHeld, 0x1, "a.b", "", "", -1, 11},
      {"no such print method here", 2, 4, 0, "", "", "", -1, 7},
  };
  for (const JobCase& c : cases) {
    const UINT size = c.version == 1 ? kV1 : c.version == 2 ? kV2 : kV3;
    Record r(size, c.version);
    r.Long(kType, c.type).Long(kFlags, static_cast<LONG>(c.flags)).Text(kUid, c.uid);
    const bool stored = c.type == kStored;
    const std::string pw4 = c.pw4;
    r.Text(stored ? kStoredPw4 : kJobPw4, pw4, pw4.size() < 5);
    if (size > kJobPw8 + 9) r.Text(stored ? kStoredPw8 : kJobPw8, c.pw8);
    if (c.version == 1) r.Text(kJobPw8, "x");  // inside the version-1 record: never read
    EXPECT_EQ(c.result, Set(kJobType, r)) << c.what;
    if (c.result == -1) {
      EXPECT_EQ(c.error, Error()) << c.what;
    }
  }
}

TEST_F(JobItemsTest, AnUnterminatedTextIsRefusedWithoutReadingOn) {
  Start();
  Record r(kV2, 2);
  r.Long(kType, kNormal).Long(kFlags, 0x1).Text(kUid, "abcdefghi", false).Text(kJobPw4, "1234");
  EXPECT_EQ(-1, Set(kJobType, r));
  EXPECT_EQ(11, Error());
  Record user(kV1, 1);
  user.Text(kUid, "ABCDEFGHI", false);
  EXPECT_EQ(-1, Set(kUserId, user));
  EXPECT_EQ(11, Error());
}

TEST_F(JobItemsTest, LockedPrintStoresItsStringsInTheJobControlStore) {
  Start();
  Record r(kV2, 2);
  r.Long(kType, kLocked).Long(kFlags, 0x1 | 0x2).Text(kUid, "ann1").Text(kJobPw4, "4711");
  ASSERT_EQ(0, Set(kJobType, r)) << Error();
  EXPECT_TRUE(StoreHolds("ann1"));
  EXPECT_TRUE(StoreHolds("4711"));

  // A new context reads them back from the store.
  ASSERT_EQ(1, api_.disable(handle_));
  ASSERT_NE(nullptr, EnableApi());
  Record got(kV2, 2);
  ASSERT_EQ(static_cast<LONG>(kV2), Get(kJobType, got, 2)) << Error();
  EXPECT_EQ(kLocked, got.GetLong(kType));
  EXPECT_EQ(0x1F9, got.GetLong(kFlags));
  EXPECT_EQ("ann1", got.GetText(kUid, 9));
  EXPECT_EQ("4711", got.GetText(kJobPw8, 9)) << "version 2 reports the job password in the long field";
}

TEST_F(JobItemsTest, EmptyStoredPasswordIsWritten) {
  Start();
  Record first(kV2, 2);
  first.Long(kType, kStored).Long(kFlags, 0x4).Text(kStoredPw4, "1234");
  ASSERT_EQ(0, Set(kJobType, first)) << Error();
  Record empty(kV2, 2);
  empty.Long(kType, kStored).Long(kFlags, 0x4).Text(kStoredPw4, "");
  ASSERT_EQ(0, Set(kJobType, empty)) << Error();
  Record got(kV2, 2);
  ASSERT_EQ(static_cast<LONG>(kV2), Get(kJobType, got, 2));
  EXPECT_EQ("", got.GetText(kStoredPw8, 9));
}

TEST_F(JobItemsTest, PasswordRulesUnderEightDigits) {
  StartWithFixture("*OpenUI *TOV_zdmUserCode: String", "job_password_8.zmd");
  ASSERT_EQ(8, api_.getCaps(handle_, 83, nullptr)) << "the fixture's password limit";
  const JobCase cases[] = {
      {"version 1 cannot carry 8 digits", 1, kLocked, 0x1 | 0x2, "ann1", "1234", "", -1, 7},
      {"8 digits in the long field", 2, kLocked, 0x1 | 0x80, "ann1", "", "12345678", 0, 0},
      {"5 digits in the long field", 2, kLocked, 0x1 | 0x80, "ann1", "", "12345", 0, 0},
      {"3 digits in the long field", 2, kLocked, 0x1 | 0x80, "ann1", "", "123", -1, 7},
      {"a letter in the long field", 2, kLocked, 0x1 | 0x80, "ann1", "", "1234567a", -1, 7},
      {"the short field stays at exactly 4", 2, kLocked, 0x1 | 0x2, "ann1", "123", "", -1, 7},
      {"with both fields the long one is checked too", 2, kLocked, 0x1 | 0x2 | 0x80, "ann1", "1234", "123", -1, 7},
      {"8 stored digits", 2, kStored, 0x1 | 0x100, "ann1", "", "87654321", 0, 0},
      {"an empty long stored password", 2, kStored, 0x1 | 0x100, "ann1", "", "", 0, 0},
      {"with both stored fields the long one is checked too", 2, kStored, 0x4 | 0x100, "", "1234", "12", -1, 7},
  };
  for (const JobCase& c : cases) {
    Record r(c.version == 1 ? kV1 : kV2, c.version);
    const bool stored = c.type == kStored;
    r.Long(kType, c.type).Long(kFlags, static_cast<LONG>(c.flags)).Text(kUid, c.uid);
    r.Text(stored ? kStoredPw4 : kJobPw4, c.pw4);
    if (c.version > 1) r.Text(stored ? kStoredPw8 : kJobPw8, c.pw8);
    EXPECT_EQ(c.result, Set(kJobType, r)) << c.what;
    if (c.result == -1) {
      EXPECT_EQ(c.error, Error()) << c.what;
    }
  }

  // Nine digits fill the long field without its end.
  Record nine(kV2, 2);
  nine.Long(kType, kLocked).Long(kFlags, 0x1 | 0x80).Text(kUid, "ann1").Text(kJobPw8, "123456789", false);
  EXPECT_EQ(-1, Set(kJobType, nine));
  EXPECT_EQ(11, Error());

  Record locked(kV2, 2);
  locked.Long(kType, kLocked).Long(kFlags, 0x1 | 0x80).Text(kUid, "ann1").Text(kJobPw8, "24681357");
  ASSERT_EQ(0, Set(kJobType, locked)) << Error();
  Record got(kV2, 2);
  ASSERT_EQ(static_cast<LONG>(kV2), Get(kJobType, got, 2)) << Error();
  EXPECT_EQ("24681357", got.GetText(kJobPw8, 9));
  Record old(kV1, 1);
  EXPECT_EQ(-1, Get(kJobType, old, 1)) << "a version-1 request while passwords may have 8 digits";
  EXPECT_EQ(6, Error());
}

TEST_F(JobItemsTest, SavePasswordComesBackInEveryVersion3Field) {
  StartWithFixture(kPrintMethodsBlock, "print_methods_all.zmd");
  Record r(kV3, 3);
  r.Long(kType, 9).Long(kFlags, 0x1 | 0x400 | 0x800).Text(kUid, "bob").Text(kDoc, "plan").Text(kStoredPw8, "246810");
  ASSERT_EQ(0, Set(kJobType, r)) << Error();
  Record got(kV3, 3);
  ASSERT_EQ(static_cast<LONG>(kV3), Get(kJobType, got, 3)) << Error();
  EXPECT_EQ(9, got.GetLong(kType));
  for (UINT at : {399u, 442u, 468u}) EXPECT_EQ("246810", got.GetText(at, 9)) << "offset " << at;
  for (UINT at : {48u, 408u, 425u, 451u}) EXPECT_EQ("plan", got.GetText(at, 17)) << "offset " << at;

  Record letters(kV3, 3);
  letters.Long(kType, 9).Long(kFlags, 0x800).Text(kStoredPw8, "12ab");
  EXPECT_EQ(-1, Set(kJobType, letters));
  EXPECT_EQ(11, Error()) << "a save password of other characters than digits";
}

TEST_F(JobItemsTest, OverlayPrint) {
  StartWithFixture(kPrintMethodsBlock, "print_methods_all.zmd");
  Record other(kV2, 2);
  other.Long(kType, 7).Long(kFlags, 0x40).Text(kOverlay, "C:\\forms\\letter.bmp");
  EXPECT_EQ(-1, Set(kJobType, other)) << "an overlay is a .zvl file";

  const std::string host = HostPath("C:\\overlay.zvl");
  Record ok(kV2, 2);
  ok.Long(kType, 7).Long(kFlags, 0x40).Text(kOverlay, "c:\\OVERLAY.ZVL");
  ASSERT_EQ(0, Set(kJobType, ok)) << Error();
  EXPECT_FALSE(std::ifstream(host).good()) << "the file made to normalise the path is removed again";
  Record got(kV2, 2);
  ASSERT_EQ(static_cast<LONG>(kV2), Get(kJobType, got, 2));
  EXPECT_EQ(7, got.GetLong(kType));
  EXPECT_NE("", got.GetText(kOverlay, 260));
}

TEST_F(JobItemsTest, OverlayPrintIsRefusedWhileTheWatermarkIsOn) {
  StartWithFixture(kPrintMethodsBlock, "print_methods_all.zmd",
                   {{"*DefaultTOV_zdmFuncSelectWaterMark: False", "*DefaultTOV_zdmFuncSelectWaterMark: True"}});
  Record r(kV2, 2);
  r.Long(kType, 7).Long(kFlags, 0x40).Text(kOverlay, "C:\\overlay.zvl");
  EXPECT_EQ(-1, Set(kJobType, r));
  EXPECT_EQ(7, Error());
}

TEST_F(JobItemsTest, UserIdAloneByJobType) {
  Start();
  Record empty(kV1, 1);
  EXPECT_EQ(0, Set(kUserId, empty)) << "an empty user ID with a normal print";
  Record locked(kV2, 2);
  locked.Long(kType, kLocked).Long(kFlags, 0x1 | 0x2).Text(kUid, "ann1").Text(kJobPw4, "1234");
  ASSERT_EQ(0, Set(kJobType, locked)) << Error();
  EXPECT_EQ(-1, Set(kUserId, empty)) << "a locked print keeps a user ID";
  Record named(kV1, 1);
  named.Text(kUid, "carl7");
  EXPECT_EQ(0, Set(kUserId, named));
  Record got(kV1, 1);
  ASSERT_EQ(static_cast<LONG>(kV1), Get(kUserId, got, 1));
  EXPECT_EQ(0x1, got.GetLong(kFlags));
  EXPECT_EQ("carl7", got.GetText(kUid, 9));
}

// ---- item 50 ----

Record Info(DWORD sub, LONG value = 0) {
  Record r(300, 1);
  r.Long(4, static_cast<LONG>(sub)).Long(24, value);
  return r;
}

TEST_F(JobItemsTest, InfoSubCodesSetByLevel) {
  Start();
  struct Case {
    LONG level;
    DWORD sub;
    LONG result;
    LONG error;
  } cases[] = {
      {12, 246, 0, 0},    // at 12 and below the user code is not taken
      {16, 248, -1, 12},  // read-only from 12
      {16, 253, -1, 12},
      {11, 248, 0, 0},    // accepted without effect below 12
      {16, 255, -1, 13},  // no such sub-code
      {16, 1000, -1, 13},
      {11, 247, 0, 0},
      {16, 247, -1, 7},   // 256 is never a stored watermark
  };
  for (const Case& c : cases) {
    Level(c.level);
    Record r = Info(c.sub, c.sub == 247 ? 256 : 0);
    r.Text(40, "1234");
    EXPECT_EQ(c.result, api_.setStatus(handle_, kInfo, r.data(), nullptr, 0)) << c.sub << " at " << c.level;
    if (c.result == -1) {
      EXPECT_EQ(c.error, Error()) << c.sub << " at " << c.level;
    }
  }
}

TEST_F(JobItemsTest, InfoUserCodeNeedsAnAdministrator) {
  Start();
  SetUserIsAdmin(false);
  Record r = Info(246);
  r.Text(40, "1234");
  EXPECT_EQ(-1, Set(kInfo, r));
  EXPECT_EQ(14, Error()) << "the user-code button of the settings dialog is there: only the administrator is missing";
}

TEST_F(JobItemsTest, InfoTrackingIdAndVersions) {
  Start();
  Record track = Info(256);
  track.Text(40, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  ASSERT_EQ(0, Set(kInfo, track)) << Error();
  Record got = Info(256);
  ASSERT_EQ(300, Get(kInfo, got, 1));
  EXPECT_EQ("ABCDEFGHIJKLMNOPQRST", got.GetText(40, 260)) << "the first 20 characters";

  Record versions = Info(0);
  ASSERT_EQ(300, Get(kInfo, versions, 1));
  EXPECT_EQ("6.63", versions.GetText(8, 32));
  EXPECT_EQ("6.652", versions.GetText(40, 260));

  Level(12);
  Record watermark = Info(247);
  EXPECT_EQ(-1, Get(kInfo, watermark, 1));
  EXPECT_EQ(13, Error());
}

TEST_F(JobItemsTest, InfoPunchWordsCopyWhatTheSizeQueryReported) {
  Start();
  Record bad = Info(248, 2);
  EXPECT_EQ(-1, Get(kInfo, bad, 1));
  EXPECT_EQ(7, Error()) << "modes are 0 and 1";

  char buffer[256];
  memset(buffer, 0x5A, sizeof(buffer));
  Record early = Info(248, 1);
  early.Long(28, static_cast<LONG>(reinterpret_cast<LONG_PTR>(buffer)));
  EXPECT_EQ(-1, Get(kInfo, early, 1)) << "a copy without a size query first";
  EXPECT_EQ(7, Error());
  EXPECT_EQ(0x5A, static_cast<unsigned char>(buffer[0]));

  Record size = Info(248, 0);
  ASSERT_EQ(300, Get(kInfo, size, 1)) << Error();
  const LONG needed = size.GetLong(28);
  if (needed <= 0)
    GTEST_SKIP() << "the sample's command base gives no PJL words for the punch switch nor the punch-kind variable";
  ASSERT_LT(needed, 200);
  Record copy = Info(248, 1);
  copy.Long(28, static_cast<LONG>(reinterpret_cast<LONG_PTR>(buffer)));
  ASSERT_EQ(300, Get(kInfo, copy, 1)) << Error();
  EXPECT_EQ(0, buffer[needed - 1]) << "the words end with their terminator";
  for (int i = needed; i < 256; ++i) ASSERT_EQ(0x5A, static_cast<unsigned char>(buffer[i])) << "byte " << i;
}

}  // namespace
}  // namespace zems_test

namespace zems_test {
namespace {

const char kLastExclusiveRow[] = "   TOV_ConditionOption NULL NULL ConditionValues NULL NULL NULL NULL\n";

// A request its verify refuses leaves every store it wrote as it was: the settings file, the
// job-control store and the printer's data.
TEST_F(JobItemsTest, RefusedByVerifyLeavesTheStoresAsTheyWere) {
  StartWithFixture(kPrintMethodsBlock, "print_methods_undone.zmd",
                   {{kLastExclusiveRow, std::string(kLastExclusiveRow) +
                                            "   TOV_zdmPrnMethod NULL NULL NULL NULL MethodUndone NULL NULL\n"}});
  Record normal(kV2, 2);
  normal.Long(kType, kNormal).Long(kFlags, 0x1).Text(kUid, "keep1");
  ASSERT_EQ(0, Set(kJobType, normal)) << Error();
  const std::string ini = SettingsIni();
  const std::map<std::string, std::string> store = StoreTexts();
  const std::vector<BYTE> dm = Devmode();

  Record locked(kV2, 2);
  locked.Long(kType, kLocked).Long(kFlags, 0x1 | 0x2).Text(kUid, "gone2").Text(kJobPw4, "9876");
  EXPECT_EQ(-1, Set(kJobType, locked));
  EXPECT_EQ(7, Error());
  Record overlay(kV2, 2);
  overlay.Long(kType, 7).Long(kFlags, 0x40).Text(kOverlay, "C:\\undone.zvl");
  EXPECT_EQ(-1, Set(kJobType, overlay));
  EXPECT_EQ(ini, SettingsIni()) << "the settings file";
  // The store's strings are written back from the restored settings: one that was absent
  // comes back empty.
  EXPECT_EQ(store, StoreTexts()) << "the job-control store";
  EXPECT_FALSE(StoreHolds("gone2"));
  EXPECT_EQ(dm, Devmode());
}

Record Key(LONG mode, const std::string& key = "") {
  Record r(44, 1);
  r.Long(4, mode).Text(8, key);
  return r;
}

TEST_F(JobItemsTest, NetworkKey) {
  StartWithFixture("*OpenUI *TOV_zdmPrnMethod: PickOne", "authentication.zmd",
                   {{kLastExclusiveRow, std::string(kLastExclusiveRow) +
                                            "   TOV_zdmPrnFuncAuthenticationMode NULL NULL NULL NULL NULL NULL NULL\n"}});
  ASSERT_GE(api_.getCaps(handle_, 82, nullptr), 1) << "the authentication choice offers capability 82";
  SetUserIsAdmin(false);
  Record refused = Key(1);
  EXPECT_EQ(-1, Set(60, refused));
  EXPECT_EQ(14, Error()) << "only an administrator sets the authentication";
  SetUserIsAdmin(true);
  Record on = Key(1);
  EXPECT_EQ(0, Set(60, on)) << Error();
  Record got(44, 1);
  ASSERT_EQ(44, Get(60, got, 1));
  EXPECT_EQ(1, got.GetLong(4));
  Record bad = Key(3);
  EXPECT_EQ(-1, Set(60, bad));
  Record off = Key(0);
  EXPECT_EQ(0, Set(60, off)) << Error();
  ASSERT_EQ(44, Get(60, got, 1));
  EXPECT_EQ(0, got.GetLong(4));
}

}  // namespace
}  // namespace zems_test
