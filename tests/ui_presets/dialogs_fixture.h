// The module dialogs' tests on the fake: dialogs made by hand (a page record with its controls
// over windows of the fake) over a real context of "Office" whose language DLL is the list
// tests' one (the sample's strings and the preset keys 60101-60104); each test writes the
// preset list into the settings ini; message boxes are answered by script.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "core/common/ini_access.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/front/dialog_engine.h"
#include "core/front/dialog_records.h"
#include "core/items/control_states.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_types.h"
#include "core/modules/module_rows.h"
#include "core/modules/preset_entries.h"
#include "core/store/preset_store.h"
#include "core/system/resources.h"
#include "platform/sim.h"
#include "core/store/store_keys.h"
#include "support/test_printer.h"
#include "support/ui_calls.h"

namespace zems_test {

inline const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }
inline std::u16string U(const WCHAR* w) { return reinterpret_cast<const char16_t*>(w); }
inline std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

struct Entry {
  std::u16string file, name, comment;
};

class ModuleDialogsTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    if (HasFatalFailure()) return;
    // The list tests' language DLL: the sample's strings (the warnings' texts) and the preset
    // keys 60101-60104 ("PresetList0" ..), in place before the context opens.
    std::error_code ec;
    const std::string folder = HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\");
    std::filesystem::create_directories(folder, ec);
    ASSERT_TRUE(std::filesystem::copy_file(BinDir() + "/" + languageDll_, folder + "/zemsresus.dll",
                                           std::filesystem::copy_options::overwrite_existing, ec));
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx_);
    StoreCopySettingsIni(ctx_, ini_);
    StoreCopyPrinterName(ctx_, section_, 261);
    ASSERT_TRUE(WriteMachineFile(Narrow(U(ini_)), ""));
    ASSERT_FALSE(String(10049).empty());
    SimUiReset();
    window_ = SimUiMakeWindow(W(u"#32770"), NULL, 0, 0);
    page_.window = window_;
    page_.dialogId = 1007;
  }
  void TearDown() override {
    SimUiReset();
    if (ctx_) CtxRelease(ctx_, kReleaseExpired);
    ContextTest::TearDown();
  }

  DlgControlRecord* Make(WORD id, const char16_t* className, WORD itemId = 0) {
    DlgControlRecord control = {};
    control.controlId = id;
    control.aliasId = id;
    control.item = itemId ? ItemFind(ctx_, itemId) : nullptr;
    control.window = SimUiMakeWindow(W(className), window_, id, WS_CHILD | WS_VISIBLE);
    records_.push_back(control);
    return &records_.back();
  }
  // The maintenance dialog's list, buttons and edits.
  void MakeMaintenance() {
    page_.dialogId = 1007;
    for (WORD id : {2139, 2140, 2142, 2143, 2144, 2145, 2146, 2705}) {
      const char16_t* cls = id == 2139 ? u"LISTBOX" : id == 2145 || id == 2146 ? u"EDIT" : u"BUTTON";
      const WORD item = id == 2139 ? 1545 : id == 2145 ? WORD(kItem_wdmPresetName) : id == 2146 ? 926 : 0;
      Make(id, cls, item);
    }
    Bind();
  }
  void Bind() {
    controls_.assign(records_.begin(), records_.end());
    page_.controls = controls_.data();
    page_.controlCount = static_cast<WORD>(controls_.size());
  }
  DlgControlRecord* Control(WORD id) {
    for (DlgControlRecord& c : controls_)
      if (c.controlId == id) return &c;
    return nullptr;
  }
  void Key(const std::u16string& key, const std::u16string& value) {
    IniWriteString(section_, W(key.c_str()), W(value.c_str()), ini_);
  }
  std::u16string Read(const std::u16string& key) {
    WCHAR text[1025];
    IniReadString(section_, W(key.c_str()), W(u"<none>"), text, 1025, ini_);
    return U(text);
  }
  std::u16string EntryKey(int n, int kind) {
    WCHAR key[64];
    PresetKeyName(key, 64, n, kind);
    return U(key);
  }
  // The list: Count and each entry's three keys, each entry's file saved from the settings.
  void List(const std::vector<Entry>& entries) {
    Key(u"Count", U16(std::to_string(entries.size())));
    for (size_t i = 0; i < entries.size(); ++i) {
      Key(EntryKey(int(i), 0), entries[i].file);
      Key(EntryKey(int(i), 1), entries[i].name);
      Key(EntryKey(int(i), 2), entries[i].comment);
      ASSERT_EQ(1, PresetSaveSlotItems(ctx_, int(i))) << i;
    }
  }
  std::vector<Entry> Entries(int n) {
    std::vector<Entry> out;
    for (int i = 0; i < n; ++i) out.push_back({Read(EntryKey(i, 0)), Read(EntryKey(i, 1)), Read(EntryKey(i, 2))});
    return out;
  }
  // The settings folder (the settings ini's), with its backslash.
  std::u16string Folder() {
    std::u16string path = U(ini_);
    return path.substr(0, path.rfind(u'\\') + 1);
  }
  std::string Narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }
  // Entries named P0 .. P(n-1), each with its file in the settings folder and its comment.
  std::vector<Entry> Named(int n) {
    std::vector<Entry> out;
    for (int i = 0; i < n; ++i) {
      const std::u16string k = U16(std::to_string(i));
      out.push_back({Folder() + u"p" + k + u".rst", u"P" + k, u"c" + k});
    }
    return out;
  }
  void Select(int n) { ItemSetControlValue(ctx_, Control(2139), n + kPresetFirstLogical); }
  int Selection() { return int(ItemGetControlValue(ctx_, Control(2139))) - kPresetFirstLogical; }
  // Sends a command of the control to both module rows of the dialogs under test.
  int Command(WORD id, WORD code = BN_CLICKED, DlgPageRecord* page = nullptr) {
    DlgControlRecord* control = nullptr;
    for (DlgControlRecord& c : controls_)
      if (c.controlId == id) control = &c;
    const LPARAM window = LPARAM(control ? control->window : NULL);
    DlgPageRecord* at = page ? page : &page_;
    if (int taken = PresetHandleControl(ctx_, at, control, WM_COMMAND, MAKEWPARAM(id, code), window, nullptr))
      return taken;
    return WmHandleControl(ctx_, at, control, WM_COMMAND, MAKEWPARAM(id, code), window, nullptr);
  }
  // Message boxes since the mark: their texts.
  std::vector<std::u16string> Boxes() { return MessageBoxTextsSince(mark_); }
  std::u16string String(UINT id) {
    WCHAR text[1025];
    ResLoadString(ctx_, id, text, 1025, TRUE);
    return U(text);
  }
  HWND Focus() { return WuiGetFocus(); }
  // The current settings' preset name.
  const WCHAR* PresetNameWide() {
    static WCHAR name[64];
    ItemGetTextBounded(ctx_, ItemFind(ctx_, kItem_wdmPresetName), name, 64);
    return name;
  }
  void Mark() { mark_ = SimUiCallCount(); }

  // The language DLL placed for the printer: the list tests' one, or (for tests that run the
  // sample's dialogs) the sample's own.
  std::string languageDll_ = "zemstestlists.dll";
  DriverContext* ctx_ = nullptr;
  WCHAR ini_[kPathChars] = {};
  WCHAR section_[261] = {};
  HWND window_ = NULL;
  DlgPageRecord page_ = {};
  std::deque<DlgControlRecord> records_;
  std::vector<DlgControlRecord> controls_;
  DWORD mark_ = 0;
};

}  // namespace zems_test
