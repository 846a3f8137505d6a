// Merging a caller's DEVMODE into a context's settings, and the identity tests.
#include "core/devmode/dm_merge.h"

#include <string.h>

#include "core/bind/job_control.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/devmode/dm_convert.h"
#include "core/devmode/dm_fields.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/field_merge.h"
#include "core/devmode/option_block.h"
#include "core/devmode/paper_codes.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/rules/transacts.h"
#include "core/install/driver_identity.h"
#include "core/store/free_size_store.h"
#include "core/store/item_store.h"
#include "core/store/lock_data.h"
#include "core/system/printer_names.h"
#include "core/tables/build_switches.h"
#include "core/tables/model_record.h"

namespace {

WORD Read16(const void* p, UINT off) {
  WORD v;
  memcpy(&v, static_cast<const BYTE*>(p) + off, 2);
  return v;
}
DWORD Read32(const void* p, UINT off) {
  DWORD v;
  memcpy(&v, static_cast<const BYTE*>(p) + off, 4);
  return v;
}
void Write32(void* p, UINT off, DWORD v) { memcpy(static_cast<BYTE*>(p) + off, &v, 4); }

enum IdentityPart : UINT { kTag = 1, kSize = 2, kVersion = 4, kMachine = 8, kDriverType = 16 };

// The private part of the DEVMODE reaches through the driver type at 811 and the fields
// around it (offset 814).
constexpr UINT kIdentityEnd = 814;

int Identity(const void* dm, UINT parts) {
  if (!dm) return 0;
  if (Read16(dm, kDmOffSize) != kDmPublicSize) return 0;
  if (kDmPublicSize + Read16(dm, kDmOffDriverExtra) < kIdentityEnd) return 0;
  const ModelRecord* record = TblGetModelRecord();
  if ((parts & kTag) && DmGetPrivateTag(dm) != record->privateTag) return 0;
  if ((parts & kSize) && DmGetPrivateSize(dm) != kDmPrivateSize) return 0;
  if ((parts & kVersion) && DmGetPrivateVersion(dm) != record->layoutVersion) return 0;
  if ((parts & kMachine) && DmGetMachineId(dm) != record->modelCode) return 0;
  if (parts & kDriverType) {
    // The record's driver-type rule: 0 and 1 ask for that type, any other rule takes all.
    const int rule = record->modelSubCode;
    if ((rule == 0 || rule == 1) && DmGetDriverType(dm) != rule) return 0;
  }
  return 1;
}

// The environment flags the merge keeps from the context (items 706-711, 714, 718, 720-722).
constexpr UINT kKeptFlags[] = {kEnvCallSrc,  kEnvOSKind,      kEnvBatchInst, kEnvPrintLog,
                               kEnvBiDirect, kEnvNoPermission, kEnvServerClientMode,
                               kEnvPropertyType, kEnvTSE,      kEnvAdmin,     kEnvBidiFunc};

struct SavedFields {
  BYTE flags[sizeof(kKeptFlags) / sizeof(kKeptFlags[0])];
  int lockPrnMethod;
  DWORD frontFunc;
  DWORD support2;
};

void SaveFields(const BYTE* dm, DWORD flags, SavedFields* saved) {
  for (size_t i = 0; i < sizeof(kKeptFlags) / sizeof(kKeptFlags[0]); ++i)
    saved->flags[i] = dm[kDmOffEnvFlags + kKeptFlags[i]];
  saved->lockPrnMethod = DmGetLockPrnMethod(dm);
  saved->frontFunc = DmGetFrontFunc(dm);
  saved->support2 = (flags & kMergeKeepNotifyBits) ? DmGetSupportFunc2Bits(dm) : 0;
}

void RestoreFields(DriverContext* ctx, DWORD flags, const SavedFields& saved) {
  BYTE* dm = ctx->settings;
  for (size_t i = 0; i < sizeof(kKeptFlags) / sizeof(kKeptFlags[0]); ++i)
    dm[kDmOffEnvFlags + kKeptFlags[i]] = saved.flags[i];
  if (BuildHasFeature(ctx, 2) && ItemGetRawById(ctx, kItem_zdmLock000InfoBitPrintType) != 0 &&
      ItemGetRawById(ctx, kItem_zdmFunc2SelectPreviewFlag) == 0 && !(flags & kMergeKeepLockPrnMethod)) {
    DmSetLockPrnMethod(dm, saved.lockPrnMethod);
  }
  DmSetFrontFunc(dm, static_cast<int>(saved.frontFunc));
  if (flags & kMergeKeepNotifyBits) {
    DmSetSupportJobComplete(dm, static_cast<int>(saved.support2));
    DmSetSupportJobErr(dm, static_cast<int>(saved.support2));
  }
}

// Step 3 at level 1: the working copy is upgraded in the context's place.
bool UpgradeWorkingCopy(DriverContext* ctx, BYTE* work) {
  BYTE* saved = static_cast<BYTE*>(MemAllocZero(kDmSize));
  if (!saved) return false;
  memcpy(saved, ctx->settings, kDmSize);
  memcpy(ctx->settings, work, kDmSize);
  DmUpgradeVersion(ctx->settings, ctx);
  memcpy(work, ctx->settings, kDmSize);
  memcpy(ctx->settings, saved, kDmSize);
  MemFree(saved);
  return true;
}

void RunEveryTransact(DriverContext* ctx) {
  if (!ctx->items || !ctx->items->rows) return;
  for (SHORT i = 0; i < ctx->items->count; ++i) {
    const ModelItemDescriptor* desc = ModelFindDescriptor(ctx->items->rows[i].id, ctx);
    if (desc) ModelRunItemTransacts(desc, ctx);
  }
}

}  // namespace

int DmIsOwnDevmode(const void* dm) { return Identity(dm, kTag | kSize | kVersion | kMachine | kDriverType); }
int DmIsOwnDevmodeAnyVersion(const void* dm) { return Identity(dm, kTag | kSize | kMachine | kDriverType); }
int DmIsSameModelDevmode(const void* dm) { return Identity(dm, kTag | kMachine | kDriverType); }

int DmTrustLevel(const void* dm) {
  if (DmIsOwnDevmode(dm)) return 0;
  if (!DmIsSameModelDevmode(dm)) return 2;
  switch (DmCheckVersion(dm)) {
    case 0: return 0;
    case 1: return 1;
    default: return 2;
  }
}

int DmMergeIntoContext(DriverContext* ctx, const void* dm, DWORD flags) {
  return DmMergeIntoContextSized(ctx, dm, kDmUnknownLength, flags);
}

int DmMergeIntoContextSized(DriverContext* ctx, const void* dm, DWORD known, DWORD flags) {
  // 1. The gate, the flags and the work prompt.
  if (!(flags & (kMergeGate | kMergeGateSheets))) return 1;
  if (!ctx || !ctx->settings || !ctx->ui) return 0;
  ctx->ui->mergeFlags = flags;
  if (!(flags & kMergeFromSettingsFile))
    ItemSetRawById(ctx, kItem_wdmCtrlWorkPrompt, (flags & kMergeWorkPrompt) ? 1 : 0);

  // 2. The working copy.
  BYTE* work = static_cast<BYTE*>(MemAllocZero(kDmSize));
  if (!work) return 0;
  memcpy(work, ctx->settings, kDmSize);

  // 3. The incoming DEVMODE over it, trusted as far as it deserves.
  if (dm) {
    DmCopyDevmodeSized(dm, known, work);
    switch (DmTrustLevel(work)) {
      case 0:
        break;
      case 1:
        if (!UpgradeWorkingCopy(ctx, work)) {
          MemFree(work);
          return 0;
        }
        break;
      default:
        memcpy(work + kDmOffPrivate, ctx->settings + kDmOffPrivate, kDmPrivateSize);
        break;
    }
  }

  // 4. The option-request block.
  if (DmVariantHas(kDmStepOptionBlock) && BuildIsCommonDriver()) DmApplyOptionBlock(ctx, work);
  flags = ctx->ui->mergeFlags;

  // 5-7. The private part replaces the context's, keeping what the context knows of its
  // environment.
  SavedFields saved;
  SaveFields(ctx->settings, flags, &saved);
  memcpy(ctx->settings + kDmOffPrivate, work + kDmOffPrivate, kDmPrivateSize);
  // A same-model DEVMODE is taken whole even when its header names another private size or a
  // newer layout; the context's header must still say what this driver wrote, or the next open
  // refuses the stored copy.
  Write32(ctx->settings, kDmOffPrivateSize, kDmPrivateSize);
  Write32(ctx->settings, kDmOffLayoutVersion, TblGetModelRecord()->layoutVersion);
  DmStampSizeWords(ctx->settings);
  RestoreFields(ctx, flags, saved);

  // 8. Quality and hidden-2 bits from the model defaults; the hidden-2 word is written whole,
  // so that its upper half survives.
  BYTE* own = ctx->settings;
  const int textBitmap = ModelGetItemDefault(kItem_zdmQualityFuncTextBitmapSupport, ctx) != 0;
  DmSetQualityFuncBits(own, (DmGetQualityFuncBits(own) & ~0x2000) | (textBitmap << 13));
  if (ModelGetItemDefault(kItem_wdmCustomFunc1, ctx) != 0)
    Write32(own, kDmOffHidden2Bits, Read32(own, kDmOffHidden2Bits) | 0x80u);

  // 9. Image-form jobs.
  if ((flags & kMergeImageFormReset) && ItemGetRawById(ctx, kItem_wdmImageFormJob) != 0) {
    ItemSetRawById(ctx, kItem_zdmFuncSelectScale, 0);
    ItemSetRawById(ctx, kItem_zdmOutPaperSize, 1024);
    ItemSetRawById(ctx, kItem_zdmExtOutput2A4Fit, 0);
  }

  // 10. Lock data.
  if (BuildHasFeature(ctx, 2) && (flags & kMergeLoadMask) &&
      !(DmVariantHas(kDmStepLockDataNot9x) && OsIsWin9x())) {
    StoreLoadLockData(ctx->printer, ctx);
    if (PrnIsOnServer(ctx)) {
      ModBusSendEvent(ctx, 60, nullptr);
      ModBusSendEvent(ctx, 59, nullptr);
    }
  }

  // 11. Public fields.
  DmMergePublicFields(ctx->settings, work, ctx);

  // 12. Companion products.
  if (DmVariantHas(kDmStepRetestCompanions)) {
    CtxSetJBInstalled(ctx, InstIsCompanionInstalled(2, ctx) ? 1 : 0);
    CtxSetPLInstalled(ctx, InstIsCompanionInstalled(8, ctx) ? 1 : 0);
  }

  // 13. Job-control properties.
  if ((flags & kMergeWorkPrompt) && DmVariantHas(kDmStepJobControlFetch)) JcFetchPropertiesOnce(ctx, 0x389F);

  // 14. Persisted device settings.
  if (!(flags & kMergeFromSettingsFile) && (flags & kMergeLoadMask))
    StoreLoadPersistedItems(ctx->printer, ctx, 2, 0, nullptr);

  // 15-16. Public fields into the items.
  DmApplyPublicFieldsToItems(ctx->settings, work, ctx);
  // The modules may change the merge's flags: they get the UI state's word, and the later
  // steps read that word.
  ModBusSendEvent(ctx, 52, &ctx->ui->mergeFlags);
  ItemSetRawById(ctx, kItem_wdmUIStart, 0);

  // 17. Transacts.
  flags = ctx->ui->mergeFlags;
  if (flags & kMergeRepairMask) RunEveryTransact(ctx);

  // 18. Derived settings, or the custom paper and the output paper.
  if (flags & (kMergeOptionApplied | kMergeWorkPrompt)) {
    DmRecomputeDerived(ctx->settings, ctx, 2);
  } else {
    const LONG paper = static_cast<SHORT>(ItemGetRawById(ctx, kItem_dmPaperSize));
    const int slot = PaperSlotOfCode(paper);
    if (slot >= 0) {
      FreeSizeLoadAll(ctx);
      FreeSizeLoadSlot(ctx, slot);
    }
    DmApplyOutputPaper(static_cast<short>(ItemGetRawById(ctx, kItem_zdmOutPaperSize)), kItem_zdmOutPaperSize, ctx,
                       ctx->settings);
  }

  // 19.
  MemFree(work);
  return 1;
}
