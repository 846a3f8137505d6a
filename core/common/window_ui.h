// The window interface of the dialogs: every operation that touches a window of the property
// sheets, a dialog or a message box goes through here. The native builds answer from the
// simulated machine's recording fake (tests make windows, script answers and read the calls);
// the Windows build calls user32, one or a few calls per operation and no decisions. Dialog
// procedures and handlers are ordinary code of both builds: they take Windows messages and
// reach windows only through these operations.
#pragma once
#include "platform/win32.h"
#include "platform/include/win_controls.h"

// ---- windows and controls ----

// The control `controlId` of a dialog window; NULL when the dialog has no window or the
// control is not there.
HWND WuiFindControl(HWND dialog, int controlId);
// A control's id (0 for a top-level window or none).
int WuiControlId(HWND window);
// The parent of a child window; NULL for a top-level window.
HWND WuiParent(HWND window);
// The owner of a top-level window (a dialog's owner); NULL for none.
HWND WuiOwner(HWND window);
// The children of a window in z-order: the top one, then each next; NULL ends them.
HWND WuiFirstChild(HWND window);
HWND WuiNextSibling(HWND window);
// A top-level window of the class; NULL when none exists.
HWND WuiFindTopLevel(LPCWSTR className);
// The active window of the calling thread; NULL when there is none.
HWND WuiActiveWindow();
// TRUE while the window exists.
BOOL WuiIsWindow(HWND window);
// The window's class name in buffer (cut to cchBuffer, terminated); its length, 0 on failure.
int WuiClassName(HWND window, WCHAR* buffer, int cchBuffer);

// ---- state ----

// The window's text in buffer (cut to cchBuffer characters with the terminator); its length.
int WuiGetText(HWND window, WCHAR* buffer, int cchBuffer);
// Sets the text (an edit notifies its dialog with EN_CHANGE). FALSE when there is no window.
BOOL WuiSetText(HWND window, LPCWSTR text);
// The check of a button (BST_...); setting it sends no notification.
UINT WuiGetCheck(HWND button);
void WuiSetCheck(HWND button, UINT check);
// Enabled state; WuiEnable answers TRUE when the window was disabled before.
BOOL WuiIsEnabled(HWND window);
BOOL WuiEnable(HWND window, BOOL enable);
// Visible state (the window and all its parents); WuiShow takes SW_HIDE, SW_SHOW or SW_SHOWNA
// (show without activating) and answers TRUE when the window was visible before.
BOOL WuiIsVisible(HWND window);
BOOL WuiShow(HWND window, int command);
// The window style (GWL_STYLE); the set answers the old one.
LONG WuiGetStyle(HWND window);
LONG WuiSetStyle(HWND window, LONG style);
// The window slots DWL_USER, DWL_MSGRESULT (dialogs), GWL_USERDATA, GWL_ID (a child's control id)
// and GWL_EXSTYLE; the set answers the old value. Any other slot answers 0.
LONG_PTR WuiGetSlot(HWND window, int slot);
LONG_PTR WuiSetSlot(HWND window, int slot, LONG_PTR value);

// ---- choices: combo boxes and list boxes, told apart by class ----

// Empties the control (and its selection).
void WuiChoiceReset(HWND control);
// Appends an entry with its item data; its index, or -1.
int WuiChoiceAdd(HWND control, LPCWSTR text, LPARAM data);
int WuiChoiceCount(HWND control);
// The item data of entry index; 0 for an index out of range.
LPARAM WuiChoiceData(HWND control, int index);
// Entry index's text in buffer, cut to cchBuffer with the terminator; its length, -1 for an
// index out of range.
int WuiChoiceText(HWND control, int index, WCHAR* buffer, int cchBuffer);
// The selected entry, -1 for none. A select sends no notification; -1 clears the selection
// (and answers -1), an index beyond the entries answers -1 and keeps the selection.
int WuiChoiceSelection(HWND control);
int WuiChoiceSelect(HWND control, int index);

// ---- edits ----

// The most characters the user may type (0: the control's default); sends no EN_CHANGE.
void WuiEditLimit(HWND edit, int chars);
// Shows every character as `mark` (0: as typed).
void WuiEditPasswordChar(HWND edit, WCHAR mark);
// Selects characters start to end (-1 as end: to the end of the text).
void WuiEditSelect(HWND edit, int start, int end);

// ---- messages and time ----

// Calls the window's procedure at once and answers its result; 0 when there is no window.
LRESULT WuiSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Queues a message; it runs after the message being handled. FALSE when there is no window.
BOOL WuiPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// TRUE while a posted message of that number waits for the window.
BOOL WuiIsPosted(HWND window, UINT message);
// Starts (or restarts) timer id: WM_TIMER every `milliseconds`; answers id, 0 on failure.
UINT_PTR WuiSetTimer(HWND window, UINT_PTR id, UINT milliseconds);
BOOL WuiKillTimer(HWND window, UINT_PTR id);
// Runs the thread's messages until *done is nonzero or the time is spent; TRUE when done.
BOOL WuiPumpUntil(const volatile LONG* done, DWORD milliseconds);

// ---- focus ----

// Gives the keyboard focus to a control; returns the window that had it (NULL for none).
HWND WuiSetFocus(HWND control);
HWND WuiGetFocus();

// ---- dialogs and procedures ----

// A modeless dialog from template templateId of module (a language DLL), owned by owner,
// with procedure (NULL: none; WM_INITDIALOG receives param). NULL when the template is not
// there or the window cannot be made.
HWND WuiCreateDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure, LPARAM param);
// A modal dialog: runs until WuiEndDialog and answers its result; -1 when it cannot be shown.
INT_PTR WuiRunDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure, LPARAM param);
BOOL WuiEndDialog(HWND dialog, INT_PTR result);
// Destroys the window and its children; FALSE when there is no window.
BOOL WuiDestroy(HWND window);
// Installs a window procedure; answers the previous one (to be called through
// WuiCallProcedure), NULL on failure.
WNDPROC WuiSubclass(HWND window, WNDPROC procedure);
// The procedure of a window class as registered; NULL for a class that is not.
WNDPROC WuiClassProcedure(LPCWSTR className);
LRESULT WuiCallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- geometry and painting ----

// The window's rectangle: in its parent's client coordinates for a child, else the screen's.
BOOL WuiGetRect(HWND window, RECT* rect);
// The client area, from (0, 0).
BOOL WuiGetClientRect(HWND window, RECT* rect);
// Moves and sizes the window (a child in its parent's client coordinates).
BOOL WuiMove(HWND window, const RECT* rect, BOOL repaint);
// A child window of parent (class, text, styles, rectangle, id, instance), placed in z-order
// right after `after` (NULL: on top). NULL when it cannot be made.
HWND WuiCreateChild(HWND parent, LPCWSTR className, LPCWSTR text, DWORD style, DWORD exStyle, const RECT* rect,
                    int id, HMODULE instance, HWND after);
// Marks the whole window for repainting (erase: its background too).
BOOL WuiInvalidate(HWND window, BOOL erase);
// TRUE while part of the window waits to be repainted.
BOOL WuiHasUpdate(HWND window);
// Enables or disables both arrows of a scroll-bar control (ESB_...).
BOOL WuiEnableScrollBar(HWND scrollBar, UINT arrows);

// ---- help and property sheets ----

// Asks the help viewer for topic data of file (HELP_CONTEXT, HELP_WM_HELP, HELP_CONTEXTMENU;
// for the last two data is a list of {control id, help id} pairs ending with 0, 0).
BOOL WuiHelp(HWND window, LPCWSTR file, UINT command, ULONG_PTR data);
// Runs a modal property sheet; its result, -1 when it cannot be shown.
INT_PTR WuiRunPropertySheet(const PROPSHEETHEADERW* header);

// ---- property sheets ----

// A property page from its description (the page procedure gets the description's copy as the
// lParam of WM_INITDIALOG); NULL when it cannot be made.
HPROPSHEETPAGE WuiCreatePropertyPage(const PROPSHEETPAGEW* page);
// Runs the common property-sheet UI with callback (lParam its lParamInit): answers its result
// and writes the sheet's result word to *result; -1 when the common property-sheet UI is not
// there (its library or entry point missing).
LONG WuiRunCommonPropertySheet(HWND owner, SheetUiCallback callback, LPARAM lParam, DWORD* result);

// ---- prompts ----

// Shows a message box (style: MB_* buttons, icon, modality) and returns the button chosen
// (IDOK, IDCANCEL, ...); 0 when it could not be shown.
int WuiMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style);
// The system sound of a message-box icon type.
BOOL WuiBeep(UINT type);

// ---- file dialogs ----

// Runs the old-style common file dialog the record describes (its template and hook):
// GetSaveFileNameW when save, else GetOpenFileNameW. Nonzero when a name was chosen
// (lpstrFile holds it, nFileOffset where its file name starts; a multiple selection is the
// folder and the names separated by blanks); 0 when cancelled or failed.
BOOL WuiRunFileDialog(OPENFILENAMEW* dialog, BOOL save);
// Why the last file dialog failed (CommDlgExtendedError); 0 after a cancel or a choice.
DWORD WuiFileDialogError();

// ---- lists, combos, tabs and trees ----

// Inserts a tab with its caption and lParam before tab `index` (past the end: appended); its
// index, or -1.
int WuiTabInsert(HWND tab, int index, LPCWSTR text, LPARAM param);
// The selected tab, -1 for none.
int WuiTabSelection(HWND tab);
// Removes every item of a tree view.
BOOL WuiTreeClear(HWND tree);
// Appends an item with its text and lParam under parent (NULL: a root item); the new item, or
// NULL.
HTREEITEM WuiTreeInsert(HWND tree, HTREEITEM parent, LPCWSTR text, LPARAM param);
// ---- list views (report style) ----

// Appends column `index` with its caption and width in pixels; its index, or -1.
int WuiListViewAddColumn(HWND list, int index, LPCWSTR text, int width);
// Inserts an item with its text and lParam before item `index` (past the end: appended),
// selected when asked (the control then tells its parent LVN_ITEMCHANGED as for any change of
// state); its index, or -1.
int WuiListViewInsert(HWND list, int index, LPCWSTR text, LPARAM param, BOOL selected);
int WuiListViewCount(HWND list);
// The lParam of item index; 0 for an index out of range.
LPARAM WuiListViewData(HWND list, int index);
// The first selected item, -1 for none.
int WuiListViewSelection(HWND list);
// Selects and focuses item index (the others lose the selection in a single-selection list);
// the control tells its parent LVN_ITEMCHANGED. FALSE for an index out of range.
BOOL WuiListViewSelect(HWND list, int index);
// Removes every item.
BOOL WuiListViewClear(HWND list);
// ---- control subclassing, cursors and the hint popup ----

// A cursor resource of module (a language DLL); NULL when it is not there.
HCURSOR WuiLoadCursor(HMODULE module, int cursorId);
// Shows the cursor (NULL: none); answers the one shown before.
HCURSOR WuiSetCursor(HCURSOR cursor);
// The cursor's position in screen coordinates.
BOOL WuiCursorPos(POINT* at);
// A point of the window's client area in screen coordinates, and back.
BOOL WuiClientToScreen(HWND window, POINT* at);
BOOL WuiScreenToClient(HWND window, POINT* at);
// The screen's rectangle.
BOOL WuiScreenRect(RECT* rect);
// The mouse capture: the set answers the window that had it; the release tells the window that
// loses it with WM_CAPTURECHANGED.
HWND WuiSetCapture(HWND window);
BOOL WuiReleaseCapture();
HWND WuiGetCapture();
// TRUE while the key (VK_..., VK_LBUTTON for the left mouse button) is down as far as the
// messages taken so far tell.
BOOL WuiKeyDown(int virtualKey);
// The clipboard's text in buffer (cut to cchBuffer with the terminator); its length, -1 when the
// clipboard holds no text or cannot be opened.
int WuiClipboardText(HWND owner, WCHAR* buffer, int cchBuffer);
// A hidden top-level popup window of the class (styles as given) owned by owner, with its
// rectangle in screen coordinates. NULL when it cannot be made.
HWND WuiCreatePopup(HWND owner, LPCWSTR className, LPCWSTR text, DWORD style, const RECT* rect, HMODULE instance);
// The local message loop of a window that holds the mouse (a pressed step button): waits on the
// thread's queue and dispatches its messages until *done is nonzero, the window is gone, or
// WM_QUIT arrives (posted again for the outer loop). TRUE when *done ended it.
BOOL WuiRunLocalLoop(HWND window, const volatile LONG* done);
// ---- edits and scroll bars ----

// The edit's selection: first selected character and the one after the last (the caret).
void WuiEditGetSelection(HWND edit, int* start, int* end);
// A scroll-bar control's range (a position outside it moves inside) and position; redraw
// repaints the bar. WuiScrollSetPos answers the position before.
void WuiScrollSetRange(HWND scrollBar, int minimum, int maximum, BOOL redraw);
BOOL WuiScrollGetRange(HWND scrollBar, int* minimum, int* maximum);
int WuiScrollSetPos(HWND scrollBar, int position, BOOL redraw);
int WuiScrollGetPos(HWND scrollBar);
// A trackbar's range (16-bit limits) and position.
void WuiTrackSetRange(HWND trackbar, int minimum, int maximum, BOOL redraw);
void WuiTrackSetPos(HWND trackbar, int position, BOOL redraw);
int WuiTrackGetPos(HWND trackbar);
// Draws the control without the visual style, where the system has styles; FALSE when it
// could not.
BOOL WuiSwitchOffTheme(HWND window);

// ---- presets and watermarks ----
// The face name of the font a dialog uses, cut to cchBuffer with its terminator; its length, 0
// when the dialog has no font of its own.
int WuiDialogFontFace(HWND dialog, WCHAR* buffer, int cchBuffer);
// A left click at a point of a list box's client area, as the user's: the line under it is
// selected (a list with LBS_NOTIFY tells its dialog). The selection after it, -1 for none.
int WuiChoiceClickAt(HWND list, int x, int y);
// Popup menu menuId of module (a language DLL): its first submenu, with the items whose bit is
// set in greyedPositions (bit 0: the first item) greyed, tracked at the cursor with the left
// button. The chosen item's command reaches owner as WM_COMMAND. FALSE when the menu is not there.
BOOL WuiTrackPopupMenu(HMODULE module, int menuId, DWORD greyedPositions, HWND owner);
