// A settings ini read in one pass: the file is read once, the wanted section's keys go into
// one table, and each key is then found without another look at the file. It answers as the
// system's ini calls answer for the same file: UTF-16 text after its byte-order mark, else the
// system code page; a header is a line whose first non-blank character is '[' and that holds a
// ']' (the name runs to the last one); a key line is any other line with a '=' (one starting
// with ';' too); names and values are trimmed of blanks, names compared without regard to
// case; the first section and the first key of a name count; one pair of quotes around a value
// is dropped.
#pragma once
#include "platform/win32.h"

struct IniTable;
struct IniTableSection;

// Reads the whole file. Null for a path that is not a drive path, a file that exists but cannot
// be read whole, and when memory runs out; a missing file or folder reads as an empty file.
IniTable* StoreIniTableLoad(LPCWSTR path);
// The same over bytes already in memory (count bytes, copied).
IniTable* StoreIniTableFromBytes(const char* bytes, DWORD count);
// Reads the file at path again: when its bytes are the ones read before, what was found in them
// stays; otherwise the table holds the new bytes. FALSE (the table as it was) when the file
// cannot be read; a missing file reads as empty.
BOOL StoreIniTableRefresh(IniTable* table, LPCWSTR path);
void StoreIniTableFree(IniTable* table);

// The keys of the section (lines before the first header for an empty name, when there are
// any), gathered in one pass over the text; null when the file has no such section or memory
// runs out. The result lives until the table is freed or the next call names another
// section; the same name again is answered without another pass.
const IniTableSection* StoreIniTableFindSection(IniTable* table, LPCWSTR section);

// GetPrivateProfileStringW for one key of the section: at most cchDestination - 1 characters
// of the value, or of def (its trailing blanks and one pair of quotes dropped) when the key or
// the section (null) is absent, then a zero. Returns the characters stored; a value may hold
// zero characters of its own, and the count includes them.
DWORD StoreIniTableGetString(const IniTableSection* section, LPCWSTR key, LPCWSTR def, LPWSTR destination,
                             DWORD cchDestination);
// The key's text as the settings-file writer stored it: all of its line after the first '=',
// blanks and quotes kept, up to a carriage return or zero; def as it is when the key or the
// section (null) is absent. At most cchDestination - 1 characters, then a zero; returns the
// characters stored. The settings-file transfer reads its values so, which keeps a value's
// own leading and trailing blanks.
DWORD StoreIniTableGetStored(const IniTableSection* section, LPCWSTR key, LPCWSTR def, LPWSTR destination,
                             DWORD cchDestination);
