// The engine's own dialog texts and the re-initialisation of open dialogs' choices.
#include "core/front/control_lookup.h"
#include "core/front/dialog_builtin.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/store/preset_store.h"
#include "core/system/settings_folders.h"
#include "ui_engine/engine_fixture.h"

namespace zems_test {
namespace {

class BuiltinTest : public EngineTest {
 protected:
  std::u16string Text(HWND page, int id) {
    WCHAR text[256];
    WuiGetText(WuiFindControl(page, id), text, 256);
    return std::u16string(reinterpret_cast<const char16_t*>(text));
  }
};

TEST_F(BuiltinTest, TheOptionsDialogNamesTheFeedSidesByTheMachine) {
  SetControls(1011, {Control(2173, 1, 0), Control(2175, 1, 0)});
  for (LONG feed : {0, 1}) {
    SCOPED_TRACE(feed);
    ItemSetRawById(ctx_, kItem_zdmMachineTypeFeed, feed);
    HWND page = OpenPage(1011);
    EXPECT_EQ(Text(page, 2173), String(feed ? 13724 : 13725));
    EXPECT_EQ(Text(page, 2175), String(feed ? 13725 : 13724));
    WuiDestroy(page);
  }
}

TEST_F(BuiltinTest, TheEditPageNamesItsOverlayButtonWhileTheOverlayIsPossible) {
  SetControls(1003, {Control(2088, 1, 0), Control(2407, 21, 0)});
  HWND page = OpenPage(1003);
  EXPECT_EQ(Text(page, 2088), String(563));
  WuiDestroy(page);
  // Without the overlay button the text stays the template's.
  SetControls(1003, {Control(2088, 1, 0)});
  page = OpenPage(1003);
  EXPECT_EQ(Text(page, 2088), u"");
  WuiDestroy(page);
}

TEST_F(BuiltinTest, TheHookNeverConsumesAMessage) {
  DlgPageRecord* page = PageFind(ctx_, 1011);
  EXPECT_EQ(DlgHandleBuiltinMessage(ctx_, page, nullptr, WM_INITDIALOG, 0, 0), 0);
  EXPECT_EQ(DlgHandleBuiltinMessage(ctx_, page, &page->controls[0], WM_COMMAND, 1, 0), 0);
}

TEST_F(BuiltinTest, AClosedDialogsListIsNotReinitialised) {
  SetControls(1001, {Control(2007, 48, 0), Control(2017, 48, 0)});
  SetControls(1002, {Control(2007, 48, 0)});
  DlgReinitSourceTrayChoices(ctx_);
  EXPECT_TRUE(Log().inits.empty());
  HWND page = OpenPage(1002);
  Log().inits.clear();
  DlgReinitSourceTrayChoices(ctx_);
  EXPECT_EQ(Log().inits, std::vector<WORD>{2007});
  WuiDestroy(page);
}

TEST_F(BuiltinTest, AfterTheLastPresetIsDeletedTheIconListsFallBackToTheFirst) {
  SetControls(1001, {Control(2001, 50, SymbolOf(kItem_zdmPresetNo))});
  DlgBindControls(ctx_, PageFind(ctx_, 1001));
  std::u16string ini(reinterpret_cast<const char16_t*>(PathSettingsFile(ctx_)));
  CreateDirectoryW(reinterpret_cast<LPCWSTR>(ini.substr(0, ini.find_last_of(u'\\')).c_str()), nullptr);
  PresetAppendEntry(ctx_, TEXT("C:\\a.rst"), TEXT("A"), TEXT(""));
  PresetAppendEntry(ctx_, TEXT("C:\\b.rst"), TEXT("B"), TEXT(""));
  ASSERT_EQ(PresetGetCount(ctx_), 2);
  HWND page = OpenPage(1001);
  ItemSetValueById(ctx_, kItem_zdmPresetNo, 120);  // the second preset
  PresetClearList(ctx_);
  PresetAppendEntry(ctx_, TEXT("C:\\a.rst"), TEXT("A"), TEXT(""));
  DlgReinitPresetChoices(ctx_);
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_zdmPresetNo), 119);
  WuiDestroy(page);
}

}  // namespace
}  // namespace zems_test
