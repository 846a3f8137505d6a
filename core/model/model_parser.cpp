// Model-description parser: parse loop, dispatch, parse state, rule names,
// model defaults and the header texts.
#include "core/model/model_parser.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/common/text.h"
#include "core/model/model_parser_handlers.h"
#include "core/model/model_parser_index.h"
#include "core/model/model_parser_scan.h"

namespace {

bool KeywordIs(const ModelStatementReader* s, const char* text) {
  return strcmp(s->keyword.text, text) == 0;
}

WCHAR* AnsiToWideCopy(ModelParseState* state, const char* text, DWORD length) {
  WCHAR* wide = static_cast<WCHAR*>(ModelParseAlloc(state, (length + 1) * sizeof(WCHAR)));
  if (!wide) return nullptr;
  StrAnsiToWide(wide, text, static_cast<int>(length + 1));
  return wide;
}

int OnDllName(ModelParseState* state, ModelStatementReader* s, WCHAR** field) {
  ModelCursor cur = ModelValueCursor(state, s);
  DWORD length = 0;
  char* text = ModelExtractCommandText(state, &cur, &length);
  if (!text) return 1;
  WCHAR* wide = AnsiToWideCopy(state, text, length);
  if (wide) *field = wide;
  return 1;
}

ModelParseState* NewParseState(UINT codePage) {
  ModelParseState* state = static_cast<ModelParseState*>(MemAllocZero(sizeof(ModelParseState)));
  if (!state) return nullptr;
  state->header = static_cast<ModelImageHeader*>(MemAllocZero(sizeof(ModelImageHeader)));
  if (!state->header) {
    MemFree(state);
    return nullptr;
  }
  state->codePage = codePage;
  // Without its index the parse still works, walking its lists.
  state->index = ModelIndexCreate();
  return state;
}

void AddDiagnostic(ModelParseState* state, DWORD line, const char* keyword, const char* reason) {
  if (++state->diagnosticCount > kModelMaxDiagnostics) return;
  ModelDiagnostic* d = static_cast<ModelDiagnostic*>(MemAllocZero(sizeof(ModelDiagnostic)));
  if (!d) return;
  d->line = line;
  d->reason = reason;
  if (keyword) strncpy(d->statement, keyword, sizeof(d->statement) - 1);
  if (state->lastDiagnostic)
    state->lastDiagnostic->next = d;
  else
    state->diagnostics = d;
  state->lastDiagnostic = d;
}

bool KnownKeyword(const char* keyword) {
  for (int i = 0; ModelKeywordTable[i].keyword; ++i)
    if (strcmp(keyword, ModelKeywordTable[i].keyword) == 0) return true;
  return false;
}

ModelParseState* ParseWith(ModelDataReader* data) {
  ModelStatementReader* s = ModelNewStatementReader();
  ModelParseState* state = s ? NewParseState(data->codePage) : nullptr;
  if (!state) {
    ModelFreeStatementReader(s);
    return nullptr;
  }
  int result;
  // Line ends read so far, for the line numbers of rule diagnostics.
  const BYTE* counted = data->pos;
  DWORD lineEnds = 0;
  do {
    result = ModelReadStatement(s, data);
    lineEnds += ModelCountLineFeeds(counted, static_cast<DWORD>(data->pos - counted));
    counted = data->pos;
    if (result == kModelReadOk) {
      const DWORD inValue = ModelCountLineFeeds(s->value.text, s->value.length);
      bool endedOnLf = data->pos > data->view && data->pos[-1] == '\n';
      state->line = lineEnds + 1 - inValue - (endedOnLf ? 1 : 0);
      const DWORD noted = state->diagnosticCount;
      state->statementKeyword = s->keyword.text;
      if (ModelDispatchStatement(state, s) != 0 && state->diagnosticCount == noted)
        AddDiagnostic(state, state->line, s->keyword.text,
                      KnownKeyword(s->keyword.text) ? "statement refused" : "unknown keyword");
      state->statementKeyword = nullptr;
    } else if (result == kModelReadSyntax) {
      AddDiagnostic(state, lineEnds + 1, nullptr, "not a statement");
    }
  } while (result == kModelReadOk || result == kModelReadSyntax);
  // A block that the file never closed ends with the file, so its default becomes an index
  // like every other block's.
  ModelCloseOpenItem(state);
  ModelFreeStatementReader(s);
  if (result != kModelReadEnd) {
    ModelFreeParseState(state);
    return nullptr;
  }
  return state;
}

}  // namespace

const KeywordHandlerRow ModelKeywordTable[24] = {
    {"FileVersion", ModelOnFileVersion},
    {"OpenUI", ModelOnOpenUi},
    {"CloseUI", ModelOnCloseUi},
    {"NumericValue", ModelOnNumericValue},
    {"StringValue", ModelOnStringValue},
    {"PageValue", ModelOnPageValue},
    {"PageMMValue", ModelOnPageMmValue},
    {"SlotPaper", ModelOnSlotPaper},
    {"OptionCommand", ModelOnOptionCommand},
    {"CommandGroup", ModelOnCommandGroup},
    {"DeviceFonts", ModelOnDeviceFonts},
    {"FontCartridge", ModelOnFontCartridge},
    {"TTFS", ModelOnTtfs},
    {"CommandString", ModelOnCommandString},
    {"Judge", ModelOnJudge},
    {"Item", ModelOnItemRules},
    {"Action", ModelOnAction},
    {"Transact", ModelOnTransact},
    {"AlertAction", ModelOnAlertAction},
    {"Alert", ModelOnAlert},
    {"Exclusive", ModelOnExclusive},
    {"UIResDLLName", ModelOnUiResDllName},
    {"ExcDepDLLName", ModelOnExcDepDllName},
    {nullptr, nullptr},
};

ModelParseState* ModelParseFile(LPCWSTR path) {
  ModelDataReader* data = ModelOpenDataReader(path);
  if (!data) return nullptr;
  ModelParseState* state = ParseWith(data);
  ModelCloseDataReader(data);
  return state;
}

ModelParseState* ModelParseMemory(const void* bytes, DWORD size, UINT codePage) {
  ModelDataReader* data = ModelOpenMemoryReader(bytes, size, codePage);
  if (!data) return nullptr;
  ModelParseState* state = ParseWith(data);
  ModelCloseDataReader(data);
  return state;
}

int ModelDispatchStatement(ModelParseState* state, ModelStatementReader* s) {
  if (!state || !s) return kModelReadSyntax;
  const char* keyword = s->keyword.text;
  if (state->openName) {
    if (strcmp(keyword, state->openName) == 0) {
      ModelOnOptionEntry(state, s);
      return 0;
    }
    if (strncmp(keyword, "Default", 7) == 0 && strcmp(keyword + 7, state->openName) == 0) {
      ModelOnDefault(state, s);
      return 0;
    }
  }
  // Statements of one kind come in runs, so the row that matched last is tried first.
  int row = -1;
  int memo = state->keywordMemo;
  if (memo > 0 && memo <= 23 && KeywordIs(s, ModelKeywordTable[memo - 1].keyword)) row = memo - 1;
  for (int i = 0; row < 0 && ModelKeywordTable[i].keyword; ++i) {
    if (KeywordIs(s, ModelKeywordTable[i].keyword)) row = i;
  }
  if (row < 0) {
    state->keywordMemo = 0;
    return kModelReadSyntax;
  }
  state->keywordMemo = row + 1;
  return ModelKeywordTable[row].handler(state, s) == 1 ? 0 : kModelReadSyntax;
}

void ModelNoteDiagnostic(ModelParseState* state, const char* reason) {
  if (!state || !reason) return;
  AddDiagnostic(state, state->line, state->statementKeyword, reason);
}

void ModelFreeParseState(ModelParseState* state) {
  if (!state) return;
  for (ModelDiagnostic* d = state->diagnostics; d;) {
    ModelDiagnostic* next = d->next;
    MemFree(d);
    d = next;
  }
  ModelArenaFree(&state->arena);
  ModelIndexFree(state->index);
  MemFree(state->header);
  MemFree(state);
}

BOOL ModelRegisterRuleName(ModelParseState* state, int kind, const char* name, DWORD length,
                           LONG number) {
  if (!state || kind < 0 || kind >= kModelRuleKinds || !name) return FALSE;
  ModelRuleName* entry = static_cast<ModelRuleName*>(ModelParseAlloc(state, sizeof(ModelRuleName)));
  char* text = static_cast<char*>(ModelParseAlloc(state, length + 1));
  if (!entry || !text) return FALSE;
  memcpy(text, name, length);
  entry->name = text;
  entry->number = number;
  // The index knows the last registration; without it the list is walked from its head.
  ModelRuleName* last = nullptr;
  if (ModelIndexRuleNameTail(state, kind, &last) != kIndexFound) last = state->ruleNames[kind];
  while (last && last->next) last = last->next;
  if (last)
    last->next = entry;
  else
    state->ruleNames[kind] = entry;
  ModelIndexNoteRuleName(state, kind, entry, length);
  return TRUE;
}

LONG ModelFindRuleName(const ModelParseState* state, int kind, const char* name, DWORD length) {
  if (!state || kind < 0 || kind >= kModelRuleKinds || !name) return 0;
  LONG number = 0;
  switch (ModelIndexFindRuleName(state, kind, name, length, &number)) {
    case kIndexFound: return number;
    case kIndexAbsent: return 0;
    case kIndexUnknown: break;
  }
  for (const ModelRuleName* entry = state->ruleNames[kind]; entry; entry = entry->next) {
    if (strlen(entry->name) == length && memcmp(entry->name, name, length) == 0)
      return entry->number;
  }
  return 0;
}

WORD ModelResolveRuleReference(const ModelParseState* state, int kind, const char* token,
                               DWORD length) {
  // AlertAction comes before Alert, which is its prefix.
  static const char* const kPrefixes[kModelRuleKinds] = {"Judge", "Item", "Action",
                                                         "Transact", "AlertAction", "Alert"};
  for (int k = 0; k < kModelRuleKinds; ++k) {
    size_t n = strlen(kPrefixes[k]);
    if (length >= n && memcmp(token, kPrefixes[k], n) == 0) {
      if (k != kind) return 0;
      DWORD number = 0;
      for (DWORD i = 0; i < length; ++i) {
        if (token[i] >= '0' && token[i] <= '9') number = number * 10 + static_cast<DWORD>(token[i] - '0');
        if (number > 0xFFFF) return 0;  // no rule carries such a number
      }
      return static_cast<WORD>(number);
    }
  }
  if (length >= 4 && memcmp(token, "NULL", 4) == 0) return 0;
  return static_cast<WORD>(ModelFindRuleName(state, kind, token, length));
}

ModelItemDescriptor** ModelHeaderSlot(ModelImageHeader* header, WORD itemId) {
  if (!header) return nullptr;
  if (itemId >= 1 && itemId <= 696) return &header->slotsLow[itemId - 1];
  if (itemId >= 697 && itemId <= 1543) return &header->slotsHigh[itemId - 697];
  if (itemId >= 10001 && itemId <= 10434) return &header->slotsExt[itemId - 10001];
  return nullptr;
}

LONG ModelDescriptorDefault(const ModelItemDescriptor* d) {
  if (!d || !d->values) return 0;
  switch (d->type & 0xFF) {
    case kModelTypePickOne: {
      // Every list record starts with its link and value id.
      const ListValueRecord* entry = static_cast<const ListValueRecord*>(d->values);
      for (WORD i = 0; entry && i < d->defaultValue; ++i) entry = entry->next;
      return entry ? entry->valueId : 0;
    }
    case kModelTypeBoolean:
      return static_cast<const BooleanValueRecord*>(d->values)->defaultValue;
    case kModelTypeNumeric:
      return static_cast<const NumericValueRecord*>(d->values)->defaultValue;
    case kModelTypeString:
      return static_cast<const StringValueRecord*>(d->values)->defaultValue;
    default:
      return 0;
  }
}

LONG ModelImageGetItemDefault(const ModelImageHeader* header, WORD itemId) {
  if (!header || itemId == 0) return 0;
  ModelItemDescriptor* const* slot = ModelHeaderSlot(const_cast<ModelImageHeader*>(header), itemId);
  if (slot && *slot) return ModelDescriptorDefault(*slot);
  for (const ModelItemDescriptor* d = header->descriptors; d; d = d->next) {
    if (d->itemId == itemId) return ModelDescriptorDefault(d);
  }
  return 0;
}

ModelCursor ModelValueCursor(const ModelParseState* state, const ModelStatementReader* s) {
  return ModelCursorOf(s->value.text, s->value.length, state->codePage);
}

int ModelOnFileVersion(ModelParseState* state, ModelStatementReader* s) {
  memset(state->header->fileVersion, 0, sizeof(state->header->fileVersion));
  StrAnsiToWide(state->header->fileVersion, s->value.text, 15);
  return 1;
}

int ModelOnUiResDllName(ModelParseState* state, ModelStatementReader* s) {
  return OnDllName(state, s, &state->header->uiResDllName);
}

int ModelOnExcDepDllName(ModelParseState* state, ModelStatementReader* s) {
  return OnDllName(state, s, &state->header->excDepDllName);
}
