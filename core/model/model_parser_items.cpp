// Item blocks of a model description: OpenUI/CloseUI, option entries, defaults and the value
// records of papers, trays, font tables, numeric and string items.
#include <string.h>

#include "core/model/model_parser_handlers.h"
#include "core/model/model_parser_index.h"
#include "core/model/model_parser_scan.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"

namespace {

struct TypeName {
  const char* name;
  WORD type;
};

const TypeName kTypeNames[] = {
    {"PickOne", kModelTypePickOne},   {"PickMany", kModelTypePickMany},
    {"Boolean", kModelTypeBoolean},   {"Numeric", kModelTypeNumeric},
    {"String", kModelTypeString},     {"PickPage", kModelTypePickPage},
    {"PickSlot", kModelTypePickSlot}, {"FontTbl", kModelTypeFontTbl},
    {"Identity", kModelTypeIdentity}, {"TypeUnknown", kModelTypeUnknown},
};

struct NamedNumber {
  const char* name;
  WORD value;
};

const NamedNumber kCharTypes[] = {
    {"MultiByte", kModelCharMultiByte}, {"ASCII", kModelCharAscii}, {"Numeric", kModelCharNumeric},
    {"Capital", kModelCharCapital},     {"Small", kModelCharSmall},
};

const NamedNumber kStringFlags[] = {
    {"Password", kModelStringPassword},
    {"ShowCapital", kModelStringShowCapital},
    {"ShowSmall", kModelStringShowSmall},
};

WORD LookupNamed(const NamedNumber* table, size_t count, const ModelSpan& name, WORD fallback) {
  for (size_t i = 0; i < count; ++i) {
    if (ModelSpanIs(name, table[i].name)) return table[i].value;
  }
  return fallback;
}

WORD BaseType(const ModelItemDescriptor* d) { return static_cast<WORD>(d->type & ~kModelTypeFlags); }

bool IsIndexedList(WORD type) { return (type & 0x0001) != 0; }
bool IsListType(WORD type) {
  ModelValueShape shape = ModelValueShapeOf(type);
  return shape >= kModelShapeList && shape <= kModelShapeFontTable;
}

// The lookups below ask the parse index first, so that a long description stays linear;
// without an answer from it they walk their lists.
ModelItemDescriptor* FirstBySymbol(ModelParseState* state, WORD symbol) {
  ModelItemDescriptor* found = nullptr;
  if (ModelIndexFirstBySymbol(state, symbol, &found) != kIndexUnknown) return found;
  for (ModelItemDescriptor* d = state->header->descriptors; d; d = d->next) {
    if (d->symbolId == symbol) return d;
  }
  return nullptr;
}

ModelItemDescriptor* FirstBySymbolVariant(ModelParseState* state, WORD symbol, WORD variant) {
  ModelItemDescriptor* found = nullptr;
  if (ModelIndexFirstBySymbolVariant(state, symbol, variant, &found) != kIndexUnknown) return found;
  for (ModelItemDescriptor* d = state->header->descriptors; d; d = d->next) {
    if (d->symbolId == symbol && d->variant == variant) return d;
  }
  return nullptr;
}

// The entry of a value in a list and its 0-based position; every list record begins with its
// link and value id.
ListValueRecord* FindEntry(ModelParseState* state, void* values, WORD valueId, DWORD* position = nullptr) {
  if (!values) return nullptr;
  ListValueRecord* found = nullptr;
  if (ModelIndexListFind(state, values, valueId, &found, position) != kIndexUnknown) return found;
  DWORD index = 0;
  for (ListValueRecord* e = static_cast<ListValueRecord*>(values); e; e = e->next, ++index) {
    if (e->valueId == valueId) {
      if (position) *position = index;
      return e;
    }
  }
  return nullptr;
}

DWORD ListLength(ModelParseState* state, const void* values) {
  if (!values) return 0;
  ListValueRecord* tail = nullptr;
  DWORD n = 0;
  if (ModelIndexListTail(state, values, &tail, &n) == kIndexFound) return n;
  n = 0;
  for (const ListValueRecord* e = static_cast<const ListValueRecord*>(values); e; e = e->next) ++n;
  return n;
}

DWORD EntrySize(WORD type) {
  switch (ModelValueShapeOf(type)) {
    case kModelShapePage: return sizeof(PageValueRecord);
    case kModelShapeFontTable: return sizeof(FontTableValueRecord);
    case kModelShapeSlot: return sizeof(SlotValueRecord);
    default: return sizeof(ListValueRecord);
  }
}

// Appends a value entry unless the value is already listed (the first entry stays).
void AddListEntry(ModelParseState* state, ModelItemDescriptor* d, WORD valueId, char* command) {
  ListValueRecord* head = static_cast<ListValueRecord*>(d->values);
  if (FindEntry(state, head, valueId)) return;
  ListValueRecord* last = nullptr;
  if (head && ModelIndexListTail(state, head, &last, nullptr) != kIndexFound) {
    last = head;
    while (last->next) last = last->next;
  }
  ListValueRecord* entry = static_cast<ListValueRecord*>(ModelParseAlloc(state, EntrySize(BaseType(d))));
  if (!entry) return;
  entry->valueId = valueId;
  entry->command = command;
  if (last)
    last->next = entry;
  else
    d->values = head = entry;
  ModelIndexNoteListEntry(state, head, entry);
}

template <typename Record>
Record* EnsureRecord(ModelParseState* state, ModelItemDescriptor* d) {
  if (!d->values) d->values = ModelParseAlloc(state, sizeof(Record));
  return static_cast<Record*>(d->values);
}

char* CommandOfValue(ModelParseState* state, ModelStatementReader* s) {
  if (s->value.length == 0) return nullptr;
  ModelCursor cur = ModelValueCursor(state, s);
  return ModelExtractCommandText(state, &cur, nullptr);
}

// Reads the opening of "IDList {": TRUE when the list's brace was found.
bool OpenIdList(ModelCursor* cur) {
  ModelSpan word;
  char ending = ModelNextWord(cur, &word);
  if (!ModelSpanIs(word, "IDList")) return false;
  if (ending == '{') return true;
  ending = ModelNextWord(cur, &word);
  return word.length == 0 && ending == '{';
}

// Expects the '}' that closes a brace pair.
bool ClosePair(ModelCursor* cur) {
  ModelSpan word;
  char ending = ModelNextWord(cur, &word);
  return word.length == 0 && ending == '}';
}

// The value entry that word 2 names in the open item's list; NULL when the item is not open,
// has another type, or the name is unknown or not listed.
ListValueRecord* NamedEntry(ModelParseState* state, ModelStatementReader* s, WORD type) {
  ModelItemDescriptor* d = state->openBase;
  if (!d || BaseType(d) != type) return nullptr;
  ModelSpan name = {s->word2.text, s->word2.length};
  const ValueSymbol* value = ModelFindValueSymbol(name);
  return value ? FindEntry(state, d->values, value->logical) : nullptr;
}

// Reads up to max numbers after the next double quote; stops at the closing quote.
int QuotedNumbers(ModelCursor* cur, LONG* numbers, int max) {
  while (cur->p < cur->end && *cur->p != '"') ++cur->p;
  if (cur->p >= cur->end) return 0;
  ++cur->p;
  int n = 0;
  while (n < max) {
    ModelSkipSpace(cur);
    if (cur->p >= cur->end || *cur->p == '"') break;
    if (!ModelNextNumber(cur, &numbers[n])) break;
    ++n;
  }
  return n;
}

WORD ParseTypeWord(ModelCursor* cur, ModelSpan* identityOf) {
  WORD type = 0;
  identityOf->length = 0;
  for (int part = 0; part < 2; ++part) {
    ModelSkipSpace(cur);
    const char* start = cur->p;
    while (cur->p < cur->end && *cur->p != '|' &&
           !ModelCharIs(static_cast<BYTE>(*cur->p), kModelCharBlank | kModelCharLineEnd))
      ++cur->p;
    ModelSpan name = {start, static_cast<DWORD>(cur->p - start)};
    WORD found = kModelTypePickOne;
    for (const TypeName& t : kTypeNames) {
      if (ModelSpanIs(name, t.name)) found = t.type;
    }
    type |= found;
    ModelSkipSpace(cur);
    if (cur->p >= cur->end || *cur->p != '|') break;
    ++cur->p;
  }
  if (type & kModelTypeIdentity) {
    ModelSkipSpace(cur);
    if (cur->p < cur->end && *cur->p == '*') {
      ++cur->p;
      const char* start = cur->p;
      while (cur->p < cur->end && !ModelCharIs(static_cast<BYTE>(*cur->p), kModelCharBlank | kModelCharLineEnd))
        ++cur->p;
      *identityOf = {start, static_cast<DWORD>(cur->p - start)};
    }
  }
  return type;
}

}  // namespace

int ModelOnOpenUi(ModelParseState* state, ModelStatementReader* s) {
  if (state->openName) {
    ModelNoteDiagnostic(state, "an item block is already open (missing CloseUI)");
    return 0;
  }
  if (s->word1.length < 2 || s->word1.text[0] != '*') {
    ModelNoteDiagnostic(state, "no item name");
    return 0;
  }
  ModelSpan itemName = {s->word1.text + 1, s->word1.length - 1};
  const SymbolEntry* symbol = ModelFindSymbol(itemName);
  if (!symbol) {
    ModelNoteDiagnostic(state, "unknown item name");
    return 0;
  }

  char* name = static_cast<char*>(ModelParseAlloc(state, itemName.length + 1));
  ModelItemDescriptor* d =
      static_cast<ModelItemDescriptor*>(ModelParseAlloc(state, sizeof(ModelItemDescriptor)));
  if (!name || !d) return 0;
  memcpy(name, itemName.text, itemName.length);

  ModelItemDescriptor* base = FirstBySymbol(state, symbol->symbolId);
  if (s->word2.length != 0 && base) {
    // A variant shares its base's value records and command pair as they are now.
    *d = *base;
    d->next = nullptr;
    d->variant = static_cast<WORD>(ModelParseNumber(s->word2.text));
  } else {
    d->symbolId = symbol->symbolId;
    d->itemId = symbol->itemId;
    ModelCursor cur = ModelValueCursor(state, s);
    ModelSpan identityOf;
    d->type = ParseTypeWord(&cur, &identityOf);
    if ((d->type & kModelTypeIdentity) && identityOf.length) {
      const SymbolEntry* mirrored = ModelFindSymbol(identityOf);
      if (mirrored) {
        d->variant = mirrored->symbolId;
        const ModelItemDescriptor* other = FirstBySymbol(state, mirrored->symbolId);
        if (other) {
          // The mirror shares the mirrored item's records, which all have the shape of that
          // item's type. A type of its own that names another shape (PickPage over a PickOne)
          // would make its entries and value statements write records of that shape into the
          // shared list, so then the mirrored item's type takes the place of its own.
          WORD own = d->type;
          d->type |= other->type;
          if (BaseType(d) != BaseType(other))
            d->type = static_cast<WORD>((own & kModelTypeFlags) | other->type);
          d->defaultValue = other->defaultValue;
          d->values = other->values;
        }
      }
    }
    ModelItemDescriptor** slot = ModelHeaderSlot(state->header, d->itemId);
    if (slot) *slot = d;
  }

  if (state->lastDescriptor)
    state->lastDescriptor->next = d;
  else
    state->header->descriptors = d;
  state->lastDescriptor = d;
  ModelIndexNoteDescriptor(state, d);

  state->openName = name;
  state->openSymbol = d->symbolId;
  state->openVariant = d->variant;
  state->openBase = FirstBySymbol(state, d->symbolId);
  state->openDescriptor = FirstBySymbolVariant(state, d->symbolId, d->variant);
  return 1;
}

BOOL ModelCloseOpenItem(ModelParseState* state) {
  if (!state || !state->openName) return FALSE;
  ModelItemDescriptor* d = state->openDescriptor;
  if (d && IsIndexedList(BaseType(d))) {
    DWORD index = 0;
    if (FindEntry(state, d->values, d->defaultValue, &index))
      d->defaultValue = static_cast<WORD>(index);
    else if (d->variant == 0 || d->defaultValue >= ListLength(state, d->values))
      d->defaultValue = 0;
    // else: a variant without its own Default keeps the index inherited from its base
  }
  state->openName = nullptr;
  state->openSymbol = 0;
  state->openVariant = 0;
  state->openBase = nullptr;
  state->openDescriptor = nullptr;
  state->keywordMemo = 0;
  return TRUE;
}

int ModelOnCloseUi(ModelParseState* state, ModelStatementReader* s) {
  if (ModelCloseOpenItem(state)) return 1;
  ModelNoteDiagnostic(state, "no item block is open");
  return 0;
}

void ModelOnOptionEntry(ModelParseState* state, ModelStatementReader* s) {
  ModelItemDescriptor* d = state->openBase;
  if (!d) return;
  WORD type = BaseType(d);
  if (s->word1.length != 0) {
    if (IsListType(type)) {
      ModelSpan name = {s->word1.text, s->word1.length};
      const ValueSymbol* value = ModelFindValueSymbol(name);
      if (value) AddListEntry(state, d, value->logical, CommandOfValue(state, s));
      else ModelNoteDiagnostic(state, "unknown value name");
    } else if (ModelValueShapeOf(type) == kModelShapeBoolean) {
      BooleanValueRecord* record = EnsureRecord<BooleanValueRecord>(state, d);
      if (record && s->value.length != 0) {
        char* text = CommandOfValue(state, s);
        if (strcmp(s->word1.text, "True") == 0)
          record->trueCommand = text;
        else
          record->falseCommand = text;
      }
    }
    return;
  }
  if (!IsListType(type)) return;
  ModelCursor cur = ModelValueCursor(state, s);
  if (!OpenIdList(&cur)) return;
  for (;;) {
    ModelSpan word;
    char ending = ModelNextWord(&cur, &word);
    if (word.length != 0) {
      const ValueSymbol* value = ModelFindValueSymbol(word);
      if (!value) {
        ModelNoteDiagnostic(state, "unknown value name: the rest of the list is dropped");
        return;
      }
      AddListEntry(state, d, value->logical, nullptr);
      if (ending != '}') continue;
      return;
    }
    if (ending != '{') return;  // '}' closes the list; anything else ends it too
    ending = ModelNextWord(&cur, &word);
    const ValueSymbol* value = ModelFindValueSymbol(word);
    if (!value) {
      ModelNoteDiagnostic(state, "unknown value name: the rest of the list is dropped");
      return;
    }
    if (ending == '}') {
      AddListEntry(state, d, value->logical, nullptr);
      continue;
    }
    char* command = ModelExtractCommandText(state, &cur, nullptr);
    AddListEntry(state, d, value->logical, command);
    if (!ClosePair(&cur)) return;
  }
}

void ModelOnDefault(ModelParseState* state, ModelStatementReader* s) {
  ModelItemDescriptor* d = state->openDescriptor;
  if (!d) return;
  ModelCursor cur = ModelValueCursor(state, s);
  const char* start = cur.p;
  while (cur.p < cur.end && !ModelCharIs(static_cast<BYTE>(*cur.p), kModelCharBlank | kModelCharLineEnd))
    ++cur.p;
  ModelSpan word = {start, static_cast<DWORD>(cur.p - start)};
  WORD type = BaseType(d);
  if (IsIndexedList(type)) {
    const ValueSymbol* value = ModelFindValueSymbol(word);
    if (value) d->defaultValue = value->logical;
    else ModelNoteDiagnostic(state, "unknown default value name");
  } else if (type == kModelTypeBoolean) {
    BooleanValueRecord* record = EnsureRecord<BooleanValueRecord>(state, d);
    if (record) record->defaultValue = ModelSpanIs(word, "True") ? 1 : 0;
  } else if (type == kModelTypeString) {
    const ValueSymbol* value = ModelFindValueSymbol(word);
    if (!value) {
      ModelNoteDiagnostic(state, "unknown default value name");
      return;
    }
    StringValueRecord* record = EnsureRecord<StringValueRecord>(state, d);
    if (record) record->defaultValue = value->logical;
  }
}

int ModelOnNumericValue(ModelParseState* state, ModelStatementReader* s) {
  ModelItemDescriptor* d = state->openBase;
  if (!d || ModelValueShapeOf(d->type) != kModelShapeNumeric) return 0;
  NumericValueRecord* record = EnsureRecord<NumericValueRecord>(state, d);
  if (!record) return 1;
  memset(record, 0, sizeof(*record));
  ModelCursor cur = ModelValueCursor(state, s);
  ModelSkipSpace(&cur);
  LONG first = 0;
  if (cur.p < cur.end && *cur.p != '"' && ModelNextNumber(&cur, &first))
    record->numbers[0] = static_cast<WORD>(first);
  LONG n[8] = {};
  int count = QuotedNumbers(&cur, n, 8);
  // Quoted order: first, default, minimum, maximum, then the fifth to eighth numbers.
  if (count > 0) record->numbers[1] = static_cast<WORD>(n[0]);
  if (count > 1) record->defaultValue = n[1];
  if (count > 2) record->minimum = n[2];
  if (count > 3) record->maximum = n[3];
  for (int i = 4; i < count; ++i) record->numbers[i - 2] = static_cast<WORD>(n[i]);
  return 1;
}

int ModelOnStringValue(ModelParseState* state, ModelStatementReader* s) {
  ModelItemDescriptor* d = state->openBase;
  if (!d || ModelValueShapeOf(d->type) != kModelShapeString) return 0;
  StringValueRecord* record = EnsureRecord<StringValueRecord>(state, d);
  if (!record) return 1;
  ModelCursor cur = ModelValueCursor(state, s);
  LONG length = 0;
  ModelNextNumber(&cur, &length);
  ModelSpan word;
  char ending = ModelNextWord(&cur, &word);
  record->maxLength = static_cast<WORD>(length);
  record->charType = LookupNamed(kCharTypes, sizeof(kCharTypes) / sizeof(kCharTypes[0]), word,
                                 kModelCharMultiByte);
  record->flag = 0;
  if (ending != '|') {
    ModelSkipSpace(&cur);
    if (cur.p < cur.end && *cur.p == '|') {
      ++cur.p;
      ending = '|';
    }
  }
  if (ending == '|') {
    ModelNextWord(&cur, &word);
    record->flag = LookupNamed(kStringFlags, sizeof(kStringFlags) / sizeof(kStringFlags[0]), word, 0);
  }
  return 1;
}

int ModelOnPageValue(ModelParseState* state, ModelStatementReader* s) {
  PageValueRecord* paper =
      reinterpret_cast<PageValueRecord*>(NamedEntry(state, s, kModelTypePickPage));
  if (!paper) return 0;
  ModelCursor cur = ModelValueCursor(state, s);
  PaperGeometryRecord g = {};
  ModelSpan word;

  // Resolution and orientation are kept as the stored values (dpi, the DEVMODE orientation
  // code) that the geometry lookups compare with the settings; a value name gives its stored
  // value, since the logical value of a list item is a display string id.
  ModelNextWord(&cur, &word);  // resolution: a value name or a nonzero number
  if (const ValueSymbol* v = ModelFindValueSymbol(word)) {
    g.resolution = static_cast<WORD>(v->stored);
  } else {
    ModelCursor number = ModelCursorOf(word.text, word.length, cur.codePage);
    LONG dpi = 0;
    if (!ModelNextNumber(&number, &dpi) || number.p != number.end || dpi <= 0 || dpi > 0xFFFF)
      return 0;
    g.resolution = static_cast<WORD>(dpi);
  }
  ModelNextWord(&cur, &word);
  const ValueSymbol* orientation = ModelFindValueSymbol(word);
  if (!orientation) return 0;
  g.orientation = static_cast<WORD>(orientation->stored);

  ModelSkipSpace(&cur);
  if (cur.p < cur.end && *cur.p != '"') {
    ModelNextWord(&cur, &word);
    const SymbolEntry* item = ModelFindSymbol(word);
    if (!item) return 0;
    g.conditionSymbol = item->symbolId;
    ModelNextWord(&cur, &word);
    if (ModelSpanIs(word, "True")) {
      g.conditionValue = 1;
    } else if (ModelSpanIs(word, "False")) {
      g.conditionValue = 0;
    } else {
      const ValueSymbol* v = ModelFindValueSymbol(word);
      if (!v) return 0;
      g.conditionValue = v->logical;
    }
  }
  LONG n[6] = {};
  if (QuotedNumbers(&cur, n, 6) < 4) return 0;
  g.x = n[0];
  g.y = n[1];
  g.width = n[2];
  g.height = n[3];
  g.pageWidth = n[4];
  g.pageHeight = n[5];

  PaperGeometryRecord* record =
      static_cast<PaperGeometryRecord*>(ModelParseAlloc(state, sizeof(PaperGeometryRecord)));
  if (!record) return 1;
  *record = g;
  PaperGeometryRecord* last = nullptr;
  if (ModelIndexGeometryTail(state, paper, &last) != kIndexFound) last = paper->geometry;
  while (last && last->next) last = last->next;
  if (last)
    last->next = record;
  else
    paper->geometry = record;
  ModelIndexNoteGeometry(state, paper, record);
  return 1;
}

int ModelOnPageMmValue(ModelParseState* state, ModelStatementReader* s) {
  PageValueRecord* paper =
      reinterpret_cast<PageValueRecord*>(NamedEntry(state, s, kModelTypePickPage));
  if (!paper) return 0;
  ModelCursor cur = ModelValueCursor(state, s);
  LONG n[2] = {};
  int count = QuotedNumbers(&cur, n, 2);
  if (count < 1) return 0;
  paper->width = n[0];
  paper->length = count > 1 ? n[1] : 0;
  return 1;
}

int ModelOnSlotPaper(ModelParseState* state, ModelStatementReader* s) {
  SlotValueRecord* tray = reinterpret_cast<SlotValueRecord*>(NamedEntry(state, s, kModelTypePickSlot));
  if (!tray) return 0;
  ModelCursor cur = ModelValueCursor(state, s);
  ModelSpan word;
  char ending = ModelNextWord(&cur, &word);
  if (word.length != 0 || ending != '{') return 0;
  // Two passes: count and check every name, then fill; one unknown paper drops the list.
  ModelCursor start = cur;
  LONG count = 0;
  for (;;) {
    ending = ModelNextWord(&cur, &word);
    if (word.length != 0) {
      if (!ModelFindValueSymbol(word)) return 0;
      ++count;
    }
    if (ending == '}') break;
    if (ending == 0 || (word.length == 0 && ending != '}')) return 0;
  }
  WORD* papers = count ? static_cast<WORD*>(ModelParseAlloc(state, count * sizeof(WORD))) : nullptr;
  if (count && !papers) return 1;
  cur = start;
  for (LONG i = 0; i < count;) {
    ModelNextWord(&cur, &word);
    if (word.length != 0) papers[i++] = ModelFindValueSymbol(word)->logical;
  }
  tray->paperCount = count;
  tray->papers = papers;
  return 1;
}

int ModelOnOptionCommand(ModelParseState* state, ModelStatementReader* s) {
  ModelItemDescriptor* d = state->openDescriptor;
  if (!d) return 0;
  ModelCursor cur = ModelValueCursor(state, s);
  ModelSpan word;
  char ending = ModelNextWord(&cur, &word);
  if (word.length != 0 || ending != '{') return 0;
  OptionCommandPair* pair =
      static_cast<OptionCommandPair*>(ModelParseAlloc(state, sizeof(OptionCommandPair)));
  if (!pair) return 1;
  ModelSkipSpace(&cur);
  if (cur.p < cur.end && *cur.p == '"') pair->first = ModelExtractCommandText(state, &cur, nullptr);
  ModelSkipSpace(&cur);
  if (cur.p < cur.end && *cur.p == '"') pair->second = ModelExtractCommandText(state, &cur, nullptr);
  d->commands = pair;
  return 1;
}

int ModelOnTtfs(ModelParseState* state, ModelStatementReader* s) {
  FontTableValueRecord* table =
      reinterpret_cast<FontTableValueRecord*>(NamedEntry(state, s, kModelTypeFontTbl));
  if (!table) return 0;
  ModelCursor cur = ModelValueCursor(state, s);
  if (!OpenIdList(&cur)) return 0;
  // Pairs are collected in a growing pair of arrays owned by the parse state.
  LONG count = 0;
  LONG capacity = 0;
  char** faces = nullptr;
  char** devices = nullptr;
  for (;;) {
    ModelSpan word;
    char ending = ModelNextWord(&cur, &word);
    if (word.length != 0 || ending != '{') break;
    ModelSkipSpace(&cur);
    if (cur.p >= cur.end || *cur.p != '"') break;
    char* face = ModelExtractCommandText(state, &cur, nullptr);
    ModelSkipSpace(&cur);
    if (cur.p >= cur.end || *cur.p != '"') break;
    char* device = ModelExtractCommandText(state, &cur, nullptr);
    if (!ClosePair(&cur)) break;
    if (count == capacity) {
      LONG grown = capacity ? capacity * 2 : 8;
      char** f = static_cast<char**>(ModelParseAlloc(state, grown * sizeof(char*)));
      char** dv = static_cast<char**>(ModelParseAlloc(state, grown * sizeof(char*)));
      if (!f || !dv) break;
      if (count) {
        memcpy(f, faces, count * sizeof(char*));
        memcpy(dv, devices, count * sizeof(char*));
      }
      faces = f;
      devices = dv;
      capacity = grown;
    }
    faces[count] = face;
    devices[count] = device;
    ++count;
  }
  table->pairCount = count;
  table->faces = count ? faces : nullptr;
  table->deviceFonts = count ? devices : nullptr;
  return 1;
}
