// The kinds of the described file dialogs (the page kind's bits 0x0100-0x8000) as the file
// dialogs' code reads them: one row per kind.
#pragma once
#include "core/front/dialog_records.h"
#include "platform/win32.h"

enum : WORD {
  kFileKindImport = 0x0100,
  kFileKindOpenSave = 0x0200,
  kFileKindImage = 0x0400,
  kFileKindOverlaySave = 0x0800,
  kFileKindOverlay = 0x1000,
  kFileKindSave = 0x2000,
  kFileKindColourData = 0x4000,
  kFileKindSpool = 0x8000,
};

struct FileDialogKind {
  WORD kind;
  UINT filterNameId;     // the filter's name (a string of the language DLL) and pattern
  LPCWSTR pattern;
  UINT secondNameId;     // a second filter pair, 0 for none
  LPCWSTR secondPattern;
  UINT titleId;          // 0: no title
  LPCWSTR folderKey;     // the remembered folder's key, null for none
  WORD controlId;        // a chosen file goes into this control's item ...
  DWORD itemId;          // ... or into this item; 0 for neither
};

// The row of the page's kind; null for a page that is no file dialog.
const FileDialogKind* DlgFileDialogKindOf(const DlgPageRecord* page);

// The spool folder's value: machine-wide under the driver's key, per printer in its data.
constexpr WCHAR kSpoolFolderValue[] = TEXT("SpoolDirectory");
// The default spool folder, the Windows folder's "temp" (kPathChars characters; empty when
// the Windows folder cannot be had).
void DlgDefaultSpoolFolder(WCHAR* folder);
