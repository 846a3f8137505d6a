// kernel32's module loader of the simulated machine. A DLL name or path is found the way
// Windows searches for it and mapped, through the module table under the machine root, to one
// of our shared objects; exports are looked up with dlsym.
#pragma once
#include "platform/include/win_base.h"

#define DONT_RESOLVE_DLL_REFERENCES 0x00000001
#define LOAD_LIBRARY_AS_DATAFILE 0x00000002
#define LOAD_WITH_ALTERED_SEARCH_PATH 0x00000008
#define LOAD_IGNORE_CODE_AUTHZ_LEVEL 0x00000010
#define LOAD_LIBRARY_AS_IMAGE_RESOURCE 0x00000020
#define LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE 0x00000040

WINSIM_API HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName);
WINSIM_API HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName);
WINSIM_API HMODULE WINAPI LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags);
WINSIM_API BOOL WINAPI FreeLibrary(HMODULE hLibModule);
WINSIM_API FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
WINSIM_API HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName);
WINSIM_API DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
WINSIM_API DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);

// Resources of resource-only PE DLLs (kernel32) and their strings (user32).
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_RCDATA MAKEINTRESOURCEW(10)
WINSIM_API HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType);
WINSIM_API HRSRC WINAPI FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage);
WINSIM_API HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo);
WINSIM_API LPVOID WINAPI LockResource(HGLOBAL hResData);
WINSIM_API DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo);
WINSIM_API int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);
