// Stand-in for a filter plug-in. IZEMSGetInterface hands out a table of eight 4-byte slots
// (slot 0 empty): Open, Close, StartDoc, EndDoc, StartPage, EndPage, Write. The filter passes
// every call and byte on to the last entry of the chain Open receives, the spool DLL, which it
// loads and binds itself. Logs the interface version, the chain entries and every call to
// zfilter.log; scripted by zfilter.script, read at every call (format in the README):
//   refuse interface   IZEMSGetInterface answers FALSE
//   open false         Open answers FALSE
//   endpage false      EndPage answers FALSE (the spool DLL is not told)
#include <string.h>

#include <string>

#include "samples/modules/stand_in_script.h"

namespace {

constexpr char kLog[] = "zfilter.log";
constexpr char kScript[] = "zfilter.script";

bool Scripted(const char* line) {
  for (const std::string& l : stand_in::Lines(kScript))
    if (l == line) return true;
  return false;
}

typedef HANDLE(WINAPI* SplStartDoc)(HANDLE, DWORD);
typedef BOOL(WINAPI* SplWrite)(HANDLE, LPVOID, DWORD, LPDWORD);
typedef VOID(WINAPI* SplCall)(HANDLE);

// One open filter: the spool DLL it binds and that DLL's handle.
struct Session {
  HMODULE spool = nullptr;
  HANDLE handle = nullptr;
};

template <class F>
F Export(HMODULE m, const char* name) {
  return m ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(m, name))) : nullptr;
}

void CallSpool(Session* s, const char* name) {
  if (SplCall f = s ? Export<SplCall>(s->spool, name) : nullptr) f(s->handle);
}

BOOL WINAPI Open(HANDLE* handle, char** chain) {
  if (!handle || !chain) return FALSE;
  int n = 0;
  while (chain[n]) ++n;
  std::string entries;
  for (int i = 0; i < n; ++i) entries += std::string(i ? " | " : "") + chain[i];
  if (Scripted("open false")) {
    stand_in::Log(kLog, "Open entries=%d [%s] -> FALSE (scripted)", n, entries.c_str());
    return FALSE;
  }
  Session* s = new Session;
  if (n > 0) s->spool = LoadLibraryA(chain[n - 1]);
  *handle = s;
  stand_in::Log(kLog, "Open entries=%d [%s] -> TRUE spool=%s", n, entries.c_str(), s->spool ? "loaded" : "missing");
  return TRUE;
}

VOID WINAPI Close(HANDLE handle) {
  Session* s = static_cast<Session*>(handle);
  stand_in::Log(kLog, "Close");
  if (!s) return;
  CallSpool(s, "DrvSplClose");
  if (s->spool) FreeLibrary(s->spool);
  delete s;
}

VOID WINAPI StartDoc(HANDLE handle, HANDLE printer, DWORD jobId) {
  Session* s = static_cast<Session*>(handle);
  stand_in::Log(kLog, "StartDoc job=%lu", (unsigned long)jobId);
  if (!s) return;
  SplStartDoc start = Export<SplStartDoc>(s->spool, "DrvSplStartDocEx");
  if (!start) start = Export<SplStartDoc>(s->spool, "DrvSplStartDoc");
  if (start) s->handle = start(printer, jobId);
}

VOID WINAPI EndDoc(HANDLE handle) {
  stand_in::Log(kLog, "EndDoc");
  CallSpool(static_cast<Session*>(handle), "DrvSplEndDoc");
}

VOID WINAPI StartPage(HANDLE handle) {
  stand_in::Log(kLog, "StartPage");
  CallSpool(static_cast<Session*>(handle), "DrvSplStartPage");
}

BOOL WINAPI EndPage(HANDLE handle) {
  if (Scripted("endpage false")) {
    stand_in::Log(kLog, "EndPage -> FALSE (scripted)");
    return FALSE;
  }
  stand_in::Log(kLog, "EndPage -> TRUE");
  CallSpool(static_cast<Session*>(handle), "DrvSplEndPage");
  return TRUE;
}

BOOL WINAPI Write(HANDLE handle, LPVOID bytes, DWORD cb, LPDWORD written) {
  Session* s = static_cast<Session*>(handle);
  SplWrite write = s ? Export<SplWrite>(s->spool, "DrvSplWritePrinter") : nullptr;
  BOOL ok = write ? write(s->handle, bytes, cb, written) : FALSE;
  stand_in::Log(kLog, "Write cb=%lu -> %s", (unsigned long)cb, ok ? "TRUE" : "FALSE");
  return ok;
}

void* const kSlots[8] = {nullptr,
                         reinterpret_cast<void*>(&Open),
                         reinterpret_cast<void*>(&Close),
                         reinterpret_cast<void*>(&StartDoc),
                         reinterpret_cast<void*>(&EndDoc),
                         reinterpret_cast<void*>(&StartPage),
                         reinterpret_cast<void*>(&EndPage),
                         reinterpret_cast<void*>(&Write)};

}  // namespace

STAND_IN_EXPORT BOOL WINAPI IZEMSGetInterface(DWORD version, void** ops) {
  if (!ops || Scripted("refuse interface")) {
    stand_in::Log(kLog, "IZEMSGetInterface version=0x%lx -> FALSE", (unsigned long)version);
    return FALSE;
  }
  void** table = new void*[8];
  memcpy(table, kSlots, sizeof kSlots);
  *ops = table;
  stand_in::Log(kLog, "IZEMSGetInterface version=0x%lx -> TRUE", (unsigned long)version);
  return TRUE;
}

STAND_IN_EXPORT VOID WINAPI IZEMSDisposeInterface(void* ops) {
  stand_in::Log(kLog, "IZEMSDisposeInterface");
  delete[] static_cast<void**>(ops);
}
