// Setting locks carried into the stored preset and quality-list files, the locked watermark
// copies, the lock keys of exported packages, the captured values and the default lock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_layout.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/store/settings_stores.h"
#include "core/store/stamp_store.h"
#include "core/store/store_keys.h"
#include "core/tables/print_macros.h"
#include "core/tables/value_symbols.h"
#include "support/module_context.h"

namespace zems_test {
namespace {

const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }
std::u16string U(const WCHAR* w) { return reinterpret_cast<const char16_t*>(w); }
std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

class LocksTest : public ModuleContextTest {
 protected:
  void Set(WORD id, LONG value) { ItemSetRawById(ctx_, id, value); }
  LONG Get(WORD id) { return static_cast<LONG>(ItemGetRawById(ctx_, id)); }
  void Printer(const char16_t* key, const char16_t* value) { IniWriteString(section_, W(key), W(value), ini_); }
  // A settings file of the list: its printer section holds the keys given ("key=value" pairs).
  void File(const std::string& path, std::initializer_list<std::pair<const char16_t*, const char16_t*>> keys) {
    ASSERT_TRUE(WriteMachineFile(path, ""));
    for (const auto& k : keys) IniWriteString(section_, W(k.first), W(k.second), W(U16(path).c_str()));
  }
  std::u16string Key(const std::string& path, const char16_t* key, const WCHAR* section = nullptr) {
    WCHAR text[64] = {};
    IniReadString(section ? section : section_, W(key), W(u"-"), text, 64, W(U16(path).c_str()));
    return U(text);
  }
};

TEST_F(LocksTest, PresetFilesCarryTheLockedValueAndKeepTheirOwn) {
  File("C:\\_zems\\user0001.rst", {{u"dmDefaultSource", u"1"}, {u"zdmMediaType", u"4"}});
  File("C:\\_zems\\user0002.rst", {{u"zdmMediaType", u"4"}});  // no paper-source key
  File("C:\\_zems\\user0003.rst", {{u"dmDefaultSource", u"1"}, {u"Readonly", u"1"}});
  File("C:\\_zems\\user0004.txt", {{u"dmDefaultSource", u"1"}});  // no settings file
  File("C:\\elsewhere\\user0005.rst", {{u"dmDefaultSource", u"1"}});  // outside the settings folders
  Printer(u"Count", u"5");
  Printer(u"PresetList0", u"C:\\_zems\\user0001.rst");
  Printer(u"PresetList1", u"C:\\_zems\\user0002.rst");
  Printer(u"PresetList2", u"C:\\_zems\\user0003.rst");
  Printer(u"PresetList3", u"C:\\_zems\\user0004.txt");
  Printer(u"PresetList4", u"C:\\elsewhere\\user0005.rst");
  struct Step {
    LONG bit, tray;
    const char16_t* key;
    const char16_t* lock;
  } steps[] = {
      {1, 2, u"2", u"1"},  // locked: the file's own tray goes aside
      {1, 3, u"3", u"1"},  // locked again: the first value stays aside
      {0, 1, u"1", u"-"},  // unlocked while the settings hold the file's own tray
      {1, 2, u"2", u"1"},
      {0, 5, u"1", u"-"},  // unlocked after the context moved on
  };
  for (const Step& s : steps) {
    Set(kItem_zdmLock000InfoBitTray, s.bit);
    Set(kItem_dmDefaultSource, s.tray);
    ModBusSendEvent(ctx_, 59, nullptr);
    EXPECT_EQ(s.key, Key("C:\\_zems\\user0001.rst", u"dmDefaultSource")) << s.bit << " " << s.tray;
    EXPECT_EQ(s.lock, Key("C:\\_zems\\user0001.rst", u"dmDefaultSourceLock")) << s.bit << " " << s.tray;
    EXPECT_EQ(u"4", Key("C:\\_zems\\user0001.rst", u"zdmMediaType")) << "an unlocked setting";
    EXPECT_EQ(u"-", Key("C:\\_zems\\user0002.rst", u"dmDefaultSourceLock")) << "a file without the key";
    EXPECT_EQ(u"1", Key("C:\\_zems\\user0003.rst", u"dmDefaultSource")) << "a read-only preset";
    EXPECT_EQ(u"1", Key("C:\\_zems\\user0004.txt", u"dmDefaultSource")) << "not a settings file";
    EXPECT_EQ(u"1", Key("C:\\elsewhere\\user0005.rst", u"dmDefaultSource")) << "outside the settings folders";
  }
}

// The resolution lock moves the pair key and its width and height together; a file without
// the pair has its width and height locked each on its own.
TEST_F(LocksTest, QualityFilesLockTheResolutionWithItsWidthAndHeight) {
  const PrintMacroResolution* macro = nullptr;
  WORD id = 1;
  for (; id < 2000 && !(macro = TblFindPrintMacro(id)); ++id) {
  }
  ASSERT_NE(nullptr, macro);
  const std::u16string x = U16(std::to_string(macro->xDpi)), y = U16(std::to_string(macro->yDpi));
  File("C:\\_zems\\q0.rsq", {{u"zdmDstResolutionBoth", u"77"}, {u"zdmDstResolutionW", u"300"}, {u"zdmDstResolutionH", u"301"}});
  Printer(u"QualityCount", u"1");
  Printer(u"QualityList0", u"C:\\_zems\\q0.rsq");
  Set(kItem_zdmDstResolutionBoth, id);
  Set(kItem_zdmLock000InfoBitResolution, 1);
  ModBusSendEvent(ctx_, 60, nullptr);
  const std::u16string macroText = U16(std::to_string(id));
  EXPECT_EQ(macroText, Key("C:\\_zems\\q0.rsq", u"zdmDstResolutionBoth"));
  EXPECT_EQ(u"77", Key("C:\\_zems\\q0.rsq", u"zdmDstResolutionBothLock"));
  EXPECT_EQ(x, Key("C:\\_zems\\q0.rsq", u"zdmDstResolutionW"));
  EXPECT_EQ(y, Key("C:\\_zems\\q0.rsq", u"zdmDstResolutionH"));
  EXPECT_EQ(u"300", Key("C:\\_zems\\q0.rsq", u"zdmDstResolutionWLock"));
  EXPECT_EQ(u"301", Key("C:\\_zems\\q0.rsq", u"zdmDstResolutionHLock"));
  Set(kItem_zdmDstResolutionBoth, 77);  // the settings happen to hold the file's own value
  Set(kItem_zdmLock000InfoBitResolution, 0);
  ModBusSendEvent(ctx_, 60, nullptr);
  EXPECT_EQ(u"77", Key("C:\\_zems\\q0.rsq", u"zdmDstResolutionBoth"));
  EXPECT_EQ(u"300", Key("C:\\_zems\\q0.rsq", u"zdmDstResolutionW"));
  EXPECT_EQ(u"301", Key("C:\\_zems\\q0.rsq", u"zdmDstResolutionH"));
  for (const char16_t* k : {u"zdmDstResolutionBothLock", u"zdmDstResolutionWLock", u"zdmDstResolutionHLock"})
    EXPECT_EQ(u"-", Key("C:\\_zems\\q0.rsq", k)) << "lock key left";
  // Without the pair key the width and height are locked each to its own value.
  File("C:\\_zems\\q0.rsq", {{u"zdmDstResolutionW", u"300"}, {u"zdmDstResolutionH", u"301"}});
  Set(kItem_zdmDstResolutionW, 600);
  Set(kItem_zdmDstResolutionH, 601);
  Set(kItem_zdmLock000InfoBitResolution, 1);
  ModBusSendEvent(ctx_, 60, nullptr);
  EXPECT_EQ(u"600", Key("C:\\_zems\\q0.rsq", u"zdmDstResolutionW"));
  EXPECT_EQ(u"301", Key("C:\\_zems\\q0.rsq", u"zdmDstResolutionHLock"));
}

TEST_F(LocksTest, CaptureAndTheDefaultLock) {
  Set(kItem_dmDefaultSource, 7);
  Set(kItem_zdmMediaType, 3);
  Set(kItem_zdmPrnMethod, 4);
  ModBusNotify(ctx_, 312);
  EXPECT_EQ(7, Get(kItem_wdmLock001Info));
  EXPECT_EQ(3, Get(kItem_wdmLock002Info));
  EXPECT_EQ(4, Get(kItem_wdmLock006Info));
  // A notify code naming a setting resets it to its locked default while the default lock is on.
  const KeyItemPair* pair = TblGetKeyItemPairs();
  ASSERT_NE(0, pair->key);
  SettingItem* item = ItemFind(ctx_, pair->itemId);
  ASSERT_NE(nullptr, item);
  const LONG_PTR lockDefault = ItemGetLockDefaultRaw(ctx_, item);
  ItemSetRaw(ctx_, item, lockDefault + 1);
  ModBusNotify(ctx_, pair->key);
  EXPECT_EQ(lockDefault + 1, ItemGetRaw(ctx_, item)) << "no default lock";
  Set(kItem_zdmLock000InfoBitDefault, 1);
  ModBusNotify(ctx_, pair->key);
  EXPECT_EQ(lockDefault, ItemGetRaw(ctx_, item));
  // Print methods 2, 5 and 7 are never remembered.
  Set(kItem_zdmLockPrnMethod, 0);
  Set(kItem_zdmPrnMethod, 5);
  ModBusNotify(ctx_, 326);
  EXPECT_EQ(0, Get(kItem_zdmLockPrnMethod));
  Set(kItem_zdmPrnMethod, 3);
  ModBusNotify(ctx_, 326);
  EXPECT_EQ(3, Get(kItem_zdmLockPrnMethod));
}

TEST_F(LocksTest, LockedWatermarkCopiesAreSavedLoadedAndDeleted) {
  ASSERT_TRUE(StampSetCount(ctx_, 2));
  ItemSetText(ctx_, ItemFind(ctx_, 929), W(u"DRAFT"));  // wdmWmChar
  ASSERT_EQ(1, StampSave(ctx_, 0));
  ItemSetText(ctx_, ItemFind(ctx_, 929), W(u"COPY"));
  ASSERT_EQ(1, StampSave(ctx_, 1));
  ModBusSendEvent(ctx_, 61, nullptr);
  WCHAR section[64];
  StampSectionName(section, 60, 1, ctx_);
  std::u16string locked = U(section) + u"Lock";
  WCHAR text[40] = {};
  IniReadString(W(locked.c_str()), W(u"wdmWmChar"), W(u"-"), text, 40, ini_);
  EXPECT_EQ(u"COPY", U(text)) << "watermark 1's locked copy";
  // Under the default lock notify 319 takes watermark 1 from its locked copy.
  ItemSetText(ctx_, ItemFind(ctx_, 929), W(u"OTHER"));
  Set(kItem_zdmLock000InfoBitDefault, 1);
  ModBusNotify(ctx_, 319);
  WCHAR value[40] = {};
  ItemGetTextBounded(ctx_, ItemFind(ctx_, 929), value, 40);
  EXPECT_EQ(u"COPY", U(value));
  EXPECT_EQ(1, Get(kItem_zdmWmID));
  ModBusSendEvent(ctx_, 62, nullptr);
  IniReadString(W(locked.c_str()), W(u"wdmWmChar"), W(u"-"), text, 40, ini_);
  EXPECT_EQ(u"-", U(text));
}

TEST_F(LocksTest, ExportedPackagesLoseTheLockKeys) {
  const WCHAR* lang = StoreListLangCode(ctx_);
  auto pack = [&](const std::string& path, const char16_t* key) {
    ASSERT_TRUE(WriteMachineFile(path, ""));
    IniWriteString(lang, W(key), W(u"1"), W(U16(path).c_str()));
    IniWriteString(lang, W(u"zdmMediaTypeLock"), W(u"1"), W(U16(path).c_str()));
  };
  pack("C:\\pk\\R1234560.rsd", u"dmDefaultSourceLock");
  pack("C:\\pk\\R1234561.rsd", u"dmDefaultSourceLock");
  pack("C:\\pk\\R1234570.rsq", u"zdmDstResolutionBothLock");
  Set(kItem_zdmLock000InfoBitTray, 1);
  Set(kItem_zdmLock000InfoBitResolution, 1);
  const WCHAR* mainPack = W(u"C:\\pk\\R1234560.rsb");
  ModBusSendEvent(ctx_, 63, const_cast<WCHAR*>(mainPack));
  ModBusSendEvent(ctx_, 64, const_cast<WCHAR*>(mainPack));
  for (const char* f : {"C:\\pk\\R1234560.rsd", "C:\\pk\\R1234561.rsd"}) {
    EXPECT_EQ(u"-", Key(f, u"dmDefaultSourceLock", lang)) << f;
    EXPECT_EQ(u"1", Key(f, u"zdmMediaTypeLock", lang)) << f << ": that lock is off";
  }
  EXPECT_EQ(u"-", Key("C:\\pk\\R1234570.rsq", u"zdmDstResolutionBothLock", lang));
  // A name too short for its counter and selector is left alone.
  ModBusSendEvent(ctx_, 63, const_cast<WCHAR*>(W(u"C:\\R1.rsb")));
}

// A reload takes the printer's stored settings back, but keeps what the pages just learnt of
// the printer's bidirectional state, and runs as a device settings pass.
TEST_F(LocksTest, AReloadTakesBackThePrintersOwnSettings) {
  std::vector<BYTE> stored(ctx_->settings, ctx_->settings + kDmSize);
  reinterpret_cast<DEVMODEW*>(stored.data())->dmCopies = 7;
  DWORD needed = 0;
  GetPrinterW(ctx_->printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed);
  ASSERT_TRUE(GetPrinterW(ctx_->printer, 2, info.data(), needed, &needed));
  reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode = reinterpret_cast<DEVMODEW*>(stored.data());
  ASSERT_TRUE(SetPrinterW(ctx_->printer, 2, info.data(), 0));
  Set(kItem_dmCopies, 3);
  Set(kItem_zdmBiDirect, 1);
  CtxSetPropertyType(ctx_, 0);
  ModBusNotify(ctx_, 323);
  EXPECT_EQ(7, Get(kItem_dmCopies)) << "the printer's stored DEVMODE";
  EXPECT_EQ(1, Get(kItem_zdmBiDirect)) << "the bidirectional state stays";
  EXPECT_EQ(1, DmGetPropertyType(ctx_->settings)) << "a device settings pass";
}

}  // namespace
}  // namespace zems_test
