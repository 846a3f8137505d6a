// comdlg32's old-style open and save dialogs: the record the driver fills and the hook it
// installs. The dialogs are not simulated as comdlg32 does: the window interface's recording
// fake runs them (platform/sim/file_dialog_fake.cpp).
#pragma once
#include "platform/include/win_base.h"
#include "platform/include/win_user.h"

typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The 88-byte form (Windows 2000 on): the three reserved words at the end.
typedef struct tagOFNW {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCWSTR lpstrFilter;
  LPWSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPWSTR lpstrFile;
  DWORD nMaxFile;
  LPWSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCWSTR lpstrInitialDir;
  LPCWSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCWSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCWSTR lpTemplateName;
  void* pvReserved;
  DWORD dwReserved;
  DWORD FlagsEx;
} OPENFILENAMEW, *LPOPENFILENAMEW;
static_assert(sizeof(OPENFILENAMEW) == 88, "OPENFILENAMEW is 88 bytes");
static_assert(offsetof(OPENFILENAMEW, nFileOffset) == 56, "nFileOffset at 56");
static_assert(offsetof(OPENFILENAMEW, lCustData) == 64, "lCustData at 64");

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_ENABLEHOOK 0x00000020
#define OFN_ENABLETEMPLATE 0x00000040
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_NOLONGNAMES 0x00040000
#define OFN_EXPLORER 0x00080000

// CommDlgExtendedError's answers.
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_FINDRESFAILURE 0x0006
#define CDERR_NOTEMPLATE 0x0003
#define FNERR_BUFFERTOOSMALL 0x3003

