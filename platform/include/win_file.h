// Files, folders, file times and read-only file mapping of the simulated machine.
// Declared from the public API documentation; layouts are those of 32-bit Windows.
#pragma once
#include "platform/include/win_base.h"

#define FILE_READ_DATA 0x0001
#define FILE_WRITE_DATA 0x0002
#define FILE_APPEND_DATA 0x0004
#define FILE_READ_EA 0x0008
#define FILE_WRITE_EA 0x0010
#define FILE_EXECUTE 0x0020
#define FILE_READ_ATTRIBUTES 0x0080
#define FILE_WRITE_ATTRIBUTES 0x0100

#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004

#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_DEVICE 0x00000040
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_TEMPORARY 0x00000100
#define FILE_ATTRIBUTE_SPARSE_FILE 0x00000200
#define FILE_ATTRIBUTE_REPARSE_POINT 0x00000400
#define FILE_ATTRIBUTE_COMPRESSED 0x00000800
#define FILE_ATTRIBUTE_OFFLINE 0x00001000
#define FILE_ATTRIBUTE_NOT_CONTENT_INDEXED 0x00002000
#define FILE_ATTRIBUTE_ENCRYPTED 0x00004000

#define FILE_FLAG_WRITE_THROUGH 0x80000000
#define FILE_FLAG_OVERLAPPED 0x40000000
#define FILE_FLAG_NO_BUFFERING 0x20000000
#define FILE_FLAG_RANDOM_ACCESS 0x10000000
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000
#define FILE_FLAG_DELETE_ON_CLOSE 0x04000000
#define FILE_FLAG_BACKUP_SEMANTICS 0x02000000

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define INVALID_SET_FILE_POINTER ((DWORD)-1)

#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_COPY_ALLOWED 0x00000002
#define MOVEFILE_DELAY_UNTIL_REBOOT 0x00000004
#define MOVEFILE_WRITE_THROUGH 0x00000008

#define PAGE_NOACCESS 0x01
#define PAGE_READONLY 0x02
#define PAGE_READWRITE 0x04
#define PAGE_WRITECOPY 0x08
#define SEC_COMMIT 0x08000000
#define FILE_MAP_COPY 0x0001
#define FILE_MAP_WRITE 0x0002
#define FILE_MAP_READ 0x0004
#define FILE_MAP_ALL_ACCESS 0x000F001F

#ifndef ERROR_NOT_SAME_DEVICE
#define ERROR_NOT_SAME_DEVICE 17L
#endif
#ifndef ERROR_FILE_INVALID
#define ERROR_FILE_INVALID 1006L
#endif
#define ERROR_MAPPED_ALIGNMENT 1132L

typedef struct _WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  WCHAR cFileName[MAX_PATH];
  WCHAR cAlternateFileName[14];
} WIN32_FIND_DATAW, *PWIN32_FIND_DATAW, *LPWIN32_FIND_DATAW;
typedef WIN32_FIND_DATAW WIN32_FIND_DATA;
typedef LPWIN32_FIND_DATAW LPWIN32_FIND_DATA;
static_assert(sizeof(WIN32_FIND_DATAW) == 592, "WIN32_FIND_DATAW is 592 bytes on 32-bit Windows");

typedef enum _GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard, GetFileExMaxInfoLevel } GET_FILEEX_INFO_LEVELS;

typedef struct _WIN32_FILE_ATTRIBUTE_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
} WIN32_FILE_ATTRIBUTE_DATA, *LPWIN32_FILE_ATTRIBUTE_DATA;
static_assert(sizeof(WIN32_FILE_ATTRIBUTE_DATA) == 36, "WIN32_FILE_ATTRIBUTE_DATA is 36 bytes");

// Opening, reading and writing.
WINSIM_API HANDLE WINAPI CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                     DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);
WINSIM_API HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                     DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);
WINSIM_API BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped);
WINSIM_API BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written,
                                 LPOVERLAPPED overlapped);
WINSIM_API DWORD WINAPI GetFileSize(HANDLE file, LPDWORD sizeHigh);
WINSIM_API BOOL WINAPI GetFileSizeEx(HANDLE file, PLARGE_INTEGER size);
WINSIM_API DWORD WINAPI SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD method);
WINSIM_API BOOL WINAPI SetFilePointerEx(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER newPosition,
                                        DWORD method);
WINSIM_API BOOL WINAPI SetEndOfFile(HANDLE file);
WINSIM_API BOOL WINAPI FlushFileBuffers(HANDLE file);
WINSIM_API BOOL WINAPI GetFileTime(HANDLE file, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite);
WINSIM_API BOOL WINAPI SetFileTime(HANDLE file, const FILETIME* creation, const FILETIME* lastAccess,
                                   const FILETIME* lastWrite);
// What an open file is: its attributes, times, size and, as its identity, the volume's serial
// number with the file's index on that volume (the same file through any path or link gives
// the same pair).
typedef struct _BY_HANDLE_FILE_INFORMATION {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD dwVolumeSerialNumber;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD nNumberOfLinks;
  DWORD nFileIndexHigh;
  DWORD nFileIndexLow;
} BY_HANDLE_FILE_INFORMATION, *LPBY_HANDLE_FILE_INFORMATION;
static_assert(sizeof(BY_HANDLE_FILE_INFORMATION) == 52, "BY_HANDLE_FILE_INFORMATION is 52 bytes");
WINSIM_API BOOL WINAPI GetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information);

// Attributes, names and folders.
WINSIM_API DWORD WINAPI GetFileAttributesW(LPCWSTR name);
WINSIM_API DWORD WINAPI GetFileAttributesA(LPCSTR name);
WINSIM_API BOOL WINAPI GetFileAttributesExW(LPCWSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID info);
WINSIM_API BOOL WINAPI SetFileAttributesW(LPCWSTR name, DWORD attributes);
WINSIM_API BOOL WINAPI SetFileAttributesA(LPCSTR name, DWORD attributes);
WINSIM_API BOOL WINAPI DeleteFileW(LPCWSTR name);
WINSIM_API BOOL WINAPI DeleteFileA(LPCSTR name);
WINSIM_API BOOL WINAPI CopyFileW(LPCWSTR existing, LPCWSTR target, BOOL failIfExists);
WINSIM_API BOOL WINAPI CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists);
WINSIM_API BOOL WINAPI MoveFileW(LPCWSTR existing, LPCWSTR target);
WINSIM_API BOOL WINAPI MoveFileExW(LPCWSTR existing, LPCWSTR target, DWORD flags);
WINSIM_API BOOL WINAPI CreateDirectoryW(LPCWSTR name, LPSECURITY_ATTRIBUTES security);
WINSIM_API BOOL WINAPI CreateDirectoryA(LPCSTR name, LPSECURITY_ATTRIBUTES security);
WINSIM_API BOOL WINAPI RemoveDirectoryW(LPCWSTR name);
WINSIM_API HANDLE WINAPI FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data);
WINSIM_API BOOL WINAPI FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW data);
WINSIM_API BOOL WINAPI FindClose(HANDLE find);
WINSIM_API DWORD WINAPI GetFullPathNameW(LPCWSTR name, DWORD size, LPWSTR buffer, LPWSTR* filePart);
WINSIM_API DWORD WINAPI GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD size);
WINSIM_API UINT WINAPI GetTempFileNameW(LPCWSTR path, LPCWSTR prefix, UINT unique, LPWSTR tempFileName);
WINSIM_API DWORD WINAPI GetTempPathW(DWORD size, LPWSTR buffer);

// Read-only file mapping.
WINSIM_API HANDLE WINAPI CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES security, DWORD protect,
                                            DWORD maxSizeHigh, DWORD maxSizeLow, LPCWSTR name);
WINSIM_API LPVOID WINAPI MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow,
                                       SIZE_T bytes);
WINSIM_API BOOL WINAPI UnmapViewOfFile(LPCVOID address);

// File times. The simulated machine's local time is UTC.
WINSIM_API LONG WINAPI CompareFileTime(const FILETIME* first, const FILETIME* second);
WINSIM_API BOOL WINAPI FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);
WINSIM_API BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
WINSIM_API BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime);
WINSIM_API BOOL WINAPI LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime);
