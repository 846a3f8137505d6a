// Settings files on a full disk, and two processes writing the default sections of two
// printers into one settings ini.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "core/common/locks.h"
#include "core/items/item_access.h"
#include "core/store/item_store.h"
#include "core/store/lock_data.h"
#include "core/store/settings_file.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"
#include "store_items/settings_file_fixture.h"
#include "support/child_process.h"

namespace zems_test {
namespace {

// Every section's keys and values, in a form that tells a cut file: a last line without its
// line end is kept as it is, so it cannot match a whole line of another state.
using IniImage = std::map<std::string, std::map<std::string, std::string>>;

IniImage Parse(const std::string& bytes, bool* cut) {
  IniImage image;
  *cut = !bytes.empty() && bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") != 0;
  std::istringstream in(bytes);
  std::string line, section;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      section = line;
      image[section];
      continue;
    }
    size_t eq = line.find('=');
    if (eq != std::string::npos) image[section][line.substr(0, eq)] = line.substr(eq + 1);
  }
  return image;
}

// A file is whole when it is the old or the new one, or, between the atomic steps of one
// save, a file every key of which holds its old or its new value, with every key both have.
::testing::AssertionResult Whole(const std::string& name, const std::string& now, const std::string& old,
                                 const std::string& fresh) {
  if (now == old || now == fresh) return ::testing::AssertionSuccess();
  bool cutNow = false, cutOld = false, cutNew = false;
  IniImage a = Parse(now, &cutNow), o = Parse(old, &cutOld), n = Parse(fresh, &cutNew);
  if (cutNow) return ::testing::AssertionFailure() << name << " is cut";
  for (const auto& section : a)
    for (const auto& kv : section.second) {
      auto inOld = o.count(section.first) && o[section.first].count(kv.first) ? o[section.first][kv.first] : "\x01";
      auto inNew = n.count(section.first) && n[section.first].count(kv.first) ? n[section.first][kv.first] : "\x01";
      if (kv.second != inOld && kv.second != inNew)
        return ::testing::AssertionFailure() << name << ": " << section.first << " " << kv.first << "=" << kv.second;
    }
  for (const auto& section : o)
    for (const auto& kv : section.second)
      if (n.count(section.first) && n[section.first].count(kv.first) &&
          !(a.count(section.first) && a[section.first].count(kv.first)))
        return ::testing::AssertionFailure() << name << " lost " << section.first << " " << kv.first;
  return ::testing::AssertionSuccess();
}

const long long kBudgets[] = {0, 1, 64, 512, 2048, 8192, 16384, 24576, 32768, 49152, 65536, 98304, 131072, 262144};

TEST_F(SettingsFileTest, AFullDiskLeavesEverySettingsFileOldOrNew) {
  const std::u16string file = FilePath(u"disk.rst");
  const std::u16string text = FilePath(u"OV00C172.txt");
  SetRaw(10419, 1);  // a lock bit: the extended pass writes the lock items too
  SetRaw(12, 2);
  SetRaw(10386, 0);
  ASSERT_EQ(StoreSaveSettingsFile(office_, file.c_str(), 0, ctx()), 1);
  const std::string oldFile = ReadBytes(file), oldText = ReadBytes(text);
  SetRaw(12, 5);
  SetRaw(10434, 77);
  SetRaw(10354, 1);
  ASSERT_EQ(StoreSaveSettingsFile(office_, file.c_str(), 0, ctx()), 1);
  const std::string newFile = ReadBytes(file), newText = ReadBytes(text);
  ASSERT_NE(oldFile, newFile);
  ASSERT_NE(oldText, newText);

  int failed = 0;
  for (long long budget : kBudgets) {
    SCOPED_TRACE(budget);
    WriteBytes(file, oldFile);
    WriteBytes(text, oldText);
    SimSetDiskFull(budget);
    int result = StoreSaveSettingsFile(office_, file.c_str(), 0, ctx());
    LONG status = CtxGetFileStatus(ctx());
    SimSetDiskFull(-1);
    const std::string nowFile = ReadBytes(file), nowText = ReadBytes(text);
    EXPECT_TRUE(Whole("settings file", nowFile, oldFile, newFile));
    EXPECT_TRUE(Whole("settings text file", nowText, oldText, newText));
    if (nowFile != newFile || nowText != newText) {
      EXPECT_EQ(result, 0);
      ++failed;
    }
    if (budget == 0) {
      EXPECT_EQ(nowFile, oldFile);
      EXPECT_EQ(status, LONG(ERROR_DISK_FULL));
    }
    if (result) {
      EXPECT_EQ(status, kFileStatusOk);
    }
    EXPECT_EQ(std::u16string(PrnGetPrinterName(ctx())), u"Office");
    EXPECT_EQ(Raw(10386), 0);
  }
  EXPECT_GT(failed, 2);
}

TEST_F(SettingsFileTest, AFullDiskLeavesTheSettingsIniSectionOldOrNew) {
  const std::u16string ini = PathSettingsFile(ctx());
  SetIni(u"KeptKey", u"kept");
  SetRaw(12, 2);
  ASSERT_EQ(StoreRwItemSection(office_, ini.c_str(), kStoreFileWrite | kStoreFilePreset, ctx()), 1);
  const std::string oldIni = ReadBytes(ini);
  SetRaw(13, 261);
  ASSERT_EQ(StoreRwItemSection(office_, ini.c_str(), kStoreFileWrite | kStoreFilePreset, ctx()), 1);
  const std::string newIni = ReadBytes(ini);
  ASSERT_NE(oldIni, newIni);
  for (long long budget : kBudgets) {
    SCOPED_TRACE(budget);
    WriteBytes(ini, oldIni);
    SimSetDiskFull(budget);
    int result = StoreRwItemSection(office_, ini.c_str(), kStoreFileWrite | kStoreFilePreset, ctx());
    LONG status = CtxGetFileStatus(ctx());
    SimSetDiskFull(-1);
    const std::string now = ReadBytes(ini);
    EXPECT_TRUE(now == oldIni || now == newIni);
    EXPECT_EQ(result, now == newIni ? 1 : 0);
    EXPECT_EQ(status, now == newIni ? kFileStatusOk : LONG(ERROR_DISK_FULL));
  }
}

TEST_F(SettingsFileTest, TwoProcessesSavingDefaultSectionsIntoOneIniLoseNothing) {
  constexpr int kRounds = 200;
  DriverContext* lab = CtxOpen(lab_, lab_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(lab, nullptr);
  ASSERT_EQ(std::u16string(PathSettingsFile(ctx())), std::u16string(PathSettingsFile(lab)));
  ChildProcess child([&](ChildProcess& self) {
    char go = 0;
    if (!self.Receive(&go)) _exit(1);
    for (int i = 1; i <= kRounds; ++i) {
      ItemSetRawById(lab, 12, i);
      if (!StoreSaveDefaultSection(lab)) _exit(2);
    }
  });
  ASSERT_TRUE(child.Send('g'));
  SettingItem* overlay = Row(953);
  for (int i = 1; i <= kRounds; ++i) {
    SetRaw(12, 1000 + i);
    ASSERT_EQ(StoreSaveDefaultSection(ctx()), 1);
    std::string tag = "office-" + std::to_string(i);
    ItemSetText(ctx(), overlay, std::u16string(tag.begin(), tag.end()).c_str());
    StoreSavePersistedItems(office_, ctx(), 3, kStoreSaveForced);
  }
  EXPECT_EQ(child.Wait(), 0);
  const std::u16string ini = PathSettingsFile(ctx());
  EXPECT_EQ(Section(ini, "Office.DefaultSection")["dmCopies"], std::to_string(1000 + kRounds));
  EXPECT_EQ(Section(ini, "Lab.DefaultSection")["dmCopies"], std::to_string(kRounds));
  EXPECT_EQ(Section(ini, "Office")["OverlayDataPath"], "office-" + std::to_string(kRounds));
  EXPECT_TRUE(Section(ini, "Lab.DefaultSection").count("zdmLockDstResolutionBoth"));
  EXPECT_TRUE(Section(ini, "Office.DefaultSection").count("zdmLockDstResolutionBoth"));
  CtxRelease(lab, kReleaseExpired);
}

TEST_F(SettingsFileTest, ASectionRewriteWaitsForTheGlobalMutexBeforeReadingTheFile) {
  const std::u16string file = FilePath(u"shared.rst");
  WriteBytes(file, "[Other]\r\nBefore=1\r\n");
  ChildProcess child([&](ChildProcess& self) {
    LockGlobalMutex();
    if (!self.Send('l')) _exit(1);
    usleep(300000);
    // Written while the other process waits: its rewrite must read the file after this.
    WritePrivateProfileStringW(u"Other", u"WrittenMeanwhile", u"yes", file.c_str());
    UnlockGlobalMutex();
  });
  char c = 0;
  ASSERT_TRUE(child.Receive(&c));
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(StoreRwItemSection(office_, file.c_str(), kStoreFileWrite | kStoreFilePreset, ctx()), 1);
  auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_GE(waited, std::chrono::milliseconds(200));
  EXPECT_EQ(Section(file, "Other")["WrittenMeanwhile"], "yes");
  EXPECT_EQ(Section(file, "Other")["Before"], "1");
  EXPECT_TRUE(Section(file, "Office").count("dmDefaultSource"));
}

}  // namespace
}  // namespace zems_test
