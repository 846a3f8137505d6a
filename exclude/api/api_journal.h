// The store-write journal of a SetStatus call. A set handler, the change propagation and the
// engine write stored values outside the settings block (printer data, ini keys of the settings
// file, user strings of the job-control store, files, zdmPrnMethod, the action word); the block
// itself is restored from the engine's copy when the call fails, and so are these: each write
// is journalled before it is made and the journal writes the old values back, newest first.
//
// Handlers never write a store directly: they use the journalled writers below (or call
// ApiJournal... first when they write themselves). Outside a SetStatus call the journal is not
// active: the journalling calls answer 1 and record nothing, the writers simply write.
// A journal entry that cannot be recorded (no memory) refuses the write: the writer answers 0.
#pragma once
#include "platform/win32.h"

struct ApiContext;
struct SettingItem;

// ---- the engine ----
// Starts the journal of a call: 1, or 0 when it cannot be allocated.
int ApiJournalBegin(ApiContext* api);
// Ends it: with rollback set, every journalled store gets its old value back, newest first.
void ApiJournalEnd(ApiContext* api, int rollback);
// 1 while a journal is active on the context.
int ApiJournalActive(ApiContext* api);

// ---- recording before a write (1 recorded or not needed, 0 refuse the write) ----
// A whole file (an ini file, a watermark image, an overlay): its bytes, or that it was absent.
int ApiJournalFile(ApiContext* api, LPCWSTR path);
// One printer-data value of the context's printer: its type and bytes, or that it was absent.
int ApiJournalPrinterData(ApiContext* api, LPCWSTR valueName);
// User strings of the job-control store by API mask: written back from the restored settings.
int ApiJournalUserStrings(ApiContext* api, DWORD mask);
// Where StoreSaveItem writes this row (printer data or the settings file).
int ApiJournalItem(ApiContext* api, SettingItem* row, LPCWSTR path);

// ---- journalled writers ----
// StoreSaveItem of a row (path null: the settings file): its answer, 0 when refused.
int ApiStoreSaveItem(ApiContext* api, SettingItem* row, LPCWSTR path);
// One key of an ini file (value null deletes the key).
int ApiWriteIniString(ApiContext* api, LPCWSTR path, LPCWSTR section, LPCWSTR key, LPCWSTR value);
// One printer-data value.
int ApiWritePrinterData(ApiContext* api, LPCWSTR valueName, DWORD type, const void* data, DWORD size);
// The persisted work items of the settings block (class 3).
int ApiSaveWorkItems(ApiContext* api);
