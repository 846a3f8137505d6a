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

// The most entries each stored list holds. A count in a settings ini or a pack is any user's
// text: every count is read through StoreReadCount with its list's limit, so a walk over a
// list is bounded and no count overflows where it is added to or multiplied.
constexpr LONG kStoreLimitPresets = 16;       // "Count": PresetList0-15
constexpr LONG kStoreLimitQualityLists = 256;  // "QualityCount"
constexpr LONG kStoreLimitStamps = 256;       // "StampCount": watermarks 0-255 (256 is the scratch one)
constexpr LONG kStoreLimitFreeSizes = 10;     // "FreeSizeCount": the ten custom-size slots
constexpr LONG kStoreLimitPackEntries = 0xFFFE;  // a pack's "Num..." entry counts
constexpr LONG kStoreLimitColorProfiles = 256;  // "CmmCount", "CmmMax", "CmmDefault"
// key of section in file as a count: 0 when absent, negative or not a number, limit when
// above it.
LONG StoreReadCount(LPCWSTR section, LPCWSTR key, LONG limit, LPCWSTR file);
// The limit of a count key above ("Count", "QualityCount", "StampCount", "FreeSizeCount", case
// ignored); any other count (a pack's "Num..." keys) has kStoreLimitPackEntries.
LONG StoreCountLimit(LPCWSTR countKey);

// 1 when section of file holds a key (a list entry that was stored).
int StoreSectionPresent(LPCWSTR file, LPCWSTR section);

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
