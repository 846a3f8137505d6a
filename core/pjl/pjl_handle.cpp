// The exclusion handle: opened for one printer, reset for each command base, freed by the
// caller.
#include <string.h>

#include "core/bind/jc_string.h"
#include "core/common/mem.h"
#include "core/context/context_cache.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/pjl/pjl_service.h"

namespace {

// The user code of the job-control DLL into zdmUserCode: at most 8 ANSI bytes, cut on a
// character boundary.
void TakeUserCode(ExcHandle* handle) {
  WCHAR code[kExcNameChars + 1] = {};
  if (!ApiJcGetString(handle->printer, 1, 1, code, kExcNameChars)) return;
  WCHAR kept[9] = {};
  int bytes = 0, n = 0;
  for (int i = 0; code[i] && n < 8; ++i) {
    char one[8];
    int b = WideCharToMultiByte(CP_ACP, 0, &code[i], 1, one, sizeof(one), nullptr, nullptr);
    if (b <= 0 || bytes + b > 8) break;
    bytes += b;
    kept[n++] = code[i];
  }
  if (SettingItem* item = ItemFind(handle->context, kItem_zdmUserCode)) ItemSetText(handle->context, item, kept);
}

void DropContext(ExcHandle* handle) {
  if (!handle->context) return;
  CtxClose(handle->context);
  handle->context = nullptr;
  CtxCacheExpire(TRUE);
}

}  // namespace

void ExcDropChange(ExcHandle* handle) {
  if (!handle) return;
  MemFree(handle->changeText);
  handle->changeText = nullptr;
  handle->changeLength = 0;
}

int ExcOpenContext(ExcHandle* handle, int refresh) {
  DropContext(handle);
  handle->context = CtxOpenByKind(handle->printer, handle->printer, nullptr, kKindExclusion);
  if (!handle->context) return -1;
  ExcRefreshOptions(handle, refresh);
  TakeUserCode(handle);
  return 0;
}

int ExcReset(ExcHandle* handle, int reopen) {
  if (handle->present) memset(handle->present, 0, kExcSlotCount);
  if (handle->values) memset(handle->values, 0, kExcSlotCount * sizeof(LONG));
  ExcDropChange(handle);
  MemFree(handle->baseText);
  handle->baseText = nullptr;
  handle->baseLength = 0;
  return reopen ? ExcOpenContext(handle, 0) : 0;
}

void ExcFreeHandle(ExcHandle* handle) {
  if (!handle) return;
  ExcReset(handle, 0);
  MemFree(handle->present);
  MemFree(handle->values);
  DropContext(handle);
  if (handle->printer) ClosePrinter(handle->printer);
  MemFree(handle);
}

ExcHandle* ExcOpenHandle(const char* name) {
  if (!name) return nullptr;
  WCHAR wide[kExcNameChars] = {};
  if (strnlen(name, kExcNameChars) >= static_cast<size_t>(kExcNameChars)) return nullptr;
  if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, name, -1, wide, kExcNameChars) <= 0) return nullptr;
  ExcHandle* handle = static_cast<ExcHandle*>(MemAllocZero(sizeof(ExcHandle)));
  if (!handle) return nullptr;
  if (!OpenPrinterW(wide, &handle->printer, nullptr)) {
    handle->printer = nullptr;
    ExcFreeHandle(handle);
    return nullptr;
  }
  if (ExcOpenContext(handle, 1) != 0) {
    ExcFreeHandle(handle);
    return nullptr;
  }
  handle->present = static_cast<BYTE*>(MemAllocZero(kExcSlotCount));
  handle->values = static_cast<LONG*>(MemAllocZero(kExcSlotCount * sizeof(LONG)));
  if (!handle->present || !handle->values) {
    ExcFreeHandle(handle);
    return nullptr;
  }
  handle->count = kExcSlotCount;
  return handle;
}
