// The "@PJL SET" command service of zemsexc: stdcall exports over the core's service.
#include "core/pjl/pjl_service.h"
#include "exclude/api/api_exports.h"
#include "platform/win32.h"

ZEMS_EXPORT ExcHandle* WINAPI ExcGetExclusive(const char* printerName) { return ExcOpenHandle(printerName); }

ZEMS_EXPORT void WINAPI ExcFreeExclusive(ExcHandle* handle) { ExcFreeHandle(handle); }

ZEMS_EXPORT int WINAPI ExcSetCommandBase(ExcHandle* handle, const char* text, int* changeLength) {
  return ExcServiceSetCommandBase(handle, text, changeLength);
}

ZEMS_EXPORT int WINAPI ExcGetCommandBase(ExcHandle* handle, int size, char* buffer, int* length) {
  return ExcServiceGetCommandBase(handle, size, buffer, length);
}

ZEMS_EXPORT int WINAPI ExcUpdateCommand(ExcHandle* handle, const char* text, int* changeLength) {
  return ExcServiceUpdateCommand(handle, text, changeLength);
}

ZEMS_EXPORT int WINAPI ExcGetCommandChange(ExcHandle* handle, int size, char* buffer, int* length) {
  return ExcServiceGetCommandChange(handle, size, buffer, length);
}

ZEMS_EXPORT int WINAPI ExcGetCommandValue(ExcHandle* handle, const char* name, int allowedOnly, int size,
                                          char* buffer, int* length) {
  return ExcServiceGetCommandValue(handle, name, allowedOnly, size, buffer, length);
}

ZEMS_EXPORT int WINAPI ExcGetPrinterOption(ExcHandle* handle, const char* name, int size, char* buffer,
                                           int* length) {
  return ExcServiceGetPrinterOption(handle, name, size, buffer, length);
}

ZEMS_EXPORT int WINAPI ExcGetPrinterValue(ExcHandle* handle, const char* name, int size, char* buffer,
                                          int* length) {
  return ExcServiceGetPrinterValue(handle, name, size, buffer, length);
}

ZEMS_EXPORT int WINAPI ExcGetWaterMarkList(ExcHandle* handle, int kind, int size, char* buffer, int* length) {
  return ExcServiceGetWaterMarkList(handle, kind, size, buffer, length);
}

ZEMS_EXPORT int WINAPI ExcGetIniFileName(const char* printerName, int size, char* buffer, int* length) {
  return ExcServiceGetIniFileName(printerName, size, buffer, length);
}

ZEMS_EXPORT int WINAPI ExcGetDriverDevmode(const char* printerName, int flags, int size, void* buffer, int* length) {
  return ExcServiceGetDriverDevmode(printerName, flags, size, buffer, length, ApiDevmodeForExclusion);
}

// ---- the application interface (ZEMSDrv...) ----

ZEMS_EXPORT LONG WINAPI ZEMSDrvCheckAPIVer(const char* printerName) { return ApiExportCheckApiVer(printerName); }

ZEMS_EXPORT LONG WINAPI ZEMSDrvDisable(void* context) { return ApiExportDisable(context); }

ZEMS_EXPORT void* WINAPI ZEMSDrvEnable(const char* printerName) { return ApiExportEnable(printerName); }

ZEMS_EXPORT LONG_PTR WINAPI ZEMSDrvGetCaps(void* context, DWORD id, void* buffer) {
  return ApiExportGetCaps(context, id, buffer);
}

ZEMS_EXPORT LONG WINAPI ZEMSDrvGetDevmode(void* context, DWORD flags, void* devmode) {
  return ApiExportGetDevmode(context, flags, devmode);
}

ZEMS_EXPORT LONG WINAPI ZEMSDrvGetDevmodeEx(void* context, DWORD flags, void* devmode, const void* input,
                                           void* reserved) {
  return ApiExportGetDevmodeEx(context, flags, devmode, input, reserved);
}

ZEMS_EXPORT LONG WINAPI ZEMSDrvGetLastError(void* context) { return ApiExportGetLastError(context); }

ZEMS_EXPORT LONG WINAPI ZEMSDrvGetStatus(void* context, DWORD id, void* record, DWORD version) {
  return ApiExportGetStatus(context, id, record, version);
}

ZEMS_EXPORT LONG WINAPI ZEMSDrvInit(LONG flag, const LONG* record) { return ApiExportInit(flag, record); }

ZEMS_EXPORT LONG WINAPI ZEMSDrvRestoreQualityData(void* context) { return ApiExportRestoreQualityData(context); }

ZEMS_EXPORT LONG WINAPI ZEMSDrvSaveQualityData(void* context) { return ApiExportSaveQualityData(context); }

ZEMS_EXPORT LONG WINAPI ZEMSDrvSetStatus(void* context, DWORD id, void* record, BYTE* changedBits, LONG mode) {
  return ApiExportSetStatus(context, id, record, changedBits, mode);
}
