#include "core/rules/alerts.h"

#include "core/common/window_ui.h"
#include "core/context/driver_context.h"
#include "core/front/page_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/rules/transacts.h"

const AlertRecord* JudgeFirstTrueEntry(const AlertRecord* first, DriverContext* ctx) {
  for (const AlertRecord* r = first; r; r = r->next)
    if (JudgeEvaluate(r->judge, ctx)) return r;
  return nullptr;
}

int JudgeFirstTrueValue(const AlertRecord* first, DriverContext* ctx) {
  const AlertRecord* r = JudgeFirstTrueEntry(first, ctx);
  return r ? r->messageId : 0;
}

int ModelCheckItemAlert(const ModelItemDescriptor* desc, DriverContext* ctx) {
  if (!desc || !desc->exclusive) return 0;
  return JudgeFirstTrueValue(desc->exclusive->alert, ctx);
}

int ModelRunAlertAction(const AlertRecord* alert, int result, DriverContext* ctx) {
  if (!alert) return 0;
  const AlertActionEntry* entry = alert->actions;
  while (entry && entry->button != result) entry = entry->next;
  if (!entry) return 0;
  int dialog = JudgeRunTransactList(entry->transact, ctx);
  // Only an open page's own control takes the focus: asking for a control of no window would
  // find none and take the keyboard focus away from whatever holds it.
  if (entry->dialogId) {
    const DlgPageRecord* page = PageFind(ctx, entry->dialogId);
    if (page && page->window) {
      if (HWND control = WuiFindControl(page->window, entry->controlId)) WuiSetFocus(control);
    }
  }
  return dialog;
}

int ModelRunAlertActionFor(const AlertRecord* alert, DriverContext* ctx, int result) {
  return ModelRunAlertAction(alert, result, ctx);
}
