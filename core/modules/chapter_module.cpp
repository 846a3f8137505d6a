// The chapter module's answers to the module bus: the store's item offers, the tray events of
// the acquisition, the chapter limits, persistence with the settings and settings files, and
// the copies kept across settings snapshots.
#include <string.h>

#include "core/bind/bidi_acquire.h"
#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/front/dialog_records.h"
#include "core/items/control_states.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/modules/chapter_dialogs.h"
#include "core/modules/chapter_records.h"
#include "core/modules/module_rows.h"
#include "core/store/item_store.h"

namespace {

enum : int {
  kEventSaveOffer = 4,
  kEventLoadOffer = 5,
  kEventRowOffer = 6,
  kEventTrayKind = 8,
  kEventTrayFunc = 9,
  kEventTrayLists = 10,
  kEventRecheckTrays = 11,
  kEventLoadModuleItems = 12,
  kEventPublicFields = 13,
  kEventClassLoaded = 18,
  kEventClassSaved = 23,
  kEventFileTransfer = 24,
  kEventDialogClosed = 25,
};

constexpr WORD kChapterDialog = 1044;
constexpr DWORD kFileRead = 1, kFileWrite = 2, kFilePresetGroup = 4, kFileText = 8;
constexpr WORD kPersistGroupBits = 0x000C;  // item state bits 2-3

// Argument of event 24.
struct FileTransferDone {
  DWORD flags;
  LPCWSTR path;
};
// Argument of event 25.
struct DialogClosed {
  DlgPageRecord* page;
  DlgControlRecord* control;
  DWORD button;
};

// The chapters of each snapshot level, so that a restoring pop brings back the chapters of
// its own push however many pushes came between.
struct ChapterCopy {
  ChapterRecord* records;
  DWORD count;
};
struct ChapterCopies {
  LONG levels;
  ChapterCopy* level;
};

ChapterCopies** CopiesSlot(void* data) { return static_cast<ChapterCopies**>(data); }

void FreeCopies(void* data) {
  if (!data) return;
  ChapterCopies* copies = *CopiesSlot(data);
  if (copies) {
    for (LONG i = 0; i < copies->levels; ++i) MemFree(copies->level[i].records);
    MemFree(copies->level);
    MemFree(copies);
  }
  *CopiesSlot(data) = nullptr;
}

// The copy slot of snapshot level depth (1 = the first push), made when missing.
ChapterCopy* CopyOfLevel(void* data, LONG depth) {
  if (!data || depth <= 0) return nullptr;
  ChapterCopies* copies = *CopiesSlot(data);
  if (!copies) {
    copies = static_cast<ChapterCopies*>(MemAllocZero(sizeof(ChapterCopies)));
    if (!copies) return nullptr;
    *CopiesSlot(data) = copies;
  }
  if (copies->levels < depth) {
    auto* grown = static_cast<ChapterCopy*>(MemAllocZero(sizeof(ChapterCopy) * static_cast<DWORD>(depth)));
    if (!grown) return nullptr;
    if (copies->level) memcpy(grown, copies->level, sizeof(ChapterCopy) * static_cast<DWORD>(copies->levels));
    MemFree(copies->level);
    copies->level = grown;
    copies->levels = depth;
  }
  return &copies->level[depth - 1];
}

void SaveForSnapshot(DriverContext* ctx, void* data) {
  DWORD records = 0;
  ChapterRecord* array = ChapterArray(ctx, &records);
  ChapterCopy* copy = CopyOfLevel(data, CtxSnapshotDepth(ctx));
  if (!array || !copy) return;
  if (copy->count != records) {
    MemFree(copy->records);
    copy->count = 0;
    copy->records = static_cast<ChapterRecord*>(MemAllocZero(sizeof(ChapterRecord) * records));
    if (!copy->records) return;
    copy->count = records;
  }
  memcpy(copy->records, array, sizeof(ChapterRecord) * records);
}

void RestoreFromSnapshot(DriverContext* ctx, void* data) {
  if (!data || !*CopiesSlot(data)) return;
  ChapterCopies* copies = *CopiesSlot(data);
  // The pop has already taken the level off: the level it restored is one above the depth.
  const LONG level = CtxSnapshotDepth(ctx) + 1;
  if (level > copies->levels) return;
  ChapterCopy& copy = copies->level[level - 1];
  if (!copy.records) return;
  DWORD records = 0;
  ChapterRecord* array = ChapterArray(ctx, &records);
  if (!array) return;
  const DWORD n = copy.count < records ? copy.count : records;
  memcpy(array, copy.records, sizeof(ChapterRecord) * n);
  if (records > n) memset(array + n, 0, sizeof(ChapterRecord) * (records - n));
  MemFree(copy.records);
  copy.records = nullptr;
  copy.count = 0;
}

void TransferWithFile(DriverContext* ctx, const FileTransferDone* done) {
  if (!done || !ItemFind(ctx, kItem_wdmChapterNum)) return;
  SettingItem* count = ItemFind(ctx, kItem_wdmChapterNum);
  const bool presetGroup = (count->state & kPersistGroupBits) != 0;
  const DWORD f = done->flags;
  const bool read = f == kFileRead || (f == (kFilePresetGroup | kFileRead) && presetGroup) ||
                    f == (kFileText | kFileRead);
  const bool write = f == kFileWrite || (f == (kFilePresetGroup | kFileWrite) && presetGroup);
  if (read) ChapterLoadAll(ctx, done->path, f);
  if (write) ChapterSaveAll(ctx, done->path);
}

// The events every deliverable's chapter module answers alike; -1 for the others.
int CommonEvent(DriverContext* ctx, int event, void* argument) {
  switch (event) {
    case kEventSaveOffer:
    case kEventLoadOffer: {
      auto* offer = static_cast<StoreItemOffer*>(argument);
      if (!offer || !offer->row || ChapterIsChapterItem(offer->row)) return 0;
      offer->reply = 1;
      return 1;
    }
    case kEventRowOffer:
      return 0;
    case kEventTrayKind: {
      auto* ask = static_cast<BidiTrayKindEvent*>(argument);
      if (ask) ask->answer = static_cast<DWORD>(ChapterTestTrayFlags(ask->flags, ask->kind));
      return 1;
    }
    case kEventTrayFunc: {
      auto* func = static_cast<BidiTrayFuncEvent*>(argument);
      if (func) ChapterSetDefaultTray(ctx, func->flags, func->trayValue, func->functions);
      return 1;
    }
    case kEventLoadModuleItems: {
      const int result = ChapterLoadLimitsOnce(ctx);
      if (argument) *static_cast<DWORD*>(argument) = static_cast<DWORD>(result);
      return 1;
    }
    case kEventPublicFields:
      ChapterRefreshIfUsed(ctx);
      return 1;
    case kEventClassLoaded:
    case kEventClassSaved: {
      auto* done = static_cast<StoreClassDone*>(argument);
      if (done && done->itemClass == kStoreClassWork && done->modeOrFlags == 2) {
        if (event == kEventClassLoaded)
          ChapterLoadAll(ctx, nullptr, 0);
        else
          ChapterSaveAll(ctx, nullptr);
      }
      return 0;
    }
    case kEventFileTransfer:
      TransferWithFile(ctx, static_cast<const FileTransferDone*>(argument));
      return 0;
    default:
      return -1;
  }
}

}  // namespace

int ChapterHandleEvent(DriverContext* ctx, int event, void* argument, void* data) {
  switch (event) {
    case kEventCreate:
      if (data) *CopiesSlot(data) = nullptr;
      return 0;
    case kEventDestroy:
      FreeCopies(data);
      return 0;
    case kEventTrayLists:
      ChapterResetDefaultTrays(ctx);
      return 1;
    case kEventRecheckTrays:
      ChapterRecheckTrays(ctx, FALSE);
      return 1;
    case kEventControlRestricted: {
      auto* query = static_cast<CtlRestrictedQuery*>(argument);
      if (!query || !ChapterDeleteRestricted(ctx, query->page, query->control)) return 0;
      query->answered = 1;
      return 1;
    }
    case kEventDialogClosed: {
      auto* closed = static_cast<DialogClosed*>(argument);
      if (!closed || !closed->page || closed->page->dialogId != kChapterDialog || !ctx || !ctx->ui) return 0;
      if (closed->button == 1) ChapterTraySummary(ctx);
      if (closed->button == 2) ItemSetRawById(ctx, kItem_wdmChapterNum, ctx->ui->chapterNotedCount);
      return 0;
    }
    case kEventSnapshotPushed:
      SaveForSnapshot(ctx, data);
      return 0;
    case kEventSnapshotRestored:
      RestoreFromSnapshot(ctx, data);
      return 0;
    default: {
      const int result = CommonEvent(ctx, event, argument);
      return result < 0 ? 0 : result;
    }
  }
}

int ChapterHandleEventExclusion(DriverContext* ctx, int event, void* argument, void*) {
  switch (event) {
    case kEventTrayLists:
      ChapterResetDefaultTrays(ctx);
      return 1;
    case kEventRecheckTrays:
      ChapterRecheckTrays(ctx, TRUE);
      return 1;
    default: {
      const int result = CommonEvent(ctx, event, argument);
      return result < 0 ? 0 : result;
    }
  }
}

int ChapterHandleEventGraphics(DriverContext* ctx, int event, void* argument, void*) {
  switch (event) {
    case kEventTrayLists:
      return 1;  // the job's settings keep the chapter trays they came with
    case kEventRecheckTrays:
      ChapterRecheckTrays(ctx, FALSE);
      return 1;
    default: {
      const int result = CommonEvent(ctx, event, argument);
      return result < 0 ? 0 : result;
    }
  }
}

int ChapterHandleNotify(DriverContext* ctx, WORD code, void* data) {
  if (ChapterDialogNotify(ctx, code)) return 1;
  return ChapterHandleNotifyMedia(ctx, code, data);
}

int ChapterHandleNotifyMedia(DriverContext* ctx, WORD code, void*) {
  static const WORD kMediaItems[] = {kItem_zdmCoverMediaType, kItem_zdmBackCoverMediaType, kItem_zdmMPInputMediaType,
                                     kItem_zdmChapterMediaType, kItem_zdmReverseCoverMediaType};
  if (code < 303 || code > 307) return 0;
  ChapterSyncMediaTypes(ctx, kMediaItems[code - 303]);
  return 1;
}
