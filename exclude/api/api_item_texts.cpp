// Texts of records and settings, capability lists of the status item handlers.
#include "exclude/api/api_item_texts.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_records.h"

namespace {
constexpr int kSettingTextChars = 600;  // room for a setting's text, terminator included
}  // namespace

int ApiRecordText(const void* record, UINT offset, UINT size, char* out) {
  if (!out || size == 0) return 0;
  out[0] = 0;
  if (!record) return 0;
  const char* field = static_cast<const char*>(record) + offset;
  const void* end = memchr(field, 0, size);
  if (!end) return 0;
  memcpy(out, field, static_cast<size_t>(static_cast<const char*>(end) - field) + 1);
  return 1;
}

void ApiPutRecordText(void* record, UINT offset, UINT size, const char* text, UINT maxChars) {
  if (!record || size == 0) return;
  char* field = static_cast<char*>(record) + offset;
  memset(field, 0, size);
  if (!text) return;
  const size_t length = strnlen(text, size);
  if (length == 0 || length > maxChars || length >= size) return;
  memcpy(field, text, length);
}

int ApiReadSettingText(ApiContext* api, WORD setting, char* out, int outSize) {
  if (!out || outSize <= 0) return 0;
  out[0] = 0;
  DriverContext* ctx = ApiDriverCtx(api);
  SettingItem* item = ctx ? ItemFind(ctx, setting) : nullptr;
  if (!item) return 0;
  WCHAR wide[kSettingTextChars] = {};
  if (!ItemGetTextBounded(ctx, item, wide, kSettingTextChars)) return 0;
  const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, out, outSize, nullptr, nullptr);
  if (n <= 0) out[0] = 0;
  out[outSize - 1] = 0;
  return 1;
}

int ApiWriteSettingText(ApiContext* api, WORD setting, const char* text) {
  DriverContext* ctx = ApiDriverCtx(api);
  SettingItem* item = ctx ? ItemFind(ctx, setting) : nullptr;
  if (!item) return 0;
  WCHAR wide[kSettingTextChars] = {};
  if (text && text[0] && MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kSettingTextChars) <= 0) wide[0] = 0;
  wide[kSettingTextChars - 1] = 0;
  return ItemSetText(ctx, item, wide) ? 1 : 0;
}

int ApiCapsListHas(ApiContext* api, DWORD capsId, LONG value, int* noMemory) {
  if (noMemory) *noMemory = 0;
  const LONG count = ApiCallCapsHandler(api, capsId, nullptr);
  if (count <= 0 || count > 4096) return 0;
  LONG* list = static_cast<LONG*>(MemAllocZero(sizeof(LONG) * static_cast<size_t>(count)));
  if (!list) {
    if (noMemory) *noMemory = 1;
    return 0;
  }
  const LONG filled = ApiCallCapsHandler(api, capsId, list);
  int found = 0;
  for (LONG i = 0; i < filled && i < count; ++i)
    if (list[i] == value) found = 1;
  MemFree(list);
  return found;
}

int ApiIsAlnumText(const char* text) {
  if (!text) return 0;
  for (const char* p = text; *p; ++p) {
    const char c = *p;
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return 0;
  }
  return 1;
}

int ApiIsDigitText(const char* text) {
  if (!text) return 0;
  for (const char* p = text; *p; ++p)
    if (*p < '0' || *p > '9') return 0;
  return 1;
}
