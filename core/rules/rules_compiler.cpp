// Item, Action, Transact, AlertAction, Alert and Exclusive statements: brace bodies whose
// tokens fill fixed-size tuples, one entry per tuple, with names resolved as they are read and
// rule references kept as numbers until the image links them.
#include <string.h>

#include "core/front/dialog_records.h"
#include "core/model/model_parser_handlers.h"
#include "core/rules/model_rules.h"
#include "core/rules/rule_tokens.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"

namespace {

// Longest name any of the name tables holds; longer tokens are unknown names.
constexpr DWORD kMaxName = 127;

struct NamedNumber {
  const char* name;
  WORD value;
};

const NamedNumber kIcons[] = {{"MB_ICONEXCLAMATION", 0x30}, {"MB_ICONINFORMATION", 0x40},
                              {"MB_ICONQUESTION", 0x20},    {"MB_ICONSTOP", 0x10}};
const NamedNumber kButtons[] = {{"MB_ABORTRETRYIGNORE", 2}, {"MB_OK", 0},    {"MB_OKCANCEL", 1},
                                {"MB_RETRYCANCEL", 5},      {"MB_YESNO", 4}, {"MB_YESNOCANCEL", 3}};
const NamedNumber kTimings[] = {
    {"AlertAtOnce", 0}, {"AlertProperty", 1}, {"AlertOkApply", 2}, {"AlertDialog", 3}};

template <size_t N>
WORD LookupNamed(const NamedNumber (&table)[N], const RuleToken& t) {
  for (const NamedNumber& row : table) {
    if (strlen(row.name) == t.length && memcmp(row.name, t.text, t.length) == 0) return row.value;
  }
  return kAlertUnknown;
}

bool CopyName(const RuleToken& t, char* buffer) {
  if (t.length == 0 || t.length > kMaxName) return false;
  memcpy(buffer, t.text, t.length);
  buffer[t.length] = '\0';
  return true;
}

WORD SymbolOf(const RuleToken& t) {
  const SymbolEntry* symbol = ModelFindSymbol(ModelSpan{t.text, t.length});
  return symbol ? symbol->symbolId : 0;
}

WORD ItemOf(const RuleToken& t) {
  const SymbolEntry* symbol = ModelFindSymbol(ModelSpan{t.text, t.length});
  return symbol ? symbol->itemId : 0;
}

WORD ValueOf(const RuleToken& t) {
  const ValueSymbol* value = ModelFindValueSymbol(ModelSpan{t.text, t.length});
  return value ? value->logical : 0;
}

// Dialogs and controls are named in the static page table that every context copies.
WORD DialogOf(const RuleToken& t) {
  char name[kMaxName + 1];
  const DlgPageTable* pages = TblGetPageTable();
  if (!CopyName(t, name) || !pages || !pages->rows) return 0;
  for (SHORT i = 0; i < pages->count; ++i) {
    if (pages->rows[i].name && strcmp(pages->rows[i].name, name) == 0) return pages->rows[i].dialogId;
  }
  return 0;
}

// A control name is a symbol; the first control on any page that carries it gives the id.
WORD ControlOf(const RuleToken& t) {
  WORD symbol = SymbolOf(t);
  const DlgPageTable* pages = TblGetPageTable();
  if (!symbol || !pages || !pages->rows) return 0;
  for (SHORT i = 0; i < pages->count; ++i) {
    const DlgPageRecord& page = pages->rows[i];
    for (WORD c = 0; page.controls && c < page.controlCount; ++c) {
      if (page.controls[c].symbolId == symbol) return page.controls[c].controlId;
    }
  }
  return 0;
}

WORD MessageOf(const RuleToken& t) {
  char name[kMaxName + 1];
  if (!CopyName(t, name)) return 0;
  const MessageEntry* message = TblFindMessageByName(nullptr, name);
  return message ? message->messageId : 0;
}

DWORD Reference(ModelParseState* state, int kind, const RuleToken& t) {
  return ModelResolveRuleLink(state, kind, t.text, t.length);
}

// Resolves one element of an entry; entry elements hold what the image builder needs. FALSE
// refuses the whole statement.
typedef bool (*ElementReader)(ModelParseState* state, ModelRuleEntry* entry, int position, const RuleToken& t);

// Appends a token and the current line to one of the diagnostic lists; null when no memory
// can be had.
ModelJudgeReference* KeepToken(ModelParseState* state, ModelJudgeReference** first, ModelJudgeReference** last,
                               const char* token, DWORD length) {
  ModelJudgeReference* note = static_cast<ModelJudgeReference*>(ModelParseAlloc(state, sizeof(ModelJudgeReference)));
  char* text = note ? static_cast<char*>(ModelParseAlloc(state, length + 1)) : nullptr;
  if (!text) return nullptr;
  memcpy(text, token, length);
  note->line = state->line;
  note->token = text;
  if (*last)
    (*last)->next = note;
  else
    *first = note;
  *last = note;
  return note;
}

// Keeps the token of a refused statement for the diagnostics.
void NoteRefused(ModelParseState* state, const RuleToken& t) {
  ModelRulesState* rules = ModelRulesOf(state);
  if (rules) KeepToken(state, &rules->refused, &rules->lastRefused, t.text, t.length);
}

bool ReadItemElement(ModelParseState* state, ModelRuleEntry* e, int pos, const RuleToken& t) {
  e->element[pos] = pos == 0 ? ValueOf(t) : Reference(state, kModelRuleJudge, t);
  return true;
}

// Action: element 0 target, 1 value, 2 target is a dialog.
bool ReadActionElement(ModelParseState* state, ModelRuleEntry* e, int pos, const RuleToken& t) {
  if (pos == 0) {
    if (WORD dialog = DialogOf(t)) {
      e->element[0] = dialog;
      e->element[2] = 1;
    } else {
      e->element[0] = ItemOf(t);
    }
    return true;
  }
  if (t.kind == kRuleTokenNumber) {
    // A value cut to fewer digits would set the item to another value: the statement goes.
    DWORD n = 0;
    for (DWORD i = 0; i < t.length; ++i) {
      const DWORD digit = static_cast<DWORD>(t.text[i] - '0');
      if (n > (0xFFFFFFFFu - digit) / 10) {
        NoteRefused(state, t);
        return false;
      }
      n = n * 10 + digit;
    }
    e->element[1] = n;
  } else if (t.length == 7 && memcmp(t.text, "Default", 7) == 0) {
    // The model default as described so far: an item described later gives 0.
    e->element[1] = e->element[2] ? 0 : static_cast<DWORD>(ModelImageGetItemDefault(state->header, static_cast<WORD>(e->element[0])));
  } else {
    e->element[1] = ValueOf(t);
  }
  return true;
}

bool ReadTransactElement(ModelParseState* state, ModelRuleEntry* e, int pos, const RuleToken& t) {
  e->element[pos] = Reference(state, pos == 0 ? kModelRuleJudge : kModelRuleAction, t);
  return true;
}

bool ReadAlertActionElement(ModelParseState* state, ModelRuleEntry* e, int pos, const RuleToken& t) {
  switch (pos) {
    case 0: e->element[0] = SymbolOf(t); break;
    case 1: e->element[1] = Reference(state, kModelRuleTransact, t); break;
    case 2: e->element[2] = DialogOf(t); break;
    default: e->element[3] = ControlOf(t); break;
  }
  return true;
}

bool ReadAlertElement(ModelParseState* state, ModelRuleEntry* e, int pos, const RuleToken& t) {
  switch (pos) {
    case 0: e->element[0] = Reference(state, kModelRuleJudge, t); break;
    case 1: e->element[1] = MessageOf(t); break;
    case 2: e->element[2] = LookupNamed(kIcons, t); break;
    case 3: e->element[3] = LookupNamed(kButtons, t); break;
    case 4: e->element[4] = LookupNamed(kTimings, t); break;
    default: e->element[5] = Reference(state, kModelRuleAlertAction, t); break;
  }
  return true;
}

bool ReadExclusiveElement(ModelParseState* state, ModelRuleEntry* e, int pos, const RuleToken& t) {
  static const int kKinds[kModelRuleTupleMax] = {-1, kModelRuleJudge, kModelRuleJudge, kModelRuleItem,
                                                 kModelRuleAlert, kModelRuleTransact, kModelRuleTransact,
                                                 kModelRuleJudge};
  e->element[pos] = pos == 0 ? SymbolOf(t) : Reference(state, kKinds[pos], t);
  return true;
}

// Reads the brace body into entries. FALSE when the value has no brace block, an element
// refuses the statement or memory ran out (the entries made so far are then unreachable and go
// with the parse state).
bool ReadBody(ModelParseState* state, const ModelStatementReader* s, int tupleSize, ElementReader read,
              ModelRuleEntry** first, DWORD* count) {
  RuleScanner scanner = {s->value.text, s->value.text + s->value.length};
  *first = nullptr;
  *count = 0;
  RuleToken t;
  do {
    t = JudgeScanToken(&scanner);
    if (t.kind == kRuleTokenEnd) return false;
  } while (!(t.kind == kRuleTokenBracket && t.text[0] == '{'));
  ModelRuleEntry** tail = first;
  ModelRuleEntry* entry = nullptr;
  int depth = 1;
  int position = 0;
  for (;;) {
    t = JudgeScanToken(&scanner);
    if (t.kind == kRuleTokenEnd) break;
    if (t.kind == kRuleTokenBracket && t.text[0] == '{') {
      ++depth;
      continue;
    }
    if (t.kind == kRuleTokenBracket && t.text[0] == '}') {
      if (--depth == 0) break;
      continue;
    }
    if (position == 0) {
      entry = static_cast<ModelRuleEntry*>(ModelParseAlloc(state, sizeof(ModelRuleEntry)));
      if (!entry) return false;
      entry->line = state->line;
      *tail = entry;
      tail = &entry->next;
      ++*count;
    }
    if (!read(state, entry, position, t)) return false;
    position = (position + 1) % tupleSize;
  }
  return true;
}

ModelRuleList** ListHead(ModelParseState* state, int kind) {
  switch (kind) {
    case kModelRuleItem: return &state->itemRules;
    case kModelRuleAction: return &state->actions;
    case kModelRuleTransact: return &state->transacts;
    case kModelRuleAlertAction: return &state->alertActions;
    default: return &state->alerts;
  }
}

int OnListStatement(ModelParseState* state, ModelStatementReader* s, int kind, int tupleSize, ElementReader read) {
  LONG number = ModelParseNumber(s->word1.text);
  if (number < 1 || number > 0xFFFF) return 0;
  const char* equals = strchr(s->word1.text, '=');
  if (equals && equals[1])
    ModelRegisterRuleName(state, kind, equals + 1, static_cast<DWORD>(strlen(equals + 1)), number);
  ModelRulesState* rules = ModelRulesOf(state);
  ModelRuleList* list = rules ? static_cast<ModelRuleList*>(ModelParseAlloc(state, sizeof(ModelRuleList))) : nullptr;
  if (!list) return 0;
  DWORD count = 0;
  if (!ReadBody(state, s, tupleSize, read, &list->first, &count)) return 0;
  list->number = number;
  list->line = state->line;
  if (rules->last[kind])
    rules->last[kind]->next = list;
  else
    *ListHead(state, kind) = list;
  rules->last[kind] = list;
  rules->entryCount[kind] += count;
  return 1;
}

}  // namespace

ModelRulesState* ModelRulesOf(ModelParseState* state) {
  if (!state) return nullptr;
  if (!state->rules) {
    state->rules = static_cast<ModelRulesState*>(ModelParseAlloc(state, sizeof(ModelRulesState)));
    if (state->rules) state->rules->judgeByNumber.owner = state;
  }
  return state->rules;
}

DWORD ModelResolveRuleLink(ModelParseState* state, int kind, const char* token, DWORD length) {
  if (!state || !token || length == 0 || kind < 0 || kind >= kModelRuleKinds) return 0;
  if (length >= 4 && memcmp(token, "NULL", 4) == 0) return 0;
  // A token that names a rule but resolves to no number (another kind's prefix, digits that
  // give 0 or exceed 65535, an unregistered name) is kept apart from NULL: a judge position
  // holding it links to a judge that is always false, never to "no judge".
  DWORD reference = ModelResolveRuleReference(state, kind, token, length);
  if (reference == 0) reference = kModelRuleUnresolved;
  if (kind == kModelRuleJudge) {
    ModelRulesState* rules = ModelRulesOf(state);
    ModelJudgeReference* ref =
        rules ? KeepToken(state, &rules->references, &rules->lastReference, token, length) : nullptr;
    if (ref) ref->reference = reference;
  }
  return reference;
}

DWORD ModelListUnresolvedJudges(const ModelParseState* state, ModelReferenceReport report, void* context) {
  if (!state || !state->rules) return 0;
  DWORD n = 0;
  for (const ModelJudgeReference* r = state->rules->references; r; r = r->next) {
    if (r->reference != kModelRuleUnresolved && ModelFindJudge(state, r->reference)) continue;
    ++n;
    if (report) report(context, r->token, r->line);
  }
  return n;
}

DWORD ModelListRefusedStatements(const ModelParseState* state, ModelReferenceReport report, void* context) {
  if (!state || !state->rules) return 0;
  DWORD n = 0;
  for (const ModelJudgeReference* r = state->rules->refused; r; r = r->next) {
    ++n;
    if (report) report(context, r->token, r->line);
  }
  return n;
}

int ModelOnItemRules(ModelParseState* state, ModelStatementReader* s) {
  return OnListStatement(state, s, kModelRuleItem, 4, ReadItemElement);
}

int ModelOnAction(ModelParseState* state, ModelStatementReader* s) {
  return OnListStatement(state, s, kModelRuleAction, 2, ReadActionElement);
}

int ModelOnTransact(ModelParseState* state, ModelStatementReader* s) {
  return OnListStatement(state, s, kModelRuleTransact, 2, ReadTransactElement);
}

int ModelOnAlertAction(ModelParseState* state, ModelStatementReader* s) {
  return OnListStatement(state, s, kModelRuleAlertAction, 4, ReadAlertActionElement);
}

int ModelOnAlert(ModelParseState* state, ModelStatementReader* s) {
  return OnListStatement(state, s, kModelRuleAlert, 6, ReadAlertElement);
}

int ModelOnExclusive(ModelParseState* state, ModelStatementReader* s) {
  ModelRulesState* rules = ModelRulesOf(state);
  if (!rules) return 0;
  // Only the first Exclusive statement provides the list; later ones are read for nothing.
  if (rules->exclusiveSeen) return 1;
  ModelRuleEntry* first = nullptr;
  DWORD count = 0;
  if (!ReadBody(state, s, kModelRuleTupleMax, ReadExclusiveElement, &first, &count)) return 0;
  rules->exclusiveSeen = TRUE;
  state->exclusives = first;
  rules->exclusiveCount = count;
  return 1;
}
