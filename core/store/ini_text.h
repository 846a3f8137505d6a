// The in-memory ini text reader and writer of the settings-file transfer: the whole file is
// read once and keys are looked up in its text; a section is built as text and written with
// the rest of the file in one pass. Text is in the system code page: header lines "[name]",
// key lines "key=value", CRLF line ends, as the ini calls write them.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Size a section buffer starts with.
constexpr DWORD kIniSectionBufferBytes = 32768;

// A section being written as text. The buffer grows as keys are added; used counts the bytes
// written (the caller's write position).
struct IniSectionBuffer {
  char* data;
  DWORD capacity;
};

// Allocates the zeroed starting buffer; 0 when that fails.
BOOL StoreIniTextBufferInit(IniSectionBuffer* buffer);
void StoreIniTextBufferFree(IniSectionBuffer* buffer);

// The whole file as bytes with one zero byte after them, or null. Null for a path that is not
// a drive path, a file that cannot be opened (a missing file or folder gives an empty text
// and is not created), a short read, and, with onlyLarge, a file under 65,536 bytes. A file
// that begins with the UTF-16 byte-order mark is returned as system code page text. A zero
// byte ends only its line, as for the ini calls: it and the rest of that line are left out.
char* StoreLoadIniText(LPCWSTR path, BOOL onlyLarge);
BOOL StoreFreeIniText(char* text);

// The line after the header "[section]" (case ignored, nothing skipped), or null.
const char* StoreIniTextFindSection(LPCWSTR section, const char* text);

// Looks the key up in the section from *position on, wrapping once to the section's start.
// Found: at most cchDestination - 1 bytes of the value, converted into destination (cchDestination characters),
// and *position moves past the line; not found: destination gets def. Returns the characters
// stored. A value is never cut inside a double-byte character.
WORD StoreIniTextGetString(LPCWSTR key, LPCWSTR def, LPWSTR destination, DWORD cchDestination, const char* cursor,
                           DWORD* position);
// A decimal value read as text of at most 10 characters; def when absent or empty.
LONG StoreIniTextGetInt(LPCWSTR key, LONG def, const char* cursor, DWORD* position);

// Appends "[section]" CRLF (nothing for an empty name) at *position and moves it to the end.
// 0 when an argument is null or the buffer cannot grow.
BOOL StoreIniTextPutSection(DWORD* position, LPCWSTR section, IniSectionBuffer* buffer);
// Appends "key=value" CRLF (the value omitted when empty; nothing for an empty key). A CR or
// LF in the key or value becomes a blank, and a key that begins with '[' is not written, so
// no key or value can start a new line or section. 0 when an argument is null or the buffer
// cannot grow.
BOOL StoreIniTextPutKey(DWORD* position, LPCWSTR key, LPCWSTR value, IniSectionBuffer* buffer);

// Writes the file anew with sectionText (length bytes, holding its own header line) in place
// of the old copy of the section, placed before the first section (after any lines that
// belong to no section); the other sections follow in their order. Lines the ini calls count
// to the old section that the text reader cannot see (after a '[' line without ']') stay with
// it, and an indented header stays with its own lines. A file that begins with the UTF-16
// byte-order mark is written in UTF-16 again; one with another mark is left untouched
// (status ERROR_INVALID_DATA).
// The new file is written beside the old one and replaces it only when complete, so a failure
// leaves the old file as it was. A missing file counts as empty; any other failure to read it
// fails the call. 1 on success; when the new file cannot be created, written whole or cannot
// take the old one's place, the system error code becomes the context's settings-file status.
BOOL StoreIniTextReplaceSection(DriverContext* ctx, LPCWSTR path, LPCWSTR section, const char* sectionText,
                                DWORD length);

// Writes the file anew through write, which fills the new file (given open for writing) and
// answers whether it wrote everything. The new file is made beside the old one (path +
// ".~zt") and takes its place only when complete, so a failure leaves the old file as it was;
// every rewrite of a settings ini goes through here. 1 on success; on failure the system error
// code (ERROR_WRITE_FAULT when write left none) becomes the context's settings-file status.
typedef bool (*StoreIniTextWriter)(HANDLE file, void* data);
BOOL StoreIniTextWriteReplacing(DriverContext* ctx, LPCWSTR path, StoreIniTextWriter write, void* data);

// Helpers, exposed for the tests.
char* IniTextReadFile(BOOL onlyLarge, LPCWSTR path);
// The same with the file's size in *bytes (the text may hold zero bytes of its own).
char* IniTextReadFileBytes(BOOL onlyLarge, LPCWSTR path, DWORD* bytes);
const char* IniTextNextLine(const char* text);
// Bytes copied from source up to CR, LF, the end or cchDestination - 1 bytes, never ending inside a
// double-byte character; the copy is terminated. 0 when cchDestination is 0.
DWORD IniTextCopyValue(char* destination, const char* source, DWORD cchDestination);
