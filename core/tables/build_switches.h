// Build switches and the variants of shared operations. The core declares them; each
// deliverable supplies its own table (ui2k/, gr2k/, exclude/ build_variant.cpp) at link time,
// so one core source serves all three without conditional compilation.
#pragma once
#include "platform/win32.h"

struct DriverContext;

struct BuildVariant {
  const char* deliverable;  // "zemsui", "zemsgr", "zemsexc"
  int featureCount;         // BuildHasFeature(ctx, n) is 1 for 0 <= n < featureCount
  int commonDriver;         // BuildIsCommonDriver
  DWORD featureBits;        // BuildHasFeatureBit(n): bit n
  DWORD featureFlags;       // BuildHasFeatureFlag(index): bit index - 1
  int openHasInstallStep;   // a mode-0 open pushes pending install values (printer interface only)
  // Loads the persisted items at a context open; a slot, so that a DLL can bring its own loader.
  int (*loadAtOpen)(DriverContext* ctx);
  // Caches the language code of the installed help file in a new context's UI state; the
  // exclusion and graphics DLLs always take it from the printer's help file name.
  LPCWSTR (*installedLangCode)(DriverContext* ctx);
  // The dialog engine's change notification, which the model's actions on wdmBuiltInFunc
  // (1018) call with the action's value as the code (core/rules/transacts.cpp). Only the
  // printer interface has a dialog engine; null elsewhere, where such an action sets the item.
  void (*notifyChange)(DriverContext* ctx, WORD code);
  // Nonzero: the full value check also accepts zdmUserPrintMacro 160 and zdmColorMode 255
  // whatever the model description says (codes of the application interface); read by the
  // value checks (core/items/item_checks.cpp). Only the exclusion DLL sets it.
  int checkAcceptsApiCodes;
  // Paper items and the public-field merge (core/devmode/couplings.cpp, paper_geometry.cpp,
  // field_merge.cpp); each 0 in the printer interface.
  // The graphics DLL: a custom input paper is exchanged for landscape in every call; the output
  // paper 1024 copies the input paper items first; a custom size in 1/1200 inch follows its
  // slot's own orientation; the merge keeps a caller's explicit size with a slot paper code.
  int inputPaperSwapAlways;
  int outputPaperCopyFirst;
  int size1200BySlotOrientation;
  int mergeKeepsExplicitSize;
  // The exclusion DLL: dmPaperLength/dmPaperWidth and the custom extents taken from the
  // DEVMODE's own fields keep the portrait order.
  int paperFieldsPortrait;
  // The user print macro's quality list: only macros 32-39 (the exclusion DLL), and never
  // loading the list's name (the graphics DLL: neither the user macro's load nor QualityApply
  // reads wdmUserSetName).
  int userMacroListsOnly;
  int userMacroSkipName;
  // Steps of the DEVMODE merge and defaults that differ by deliverable: kDmStep... bits of
  // core/devmode/dm_layout.h (common mark, option block, companion tests, job-control fetch,
  // lock data off Windows 9x, work items of a taken printer DEVMODE, locked model defaults).
  DWORD devmodeSteps;
  // Settings files (core/store/settings_file): 1 when a refused file is shown to the user
  // (header and locked-settings messages), 0 when the status alone reports it; the step after
  // a plain load, null for the shared fix-ups.
  int settingsFileMessages;
  void (*settingsFilePostLoad)(DriverContext* ctx, LONG_PTR savedOSKind, const LONG_PTR* savedSpecial);
  // Presets (core/store/preset_store): 1 when a user preset is applied without the preset
  // cache, name and comment, and a failed load keeps its key, warns nobody and leaves the file
  // status for the caller; a slot outside 0-15 then leaves the name and comment as they are;
  // 0 for the shared form.
  int presetPlainApply;
  // Ini section names (core/common/ini_access): 1 when, on Windows 9x, a character whose low
  // byte is a DBCS lead byte keeps the character after it from the '[' and ']' rule (the
  // exclusion DLL); 0 for the shared rule.
  int sectionLeadByteRule;
  // Completion of loaded strings (core/system/string_completion): 1 when the strings of the
  // sixteen custom media (13708-13723) are replaced by the media's names, cut on a double-byte
  // boundary (the exclusion DLL); 0 leaves them as loaded.
  int completeCustomMediaNames;
  // Custom-size slots (core/store/free_size_store): 1 when a slot taken from its items keeps
  // the item's name in all three name fields (the graphics DLL); 0 puts the slot's default
  // name (string 109 + slot) into the first two.
  int freeSizeNameInAllFields;
  // The dialog engine's repair of child-window procedures that host applications replace
  // (the printer interface's CtxFixHostSubclassing); null where no dialog is shown.
  void (*repairHostSubclassing)(DriverContext* ctx, HWND window);
};

// The table of the deliverable this core is linked into.
const BuildVariant& BuildGetVariant();

// Features: 0 authentication, 1 print notification, 2 setting locks, 3 printer capability query.
enum : int {
  kBuildFeatureAuthentication = 0,
  kBuildFeaturePrintNotification = 1,
  kBuildFeatureSettingLocks = 2,
  kBuildFeaturePrinterQuery = 3,
};
int BuildHasFeature(const DriverContext* ctx, int n);
int BuildIsCommonDriver();
// Feature bit 7: terminal-server client configuration.
int BuildHasFeatureBit(int n);
// Feature flag 1: the preset refresh when a property sheet opens. Valid indexes are 1-8.
int BuildHasFeatureFlag(int index);

