// Lock data of a printer: the locked setting values and the lock-defaults block kept in
// printer data, the printer's default section of the settings ini ("<printer>.DefaultSection")
// and the special-function switches of the user information file.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Reads the locked values into the context: 1 when every locked value was read, 0 at the
// first that was not (the values before it are set, those after it are not).
int StoreLoadLockData(HANDLE printer, DriverContext* ctx);
// Writes the locked values: 1 when every one was written, 0 at the first failure.
int StoreSaveLockData(HANDLE printer, DriverContext* ctx);
// "LockDefaultData" into the context's lock-defaults block: 1 when read. Taken only with the
// settings-block size and the layout words of the current settings; the font-table items are 0
// in the block. 0 without block or when the value is missing or of another shape.
int StoreLoadLockDefaults(HANDLE printer, DriverContext* ctx);
// The lock-defaults block (font-table items 0) into "LockDefaultData": 1 when written.
int StoreSaveLockDefaults(HANDLE printer, DriverContext* ctx);
// One packed lock byte: id 10418 "zdmLock000InfoBit", 10426 "zdmLock001InfoBit". 1 when read.
int StoreReadLockInfoBitByte(HANDLE printer, BYTE* destination, WORD id);
// The 4 bytes of "AuthenticationMode": 1 when read.
int StoreReadAuthMode(HANDLE printer, DWORD* destination);
// How the resolution lock applies to the model: -1 unusable, 1 one free number, 0 a choice.
int ItemResolutionLockKind(DriverContext* ctx);

// The default section: 1 when present and read / written.
int StoreLoadDefaultSection(DriverContext* ctx);
int StoreSaveDefaultSection(DriverContext* ctx);
// Makes sure the default section exists (built from the lock defaults when it does not) and
// mirrors it in "LockDefaultData"; the context's settings stay as they were. 1, 0 without memory.
int StoreEnsureDefaultSection(DriverContext* ctx);

// Items 1169-1184 from the user information file (0 where the build or the file says so).
void StoreLoadUserInfo(DriverContext* ctx);
