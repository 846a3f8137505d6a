// The pending housekeeping: stamps only on a multi-session host, the user's install state from
// the stamps, the per-user upgrade by settings version, a client's first use, the user's own
// presets across a reinstall, and the busy count of two threads.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/context/context_cache.h"
#include "core/front/ui_busy.h"
#include "core/install/install_pass.h"
#include "core/install/pending_housekeeping.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"
#include "platform/sim.h"
#include "store_install/install_fixture.h"
#include "support/child_process.h"

namespace {

using zems_test::InstallTest;
using zems_test::Narrow16;

const char16_t kAbsent[] = u"<absent>";

class HousekeepingTest : public InstallTest {
 protected:
  void MultiSession(bool on) {
    zems_test::SetWindows(5, 1, 0, on ? VER_SUITE_TERMINAL : 0);
    OsForgetCachedAnswers();
    ASSERT_EQ(OsIsMultiSessionHost(office_), on ? 1 : 0);
  }
  std::u16string MachineIni() {
    WCHAR path[MAX_PATH];
    EXPECT_TRUE(PathSettingsFileOf(path, MAX_PATH, 0, office_));
    return path;
  }
  std::u16string UserIni() {
    WCHAR path[MAX_PATH];
    EXPECT_TRUE(PathSettingsFileOf(path, MAX_PATH, 1, office_));
    return path;
  }
  std::u16string UserFolder() {
    std::u16string ini = UserIni();
    return ini.substr(0, ini.rfind(u'\\'));
  }
  static std::u16string W(const std::string& s) { return std::u16string(s.begin(), s.end()); }
};

TEST_F(HousekeepingTest, AStampIsWrittenOnlyOnAMultiSessionHost) {
  for (bool multi : {false, true}) {
    MultiSession(multi);
    WriteFile(MachineIni(), "[Office]\r\nKeep=1\r\n");
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    ASSERT_EQ(InstWriteStamp(office_, 5, kInstStampMachineFirst), 1) << multi;
    const std::u16string time = IniGet(MachineIni(), u"Office", u"DrvInstTime");
    if (!multi) {
      EXPECT_EQ(time, kAbsent);
      EXPECT_EQ(IniGet(MachineIni(), u"Office", u"DrvInstVersion"), kAbsent);
      continue;
    }
    ASSERT_EQ(time.size(), 14u) << Narrow16(time);
    EXPECT_EQ(Narrow16(time.substr(0, 4)), std::to_string(now.wYear));
    EXPECT_EQ(IniGet(MachineIni(), u"Office", u"DrvFirstInstTime"), time);
    EXPECT_EQ(IniGet(MachineIni(), u"Office", u"DrvInstType"), u"5");
    EXPECT_EQ(IniGet(MachineIni(), u"Office", u"DrvInstVersion"), u"6.63");
  }
}

TEST_F(HousekeepingTest, TheUsersStateComesFromTheStamps) {
  MultiSession(true);
  const struct {
    const char* what;
    const char* user;     // the user's DrvInstTime; null: no per-user settings ini
    const char* machine;  // the machine's DrvInstTime
    bool adminChange;
    DWORD state;
  } cases[] = {
      {"no settings of the user", nullptr, "20261201100000", false, kInstUserStateMissing},
      {"the same time as the machine", "20261201100000", "20261201100000", false, kInstUserStateCurrent},
      {"older than the first install", "20261101000000", "20261201100000", false, kInstUserStateMissing},
      {"no time of the user", "", "20261201100000", false, kInstUserStateMissing},
      {"installed again since", "20261201100000", "20261205080000", false, kInstUserStateReinstalled},
      {"installed again by an administrator", "20261201100000", "20261205080000", true, kInstUserStateAdminChange},
  };
  for (const auto& c : cases) {
    WriteFile(MachineIni(), "[Office]\r\nDrvFirstInstTime=20261201100000\r\nDrvInstTime=" + std::string(c.machine) + "\r\n");
    DeleteFileW(UserIni().c_str());
    if (c.user) WriteFile(UserIni(), "[Office]\r\nDrvInstTime=" + std::string(c.user) + "\r\n");
    const DWORD admin = c.adminChange ? 1 : 0;
    ASSERT_EQ(SetPrinterDataW(office_, const_cast<LPWSTR>(u"AdminChange"), REG_DWORD,
                              reinterpret_cast<LPBYTE>(const_cast<DWORD*>(&admin)), 4),
              DWORD(ERROR_SUCCESS));
    DWORD state = 99;
    EXPECT_EQ(InstReadUserStampState(office_, &state, nullptr), 1) << c.what;
    EXPECT_EQ(state, c.state) << c.what;
  }
}

TEST_F(HousekeepingTest, TheUsersSettingsVersionChoosesTheUpgrade) {
  MultiSession(true);
  const std::string lang = Narrow16(ResGetLangCodeAlias(ctx()));
  const struct {
    const char* what;
    const char* user;  // the user's RstVersion; null: none
    const char16_t* after;
    bool stamped;
  } cases[] = {
      {"321 against 322 is refreshed", "321", u"321", true},
      {"222 gets the full pass", "222", u"322", true},
      {"no version of the user: nothing", nullptr, kAbsent, false},
  };
  for (const auto& c : cases) {
    WriteFile(MachineIni(), "[" + lang + "]\r\nRstVersion=322\r\n");
    WriteFile(UserIni(), c.user ? "[" + lang + "]\r\nRstVersion=" + std::string(c.user) + "\r\n" : "[x]\r\n");
    EXPECT_EQ(InstUpgradeBySettingVersion(office_, kInstUserStateReinstalled, nullptr, nullptr), 1) << c.what;
    CtxCacheExpire(TRUE);
    EXPECT_EQ(IniGet(UserIni(), W(lang), u"RstVersion"), c.after) << c.what;
    EXPECT_EQ(IniGet(UserIni(), u"Office", u"DrvInstTime") != kAbsent, c.stamped) << c.what;
    // Only the full pass brings the factory watermarks into the user's settings.
    EXPECT_EQ(IniGet(UserIni(), u"Stamp0" + W(lang), u"RstVersion") != kAbsent, c.after == std::u16string(u"322"))
        << c.what;
  }
}

// A pass on a full disk has not brought the user's settings up to date: it answers failure,
// no stamp says it ran, and the next housekeeping runs it again.
TEST_F(HousekeepingTest, AFullDiskDuringThePassLeavesNoStampAndThePassRunsAgain) {
  MultiSession(true);
  // The user's folder is there (the housekeeping makes it first), the settings not yet.
  CreateDirectoryW(UserFolder().c_str(), nullptr);
  DeleteFileW(UserIni().c_str());
  SimSetDiskFull(0);
  EXPECT_EQ(InstRunPrinterPass(office_, nullptr, kInstPassUpgrade, nullptr, nullptr), 0);
  EXPECT_EQ(InstUpgradeBySettingVersion(office_, kInstUserStateMissing, nullptr, nullptr), 0);
  SimSetDiskFull(-1);
  CtxCacheExpire(TRUE);
  EXPECT_EQ(IniGet(UserIni(), u"Office", u"DrvInstTime"), kAbsent);
  DWORD state = 99;
  ASSERT_EQ(InstReadUserStampState(office_, &state, nullptr), 1);
  EXPECT_EQ(state, DWORD(kInstUserStateMissing)) << "the next housekeeping runs the pass";
  EXPECT_EQ(InstUpgradeBySettingVersion(office_, kInstUserStateMissing, nullptr, nullptr), 1);
  EXPECT_NE(IniGet(UserIni(), u"Office", u"DrvInstTime"), kAbsent);
}

TEST_F(HousekeepingTest, AClientsFirstUseOnAMultiSessionHostOnlyWritesTwoKeys) {
  HANDLE remote = AddPrinter(u"Remote", u"\\\\SRV");
  ASSERT_NE(remote, nullptr);
  for (bool multi : {true, false}) {
    MultiSession(multi);
    WCHAR ini[MAX_PATH];
    ASSERT_TRUE(PathSettingsFileOf(ini, MAX_PATH, 0, remote));
    WCHAR name[300];
    ASSERT_NE(PrnGetPrinterNameOf(remote, name, 300), nullptr);
    WriteFile(ini, "[" + Narrow16(name) + "]\r\nBatchInstallDone=0\r\n");
    EXPECT_EQ(InstRunPendingHousekeeping(remote, 1, nullptr, nullptr), 1) << multi;
    CtxCacheExpire(TRUE);
    WCHAR section[4096] = {};
    const DWORD got = GetPrivateProfileSectionW(name, section, 4096, ini);
    std::u16string keys;
    for (DWORD i = 0; i < got; ++i) keys += section[i] ? section[i] : u'|';
    if (multi) {
      EXPECT_EQ(keys, u"BatchInstallDone=1|DrvInstVersion=6.63|") << "no install pass";
    } else {
      EXPECT_NE(keys.find(u"MergeKey="), std::u16string::npos) << "the connection pass ran: " << Narrow16(keys);
      EXPECT_NE(keys.find(u"DrvInstVersion=6.63"), std::u16string::npos) << Narrow16(keys);
    }
  }
}

TEST_F(HousekeepingTest, AReinstallKeepsTheUsersOwnPresets) {
  MultiSession(true);
  const std::u16string user = UserFolder();
  WriteFile(u"C:\\_zems\\zdplain.rsr", "[Office]\r\nRstVersion=322\r\nzdmMarkPaperType=1\r\n[condition]\r\nC=1\r\n");
  WriteFile(MachineIni(), "[Office]\r\nCount=1\r\nPresetList0=C:\\_zems\\zdplain.rsr\r\nPresetList0Name=Plain\r\n");
  const struct {
    const char* what;
    DWORD state;
    const char16_t* count;
  } cases[] = {
      {"installed again: the user's own preset follows", kInstUserStateReinstalled, u"2"},
      {"by an administrator: the same", kInstUserStateAdminChange, u"2"},
      {"first use: the machine's list", kInstUserStateMissing, u"1"},
  };
  for (const auto& c : cases) {
    WriteFile(UserIni(), "[Office]\r\nCount=2\r\nPresetList0=" + Narrow16(user) +
                             "\\zdplain.rsr\r\nPresetList0Name=Old\r\nPresetList1=" + Narrow16(user) +
                             "\\user0001.rst\r\nPresetList1Name=Mine\r\nPresetList1Comment=My own\r\n");
    EXPECT_EQ(InstCopyBatchSettingsToUser(office_, nullptr, c.state), 0) << c.what;
    EXPECT_EQ(IniGet(UserIni(), u"Office", u"Count"), c.count) << c.what;
    EXPECT_EQ(IniGet(UserIni(), u"Office", u"PresetList0"), user + u"\\zdplain.rsr") << c.what;
    EXPECT_EQ(IniGet(UserIni(), u"Office", u"PresetList0Name"), u"Plain") << c.what;
    EXPECT_EQ(IniGet(user + u"\\zdplain.rsr", u"condition", u"C"), u"1") << c.what;
    EXPECT_EQ(IniGet(user + u"\\zdplain.rsr", u"Office", u"zdmMarkPaperType"), u"1") << c.what;
    if (c.count == std::u16string(u"2")) {
      EXPECT_EQ(IniGet(UserIni(), u"Office", u"PresetList1"), user + u"\\user0001.rst") << c.what;
      EXPECT_EQ(IniGet(UserIni(), u"Office", u"PresetList1Name"), u"Mine") << c.what;
      EXPECT_EQ(IniGet(UserIni(), u"Office", u"PresetList1Comment"), u"My own") << c.what;
    }
  }
}

// A printer name with brackets is filed under a section with ',' for each bracket: the user's
// copy of a preset file takes that section along.
TEST_F(HousekeepingTest, APrinterNameWithBracketsCopiesItsPresetSection) {
  MultiSession(true);
  HANDLE desk = AddPrinter(u"Desk [2]");
  ASSERT_NE(desk, nullptr);
  WCHAR machine[MAX_PATH], user[MAX_PATH];
  ASSERT_TRUE(PathSettingsFileOf(machine, MAX_PATH, 0, desk));
  ASSERT_TRUE(PathSettingsFileOf(user, MAX_PATH, 1, desk));
  const std::u16string folder = std::u16string(user).substr(0, std::u16string(user).rfind(u'\\'));
  WriteFile(u"C:\\_zems\\zddesk.rsr", "[Desk ,2,]\r\nzdmMarkPaperType=1\r\n");
  WriteFile(machine, "[Desk ,2,]\r\nCount=1\r\nPresetList0=C:\\_zems\\zddesk.rsr\r\nPresetList0Name=Desk\r\n");
  EXPECT_EQ(InstCopyBatchSettingsToUser(desk, nullptr, kInstUserStateMissing), 0);
  EXPECT_EQ(IniGet(user, u"Desk ,2,", u"PresetList0"), folder + u"\\zddesk.rsr");
  EXPECT_EQ(IniGet(folder + u"\\zddesk.rsr", u"Desk ,2,", u"zdmMarkPaperType"), u"1");
}

TEST_F(HousekeepingTest, TwoProcessesForTwoPrintersKeepBothSections) {
  MultiSession(true);
  const std::u16string user = UserIni();
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    DeleteFileW(user.c_str());
    zems_test::ChildProcess child([&](zems_test::ChildProcess& self) {
      char go = 0;
      if (!self.Receive(&go)) _exit(1);
      _exit(InstRunPendingHousekeeping(lab_, 0, nullptr, nullptr) == 1 ? 0 : 1);
    });
    ASSERT_TRUE(child.Send('g'));
    EXPECT_EQ(InstRunPendingHousekeeping(office_, 0, nullptr, nullptr), 1);
    EXPECT_EQ(child.Wait(), 0);
    CtxCacheExpire(TRUE);
    for (const char16_t* printer : {u"Office", u"Lab"}) {
      EXPECT_NE(IniGet(user, printer, u"DrvInstTime"), kAbsent) << Narrow16(printer) << ": the user's stamp";
      EXPECT_EQ(IniGet(user, printer, u"DrvInstType"), u"1") << Narrow16(printer);
      EXPECT_NE(IniGet(user, printer, u"MergeKey"), kAbsent) << Narrow16(printer) << ": the full pass's keys";
      DWORD state = 99;
      EXPECT_EQ(InstReadUserStampState(printer == std::u16string(u"Office") ? office_ : lab_, &state, nullptr), 1);
      EXPECT_EQ(state, DWORD(kInstUserStateCurrent)) << Narrow16(printer);
    }
  }
}

TEST_F(HousekeepingTest, OneThreadsPassDoesNotClearAnothersBusyMark) {
  ASSERT_EQ(UiBusyFlag.load(), 0);
  UiBusyHold first;
  std::thread other([] { UiBusyHold second; });
  other.join();
  DriverContext* opened = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(opened, nullptr);
  EXPECT_TRUE(opened->ui->openKind & kKindBusy) << "the first pass is still running";
  CtxRelease(opened, kReleaseExpired);
}

}  // namespace
