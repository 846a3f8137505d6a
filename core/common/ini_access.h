// Ini wrappers used by the whole driver: every section name is sanitised the same way (a
// printer name with brackets stays one section) and every write is flushed at once, so other
// processes see it.
#pragma once
#include "platform/win32.h"

// Characters of a section name that the wrappers support (copied into 261 characters).
constexpr DWORD kIniSectionChars = 260;

// Replaces every '[' and ']' of text in place by ','; returns text (null for null). Where the
// deliverable asks for it (IniSectionLeadByteRule), on Windows 9x a character whose low byte
// is a DBCS lead byte leaves the character after it unchanged.
LPWSTR StoreSanitizeSection(LPWSTR text);
// The same with the lead-byte rule given: 1 applies it (on any system), 0 never.
LPWSTR StoreSanitizeSectionWith(LPWSTR text, int leadByteRule);
// 1 when the deliverable's ini section names follow the lead-byte rule; supplied with the
// build switches of the deliverable (core/tables/build_switches.cpp).
int IniSectionLeadByteRule();
// GetPrivateProfileIntW with the sanitised section; def when the copy cannot be made.
UINT IniReadInt(LPCWSTR section, LPCWSTR key, INT def, LPCWSTR file);
// GetPrivateProfileStringW with the sanitised section (cchBuffer characters); returns the
// characters placed. When the copy cannot be made, buffer gets at most cchBuffer - 1 characters of
// def and their count is returned.
DWORD IniReadString(LPCWSTR section, LPCWSTR key, LPCWSTR def, LPWSTR buffer, DWORD cchBuffer, LPCWSTR file);
// WritePrivateProfileStringW with the sanitised section, then a flush of the file's cached
// ini data. A null value deletes the key, a null key the section. 0 on failure.
BOOL IniWriteString(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file);
// IniWriteString that leaves the file's last-write time as it was. Mode 0 writes even when
// the time cannot be read; mode 1 writes only when it was read (a missing file is created
// first, so its creation time stays); any other mode writes nothing and answers 0.
BOOL IniWriteKeepTime(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file, int mode);
