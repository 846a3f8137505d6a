// Services the application interface and its item handlers share: the API ini, tests of
// settings, dialog controls and locks, name, path, file and font checks, user strings of the
// job-control store, raw reads from a saved settings image and a few resets. Tests answer 0 (or
// their stated failure value) for missing nodes, controls, dialogs or memory and store no API
// error.
#pragma once
#include "platform/win32.h"

struct ApiContext;
struct ExclusiveRecord;
struct SettingItem;

// ---- the API ini (section "ZEMSAPI" of the model data file) ----
// "ZEMSAPIVer" of a printer by name, or -1 (key absent, no path, printer not opened).
LONG ApiReadLevel(const char* printerName);
// The same; *known is 0 when the printer could not be opened or its ini path not be built for
// lack of memory (the answer then says nothing about the key).
LONG ApiReadLevelKnown(const char* printerName, int* known);
// An integer key of the API ini of an open printer, default 0; 0 when there is no path.
LONG ApiReadIniInt(HANDLE printer, const char* section, const char* key);
// 1 when "ZEMSAPIFunc1" has a bit of the mask (the printer of the call in progress, else opened
// for the question).
int ApiReadIniFunc1Mask(ApiContext* api, DWORD mask);

// ---- settings, controls and locks ----
// Not Windows 9x and the context DEVMODE's environment flag zdmTSE set.
int ApiIsAdminLocked(ApiContext* api);
// The setting has a model node, a dialog control carries the node's symbol and the setting
// is not disabled.
int ApiIsFeatureUsable(ApiContext* api, WORD setting);
// The same with the control looked up on that dialog only.
int ApiIsAvailableOnDialog(ApiContext* api, WORD setting, WORD dialogId);
// The control exists and has a symbol; flag 1: not disabled, flag 2: not restricted.
int ApiIsControlAvailable(ApiContext* api, WORD dialogId, WORD controlId, DWORD flags);
// The constraint node of a setting: that of its main dialog control's symbol when the control's
// dialog has kind bit 0 or 5 and is not disabled, else the setting's own; null when neither.
const ExclusiveRecord* ApiFindConstraintNode(WORD setting, ApiContext* api);
// Judges of a constraint node's item (value 0): disabled (A) and restricted (B); 0 for null.
int ApiNodeDisabled(ApiContext* api, const ExclusiveRecord* node);
int ApiNodeRestricted(ApiContext* api, const ExclusiveRecord* node);
// Has options, a constraint node exists, and by flag the value is not disabled (1) and not
// restricted (2).
int ApiIsSettingOffered(ApiContext* api, WORD setting, WORD value, DWORD flags);
// The value id of the PickOne value whose value-symbol code is code; 0 when none.
WORD ApiFindValueBySymbolCode(ApiContext* api, WORD setting, DWORD code);
// 1 when the setting's first applying alert carries the text id (mode 1: with the trial value,
// the previous value put back before answering).
int ApiAlertMatches(ApiContext* api, WORD setting, WORD textId, LONG_PTR value, int mode);
// The Text (0), Line (1) or Image (2) variant of a colour-adjust setting; the setting itself
// when not listed.
WORD ApiSelectVariant(ApiContext* api, WORD setting, int variant);
// With zdmAdjustMode 1: the variant that zdmAdjustObject selects; else the setting.
WORD ApiRemapAdjustSetting(ApiContext* api, WORD setting);
// zdmUseUserMacro nonzero and zdmUserPrintMacro 160.
int ApiPrintMacroRuleHolds(ApiContext* api);

// ---- names, files and fonts (ANSI texts) ----
int ApiIsValidFileName(const char* text);
int ApiIsValidPathChars(const char* text, int allowBackslash);
int ApiIsValidPath(const char* text);
const char* ApiPathLeaf(const char* text);
const char* ApiPathExtension(const char* text, int* length);
int ApiIsValidFullFileName(const char* text);
int ApiHasChar(const char* text, char character);
int ApiIsKnownImageKind(LONG kind);
int ApiCheckFileByKind(ApiContext* api, LONG kind, const char* path);
// Proves a path can be written (creating and removing what was missing); the full path into
// out (260 bytes) when given. 0 when the path cannot be written.
int ApiEnsureFileFullPath(const char* path, char* out);
int ApiShortPathCreating(const char* source, char* out);
int ApiIsFontInstalled(ApiContext* api, const char* faceName);

// ---- user strings of the job-control store (API masks) ----
enum : DWORD {
  kApiUserCode = 0x1,
  kApiUserOwnerName = 0x2,
  kApiUserJobPassword = 0x4,
  kApiUserId = 0x8,
  kApiUserDocumentName = 0x10,
  kApiUserTelNo = 0x20,
  kApiUserTelLine = 0x40,
  kApiUserStoredPassword = 0x80,
  kApiUserAuthName = 0x800,
  kApiUserAuthPassword = 0x1000,
  kApiUserAuthNetworkKey = 0x2000,
  kApiUserStringsOfGet = 0x389F,
};
void ApiLoadUserStrings(ApiContext* api, DWORD mask);
// Journalled while a SetStatus call runs: 1 when written (or nothing to write), 0 refused.
int ApiSaveUserString(ApiContext* api, DWORD mask);
int ApiJcSetString(HANDLE printer, DWORD id, const WCHAR* text, DWORD byteCount);

// ---- settings helpers ----
// An item's stored value read from a saved settings image (texts: the address inside it).
LONG_PTR ApiReadSettingFromImage(ApiContext* api, const SettingItem* row, const BYTE* image);
// Saves the item under "zdmAction" with the 16-bit stored type (journalled).
int ApiSaveActionItem(ApiContext* api, SettingItem* row, LPCWSTR file);
void ApiNotifyPaperChange(ApiContext* api, int kind);
void ApiResetShiftIfNoRange(ApiContext* api);
void ApiResetPageEdges(ApiContext* api);
void ApiSetEnvironmentFlagsOS(ApiContext* api);
int ApiWatermarkZeroStored(ApiContext* api);
// Watermark 0 loaded inside a settings snapshot, its character name emptied, saved as the
// scratch watermark 256; the settings are restored.
void ApiPrepareScratchWatermark(ApiContext* api);
void ApiBindPresetControl(WORD setting, ApiContext* api);
// Flags the load-share rows this printer offers (in the context's ApiState).
void ApiMarkUsableEntries(ApiContext* api);

// ---- tables ----
struct ApiLoadShareRow {
  LONG apiValue;
  LONG code;       // stored value of zdmLoadShare
  WORD valueId;    // its value symbol
};
constexpr int kApiLoadShareRows = 6;
extern const ApiLoadShareRow ApiLoadShareTable[kApiLoadShareRows];
struct ApiAdjustVariant {
  WORD setting;
  WORD text;
  WORD line;
  WORD image;
};
constexpr int kApiAdjustVariantRows = 11;
extern const ApiAdjustVariant ApiAdjustVariantTable[kApiAdjustVariantRows];
