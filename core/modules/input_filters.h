// What the print-type and authentication fields let a user type or paste, as plain functions
// over characters and ANSI bytes, and the job-merge file's folder and name checks.
#pragma once
#include "platform/win32.h"

// Character filters of the guarded fields; backspace always passes.
enum InpFilter {
  kInpFilterName = 1,       // 0x20-0x7E but '"' and ':' (user names)
  kInpFilterText = 2,       // 0x20-0x7E (passwords)
  kInpFilterPrintable = 3,  // 0x20-0x7E (keys)
};
BOOL InpCharPasses(int filter, WCHAR ch);

// Paste checks over the ANSI bytes of the clipboard's text, `length` bytes (or up to a 0 byte,
// whichever comes first). Each looks at all of the text that would land: at most `limitChars`
// characters (a double-byte pair counts as one) of the code page.
// The user ID: letters and digits only, no double-byte character.
BOOL InpPasteLettersAndDigits(const char* bytes, int length, int limitChars, UINT codePage);
// Names that go into job lines: no '"' (double-byte pairs are skipped whole).
BOOL InpPasteWithoutQuote(const char* bytes, int length, int limitChars, UINT codePage);
// The authentication user: single-byte characters that pass the name filter.
BOOL InpPasteNameFilter(const char* bytes, int length, int limitChars, UINT codePage);

// The job-merge folder: the setting with a leading "<OS>" replaced by the Windows folder, or a
// leading "<OSDRIVE>" by its drive (its first two characters). FALSE, with nothing written
// past the buffer, when the result would not fit in cchOut characters (MAX_PATH for the
// caller).
BOOL InpExpandJobMergeFolder(const WCHAR* setting, const WCHAR* windowsFolder, WCHAR* out, int cchOut);
// TRUE when the job-merge name holds none of \ / : ; , * ? " < > |.
BOOL InpJobMergeNameValid(const WCHAR* name);
// The job-merge file: folder, '\', name, '.', extension; FALSE when it would not fit.
BOOL InpJoinJobMergeFile(const WCHAR* folder, const WCHAR* name, const WCHAR* extension, WCHAR* out, int cchOut);
