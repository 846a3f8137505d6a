// The copy-by-mode family for files of the printer's driver folder (see core/common/file_ops.h
// for the rules every member keeps).
#pragma once
#include "core/context/driver_context_fwd.h"
#include "platform/win32.h"

// Driver folder + (sourceName, or name) to System directory + "\" + name; replace modes copy
// when the target is missing or older.
BOOL FileCopyFromDriverFolder(LPCWSTR name, LPCWSTR sourceName, WORD mode, DriverContext* ctx);
// A target that is not absolute goes to FileCopyFromDriverFolder; otherwise the source is the
// driver folder + (sourceName, or the target's leaf), copied when FileIsUpToDate(rule) is 0.
// FileCopyFromDriverDir uses rule 0 (times differ).
BOOL FileCopyFromDriverDir(LPCWSTR target, LPCWSTR sourceName, WORD mode, DriverContext* ctx);
BOOL FileCopyFromDriverFolderCmp(LPCWSTR target, LPCWSTR sourceName, WORD mode, DriverContext* ctx, int rule);
