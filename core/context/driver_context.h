// The driver context: the per-printer working state every entry point opens and releases.
// Fields in the order of the context record; a context is opened from a small per-process
// cache or made from the static template, and released into the cache or destroyed.
#pragma once

#include "core/context/driver_context_fwd.h"
#include "platform/win32.h"

struct SettingItemTable;
struct ModelRecord;
struct ModelImage;
struct UiState;
struct DlgPageTable;

struct DriverContext {
  HANDLE printer;        // also the key of the cache
  HANDLE secondHandle;   // kept unchanged
  WORD currentPage;      // id of the page being shown
  SettingItemTable* items;
  DlgPageTable* pages;
  const void* symbols;   // the template's symbol, value-symbol and message tables
  const void* valueSymbols;
  const void* valueSymbols2;
  const void* messages;
  ModelRecord* model;
  BYTE* settings;        // the settings block; null in open modes 4 and above
  ModelImage* modelImage;  // shared per process, never freed by the context
  UiState* ui;
  HMODULE languageDll;
  HMODULE commonDll;
};

constexpr DWORD kSettingsBlockSize = 10076;

// Release reasons.
enum : WORD {
  kReleasePark = 0,         // park in the second cache table
  kReleaseParkCaps = 4,     // park in the first cache table (capabilities contexts)
  kReleaseExpired = 5,      // destroy now (cache expiry)
  kReleaseKeepFonts = 1,    // destroy now without freeing the current settings' font tables
};

// Opens a context for the printer: from the cache when a parked context matches, else made
// from the template and loaded for the open mode (flags & 0xFF). A given PRINTER_INFO_2 is used
// and not freed; without one the open fetches it. Null when the context cannot be made or the
// model description cannot be loaded.
DriverContext* CtxOpen(HANDLE printer, HANDLE second, void* reserved, WORD flags, DWORD kind,
                       LONG fMode, PRINTER_INFO_2W* info);
DriverContext* CtxOpenByKind(HANDLE printer, HANDLE second, void* reserved, DWORD kind);
DriverContext* CtxOpenWithMode(HANDLE printer, HANDLE second, void* reserved, WORD flags, DWORD kind,
                               PRINTER_INFO_2W* info);
DriverContext* CtxOpenFromInfo(HANDLE printer, HANDLE second, void* reserved, DWORD kind,
                               PRINTER_INFO_2W* info);
DriverContext* CtxOpenFromInfoWithMode(HANDLE printer, HANDLE second, void* reserved, DWORD kind, LONG fMode,
                                 PRINTER_INFO_2W* info);

// Parks the context in the cache (reasons 0 and 4) or destroys it; null is ignored.
void CtxRelease(DriverContext* ctx, WORD reason);
void CtxClose(DriverContext* ctx);
void CtxCloseWithReason(DriverContext* ctx, WORD reason);
// Destroys a context that no cache slot holds; the reason decides whether the current
// settings' font tables are freed.
void CtxDestroy(DriverContext* ctx, WORD reason);

// The static template: its tables are those every context copies; its settings block is all
// zeros, so item reads through it give 0.
DriverContext* TblGetContextTemplate();

// Copies the settings block into the initial-settings buffer, with duplicates of the three
// font tables the settings point at (a table that cannot be duplicated is recorded as count 0
// and null).
void CtxKeepInitialSettings(DriverContext* ctx);
// The initial-settings copy and the lock-default copy of the settings block, or null.
BYTE* CtxInitialSettingsBlock(DriverContext* ctx);
// The context's copy of the model record; the template's when the context has none.
const ModelRecord* CtxModelRecord(const DriverContext* ctx);
BYTE* CtxLockDefaultSettingsBlock(DriverContext* ctx);

DWORD CtxTickCount();

