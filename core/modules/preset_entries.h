// The preset list's entries as the preset dialogs see them, without a window: a name looked up,
// a repeated name found, an entry's name or comment read, and the file the last file dialog
// chose.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// The private message the maintenance dialog gets for a repeated name; wParam = the entry.
constexpr UINT kPresetMsgDuplicate = 32772;
// Characters of the chosen-file buffer the file dialogs write (folder and names of a multiple
// selection included).
constexpr DWORD kPresetChosenFileChars = 1025;

// The entry (0 .. Count - 1) whose Name key is name, case and whole text alike: preferred when
// that entry matches, else the first match; -1 for none. A Name key too long to be read whole
// matches nothing.
int PresetFindByName(DriverContext* ctx, LPCWSTR name, int preferred);
// The later entry of the first pair with equal names (each entry against every later one), or
// -1. When found, kPresetMsgDuplicate with that entry is posted to dialog (none: no post).
int PresetCheckDuplicateName(DriverContext* ctx, HWND dialog);
// Entry n's Name (kind 1) or Comment (kind 2) key into buffer, cut to cchBuffer - 1 characters
// and terminated; an entry outside the list or another kind gives an empty text. Answers the
// characters placed.
DWORD PresetReadEntryText(DriverContext* ctx, int n, int kind, WCHAR* buffer, DWORD cchBuffer);

// The chosen file of the context (kPresetChosenFileChars characters, written by the file
// dialogs); null without a UI state.
WCHAR* PresetGetChosenFilePath(DriverContext* ctx);
// The offset of the file name in the chosen path: one value for the whole process, the last
// one written.
void PresetSetFileNameOffset(int offset);
int PresetGetFileNameOffset();
