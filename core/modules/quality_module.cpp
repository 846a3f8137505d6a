// The print-quality module's window-less answers: the colour-profile list operations, the
// profile names of the choice lists, the colour-matching fallback and the density samples.
#include <string.h>

#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/common/ini_access.h"
#include "core/front/dialog_records.h"
#include "core/install/install_ini_defaults.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_repair.h"
#include "core/items/item_table_copy.h"
#include "core/modules/cmm_profiles.h"
#include "core/modules/module_rows.h"
#include "core/modules/quality_hooks.h"
#include "core/store/preset_store.h"
#include "core/store/store_keys.h"
#include "core/system/resources.h"

namespace {

enum : int {
  kEventFactoryCopy = 15,
  kEventProfileName = 16,
  kEventMatchingFallback = 36,
  kEventPictureLayer = 56,
  kEventScrollBar = 58,
};

const WORD kMatchingItems[4] = {kItem_zdmColorMatchingMode, kItem_wdmColorMatchingText, kItem_wdmColorMatchingLine,
                                kItem_wdmColorMatchingImage};

// The colour-matching item in use: the common one, or the object's while objects are adjusted
// one by one.
WORD CurrentMatchingItem(DriverContext* ctx) {
  if (ItemGetRawById(ctx, kItem_zdmAdjustMode) == 0) return kItem_zdmColorMatchingMode;
  const LONG_PTR object = ItemGetRawById(ctx, kItem_zdmAdjustObject);
  return object >= 0 && object <= 2 ? kMatchingItems[1 + object] : kMatchingItems[0];
}

void AddProfile(DriverContext* ctx) {
  const LONG count = CmmGetCount(ctx);
  if (count >= CmmGetMax(ctx)) return;
  CmmSetCount(ctx, count + 1);
  CmmSaveEntry(ctx, count);
}

// A profile value past the list (its entry was deleted) falls back to the quality list's own
// factory value, so no setting names a profile that no longer exists.
void MatchingFallback(DriverContext* ctx) {
  const LONG list = ItemGetUserMacroIndex(ctx);
  if (list < 0) return;
  LONG_PTR saved[4], factory[4];
  for (int i = 0; i < 4; ++i) saved[i] = ItemGetRawById(ctx, kMatchingItems[i]);
  CtxSnapshotPush(ctx);
  SettingItemTable* clone = ItemTableClone(ctx);
  QualityApplyFactorySlot(ctx, static_cast<int>(list));
  for (int i = 0; i < 4; ++i) factory[i] = ItemGetRawById(ctx, kMatchingItems[i]);
  ItemTableRestore(ctx, clone);
  CtxSnapshotPop(ctx, TRUE);
  const LONG count = CmmGetCount(ctx);
  for (int i = 0; i < 4; ++i)
    if (saved[i] >= kCmmProfileValueBase && saved[i] - kCmmProfileValueBase >= count)
      ItemSetRawById(ctx, kMatchingItems[i], factory[i]);
}

void CopyListKeys(DriverContext* ctx, const InstFactoryCopyEvent* e) {
  if (!e || !e->source || !e->target) return;
  const WCHAR* section = StoreListLangCode(ctx);
  WCHAR text[16];
  const LONG max = static_cast<LONG>(static_cast<INT>(IniReadInt(section, TEXT("CmmMax"), 0, e->source)));
  const LONG def = static_cast<LONG>(static_cast<INT>(IniReadInt(section, TEXT("CmmDefault"), 0, e->source)));
  IniWriteString(section, TEXT("CmmMax"), StoreFormatNumber(text, max), e->target);
  IniWriteString(section, TEXT("CmmDefault"), StoreFormatNumber(text, def), e->target);
  WCHAR current[16] = {};
  IniReadString(section, TEXT("CmmCount"), TEXT(""), current, 16, e->target);
  if (!(e->targetCurrent && current[0])) IniWriteString(section, TEXT("CmmCount"), StoreFormatNumber(text, def), e->target);
}

}  // namespace

int QualityHandleNotifyNoWindow(DriverContext* ctx, WORD code, void*) {
  if (!ctx || !ctx->ui) return 0;
  switch (code) {
    case 111:
      AddProfile(ctx);
      return 1;
    case 112: {
      CmmDeleteEntry(ctx, CmmIndexOfModeControl(ctx));
      // The choice may now point past the list: it goes back to its first line.
      if (CmmIndexOfModeControl(ctx) < 0) CmmSetModeIndex(ctx, -1);
      QualityRememberMatching(ctx);
      ModBusSendEvent(ctx, kEventMatchingFallback, nullptr);
      return 1;
    }
    case 113:
    case 122:
      CmmSaveEntry(ctx, CmmIndexOfModeControl(ctx));
      return 1;
    case 123:
      AddProfile(ctx);
      CmmSetModeIndex(ctx, CmmGetCount(ctx) - 1);
      return 1;
    case 114: case 115: case 116: case 117:
      CmmLoadEntry(ctx, CmmIndexOfItem(ctx, kMatchingItems[code - 114]));
      return 1;
    case 118: case 119: case 120: case 121:
      CmmSaveEntry(ctx, CmmIndexOfItem(ctx, kMatchingItems[code - 118]));
      return 1;
    case 124:
      if (ItemFind(ctx, kItem_zdmAdjustMode)) CmmLoadEntry(ctx, CmmIndexOfItem(ctx, CurrentMatchingItem(ctx)));
      return 1;
    default:
      return 0;
  }
}

int QualityHandleEvent(DriverContext* ctx, int event, void* argument, void*) {
  switch (event) {
    case kEventFactoryCopy:
      CopyListKeys(ctx, static_cast<const InstFactoryCopyEvent*>(argument));
      return 1;
    case kEventProfileName: {
      auto* e = static_cast<ResColorMatchNameEvent*>(argument);
      if (!e || !e->buffer || e->cchBuffer == 0 || e->stringId < kCmmProfileStringFirst ||
          e->stringId > kCmmProfileStringLast || !ctx || !ctx->ui)
        return 0;
      CmmLoadEntry(ctx, static_cast<LONG>(e->stringId - kCmmProfileStringFirst));
      // The sender's buffer, not the entry's 260 characters, bounds the copy.
      DWORD i = 0;
      for (; i + 1 < e->cchBuffer && ctx->ui->cmmName[i]; ++i) e->buffer[i] = ctx->ui->cmmName[i];
      e->buffer[i] = 0;
      return 1;
    }
    case kEventMatchingFallback:
      if (ctx) MatchingFallback(ctx);
      return 1;
    case kEventPictureLayer: {
      auto* e = static_cast<QualityLayerEvent*>(argument);
      if (!e || !e->control || e->control->controlId != 3039) return 0;
      WORD id = 0;
      if (e->value == 6990) id = 606;       // zdmTonerSaveDensityImage
      else if (e->value == 6982) id = 604;  // zdmTonerSaveDensityText
      else if (e->value == 7668) id = 605;  // zdmTonerSaveDensityLine
      if (!id) return 0;
      static const DWORD kLayers[3] = {25, 13, 0};
      const LONG_PTR v = ItemGetRawById(ctx, id);
      e->layer = v >= 0 && v <= 2 ? kLayers[v] : 0xFFFF;
      return 1;
    }
    case kEventScrollBar: {
      auto* e = static_cast<QualityScrollEvent*>(argument);
      if (!e || !e->control) return 0;
      const WORD c = e->control->controlId;
      if (c != 3032 && c != 3035 && c != 3038) return 0;
      e->flag = 1;
      return 1;
    }
    default:
      return 0;
  }
}

// What CmmAnswerJudgeHook reads of the settings, beside it: the profile list's keys stand in
// the display language's section, so 1292 and 1293 read the language, 1292 also the
// colour-matching choice; 1294 reads only the chosen file, which no setting holds.
int CmmJudgeHookInputs(WORD id, WORD* inputs, int cap) {
  static const WORD kNoUserProfile[] = {kItem_zdmColorMatchingMode, kItem_zdmLanguageID};
  static const WORD kListFull[] = {kItem_zdmLanguageID};
  const WORD* row = id == 1292 ? kNoUserProfile : id == 1293 ? kListFull : nullptr;
  const int n = id == 1292 ? 2 : id == 1293 ? 1 : 0;
  if (n > cap) return -1;
  for (int i = 0; i < n; ++i) inputs[i] = row[i];
  return n;
}

int CmmAnswerJudgeHook(DriverContext* ctx, WORD id) {
  switch (id) {
    case 1292:
      return CmmIndexOfModeControl(ctx) < CmmGetDefault(ctx) ? 1 : 0;
    case 1293:
      return CmmGetCount(ctx) >= CmmGetMax(ctx) ? 1 : 0;
    case 1294: {
      if (!ctx || !ctx->ui) return 0;
      // The builds without windows take the profile on trust: they never show the file
      // dialog that would let the user pick another.
      const UiModuleTable* table = ctx->ui->modules;
      const bool noWindow = table && table->rows && table->count > kModuleQuality &&
                            table->rows[kModuleQuality].notify == QualityHandleNotifyNoWindow;
      return noWindow ? 1 : CmmCheckProfileHeader(ctx->ui->cmmPath);
    }
    default:
      return 0;
  }
}
