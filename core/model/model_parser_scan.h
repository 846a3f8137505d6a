// Reading inside a statement's value: words, numbers, command texts, rule numbers and the
// name lookups of the model-description parser. Every scan stops at the end of the value.
#pragma once
#include "platform/win32.h"

struct ModelParseState;
struct SymbolEntry;
struct ValueSymbol;

struct ModelCursor {
  const char* p;
  const char* end;
  UINT codePage;  // lead bytes of this code page pair with the byte after them
};

struct ModelSpan {
  const char* text;
  DWORD length;
};

ModelCursor ModelCursorOf(const char* text, DWORD length, UINT codePage);

// Skips blanks and line ends.
void ModelSkipSpace(ModelCursor* cur);

// Next word: skips blanks and line ends, then one leading '*'; the word ends at a blank, a
// line end, a separator or the end of the value. The ending character is consumed (except a
// double quote, which begins a command text) and returned; 0 at the end of the value.
char ModelNextWord(ModelCursor* cur, ModelSpan* word);

// Next number: skips blanks and line ends, then an optional '-' and decimal digits. Returns
// FALSE when no digit was there. The character after the number is left in place.
BOOL ModelNextNumber(ModelCursor* cur, LONG* value);

// Decodes the next double-quoted command text: '%' takes the next character literally, '<'
// and '>' enclose hexadecimal byte pairs, line ends are dropped. Writes at most the decoded
// length into out (NULL only measures) and returns the decoded length; the cursor ends after
// the closing quote. No opening quote gives 0 and leaves the cursor at the end.
DWORD ModelDecodeCommandText(ModelCursor* cur, char* out);

// The decoded command text in a new parse-state buffer of its exact length plus terminator;
// NULL for an empty text (or no memory). length receives the decoded length when asked.
char* ModelExtractCommandText(ModelParseState* state, ModelCursor* cur, DWORD* length);

// Rule number of a statement's word 1: the digits of the word up to a blank, '=' or the end,
// other characters skipped; a '-' anywhere makes it negative.
LONG ModelParseNumber(const char* word);

bool ModelSpanIs(const ModelSpan& span, const char* text);

// Name lookups by exact text; NULL when the name is unknown (or too long to be a name).
const SymbolEntry* ModelFindSymbol(const ModelSpan& name);
const ValueSymbol* ModelFindValueSymbol(const ModelSpan& name);
