// Status items that stand for one setting: the plain pattern with each item's gates and side
// effects, the authentication mode, the load share and the index rotation.
#include "exclude/api/api_items_single.h"

#include "core/items/item_ids.h"
#include "core/install/driver_identity.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_items_paper.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_records.h"
#include "exclude/api/api_services.h"

namespace {

enum : DWORD {
  kPersistNone = 0,
  kPersistSetting = 1,
  kPersistActionWord = 2,
};

// One single-setting item: its setting, the dmFields bit its set marks, what it persists, the
// capability that must be present for set and get, and special gates.
struct SingleItem {
  DWORD id;
  WORD setting;
  DWORD dmField;
  DWORD persist;
  DWORD caps;      // 0: none
  DWORD gate;      // kGate...
};
enum : DWORD {
  kGateNone = 0,
  kGateBinderCompanion = 1,  // set only with the job-binder companion installed
  kGateIniBit9 = 2,          // "ZEMSAPIFunc1" bit 0x200; values 0 and 1 only, no value test
  kGateColorMatchingOn = 3,  // set only while zdmColorMatching is nonzero
  kGateReloadBeforeGet = 4,  // get reloads the setting from the settings store first
};
constexpr SingleItem kSingles[] = {
    {2, kItem_dmDefaultSource, DM_DEFAULTSOURCE, kPersistNone, 0, kGateNone},
    {3, kItem_zdmMediaType, 0, kPersistNone, 0, kGateNone},
    {4, kItem_zdmOutputTrayID, 0, kPersistNone, 0, kGateNone},
    {5, kItem_dmColor, DM_COLOR, kPersistNone, 0, kGateNone},
    {6, kItem_dmOrientation, DM_ORIENTATION, kPersistNone, 0, kGateNone},
    {9, kItem_dmCopies, DM_COPIES, kPersistNone, 0, kGateNone},
    {22, kItem_zdmExtOutputDirection, 0, kPersistNone, 0, kGateNone},
    {23, kItem_zdmExtOutputOrderly, 0, kPersistNone, 0, kGateNone},
    {24, kItem_zdmExtOutputWhitePaper, 0, kPersistNone, 0, kGateNone},
    {25, kItem_zdmEmulation, 0, kPersistNone, 0, kGateNone},
    {27, kItem_zdmExtPrintArea, 0, kPersistNone, 0, kGateNone},
    {29, kItem_zdmActionMarge, 0, kPersistActionWord, 0, kGateBinderCompanion},
    {30, kItem_zdmActionProof, 0, kPersistActionWord, 0, kGateNone},
    {31, kItem_zdmActionSecurity, 0, kPersistActionWord, 0, kGateNone},
    {32, kItem_zdmActionStored, 0, kPersistActionWord, 0, kGateNone},
    {33, kItem_zdmActionOverlay, 0, kPersistActionWord, 0, kGateNone},
    {38, kItem_zdmAdjustMode, 0, kPersistNone, 0, kGateNone},
    {45, kItem_zdmExtOutput2A4Fit, 0, kPersistNone, 0, kGateNone},
    {48, kItem_zdmExtOutputEMFSpool, 0, kPersistNone, 0, kGateNone},
    {49, kItem_zdmImagePrint, 0, kPersistNone, 0, kGateNone},
    {52, kItem_zdmFunc2SelectJobComplete, 0, kPersistNone, 80, kGateNone},
    {53, kItem_zdmFunc2SelectJobErr, 0, kPersistNone, 81, kGateNone},
    {57, kItem_zdmPreviewPrint, 0, kPersistSetting, 87, kGateReloadBeforeGet},
    {72, kItem_zdmExtOutput2PaperFace, 0, kPersistNone, 0, kGateNone},
    {73, kItem_zdmFunc2SelectPageSeparation, 0, kPersistNone, 0, kGateIniBit9},
    {74, kItem_zdmExtOutput2NearStandard, 0, kPersistNone, 0, kGateNone},
    {75, kItem_zdmPrnFuncReduceFont, 0, kPersistNone, 0, kGateNone},
    {76, kItem_zdmActionPause, 0, kPersistActionWord, 0, kGateNone},
    {77, kItem_zdmActionSave, 0, kPersistActionWord, 0, kGateNone},
    {78, kItem_zdmActionPrintAndSave, 0, kPersistActionWord, 0, kGateNone},
    {257, kItem_zdmAdjustObject, 0, kPersistNone, 0, kGateNone},
    {263, kItem_zdmQualityFuncEcoColor, 0, kPersistNone, 0, kGateNone},
    {265, kItem_zdmColorMatching, 0, kPersistNone, 276, kGateNone},
    {266, kItem_zdmICMType, 0, kPersistNone, 277, kGateColorMatchingOn},
    {268, kItem_zdmExtOutputprinterSide, 0, kPersistNone, 280, kGateNone},
};
constexpr DWORD kPageSeparationBit = 0x200;
constexpr DWORD kCompanionBinder = 2;
constexpr LONG kIndexMediaType = 272;

const SingleItem* SingleOf(DWORD id) {
  for (const SingleItem& row : kSingles)
    if (row.id == id) return &row;
  return nullptr;
}

LONG RecordValue(const void* record) { return ApiRecordLong(record, 4); }

void PutValue(void* record, LONG value) {
  if (record) static_cast<ApiSimpleRecord*>(record)->value = value;
}

}  // namespace

LONG ApiSetSingle(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  const SingleItem* item = SingleOf(id);
  if (!item || !record) return -1;
  const LONG value = RecordValue(record);
  if (item->caps && !ApiCapsPresent(api, item->caps)) return -1;
  switch (item->gate) {
    case kGateBinderCompanion:
      if (!InstIsCompanionInstalled(kCompanionBinder, ApiDriverCtx(api))) return -1;
      break;
    case kGateIniBit9:
      if (!ApiReadIniFunc1Mask(api, kPageSeparationBit) || (value != 0 && value != 1)) return -1;
      return ApiWrite(api, item->setting, value) ? 1 : -1;
    case kGateColorMatchingOn:
      if (ApiRead(api, kItem_zdmColorMatching) == 0) return -1;
      break;
    default:
      break;
  }
  if (!ApiTestAndWrite(api, item->setting, value)) return -1;
  if (item->dmField) ApiMarkDmFields(api, item->dmField);
  if (item->persist == kPersistSetting && !ApiPersistSetting(api, item->setting)) {
    ApiSetLastError(api, kApiErrStore);
    return -1;
  }
  if (item->persist == kPersistActionWord && !ApiPersistActionWord(api, item->setting)) {
    ApiSetLastError(api, kApiErrStore);
    return -1;
  }
  return 1;
}

LONG ApiVerifySingle(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  const SingleItem* item = SingleOf(id);
  if (!item || !record) return -1;
  return ApiRead(api, item->setting) == RecordValue(record) ? 1 : -1;
}

LONG ApiGetSingle(ApiContext* api, DWORD id, void* record, DWORD) {
  const SingleItem* item = SingleOf(id);
  if (!item) return -1;
  if (item->caps && !ApiCapsPresent(api, item->caps)) return -1;
  if (item->gate == kGateIniBit9 && !ApiReadIniFunc1Mask(api, kPageSeparationBit)) return -1;
  if (item->gate == kGateReloadBeforeGet) ApiReloadStoredSetting(api, item->setting);
  PutValue(record, static_cast<LONG>(ApiRead(api, item->setting)));
  return static_cast<LONG>(kApiSimpleRecordSize);
}

LONG ApiGetAuthMode(ApiContext* api, DWORD, void* record, DWORD) {
  if (!ApiCapsPresent(api, 82)) return -1;
  LONG value = 0;
  if (ApiRead(api, kItem_zdmPrnFuncAuthenticationMode) != 0)
    value = ApiRead(api, kItem_zdmPrnFuncAuthenticationSecureMode) != 0 ? 2 : 1;
  PutValue(record, value);
  return static_cast<LONG>(kApiSimpleRecordSize);
}

LONG ApiSetLoadShare(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  ApiState* state = ApiGetState(api);
  if (!state || !record) return -1;
  const LONG value = RecordValue(record);
  for (int i = 0; i < kApiLoadShareRows; ++i) {
    if (!state->loadShareUsable[i] || ApiLoadShareTable[i].apiValue != value) continue;
    if (!ApiWrite(api, kItem_zdmLoadShare, ApiLoadShareTable[i].code)) return -1;
    ApiSyncPaperAndResolution(api);
    return 1;
  }
  return -1;
}

LONG ApiVerifyLoadShare(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  ApiState* state = ApiGetState(api);
  if (!state || !record) return -1;
  const LONG value = RecordValue(record);
  const LONG current = static_cast<LONG>(ApiRead(api, kItem_zdmLoadShare));
  // Any usable row of the value will do: two usable rows of one value cannot both hold.
  bool any = false;
  for (int i = 0; i < kApiLoadShareRows; ++i) {
    if (!state->loadShareUsable[i] || ApiLoadShareTable[i].apiValue != value) continue;
    any = true;
    if (ApiLoadShareTable[i].code == current) return 1;
  }
  return any ? -1 : 1;
}

LONG ApiGetLoadShare(ApiContext* api, DWORD, void* record, DWORD) {
  ApiState* state = ApiGetState(api);
  if (!state) return -1;
  const LONG current = static_cast<LONG>(ApiRead(api, kItem_zdmLoadShare));
  bool found = false;
  LONG value = 0;
  for (int i = 0; i < kApiLoadShareRows; ++i)
    if (state->loadShareUsable[i] && ApiLoadShareTable[i].code == current) {
      value = ApiLoadShareTable[i].apiValue;
      found = true;
    }
  // A value no usable row has is still named through the whole table; one not in it at all
  // cannot be named.
  if (!found)
    for (const ApiLoadShareRow& row : ApiLoadShareTable)
      if (row.code == current) {
        value = row.apiValue;
        found = true;
      }
  if (!found) {
    ApiSetLastError(api, kApiErrInternal);
    return -1;
  }
  PutValue(record, value);
  return static_cast<LONG>(kApiSimpleRecordSize);
}

LONG ApiSetIndexRotation(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const LONG code = RecordValue(record);
  if (code < 0 || code > 2) return -1;
  if (ApiRead(api, kItem_zdmMediaType) != kIndexMediaType) {
    ApiSetLastError(api, kApiErrPaper);
    return -1;
  }
  ApiWrite(api, kItem_zdmExtOutputIndexRotation, code == 0 ? 0 : 1);
  ApiWrite(api, kItem_zdmExtOutputShiftPrint, code == 2 ? 1 : 0);
  return 1;
}

LONG ApiVerifyIndexRotation(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  const LONG code = RecordValue(record);
  const bool rotation = ApiRead(api, kItem_zdmExtOutputIndexRotation) != 0;
  const bool shift = ApiRead(api, kItem_zdmExtOutputShiftPrint) != 0;
  switch (code) {
    case 0: return !rotation && !shift ? 1 : -1;
    case 1: return rotation && !shift ? 1 : -1;
    case 2: return rotation && shift ? 1 : -1;
    default: return 1;
  }
}

LONG ApiGetIndexRotation(ApiContext* api, DWORD, void* record, DWORD) {
  const bool rotation = ApiRead(api, kItem_zdmExtOutputIndexRotation) != 0;
  const bool shift = ApiRead(api, kItem_zdmExtOutputShiftPrint) != 0;
  PutValue(record, !rotation ? 0 : (shift ? 2 : 1));
  return static_cast<LONG>(kApiSimpleRecordSize);
}
