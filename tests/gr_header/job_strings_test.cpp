// The job strings across DrvStartDoc's re-merge and a reset, the output-size values around the
// DEVMODE block, the take-over of the old job DEVMODE, and the job-control values fetched through
// the job-control stand-in.
#include <stdio.h>
#include <string.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "gr2k/job_strings.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace {

using zems_test::ContextTest;

constexpr DWORD kDriverDevmode = 220 + 1016;

class JobStringsTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(ctx_, nullptr);
  }
  void TearDown() override {
    CtxRelease(ctx_, kReleaseExpired);
    ContextTest::TearDown();
  }
  // The item's bytes, as stored.
  BYTE* Value(WORD id) { return ItemStorageIn(ctx_->settings, ItemFind(ctx_, id)); }
  std::string ItemText(WORD id) {
    SettingItem* item = ItemFind(ctx_, id);
    const char* p = reinterpret_cast<const char*>(Value(id));
    return std::string(p, strnlen(p, ItemDescSize(item->descriptor)));
  }
  // The job DEVMODE: the context's settings as they are now, without job strings.
  std::vector<BYTE> JobDevmode() {
    std::vector<BYTE> dm(ctx_->settings, ctx_->settings + kDriverDevmode);
    for (WORD id : {kItem_zdmUserCode, kItem_zdmOwnerName, kItem_zdmTelNo}) {
      SettingItem* item = ItemFind(ctx_, id);
      memset(dm.data() + (Value(id) - ctx_->settings), 0, ItemDescSize(item->descriptor));
    }
    return dm;
  }
  static void WriteScript(const std::string& name, const std::string& text) {
    std::string dir = std::string(SimMachineRoot()) + "/stand-ins";
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/" + name, std::ios::binary) << text;
  }
  static std::string Hex(const std::u16string& text) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (char16_t c : text + u'\0')
      for (unsigned b : {unsigned(c & 0xFF), unsigned(c >> 8)}) out += std::string{digits[b >> 4], digits[b & 15]};
    return out;
  }

  DriverContext* ctx_ = nullptr;
};

TEST_F(JobStringsTest, StringsThatFitSurviveTheReMerge) {
  const struct {
    const char* what;
    WORD id;
    size_t length;  // bytes written into the item, unterminated when the item is full
    bool kept;
  } kCases[] = {
      {"user code of 8", kItem_zdmUserCode, 8, true},
      {"user code of 9 (no terminator)", kItem_zdmUserCode, 9, false},
      {"owner of 16", kItem_zdmOwnerName, 16, true},
      {"owner of 17 (no terminator)", kItem_zdmOwnerName, 17, false},
      {"fax number of 64", kItem_zdmTelNo, 64, true},
  };
  for (const auto& c : kCases) {
    std::vector<BYTE> dm = JobDevmode();
    memset(Value(c.id), '7', c.length);
    ItemSetRawById(ctx_, kItem_zdmTelLine, 3);
    JobKeepStrings(ctx_, reinterpret_cast<DEVMODEW*>(dm.data()), DWORD(dm.size()), 0x20008, office_, 0);
    EXPECT_EQ(ItemText(c.id), c.kept ? std::string(c.length, '7') : std::string()) << c.what;
    EXPECT_EQ(ItemGetRawById(ctx_, kItem_zdmTelLine), 3) << c.what << ": the fax line byte is kept";
    EXPECT_EQ(ItemGetRawById(ctx_, kItem_zdmFunc2SelectPreviewFlag), 1);
    memset(Value(c.id), 0, c.length);
  }
}

TEST_F(JobStringsTest, CollationFollowsTheDevmode) {
  DEVMODEW* dm = reinterpret_cast<DEVMODEW*>(ctx_->settings);
  const struct {
    const char* what;
    bool flagged;
    short collate;
    LONG before, after;
  } kCases[] = {
      {"no DM_COLLATE", false, 1, 1, 0},
      {"DMCOLLATE_TRUE", true, 1, 0, 1},
      {"DMCOLLATE_FALSE leaves it", true, 0, 1, 1},
  };
  for (const auto& c : kCases) {
    dm->dmFields = c.flagged ? (dm->dmFields | DM_COLLATE) : (dm->dmFields & ~DWORD(DM_COLLATE));
    dm->dmCollate = c.collate;
    ItemSetRawById(ctx_, kItem_zdmFuncSelectSort, c.before);
    JobFitOutputSize(ctx_);
    EXPECT_EQ(ItemGetRawById(ctx_, kItem_zdmFuncSelectSort), c.after) << c.what;
  }
}

TEST_F(JobStringsTest, OutputSizeSetsGoBackForTheDevmodeBlockOnly) {
  for (int set = 0; set < 2; ++set) {
    LONG bit = set ? 0x20 : 0x08;
    ItemSetRawById(ctx_, kItem_zdmFrontFunc, bit);
    ItemSetRawById(ctx_, kItem_zdmScaleType, 2);
    ctx_->ui->outputSizeSets[set] = {{9, 0, 0}, 1};
    ctx_->ui->outputSizeSets[1 - set] = {{8, 1, 1}, 1};
    JobOutputSizeBeforeDevmode(ctx_);
    EXPECT_EQ(ItemGetRawById(ctx_, kItem_zdmOutPaperSize), 9) << "set " << set;
    EXPECT_EQ(ItemGetRawById(ctx_, kItem_zdmScaleType), 0) << "set " << set;
    JobOutputSizeAfterDevmode(ctx_);
    EXPECT_EQ(ctx_->ui->outputSizeSets[set].marked, 0) << "set " << set;
    EXPECT_EQ(ctx_->ui->outputSizeSets[1 - set].marked, 1) << "the other set's bit is clear";
  }
}

TEST_F(JobStringsTest, TheSameJobTakesOverTheOldDevmode) {
  std::vector<BYTE> base(ctx_->settings, ctx_->settings + kDriverDevmode);
  DEVMODEW* b = reinterpret_cast<DEVMODEW*>(base.data());
  const SettingItem* staple = ItemFind(ctx_, kItem_zdmStapleType);
  const SettingItem* tonerSave = ItemFind(ctx_, kItem_zdmTonerSave);
  const struct {
    const char* what;
    short newColor;
    WORD newSize;  // dmDriverExtra of the new copy
    bool same;
  } kCases[] = {
      {"equal", b->dmColor, 1016, true},
      {"different colour", short(b->dmColor == 1 ? 2 : 1), 1016, false},
      {"short new copy", b->dmColor, 900, false},
  };
  for (const auto& c : kCases) {
    std::vector<BYTE> oldDm = base, newDm = base;
    ItemStorageIn(oldDm.data(), staple)[0] = 0x21;     // kept from the old job
    ItemStorageIn(newDm.data(), staple)[0] = 0x41;
    ItemStorageIn(newDm.data(), tonerSave)[0] = 1;     // taken from the new job
    ItemStorageIn(oldDm.data(), tonerSave)[0] = 0;
    DEVMODEW* n = reinterpret_cast<DEVMODEW*>(newDm.data());
    n->dmColor = c.newColor;
    n->dmCopies = 7;
    n->dmDriverExtra = c.newSize;
    std::vector<BYTE> before = newDm;
    EXPECT_EQ(JobCompareDevmodes(reinterpret_cast<DEVMODEW*>(oldDm.data()), n) != 0, c.same) << c.what;
    if (!c.same) {
      EXPECT_TRUE(newDm == before) << c.what << ": the new copy stays whole";
      continue;
    }
    EXPECT_EQ(ItemStorageIn(newDm.data(), staple)[0], 0x21) << c.what;
    EXPECT_EQ(ItemStorageIn(newDm.data(), tonerSave)[0], 1) << c.what;
    EXPECT_EQ(n->dmCopies, 7) << c.what;
  }
}

TEST_F(JobStringsTest, ResetCopiesTheStringsAndAuthenticationValues) {
  DriverContext* other = CtxOpen(lab_, lab_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(other, nullptr);
  ItemSetText(ctx_, ItemFind(ctx_, kItem_zdmUserCode), reinterpret_cast<const WCHAR*>(u"4711"));
  ItemSetText(ctx_, ItemFind(ctx_, kItem_wdmAuthenticationPassword), reinterpret_cast<const WCHAR*>(u"secret"));
  ItemSetRawById(ctx_, kItem_zdmTelLine, 5);
  EXPECT_TRUE(JobCopyStrings(ctx_, other));
  EXPECT_STREQ(reinterpret_cast<const char*>(ItemGetRawById(other, kItem_zdmUserCode)), "4711");
  EXPECT_STREQ(reinterpret_cast<const char*>(ItemGetRawById(other, kItem_wdmAuthenticationPassword)), "secret");
  EXPECT_EQ(ItemGetRawById(other, kItem_zdmTelLine), 5);
  CtxRelease(other, kReleaseExpired);
}

// ---- the job-control values ----

class JobAuthTest : public JobStringsTest {
 protected:
  void SetUp() override {
    JobStringsTest::SetUp();
    zems_test::InstallStandIn("ORVJC32.DLL", "orvjc32.so");
  }
  void Store(const std::string& lines) { WriteScript("orvjc32.store", lines); }
};

TEST_F(JobAuthTest, ValuesOfEveryVersionReachTheItems) {
  const struct {
    const char* what;
    const char* versions;
    const char* secure;  // AuthenticationSecureMode, or null
    bool walked;
    const char* userCode;
    const char* password;
  } kCases[] = {
      {"0x105 for the caller, mode 4", "0x105 0x181", nullptr, true, "1111", "1gfrg"},
      {"0x104, mode 2", "0x104 0x181", "1", true, "1111", "6gfrg"},
      {"0x104 without the transformation", "0x104", nullptr, false, "", ""},
      {"0x103", "0x103", nullptr, true, "1111", ""},
      {"0x101: no user needed", "0x101", nullptr, true, "2222", ""},
      {"none", "", nullptr, false, "", ""},
  };
  for (const auto& c : kCases) {
    Store("Office\t1@User\t" + Hex(u"1111") + "\nOffice\t1\t" + Hex(u"2222") + "\nOffice\t10\t" + Hex(u"test1") +
          "\nOffice\t9\t" + Hex(u"ann") + "\nOffice\t11\t" + Hex(u"key") + "\n");
    WriteScript("orvjc32.versions", c.versions);
    if (c.secure) {
      DWORD one = 1;
      SetPrinterDataW(office_, ContextTest::Text(u"AuthenticationSecureMode"), REG_DWORD, reinterpret_cast<BYTE*>(&one), 4);
    } else {
      DeletePrinterDataW(office_, ContextTest::Text(u"AuthenticationSecureMode"));
    }
    ItemSetRawById(ctx_, kItem_zdmUserCode, 0);
    ItemSetRawById(ctx_, kItem_wdmAuthenticationPassword, 0);
    EXPECT_EQ(JobAuthClient(office_, ctx_, 0, 0x389F) != 0, c.walked) << c.what;
    EXPECT_EQ(ItemText(kItem_zdmUserCode), c.userCode) << c.what;
    // Mode 4 turns letters by 13, mode 2 digits by 5 as well, and the second pass reverses them.
    EXPECT_EQ(ItemText(kItem_wdmAuthenticationPassword), c.password) << c.what;
  }
}

TEST_F(JobAuthTest, TheJobsUserUnlessUnknownElseTheCaller) {
  WriteScript("orvjc32.versions", "0x103");
  Store("Office\t1@bob\t" + Hex(u"3333") + "\nOffice\t1@User\t" + Hex(u"1111") + "\n");
  const struct {
    const char* jobUser;  // the user who started the job; null: no job
    const char* userCode;
  } kCases[] = {{"bob", "3333"}, {"UNKNOWN", "1111"}, {nullptr, "1111"}};
  for (const auto& c : kCases) {
    DWORD job = 0;
    if (c.jobUser) {
      SimSystemIdentity identity = {};
      ASSERT_TRUE(SimGetSystemIdentity(&identity));
      SimSystemIdentity changed = identity;
      snprintf(changed.userName, sizeof changed.userName, "%s", c.jobUser);
      ASSERT_TRUE(SimSetSystemIdentity(&changed));
      DOC_INFO_1W doc = {ContextTest::Text(u"d"), nullptr, nullptr};
      job = StartDocPrinterW(office_, 1, reinterpret_cast<LPBYTE>(&doc));
      ASSERT_TRUE(SimSetSystemIdentity(&identity));
      ASSERT_NE(job, 0u);
    }
    ItemSetRawById(ctx_, kItem_zdmUserCode, 0);
    EXPECT_TRUE(JobAuthClient(office_, ctx_, job, 0x0001)) << (c.jobUser ? c.jobUser : "no job");
    EXPECT_EQ(ItemText(kItem_zdmUserCode), c.userCode) << (c.jobUser ? c.jobUser : "no job");
    if (job) EndDocPrinter(office_);
  }
}

TEST_F(JobAuthTest, HostileAnswersAreBounded) {
  WriteScript("orvjc32.versions", "0x105 0x181");
  std::u16string longCode(40, u'9');
  Store("Office\t1\t" + Hex(longCode) + "\nOffice\t2\t" + Hex(u"owner") + "\nOffice\t10\t" + Hex(std::u16string(300, u'a')) +
        "\n");
  const struct {
    const char* what;
    const char* hostile;
    const char* userCode;
    const char* owner;
    size_t passwordLength;
  } kCases[] = {
      {"a long value is cut to its item", "", "99999999", "owner", 192},
      {"a claim above 64 KiB is refused", "2 claim 70000\n", "99999999", "", 192},
      {"a transform claiming 64 KiB and more", "0 claim 65537\n", "99999999", "owner", 0},
  };
  for (const auto& c : kCases) {
    WriteScript("orvjc32.hostile", c.hostile);
    memset(Value(kItem_zdmOwnerName), 0, 17);
    ItemSetRawById(ctx_, kItem_wdmAuthenticationPassword, 0);
    EXPECT_TRUE(JobAuthClient(office_, ctx_, 0, 0x389F)) << c.what;
    EXPECT_EQ(ItemText(kItem_zdmUserCode), c.userCode) << c.what;
    EXPECT_EQ(ItemText(kItem_zdmOwnerName), c.owner) << c.what;
    EXPECT_EQ(ItemText(kItem_wdmAuthenticationPassword).size(), c.passwordLength) << c.what;
  }
}

TEST_F(JobAuthTest, WithoutTheDllNothingIsFetched) {
  std::filesystem::remove(zems_test::HostPath("C:\\WINDOWS\\system32\\ORVJC32.DLL"));
  ItemSetText(ctx_, ItemFind(ctx_, kItem_zdmUserCode), reinterpret_cast<const WCHAR*>(u"55"));
  EXPECT_FALSE(JobAuthClient(office_, ctx_, 0, 0x389F));
  EXPECT_EQ(ItemText(kItem_zdmUserCode), "55");
}

}  // namespace
