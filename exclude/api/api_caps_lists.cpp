// The room of capability fills, the allowed values of a setting and the names of its values.
#include "exclude/api/api_caps_lists.h"

#include <string.h>

#include <map>
#include <atomic>
#include <vector>

#include "core/items/allowed_values.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/api_readers.h"
#include "core/system/resources.h"
#include "core/tables/value_symbols.h"
#include "exclude/api/api_caps_table.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_levels.h"

namespace {

thread_local LONG t_room = -1;
thread_local bool t_roomSet = false;

// Measures through the export, per context handle and capability.
std::atomic_flag g_measureLock = ATOMIC_FLAG_INIT;
struct MeasureLock {
  MeasureLock() {
    while (g_measureLock.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~MeasureLock() { g_measureLock.clear(std::memory_order_release); }
};
std::map<DWORD, std::map<DWORD, LONG>>& Measures() {
  static std::map<DWORD, std::map<DWORD, LONG>> measures;
  return measures;
}

const ModelItemDescriptor* PickOneOf(ApiContext* api, WORD setting) {
  DriverContext* ctx = ApiDriverCtx(api);
  const ModelItemDescriptor* desc = ctx ? ModelGetDescriptor(setting, ctx) : nullptr;
  if (!desc || (desc->type & ~kModelTypeFlags & 0x0003) != kModelTypePickOne || !desc->values) return nullptr;
  return desc;
}

// {stored value, value id} of every value of a PickOne setting in list order; false when the
// setting is not PickOne, has no values or a value has no value symbol.
bool AllValues(ApiContext* api, WORD setting, std::vector<LONG>* stored, std::vector<WORD>* ids) {
  const ModelItemDescriptor* desc = PickOneOf(api, setting);
  if (!desc) return false;
  for (const void* c = desc->values; c; c = ModelNextChoice(desc, c)) {
    const WORD value = ModelChoiceValue(desc, c, nullptr);
    const ValueSymbol* symbol = TblFindValueSymbol(setting, value);
    if (!symbol || symbol->kind == ValueKindNone) return false;
    stored->push_back(static_cast<LONG>(symbol->stored));
    ids->push_back(value);
  }
  return !stored->empty();
}

}  // namespace

const NumericValueRecord* ApiCapsNumberOf(ApiContext* api, WORD setting) {
  DriverContext* ctx = ApiDriverCtx(api);
  const ModelItemDescriptor* desc = ctx ? ModelGetDescriptor(setting, ctx) : nullptr;
  if (!desc || ModelValueShapeOf(desc->type) != kModelShapeNumeric) return nullptr;
  return static_cast<const NumericValueRecord*>(desc->values);
}

ApiCapsRoom::ApiCapsRoom(LONG entries) : saved_(t_room), savedSet_(t_roomSet) {
  t_room = entries < 0 ? 0 : entries;
  t_roomSet = true;
}

ApiCapsRoom::~ApiCapsRoom() {
  t_room = saved_;
  t_roomSet = savedSet_;
}

LONG ApiCapsFillRoom(ApiContext*, DWORD) { return t_roomSet ? t_room : -1; }

LONG ApiCapsMeasured(ApiContext* api, DWORD id) {
  if (!api) return -1;
  MeasureLock lock;
  auto context = Measures().find(api->handle);
  if (context == Measures().end()) return -1;
  auto measure = context->second.find(id);
  return measure == context->second.end() ? -1 : measure->second;
}

void ApiCapsRecordMeasure(ApiContext* api, DWORD id, LONG count) {
  if (!api || t_roomSet) return;  // inner questions state their own room
  MeasureLock lock;
  Measures()[api->handle][id] = count < 0 ? 0 : count;
}

void ApiCapsForgetMeasures(DWORD handle) {
  MeasureLock lock;
  Measures().erase(handle);
}

LONG ApiCapsMeasuredContexts() {
  MeasureLock lock;
  return static_cast<LONG>(Measures().size());
}

LONG ApiCapsPutInts(ApiContext* api, DWORD id, void* buffer, const LONG* values, LONG count) {
  if (count < 0) return -1;
  if (!buffer) return count;
  const LONG room = ApiCapsFillRoom(api, id);
  if (room >= 0 && count > room) return -1;
  if (count) memcpy(buffer, values, sizeof(LONG) * static_cast<size_t>(count));
  return count;
}

LONG ApiCapsPutNames(ApiContext* api, DWORD id, void* buffer, const char* names, LONG count, int width) {
  if (count < 0) return -1;
  if (!buffer) return count;
  const LONG room = ApiCapsFillRoom(api, id);
  if (room >= 0 && count > room) return -1;
  if (count) memcpy(buffer, names, static_cast<size_t>(count) * static_cast<size_t>(width));
  return count;
}

int ApiCapsToAnsi(const WCHAR* text, char* slot, int width) {
  if (!text || !slot || width <= 0) return 0;
  if (!text[0]) {
    slot[0] = 0;
    return 1;
  }
  return WideCharToMultiByte(CP_ACP, 0, text, -1, slot, width, nullptr, nullptr) > 0 ? 1 : 0;
}

LONG ApiCapsSettingValues(ApiContext* api, DWORD id, LONG* out, WORD setting, LONG room) {
  (void)id;
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  DWORD count = 0;
  if (ItemListAllowedValues(ctx, setting, 0, nullptr, &count) == kAllowedNoMemory) return -1;
  if (count == 0) return 0;
  std::vector<DWORD> values(count);
  DWORD filled = 0;
  if (ItemListAllowedValues(ctx, setting, count, values.data(), &filled) != kAllowedListed || filled != count)
    return -1;
  std::vector<LONG> list;
  if (setting == kItem_zdmOutputTrayID) {
    list.push_back(0);
    for (DWORD v : values)
      if (v) list.push_back(static_cast<LONG>(v));
    if (list.size() <= 2) list.resize(1);
  } else {
    for (DWORD v : values) list.push_back(static_cast<LONG>(v));
  }
  const LONG n = static_cast<LONG>(list.size());
  if (out) {
    if (room >= 0 && n > room) return -1;
    memcpy(out, list.data(), sizeof(LONG) * list.size());
  }
  return n;
}

LONG ApiCapsSettingNames(ApiContext* api, DWORD id, void* buffer, WORD setting, int width,
                         ApiCapsCodeLister codes, ApiCapsNameLister names) {
  const LONG n = ApiCapsSettingValues(api, id, nullptr, setting, -1);
  if (n <= 0) return -1;
  if (!buffer) return n;
  std::vector<LONG> values(static_cast<size_t>(n));
  if (ApiCapsSettingValues(api, id, values.data(), setting, n) != n) return -1;
  const int codeCount = codes(api, setting, nullptr);
  const int nameCount = names(api, setting, nullptr, width);
  if (codeCount < 0 || codeCount != nameCount) return -1;
  std::vector<LONG> allCodes(static_cast<size_t>(codeCount) + 1);
  std::vector<WCHAR> allNames((static_cast<size_t>(codeCount) + 1) * static_cast<size_t>(width));
  if (codes(api, setting, allCodes.data()) != codeCount || names(api, setting, allNames.data(), width) != nameCount)
    return -1;
  std::vector<char> slots(static_cast<size_t>(n) * static_cast<size_t>(width), 0);
  for (LONG i = 0; i < n; ++i) {
    char* slot = &slots[static_cast<size_t>(i) * static_cast<size_t>(width)];
    int found = -1;
    for (int c = 0; c < codeCount; ++c)
      if (allCodes[static_cast<size_t>(c)] == values[static_cast<size_t>(i)]) {
        found = c;
        break;
      }
    if (found >= 0) {
      // The lister's slot is width wide characters; it is terminated inside.
      WCHAR* name = &allNames[static_cast<size_t>(found) * static_cast<size_t>(width)];
      name[width - 1] = 0;
      if (!ApiCapsToAnsi(name, slot, width)) return -1;
    } else {
      WCHAR text[256] = {};
      ResLoadString(ApiDriverCtx(api), kApiStringUnnamedValue, text, 256, FALSE);
      if (!ApiCapsToAnsi(text, slot, width)) return -1;
    }
  }
  return ApiCapsPutNames(api, id, buffer, slots.data(), n, width);
}

LONG ApiCapsFetchU16List(ApiContext* api, DWORD id, void* buffer, WORD setting, ApiCapsU16Lister lister) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  const int n = lister(ctx, nullptr, setting);
  if (n < 0) return -1;
  if (!buffer) return n;
  std::vector<WORD> codes(static_cast<size_t>(n) + 1);
  if (lister(ctx, codes.data(), setting) != n) return -1;
  std::vector<LONG> wide(codes.begin(), codes.begin() + n);
  return ApiCapsPutInts(api, id, buffer, wide.data(), n);
}

LONG ApiCapsFetchNameList(ApiContext* api, DWORD id, void* buffer, int width, WORD setting,
                          ApiCapsWideNameLister lister) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  const int n = lister(ctx, nullptr, width, setting);
  if (n < 0) return -1;
  if (!buffer) return n;
  std::vector<WCHAR> names((static_cast<size_t>(n) + 1) * static_cast<size_t>(width));
  if (lister(ctx, names.data(), width, setting) != n) return -1;
  std::vector<char> slots(static_cast<size_t>(n) * static_cast<size_t>(width), 0);
  for (int i = 0; i < n; ++i) {
    WCHAR* name = &names[static_cast<size_t>(i) * static_cast<size_t>(width)];
    name[width - 1] = 0;
    if (!ApiCapsToAnsi(name, &slots[static_cast<size_t>(i) * static_cast<size_t>(width)], width)) return -1;
  }
  return ApiCapsPutNames(api, id, buffer, slots.data(), n, width);
}

LONG ApiCapsAllowed(ApiContext* api, WORD setting, LONG* out) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  return ApiAllowedValues(ctx, out, setting);
}

LONG ApiListValueNames(ApiContext* api, DWORD id, void* buffer, WORD setting, int width, int mode) {
  const LONG n = ApiCapsAllowed(api, setting, nullptr);
  if (n <= 0) return -1;
  if (!buffer) return n;
  std::vector<LONG> values(static_cast<size_t>(n));
  if (ApiCapsAllowed(api, setting, values.data()) != n) return -1;
  std::vector<LONG> stored;
  std::vector<WORD> ids;
  const ModelItemDescriptor* desc = PickOneOf(api, setting);
  if (desc) {
    for (const void* c = desc->values; c; c = ModelNextChoice(desc, c)) {
      const WORD value = ModelChoiceValue(desc, c, nullptr);
      const ValueSymbol* symbol = TblFindValueSymbol(setting, value);
      if (!symbol) continue;
      stored.push_back(static_cast<LONG>(symbol->stored));
      ids.push_back(value);
    }
  }
  // Unnamed values get an empty slot: the caller's bytes are never passed back.
  std::vector<char> slots(static_cast<size_t>(n) * static_cast<size_t>(width), 0);
  for (LONG i = 0; i < n; ++i) {
    WORD valueId = 0;
    for (size_t e = 0; e < stored.size(); ++e)
      if (stored[e] == values[static_cast<size_t>(i)]) {
        valueId = ids[e];
        break;
      }
    const WORD stringId = mode == 1 ? valueId : ApiValueNameString(valueId);
    if (!stringId) continue;
    WCHAR text[256] = {};
    ResLoadString(ApiDriverCtx(api), stringId, text, 256, FALSE);
    if (!ApiCapsToAnsi(text, &slots[static_cast<size_t>(i) * static_cast<size_t>(width)], width)) return -1;
  }
  return ApiCapsPutNames(api, id, buffer, slots.data(), n, width);
}

int ApiListAllValueCodes(ApiContext* api, WORD setting, LONG* codes) {
  std::vector<LONG> stored;
  std::vector<WORD> ids;
  if (!AllValues(api, setting, &stored, &ids)) return -1;
  if (codes) memcpy(codes, stored.data(), sizeof(LONG) * stored.size());
  return static_cast<int>(stored.size());
}

int ApiListAllValueNames(ApiContext* api, WORD setting, WCHAR* names, int width) {
  std::vector<LONG> stored;
  std::vector<WORD> ids;
  if (!AllValues(api, setting, &stored, &ids) || width <= 0) return -1;
  if (names)
    for (size_t i = 0; i < ids.size(); ++i) {
      WCHAR* slot = names + i * static_cast<size_t>(width);
      slot[0] = 0;
      ResLoadString(ApiDriverCtx(api), ids[i], slot, width, FALSE);
    }
  return static_cast<int>(ids.size());
}

const ApiValueName ApiValueNameTable[kApiValueNameRows] = {
    {2284, 261},    {2285, 262},    {2286, 263},    {2431, 1012},   {2435, 1013},   {2436, 1014},
    {2447, 1018},   {2448, 1019},   {2747, 1130},   {2746, 1131},   {2745, 1132},   {2856, 1143},
    {2857, 1144},   {2122, 60401},  {2126, 60402},  {2127, 60403},  {2128, 60404},  {2481, 491},
    {2565, 60405},  {2883, 13014},  {2131, 60407},  {2132, 60405},  {2026, 13479},  {2027, 13480},
    {2701, 13463},  {2702, 13464},  {2514, 13467},  {2515, 13468},  {3087, 13469},  {3088, 13470},
    {2669, 92},     {2670, 13471},  {2671, 13472},  {2672, 92},     {2673, 13471},  {2674, 13473},
    {2184, 13474},  {2186, 13475},  {2185, 13476},  {2840, 13463},  {2841, 13464},  {3053, 13477},
    {3055, 13478},  {3197, 13537},  {3169, 13493},  {3170, 13494},  {3171, 13495},  {2001, 13376},
    {3217, 13644},  {3218, 13645},  {3219, 13646},  {3220, 13647},  {3221, 13648},  {3222, 13649},
    {3224, 13650},  {3226, 13651},  {3228, 13652},  {0, 0},
};

WORD ApiValueNameString(WORD valueId) {
  if (!valueId) return 0;
  for (const ApiValueName& row : ApiValueNameTable) {
    if (!row.valueId) break;
    if (row.valueId == valueId) return row.stringId;
  }
  return 0;
}

LONG ApiExportDispatchCaps(ApiContext* api, DWORD id, void* buffer) {
  if (!buffer) {
    const LONG count = ApiDispatchGetCaps(api, id, nullptr);
    if (count != -1) ApiCapsRecordMeasure(api, id, count);
    return count;
  }
  const LONG room = ApiCapsMeasured(api, id);
  if (room < 0) return ApiDispatchGetCaps(api, id, buffer);
  ApiCapsRoom scope(room);
  return ApiDispatchGetCaps(api, id, buffer);
}
