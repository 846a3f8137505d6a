// Capability handlers of the uniform forms: value lists of settings, their names, ranges and
// single values.
#include <string.h>

#include <vector>

#include "core/devmode/dm_layout.h"
#include "core/items/allowed_values.h"
#include "core/items/item_access.h"
#include "core/items/item_caps.h"
#include "core/items/item_ids.h"
#include "core/items/units.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/api_readers.h"
#include "core/install/driver_identity.h"
#include "core/tables/model_record.h"
#include "exclude/api/api_caps_handlers.h"
#include "exclude/api/api_caps_lists.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_records.h"
#include "exclude/api/api_services.h"
#include "exclude/api/api_settings_trial.h"

namespace {

// 1/1200 inch to display units, the sign kept (shift ranges reach below 0).
LONG ToDisplay(ApiContext* api, LONG dots) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (dots < 0) return -ItemDotsToDisplay(ctx, 0, -dots);
  return ItemDotsToDisplay(ctx, 0, dots);
}

WORD ValuesSetting(DWORD id) {
  switch (id) {
    case 2: return kItem_dmDefaultSource;
    case 4: return kItem_zdmMediaType;
    case 6: return kItem_zdmOutputTrayID;
    case 15: return kItem_zdmOutPaperSize;
    case 39: return kItem_zdmSortType;
    case 40: return kItem_zdmStapleType;
    case 41: return kItem_zdmPunchType;
    default: return 0;
  }
}

// Listers over the bins and the papers of a setting, as codes and names.
int BinCodes(ApiContext* api, WORD, LONG* codes) {
  DriverContext* ctx = ApiDriverCtx(api);
  const int n = ItemListBinCodes(ctx, nullptr);
  if (n <= 0 || !codes) return n;
  std::vector<WORD> words(static_cast<size_t>(n) + 1);
  if (ItemListBinCodes(ctx, words.data()) != n) return -1;
  for (int i = 0; i < n; ++i) codes[i] = words[static_cast<size_t>(i)];
  return n;
}

int BinNames(ApiContext* api, WORD, WCHAR* names, int width) {
  return ItemListBinNames(ApiDriverCtx(api), names, width);
}

int PaperCodes(ApiContext* api, WORD setting, LONG* codes) {
  DriverContext* ctx = ApiDriverCtx(api);
  const int n = ItemListPaperCodes(ctx, nullptr, setting);
  if (n <= 0 || !codes) return n;
  std::vector<WORD> words(static_cast<size_t>(n) + 1);
  if (ItemListPaperCodes(ctx, words.data(), setting) != n) return -1;
  for (int i = 0; i < n; ++i) codes[i] = words[static_cast<size_t>(i)];
  return n;
}

int PaperNames(ApiContext* api, WORD setting, WCHAR* names, int width) {
  return ItemListPaperNames(ApiDriverCtx(api), names, width, setting);
}

// An allowed-values list whose failure counts as empty.
LONG AllowedOrZero(ApiContext* api, DWORD id, void* buffer, WORD setting) {
  const LONG n = ApiCapsAllowed(api, setting, nullptr);
  if (n <= 0) return 0;
  if (!buffer) return n;
  std::vector<LONG> values(static_cast<size_t>(n));
  if (ApiCapsAllowed(api, setting, values.data()) != n) return 0;
  return ApiCapsPutInts(api, id, buffer, values.data(), n);
}

}  // namespace

LONG ApiCapsAlways(ApiContext*, DWORD, void*) { return 1; }

LONG ApiCapsSettingValueList(ApiContext* api, DWORD id, void* buffer) {
  const WORD setting = ValuesSetting(id);
  const LONG n = ApiCapsSettingValues(api, id, nullptr, setting, -1);
  if (n <= 0 || !buffer) return n;
  std::vector<LONG> values(static_cast<size_t>(n));
  if (ApiCapsSettingValues(api, id, values.data(), setting, n) != n) return -1;
  return ApiCapsPutInts(api, id, buffer, values.data(), n);
}

LONG ApiCapsSettingNameList(ApiContext* api, DWORD id, void* buffer) {
  switch (id) {
    case 3: return ApiCapsSettingNames(api, id, buffer, kItem_dmDefaultSource, 24, BinCodes, BinNames);
    case 5: return ApiCapsSettingNames(api, id, buffer, kItem_zdmMediaType, 64, ApiListAllValueCodes, ApiListAllValueNames);
    case 7:
      return ApiCapsSettingNames(api, id, buffer, kItem_zdmOutputTrayID, 64, ApiListAllValueCodes, ApiListAllValueNames);
    case 127:
      return ApiCapsSettingNames(api, id, buffer, kItem_zdmMediaType, 260, ApiListAllValueCodes, ApiListAllValueNames);
    case 16: {
      // The paper names load the custom-size slots into the settings: they are put back.
      ApiSettingsTrial trial(api);
      if (!trial.ok()) return -1;
      return ApiCapsSettingNames(api, id, buffer, kItem_zdmOutPaperSize, 64, PaperCodes, PaperNames);
    }
    default: return -1;
  }
}

LONG ApiCapsAllowedList(ApiContext* api, DWORD id, void* buffer) {
  WORD setting = 0;
  switch (id) {
    case 18: {
      // The environment flags of the companions first: the job methods depend on them.
      DriverContext* ctx = ApiDriverCtx(api);
      if (ctx) {
        CtxSetJBInstalled(ctx, InstIsCompanionInstalled(2, ctx));
        CtxSetPLInstalled(ctx, InstIsCompanionInstalled(8, ctx));
      }
      setting = kItem_zdmPrnMethod;
      break;
    }
    case 45:
      if (ApiRead(api, kItem_zdmDriverType) == 1) {
        ApiSetLastError(api, kApiErrDriverType);
        return -1;
      }
      setting = kItem_zdmEmulation;
      break;
    case 47: setting = kItem_zdmExtPrintArea; break;
    case 266: setting = kItem_zdmPrintMacro; break;
    case 268: setting = kItem_zdmBalanceMacro; break;
    default: return -1;
  }
  const LONG n = ApiCapsAllowed(api, setting, nullptr);
  if (n <= 0 || !buffer) return n;
  std::vector<LONG> values(static_cast<size_t>(n));
  if (ApiCapsAllowed(api, setting, values.data()) != n) return -1;
  return ApiCapsPutInts(api, id, buffer, values.data(), n);
}

LONG ApiCapsDependentAllowed(ApiContext* api, DWORD id, void* buffer) {
  switch (id) {
    case 66: return ApiAskCaps(api, 40, nullptr) ? AllowedOrZero(api, id, buffer, kItem_zdmStapleType) : 0;
    case 67: return ApiAskCaps(api, 41, nullptr) ? AllowedOrZero(api, id, buffer, kItem_zdmPunchType) : 0;
    case 109: return ApiAskCaps(api, 108, nullptr) == 1 ? AllowedOrZero(api, id, buffer, kItem_zdmCornerPosi) : 0;
    case 278: return ApiCapsPresent(api, 276) ? AllowedOrZero(api, id, buffer, kItem_zdmICMIntent) : 0;
    default: return 0;
  }
}

LONG ApiCapsMacroNames(ApiContext* api, DWORD id, void* buffer) {
  switch (id) {
    case 267: return ApiListValueNames(api, id, buffer, kItem_zdmPrintMacro, 64, 0);
    case 269: return ApiListValueNames(api, id, buffer, kItem_zdmBalanceMacro, 64, 0);
    case 279: {
      if (!ApiCapsPresent(api, 276)) return 0;
      const LONG n = ApiListValueNames(api, id, buffer, kItem_zdmICMIntent, 64, 1);
      return n == -1 ? 0 : n;
    }
    default: return -1;
  }
}

LONG ApiCapsPaperCodes(ApiContext* api, DWORD id, void* buffer) {
  return ApiCapsFetchU16List(api, id, buffer, kItem_dmPaperSize, ItemListPaperCodes);
}

LONG ApiCapsPaperNames(ApiContext* api, DWORD id, void* buffer) {
  // The paper names load the custom-size slots into the settings: they are put back.
  ApiSettingsTrial trial(api);
  if (!trial.ok()) return -1;
  return ApiCapsFetchNameList(api, id, buffer, 64, kItem_dmPaperSize, ItemListPaperNames);
}

LONG ApiCapsPaperSizes(ApiContext* api, DWORD id, void* buffer) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  const int n = ItemListPaperSizes(ctx, nullptr, kItem_dmPaperSize);
  if (n < 0 || !buffer) return n;
  std::vector<POINT> sizes(static_cast<size_t>(n) + 1);
  if (ItemListPaperSizes(ctx, sizes.data(), kItem_dmPaperSize) != n) return -1;
  std::vector<LONG> pairs;
  for (int i = 0; i < n; ++i) {
    pairs.push_back(sizes[static_cast<size_t>(i)].x);
    pairs.push_back(sizes[static_cast<size_t>(i)].y);
  }
  const LONG room = ApiCapsFillRoom(api, id);
  if (room >= 0 && n > room) return -1;
  if (n) memcpy(buffer, pairs.data(), sizeof(LONG) * pairs.size());
  return n;
}

LONG ApiCapsPaperExtent16(ApiContext* api, DWORD id, void* buffer) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  WORD pair[2] = {};
  const DWORD answer = ItemGetPaperExtent(ctx, pair, id == 13 ? 0 : kExtentMinimum);
  if (buffer) memcpy(buffer, pair, sizeof(pair));
  return static_cast<LONG>(answer);
}

int ApiPaperExtentPair32(ApiContext* api, LONG* out, int maximum) {
  DriverContext* ctx = ApiDriverCtx(api);
  const ModelRecord* record = ctx ? CtxModelRecord(ctx) : nullptr;
  if (!record) return 0;
  LONG width = ItemDotsToDisplay(ctx, 0, static_cast<LONG>(maximum ? record->customWidthMax : record->customWidthMin));
  LONG length =
      ItemDotsToDisplay(ctx, 0, static_cast<LONG>(maximum ? record->customLengthMax : record->customLengthMin));
  LONG lo = 0, hi = 0;
  if (ModelFreeSizeRange(ctx, kItem_wdmFreeSizeWidth, &lo, &hi)) width = width < lo ? lo : (width > hi ? hi : width);
  if (ModelFreeSizeRange(ctx, kItem_wdmFreeSizeLength, &lo, &hi))
    length = length < lo ? lo : (length > hi ? hi : length);
  if (out) {
    out[0] = width;
    out[1] = length;
  }
  return 1;
}

LONG ApiCapsPaperExtent32(ApiContext* api, DWORD id, void* buffer) {
  LONG pair[2] = {};
  if (!ApiPaperExtentPair32(api, pair, id == 124)) return -1;
  if (buffer) memcpy(buffer, pair, sizeof(pair));
  return 1;
}

LONG ApiCapsScaleRange(ApiContext* api, DWORD id, void* buffer) {
  DriverContext* ctx = ApiDriverCtx(api);
  WORD pair[2] = {};
  if (!ctx || !ApiGetScaleRanges(ctx, id == 21 ? pair : nullptr, id == 20 ? pair : nullptr)) return -1;
  if (buffer) memcpy(buffer, pair, sizeof(pair));
  return static_cast<LONG>(MAKELONG(pair[0], pair[1]));
}

LONG ApiCapsLengthRange(ApiContext* api, DWORD id, void* buffer) {
  (void)buffer;
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  LONG a = 0, b = 0;  // minimum, maximum
  int ok = 0;
  switch (id) {
    case 26: case 27: ok = ApiGetMarginRanges(ctx, &a, &b, nullptr, nullptr); break;
    case 28: case 29: ok = ApiGetMarginRanges(ctx, nullptr, nullptr, &a, &b); break;
    case 35: case 36: ok = ApiGetShiftRanges(ctx, &a, &b, nullptr, nullptr); break;
    case 37: case 38: ok = ApiGetShiftRanges(ctx, nullptr, nullptr, &a, &b); break;
    case 113: case 114: ok = ApiGetCreepRanges(ctx, &a, &b, nullptr, nullptr); break;
    case 115: case 116: ok = ApiGetCreepRanges(ctx, nullptr, nullptr, &a, &b); break;
    default: return -1;
  }
  if (!ok) return -1;
  // The first id of each pair is the maximum.
  const bool maximum = id == 26 || id == 28 || id == 35 || id == 37 || id == 113 || id == 115;
  return ToDisplay(api, maximum ? b : a);
}

LONG ApiCapsAdjustRange(ApiContext* api, DWORD id, void*) {
  WORD setting = 0;
  switch (id) {
    case 258: case 259: setting = kItem_zdmBrightness; break;
    case 260: case 261: setting = kItem_zdmContrast; break;
    case 262: case 263: setting = kItem_zdmSaturation; break;
    case 264: case 265: setting = kItem_zdmColorBalanceR; break;
    default: return 0xFFFF;
  }
  const NumericValueRecord* number = ApiCapsNumberOf(api, setting);
  if (!number) return 0xFFFF;
  return static_cast<LONG>(static_cast<WORD>(id % 2 == 0 ? number->maximum : number->minimum));
}

LONG ApiCapsMaxCopies(ApiContext* api, DWORD, void*) {
  DriverContext* ctx = ApiDriverCtx(api);
  return ctx ? ApiGetMaxCopies(ctx) : -1;
}

LONG ApiCapsTextLength(ApiContext* api, DWORD id, void*) {
  const WORD setting = id == 83 ? kItem_zdmJOBPassword : id == 90 ? kItem_wdmAuthenticationUserName
                                                                  : kItem_wdmAuthenticationPassword;
  DriverContext* ctx = ApiDriverCtx(api);
  const ModelItemDescriptor* desc = ctx ? ModelGetDescriptor(setting, ctx) : nullptr;
  if (!desc || ModelValueShapeOf(desc->type) != kModelShapeString || !desc->values) return 0;
  return static_cast<const StringValueRecord*>(desc->values)->maxLength;
}

LONG ApiCapsSettingIfOffered(ApiContext* api, DWORD id, void*) {
  if (id == 89)
    return ApiIsSettingOffered(api, kItem_zdmPrnFuncAuthenticationMode, 0, 1)
               ? ApiReadLong(api, kItem_zdmPrnFuncAuthenticationMode)
               : 0;
  if (id == 100)
    return ApiIsSettingOffered(api, kItem_zdmFuncSelectChapter, 0, 1) ? ApiReadLong(api, kItem_wdmChapterMax)
                                                                      : 0;
  return ApiReadLong(api, kItem_zdmMachineTypeColor);  // 0x30000
}
