#include "ui_engine/engine_fixture.h"

#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/items/item_table.h"
#include "core/system/resources.h"
#include "support/page_controls.h"
#include "support/test_variant.h"
#include "ui2k/dlg_notify.h"

namespace zems_test {
namespace {

EngineLog g_log;

void RecordInit(const CtlTypeRecord*, DriverContext*, DlgPageRecord*, DlgControlRecord* control) {
  g_log.inits.push_back(control->controlId);
}
void RecordShow(DriverContext*, DlgPageRecord*, DlgControlRecord* control) {
  g_log.shows.push_back(control->controlId);
  if (g_log.refreshFromShow) DlgRefreshControls(g_log.refreshFromShow, g_log.refreshPage, 1);
}
// The subclass procedure passes everything on to the control's own procedure.
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<DlgControlRecord*>(WuiGetSlot(window, GWL_USERDATA));
  WNDPROC own = control ? reinterpret_cast<WNDPROC>(control->savedWindowProc) : nullptr;
  return own ? WuiCallProcedure(own, window, message, wParam, lParam) : 0;
}

#define RECORDING_TYPE(code) {code, 0, nullptr, RecordInit, RecordShow, nullptr, nullptr, RecordingProc}
const CtlTypeRecord kRecordingTypes[] = {
    RECORDING_TYPE(1),  RECORDING_TYPE(21), RECORDING_TYPE(22), RECORDING_TYPE(23), RECORDING_TYPE(42),
    RECORDING_TYPE(43), RECORDING_TYPE(47), RECORDING_TYPE(48), RECORDING_TYPE(50), RECORDING_TYPE(61),
    RECORDING_TYPE(63),
};
#undef RECORDING_TYPE

int RecordControl(DriverContext*, DlgPageRecord*, DlgControlRecord* control, UINT message, WPARAM wParam, LPARAM,
                  void*) {
  if (message == kDlgMsgChangeRefused) g_log.refusals.push_back(static_cast<UINT>(wParam));
  return message == WM_INITDIALOG && control && control->controlId == g_log.consumeInitOf ? 1 : 0;
}
int RecordEvent(DriverContext*, int event, void*, void*) {
  g_log.events.push_back(event);
  return 0;
}

std::vector<UiModuleEntry> g_rows;

}  // namespace

EngineLog& Log() { return g_log; }

bool Has(const std::vector<int>& events, int event) {
  for (int heard : events)
    if (heard == event) return true;
  return false;
}

void EngineTest::SetUp() {
  ContextTest::SetUp();
  if (HasFatalFailure()) return;
  std::string error;
  ASSERT_TRUE(InstallLanguageDll("zemstestengine.dll", &error)) << error;
  g_log = EngineLog();
  LONG count = 0;
  const UiModuleEntry* rows = ModBusGetTable(&count);
  // The recording row first: a module that answers an event ends its dispatch.
  g_rows.assign(1, UiModuleEntry{0, nullptr, nullptr, RecordControl, RecordEvent});
  g_rows.insert(g_rows.end(), rows, rows + count);
  TestVariant().notifyChange = DlgNotifyChange;
  ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx_, nullptr);
  ModBusFree(ctx_);
  ASSERT_EQ(ModBusLoadRows(ctx_, g_rows.data(), static_cast<LONG>(g_rows.size())), 1);
  CtlSetTypeTable(ctx_, kRecordingTypes, sizeof(kRecordingTypes) / sizeof(kRecordingTypes[0]));
  SimUiReset();
  mark_ = 0;
  g_log.events.clear();
}

void EngineTest::TearDown() {
  if (ctx_) CtxClose(ctx_);
  ResetTestVariant();
  SimUiReset();
  ContextTest::TearDown();
}

DlgPageRecord* EngineTest::SetControls(WORD dialogId, const std::vector<DlgControlRecord>& controls) {
  return ReplacePageControls(ctx_, dialogId, controls);
}

DlgControlRecord EngineTest::Control(WORD controlId, WORD type, WORD symbol) {
  DlgControlRecord control = {};
  control.controlId = controlId;
  control.type = type;
  control.symbolId = symbol;
  return control;
}

WORD EngineTest::SymbolOf(WORD itemId) {
  SettingItem* item = ItemFind(ctx_, itemId);
  return item ? item->symbolId : 0;
}

HWND EngineTest::OpenPage(WORD dialogId) {
  ctx_->currentPage = dialogId;
  return WuiCreateDialog(ResLoadLanguageDll(ctx_), dialogId, NULL, DlgHandleMessage, reinterpret_cast<LPARAM>(ctx_));
}

std::vector<SimUiCall> EngineTest::Calls(int kind) {
  std::vector<SimUiCall> out;
  for (DWORD i = mark_; i < SimUiCallCount(); ++i) {
    SimUiCall call = {};
    if (SimUiGetCall(i, &call) && call.kind == kind) out.push_back(call);
  }
  return out;
}

std::u16string EngineTest::String(UINT id) {
  WCHAR text[1025];
  ResLoadString(ctx_, id, text, 1025, TRUE);
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

}  // namespace zems_test
