// Minimal version until the print-method module is built: its judge hooks read 0.
#include "core/modules/print_method_hooks.h"

int PrnMethodAnswerJudgeHook(DriverContext* ctx, WORD id) {
  (void)ctx;
  (void)id;
  return 0;
}

// Answering a constant, the minimal hooks read nothing.
int PrnMethodJudgeHookInputs(WORD id, WORD* inputs, int cap) {
  (void)id;
  (void)inputs;
  (void)cap;
  return 0;
}
