// The terminal-server configuration transfer: on a terminal server, a printer that a client
// session brought along takes the client's own driver configuration (installed options from its
// printer data, presets, quality lists, custom sizes, watermarks, the acquired bidirectional
// state and its default DEVMODE) through the maker's remote-configuration library
// "OMBIDISS.dll" of the System directory. The install pass fetches the files and printer data
// once, DEVMODE conversion takes the client's DEVMODE, and the document sheets merge the fetched
// settings files once per printer.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Server types the library answers.
enum : DWORD {
  kRemoteServerData = 17,     // the client's data may be fetched
  kRemoteServerDevmode = 18,  // the same, and its DEVMODE too
  kRemoteServerTaken = 19,    // handled as 17, but the data was already taken
};

// The client's DEVMODE is taken only at exactly this size (this driver's DEVMODE).
constexpr DWORD kRemoteDevmodeSize = 1236;

// Per-printer transfer state.
extern const WCHAR kRemoteConnectionValue[];  // printer data "KestorConnection"
extern const WCHAR kRemoteIniValue[];         // printer data "KestorIni"
extern const WCHAR kRemoteFlagSection[];      // "kestor" of the flag file
extern const WCHAR kRemoteFlagKey[];          // "KestorFlg"

// The client's OS as the library reports it (the shape of OSVERSIONINFOA).
struct RemoteClientOs {
  DWORD size;
  DWORD majorVersion;
  DWORD minorVersion;
  DWORD buildNumber;
  DWORD platformId;
  char servicePack[128];
};

// The library's entry points, in the order the binding looks them up. All WINAPI; every call
// answers 0 on success except OMGetServerType, which answers the server type. The three the
// driver never calls are kept as untyped slots.
typedef DWORD(WINAPI* OmRegFileGetSizeFn)(DWORD connection, DWORD type, LPCSTR source, DWORD one, LPCSTR client,
                                          DWORD* size);
typedef DWORD(WINAPI* OmGetPrinterDataFn)(DWORD connection, DWORD type, LPCSTR client, LPCSTR key, LPCSTR value,
                                          DWORD size, BYTE* buffer);
typedef DWORD(WINAPI* OmGetPrinterDataSizeFn)(DWORD connection, DWORD type, LPCSTR client, LPCSTR key, LPCSTR value,
                                              DWORD* size);
typedef DWORD(WINAPI* OmDevmodeFn)(DWORD connection, DWORD type, LPCSTR client, DWORD size, BYTE* buffer);
typedef DWORD(WINAPI* OmDevmodeSizeFn)(DWORD connection, DWORD type, LPCSTR client, DWORD* size);
typedef DWORD(WINAPI* OmSetDevmodeFn)(DWORD type, LPCWSTR printer, LPCWSTR dllPath, LPCSTR function, DWORD zero1,
                                      DWORD zero2);
typedef DWORD(WINAPI* OmGetDataFileFn)(DWORD connection, DWORD type, LPCSTR source, LPCSTR destination, DWORD zero1,
                                       DWORD zero2, DWORD size);
typedef DWORD(WINAPI* OmDisconnectFn)(DWORD connection, BYTE* connectionData, DWORD type);
typedef DWORD(WINAPI* OmConnectExFn)(DWORD type, DWORD* connection, BYTE* connectionData, BYTE* serverData,
                                     DWORD* out);
typedef DWORD(WINAPI* OmSaveInformationClearFn)(LPCWSTR printer, DWORD type);
typedef DWORD(WINAPI* OmClientOsTypeFn)(DWORD connection, DWORD type, RemoteClientOs* info);
typedef DWORD(WINAPI* OmGetServerTypeFn)(LPCWSTR printer, DWORD nameBytes, DWORD dataBytes, LPWSTR clientName,
                                         BYTE* serverData);

constexpr int kRemoteExportCount = 15;
constexpr int kRemoteChars = 260;

// One use of the library: a zeroed heap block, bound, used and freed.
struct RemoteLibrary {
  OmRegFileGetSizeFn regFileGetSize;
  void* regFileGetData;
  OmGetPrinterDataFn getPrinterData;
  OmGetPrinterDataSizeFn getPrinterDataSize;
  OmDevmodeFn devmode;
  OmDevmodeSizeFn devmodeSize;
  OmSetDevmodeFn setDevmode;
  void* saveDevmodeClear;
  OmGetDataFileFn getDataFile;
  OmDisconnectFn disconnect;
  void* connect;
  OmConnectExFn connectEx;
  OmSaveInformationClearFn saveInformationClear;
  OmClientOsTypeFn clientOsType;
  OmGetServerTypeFn getServerType;
  HMODULE module;
  BYTE serverType;
  WCHAR clientName[kRemoteChars];
  char clientNameAnsi[kRemoteChars];
  BYTE serverData[512];
  BYTE connectionData[512];
  DWORD connection;
  RemoteClientOs clientOs;
  char sourceAnsi[kRemoteChars];
  char destinationAnsi[kRemoteChars];
  WCHAR source[kRemoteChars];
  WCHAR destination[kRemoteChars];
};

// ---- the library ----
// System directory + "\" + "OMBIDISS.dll"; 1 when it fits cchBuffer.
int RemoteLibraryPath(WCHAR* buffer, DWORD cchBuffer);
// The gate: HKLM "Software\ORVEL\Vora Printer Driver" value "OMBIDI_FLG" reads 1 and the
// library exists in the System directory.
int RemoteTransferEnabled();
// The gate and the terminal-server test of the context's printer.
int RemoteCanTransfer(DriverContext* ctx);
// A zeroed block with the library loaded and all 15 exports found, or null (nothing loaded).
// The two forms differ only in whether a context is at hand.
RemoteLibrary* RemoteBindLibraryEx(DriverContext* ctx);
RemoteLibrary* RemoteBindLibrarySystem();
// Frees the library and the block; null is ignored.
void RemoteFreeLibrary(RemoteLibrary* lib);
// OMGetServerType for the printer: the type (also kept in the block) and the client name,
// which must end within its 260 characters; its ANSI form is made too. 0 when the name does
// not end, is empty or cannot be converted.
int RemoteAskServerType(RemoteLibrary* lib, LPCWSTR printerName, DWORD* type);

// ---- names and folders ----
// The printer name without " * / < > ? \ | ':' and control characters, into out (cchOut
// characters). 0 when the result is empty, "." or "..", or does not fit: such a name is never
// used as a folder.
int RemoteSanitizeName(LPCWSTR name, WCHAR* out, DWORD cchOut);
// The per-printer folder: per-machine settings folder + "\" + sanitised printer name. 1 when
// it fits.
int RemotePrinterFolder(DriverContext* ctx, WCHAR* buffer, DWORD cchBuffer);
// Creates the per-machine settings folder and the per-printer folder in it; 1 when both exist.
int RemoteCreatePrinterFolder(DriverContext* ctx);
// The flag file: per-printer folder + "\" + the settings ini's file name.
int RemoteFlagFilePath(DriverContext* ctx, WCHAR* buffer, DWORD cchBuffer);
// 1 for a file name the transfer may create in the per-printer folder: not empty, not "." or
// "..", no "..", '/', ':', '\', control characters or " * < > ? |.
int RemoteLeafIsSafe(LPCWSTR leaf);

// ---- the operations ----
// 0 when the host is not a terminal server or the gate is closed; 1 when printer data
// KestorConnection reads 1 (the client's data was fetched); 2 otherwise (a transfer is due).
int RemoteConfigState(DriverContext* ctx);
// The install pass (kind 1): state 0 answers 0, state 1 answers 1; state 2 fetches the
// client's data and, on success, writes KestorConnection = 1 and KestorIni = 1.
int RemoteImportOnInstall(DriverContext* ctx);
// The install pass (kind 2, state 1): the library clears the printer's saved information;
// 1 when cleared.
int RemoteClearServerInformation(DriverContext* ctx);
// Asks the library for the printer's server type (the gate is tested, no context needed);
// 1 when the type was obtained.
int RemoteQueryServerType(const WCHAR* printerName, DWORD* type);
// DEVMODE conversion: for server type 18, the client's DEVMODE of exactly 1,236 bytes into
// buffer (1,236 bytes); 1 when it was copied. The type is reported whenever it was asked.
int RemoteFetchClientDevmode(DriverContext* ctx, BYTE* buffer, BYTE* serverType);
// Document sheets and document properties, at start: merges the fetched client settings into
// the printer's settings ini once per printer; 1 when merged.
int RemoteImportClientSettingsOnce(DriverContext* ctx, const PRINTER_INFO_2W* info, const DRIVER_INFO_3W* driverInfo);
// One printer-data value of the client (key "PrinterDriverData"): only when the library
// answers it with exactly the size the caller expects is it stored locally under the same
// name (valueType), copied into buffer and its size and type reported; 1 then, else 0.
int RemoteGetClientPrinterData(HANDLE printer, LPCWSTR valueName, DWORD* type, BYTE* buffer, DWORD size, DWORD* got,
                               DWORD valueType, RemoteLibrary* lib);
// The handler of the client's bidi ini (copied to path): without a BidiFlag in the client's
// section the printer's bidi-ini section is deleted; otherwise the client's acquired settings
// and BidiFunc are loaded and saved into the printer's section, and the preset refresh is set.
int RemoteImportClientBidiState(DriverContext* ctx, LPCWSTR path, RemoteLibrary* lib);
