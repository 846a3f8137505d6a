// DEVMODE retrieval: the context's settings brought into a consistent state by the caller's
// flags, then its DEVMODE handed out.
#include "exclude/api/api_devmode.h"

#include <stddef.h>
#include <string.h>

#include "core/bind/bidi_acquire.h"
#include "core/bind/bidi_api.h"
#include "core/bind/bidi_store.h"
#include "core/bind/print_notification.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_fields.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/resolution_limit.h"
#include "core/devmode/settings_defaults.h"
#include "core/items/item_access.h"
#include "core/items/item_caps.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/derived_settings.h"
#include "core/store/font_tables.h"
#include "core/install/install_ini_defaults.h"
#include "core/store/exc_store.h"
#include "core/store/item_store.h"
#include "core/store/lock_data.h"
#include "core/store/preset_refresh.h"
#include "core/store/preset_store.h"
#include "core/store/settings_stores.h"
#include "core/system/terminal_server.h"
#include "core/rules/transacts.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_engine.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_records.h"
#include "exclude/api/api_services.h"

namespace {

constexpr DWORD kChangePaperSizesLoaded = 0x4000000;
constexpr DWORD kMergeGiven = 0x2220000A;
constexpr DWORD kMergeOwnCopy = 0x2260000A;
constexpr LONG kMachine600Rule = 130;
constexpr LONG kMemoryWithCfUnit = 160;
constexpr LONG kMemoryPlain = 32;

LONG Read(DriverContext* ctx, WORD id) { return static_cast<LONG>(ItemGetRawById(ctx, id)); }

// The switches whose kind survives a merge while the switch is restricted.
struct KeptKind {
  WORD sw;
  WORD kind;
};
constexpr KeptKind kKeptKinds[] = {
    {kItem_zdmFuncSelectDuplex, kItem_zdmDuplexType},
    {kItem_zdmFuncSelectStaple, kItem_zdmStapleType},
    {kItem_zdmFuncSelectPunch, kItem_zdmPunchType},
    {kItem_zdmFuncSelectFold, kItem_zdmFoldType},
};

bool SwitchRestricted(ApiContext* api, WORD sw) {
  const ExclusiveRecord* node = ApiFindConstraintNode(sw, api);
  return node && ApiNodeRestricted(api, node);
}

void RunNodeTransacts(ApiContext* api, WORD setting) {
  DriverContext* ctx = ApiDriverCtx(api);
  for (const ModelItemDescriptor* d = ModelFindDescriptor(setting, ctx); d; d = d->next)
    if (d->itemId == setting) ModelRunItemTransacts(d, ctx);
}

void RecordAcquisitionError(void* api, DWORD code) {
  ApiSetLastError(static_cast<ApiContext*>(api), static_cast<LONG>(code));
}

void RefreshByFlags(ApiContext* api, DWORD flags) {
  DriverContext* ctx = ApiDriverCtx(api);
  const LONG level = ApiLevel(api);
  if (flags & kApiDmAcquire) {
    if (BidiIniFlagIsSet(ctx)) BidiLoadIniSettings(ctx);
    // The error is the failing library call's, recorded where it failed: an update that made
    // no call (no bidirectional port, the gate closed) has nothing to report.
    BidiSetApiErrorSink(ctx, RecordAcquisitionError, api);
    if (BidiUpdateFromPrinter(ctx, nullptr, 8)) ApiBidiApplyDefaultTrays(ctx);
    BidiSetApiErrorSink(ctx, nullptr, nullptr);
  }
  if ((flags & kApiDmNotification) && level > 9) CtxQueryPrintNotification(ctx, kNotifyCapabilitiesOnly);
  if ((flags & kApiDmPruneUsers) && level > 10) PruneUserSettingList(ctx);
}

void ResetShiftAndEdges(ApiContext* api) {
  ApiResetShiftIfNoRange(api);
  if (Read(ApiDriverCtx(api), kItem_zdmFuncSelectMargin) == 0) ApiResetPageEdges(api);
}

// The paper and resolution check: the DEVMODE synced, then 1 when it prints at 600 dpi or the
// model's resolution limit applies.
int PaperResolutionCheck(DriverContext* ctx) {
  BYTE* block = CtxGetSettings(ctx);
  if (!block) return 0;
  DmRecomputeDerived(block, ctx, 3);
  const DEVMODEW* dm = reinterpret_cast<const DEVMODEW*>(block);
  return dm->dmPrintQuality == 600 || FinResolutionLimit(ctx, 0, 0) != 0 ? 1 : 0;
}

void LoadDevmodeDefaults(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  BYTE* block = CtxGetSettings(ctx);
  if (!block) return;
  if (OsIsWin9x()) {
    auto* dm = reinterpret_cast<DEVMODEW*>(block);
    dm->dmSpecVersion = 0x0400;
    dm->dmFields |= DM_MEDIATYPE;
  }
  ApiSetEnvironmentFlagsOS(api);
}

int Rebuild(ApiContext* api, DWORD flags) {
  DriverContext* ctx = ApiDriverCtx(api);
  ApiSetLastError(api, kApiErrNone);
  const bool locked = ItemLockDefault(ctx) != FALSE;
  if (locked) {
    StoreEnsureDefaultSection(ctx);
  } else {
    DmSetFullDefaults(ctx);
    LoadDevmodeDefaults(api);
    ApiPrepareForGet(api, flags);
    StoreFreeFontTables(ctx);
    StoreLoadAtOpen(ctx);
  }
  RefreshByFlags(api, flags);
  if (locked) return 1;
  StoreLoadByClass(api->printer, 1, ctx);
  ApiLoadUserStrings(api, kApiUserStringsOfGet);
  InstSetLocaleDefaults(ctx);
  if (DmGetDriverType(CtxGetSettings(ctx)) == 1) {
    const LCID lcid = GetUserDefaultLCID();
    const WORD language = static_cast<WORD>(lcid & 0x3FF);
    // Letter where the locale measures in inches (English of the Americas), else A4.
    const bool letter = lcid == 0x0409 || lcid == 0x1009 || language == 0x16 || language == 0x0A;
    ItemSetRawById(ctx, kItem_dmPaperSize, letter ? 1 : 9);
  }
  return ApiMergeStoredDevmode(api, nullptr);
}

int Defaults(ApiContext* api, DWORD flags) {
  DriverContext* ctx = ApiDriverCtx(api);
  ApiSetLastError(api, kApiErrNone);
  StoreFreeFontTables(ctx);
  BYTE* fresh = DmBuildDefault(ctx, 0);
  if (!fresh) return 0;
  memcpy(CtxGetSettings(ctx), fresh, kDmBlockSize);
  MemFree(fresh);
  StoreLoadAtOpen(ctx);
  ApiPrepareForGet(api, flags);
  RefreshByFlags(api, flags);
  ResetShiftAndEdges(api);
  ApiLoadUserStrings(api, kApiUserStringsOfGet);
  CtxSetTSE(ctx, OsIsTerminalServer(api->printer));
  CtxSetAdmin(ctx, OsIsUserAdmin());
  return ApiMergeStoredDevmode(api, nullptr);
}

int Current(ApiContext* api, DWORD flags) {
  DriverContext* ctx = ApiDriverCtx(api);
  ApiPrepareForGet(api, flags);
  RefreshByFlags(api, flags & ~kApiDmAcquire);
  if (ApiResolutionForm(api) == 1) {
    ItemSetRawById(ctx, kItem_wdmCtrlWorkPrompt, 1);
    RunNodeTransacts(api, kItem_zdmDstResolutionBoth);
    ItemSetRawById(ctx, kItem_wdmCtrlWorkPrompt, 0);
  }
  if (ApiNeedsResolution600(api)) {
    ItemSetRawById(ctx, kItem_zdmDstResolutionW, 600);
    ItemSetRawById(ctx, kItem_zdmDstResolutionH, 600);
    ItemSetRawById(ctx, kItem_zdmDstResolutionBoth, 3);
    DmRecomputeDerived(CtxGetSettings(ctx), ctx, 3);
  }
  const int merged = ApiMergeStoredDevmode(api, nullptr);
  if (merged && Read(ctx, kItem_zdmUseUserMacro) == 1 && Read(ctx, kItem_zdmUserPrintMacro) == 160)
    QualitySaveSlotFile(ctx, 128);
  return merged;
}

// The frame of both exports around the flag-specific steps (step: 0 unknown flag).
LONG Retrieve(ApiContext* api, DWORD flags, void* buffer, const void* input, bool ex) {
  if (!api || !ApiDriverCtx(api) || !CtxGetSettings(ApiDriverCtx(api))) return -1;
  DriverContext* ctx = ApiDriverCtx(api);
  HANDLE printer = api->printer;
  const bool opened = printer == nullptr;
  if (opened && !ApiOpenPrinter(api, &printer, nullptr)) {
    ApiSetLastError(api, kApiErrInternal);
    return -1;
  }
  if (OsIsWin9x() && ctx->ui) DeviceCapabilitiesW(ctx->ui->printerName, nullptr, DC_FIELDS, nullptr, nullptr);
  LONG result = -1;
  const bool mergeGiven = ex && flags == kApiDmMergeGiven;
  if (mergeGiven && !input) {
    ApiSetLastError(api, kApiErrNoRecord);
  } else if (!mergeGiven && !(flags & (kApiDmRebuild | kApiDmDefaults | kApiDmCurrent))) {
    ApiSetLastError(api, kApiErrNoFlag);
  } else {
    // What a step that runs out of memory is undone from.
    BYTE* copy = ApiCopySettingsBlock(api);
    int ok = copy != nullptr;
    LONG modeChange = Read(ctx, kItem_zdmUIModeChange);
    if (ok && mergeGiven) {
      ok = ApiMergeStoredDevmode(api, input);
      // The paper change of the preparation would take the custom size from the size slot: the
      // caller's own width and length stand.
      const auto* given = static_cast<const DEVMODEW*>(input);
      const DWORD both = DM_PAPERLENGTH | DM_PAPERWIDTH;
      const bool customGiven = given->dmSize >= offsetof(DEVMODEW, dmScale) && (given->dmFields & both) == both &&
                               given->dmPaperWidth > 0 && given->dmPaperLength > 0;
      const SHORT width = customGiven ? given->dmPaperWidth : 0;
      const SHORT length = customGiven ? given->dmPaperLength : 0;
      modeChange = Read(ctx, kItem_zdmUIModeChange);
      ApiPrepareForGet(api, flags);
      ResetShiftAndEdges(api);
      ApiLoadUserStrings(api, kApiUserStringsOfGet);
      if (customGiven) {
        auto* dm = reinterpret_cast<DEVMODEW*>(CtxGetSettings(ctx));
        dm->dmPaperWidth = width;
        dm->dmPaperLength = length;
        dm->dmFields = (dm->dmFields | both) & ~static_cast<DWORD>(DM_PAPERSIZE);
      }
      ok = ApiMergeStoredDevmode(api, nullptr) && ok;
    } else if (ok && (flags & kApiDmRebuild)) {
      ok = Rebuild(api, flags);
    } else if (ok && (flags & kApiDmDefaults)) {
      ok = Defaults(api, flags);
    } else if (ok) {
      ok = Current(api, flags);
    }
    if (ok) {
      ItemSetRawById(ctx, kItem_zdmUIModeChange, modeChange);
      if (buffer) memcpy(buffer, CtxGetSettings(ctx), kDmSize);
      result = static_cast<LONG>(kDmSize);
      ApiDropSettingsBlock(api, copy);
    } else {
      ApiRestoreSettingsBlock(api, copy);
      ApiSetLastError(api, kApiErrInternal);
    }
  }
  if (opened) ApiClosePrinter(api, printer);
  return result;
}

}  // namespace

void ApiPrepareForGet(ApiContext* api, DWORD flags) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return;
  ItemSetRawById(ctx, kItem_zdmUIModeChange, 0);
  CtxSetPresentUIMode(ctx, 0);
  if (ctx->ui) ctx->ui->changeFlags &= ~kChangePaperSizesLoaded;
  if (!(flags & kApiDmCurrent)) {
    if (flags & kApiDmRebuild) {
      ItemSetRawById(ctx, kItem_zdmUseUserMacro, 0);
      ItemSetRawById(ctx, kItem_zdmUserPrintMacro, 0);
    } else if ((flags & kApiDmDefaults) && ApiLevel(api) < 6 && Read(ctx, kItem_zdmUseUserMacro) == 1) {
      const LONG macro = Read(ctx, kItem_zdmUserPrintMacro);
      if (macro >= 32 && macro <= 39) {
        static const WORD kPlanes[] = {kItem_zdmPlaneUseCMYKCyan, kItem_zdmPlaneUseCMYKMagenta,
                                       kItem_zdmPlaneUseCMYKYellow, kItem_zdmPlaneUseCMYKBlack};
        LONG planes[4] = {};
        CtxSnapshotPush(ctx);
        QualityApplySlot(ctx, static_cast<int>(macro - 32));
        for (int i = 0; i < 4; ++i) planes[i] = Read(ctx, kPlanes[i]);
        CtxSnapshotPop(ctx, TRUE);
        for (int i = 0; i < 4; ++i) ItemSetRawById(ctx, kPlanes[i], planes[i]);
      }
    }
    ApiNotifyPaperChange(api, 1);
  }
}

int ApiNeedsResolution600(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || Read(ctx, kItem_zdmMachineID) != kMachine600Rule) return 0;
  if (!PaperResolutionCheck(ctx)) return 1;
  if (!ItemHasDuplexUnit(ctx) || Read(ctx, kItem_zdmFuncSelectDuplex) == 0 || Read(ctx, kItem_zdmDstResolutionBoth) != 4)
    return 0;
  const bool cf = Read(ctx, kItem_zdmOutOptionSupportCFUnit) != 0 && Read(ctx, kItem_zdmOutputOptionTypeCFUnit) != 0;
  return Read(ctx, kItem_zdmPrinterMemory) == (cf ? kMemoryWithCfUnit : kMemoryPlain) ? 1 : 0;
}

int ApiMergeStoredDevmode(ApiContext* api, const void* devmode) {
  DriverContext* ctx = ApiDriverCtx(api);
  BYTE* block = ctx ? CtxGetSettings(ctx) : nullptr;
  if (!block) return 1;
  LONG kept[4] = {};
  bool keep[4] = {};
  for (int i = 0; i < 4; ++i)
    if (SwitchRestricted(api, kKeptKinds[i].sw)) {
      keep[i] = true;
      kept[i] = Read(ctx, kKeptKinds[i].kind);
    }
  const bool adjust = Read(ctx, kItem_zdmAdjustMode) == 1;
  if (adjust) ItemSetRawById(ctx, kItem_zdmAdjustMode, 0);
  BYTE* own = nullptr;
  const void* merge = devmode;
  if (!merge) {
    own = static_cast<BYTE*>(MemAllocZero(kDmSize));
    if (!own) {
      if (adjust) ItemSetRawById(ctx, kItem_zdmAdjustMode, 1);
      return 0;
    }
    memcpy(own, block, kDmSize);
    merge = own;
  }
  SHORT width = 0, length = 0;
  if (merge) {
    const auto* dm = static_cast<const DEVMODEW*>(merge);
    const DWORD both = DM_PAPERLENGTH | DM_PAPERWIDTH;
    // A caller's public part must reach the paper fields before they are read.
    if (dm->dmSize >= offsetof(DEVMODEW, dmScale) && (dm->dmFields & both) == both && dm->dmPaperWidth &&
        dm->dmPaperLength) {
      width = dm->dmPaperWidth;
      length = dm->dmPaperLength;
    }
  }
  MergeDevmode(ctx, merge, devmode ? kMergeGiven : kMergeOwnCopy);
  block = CtxGetSettings(ctx);
  if (width && length && block) {
    auto* dm = reinterpret_cast<DEVMODEW*>(block);
    dm->dmFields = (dm->dmFields | DM_PAPERLENGTH | DM_PAPERWIDTH) & ~static_cast<DWORD>(DM_PAPERSIZE);
    dm->dmPaperWidth = width;
    dm->dmPaperLength = length;
  }
  RunNodeTransacts(api, kItem_zdmMediaType);
  MemFree(own);
  if (adjust) ItemSetRawById(ctx, kItem_zdmAdjustMode, 1);
  for (int i = 0; i < 4; ++i)
    if (keep[i] && SwitchRestricted(api, kKeptKinds[i].sw)) ItemSetRawById(ctx, kKeptKinds[i].kind, kept[i]);
  ItemSetRawById(ctx, kItem_dmCollate, Read(ctx, kItem_zdmFuncSelectSort) != 0 ? 1 : 0);
  return 1;
}

LONG ApiGetDevmode(ApiContext* api, DWORD flags, void* buffer) { return Retrieve(api, flags, buffer, nullptr, false); }

LONG ApiGetDevmodeEx(ApiContext* api, DWORD flags, void* buffer, const void* input) {
  if (flags & (kApiDmRebuild | kApiDmDefaults | kApiDmCurrent)) return ApiGetDevmode(api, flags, buffer);
  return Retrieve(api, flags, buffer, input, true);
}
