// Ids of the setting items that the code names, taken from the item catalogue by name at
// compile time, so no table or getter can drift from the catalogue.
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
  kItem_zdmPresetNo = ZEMS_ITEM_ID(zdmPresetNo),
  kItem_zdmSrcPaperLengthDot = ZEMS_ITEM_ID(zdmSrcPaperLengthDot),
  kItem_zdmSrcPaperWidthDot = ZEMS_ITEM_ID(zdmSrcPaperWidthDot),
  kItem_zdmDstPaperLengthDot = ZEMS_ITEM_ID(zdmDstPaperLengthDot),
  kItem_zdmDstPaperWidthDot = ZEMS_ITEM_ID(zdmDstPaperWidthDot),
  kItem_zdmFuncSelectMark = ZEMS_ITEM_ID(zdmFuncSelectMark),
  kItem_zdmFuncSelectCover = ZEMS_ITEM_ID(zdmFuncSelectCover),
  kItem_zdmWmKind = ZEMS_ITEM_ID(zdmWmKind),
  kItem_zdmWmID = ZEMS_ITEM_ID(zdmWmID),
  kItem_zdmAdjustMode = ZEMS_ITEM_ID(zdmAdjustMode),
  kItem_zdmAdjustObject = ZEMS_ITEM_ID(zdmAdjustObject),
  kItem_zdmLanguageID = ZEMS_ITEM_ID(zdmLanguageID),
  kItem_zdmDspUnit = ZEMS_ITEM_ID(zdmDspUnit),
  kItem_zdmLocaleID = ZEMS_ITEM_ID(zdmLocaleID),
  kItem_zdmPrnMethod = ZEMS_ITEM_ID(zdmPrnMethod),
  kItem_zdmFrontFunc = ZEMS_ITEM_ID(zdmFrontFunc),
  kItem_zdmHiddenFunc16 = ZEMS_ITEM_ID(zdmHiddenFunc16),
  kItem_zdmExtOutput2A4Fit = ZEMS_ITEM_ID(zdmExtOutput2A4Fit),
  kItem_zdmAuthUserNameCharSet = ZEMS_ITEM_ID(zdmAuthUserNameCharSet),
  kItem_zdmAuthPasswordCharSet = ZEMS_ITEM_ID(zdmAuthPasswordCharSet),
  kItem_zdmDriverID = ZEMS_ITEM_ID(zdmDriverID),
  kItem_wdmFreeSizeName = ZEMS_ITEM_ID(wdmFreeSizeName),
  kItem_wdmFreeSizeWidth = ZEMS_ITEM_ID(wdmFreeSizeWidth),
  kItem_wdmFreeSizeLength = ZEMS_ITEM_ID(wdmFreeSizeLength),
  kItem_wdmAuthenticationUserName = ZEMS_ITEM_ID(wdmAuthenticationUserName),
  kItem_wdmAuthenticationPassword = ZEMS_ITEM_ID(wdmAuthenticationPassword),
  kItem_wdmAuthenticationNetworkKey = ZEMS_ITEM_ID(wdmAuthenticationNetworkKey),
  kItem_zdmTotalCounter = ZEMS_ITEM_ID(zdmTotalCounter),
  kItem_zdmPrnFuncAuthenticationMode = ZEMS_ITEM_ID(zdmPrnFuncAuthenticationMode),
  kItem_zdmPrnFuncAuthenticationSecureMode = ZEMS_ITEM_ID(zdmPrnFuncAuthenticationSecureMode),
  kItem_zdmLockInfoLockInfo = ZEMS_ITEM_ID(zdmLockInfoLockInfo),
  kItem_zdmLock000InfoBitDefault = ZEMS_ITEM_ID(zdmLock000InfoBitDefault),
  kItem_zdmLock000InfoBitTray = ZEMS_ITEM_ID(zdmLock000InfoBitTray),
  kItem_zdmLock000InfoBitMedia = ZEMS_ITEM_ID(zdmLock000InfoBitMedia),
  kItem_zdmLock000InfoBitNupKind = ZEMS_ITEM_ID(zdmLock000InfoBitNupKind),
  kItem_zdmLock000InfoBitNupKindAll = ZEMS_ITEM_ID(zdmLock000InfoBitNupKindAll),
  kItem_zdmLock000InfoBitDuplex = ZEMS_ITEM_ID(zdmLock000InfoBitDuplex),
  kItem_zdmLock000InfoBitPrintType = ZEMS_ITEM_ID(zdmLock000InfoBitPrintType),
  kItem_zdmLock000InfoBitResolution = ZEMS_ITEM_ID(zdmLock000InfoBitResolution),
  kItem_zdmLock001InfoBitColor = ZEMS_ITEM_ID(zdmLock001InfoBitColor),
  kItem_zdmLock001InfoBit7 = ZEMS_ITEM_ID(zdmLock001InfoBit7),
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
static_assert(kItem_zdmPresetNo == 37, "zdmPresetNo");
static_assert(kItem_zdmSrcPaperLengthDot == 40, "zdmSrcPaperLengthDot");
static_assert(kItem_zdmSrcPaperWidthDot == 41, "zdmSrcPaperWidthDot");
static_assert(kItem_zdmDstPaperLengthDot == 47, "zdmDstPaperLengthDot");
static_assert(kItem_zdmDstPaperWidthDot == 48, "zdmDstPaperWidthDot");
static_assert(kItem_zdmFuncSelectMark == 64, "zdmFuncSelectMark");
static_assert(kItem_zdmFuncSelectCover == 65, "zdmFuncSelectCover");
static_assert(kItem_zdmWmKind == 117, "zdmWmKind");
static_assert(kItem_zdmWmID == 118, "zdmWmID");
static_assert(kItem_zdmAdjustMode == 128, "zdmAdjustMode");
static_assert(kItem_zdmAdjustObject == 129, "zdmAdjustObject");
static_assert(kItem_zdmLanguageID == 169, "zdmLanguageID");
static_assert(kItem_zdmDspUnit == 171, "zdmDspUnit");
static_assert(kItem_zdmLocaleID == 172, "zdmLocaleID");
static_assert(kItem_zdmPrnMethod == 209, "zdmPrnMethod");
static_assert(kItem_zdmFrontFunc == 348, "zdmFrontFunc");
static_assert(kItem_zdmHiddenFunc16 == 365, "zdmHiddenFunc16");
static_assert(kItem_zdmExtOutput2A4Fit == 383, "zdmExtOutput2A4Fit");
static_assert(kItem_zdmAuthUserNameCharSet == 613, "zdmAuthUserNameCharSet");
static_assert(kItem_zdmAuthPasswordCharSet == 614, "zdmAuthPasswordCharSet");
static_assert(kItem_zdmDriverID == 684, "zdmDriverID");
static_assert(kItem_wdmFreeSizeName == 915, "wdmFreeSizeName");
static_assert(kItem_wdmFreeSizeWidth == 916, "wdmFreeSizeWidth");
static_assert(kItem_wdmFreeSizeLength == 917, "wdmFreeSizeLength");
static_assert(kItem_wdmAuthenticationUserName == 1112, "wdmAuthenticationUserName");
static_assert(kItem_wdmAuthenticationPassword == 1113, "wdmAuthenticationPassword");
static_assert(kItem_wdmAuthenticationNetworkKey == 1114, "wdmAuthenticationNetworkKey");
static_assert(kItem_zdmTotalCounter == 10289, "zdmTotalCounter");
static_assert(kItem_zdmPrnFuncAuthenticationMode == 10354, "zdmPrnFuncAuthenticationMode");
static_assert(kItem_zdmPrnFuncAuthenticationSecureMode == 10355, "zdmPrnFuncAuthenticationSecureMode");
static_assert(kItem_zdmLockInfoLockInfo == 10386, "zdmLockInfoLockInfo");
static_assert(kItem_zdmLock000InfoBitDefault == 10418, "zdmLock000InfoBitDefault");
static_assert(kItem_zdmLock000InfoBitTray == 10419, "zdmLock000InfoBitTray");
static_assert(kItem_zdmLock000InfoBitMedia == 10420, "zdmLock000InfoBitMedia");
static_assert(kItem_zdmLock000InfoBitNupKind == 10421, "zdmLock000InfoBitNupKind");
static_assert(kItem_zdmLock000InfoBitNupKindAll == 10422, "zdmLock000InfoBitNupKindAll");
static_assert(kItem_zdmLock000InfoBitDuplex == 10423, "zdmLock000InfoBitDuplex");
static_assert(kItem_zdmLock000InfoBitPrintType == 10424, "zdmLock000InfoBitPrintType");
static_assert(kItem_zdmLock000InfoBitResolution == 10425, "zdmLock000InfoBitResolution");
static_assert(kItem_zdmLock001InfoBitColor == 10426, "zdmLock001InfoBitColor");
static_assert(kItem_zdmLock001InfoBit7 == 10433, "zdmLock001InfoBit7");
