#include "ui_lists/lists_fixture.h"

#include <filesystem>

#include "core/common/ini_access.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/front/page_lookup.h"
#include "core/items/item_table.h"
#include "core/store/preset_store.h"
#include "core/store/store_keys.h"
#include "core/system/resources.h"
#include "support/page_controls.h"
#include "support/test_variant.h"
#include "ui2k/dlg_notify.h"

namespace zems_test {
namespace {

std::vector<int>* g_events = nullptr;
int RecordEvent(DriverContext*, int event, void*, void*) {
  if (g_events) g_events->push_back(event);
  return 0;
}
int IgnoreControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }
std::vector<UiModuleEntry> g_rows;



}  // namespace

void HandChoice::Values(const std::vector<WORD>& ids) {
  desc.type = kModelTypePickOne;
  desc.exclusive = &exclusive;
  desc.values = ids.empty() ? nullptr : &values[0];
  for (size_t i = 0; i < ids.size() && i < kMax; ++i) {
    values[i].valueId = ids[i];
    values[i].next = i + 1 < ids.size() ? &values[i + 1] : nullptr;
    rules[i].valueId = ids[i];
    rules[i].next = i + 1 < ids.size() ? &rules[i + 1] : nullptr;
  }
  exclusive.valueRules = &rules[0];
}

ValueRule* HandChoice::RuleOf(WORD id) {
  for (ValueRule& rule : rules)
    if (rule.valueId == id) return &rule;
  return nullptr;
}

void HandChoice::Disable(WORD id) { RuleOf(id)->judgeDisabled = trueJudge; }
void HandChoice::Restrict(WORD id) { RuleOf(id)->judgeRestricted = trueJudge; }

void HandChoice::AlertOkCancel() {
  alert.judge = trueJudge;
  alert.messageId = 253;
  alert.buttons = MB_OKCANCEL;
  alert.icon = MB_ICONQUESTION;
  exclusive.alert = &alert;
}

void ListsTest::SetUp() {
  ContextTest::SetUp();
  if (HasFatalFailure()) return;
  std::error_code ec;
  std::string folder = HostPath("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3");
  std::filesystem::create_directories(folder, ec);
  ASSERT_TRUE(std::filesystem::copy_file(BinDir() + "/zemstestlists.dll", folder + "/zemsresus.dll",
                                         std::filesystem::copy_options::overwrite_existing, ec))
      << ec.message();
  // The common DLL's pictures: the check-box list's states and the restricted mark.
  std::string error;
  ASSERT_TRUE(InstallCommonDll(&error)) << error;
  LONG count = 0;
  const UiModuleEntry* rows = ModBusGetTable(&count);
  g_rows.assign(1, UiModuleEntry{0, nullptr, nullptr, IgnoreControl, RecordEvent});
  g_rows.insert(g_rows.end(), rows, rows + count);
  g_events = &events_;
  TestVariant().notifyChange = DlgNotifyChange;
  ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx_, nullptr);
  ModBusFree(ctx_);
  ASSERT_EQ(ModBusLoadRows(ctx_, g_rows.data(), static_cast<LONG>(g_rows.size())), 1);
  SimUiReset();
  sheet_ = SimUiMakeWindow(W16(u"#32770"), NULL, 0, 0);
  pageWindow_ = SimUiMakeWindow(W16(u"#32770"), sheet_, 0, WS_CHILD);
  page_ = PageFind(ctx_, 1001);
  ASSERT_NE(page_, nullptr);
  page_->window = pageWindow_;
  ctx_->currentPage = page_->dialogId;
  hand_.Values({29, 30, 31});
  events_.clear();
  Mark();
}

void ListsTest::TearDown() {
  if (page_) page_->window = NULL;
  if (ctx_) CtxClose(ctx_);
  g_events = nullptr;
  ResetTestVariant();
  SimUiReset();
  ContextTest::TearDown();
}

DlgControlRecord* ListsTest::Make(WORD controlId, WORD type, const char16_t* className, WORD itemId) {
  DlgControlRecord control = {};
  control.controlId = controlId;
  control.aliasId = controlId;
  control.type = type;
  control.item = ItemFind(ctx_, itemId);
  control.descriptor = &hand_.desc;
  control.window = SimUiMakeWindow(W16(className), pageWindow_, controlId, WS_CHILD | WS_VISIBLE);
  controls_.push_back(control);
  return &controls_.back();
}

std::vector<LPARAM> ListsTest::Data(HWND window) {
  std::vector<LPARAM> out;
  for (int i = 0; i < WuiChoiceCount(window); ++i) out.push_back(WuiChoiceData(window, i));
  return out;
}

std::u16string ListsTest::Text(HWND window, int index) {
  WCHAR text[300];
  if (WuiChoiceText(window, index, text, 300) < 0) return u"<none>";
  return reinterpret_cast<const char16_t*>(text);
}

std::u16string ListsTest::String(UINT id) {
  WCHAR text[1025];
  ResLoadString(ctx_, id, text, 1025, TRUE);
  return reinterpret_cast<const char16_t*>(text);
}

std::vector<SimDrawCall> ListsTest::Drawn(int kind) {
  std::vector<SimDrawCall> out;
  for (DWORD i = drawMark_; i < SimDrawCallCount(); ++i) {
    SimDrawCall call = {};
    if (SimDrawGetCall(i, &call) && call.kind == kind) out.push_back(call);
  }
  return out;
}

std::vector<SimUiCall> ListsTest::UiCalls(int kind) {
  std::vector<SimUiCall> out;
  for (DWORD i = uiMark_; i < SimUiCallCount(); ++i) {
    SimUiCall call = {};
    if (SimUiGetCall(i, &call) && call.kind == kind) out.push_back(call);
  }
  return out;
}

void ListsTest::Mark() {
  drawMark_ = SimDrawCallCount();
  uiMark_ = SimUiCallCount();
}

void ListsTest::Presets(const std::vector<const char16_t*>& names) {
  WCHAR ini[kPathChars] = {}, section[261] = {};
  StoreCopySettingsIni(ctx_, ini);
  StoreCopyPrinterName(ctx_, section, 261);
  std::string path;
  for (int i = 0; ini[i]; ++i) path += static_cast<char>(ini[i]);
  if (!std::filesystem::exists(HostPath(path))) {
    ASSERT_TRUE(WriteMachineFile(path, ""));
  }
  std::u16string count = std::u16string(1, static_cast<char16_t>(u'0' + names.size()));
  IniWriteString(section, W16(u"Count"), W16(count.c_str()), ini);
  for (size_t i = 0; i < names.size(); ++i) {
    WCHAR key[64];
    PresetKeyName(key, 64, static_cast<int>(i), 1);
    IniWriteString(section, key, W16(names[i]), ini);
  }
}

DRAWITEMSTRUCT ListsTest::DrawItem(DlgControlRecord* control, int index, UINT action, UINT state) {
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_LISTBOX;
  item.CtlID = control->controlId;
  item.itemID = static_cast<UINT>(index);
  item.itemAction = action;
  item.itemState = state;
  item.hwndItem = control->window;
  item.hDC = SimDrawWindowDc(control->window);
  item.rcItem = RECT{0, 20, 120, 40};
  item.itemData = static_cast<ULONG_PTR>(index >= 0 ? WuiChoiceData(control->window, index) : 0);
  return item;
}

}  // namespace zems_test
