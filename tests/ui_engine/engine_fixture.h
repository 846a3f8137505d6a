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
  // The recorded calls of a kind since the last reset.
  std::vector<SimUiCall> Calls(int kind);
  std::u16string String(UINT id);

  DriverContext* ctx_ = nullptr;
};

}  // namespace zems_test
