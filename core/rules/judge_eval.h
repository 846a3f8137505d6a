// Evaluation of the model's judges against the current settings, and the three questions
// asked of each value: disabled (Judge 1), restricted (Judge 2), locked (Judge 3).
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

struct ExclusiveRecord;
struct JudgeCell;
struct ModelItemDescriptor;
struct ValueRule;

// The context's evaluation stack: 0, or -1 when it cannot be allocated (every judge on the
// context is then false). Freeing a context without one does nothing.
int ModelAllocEvalStack(DriverContext* ctx);
void ModelFreeEvalStack(DriverContext* ctx);

// Result of the judge (0 false, nonzero true); a missing judge gives 0. A judge that pushes
// beyond the stack, pops an empty one or names an item the context lacks is false; the depth
// is always back where it was.
int JudgeEvaluate(const JudgeCell* first, DriverContext* ctx);
// One pass of judges over settings that do not change: each judge is evaluated once however
// many rules share it, and each finishing condition (those FinConditionPure answers for) is
// computed once however many judges read it. Begin a pass, evaluate its judges, and begin
// again after any change of the settings.
enum : WORD { kJudgePassFirst = 723, kJudgePassLast = 914 };
constexpr int kJudgePassSlots = 256;  // judges remembered: at most three quarters of the slots
struct JudgePass {
  DWORD known[(kJudgePassLast - kJudgePassFirst + 32) / 32];  // one bit per condition computed
  LONG values[kJudgePassLast - kJudgePassFirst + 1];
  const JudgeCell* judges[kJudgePassSlots];  // open addressing by the judge's address
  LONG results[kJudgePassSlots];
  WORD used[kJudgePassSlots * 3 / 4];        // the slots taken, emptied by the next begin
  int usedCount;
  JudgePass();  // empty, as after a begin
};
void JudgePassBegin(JudgePass* pass);
// JudgeEvaluate within a pass (null: none).
int JudgeEvaluateInPass(const JudgeCell* first, DriverContext* ctx, JudgePass* pass);
// Value of the computed item 1420 (1 when the preview can join the job); 0 for 1421-1451.
LONG JudgeComputeHookCore(DriverContext* ctx, WORD id);

// Computed items are never stored: finishing conditions 723-914 and judge hooks 1260-1451.
bool JudgeIsComputedItem(WORD id);
// The value a judge sees for a computed item, from its reader; 0 for any other id.
LONG JudgeComputedItemValue(DriverContext* ctx, WORD id);
// The items the computed item's reader may read, from the row of inputs its reader declares
// beside it: up to cap ids into inputs (an id may repeat). The count (0 for a reader that
// answers a constant, or an id that is not computed), or -1 when the row holds more than cap.
// The rule index lists a judge of a computed item under these items.
int JudgeComputedItemInputs(WORD id, WORD* inputs, int cap);
// The row of JudgeComputeHookCore, in the same form.
int JudgeHookCoreInputs(WORD id, WORD* inputs, int cap);

// The first rule of the value, or null.
const ValueRule* ModelFindValueRule(const ExclusiveRecord* rules, WORD value_id);

// Value 0 asks the item's own judge; any other value its value rule's judge (none: 0). No
// record or no descriptor gives 0.
int ModelEvalDisableRule(const ExclusiveRecord* rules, WORD value_id, DriverContext* ctx);
int ModelEvalSecondRule(const ExclusiveRecord* rules, WORD value_id, DriverContext* ctx);
int ModelEvalThirdRule(const ExclusiveRecord* rules, WORD value_id, DriverContext* ctx);
int ModelIsValueDisabled(const ModelItemDescriptor* desc, WORD value_id, DriverContext* ctx);
int ModelIsValueRestricted(const ModelItemDescriptor* desc, WORD value_id, DriverContext* ctx);
int ModelEvalLockRule(const ModelItemDescriptor* desc, WORD value_id, DriverContext* ctx);
