// The in-memory ini text reader and writer.
#include "core/store/ini_text.h"

#include "core/common/file_ops.h"
#include "core/common/mem.h"
#include "core/common/text.h"
#include "core/items/item_access.h"

namespace {

constexpr DWORD kOnlyLargeBytes = 65536;
constexpr DWORD kIntChars = 10;
constexpr DWORD kIntReadChars = 64;  // blanks before the number included

bool IsLead(char c) { return IsDBCSLeadByteEx(GetACP(), BYTE(c)) != FALSE; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// A wide name as narrow text in the system code page, owned by this object.
class Narrow {
 public:
  explicit Narrow(LPCWSTR wide) {
    if (!wide) return;
    int n = lstrlenW(wide) * 2 + 1;  // a code-page character takes at most two bytes
    text_ = static_cast<char*>(MemAllocZero(DWORD(n)));
    if (text_) StrWideToAnsi(text_, wide, n);
  }
  ~Narrow() { MemFree(text_); }
  Narrow(const Narrow&) = delete;
  Narrow& operator=(const Narrow&) = delete;
  const char* get() const { return text_; }

 private:
  char* text_ = nullptr;
};

// The n bytes of name and of the text at p name the same thing without regard to case. The
// ini calls fold case through the system's case table, not only ASCII; plain ASCII is folded
// here directly, anything else goes through that table (lstrcmpiW) so that both readers of one
// file find the same sections and keys.
bool SameIgnoringCase(const char* name, const char* p, size_t n) {
  bool ascii = true;
  for (size_t i = 0; i < n; ++i) {
    if (!p[i] || p[i] == '\r' || p[i] == '\n') return false;
    if (BYTE(name[i]) >= 0x80 || BYTE(p[i]) >= 0x80) ascii = false;
  }
  if (ascii) {
    for (size_t i = 0; i < n; ++i)
      if (LowerAscii(p[i]) != LowerAscii(name[i])) return false;
    return true;
  }
  bool same = true;
  for (size_t i = 0; i < n && same; ++i) same = p[i] == name[i];
  if (same) return true;
  // Case variants of a character take the same number of bytes in the code pages the driver
  // runs with, so the candidate is the same n bytes.
  WCHAR* a = static_cast<WCHAR*>(MemAllocZero(DWORD((n + 1) * 2 * sizeof(WCHAR))));
  if (!a) return false;
  WCHAR* b = a + n + 1;
  int na = MultiByteToWideChar(CP_ACP, 0, name, int(n), a, int(n));
  int nb = MultiByteToWideChar(CP_ACP, 0, p, int(n), b, int(n));
  same = na > 0 && nb > 0 && lstrcmpiW(a, b) == 0;
  MemFree(a);
  return same;
}

size_t Length(const char* s) {
  size_t n = 0;
  while (s[n]) ++n;
  return n;
}

// Compares name with the text at p without regard to case; on a match returns the byte after
// it.
const char* MatchName(const char* name, const char* p) {
  size_t n = Length(name);
  return SameIgnoringCase(name, p, n) ? p + n : nullptr;
}

// At a line that begins with '[': the section name must follow, then ']'.
bool IniTextMatchSection(const char* section, const char* line) {
  if (*line != '[') return false;
  const char* after = MatchName(section, line + 1);
  return after && *after == ']';
}

// The key must follow at *p, then '='; on a match *p moves past the '='.
bool IniTextMatchKey(const char* key, const char** p) {
  const char* after = MatchName(key, *p);
  if (!after || *after != '=') return false;
  *p = after + 1;
  return true;
}

// Copies at most size - 1 characters of def into destination (zeroed first).
WORD TakeDefault(LPCWSTR def, LPWSTR destination, DWORD size) {
  for (DWORD i = 0; i < size; ++i) destination[i] = 0;
  DWORD n = 0;
  if (def)
    while (n + 1 < size && def[n]) {
      destination[n] = def[n];
      ++n;
    }
  return WORD(n);
}

// Makes room for need more bytes after position (and a zero after them).
bool Reserve(IniSectionBuffer* buffer, DWORD position, DWORD need) {
  if (position > buffer->capacity) return false;
  if (need > 0x7FFFFFFF - position - 1) return false;
  DWORD want = position + need + 1;
  if (want <= buffer->capacity) return true;
  DWORD capacity = buffer->capacity ? buffer->capacity : kIniSectionBufferBytes;
  while (capacity < want) {
    if (capacity > 0x3FFFFFFF) return false;
    capacity *= 2;
  }
  char* grown = static_cast<char*>(MemAllocZero(capacity));
  if (!grown) return false;
  for (DWORD i = 0; i < position; ++i) grown[i] = buffer->data[i];
  MemFree(buffer->data);
  buffer->data = grown;
  buffer->capacity = capacity;
  return true;
}

void Append(IniSectionBuffer* buffer, DWORD* position, const char* text, size_t n) {
  for (size_t i = 0; i < n; ++i) buffer->data[*position + i] = text[i];
  *position += DWORD(n);
}

}  // namespace

BOOL StoreIniTextBufferInit(IniSectionBuffer* buffer) {
  if (!buffer) return FALSE;
  buffer->data = static_cast<char*>(MemAllocZero(kIniSectionBufferBytes));
  buffer->capacity = buffer->data ? kIniSectionBufferBytes : 0;
  return buffer->data != nullptr;
}

void StoreIniTextBufferFree(IniSectionBuffer* buffer) {
  if (!buffer) return;
  MemFree(buffer->data);
  buffer->data = nullptr;
  buffer->capacity = 0;
}

// The whole file and its size in bytes (the text may hold zero bytes of its own).
char* IniTextReadFileBytes(BOOL onlyLarge, LPCWSTR path, DWORD* bytes) {
  *bytes = 0;
  HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    // A settings file that does not exist yet reads as empty; it is not created here.
    if (onlyLarge || (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)) return nullptr;
    return static_cast<char*>(MemAllocZero(1));
  }
  char* text = nullptr;
  DWORD size = GetFileSize(h, nullptr);
  if (size != INVALID_FILE_SIZE && size < 0x7FFFFFFF && !(onlyLarge && size < kOnlyLargeBytes)) {
    text = static_cast<char*>(MemAllocZero(size + 1));
    if (text && size && FileReadBytes(h, text, size) != LONG(size)) {
      MemFree(text);
      text = nullptr;
    }
  }
  CloseHandle(h);
  if (text) *bytes = size;
  return text;
}

char* IniTextReadFile(BOOL onlyLarge, LPCWSTR path) {
  DWORD bytes = 0;
  return IniTextReadFileBytes(onlyLarge, path, &bytes);
}

namespace {

// The ini calls take a zero byte as one more character of its line: what follows it on the
// line names no key or section they are asked for, and a value read ends there; the lines
// after it read as usual. The readers here stop at a zero, so each zero and the rest of its
// line are taken out of the text they get, and they see the same sections and keys.
void DropZeroTails(char* text, DWORD bytes) {
  DWORD out = 0;
  for (DWORD in = 0; in < bytes;) {
    if (text[in]) {
      text[out++] = text[in++];
      continue;
    }
    while (in < bytes && text[in] != '\r' && text[in] != '\n') ++in;
  }
  for (DWORD i = out; i < bytes; ++i) text[i] = 0;
}

}  // namespace

char* StoreLoadIniText(LPCWSTR path, BOOL onlyLarge) {
  if (!path || !path[0] || path[1] != ':') return nullptr;
  DWORD bytes = 0;
  char* text = IniTextReadFileBytes(onlyLarge, path, &bytes);
  if (!text) return nullptr;
  if (bytes < 2 || BYTE(text[0]) != 0xFF || BYTE(text[1]) != 0xFE) {
    DropZeroTails(text, bytes);
    return text;
  }
  // A file saved as UTF-16 is read as the system code page text of its characters, so that
  // the lookups see what the ini calls see (characters outside the code page excepted).
  const DWORD chars = (bytes - 2) / 2;
  WCHAR* wide = static_cast<WCHAR*>(MemAllocZero((chars + 1) * sizeof(WCHAR)));
  int narrowBytes = 0;
  if (wide) {
    for (DWORD i = 0; i < chars; ++i) wide[i] = WCHAR(BYTE(text[2 + 2 * i]) | (BYTE(text[3 + 2 * i]) << 8));
    narrowBytes = chars ? WideCharToMultiByte(CP_ACP, 0, wide, int(chars), nullptr, 0, nullptr, nullptr) : 0;
  }
  char* narrow = wide && narrowBytes >= 0 ? static_cast<char*>(MemAllocZero(DWORD(narrowBytes) + 1)) : nullptr;
  if (narrow && narrowBytes > 0) {
    WideCharToMultiByte(CP_ACP, 0, wide, int(chars), narrow, narrowBytes, nullptr, nullptr);
    DropZeroTails(narrow, DWORD(narrowBytes));
  }
  MemFree(wide);
  MemFree(text);
  return narrow;
}

BOOL StoreFreeIniText(char* text) {
  MemFree(text);
  return TRUE;
}

const char* IniTextNextLine(const char* text) {
  while (*text && *text != '\n') ++text;
  return *text ? text + 1 : text;
}

DWORD IniTextCopyValue(char* destination, const char* source, DWORD cchDestination) {
  if (cchDestination == 0) return 0;
  DWORD i = 0;
  while (i + 1 < cchDestination && source[i] && source[i] != '\r' && source[i] != '\n') {
    if (IsLead(source[i])) {
      // Both bytes or neither: a lead byte whose trail is missing or does not fit stays out.
      char trail = source[i + 1];
      if (i + 2 >= cchDestination || !trail || trail == '\r' || trail == '\n') break;
      destination[i] = source[i];
      destination[i + 1] = trail;
      i += 2;
      continue;
    }
    destination[i] = source[i];
    ++i;
  }
  destination[i] = 0;
  return i;
}

const char* StoreIniTextFindSection(LPCWSTR section, const char* text) {
  if (!section || !text) return nullptr;
  Narrow name(section);
  if (!name.get()) return nullptr;
  for (const char* line = text; *line; line = IniTextNextLine(line))
    if (IniTextMatchSection(name.get(), line)) return IniTextNextLine(line);
  return nullptr;
}

WORD StoreIniTextGetString(LPCWSTR key, LPCWSTR def, LPWSTR destination, DWORD cchDestination, const char* cursor,
                           DWORD* position) {
  if (!destination || cchDestination == 0 || !position) return 0;
  if (!cursor || !key) {
    *position = 0;
    return TakeDefault(def, destination, cchDestination);
  }
  Narrow name(key);
  if (!name.get()) return TakeDefault(def, destination, cchDestination);

  const char* start = cursor + *position;
  const char* p = start;
  bool wrapped = false;
  for (;;) {
    if (wrapped && p == start) break;  // a whole round without the key
    if (!*p || *p == '[') {
      if (wrapped) {
        *position = 0;
        break;
      }
      wrapped = true;
      p = cursor;
      continue;
    }
    const char* value = p;
    if (IniTextMatchKey(name.get(), &value)) {
      char* narrow = static_cast<char*>(MemAllocZero(cchDestination));
      if (!narrow) return TakeDefault(def, destination, cchDestination);
      IniTextCopyValue(narrow, value, cchDestination);
      for (DWORD i = 0; i < cchDestination; ++i) destination[i] = 0;
      if (narrow[0]) StrAnsiToWide(destination, narrow, int(cchDestination));
      MemFree(narrow);
      *position = DWORD(IniTextNextLine(value) - cursor);
      return WORD(lstrlenW(destination));
    }
    p = IniTextNextLine(p);
  }
  return TakeDefault(def, destination, cchDestination);
}

LONG StoreIniTextGetInt(LPCWSTR key, LONG def, const char* cursor, DWORD* position) {
  // Leading blanks are skipped before the ten characters are taken, as the system's ini calls
  // skip them: "a= 12" reads 12 through both. A value of blanks alone is empty.
  WCHAR text[kIntReadChars + 1];
  if (StoreIniTextGetString(key, TEXT(""), text, kIntReadChars + 1, cursor, position) == 0) return def;
  DWORD first = 0;
  while (text[first] == ' ' || text[first] == '\t' || text[first] == '\v' || text[first] == '\f') ++first;
  if (!text[first]) return def;
  WCHAR* p = text + first;
  if (StrWideLength(p) > kIntChars) p[kIntChars] = 0;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  DWORD value = 0;
  while (*p >= '0' && *p <= '9') value = value * 10 + DWORD(*p++ - '0');
  return negative ? LONG(0u - value) : LONG(value);
}

BOOL StoreIniTextPutSection(DWORD* position, LPCWSTR section, IniSectionBuffer* buffer) {
  if (!position || !section || !buffer || !buffer->data) return FALSE;
  if (!*section) return TRUE;
  Narrow name(section);
  if (!name.get()) return FALSE;
  size_t n = Length(name.get());
  if (!Reserve(buffer, *position, DWORD(n + 4))) return FALSE;
  DWORD at = *position;
  Append(buffer, position, "[", 1);
  Append(buffer, position, name.get(), n);
  Append(buffer, position, "]\r\n", 3);
  // A line break inside the name would start a line of its own.
  for (DWORD i = at + 1; i < at + 1 + n; ++i)
    if (buffer->data[i] == '\r' || buffer->data[i] == '\n') buffer->data[i] = ' ';
  return TRUE;
}

BOOL StoreIniTextPutKey(DWORD* position, LPCWSTR key, LPCWSTR value, IniSectionBuffer* buffer) {
  if (!position || !key || !value || !buffer || !buffer->data) return FALSE;
  // An empty key writes nothing; so does a key that begins with '[', which would read back
  // as a section header and cut the section short.
  if (!*key || *key == '[') return TRUE;
  Narrow name(key), text(value);
  if (!name.get() || !text.get()) return FALSE;
  size_t nk = Length(name.get()), nv = Length(text.get());
  if (!Reserve(buffer, *position, DWORD(nk + nv + 3))) return FALSE;
  DWORD at = *position;
  Append(buffer, position, name.get(), nk);
  Append(buffer, position, "=", 1);
  Append(buffer, position, text.get(), nv);
  Append(buffer, position, "\r\n", 2);
  for (DWORD i = at; i < *position - 2; ++i)
    if (buffer->data[i] == '\r' || buffer->data[i] == '\n') buffer->data[i] = ' ';
  return TRUE;
}

namespace {

// The rewrite works on the file's own characters: bytes of the code page, or UTF-16 units of
// a file that begins with its byte-order mark.
template <class C>
const C* LineAfter(const C* p, const C* end) {
  while (p < end && *p != C('\n')) ++p;
  return p < end ? p + 1 : end;
}

template <class C>
const C* SkipBlanks(const C* p, const C* end) {
  while (p < end && (*p == C(' ') || *p == C('\t') || *p == C('\v') || *p == C('\f'))) ++p;
  return p;
}

// A unit that pairs with the next one: a lead byte of the code page; never a UTF-16 unit.
bool PairsWithNext(char c) { return IsLead(c); }
bool PairsWithNext(WCHAR) { return false; }

// The ini calls take a line as a section header when, after blanks, it begins with '[' and
// holds a ']' (a character of its own, not the second byte of a double-byte one).
template <class C>
bool IsHeaderLine(const C* line, const C* end) {
  const C* p = SkipBlanks(line, end);
  if (p == end || *p != C('[')) return false;
  for (; p < end && *p != C('\n'); ++p) {
    if (*p == C(']')) return true;
    if (PairsWithNext(*p) && p + 1 < end && p[1] != C('\n')) ++p;
  }
  return false;
}

// The text reader's view of a section ends at a line that begins with '[' (here also after
// blanks). A zero character ends only its own line for the reader, as for the ini calls.
template <class C>
bool EndsReadableBody(const C* line, const C* end) {
  const C* first = SkipBlanks(line, end);
  return first < end && *first == C('[');
}

// Where the rewritten section goes and what it replaces. Lines before the first header belong
// to no section and stay first. The old section's own lines run from its header to the first
// line that begins with '[' after blanks; from there up to the
// next header the ini calls still count the lines to the section (a "[x" without ']', for
// instance) while the text reader never saw them, so they are kept right after the new
// section text, where they go on belonging to it. An indented header ends both: it and its
// lines stay where they are.
template <class C>
struct SectionLayout {
  const C* preambleEnd;
  const C* start;    // the old header line
  const C* bodyEnd;  // end of the lines that the new text replaces
  const C* tailEnd;  // end of the kept lines of the old section
};

template <class C, class Match>
SectionLayout<C> FindLayout(const C* begin, const C* end, Match isOldHeader) {
  SectionLayout<C> layout = {end, end, end, end};
  bool inSections = false;
  for (const C* line = begin; line < end; line = LineAfter(line, end)) {
    if (!inSections && IsHeaderLine(line, end)) {
      layout.preambleEnd = line;
      inSections = true;
    }
    if (!inSections || !isOldHeader(line)) continue;
    layout.start = line;
    const C* p = LineAfter(line, end);
    while (p < end && !EndsReadableBody(p, end)) p = LineAfter(p, end);
    layout.bodyEnd = p;
    while (p < end && !IsHeaderLine(p, end)) p = LineAfter(p, end);
    layout.tailEnd = p;
    break;
  }
  return layout;
}

// The pieces of the new file in order; a piece that does not end its last line (only the end
// of a file or a caller's section text can) gets a line break before the next one.
template <class C>
class PieceList {
 public:
  void Add(const C* from, const C* to) {
    if (from >= to || count_ >= kMax - 1) return;
    static const C kLineBreak[2] = {C('\r'), C('\n')};
    if (count_ && !endsLine_) pieces_[count_++] = {kLineBreak, kLineBreak + 2};
    pieces_[count_++] = {from, to};
    endsLine_ = to[-1] == C('\n');
  }
  bool WriteTo(HANDLE h) const {
    for (int i = 0; i < count_; ++i) {
      DWORD bytes = DWORD(pieces_[i].to - pieces_[i].from) * sizeof(C);
      if (FileWriteBytes(h, pieces_[i].from, bytes) != LONG(bytes)) return false;
    }
    return true;
  }

 private:
  static constexpr int kMax = 12;
  struct Piece {
    const C* from;
    const C* to;
  } pieces_[kMax] = {};
  int count_ = 0;
  bool endsLine_ = true;
};

template <class C, class Match>
PieceList<C> ArrangePieces(const C* old, const C* oldEnd, const C* section, const C* sectionEnd, Match isOldHeader) {
  SectionLayout<C> l = FindLayout(old, oldEnd, isOldHeader);
  PieceList<C> pieces;
  pieces.Add(old, l.preambleEnd);
  pieces.Add(section, sectionEnd);
  pieces.Add(l.bodyEnd, l.tailEnd);
  pieces.Add(l.preambleEnd, l.start);
  pieces.Add(l.tailEnd, oldEnd);
  return pieces;
}

enum class IniEncoding { kAnsi, kUtf16, kUnknown };

IniEncoding EncodingOf(const char* text, DWORD bytes) {
  const BYTE* b = reinterpret_cast<const BYTE*>(text);
  if (bytes >= 2 && b[0] == 0xFF && b[1] == 0xFE) return IniEncoding::kUtf16;
  // Big-endian UTF-16 and UTF-8 with a mark are not text the system's ini calls read: such a
  // file is left alone rather than written half in another encoding.
  if (bytes >= 2 && b[0] == 0xFE && b[1] == 0xFF) return IniEncoding::kUnknown;
  if (bytes >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return IniEncoding::kUnknown;
  return IniEncoding::kAnsi;
}

// Writes the new file's text into h in the old file's encoding.
bool WriteRewritten(HANDLE h, const char* old, DWORD oldBytes, const char* name, LPCWSTR wideName,
                    const char* sectionText, DWORD length) {
  if (EncodingOf(old, oldBytes) == IniEncoding::kAnsi) {
    const size_t n = Length(name);
    auto isOldHeader = [&](const char* line) {
      return line + n + 1 < old + oldBytes && line[0] == '[' && SameIgnoringCase(name, line + 1, n) &&
             line[n + 1] == ']';
    };
    return ArrangePieces(old, old + oldBytes, sectionText, sectionText + length, isOldHeader).WriteTo(h);
  }
  // UTF-16: the old text after its mark as characters (a stray last byte is kept at the end),
  // the new section converted from the code page.
  const DWORD oldChars = (oldBytes - 2) / 2;
  const int sectionChars = length ? MultiByteToWideChar(CP_ACP, 0, sectionText, int(length), nullptr, 0) : 0;
  if (length && sectionChars <= 0) return false;
  const DWORD nameChars = StrWideLength(wideName);
  WCHAR* buffer = static_cast<WCHAR*>(MemAllocZero((oldChars + DWORD(sectionChars) + 2 * nameChars + 2) * sizeof(WCHAR)));
  if (!buffer) return false;
  WCHAR* text = buffer;
  WCHAR* section = text + oldChars;
  WCHAR* wanted = section + sectionChars;  // name, terminator, candidate, terminator
  WCHAR* candidate = wanted + nameChars + 1;
  for (DWORD i = 0; i < oldChars; ++i)
    text[i] = WCHAR(BYTE(old[2 + 2 * i]) | (BYTE(old[3 + 2 * i]) << 8));
  if (sectionChars) MultiByteToWideChar(CP_ACP, 0, sectionText, int(length), section, sectionChars);
  for (DWORD i = 0; i < nameChars; ++i) wanted[i] = wideName[i];
  auto isOldHeader = [&](const WCHAR* line) {
    if (line + nameChars + 1 >= text + oldChars || line[0] != '[' || line[nameChars + 1] != ']') return false;
    for (DWORD i = 0; i < nameChars; ++i) candidate[i] = line[1 + i];
    candidate[nameChars] = 0;
    return lstrcmpiW(wanted, candidate) == 0;
  };
  static const BYTE kMark[2] = {0xFF, 0xFE};
  bool ok = FileWriteBytes(h, kMark, 2) == 2 &&
            ArrangePieces<WCHAR>(text, text + oldChars, section, section + sectionChars, isOldHeader).WriteTo(h);
  if (ok && (oldBytes - 2) % 2) ok = FileWriteBytes(h, old + oldBytes - 1, 1) == 1;
  MemFree(buffer);
  return ok;
}

}  // namespace

BOOL StoreIniTextReplaceSection(DriverContext* ctx, LPCWSTR path, LPCWSTR section, const char* sectionText,
                                DWORD length) {
  if (!path || !section || !sectionText) return FALSE;
  Narrow name(section);
  if (!name.get()) return FALSE;

  // The old text; only a missing file or folder counts as empty. Everything the file holds is
  // kept, also what follows a stray zero byte.
  DWORD oldBytes = 0;
  char* old = IniTextReadFileBytes(FALSE, path, &oldBytes);
  if (!old) return FALSE;
  if (EncodingOf(old, oldBytes) == IniEncoding::kUnknown) {
    if (ctx) CtxSetFileStatus(ctx, ERROR_INVALID_DATA);
    StoreFreeIniText(old);
    return FALSE;
  }

  struct Rewrite {
    const char* old;
    DWORD oldBytes;
    const char* name;
    LPCWSTR section;
    const char* sectionText;
    DWORD length;
  } rewrite = {old, oldBytes, name.get(), section, sectionText, length};
  BOOL ok = StoreIniTextWriteReplacing(ctx, path, [](HANDLE h, void* data) {
    const Rewrite* r = static_cast<const Rewrite*>(data);
    return WriteRewritten(h, r->old, r->oldBytes, r->name, r->section, r->sectionText, r->length);
  }, &rewrite);
  StoreFreeIniText(old);
  return ok;
}

BOOL StoreIniTextWriteReplacing(DriverContext* ctx, LPCWSTR path, StoreIniTextWriter write, void* data) {
  if (!path || !write) return FALSE;
  WCHAR temp[MAX_PATH];
  int pathChars = lstrlenW(path);
  static const WCHAR kSuffix[] = TEXT(".~zt");
  if (pathChars + 4 >= MAX_PATH) {
    if (ctx) CtxSetFileStatus(ctx, ERROR_FILENAME_EXCED_RANGE);
    return FALSE;
  }
  lstrcpyW(temp, path);
  lstrcatW(temp, kSuffix);
  HANDLE h = CreateFileW(temp, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (ctx) CtxSetFileStatus(ctx, LONG(GetLastError()));
    return FALSE;
  }
  SetLastError(0);
  bool ok = write(h, data);
  if (!ok && ctx) {
    // A new file that cannot be written whole (a full disk) is reported like one that cannot
    // be created.
    DWORD error = GetLastError();
    CtxSetFileStatus(ctx, LONG(error ? error : ERROR_WRITE_FAULT));
  }
  CloseHandle(h);
  // The old file cannot be replaced (read-only, held open): reported like a file that cannot
  // be created.
  if (ok && !MoveFileExW(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    if (ctx) CtxSetFileStatus(ctx, LONG(GetLastError()));
    ok = false;
  }
  if (!ok) DeleteFileW(temp);
  return ok ? TRUE : FALSE;
}
