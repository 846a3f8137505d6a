// Minimal version until the dialog engine is built: it sets no texts and consumes nothing, so
// every message reaches the modules.
#include "core/front/dialog_builtin.h"

int DlgHandleBuiltinMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                            WPARAM wParam, LPARAM lParam) {
  (void)ctx;
  (void)page;
  (void)control;
  (void)message;
  (void)wParam;
  (void)lParam;
  return 0;
}
