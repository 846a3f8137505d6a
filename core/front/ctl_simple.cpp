// Minimal versions until the simple control types are built: nothing is drawn or stepped and no
// value has a picture of its own.
#include "core/front/ctl_simple.h"

void CtlDrawOptionPicture(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HDC dc,
                          const RECT* rect) {
  (void)ctx; (void)page; (void)control; (void)dc; (void)rect;
}
int CtlStepLinkedValues(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)ctx; (void)page; (void)control;
  return 1;
}
WORD CtlPictureForValue(const DlgControlRecord* control, WORD value) { (void)control; (void)value; return 0; }
WORD CtlPictureExtraForValue(const DlgControlRecord* control, WORD value) { (void)control; (void)value; return 0; }
