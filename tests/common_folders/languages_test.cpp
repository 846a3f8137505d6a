// The language table and its lookups, including the user-locale rule that finds no row for a
// locale with a sublanguage when the row has none.
#include <vector>

#include "core/system/languages.h"
#include "core/items/item_table.h"
#include "core/items/item_ids.h"
#include "support/test_printer.h"
#include "tests/common_ini/host_files.h"

namespace {

using namespace common_ini_test;
using zems_test::LocalAndRemotePrinterTest;

std::u16string Str(const WCHAR* s) { return s; }

TEST(LanguagesTest, IndexCodeAndLanguageIds) {
  struct Case {
    WORD index;
    const char16_t* code;
    WORD primary, sublanguage;
  } cases[] = {
      {0, u"jp", 0x11, 0}, {1, u"us", 0x09, 0}, {4, u"gm", 0x07, 0},  {15, u"ru", 0x19, 0},
      {16, u"cs", 0x04, 2}, {17, u"ct", 0x04, 1}, {18, u"kr", 0x12, 0}, {19, u"us", 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::u16string(c.code), Str(ResLangCodeFromIndex(c.index))) << c.index;
    WORD sub = 99;
    EXPECT_EQ(c.primary, ResLangIdFromIndex(c.index, &sub)) << c.index;
    EXPECT_EQ(c.sublanguage, sub) << c.index;
    EXPECT_EQ(c.index != 19, ResIsLangIndexValid(c.index) != FALSE) << c.index;
  }
  // Only the low 8 bits of the index are compared.
  EXPECT_EQ(0x19, ResPrimaryLangIdFromIndex(0x10F));
  EXPECT_EQ(4, ResLangIndexFromCode(TEXT("GM")));
  EXPECT_EQ(1, ResLangIndexFromCode(TEXT("xx")));
  EXPECT_EQ(1, ResLangIndexFromCode(nullptr));
  EXPECT_EQ(u"fr", Str(ResLangCodeLookup(TEXT("FR"))));
  EXPECT_EQ(u"us", Str(ResLangCodeLookup(TEXT("f"))));
}

TEST(LanguagesTest, LocalesFollowTheSublanguageRule) {
  struct Case {
    LCID lcid;
    WORD index;
  } cases[] = {
      {0x0804, 16}, {0x0404, 17}, {0x0409, 0xFFFF}, {0x0411, 0xFFFF}, {0x0007, 4}, {0x0019, 15}, {0x0C04, 0xFFFF},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.index, ResLangIndexFromLcid(c.lcid)) << std::hex << c.lcid;
  }
  EXPECT_EQ(16, ResLangIndexFromLangId(0x04, 0)) << "sublanguage 0 takes the first row of the language";
}

TEST(LanguagesTest, CodeFromAFileName) {
  struct Case {
    const char16_t* path;
    WORD index;
    const char16_t* code;
  } cases[] = {
      {u"C:\\drv\\ZEMSGM.HLP", 4, u"gm"}, {u"x.y\\abCT.chm", 17, u"ct"}, {u"ZEMSXX.HLP", 1, u"us"},
      {u"G.HLP", 1, u"us"},               {u"NODOT", 1, u"us"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.index, ResLangIndexFromFileName(c.path));
    EXPECT_EQ(std::u16string(c.code), Str(ResLangCodeFromFileName(c.path)));
  }
  EXPECT_EQ(1, ResLangIndexFromFileName(nullptr));
}

class LanguageContextTest : public LocalAndRemotePrinterTest {};

TEST_F(LanguageContextTest, HelpFilesAndTheUserLocale) {
  localUi_.openMode = 1;
  EXPECT_EQ(4, ResLangIndexFromDriverHelp(&localCtx_));
  EXPECT_EQ(u"gm", Str(ResGetInstalledLangCode(&localCtx_)));
  EXPECT_EQ(u"gm", Str(localUi_.languageCode));

  // Other open modes take the printer data's help file name.
  localUi_.openMode = 0;
  EXPECT_EQ(u"us", Str(ResGetInstalledLangCode(&localCtx_)));
  SetPrinterText(local_, u"HelpFileName", u"ZEMSFR.HLP");
  EXPECT_EQ(u"fr", Str(ResGetInstalledLangCode(&localCtx_)));
  EXPECT_EQ(6, ResLangIndexFromHelpFile(&localCtx_));
  EXPECT_EQ(u"fr", Str(ResLangCodeFromPrinterHelp(local_)));

  SimSetUserDefaultLCID(0x0404);
  EXPECT_EQ(17, ResLangIndexFromUserLocale());
  SimSetUserDefaultLCID(0x0409);
  EXPECT_EQ(0xFFFF, ResLangIndexFromUserLocale());
}

TEST_F(LanguageContextTest, DisplayLanguageComesFromItem169) {
  std::vector<BYTE> settings(16384);
  localCtx_.items = ItemTableCreate();
  localCtx_.settings = settings.data();
  SettingItem* item = ItemFind(&localCtx_, kItem_zdmLanguageID);
  ASSERT_TRUE(item);
  BYTE* value = ItemStoragePtr(&localCtx_, item);
  ASSERT_TRUE(value);
  struct Case {
    WORD stored;
    const char16_t* code;
  } cases[] = {{15, u"ru"}, {19, u"us"}, {0, u"jp"}, {17, u"ct"}};
  for (const Case& c : cases) {
    value[0] = BYTE(c.stored);
    value[1] = 0;
    EXPECT_EQ(std::u16string(c.code), Str(ResGetUiLangCode(&localCtx_)));
    EXPECT_EQ(std::u16string(c.code), Str(ResGetLangCode(&localCtx_)));
    EXPECT_EQ(std::u16string(c.code), Str(localUi_.languageCode));
  }
  ItemTableFree(localCtx_.items);
  localCtx_.items = nullptr;
  localCtx_.settings = nullptr;
  // No stored value to read: the default language, not the row of index 0.
  EXPECT_EQ(std::u16string(u"us"), Str(ResGetUiLangCode(&localCtx_)));
  EXPECT_EQ(std::u16string(u"us"), Str(ResGetUiLangCode(nullptr)));
}

}  // namespace
