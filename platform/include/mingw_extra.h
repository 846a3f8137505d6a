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

// ---- compstui: the result a property sheet reports to the common property-sheet UI ----
#ifndef CPSFUNC_SET_RESULT
#define CPSFUNC_SET_RESULT 9
#endif
#ifndef CPSUI_CANCEL
#define CPSUI_CANCEL 0
#define CPSUI_OK 1
#endif

// ---- spoolss: identity switches around the spooler's own copies (declared in the DDK only) ----
extern "C" HANDLE WINAPI RevertToPrinterSelf(void);
extern "C" BOOL WINAPI ImpersonatePrinterClient(HANDLE hToken);
