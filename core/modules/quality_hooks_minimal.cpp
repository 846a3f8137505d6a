// Minimal version until the print-quality module is built: its judge hooks read 0.
#include "core/modules/quality_hooks.h"

int CmmAnswerJudgeHook(DriverContext* ctx, WORD id) {
  (void)ctx;
  (void)id;
  return 0;
}

// Answering a constant, the minimal hooks read nothing.
int CmmJudgeHookInputs(WORD id, WORD* inputs, int cap) {
  (void)id;
  (void)inputs;
  (void)cap;
  return 0;
}
