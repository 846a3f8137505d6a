// The rules of a model image by the item they read: per item id, the item- and value-level
// judges (disable, restrict, lock), the Transact entries and the Alert records whose judges
// read it. A setting change then costs its own rules, not a walk of every rule of the model.
// A judge that reads a computed item (finishing conditions 723-914, judge hooks 1260-1451)
// stands under the items the computed item's reader declares it reads (the row of inputs
// beside the reader, JudgeComputedItemInputs); only a judge whose items are too many to list
// is listed once for every item.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

struct ExclusiveRecord;
struct JudgeCell;
struct JudgePass;
struct ModelImageHeader;

enum : BYTE {
  kRuleRefItemJudge = 1,   // judge 1-3 of the record itself (value 0)
  kRuleRefValueJudge = 2,  // judge 1-3 of a value's rule
  kRuleRefTransact = 3,    // a Transact entry of the record's list or of one of its alert answers
  kRuleRefAlert = 4,       // an Alert record of the record's list
};

// One rule that reads an item (16 bytes).
struct ModelRuleRef {
  BYTE kind;
  BYTE judge;     // 1 disable, 2 restrict, 3 lock for the judge kinds; 0 otherwise
  WORD valueId;   // the value of a value rule; 0 otherwise
  WORD itemId;    // item of the record's symbol; 0 when the symbol names no item
  WORD reserved;
  const ExclusiveRecord* record;
  const void* rule;  // ValueRule, TransactEntry or AlertRecord; null for the record's judges
};

struct ModelRuleRefs {
  const ModelRuleRef* refs;
  DWORD count;
};

struct ModelRuleIndex;

// Builds the index of a fixed-up image; null for no image or when no memory can be had.
ModelRuleIndex* RuleIndexBuild(const ModelImageHeader* image);
void RuleIndexFree(ModelRuleIndex* index);

// The rules that read this item, through a computed item's inputs as well.
ModelRuleRefs RuleIndexReadersOf(const ModelRuleIndex* index, WORD itemId);
// The rules that read too many items to list: they count for every item.
ModelRuleRefs RuleIndexReadersOfAny(const ModelRuleIndex* index);
// Number of distinct items read and of references held (diagnostics).
DWORD RuleIndexItemCount(const ModelRuleIndex* index);
DWORD RuleIndexRefCount(const ModelRuleIndex* index);

// The index of the context's image: built at the first request, under the process cache's
// lock, and kept with the cached image. Null when the image is not one the process cache holds
// (callers then walk the rules themselves) or no memory can be had.
const ModelRuleIndex* ModelGetRuleIndex(DriverContext* ctx);

// The judge a reference stands for (null for none), and its value on the context.
const JudgeCell* RuleRefJudge(const ModelRuleRef* ref);
int RuleRefEvaluate(const ModelRuleRef* ref, DriverContext* ctx);
// The same within a pass of judges (judge_eval.h): the readers of one change share the
// finishing conditions they read.
int RuleRefEvaluateInPass(const ModelRuleRef* ref, DriverContext* ctx, JudgePass* pass);
