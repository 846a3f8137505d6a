// Presets and quality lists. The printer's section of its settings ini lists them: "Count"
// and "PresetList%d" (+ "Name", "Comment") for up to sixteen presets, "QualityCount" and
// "QualityList%d" (+ "Name") for the quality lists; each entry is a settings file of its own.
// Applying, saving and refreshing them, the per-user preset files, and the list appends.
#pragma once
#include "core/context/driver_context.h"
#include "core/store/settings_stores.h"
#include "platform/win32.h"

constexpr int kPresetSlots = 16;

// "PresetList%d" with n; kind 1 appends "Name", kind 2 "Comment" (buffer of cchBuffer).
WCHAR* PresetKeyName(WCHAR* buffer, DWORD cchBuffer, int n, int kind);
// "QualityList%d" with n.
WCHAR* QualityKeyName(WCHAR* buffer, DWORD cchBuffer, int n);

// ---- presets ----
int PresetGetCount(DriverContext* ctx);
// Slot 0-15 applied (PresetApplyUser of its key); any other n empties the name and comment.
void PresetApplySlot(DriverContext* ctx, int n);
// Applies the preset file of a "PresetList%d" key: from the cache when it holds the slot,
// else from the file; a file that cannot be taken gives preset 0 and message 10023 (the key
// is emptied only when the file is gone).
void PresetApplyUser(DriverContext* ctx, LPCWSTR key);
// Slot n (0-15) applied from its own file, the cache left out; 1 when that file loaded, 0 when
// it was refused and preset 0 stands in. The refreshes save a slot only on 1.
int PresetApplySlotFromFile(DriverContext* ctx, int n);
// Applies the factory twin (".rsd" in the settings folder) of slot n's file.
void PresetApplyFactory(DriverContext* ctx, int n);
// Saves the preset items into slot n's file, then its name and comment (PresetSaveSlot) or
// the file only (PresetSaveSlotItems); 1 on success. A file without a settings-file extension
// on a drive path free of ".." is refused (status ERROR_ACCESS_DENIED).
int PresetSaveSlot(DriverContext* ctx, int n);
int PresetSaveSlotItems(DriverContext* ctx, int n);
int PresetSaveFile(DriverContext* ctx, LPCWSTR key);
int PresetSaveItems(DriverContext* ctx, LPCWSTR key);
// 1 unless the slot's file (n outside 0-15: 0) / the file is marked "Readonly".
int PresetSlotIsWritable(DriverContext* ctx, int n);
int PresetFileIsWritable(DriverContext* ctx, LPCWSTR path);
// The first free "user%04d.rst" of the settings folder into path (cchPath characters); 0 and
// an empty path when all 10,000 are taken.
int PresetNewUserFile(DriverContext* ctx, WCHAR* path, DWORD cchPath);
// Gives slot n a per-user file when its key is empty or names a factory file ('r' last).
// 1 when the slot keeps or got its file; 0 for no slot, no free file, or a failed key write.
int PresetAssignUserFile(DriverContext* ctx, int n);
// After an upgrade: each preset takes the factory twin's new items, keeps the user's values
// and its "Readonly" mark.
void PresetRefreshAll(DriverContext* ctx);
// The storage of wdmPresetName (37 bytes) and wdmPresetComment (513 bytes), narrow text.
char* PresetNameBuf(DriverContext* ctx);
char* PresetCommentBuf(DriverContext* ctx);

// The preset list: appends PresetList<Count> = path with its name and comment and raises
// "Count" (the cache freed; its answer returned); PresetClearList writes "Count" = "0".
int PresetAppendEntry(DriverContext* ctx, LPCWSTR path, LPCWSTR name, LPCWSTR comment);
int PresetClearList(DriverContext* ctx);

// ---- quality lists ----
// QualityApplySlot and QualitySaveSlot are declared with the stores the settings files call
// (settings_stores.h).
int QualityGetCount(DriverContext* ctx);
// Quality list n applied; 1 when its file loaded with status 0 (a refused file is not saved).
int QualityApplySlotFromFile(DriverContext* ctx, int n);
void QualityApply(DriverContext* ctx, LPCWSTR key);
void QualityLoadName(DriverContext* ctx, LPCWSTR key);
int QualitySaveList(DriverContext* ctx, LPCWSTR key);
int QualitySaveListItems(DriverContext* ctx, LPCWSTR key);
// The quality group into the file of quality list n, its QualityList<n>Name key left as it is;
// 0 when the key names no file a save may write. QualitySaveSlotFile is the same save.
int QualityWriteSlotFile(DriverContext* ctx, int n);
int QualitySaveSlotFile(DriverContext* ctx, int n);
void QualityApplyFactory(DriverContext* ctx, LPCWSTR key);
void QualityApplyFactorySlot(DriverContext* ctx, int n);
void QualityReadFactoryName(DriverContext* ctx, LPCWSTR key);
void QualityReadFactoryNameSlot(DriverContext* ctx, int n);
void QualityRefreshAll(DriverContext* ctx);
// Appends QualityList<QualityCount> = file with its name; QualityClearList writes
// "QualityCount" = "0".
int QualityAppendEntry(DriverContext* ctx, LPCWSTR file, LPCWSTR name);
int QualityClearList(DriverContext* ctx);

// 1 for a path of the form a settings file may have: a drive path ("X:\") in its canonical
// spelling (no empty, "." or ".." part, none ending in a dot or blank, no "/" or stream) whose
// extension is one of the settings files' (rst, rsr, rsd, rsq, rsb). Where it may be written
// is StorePathIsSettingsTarget's question (preset_files.h).
int PresetIsSettingsFileTarget(LPCWSTR path);
