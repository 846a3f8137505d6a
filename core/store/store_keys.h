// Helpers the stores share: the global mutex held for a block of key writes (every store);
// for the list stores (presets, quality lists, watermarks, custom sizes) decimal keys and
// values, and one item section transferred under a section name of its own.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Holds the machine-wide settings mutex of a context for its lifetime.
class StoreMutexHold {
 public:
  explicit StoreMutexHold(DriverContext* ctx) : ctx_(ctx) { CtxLockGlobalMutex(ctx); }
  ~StoreMutexHold() { CtxUnlockGlobalMutex(ctx_); }
  StoreMutexHold(const StoreMutexHold&) = delete;
  StoreMutexHold& operator=(const StoreMutexHold&) = delete;

 private:
  DriverContext* ctx_;
};

// prefix + the decimal number + suffix (suffix may be null) into buffer (cchBuffer
// characters); the empty string when it does not fit. Returns buffer.
WCHAR* StoreFormatKey(WCHAR* buffer, DWORD cchBuffer, LPCWSTR prefix, LONG number, LPCWSTR suffix);
// The decimal text of value (at least 12 characters).
WCHAR* StoreFormatNumber(WCHAR* buffer, LONG value);
// The leading decimal number of text (optional sign); def for an empty or non-numeric text.
LONG StoreParseNumber(LPCWSTR text, LONG def);

// One item-section transfer of path with the context's printer-name buffer set to section for
// the call (the section the transfer chooses by that name); flags as StoreRwItemSection.
int StoreSectionTransfer(DriverContext* ctx, LPCWSTR path, LPCWSTR section, DWORD flags);

// The printer's own name (cchBuffer characters, at least 261), copied.
void StoreCopyPrinterName(DriverContext* ctx, WCHAR* buffer, DWORD cchBuffer);
// The printer's settings ini and the model data file, copied (kPathChars characters).
void StoreCopySettingsIni(DriverContext* ctx, WCHAR* buffer);
void StoreCopyModelDataFile(DriverContext* ctx, WCHAR* buffer);
// The language code of the count keys and the watermark and custom-size sections: the code
// of item zdmLanguageID (169).
LPCWSTR StoreListLangCode(DriverContext* ctx);
