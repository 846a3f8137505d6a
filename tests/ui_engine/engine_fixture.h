// The dialog engine's tests: a context of the sample printer whose language DLL holds small
// dialogs under the real dialog ids, recording control types in the context's type table and a
// recording module row after the deliverable's, all on the window interface's fake.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/front/dialog_engine.h"
#include "core/model/model_types.h"
#include "core/rules/model_rules.h"
#include "core/common/window_ui.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {

// What the recording types and the recording module saw.
struct EngineLog {
  std::vector<WORD> inits;      // control ids whose init handler ran
  std::vector<WORD> shows;      // control ids whose show handler ran
  std::vector<int> events;      // module events
  std::vector<UINT> refusals;   // message 32775 with its wParam
  WORD consumeInitOf = 0;       // the module takes message 272 for this control id
  DriverContext* refreshFromShow = nullptr;  // a show handler asks for a refresh of this context
  DlgPageRecord* refreshPage = nullptr;
};
EngineLog& Log();
// True when the module heard the event.
bool Has(const std::vector<int>& events, int event);

// A model description made by hand: one alert, a transact list of one action, and the item's
// disable and restrict judges, each true or false as a test sets them.
struct RuleFixture {
  JudgeCell trueJudge[2] = {{2, 1}, {3, 10}};
  JudgeCell falseJudge[2] = {{2, 0}, {3, 10}};
  AlertRecord alert = {};
  ActionEntry action = {};
  TransactEntry transact = {};
  ExclusiveRecord exclusive = {};
  ModelItemDescriptor desc = {};

  RuleFixture() { desc.exclusive = &exclusive; }
  // An alert whose judge holds (or not) with these buttons and icon; message 253.
  void Alert(UINT buttons, UINT icon, bool holds = true) {
    alert.judge = holds ? trueJudge : falseJudge;
    alert.messageId = 253;
    alert.buttons = static_cast<WORD>(buttons);
    alert.icon = static_cast<WORD>(icon);
    exclusive.alert = &alert;
  }
  // A transact that sets the item (or opens the dialog) target to value.
  void Transact(WORD target, DWORD value, bool dialog = false) {
    action.target = target;
    action.targetIsDialog = dialog ? 1 : 0;
    action.value = value;
    transact.actions = &action;
    exclusive.transact = &transact;
  }
  void Disabled(bool on) { exclusive.judgeDisabled = on ? trueJudge : nullptr; }
  void Restricted(bool on) { exclusive.judgeRestricted = on ? trueJudge : nullptr; }
};

class EngineTest : public ContextTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The context's page with its controls replaced by these (ids, types and symbols as given).
  DlgPageRecord* SetControls(WORD dialogId, const std::vector<DlgControlRecord>& controls);
  static DlgControlRecord Control(WORD controlId, WORD type, WORD symbol = 0);
  // The symbol of an item (its descriptions are keyed by it).
  WORD SymbolOf(WORD itemId);
  // The dialog made from the language DLL with the page procedure, as the sheets and the
  // sub-dialogs make it; the context's current page is the dialog.
  HWND OpenPage(WORD dialogId);
  // The recorded calls of a kind since the last MarkCalls (or the start of the test).
  std::vector<SimUiCall> Calls(int kind);
  void MarkCalls() { mark_ = SimUiCallCount(); }
  std::u16string String(UINT id);

  DriverContext* ctx_ = nullptr;
  DWORD mark_ = 0;
};

}  // namespace zems_test
