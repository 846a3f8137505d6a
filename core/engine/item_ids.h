// Ids of the setting items that the static tables name.
#pragma once
#include "platform/win32.h"

namespace zems {

enum : DWORD {
  kItem_dmOrientation = 7,
  kItem_dmPaperSize = 8,
  kItem_dmCopies = 12,
  kItem_dmDefaultSource = 13,
  kItem_dmPrintQuality = 14,
  kItem_dmColor = 15,
  kItem_dmYResolution = 17,
  kItem_zdmDstResolutionW = 38,
  kItem_zdmDstResolutionH = 39,
  kItem_zdmOutPaperSize = 46,
  kItem_zdmOutputTrayID = 53,
  kItem_zdmMediaType = 54,
  kItem_zdmFuncSelectScale = 55,
  kItem_zdmFuncSelectNup = 56,
  kItem_zdmFuncSelectDuplex = 58,
  kItem_zdmFuncSelectSort = 61,
  kItem_zdmScaleType = 87,
  kItem_zdmScaleH = 89,
  kItem_zdmScaleV = 90,
  kItem_zdmNUPPOSTKind = 91,
  kItem_zdmNUPType = 92,
  kItem_zdmNUPLine = 93,
  kItem_zdmDuplexType = 94,
  kItem_zdmShiftDir = 95,
  kItem_zdmMarginOdd = 98,
  kItem_zdmMarginEven = 99,
  kItem_zdmSortType = 119,
  kItem_zdmUseUserMacro = 176,
  kItem_zdmBalanceMacro = 178,
  kItem_zdmUserCode = 203,
  kItem_zdmJobBinder = 704,
  kItem_zdmPrinterMemory = 10012,
  kItem_zdmSourceOptionTypeDuplex = 10014,
  kItem_zdmSourceOptionType1Step = 10023,
  kItem_zdmOutputOptionTypeUpperBin = 10056,
  kItem_zdmOutputOptionTypeMailbox2 = 10057,
  kItem_zdmOutputOptionTypeHDD = 10070,
  kItem_zdm1StepOptionNum = 10110,
  kItem_zdmTrayOrient0 = 10143,
  kItem_zdmTrayOrient28 = 10171,
  kItem_zdmTray1Paper = 10175,
  kItem_zdmTray29PaperMulti = 10203,
  kItem_zdmTray1Media = 10207,
  kItem_zdmTray29MediaMulti = 10235,
};

}  // namespace zems
