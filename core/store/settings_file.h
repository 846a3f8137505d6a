// Settings files: one reader and writer for every file in the settings-file format (the
// printer's settings ini, presets, quality lists, watermark and custom-size sections, packs,
// the settings text file). A section holds a short header ("RstVersion", "RstMachine",
// "RstLanguage", "RstOSKind") and then one "name=value" line per setting item; flags choose the
// items, the section and the header of a call.
#pragma once
#include "platform/win32.h"

struct DriverContext;
struct SettingItem;
struct IniSectionBuffer;

// StoreFileFlags.
typedef DWORD StoreFileFlags;
enum : DWORD {
  kStoreFileRead = 0x1,
  kStoreFileWrite = 0x2,
  kStoreFilePreset = 0x4,
  kStoreFileText = 0x8,             // the settings text file
  kStoreFileQuality = 0x10,
  kStoreFileWatermark = 0x20,
  kStoreFileCustomSize = 0x80,      // items 915-919
  kStoreFileExtended = 0x100,
  kStoreFileSourceCustomSize = 0x200,  // items 920-924
  kStoreFileRsdSection = 0x800,
  kStoreFileWorkOnly = 0x1000,
  kStoreFileLanguageSection = 0x2000,
  kStoreFileNoWarning = 0x8000,
  kStoreFilePackageMain = 0x10000,  // save only: the section is the display-language code
  kStoreFileDriverSection = 0x20000,
};

// File status of the context after a transfer (else the system error of a failed rewrite).
enum : LONG {
  kFileStatusOk = 0,
  kFileStatusHeader = 1,      // the header did not match: nothing was transferred
  kFileStatusUnreadable = 2,
  kFileStatusLocked = 3,      // a locked setting differs: nothing was transferred
};

// A settings file above this size is not read (status 2).
constexpr DWORD kSettingsFileMaxBytes = 16u << 20;

// Message ids of the refusals (strings of the language DLL, the path as their argument).
enum : UINT {
  kMsgSettingsFileHeader = 10023,
  kMsgSettingsFileLocked = 12041,
};

// ---- load and save ----
// Loads a settings file into the context (flags 0 plain, or a StoreFileFlags combination)
// under the global mutex, then, for a plain load, runs the load fix-ups. 1 or 0; the status
// tells a header mismatch (result 1, status 1) from a success. A refused file (status 1, 2 or
// 3) changes nothing: no item, no printer data, no fix-up.
int StoreLoadSettingsFile(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx);
// Saves the context into a settings file; plain and preset saves first make the file
// self-contained on a copy of the settings that is put back afterwards. 1 when every part was
// written.
int StoreSaveSettingsFile(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx);

// ---- the transfers ----
// The item-section transfer; flags must hold the read or the write bit. Holds the global
// mutex for the whole read or rewrite.
int StoreRwItemSection(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx);
// The extended pass over the ids first-last (10001-10434): the authentication modes, and with
// the setting-lock feature the lock information items.
int StoreRwExtendedItems(LPCWSTR path, DWORD flags, DriverContext* ctx, WORD firstId, WORD lastId);
// The named items first-last one by one through the ini calls in the section; key is a buffer
// of at least 261 characters the call may use. The font-table items are never read from a
// file and written as 0.
int StoreRwItemRange(LPCWSTR path, DWORD flags, DriverContext* ctx, LPCWSTR section, WCHAR* key, WORD firstId,
                     WORD lastId);
// The named items 10001-10434 and 1453-1543 in the section, in one pass over the file.
int StoreRwNamedItems(LPCWSTR path, DWORD flags, DriverContext* ctx, LPCWSTR section);
// The extended items 10001-10434 and 1453-1543 in section "ZEMSPrnSection" (the display-language
// code when reading the settings text file).
int StoreRwExtendedSection(LPCWSTR path, DWORD flags, DriverContext* ctx);
// Writes the extended items into the settings text file (flag 0x8) or the given file.
int StoreWriteSettingsText(LPCWSTR path, DWORD flags, DriverContext* ctx);
// The preset group in section "ZEMSRsdSection".
int StoreRwRsdSection(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx);
int StoreWriteRsdText(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx);
// The device setup into the model's default pack; 1 unless memory runs out.
int StoreSaveDeviceSetupToPack(DriverContext* ctx);

// ---- the header ----
// Appends the header keys to the section being built (buffer given) or writes them with the
// ini calls into section of path; only "RstVersion" with versionOnly. 1 on success.
int StoreWriteFileHeader(LPCWSTR path, IniSectionBuffer* buffer, DriverContext* ctx, LPCWSTR section,
                         DWORD* position, BOOL versionOnly);
// The header check of a transfer (see the .cpp); 1 accepted (or written), 0 refused.
// sectionText is the file's section in memory, or null for the ini calls.
int StoreCheckSettingsHeader(LPCWSTR path, LPCWSTR section, DWORD flags, BOOL warn, DriverContext* ctx,
                             const char* sectionText, IniSectionBuffer* buffer, DWORD* position, BOOL majorOnly);
// 1 when a / 100 equals b / 100.
int StoreVersionMatches(WORD a, WORD b);
// "RstOSKind" of the printer's section, 0xFFFF when absent.
WORD StoreReadOSKind(LPCWSTR path, DriverContext* ctx);

// ---- locked settings ----
int StoreCheckAllLockedItems(DriverContext* ctx, LPCWSTR path, LPCWSTR section, DWORD flags);
int StoreCheckLockedItem(DriverContext* ctx, LPCWSTR path, LPCWSTR section, LPCWSTR key, WORD id);

// ---- item filters: 1 keeps the row ----
int StoreFilterText(const SettingItem* row);
int StoreFilterPlainRead(const SettingItem* row);
int StoreFilterExtended(const SettingItem* row);
// The custom-media items 1495-1543, kept while custom media are supported: the model allows
// some (wdmCustomMediaMaxNum, 1494, above 0).
int StoreFilterCustomMedia(DriverContext* ctx, const SettingItem* row);
int StoreFilterNoSecrets(const SettingItem* row);
int StoreFilterNoSupportFlags(const SettingItem* row);
int StoreFilterTextNoNotify(const SettingItem* row);
int StoreFilterNoLockInfo(WORD id);
int StoreFilterNoJobSecrets(const SettingItem* row);
// 10386 and 10418-10434: the lock items the extended pass carries.
int StoreIsLockExtendedItem(WORD id);

// The step after a plain load (the fix-ups), as the build table's slot calls it: the saved
// zdmOSKind and the saved items 1169-1184.
void StoreSettingsFileFixUps(DriverContext* ctx, LONG_PTR savedOSKind, const LONG_PTR* savedSpecial);
// The exclusion DLL's form: no job-control exchange; the quality list file of the user macro
// (QualityList<macro - 32>, DmUserMacroQualityKey) is saved without rewriting its
// QualityList<n>Name key; zdmAdjustMode 1 is 0 during the merge.
void StoreSettingsFileFixUpsNoJobControl(DriverContext* ctx, LONG_PTR savedOSKind, const LONG_PTR* savedSpecial);
// The graphics DLL's form: as the exclusion DLL's, with zdmAdjustMode left as it is during the
// merge.
void StoreSettingsFileFixUpsGraphics(DriverContext* ctx, LONG_PTR savedOSKind, const LONG_PTR* savedSpecial);
