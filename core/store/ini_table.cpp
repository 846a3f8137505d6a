// The one-pass settings ini reader.
#include "core/store/ini_table.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/store/ini_text.h"

// One key line of the section in the pool: its trimmed name, then all of the line after its
// '=', each followed by a zero. The ini calls' value is [trimFirst, trimEnd) of that text, the
// stored text its first storedChars characters.
struct IniTableEntry {
  DWORD name, nameChars;
  DWORD value, trimFirst, trimEnd, storedChars;
  bool ascii;  // the name is plain ASCII: found through the hash slots
  bool first;  // the first ASCII name of its fold: the one the slots find
  DWORD hash;  // of an ASCII name
};

struct IniTableSection {
  WCHAR* pool;
  DWORD poolChars;
  IniTableEntry* entries;
  DWORD count, capacity;
  DWORD* slots;  // entry index + 1 of the first ASCII name of each fold, 0 for none
  DWORD slotMask;
  // The entry after the last one found: keys are mostly asked in the order the writer wrote
  // them, so that entry is tried first.
  mutable DWORD next;
};

struct IniTable {
  char* bytes;
  DWORD count;
  bool wide;         // UTF-16 after a byte-order mark
  bool asciiSame;    // the code page reads bytes 1-127 as the same characters
  IniTableSection section;
  WCHAR* sectionName;  // the name section was found for (null: none yet)
  bool sectionFound;
};

namespace {

bool IsBlank(WCHAR c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; }
WCHAR FoldAscii(WCHAR c) { return c >= u'A' && c <= u'Z' ? WCHAR(c + 32) : c; }

// Names that differ only in ASCII case hash alike: bit 5 is set in every character (others
// that then meet only share a slot chain).
DWORD Mix(DWORD h, WCHAR c) { return (h ^ DWORD(c | 0x20)) * 16777619u; }
constexpr DWORD kSeed = 2166136261u;

// Inline: the line pass trims three times a line.
inline void Trim(const WCHAR* text, DWORD* first, DWORD* end) {
  while (*first < *end && IsBlank(text[*first])) ++*first;
  while (*end > *first && IsBlank(text[*end - 1])) --*end;
}

void FreeSection(IniTableSection* s) {
  MemFree(s->pool);
  MemFree(s->entries);
  MemFree(s->slots);
  memset(s, 0, sizeof *s);
}

constexpr DWORD kNoHint = 0xFFFFFFFFu;

// Walks the lines of the file in its own encoding, each decoded into the end of the pool, as the
// ini calls split them: at each line feed, one carriage return before it dropped.
class LineWalk {
 public:
  explicit LineWalk(const IniTable* t) : t_(t) {
    if (t->wide) at_ = 2;
  }
  // Decodes the next line into out (room for the line); false at the end of the file. *equals
  // is where the line's first '=' is when a plain ASCII line was widened unit for unit (found
  // in its bytes, faster than in its characters), else kNoHint.
  bool Next(WCHAR* out, DWORD* chars, DWORD* equals) {
    *chars = 0;
    *equals = kNoHint;
    if (t_->wide) {
      const DWORD units = (t_->count - 2) / 2;
      DWORD unit = (at_ - 2) / 2;
      if (unit >= units) return false;
      DWORD n = 0;
      while (unit < units) {
        const BYTE* p = reinterpret_cast<const BYTE*>(t_->bytes) + 2 + 2 * unit;
        WCHAR c = WCHAR(p[0] | (p[1] << 8));
        ++unit;
        if (c == u'\n') break;
        out[n++] = c;
      }
      at_ = 2 + 2 * unit;
      if (n && out[n - 1] == u'\r') --n;
      *chars = n;
      return true;
    }
    if (at_ >= t_->count) return false;
    const char* line = t_->bytes + at_;
    const char* nl = static_cast<const char*>(memchr(line, '\n', t_->count - at_));
    DWORD bytes = nl ? DWORD(nl - line) : t_->count - at_;
    at_ += bytes + (nl ? 1 : 0);
    if (bytes && line[bytes - 1] == '\r') --bytes;
    if (!bytes) return true;
    // Plain ASCII is widened here; a line with any other byte goes through the code page.
    BYTE high = t_->asciiSame ? 0 : 0x80;
    for (DWORD i = 0; i < bytes; ++i) {
      out[i] = WCHAR(BYTE(line[i]));
      high |= BYTE(line[i]);
    }
    if (!(high & 0x80)) {
      *chars = bytes;
      const char* eq = static_cast<const char*>(memchr(line, '=', bytes));
      *equals = eq ? DWORD(eq - line) : bytes;
    } else {
      // A line the code page cannot read reads as empty, as for the ini calls.
      int n = MultiByteToWideChar(CP_ACP, 0, line, int(bytes), out, int(bytes));
      *chars = n > 0 ? DWORD(n) : 0;
    }
    return true;
  }

 private:
  const IniTable* t_;
  DWORD at_ = 0;
};

enum class LineKind { kOther, kHeader, kKey };

// Classifies a decoded line; a header gives its name in [*name, *nameEnd), a key line its
// trimmed name and the rest of the line after its '='. equals is where the first '=' is
// (chars: none), or kNoHint.
LineKind Classify(const WCHAR* line, DWORD chars, DWORD equals, DWORD* name, DWORD* nameEnd, DWORD* value,
                  DWORD* valueEnd) {
  DWORD first = 0, end = chars;
  Trim(line, &first, &end);
  if (first == end) return LineKind::kOther;
  if (line[first] == u'[') {
    DWORD close = end;
    while (close > first + 1 && line[close - 1] != u']') --close;
    if (close > first + 1) {
      *name = first + 1;
      *nameEnd = close - 1;
      Trim(line, name, nameEnd);
      return LineKind::kHeader;
    }
  }
  DWORD eq = first;
  if (equals != kNoHint) {
    // The first '=' of the line lies past its leading blanks; one in the trailing blanks is none.
    eq = equals < end ? equals : end;
  } else {
    while (eq < end && line[eq] != u'=') ++eq;
  }
  if (eq == end) return LineKind::kOther;
  *name = first;
  *nameEnd = eq;
  Trim(line, name, nameEnd);
  *value = eq + 1;
  *valueEnd = chars;
  return LineKind::kKey;
}

// The caller's name, trimmed, as [*first, *end) of name.
void TrimmedName(LPCWSTR name, DWORD* first, DWORD* end) {
  *first = 0;
  *end = 0;
  while (name[*end]) ++*end;
  Trim(name, first, end);
}

// A name of the file (chars characters, no zero among them) names the same as the caller's.
bool SameName(const WCHAR* file, DWORD chars, const WCHAR* wanted, DWORD wantedChars) {
  if (chars != wantedChars) return false;
  DWORD equal = 0;
  while (equal < chars && file[equal] == wanted[equal] && file[equal]) ++equal;
  if (equal == chars) return true;
  bool ascii = true;
  for (DWORD i = 0; i < chars; ++i) {
    if (!file[i]) return false;
    if (file[i] >= 0x80 || wanted[i] >= 0x80) ascii = false;
  }
  if (ascii) {
    for (DWORD i = 0; i < chars; ++i)
      if (FoldAscii(file[i]) != FoldAscii(wanted[i])) return false;
    return true;
  }
  // The system's case table (lstrcmpiW) for anything else; both copies end with a zero.
  WCHAR* a = static_cast<WCHAR*>(MemAllocZero((chars + 1) * 2 * sizeof(WCHAR)));
  if (!a) return false;
  WCHAR* b = a + chars + 1;
  memcpy(a, file, chars * sizeof(WCHAR));
  memcpy(b, wanted, chars * sizeof(WCHAR));
  bool same = lstrcmpiW(a, b) == 0;
  MemFree(a);
  return same;
}

bool AddEntry(IniTableSection* s, const IniTableEntry& e) {
  if (s->count == s->capacity) {
    DWORD capacity = s->capacity ? s->capacity * 2 : 256;
    auto* grown = static_cast<IniTableEntry*>(MemAllocZero(capacity * sizeof(IniTableEntry)));
    if (!grown) return false;
    if (s->count) memcpy(grown, s->entries, s->count * sizeof(IniTableEntry));
    MemFree(s->entries);
    s->entries = grown;
    s->capacity = capacity;
  }
  s->entries[s->count++] = e;
  return true;
}

// Moves a key line's name and value to the start of its decoded text at the pool's end, each
// ended by a zero; both only move towards the start.
IniTableEntry Keep(IniTableSection* s, DWORD at, DWORD name, DWORD nameEnd, DWORD value, DWORD valueEnd) {
  WCHAR* line = s->pool + at;
  IniTableEntry e = {};
  e.name = at;
  e.nameChars = nameEnd - name;
  // Most lines are "name=value": both are where they go already.
  if (name) memmove(line, line + name, e.nameChars * sizeof(WCHAR));
  line[e.nameChars] = 0;
  e.value = at + e.nameChars + 1;
  const DWORD chars = valueEnd - value;
  WCHAR* text = s->pool + e.value;
  if (text != line + value) memmove(text, line + value, chars * sizeof(WCHAR));
  text[chars] = 0;
  e.trimFirst = 0;
  e.trimEnd = chars;
  Trim(text, &e.trimFirst, &e.trimEnd);
  // The stored text ends at the first carriage return or zero, as the settings-file writer
  // never puts either into a value.
  while (e.storedChars < chars && text[e.storedChars] != u'\r' && text[e.storedChars]) ++e.storedChars;
  WCHAR high = 0;
  DWORD h = kSeed;
  for (DWORD i = 0; i < e.nameChars; ++i) {
    high |= line[i];
    h = Mix(h, line[i]);
  }
  e.ascii = high < 0x80;
  e.hash = h;
  return e;
}

// The hash slots over the first ASCII name of each fold.
bool Index(IniTableSection* s) {
  DWORD slots = 16;
  while (slots < s->count * 2) slots *= 2;
  s->slots = static_cast<DWORD*>(MemAllocZero(slots * sizeof(DWORD)));
  if (!s->slots) return false;
  s->slotMask = slots - 1;
  for (DWORD i = 0; i < s->count; ++i) {
    const IniTableEntry& e = s->entries[i];
    if (!e.ascii) continue;
    const WCHAR* name = s->pool + e.name;
    for (DWORD slot = e.hash & s->slotMask;; slot = (slot + 1) & s->slotMask) {
      if (!s->slots[slot]) {
        s->slots[slot] = i + 1;
        s->entries[i].first = true;
        break;
      }
      const IniTableEntry& other = s->entries[s->slots[slot] - 1];
      if (other.hash == e.hash && SameName(s->pool + other.name, other.nameChars, name, e.nameChars))
        break;  // the first of a name counts
    }
  }
  return true;
}

const IniTableEntry* FindEntry(const IniTableSection* s, const WCHAR* key, DWORD chars) {
  DWORD h = kSeed;
  WCHAR high = 0;
  for (DWORD k = 0; k < chars; ++k) {
    h = Mix(h, key[k]);
    high |= key[k];
  }
  if (high >= 0x80) {
    // A name with other characters never equals a plain ASCII one: only those are compared.
    for (DWORD i = 0; i < s->count; ++i) {
      const IniTableEntry& e = s->entries[i];
      if (!e.ascii && SameName(s->pool + e.name, e.nameChars, key, chars)) return &e;
    }
    return nullptr;
  }
  for (DWORD slot = h & s->slotMask; s->slots[slot]; slot = (slot + 1) & s->slotMask) {
    const IniTableEntry& e = s->entries[s->slots[slot] - 1];
    if (e.hash == h && SameName(s->pool + e.name, e.nameChars, key, chars)) return &e;
  }
  return nullptr;
}

// The key is the entry's name unit for unit (so it has no blanks to trim either); a name that
// holds a zero is never the caller's key, which ends at its first.
bool IsName(const WCHAR* name, DWORD chars, LPCWSTR key) {
  for (DWORD i = 0; i < chars; ++i)
    if (!key[i] || key[i] != name[i]) return false;
  return key[chars] == 0;
}

// The caller's key, trimmed, in the section; null when either is absent. A key equal to the
// next entry's name, where that entry is the first of its fold, is the one the slots would
// find.
const IniTableEntry* Lookup(const IniTableSection* section, LPCWSTR key) {
  if (!section || !key) return nullptr;
  if (section->next < section->count) {
    const IniTableEntry& e = section->entries[section->next];
    if (e.first && IsName(section->pool + e.name, e.nameChars, key)) {
      ++section->next;
      return &e;
    }
  }
  DWORD first, end;
  TrimmedName(key, &first, &end);
  const IniTableEntry* found = FindEntry(section, key + first, end - first);
  if (found) section->next = static_cast<DWORD>(found - section->entries) + 1;
  return found;
}

// One pair of matching quotes around text is dropped.
void StripQuotes(const WCHAR* text, DWORD* first, DWORD* end) {
  if (*end - *first >= 2 && (text[*first] == u'"' || text[*first] == u'\'') && text[*end - 1] == text[*first]) {
    ++*first;
    --*end;
  }
}

bool SameText(const WCHAR* a, const WCHAR* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

// At most cchDestination - 1 characters of [first, end) of text, then a zero; the count stored.
DWORD CopyOut(const WCHAR* text, DWORD first, DWORD end, LPWSTR destination, DWORD cchDestination) {
  DWORD n = end - first < cchDestination ? end - first : cchDestination - 1;
  if (n) memcpy(destination, text + first, n * sizeof(WCHAR));
  destination[n] = 0;
  return n;
}

}  // namespace

IniTable* StoreIniTableFromBytes(const char* bytes, DWORD count) {
  if (!bytes && count) return nullptr;
  auto* t = static_cast<IniTable*>(MemAllocZero(sizeof(IniTable)));
  if (!t) return nullptr;
  t->bytes = static_cast<char*>(MemAllocZero(count + 1));
  if (!t->bytes) {
    MemFree(t);
    return nullptr;
  }
  if (count) memcpy(t->bytes, bytes, count);
  t->count = count;
  t->wide = count >= 2 && BYTE(bytes[0]) == 0xFF && BYTE(bytes[1]) == 0xFE;
  if (!t->wide) {
    // Both code pages the driver runs with read plain ASCII as itself; checked, not assumed.
    char ascii[127];
    WCHAR read[127] = {};
    for (int i = 0; i < 127; ++i) ascii[i] = char(i + 1);
    t->asciiSame = MultiByteToWideChar(CP_ACP, 0, ascii, 127, read, 127) == 127;
    for (int i = 0; i < 127 && t->asciiSame; ++i) t->asciiSame = read[i] == WCHAR(i + 1);
  }
  return t;
}

IniTable* StoreIniTableLoad(LPCWSTR path) {
  if (!path || !path[0] || path[1] != u':') return nullptr;
  DWORD bytes = 0;
  char* text = IniTextReadFileBytes(FALSE, path, &bytes);
  if (!text) return nullptr;
  IniTable* t = StoreIniTableFromBytes(text, bytes);
  MemFree(text);
  return t;
}

BOOL StoreIniTableRefresh(IniTable* table, LPCWSTR path) {
  if (!table || !path || !path[0] || path[1] != u':') return FALSE;
  DWORD count = 0;
  char* bytes = IniTextReadFileBytes(FALSE, path, &count);
  if (!bytes) return FALSE;
  if (count == table->count && memcmp(bytes, table->bytes, count) == 0) {
    MemFree(bytes);
    return TRUE;
  }
  // Changed since: the new text, and no section found in it yet.
  MemFree(table->bytes);
  table->bytes = bytes;
  table->count = count;
  table->wide = count >= 2 && BYTE(bytes[0]) == 0xFF && BYTE(bytes[1]) == 0xFE;
  FreeSection(&table->section);
  MemFree(table->sectionName);
  table->sectionName = nullptr;
  return TRUE;
}

void StoreIniTableFree(IniTable* table) {
  if (!table) return;
  FreeSection(&table->section);
  MemFree(table->sectionName);
  MemFree(table->bytes);
  MemFree(table);
}

const IniTableSection* StoreIniTableFindSection(IniTable* table, LPCWSTR section) {
  if (!table || !section) return nullptr;
  // The same name again (a header read, then the items) is answered from the last pass.
  if (table->sectionName && SameText(table->sectionName, section))
    return table->sectionFound ? &table->section : nullptr;
  MemFree(table->sectionName);
  const DWORD nameChars = DWORD(lstrlenW(section));
  table->sectionName = static_cast<WCHAR*>(MemAllocZero((nameChars + 1) * sizeof(WCHAR)));
  if (table->sectionName) memcpy(table->sectionName, section, nameChars * sizeof(WCHAR));
  table->sectionFound = false;
  IniTableSection* s = &table->section;
  FreeSection(s);
  // No line yields more characters than it has bytes, and a kept line takes at most its
  // characters plus one: the whole file fits, with a zero after it.
  s->poolChars = table->count + 2;
  s->pool = static_cast<WCHAR*>(MemAllocZero(s->poolChars * sizeof(WCHAR)));
  if (!s->pool) {
    MemFree(table->sectionName);
    table->sectionName = nullptr;
    return nullptr;
  }
  DWORD wantedFirst, wantedEnd;
  TrimmedName(section, &wantedFirst, &wantedEnd);
  const WCHAR* wanted = section + wantedFirst;
  const DWORD wantedChars = wantedEnd - wantedFirst;

  LineWalk walk(table);
  DWORD used = 0, chars = 0, lines = 0, equals = kNoHint;
  bool inside = wantedChars == 0, found = false;
  while (walk.Next(s->pool + used, &chars, &equals)) {
    ++lines;
    DWORD name = 0, nameEnd = 0, value = 0, valueEnd = 0;
    LineKind kind = Classify(s->pool + used, chars, equals, &name, &nameEnd, &value, &valueEnd);
    if (kind == LineKind::kHeader) {
      if (inside && (wantedChars || lines > 1)) break;  // the section ends at the next header
      inside = false;
      if (SameName(s->pool + used + name, nameEnd - name, wanted, wantedChars)) inside = found = true;
      continue;
    }
    if (wantedChars == 0 && inside) found = true;  // lines before the first header
    if (!inside || kind != LineKind::kKey) continue;
    IniTableEntry e = Keep(s, used, name, nameEnd, value, valueEnd);
    if (!AddEntry(s, e)) {
      FreeSection(s);
      MemFree(table->sectionName);
      table->sectionName = nullptr;
      return nullptr;
    }
    used = e.value + (valueEnd - value) + 1;
  }
  if (!found) {
    FreeSection(s);
    return nullptr;
  }
  if (!Index(s)) {
    FreeSection(s);
    MemFree(table->sectionName);
    table->sectionName = nullptr;
    return nullptr;
  }
  table->sectionFound = true;
  return s;
}

DWORD StoreIniTableGetString(const IniTableSection* section, LPCWSTR key, LPCWSTR def, LPWSTR destination,
                             DWORD cchDestination) {
  if (!destination || cchDestination == 0) return 0;
  const WCHAR* text = nullptr;
  DWORD first = 0, end = 0;
  if (const IniTableEntry* e = Lookup(section, key)) {
    text = section->pool + e->value;
    first = e->trimFirst;
    end = e->trimEnd;
  }
  if (!text && def) {
    // The default loses its trailing blanks, as the ini calls take it.
    text = def;
    end = DWORD(lstrlenW(def));
    while (end && (def[end - 1] == u' ' || def[end - 1] == u'\t')) --end;
  }
  if (text) StripQuotes(text, &first, &end);
  return CopyOut(text, first, end, destination, cchDestination);
}

DWORD StoreIniTableGetStored(const IniTableSection* section, LPCWSTR key, LPCWSTR def, LPWSTR destination,
                             DWORD cchDestination) {
  if (!destination || cchDestination == 0) return 0;
  const WCHAR* text = nullptr;
  DWORD end = 0;
  if (const IniTableEntry* e = Lookup(section, key)) {
    text = section->pool + e->value;
    end = e->storedChars;
  }
  if (!text && def) {
    text = def;
    while (def[end]) ++end;
  }
  return CopyOut(text, 0, end, destination, cchDestination);
}
