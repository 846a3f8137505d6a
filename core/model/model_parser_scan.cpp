// Scanning inside statement values.
#include "core/model/model_parser_scan.h"

#include <string.h>

#include <vector>

#include "core/model/parse_arena.h"
#include "core/model/model_reader.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"

namespace {

bool IsSpace(char c) { return ModelCharIs(static_cast<BYTE>(c), kModelCharBlank | kModelCharLineEnd); }

bool IsLead(const ModelCursor* cur, char c) {
  BYTE b = static_cast<BYTE>(c);
  return b >= 0x80 && cur->codePage != 0 && IsDBCSLeadByteEx(cur->codePage, b);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Longest symbol or value name we look up; longer texts cannot be names of our tables.
constexpr DWORD kMaxName = 127;

DWORD HashName(const char* text, DWORD length) {
  DWORD h = 2166136261u;
  for (DWORD i = 0; i < length; ++i) h = (h ^ static_cast<BYTE>(text[i])) * 16777619u;
  return h;
}

// The names of a static table in an open-addressed table by their hash, built once per
// process: a lookup hashes the name's span once and compares one or two rows. Of equal names
// the first row of the table is kept, the row the table's own scan would find first.
template <typename Entry>
class NameTable {
 public:
  explicit NameTable(const std::vector<const Entry*>& rows) {
    DWORD size = 64;
    while (size < rows.size() * 2) size *= 2;
    slots_.assign(size, Slot{nullptr, 0, 0});
    mask_ = size - 1;
    for (const Entry* row : rows) {
      const DWORD length = static_cast<DWORD>(strlen(row->name));
      if (length == 0 || length > kMaxName || Find(row->name, length)) continue;
      const DWORD hash = HashName(row->name, length);
      DWORD i = hash & mask_;
      while (slots_[i].row) i = (i + 1) & mask_;
      slots_[i] = {row, hash, length};
    }
  }
  const Entry* Find(const char* text, DWORD length) const {
    if (length == 0 || length > kMaxName) return nullptr;
    const DWORD hash = HashName(text, length);
    for (DWORD i = hash & mask_; slots_[i].row; i = (i + 1) & mask_) {
      const Slot& slot = slots_[i];
      if (slot.hash == hash && slot.length == length && memcmp(slot.row->name, text, length) == 0) return slot.row;
    }
    return nullptr;
  }

 private:
  struct Slot {
    const Entry* row;
    DWORD hash;
    DWORD length;
  };
  std::vector<Slot> slots_;
  DWORD mask_ = 0;
};

const NameTable<SymbolEntry>& SymbolsByName() {
  static const NameTable<SymbolEntry> table = [] {
    std::vector<const SymbolEntry*> out;
    for (int i = 0, n = TblSymbolCount(); i < n; ++i) {
      const SymbolEntry* row = TblSymbolAt(i);
      if (row && row->symbolId != 0 && row->name) out.push_back(row);
    }
    return NameTable<SymbolEntry>(out);
  }();
  return table;
}

const NameTable<ValueSymbol>& ValueSymbolsByName() {
  static const NameTable<ValueSymbol> table = [] {
    std::vector<const ValueSymbol*> out;
    for (int i = 0, n = TblValueSymbolCount(0); i < n; ++i) {
      const ValueSymbol* row = TblValueSymbolAt(0, i);
      if (row && row->name) out.push_back(row);
    }
    return NameTable<ValueSymbol>(out);
  }();
  return table;
}

}  // namespace

ModelCursor ModelCursorOf(const char* text, DWORD length, UINT codePage) {
  ModelCursor cur;
  cur.p = text;
  cur.end = text ? text + length : text;
  cur.codePage = codePage;
  return cur;
}

void ModelSkipSpace(ModelCursor* cur) {
  while (cur->p < cur->end && IsSpace(*cur->p)) ++cur->p;
}

char ModelNextWord(ModelCursor* cur, ModelSpan* word) {
  ModelSkipSpace(cur);
  if (cur->p < cur->end && *cur->p == '*') ++cur->p;
  word->text = cur->p;
  while (cur->p < cur->end) {
    char c = *cur->p;
    if (IsLead(cur, c)) {
      cur->p += (cur->end - cur->p >= 2) ? 2 : 1;
      continue;
    }
    if (ModelCharIs(static_cast<BYTE>(c), kModelCharBlank | kModelCharLineEnd | kModelCharSeparator))
      break;
    ++cur->p;
  }
  word->length = static_cast<DWORD>(cur->p - word->text);
  if (cur->p >= cur->end) return 0;
  char ending = *cur->p;
  if (ending != '"') ++cur->p;
  return ending;
}

BOOL ModelNextNumber(ModelCursor* cur, LONG* value) {
  ModelSkipSpace(cur);
  bool negative = false;
  if (cur->p < cur->end && *cur->p == '-') {
    negative = true;
    ++cur->p;
  }
  DWORD number = 0;  // unsigned so that an overlong run wraps instead of overflowing
  bool any = false;
  while (cur->p < cur->end && *cur->p >= '0' && *cur->p <= '9') {
    number = number * 10 + static_cast<DWORD>(*cur->p - '0');
    any = true;
    ++cur->p;
  }
  if (value) *value = static_cast<LONG>(negative ? 0u - number : number);
  return any ? TRUE : FALSE;
}

DWORD ModelDecodeCommandText(ModelCursor* cur, char* out) {
  while (cur->p < cur->end && *cur->p != '"') ++cur->p;
  if (cur->p >= cur->end) return 0;
  ++cur->p;
  DWORD length = 0;
  bool hex = false;
  int pending = -1;  // high nibble of a hexadecimal pair
  while (cur->p < cur->end) {
    char c = *cur->p++;
    if (c == '"') break;
    if (ModelCharIs(static_cast<BYTE>(c), kModelCharLineEnd)) continue;
    if (hex) {
      if (c == '>') {
        hex = false;
        continue;
      }
      int v = HexValue(c);
      if (v < 0) {
        pending = -1;
      } else if (pending < 0) {
        pending = v;
      } else {
        if (out) out[length] = static_cast<char>(pending * 16 + v);
        ++length;
        pending = -1;
      }
      continue;
    }
    if (c == '<') {
      hex = true;
      pending = -1;
      continue;
    }
    if (c == '%') {
      if (cur->p >= cur->end) break;
      c = *cur->p++;
    } else if (IsLead(cur, c) && cur->p < cur->end) {
      if (out) out[length] = c;
      ++length;
      c = *cur->p++;
    }
    if (out) out[length] = c;
    ++length;
  }
  return length;
}

char* ModelExtractCommandText(ModelParseState* state, ModelCursor* cur, DWORD* length) {
  ModelCursor measure = *cur;
  DWORD n = ModelDecodeCommandText(&measure, nullptr);
  if (length) *length = n;
  if (n == 0) {
    *cur = measure;
    return nullptr;
  }
  char* text = static_cast<char*>(ModelParseAlloc(state, n + 1));
  if (!text) {
    *cur = measure;
    return nullptr;
  }
  ModelDecodeCommandText(cur, text);
  return text;
}

LONG ModelParseNumber(const char* word) {
  DWORD number = 0;
  bool negative = false;
  for (const char* p = word; p && *p && *p != '=' && !ModelCharIs(static_cast<BYTE>(*p), kModelCharBlank); ++p) {
    if (*p >= '0' && *p <= '9')
      number = number * 10 + static_cast<DWORD>(*p - '0');
    else if (*p == '-')
      negative = true;
  }
  return static_cast<LONG>(negative ? 0u - number : number);
}

bool ModelSpanIs(const ModelSpan& span, const char* text) {
  size_t n = strlen(text);
  return span.length == n && memcmp(span.text, text, n) == 0;
}

// A description names thousands of symbols; each name is found through a hash of its span
// instead of a scan of the whole table.
const SymbolEntry* ModelFindSymbol(const ModelSpan& name) { return SymbolsByName().Find(name.text, name.length); }

const ValueSymbol* ModelFindValueSymbol(const ModelSpan& name) {
  return ValueSymbolsByName().Find(name.text, name.length);
}
