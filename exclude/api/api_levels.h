// The application interface's process-wide state: the API level, the highest level the printer
// offers, the id ranges each level knows and the bitmaps of enabled capability and status ids.
// Everything here is guarded by zemsexc's own lock (ExcApiLock); each export reads the level
// once at its start and works with that value for the whole call.
#pragma once
#include "platform/win32.h"

struct ApiContext;

constexpr LONG kApiTopLevel = 16;         // a higher level reads as 16
constexpr LONG kApiInitialLevel = 3;
constexpr LONG kApiInitialMaxLevel = 16;
constexpr DWORD kApiFirstExtendedId = 257;
constexpr DWORD kApiLastStatusId = 269;   // last overall status id at the top level
constexpr DWORD kApiLastCapsId = 282;     // last overall caps id at the top level
constexpr DWORD kApiExtraCapsId = 0x30000;
constexpr DWORD kApiCapsAllRecord = 0x80000001;
constexpr DWORD kApiCapsFreeAllRecord = 0x80000002;
constexpr UINT kApiBitmapBytes = 64;       // ids 1-512
constexpr UINT kApiBitmapBytesLow = 32;    // below level 6
constexpr UINT kApiSnapshotIntsPerId = 16;  // eight {disabled, restricted} pairs

// Last-error codes of the application interface.
enum ApiError : LONG {
  kApiErrNone = 0,
  kApiErrNoFlag = 1,
  kApiErrNotEnabled = 2,
  kApiErrDriverType = 3,
  kApiErrNoRecord = 5,
  kApiErrVersion = 6,
  kApiErrRefused = 7,
  kApiErrFont = 8,
  kApiErrWatermarkList = 9,
  kApiErrPath = 10,
  kApiErrCharacters = 11,
  kApiErrReadOnly = 12,
  kApiErrInfoCode = 13,
  kApiErrStore = 14,
  kApiErrPaper = 15,
  kApiErrInternal = 100,
  // 200-202: the acquisition's codes, kApiErrorComm..kApiErrorBadFormat (core/bind/bidi_api.h)
  kApiErrPrintMacro = 1000,
  kApiErrSettingsFile = 1001,
  kApiErrTerminalServer = 1002,
};

// One row of ApiLevelCounts: the last basic and the last overall id of each kind.
struct ApiLevelRow {
  DWORD statusLastBasic;
  DWORD statusLastOverall;
  DWORD capsLastBasic;
  DWORD capsLastOverall;
};
// The row of a level: below 0 reads as 0, above 16 as 16.
const ApiLevelRow& ApiLevelCounts(LONG level);
// Level clamp of every lookup: below 0 gives 0, above 16 gives 16.
LONG ApiClampLevel(LONG level);
// 1 when a status / caps id has a row at this level (basic ids 1..last basic, extended ids
// 257..last overall; 0x30000 always for caps).
int ApiStatusIdAtLevel(DWORD id, LONG level);
int ApiCapsIdAtLevel(DWORD id, LONG level);
// The next status id of a walk from 1 to the last overall id at the level (after the last
// basic id the walk jumps to 257); 0 when the walk is over. Start with ApiNextStatusId(0, level).
DWORD ApiNextStatusId(DWORD id, LONG level);
// Bytes of an id bitmap at a level: 32 below level 6, else 64.
UINT ApiBitmapSizeForLevel(LONG level);
// Bit of id n: 0x80 >> ((n - 1) & 7) of byte (n - 1) >> 3; ids outside 1..bytes*8 do nothing.
void ApiBitmapSet(BYTE* bits, UINT bytes, DWORD id);
void ApiBitmapClear(BYTE* bits, UINT bytes, DWORD id);
int ApiBitmapTest(const BYTE* bits, UINT bytes, DWORD id);

// ---- process-wide level and bitmaps (each call takes the lock) ----
LONG ApiGetLevel();
LONG ApiGetMaxLevel();
// CheckAPIVer's effect: maxLevel := offered; level := offered when it is 3 or less.
void ApiApplyOfferedLevel(LONG offered);
// Init's effect: level := maxLevel, or the wanted level when smaller (below 0 reads as 0).
void ApiApplyWantedLevel(LONG wanted);
// Rebuilds both enabled bitmaps for the given level (ZEMSDrvEnable passes maxLevel).
void ApiBuildEnabledMasks(LONG level);
// 1 when the id is enabled in the process-wide bitmaps (caps 0x30000 always).
int ApiIsStatusEnabled(DWORD id);
int ApiIsCapsEnabled(DWORD id);
// The fixed model support masks.
int ApiStatusSupported(DWORD id);
int ApiCapsSupported(DWORD id);
// Back to the start state (level 3, maxLevel 16, empty bitmaps); for tests and detach.
void ApiResetGlobals();

// ---- last error of a context ----
// Stores the code when the call's level is above 8 and the context has an ApiState: 1 when
// stored, 0 when not. The acquisition codes 200-202 are stored whatever the level.
int ApiSetLastError(ApiContext* api, LONG code);
// The stored code, or -1 (no context, no ApiState, level 8 or below).
LONG ApiGetLastErrorCode(ApiContext* api);
// The stored code whatever the level (0 without ApiState): what a handler keeps to restore.
LONG ApiPeekLastError(ApiContext* api);
// Puts a remembered code back unchanged (no level test: it was stored under the same rules).
void ApiRestoreLastError(ApiContext* api, LONG code);
