// Minimal versions until the edit types are built: scroll bars paint nothing of their own.
#include "core/front/ctl_edits.h"

void CtlPaintScrollBar(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, BOOL plusOnLeft) {
  (void)ctx; (void)page; (void)control; (void)plusOnLeft;
}
void CtlPaintScrollBarPlusRight(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  CtlPaintScrollBar(ctx, page, control, FALSE);
}
void CtlPaintScrollBarPlusLeft(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  CtlPaintScrollBar(ctx, page, control, TRUE);
}
