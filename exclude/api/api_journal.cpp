// The store-write journal of a SetStatus call.
#include "exclude/api/api_journal.h"

#include <string.h>

#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/items/item_table.h"
#include "core/store/exc_store.h"
#include "core/store/item_store.h"
#include "core/system/settings_folders.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_services.h"

namespace {

constexpr DWORD kMaxJournalledBytes = 16u << 20;  // a stored value or file larger than this is refused

enum class Kind { kFile, kPrinterData, kUserStrings };

struct Entry {
  Entry* older;
  Kind kind;
  WCHAR name[MAX_PATH];  // path or value name
  BOOL present;          // the file or value existed
  DWORD type;            // printer-data type
  DWORD mask;            // user strings
  BYTE* bytes;
  DWORD size;
};

}  // namespace

struct ApiJournal {
  Entry* newest;
  BOOL failed;  // an entry could not be recorded (its write was refused)
};

namespace {

ApiJournal* JournalOf(ApiContext* api) {
  ApiState* state = ApiGetState(api);
  return state ? state->journal : nullptr;
}

// The entry recorded first for the name keeps the oldest state: later records are not needed.
bool AlreadyRecorded(ApiJournal* journal, Kind kind, const WCHAR* name, DWORD mask) {
  for (Entry* e = journal->newest; e; e = e->older) {
    if (e->kind != kind) continue;
    if (kind == Kind::kUserStrings ? (e->mask & mask) == mask : lstrcmpiW(e->name, name) == 0) return true;
  }
  return false;
}

Entry* NewEntry(Kind kind, const WCHAR* name) {
  auto* e = static_cast<Entry*>(MemAllocZero(sizeof(Entry)));
  if (!e) return nullptr;
  e->kind = kind;
  for (int i = 0; name && name[i] && i < MAX_PATH - 1; ++i) e->name[i] = name[i];
  return e;
}

bool NameFits(const WCHAR* name) {
  if (!name || !name[0]) return false;
  int n = 0;
  while (name[n]) ++n;
  return n < MAX_PATH;
}

int Refuse(ApiJournal* journal) {
  journal->failed = TRUE;
  return 0;
}

// Keeps e when its old state was read (1), else drops it and refuses the write (0).
int Record(ApiJournal* journal, Entry* e, bool ok) {
  if (!ok) {
    MemFree(e->bytes);
    MemFree(e);
    return Refuse(journal);
  }
  e->older = journal->newest;
  journal->newest = e;
  return 1;
}

bool ReadWholeFile(const WCHAR* path, Entry* e) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    e->present = FileExists(path);
    return !e->present;  // an existing file that cannot be read cannot be journalled
  }
  e->present = TRUE;
  const DWORD size = GetFileSize(file, nullptr);
  bool ok = size != INVALID_FILE_SIZE && size <= kMaxJournalledBytes;
  if (ok && size) {
    e->bytes = static_cast<BYTE*>(MemAllocZero(size));
    ok = e->bytes && FileReadBytes(file, e->bytes, size) == static_cast<LONG>(size);
    e->size = size;
  }
  CloseHandle(file);
  return ok;
}

void WriteWholeFile(const Entry* e) {
  if (!e->present) {
    FileDelete(e->name);
    return;
  }
  HANDLE file = CreateFileW(e->name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  if (e->size) FileWriteBytes(file, e->bytes, e->size);
  CloseHandle(file);
}

void Undo(ApiContext* api, const Entry* e) {
  switch (e->kind) {
    case Kind::kFile:
      WriteWholeFile(e);
      break;
    case Kind::kPrinterData:
      if (!api->printer) break;
      if (e->present)
        SetPrinterDataW(api->printer, const_cast<LPWSTR>(e->name), e->type, e->bytes, e->size);
      else
        DeletePrinterDataW(api->printer, const_cast<LPWSTR>(e->name));
      break;
    case Kind::kUserStrings:
      // The settings are already back at their old texts: push them again.
      ApiSaveUserString(api, e->mask);
      break;
  }
}

}  // namespace

int ApiJournalBegin(ApiContext* api) {
  ApiState* state = ApiGetState(api);
  if (!state) return 0;
  if (state->journal) return 1;  // a nested SetStatus writes into the outer call's journal
  state->journal = static_cast<ApiJournal*>(MemAllocZero(sizeof(ApiJournal)));
  return state->journal ? 1 : 0;
}

void ApiJournalEnd(ApiContext* api, int rollback) {
  ApiState* state = ApiGetState(api);
  if (!state || !state->journal) return;
  ApiJournal* journal = state->journal;
  // Detached first: the undo writes must not be journalled again.
  state->journal = nullptr;
  for (Entry* e = journal->newest; e;) {
    Entry* older = e->older;
    if (rollback) Undo(api, e);
    MemFree(e->bytes);
    MemFree(e);
    e = older;
  }
  MemFree(journal);
}

int ApiJournalActive(ApiContext* api) { return JournalOf(api) ? 1 : 0; }

int ApiJournalFile(ApiContext* api, LPCWSTR path) {
  ApiJournal* journal = JournalOf(api);
  if (!journal) return 1;
  if (!NameFits(path)) return Refuse(journal);
  if (AlreadyRecorded(journal, Kind::kFile, path, 0)) return 1;
  Entry* e = NewEntry(Kind::kFile, path);
  if (!e) return Refuse(journal);
  return Record(journal, e, ReadWholeFile(path, e));
}

int ApiJournalPrinterData(ApiContext* api, LPCWSTR valueName) {
  ApiJournal* journal = JournalOf(api);
  if (!journal) return 1;
  if (!NameFits(valueName) || !api->printer) return Refuse(journal);
  if (AlreadyRecorded(journal, Kind::kPrinterData, valueName, 0)) return 1;
  Entry* e = NewEntry(Kind::kPrinterData, valueName);
  if (!e) return Refuse(journal);
  LPWSTR name = const_cast<LPWSTR>(e->name);
  DWORD type = 0, needed = 0;
  const DWORD rc = GetPrinterDataW(api->printer, name, &type, nullptr, 0, &needed);
  bool ok = true;
  if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
    e->present = TRUE;
    e->type = type;
    ok = needed <= kMaxJournalledBytes;
    if (ok && needed) {
      e->bytes = static_cast<BYTE*>(MemAllocZero(needed));
      ok = e->bytes && GetPrinterDataW(api->printer, name, &type, e->bytes, needed, &needed) == ERROR_SUCCESS;
      e->size = needed;
    }
  }
  return Record(journal, e, ok);
}

int ApiJournalUserStrings(ApiContext* api, DWORD mask) {
  ApiJournal* journal = JournalOf(api);
  if (!journal || !mask) return 1;
  if (AlreadyRecorded(journal, Kind::kUserStrings, nullptr, mask)) return 1;
  Entry* e = NewEntry(Kind::kUserStrings, nullptr);
  if (!e) return Refuse(journal);
  e->mask = mask;
  return Record(journal, e, true);
}

int ApiJournalItem(ApiContext* api, SettingItem* row, LPCWSTR path) {
  if (!ApiJournalActive(api)) return 1;
  if (!row || !row->persistKey) return 1;
  if (row->storageKind == ItemStorePrinterData) return ApiJournalPrinterData(api, row->persistKey);
  if (row->storageKind == ItemStoreSettingsIni) {
    if (!path) path = PathSettingsFile(ApiDriverCtx(api));
    return ApiJournalFile(api, path);
  }
  return 1;
}

int ApiStoreSaveItem(ApiContext* api, SettingItem* row, LPCWSTR path) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || !row) return 0;
  if (!ApiJournalItem(api, row, path)) return 0;
  return StoreSaveItem(api->printer, ctx, row, path);
}

int ApiWriteIniString(ApiContext* api, LPCWSTR path, LPCWSTR section, LPCWSTR key, LPCWSTR value) {
  if (!path || !section) return 0;
  if (!ApiJournalFile(api, path)) return 0;
  return IniWriteString(section, key, value, path) ? 1 : 0;
}

int ApiWritePrinterData(ApiContext* api, LPCWSTR valueName, DWORD type, const void* data, DWORD size) {
  if (!api || !api->printer || !valueName) return 0;
  if (!ApiJournalPrinterData(api, valueName)) return 0;
  return SetPrinterDataW(api->printer, const_cast<LPWSTR>(valueName), type,
                         static_cast<LPBYTE>(const_cast<void*>(data)), size) == ERROR_SUCCESS
             ? 1
             : 0;
}

int ApiSaveWorkItems(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return 0;
  // Every work item may be written: the settings file and each printer-data value they use.
  if (ApiJournalActive(api)) {
    if (!ApiJournalFile(api, PathSettingsFile(ctx))) return 0;
    SettingItemTable* table = ctx->items;
    for (SHORT i = 0; table && i < table->count; ++i) {
      SettingItem* row = &table->rows[i];
      if (ItemDescArea(row->descriptor) != ItemAreaWork || row->storageKind != ItemStorePrinterData) continue;
      if (!ApiJournalItem(api, row, nullptr)) return 0;
    }
  }
  return ApiSavePersisted(ctx);
}
