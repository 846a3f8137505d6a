// kernel32 of the simulated machine: errors, memory, synchronisation, time, text, code pages.
#pragma once
#include <stdarg.h>

#include "platform/include/win_base.h"

WINSIM_API DWORD WINAPI GetLastError(void);
WINSIM_API void WINAPI SetLastError(DWORD code);

#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_FAILED 0xFFFFFFFFUL

WINSIM_API BOOL WINAPI CloseHandle(HANDLE handle);
WINSIM_API DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds);

// ---- status codes of the ntdll forms ----
typedef LONG NTSTATUS;
#define STATUS_SUCCESS ((NTSTATUS)0x00000000L)
#define STATUS_INVALID_PARAMETER ((NTSTATUS)0xC000000DL)

// ---- access rights of synchronisation objects ----
#define MUTEX_MODIFY_STATE 0x0001
#define MUTEX_ALL_ACCESS (STANDARD_RIGHTS_REQUIRED | SYNCHRONIZE | 0x0001)

// ---- global, local and process-heap memory ----
#ifndef ERROR_NOT_LOCKED
#define ERROR_NOT_LOCKED 158L
#endif
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define LMEM_FIXED 0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_ZEROINIT 0x0040
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)
#define LHND (LMEM_MOVEABLE | LMEM_ZEROINIT)
#define HEAP_ZERO_MEMORY 0x00000008

WINSIM_API HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes);
WINSIM_API HGLOBAL WINAPI GlobalFree(HGLOBAL mem);
WINSIM_API LPVOID WINAPI GlobalLock(HGLOBAL mem);
WINSIM_API BOOL WINAPI GlobalUnlock(HGLOBAL mem);
WINSIM_API SIZE_T WINAPI GlobalSize(HGLOBAL mem);
WINSIM_API HGLOBAL WINAPI GlobalHandle(LPCVOID mem);
WINSIM_API HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes);
WINSIM_API HLOCAL WINAPI LocalFree(HLOCAL mem);
WINSIM_API LPVOID WINAPI LocalLock(HLOCAL mem);
WINSIM_API BOOL WINAPI LocalUnlock(HLOCAL mem);
WINSIM_API SIZE_T WINAPI LocalSize(HLOCAL mem);
WINSIM_API HANDLE WINAPI GetProcessHeap(void);
WINSIM_API LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
WINSIM_API BOOL WINAPI HeapFree(HANDLE heap, DWORD flags, LPVOID mem);

// ---- interlocked operations ----
WINSIM_API LONG WINAPI InterlockedIncrement(LONG volatile* target);
WINSIM_API LONG WINAPI InterlockedDecrement(LONG volatile* target);
WINSIM_API LONG WINAPI InterlockedExchange(LONG volatile* target, LONG value);
WINSIM_API LONG WINAPI InterlockedCompareExchange(LONG volatile* target, LONG exchange, LONG comparand);

// ---- critical sections ----
// The 32-bit layout; the simulated machine keeps its own lock behind DebugInfo.
typedef struct _RTL_CRITICAL_SECTION {
  PVOID DebugInfo;
  LONG LockCount;
  LONG RecursionCount;
  HANDLE OwningThread;
  HANDLE LockSemaphore;
  ULONG_PTR SpinCount;
} RTL_CRITICAL_SECTION, CRITICAL_SECTION, *PCRITICAL_SECTION, *LPCRITICAL_SECTION;
static_assert(sizeof(CRITICAL_SECTION) == 24, "CRITICAL_SECTION is 24 bytes on 32-bit Windows");

WINSIM_API void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section);
WINSIM_API BOOL WINAPI InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount);
WINSIM_API void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section);
WINSIM_API BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION section);
WINSIM_API void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section);
WINSIM_API void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section);

// ---- mutexes (named ones are shared by every process on the same machine root) ----
WINSIM_API HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);
WINSIM_API HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name);
WINSIM_API HANDLE WINAPI OpenMutexW(DWORD access, BOOL inherit, LPCWSTR name);
WINSIM_API HANDLE WINAPI OpenMutexA(DWORD access, BOOL inherit, LPCSTR name);
WINSIM_API BOOL WINAPI ReleaseMutex(HANDLE mutex);

// ---- threads ----
typedef DWORD(WINAPI* PTHREAD_START_ROUTINE)(LPVOID parameter);
typedef PTHREAD_START_ROUTINE LPTHREAD_START_ROUTINE;
#define STILL_ACTIVE 259L
WINSIM_API HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize,
                                      LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                                      LPDWORD threadId);
WINSIM_API BOOL WINAPI GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
WINSIM_API DWORD WINAPI GetCurrentThreadId(void);
WINSIM_API DWORD WINAPI GetCurrentProcessId(void);

// ---- time ----
WINSIM_API DWORD WINAPI GetTickCount(void);
WINSIM_API void WINAPI Sleep(DWORD milliseconds);
WINSIM_API void WINAPI GetSystemTime(LPSYSTEMTIME time);
WINSIM_API void WINAPI GetLocalTime(LPSYSTEMTIME time);
WINSIM_API void WINAPI GetSystemTimeAsFileTime(LPFILETIME time);

// ---- system folders ----
WINSIM_API UINT WINAPI GetSystemDirectoryW(LPWSTR buffer, UINT size);
WINSIM_API UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size);
WINSIM_API UINT WINAPI GetWindowsDirectoryW(LPWSTR buffer, UINT size);
WINSIM_API UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size);

// ---- code pages ----
#define CP_ACP 0
#define CP_OEMCP 1
#define CP_MACCP 2
#define CP_THREAD_ACP 3
#define CP_UTF7 65000
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008

#define WC_COMPOSITECHECK 0x00000200
#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_NO_BEST_FIT_CHARS 0x00000400

WINSIM_API UINT WINAPI GetACP(void);
WINSIM_API UINT WINAPI GetOEMCP(void);
WINSIM_API int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceBytes,
                                          LPWSTR target, int targetChars);
WINSIM_API int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceChars,
                                          LPSTR target, int targetBytes, LPCSTR defaultChar,
                                          LPBOOL usedDefaultChar);
WINSIM_API BOOL WINAPI IsDBCSLeadByteEx(UINT codePage, BYTE byte);
WINSIM_API BOOL WINAPI IsDBCSLeadByte(BYTE byte);

// The ntdll conversions with the ANSI code page: they convert what fits and report the bytes
// written; a double-byte character that does not fit whole is left out.
WINSIM_API NTSTATUS WINAPI RtlMultiByteToUnicodeN(PWCHAR target, ULONG targetBytes, PULONG written,
                                                  const CHAR* source, ULONG sourceBytes);
WINSIM_API NTSTATUS WINAPI RtlUnicodeToMultiByteN(PCHAR target, ULONG targetBytes, PULONG written,
                                                  const WCHAR* source, ULONG sourceBytes);

// ---- character sets of code pages (gdi32) ----
#ifndef ANSI_CHARSET
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define SHIFTJIS_CHARSET 128
#define HANGEUL_CHARSET 129
#define HANGUL_CHARSET 129
#define JOHAB_CHARSET 130
#define GB2312_CHARSET 134
#define CHINESEBIG5_CHARSET 136
#define GREEK_CHARSET 161
#define TURKISH_CHARSET 162
#define VIETNAMESE_CHARSET 163
#define HEBREW_CHARSET 177
#define ARABIC_CHARSET 178
#define BALTIC_CHARSET 186
#define RUSSIAN_CHARSET 204
#define THAI_CHARSET 222
#define EASTEUROPE_CHARSET 238
#define OEM_CHARSET 255
#endif

#define TCI_SRCCHARSET 1
#define TCI_SRCCODEPAGE 2
#define TCI_SRCFONTSIG 3

typedef struct tagFONTSIGNATURE {
  DWORD fsUsb[4];
  DWORD fsCsb[2];
} FONTSIGNATURE, *PFONTSIGNATURE, *LPFONTSIGNATURE;

typedef struct tagCHARSETINFO {
  UINT ciCharset;
  UINT ciACP;
  FONTSIGNATURE fs;
} CHARSETINFO, *PCHARSETINFO, *LPCHARSETINFO;

// With TCI_SRCCODEPAGE the code page is the value of source itself, not a pointer.
WINSIM_API BOOL WINAPI TranslateCharsetInfo(DWORD* source, LPCHARSETINFO info, DWORD flags);

// ---- strings ----
WINSIM_API int WINAPI lstrlenW(LPCWSTR text);
WINSIM_API int WINAPI lstrlenA(LPCSTR text);
WINSIM_API int WINAPI lstrcmpW(LPCWSTR a, LPCWSTR b);
WINSIM_API int WINAPI lstrcmpA(LPCSTR a, LPCSTR b);
WINSIM_API int WINAPI lstrcmpiW(LPCWSTR a, LPCWSTR b);
WINSIM_API int WINAPI lstrcmpiA(LPCSTR a, LPCSTR b);
WINSIM_API LPWSTR WINAPI lstrcpyW(LPWSTR target, LPCWSTR source);
WINSIM_API LPSTR WINAPI lstrcpyA(LPSTR target, LPCSTR source);
WINSIM_API LPWSTR WINAPI lstrcpynW(LPWSTR target, LPCWSTR source, int maxChars);
WINSIM_API LPSTR WINAPI lstrcpynA(LPSTR target, LPCSTR source, int maxChars);
WINSIM_API LPWSTR WINAPI lstrcatW(LPWSTR target, LPCWSTR source);
WINSIM_API LPSTR WINAPI lstrcatA(LPSTR target, LPCSTR source);

// wsprintf formats into a buffer the caller promises to hold 1024 characters; longer output
// is cut there. The result counts the characters written without the terminator.
WINSIM_API int WINAPIV wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
WINSIM_API int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...);
WINSIM_API int WINAPI wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args);
WINSIM_API int WINAPI wvsprintfA(LPSTR buffer, LPCSTR format, va_list args);

#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_INVARIANT 0x007F
#define NORM_IGNORECASE 0x00000001
#define CSTR_LESS_THAN 1
#define CSTR_EQUAL 2
#define CSTR_GREATER_THAN 3
WINSIM_API int WINAPI CompareStringW(LCID locale, DWORD flags, LPCWSTR a, int aChars, LPCWSTR b, int bChars);

// System message texts (kernel32).
#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define ERROR_MR_MID_NOT_FOUND 317L
WINSIM_API DWORD WINAPI FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                                       LPWSTR buffer, DWORD size, va_list* arguments);
