// Capability handlers with rules of their own: colour, trays, duplex, N-up, watermarks,
// presets, quality lists, toner save, load share and colour matching.
#include <string.h>

#include <vector>

#include "core/common/ini_access.h"
#include "core/common/text.h"
#include "core/devmode/dm_layout.h"
#include "core/items/allowed_values.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_caps.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/rules/api_readers.h"
#include "core/install/driver_identity.h"
#include "core/store/preset_store.h"
#include "core/store/settings_stores.h"
#include "core/store/store_keys.h"
#include "core/tables/model_record.h"
#include "exclude/api/api_caps_handlers.h"
#include "exclude/api/api_caps_lists.h"
#include "exclude/api/api_chapters.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_records.h"
#include "exclude/api/api_services.h"
#include "exclude/api/api_settings_trial.h"

namespace {

// Dialogs and controls the capabilities ask about.
constexpr WORD kDialogEdit = 1003;             // TOV_IDD_EDIT
constexpr WORD kControlEditOverlay = 2407;     // TOV_IDC_EDIT_BUTTON_OVERLAY
constexpr WORD kDialogStampChar = 1022;        // TOV_IDD_DIALOG_STAMP_CHAR
constexpr WORD kControlStampChar2Plane = 2878; // TOV_IDC_STAMP_CHAR_CHOICE_2PLANEPRINT
constexpr WORD kDialogStampImage = 1023;       // TOV_IDD_DIALOG_STAMP_IMAGE
constexpr WORD kControlStampImage2Plane = 2879;// TOV_IDC_STAMP_IMAGE_CHOICE_2PLANEPRINT
constexpr WORD kDialogPrintQuality = 1006;     // TOV_IDD_PRINTQUALITY
constexpr WORD kDialogUserOthers = 1029;       // TOV_IDD_DIALOG_USER_OTHERS

constexpr LONG kQualitySlotMacro = 160;  // the user macro of the quality slot
constexpr LONG kFirstListMacro = 32;     // quality list n is macro 32 + n
constexpr int kSetNameBytes = 33;        // wdmUserSetName

int Offered(ApiContext* api, WORD setting, DWORD flags = 1) { return ApiIsSettingOffered(api, setting, 0, flags); }

LONG Put(ApiContext* api, DWORD id, void* buffer, const std::vector<LONG>& list) {
  return ApiCapsPutInts(api, id, buffer, list.data(), static_cast<LONG>(list.size()));
}

// The allowed values of a setting appended to a list: false when there is no list.
bool AppendAllowed(ApiContext* api, WORD setting, std::vector<LONG>* list) {
  const LONG n = ApiCapsAllowed(api, setting, nullptr);
  if (n <= 0) return false;
  std::vector<LONG> values(static_cast<size_t>(n));
  if (ApiCapsAllowed(api, setting, values.data()) != n) return false;
  list->insert(list->end(), values.begin(), values.end());
  return true;
}

bool AppendSettingValues(ApiContext* api, DWORD id, WORD setting, std::vector<LONG>* list) {
  const LONG n = ApiCapsSettingValues(api, id, nullptr, setting, -1);
  if (n <= 0) return n == 0;
  std::vector<LONG> values(static_cast<size_t>(n));
  if (ApiCapsSettingValues(api, id, values.data(), setting, n) != n) return false;
  list->insert(list->end(), values.begin(), values.end());
  return true;
}

// Runs fn with zdmAdjustMode taken as 0 when it is 1; the mode is put back whatever fn gives.
template <typename Fn>
LONG WithAdjustModeOff(ApiContext* api, Fn fn) {
  const LONG mode = ApiReadLong(api, kItem_zdmAdjustMode);
  if (mode == 1) ApiWrite(api, kItem_zdmAdjustMode, 0);
  const LONG result = fn();
  if (mode == 1) ApiWrite(api, kItem_zdmAdjustMode, mode);
  return result;
}

// A text setting's wide text, empty when it has none.
void TextOf(ApiContext* api, WORD setting, WCHAR* out, int chars) {
  out[0] = 0;
  DriverContext* ctx = ApiDriverCtx(api);
  SettingItem* item = ctx ? ItemFind(ctx, setting) : nullptr;
  if (!item) return;
  std::vector<WCHAR> text(1024, 0);
  ItemGetText(ctx, item, text.data());
  text[1023] = 0;
  StrCopyCut(out, static_cast<DWORD>(chars), text.data());
}


}  // namespace

LONG ApiCapsColor(ApiContext* api, DWORD, void*) {
  if (ApiReadLong(api, kItem_zdmMachineTypeColor) != 1) return 0;
  if (ApiReadLong(api, kItem_zdmLock001InfoBitColor) && ApiReadLong(api, kItem_wdmLock008Info) != 2) return 0;
  return 1;
}

LONG ApiCapsOrientation(ApiContext* api, DWORD, void*) {
  DriverContext* ctx = ApiDriverCtx(api);
  return ctx && ModelGetLandscapeAngle(ctx) != 0 ? 1 : 0;
}

LONG ApiCapsScaleTypes(ApiContext* api, DWORD, void*) {
  std::vector<LONG> types;
  if (!AppendAllowed(api, kItem_zdmScaleType, &types)) return -1;
  for (LONG t : types)
    if (t >= 1 && t <= 3) return 1;
  return 0;
}

LONG ApiCapsCover(ApiContext* api, DWORD, void*) {
  DriverContext* ctx = ApiDriverCtx(api);
  return ctx && Offered(api, kItem_zdmFuncSelectCover) && ItemHasAllowedValue(ctx, kItem_zdmSortType) ? 1 : 0;
}

LONG ApiCapsMark(ApiContext* api, DWORD, void*) {
  if (!Offered(api, kItem_zdmFuncSelectMark)) return 0;
  std::vector<LONG> sources;
  if (!AppendSettingValues(api, 2, kItem_dmDefaultSource, &sources)) return 0;
  int other = 0;
  for (LONG s : sources)
    if (s != 7) ++other;
  return other > 1 ? 1 : 0;
}

LONG ApiCapsDuplex(ApiContext* api, DWORD, void*) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return 0;
  if (ItemLockDuplex(ctx)) return 1;
  return ItemHasDuplexUnit(ctx) ? 1 : 0;
}

LONG ApiCapsWatermarkKinds(ApiContext* api, DWORD id, void* buffer) {
  if (!ApiAskCaps(api, 31, nullptr)) return 0;
  std::vector<LONG> kinds = {1, 2};
  if (ApiIsControlAvailable(api, kDialogEdit, kControlEditOverlay, 1)) kinds.push_back(3);
  if (ApiLevel(api) >= 3 && ApiReadIniFunc1Mask(api, 0x1)) kinds.push_back(128);
  return Put(api, id, buffer, kinds);
}

// Watermark ids and names: 256 (the empty slot) first, then each stored watermark.
LONG ApiCapsWatermarks(ApiContext* api, DWORD id, void* buffer) {
  if (!ApiAskCaps(api, 31, nullptr)) return 0;
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  const int count = StampGetCount(ctx);
  const LONG n = (count > 0 ? count : 0) + 1;
  if (!buffer) return n;
  std::vector<LONG> ids(1, 256);
  std::vector<char> names(64, 0);
  {
    ApiSettingsTrial trial(api);
    if (!trial.ok()) return -1;
    for (int i = 0; i < count; ++i) {
      StampSelect(ctx, i);
      ids.push_back(1 + ApiReadLong(api, kItem_zdmWmID));
      std::vector<char> slot(64, 0);
      const LONG kind = ApiReadLong(api, kItem_zdmWmKind);
      WCHAR text[64] = {};
      if (kind == 1 || kind == 128) TextOf(api, kItem_wdmWmCharName, text, 64);
      else if (kind == 2 || kind == 3) TextOf(api, kItem_wdmWmImageName, text, 64);
      if (!ApiCapsToAnsi(text, slot.data(), 64)) return -1;
      names.insert(names.end(), slot.begin(), slot.end());
    }
  }
  if (id == 32) return Put(api, id, buffer, ids);
  return ApiCapsPutNames(api, id, buffer, names.data(), n, 64);
}

LONG ApiCapsJobBinder(ApiContext* api, DWORD, void*) {
  DriverContext* ctx = ApiDriverCtx(api);
  return ctx && InstIsCompanionInstalled(2, ctx) ? 1 : 0;
}

LONG ApiCapsHardDisk(ApiContext* api, DWORD, void*) { return ApiReadLong(api, kItem_zdmOutputOptionTypeHDD) ? 1 : 0; }

LONG ApiCapsResolutionMacros(ApiContext* api, DWORD id, void* buffer) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  const int n = ApiListResolutions(ctx, nullptr);
  if (n < 0 || !buffer) return n;
  std::vector<LONG> macros(static_cast<size_t>(n) + 1);
  if (ApiListResolutions(ctx, macros.data()) != n) return -1;
  return ApiCapsPutInts(api, id, buffer, macros.data(), n);
}

// Mark paper types: what is measured is what is filled.
LONG ApiCapsMarkPaperTypes(ApiContext* api, DWORD id, void* buffer) {
  if (!ApiAskCaps(api, 23, nullptr)) return 0;
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  std::vector<LONG> list;
  const bool node = ModelFindDescriptor(kItem_zdmMarkPaperType, ctx) && ApiIsValueDisabled(kItem_zdmMarkPaperType, 0, ctx) != 1;
  if (node) {
    if (!AppendAllowed(api, kItem_zdmMarkPaperType, &list)) return -1;
    list.push_back(0);
  } else {
    list = {1, 0};
  }
  return Put(api, id, buffer, list);
}

LONG ApiCapsFunc1Bit(ApiContext* api, DWORD id, void*) {
  switch (id) {
    case 57: return ApiReadIniFunc1Mask(api, 0x4) ? 1 : 0;
    case 118: return ApiLevel(api) >= 15 && ApiReadIniFunc1Mask(api, 0x200) ? 1 : 0;
    case 74: return ApiLevel(api) > 9 ? 1 : 0;
    case 95: return ApiLevel(api) > 12 ? 1 : 0;
    default: return 0;
  }
}

LONG ApiCapsColorModes(ApiContext* api, DWORD id, void* buffer) {
  std::vector<LONG> modes;
  WithAdjustModeOff(api, [&] { return AppendAllowed(api, kItem_zdmColorMode, &modes) ? 1L : 0L; });
  if (modes.empty()) return 0;
  if (ApiReadIniFunc1Mask(api, 0x2)) modes.push_back(255);
  return Put(api, id, buffer, modes);
}

LONG ApiCapsFoldKinds(ApiContext* api, DWORD id, void* buffer) {
  std::vector<LONG> kinds = {0};
  if (ApiReadLong(api, kItem_zdmOutputOption3TypeFoldingUnit)) kinds = {0, 1, 2, 3};
  return Put(api, id, buffer, kinds);
}

LONG ApiCapsTwoPlaneStamps(ApiContext* api, DWORD id, void* buffer) {
  std::vector<LONG> kinds;
  if (ApiIsControlAvailable(api, kDialogStampChar, kControlStampChar2Plane, 3)) kinds.push_back(1);
  if (ApiIsControlAvailable(api, kDialogStampImage, kControlStampImage2Plane, 3)) kinds.push_back(2);
  return Put(api, id, buffer, kinds);
}

LONG ApiCapsPresetIds(ApiContext* api, DWORD id, void* buffer) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  std::vector<LONG> ids;
  for (int n = 1, count = PresetGetCount(ctx); n <= count; ++n) ids.push_back(n);
  return Put(api, id, buffer, ids);
}

LONG ApiCapsPresetNames(ApiContext* api, DWORD id, void* buffer) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  const int count = PresetGetCount(ctx);
  if (count <= 0) return 0;
  if (!buffer) return count;
  WCHAR ini[MAX_PATH + 1] = {}, printer[261] = {};
  StoreCopySettingsIni(ctx, ini);
  StoreCopyPrinterName(ctx, printer, 261);
  std::vector<char> names(static_cast<size_t>(count) * 64, 0);
  for (int n = 0; n < count; ++n) {
    WCHAR key[64] = {}, name[260] = {};
    PresetKeyName(key, 64, n, 1);
    if (ini[0]) IniReadString(printer, key, TEXT(""), name, 260, ini);
    // A name longer than the slot is cut at a character boundary.
    char wide[1040] = {};
    if (name[0] && WideCharToMultiByte(CP_ACP, 0, name, -1, wide, sizeof(wide), nullptr, nullptr) <= 0) wide[0] = 0;
    wide[StrAnsiCutLength(wide, 63)] = 0;
    memcpy(&names[static_cast<size_t>(n) * 64], wide, strlen(wide) + 1);
  }
  return ApiCapsPutNames(api, id, buffer, names.data(), count, 64);
}

LONG ApiCapsAuthKinds(ApiContext* api, DWORD id, void* buffer) {
  if (!Offered(api, kItem_zdmPrnFuncAuthenticationMode)) return 0;
  std::vector<LONG> kinds = {0, 1};
  if (ApiAuthSecureOffered(api)) kinds.push_back(2);
  return Put(api, id, buffer, kinds);
}

LONG ApiCapsLoadShare(ApiContext* api, DWORD id, void* buffer) {
  ApiState* state = ApiGetState(api);
  if (!state) return -1;
  std::vector<LONG> values;
  for (int i = 0; i < kApiLoadShareRows; ++i)
    if (state->loadShareUsable[i]) values.push_back(ApiLoadShareTable[i].apiValue);
  return Put(api, id, buffer, values);
}

LONG ApiCapsCoverMedia(ApiContext* api, DWORD, void*) {
  for (WORD setting : {kItem_zdmCoverMediaType, kItem_zdmBackCoverMediaType, kItem_zdmMPInputMediaType,
                       kItem_zdmChapterMediaType, kItem_zdmReverseCoverMediaType})
    if (Offered(api, setting)) return 1;
  return 0;
}

// Duplex types with duplex switched on (103) and as allowed now (104).
LONG ApiCapsDuplexTypes(ApiContext* api, DWORD id, void* buffer) {
  if (!ApiAskCaps(api, 25, nullptr)) return 0;
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  std::vector<LONG> list;
  if (!ItemLockDuplex(ctx)) list.push_back(0);
  if (id == 103) {
    ApiDevmodeTrial trial(api);
    if (!trial.ok()) return -1;
    ApiWrite(api, kItem_zdmFuncSelectDuplex, 1);
    if (!AppendSettingValues(api, id, kItem_zdmDuplexType, &list)) return -1;
  } else {
    AppendAllowed(api, kItem_zdmDuplexType, &list);
  }
  return Put(api, id, buffer, list);
}

LONG ApiCapsNupTypes(ApiContext* api, DWORD id, void* buffer) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  std::vector<LONG> list;
  {
    ApiDevmodeTrial trial(api);
    if (!trial.ok()) return -1;
    if (id == 105) {
      if (!AppendSettingValues(api, id, kItem_zdmNUPType, &list)) return -1;
      if (ApiValueTest(api, kItem_zdmNUPPOSTKind, 9)) {
        ApiWrite(api, kItem_zdmNUPPOSTKind, 9);
        AppendAllowed(api, kItem_zdmNUPType, &list);
      }
    } else {
      if (!ItemLockNupKind(ctx)) list.push_back(0);
      std::vector<LONG> kinds;
      AppendAllowed(api, kItem_zdmNUPPOSTKind, &kinds);
      for (LONG kind : kinds) {
        ApiWrite(api, kItem_zdmNUPPOSTKind, kind);
        AppendAllowed(api, kItem_zdmNUPType, &list);
      }
    }
  }
  return Put(api, id, buffer, list);
}

LONG ApiCapsColorValues(ApiContext* api, DWORD id, void* buffer) {
  if (ApiAskCaps(api, 8, nullptr) != 1) return 0;
  std::vector<LONG> list;
  if (!AppendSettingValues(api, id, kItem_dmColor, &list)) return -1;
  return Put(api, id, buffer, list);
}

LONG ApiCapsMarginOverlap(ApiContext* api, DWORD, void*) {
  return ApiAskCaps(api, 108, nullptr) == 1 && Offered(api, kItem_zdmFuncSelectMarginOverlap) ? 1 : 0;
}

LONG ApiCapsFolding(ApiContext* api, DWORD, void*) {
  if (!Offered(api, kItem_zdmFunc2SelectFolding)) return 0;
  return ApiReadLong(api, kItem_zdmOutputOption3TypeFoldingPunch) ||
                 ApiReadLong(api, kItem_zdmOutputOption3TypeFoldingFan) ||
                 ApiReadLong(api, kItem_zdmOutputOption3TypeFoldingFolder)
             ? 1
             : 0;
}

// User print macros: 160 (the quality slot), then the macro of each stored quality list.
LONG ApiCapsUserMacros(ApiContext* api, DWORD id, void* buffer) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  std::vector<LONG> macros(1, kQualitySlotMacro);
  if (!ApiIsFeatureUsable(api, kItem_zdmUserPrintMacro)) return Put(api, id, buffer, macros);
  const int count = QualityGetCount(ctx);
  if (!buffer) return 1 + (count > 0 ? count : 0);
  {
    ApiSettingsTrial trial(api);
    if (!trial.ok()) return -1;
    for (int n = 0; n < count; ++n) {
      QualityApplySlot(ctx, n);
      macros.push_back(ApiReadLong(api, kItem_zdmUserPrintMacro));
    }
  }
  return Put(api, id, buffer, macros);
}

LONG ApiCapsUserMacroNames(ApiContext* api, DWORD id, void* buffer) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return -1;
  const LONG n = ApiCapsUserMacros(api, 271, nullptr);
  if (n <= 0 || !buffer) return n;
  std::vector<LONG> macros(static_cast<size_t>(n));
  {
    ApiCapsRoom room(n);
    if (ApiCapsUserMacros(api, 271, macros.data()) != n) return -1;
  }
  std::vector<char> names(static_cast<size_t>(n) * 64, 0);
  {
    ApiSettingsTrial trial(api);
    if (!trial.ok()) return -1;
    for (LONG i = 0; i < n; ++i) {
      const LONG macro = macros[static_cast<size_t>(i)];
      // 160 is the quality slot (128), 32 + n quality list n.
      if (macro >= kFirstListMacro) QualityApplySlot(ctx, static_cast<int>(macro - kFirstListMacro));
      WCHAR text[kSetNameBytes] = {};
      TextOf(api, kItem_wdmUserSetName, text, kSetNameBytes);
      char* slot = &names[static_cast<size_t>(i) * 64];
      if (text[0] && WideCharToMultiByte(CP_ACP, 0, text, -1, slot, kSetNameBytes, nullptr, nullptr) <= 0) return -1;
    }
  }
  return ApiCapsPutNames(api, id, buffer, names.data(), n, 64);
}

LONG ApiCapsTonerSaveDialog(ApiContext* api, DWORD, void*) {
  if (ApiIsAvailableOnDialog(api, kItem_zdmFuncSelectTonerSave, kDialogPrintQuality)) return 1;
  if (ApiIsAvailableOnDialog(api, kItem_zdmFuncSelectTonerSave, kDialogUserOthers)) return 2;
  return 0;
}

LONG ApiCapsTonerSaveValues(ApiContext* api, DWORD id, void* buffer) {
  const LONG dialog = ApiAskCaps(api, 274, nullptr);
  if (dialog <= 0) return 0;
  const WORD dialogId = dialog == 1 ? kDialogPrintQuality : kDialogUserOthers;
  std::vector<LONG> list;
  if (ApiIsAvailableOnDialog(api, kItem_zdmTonerSave, dialogId)) {
    if (!AppendAllowed(api, kItem_zdmTonerSave, &list)) return -1;
  } else {
    list.push_back(ApiReadLong(api, kItem_zdmTonerSave));
  }
  return Put(api, id, buffer, list);
}

// Colour-matching modes, then 200 + i for each stored profile.
LONG ApiCapsMatchingModes(ApiContext* api, DWORD id, void* buffer) {
  std::vector<LONG> list;
  WithAdjustModeOff(api, [&] { return AppendAllowed(api, kItem_zdmColorMatchingMode, &list) ? 1L : 0L; });
  const LONG profiles = ApiColorProfileCount(api);
  for (LONG i = 0; i < profiles; ++i) list.push_back(200 + i);
  return Put(api, id, buffer, list);
}

LONG ApiCapsMatchingNames(ApiContext* api, DWORD id, void* buffer) {
  const LONG modes = WithAdjustModeOff(api, [&] {
    const LONG n = ApiListValueNames(api, id, nullptr, kItem_zdmColorMatchingMode, 64, 1);
    return n == -1 ? 0L : n;
  });
  const LONG profiles = ApiColorProfileCount(api);
  const LONG n = modes + (profiles > 0 ? profiles : 0);
  if (!buffer) return n;
  std::vector<char> names(static_cast<size_t>(n) * 64 + 64, 0);
  if (modes > 0) {
    ApiCapsRoom room(modes);
    const LONG filled = WithAdjustModeOff(api, [&] {
      return ApiListValueNames(api, id, names.data(), kItem_zdmColorMatchingMode, 64, 1);
    });
    if (filled != modes) return -1;
  }
  for (LONG i = 0; i < profiles; ++i) {
    WCHAR name[64] = {};
    ApiColorProfileName(api, i, name);
    name[63] = 0;
    if (!ApiCapsToAnsi(name, &names[static_cast<size_t>(modes + i) * 64], 64)) return -1;
  }
  return ApiCapsPutNames(api, id, buffer, names.data(), n, 64);
}
