// Rule records of a model description: the Exclusive record of an item with its per-value
// rules. Judges are compiled postfix expressions (first cell, null for none).
#pragma once
#include "platform/win32.h"

struct JudgeCell;
struct ItemRuleRecord;
struct AlertRecord;
struct TransactRecord;

#pragma pack(push, 1)

// Rules of one value of an item (20 bytes).
struct ValueRule {
  ValueRule* next;
  WORD valueId;
  WORD reserved;
  const JudgeCell* judgeDisabled;
  const JudgeCell* judgeRestricted;
  const JudgeCell* judgeLocked;
};

// Rules of one item (36 bytes).
struct ExclusiveRecord {
  ExclusiveRecord* next;
  WORD symbolId;
  WORD reserved;
  const JudgeCell* judgeDisabled;
  const JudgeCell* judgeRestricted;
  ValueRule* valueRules;
  const AlertRecord* alert;
  const TransactRecord* transact;
  const TransactRecord* transactStored;
  const JudgeCell* judgeLocked;
};

#pragma pack(pop)

static_assert(sizeof(ValueRule) == 20, "ValueRule is 20 bytes");
static_assert(sizeof(ExclusiveRecord) == 36, "ExclusiveRecord is 36 bytes");

