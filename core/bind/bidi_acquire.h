// Bidirectional option acquisition: the gate, the binding of the printer's communication
// library, the order of the questions, and the translation of the answers into the trays,
// installed options, memory and version texts of the extension area.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// ---- the communication library's entry points ----
// Every entry point is WINAPI; the driver only reads the table the library fills.
typedef BOOL(WINAPI* BidiOpenPrinterFn)(LPCWSTR printer, HANDLE* printerHandle, DWORD* ready);
typedef BOOL(WINAPI* BidiClosePrinterFn)(HANDLE printerHandle);
typedef BOOL(WINAPI* BidiBeginQueryFn)(HANDLE printerHandle, HANDLE* query, DWORD queryFlags, DWORD* out);
typedef BOOL(WINAPI* BidiOpenGroupFn)(HANDLE printerHandle, HANDLE* group, DWORD groupId, DWORD one);
typedef BOOL(WINAPI* BidiGetModelNameFn)(HANDLE printerHandle, DWORD zero, LPWSTR buffer, DWORD cchBuffer);
// Number of entries, or -1; a null buffer asks only for the size (*needed, bytes).
typedef LONG(WINAPI* BidiGetInformationFn)(HANDLE query, DWORD code, void* buffer, DWORD cbBuffer, DWORD* needed);
typedef BOOL(WINAPI* BidiGetGroupItemFn)(HANDLE group, DWORD groupId, DWORD item, void* buffer, DWORD cbBuffer,
                                         DWORD* needed);

// The block the library's initialise export fills: two words and 13 entry points (slots 5 and
// 8-12 are not used by the driver).
struct BidiFuncTable {
  DWORD header[2];
  BidiOpenPrinterFn openPrinter;        // slot 0
  BidiClosePrinterFn closePrinter;      // slot 1
  BidiBeginQueryFn beginQuery;          // slot 2
  BidiOpenGroupFn openGroup;            // slot 3
  BidiGetModelNameFn getModelName;      // slot 4
  void* slot5;
  BidiGetInformationFn getInformation;  // slot 6
  BidiGetGroupItemFn getGroupItem;      // slot 7
  void* slots8to12[5];
};
static_assert(sizeof(BidiFuncTable) == 60, "the library fills a 60-byte block");
typedef BOOL(WINAPI* BidiInitializeFn)(BidiFuncTable* table);

// Names the driver loads.
extern const WCHAR kBidiLibraryName[];        // "ov4manNT.dll"
extern const WCHAR kBidiLibraryName9x[];      // "ovoman32.dll"
extern const char kBidiInitializeExport[];    // "OrvelInitializeBidiApiW"

// Acquisition flags.
enum : DWORD {
  kBidiShowWait = 1,
  kBidiStatusOnly = 2,
  kBidiFromOptionBlock = 4,
  kBidiExclusionPath = 8,  // on Windows 9x the library "ovoman32.dll"
};
// Query flags of slot 2.
enum : DWORD {
  kBidiQueryStatus = 0x104,
  kBidiQueryFull = 0x2011C,
};
// The group of the group items and the last-error codes that the driver accepts.
constexpr DWORD kBidiGroupId = 15;
constexpr DWORD kBidiAcceptedZero = 102;    // a zero from slots 2 and 3 that is no failure
constexpr DWORD kBidiSizeQueryDenied = 5;   // a failed group size query that still tells the size

// Module events of the acquisition.
enum : int {
  kBidiEventTrayKind = 8,       // {flag word, kind, answer}
  kBidiEventTrayFunc = 9,       // {flag word, tray value, mask pointer}
  kBidiEventTrayLists = 10,     // no parameter
  kBidiEventAskDetails = 21,    // {answer}
  kBidiEventAcquired = 22,      // no parameter
};
struct BidiTrayKindEvent {
  DWORD flags;
  DWORD kind;
  DWORD answer;
};
struct BidiTrayFuncEvent {
  DWORD flags;
  DWORD trayValue;
  BYTE* functions;
};

// ---- gate and entry points ----
// 1 when the settings-ini path is a drive path and "bIsBIDISupportForZEMS" of its language
// section reads 1 (default 1); else 0.
int BidiIsSupported(DriverContext* ctx);
// The full (or with flag 2 the status-only) update with its bookkeeping: 1 on success or when
// there is nothing to do, 0 on failure (zdmBiDirect 0, both version texts emptied).
int BidiUpdateFromPrinter(DriverContext* ctx, HWND parent, DWORD flags);
// Flags 1 (wait dialog): the UI modules' form.
int BidiUpdateFromPrinterUi(DriverContext* ctx, HWND parent);
// Flags 4, no window: the option request block's form.
int BidiUpdateFromPrinterSilent(DriverContext* ctx);
// The status-only acquisition under the wait dialog, without bookkeeping: 1/0.
int BidiAcquireStatusBlobs(DriverContext* ctx, HWND parent);
// One acquisition through the library: 1/0. A failed full acquisition leaves the extension
// area as it was.
int BidiAcquire(DWORD flags, DriverContext* ctx);
// 1 when the library loads, its initialise export exists and the printer opens ready; the
// printer is closed and the library freed again.
int BidiCanConnect(DriverContext* ctx, DWORD flags);
// The warning box of a failed update (message 7002).
void BidiShowFailure(DriverContext* ctx, HWND parent);

// ---- the questions (a table the library filled) ----
// Trays and paper: 1 when done (also when the printer has nothing to say), 0 when a list
// cannot be allocated.
int BidiApplyTrayInfo(const BidiFuncTable* table, HANDLE query, DriverContext* ctx);
// Installed options: 1, or 0 when the list cannot be allocated.
int BidiApplyInstalledOptions(const BidiFuncTable* table, HANDLE query, DriverContext* ctx);
// Memory size (information 11) into zdmPrinterMemory, in KiB: 1, or 0 without memory.
int BidiApplyMemory(const BidiFuncTable* table, HANDLE query, DriverContext* ctx);
// The system version text (information 8) into zdmSystemVersion: 1, or 0 without memory.
int BidiApplySystemVersion(const BidiFuncTable* table, HANDLE query, DriverContext* ctx);
// Opens the group and reads the emulation version (group item 2); always 1.
int BidiApplyEmulationVersion(const BidiFuncTable* table, HANDLE printerHandle, DriverContext* ctx);
// Opens the group and reads memory type, emulation version and the further text; always 1.
int BidiApplyGroupInfo(const BidiFuncTable* table, HANDLE printerHandle, DriverContext* ctx);
// The status-only questions: the result of the system-version step.
int BidiQueryVersions(const BidiFuncTable* table, HANDLE printerHandle, HANDLE query, DriverContext* ctx);
// The full questions; on failure the extension area is restored.
int BidiQueryAll(const BidiFuncTable* table, HANDLE printerHandle, HANDLE query, DriverContext* ctx);
