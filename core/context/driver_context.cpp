// Opening, parking and destroying driver contexts, and the static context template.
#include "core/context/driver_context.h"

#include <string.h>

#include "core/bind/job_control.h"
#include "core/common/mem.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/devmode/settings_defaults.h"
#include "core/tables/build_switches.h"
#include "core/context/context_cache.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_cache.h"
#include "core/rules/judge_eval.h"
#include "core/tables/model_record.h"
#include "core/context/module_bus.h"
#include "core/context/settings_snapshot.h"
#include "core/tables/symbol_table.h"
#include "core/context/ui_state.h"
#include "core/tables/value_symbols.h"
#include "core/front/dialog_records.h"
#include "core/front/ui_busy.h"
#include "core/store/font_tables.h"
#include "core/install/install_ini.h"
#include "core/store/item_store.h"

namespace {

constexpr DWORD kJobItemsMask = 0x389E;
constexpr DWORD kUserCodeMask = 0x0001;

template <typename T>
T* AllocZero(size_t n = 1) {
  return static_cast<T*>(MemAllocZero(sizeof(T) * n));
}

// Frees the font tables that the initial-settings copy owns.
void FreeInitialFontTables(DriverContext* ctx) { CtxFreeFontTables(ctx, CtxInitialSettingsBlock(ctx)); }

DlgPageTable* CopyPageTable(const DlgPageTable* from) {
  if (!from || from->count <= 0 || !from->rows) return nullptr;
  DlgPageTable* table = AllocZero<DlgPageTable>();
  if (!table) return nullptr;
  table->rows = AllocZero<DlgPageRecord>(from->count);
  if (!table->rows) {
    MemFree(table);
    return nullptr;
  }
  table->count = from->count;
  for (SHORT i = 0; i < from->count; ++i) {
    DlgPageRecord& page = table->rows[i];
    page = from->rows[i];
    page.controls = nullptr;
    if (from->rows[i].controls && page.controlCount) {
      page.controls = AllocZero<DlgControlRecord>(page.controlCount);
      if (page.controls)
        memcpy(page.controls, from->rows[i].controls, sizeof(DlgControlRecord) * page.controlCount);
      else
        page.controlCount = 0;  // a page without its controls shows nothing rather than the template's
    }
  }
  return table;
}

void FreePageTable(DlgPageTable* table) {
  if (!table) return;
  if (table->rows)
    for (SHORT i = 0; i < table->count; ++i) MemFree(table->rows[i].controls);
  MemFree(table->rows);
  MemFree(table);
}

// ---- the static template ----
BYTE g_zeroSettings[kSettingsBlockSize];
UiState g_uiTemplate;  // all fields start at zero

DriverContext MakeTemplate() {
  DriverContext t = {};
  t.items = ItemTableCreate();  // lives for the process: every lookup through the template uses it
  t.pages = const_cast<DlgPageTable*>(TblGetPageTable());
  t.symbols = TblSymbolAt(0);
  t.valueSymbols = TblValueSymbolAt(0, 0);
  t.valueSymbols2 = TblValueSymbolAt(1, 0);
  t.messages = TblMessageAt(nullptr, 0);
  t.model = const_cast<ModelRecord*>(TblGetModelRecord());
  t.settings = g_zeroSettings;
  t.ui = &g_uiTemplate;
  return t;
}

// Steps of the open that the template copy does not cover.
bool PrepareUiState(DriverContext* ctx, WORD flags, DWORD kind, const PRINTER_INFO_2W* info) {
  UiState* ui = AllocZero<UiState>();
  if (!ui) return false;
  *ui = *TblGetContextTemplate()->ui;
  ctx->ui = ui;
  ui->jobControl = JcBlock{};
  ui->onServer = 0;
  ui->attributesKnown = 0;
  ui->attributes = 0;
  ui->printerName[0] = 0;
  ui->driverName[0] = 0;
  ui->front.gdiObjects[0] = ui->front.gdiObjects[1] = nullptr;
  ui->front.acquiredSettings = nullptr;
  ui->useGlobalMutex = (flags & kOpenNoGlobalMutex) ? 0 : 1;
  ui->checkAdministrator = (flags & kOpenNoAdminCheck) ? 0 : 1;
  ui->openMode = flags & kOpenModeMask;
  ui->openKind = kind;
  PrnCachePrinterInfo(info, ctx);
  const WORD mode = ui->openMode;
  if (mode == 0 || mode == 1 || mode == 3) PrnGetDriverName(ctx);
  const ModelVariant* variant = ModelFindVariant(ctx->model, ui->driverName);
  ui->variantCapMask = variant ? variant->capabilityMask : 0;
  if (BuildGetVariant().installedLangCode) BuildGetVariant().installedLangCode(ctx);
  ui->initialSettings = static_cast<BYTE*>(MemAllocZero(kSettingsBlockSize));
  if (BuildHasFeature(ctx, 2)) ui->lockDefaults = static_cast<BYTE*>(MemAllocZero(kSettingsBlockSize));
  ModBusLoad(ctx);
  return true;
}

// The printer interface alone pushes the identification values an installer left waiting.
void PushPendingInstallValues(DriverContext* ctx) {
  const WCHAR* ini = InstIniPath(ctx);
  const WCHAR* printerName = PrnGetPrinterName(ctx);
  if (!InstGetDrvInstSet(ini, printerName)) return;
  JcLoadJobItems(ctx, kJobItemsMask);
  JcPushPropertiesUi(ctx, kJobItemsMask);
  if (StoreReadItemDefaultName(ctx->printer, ctx, ItemFind(ctx, kItem_zdmUserCode)))
    JcPushPropertiesUi(ctx, kUserCodeMask);
  InstSetDrvInstSet(ini, printerName, 0);
}

DriverContext* Build(HANDLE printer, HANDLE second, WORD flags, DWORD kind, const PRINTER_INFO_2W* info) {
  const DriverContext* tmpl = TblGetContextTemplate();
  DriverContext* ctx = AllocZero<DriverContext>();
  if (!ctx) return nullptr;
  *ctx = *tmpl;
  ctx->printer = printer;
  ctx->secondHandle = second;
  ctx->settings = nullptr;
  ctx->modelImage = nullptr;
  ctx->ui = nullptr;
  ctx->languageDll = ctx->commonDll = nullptr;

  ctx->items = ItemTableCreate();
  ctx->pages = CopyPageTable(tmpl->pages);
  ctx->model = AllocZero<ModelRecord>();
  if (ctx->model) *ctx->model = *tmpl->model;
  if (!PrepareUiState(ctx, flags, kind, info)) {
    CtxDestroy(ctx, kReleaseExpired);
    return nullptr;
  }

  const WORD mode = ctx->ui->openMode;
  if (mode >= kOpenModeBare) return ctx;

  ctx->modelImage = ModelLoadImage(ctx);
  if (!ctx->modelImage) {
    CtxDestroy(ctx, kReleaseExpired);
    return nullptr;
  }
  // Without a stack the open goes on: every judge on the context is then false.
  ModelAllocEvalStack(ctx);

  // A settings block that cannot be built leaves the context as bare as modes 4 and above;
  // item access on it touches no memory.
  ctx->settings = DmBuildDefault(ctx, mode);
  if (ctx->settings) {
    if (mode == kOpenModeFull || (flags & kOpenLoadPersisted)) {
      if (BuildGetVariant().loadAtOpen) BuildGetVariant().loadAtOpen(ctx);
    }
    if (mode == kOpenModeFull && BuildGetVariant().openHasInstallStep) PushPendingInstallValues(ctx);
    CtxKeepInitialSettings(ctx);
  }
  return ctx;
}

}  // namespace

DriverContext* TblGetContextTemplate() {
  // The template's item table goes when the library is unloaded, so that a host that loads
  // and frees the driver again and again does not leak one table per load.
  struct Holder {
    DriverContext tmpl = MakeTemplate();
    ~Holder() {
      ItemTableFree(tmpl.items);
      tmpl.items = nullptr;
    }
  };
  static Holder holder;
  return &holder.tmpl;
}

DriverContext* CtxOpen(HANDLE printer, HANDLE second, void* reserved, WORD flags, DWORD kind, LONG fMode,
                       PRINTER_INFO_2W* info) {
  if (UiBusyFlag) kind |= kKindBusy;
  PRINTER_INFO_2W* fetched = nullptr;
  if (!info) info = fetched = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(printer, 2));
  if (kind & kKindLegacy) kind = (kind & ~kKindLegacy) | kKindLegacyRecorded;

  DriverContext* ctx = CtxCacheFind(info, printer, reserved, flags, kind, fMode);
  if (!ctx) ctx = Build(printer, second, flags, kind, info);
  MemFree(fetched);
  return ctx;
}

DriverContext* CtxOpenByKind(HANDLE printer, HANDLE second, void* reserved, DWORD kind) {
  return CtxOpen(printer, second, reserved, 0, kind, 0, nullptr);
}
DriverContext* CtxOpenWithMode(HANDLE printer, HANDLE second, void* reserved, WORD flags, DWORD kind,
                               PRINTER_INFO_2W* info) {
  return CtxOpen(printer, second, reserved, flags, kind, 0, info);
}
DriverContext* CtxOpenFromInfo(HANDLE printer, HANDLE second, void* reserved, DWORD kind, PRINTER_INFO_2W* info) {
  return CtxOpen(printer, second, reserved, 0, kind, 0, info);
}
DriverContext* CtxOpenFromInfoWithMode(HANDLE printer, HANDLE second, void* reserved, DWORD kind, LONG fMode,
                                 PRINTER_INFO_2W* info) {
  return CtxOpen(printer, second, reserved, 0, kind, fMode, info);
}

void CtxRelease(DriverContext* ctx, WORD reason) {
  if (!ctx) return;
  if ((reason == kReleasePark || reason == kReleaseParkCaps) && CtxCacheRelease(ctx, reason)) return;
  CtxDestroy(ctx, reason);
}

void CtxClose(DriverContext* ctx) { CtxRelease(ctx, kReleasePark); }
void CtxCloseWithReason(DriverContext* ctx, WORD reason) { CtxRelease(ctx, reason); }

void CtxDestroy(DriverContext* ctx, WORD reason) {
  if (!ctx) return;
  UiState* ui = ctx->ui;
  // Each pointer is cleared as its block goes, so that whatever runs later in the teardown
  // (the modules' destroy event) finds nothing rather than freed memory.
  FreeInitialFontTables(ctx);
  CtxSnapshotFreeAll(ctx);  // needs the item table to find each level's font tables
  if (ui && ui->front.acquiredSettings) {
    // A document sheet's acquired-settings copy owns font tables of its own.
    CtxFreeFontTables(ctx, ui->front.acquiredSettings);
    MemFree(ui->front.acquiredSettings);
    ui->front.acquiredSettings = nullptr;
  }
  if (ui) {
    MemFree(ui->initialSettings);
    ui->initialSettings = nullptr;
    MemFree(ui->lockDefaults);
    ui->lockDefaults = nullptr;
  }
  // Reason 1 leaves the current settings' font tables to whoever took them over.
  if (reason == kReleasePark || reason == kReleaseParkCaps || reason == kReleaseExpired) StoreFreeFontTables(ctx);
  ResFreeDlls(ctx);
  ModelFreeEvalStack(ctx);
  ItemTableFree(ctx->items);
  ctx->items = nullptr;
  if (ctx->pages != TblGetContextTemplate()->pages) FreePageTable(ctx->pages);
  ctx->pages = nullptr;
  MemFree(ctx->model);
  ctx->model = nullptr;
  MemFree(ctx->settings);
  ctx->settings = nullptr;
  if (ui) {
    MemFree(ui->logicalValueBuffer);
    ui->logicalValueBuffer = nullptr;
  }
  ModBusFree(ctx);
  MemFree(ui);
  MemFree(ctx);
}

void CtxKeepInitialSettings(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings || !ctx->ui->initialSettings) return;
  BYTE* initial = ctx->ui->initialSettings;
  // The copy being replaced owns its own font tables: freed first, or each keep leaks them.
  CtxFreeFontTables(ctx, initial);
  memcpy(initial, ctx->settings, kSettingsBlockSize);
  CtxDuplicateFontTables(ctx, initial);
}

DWORD CtxTickCount() { return GetTickCount(); }

