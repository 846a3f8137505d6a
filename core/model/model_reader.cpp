// Model-description file and statement reader.
#include "core/model/model_reader.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/common/text.h"

namespace {

constexpr BYTE ClassOf(int c) {
  BYTE cls = 0;
  if (c == '\n' || c == '\r') cls |= kModelCharLineEnd;
  if (c == ' ' || c == '\t') cls |= kModelCharBlank | kModelCharPrintable;
  if (c >= 0x21 && c <= 0x7E && c != ':') cls |= kModelCharPrintable;
  if (c >= 0x21 && c <= 0x7E && c != ':' && c != '/') cls |= kModelCharWord;
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
      c == '@' || c == '[' || c == '\\' || c == ']' || c == '^' || c == '_' || c == '`')
    cls |= kModelCharKeyword;
  switch (c) {
    case '\t': case '\n': case '\r': case ' ': case '"': case '#': case '$': case '%':
    case '&': case '\'': case '(': case ')': case '*': case ',': case '.': case '/':
    case ':': case ';': case '<': case '=': case '>': case '?': case '{': case '|': case '}':
      cls |= kModelCharSeparator;
      break;
    default:
      break;
  }
  if (c >= '0' && c <= '9') cls |= kModelCharDigit;
  if ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')) cls |= kModelCharHexLetter;
  return cls;
}

struct ClassTable {
  BYTE cls[256];
  constexpr ClassTable() : cls() {
    for (int c = 0; c < 256; ++c) cls[c] = ClassOf(c);
  }
};
constexpr ClassTable kClassTable;

// Growth doubles so that one huge value (a whole file inside one brace) stays linear.
constexpr DWORD kTextInitial = 1024;
constexpr DWORD kTextMaxCapacity = 0x40000000;

bool TextInit(ModelTextBuffer* buffer) {
  buffer->text = static_cast<char*>(MemAllocZero(kTextInitial + 1));
  buffer->capacity = buffer->text ? kTextInitial : 0;
  buffer->length = 0;
  return buffer->text != nullptr;
}

void TextFree(ModelTextBuffer* buffer) {
  MemFree(buffer->text);
  buffer->text = nullptr;
  buffer->capacity = buffer->length = 0;
}

void TextClear(ModelTextBuffer* buffer) {
  buffer->length = 0;
  if (buffer->text) buffer->text[0] = '\0';
}

// Appends count bytes at once (a run of the mapped text, not byte by byte); the text stays
// terminated. False when the text would pass kTextMaxCapacity or no memory can be had.
bool TextAppendRun(ModelTextBuffer* buffer, const BYTE* bytes, DWORD count) {
  if (count > kTextMaxCapacity - buffer->length) return false;
  const DWORD needed = buffer->length + count;
  if (needed > buffer->capacity) {
    DWORD capacity = buffer->capacity < kTextInitial ? kTextInitial : buffer->capacity;
    while (capacity < needed) capacity = capacity >= kTextMaxCapacity / 2 ? kTextMaxCapacity : capacity * 2;
    char* text = static_cast<char*>(MemAllocZero(capacity + 1));
    if (!text) return false;
    memcpy(text, buffer->text, buffer->length);
    MemFree(buffer->text);
    buffer->text = text;
    buffer->capacity = capacity;
  }
  memcpy(buffer->text + buffer->length, bytes, count);
  buffer->length = needed;
  buffer->text[needed] = '\0';
  return true;
}


// Bytes a value takes as they are, whatever its quotes and brackets: no line end, none of the
// bytes the value's syntax tracks, no byte that may lead a double-byte character.
struct PlainTable {
  bool plain[256];
  constexpr PlainTable() : plain() {
    for (int c = 0; c < 0x80; ++c)
      plain[c] = c != '\n' && c != '\r' && c != '"' && c != '(' && c != ')' && c != '{' && c != '}' && c != '%';
  }
};
constexpr PlainTable kPlain;

// Length of the run at the reader's position whose bytes all belong to cls.
DWORD RunOf(const ModelDataReader* data, BYTE cls) {
  DWORD n = 0;
  while (n < data->left && ModelCharIs(data->pos[n], cls)) ++n;
  return n;
}

// Appends the next count bytes to the text and moves past them.
bool TakeRun(ModelTextBuffer* text, ModelDataReader* data, DWORD count) {
  if (!TextAppendRun(text, data->pos, count)) return false;
  data->pos += count;
  data->left -= count;
  return true;
}

bool IsLineEnd(BYTE c) { return ModelCharIs(c, kModelCharLineEnd); }
bool IsBlank(BYTE c) { return ModelCharIs(c, kModelCharBlank); }

bool Peek(const ModelDataReader* data, BYTE* out) {
  if (data->left == 0) return false;
  *out = *data->pos;
  return true;
}

void Advance(ModelDataReader* data) {
  if (data->left == 0) return;
  ++data->pos;
  --data->left;
}

bool IsLeadByte(const ModelDataReader* data, BYTE c) {
  return c >= 0x80 && data->codePage != 0 && IsDBCSLeadByteEx(data->codePage, c);
}

// Skips the rest of the line up to and including its line-end byte.
void SkipLine(ModelDataReader* data) {
  BYTE c;
  while (ModelReadByte(data, &c) == 0) {
    if (IsLineEnd(c)) return;
  }
}

void SkipBlanks(ModelDataReader* data) {
  BYTE c;
  while (Peek(data, &c) && IsBlank(c)) Advance(data);
}

// Finds the '*' of the next statement and reads its keyword. 0 read, 1 end, 3 syntax, 4 memory.
int ReadKeyword(ModelStatementReader* s, ModelDataReader* data) {
  BYTE c;
  for (;;) {
    if (ModelReadByte(data, &c) != 0) return kModelReadEnd;
    if (c == '*') {
      BYTE next;
      if (!Peek(data, &next)) return kModelReadEnd;
      if (next != '%') break;
    } else if (IsLineEnd(c)) {
      continue;
    }
    SkipLine(data);
  }
  if (!Peek(data, &c) || !ModelCharIs(c, kModelCharKeyword)) {
    Advance(data);
    return kModelReadSyntax;
  }
  return TakeRun(&s->keyword, data, RunOf(data, kModelCharKeyword)) ? kModelReadOk : kModelReadNoMemory;
}

int ReadWord(ModelTextBuffer* word, ModelDataReader* data) {
  BYTE c;
  if (!Peek(data, &c) || !ModelCharIs(c, kModelCharWord)) {
    Advance(data);
    return kModelReadSyntax;
  }
  return TakeRun(word, data, RunOf(data, kModelCharWord)) ? kModelReadOk : kModelReadNoMemory;
}

// A value is its bytes as they stand up to the line end that closes it (blanks before it
// skipped): the syntax is followed byte by byte, and the bytes are taken as one run at the end
// (a broken value's up to the byte that broke it).
int ReadValue(ModelStatementReader* s, ModelDataReader* data) {
  SkipBlanks(data);
  const BYTE* start = data->pos;
  bool quoted = false;
  DWORD parens = 0;
  DWORD braces = 0;
  BYTE c;
  for (;;) {
    DWORD plain = 0;
    while (plain < data->left && kPlain.plain[data->pos[plain]]) ++plain;
    data->pos += plain;
    data->left -= plain;
    if (ModelReadByte(data, &c) != 0) break;
    bool open = quoted || parens != 0 || braces != 0;
    if (IsLineEnd(c) && !open)
      return TextAppendRun(&s->value, start, static_cast<DWORD>(data->pos - 1 - start)) ? kModelReadOk
                                                                                          : kModelReadNoMemory;
    bool ok = true;
    if (IsLeadByte(data, c)) {
      if (ModelReadByte(data, &c) != 0) break;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == '(') {
      ok = !quoted;
      parens += ok ? 1 : 0;
    } else if (c == ')') {
      ok = !quoted && parens != 0;
      parens -= ok ? 1 : 0;
    } else if (c == '{') {
      ok = !quoted && parens == 0;
      braces += ok ? 1 : 0;
    } else if (c == '}') {
      ok = !quoted && parens == 0 && braces != 0;
      braces -= ok ? 1 : 0;
    } else if (c == '%' && quoted) {
      if (ModelReadByte(data, &c) != 0) break;
      ok = !IsLineEnd(c);
    }
    // A broken value keeps what came before the byte that broke it.
    if (!ok)
      return TextAppendRun(&s->value, start, static_cast<DWORD>(data->pos - 1 - start)) ? kModelReadSyntax
                                                                                         : kModelReadNoMemory;
  }
  // The data ended: a value that closed everything it opened is complete; one cut off inside
  // quotes, parentheses or braces is a truncated statement.
  if (!TextAppendRun(&s->value, start, static_cast<DWORD>(data->pos - start))) return kModelReadNoMemory;
  return (quoted || parens != 0 || braces != 0) ? kModelReadSyntax : kModelReadOk;
}

}  // namespace

const BYTE ModelCharClass[256] = {
#define ROW(b) kClassTable.cls[b], kClassTable.cls[b + 1], kClassTable.cls[b + 2], \
    kClassTable.cls[b + 3], kClassTable.cls[b + 4], kClassTable.cls[b + 5],       \
    kClassTable.cls[b + 6], kClassTable.cls[b + 7]
    ROW(0x00), ROW(0x08), ROW(0x10), ROW(0x18), ROW(0x20), ROW(0x28), ROW(0x30), ROW(0x38),
    ROW(0x40), ROW(0x48), ROW(0x50), ROW(0x58), ROW(0x60), ROW(0x68), ROW(0x70), ROW(0x78),
    ROW(0x80), ROW(0x88), ROW(0x90), ROW(0x98), ROW(0xA0), ROW(0xA8), ROW(0xB0), ROW(0xB8),
    ROW(0xC0), ROW(0xC8), ROW(0xD0), ROW(0xD8), ROW(0xE0), ROW(0xE8), ROW(0xF0), ROW(0xF8),
#undef ROW
};

LPWSTR ModelGetDataFilePath(HANDLE printer) {
  DWORD needed = 0;
  if (GetPrinterDriverW(printer, nullptr, 2, nullptr, 0, &needed) ||
      GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed < sizeof(DRIVER_INFO_2W))
    return nullptr;
  BYTE* buffer = static_cast<BYTE*>(MemAllocZero(needed));
  if (!buffer) return nullptr;
  LPWSTR path = nullptr;
  if (GetPrinterDriverW(printer, nullptr, 2, buffer, needed, &needed)) {
    const DRIVER_INFO_2W* info = reinterpret_cast<const DRIVER_INFO_2W*>(buffer);
    if (info->pDataFile) {
      size_t length = StrWideLength(info->pDataFile);
      path = static_cast<LPWSTR>(MemAllocZero((length + 1) * sizeof(WCHAR)));
      if (path) {
        for (size_t i = 0; i < length; ++i) path[i] = info->pDataFile[i];
      }
    }
  }
  MemFree(buffer);
  return path;
}

BOOL ModelMapFile(LPCWSTR path, const BYTE** view, DWORD* size) {
  if (!path || !view) return FALSE;
  *view = nullptr;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FALSE;
  if (size) {
    *size = GetFileSize(file, nullptr);
    if (*size == INVALID_FILE_SIZE) {
      CloseHandle(file);
      return FALSE;
    }
  }
  HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (mapping) {
    *view = static_cast<const BYTE*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    CloseHandle(mapping);
  }
  CloseHandle(file);
  return *view != nullptr;
}

ModelDataReader* ModelOpenDataReader(LPCWSTR path) {
  const BYTE* view = nullptr;
  DWORD size = 0;
  if (!ModelMapFile(path, &view, &size)) return nullptr;
  ModelDataReader* reader = ModelOpenMemoryReader(view, size, 0);
  if (!reader) {
    UnmapViewOfFile(view);
    return nullptr;
  }
  reader->mapped = TRUE;
  return reader;
}

ModelDataReader* ModelOpenMemoryReader(const void* bytes, DWORD cbBytes, UINT codePage) {
  if (!bytes && cbBytes != 0) return nullptr;
  ModelDataReader* reader = static_cast<ModelDataReader*>(MemAllocZero(sizeof(ModelDataReader)));
  if (!reader) return nullptr;
  reader->view = static_cast<const BYTE*>(bytes);
  reader->pos = reader->view;
  reader->left = cbBytes;
  reader->codePage = codePage ? codePage : GetACP();
  reader->mapped = FALSE;
  return reader;
}

void ModelCloseDataReader(ModelDataReader* reader) {
  if (!reader) return;
  if (reader->mapped && reader->view) UnmapViewOfFile(reader->view);
  MemFree(reader);
}

int ModelReadByte(ModelDataReader* reader, BYTE* out) {
  if (reader->left == 0) return 1;
  *out = *reader->pos++;
  --reader->left;
  return 0;
}

ModelStatementReader* ModelNewStatementReader() {
  ModelStatementReader* reader =
      static_cast<ModelStatementReader*>(MemAllocZero(sizeof(ModelStatementReader)));
  if (!reader) return nullptr;
  if (!TextInit(&reader->keyword) || !TextInit(&reader->word1) || !TextInit(&reader->word2) ||
      !TextInit(&reader->value)) {
    ModelFreeStatementReader(reader);
    return nullptr;
  }
  return reader;
}

void ModelFreeStatementReader(ModelStatementReader* reader) {
  if (!reader) return;
  TextFree(&reader->keyword);
  TextFree(&reader->word1);
  TextFree(&reader->word2);
  TextFree(&reader->value);
  MemFree(reader);
}

int ModelReadStatement(ModelStatementReader* s, ModelDataReader* data) {
  if (!s || !data) return kModelReadEnd;
  TextClear(&s->keyword);
  TextClear(&s->word1);
  TextClear(&s->word2);
  TextClear(&s->value);

  int result = ReadKeyword(s, data);
  if (result != kModelReadOk) return result;

  // A keyword alone, also when blanks trail it ("*CloseUI  "), is a whole statement; the data
  // may end right after it.
  BYTE c;
  SkipBlanks(data);
  if (!Peek(data, &c)) return kModelReadOk;
  if (IsLineEnd(c)) {
    Advance(data);
    return kModelReadOk;
  }
  if (c != ':') {
    result = ReadWord(&s->word1, data);
    if (result != kModelReadOk) return result;
    SkipBlanks(data);
    if (Peek(data, &c) && c != ':') {
      result = ReadWord(&s->word2, data);
      if (result != kModelReadOk) return result;
      SkipBlanks(data);
    }
    if (!Peek(data, &c) || c != ':') {
      Advance(data);
      return kModelReadSyntax;
    }
  }
  Advance(data);  // the ':'
  return ReadValue(s, data);
}

DWORD ModelCountLineFeeds(const void* text, DWORD count) {
  DWORD lines = 0;
  const BYTE* p = static_cast<const BYTE*>(text);
  const BYTE* end = p + count;
  while (p && p < end) {
    p = static_cast<const BYTE*>(memchr(p, '\n', static_cast<size_t>(end - p)));
    if (!p) break;
    ++lines;
    ++p;
  }
  return lines;
}

int ModelScanFileVersion(LPCWSTR path, WCHAR* version) {
  if (!version) return 1;
  ModelDataReader* data = ModelOpenDataReader(path);
  if (!data) return 1;
  ModelStatementReader* s = ModelNewStatementReader();
  if (s) {
    for (;;) {
      int result = ModelReadStatement(s, data);
      if (result == kModelReadEnd || result == kModelReadNoMemory) break;
      if (result == kModelReadOk && strcmp(s->keyword.text, "FileVersion") == 0) {
        StrAnsiToWide(version, s->value.text, 15);
        break;
      }
    }
    ModelFreeStatementReader(s);
  }
  ModelCloseDataReader(data);
  return 1;
}
