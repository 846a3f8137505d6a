// The index is one block: the per-item references sorted by item id, the distinct ids with
// the start of their run, and the references that count for every item. It is built in two
// passes over the rules (count, then fill) so that nothing but the block is allocated.
#include "core/rules/rule_index.h"

#include <stdlib.h>
#include <string.h>

#include "core/common/mem.h"
#include "core/model/model_cache.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/tables/symbol_table.h"

struct ModelRuleIndex {
  DWORD itemCount;
  WORD* itemIds;         // ascending
  DWORD* starts;         // itemCount + 1 run starts into refs
  ModelRuleRef* refs;    // per item, in rule order
  DWORD refCount;
  ModelRuleRef* anyRefs;  // read more items than a list holds
  DWORD anyCount;
};

namespace {

// Distinct items a judge reads, at most kMaxRead (a longer list counts for every item: it is
// then checked at every change, which is never wrong).
constexpr int kMaxRead = 256;
struct ReadSet {
  WORD ids[kMaxRead];
  int count = 0;
  bool any = false;
  void Add(WORD id) {
    for (int k = 0; k < count; ++k)
      if (ids[k] == id) return;
    if (count == kMaxRead) any = true;
    else ids[count++] = id;
  }
};

// A judge reads the items it names; for a computed item, the items its reader declares.
void CollectReads(const JudgeCell* judge, ReadSet* set) {
  if (!judge) return;
  for (DWORD i = 0; i < kJudgeMaxCells && !set->any; ++i) {
    const JudgeCell& c = judge[i];
    if (c.kind == kJudgeOperator && c.value == kJudgeOpEnd) return;
    if (c.kind != kJudgeItem) continue;
    if (!JudgeIsComputedItem(c.value)) {
      set->Add(c.value);
      continue;
    }
    WORD inputs[kMaxRead];
    const int n = JudgeComputedItemInputs(c.value, inputs, kMaxRead);
    if (n < 0) set->any = true;
    for (int k = 0; k < n; ++k) set->Add(inputs[k]);
  }
}

// A pair of the per-item sort: the item and the reference's position in the fill order.
struct Pair {
  WORD item;
  DWORD order;
};

int ComparePairs(const void* a, const void* b) {
  const Pair* x = static_cast<const Pair*>(a);
  const Pair* y = static_cast<const Pair*>(b);
  if (x->item != y->item) return x->item < y->item ? -1 : 1;
  return x->order < y->order ? -1 : x->order > y->order ? 1 : 0;
}

// Walks every rule of the image; for each judged rule calls add(ref, reads).
template <typename Add>
void WalkRules(const ModelImageHeader* image, Add add) {
  for (const ExclusiveRecord* x = image->exclusives; x; x = x->next) {
    const SymbolEntry* symbol = TblFindSymbol(x->symbolId);
    ModelRuleRef base = {};
    base.itemId = symbol ? symbol->itemId : 0;
    base.record = x;
    const JudgeCell* own[3] = {x->judgeDisabled, x->judgeRestricted, x->judgeLocked};
    for (int j = 0; j < 3; ++j) {
      if (!own[j]) continue;
      ModelRuleRef r = base;
      r.kind = kRuleRefItemJudge;
      r.judge = static_cast<BYTE>(j + 1);
      add(r, own[j]);
    }
    for (const ValueRule* v = x->valueRules; v; v = v->next) {
      // Only a value's first rule is ever asked.
      if (v->valueId == 0 || ModelFindValueRule(x, v->valueId) != v) continue;
      const JudgeCell* judges[3] = {v->judgeDisabled, v->judgeRestricted, v->judgeLocked};
      for (int j = 0; j < 3; ++j) {
        if (!judges[j]) continue;
        ModelRuleRef r = base;
        r.kind = kRuleRefValueJudge;
        r.judge = static_cast<BYTE>(j + 1);
        r.valueId = v->valueId;
        r.rule = v;
        add(r, judges[j]);
      }
    }
    auto transacts = [&](const TransactEntry* t) {
      for (; t; t = t->next) {
        if (!t->judge) continue;
        ModelRuleRef r = base;
        r.kind = kRuleRefTransact;
        r.rule = t;
        add(r, t->judge);
      }
    };
    transacts(x->transact);
    for (const AlertRecord* a = x->alert; a; a = a->next) {
      if (a->judge) {
        ModelRuleRef r = base;
        r.kind = kRuleRefAlert;
        r.rule = a;
        add(r, a->judge);
      }
      for (const AlertActionEntry* e = a->actions; e; e = e->next) transacts(e->transact);
    }
  }
}

}  // namespace

ModelRuleIndex* RuleIndexBuild(const ModelImageHeader* image) {
  if (!image) return nullptr;
  // Pass 1: sizes.
  DWORD pairs = 0, any = 0;
  WalkRules(image, [&](const ModelRuleRef&, const JudgeCell* judge) {
    ReadSet set;
    CollectReads(judge, &set);
    if (set.any) ++any;
    else pairs += static_cast<DWORD>(set.count);
  });
  // Every part of the block is 4-aligned: refs first, then the DWORD and WORD arrays.
  const SIZE_T refBytes = sizeof(ModelRuleRef) * (pairs + any);
  const SIZE_T startBytes = sizeof(DWORD) * (pairs + 1);
  const SIZE_T idBytes = sizeof(WORD) * (pairs + 1);
  BYTE* block = static_cast<BYTE*>(MemAllocZero(sizeof(ModelRuleIndex) + refBytes + startBytes + idBytes));
  Pair* sort = static_cast<Pair*>(MemAllocZero(sizeof(Pair) * (pairs + 1)));
  ModelRuleRef* staged = static_cast<ModelRuleRef*>(MemAllocZero(sizeof(ModelRuleRef) * (pairs + 1)));
  if (!block || !sort || !staged) {
    MemFree(block);
    MemFree(sort);
    MemFree(staged);
    return nullptr;
  }
  ModelRuleIndex* index = reinterpret_cast<ModelRuleIndex*>(block);
  index->refs = reinterpret_cast<ModelRuleRef*>(block + sizeof(ModelRuleIndex));
  index->anyRefs = index->refs + pairs;
  index->starts = reinterpret_cast<DWORD*>(block + sizeof(ModelRuleIndex) + refBytes);
  index->itemIds = reinterpret_cast<WORD*>(block + sizeof(ModelRuleIndex) + refBytes + startBytes);
  // Pass 2: one staged reference per item read, in rule order; the rest count for all items.
  DWORD filled = 0;
  WalkRules(image, [&](const ModelRuleRef& r, const JudgeCell* judge) {
    ReadSet set;
    CollectReads(judge, &set);
    if (set.any) {
      if (index->anyCount < any) index->anyRefs[index->anyCount++] = r;
      return;
    }
    for (int k = 0; k < set.count && filled < pairs; ++k) {
      sort[filled] = {set.ids[k], filled};
      staged[filled++] = r;
    }
  });
  qsort(sort, filled, sizeof(Pair), ComparePairs);
  for (DWORD i = 0; i < filled; ++i) {
    index->refs[i] = staged[sort[i].order];
    if (i == 0 || sort[i].item != sort[i - 1].item) {
      index->itemIds[index->itemCount] = sort[i].item;
      index->starts[index->itemCount++] = i;
    }
  }
  index->starts[index->itemCount] = filled;
  index->refCount = filled;
  MemFree(sort);
  MemFree(staged);
  return index;
}

void RuleIndexFree(ModelRuleIndex* index) { MemFree(index); }

ModelRuleRefs RuleIndexReadersOf(const ModelRuleIndex* index, WORD itemId) {
  if (!index) return {nullptr, 0};
  DWORD lo = 0, hi = index->itemCount;
  while (lo < hi) {
    DWORD mid = (lo + hi) / 2;
    if (index->itemIds[mid] < itemId) lo = mid + 1;
    else hi = mid;
  }
  if (lo == index->itemCount || index->itemIds[lo] != itemId) return {nullptr, 0};
  return {index->refs + index->starts[lo], index->starts[lo + 1] - index->starts[lo]};
}

ModelRuleRefs RuleIndexReadersOfAny(const ModelRuleIndex* index) {
  if (!index) return {nullptr, 0};
  return {index->anyRefs, index->anyCount};
}

DWORD RuleIndexItemCount(const ModelRuleIndex* index) { return index ? index->itemCount : 0; }
DWORD RuleIndexRefCount(const ModelRuleIndex* index) { return index ? index->refCount + index->anyCount : 0; }

const ModelRuleIndex* ModelGetRuleIndex(DriverContext* ctx) {
  return ModelCachedRuleIndex(ModelImageOfContext(ctx));
}

const JudgeCell* RuleRefJudge(const ModelRuleRef* ref) {
  if (!ref) return nullptr;
  switch (ref->kind) {
    case kRuleRefItemJudge: {
      const ExclusiveRecord* x = ref->record;
      if (!x) return nullptr;
      return ref->judge == 1 ? x->judgeDisabled : ref->judge == 2 ? x->judgeRestricted : x->judgeLocked;
    }
    case kRuleRefValueJudge: {
      const ValueRule* v = static_cast<const ValueRule*>(ref->rule);
      if (!v) return nullptr;
      return ref->judge == 1 ? v->judgeDisabled : ref->judge == 2 ? v->judgeRestricted : v->judgeLocked;
    }
    case kRuleRefTransact:
      return ref->rule ? static_cast<const TransactEntry*>(ref->rule)->judge : nullptr;
    case kRuleRefAlert:
      return ref->rule ? static_cast<const AlertRecord*>(ref->rule)->judge : nullptr;
    default:
      return nullptr;
  }
}

int RuleRefEvaluate(const ModelRuleRef* ref, DriverContext* ctx) { return JudgeEvaluate(RuleRefJudge(ref), ctx); }

int RuleRefEvaluateInPass(const ModelRuleRef* ref, DriverContext* ctx, JudgePass* pass) {
  return JudgeEvaluateInPass(RuleRefJudge(ref), ctx, pass);
}
