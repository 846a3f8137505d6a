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
// As SimFailAllocations, but only `failures` allocations fail; then the limit ends by itself.
WINSIM_API void SimFailAllocationsFor(int count, int failures);

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
// A shared object <name>.so with a resource image <name>.rsrc beside it (a resource-only PE
// file) is paired with that image: the module's FindResourceW and LoadResource read it.
WINSIM_API BOOL SimRegisterModule(const char* windowsFileName, const char* hostPath);
// Pairs a registered DLL with another resource image (null or "": none), for the loads that
// follow. FALSE when the name is not registered or the table cannot be written.
WINSIM_API BOOL SimPairModuleResources(const char* windowsFileName, const char* imagePath);

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
#include "platform/include/win_user.h"
#include "platform/include/win_sheets.h"
// The fake implements the window interface (core/common/window_ui.h), not user32: one SimUi
// call per operation, state kept here so that the DLLs, the host and a test of one process see
// the same windows. Dialogs are made from the DIALOGEX templates of resource DLLs; controls of
// the standard classes answer their messages (texts, checks, choices, edit limits; tab controls
// their tabs and selection, tree views their items) and notify
// their dialog as Windows does where the driver relies on it (EN_CHANGE when an edit's text is
// set; a click's BN_CLICKED; no CBN_SELCHANGE for a selection set by a message). Posted messages
// run when the fake pumps (a modal loop, SimUiPump), after the message being handled; timers
// fire on the machine's clock (GetTickCount), which a pump advances to the next timer due.
// Kinds of recorded calls.
enum SimUiCallKind {
  kSimUiSetFocus = 1,
  kSimUiMessageBox = 2,
  kSimUiCreateDialog = 3,  // window: the dialog; id: its template id; caption: its title
  kSimUiDestroy = 4,
  kSimUiSetText = 5,  // text: the new text
  kSimUiShow = 6,     // value: the show command
  kSimUiEnable = 7,   // value: 1 enabled, 0 disabled
  kSimUiPost = 8,     // style: the message; value: its lParam
  kSimUiBeep = 9,
  kSimUiSubclass = 10,  // value: the new procedure
  kSimUiMove = 11,      // value: MAKELONG(left, top); style: MAKELONG(width, height)
  kSimUiCreateWindow = 12,  // window: the new child; id: its id; style: its style; text: its text
  kSimUiInvalidate = 13,    // value: 1 with the background erased
  kSimUiHelp = 14,          // text: the help file; style: the command; value: its data
  kSimUiPropertySheet = 15,  // caption: the title; id: the start page; value: the page count
  kSimUiEnableScrollBar = 16,  // value: the arrows (ESB_...)
  kSimUiThemeOff = 17,         // a control drawn without the visual style
  kSimUiPopupMenu = 18,  // window: the owner; id: the menu; value: the greyed positions; style:
                         // the item count; text: the items' texts joined by '|'; answer: the
                         // command posted, 0 for none
};
typedef struct SimUiCall {
  int kind;
  HWND window;      // focus: the control; message box: the owner; others: the window
  UINT style;       // message box style; a posted message
  int answer;       // what the message box answered
  int id;           // the window's control id (0 for a top-level window) or template id
  LONG_PTR value;   // see the kinds
  DWORD textLength; // the whole text's length (message box, set text)
  WCHAR text[512];  // message box text or a set text (cut)
  WCHAR caption[128];
} SimUiCall;
// Makes control `controlId` of page window `page` findable as window `control` (NULL forgets
// it): a stand-in for a page whose window the fake did not make.
WINSIM_API void SimUiDeclareControl(HWND page, int controlId, HWND control);

// Windows: the interface's operations, one for one (see core/common/window_ui.h).
WINSIM_API HWND SimUiFindControl(HWND dialog, int controlId);
WINSIM_API int SimUiControlId(HWND window);
WINSIM_API HWND SimUiParent(HWND window);
WINSIM_API HWND SimUiOwner(HWND window);
WINSIM_API HWND SimUiFirstChild(HWND window);
WINSIM_API HWND SimUiNextSibling(HWND window);
WINSIM_API HWND SimUiFindTopLevel(LPCWSTR className);
WINSIM_API HWND SimUiActiveWindow(void);
WINSIM_API BOOL SimUiIsWindow(HWND window);
WINSIM_API int SimUiClassName(HWND window, WCHAR* buffer, int cchBuffer);
WINSIM_API int SimUiGetText(HWND window, WCHAR* buffer, int cchBuffer);
WINSIM_API BOOL SimUiSetText(HWND window, LPCWSTR text);
WINSIM_API UINT SimUiGetCheck(HWND window);
WINSIM_API void SimUiSetCheck(HWND window, UINT check);
WINSIM_API BOOL SimUiIsEnabled(HWND window);
WINSIM_API BOOL SimUiEnable(HWND window, BOOL enable);
WINSIM_API BOOL SimUiIsVisible(HWND window);
WINSIM_API BOOL SimUiShow(HWND window, int command);
WINSIM_API LONG SimUiGetStyle(HWND window);
WINSIM_API LONG SimUiSetStyle(HWND window, LONG style);
WINSIM_API LONG_PTR SimUiGetSlot(HWND window, int slot);
WINSIM_API LONG_PTR SimUiSetSlot(HWND window, int slot, LONG_PTR value);
WINSIM_API LRESULT SimUiSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WINSIM_API BOOL SimUiPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WINSIM_API BOOL SimUiIsPosted(HWND window, UINT message);
WINSIM_API UINT_PTR SimUiSetTimer(HWND window, UINT_PTR id, UINT milliseconds);
WINSIM_API BOOL SimUiKillTimer(HWND window, UINT_PTR id);
WINSIM_API BOOL SimUiPumpUntil(const volatile LONG* done, DWORD milliseconds);
WINSIM_API HWND SimUiSetFocus(HWND control);
WINSIM_API HWND SimUiGetFocus(void);
WINSIM_API HWND SimUiCreateDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure, LPARAM param);
WINSIM_API INT_PTR SimUiRunDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure, LPARAM param);
WINSIM_API BOOL SimUiEndDialog(HWND dialog, INT_PTR result);
WINSIM_API BOOL SimUiDestroy(HWND window);
WINSIM_API WNDPROC SimUiSubclass(HWND window, WNDPROC procedure);
WINSIM_API WNDPROC SimUiClassProcedure(LPCWSTR className);
WINSIM_API BOOL SimUiGetRect(HWND window, RECT* rect);
WINSIM_API BOOL SimUiGetClientRect(HWND window, RECT* rect);
WINSIM_API BOOL SimUiMove(HWND window, const RECT* rect, BOOL repaint);
WINSIM_API HWND SimUiCreateChild(HWND parent, LPCWSTR className, LPCWSTR text, DWORD style, DWORD exStyle,
                                 const RECT* rect, int id, HMODULE instance, HWND after);
WINSIM_API BOOL SimUiInvalidate(HWND window, BOOL erase);
WINSIM_API BOOL SimUiHasUpdate(HWND window);
WINSIM_API BOOL SimUiEnableScrollBar(HWND window, UINT arrows);
// Draws the control without the visual style (recorded).
WINSIM_API BOOL SimUiSwitchOffTheme(HWND window);
WINSIM_API BOOL SimUiHelp(HWND window, LPCWSTR file, UINT command, ULONG_PTR data);
// A comctl32 property sheet: recorded (kSimUiPropertySheet), then its pages shown and ended as
// the common property-sheet UI's are (SimUiScriptSheet, SimUiSetSheetHook, SimUiLastSheetPages).
WINSIM_API INT_PTR SimUiRunPropertySheet(const PROPSHEETHEADERW* header);
WINSIM_API int SimUiMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style);
// Property sheets (the fake's comctl32 page and compstui's CommonPropertySheetUIW): a page is
// its kept description; the sheet runs the callback's INIT and GET_INFO_HEADER, shows the pages
// it added (WM_INITDIALOG gets the page's description, then PSN_SETACTIVE), calls the sheet
// hook, sends PSN_APPLY (scripted IDOK) or PSN_RESET to every page, destroys them and runs
// DESTROY; *result is the sheet's Result word then. -1 when told the UI is missing.
WINSIM_API HPROPSHEETPAGE SimUiCreatePropertyPage(const PROPSHEETPAGEW* page);
WINSIM_API LONG SimUiCommonPropertySheet(HWND owner, SheetUiCallback callback, LPARAM lParam, DWORD* result);
WINSIM_API BOOL SimUiBeep(UINT type);

// ---- for tests and the host ----
// A window of class `className` (the standard control classes answer as described above; any
// other class answers only texts), child of `parent` with control id `id` when parent is set,
// else top-level; NULL for an empty class name.
WINSIM_API HWND SimUiMakeWindow(LPCWSTR className, HWND parent, int id, DWORD style);
// Clears a window's pending repaint, as painting it would.
WINSIM_API void SimUiValidate(HWND window);
// Runs the posted messages and due timers without advancing the clock; answers how many ran.
WINSIM_API int SimUiPump(void);
// Called by a modal loop each time it has nothing left to run (the scenario actor's steps);
// a loop whose hook did nothing ends its dialog with -1. NULL removes the hook.
WINSIM_API void SimUiSetIdleHook(void (*hook)(void* context), void* context);
// The next message boxes answer these, in order. Once spent a box answers IDOK, or, in the
// strict mode, 0 with its text printed on stderr (a box the script did not expect).
WINSIM_API void SimUiScriptAnswers(const int* answers, int count);
WINSIM_API void SimUiSetStrictBoxes(BOOL strict);
// The next popup menus answer these commands, in order: a command of an item that is there and
// not greyed is posted to the menu's owner as WM_COMMAND; 0 (or anything else) dismisses the
// menu. Once spent, a menu is dismissed.
WINSIM_API void SimUiScriptMenu(UINT command);
// A list box's lines lie in one column of this many pixels from the top of its client area.
enum { kSimUiListLine = 16 };
// The next property sheet ends with this answer (IDOK confirms, IDCANCEL, the default, cancels).
WINSIM_API void SimUiScriptSheet(int answer);
// The common property-sheet UI answers as a missing library does (-1) while set.
WINSIM_API void SimUiSetCommonSheetMissing(BOOL missing);
// Called with the sheet's frame while its pages are shown, before the scripted answer.
WINSIM_API void SimUiSetSheetHook(void (*hook)(HWND sheet, void* context), void* context);
// The window of the index-th page of the sheet being shown (NULL past the last, or when none
// is; a page whose template could not be made has NULL too). A sheet opened from a page of
// another is the one shown until it ends; then the other's pages are again.
WINSIM_API HWND SimUiSheetPage(int index);
// The template ids of the pages the last sheet showed, in order (count answered); and the
// values the sheets gave CPSFUNC_SET_RESULT since the reset.
WINSIM_API int SimUiLastSheetPages(int* templateIds, int capacity);
WINSIM_API int SimUiSheetResults(LPARAM* results, int capacity);
// A user's input, as the standard controls turn it into messages: the focus moves (the old
// control gets WM_KILLFOCUS and an edit's dialog EN_KILLFOCUS, the new one WM_SETFOCUS and
// EN_SETFOCUS); an entry chosen in a combo or list box (selected, then CBN_SELCHANGE or
// LBN_SELCHANGE to its dialog); a text typed into an edit (focus there, WM_SETTEXT with its
// EN_CHANGE, focus away); a click (BM_CLICK). FALSE for a missing or disabled control.
WINSIM_API void SimUiUserFocus(HWND control);
WINSIM_API BOOL SimUiUserChoose(HWND control, int index);
WINSIM_API BOOL SimUiUserType(HWND edit, LPCWSTR text);
WINSIM_API BOOL SimUiUserClick(HWND button);
// A right click at a point of the control's client area: the cursor moves there, then the
// control gets WM_RBUTTONDOWN and WM_RBUTTONUP. FALSE for a missing or disabled control.
WINSIM_API BOOL SimUiUserRightClick(HWND control, int x, int y);
// The user selects a sheet page's tab: the page is told it is the shown one (PSN_SETACTIVE).
WINSIM_API void SimUiUserSelectPage(HWND page);
// Recorded calls since the machine root was set (or SimUiReset): count and one of them.
WINSIM_API DWORD SimUiCallCount(void);
WINSIM_API BOOL SimUiGetCall(DWORD index, SimUiCall* call);
// Forgets windows, controls, posted messages, timers, scripted answers and recorded calls (a
// machine root switch does too).
WINSIM_API void SimUiReset(void);

// ---- the dialogs' drawing interface: its recording ----
// The drawing interface (core/common/draw_ui.h) records each primitive here instead of
// painting: one SimDrawCall per operation, kept in the machine so that the DLLs, the host and a
// test of one process read the same list. DCs are tokens, one per window (a DC that no window
// owns is a fresh token); each keeps its text colour, background colour and mode, font and
// saved levels as a DC does. Nothing is painted.
enum SimDrawKind {
  kSimDrawGetDc = 1,      // window, dc
  kSimDrawReleaseDc = 2,  // window, dc
  kSimDrawBeginPaint = 3,  // window, dc
  kSimDrawEndPaint = 4,    // window, dc
  kSimDrawValidate = 5,    // window
  kSimDrawIntersectClip = 6,  // rect
  kSimDrawExcludeClip = 7,    // rect
  kSimDrawTextColour = 8,  // colour
  kSimDrawBkColour = 9,    // colour
  kSimDrawBkMode = 10,     // flags: the mode
  kSimDrawSelectFont = 11,  // id: the font handle's low 32 bits
  kSimDrawFill = 12,        // rect, colour
  kSimDrawFillBrush = 13,   // rect, id: the brush (stock index + 1, or a made brush's colour in colour)
  kSimDrawRectangle = 14,   // rect, colour: the fill, colour2: the pen (CLR_INVALID: the current one)
  kSimDrawLine = 15,        // points[0..1], colour
  kSimDrawPolygon = 16,     // points (pointCount, at most 8 kept), colour: fill, colour2: outline
  kSimDrawFocusRect = 17,   // rect
  kSimDrawText = 18,        // rect, flags: the DT_ format, text, colour: the DC's text colour
  kSimDrawTextOut = 19,     // x, y, rect (when given), flags: the ETO_ options, text, colour
  kSimDrawPicture = 20,     // id: the picture, rect: the target, x, y: the anchor, flags
  kSimDrawSaveDc = 21,      // x: the level
  kSimDrawRestoreDc = 22,   // x: the level
};
// Image drawing: an icon drawn (id: the icon, x, y: its top-left).
enum { kSimDrawIcon = 60 };
// Off-screen drawing: objects made, selected and deleted, paths, shapes and blits. handle names
// the object (made, deleted, selected) or the source DC (blits); kinds of object in flags:
// kSimDrawObject... .
enum {
  kSimDrawMade = 80,        // handle, flags: the kind; a DC: handle2 the DC it is compatible with; a
                            // bitmap: rect (0, 0, width, height); a font: text the face, y the height,
                            // x the escapement, id the weight, colour2 the italic flag; a pen or a
                            // brush: colour
  kSimDrawDeleted = 81,     // handle, flags: the kind, x: 1 when it was still selected in a DC (for a
                            // DC: when it still held an object made by the drawing)
  kSimDrawSelect = 82,      // dc, handle: the bitmap, pen or brush selected, flags: its kind
  kSimDrawBitBlt = 83,      // dc, rect: the destination, handle: the source DC (NULL for none),
                            // points[0]: the source's origin, flags: the raster operation
  kSimDrawStretchBlt = 84,  // as kSimDrawBitBlt, points[1]: the source's width and height
  kSimDrawPatBlt = 85,      // dc, rect, flags: the raster operation, colour: the DC's brush colour
  kSimDrawEllipse = 86,     // dc, rect, colour: the DC's pen colour
  kSimDrawPolyline = 87,    // dc, points (pointCount), colour: the DC's pen colour
  kSimDrawBeginPath = 88,   // dc
  kSimDrawEndPath = 89,     // dc (the figure closed)
  kSimDrawStrokePath = 90,  // dc, colour: the DC's pen colour
};
enum {
  kSimDrawObjectDc = 1,
  kSimDrawObjectBitmap = 2,
  kSimDrawObjectFont = 3,
  kSimDrawObjectPen = 4,
  kSimDrawObjectBrush = 5,
};
typedef struct SimDrawCall {
  int kind;
  HDC dc;
  HWND window;       // the window the DC draws into (NULL for a DC of no window)
  RECT rect;
  COLORREF colour;
  COLORREF colour2;
  int x;
  int y;
  UINT id;
  DWORD flags;
  int pointCount;
  POINT points[8];
  DWORD textLength;  // the whole text's length
  WCHAR text[256];   // the text (cut)
  HANDLE handle;     // off-screen drawing: the object or the source DC; a text: the DC's font
  HANDLE handle2;
} SimDrawCall;
typedef struct SimDrawDcState {
  COLORREF textColour;   // black at first
  COLORREF bkColour;     // white at first
  int bkMode;            // OPAQUE at first
  HFONT font;            // NULL at first
  HBITMAP bitmap;        // NULL at first
  HPEN pen;              // NULL at first
  HBRUSH brush;          // NULL at first
} SimDrawDcState;
// Appends a call; the recording fills window from the DC.
WINSIM_API void SimDrawRecord(const SimDrawCall* call);
// The DC token of a window (the same one each time while the window lives); NULL for none.
WINSIM_API HDC SimDrawWindowDc(HWND window);
// A DC token that belongs to no window (a memory DC's stand-in).
WINSIM_API HDC SimDrawFreeDc(void);
// The window a DC token draws into; NULL for a free token or an unknown one.
WINSIM_API HWND SimDrawDcWindow(HDC dc);
// A DC's state: read and write; FALSE for an unknown DC.
WINSIM_API BOOL SimDrawGetDcState(HDC dc, SimDrawDcState* state);
WINSIM_API BOOL SimDrawSetDcState(HDC dc, const SimDrawDcState* state);
// Saves the state on the DC's stack, answering the new level (1 for the first); restores a level
// (a negative one counts back from the top) and forgets the levels above it.
WINSIM_API int SimDrawSaveDcState(HDC dc);
WINSIM_API BOOL SimDrawRestoreDcState(HDC dc, int level);
// Text measuring of the recording: every character advances `advance` pixels and a line is
// `height` high (7 and 13 until set).
WINSIM_API void SimDrawSetTextMetrics(LONG advance, LONG height);
WINSIM_API void SimDrawGetTextMetrics(LONG* advance, LONG* height);
// The characters' A and C widths (0 and 0 until set; B is the advance less both), as an italic
// face overhangs its neighbours with negative ones.
WINSIM_API void SimDrawSetCharOverhang(LONG a, LONG c);
WINSIM_API void SimDrawGetCharOverhang(LONG* a, LONG* c);
// The device's nearest colour: the colour with only the mask's bits kept (all of them until set,
// every colour exact).
WINSIM_API void SimDrawSetNearestMask(COLORREF mask);
WINSIM_API COLORREF SimDrawNearestColour(COLORREF colour);
// A DC token deleted (DeleteDC): it stays known, its state no longer counts.
WINSIM_API void SimDrawForgetDc(HDC dc);
// TRUE while a live DC has the object selected (its font, bitmap, pen or brush).
WINSIM_API BOOL SimDrawObjectSelected(HANDLE object);
// Recorded calls since the machine root was set (or SimDrawReset / SimUiReset): count and one.
WINSIM_API DWORD SimDrawCallCount(void);
WINSIM_API BOOL SimDrawGetCall(DWORD index, SimDrawCall* call);
// Forgets the calls, the DC tokens and their states, and the text metrics.
WINSIM_API void SimDrawReset(void);
// ---- control subclassing, cursors and the hint popup ----
// The window interface's cursors (tokens of their resource id), the mouse position and capture
// (a lost capture is told with WM_CAPTURECHANGED), keys held, the clipboard's text, the screen
// (1024 x 768 until set), popups and the local loop of a held window (posted messages and
// timers on the machine's clock; it ends when nothing is left that could end it).
WINSIM_API HCURSOR SimUiLoadCursor(HMODULE module, int cursorId);
WINSIM_API HCURSOR SimUiSetCursor(HCURSOR cursor);
WINSIM_API BOOL SimUiCursorPos(POINT* at);
WINSIM_API BOOL SimUiMapPoint(HWND window, POINT* at, BOOL toScreen);
WINSIM_API BOOL SimUiScreenRect(RECT* rect);
WINSIM_API HWND SimUiSetCapture(HWND window);
WINSIM_API BOOL SimUiReleaseCapture(void);
WINSIM_API HWND SimUiGetCapture(void);
WINSIM_API BOOL SimUiKeyDown(int virtualKey);
WINSIM_API int SimUiClipboardText(WCHAR* buffer, int cchBuffer);
WINSIM_API HWND SimUiCreatePopup(HWND owner, LPCWSTR className, LPCWSTR text, DWORD style, const RECT* rect,
                                 HMODULE instance);
WINSIM_API BOOL SimUiRunLocalLoop(HWND window, const volatile LONG* done);
// The face of a dialog's font (its template's), cut to cchBuffer; its length, 0 for none.
WINSIM_API int SimUiDialogFontFace(HWND dialog, WCHAR* buffer, int cchBuffer);
WINSIM_API int SimUiChoiceClickAt(HWND list, int x, int y);
WINSIM_API BOOL SimUiTrackPopupMenu(HMODULE module, int menuId, DWORD greyedPositions, HWND owner);
// For tests: the cursor shown, the mouse position (screen coordinates), keys held, the
// clipboard's text (NULL: no text) and the screen's size.
WINSIM_API HCURSOR SimUiCurrentCursor(void);
WINSIM_API void SimUiSetCursorPos(int x, int y);
WINSIM_API void SimUiSetKeyDown(int virtualKey, BOOL down);
WINSIM_API void SimUiSetClipboardText(LPCWSTR text);
WINSIM_API void SimUiSetScreen(int width, int height);

#endif

// ---- file dialogs ----
#ifndef _WIN32
#include "platform/include/win_commdlg.h"
// The old-style common file dialog (platform/sim/file_dialog_fake.cpp): made from the record's
// template with a dialog procedure that offers every message to the record's hook first
// (WM_INITDIALOG with the record as lParam; an answer other than 0 keeps the default away) and
// otherwise acts as the old dialog does: the folder list (1121) shows the current folder's
// parts, drive first, the last one selected; the type combo (1136) the filter's names; OK on a
// folder's name goes into that folder, on a wildcard only re-filters, on a file name ends the
// dialog with the full path (the default extension added when the name has none; several
// blank-separated names with OFN_ALLOWMULTISELECT: the folder, a blank and the names); Cancel
// ends it with 0. Simplified (ZEMS_SIM_TRACE=simplified): no file list, no long-name
// translation, a dialog without a template fails. Its scripts and record are forgotten when
// the machine root is switched (not by SimUiReset).
WINSIM_API BOOL SimUiRunFileDialog(OPENFILENAMEW* dialog, BOOL save);
WINSIM_API DWORD SimUiFileDialogError(void);
// What the user does in the next file dialogs, step by step across them: each step puts its
// text into the name edit (1152) and presses its button (IDOK, IDCANCEL or a template button
// such as 5001). Posted messages run between steps. A dialog still open when the steps are
// spent is cancelled.
typedef struct SimUiFileStep {
  LPCWSTR text;
  int button;
} SimUiFileStep;
WINSIM_API void SimUiScriptFileDialog(const SimUiFileStep* steps, int count);
// The next file dialog fails at once with this extended error (0: none).
WINSIM_API void SimUiFailFileDialog(DWORD error);
// The last file dialog as it was asked for: save or open, template id, flags, title, the
// filter's first name and pattern, the initial folder, the file name and the default extension
// given; and its current folder when it ended.
typedef struct SimUiFileDialogSeen {
  BOOL save;
  int templateId;
  DWORD flags;
  WCHAR title[261];
  WCHAR filterName[261];
  WCHAR filterPattern[64];
  WCHAR initialFolder[261];
  WCHAR file[261];
  WCHAR defaultExtension[16];
  WCHAR lastFolder[261];
  int count;  // file dialogs run since the reset
} SimUiFileDialogSeen;
WINSIM_API void SimUiLastFileDialog(SimUiFileDialogSeen* seen);
#endif
