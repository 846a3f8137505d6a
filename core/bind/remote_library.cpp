// The remote-configuration library: the gate, the binding of its 15 exports, the server-type
// question, and the names and folders of a printer's transfer.
#include <stddef.h>
#include <string.h>

#include "core/bind/export_of.h"
#include "core/bind/remote_config.h"
#include "core/common/file_ops.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/install/driver_identity.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"
#include "core/tables/model_record.h"

const WCHAR kRemoteConnectionValue[] = TEXT("KestorConnection");
const WCHAR kRemoteIniValue[] = TEXT("KestorIni");
const WCHAR kRemoteFlagSection[] = TEXT("kestor");
const WCHAR kRemoteFlagKey[] = TEXT("KestorFlg");

namespace {

const WCHAR kLibraryName[] = TEXT("OMBIDISS.dll");
const WCHAR kGateKey[] = TEXT("Software\\ORVEL\\Vora Printer Driver");
const WCHAR kGateValue[] = TEXT("OMBIDI_FLG");

// The export names, in the order of the block's entry points.
const char* const kExports[kRemoteExportCount] = {
    "OMRegFileGetSize",        "OMRegFileGetData",       "OMGetPrinterData",   "OMGetPrinterDataSize",
    "OMDevmode",               "OMDevmodeSize",          "OMSetDevmode",       "OMSaveDevmodeClear",
    "OMGetDataFile",           "OMPrintConfigDisConnect", "OMPrintConfigConnect", "OMPrintConfigConnectEx",
    "OMSaveInformationClear",  "OMClientOSType",         "OMGetServerType"};

static_assert(offsetof(RemoteLibrary, module) == kRemoteExportCount * sizeof(void*),
              "the entry points come first, one per export");

bool IsForbidden(WCHAR c) {
  if (c < 0x20 || c == 0x7F) return true;
  switch (c) {
    case u'"': case u'*': case u'/': case u'<': case u'>': case u'?': case u'\\': case u'|': case u':':
      return true;
    default:
      return false;
  }
}

}  // namespace

int RemoteLibraryPath(WCHAR* buffer, DWORD cchBuffer) {
  if (!buffer || !cchBuffer) return 0;
  PathInSystemDir(buffer, cchBuffer, kLibraryName);
  return buffer[0] ? 1 : 0;
}

int RemoteTransferEnabled() {
  DWORD flag = 0;
  if (!InstReadHklmValueRaw(kGateKey, kGateValue, &flag, sizeof flag) || flag != 1) return 0;
  WCHAR path[MAX_PATH];
  return RemoteLibraryPath(path, MAX_PATH) && FileExists(path) ? 1 : 0;
}

int RemoteCanTransfer(DriverContext* ctx) {
  if (!ctx || !RemoteTransferEnabled()) return 0;
  return OsIsTerminalServer(ctx->printer) ? 1 : 0;
}

RemoteLibrary* RemoteBindLibrarySystem() {
  auto* lib = static_cast<RemoteLibrary*>(MemAllocZero(sizeof(RemoteLibrary)));
  if (!lib) return nullptr;
  WCHAR path[MAX_PATH];
  if (RemoteLibraryPath(path, MAX_PATH)) lib->module = LoadLibraryW(path);
  if (!lib->module) {
    MemFree(lib);
    return nullptr;
  }
  void** slots = reinterpret_cast<void**>(lib);
  for (int i = 0; i < kRemoteExportCount; ++i) {
    slots[i] = ExportOf<void*>(lib->module, kExports[i]);
    if (!slots[i]) {
      RemoteFreeLibrary(lib);
      return nullptr;
    }
  }
  return lib;
}

RemoteLibrary* RemoteBindLibraryEx(DriverContext* ctx) {
  (void)ctx;  // the library is found the same way for every printer
  return RemoteBindLibrarySystem();
}

void RemoteFreeLibrary(RemoteLibrary* lib) {
  if (!lib) return;
  if (lib->module) FreeLibrary(lib->module);
  MemFree(lib);
}

int RemoteAskServerType(RemoteLibrary* lib, LPCWSTR printerName, DWORD* type) {
  if (type) *type = 0;
  if (!lib || !printerName) return 0;
  memset(lib->clientName, 0, sizeof lib->clientName);
  memset(lib->clientNameAnsi, 0, sizeof lib->clientNameAnsi);
  DWORD answer = lib->getServerType(printerName, sizeof lib->clientName, sizeof lib->serverData, lib->clientName,
                                    lib->serverData);
  lib->serverType = BYTE(answer);
  if (type) *type = answer;
  // The name must end inside its buffer; a name that fills it is not a name.
  DWORD length = 0;
  while (length < kRemoteChars && lib->clientName[length]) ++length;
  if (length == 0 || length == kRemoteChars) {
    lib->clientName[kRemoteChars - 1] = 0;
    return 0;
  }
  return WideCharToMultiByte(CP_ACP, 0, lib->clientName, -1, lib->clientNameAnsi, kRemoteChars, nullptr, nullptr) > 0
             ? 1
             : 0;
}

int RemoteQueryServerType(const WCHAR* printerName, DWORD* type) {
  if (type) *type = 0;
  if (!printerName || !RemoteTransferEnabled()) return 0;
  RemoteLibrary* lib = RemoteBindLibrarySystem();
  if (!lib) return 0;
  DWORD answer = lib->getServerType(printerName, sizeof lib->clientName, sizeof lib->serverData, lib->clientName,
                                    lib->serverData);
  if (type) *type = answer;
  RemoteFreeLibrary(lib);
  return 1;
}

int RemoteSanitizeName(LPCWSTR name, WCHAR* out, DWORD cchOut) {
  if (!out || !cchOut) return 0;
  out[0] = 0;
  if (!name) return 0;
  DWORD n = 0;
  for (const WCHAR* p = name; *p; ++p) {
    if (IsForbidden(*p)) continue;
    if (n + 1 >= cchOut) {
      out[0] = 0;
      return 0;
    }
    out[n++] = *p;
  }
  out[n] = 0;
  const bool dots = (n == 1 && out[0] == u'.') || (n == 2 && out[0] == u'.' && out[1] == u'.');
  if (n == 0 || dots) {
    out[0] = 0;
    return 0;
  }
  return 1;
}

int RemoteLeafIsSafe(LPCWSTR leaf) {
  if (!leaf || !leaf[0]) return 0;
  for (const WCHAR* p = leaf; *p; ++p) {
    if (IsForbidden(*p)) return 0;
    if (p[0] == u'.' && p[1] == u'.') return 0;
  }
  return leaf[0] == u'.' && leaf[1] == 0 ? 0 : 1;
}

int RemotePrinterFolder(DriverContext* ctx, WCHAR* buffer, DWORD cchBuffer) {
  if (!ctx || !buffer || !cchBuffer) return 0;
  buffer[0] = 0;
  WCHAR name[kRemoteChars];
  if (!RemoteSanitizeName(PrnGetPrinterName(ctx), name, kRemoteChars)) return 0;
  WCHAR folder[MAX_PATH];
  int n = PathGetMachineSettingsFolder(folder, MAX_PATH, ctx);
  if (n <= 0 || DWORD(n) >= MAX_PATH) return 0;
  DWORD length = StrWideLength(folder);
  if (length && folder[length - 1] == u'\\') folder[--length] = 0;
  if (!StrJoin(buffer, cchBuffer, folder, length, TEXT("\\"))) return 0;
  return StrJoin(buffer, cchBuffer, buffer, StrWideLength(buffer), name) ? 1 : 0;
}

int RemoteCreatePrinterFolder(DriverContext* ctx) {
  if (!ctx || !PathCreateSettingsFolder(ctx)) return 0;
  WCHAR folder[MAX_PATH];
  if (!RemotePrinterFolder(ctx, folder, MAX_PATH)) return 0;
  return FileCreateDirectory(folder) ? 1 : 0;
}

int RemoteFlagFilePath(DriverContext* ctx, WCHAR* buffer, DWORD cchBuffer) {
  if (!RemotePrinterFolder(ctx, buffer, cchBuffer)) return 0;
  LPCWSTR leaf = PathFindLeaf(PathSettingsFile(ctx));
  if (!leaf || !leaf[0]) leaf = CtxModelRecord(ctx)->settingsIniName;
  if (!RemoteLeafIsSafe(leaf)) {
    buffer[0] = 0;
    return 0;
  }
  DWORD length = StrWideLength(buffer);
  if (!StrJoin(buffer, cchBuffer, buffer, length, TEXT("\\"))) return 0;
  return StrJoin(buffer, cchBuffer, buffer, length + 1, leaf) ? 1 : 0;
}
