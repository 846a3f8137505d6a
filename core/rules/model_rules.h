// Rule records of a model description. Judges are compiled postfix expressions (JudgeCell
// runs ending with the end cell); the records of the image (ValueRule, ActionEntry,
// TransactEntry, AlertActionEntry, AlertRecord, ExclusiveRecord) link judges and each other.
// While a description is parsed the statements are kept in their own parse-time form
// (JudgeRecord, ModelRuleList, ModelRuleEntry) holding rule numbers; the image builder turns
// the numbers into links.
#pragma once
#include "core/model/number_index.h"
#include "core/model/model_parser.h"
#include "platform/win32.h"

// Cell kinds and operator codes of a compiled judge.
enum : WORD {
  kJudgeItem = 1,      // push the value of setting item `value`
  kJudgeConstant = 2,  // push `value`
  kJudgeOperator = 3,  // apply operator `value`
  kJudgeGroupEnd = 4,  // end of a parenthesised group; never valid in a stored judge
};

enum : WORD {
  kJudgeOpInvalid = 0,  // a run of operator characters that is no operator
  kJudgeOpEqual = 1,
  kJudgeOpNotEqual = 2,
  kJudgeOpAnd = 3,
  kJudgeOpOr = 4,
  kJudgeOpNot = 5,
  kJudgeOpGreater = 6,
  kJudgeOpLess = 7,
  kJudgeOpGreaterEqual = 8,
  kJudgeOpLessEqual = 9,
  kJudgeOpEnd = 10,
};

// Bounds of one compiled expression. Validation never accepts more than 127 values at once,
// but an expression that inlines other judges can be long; these bounds keep hostile
// descriptions (a name inlined twice at every step, thousands of '(') from exhausting memory.
constexpr DWORD kJudgeMaxCells = 8192;
constexpr int kJudgeMaxDepth = 64;
constexpr int kJudgeMaxValues = 127;

#pragma pack(push, 1)

struct JudgeCell {
  WORD kind;
  WORD value;
};

// Rules of one value of an item (20 bytes).
struct ValueRule {
  ValueRule* next;
  WORD valueId;
  WORD reserved;
  const JudgeCell* judgeDisabled;
  const JudgeCell* judgeRestricted;
  const JudgeCell* judgeLocked;
};

// One change of an Action statement (12 bytes).
struct ActionEntry {
  ActionEntry* next;
  WORD target;    // item id, or dialog id when targetIsDialog
  WORD targetIsDialog;
  DWORD value;
};

// One step of a Transact statement (12 bytes): when the judge holds (no judge: always), run
// the actions.
struct TransactEntry {
  TransactEntry* next;
  const JudgeCell* judge;
  ActionEntry* actions;
};

// What follows one answer of an alert (16 bytes).
struct AlertActionEntry {
  AlertActionEntry* next;
  WORD button;  // message-box result
  WORD reserved;
  TransactEntry* transact;
  WORD dialogId;
  WORD controlId;
};

// One message box of an Alert statement (20 bytes).
struct AlertRecord {
  AlertRecord* next;
  const JudgeCell* judge;
  WORD messageId;
  WORD icon;
  WORD buttons;
  WORD timing;
  AlertActionEntry* actions;
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
  const TransactEntry* transact;
  const TransactEntry* transactStored;  // kept as written; nothing runs it
  const JudgeCell* judgeLocked;
};

#pragma pack(pop)

static_assert(sizeof(JudgeCell) == 4, "JudgeCell is 4 bytes");
static_assert(sizeof(ValueRule) == 20, "ValueRule is 20 bytes");
static_assert(sizeof(ActionEntry) == 12, "ActionEntry is 12 bytes");
static_assert(sizeof(TransactEntry) == 12, "TransactEntry is 12 bytes");
static_assert(sizeof(AlertActionEntry) == 16, "AlertActionEntry is 16 bytes");
static_assert(offsetof(AlertActionEntry, dialogId) == 12, "AlertActionEntry: dialog id");
static_assert(sizeof(AlertRecord) == 20, "AlertRecord is 20 bytes");
static_assert(offsetof(AlertRecord, actions) == 16, "AlertRecord: alert actions");
static_assert(sizeof(ExclusiveRecord) == 36, "ExclusiveRecord is 36 bytes");
static_assert(offsetof(ExclusiveRecord, judgeLocked) == 32, "ExclusiveRecord: judge 3");

// Alert names that are not in their table.
constexpr WORD kAlertUnknown = 0xFFFF;

// ---- parse-time form ----

// A compiled Judge statement.
struct JudgeRecord {
  JudgeRecord* next;
  LONG number;
  DWORD length;  // bytes of the cells, end cell included
  JudgeCell* cells;
  DWORD line;
  DWORD imageOffset;  // set by the image builder
};

// Elements of one entry, in the order its statement writes them: rule references are
// numbers (kModelRuleUnresolved for a token that names no rule), names are resolved ids.
constexpr int kModelRuleTupleMax = 8;
struct ModelRuleEntry {
  ModelRuleEntry* next;
  DWORD element[kModelRuleTupleMax];
  DWORD line;
};

// One Item, Action, Transact, AlertAction or Alert statement.
struct ModelRuleList {
  ModelRuleList* next;
  LONG number;
  ModelRuleEntry* first;
  DWORD line;
  DWORD imageOffset;  // offset of the first written entry, set by the image builder
};

// A judge reference of a rule entry or command block, kept for the diagnostics.
struct ModelJudgeReference {
  ModelJudgeReference* next;
  DWORD reference;  // as stored: a number or kModelRuleUnresolved
  DWORD line;
  char* token;
};

struct ModelRulesState {
  JudgeRecord* lastJudge;
  ModelRuleList* last[kModelRuleKinds];
  ModelRuleEntry* lastExclusive;
  BOOL exclusiveSeen;  // only the first Exclusive statement provides the list
  ModelNumberIndex judgeByNumber;  // number -> first compiled JudgeRecord
  ModelJudgeReference* references;
  ModelJudgeReference* lastReference;
  ModelJudgeReference* refused;  // statements refused for a value out of range
  ModelJudgeReference* lastRefused;
  DWORD entryCount[kModelRuleKinds];
  DWORD exclusiveCount;
};

// The bookkeeping of the state, made on first use; null when no memory can be had.
ModelRulesState* ModelRulesOf(ModelParseState* state);

// Compiles an expression into a new run of cells (ending with the end cell) owned by the
// parse state; count receives the number of cells. NULL when the expression names an unknown
// item, value or judge, holds a constant above 65535, opens a '(' it never closes, or exceeds
// the bounds above.
JudgeCell* JudgeCompile(ModelParseState* state, const char* text, DWORD length, DWORD* count);
// 1 when the cells are a well-formed expression (every operator has two values, no more than
// 127 values at once, exactly one value at the end), 0 otherwise. Operator code 0 is rejected.
int JudgeValidate(const JudgeCell* cells);

// The compiled judge of this number (the first statement with it), or null.
const JudgeRecord* ModelFindJudge(const ModelParseState* state, DWORD number);

// Calls report for every judge reference that links to no compiled judge (a misspelt name,
// a dropped judge, another kind's rule): such references are linked to a judge that is always
// false. Returns their number.
typedef void (*ModelReferenceReport)(void* context, const char* token, DWORD line);
DWORD ModelListUnresolvedJudges(const ModelParseState* state, ModelReferenceReport report, void* context);
// Calls report for every rule statement refused because a number of its body does not fit its
// field (an Action value above 32 bits), with the number as written and the statement's line.
// Returns their number.
DWORD ModelListRefusedStatements(const ModelParseState* state, ModelReferenceReport report, void* context);
