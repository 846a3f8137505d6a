// The list types' tests: a context of the sample printer whose language DLL adds preset keys,
// an information string and tab captions; a page window of the window interface's fake with
// controls made by each test, each bound to a real item and to a model description made by
// hand whose values can be disabled or restricted; a recording module row hears the events.
#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/front/ctl_lists.h"
#include "core/front/dialog_engine.h"
#include "core/model/model_types.h"
#include "core/rules/model_rules.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {

inline const WCHAR* W16(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }
inline bool Has(const std::vector<int>& events, int event) {
  for (int heard : events)
    if (heard == event) return true;
  return false;
}

// A choice description made by hand: PickOne values in the given order, each one's disable and
// restrict judge true or false as a test sets them; optionally an alert that refuses a change
// (its box answered as scripted).
struct HandChoice {
  static constexpr int kMax = 12;
  JudgeCell trueJudge[2] = {{2, 1}, {3, 10}};
  ListValueRecord values[kMax] = {};
  ValueRule rules[kMax] = {};
  AlertRecord alert = {};
  ExclusiveRecord exclusive = {};
  ModelItemDescriptor desc = {};

  void Values(const std::vector<WORD>& ids);
  void Disable(WORD id);
  void Restrict(WORD id);
  // An OK/Cancel alert whose judge always holds.
  void AlertOkCancel();

 private:
  ValueRule* RuleOf(WORD id);
};

class ListsTest : public ContextTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A control of the page with its window of this class, bound to the item and the hand choice.
  DlgControlRecord* Make(WORD controlId, WORD type, const char16_t* className, WORD itemId);
  // The entries of a choice window: item data, and texts.
  std::vector<LPARAM> Data(HWND window);
  std::u16string Text(HWND window, int index);
  std::u16string String(UINT id);
  // Recorded calls since the last Mark.
  std::vector<SimDrawCall> Drawn(int kind);
  std::vector<SimUiCall> UiCalls(int kind);
  void Mark();
  // Presets "PresetList0" .. of the printer's settings ini: Count and each Name.
  void Presets(const std::vector<const char16_t*>& names);
  // A WM_DRAWITEM record for entry index of the control.
  DRAWITEMSTRUCT DrawItem(DlgControlRecord* control, int index, UINT action, UINT state);

  DriverContext* ctx_ = nullptr;
  DlgPageRecord* page_ = nullptr;
  HWND sheet_ = NULL;
  HWND pageWindow_ = NULL;
  HandChoice hand_;
  std::deque<DlgControlRecord> controls_;
  std::vector<int> events_;  // module events heard
  DWORD drawMark_ = 0, uiMark_ = 0;
};

}  // namespace zems_test
