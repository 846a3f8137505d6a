// Ids of the setting items that the static tables name, taken from the item catalogue by name
// at compile time, so a table can never drift from the catalogue.
#pragma once
#include "platform/win32.h"

namespace item_ids_detail {

struct NameId {
  const char* name;
  WORD id;
};

constexpr NameId kCatalogue[] = {
#define ITEM(id, symbol, name, ...) {name, id},
#include "core/engine/item_catalogue.inc"
#undef ITEM
};

constexpr bool SameName(const char* a, const char* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

// The id of the named item, 0 when the catalogue has no such name.
constexpr WORD ItemIdByName(const char* name) {
  for (const NameId& row : kCatalogue)
    if (row.name[0] && SameName(row.name, name)) return row.id;
  return 0;
}

}  // namespace item_ids_detail

#define ZEMS_ITEM_ID(name) item_ids_detail::ItemIdByName(#name)

enum : DWORD {
  kItem_dmOrientation = ZEMS_ITEM_ID(dmOrientation),
  kItem_dmPaperSize = ZEMS_ITEM_ID(dmPaperSize),
  kItem_dmCopies = ZEMS_ITEM_ID(dmCopies),
  kItem_dmDefaultSource = ZEMS_ITEM_ID(dmDefaultSource),
  kItem_dmPrintQuality = ZEMS_ITEM_ID(dmPrintQuality),
  kItem_dmColor = ZEMS_ITEM_ID(dmColor),
  kItem_dmYResolution = ZEMS_ITEM_ID(dmYResolution),
  kItem_zdmDstResolutionW = ZEMS_ITEM_ID(zdmDstResolutionW),
  kItem_zdmDstResolutionH = ZEMS_ITEM_ID(zdmDstResolutionH),
  kItem_zdmOutPaperSize = ZEMS_ITEM_ID(zdmOutPaperSize),
  kItem_zdmOutputTrayID = ZEMS_ITEM_ID(zdmOutputTrayID),
  kItem_zdmMediaType = ZEMS_ITEM_ID(zdmMediaType),
  kItem_zdmFuncSelectScale = ZEMS_ITEM_ID(zdmFuncSelectScale),
  kItem_zdmFuncSelectNup = ZEMS_ITEM_ID(zdmFuncSelectNup),
  kItem_zdmFuncSelectDuplex = ZEMS_ITEM_ID(zdmFuncSelectDuplex),
  kItem_zdmFuncSelectSort = ZEMS_ITEM_ID(zdmFuncSelectSort),
  kItem_zdmScaleType = ZEMS_ITEM_ID(zdmScaleType),
  kItem_zdmScaleH = ZEMS_ITEM_ID(zdmScaleH),
  kItem_zdmScaleV = ZEMS_ITEM_ID(zdmScaleV),
  kItem_zdmNUPPOSTKind = ZEMS_ITEM_ID(zdmNUPPOSTKind),
  kItem_zdmNUPType = ZEMS_ITEM_ID(zdmNUPType),
  kItem_zdmNUPLine = ZEMS_ITEM_ID(zdmNUPLine),
  kItem_zdmDuplexType = ZEMS_ITEM_ID(zdmDuplexType),
  kItem_zdmShiftDir = ZEMS_ITEM_ID(zdmShiftDir),
  kItem_zdmMarginOdd = ZEMS_ITEM_ID(zdmMarginOdd),
  kItem_zdmMarginEven = ZEMS_ITEM_ID(zdmMarginEven),
  kItem_zdmSortType = ZEMS_ITEM_ID(zdmSortType),
  kItem_zdmUseUserMacro = ZEMS_ITEM_ID(zdmUseUserMacro),
  kItem_zdmBalanceMacro = ZEMS_ITEM_ID(zdmBalanceMacro),
  kItem_zdmUserCode = ZEMS_ITEM_ID(zdmUserCode),
  kItem_zdmJobBinder = ZEMS_ITEM_ID(zdmJobBinder),
  kItem_zdmPrinterMemory = ZEMS_ITEM_ID(zdmPrinterMemory),
  kItem_zdmSourceOptionTypeDuplex = ZEMS_ITEM_ID(zdmSourceOptionTypeDuplex),
  kItem_zdmSourceOptionType1Step = ZEMS_ITEM_ID(zdmSourceOptionType1Step),
  kItem_zdmOutputOptionTypeUpperBin = ZEMS_ITEM_ID(zdmOutputOptionTypeUpperBin),
  kItem_zdmOutputOptionTypeMailbox2 = ZEMS_ITEM_ID(zdmOutputOptionTypeMailbox2),
  kItem_zdmOutputOptionTypeHDD = ZEMS_ITEM_ID(zdmOutputOptionTypeHDD),
  kItem_zdm1StepOptionNum = ZEMS_ITEM_ID(zdm1StepOptionNum),
  kItem_zdmTrayOrient0 = ZEMS_ITEM_ID(zdmTrayOrient0),
  kItem_zdmTrayOrient28 = ZEMS_ITEM_ID(zdmTrayOrient28),
  kItem_zdmTray1Paper = ZEMS_ITEM_ID(zdmTray1Paper),
  kItem_zdmTray29PaperMulti = ZEMS_ITEM_ID(zdmTray29PaperMulti),
  kItem_zdmTray1Media = ZEMS_ITEM_ID(zdmTray1Media),
  kItem_zdmTray29MediaMulti = ZEMS_ITEM_ID(zdmTray29MediaMulti),
  kItem_zdmTray2Paper = ZEMS_ITEM_ID(zdmTray2Paper),
  kItem_zdmTray3Paper = ZEMS_ITEM_ID(zdmTray3Paper),
  kItem_zdmTrayOrient1 = ZEMS_ITEM_ID(zdmTrayOrient1),
  kItem_zdmTrayOrient2 = ZEMS_ITEM_ID(zdmTrayOrient2),
  kItem_zdmTray2Media = ZEMS_ITEM_ID(zdmTray2Media),
  kItem_zdmTray3Media = ZEMS_ITEM_ID(zdmTray3Media),
  kItem_zdmFontTableNum = ZEMS_ITEM_ID(zdmFontTableNum),
  kItem_zdmFontTable = ZEMS_ITEM_ID(zdmFontTable),
  kItem_zdmDeviceFontNum = ZEMS_ITEM_ID(zdmDeviceFontNum),
  kItem_zdmDeviceFont = ZEMS_ITEM_ID(zdmDeviceFont),
  kItem_zdmOptionFontNum = ZEMS_ITEM_ID(zdmOptionFontNum),
  kItem_zdmOptionFont = ZEMS_ITEM_ID(zdmOptionFont),
  kItem_zdmOther = ZEMS_ITEM_ID(zdmOther),
  kItem_zdmDriverType = ZEMS_ITEM_ID(zdmDriverType),
  kItem_wdmCustomFunc0 = ZEMS_ITEM_ID(wdmCustomFunc0),
  kItem_wdmCustomFunc31 = ZEMS_ITEM_ID(wdmCustomFunc31),
};

static_assert(kItem_dmOrientation == 7, "dmOrientation");
static_assert(kItem_dmPaperSize == 8, "dmPaperSize");
static_assert(kItem_dmCopies == 12, "dmCopies");
static_assert(kItem_dmDefaultSource == 13, "dmDefaultSource");
static_assert(kItem_dmPrintQuality == 14, "dmPrintQuality");
static_assert(kItem_dmColor == 15, "dmColor");
static_assert(kItem_dmYResolution == 17, "dmYResolution");
static_assert(kItem_zdmDstResolutionW == 38, "zdmDstResolutionW");
static_assert(kItem_zdmDstResolutionH == 39, "zdmDstResolutionH");
static_assert(kItem_zdmOutPaperSize == 46, "zdmOutPaperSize");
static_assert(kItem_zdmOutputTrayID == 53, "zdmOutputTrayID");
static_assert(kItem_zdmMediaType == 54, "zdmMediaType");
static_assert(kItem_zdmFuncSelectScale == 55, "zdmFuncSelectScale");
static_assert(kItem_zdmFuncSelectNup == 56, "zdmFuncSelectNup");
static_assert(kItem_zdmFuncSelectDuplex == 58, "zdmFuncSelectDuplex");
static_assert(kItem_zdmFuncSelectSort == 61, "zdmFuncSelectSort");
static_assert(kItem_zdmScaleType == 87, "zdmScaleType");
static_assert(kItem_zdmScaleH == 89, "zdmScaleH");
static_assert(kItem_zdmScaleV == 90, "zdmScaleV");
static_assert(kItem_zdmNUPPOSTKind == 91, "zdmNUPPOSTKind");
static_assert(kItem_zdmNUPType == 92, "zdmNUPType");
static_assert(kItem_zdmNUPLine == 93, "zdmNUPLine");
static_assert(kItem_zdmDuplexType == 94, "zdmDuplexType");
static_assert(kItem_zdmShiftDir == 95, "zdmShiftDir");
static_assert(kItem_zdmMarginOdd == 98, "zdmMarginOdd");
static_assert(kItem_zdmMarginEven == 99, "zdmMarginEven");
static_assert(kItem_zdmSortType == 119, "zdmSortType");
static_assert(kItem_zdmUseUserMacro == 176, "zdmUseUserMacro");
static_assert(kItem_zdmBalanceMacro == 178, "zdmBalanceMacro");
static_assert(kItem_zdmUserCode == 203, "zdmUserCode");
static_assert(kItem_zdmJobBinder == 704, "zdmJobBinder");
static_assert(kItem_zdmPrinterMemory == 10012, "zdmPrinterMemory");
static_assert(kItem_zdmSourceOptionTypeDuplex == 10014, "zdmSourceOptionTypeDuplex");
static_assert(kItem_zdmSourceOptionType1Step == 10023, "zdmSourceOptionType1Step");
static_assert(kItem_zdmOutputOptionTypeUpperBin == 10056, "zdmOutputOptionTypeUpperBin");
static_assert(kItem_zdmOutputOptionTypeMailbox2 == 10057, "zdmOutputOptionTypeMailbox2");
static_assert(kItem_zdmOutputOptionTypeHDD == 10070, "zdmOutputOptionTypeHDD");
static_assert(kItem_zdm1StepOptionNum == 10110, "zdm1StepOptionNum");
static_assert(kItem_zdmTrayOrient0 == 10143, "zdmTrayOrient0");
static_assert(kItem_zdmTrayOrient28 == 10171, "zdmTrayOrient28");
static_assert(kItem_zdmTray1Paper == 10175, "zdmTray1Paper");
static_assert(kItem_zdmTray29PaperMulti == 10203, "zdmTray29PaperMulti");
static_assert(kItem_zdmTray1Media == 10207, "zdmTray1Media");
static_assert(kItem_zdmTray29MediaMulti == 10235, "zdmTray29MediaMulti");
static_assert(kItem_zdmTray2Paper == 10176, "zdmTray2Paper");
static_assert(kItem_zdmTray3Paper == 10177, "zdmTray3Paper");
static_assert(kItem_zdmTrayOrient1 == 10144, "zdmTrayOrient1");
static_assert(kItem_zdmTrayOrient2 == 10145, "zdmTrayOrient2");
static_assert(kItem_zdmTray2Media == 10208, "zdmTray2Media");
static_assert(kItem_zdmTray3Media == 10209, "zdmTray3Media");
static_assert(kItem_zdmFontTableNum == 10004, "zdmFontTableNum");
static_assert(kItem_zdmFontTable == 10005, "zdmFontTable");
static_assert(kItem_zdmDeviceFontNum == 10006, "zdmDeviceFontNum");
static_assert(kItem_zdmDeviceFont == 10007, "zdmDeviceFont");
static_assert(kItem_zdmOptionFontNum == 10008, "zdmOptionFontNum");
static_assert(kItem_zdmOptionFont == 10009, "zdmOptionFont");
static_assert(kItem_zdmOther == 10274, "zdmOther");
static_assert(kItem_zdmDriverType == 242, "zdmDriverType");
static_assert(kItem_wdmCustomFunc0 == 1462, "wdmCustomFunc0");
static_assert(kItem_wdmCustomFunc31 == 1493, "wdmCustomFunc31");
