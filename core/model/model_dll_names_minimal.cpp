// Minimal version until contexts open the compiled model description: every context with a
// model gets the sample model's resource DLL name.
#include "core/model/model_dll_names.h"

const WCHAR* ModelGetUiResDllName(DriverContext* ctx) {
  static const WCHAR kSampleName[] = TEXT("zemsresus.dll");
  return ctx ? kSampleName : nullptr;
}
