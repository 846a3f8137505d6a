#include "core/rules/transacts.h"

#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/tables/build_switches.h"

int JudgeRunTransactList(const TransactEntry* first, DriverContext* ctx) {
  const JudgeCell* previousJudge = nullptr;
  bool previousFalse = false;
  for (const TransactEntry* e = first; e; e = e->next) {
    bool holds;
    if (!e->judge) {
      holds = true;
    } else if (previousFalse && e->judge == previousJudge) {
      holds = false;
    } else {
      holds = JudgeEvaluate(e->judge, ctx) != 0;
    }
    previousJudge = e->judge;
    previousFalse = !holds;
    if (!holds) continue;
    for (const ActionEntry* a = e->actions; a; a = a->next) {
      if (a->targetIsDialog) return a->target;
      void (*notify)(DriverContext*, WORD) = BuildGetVariant().notifyChange;
      if (a->target == kItem_wdmBuiltInFunc && notify)
        notify(ctx, static_cast<WORD>(a->value));
      else
        ItemSetValueOrString(ctx, a->target, static_cast<LONG_PTR>(a->value));
    }
  }
  return 0;
}

int ModelRunItemTransacts(const ModelItemDescriptor* desc, DriverContext* ctx) {
  if (!desc || !desc->exclusive) return 0;
  return JudgeRunTransactList(desc->exclusive->transact, ctx);
}

int ModelRunItemTransactById(WORD symbol, DriverContext* ctx) {
  const ExclusiveRecord* rules = ModelFindExclusive(symbol, ctx);
  return rules ? JudgeRunTransactList(rules->transact, ctx) : 0;
}
