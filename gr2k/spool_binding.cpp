// Finding, binding and calling the spool DLL or the first filter.
#include "gr2k/spool_binding.h"

#include <string.h>

#include "core/bind/plugin_registry.h"

namespace {

constexpr DWORD kPathChars = 4096;
constexpr DWORD kMaxDriverPath = 240;
constexpr DWORD kFilterVersion = 0x100;

typedef HANDLE(WINAPI* SplStartDoc)(HANDLE printer, DWORD jobId);
typedef VOID(WINAPI* SplHandleCall)(HANDLE spoolHandle);
typedef BOOL(WINAPI* FilterGetInterface)(DWORD version, void** ops);
typedef VOID(WINAPI* FilterDispose)(void* ops);
typedef BOOL(WINAPI* FilterOpen)(HANDLE* spoolHandle, char** chain);
typedef VOID(WINAPI* FilterClose)(HANDLE spoolHandle);
typedef VOID(WINAPI* FilterStartDoc)(HANDLE spoolHandle, HANDLE printer, DWORD jobId);
typedef BOOL(WINAPI* FilterEndPage)(HANDLE spoolHandle);

// The filter interface: a table of 4-byte slots, slot 0 unused.
enum { kSlotOpen = 1, kSlotClose, kSlotStartDoc, kSlotEndDoc, kSlotStartPage, kSlotEndPage, kSlotWrite };

void** FilterSlots(GraphicsPdev* pdev) { return static_cast<void**>(pdev->filterOps[0]); }

template <class F>
F Slot(GraphicsPdev* pdev, int slot) {
  void** slots = FilterSlots(pdev);
  return slots ? reinterpret_cast<F>(slots[slot]) : nullptr;
}

template <class F>
F Export(HMODULE module, const char* name) {
  return module ? DdiFunctionCast<F>(GetProcAddress(module, name)) : nullptr;
}

DWORD Length(const WCHAR* s) {
  DWORD n = 0;
  while (s[n]) ++n;
  return n;
}

WCHAR Lower(WCHAR c) { return c >= 'A' && c <= 'Z' ? WCHAR(c - 'A' + 'a') : c; }

// Whether the folder is one of PATH's ';' elements, without case: a mere substring (a longer
// folder name, a part of one) does not count.
BOOL PathHasElement(const WCHAR* path, const WCHAR* folder, DWORD cchFolder) {
  const WCHAR* element = path;
  for (;;) {
    const WCHAR* end = element;
    while (*end && *end != ';') ++end;
    if (DWORD(end - element) == cchFolder) {
      DWORD i = 0;
      while (i < cchFolder && Lower(element[i]) == Lower(folder[i])) ++i;
      if (i == cchFolder) return TRUE;
    }
    if (!*end) return FALSE;
    element = end + 1;
  }
}

void ExtendPath(GraphicsPdev* pdev, const WCHAR* folder) {
  static const WCHAR kPath[] = {'P', 'A', 'T', 'H', 0};
  DWORD cchFolder = Length(folder);
  WCHAR small[kPathChars];
  WCHAR* path = small;
  DWORD cch = GetEnvironmentVariableW(kPath, small, kPathChars);
  if (cch >= kPathChars || cch + cchFolder >= kPathChars - 1) {
    DWORD cb = (cch + cchFolder) * 2 + 4 + 2;
    path = static_cast<WCHAR*>(PdevPoolAlloc(pdev->pool, cb));
    if (!path) return;
    DWORD again = GetEnvironmentVariableW(kPath, path, cch + cchFolder + 1);
    if (again > cch + cchFolder) {
      PdevPoolFree(pdev->pool, path);
      return;
    }
    cch = again;
  }
  if (!PathHasElement(path, folder, cchFolder)) {
    if (cch) path[cch++] = ';';
    memcpy(path + cch, folder, (cchFolder + 1) * sizeof(WCHAR));
    SetEnvironmentVariableW(kPath, path);
  }
  if (path != small) PdevPoolFree(pdev->pool, path);
}

char** ChainEntries(GraphicsPdev* pdev) { return static_cast<PluginStringList*>(pdev->filterChain)->strings; }

void DropFilters(GraphicsPdev* pdev) {
  pdev->filterMode = 0;
  PluginFreeStringList(static_cast<PluginStringList*>(pdev->filterChain));
  pdev->filterChain = nullptr;
  PluginFreeList(pdev->filterList);
  pdev->filterList = nullptr;
}

// A binding that cannot be used: the module goes again without any spool call.
BOOL Unusable(GraphicsPdev* pdev) {
  PdevOutputStream* s = &pdev->stream;
  if (pdev->filterOps[0] && pdev->filterOps[2]) reinterpret_cast<FilterDispose>(pdev->filterOps[2])(pdev->filterOps[0]);
  memset(pdev->filterOps, 0, sizeof pdev->filterOps);
  if (s->spoolModule) FreeLibrary(s->spoolModule);
  s->spoolModule = nullptr;
  s->spoolHandle = nullptr;
  s->write = nullptr;
  return FALSE;
}

}  // namespace

BOOL GrDriverDirOnPath(GraphicsPdev* pdev, HANDLE printer, WCHAR* path, BOOL withName) {
  if (!pdev || !path) return FALSE;
  DWORD needed = 0;
  GetPrinterDriverW(printer, nullptr, 2, nullptr, 0, &needed);
  if (!needed) return FALSE;
  BYTE* info = static_cast<BYTE*>(PdevPoolAlloc(pdev->pool, needed));
  if (!info) return FALSE;
  BOOL ok = GetPrinterDriverW(printer, nullptr, 2, info, needed, &needed);
  const WCHAR* driver = ok ? reinterpret_cast<DRIVER_INFO_2W*>(info)->pDriverPath : nullptr;
  DWORD cch = driver ? Length(driver) : 0;
  ok = driver && cch > 0 && cch <= kMaxDriverPath;
  if (ok) {
    DWORD cut = cch;
    while (cut > 0 && driver[cut - 1] != '\\') --cut;
    ok = cut > 1;
    if (ok) {
      memcpy(path, driver, (cut - 1) * sizeof(WCHAR));
      path[cut - 1] = 0;
    }
  }
  PdevPoolFree(pdev->pool, info);
  if (!ok) return FALSE;
  ExtendPath(pdev, path);
  if (!withName) return TRUE;
  DWORD cchDir = Length(path), cchName = Length(pdev->spoolDllName);
  if (!cchName || cchDir + 1 + cchName > MAX_PATH - 1) return FALSE;
  path[cchDir] = '\\';
  memcpy(path + cchDir + 1, pdev->spoolDllName, (cchName + 1) * sizeof(WCHAR));
  return TRUE;
}

BOOL GrLoadFilterInterface(GraphicsPdev* pdev) {
  HMODULE module = pdev->stream.spoolModule;
  FilterGetInterface get = Export<FilterGetInterface>(module, "IZEMSGetInterface");
  void* ops = nullptr;
  if (!get || !get(kFilterVersion, &ops) || !ops) return FALSE;
  pdev->filterOps[0] = ops;
  pdev->filterOps[1] = DdiFunctionCast<void*>(get);
  pdev->filterOps[2] = DdiFunctionCast<void*>(Export<FilterDispose>(module, "IZEMSDisposeInterface"));
  pdev->stream.write = Slot<void*>(pdev, kSlotWrite);
  return TRUE;
}

BOOL GrBindSpoolSide(GraphicsPdev* pdev) {
  PdevOutputStream* s = &pdev->stream;
  WCHAR spoolPath[MAX_PATH];
  BOOL havePath = GrDriverDirOnPath(pdev, pdev->printer, spoolPath, TRUE);
  if (!havePath) spoolPath[0] = 0;
  if (pdev->filterMode && (!havePath || !GrBuildFilterChain(pdev, spoolPath))) DropFilters(pdev);

  HMODULE module = nullptr;
  if (pdev->filterMode) {
    module = LoadLibraryA(ChainEntries(pdev)[0]);
    if (!module) DropFilters(pdev);
  }
  if (!module && havePath) module = LoadLibraryW(spoolPath);
  s->spoolModule = module;
  s->spoolHandle = nullptr;
  s->write = nullptr;

  if (pdev->filterMode) {
    if (!GrLoadFilterInterface(pdev)) {
      DropFilters(pdev);
      return Unusable(pdev);
    }
    FilterOpen open = Slot<FilterOpen>(pdev, kSlotOpen);
    if (!open || !open(&s->spoolHandle, ChainEntries(pdev))) return Unusable(pdev);
    if (FilterStartDoc start = Slot<FilterStartDoc>(pdev, kSlotStartDoc)) start(s->spoolHandle, pdev->printer, pdev->jobId);
    return s->write ? TRUE : Unusable(pdev);
  }
  if (!module) return FALSE;
  // A spool DLL that cannot take the job's bytes would have the job printed as nothing.
  s->write = reinterpret_cast<void*>(GetProcAddress(module, "DrvSplWritePrinter"));
  if (!s->write) return Unusable(pdev);
  SplStartDoc start = Export<SplStartDoc>(module, "DrvSplStartDocEx");
  if (!start) start = Export<SplStartDoc>(module, "DrvSplStartDoc");
  if (start) s->spoolHandle = start(pdev->printer, pdev->jobId);
  return TRUE;
}

void GrUnbindSpoolSide(GraphicsPdev* pdev) {
  PdevOutputStream* s = &pdev->stream;
  if (pdev->filterMode && pdev->filterOps[0]) {
    if (SplHandleCall end = Slot<SplHandleCall>(pdev, kSlotEndDoc)) end(s->spoolHandle);
    if (FilterClose close = Slot<FilterClose>(pdev, kSlotClose)) close(s->spoolHandle);
    if (FilterDispose dispose = reinterpret_cast<FilterDispose>(pdev->filterOps[2])) dispose(pdev->filterOps[0]);
    memset(pdev->filterOps, 0, sizeof pdev->filterOps);
  } else if (s->spoolModule) {
    if (SplHandleCall end = Export<SplHandleCall>(s->spoolModule, "DrvSplEndDoc")) end(s->spoolHandle);
    if (SplHandleCall close = Export<SplHandleCall>(s->spoolModule, "DrvSplClose")) close(s->spoolHandle);
  }
  if (s->spoolModule && FreeLibrary(s->spoolModule)) s->spoolModule = nullptr;
  s->spoolHandle = nullptr;
  s->write = nullptr;
}

void GrSpoolStartPage(GraphicsPdev* pdev) {
  PdevOutputStream* s = &pdev->stream;
  if (pdev->filterMode && pdev->filterOps[0]) {
    if (SplHandleCall start = Slot<SplHandleCall>(pdev, kSlotStartPage)) start(s->spoolHandle);
  } else if (SplHandleCall start = Export<SplHandleCall>(s->spoolModule, "DrvSplStartPage")) {
    start(s->spoolHandle);
  }
}

BOOL GrSpoolEndPage(GraphicsPdev* pdev) {
  PdevOutputStream* s = &pdev->stream;
  if (pdev->filterMode && pdev->filterOps[0]) {
    FilterEndPage end = Slot<FilterEndPage>(pdev, kSlotEndPage);
    return end ? end(s->spoolHandle) : TRUE;
  }
  if (SplHandleCall end = Export<SplHandleCall>(s->spoolModule, "DrvSplEndPage")) end(s->spoolHandle);
  return TRUE;
}
