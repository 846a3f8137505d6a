#include "ui_simple/simple_fixture.h"

#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/front/ctl_simple.h"
#include "core/front/dialog_engine.h"
#include "core/modules/quality_hooks.h"
#include "core/system/resources.h"
#include "support/page_controls.h"

namespace zems_test {
namespace {

std::vector<HeardEvent> g_heard;
DWORD g_layerAnswer = 0xFFFF;
std::vector<UiModuleEntry> g_rows;

int RecordEvent(DriverContext*, int event, void* argument, void*) {
  LONG value = 0;
  if (event == 56 && argument) {
    auto* layer = static_cast<QualityLayerEvent*>(argument);
    value = static_cast<LONG>(layer->value);
    layer->layer = g_layerAnswer;
  } else if (event == 7 && argument) {
    value = static_cast<CtlPagePictureEvent*>(argument)->pageWidth;
  }
  g_heard.push_back({event, value});
  return 0;
}

INT_PTR CALLBACK NoBehaviour(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

ListFixture::ListFixture(WORD type, std::initializer_list<WORD> ids, std::initializer_list<WORD> disabled) {
  int n = 0;
  for (WORD id : ids) {
    values[n].valueId = id;
    if (n > 0) values[n - 1].next = &values[n];
    ++n;
  }
  int r = 0;
  for (WORD id : disabled) {
    rules[r].valueId = id;
    rules[r].judgeDisabled = trueJudge;
    if (r > 0) rules[r - 1].next = &rules[r];
    ++r;
  }
  exclusive.valueRules = r ? rules : nullptr;
  desc.type = type;
  desc.exclusive = &exclusive;
  desc.values = n ? values : nullptr;
}

NumericFixture::NumericFixture(LONG minimum, LONG maximum) {
  range.minimum = minimum;
  range.maximum = maximum;
  desc.type = kModelTypeNumeric;
  desc.values = &range;
}

std::vector<HeardEvent>& SimpleTest::Heard() { return g_heard; }
DWORD& SimpleTest::LayerAnswer() { return g_layerAnswer; }

void SimpleTest::SetUp() {
  ContextTest::SetUp();
  if (HasFatalFailure()) return;
  std::string error;
  ASSERT_TRUE(InstallLanguageDll("zemstestsimple.dll", &error)) << error;
  LONG count = 0;
  const UiModuleEntry* rows = ModBusGetTable(&count);
  g_rows.assign(1, UiModuleEntry{0, nullptr, nullptr, nullptr, RecordEvent});
  g_rows.insert(g_rows.end(), rows, rows + count);
  ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx_, nullptr);
  ASSERT_NE(ctx_->ui, nullptr);
  ModBusFree(ctx_);
  ASSERT_EQ(ModBusLoadRows(ctx_, g_rows.data(), static_cast<LONG>(g_rows.size())), 1);
  SimUiReset();
  g_heard.clear();
  g_layerAnswer = 0xFFFF;
  mark_ = 0;
}

void SimpleTest::TearDown() {
  if (ctx_) CtxClose(ctx_);
  SimUiReset();
  ContextTest::TearDown();
}

DlgPageRecord* SimpleTest::OpenPage(WORD dialogId, const std::vector<DlgControlRecord>& controls, bool engine) {
  DlgPageRecord* page = ReplacePageControls(ctx_, dialogId, controls);
  if (!page) return nullptr;
  if (engine) {
    ctx_->currentPage = dialogId;
    page->window = WuiCreateDialog(ResLoadLanguageDll(ctx_), dialogId, NULL, DlgHandleMessage,
                                   reinterpret_cast<LPARAM>(ctx_));
  } else {
    page->window = WuiCreateDialog(ResLoadLanguageDll(ctx_), dialogId, NULL, NoBehaviour, 0);
  }
  for (WORD i = 0; i < page->controlCount; ++i)
    page->controls[i].window = WuiFindControl(page->window, page->controls[i].controlId);
  page_ = page;
  MarkDraws();
  return page;
}

DlgControlRecord SimpleTest::Control(WORD controlId, WORD type) {
  DlgControlRecord control = {};
  control.controlId = controlId;
  control.type = type;
  return control;
}

DlgControlRecord* SimpleTest::Find(WORD controlId) {
  for (WORD i = 0; page_ && i < page_->controlCount; ++i)
    if (page_->controls[i].controlId == controlId) return &page_->controls[i];
  return nullptr;
}

std::vector<SimDrawCall> SimpleTest::Draws(int kind) {
  std::vector<SimDrawCall> out;
  for (DWORD i = mark_; i < SimDrawCallCount(); ++i) {
    SimDrawCall call = {};
    if (SimDrawGetCall(i, &call) && call.kind == kind) out.push_back(call);
  }
  return out;
}

std::u16string SimpleTest::Text(HWND window) {
  WCHAR text[1025] = {0};
  WuiGetText(window, text, 1025);
  return Of(text);
}

}  // namespace zems_test
