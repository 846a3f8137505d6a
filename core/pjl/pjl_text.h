// The "@PJL SET" line grammar of the exclusion command service, the exact form of the lines
// it writes and the growable text buffer it builds them in.
#pragma once
#include "platform/win32.h"

// A growable ANSI text: the data is zero-filled when allocated, length counts the bytes in use
// and a NUL follows them after every string append.
struct TextBuffer {
  int capacity;
  int length;
  char* data;
};

// Name and value tokens hold at most this many bytes and their NUL.
constexpr int kPjlTokenSize = 264;
// The growth step and first capacity of a text buffer.
constexpr int kPjlTextStep = 4096;

// 0, or -1 with capacity 0 when the first 4096 bytes cannot be had; length 0.
int PjlTextInit(TextBuffer* buffer);
// Capacity and length 0, data freed.
void PjlTextFree(TextBuffer* buffer);
// 0 when length + n fits (growing in steps of 4096 as needed); -1 when no memory or the size
// would overflow, the buffer then keeps its contents and capacity.
int PjlTextReserve(TextBuffer* buffer, int n);
int PjlTextAppend(TextBuffer* buffer, const char* text);
int PjlTextAppendChar(TextBuffer* buffer, char byte);

// Skips blanks, copies the bytes up to a blank, CR, LF or NUL into destination (at most
// kPjlTokenSize - 1 bytes and the NUL) and returns the position after the token. A token
// longer than that sets *tooLong (when given) and is cut.
const char* PjlReadToken(char* destination, const char* source, bool* tooLong = nullptr);

// One line: the bytes consumed including its CR LF; 0 at the end of the text (blanks only)
// or when an argument is null; -1 for a line outside the grammar, a name or value longer
// than 263 bytes included. name and value receive kPjlTokenSize bytes each.
int PjlParseSetLine(const char* text, char* name, char* value);
// The value of the first line of text named `name` into value (kPjlTokenSize bytes), or an
// empty string. A line that does not parse is stepped over up to its next LF.
void PjlFindLineValue(const char* text, const char* name, char* value);
// Appends "@PJL SET " name " = " value " \r\n".
int PjlAppendSetLine(TextBuffer* buffer, const char* name, const char* value);
// The next line of a text that does not parse: past its next LF, or the end of the text.
const char* PjlSkipLine(const char* text);
// Reads the next line of *cursor that parses into name and value (kPjlTokenSize bytes each),
// stepping over lines that do not parse, and moves *cursor past it. 0 at the end of the text.
int PjlNextSetLine(const char** cursor, char* name, char* value);
