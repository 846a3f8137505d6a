// The judge evaluator. Judges come from the model description, which may be a cache file
// anyone could have written; the stack is therefore checked at every push and pop rather than
// trusting the compiler's limit on values.
#include "core/rules/judge_eval.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/devmode/finishing_conditions.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_types.h"
#include "core/rules/model_rules.h"

int ModelAllocEvalStack(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return -1;
  ctx->ui->evaluatorDepth = 0;
  ctx->ui->evaluatorStack = static_cast<LONG*>(MemAllocZero(kEvaluatorStackDepth * sizeof(LONG)));
  return ctx->ui->evaluatorStack ? 0 : -1;
}

void ModelFreeEvalStack(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  MemFree(ctx->ui->evaluatorStack);
  ctx->ui->evaluatorStack = nullptr;
  ctx->ui->evaluatorDepth = 0;
}

namespace {

bool IsTextType(UINT type) {
  return type == ItemTypeNarrowText || type == ItemTypeWideText || type == ItemTypeNarrowText2 ||
         type == ItemTypeWideText2;
}

// Length in characters of a text item. The buffer holds the item's size in characters, so a
// narrow text of that many bytes fits whatever its conversion gives. Texts of the usual sizes
// are read on the stack.
LONG TextLength(DriverContext* ctx, const SettingItem* item) {
  UINT size = ItemDescSize(item->descriptor);
  WCHAR small[260];
  WCHAR* buffer = size < 260 ? small : static_cast<WCHAR*>(MemAllocZero((size + 1) * sizeof(WCHAR)));
  if (!buffer) return 0;
  if (buffer == small) memset(small, 0, (size + 1) * sizeof(WCHAR));
  LONG length = 0;
  if (ItemGetTextBounded(ctx, item, buffer, static_cast<int>(size + 1)))
    while (length < static_cast<LONG>(size) && buffer[length]) ++length;
  if (buffer != small) MemFree(buffer);
  return length;
}

// The value a judge sees for an item, routed by its id range; a pass computes a finishing
// condition once.
LONG ItemValueForJudge(DriverContext* ctx, const SettingItem* item, JudgePass* pass) {
  WORD id = item->id;
  if (pass && id >= kJudgePassFirst && id <= kJudgePassLast && FinConditionPure(id)) {
    const DWORD at = id - kJudgePassFirst, bit = 1u << (at % 32);
    if (!(pass->known[at / 32] & bit)) {
      pass->values[at] = JudgeComputedItemValue(ctx, id);
      pass->known[at / 32] |= bit;
    }
    return pass->values[at];
  }
  if (JudgeIsComputedItem(id)) return JudgeComputedItemValue(ctx, id);
  if (IsTextType(ItemDescType(item->descriptor))) return TextLength(ctx, item);
  return static_cast<LONG>(ItemGetValue(ctx, item));
}

// An evaluation pops only what it pushed: the values below its start belong to the evaluation
// that called it.
struct Stack {
  LONG* values;
  SHORT* depth;
  SHORT floor;
  bool Push(LONG v) {
    if (*depth < 0 || *depth >= kEvaluatorStackDepth) return false;
    values[(*depth)++] = v;
    return true;
  }
  bool Pop(LONG* v) {
    if (*depth <= floor || *depth > kEvaluatorStackDepth) return false;
    *v = values[--(*depth)];
    return true;
  }
};

// Applies one operator; false on a stack fault. *done is set by the end operator.
bool ApplyOperator(Stack* s, WORD op, LONG* result, bool* done) {
  LONG right = 0, left = 0;
  switch (op) {
    case kJudgeOpNot:
      if (!s->Pop(&right)) return false;
      return s->Push(right == 0 ? 1 : 0);
    case kJudgeOpEnd:
      if (!s->Pop(result)) return false;
      *done = true;
      return true;
    case kJudgeOpEqual: case kJudgeOpNotEqual: case kJudgeOpAnd: case kJudgeOpOr:
    case kJudgeOpGreater: case kJudgeOpLess: case kJudgeOpGreaterEqual: case kJudgeOpLessEqual:
      break;
    default:
      return true;
  }
  if (!s->Pop(&right) || !s->Pop(&left)) return false;
  // Descriptions rely on unsigned order: a negative value is above every constant.
  DWORD l = static_cast<DWORD>(left), r = static_cast<DWORD>(right);
  LONG v = 0;
  switch (op) {
    case kJudgeOpEqual: v = l == r; break;
    case kJudgeOpNotEqual: v = l != r; break;
    case kJudgeOpAnd: v = (l != 0) && (r != 0); break;
    case kJudgeOpOr: v = (l != 0) || (r != 0); break;
    case kJudgeOpGreater: v = l > r; break;
    case kJudgeOpLess: v = l < r; break;
    case kJudgeOpGreaterEqual: v = l >= r; break;
    default: v = l <= r; break;
  }
  return s->Push(v);
}

int Run(const JudgeCell* first, DriverContext* ctx, JudgePass* pass) {
  if (!first || !ctx || !ctx->ui || !ctx->ui->evaluatorStack) return 0;
  UiState* ui = ctx->ui;
  const SHORT startDepth = ui->evaluatorDepth;
  if (startDepth < 0 || startDepth > kEvaluatorStackDepth) return 0;
  Stack s{ui->evaluatorStack, &ui->evaluatorDepth, startDepth};
  LONG result = 0;
  bool done = false;
  WORD lastId = 0;
  LONG lastValue = 0;
  for (const JudgeCell* cell = first; !done; ++cell) {
    bool ok = true;
    if (cell->kind == kJudgeItem) {
      if (!lastId || cell->value != lastId) {
        const SettingItem* item = ItemFind(ctx, cell->value);
        if (!item) {
          result = 0;
          break;
        }
        // A routed computation may evaluate judges of its own on this stack.
        lastValue = ItemValueForJudge(ctx, item, pass);
        lastId = cell->value;
      }
      ok = s.Push(lastValue);
    } else if (cell->kind == kJudgeConstant) {
      ok = s.Push(cell->value);
    } else if (cell->kind == kJudgeOperator) {
      ok = ApplyOperator(&s, cell->value, &result, &done);
    }
    if (!ok) {
      result = 0;
      break;
    }
  }
  ui->evaluatorDepth = startDepth;
  return result;
}

}  // namespace

JudgePass::JudgePass() : known(), judges(), usedCount(0) {}

void JudgePassBegin(JudgePass* pass) {
  if (!pass) return;
  memset(pass->known, 0, sizeof pass->known);
  for (int i = 0; i < pass->usedCount; ++i) pass->judges[pass->used[i]] = nullptr;
  pass->usedCount = 0;
}

int JudgeEvaluate(const JudgeCell* first, DriverContext* ctx) { return Run(first, ctx, nullptr); }

int JudgeEvaluateInPass(const JudgeCell* first, DriverContext* ctx, JudgePass* pass) {
  if (!pass || !first) return Run(first, ctx, pass);
  static_assert(kJudgePassSlots == 256, "the slot is the top 8 bits of the hash");
  DWORD slot = (static_cast<DWORD>(reinterpret_cast<UINT_PTR>(first) >> 2) * 0x9E3779B1u) >> 24;
  for (; pass->judges[slot]; slot = (slot + 1) % kJudgePassSlots)
    if (pass->judges[slot] == first) return pass->results[slot];
  const int result = Run(first, ctx, pass);
  if (pass->usedCount < kJudgePassSlots * 3 / 4) {
    pass->judges[slot] = first;
    pass->results[slot] = result;
    pass->used[pass->usedCount++] = static_cast<WORD>(slot);
  }
  return result;
}

bool JudgeIsComputedItem(WORD id) { return (id >= 723 && id <= 914) || (id >= 1260 && id <= 1451); }

LONG JudgeComputedItemValue(DriverContext* ctx, WORD id) {
  if (id >= 723 && id <= 914) return FinComputeConditionItem(ctx, id);
  if (id >= 1260 && id <= 1419) return ModBusJudgeHookValue(ctx, id);
  if (id >= 1420 && id <= 1451) return JudgeComputeHookCore(ctx, id);
  return 0;
}

int JudgeComputedItemInputs(WORD id, WORD* inputs, int cap) {
  if (!inputs || cap < 0) return -1;
  if (id >= 723 && id <= 914) return FinConditionInputs(id, inputs, cap);
  if (id >= 1260 && id <= 1419) return ModBusJudgeHookInputs(id, inputs, cap);
  if (id >= 1420 && id <= 1451) return JudgeHookCoreInputs(id, inputs, cap);
  return 0;
}

namespace {

// What JudgeComputeHookCore reads, beside it.
const WORD kHookCoreInputs[] = {kItem_zdmFrontFunc, kItem_zdmAPIUseFlag, kItem_zdmJobBinder, kItem_zdmPreviewPrint,
                                kItem_zdmPLInstalled};

}  // namespace

int JudgeHookCoreInputs(WORD id, WORD* inputs, int cap) {
  if (id != kItem_wdmJudgeHookCore00) return 0;
  const int n = static_cast<int>(sizeof kHookCoreInputs / sizeof kHookCoreInputs[0]);
  if (n > cap) return -1;
  for (int i = 0; i < n; ++i) inputs[i] = kHookCoreInputs[i];
  return n;
}

LONG JudgeComputeHookCore(DriverContext* ctx, WORD id) {
  if (id != kItem_wdmJudgeHookCore00) return 0;
  const DWORD front = static_cast<DWORD>(ItemGetRawById(ctx, kItem_zdmFrontFunc));
  const DWORD apiUse = static_cast<DWORD>(ItemGetRawById(ctx, kItem_zdmAPIUseFlag));
  const DWORD binder = static_cast<DWORD>(ItemGetRawById(ctx, kItem_zdmJobBinder));
  const DWORD preview = static_cast<DWORD>(ItemGetRawById(ctx, kItem_zdmPreviewPrint));
  const DWORD installed = static_cast<DWORD>(ItemGetRawById(ctx, kItem_zdmPLInstalled));
  return (front & 0x100) && apiUse == 0 && !(binder & 1) && (preview & 0xFF) && (installed & 0xFF) ? 1 : 0;
}

const ValueRule* ModelFindValueRule(const ExclusiveRecord* rules, WORD value_id) {
  if (!rules) return nullptr;
  for (const ValueRule* r = rules->valueRules; r; r = r->next)
    if (r->valueId == value_id) return r;
  return nullptr;
}

namespace {

enum WhichJudge { kDisabled, kRestricted, kLocked };

int EvalRule(const ExclusiveRecord* rules, WORD value_id, DriverContext* ctx, WhichJudge which) {
  if (!rules) return 0;
  const JudgeCell* judge = nullptr;
  if (value_id == 0) {
    judge = which == kDisabled ? rules->judgeDisabled
          : which == kRestricted ? rules->judgeRestricted : rules->judgeLocked;
  } else {
    const ValueRule* r = ModelFindValueRule(rules, value_id);
    if (!r) return 0;
    judge = which == kDisabled ? r->judgeDisabled : which == kRestricted ? r->judgeRestricted : r->judgeLocked;
  }
  return JudgeEvaluate(judge, ctx);
}

}  // namespace

int ModelEvalDisableRule(const ExclusiveRecord* rules, WORD value_id, DriverContext* ctx) {
  return EvalRule(rules, value_id, ctx, kDisabled);
}
int ModelEvalSecondRule(const ExclusiveRecord* rules, WORD value_id, DriverContext* ctx) {
  return EvalRule(rules, value_id, ctx, kRestricted);
}
int ModelEvalThirdRule(const ExclusiveRecord* rules, WORD value_id, DriverContext* ctx) {
  return EvalRule(rules, value_id, ctx, kLocked);
}
int ModelIsValueDisabled(const ModelItemDescriptor* desc, WORD value_id, DriverContext* ctx) {
  return desc ? ModelEvalDisableRule(desc->exclusive, value_id, ctx) : 0;
}
int ModelIsValueRestricted(const ModelItemDescriptor* desc, WORD value_id, DriverContext* ctx) {
  return desc ? ModelEvalSecondRule(desc->exclusive, value_id, ctx) : 0;
}
int ModelEvalLockRule(const ModelItemDescriptor* desc, WORD value_id, DriverContext* ctx) {
  return desc ? ModelEvalThirdRule(desc->exclusive, value_id, ctx) : 0;
}
