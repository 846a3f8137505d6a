// Control of the simulated machine for zemshost and the tests (not part of the Windows API).
// The machine's state lives under one root folder; the environment variable ZEMS_MACHINE_ROOT
// names it when the process starts, and SimSetMachineRoot switches to another one.
#pragma once
#ifndef _WIN32
#include "platform/include/win_base.h"

// Host path of the current machine root (a folder; created on first use).
WINSIM_API const char* SimMachineRoot(void);

// Switches the process to another machine root and drops every cached state of the old one
// (open registry keys stay valid handles but see the new machine). Used by each test.
WINSIM_API void SimSetMachineRoot(const char* hostPath);

// Host path where the simulated disk keeps a Windows path of the current machine ("C:\x" ->
// <root>/c/x, existing components matched without case); empty for a path it cannot map.
// Valid until the thread's next call.
WINSIM_API const char* SimHostPath(LPCWSTR windowsPath);

// ---- kernel: clock, code page, failure injection ----
// GetTickCount answers a set value from now on (the simulated clock stands still until it is
// set or advanced again, and Sleep advances it instead of waiting); SimUseRealTickCount goes
// back to the host's clock. A machine root switch also goes back to the real clock.
WINSIM_API void SimSetTickCount(DWORD ticks);
WINSIM_API void SimAdvanceTickCount(DWORD milliseconds);
WINSIM_API void SimUseRealTickCount(void);

// GetLocalTime, GetSystemTime and GetSystemTimeAsFileTime answer this date from now on (the
// machine's local time is UTC; the date stands still until set again; wDayOfWeek is ignored and
// answered from the date). NULL goes back to the host's clock, as a machine root switch does.
// FALSE for a date SystemTimeToFileTime refuses, which leaves the clock unchanged. The clock is
// this process's own; files keep the host's time stamps.
WINSIM_API BOOL SimSetLocalTime(const SYSTEMTIME* localTime);

// Sets the machine's ANSI code page: 1252 (the default after a root switch) or 932; the OEM
// code page follows (437 or 932). FALSE for any other code page, which leaves it unchanged.
WINSIM_API BOOL SimSetAnsiCodePage(UINT codePage);

// The next `count` critical-section initialisations fail (ERROR_NOT_ENOUGH_MEMORY), so tests
// can reach the paths that must survive a failed initialisation.
WINSIM_API void SimFailCriticalSectionInits(int count);

// The machine's heap (GlobalAlloc, LocalAlloc, HeapAlloc) grants `count` more allocations and
// then fails every one (null, ERROR_NOT_ENOUGH_MEMORY) until -1 (any negative count) ends the
// limit; a machine root switch ends it too. Frees are never refused.
WINSIM_API void SimFailAllocations(int count);

// A disk that fills on demand: every byte the machine writes from now on (file writes, copies,
// ini, registry and printer-data replacements) draws on bytesLeft; once it is spent, writes fail
// with ERROR_DISK_FULL, and a file being replaced keeps its old contents. -1 (any negative
// value) ends it; a machine root switch too. The budget is this process's own.
WINSIM_API void SimSetDiskFull(long long bytesLeft);
#endif

// ---- machine area: module table, process name, system identity ----
#ifndef _WIN32
// Registers a Windows DLL file name (leaf, compared without case) as one of our shared
// objects (host path) in the module table of the current machine root. A later entry for the
// same name replaces the earlier one. FALSE when the table cannot be written.
WINSIM_API BOOL SimRegisterModule(const char* windowsFileName, const char* hostPath);

// Sets the Windows path that GetModuleFileNameW(NULL) reports for this process (its folder is
// the first one searched for DLLs). Switching the machine root restores the default,
// C:\WINDOWS\system32\spoolsv.exe.
WINSIM_API void SimSetProcessName(const char* windowsPath);

// Hides a named export of a DLL (leaf name, compared without case) in this process:
// GetProcAddress then fails with ERROR_PROC_NOT_FOUND. A null export name shows every export
// of that DLL again; switching the machine root shows them all.
WINSIM_API void SimHideExport(const char* windowsFileName, const char* exportName);

// Windows version, service pack, suites, user name and administrator membership of the
// machine; persisted under the root, so every process on the machine sees them.
typedef struct SimSystemIdentity {
  DWORD majorVersion;
  DWORD minorVersion;
  DWORD buildNumber;
  DWORD platformId;  // 1 Windows 9x, 2 NT
  WORD servicePackMajor;
  WORD servicePackMinor;
  WORD suiteMask;    // VER_SUITE_... bits, VER_SUITE_TERMINAL = 0x10
  BYTE productType;  // 1 workstation, 2 domain controller, 3 server
  char csdVersion[128];
  char userName[257];
  BOOL userIsAdmin;
} SimSystemIdentity;
WINSIM_API BOOL SimGetSystemIdentity(SimSystemIdentity* identity);
WINSIM_API BOOL SimSetSystemIdentity(const SimSystemIdentity* identity);
// Lets the calling thread act for the machine itself (its set-up, as zemshost machine does):
// it may then write HKLM and printer data even when the machine's user is not an
// administrator. Answers whether the thread already did.
WINSIM_API BOOL SimActForMachine(BOOL on);
#endif

// ---- access control, processes, environment and user locale ----
#ifndef _WIN32
// The security that SetFileSecurityW last recorded for a file or folder, as text:
// "O:<owner sid>" and "D:" followed by one "(<type>;0x<flags>;0x<mask>;<sid>)" per ACE, the
// parts separated by a blank; "D:NULL" for a null DACL. Empty when nothing was recorded.
WINSIM_API const char* SimRecordedFileSecurity(LPCWSTR winPath);
// Number of SetFileSecurityW calls that succeeded since the machine root was set.
WINSIM_API DWORD SimFileSecurityCallCount(void);
// Makes every later SetFileSecurityW fail with this error code (0: succeed again).
WINSIM_API void SimSetFileSecurityError(DWORD errorCode);

// A stand-in program: runs on its own thread when CreateProcessW starts a file whose name
// (leaf, case ignored) it was registered for; its result is the process's exit code.
typedef DWORD (*SimProgramProc)(LPCWSTR applicationName, LPCWSTR commandLine, LPCWSTR currentDirectory);
WINSIM_API void SimRegisterProgram(LPCWSTR leafName, SimProgramProc program);
// Starts recorded since the machine root was set, each as UTF-8 text
// "app=<path>|cmd=<command line>|dir=<current directory>|inherit=<0|1>|show=<n or ->".
WINSIM_API DWORD SimProcessStartCount(void);
WINSIM_API const char* SimProcessStart(DWORD index);

// The user's default locale (0x0409 on a fresh machine).
WINSIM_API void SimSetUserDefaultLCID(LCID lcid);

// Escapes sent with ExtEscape, in order: count, one escape (DC, code and up to cbInput input
// bytes copied; returns its input size, -1 past the end), and forgetting them.
WINSIM_API DWORD SimEscapeCount(void);
WINSIM_API int SimGetEscape(DWORD index, HDC* dc, int* code, void* input, int cbInput);
WINSIM_API void SimClearEscapes(void);
#endif

// ---- the dialogs' window interface: its recording fake ----
#ifndef _WIN32
// No window of the driver's dialogs exists on this machine. The fake answers the window
// interface (core/common/window_ui.h) from what a test declared and records what was asked.
// Kinds of recorded calls.
enum SimUiCallKind { kSimUiSetFocus = 1, kSimUiMessageBox = 2 };
typedef struct SimUiCall {
  int kind;
  HWND window;      // focus: the control; message box: the owner
  UINT style;       // message box style
  int answer;       // what the message box answered
  WCHAR text[512];  // message box text (cut), empty for focus
  WCHAR caption[128];
} SimUiCall;
// Makes control `controlId` of page window `page` findable as window `control` (NULL forgets it).
WINSIM_API void SimUiDeclareControl(HWND page, int controlId, HWND control);
// The fake's answers to the window interface.
WINSIM_API HWND SimUiFindControl(HWND page, int controlId);
WINSIM_API HWND SimUiSetFocus(HWND control);
WINSIM_API int SimUiMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style);
// The next message boxes answer these, in order; once spent they answer IDOK.
WINSIM_API void SimUiScriptAnswers(const int* answers, int count);
// Recorded calls since the machine root was set (or SimUiReset): count and one of them.
WINSIM_API DWORD SimUiCallCount(void);
WINSIM_API BOOL SimUiGetCall(DWORD index, SimUiCall* call);
// Forgets controls, scripted answers and recorded calls (a machine root switch does too).
WINSIM_API void SimUiReset(void);
#endif
