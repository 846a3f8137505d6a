// Trays, paper, media and installed options from the printer's answers (information 1, 20, 21,
// 23 and 2), with the UI modules taking part through events 8, 9, 10 and 21.
#include <string.h>

#include "core/bind/bidi_acquire.h"
#include "core/bind/bidi_answers.h"
#include "core/bind/bidi_codes.h"
#include "core/common/mem.h"
#include "core/context/module_bus.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/items/item_values.h"
#include "core/model/model_setters.h"
#include "core/install/default_packs.h"

namespace {

constexpr DWORD kInfoTrays = 1;
constexpr DWORD kInfoOptions = 2;
constexpr DWORD kInfoTrayPaper = 20;
constexpr DWORD kInfoTrayMedia = 21;
constexpr DWORD kInfoTrayFlags = 23;

constexpr WORD kIdMediaType = 54;
constexpr WORD kIdBidiFunc = 722;
constexpr WORD kIdCoverDefTray = 10276;
constexpr WORD kIdMPDefTray = 10277;
constexpr WORD kIdReverseCoverDefTray = 10288;
constexpr WORD kIdChapterSep1 = 10285;

// Tray flag word (information 23).
constexpr DWORD kFlagLocked = 1u << 0;
constexpr DWORD kFlagCover = 1u << 2;
constexpr DWORD kFlagMultiPurpose = 1u << 3;
constexpr DWORD kFlagReverseCover = 1u << 9;

// Bits of the acquired-functions mask.
constexpr BYTE kFuncCover = 0x01;
constexpr BYTE kFuncMultiPurpose = 0x02;
constexpr BYTE kFuncSeparator[3] = {0x04, 0x08, 0x10};
constexpr BYTE kFuncReverseCover = 0x40;

constexpr DWORD kTrayCodeDefault = 3;

// Sets an item that exists; 0 ids and missing items are left alone.
void SetIfItem(DriverContext* ctx, WORD id, LONG_PTR value) {
  if (id && ItemFind(ctx, id)) ItemSetRawById(ctx, id, value);
}

// A value the item's own list does not offer becomes 0; an item without a list takes any.
WORD KeepIfListed(DriverContext* ctx, WORD id, WORD value) {
  SettingItem* row = ItemFind(ctx, id);
  if (!row || !ItemValueList(row)) return value;
  return ItemIsStoredValueListed(ctx, row, value) ? value : 0;
}

}  // namespace

int BidiApplyTrayInfo(const BidiFuncTable* table, HANDLE query, DriverContext* ctx) {
  if (!ctx) return 0;
  DWORD details = 0;
  ModBusSendEvent(ctx, kBidiEventAskDetails, &details);
  const bool batch = InstHasBatchPack(ctx) != 0;

  BidiAnswer trays;
  switch (trays.ReadInformation(table, query, kInfoTrays, 0)) {
    case BidiRead::kNoMemory:
      return 0;
    case BidiRead::kRead:
      break;
    default:
      return 1;
  }
  // The count never goes beyond what the list's bytes hold.
  const DWORD n = trays.BoundedCount();

  BidiAnswer papers, medias, flagWords;
  if (details) {
    BidiAnswer* lists[] = {&papers, &medias, &flagWords};
    const DWORD codes[] = {kInfoTrayPaper, kInfoTrayMedia, kInfoTrayFlags};
    for (int k = 0; k < 3; ++k) {
      BidiRead r = lists[k]->ReadInformation(table, query, codes[k], 0);
      if (r == BidiRead::kNoMemory) return 0;
      if (r != BidiRead::kRead) return 1;
    }
    if (!batch) ModBusSendEvent(ctx, kBidiEventTrayLists, nullptr);
  }

  // Candidate lists of the default trays, at most one entry per tray.
  DWORD* candidates = n ? static_cast<DWORD*>(MemAllocZero(3 * n * sizeof(DWORD))) : nullptr;
  if (n && !candidates) return 0;
  DWORD* cover = candidates;
  DWORD* multiPurpose = candidates ? candidates + n : nullptr;
  DWORD* reverseCover = candidates ? candidates + 2 * n : nullptr;
  DWORD coverCount = 0, multiPurposeCount = 0, reverseCoverCount = 0;
  DWORD separators[3] = {0, 0, 0};
  BYTE functions = 0;

  for (DWORD i = 0; i < n; ++i) {
    const DWORD code = trays.Word(i);
    SetIfItem(ctx, BidiMapTrayField(code), 1);
    if (!details) continue;
    // Per-tray lists shorter than the tray list read as 0 for the trays they miss.
    const DWORD paperCode = papers.Word(i), mediaCode = medias.Word(i), flags = flagWords.Word(i);

    DWORD orientation = 0;
    const WORD paperItem = BidiMapTrayPaper(code);
    WORD paper = BidiMapPaperCode(paperCode, &orientation);
    if (paperItem) paper = KeepIfListed(ctx, paperItem, paper);
    SetIfItem(ctx, paperItem, paper);
    SetIfItem(ctx, BidiMapTrayOrient(code), orientation);

    WORD media = KeepIfListed(ctx, kIdMediaType, BidiMapMediaCode(mediaCode));
    SetIfItem(ctx, BidiMapTrayMedia(code), media ? media : 1);

    const WORD lockItem = BidiMapTrayLock(code);
    SetIfItem(ctx, lockItem, (flags & kFlagLocked) ? 1 : 0);

    if (batch) continue;
    for (DWORD kind = 1; kind <= 3; ++kind) {
      BidiTrayKindEvent ask = {flags, kind, 0};
      ModBusSendEvent(ctx, kBidiEventTrayKind, &ask);
      // Trays without a lock item have no place in the masks.
      if ((ask.answer & 0xFFFF) && lockItem && ItemFind(ctx, lockItem))
        separators[kind - 1] |= 1u << (lockItem - kBidiTrayLockBase);
    }
    if (flags & kFlagCover) cover[coverCount++] = code;
    if (flags & kFlagMultiPurpose) multiPurpose[multiPurposeCount++] = code;
    if (flags & kFlagReverseCover) reverseCover[reverseCoverCount++] = code;

    BidiTrayKindEvent own = {flags, 0, 0};
    ModBusSendEvent(ctx, kBidiEventTrayKind, &own);
    if (own.answer & 0xFFFF) {
      BidiTrayFuncEvent func = {flags, BidiMapTrayCode(code), &functions};
      ModBusSendEvent(ctx, kBidiEventTrayFunc, &func);
    }
  }

  if (details && !batch) {
    auto preferred = [](const DWORD* codes, DWORD count) {
      DWORD code = count ? BidiPickPreferredTray(codes, count) : 0;
      return BidiMapTrayCode(code ? code : kTrayCodeDefault);
    };
    SetIfItem(ctx, kIdCoverDefTray, preferred(cover, coverCount));
    SetIfItem(ctx, kIdMPDefTray, preferred(multiPurpose, multiPurposeCount));
    SetIfItem(ctx, kIdReverseCoverDefTray, preferred(reverseCover, reverseCoverCount));
    if (coverCount) functions |= kFuncCover;
    if (multiPurposeCount) functions |= kFuncMultiPurpose;
    if (reverseCoverCount) functions |= kFuncReverseCover;
    for (int k = 0; k < 3; ++k) {
      if (separators[k]) functions |= kFuncSeparator[k];
      SetIfItem(ctx, WORD(kIdChapterSep1 + k), LONG_PTR(separators[k]));
    }
  }
  if (details) SetIfItem(ctx, kIdBidiFunc, functions);
  MemFree(candidates);
  return 1;
}

int BidiApplyInstalledOptions(const BidiFuncTable* table, HANDLE query, DriverContext* ctx) {
  if (!ctx) return 0;
  BidiAnswer options;
  switch (options.ReadInformation(table, query, kInfoOptions, 0)) {
    case BidiRead::kNoMemory:
      return 0;
    case BidiRead::kRead:
      break;
    default:
      return 1;
  }
  DWORD oneStep = 0;
  const DWORD n = options.BoundedCount();
  for (DWORD i = 0; i < n; ++i) {
    const DWORD code = options.Word(i);
    const WORD item = BidiMapOptionCode(code);
    if (!item || !ItemFind(ctx, item)) continue;
    ItemSetRawById(ctx, item, 1);
    ModelSetOneStepOptionNum(item, LONG(code), &oneStep, ctx);
  }
  return 1;
}
