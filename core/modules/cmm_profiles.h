// The user's colour-matching profiles: a list in the printer's settings ini (language
// section "CmmCount", "CmmDefault", "CmmMax"; entry n in section "ColorMatching<n><code>"
// with its display name and file path) that extends the model's built-in colour-matching
// choices, and the checks the judges ask of it.
#pragma once
#include "platform/win32.h"

struct DriverContext;

constexpr LONG kCmmProfileValueBase = 200;  // stored value 200 + n selects entry n
constexpr UINT kCmmProfileStringFirst = 565, kCmmProfileStringLast = 580;
constexpr int kCmmTextChars = 261;

LONG CmmGetCount(DriverContext* ctx);
void CmmSetCount(DriverContext* ctx, LONG count);
LONG CmmGetDefault(DriverContext* ctx);  // 4 when absent
LONG CmmGetMax(DriverContext* ctx);      // 16 when absent
// "ColorMatching%d%s" of n and the language code into buffer (cchBuffer characters).
void CmmFormatSection(DriverContext* ctx, WCHAR* buffer, DWORD cchBuffer, LONG n);
// Entry n's name and path into the profile texts of the UI state: n at or above the count
// reads entry 0, n below 0 empties both.
void CmmLoadEntry(DriverContext* ctx, LONG n);
// The profile texts into entry n (0 <= n < count only).
void CmmSaveEntry(DriverContext* ctx, LONG n);
// Removes user entry n, moving the later ones down, and lowers the count. A built-in entry
// (below CmmDefault), a negative index or one past the count is refused: 0; 1 when deleted.
int CmmDeleteEntry(DriverContext* ctx, LONG n);
// The entry a stored colour-matching value selects (value - 200 within the count), else -1.
LONG CmmIndexFromValue(DriverContext* ctx, LONG value);
LONG CmmIndexOfItem(DriverContext* ctx, WORD id);
// The entry the colour-matching choice (zdmColorMatchingMode) selects, -1 for none.
LONG CmmIndexOfModeControl(DriverContext* ctx);
// zdmColorMatchingMode := 200 + n, or its first listed value when n is no entry.
void CmmSetModeIndex(DriverContext* ctx, LONG n);
// 1 when path (wide, so any folder name) opens and carries the profile signature bytes at
// offsets 4, 12, 20, 36 and 48; 0 otherwise.
int CmmCheckProfileHeader(const WCHAR* path);
// The same check on the first size bytes of a profile.
int CmmProfileHeaderValid(const BYTE* bytes, DWORD size);
// Notes which colour-matching item is current (by zdmAdjustMode and zdmAdjustObject) and its
// value, for the restore after a cancelled tabbed dialog.
void QualityRememberMatching(DriverContext* ctx);
