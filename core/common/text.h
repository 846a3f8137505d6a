// Text and number helpers: ANSI <-> UTF-16 conversion with the system code page, the
// fixed-point formatter of displayed measurements, copies into sized buffers, and the checks
// and line scanner for narrow text.
#pragma once
#include "platform/win32.h"

// Converts narrow (ANSI code page) text into a buffer of n wide characters, always
// terminated at character cchWide - 1 at the latest. cchWide <= 0 means the caller's buffer holds the
// whole text: cchWide becomes its length + 1. Returns wide (null when wide is null).
WCHAR* StrAnsiToWide(WCHAR* wide, const char* narrow, int cchWide);

// The bytes of an ANSI text (system code page) that fit in limit bytes without cutting a
// double-byte character; the text's length when it is shorter.
int StrAnsiCutLength(const char* text, int limit);

// Converts wide text into a zeroed buffer of cbNarrow bytes in the ANSI code page. Text that does
// not fit is cut to at most cbNarrow - 1 bytes, never inside a double-byte character, and
// terminated. cbNarrow < 1 means the buffer holds the whole text: cbNarrow becomes its size in bytes with
// the terminator (more than its length + 1 in a double-byte code page).
// Returns narrow (null when narrow is null).
char* StrWideToAnsi(char* narrow, const WCHAR* wide, int cbNarrow);

// Writes value / divisor as a decimal number into a buffer of cchBuffer characters: one to
// four decimals for a divisor of 10 to 10000 (the number of times it divides by ten), none
// for any other divisor; negative values keep their sign. With decimalComma (the caller asks
// its display language) the separator is ','. Output that does not fit is cut and terminated.
void StrFormatFixedPoint(WCHAR* buffer, int cchBuffer, LONG divisor, LONG value, BOOL decimalComma);

// Replaces '.' by ',' from the end of the text back to the last '(' (left as it is) or the
// start. Returns the '(' where the scan stopped, or null when it reached the start.
WCHAR* StrUseDecimalComma(WCHAR* text);

// Characters before the terminator; 0 for null.
DWORD StrWideLength(const WCHAR* text);
// 1 when the two texts hold the same characters (case counts); 0 when either is null.
int StrWideEqual(const WCHAR* a, const WCHAR* b);

// 1 when every byte is '0'-'9' (1 for the empty text); 0 otherwise or for null.
int StrIsDigits(const char* text);
// 1 when every byte is an ASCII letter or digit (1 for the empty text); 0 otherwise or for null.
int StrIsAlnum(const char* text);

// The character after the next '\n', or after the terminating zero when no '\n' comes first;
// count (when given) receives the characters passed, the '\n' or the terminator included.
// The caller bounds the scan by the total length of its text. Null for null text.
const char* StrNextLine(const char* text, int* count);

// Copies text into a buffer of cchBuffer characters when it fits with its terminator; 0 (the
// buffer untouched) when not.
int StrCopyIfFits(WCHAR* buffer, DWORD cchBuffer, const WCHAR* text);
// Copies at most cchBuffer - 1 characters and terminates.
void StrCopyCut(WCHAR* buffer, DWORD cchBuffer, const WCHAR* text);
// Writes headLength characters of head, then tail, into buffer (head may be buffer itself);
// 0 and the empty string when they do not fit with the terminator.
int StrJoin(WCHAR* buffer, DWORD cchBuffer, const WCHAR* head, DWORD headLength, const WCHAR* tail);

// The fourteen digits "YYYYMMDDhhmmss" of a time (a buffer of 15 characters).
void StrFormatTimeStamp(WCHAR* buffer, const SYSTEMTIME* time);

// The install ini key "BatchInstallDone".
const WCHAR* StrKeyBatchInstallDone();
