// Constant lists of this model build. The lists whose rows belong to later features
// (option-request block rows) hold only their end row until the feature that reads them
// brings its data.
#include "core/tables/static_tables.h"

#include <stddef.h>

#include "core/items/item_ids.h"
#include "core/system/languages.h"

namespace {

const PrintMacroResolution g_macroResolutions[] = {
    {6, 200, 200},   {1, 300, 300},   {2, 400, 400},   {3, 600, 600},   {4, 1200, 1200},
    {5, 2400, 2400}, {17, 600, 600},  {18, 600, 600},  {19, 600, 600},  {33, 150, 150},
    {34, 300, 300},  {35, 300, 300},  {36, 600, 600},  {37, 1200, 1200}, {20, 600, 600},
    {0, 0, 0},
};

const LONG kFontTableIds[] = {10004, 10005, 10006, 10007, 10008, 10009};
const LONG kBasicDeviceIds[] = {10001, 10002, 10003, 10004, 10005, 10006, 10007,
                                10008, 10009, 10010, 10011, 10354, 10355};

// Consecutive id runs are made once, at compile time.
template <LONG First, LONG Last>
struct IdRun {
  LONG ids[Last - First + 1];
  constexpr IdRun() : ids{} {
    for (LONG i = First; i <= Last; ++i) ids[i - First] = i;
  }
};
constexpr IdRun<10014, 10045> kSourceOptionIds;
constexpr IdRun<10046, 10173> kOutputOptionIds;
constexpr IdRun<10111, 10174> kTrayIds;

#define IDS(list) {0xFFFF, sizeof(list) / sizeof(LONG), list}
const FixedIdList g_fixedIdLists[] = {
    {0xFFFF, 0, nullptr},       // 0
    {0xFFFF, 0, nullptr},       // 1
    IDS(kFontTableIds),         // 2: kept out of the model defaults
    {0xFFFF, 0, nullptr},       // 3
    {0xFFFF, 0, nullptr},       // 4
    IDS(kBasicDeviceIds),       // 5: device settings that are not extended device items
    IDS(kSourceOptionIds.ids),  // 6
    IDS(kOutputOptionIds.ids),  // 7
    IDS(kTrayIds.ids),          // 8
    {0xFFFF, 0, nullptr},       // 9
    {0xFFFF, 0, nullptr},       // 10
    {0xFFFF, 0, nullptr},       // 11
    {0xFFFF, 0, nullptr},       // 12
    {0, 0, nullptr},
};
constexpr int kFixedIdListCount = 13;

const NupPostKind g_nupPostKinds[] = {{0, 1}, {1, 2}, {2, 4}, {3, 9}, {4, 16}};

const LockedValueRow g_lockedValueRows[] = {
    {kItem_dmDefaultSource, kItem_zdmLock000InfoBitTray, kItem_wdmLock001Info, 0},
    {kItem_zdmMediaType, kItem_zdmLock000InfoBitMedia, kItem_wdmLock002Info, 0},
    {kItem_zdmNUPPOSTKind, kItem_zdmLock000InfoBitNupKind, kItem_wdmLock003Info, 0},
    {0, kItem_zdmLock000InfoBitNupKindAll, kItem_wdmLock004Info, 0},
    {kItem_zdmFuncSelectDuplex, kItem_zdmLock000InfoBitDuplex, kItem_wdmLock005Info, 0},
    {kItem_zdmLockPrnMethod, kItem_zdmLock000InfoBitPrintType, kItem_wdmLock006Info, 0},
    {kItem_zdmLockDstResolutionBoth, kItem_zdmLock000InfoBitResolution, kItem_wdmLock007Info, 0},
    {kItem_dmColor, kItem_zdmLock001InfoBitColor, kItem_wdmLock008Info, 0},
};

// A4, Letter: A3, B4, Tabloid fit; after the marker 1027 the codes for the large sizes.
constexpr WORD kFitMarker = 1027;
const WORD g_fitPapers[] = {8, 12, 3, 0};

// Trays 1-3 take custom sizes up to the long edge of the largest cut paper; the multi-purpose
// tray (4) takes banners in portrait.
const FreeSizeLimitsRow g_freeSizeLimits[] = {
    {3, 1, 1, 0, {16818, 6614, 10204, 6614}, {16812, 6624, 10200, 6624}},
    {3, 1, 2, 0, {10204, 6614, 10204, 6614}, {10200, 6624, 10200, 6624}},
    {3, 3, 1, 0, {16818, 9920, 10204, 6614}, {16812, 9924, 10200, 6624}},
    {3, 3, 2, 0, {10204, 9920, 10204, 9920}, {10200, 9924, 10200, 9924}},
    {3, 2, 1, 0, {16818, 9920, 10204, 6614}, {16812, 9924, 10200, 6624}},
    {3, 2, 2, 0, {10204, 9920, 10204, 9920}, {10200, 9924, 10200, 9924}},
    {3, 4, 1, 0, {42518, 6614, 10204, 4250}, {42516, 6624, 10200, 4260}},
    {3, 4, 2, 0, {10204, 6614, 10204, 6614}, {10200, 6624, 10200, 6624}},
    {0, 0, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},
};
const CustomSizeOverrides g_customSizeOverrides = {0, nullptr};

// Finisher rows of the option-request and capability blocks: each finisher option item with
// the output-tray codes (zdmOutputTrayID) of its kind's two trays, first and second, in the
// order the finishing rules test the kinds. The codes lie outside the block's fixed codes 0-23.
const OptionBlockRow g_optionBlockRows[] = {
    {10058, 30, 31}, {10074, 30, 31}, {10075, 30, 31}, {10076, 30, 31}, {10077, 30, 31}, {10050, 30, 31}, {10078, 30, 31}, {10079, 30, 31}, {10080, 30, 31}, {10081, 30, 31},  // kind A
    {10102, 32, 33}, {10098, 32, 33}, {10099, 32, 33}, {10100, 32, 33}, {10101, 32, 33},  // kind B
    {10060, 34, 35},  // kind C
    {10049, 36, 37},  // kind D
    {10083, 38, 39}, {10090, 38, 39}, {10091, 38, 39}, {10092, 38, 39}, {10093, 38, 39},  // kind E
    {10061, 40, 41},  // kind F
    {10102, 42, 43}, {10098, 42, 43}, {10099, 42, 43}, {10100, 42, 43}, {10101, 42, 43}, {10103, 42, 43},  // kind G
    {10059, 44, 45},  // kind H
    {10084, 46, 47}, {10094, 46, 47}, {10095, 46, 47}, {10096, 46, 47}, {10097, 46, 47},  // kind I
    {10082, 48, 49}, {10086, 48, 49}, {10087, 48, 49}, {10088, 48, 49}, {10089, 48, 49},  // kind J
    {10090, 50, 51}, {10091, 50, 51}, {10092, 50, 51}, {10093, 50, 51},  // kind K
    {0xFFFF, 0, 0},
};
// Installed-option items of the printer's option codes (bidirectional acquisition).
const OptionCodeRow g_optionCodes[] = {
    {10014, 1},  {10018, 104}, {10020, 102}, {10022, 16}, {10023, 105}, {10023, 106},
    {10023, 30}, {10047, 6},   {10056, 31},  {10070, 3},  {0, 0},
};

// Installable-options checklist. The two one-step entries share the option item and clear
// the tray count when unchecked, which also empties the tray list.
const ItemValuePair kClearOneStepCount[] = {{kItem_zdm1StepOptionNum, 0}, {0, 0}};
const ChecklistRow g_checklist[] = {
    {143, 0, kItem_zdmSourceOptionType1Step, 1, kItem_zdm1StepOptionNum, 1, nullptr, nullptr, nullptr,
     kClearOneStepCount, 1, 1},
    {144, 0, kItem_zdmSourceOptionType1Step, 1, kItem_zdm1StepOptionNum, 2, nullptr, nullptr, nullptr,
     kClearOneStepCount, 1, 1},
    {146, 0, kItem_zdmSourceOptionTypeDuplex, 1, 0, 0, nullptr, nullptr, nullptr, nullptr, 0, 1},
    {145, 0, kItem_zdmOutputOptionTypeHDD, 1, 0, 0, nullptr, nullptr, nullptr, nullptr, 0, 1},
    {164, 0, kItem_zdmMemoryType, 0, kItem_zdmPrinterMemory, 32, nullptr, nullptr, nullptr, nullptr, 0, 1},
    {165, 0, kItem_zdmMemoryType, 1, kItem_zdmPrinterMemory, 32, nullptr, nullptr, nullptr, nullptr, 0, 1},
    {166, 0, kItem_zdmMemoryType, 0, kItem_zdmPrinterMemory, 96, nullptr, nullptr, nullptr, nullptr, 0, 1},
    {167, 0, kItem_zdmMemoryType, 1, kItem_zdmPrinterMemory, 96, nullptr, nullptr, nullptr, nullptr, 0, 1},
    {352, 0, kItem_zdmMemoryType, 196, kItem_zdmPrinterMemory, 606, nullptr, nullptr, nullptr, nullptr, 0, 1},
    {358, 0, kItem_zdmMemoryType, 196, kItem_zdmPrinterMemory, 610, nullptr, nullptr, nullptr, nullptr, 0, 1},
    {0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0, 0},
};

// Source-tray picture (200 x 180): the multi-purpose tray on the right side, the standard tray
// and the two trays of the one-step option unit below the body. A duplex unit sits between
// body and trays and moves the trays 12 pixels down.
const RECT kAreaMulti = {150, 60, 196, 80};
const RECT kAreaTray1 = {20, 100, 180, 120};
const RECT kAreaTray2 = {20, 124, 180, 144};
const RECT kAreaTray3 = {20, 148, 180, 168};
const HitAreaShift kBelowDuplexUnit[] = {{kItem_zdmSourceOptionTypeDuplex, 0, 12}, {0, 0, 0}};
const HitAreaRow g_sourceTrayAreas[] = {
    {&kAreaMulti, 0, 3032, 0, 0, nullptr},                                          // DMDEFAULTSOURCE_MULTI
    {&kAreaTray1, 0, 3029, 0, 0, kBelowDuplexUnit},                                 // DMDEFAULTSOURCE_TRAY1
    {&kAreaTray2, kItem_zdmSourceOptionType1Step, 3030, 0, 0, kBelowDuplexUnit},    // DMDEFAULTSOURCE_TRAY2
    {&kAreaTray3, kItem_zdmSourceOptionType1Step, 3031, kItem_zdm1StepOptionNum, 2,  // DMDEFAULTSOURCE_TRAY3
     kBelowDuplexUnit},
    {nullptr, 0, 0, 0, 0, nullptr},
};

// Output-bin picture (200 x 180): the inner bin in the body, the upper bin above it when
// installed, and the four bins of the mailbox unit stacked on the right.
const RECT kAreaInner = {40, 40, 160, 56};
const RECT kAreaUpper = {40, 8, 160, 24};
const RECT kAreaBin2 = {168, 8, 196, 20};
const RECT kAreaBin3 = {168, 22, 196, 34};
const RECT kAreaBin4 = {168, 36, 196, 48};
const RECT kAreaBin5 = {168, 50, 196, 62};
const HitAreaRow g_outputBinAreas[] = {
    {&kAreaInner, 0, 3048, 0, 0, nullptr},                                 // ZDMOUTPUTTRAYID_INNER
    {&kAreaUpper, kItem_zdmOutputOptionTypeUpperBin, 3047, 0, 0, nullptr},  // ZDMOUTPUTTRAYID_UPPER
    {&kAreaBin2, kItem_zdmOutputOptionTypeMailbox2, 3049, 0, 0, nullptr},   // ZDMOUTPUTTRAYID_OPTIONALBIN2
    {&kAreaBin3, kItem_zdmOutputOptionTypeMailbox2, 3050, 0, 0, nullptr},   // ZDMOUTPUTTRAYID_OPTIONALBIN3
    {&kAreaBin4, kItem_zdmOutputOptionTypeMailbox2, 3051, 0, 0, nullptr},   // ZDMOUTPUTTRAYID_OPTIONALBIN4
    {&kAreaBin5, kItem_zdmOutputOptionTypeMailbox2, 3052, 0, 0, nullptr},   // ZDMOUTPUTTRAYID_OPTIONALBIN5
    {nullptr, 0, 0, 0, 0, nullptr},
};

}  // namespace

const PrintMacroResolution* TblGetPrintMacroResolutions() { return g_macroResolutions; }

int TblIdListContains(int n, LONG id) {
  if (n < 0 || n >= kFixedIdListCount) return 0;
  const FixedIdList& list = g_fixedIdLists[n];
  for (DWORD i = 0; i < list.count; ++i)
    if (list.ids[i] == id) return 1;
  return 0;
}

const NupPostKind* TblGetNupPostKinds() { return g_nupPostKinds; }
DWORD TblNupPostKindCount() { return sizeof(g_nupPostKinds) / sizeof(g_nupPostKinds[0]); }

const LockedValueRow* TblGetLockedValueRows() { return g_lockedValueRows; }
DWORD TblGetLockedValueRowCount() { return sizeof(g_lockedValueRows) / sizeof(g_lockedValueRows[0]); }

const WORD* TblGetFitPapers() { return g_fitPapers; }

int TblIsFitPaper(WORD outputSize, WORD paper) {
  const bool small = outputSize == 9 || outputSize == 1;
  const WORD* p = g_fitPapers;
  if (small) {
    for (; *p && *p != kFitMarker; ++p)
      if (*p == paper) return 1;
    return 0;
  }
  for (; *p && *p != kFitMarker; ++p) {
  }
  if (*p != kFitMarker) return 0;
  for (++p; *p; ++p)
    if (*p == paper) return 1;
  return 0;
}

const FreeSizeLimitsRow* TblGetFreeSizeLimits() { return g_freeSizeLimits; }
const CustomSizeOverrides* TblGetCustomSizeOverrides() { return &g_customSizeOverrides; }
const OptionBlockRow* TblGetOptionBlockRows() { return g_optionBlockRows; }
const OptionCodeRow* TblGetOptionCodes() { return g_optionCodes; }

int TblIsChangingSubDialog(WORD dialogId) { return dialogId == 1020 || dialogId == 1025 ? 0 : 1; }

const ChecklistRow* TblGetChecklistEntries(DWORD) { return g_checklist; }
const HitAreaRow* TblGetSourceTrayHitAreas(DWORD) { return g_sourceTrayAreas; }
const HitAreaRow* TblGetOutputBinHitAreas(DWORD) { return g_outputBinAreas; }

const LanguageRow* TblGetLanguages() { return kLanguageTable; }
