// The per-printer defaults: the user's locale (country code) or the installer's pending values
// give the display language, default paper, display unit and user code.
#include <gtest/gtest.h>

#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/install/install_ini.h"
#include "core/install/install_ini_defaults.h"
#include "platform/sim.h"
#include "store_install/install_fixture.h"

namespace {

using zems_test::InstallTest;

TEST(LocaleInfo, CountryCodesOfTheLanguageTable) {
  struct Case {
    LCID lcid;
    const char16_t* country;  // null: refused
  } cases[] = {{0x0409, u"1"},   {0x0407, u"49"}, {0x0416, u"55"}, {0x0411, u"81"}, {0x1009, u"1"},
               {0x0436, u"27"},  {0x0405, u"420"}, {0x0419, u"7"}, {0x0401, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lcid);
    WCHAR buffer[8] = {};
    int n = GetLocaleInfoW(c.lcid, LOCALE_ICOUNTRY, buffer, 8);
    if (!c.country) {
      EXPECT_EQ(n, 0);
      EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
      continue;
    }
    EXPECT_EQ(std::u16string(buffer), c.country);
    EXPECT_EQ(n, int(std::u16string(c.country).size() + 1));
    EXPECT_EQ(GetLocaleInfoW(c.lcid, LOCALE_ICOUNTRY, nullptr, 0), n) << "size query";
  }
  WCHAR tiny[2];
  EXPECT_EQ(GetLocaleInfoW(0x0405, LOCALE_ICOUNTRY, tiny, 2), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  SimSetUserDefaultLCID(0x0407);
  WCHAR user[8];
  EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ICOUNTRY, user, 8), 3);
  EXPECT_EQ(std::u16string(user), u"49");
  SimSetUserDefaultLCID(0x0409);
}

TEST_F(InstallTest, TheLocaleGivesPaperUnitAndGroupWithoutADefaultsFile) {
  struct Case {
    LCID lcid;
    int group;
    WORD computedPaper;  // before the model's sub-code rule
    LONG_PTR unit;
  } cases[] = {{0x0409, 1, 1, 1}, {0x0407, 0, 9, 0}, {0x0416, 5, 1, 1}, {0x0436, 2, 1, 1}, {0x0411, 0, 9, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lcid);
    SimSetUserDefaultLCID(c.lcid);
    DeleteFileW(DefaultsIni().c_str());
    EXPECT_EQ(InstGetLocaleGroup(ctx()), c.group);
    ASSERT_EQ(InstComputeLocaleDefaults(ctx()), 1);
    EXPECT_EQ(ctx()->ui->install.defaults.defaultPaper, c.computedPaper);
    InstLoadUserDefaults(ctx());
    EXPECT_EQ(Raw(kItem_zdmLocaleID), c.group);
    EXPECT_EQ(Raw(kItem_zdmDspUnit), c.unit);
    // Every model of this build has sub-code 0: A4 whatever the locale.
    EXPECT_EQ(Raw(kItem_dmPaperSize), 9);
    EXPECT_EQ(IniGet(DefaultsIni(), Printer(), u"DefPaper"), u"9");
    EXPECT_EQ(IniGet(DefaultsIni(), Printer(), u"DefUnit"), c.unit ? u"1" : u"0");
    // The driver's help file (none: English) decides the display language.
    EXPECT_EQ(Raw(kItem_zdmLanguageID), 1);
    EXPECT_EQ(Raw(170), 1);
    EXPECT_EQ(IniGet(DefaultsIni(), Printer(), u"DispLang"), u"1");
  }
}

TEST_F(InstallTest, TheInstallersPendingDefaultsAreTakenOnce) {
  const std::u16string path = DefaultsIni();
  IniSet(path, Printer(), u"ZemsInstDone", u"0");
  IniSet(path, Printer(), u"DispLang", u"1");
  IniSet(path, Printer(), u"DefUnit", u"1");
  IniSet(path, Printer(), u"UserCode", u"1");
  IniSet(path, Printer(), u"UserCodeFIX", u"1");
  IniSet(path, Printer(), u"UserCodeString", u"87654321");
  InstLoadUserDefaults(ctx());
  EXPECT_EQ(Raw(kItem_zdmLogCodeUse), 1);
  EXPECT_EQ(ItemText(kItem_zdmLogCode), u"87654321");
  EXPECT_EQ(Raw(kItem_zdmUserCodeFIX), 1);
  EXPECT_EQ(Raw(kItem_zdmDspUnit), 1);
  EXPECT_EQ(IniGet(path, Printer(), u"ZemsInstDone"), u"1");
  // Taken: a second load computes from the locale again and keeps the user code.
  ItemSetText(ctx(), ItemFind(ctx(), kItem_zdmLogCode), u"1");
  EXPECT_EQ(InstReadPendingDefaults(ctx()), 0);
  InstLoadUserDefaults(ctx());
  EXPECT_EQ(ItemText(kItem_zdmLogCode), u"1");
}

TEST_F(InstallTest, PendingDefaultsNeedZemsInstDoneZeroAndDispLang) {
  struct Case {
    const char16_t* done;  // null: no key
    const char16_t* lang;
    int taken;
  } cases[] = {{u"0", u"1", 1}, {nullptr, u"1", 0}, {u"1", u"1", 0}, {u"0", nullptr, 0}};
  for (const Case& c : cases) {
    const std::u16string path = DefaultsIni();
    DeleteFileW(path.c_str());
    IniSet(path, u"Other", u"x", u"1");
    if (c.done) IniSet(path, Printer(), u"ZemsInstDone", c.done);
    if (c.lang) IniSet(path, Printer(), u"DispLang", c.lang);
    EXPECT_EQ(InstReadPendingDefaults(ctx()), c.taken);
  }
}

TEST_F(InstallTest, WritingThePrinterDefaultsTakesThemAtOnce) {
  ItemSetRawById(ctx(), kItem_zdmLanguageID, 6);
  ItemSetRawById(ctx(), kItem_zdmLocaleID, 2);
  ItemSetRawById(ctx(), kItem_zdmDspUnit, 1);
  ItemSetRawById(ctx(), kItem_zdmLogCodeUse, 1);
  ItemSetText(ctx(), ItemFind(ctx(), kItem_zdmLogCode), u"4711");
  EXPECT_EQ(InstWritePrinterDefaults(ctx()), 1);
  const std::u16string path = DefaultsIni();
  EXPECT_EQ(IniGet(path, Printer(), u"DispLang"), u"6");
  EXPECT_EQ(IniGet(path, Printer(), u"DefPaper"), u"1");
  EXPECT_EQ(IniGet(path, Printer(), u"UserCodeString"), u"4711");
  EXPECT_EQ(IniGet(path, Printer(), u"ZemsInstDone"), u"1");
  EXPECT_EQ(ctx()->ui->install.defaults.displayLanguage, 6);
}

TEST_F(InstallTest, TheUserCodeDefaultsByKind) {
  struct Case {
    int kind;
    int result;
    const char16_t* userCode;
    const char16_t* text;
    const char16_t* mru;
  } cases[] = {{2, 1, u"0", u"<absent>", u"<absent>"},
               {0, 1, u"1", u"2468", u"<absent>"},
               {1, 1, u"1", u"2468", u"2468"}};
  ItemSetRawById(ctx(), kItem_zdmLogCodeUse, 1);
  ItemSetText(ctx(), ItemFind(ctx(), kItem_zdmLogCode), u"2468");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const std::u16string path = DefaultsIni();
    DeleteFileW(path.c_str());
    EXPECT_EQ(InstWriteUserCodeDefaults(Printer().c_str(), c.kind, ctx()), c.result);
    EXPECT_EQ(IniGet(path, Printer(), u"UserCode"), c.userCode);
    EXPECT_EQ(IniGet(path, Printer(), u"UserCodeString"), c.text);
    EXPECT_EQ(IniGet(path, u"ORVEL UserCode", u"MRUUserCode"), c.mru);
  }
  // Without a current code kind 0 resets the keys and answers 0.
  ItemSetRawById(ctx(), kItem_zdmLogCodeUse, 0);
  EXPECT_EQ(InstWriteUserCodeDefaults(Printer().c_str(), 0, ctx()), 0);
  EXPECT_EQ(IniGet(DefaultsIni(), Printer(), u"UserCode"), u"0");
  EXPECT_EQ(IniGet(DefaultsIni(), Printer(), u"UserCodeString"), u"");
}

TEST_F(InstallTest, LocaleDefaultsAfterALoadFollowTheGroup) {
  SimSetUserDefaultLCID(0x0416);
  InstSetLocaleDefaults(ctx());
  EXPECT_EQ(Raw(kItem_zdmLocaleID), 5);
  EXPECT_EQ(ctx()->ui->install.defaults.defaultPaper, 1);
  SimSetUserDefaultLCID(0x0407);
  InstSetLocaleDefaults(ctx());
  EXPECT_EQ(Raw(kItem_zdmLocaleID), 0);
  EXPECT_EQ(ctx()->ui->install.defaults.defaultPaper, 9);
  EXPECT_EQ(ctx()->ui->install.defaults.displayUnit, 0);
}

}  // namespace
