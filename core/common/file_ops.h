// Small file operations with exact success rules, and the copy-by-mode family of the
// installation code. Paths are wide and absolute unless stated.
#pragma once
#include "platform/win32.h"

// Copy modes: only when the target is missing, or replace a target that is not up to date.
constexpr WORD kCopyIfMissing = 1;
// Up-to-date rules of FileIsUpToDate.
constexpr int kUpToDateSameTime = 0;    // last-write times equal
constexpr int kUpToDateNotOlder = 1;    // target not older than source

// 1 when the file opens for reading with read sharing as an existing file (0 for null, a
// folder, or a file held without read sharing).
BOOL FileExists(LPCWSTR path);
// Sets the attributes to normal, then deletes; 1 only when the file was deleted.
BOOL FileDelete(LPCWSTR path);
// Deletes every entry the wildcard pattern (with a folder part) finds, "." and ".." aside;
// 1 when at least one was deleted.
BOOL FileDeleteMatching(LPCWSTR pattern);
// CopyFileW, then the target's attributes made normal and then archive, so a read-only or
// hidden source gives a plain, writable copy. 1 when all three succeed.
BOOL FileCopyNormal(LPCWSTR source, LPCWSTR target, BOOL failIfExists);
// Removes the read-only attribute, keeping the others; always 1.
BOOL FileClearReadOnly(LPCWSTR path);
// Compares the last-write times of two existing files by rule (see above); 0 when either
// cannot be opened or the rule is unknown.
BOOL FileIsUpToDate(LPCWSTR source, LPCWSTR target, int rule);
// 1 when the folder was created or already exists as a folder.
BOOL FileCreateDirectory(LPCWSTR path);
// cbBuffer when the whole of cbBuffer bytes was transferred, -1 otherwise (a short read or write fails).
LONG FileReadBytes(HANDLE file, LPVOID buffer, DWORD cbBuffer);
LONG FileWriteBytes(HANDLE file, LPCVOID buffer, DWORD cbBuffer);

// The copy-by-mode family. Each answers 1 when the target is in place: source and target are
// the same path (case ignored), or in mode 1 the target exists, or the copy was made; 0 when
// the source is missing, the target is up to date, or the copy fails. A replaced target is
// only ever replaced by a complete copy: a failed copy leaves it as it was.

// sourceFolder + name to targetFolder + name (plain concatenation); rule 1.
BOOL FileCopyBetweenFolders(LPCWSTR name, LPCWSTR sourceFolder, LPCWSTR targetFolder, WORD mode);
// Both paths absolute; replace modes copy when the last-write times differ.
BOOL FileCopyByMode(LPCWSTR target, LPCWSTR source, WORD mode);
// source to target by mode, with the up-to-date rule given (the common step of the family).
BOOL FileCopyByRule(LPCWSTR source, LPCWSTR target, WORD mode, int rule);
