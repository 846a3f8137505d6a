// The dialog templates of both language DLLs, read back as the machine reads them: one per page
// of the dialog tables, holding exactly the page's control ids with the classes of their types.
#include <gtest/gtest.h>

#include <ctype.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "core/front/dialog_records.h"
#include "platform/sim/dialog_template.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

// The window class and, where it matters, the style bits a control type's template control has.
struct ClassOfType {
  const char16_t* className;
  DWORD styleMask;
  DWORD style;
};

ClassOfType Expected(WORD type) {
  switch (type) {
    case 2: return {u"Static", 0x0100, 0x0100};                  // SS_NOTIFY
    case 4: return {u"Button", 0x000F, 0x0007};                  // BS_GROUPBOX
    case 21: return {u"Button", 0x000F, 0x000B};                 // BS_OWNERDRAW
    case 22: return {u"Button", 0x000F, 0x0003};                 // BS_AUTOCHECKBOX
    case 41: return {u"Button", 0x000F, 0x0009};                 // BS_AUTORADIOBUTTON
    case 42: return {u"ListBox", 0x0010, 0x0000};                // not owner-drawn
    case 43: return {u"ComboBox", 0x0013, 0x0003};               // drop-down list
    case 48: return {u"ComboBox", 0x0213, 0x0213};               // owner-drawn fixed, strings
    case 47: case 49: return {u"ListBox", 0x0210, 0x0010};       // owner-drawn fixed
    case 50: return {u"ListBox", 0x0210, 0x0210};                // and multi-column
    case 61: case 63: return {u"Edit", 0, 0};
    case 23: case 81: return {u"ScrollBar", 0x0001, 0x0001};     // SBS_VERT
    case 82: case 84: return {u"ScrollBar", 0x0001, 0x0000};     // SBS_HORZ
    case 85: return {u"msctls_trackbar32", 0, 0};
    case 105: return {u"SysTreeView32", 0, 0};
    default: return {u"Static", 0, 0};
  }
}

// Class names compare without case, as Windows compares them.
std::string Narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += static_cast<char>(c < 0x80 ? tolower(c) : '?');
  return out;
}

class TemplatesTest : public MachineTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(TemplatesTest, EveryPageHasItsTemplateWithItsRowsControls) {
  const std::string leaf = GetParam();
  std::error_code ec;
  std::filesystem::create_directories(HostPath("C:\\res\\"), ec);
  ASSERT_TRUE(std::filesystem::copy_file(BinDir() + "/" + leaf, HostPath("C:\\res\\") + "/" + leaf,
                                         std::filesystem::copy_options::overwrite_existing, ec));
  std::u16string path = u"C:\\res\\" + std::u16string(leaf.begin(), leaf.end());
  HMODULE dll = LoadLibraryExW(reinterpret_cast<LPCWSTR>(path.c_str()), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, dll);
  const DlgPageTable* table = TblGetPageTable();
  for (SHORT i = 0; i < table->count; ++i) {
    const DlgPageRecord& page = table->rows[i];
    SCOPED_TRACE(page.dialogId);
    HRSRC found = FindResourceW(dll, MAKEINTRESOURCEW(page.dialogId), RT_DIALOG);
    ASSERT_NE(nullptr, found);
    const void* bytes = LockResource(LoadResource(dll, found));
    winsim::DialogTemplate dialog;
    ASSERT_TRUE(winsim::ReadDialogTemplate(static_cast<const uint8_t*>(bytes), SizeofResource(dll, found), &dialog));
    std::map<WORD, const winsim::DialogItemTemplate*> items;
    for (const winsim::DialogItemTemplate& item : dialog.items) items[static_cast<WORD>(item.id)] = &item;
    std::set<WORD> rows;
    for (WORD c = 0; c < page.controlCount; ++c) {
      const DlgControlRecord& control = page.controls[c];
      rows.insert(control.controlId);
      auto it = items.find(control.controlId);
      ASSERT_NE(items.end(), it) << "control " << control.controlId << " is missing";
      // The options page's tray list is typed a tree, but its module drives it as an owner-drawn,
      // single-selection report list view.
      const ClassOfType expected =
          control.controlId == 2166 ? ClassOfType{u"SysListView32", 0x0407, 0x0405} : Expected(control.type);
      EXPECT_EQ(Narrow(expected.className), Narrow(it->second->className)) << control.controlId;
      EXPECT_EQ(expected.style, it->second->style & expected.styleMask) << control.controlId;
    }
    for (const auto& item : items)
      EXPECT_TRUE(rows.count(item.first) || item.first == 0xFFFF) << "control " << item.first << " has no row";
    const bool sheetPage = (page.kind & (kPageDocumentSheet | kPagePrinterSheet)) && !(page.kind & kPageModal);
    if (sheetPage) {
      EXPECT_TRUE(dialog.style & WS_CHILD) << "a property page";
    }
  }
  FreeLibrary(dll);
}

INSTANTIATE_TEST_SUITE_P(LanguageDlls, TemplatesTest, ::testing::Values("zemsresus.dll", "zemsresfr.dll"));

}  // namespace
}  // namespace zems_test
