// Judge statements: expressions compiled left to right, without precedence, into postfix
// cells, then validated.
#include <string.h>

#include "core/common/mem.h"
#include "core/model/model_parser_handlers.h"
#include "core/rules/model_rules.h"
#include "core/rules/rule_tokens.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"

namespace {

// Cells being compiled: in the buffer's own room first, then on the heap up to the bound of
// one expression.
class CellBuffer {
 public:
  ~CellBuffer() {
    if (cells_ != local_) MemFree(cells_);
  }
  bool Push(WORD kind, WORD value) {
    JudgeCell cell = {kind, value};
    return Append(&cell, 1);
  }
  bool Append(const JudgeCell* cells, DWORD n) {
    if (n > kJudgeMaxCells - count_) return false;
    if (count_ + n > capacity_) {
      DWORD capacity = capacity_ ? capacity_ : 32;
      while (capacity < count_ + n) capacity *= 2;
      if (capacity > kJudgeMaxCells) capacity = kJudgeMaxCells;
      JudgeCell* bigger = static_cast<JudgeCell*>(MemAllocZero(capacity * sizeof(JudgeCell)));
      if (!bigger) return false;
      if (count_) memcpy(bigger, cells_, count_ * sizeof(JudgeCell));
      if (cells_ != local_) MemFree(cells_);
      cells_ = bigger;
      capacity_ = capacity;
    }
    memcpy(cells_ + count_, cells, n * sizeof(JudgeCell));
    count_ += n;
    return true;
  }
  const JudgeCell* cells() const { return cells_; }
  DWORD count() const { return count_; }

 private:
  JudgeCell local_[64];
  JudgeCell* cells_ = local_;
  DWORD count_ = 0;
  DWORD capacity_ = 64;
};

WORD OperatorCode(const RuleToken& t) {
  static const char* const kOperators[] = {"==", "!=", "&&", "||", "!", ">", "<", ">=", "<="};
  for (WORD i = 0; i < 9; ++i) {
    if (strlen(kOperators[i]) == t.length && memcmp(kOperators[i], t.text, t.length) == 0)
      return static_cast<WORD>(i + 1);
  }
  return kJudgeOpInvalid;
}

// An operand's cells: an item, a value name, an earlier judge (copied without its end cell),
// or a constant of 16 bits.
bool WriteOperand(ModelParseState* state, const RuleToken& t, CellBuffer* out) {
  if (t.kind == kRuleTokenNumber) {
    DWORD n = 0;
    for (DWORD i = 0; i < t.length; ++i) {
      n = n * 10 + static_cast<DWORD>(t.text[i] - '0');
      if (n > 0xFFFF) return false;  // cutting it to 16 bits would compare with another value
    }
    return out->Push(kJudgeConstant, static_cast<WORD>(n));
  }
  ModelSpan name = {t.text, t.length};
  if (const SymbolEntry* symbol = ModelFindSymbol(name)) return out->Push(kJudgeItem, symbol->itemId);
  if (const ValueSymbol* value = ModelFindValueSymbol(name)) return out->Push(kJudgeConstant, value->logical);
  LONG number = ModelFindRuleName(state, kModelRuleJudge, t.text, t.length);
  // A judge that was dropped, or the statement's own name, has no cells to copy.
  const JudgeRecord* judge = number > 0 ? ModelFindJudge(state, static_cast<DWORD>(number)) : nullptr;
  if (!judge) return false;
  DWORD cells = judge->length / sizeof(JudgeCell);
  return cells > 0 && out->Append(judge->cells, cells - 1);
}

}  // namespace

JudgeCell* JudgeCompile(ModelParseState* state, const char* text, DWORD length, DWORD* count) {
  if (!state || (!text && length)) return nullptr;
  RuleScanner scanner = {text, text + length};
  CellBuffer out;
  // The pending operator of each open group; -1 for none. A group's ')' hands the enclosing
  // group's pending operator back, still pending.
  int pendingOf[kJudgeMaxDepth];
  int depth = 0;
  int pending = -1;
  bool finished = false;
  while (!finished) {
    RuleToken t = JudgeScanToken(&scanner);
    switch (t.kind) {
      case kRuleTokenNumber:
      case kRuleTokenName:
        if (!WriteOperand(state, t, &out)) return nullptr;
        if (pending >= 0 && !out.Push(kJudgeOperator, static_cast<WORD>(pending))) return nullptr;
        pending = -1;
        break;
      case kRuleTokenOperator:
        if (pending >= 0 && !out.Push(kJudgeOperator, static_cast<WORD>(pending))) return nullptr;
        pending = OperatorCode(t);
        break;
      case kRuleTokenBracket:
        if (t.text[0] == '(') {
          if (depth >= kJudgeMaxDepth) return nullptr;
          pendingOf[depth++] = pending;
          pending = -1;
        } else if (t.text[0] == ')') {
          if (pending >= 0 && !out.Push(kJudgeOperator, static_cast<WORD>(pending))) return nullptr;
          pending = -1;
          if (depth == 0) {
            // Left in the expression, where validation rejects it.
            if (!out.Push(kJudgeGroupEnd, 0)) return nullptr;
            finished = true;
          } else {
            pending = pendingOf[--depth];
          }
        } else {
          finished = true;
        }
        break;
      default:
        finished = true;
        break;
    }
  }
  if (depth > 0) return nullptr;  // a '(' never closed
  // An operator still pending joins what came before it, as a ')' would write it: A && (B)
  // is A B &&, and A && is left with one value, which validation rejects.
  if (pending >= 0 && !out.Push(kJudgeOperator, static_cast<WORD>(pending))) return nullptr;
  if (!out.Push(kJudgeOperator, kJudgeOpEnd)) return nullptr;
  JudgeCell* cells = static_cast<JudgeCell*>(ModelParseAlloc(state, out.count() * sizeof(JudgeCell)));
  if (!cells) return nullptr;
  memcpy(cells, out.cells(), out.count() * sizeof(JudgeCell));
  if (count) *count = out.count();
  return cells;
}

int JudgeValidate(const JudgeCell* cells) {
  if (!cells) return 0;
  int values = 0;
  for (DWORD i = 0; i < kJudgeMaxCells; ++i) {
    const JudgeCell& c = cells[i];
    if (c.kind == kJudgeItem || c.kind == kJudgeConstant) {
      if (++values > kJudgeMaxValues) return 0;
    } else if (c.kind == kJudgeOperator) {
      if (c.value == kJudgeOpEnd) return values == 1 ? 1 : 0;
      // Code 0 is a run such as a single '=': the evaluator would skip it and leave the
      // operands' last value as the result.
      if (c.value == kJudgeOpInvalid || values < 2) return 0;
      --values;
    } else {
      return 0;
    }
  }
  return 0;
}

const JudgeRecord* ModelFindJudge(const ModelParseState* state, DWORD number) {
  if (!state || !state->rules) return nullptr;
  DWORD found = 0;
  if (!ModelNumberIndexFind(&state->rules->judgeByNumber, number, &found)) return nullptr;
  return reinterpret_cast<const JudgeRecord*>(static_cast<UINT_PTR>(found));
}

int ModelOnJudge(ModelParseState* state, ModelStatementReader* s) {
  LONG number = ModelParseNumber(s->word1.text);
  if (number < 1 || number > 0xFFFF) {
    ModelNoteDiagnostic(state, "judge number out of range (1-65535)");
    return 0;
  }
  const char* equals = strchr(s->word1.text, '=');
  if (equals && equals[1])
    ModelRegisterRuleName(state, kModelRuleJudge, equals + 1, static_cast<DWORD>(strlen(equals + 1)), number);
  ModelRulesState* rules = ModelRulesOf(state);
  if (!rules) return 0;
  DWORD count = 0;
  JudgeCell* cells = JudgeCompile(state, s->value.text, s->value.length, &count);
  if (!cells || !JudgeValidate(cells)) {
    ModelNoteDiagnostic(state, "bad expression");
    return 0;
  }
  JudgeRecord* record = static_cast<JudgeRecord*>(ModelParseAlloc(state, sizeof(JudgeRecord)));
  if (!record) return 0;
  record->number = number;
  record->length = count * sizeof(JudgeCell);
  record->cells = cells;
  record->line = state->line;
  DWORD earlier = 0;
  if (ModelNumberIndexFind(&rules->judgeByNumber, static_cast<DWORD>(number), &earlier))
    ModelNoteDiagnostic(state, "duplicate judge number: the first one stands");
  if (!ModelNumberIndexAdd(&rules->judgeByNumber, static_cast<DWORD>(number),
                     static_cast<DWORD>(reinterpret_cast<UINT_PTR>(record))))
    return 0;
  if (rules->lastJudge)
    rules->lastJudge->next = record;
  else
    state->judges = record;
  rules->lastJudge = record;
  return 1;
}
