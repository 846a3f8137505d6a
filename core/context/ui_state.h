// The UI state: the per-context work record, copied from a static template at every open. The
// fields several areas share are here; an area that alone uses a field keeps it in its own
// member record.
#pragma once
#include "core/bind/job_control.h"
#include "core/devmode/fin_readers.h"
#include "core/front/dialog_state.h"
#include "core/front/front_state.h"
#include "core/install/install_state.h"
#include "platform/win32.h"

struct UiModuleTable;
struct SettingsSnapshot;

constexpr int kPrinterNameChars = 261;
constexpr int kPathChars = 260;
constexpr int kTextBufferChars = 1025;
constexpr int kEvaluatorStackDepth = 256;

// Open modes (low byte of the open flags) and flags.
enum : WORD {
  kOpenModeMask = 0x00FF,
  kOpenModeFull = 0,
  kOpenModeBare = 4,  // this mode and above: no model description, no settings block
  kOpenNoGlobalMutex = 0x0100,
  kOpenNoAdminCheck = 0x0200,
  kOpenLoadPersisted = 0x0400,
  kOpenCacheAllowed = 0x0800,
  kOpenAnyHandle = 0x1000,
};

// Open kinds.
enum : DWORD {
  kKindSettings = 0x80000000,
  kKindCapabilities = 0x1000000,
  kKindDocumentProperties = 0x2000000,
  kKindExclusion = 0x100000,
  kKindApplicationApi = 0x200000,
  kKindBusy = 0x40000,            // added while the front is busy: settings filed per machine
  kKindLegacy = 0x10000,          // recorded as kKindLegacyRecorded
  kKindLegacyRecorded = 0x20000000,
};

// One custom-size slot (204 bytes): slots 0-9 the user's named sizes, 10 and 11 the sizes of
// the paper codes 256 (paper) and 448 (print).
struct FreeSizeSlot {
  char name1[64];        // the default name; wide text (at most 31 characters) in slots 10 and 11
  char name2[64];        // the default name after completion
  char currentName[64];  // the name the user gave
  LONG width;            // 1/1200 inch
  LONG length;
  SHORT tray;
  SHORT orientation;
};
static_assert(sizeof(FreeSizeSlot) == 204, "custom-size slot is 204 bytes");
constexpr int kFreeSizeSlotCount = 12;  // paper codes of the slots: core/devmode/paper_codes.cpp

struct UiState {
  WORD openMode;                 // low byte of the open flags
  DWORD openKind;
  LONG useGlobalMutex;           // 1 unless opened with kOpenNoGlobalMutex
  LONG checkAdministrator;       // 1 unless opened with kOpenNoAdminCheck
  // Printer facts, each fetched at most once per context.
  WCHAR printerName[kPrinterNameChars];  // connection names rebuilt; the cache key
  WCHAR driverName[kPrinterNameChars];
  LONG onServer;                 // 0 unknown, 1 reached through a server, 2 local
  LONG attributesKnown;
  DWORD attributes;              // PRINTER_INFO_2 Attributes
  WCHAR settingsFilePath[kPathChars];
  WCHAR modelDataFilePath[kPathChars];
  WCHAR driverDirPath[kPathChars];
  WCHAR installIniPath[kPathChars];
  WCHAR languageCode[3];         // two-letter code of the display or installed language (help file)
  DWORD variantCapMask;          // capability mask of the printer's driver variant
  FrontUiState front;            // what the property entry points keep
  LONG modified;                 // 1 after any item write
  DWORD mergeFlags;              // flags of the DEVMODE merge in progress
  DWORD changeFlags;             // accumulated change classes of item writes
  LONG fileStatus;               // last settings-file load or save status
  SettingsSnapshot* snapshotTop;  // the newest pushed settings copy; each owns its font tables
  LONG snapshotMissing;          // pushes on top of it that got no copy
  LONG snapshotDepth;            // pushes not yet popped
  BYTE* initialSettings;         // the settings at the end of the open, own font tables
  BYTE* lockDefaults;            // locked default values (setting-lock feature)
  UiModuleTable* modules;
  void* chapterArray;            // the chapter module's chapter records, heap; freed with the bus
  DWORD chapterRecords;          // records the chapter array holds (it only grows)
  LONG chapterLimitsLoaded;      // 1 once the chapter limits were loaded for this context
  LONG chapterNotedCount;        // the chapter count before the last delete or reset
  // The colour-profile entry being edited or read: its display name and file path (the texts
  // the profile dialogs' name and file edits show), and the colour-matching memory: the last
  // values of items 133, 961, 962, 963 and bits 1, 2, 4, 8 saying which were noted.
  WCHAR cmmName[261];
  WCHAR cmmPath[261];
  BYTE cmmMatching[4];
  BYTE cmmMatchingNoted;
  void* logicalValueBuffer;
  WCHAR textBuffer[kTextBufferChars];
  LONG* evaluatorStack;          // null: every judge on the context is false
  SHORT evaluatorDepth;
  JcBlock jobControl;            // the job-control binding; zeroed at every open
  FreeSizeSlot freeSizes[kFreeSizeSlotCount];  // empty until the custom-size store fills them
  FinReaderSlots finReaders;     // the finishing readers' kept item records
  InstallState install;          // user defaults and install-ini marks of the install code
  // The preset cache: one heap copy of the preset and watermark items per "PresetList%d" key,
  // or null (core/modules/preset_cache.cpp).
  BYTE* presetCache[16];
  // The file the last file dialog chose (a multiple selection: the folder, then the names
  // separated by blanks); core/modules/preset_entries.cpp.
  WCHAR presetChosenFile[1025];
  // The device values the maintenance dialog's refresh kept: {item id, value} pairs ended by
  // {0, 0}, heap, until a page's maintenance button writes them back; core/modules/preset_dialogs.cpp.
  DWORD* presetSavedDevice;
  LONG resolutionCapBusy;        // 1 while the resolution cap re-derives the paper items
  BYTE presetRefreshRunning;     // 1 while the preset refresh dialog of a sheet opening runs
  // The output-size values the job's fit adjustments replaced (zdmOutPaperSize,
  // zdmFuncSelectScale, zdmScaleType), set 1 for bit 3 of zdmFrontFunc, set 2 for bit 5; the
  // mark says the set holds saved values.
  struct OutputSizeSet {
    LONG values[3];
    LONG marked;
  } outputSizeSets[2];
  DlgEngineState dialog;         // the dialog engine's state (core/front/dialog_state.h)
  // The print-method module: the driver version the version dialogs replaced by the model's
  // substitute (empty: none), and the control whose alert check waits for notify 324.
  WCHAR savedDriverVersion[10];
  WORD alertPendingControl;
  // Custom sizes: the slot (0-9) the slot editor edits.
  LONG freeSizeCurrent;
  // The quality-list save dialog: the picture value its icon choice held at its OK (0: none).
  LONG qualityIconChosen;
};

