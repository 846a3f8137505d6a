// The line grammar, the written line form and the text buffer.
#include "core/pjl/pjl_text.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/model/model_reader.h"

namespace {

constexpr BYTE kClassBlank = 0x10;
constexpr BYTE kClassLineEnd = 0x20;

bool IsBlank(char c) { return ModelCharIs(static_cast<BYTE>(c), kClassBlank); }
bool IsLineEnd(char c) { return ModelCharIs(static_cast<BYTE>(c), kClassLineEnd); }

const char* SkipBlanks(const char* p) {
  while (*p && IsBlank(*p)) ++p;
  return p;
}

}  // namespace

int PjlTextInit(TextBuffer* buffer) {
  buffer->length = 0;
  buffer->data = static_cast<char*>(MemAllocZero(kPjlTextStep));
  buffer->capacity = buffer->data ? kPjlTextStep : 0;
  return buffer->data ? 0 : -1;
}

void PjlTextFree(TextBuffer* buffer) {
  MemFree(buffer->data);
  buffer->data = nullptr;
  buffer->capacity = 0;
  buffer->length = 0;
}

int PjlTextReserve(TextBuffer* buffer, int n) {
  if (n < 0 || buffer->length < 0) return -1;
  long long need = static_cast<long long>(buffer->length) + n;
  if (buffer->data && need <= buffer->capacity) return 0;
  long long capacity = buffer->data ? buffer->capacity : 0;
  while (capacity < need) capacity += kPjlTextStep;
  if (capacity > 0x40000000LL) return -1;
  char* grown = static_cast<char*>(MemAllocZero(static_cast<SIZE_T>(capacity)));
  if (!grown) return -1;
  if (buffer->data) {
    memcpy(grown, buffer->data, static_cast<size_t>(buffer->length));
    MemFree(buffer->data);
  }
  buffer->data = grown;
  buffer->capacity = static_cast<int>(capacity);
  return 0;
}

int PjlTextAppend(TextBuffer* buffer, const char* text) {
  size_t n = strlen(text);
  if (n > 0x3FFFFFFF || PjlTextReserve(buffer, static_cast<int>(n) + 1) != 0) return -1;
  memcpy(buffer->data + buffer->length, text, n + 1);
  buffer->length += static_cast<int>(n);
  return 0;
}

int PjlTextAppendChar(TextBuffer* buffer, char byte) {
  if (PjlTextReserve(buffer, 1) != 0) return -1;
  buffer->data[buffer->length++] = byte;
  return 0;
}

const char* PjlReadToken(char* destination, const char* source, bool* tooLong) {
  const char* p = SkipBlanks(source);
  int n = 0;
  while (*p && !IsBlank(*p) && !IsLineEnd(*p)) {
    if (n < kPjlTokenSize - 1) destination[n++] = *p;
    else if (tooLong) *tooLong = true;
    ++p;
  }
  destination[n] = 0;
  return p;
}

int PjlParseSetLine(const char* text, char* name, char* value) {
  if (!text || !name || !value) return 0;
  name[0] = 0;
  value[0] = 0;
  const char* p = SkipBlanks(text);
  if (!*p) return 0;
  if (strncmp(p, "@PJL", 4) != 0) return -1;
  p = SkipBlanks(p + 4);
  if (strncmp(p, "SET", 3) != 0) return -1;
  bool tooLong = false;
  p = PjlReadToken(name, p + 3, &tooLong);
  p = SkipBlanks(p);
  if (*p != '=') return -1;
  p = PjlReadToken(value, p + 1, &tooLong);
  p = SkipBlanks(p);
  if (p[0] != '\r' || p[1] != '\n' || tooLong) return -1;
  // One pair of surrounding quotes is the written form of a text value.
  size_t n = strlen(value);
  if (n >= 2 && value[0] == '"' && value[n - 1] == '"') {
    memmove(value, value + 1, n - 2);
    value[n - 2] = 0;
  }
  return static_cast<int>(p + 2 - text);
}

const char* PjlSkipLine(const char* text) {
  const char* lf = strchr(text, '\n');
  return lf ? lf + 1 : text + strlen(text);
}

int PjlNextSetLine(const char** cursor, char* name, char* value) {
  while (**cursor) {
    int used = PjlParseSetLine(*cursor, name, value);
    if (used == 0) return 0;
    if (used < 0) {
      *cursor = PjlSkipLine(*cursor);
      continue;
    }
    *cursor += used;
    return 1;
  }
  return 0;
}

void PjlFindLineValue(const char* text, const char* name, char* value) {
  value[0] = 0;
  if (!text || !name) return;
  char lineName[kPjlTokenSize], lineValue[kPjlTokenSize];
  for (const char* p = text; PjlNextSetLine(&p, lineName, lineValue);) {
    if (strcmp(lineName, name) == 0) {
      memcpy(value, lineValue, strlen(lineValue) + 1);
      return;
    }
  }
}

int PjlAppendSetLine(TextBuffer* buffer, const char* name, const char* value) {
  int keep = buffer->length;
  if (PjlTextAppend(buffer, "@PJL SET ") == 0 && PjlTextAppend(buffer, name) == 0 &&
      PjlTextAppend(buffer, " = ") == 0 && PjlTextAppend(buffer, value) == 0 && PjlTextAppend(buffer, " \r\n") == 0)
    return 0;
  buffer->length = keep;
  if (buffer->data) buffer->data[keep] = 0;
  return -1;
}
