// The job strings across documents and resets, and the output-size adjustment of the job.
#include "gr2k/job_strings.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/devmode/dm_convert.h"
#include "core/devmode/dm_merge.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/store/font_tables.h"
#include "core/store/item_store.h"

namespace {

// The strings DrvStartDoc keeps, each with the longest text it keeps.
struct KeptString {
  WORD id;
  size_t longest;
};
const KeptString kKept[] = {
    {kItem_zdmUserID, 8},        {kItem_zdmUserCode, 8},       {kItem_zdmOwnerName, 16}, {kItem_zdmDocumentName, 16},
    {kItem_zdmJOBPassword, 8},   {kItem_zdmStoredPassword, 8}, {kItem_zdmTelNo, 64},
};
constexpr size_t kKeptBytes = 65;

// The items a reset copies, in this order.
const WORD kCopied[] = {kItem_zdmUserCode,         kItem_zdmOwnerName,          kItem_zdmJOBPassword,
                        kItem_zdmUserID,           kItem_zdmDocumentName,       kItem_zdmTelNo,
                        kItem_zdmTelLine,          kItem_zdmStoredPassword,     kItem_wdmAuthenticationUserName,
                        kItem_wdmAuthenticationNetworkKey, kItem_wdmAuthenticationPassword};

constexpr int kModuleEventOutputSize = 37;
constexpr short kCollateTrue = 1;  // DMCOLLATE_TRUE
// The open kind of a context whose settings a document re-established.
constexpr DWORD kOpenKindJobDocument = 0x20000;
constexpr DWORD kDriverDevmodeBytes = 220 + 1016;

LONG Raw(DriverContext* ctx, WORD id) { return LONG(ItemGetRawById(ctx, id)); }

// The item's narrow text when it is at most longest bytes; false (text empty) otherwise.
bool ReadKept(DriverContext* ctx, WORD id, size_t longest, char* text) {
  text[0] = 0;
  SettingItem* item = ItemFind(ctx, id);
  const BYTE* value = item && ctx->settings ? ItemStorageIn(ctx->settings, item) : nullptr;
  if (!value) return false;
  size_t size = ItemDescSize(item->descriptor);
  size_t n = strnlen(reinterpret_cast<const char*>(value), size);
  if (n > longest || n >= kKeptBytes) return false;
  memcpy(text, value, n);
  text[n] = 0;
  return true;
}

bool Symbolic(LONG outPaper) { return outPaper >= 1024 && outPaper <= 1028; }

// The duplex condition of the fit: duplex on with a duplex type outside 1-3.
bool OddDuplex(DriverContext* ctx) {
  LONG type = Raw(ctx, kItem_zdmDuplexType);
  return Raw(ctx, kItem_zdmFuncSelectDuplex) != 0 && (type < 1 || type > 3);
}

const WORD kSetItems[3] = {kItem_zdmOutPaperSize, kItem_zdmFuncSelectScale, kItem_zdmScaleType};

void SaveSet(DriverContext* ctx, int set) {
  UiState::OutputSizeSet& s = ctx->ui->outputSizeSets[set];
  for (int i = 0; i < 3; ++i) s.values[i] = Raw(ctx, kSetItems[i]);
  s.marked = 1;
}

void ApplySymbolic(DriverContext* ctx) {
  short code = ItemSymbolicPaperSize(ctx);
  ItemSetRawById(ctx, kItem_zdmOutPaperSize, code);
  DmApplyOutputPaperCore(ctx);
}

// Minimal: the list of papers allowed for a symbolic output size is not built; the symbolic
// size's own paper is taken as the one allowed.
bool PaperAllowedForOutputSize(DriverContext* ctx, LONG paper) { return paper == ItemSymbolicPaperSize(ctx); }

// Where an item's bytes lie in a DEVMODE: a whole value; for a bit item its bit (bytes 0) or
// that many whole bytes from the bit's byte.
struct DmSpan {
  UINT offset;
  UINT size;
  BYTE mask;  // 0: whole bytes
};
bool SpanOf(WORD id, UINT bytes, DmSpan* span) {
  const ItemTemplateRow* row = TblItemTemplateRow(id);
  if (!row || ItemDescArea(row->descriptor) != ItemAreaDevmode) return false;
  UINT type = ItemDescType(row->descriptor);
  span->mask = 0;
  if (ItemTypeIsBit(type)) {
    span->offset = row->areaOffset + ItemBitByte(type);
    span->size = bytes ? bytes : 1;
    if (!bytes) span->mask = BYTE(1u << ItemBitIndex(type));
  } else {
    span->offset = row->areaOffset;
    span->size = ItemDescSize(row->descriptor);
  }
  return span->offset + span->size <= kDriverDevmodeBytes;
}

void TakeSpan(BYTE* to, const BYTE* from, const DmSpan& span) {
  if (span.mask)
    to[span.offset] = BYTE((to[span.offset] & ~span.mask) | (from[span.offset] & span.mask));
  else
    memcpy(to + span.offset, from + span.offset, span.size);
}

struct TakenField {
  WORD id;
  BYTE bytes;  // bit items: whole bytes from the bit's byte, 0 for the bit alone
};
// Taken from the new job: print area, orientation, paper, copies and scale.
const TakenField kTaken[] = {{173, 0}, {7, 0}, {8, 0}, {12, 0}, {89, 0}, {90, 0}};
// With the old output paper 1024: output paper, source, both media types and output tray.
const TakenField kTakenOutput[] = {{46, 0}, {13, 0}, {29, 0}, {54, 0}, {53, 0}};
// Then image and colour handling, quality and macros, fonts, smoothing and toner saving (the
// byte of zdmCharBlack, of the plane-use bits 144-151 and of zdmUseUserMacro, the word of the
// quality bits 153-168).
const TakenField kTakenLater[] = {
    {174, 0}, {175, 0}, {193, 0}, {130, 0}, {133, 0}, {131, 0}, {132, 0}, {128, 0}, {129, 0}, {134, 0},
    {135, 1}, {136, 0}, {137, 0}, {138, 0}, {139, 0}, {140, 0}, {141, 0}, {142, 0}, {143, 0}, {144, 1},
    {152, 0}, {153, 2}, {176, 1}, {177, 0}, {178, 0}, {179, 0}, {180, 0}, {181, 0}, {182, 0}, {196, 0},
    {199, 0}, {68, 0},  {200, 0}, {603, 0}, {604, 0}, {605, 0}, {606, 0},
};

}  // namespace

void JobStoreText(DriverContext* ctx, WORD id, const char* text) {
  SettingItem* item = ItemFind(ctx, id);
  if (!item || !text) return;
  UINT size = ItemDescSize(item->descriptor);
  if (!size || size > 4096) return;
  BYTE* copy = static_cast<BYTE*>(MemAllocZero(size));
  if (!copy) return;
  size_t n = strnlen(text, size - 1);
  memcpy(copy, text, n);
  ItemSetRaw(ctx, item, reinterpret_cast<LONG_PTR>(copy));
  MemFree(copy);
}

BOOL JobKeepStrings(DriverContext* ctx, const DEVMODEW* devmode, DWORD cbDevmode, DWORD mergeFlags, HANDLE printer,
                    DWORD jobId) {
  if (!ctx || !ctx->ui) return TRUE;
  char kept[sizeof kKept / sizeof kKept[0]][kKeptBytes];
  for (size_t i = 0; i < sizeof kKept / sizeof kKept[0]; ++i) ReadKept(ctx, kKept[i].id, kKept[i].longest, kept[i]);
  LONG telLine = Raw(ctx, kItem_zdmTelLine);
  ctx->ui->openKind = kOpenKindJobDocument;
  // The reload makes the font tables anew: the ones in force go first.
  StoreFreeFontTables(ctx);
  StoreLoadAtOpenNoWriteBack(ctx);
  DmMergeIntoContextSized(ctx, devmode, devmode ? cbDevmode : kDmUnknownLength, mergeFlags);
  JobFitOutputSize(ctx);
  BidiSetCallSource(ctx);
  for (size_t i = 0; i < sizeof kKept / sizeof kKept[0]; ++i)
    if (kept[i][0]) JobStoreText(ctx, kKept[i].id, kept[i]);
  ItemSetRawById(ctx, kItem_zdmTelLine, telLine);
  if (JobAuthGate(ctx)) JobAuthClient(printer, ctx, jobId, 0x389F);
  ItemSetRawById(ctx, kItem_zdmFunc2SelectPreviewFlag, 1);
  return TRUE;
}

BOOL JobCopyStrings(DriverContext* from, DriverContext* to) {
  if (!from || !to || !from->settings || !to->settings) return FALSE;
  for (WORD id : kCopied) {
    SettingItem* source = nullptr;
    LONG_PTR value = ItemGetRawById(from, id, &source);
    SettingItem* target = ItemFind(to, id);
    if (source && target) ItemSetRaw(to, target, value);
  }
  return TRUE;
}

int JobCompareDevmodes(const DEVMODEW* oldDm, DEVMODEW* newDm) {
  if (!oldDm || !newDm) return FALSE;
  // Only copies of the driver's own full size are compared: a shorter one would be read past its
  // end, and the new copy then stays whole.
  if (DWORD(oldDm->dmSize) + oldDm->dmDriverExtra != kDriverDevmodeBytes ||
      DWORD(newDm->dmSize) + newDm->dmDriverExtra != kDriverDevmodeBytes)
    return FALSE;
  const BYTE* o = reinterpret_cast<const BYTE*>(oldDm);
  BYTE* n = reinterpret_cast<BYTE*>(newDm);
  DmSpan duplex = {};
  if (!SpanOf(kItem_zdmFuncSelectDuplex, 0, &duplex)) return FALSE;
  BYTE mask = duplex.mask ? duplex.mask : 0xFF;
  if (oldDm->dmColor != newDm->dmColor || oldDm->dmPrintQuality != newDm->dmPrintQuality ||
      ((o[duplex.offset] ^ n[duplex.offset]) & mask) != 0)
    return FALSE;
  BYTE scratch[kDriverDevmodeBytes];
  memcpy(scratch, o, kDriverDevmodeBytes);
  auto take = [&](const TakenField* fields, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      DmSpan span = {};
      if (SpanOf(fields[i].id, fields[i].bytes, &span)) TakeSpan(scratch, n, span);
    }
  };
  take(kTaken, sizeof kTaken / sizeof kTaken[0]);
  DmSpan outPaper = {};
  if (SpanOf(kItem_zdmOutPaperSize, 0, &outPaper)) {
    LONG old = 0;
    memcpy(&old, o + outPaper.offset, outPaper.size < sizeof old ? outPaper.size : sizeof old);
    if (old == 1024) take(kTakenOutput, sizeof kTakenOutput / sizeof kTakenOutput[0]);
  }
  take(kTakenLater, sizeof kTakenLater / sizeof kTakenLater[0]);
  memcpy(n, scratch, kDriverDevmodeBytes);
  return TRUE;
}

void JobFitOutputSize(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings) return;
  const DEVMODEW* dm = reinterpret_cast<const DEVMODEW*>(ctx->settings);
  if (!(dm->dmFields & DM_COLLATE))
    ItemSetRawById(ctx, kItem_zdmFuncSelectSort, 0);
  else if (dm->dmCollate == kCollateTrue)
    ItemSetRawById(ctx, kItem_zdmFuncSelectSort, 1);
  LONG front = Raw(ctx, kItem_zdmFrontFunc);
  if (front & 0x08) JobFitOutputSize1(ctx);
  if (front & 0x20) JobFitOutputSize2(ctx);
  ModBusSendEvent(ctx, kModuleEventOutputSize, nullptr);
}

void JobFitOutputSize1(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !Symbolic(Raw(ctx, kItem_zdmOutPaperSize))) return;
  if (!ItemOutputFitApplies(ctx)) {
    ctx->ui->outputSizeSets[0].marked = 0;
    return;
  }
  SaveSet(ctx, 0);
  ApplySymbolic(ctx);
  if (Raw(ctx, kItem_zdmFuncSelectNup) == 0 && !OddDuplex(ctx)) {
    ItemSetRawById(ctx, kItem_zdmFuncSelectScale, 1);
    ItemSetRawById(ctx, kItem_zdmScaleType, 2);
  }
}

void JobFitOutputSize2(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !Symbolic(Raw(ctx, kItem_zdmOutPaperSize))) return;
  if (ItemOutputFitApplies(ctx)) {
    ctx->ui->outputSizeSets[1].marked = 0;
    return;
  }
  SaveSet(ctx, 1);
  if (!PaperAllowedForOutputSize(ctx, Raw(ctx, 8))) return;
  ApplySymbolic(ctx);
  bool scaled = Raw(ctx, kItem_zdmFuncSelectScale) != 0 && Raw(ctx, kItem_zdmScaleType) != 2;
  if (Raw(ctx, kItem_zdmFuncSelectNup) == 0 && !OddDuplex(ctx) && !scaled) {
    ItemSetRawById(ctx, kItem_zdmFuncSelectScale, 1);
    ItemSetRawById(ctx, kItem_zdmScaleType, 1);
  }
}

void JobOutputSizeBeforeDevmode(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  LONG front = Raw(ctx, kItem_zdmFrontFunc);
  for (int set = 0; set < 2; ++set) {
    const UiState::OutputSizeSet& s = ctx->ui->outputSizeSets[set];
    if (!(front & (set ? 0x20 : 0x08)) || !s.marked) continue;
    for (int i = 0; i < 3; ++i) ItemSetRawById(ctx, kSetItems[i], s.values[i]);
  }
}

void JobOutputSizeAfterDevmode(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  LONG front = Raw(ctx, kItem_zdmFrontFunc);
  for (int set = 0; set < 2; ++set) {
    if (!(front & (set ? 0x20 : 0x08)) || !ctx->ui->outputSizeSets[set].marked) continue;
    if (set)
      JobFitOutputSize2(ctx);
    else
      JobFitOutputSize1(ctx);
    ctx->ui->outputSizeSets[set].marked = 0;
  }
}
