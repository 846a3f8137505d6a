// What the driver needs and mingw-w64's headers do not declare (device-driver interface,
// printer-interface entry points and their structures, some spooler and compstui parts).
#pragma once

// Marks a function that a deliverable exports; the .def made from the export list names it.
#define ZEMS_EXPORT extern "C"

// ---- kernel: the ntdll conversions the text helpers use (declared in the DDK only) ----
typedef LONG NTSTATUS;
extern "C" NTSTATUS NTAPI RtlMultiByteToUnicodeN(PWCH target, ULONG targetBytes, PULONG written, const CHAR* source,
                                                 ULONG sourceBytes);
extern "C" NTSTATUS NTAPI RtlUnicodeToMultiByteN(PCHAR target, ULONG targetBytes, PULONG written, PCWCH source,
                                                 ULONG sourceBytes);


// ---- compstui: the sheet callback with its calling convention (the header's PFNPROPSHEETUI
// lacks it) ----
typedef LONG(CALLBACK* SheetUiCallback)(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);

// ---- the printer-interface headers of the property-sheet callbacks ----
#include "platform/include/win_sheet_headers.h"

// ---- spoolss: identity switches around the spooler's own copies (declared in the DDK only) ----
extern "C" HANDLE WINAPI RevertToPrinterSelf(void);
extern "C" BOOL WINAPI ImpersonatePrinterClient(HANDLE hToken);

// ---- shell32: the special folders (shlobj.h would bring the whole shell in) ----
#ifndef CSIDL_PERSONAL
#define CSIDL_PERSONAL 0x0005
#endif
extern "C" __declspec(dllimport) HRESULT WINAPI SHGetFolderPathW(HWND hwnd, int csidl, HANDLE hToken, DWORD dwFlags,
                                                                LPWSTR pszPath);
// ---- trackbars: the messages of the driver's trackbar (commctrl.h is not included) ----
#ifndef TBM_GETPOS
#define TBM_GETPOS (WM_USER)
#define TBM_GETRANGEMIN (WM_USER + 1)
#define TBM_GETRANGEMAX (WM_USER + 2)
#define TBM_SETPOS (WM_USER + 5)
#define TBM_SETRANGE (WM_USER + 6)
#endif
