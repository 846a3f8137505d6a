// Minimal version until the page and control lookups are built: finds a control id on one page
// or on all pages of the context in table order, and nothing else.
#include "core/engine/control_lookup.h"

namespace {

DlgControlRecord* FindOnPage(DlgPageRecord* page, WORD control_id) {
  if (!page || !page->controls) return nullptr;
  for (WORD i = 0; i < page->controlCount; ++i)
    if (page->controls[i].controlId == control_id) return &page->controls[i];
  return nullptr;
}

}  // namespace

DlgControlRecord* CtlFind(DriverContext* ctx, DlgPageRecord* page, WORD control_id) {
  if (page) return FindOnPage(page, control_id);
  if (!ctx || !ctx->pages || !ctx->pages->rows) return nullptr;
  for (SHORT i = 0; i < ctx->pages->count; ++i)
    if (DlgControlRecord* found = FindOnPage(&ctx->pages->rows[i], control_id)) return found;
  return nullptr;
}
