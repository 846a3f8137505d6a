// The machine-wide model database "orvdb.ini" in the Windows directory (a section per model
// name with "LoadDll", "ResDll" and "Version"), and the revalidation of every store after a
// driver upgrade.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Characters of a model name with its terminator.
constexpr DWORD kModelNameChars = 33;

// The model name of the printer's driver: key = driver name of section "Models" of the model
// data file, at most 32 characters, leading blanks skipped; kept in the UI state. Null when
// there is none.
const WCHAR* InstReadModelName(DriverContext* ctx);
// Registers the printer's model (or, through sections Models1, Models2 ..., its models). 1 on
// success, also when the model record names no model data DLL (nothing is written); 0 when no
// model name is found or memory runs out. Empty values never replace registered ones.
int InstRegisterModelDb(DriverContext* ctx);
// Compares the database with the driver's values (without case) and registers where any
// differs. 1, or 0 when no model name is found or memory runs out.
int InstCheckModelDb(DriverContext* ctx);

// After an upgrade converted the printer's settings: saves the device settings (unless the
// printer is reached through a server), refreshes the job-merge keys in their upgrade form and
// re-applies and saves every preset, quality list, watermark and custom size. The context's
// current settings are kept. Always 1.
int CtxRevalidateStores(HANDLE hPrinter, DriverContext* ctx);
