// Settings files: loading a settings file into a context and saving a context into one.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Flags of the settings-file calls (StoreFileFlags).
enum : DWORD {
  kStoreFileRead = 0x1,
  kStoreFileWrite = 0x2,
  kStoreFileExtended = 0x100,  // only the extended device items
};

// Loads the settings file into the context: 1 or 0, the status in the context.
int StoreLoadSettingsFile(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx);
// Saves the context into the settings file: 1 or 0.
int StoreSaveSettingsFile(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx);
