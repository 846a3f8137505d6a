// The API context: what ZEMSDrvEnable hands out. An application holds an opaque handle, an
// entry of the table of live contexts (never an address, never reused); each entry owns a
// driver context opened for the interface, the ApiState and the chapter array. During a call the
// context is busy: a call from another thread answers its failure value; nested calls on the
// same thread (a handler asking a capability) pass.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

struct ApiJournal;

// The interface's own state of one context (owned by the context, freed at disable).
struct ApiState {
  LONG* constraintSnapshot;  // constraintIds x 16 integers: per status id eight {A, B} pairs
  BYTE* qualitySnapshot;     // a copy of the whole settings block
  LONG lastError;
  LONG chapterIndex;         // entry index of chapter-list operation 3
  // Beyond the record every context keeps:
  DWORD constraintIds;       // status ids the snapshot holds (the last overall id at maxLevel)
  UINT bitmapLimit;          // bytes of the last id-bitmap size query (32 or 64)
  LONG loadShareUsable[6];   // rows of the load-share table this printer offers
  ApiJournal* journal;       // the store-write journal of the SetStatus call in progress
};

// One live context.
struct ApiContext {
  DWORD handle;              // the value the application holds
  DriverContext* ctx;
  ApiState* state;
  LONG level;                // the level read at the start of the outermost call in progress
  HANDLE printer;            // the printer of the call in progress, or null
  char printerName[261];     // ANSI name given to ZEMSDrvEnable
  WCHAR serverName[261];     // Vista and later, a printer of a server: the name given
  DWORD busyThread;          // thread of the call in progress, 0 when idle
  LONG busyDepth;
};

// ---- accessors (null-safe) ----
DriverContext* ApiDriverCtx(ApiContext* api);
ApiState* ApiGetState(ApiContext* api);
// The level this call works with (the outermost export's reading).
LONG ApiLevel(const ApiContext* api);
// The settings block of the context, null without one.
BYTE* ApiSettings(ApiContext* api);
// The chapter array and its record count (both 0 without one).
void* ApiChapterArray(ApiContext* api, DWORD* count);
// Bytes of an id bitmap this call may write: the level's size, never more than the context's
// last size query.
UINT ApiBitmapBytes(ApiContext* api);

// ---- handle table (exports) ----
// Finds the live, idle (or same-thread busy) entry of a handle and marks it busy for the call,
// reading the level once; null for unknown, disabled or otherwise busy handles.
ApiContext* ApiEnterCall(void* handle);
void ApiLeaveCall(ApiContext* api);
// Number of live contexts (tests).
int ApiLiveContextCount();

// ---- open and close ----
// Opens the context of a printer; the handle to give the application, or null. Nothing stays
// allocated and the level is unchanged on failure.
void* ApiContextOpen(const char* printerName);
// Frees a context (null and unknown handles accepted): 1; 0 when it is busy on another call.
int ApiContextClose(void* handle);
// ExcGetDriverDevmode's form: a context without handle-table entry (freed with ApiContextFree).
ApiContext* ApiContextCreate(const char* printerName, int withState);
void ApiContextFree(ApiContext* api);

// ---- the printer of a call ----
// Opens the context's printer: 1 with the handle (also kept in the context and its driver
// context for the call), 0 without context, UI state or name, or when OpenPrinterW fails.
int ApiOpenPrinter(ApiContext* api, HANDLE* printer, PRINTER_DEFAULTSW* defaults);
void ApiClosePrinter(ApiContext* api, HANDLE printer);

// ---- snapshots ----
BYTE* ApiSnapshotDevmode(ApiContext* api);
void ApiSnapshotDevmodeRestore(ApiContext* api, BYTE* copy, int restore);
BYTE* ApiSnapshotWorkArea(ApiContext* api);
void ApiSnapshotWorkAreaRestore(ApiContext* api, BYTE* copy, int restore);
// The whole settings block with duplicates of its font tables (what a failed call is restored
// from), or null. Restore puts it back and takes it over; drop frees it with its tables.
BYTE* ApiCopySettingsBlock(ApiContext* api);
void ApiRestoreSettingsBlock(ApiContext* api, BYTE* copy);
void ApiDropSettingsBlock(ApiContext* api, BYTE* copy);
