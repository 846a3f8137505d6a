// The window fake's recorded message boxes.
#include "support/ui_calls.h"

#include <string.h>

namespace zems_test {

bool LastMessageBox(SimUiCall* call) {
  SimUiCall record;
  for (DWORD i = SimUiCallCount(); i-- > 0;)
    if (SimUiGetCall(i, &record) && record.kind == kSimUiMessageBox) {
      if (call) *call = record;
      return true;
    }
  if (call) memset(call, 0, sizeof(*call));
  return false;
}

int MessageBoxesShown() {
  int n = 0;
  SimUiCall call;
  for (DWORD i = 0; i < SimUiCallCount(); ++i) n += SimUiGetCall(i, &call) && call.kind == kSimUiMessageBox;
  return n;
}

std::vector<std::u16string> MessageBoxTextsSince(DWORD mark) {
  std::vector<std::u16string> texts;
  SimUiCall call;
  for (DWORD i = mark; i < SimUiCallCount(); ++i)
    if (SimUiGetCall(i, &call) && call.kind == kSimUiMessageBox) texts.push_back(std::u16string(call.text));
  return texts;
}

}  // namespace zems_test
