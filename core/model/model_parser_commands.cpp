// Command groups of the job stream, numbered command strings and the device-font and
// cartridge lists of a model description.
#include <string.h>

#include "core/common/mem.h"
#include "core/model/model_parser_handlers.h"
#include "core/model/model_parser_scan.h"
#include "core/tables/symbol_table.h"

namespace {

// Conditional blocks nest through recursion; a block nested deeper than any model needs is
// skipped, so hostile input cannot exhaust the stack.
constexpr int kMaxCommandDepth = 64;

bool SkipToColon(ModelCursor* cur) {
  while (cur->p < cur->end) {
    if (*cur->p++ == ':') return true;
  }
  return false;
}

bool IsLineEnd(char c) { return ModelCharIs(static_cast<BYTE>(c), kModelCharLineEnd); }

// After a word that did not end on '{', expects the '{' as the next thing.
bool OpenBrace(ModelCursor* cur, char ending) {
  if (ending == '{') return true;
  ModelSpan word;
  ending = ModelNextWord(cur, &word);
  return word.length == 0 && ending == '{';
}

CommandNode* ParseBody(ModelParseState* state, ModelCursor* cur, int depth);

CommandNode* ParseTypedCommand(ModelParseState* state, ModelCursor* cur) {
  ModelSpan kind;
  ModelNextWord(cur, &kind);
  if (ModelSpanIs(kind, "GroupType")) {
    ModelSpan name;
    char ending = ModelNextWord(cur, &name);
    bool lineEnded = IsLineEnd(ending);
    const SymbolEntry* symbol = ModelFindSymbol(name);
    if (!symbol) {
      while (!lineEnded && cur->p < cur->end && !IsLineEnd(*cur->p)) ++cur->p;
      return nullptr;
    }
    LONG number = 0;
    if (!lineEnded) {
      while (cur->p < cur->end && ModelCharIs(static_cast<BYTE>(*cur->p), kModelCharBlank)) ++cur->p;
      if (cur->p < cur->end && *cur->p >= '0' && *cur->p <= '9') ModelNextNumber(cur, &number);
    }
    ItemCommandNode* node =
        static_cast<ItemCommandNode*>(ModelParseAlloc(state, sizeof(ItemCommandNode)));
    if (!node) return nullptr;
    node->head.kind = kCommandNodeItem;
    node->head.symbolId = symbol->symbolId;
    node->number = static_cast<WORD>(number);
    return &node->head;
  }
  if (ModelSpanIs(kind, "StringType")) {
    LONG number = 0;
    if (!ModelNextNumber(cur, &number) || number == 0) return nullptr;
    StringCommandNode* node =
        static_cast<StringCommandNode*>(ModelParseAlloc(state, sizeof(StringCommandNode)));
    if (!node) return nullptr;
    node->head.kind = kCommandNodeString;
    node->number = number;
    return &node->head;
  }
  if (ModelSpanIs(kind, "FontType")) {
    CommandNode* node = static_cast<CommandNode*>(ModelParseAlloc(state, sizeof(CommandNode)));
    if (node) node->kind = kCommandNodeFont;
    return node;
  }
  return nullptr;
}

// Skips a block whose '{' has been read, up to its matching '}' or the end of the value.
void SkipBlock(ModelCursor* cur) {
  int open = 1;
  while (cur->p < cur->end) {
    BYTE c = static_cast<BYTE>(*cur->p++);
    // The trail byte of a double-byte character may look like a brace.
    if (c >= 0x80 && cur->codePage && IsDBCSLeadByteEx(cur->codePage, c)) {
      if (cur->p < cur->end) ++cur->p;
      continue;
    }
    if (c == '{') ++open;
    if (c == '}' && --open == 0) return;
  }
}

// The judge reference and '{' of one branch; FALSE when the '{' is missing.
bool ReadBranchHead(ModelParseState* state, ModelCursor* cur, DWORD* judge) {
  ModelSpan reference;
  char ending = ModelNextWord(cur, &reference);
  *judge = reference.length ? ModelResolveRuleLink(state, kModelRuleJudge, reference.text, reference.length) : 0;
  return OpenBrace(cur, ending);
}

CommandNode* MakeConditional(ModelParseState* state, DWORD judge, CommandNode* thenList, CommandNode* elseList) {
  CommandBlock* block = static_cast<CommandBlock*>(ModelParseAlloc(state, sizeof(CommandBlock)));
  ConditionalCommandNode* node =
      static_cast<ConditionalCommandNode*>(ModelParseAlloc(state, sizeof(ConditionalCommandNode)));
  if (!block || !node) return nullptr;
  block->judge.number = judge;
  block->thenList = thenList;
  block->elseList = elseList;
  node->head.kind = kCommandNodeConditional;
  node->block = block;
  return &node->head;
}

struct Branch {
  DWORD judge;
  CommandNode* thenList;
};

// A conditional entry: "judge { ... }", then any number of "ElseIf : judge { ... }" and an
// optional "Else { ... }". The ElseIf branches are a list, read in a loop at the entry's own
// nesting depth; each becomes the else-list of the branch before it. Only blocks inside a
// branch nest deeper. Beyond the nesting cap the whole entry is skipped by its braces, so the
// entries after it in the group are still read.
CommandNode* ParseConditional(ModelParseState* state, ModelCursor* cur, int depth) {
  const bool skip = depth > kMaxCommandDepth;
  if (skip) ModelNoteDiagnostic(state, "conditional commands nested too deep: cut");
  Branch* branches = nullptr;
  DWORD count = 0, capacity = 0;
  CommandNode* elseBody = nullptr;
  bool ok = true;
  for (;;) {
    DWORD judge = 0;
    if (!ReadBranchHead(state, cur, &judge)) break;
    CommandNode* thenList = nullptr;
    if (skip)
      SkipBlock(cur);
    else
      thenList = ParseBody(state, cur, depth);
    if (!skip) {
      if (count == capacity) {
        DWORD grown = capacity ? capacity * 2 : 8;
        Branch* bigger = static_cast<Branch*>(MemAllocZero(grown * sizeof(Branch)));
        if (!bigger) {
          ok = false;
          break;
        }
        if (count) memcpy(bigger, branches, count * sizeof(Branch));
        MemFree(branches);
        branches = bigger;
        capacity = grown;
      }
      branches[count++] = Branch{judge, thenList};
    }

    ModelCursor save = *cur;
    ModelSpan word;
    char ending = ModelNextWord(cur, &word);
    if (ModelSpanIs(word, "ElseIf")) {
      // The colon of an ElseIf may follow the word directly ("ElseIf: Judge2 {").
      if (ending == ':' || SkipToColon(cur)) continue;
      break;
    }
    if (ModelSpanIs(word, "Else")) {
      if (OpenBrace(cur, ending)) {
        if (skip)
          SkipBlock(cur);
        else
          elseBody = ParseBody(state, cur, depth);
      }
    } else {
      *cur = save;
    }
    break;
  }
  // From the last branch back: a branch with neither then- nor else-list is dropped.
  CommandNode* elseList = elseBody;
  for (DWORD i = count; ok && i-- > 0;) {
    if (!branches[i].thenList && !elseList) continue;
    elseList = MakeConditional(state, branches[i].judge, branches[i].thenList, elseList);
    if (!elseList) ok = false;
  }
  MemFree(branches);
  return ok ? elseList : nullptr;
}

// Entries up to the closing '}' (or the end of the value, or the first entry that is neither
// Type nor Command), in file order.
CommandNode* ParseBody(ModelParseState* state, ModelCursor* cur, int depth) {
  CommandNode* head = nullptr;
  CommandNode** tail = &head;
  for (;;) {
    ModelSpan word;
    ModelNextWord(cur, &word);
    bool isType = ModelSpanIs(word, "Type");
    if (!isType && !ModelSpanIs(word, "Command")) break;
    if (!SkipToColon(cur)) break;
    CommandNode* node = isType ? ParseTypedCommand(state, cur) : ParseConditional(state, cur, depth + 1);
    if (node) {
      *tail = node;
      tail = &node->next;
    }
  }
  return head;
}

// "IDList { {"name" id} ... }" into a new array of entries; FALSE when the list is not there.
bool ParseFontList(ModelParseState* state, ModelStatementReader* s, LONG* count,
                   FontListEntry*** list) {
  ModelCursor cur = ModelValueCursor(state, s);
  ModelSpan word;
  char ending = ModelNextWord(&cur, &word);
  if (!ModelSpanIs(word, "IDList") || !OpenBrace(&cur, ending)) return false;
  LONG n = 0;
  LONG capacity = 0;
  FontListEntry** entries = nullptr;
  for (;;) {
    ending = ModelNextWord(&cur, &word);
    if (word.length != 0 || ending != '{') break;
    ModelSkipSpace(&cur);
    if (cur.p >= cur.end || *cur.p != '"') break;
    char* name = ModelExtractCommandText(state, &cur, nullptr);
    LONG id = 0;
    if (!ModelNextNumber(&cur, &id)) break;
    ending = ModelNextWord(&cur, &word);
    if (word.length != 0 || ending != '}') break;
    FontListEntry* entry = static_cast<FontListEntry*>(ModelParseAlloc(state, sizeof(FontListEntry)));
    if (!entry) break;
    entry->id = id;
    entry->name = name;
    if (n == capacity) {
      LONG grown = capacity ? capacity * 2 : 16;
      FontListEntry** bigger =
          static_cast<FontListEntry**>(ModelParseAlloc(state, grown * sizeof(FontListEntry*)));
      if (!bigger) break;
      if (n) memcpy(bigger, entries, n * sizeof(FontListEntry*));
      entries = bigger;
      capacity = grown;
    }
    entries[n++] = entry;
  }
  *count = n;
  *list = n ? entries : nullptr;
  return true;
}

}  // namespace

int ModelOnCommandGroup(ModelParseState* state, ModelStatementReader* s) {
  ModelCursor cur = ModelValueCursor(state, s);
  ModelSpan section;
  char ending = ModelNextWord(&cur, &section);
  ModelImageHeader* h = state->header;
  CommandBlock** group = ModelSpanIs(section, "JobStart")    ? &h->jobStart
                         : ModelSpanIs(section, "JobEnd")    ? &h->jobEnd
                         : ModelSpanIs(section, "PageStart") ? &h->pageStart
                         : ModelSpanIs(section, "PageEnd")   ? &h->pageEnd
                         : ModelSpanIs(section, "DocReset")  ? &h->docReset
                                                             : nullptr;
  if (!group || !OpenBrace(&cur, ending)) return 1;
  CommandNode* list = ParseBody(state, &cur, 0);
  CommandBlock* block = nullptr;
  if (list) {
    block = static_cast<CommandBlock*>(ModelParseAlloc(state, sizeof(CommandBlock)));
    if (!block) return 1;
    block->thenList = list;
  }
  *group = block;
  return 1;
}

int ModelOnDeviceFonts(ModelParseState* state, ModelStatementReader* s) {
  return ParseFontList(state, s, &state->header->deviceFontCount, &state->header->deviceFonts) ? 1 : 0;
}

int ModelOnFontCartridge(ModelParseState* state, ModelStatementReader* s) {
  return ParseFontList(state, s, &state->header->cartridgeCount, &state->header->cartridges) ? 1 : 0;
}

int ModelOnCommandString(ModelParseState* state, ModelStatementReader* s) {
  ModelCursor cur = ModelValueCursor(state, s);
  DWORD length = 0;
  char* text = ModelExtractCommandText(state, &cur, &length);
  if (!text) return 0;
  CommandStringNode* node =
      static_cast<CommandStringNode*>(ModelParseAlloc(state, sizeof(CommandStringNode)));
  if (!node) return 0;
  node->number = ModelParseNumber(s->word1.text);
  node->length = static_cast<LONG>(length + 1);
  node->text = text;
  if (state->lastCommandString)
    state->lastCommandString->next = node;
  else
    state->commandStrings = node;
  state->lastCommandString = node;
  return 1;
}
