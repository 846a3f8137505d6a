// Preset and quality files as default packs list them: the conditions on the installed
// options and the driver that decide whether a file is offered, the path tokens of pack
// entries, the copy of a file into a printer's own copy, and the one guard of the paths the
// driver writes on a pack's or a settings file's word.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// ---- conditions ----
// 1 when the file's "condition" section allows it (also without the file, the section or the
// model's "TOV_ConditionOption" pseudo-item), 0 otherwise.
int PresetEvalConditions(LPCWSTR file, DriverContext* ctx);
// The evaluation over a lookup of option names: -1 for a name that is no value symbol of the
// pseudo-item, else 1 when the value's judge holds, 0 when not. The keys
// "ConditionOption<g>_<t>" of section "condition" of file are read.
typedef int (*PresetConditionLookup)(const char* name, void* data);
int PresetEvalConditionsWith(LPCWSTR file, PresetConditionLookup lookup, void* data);
// One condition line (narrow text) starting from result; the line's result.
int PresetEvalConditionLine(const char* line, int result, PresetConditionLookup lookup, void* data);
// 1 unless section "disable" holds a nonzero value under the driver's name.
int PresetIsEnabledForDriver(LPCWSTR file, DriverContext* ctx);
// 1 when zdmFunc2SelectTintBlockUI is 0; else only an "rsr" or "rsd" file whose value of
// zdmFuncSelectWaterMark is 0 or absent. PresetWatermarkFuncAllows is the same test.
int PresetPassesTintBlockRule(LPCWSTR file, DriverContext* ctx);
int PresetWatermarkFuncAllows(LPCWSTR file, DriverContext* ctx);

// ---- path tokens ----
// Resolves the tokens of a pack entry in place (flag 1: a preset or pack file, 0: an install
// file); 1 on success, 0 (buffer unchanged) for a value of 260 characters or more or a result
// that does not fit.
int PresetResolvePath(WCHAR* buffer, DWORD cchBuffer, int flag, DriverContext* ctx);
// Flag 1, and the path must end in a file name with an extension of 1 to 3 characters.
int PresetResolveListPath(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx);
int InstallResolveFilePath(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx);
// A value without "X:" becomes driver folder + value; 1 on success.
int PathResolveInDriverFolder(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx);
int PathResolveInDriverFolderOf(WCHAR* buffer, DWORD cchBuffer, const DRIVER_INFO_3* driverInfo);

// The paths the driver writes on the word of stored text (settings ini, packs), which users may
// edit. A preset or quality save, and a copy into a printer's file: 1 only for a settings file
// (PresetIsSettingsFileTarget) inside a settings folder of the printer (per machine, per user,
// of the calling user), never in the driver folder. Else the caller refuses with
// ERROR_ACCESS_DENIED and writes nothing.
int StorePathIsSettingsTarget(LPCWSTR path, DriverContext* ctx);
// The install pass (pack split, copies of pack entries): those, or the driver's own pack
// files, a settings file in the driver folder.
int StorePathIsDriverTarget(LPCWSTR path, DriverContext* ctx);
// The install files the model data file lists (an administrator's file): those, or any file
// of the Windows or System directory with no ".." part.
int StorePathIsInstallFileTarget(LPCWSTR path, DriverContext* ctx);

// ---- copying and reading ----
// Copies the "condition" and "disable" sections, the settings of a group (StoreFileFlags)
// and the read-only mark from source to target. Nothing is written (0) unless the source
// exists and loads with its language section, and target passes StorePathIsSettingsTarget.
// PresetCopyFile is declared with the other stores (settings_stores.h).
// 1 when the file's printer section has "RstVersion".
int PresetHasSettingsHeader(LPCWSTR file, DriverContext* ctx);
// Appends a pack's preset to the printer's preset list; with flag 0x40 a file that fails the
// conditions, the driver test or the watermark rule is skipped. An empty name becomes
// "NoName". 1 (also when skipped).
int PresetAppendFromPack(LPCWSTR settingsIni, LPCWSTR file, LPCWSTR name, LPCWSTR comment, DWORD flags,
                         DriverContext* ctx);
// "setname" and "setcomment" (260 characters each) / "qualityname" of section of file.
void PresetReadNameAndComment(LPCWSTR file, LPCWSTR section, WCHAR* name, WCHAR* comment);
void QualityReadName(LPCWSTR file, LPCWSTR section, WCHAR* name);
// The per-machine settings folder + the leaf of file with its extension "rsd" (group flag 4)
// or "rsq" (0x10); 1 on success. QualityRsqPath (settings_stores.h) is the "rsq" form.
int PresetTwinPath(WCHAR* target, DWORD cchTarget, LPCWSTR file, DWORD groupFlags, DriverContext* ctx);
// file with its extension replaced by "rsd".
int PresetRsdPath(WCHAR* target, LPCWSTR file, DWORD cchTarget);

// ---- ini text ----
// The offset of the header "[name]" at the start of a line of text (length bytes; name
// compared case-insensitively, "]" right after it), or -1; *sectionLength (when given) gets
// the bytes from "[" up to the next line that begins with "[".
LONG IniFindSection(LPCWSTR name, const char* text, DWORD length, DWORD* sectionLength);
// 1 when the integer key reads as neither 0 nor 0x7FFF (missing).
int IniKeyIsSet(LPCWSTR file, LPCWSTR section, LPCWSTR key);
