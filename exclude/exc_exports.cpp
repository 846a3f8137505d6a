// The "@PJL SET" command service of zemsexc: stdcall exports over the core's service.
#include "core/pjl/pjl_service.h"
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
  return ExcServiceGetDriverDevmode(printerName, flags, size, buffer, length);
}
