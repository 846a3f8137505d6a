// Two processes saving the settings-ini items of two printers at once: the machine-wide mutex
// brackets each save, so neither section loses its last values.
#include <gtest/gtest.h>

#include <string>

#include "core/items/item_access.h"
#include "core/store/item_store.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "store_items/store_fixture.h"
#include "support/child_process.h"

namespace zems_test {
namespace {

constexpr int kRounds = 200;

void SaveRounds(HANDLE printer, DriverContext* ctx, const char* tag) {
  SettingItem* overlay = ItemFind(ctx, 953);
  for (int i = 0; i < kRounds; ++i) {
    std::string text = std::string(tag) + "-" + std::to_string(i);
    ItemSetText(ctx, overlay, std::u16string(text.begin(), text.end()).c_str());
    StoreSavePersistedItems(printer, ctx, 3, kStoreSaveForced);
  }
}

TEST_F(StoreTest, TwoProcessesSavingTwoPrintersKeepBothSections) {
  DriverContext* lab = CtxOpen(lab_, lab_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(lab, nullptr);
  ChildProcess child([&](ChildProcess& self) {
    char go = 0;
    if (!self.Receive(&go)) _exit(1);
    SaveRounds(lab_, lab, "lab");
  });
  ASSERT_TRUE(child.Send('g'));
  SaveRounds(office_, ctx(), "office");
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_EQ(std::u16string(PathSettingsFile(ctx())), std::u16string(PathSettingsFile(lab)));
  WCHAR text[64];
  GetPrivateProfileStringW(PrnGetPrinterName(ctx()), u"OverlayDataPath", u"", text, 64, PathSettingsFile(ctx()));
  EXPECT_EQ(std::u16string(text), u"office-199");
  GetPrivateProfileStringW(PrnGetPrinterName(lab), u"OverlayDataPath", u"", text, 64, PathSettingsFile(lab));
  EXPECT_EQ(std::u16string(text), u"lab-199");
  CtxRelease(lab, kReleaseExpired);
}

}  // namespace
}  // namespace zems_test
