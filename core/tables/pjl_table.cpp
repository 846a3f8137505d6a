// The 38 rows of the PJL variable table with their value lists.
#include "core/tables/pjl_table.h"

#include "core/items/item_ids.h"

namespace {

constexpr DWORD L = kPjlTypeList, N = kPjlTypeNumber, T = kPjlTypeText;
constexpr DWORD U = kPjlModeUpdate, O = kPjlModeOption, V = kPjlModeValue;
constexpr DWORD kDef = kPjlValueDefault, kAlias = kPjlValueAlias;
constexpr DWORD kOr = 0, kEnd = 1;  // term joins: OR with the next term, end of a clause

// A value without coupled settings or requirement.
#define WORDV(flags, value, word) {flags, value, word, nullptr, nullptr, nullptr, nullptr}
// A value with coupled settings and requirement.
#define WORDX(flags, value, word, deps, req) {flags, value, word, nullptr, deps, req, nullptr}
#define LIST(entries) {sizeof(entries) / sizeof(entries[0]), entries}

// ---- requirements and coupled settings ----
const ConditionTerm kMemorySort[] = {
    {&kMemorySort[1], kOr, kItem_zdmOutputOptionTypeHDD, 1},
    {&kMemorySort[2], kOr, kItem_zdmPrinterMemory, 96},
    {&kMemorySort[3], kOr, kItem_zdmPrinterMemory, 160},
    {nullptr, kEnd, kItem_zdmPrinterMemory, 288},
};
const ConditionTerm kShiftSort[] = {
    {&kShiftSort[1], kEnd, kItem_zdmOutputOptionTypeUpperBin, 1},
    {&kShiftSort[2], kOr, kItem_zdmOutputOptionTypeHDD, 1},
    {&kShiftSort[3], kEnd, kItem_zdmOutputOptionTypeUpperBin, 1},
    {&kShiftSort[4], kOr, kItem_zdmPrinterMemory, 96},
    {&kShiftSort[5], kOr, kItem_zdmPrinterMemory, 160},
    {nullptr, kEnd, kItem_zdmPrinterMemory, 288},
};
const ConditionTerm kSortOn[] = {{nullptr, 0, kItem_zdmFuncSelectSort, 1}};
const ConditionTerm kSortOff[] = {{nullptr, 0, kItem_zdmFuncSelectSort, 0}};
const ConditionTerm kUpperBin[] = {{nullptr, kEnd, kItem_zdmOutputOptionTypeUpperBin, 1}};
const ConditionTerm kMailbox2[] = {{nullptr, kEnd, kItem_zdmOutputOptionTypeMailbox2, 1}};
const ConditionTerm kOneStep[] = {{nullptr, kEnd, kItem_zdmSourceOptionType1Step, 1}};
const ConditionTerm kTwoSteps[] = {
    {&kTwoSteps[1], kEnd, kItem_zdmSourceOptionType1Step, 1},
    {nullptr, kEnd, kItem_zdm1StepOptionNum, 2},
};
const ConditionTerm kDuplexUnit[] = {{nullptr, kEnd, kItem_zdmSourceOptionTypeDuplex, 1}};
const ConditionTerm kDuplexOn[] = {{nullptr, kEnd, kItem_zdmFuncSelectDuplex, 1}};
const ConditionTerm kDuplexOff[] = {{nullptr, kEnd, kItem_zdmFuncSelectDuplex, 0}};
const ConditionTerm kNupOn[] = {{nullptr, kEnd, kItem_zdmFuncSelectNup, 1}};
const ConditionTerm kScaleTypeUser[] = {{nullptr, kEnd, kItem_zdmScaleType, 1}};
const ConditionTerm kScaleOn[] = {{nullptr, 0, kItem_zdmFuncSelectScale, 1}};
const ConditionTerm kScaleOff[] = {{nullptr, 0, kItem_zdmFuncSelectScale, 0}};
const ConditionTerm kMacro600[] = {
    {&kMacro600[1], 0, kItem_zdmBalanceMacro, 17},
    {nullptr, 0, kItem_zdmUseUserMacro, 0},
};
const ConditionTerm kMacro1200[] = {
    {&kMacro1200[1], 0, kItem_zdmBalanceMacro, 18},
    {nullptr, 0, kItem_zdmUseUserMacro, 0},
};
// N-up: the post kind that goes with each layout, and N-up on or off.
#define NUP_DEPS(name, kind)                                  \
  const ConditionTerm name[] = {                              \
      {&name[1], 0, kItem_zdmNUPPOSTKind, kind},              \
      {nullptr, 0, kItem_zdmFuncSelectNup, 1},                \
  }
NUP_DEPS(kNup2, 1);
NUP_DEPS(kNup4, 2);
NUP_DEPS(kNup9, 3);
NUP_DEPS(kNup16, 4);
const ConditionTerm kNupOff[] = {{nullptr, 0, kItem_zdmFuncSelectNup, 0}};

// ---- value lists ----
const PjlValueEntry kCollate[] = {
    WORDX(0, 1, "SORT", kSortOn, kMemorySort),
    WORDX(0, 4, "SHIFT", kSortOn, kShiftSort),
    WORDX(kDef, 0, "OFF", kSortOff, nullptr),
};
const PjlValueEntry kOutBin[] = {
    WORDV(0, 2, "UPPER"),
    WORDX(0, 13, "INNER", nullptr, kUpperBin),
    WORDX(0, 15, "OPTIONALOUTPUTBIN2", nullptr, kMailbox2),
    WORDX(0, 16, "OPTIONALOUTPUTBIN3", nullptr, kMailbox2),
    WORDX(0, 17, "OPTIONALOUTPUTBIN4", nullptr, kMailbox2),
    WORDX(0, 18, "OPTIONALOUTPUTBIN5", nullptr, kMailbox2),
    WORDV(kAlias, 0, "UPPER"),
};
const PjlValueEntry kTray[] = {
    WORDV(0, 7, "ALL"),
    WORDV(0, 1, "TRAY1"),
    WORDX(0, 3, "TRAY2", nullptr, kOneStep),
    WORDX(0, 2, "TRAY3", nullptr, kTwoSteps),
    WORDV(0, 4, "MULTI"),
};
const PjlValueEntry kDuplex[] = {
    WORDX(0, 1, "ON", nullptr, kDuplexUnit),
    WORDV(0, 0, "OFF"),
};
const PjlValueEntry kTrayPaper[] = {
    WORDV(0, 0, "NONE"),   WORDV(0, 9, "A4"),     WORDV(0, 11, "A5"),
    WORDV(0, 13, "JISB5"), WORDV(0, 1, "LETTER"), WORDV(0, 5, "LEGAL"),
    WORDV(0, 6, "HALFLETTER"), WORDV(0, 256, "CUSTOM"),
};
const PjlValueEntry kMultiPaper[] = {
    WORDV(0, 0, "NONE"),    WORDV(0, 9, "A4"),     WORDV(0, 11, "A5"),
    WORDV(0, 70, "A6"),     WORDV(0, 43, "JPOST"), WORDV(0, 13, "JISB5"),
    WORDV(0, 88, "JISB6"),  WORDV(0, 1, "LETTER"), WORDV(0, 5, "LEGAL"),
    WORDV(0, 6, "HALFLETTER"), WORDV(0, 256, "CUSTOM"),
};
const PjlValueEntry kTrayOrient[] = {
    WORDV(0, 0, "PORTRAIT"),
    WORDV(0, 1, "LANDSCAPE"),
};
const PjlValueEntry kMedia[] = {
    WORDV(0, 1, "PLAIN"),        WORDV(0, 260, "RECYCLED"), WORDV(0, 264, "COLOR"),
    WORDV(0, 258, "SPECIAL"),    WORDV(0, 265, "LETTERHEAD"), WORDV(0, 262, "LABELS"),
    WORDV(0, 2, "TRANSPARENCY"), WORDV(0, 257, "THICK"),
};
const PjlValueEntry kPageSize[] = {
    WORDV(0, 8, "A3"),     WORDV(0, 9, "A4"),     WORDV(0, 11, "A5"),  WORDV(0, 70, "A6"),
    WORDV(0, 43, "JPOST"), WORDV(0, 12, "JISB4"), WORDV(0, 13, "JISB5"), WORDV(0, 88, "JISB6"),
    WORDV(0, 1, "LETTER"), WORDV(0, 5, "LEGAL"),  WORDV(0, 6, "HALFLETTER"), WORDV(0, 3, "LEDGER"),
    WORDV(0, 256, "CUSTOM"),
};
const PjlValueEntry kPageLayout[] = {
    WORDV(0, 1, "PORTRAIT"),
    WORDV(0, 2, "LANDSCAPE"),
};
const PjlValueEntry kPaper[] = {
    WORDV(0, 1024, "SAME"), WORDV(0, 9, "A4"),      WORDV(0, 11, "A5"),     WORDV(0, 70, "A6"),
    WORDV(0, 43, "JPOST"),  WORDV(0, 13, "JISB5"),  WORDV(0, 88, "JISB6"),  WORDV(0, 1, "LETTER"),
    WORDV(0, 5, "LEGAL"),   WORDV(0, 6, "HALFLETTER"), WORDV(0, 448, "CUSTOM"),
    // the ten saved custom sizes write CUSTOM too
    WORDV(kAlias, 384, "CUSTOM"), WORDV(kAlias, 385, "CUSTOM"), WORDV(kAlias, 386, "CUSTOM"),
    WORDV(kAlias, 387, "CUSTOM"), WORDV(kAlias, 388, "CUSTOM"), WORDV(kAlias, 389, "CUSTOM"),
    WORDV(kAlias, 390, "CUSTOM"), WORDV(kAlias, 391, "CUSTOM"), WORDV(kAlias, 392, "CUSTOM"),
    WORDV(kAlias, 393, "CUSTOM"),
};
const PjlValueEntry kScaleType[] = {
    WORDX(0, 2, "PAPERDEFSCALE", kScaleOn, nullptr),
    WORDX(0, 1, "PAPERSCALE", kScaleOn, nullptr),
    WORDX(kDef, 0, "OFF", kScaleOff, nullptr),
};
const PjlNumberRecord kPaperScale = {0, 0, 0, kScaleTypeUser};
const PjlValueEntry kBinding[] = {
    WORDX(0, 3, "LEFT", nullptr, kDuplexOn),       WORDX(0, 2, "RIGHT", nullptr, kDuplexOn),
    WORDX(0, 1, "TOP", nullptr, kDuplexOn),        WORDX(kAlias, 19, "LEFT", nullptr, kDuplexOn),
    WORDX(kAlias, 18, "RIGHT", nullptr, kDuplexOn), WORDX(kAlias, 17, "TOP", nullptr, kDuplexOn),
    WORDX(kAlias, 22, "LEFT", nullptr, kDuplexOn), WORDX(kAlias, 21, "RIGHT", nullptr, kDuplexOn),
    WORDX(kAlias, 20, "TOP", nullptr, kDuplexOn),
};
const PjlValueEntry kNup[] = {
    WORDX(0, 1, "2IN1P1", kNup2, nullptr),       WORDX(0, 2, "2IN1P2", kNup2, nullptr),
    WORDX(kAlias, 3, "2IN1P1", kNup2, nullptr),  WORDX(0, 33, "4IN1P1", kNup4, nullptr),
    WORDX(0, 37, "4IN1P2", kNup4, nullptr),      WORDX(0, 34, "4IN1P3", kNup4, nullptr),
    WORDX(0, 38, "4IN1P4", kNup4, nullptr),      WORDX(0, 65, "9IN1P1", kNup9, nullptr),
    WORDX(0, 69, "9IN1P2", kNup9, nullptr),      WORDX(0, 66, "9IN1P3", kNup9, nullptr),
    WORDX(0, 70, "9IN1P4", kNup9, nullptr),      WORDX(0, 97, "16IN1P1", kNup16, nullptr),
    WORDX(0, 101, "16IN1P2", kNup16, nullptr),   WORDX(0, 98, "16IN1P3", kNup16, nullptr),
    WORDX(0, 102, "16IN1P4", kNup16, nullptr),   WORDX(kDef, 0, "OFF", kNupOff, nullptr),
};
const PjlValueEntry kNupLine[] = {
    WORDX(0, 1, "CHAINSTITCH", nullptr, kNupOn),
    WORDX(0, 0, "OFF", nullptr, kNupOn),
};
const PjlValueEntry kResolution[] = {
    WORDX(0, 600, "600", kMacro600, nullptr),
    WORDX(0, 1200, "1200", kMacro1200, nullptr),
};
const PjlValueEntry kColorSelect[] = {
    WORDV(0, 1, "MONO"),
};
const PjlValueEntry kShiftDir[] = {
    WORDX(0, 3, "LEFT", nullptr, kDuplexOff),   WORDX(0, 2, "RIGHT", nullptr, kDuplexOff),
    WORDX(0, 1, "TOP", nullptr, kDuplexOff),    WORDX(0, 4, "BOTTOM", nullptr, kDuplexOff),
};
const PjlValueEntry kBooklet[] = {
    WORDX(0, 2, "BOOKLETF", nullptr, kDuplexOn),
    WORDX(0, 1, "BOOKLETC", nullptr, kDuplexOn),
    WORDV(0, 0, "OFF"),
};

const PjlValueList kCollateList = LIST(kCollate);
const PjlValueList kOutBinList = LIST(kOutBin);
const PjlValueList kTrayList = LIST(kTray);
const PjlValueList kDuplexList = LIST(kDuplex);
const PjlValueList kTrayPaperList = LIST(kTrayPaper);
const PjlValueList kMultiPaperList = LIST(kMultiPaper);
const PjlValueList kTrayOrientList = LIST(kTrayOrient);
const PjlValueList kMediaList = LIST(kMedia);
const PjlValueList kPageSizeList = LIST(kPageSize);
const PjlValueList kPageLayoutList = LIST(kPageLayout);
const PjlValueList kPaperList = LIST(kPaper);
const PjlValueList kScaleTypeList = LIST(kScaleType);
const PjlValueList kBindingList = LIST(kBinding);
const PjlValueList kNupList = LIST(kNup);
const PjlValueList kNupLineList = LIST(kNupLine);
const PjlValueList kResolutionList = LIST(kResolution);
const PjlValueList kColorSelectList = LIST(kColorSelect);
const PjlValueList kShiftDirList = LIST(kShiftDir);
const PjlValueList kBookletList = LIST(kBooklet);

constexpr DWORD kList = kPjlFromList, kCmd = kPjlByOptionCommand;
constexpr DWORD kBindingFlags = kPjlMapped | kPjlBindingMapping | kPjlFromList;  // 0x10801
constexpr DWORD kBookletFlags = kPjlMapped | kPjlBookletMapping | kPjlFromList;  // 0x11001

#define ROW(setting, flags, modes, type, name, values) \
  {setting, 0, flags, modes, type, name, nullptr, values, nullptr}

const PjlVariable g_rows[] = {
    ROW(kItem_zdmSortType, kList, U | O, L, "COLLATE", &kCollateList),
    ROW(kItem_zdmOutputTrayID, kList, U | O, L, "OUTBIN", &kOutBinList),
    ROW(kItem_dmDefaultSource, kList, U | O, L, "TRAY", &kTrayList),
    ROW(kItem_zdmFuncSelectDuplex, kList, U | O, L, "DUPLEX", &kDuplexList),
    ROW(kItem_zdmPrinterMemory, kCmd, V, L, "MEMORYSIZE", nullptr),
    ROW(kItem_zdmUserCode, kCmd, V, T, "USERCODE", nullptr),
    ROW(kItem_zdmTray1Paper, kList, V, L, "TRAYPAPER1", &kTrayPaperList),
    ROW(kItem_zdmTray2Paper, kList, V, L, "TRAYPAPER2", &kTrayPaperList),
    ROW(kItem_zdmTray3Paper, kList, V, L, "TRAYPAPER3", &kTrayPaperList),
    ROW(kItem_zdmTray29PaperMulti, kList, V, L, "MULTIPAPER", &kMultiPaperList),
    ROW(kItem_zdmTrayOrient0, kList, V, L, "TRAYPAPERORIENT1", &kTrayOrientList),
    ROW(kItem_zdmTrayOrient1, kList, V, L, "TRAYPAPERORIENT2", &kTrayOrientList),
    ROW(kItem_zdmTrayOrient2, kList, V, L, "TRAYPAPERORIENT3", &kTrayOrientList),
    ROW(kItem_zdmTrayOrient28, kList, V, L, "MULTIPAPERORIENT", &kTrayOrientList),
    ROW(kItem_zdmTray1Media, kList, V, L, "TRAYPAPERMEDIA1", &kMediaList),
    ROW(kItem_zdmTray2Media, kList, V, L, "TRAYPAPERMEDIA2", &kMediaList),
    ROW(kItem_zdmTray3Media, kList, V, L, "TRAYPAPERMEDIA3", &kMediaList),
    ROW(kItem_zdmTray29MediaMulti, kList, V, L, "MULTIPAPERMEDIA", &kMediaList),
    ROW(kItem_dmPaperSize, kList, U, L, "APLPAGESIZE", &kPageSizeList),
    ROW(kItem_dmOrientation, kList, U, L, "APLPAGELAYOUT", &kPageLayoutList),
    ROW(kItem_zdmOutPaperSize, kList, U | O, L, "PAPER", &kPaperList),
    ROW(kItem_dmCopies, kCmd, U, N, "COPIES", nullptr),
    ROW(kItem_zdmScaleType, kList, U, L, "SCALETYPE", &kScaleTypeList),
    ROW(kItem_zdmScaleV, kCmd, U, N, "PAPERSCALEH", &kPaperScale),
    ROW(kItem_zdmScaleH, kCmd, U, N, "PAPERSCALEW", &kPaperScale),
    ROW(kItem_zdmDuplexType, kBindingFlags, U, L, "BINDING", &kBindingList),
    ROW(kItem_zdmMarginOdd, kCmd, U, N, "MARGINODD", nullptr),
    ROW(kItem_zdmMarginEven, kCmd, U, N, "MARGINEVEN", nullptr),
    ROW(kItem_zdmNUPType, kList, U, L, "NUP", &kNupList),
    ROW(kItem_zdmNUPLine, kList, U, L, "NUPENCLOSURE", &kNupLineList),
    ROW(kItem_zdmMediaType, kList, U, L, "MEDIATYPE", &kMediaList),
    ROW(kItem_zdmDstResolutionH, kList, U, L, "DSTRESOLUTIONH", &kResolutionList),
    ROW(kItem_zdmDstResolutionW, kList, U, L, "DSTRESOLUTIONW", &kResolutionList),
    ROW(kItem_dmYResolution, kList, U, L, "SRCRESOLUTIONH", &kResolutionList),
    ROW(kItem_dmPrintQuality, kList, U, L, "SRCRESOLUTIONW", &kResolutionList),
    ROW(kItem_dmColor, kList, U, L, "COLORSELECT", &kColorSelectList),
    ROW(kItem_zdmShiftDir, kList, U, L, "SIMPLEXBINDING", &kShiftDirList),
    ROW(kPjlBookletSetting, kBookletFlags, U, L, "BOOKLET", &kBookletList),
};
static_assert(sizeof(g_rows) / sizeof(g_rows[0]) == 38, "the PJL variable table has 38 rows");

const PjlSettingTable g_table = {38, g_rows};

}  // namespace

const PjlSettingTable* TblGetPjlSettingTable() { return &g_table; }

DWORD TblGetPjlSettingCount() { return g_table.count; }

DWORD TblGetPjlValueListLength(const void* list) {
  if (!list) return 0;
  for (const PjlVariable& row : g_rows)
    if ((row.flags & kPjlFromList) && row.values == list)
      return static_cast<const PjlValueList*>(list)->count;
  return 0;
}


// ---- the exclusion service's three small tables ----
namespace {
const DWORD g_mandatory[] = {kItem_dmPaperSize, kItem_dmOrientation, kItem_zdmOutPaperSize, kItem_dmDefaultSource};
const PjlIdTable g_mandatoryTable = {4, g_mandatory};
const PjlPair g_carriers[] = {{kItem_zdmFuncSelectSort, kItem_zdmSortType}};
const PjlPairTable g_carrierTable = {1, g_carriers};
const PjlPair g_bindingMap[] = {{0, 1}, {1, 17}, {2, 20}};
const PjlPairTable g_bindingTable = {3, g_bindingMap};
}  // namespace

const PjlIdTable* TblGetPjlMandatory() { return &g_mandatoryTable; }
const PjlPairTable* TblGetPjlCarrierPairs() { return &g_carrierTable; }
const PjlPairTable* TblGetPjlBindingMap() { return &g_bindingTable; }
