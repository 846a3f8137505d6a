// The simple control types' tests: a context of the sample printer whose language DLL holds the
// tests' value texts and fixture pages, with the real control types, a recording module row
// before the deliverable's, and hand-made model descriptions, all on the fakes of the window
// and drawing interfaces.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "core/model/model_types.h"
#include "core/rules/model_rules.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {

// A list description made by hand: its values in order; a value may be disabled by its rule.
struct ListFixture {
  JudgeCell trueJudge[2] = {{2, 1}, {3, 10}};
  ListValueRecord values[8] = {};
  ValueRule rules[8] = {};
  ExclusiveRecord exclusive = {};
  ModelItemDescriptor desc = {};

  ListFixture(WORD type, std::initializer_list<WORD> ids, std::initializer_list<WORD> disabled = {});
};

// A numeric description with its range.
struct NumericFixture {
  NumericValueRecord range = {};
  ModelItemDescriptor desc = {};
  NumericFixture(LONG minimum, LONG maximum);
};

// What the recording module heard: each event, with the option-picture events' values.
struct HeardEvent {
  int event;
  LONG value;  // event 56: the value; event 7: the page width; else 0
};

class SimpleTest : public ContextTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The context's page replaced by these controls, its dialog made from the fixture template
  // (with a procedure of no behaviour, or the engine's page procedure) and each control given
  // its window.
  DlgPageRecord* OpenPage(WORD dialogId, const std::vector<DlgControlRecord>& controls, bool engine = false);
  static DlgControlRecord Control(WORD controlId, WORD type);
  DlgControlRecord* Find(WORD controlId);

  // Drawing calls of a kind since the last MarkDraws.
  std::vector<SimDrawCall> Draws(int kind);
  void MarkDraws() { mark_ = SimDrawCallCount(); }
  std::u16string Text(HWND window);
  static std::u16string Of(const WCHAR* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }

  static std::vector<HeardEvent>& Heard();
  // The answer of the recording module to event 56 (0xFFFF: none).
  static DWORD& LayerAnswer();

  DriverContext* ctx_ = nullptr;
  DlgPageRecord* page_ = nullptr;
  DWORD mark_ = 0;
};

}  // namespace zems_test
