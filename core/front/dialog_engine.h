// The dialog engine: one procedure for every property page and modal dialog of the printer
// interface. It binds a context's dialog tables to its items and model descriptions, offers each
// message to the UI modules and then to the control types, commits changed values through the
// model's alerts and transacts, refreshes the page from the settings and runs sub-dialogs
// inside a settings snapshot.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/control_types.h"
#include "core/front/dialog_records.h"
#include "core/front/dialog_state.h"
#include "platform/win32.h"

struct AlertRecord;

// Private window messages of the engine.
enum : UINT {
  kDlgMsgDeferredAlert = 32769,  // wParam control id, lParam alert record
  kDlgMsgStepRepeat = 32770,
  kDlgMsgPressOk = 32771,
  kDlgMsgFinishLayout = 32774,
  kDlgMsgChangeRefused = 32775,  // to the modules only: wParam the alert's message id
};
// Sheet buttons the page procedure adds, and what they do.
enum : WORD {
  kDlgCmdSaveNewPreset = 11111,
  kDlgCmdOverwritePreset = 22222,
};
// Change flags the engine reads and writes (besides the refresh classes).
enum : DWORD {
  kChangeRefreshClasses = 0x011F0000,
  kChangeConfirmButtons = 0x00800000,
  kChangeNewPreset = 0x10000000,
  kChangeConfirmOverwrite = 0x40000000,
  kChangeConfirmNew = 0x80000000,
};
// Control flags set at binding.
enum : DWORD {
  kCtlNoArrowSteps = 0x200000,
  kCtlLimit260 = 0x400000,
  kCtlKeepBlanks = 0x800000,
  kCtlSavesNewPreset = 0x2000000,
  kCtlNoStaleRefill = 0x4000000,
  kCtlPictureItems = 0x8000000,
  kCtlSecretEvent = 0x20000000,
  kCtlDisplayLength = 0x80000000,  // the tables mark the length edits and their spins (page_table.cpp)
};
// Events the engine sends to the modules.
enum : int {
  kEventLoadModuleItems = 12,
  kEventSecretClick = 14,
  kEventDialogClosing = 25,
  kEventDocumentApplied = 28,
  kEventSubDialogCancelled = 34,
  kEventSubDialogAccepted = 35,
  kEventChangeRefused = 42,
  kEventNodeActions = 47,
  kEventLockDefaultsKept = 59,
  kEventLocksApplied = 60,
  kEventLockDefaultsSaved = 61,
  kEventLockDefaultsNotSaved = 62,
};
// The preset number's logical values: 118 = settings differ from every preset, 119 + n = slot n.
constexpr LONG kPresetNoneLogical = 118;
constexpr LONG kPresetFirstLogical = 119;

// Records of events 25, 34 and 35, 47, and 14 and 42.
struct DlgPageEvent {
  DlgPageRecord* page;
};
struct DlgClosingEvent {
  DlgPageRecord* page;
  DlgControlRecord* control;
  LONG command;
};
struct DlgNodeEvent {
  DlgPageRecord* page;
  const ModelItemDescriptor* descriptor;
};
struct DlgControlEvent {
  DlgPageRecord* page;
  DlgControlRecord* control;
};

// ---- control types ----
// The type a context's controls of this code dispatch to: the dialog tables' row, or the row of
// the table the context was given in its place.
const CtlTypeRecord* CtlTypeOf(DriverContext* ctx, WORD type);
void CtlSetTypeTable(DriverContext* ctx, const CtlTypeRecord* rows, LONG count);

// ---- binding ----
// Binds the context's dialog tables once: items, descriptions, alias ids and the built-in
// adjustments. A context whose page has a bound description is bound already.
void DlgBindControls(DriverContext* ctx, DlgPageRecord* page);
void DlgSetBuiltinFlags(DriverContext* ctx);
// Modules first (message 272 with the control); else subclasses the control with its type's
// window procedure (once) and runs the type's init handler. Answers 0 (the init handlers answer
// nothing).
int CtlInitControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);

// ---- value commit, alerts and refresh ----
// Commits a control's new value (set 1: stored first): the alert asked, the change kept or
// refused, the actions run. 1 when refused and undone.
int CtlCommitValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, LONG_PTR value, int set);
int CtlApplyValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, LONG_PTR value);
int DlgShowAlert(const AlertRecord* alert, DriverContext* ctx, HWND owner);
// 1 when the answer keeps the change: OK to an OK/Cancel box, or any answer to a plain
// information box; every other box refuses it (Yes/No always does).
int DlgAlertKeepsChange(const AlertRecord* alert, int answer);
// The deliverable's change notification (the printer interface's DlgNotifyChange), when it has one.
void DlgNotifyCode(DriverContext* ctx, WORD code);
int DlgCheckNodeAlert(DriverContext* ctx, DlgPageRecord* page, const ModelItemDescriptor* desc);
int DlgRunNodeActions(DriverContext* ctx, DlgPageRecord* page, const ModelItemDescriptor* desc, WORD notifyCode);
// What a refused value does after the old value is back: the alert action for the answer,
// event 42, the preset re-applied when it moved, message 32775 to the modules.
void DlgRefuseChange(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, const AlertRecord* alert,
                     int answer, LONG presetBefore);
void DlgRefreshControls(DriverContext* ctx, DlgPageRecord* page, int full);
int UiHasChangedItems(DriverContext* ctx);
int UiClearChangedItems(DriverContext* ctx);
void DlgReinitLayoutTypeChoices(DriverContext* ctx);
// Where a control's information or lock mark goes: left of it, clamped to the page.
POINT DlgMarkPosition(const RECT& control);

// ---- the page procedure ----
INT_PTR CALLBACK DlgHandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The property-page part of a page's creation (SheetPageDialogProc's WM_INITDIALOG before it
// hands over to DlgHandleMessage): makes the page current, installs the confirm buttons the
// change flags ask for and hides the page's children. Answers the context the page belongs to.
DriverContext* DlgPrepareSheetPage(HWND page, const PROPSHEETPAGEW* sheetPage);
// The dialog procedure of a property page: DlgPrepareSheetPage at WM_INITDIALOG, then
// DlgHandleMessage for every message.
INT_PTR CALLBACK DlgSheetPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int CtlRouteCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                    LPARAM lParam);
int CtlRouteMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                    WPARAM wParam, LPARAM lParam);
void CtlShowValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
void DlgShowControlHelp(DriverContext* ctx, HWND page, HWND control, UINT message);
void DlgClearActionGuard(DriverContext* ctx, UINT message, WPARAM wParam, LPARAM lParam, int force);
void DlgFinishLayout(DriverContext* ctx, HWND page);
// The control under a point of the page's client area: the last described one whose window
// holds it and that is neither hidden nor disabled; null when none.
DlgControlRecord* CtlHitTest(DriverContext* ctx, DlgPageRecord* page, POINT point);

// ---- choice re-initialisation ----
struct DlgControlPair {
  WORD dialogId;
  WORD controlId;
};
WORD DlgReinitControlList(DriverContext* ctx, const DlgControlPair* list);
void DlgReinitSourceTrayChoices(DriverContext* ctx);
void DlgReinitPaperSizeChoices(DriverContext* ctx);
void DlgReinitOutputTrayChoices(DriverContext* ctx);
void DlgReinitPresetChoices(DriverContext* ctx);
void DlgRefillStampChoice(DriverContext* ctx);

// ---- file checks ----
int DlgIsFileDialog(const DlgPageRecord* page);
// The page's file pattern ("*.rst", "*.bmp", "*.zvl", "*.vtc" or "*.*").
LPCWSTR DlgGetFileFilter(const DlgPageRecord* page);
// 1 when the pattern is "*.*" or the four characters are '.' and its three letters.
int DlgMatchFileExtension(const DlgPageRecord* page, LPCWSTR lastFour);
int DlgFileExists(LPCWSTR path);

// ---- file dialogs ----
// Characters of each buffer of a file dialog's block.
constexpr int kFileDialogChars = 1025;
// One zeroed block per file dialog: the record and its four buffers.
struct DlgFileDialogBlock {
  OPENFILENAMEW record;
  WCHAR file[kFileDialogChars];
  WCHAR folder[kFileDialogChars];
  WCHAR title[kFileDialogChars];
  WCHAR filter[kFileDialogChars];
};
static_assert(sizeof(DlgFileDialogBlock) == 8288, "a file dialog's block is 8,288 bytes");
// Follow-ups a file dialog's hook asks for (the result code it leaves in the UI state).
enum : LONG {
  kFileResultSave = 5001,
  kFileResultLoad = 5002,
  kFileResultDelete = 5003,
};
// Fills the block's record for the page's kind: flags, filter, title, file name and initial
// folder (the spool folder's dialog: the stored spool folder, wdmSpoolDirectoryAll saying which
// one). The record's buffers must point into the block.
void DlgPrepareFileDialog(DriverContext* ctx, DlgPageRecord* page, DlgFileDialogBlock* block);
// Runs the save or open dialog of the page's kind; on a choice the file goes into the kind's
// item, its folder is remembered and the path with its name offset kept as the chosen file.
// The dialog's result (nonzero: chosen).
BOOL DlgRunFileDialog(DriverContext* ctx, DlgPageRecord* page, OPENFILENAMEW* record, WCHAR* file);
// The folder of a file dialog's answer into folder (kPathChars characters; empty when it does
// not fit): a multiple selection's text before its names, else the path cut at its last
// backslash. Reads at most cchFile characters. Answers where the name starts: offset when
// the answer holds it, else after the path's last backslash.
WORD DlgChosenFileFolder(const WCHAR* file, DWORD cchFile, WORD offset, WCHAR* folder);
// The folder last used by the page's kind, in the printer's section of the settings ini: the
// path's folder (cut at its last backslash; a drive root keeps it) written, or read into
// buffer (kPathChars characters). Kinds without a key remember nothing (read: 0).
void DlgRememberFolder(DriverContext* ctx, DlgPageRecord* page, LPCWSTR path);
int DlgReadRememberedFolder(DriverContext* ctx, DlgPageRecord* page, WCHAR* buffer);
// 1 when path is the file of a registered preset or quality list, whatever way it is spelled:
// files are compared by volume and file index, by full path where a file cannot be opened.
// Writes nothing.
int DlgIsRegisteredSettingsFile(DriverContext* ctx, LPCWSTR path);
// The hook of every file dialog of the driver (old-style, lCustData the context).
UINT_PTR CALLBACK DlgFileDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A name joined to a folder into path (kPathChars characters): a name with a drive or starting
// with '\' (then on the folder's drive) stands alone; one backslash between them. 0 when the
// result would be longer than 259 characters (path then empty).
int DlgJoinPath(WCHAR* path, LPCWSTR folder, LPCWSTR name);
