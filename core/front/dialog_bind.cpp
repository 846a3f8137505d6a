// Binding a context's dialog tables: every control gets its setting item and its model
// description, and the adjustments the tables cannot express wire controls and items together
// (shared storage, shared symbols, refresh classes, behaviour flags). Also a control's
// initialisation when its window exists.
#include <string.h>

#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/modules/chapter_records.h"
#include "core/store/free_size_store.h"
#include "core/store/preset_store.h"
#include "core/store/settings_stores.h"
#include "core/system/settings_folders.h"
#include "core/common/ini_access.h"

namespace {

// Items whose stores re-initialise the finishing and layout lists: classes 0x10000, 0x20000
// and 0x1000000 (the staple, punch and fold type lists). The staple type itself (121) is one:
// the punch and fold lists offer what the staple position leaves possible.
constexpr WORD kListClassItems[] = {7,     8,     13,    46,    54,    55,    56,    58,    78,    91,    94,
                                    121,   209,   511,   10013, 10014, 10018, 10020, 10021, 10023, 10047, 10048, 10049,
                                    10056, 10057, 10058, 10059, 10062, 10066, 10067, 10068, 10069, 10070, 10290};
constexpr WORD kListClassFirstRange = 10143, kListClassLastRange = 10206;
constexpr DWORD kListClasses = 0x1030000;
constexpr WORD kDisplayLengthItems[] = {96, 97, 98, 99, 691, 692};
constexpr WORD kTrayListClassItems[] = {10062, 10070};

struct ControlFlag {
  WORD controlId;
  DWORD flags;
};
// Refresh classes that replace a control's flags.
constexpr ControlFlag kReplacedFlags[] = {
    {2032, 0x100000}, {2041, 0x100000}, {2100, 0x10000}, {2102, 0x20000}, {2895, 0x1000000}};
constexpr WORD kSaveNewPresetControls[] = {2038, 2080, 2097, 2115, 2715, 2923, 3115};
constexpr WORD kNoArrowStepControls[] = {2263, 2266, 2269, 2272, 2274, 2276, 2322, 2325, 2328, 2344, 2419,
                                         2421, 2470, 2602, 2649, 2935, 2953, 2956, 2965, 3031, 3034, 3037};
constexpr WORD kLimit260Controls[] = {2341, 2586};
constexpr WORD kKeepBlankControls[] = {2243, 2423, 2532, 2988, 2996, 2999, 3003, 3006, 3058, 3059, 3107};
constexpr WORD kPictureListControls[] = {2085, 2087, 2100, 2102, 2895, 2941, 2457};
constexpr WORD kNoStaleRefillControls[] = {2164, 2036, 2078, 2095, 2921, 3112, 2109, 2713, 2134, 2384};

// {dialog, control} takes the symbol of {dialog, control}.
struct SharedSymbol {
  WORD dialog, control, fromDialog, fromControl;
};
constexpr SharedSymbol kSharedSymbols[] = {
    {1003, 2078, 1002, 2036}, {1004, 2095, 1002, 2036}, {4016, 2921, 1002, 2036}, {4030, 3112, 1002, 2036},
    {1005, 2109, 1002, 2036}, {1042, 2713, 1002, 2036}, {1001, 2408, 1007, 2145}, {1032, 2452, 1007, 2145},
    {1032, 2453, 1007, 2146}, {1033, 2455, 1021, 2281}, {4004, 2385, 4004, 2289}, {4004, 2384, 4004, 2290},
    {1009, 2385, 1009, 2380}, {1009, 2384, 1009, 2382},
};
// Name edits that store at the offset of the preset-name edit 2145 of dialog 1007.
constexpr DlgControlPair kPresetNameEdits[] = {{1002, 2388}, {1003, 2389}, {1004, 2390}, {1005, 2391},
                                            {4016, 2924}, {4030, 3113}, {1042, 2733}};
// Custom-size inch edits and spins of dialog 1017 that share the millimetre ones' storage.
constexpr WORD kInchEdits[][2] = {{2392, 2220}, {2393, 2221}, {2394, 2224}, {2395, 2225}};
// Work items that share the storage of a settings item.
constexpr WORD kSharedStorage[][2] = {
    {kItem_wdmNUPType, kItem_zdmNUPType},
    {kItem_wdmDuplexType, kItem_zdmDuplexType},
    {kItem_wdmPunchType, kItem_zdmPunchType},
    {kItem_wdmStapleType, kItem_zdmStapleType},
    {kItem_wdmFoldType, kItem_zdmFoldType},
    {kItem_wdmCopyProtectTileMask, kItem_zdmCopyProtectTileMask},
    {kItem_wdmPaperFreeSizeOrient2, kItem_zdmPaperFreeSizeOrient},
    {kItem_wdmPaperFreeSizeOrient3, kItem_zdmPaperFreeSizeOrient},
    {kItem_wdmPrintFreeSizeOrient2, kItem_zdmPrintFreeSizeOrient},
    {kItem_wdmPrintFreeSizeOrient3, kItem_zdmPrintFreeSizeOrient},
    {kItem_wdmFreeSizeOrient2, kItem_wdmFreeSizeOrient},
    {kItem_wdmFreeSizeOrient3, kItem_wdmFreeSizeOrient},
};
// The built-in value list of the preset number: stored -1 -> 118, stored n -> 119 + n.
constexpr ItemValueEntry kPresetNoValues[] = {
    {0xFFFFFFFFu, 118, 0}, {0, 119, 0},  {1, 120, 0},  {2, 121, 0},  {3, 122, 0},  {4, 123, 0},
    {5, 124, 0},           {6, 125, 0},  {7, 126, 0},  {8, 127, 0},  {9, 128, 0},  {10, 129, 0},
    {11, 130, 0},          {12, 131, 0}, {13, 132, 0}, {14, 133, 0}, {15, 134, 0}, {0, 0, 0},
};
// Colour-sample items a 0 word of its extension stands for: zdmBrightness .. zdmColorBalanceB.
constexpr WORD kColourSampleDefaults[] = {138, 139, 140, 141, 142, 143};

template <typename T, size_t N>
bool Listed(const T (&list)[N], WORD id) {
  for (const T& entry : list)
    if (entry == id) return true;
  return false;
}

// Every control of every page, with its page.
template <typename Fn>
void ForEachControl(DriverContext* ctx, Fn fn) {
  if (!ctx || !ctx->pages) return;
  for (int p = 0; p < ctx->pages->count; ++p) {
    DlgPageRecord* page = &ctx->pages->rows[p];
    for (int c = 0; c < page->controlCount; ++c) fn(page, &page->controls[c]);
  }
}

DlgControlRecord* ControlOn(DriverContext* ctx, WORD dialogId, WORD controlId) {
  DlgPageRecord* page = PageFind(ctx, dialogId);
  return page ? CtlFind(ctx, page, controlId) : nullptr;
}

SettingItem* ItemOfControl(DriverContext* ctx, WORD dialogId, WORD controlId) {
  DlgControlRecord* control = ControlOn(ctx, dialogId, controlId);
  return control ? ItemFindBySymbol(ctx, control->symbolId) : nullptr;
}

// The description of a control's symbol: its item's descriptor in the model (descriptions are
// keyed by item symbols), else the control's own symbol's.
const ModelItemDescriptor* DescriptionOf(DriverContext* ctx, WORD symbol) {
  if (!symbol) return nullptr;
  SettingItem* item = ItemFindBySymbol(ctx, symbol);
  if (item && item->symbolId) return ModelDescriptorOf(ctx, item->symbolId);
  return ModelDescriptorOf(ctx, symbol);
}

void SetItemClasses(DriverContext* ctx) {
  if (!ctx->items) return;
  for (int i = 0; i < ctx->items->count; ++i) ctx->items->rows[i].changeClasses = 0;
  for (WORD id : kListClassItems)
    if (SettingItem* item = ItemFind(ctx, id)) item->changeClasses = kListClasses;
  for (WORD id = kListClassFirstRange; id <= kListClassLastRange; ++id)
    if (SettingItem* item = ItemFind(ctx, id)) item->changeClasses = kListClasses;
  for (WORD id : kDisplayLengthItems)
    if (SettingItem* item = ItemFind(ctx, id)) item->changeClasses |= kCtlDisplayLength;
  for (WORD id : kTrayListClassItems)
    if (SettingItem* item = ItemFind(ctx, id)) item->changeClasses |= 0x100000;
}

void SetControlFlags(DriverContext* ctx) {
  const LONG_PTR propertyType = ItemGetValueById(ctx, kItem_zdmPropertyType);
  ForEachControl(ctx, [&](DlgPageRecord* page, DlgControlRecord* control) {
    const WORD id = control->controlId;
    for (const ControlFlag& row : kReplacedFlags)
      if (row.controlId == id) control->flags = row.flags;
    if (Listed(kSaveNewPresetControls, id)) control->flags |= kCtlSavesNewPreset;
    if (Listed(kNoArrowStepControls, id)) control->flags |= kCtlNoArrowSteps;
    if (Listed(kLimit260Controls, id)) control->flags |= kCtlLimit260;
    if (Listed(kKeepBlankControls, id) || (id == 2667 && page->dialogId == 1039)) control->flags |= kCtlKeepBlanks;
    if (propertyType == 0 && ((page->dialogId == 1025 && id == 2361) || (page->dialogId == 4027 && id == 3085)))
      control->flags |= kCtlSecretEvent;
    if (control->type == 47 && Listed(kPictureListControls, id)) control->flags |= kCtlPictureItems;
    if (control->type >= 42 && control->type <= 49 && Listed(kNoStaleRefillControls, id))
      control->flags |= kCtlNoStaleRefill;
    if (page->dialogId == 4031 && control->lockMessage) control->lockState |= 1;
  });
}

void SetPresetNoList(DriverContext* ctx) {
  SettingItem* items[2] = {ItemFind(ctx, kItem_zdmPresetNo), ItemOfControl(ctx, 1007, 2139)};
  for (SettingItem* item : items)
    if (item && item->refs) item->refs->values = kPresetNoValues;
}

void ShareSymbols(DriverContext* ctx) {
  for (const SharedSymbol& row : kSharedSymbols) {
    DlgControlRecord* to = ControlOn(ctx, row.dialog, row.control);
    DlgControlRecord* from = ControlOn(ctx, row.fromDialog, row.fromControl);
    if (to && from) to->symbolId = from->symbolId;
  }
}

void ShareStorage(DriverContext* ctx) {
  // The preset name and comment edits are stored with the presets.
  static const WORD kPresetTextEdits[] = {2145, 2146};
  for (WORD controlId : kPresetTextEdits)
    if (SettingItem* item = ItemOfControl(ctx, 1007, controlId))
      item->state = static_cast<WORD>((item->state & ~0x000C) | ItemPersistPreset);
  if (SettingItem* name = ItemOfControl(ctx, 1007, 2145))
    for (const DlgControlPair& row : kPresetNameEdits)
      if (SettingItem* item = ItemOfControl(ctx, row.dialogId, row.controlId))
        item->areaOffset = name->areaOffset;
  for (const auto& pair : kInchEdits) {
    SettingItem* to = ItemOfControl(ctx, 1017, pair[0]);
    SettingItem* from = ItemOfControl(ctx, 1017, pair[1]);
    if (to && from) {
      to->descriptor = from->descriptor;
      to->areaOffset = from->areaOffset;
    }
  }
  for (const auto& pair : kSharedStorage) {
    SettingItem* to = ItemFind(ctx, pair[0]);
    SettingItem* from = ItemFind(ctx, pair[1]);
    if (to && from) {
      to->descriptor = from->descriptor;
      to->areaOffset = from->areaOffset;
    }
  }
}

// The colour sample's and the watermark picture's item words, copied into this context's own
// records and given to their controls.
void BindExtensions(DriverContext* ctx) {
  DlgEngineState& state = ctx->ui->dialog;
  if (DlgControlRecord* sample = ControlOn(ctx, 1038, 2249)) {
    const WORD* source = static_cast<const WORD*>(sample->extension);
    if (source && source != state.colourSample && source[0] == 1) {
      memcpy(state.colourSample, source, sizeof state.colourSample);
      for (int i = 0; i < 6; ++i) {
        WORD& word = state.colourSample[3 + i];
        if (!word) {
          word = kColourSampleDefaults[i];
          continue;
        }
        SettingItem* item = nullptr;
        if (DlgControlRecord* named = CtlFind(ctx, nullptr, word)) item = ItemFindBySymbol(ctx, named->symbolId);
        word = item ? item->id : 0;
      }
    }
    if (state.colourSample[0] == 1) sample->extension = state.colourSample;
  }
  if (DlgControlRecord* picture = ControlOn(ctx, 1002, 2039)) {
    const WORD* source = static_cast<const WORD*>(picture->extension);
    if (source && source != state.watermarkPicture && source[0] == 8) {
      memcpy(state.watermarkPicture, source, sizeof state.watermarkPicture);
      for (int i = 1; i < kCtlExtWatermarkWords; ++i) {
        WORD& word = state.watermarkPicture[i];
        SettingItem* item = word ? ItemFindBySymbol(ctx, word) : nullptr;
        word = item ? item->id : 0;
      }
      state.watermarkPicture[2] = kItem_wdmWmFontName;
    }
    if (state.watermarkPicture[0] == 8) {
      ForEachControl(ctx, [&](DlgPageRecord* page, DlgControlRecord* control) {
        if (control->controlId == 2039 || (page->dialogId == 1001 && control->controlId == 2001) ||
            (page->dialogId == 1007 && control->controlId == 2139))
          control->extension = state.watermarkPicture;
      });
    }
  }
}

void LoadPresetTexts(DriverContext* ctx) {
  const LONG slot = static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmPresetNo)) - kPresetFirstLogical;
  if (slot < 0 || slot >= kPresetSlots) return;
  const WCHAR* file = PathSettingsFile(ctx);
  const WCHAR* section = ctx->ui->printerName;
  if (!file) return;
  WCHAR key[40], text[520];
  char* name = PresetNameBuf(ctx);
  char* comment = PresetCommentBuf(ctx);
  if (name) {
    IniReadString(section, PresetKeyName(key, 40, slot, 1), TEXT(""), text, 520, file);
    StrWideToAnsi(name, text, 37);
  }
  if (comment) {
    IniReadString(section, PresetKeyName(key, 40, slot, 2), TEXT(""), text, 520, file);
    StrWideToAnsi(comment, text, 513);
  }
}

void SelectWatermark(DriverContext* ctx) {
  const LONG_PTR on = ItemGetValueById(ctx, kItem_zdmFuncSelectWaterMark);
  const LONG_PTR id = ItemGetValueById(ctx, kItem_zdmWmID);
  const LONG_PTR kind = ItemGetValueById(ctx, kItem_zdmWmKind);
  const bool stored = id >= 0 && id < StampGetCount(ctx);
  if (on && stored && kind >= 1 && kind <= 3) {
    StampSelect(ctx, static_cast<int>(id));
    ItemSetRawById(ctx, kItem_zdmWmID, id);
  } else if (!on || !stored) {
    ItemSetRawById(ctx, kItem_zdmFuncSelectWaterMark, 0);
    ItemSetRawById(ctx, kItem_zdmWmID, 0);
  }
}

void ClearAllChangeMarks(DriverContext* ctx) {
  if (!ctx->items) return;
  for (int i = 0; i < ctx->items->count; ++i) ctx->items->rows[i].state &= static_cast<WORD>(~ItemStateChangeMask);
}

}  // namespace

void DlgSetBuiltinFlags(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  SetItemClasses(ctx);
  SetControlFlags(ctx);
  SetPresetNoList(ctx);
  ShareSymbols(ctx);
  ShareStorage(ctx);
  BindExtensions(ctx);
}

void DlgBindControls(DriverContext* ctx, DlgPageRecord* page) {
  if (!ctx || !ctx->ui || !ctx->pages) return;
  if (ItemGetValueById(ctx, kItem_wdmUIStart) == 0) {
    SettingItem* start = nullptr;
    ItemGetValueById(ctx, kItem_wdmUIStart, &start);
    if (start) {
      ItemSetRaw(ctx, start, 1);
      start->state &= static_cast<WORD>(~ItemStateChangeMask);
    }
  }
  if (!ctx->ui->chapterArray) {
    ChapterArray(ctx, nullptr);
    StoreLoadModuleItems(ctx);
  }
  DlgEngineState& state = ctx->ui->dialog;
  if (state.bound) return;
  DlgPageRecord* probe = page ? page : (ctx->pages->count > 0 ? &ctx->pages->rows[0] : nullptr);
  if (probe)
    for (int c = 0; c < probe->controlCount; ++c)
      if (probe->controls[c].descriptor) return;

  DlgSetBuiltinFlags(ctx);
  ForEachControl(ctx, [&](DlgPageRecord* on, DlgControlRecord* control) {
    control->item = ItemFindBySymbol(ctx, control->symbolId);
    WORD symbol = control->symbolId;
    if (control->type == 23 && control->partner)
      if (DlgControlRecord* partner = CtlFind(ctx, on, control->partner)) symbol = partner->symbolId;
    control->descriptor = ctx->modelImage ? DescriptionOf(ctx, symbol) : nullptr;
    if (!control->aliasId) control->aliasId = control->controlId;
  });
  // Only the refresh classes: the confirm-button requests and the other words stay.
  CtxClearChangeFlags(ctx, kChangeRefreshClasses);
  FreeSizeLoadAll(ctx);
  LoadPresetTexts(ctx);
  SelectWatermark(ctx);
  if (ItemGetValueById(ctx, kItem_zdmUseUserMacro) == 1)
    QualityApplySlot(ctx, static_cast<int>(ItemGetValueById(ctx, kItem_zdmUserPrintMacro)) - 32);
  ctx->ui->modified = 0;
  ClearAllChangeMarks(ctx);
  // The context's own level, pushed once: a binding that ran again inside a sub-dialog (a page
  // without descriptions, a context without model description) must not put a level between
  // the sub-dialog's push and its pop, or the sub-dialog's Cancel would restore the wrong one.
  if (!state.bindingPushed) {
    CtxSnapshotPush(ctx);
    state.bindingPushed = 1;
  }
  // Bound for good once the model description was there to bind; a page of controls without
  // descriptions no longer makes the whole table bind again.
  if (ctx->modelImage) state.bound = 1;
}

int CtlInitControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  if (!ctx || !control) return 0;
  if (ModBusRouteControl(ctx, page, control, WM_INITDIALOG, 0, 0)) return 0;
  const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
  if (!type) return 0;
  if (type->windowProc && !control->savedWindowProc && control->window) {
    WNDPROC old = WuiSubclass(control->window, type->windowProc);
    control->savedWindowProc = reinterpret_cast<void*>(old);
    WuiSetSlot(control->window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(control));
  }
  if (type->init) type->init(type, ctx, page, control);
  return 0;
}
