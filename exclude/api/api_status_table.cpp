// The status item table: one row per status id (basic ids 1-79, extended ids 257-269).
//
// Adding a handler: declare it in the header of its group (api_items_<group>.h, already
// included below), define it in a file of that group, and put its name into the set, verify
// or get column of its row here, on that row's own line only. Handler conventions (record
// head, master switch, value test, persist through the journal) are in api_records.h and
// api_journal.h; the engine around set and verify is api_engine.cpp.
#include "exclude/api/api_status_table.h"

#include "core/items/item_ids.h"
#include "exclude/api/api_items_finishing.h"
#include "exclude/api/api_items_job.h"
#include "exclude/api/api_items_paper.h"
#include "exclude/api/api_items_quality.h"
#include "exclude/api/api_items_single.h"
#include "exclude/api/api_items_watermark.h"
#include "exclude/api/api_levels.h"

// {id, enabled, versions, main setting, reserved, set, verify, get, {related settings}}
const ApiStatusItem ApiStatusItemTable[kApiStatusBasicRows] = {
    {1, 1, 1, 0, 0, ApiSetSettingsFile, ApiVerifyAlways, ApiGetSettingsFile, {0, 0, 0, 0, 0, 0, 0, 0}},
    {2, 1, 1, kItem_dmDefaultSource, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_dmDefaultSource, 0, 0, 0, 0, 0, 0, 0}},
    {3, 1, 1, kItem_zdmMediaType, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmMediaType, 0, 0, 0, 0, 0, 0, 0}},
    {4, 1, 1, kItem_zdmOutputTrayID, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmOutputTrayID, 0, 0, 0, 0, 0, 0, 0}},
    {5, 1, 1, kItem_dmColor, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_dmColor, 0, 0, 0, 0, 0, 0, 0}},
    {6, 1, 1, kItem_dmOrientation, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_dmOrientation, 0, 0, 0, 0, 0, 0, 0}},
    {7, 1, 2, kItem_dmPaperSize, 0, ApiSetPaper, ApiVerifyPaper, ApiGetPaper, {kItem_dmPaperSize, kItem_dmPaperWidth, kItem_dmPaperLength, 0, 0, 0, 0, 0}},
    {8, 1, 3, kItem_zdmOutPaperSize, 0, ApiSetOutputPaper, ApiVerifyOutputPaper, ApiGetOutputPaper, {kItem_zdmOutPaperSize, 0, 0, 0, 0, 0, 0, 0}},
    {9, 1, 1, kItem_dmCopies, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_dmCopies, 0, 0, 0, 0, 0, 0, 0}},
    {10, 1, 3, kItem_zdmPrnMethod, 0, ApiSetJobType, ApiVerifyJobType, ApiGetJobType, {kItem_zdmPrnMethod, kItem_zdmUserID, kItem_zdmJOBPassword, kItem_zdmStoredPassword, kItem_zdmOwnerName, kItem_zdmDocumentName, kItem_zdmMergeFileName, kItem_wdmOvlPath}},
    {11, 1, 2, kItem_zdmFuncSelectScale, 0, ApiSetScale, ApiVerifyScale, ApiGetScale, {kItem_zdmFuncSelectScale, kItem_zdmScaleType, kItem_zdmScaleH, kItem_zdmScaleV, 0, 0, 0, 0}},
    {12, 1, 1, kItem_zdmFuncSelectCover, 0, ApiSetCover, ApiVerifyCover, ApiGetCover, {kItem_zdmFuncSelectCover, kItem_zdmCoverType, kItem_zdmCoverInputTray, 0, 0, 0, 0, 0}},
    {13, 1, 1, kItem_zdmFuncSelectMark, 0, ApiSetMarkPaper, ApiVerifyMarkPaper, ApiGetMarkPaper, {kItem_zdmFuncSelectMark, kItem_zdmMarkPaperType, kItem_zdmMPInputTray, 0, 0, 0, 0, 0}},
    {14, 1, 2, kItem_zdmFuncSelectNup, 0, ApiSetNup, ApiVerifyNup, ApiGetNup, {kItem_zdmFuncSelectNup, kItem_zdmNUPPOSTKind, kItem_zdmNUPType, 0, 0, 0, 0, 0}},
    {15, 1, 1, kItem_zdmFuncSelectDuplex, 0, ApiSetDuplex, ApiVerifySwitchOnly, ApiGetDuplex, {kItem_zdmFuncSelectDuplex, kItem_zdmDuplexType, 0, 0, 0, 0, 0, 0}},
    {16, 1, 3, kItem_zdmWmKind, 0, ApiSetWatermark, ApiVerifyAlways, ApiGetWatermark, {0, 0, 0, 0, 0, 0, 0, 0}},
    {17, 1, 1, kItem_zdmFuncSelectWaterMark, 0, ApiSetWatermarkChoice, ApiVerifyAlways, ApiGetWatermarkChoice, {kItem_zdmFuncSelectWaterMark, kItem_zdmWmID, 0, 0, 0, 0, 0, 0}},
    {18, 1, 1, kItem_zdmFuncSelectMargin, 0, ApiSetShiftMargin, ApiVerifySwitchOnly, ApiGetShiftMargin, {kItem_zdmFuncSelectMargin, kItem_zdmShiftDir, 0, 0, 0, 0, 0, 0}},
    {19, 1, 2, kItem_zdmFuncSelectSort, 0, ApiSetSort, ApiVerifySort, ApiGetSort, {kItem_zdmFuncSelectSort, kItem_zdmSortType, kItem_zdmExtOutput2SeparationSheet, kItem_zdmSeparationSheetCycle, 0, 0, 0, 0}},
    {20, 1, 1, kItem_zdmFuncSelectStaple, 0, ApiSetFinisher, ApiVerifySwitchOnly, ApiGetFinisher, {kItem_zdmFuncSelectStaple, kItem_zdmStapleType, 0, 0, 0, 0, 0, 0}},
    {21, 1, 1, kItem_zdmFuncSelectPunch, 0, ApiSetFinisher, ApiVerifySwitchOnly, ApiGetFinisher, {kItem_zdmFuncSelectPunch, kItem_zdmPunchType, 0, 0, 0, 0, 0, 0}},
    {22, 1, 1, kItem_zdmExtOutputDirection, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmExtOutputDirection, 0, 0, 0, 0, 0, 0, 0}},
    {23, 1, 1, kItem_zdmExtOutputOrderly, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmExtOutputOrderly, 0, 0, 0, 0, 0, 0, 0}},
    {24, 1, 1, kItem_zdmExtOutputWhitePaper, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmExtOutputWhitePaper, 0, 0, 0, 0, 0, 0, 0}},
    {25, 1, 1, kItem_zdmEmulation, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmEmulation, 0, 0, 0, 0, 0, 0, 0}},
    {26, 1, 1, kItem_zdmUserID, 0, ApiSetUserId, ApiVerifyAlways, ApiGetUserId, {kItem_zdmUserID, 0, 0, 0, 0, 0, 0, 0}},
    {27, 1, 1, kItem_zdmExtPrintArea, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmExtPrintArea, 0, 0, 0, 0, 0, 0, 0}},
    {28, 1, 3, kItem_zdmExtOutputPaperRotation, 0, ApiSetRotation, ApiVerifyRotation, ApiGetRotation, {kItem_zdmExtOutputPaperRotation, kItem_zdmRotationMode, kItem_zdmNupLayout, kItem_zdmBookLayout, 0, 0, 0, 0}},
    {29, 1, 1, kItem_zdmActionMarge, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmActionMarge, 0, 0, 0, 0, 0, 0, 0}},
    {30, 1, 1, kItem_zdmActionProof, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmActionProof, 0, 0, 0, 0, 0, 0, 0}},
    {31, 1, 1, kItem_zdmActionSecurity, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmActionSecurity, 0, 0, 0, 0, 0, 0, 0}},
    {32, 1, 1, kItem_zdmActionStored, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmActionStored, 0, 0, 0, 0, 0, 0, 0}},
    {33, 1, 1, kItem_zdmActionOverlay, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmActionOverlay, 0, 0, 0, 0, 0, 0, 0}},
    {34, 1, 1, kItem_zdmDstResolutionW, 0, ApiSetResolution, ApiVerifyAlways, ApiGetResolution, {kItem_zdmDstResolutionW, kItem_zdmDstResolutionBoth, 0, 0, 0, 0, 0, 0}},
    {35, 1, 1, kItem_zdmPlaneUseCMYKCyan, 0, ApiSetTonerPlanes, ApiVerifyTonerPlanes, ApiGetTonerPlanes, {kItem_zdmPlaneUseCMYKCyan, kItem_zdmPlaneUseCMYKMagenta, kItem_zdmPlaneUseCMYKYellow, kItem_zdmPlaneUseCMYKBlack, 0, 0, 0, 0}},
    {36, 1, 1, 0, 0, nullptr, nullptr, nullptr, {0, 0, 0, 0, 0, 0, 0, 0}},
    {37, 0, 1, 0, 0, nullptr, nullptr, nullptr, {0, 0, 0, 0, 0, 0, 0, 0}},
    {38, 1, 1, kItem_zdmAdjustMode, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmAdjustMode, 0, 0, 0, 0, 0, 0, 0}},
    {39, 1, 1, kItem_zdmColorMode, 0, ApiSetColorAdjust, ApiVerifyColorAdjust, ApiGetColorAdjust, {kItem_zdmColorMode, 0, 0, 0, 0, 0, 0, 0}},
    {40, 1, 1, kItem_zdmBrightness, 0, ApiSetColorAdjust, ApiVerifyColorAdjust, ApiGetColorAdjust, {kItem_zdmBrightness, 0, 0, 0, 0, 0, 0, 0}},
    {41, 1, 1, kItem_zdmContrast, 0, ApiSetColorAdjust, ApiVerifyColorAdjust, ApiGetColorAdjust, {kItem_zdmContrast, 0, 0, 0, 0, 0, 0, 0}},
    {42, 1, 1, kItem_zdmSaturation, 0, ApiSetColorAdjust, ApiVerifyColorAdjust, ApiGetColorAdjust, {kItem_zdmSaturation, 0, 0, 0, 0, 0, 0, 0}},
    {43, 1, 1, kItem_zdmColorBalanceR, 0, ApiSetColorBalance, ApiVerifyColorBalance, ApiGetColorBalance, {kItem_zdmColorBalanceR, kItem_zdmColorBalanceG, kItem_zdmColorBalanceB, 0, 0, 0, 0, 0}},
    {44, 0, 1, 0, 0, nullptr, nullptr, nullptr, {0, 0, 0, 0, 0, 0, 0, 0}},
    {45, 1, 1, kItem_zdmExtOutput2A4Fit, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmExtOutput2A4Fit, 0, 0, 0, 0, 0, 0, 0}},
    {46, 1, 1, kItem_zdmQualityFuncColorRevision, 0, ApiSetColorAdjust, ApiVerifyColorAdjust, ApiGetColorAdjust, {kItem_zdmQualityFuncColorRevision, 0, 0, 0, 0, 0, 0, 0}},
    {47, 1, 2, kItem_zdmHFFuncSelectDate, 0, ApiSetHeaderFooter, ApiVerifyHeaderFooter, ApiGetHeaderFooter, {kItem_zdmHFFuncSelectDate, kItem_zdmHFFuncSelectPage, kItem_zdmHFFuncSelectString, kItem_zdmHFDatePosi, kItem_zdmHFPagePosi, kItem_zdmHFStrPosi, kItem_zdmHFFuncSelectOrder, kItem_zdmHFString}},
    {48, 1, 1, kItem_zdmExtOutputEMFSpool, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmExtOutputEMFSpool, 0, 0, 0, 0, 0, 0, 0}},
    {49, 1, 1, kItem_zdmImagePrint, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmImagePrint, 0, 0, 0, 0, 0, 0, 0}},
    {50, 1, 1, 0, 0, ApiSetInfo, ApiVerifyInfo, ApiGetInfo, {0, 0, 0, 0, 0, 0, 0, 0}},
    {51, 1, 1, kItem_zdmFuncSelectFold, 0, ApiSetFinisher, ApiVerifySwitchOnly, ApiGetFinisher, {kItem_zdmFuncSelectFold, kItem_zdmFoldType, 0, 0, 0, 0, 0, 0}},
    {52, 1, 1, kItem_zdmFunc2SelectJobComplete, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmFunc2SelectJobComplete, 0, 0, 0, 0, 0, 0, 0}},
    {53, 1, 1, kItem_zdmFunc2SelectJobErr, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmFunc2SelectJobErr, 0, 0, 0, 0, 0, 0, 0}},
    {54, 1, 1, kItem_zdmPrnFuncAuthenticationMode, 0, nullptr, nullptr, ApiGetAuthMode, {kItem_zdmPrnFuncAuthenticationMode, kItem_zdmPrnFuncAuthenticationSecureMode, 0, 0, 0, 0, 0, 0}},
    {55, 1, 1, kItem_zdmFuncSelectCopyProtect, 0, ApiSetCopyGuard, ApiVerifyCopyGuard, ApiGetCopyGuard, {kItem_zdmFuncSelectCopyProtect, 0, 0, 0, 0, 0, 0, 0}},
    {56, 1, 2, kItem_zdmPresetNo, 0, ApiSetPresetNumber, ApiVerifyPresetNumber, ApiGetPresetNumber, {kItem_zdmPresetNo, 0, 0, 0, 0, 0, 0, 0}},
    {57, 1, 1, kItem_zdmPreviewPrint, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmPreviewPrint, 0, 0, 0, 0, 0, 0, 0}},
    {58, 1, 1, kItem_zdmExtOutput2OrientationManualTray, 0, ApiSetManualTray, ApiVerifyManualTray, ApiGetManualTray, {kItem_zdmExtOutput2OrientationManualTray, kItem_zdmOrientationManualTray, 0, 0, 0, 0, 0, 0}},
    {59, 1, 1, kItem_zdmPrnFuncAuthenticationMode, 0, ApiSetAuthUser, ApiVerifyAlways, ApiGetAuthUser, {kItem_zdmPrnFuncAuthenticationMode, kItem_zdmPrnFuncAuthenticationSecureMode, kItem_wdmAuthenticationUserName, kItem_wdmAuthenticationPassword, 0, 0, 0, 0}},
    {60, 1, 1, kItem_zdmPrnFuncAuthenticationMode, 0, ApiSetNetworkKey, ApiVerifyNetworkKey, ApiGetNetworkKey, {kItem_zdmPrnFuncAuthenticationMode, kItem_zdmPrnFuncAuthenticationSecureMode, kItem_wdmAuthenticationNetworkKey, 0, 0, 0, 0, 0}},
    {61, 1, 1, kItem_zdmLoadShare, 0, ApiSetLoadShare, ApiVerifyLoadShare, ApiGetLoadShare, {kItem_zdmLoadShare, 0, 0, 0, 0, 0, 0, 0}},
    {62, 1, 1, kItem_zdmExtOutputIndexRotation, 0, ApiSetIndexRotation, ApiVerifyIndexRotation, ApiGetIndexRotation, {kItem_zdmExtOutputIndexRotation, kItem_zdmExtOutputShiftPrint, 0, 0, 0, 0, 0, 0}},
    {63, 1, 1, 0, 0, nullptr, nullptr, ApiGetTrayInfo, {0, 0, 0, 0, 0, 0, 0, 0}},
    {64, 1, 1, kItem_zdmFuncSelectBack, 0, ApiSetBackCover, ApiVerifyBackCover, ApiGetBackCover, {kItem_zdmFuncSelectBack, kItem_zdmBackCoverType, kItem_zdmBackCoverInputTray, 0, 0, 0, 0, 0}},
    {65, 1, 1, kItem_zdmFuncSelectReverseCover, 0, ApiSetBackCover, ApiVerifyBackCover, ApiGetBackCover, {kItem_zdmFuncSelectReverseCover, kItem_zdmReverseCoverType, kItem_zdmReverseCoverInputTray, 0, 0, 0, 0, 0}},
    {66, 1, 1, 0, 0, ApiSetInsertMedia, ApiVerifyAlways, ApiGetInsertMedia, {kItem_zdmCoverMediaType, kItem_zdmBackCoverMediaType, kItem_zdmMPInputMediaType, kItem_zdmChapterMediaType, kItem_zdmReverseCoverMediaType, 0, 0, 0}},
    {67, 1, 2, kItem_zdmFuncSelectChapter, 0, ApiSetChapters, ApiVerifyChapters, ApiGetChapters, {kItem_zdmFuncSelectChapter, kItem_wdmChapterUseTray1, kItem_wdmChapterUseTray2, kItem_wdmChapterUseTray3, kItem_wdmChapterUseTray4, kItem_wdmChapterUseTray5, kItem_wdmChapterUseTray6, kItem_wdmChapterUseTray7}},
    {68, 1, 1, kItem_zdmFunc2SelectEdgeCorner, 0, ApiSetPageEdge, ApiVerifyPageEdge, ApiGetPageEdge, {kItem_zdmFunc2SelectEdgeCorner, kItem_zdmCornerPosi, 0, 0, 0, 0, 0, 0}},
    {69, 1, 1, kItem_zdmFuncSelectMarginOverlap, 0, ApiSetPageEdge, ApiVerifyPageEdge, ApiGetPageEdge, {kItem_zdmFuncSelectMarginOverlap, 0, 0, 0, 0, 0, 0, 0}},
    {70, 1, 1, kItem_zdmFuncSelectCrops, 0, ApiSetPageEdge, ApiVerifyPageEdge, ApiGetPageEdge, {kItem_zdmFuncSelectCrops, kItem_zdmFuncSelectCropsFirst, 0, 0, 0, 0, 0, 0}},
    {71, 1, 1, kItem_zdmCreepMarginInside, 0, ApiSetPageEdge, ApiVerifyPageEdge, ApiGetPageEdge, {kItem_zdmCreepMarginInside, kItem_zdmCreepMarginOutside, 0, 0, 0, 0, 0, 0}},
    {72, 1, 1, kItem_zdmExtOutput2PaperFace, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmExtOutput2PaperFace, 0, 0, 0, 0, 0, 0, 0}},
    {73, 1, 1, kItem_zdmFunc2SelectPageSeparation, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmFunc2SelectPageSeparation, 0, 0, 0, 0, 0, 0, 0}},
    {74, 1, 1, kItem_zdmExtOutput2NearStandard, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmExtOutput2NearStandard, 0, 0, 0, 0, 0, 0, 0}},
    {75, 1, 1, kItem_zdmPrnFuncReduceFont, 0, nullptr, nullptr, ApiGetSingle, {kItem_zdmPrnFuncReduceFont, 0, 0, 0, 0, 0, 0, 0}},
    {76, 1, 1, kItem_zdmActionPause, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmActionPause, 0, 0, 0, 0, 0, 0, 0}},
    {77, 1, 1, kItem_zdmActionSave, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmActionSave, 0, 0, 0, 0, 0, 0, 0}},
    {78, 1, 1, kItem_zdmActionPrintAndSave, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmActionPrintAndSave, 0, 0, 0, 0, 0, 0, 0}},
    {79, 1, 1, kItem_zdmFunc2SelectFolding, 0, ApiSetFolding, ApiVerifyFolding, ApiGetFolding, {kItem_zdmFunc2SelectFolding, kItem_zdmFunc2SelectFoldingPunch, kItem_zdmFunc2SelectFoldingCorner, kItem_zdmFoldingType, kItem_zdmFoldingLongFanType, kItem_zdmFoldingCustomType, kItem_zdmFoldingProgramType, 0}},
};

const ApiStatusItem ApiStatusItemTableExt[kApiStatusExtendedRows] = {
    {257, 1, 1, kItem_zdmAdjustObject, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmAdjustObject, 0, 0, 0, 0, 0, 0, 0}},
    {258, 1, 1, kItem_zdmUseUserMacro, 0, nullptr, nullptr, nullptr, {0, 0, 0, 0, 0, 0, 0, 0}},
    {259, 1, 1, kItem_zdmPrintMacro, 0, nullptr, nullptr, nullptr, {0, 0, 0, 0, 0, 0, 0, 0}},
    {260, 1, 1, kItem_zdmBalanceMacro, 0, nullptr, nullptr, nullptr, {0, 0, 0, 0, 0, 0, 0, 0}},
    {261, 1, 1, kItem_zdmUserPrintMacro, 0, nullptr, nullptr, nullptr, {0, 0, 0, 0, 0, 0, 0, 0}},
    {262, 1, 1, 0, 0, ApiSetPrintMacros, ApiVerifyPrintMacros, ApiGetPrintMacros, {kItem_zdmUseUserMacro, kItem_zdmPrintMacro, kItem_zdmBalanceMacro, kItem_zdmUserPrintMacro, 0, 0, 0, 0}},
    {263, 1, 1, kItem_zdmQualityFuncEcoColor, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmQualityFuncEcoColor, 0, 0, 0, 0, 0, 0, 0}},
    {264, 1, 1, kItem_zdmFuncSelectTonerSave, 0, ApiSetTonerSave, ApiVerifyTonerSave, ApiGetTonerSave, {kItem_zdmFuncSelectTonerSave, kItem_zdmTonerSave, 0, 0, 0, 0, 0, 0}},
    {265, 1, 1, kItem_zdmColorMatching, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmColorMatching, 0, 0, 0, 0, 0, 0, 0}},
    {266, 1, 1, kItem_zdmICMType, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmICMType, 0, 0, 0, 0, 0, 0, 0}},
    {267, 1, 1, kItem_zdmICMIntent, 0, ApiSetColorAdjust, ApiVerifyColorAdjust, ApiGetColorAdjust, {kItem_zdmICMIntent, 0, 0, 0, 0, 0, 0, 0}},
    {268, 1, 1, kItem_zdmExtOutputprinterSide, 0, ApiSetSingle, ApiVerifySingle, ApiGetSingle, {kItem_zdmExtOutputprinterSide, 0, 0, 0, 0, 0, 0, 0}},
    {269, 1, 1, kItem_zdmColorMatchingMode, 0, ApiSetColorAdjust, ApiVerifyColorAdjust, ApiGetColorAdjust, {kItem_zdmColorMatchingMode, 0, 0, 0, 0, 0, 0, 0}},
};

const ApiMasterKey ApiMasterKeyTable[kApiMasterKeyRows] = {
    {11, kItem_zdmFuncSelectScale, 0},
    {12, kItem_zdmFuncSelectCover, 3},
    {13, kItem_zdmFuncSelectMark, 2},
    {14, kItem_zdmFuncSelectNup, 0},
    {15, kItem_zdmFuncSelectDuplex, 0},
    {17, kItem_zdmFuncSelectWaterMark, 0},
    {18, kItem_zdmFuncSelectMargin, 0},
    {19, kItem_zdmFuncSelectSort, 0},
    {20, kItem_zdmFuncSelectStaple, 0},
    {21, kItem_zdmFuncSelectPunch, 0},
    {262, kItem_zdmUseUserMacro, 0},
    {264, kItem_zdmFuncSelectTonerSave, 0},
    {51, kItem_zdmFuncSelectFold, 0},
    {55, kItem_zdmFuncSelectCopyProtect, 0},
    {58, kItem_zdmExtOutput2OrientationManualTray, 0},
    {79, kItem_zdmFunc2SelectFolding, 0},
};

const ApiColor ApiColorTable[kApiColorRows] = {
    {0, 0, 0, 0}, {1, 255, 0, 0}, {2, 0, 255, 0}, {3, 0, 0, 255}, {4, 0, 255, 255}, {5, 255, 0, 255}, {6, 255, 255, 0},
};

namespace {

// Record versions of the versioned items: entry v = {size, lowest level}; entry 0 is {0, 0}.
constexpr ApiRecordVersion kVersions7[] = {{0, 0}, {32, 1}, {32, 12}};
constexpr ApiRecordVersion kVersions8[] = {{0, 0}, {32, 1}, {32, 10}, {32, 12}};
constexpr ApiRecordVersion kVersions10[] = {{0, 0}, {392, 1}, {408, 10}, {484, 14}};
constexpr ApiRecordVersion kVersions11[] = {{0, 0}, {32, 1}, {32, 14}};
constexpr ApiRecordVersion kVersions14[] = {{0, 0}, {32, 1}, {32, 10}};
constexpr ApiRecordVersion kVersions16[] = {{0, 0}, {372, 1}, {412, 3}, {420, 10}};
constexpr ApiRecordVersion kVersions19[] = {{0, 0}, {32, 1}, {32, 10}};
constexpr ApiRecordVersion kVersions28[] = {{0, 0}, {32, 1}, {32, 12}, {32, 14}};
constexpr ApiRecordVersion kVersions47[] = {{0, 0}, {104, 8}, {108, 10}};
constexpr ApiRecordVersion kVersions56[] = {{0, 0}, {0, 0}, {824, 11}};
constexpr ApiRecordVersion kVersions67[] = {{0, 0}, {36, 13}, {40, 15}};

struct VersionList {
  DWORD id;
  const ApiRecordVersion* entries;
  DWORD count;
};
#define VERSIONS(n) {n, kVersions##n, sizeof(kVersions##n) / sizeof(kVersions##n[0])}
constexpr VersionList kVersionLists[] = {VERSIONS(7),  VERSIONS(8),  VERSIONS(10), VERSIONS(11),
                                         VERSIONS(14), VERSIONS(16), VERSIONS(19), VERSIONS(28),
                                         VERSIONS(47), VERSIONS(56), VERSIONS(67)};
#undef VERSIONS

// Items with one version and a record of their own size; all others use the simple record.
struct OwnSize {
  DWORD id;
  DWORD size;
};
constexpr OwnSize kOwnSizes[] = {{1, 824}, {26, 392}, {50, 300}, {55, 172}, {59, 524}, {60, 44}, {63, 56}};

}  // namespace

const ApiStatusItem* ApiStatusRow(DWORD id) {
  if (id >= 1 && id <= kApiStatusBasicRows) return &ApiStatusItemTable[id - 1];
  if (id >= kApiFirstExtendedId && id < kApiFirstExtendedId + kApiStatusExtendedRows)
    return &ApiStatusItemTableExt[id - kApiFirstExtendedId];
  return nullptr;
}

const ApiStatusItem* ApiFindStatusItem(DWORD id, LONG level) {
  return ApiStatusIdAtLevel(id, level) ? ApiStatusRow(id) : nullptr;
}

const ApiRecordVersion* ApiRecordVersions(DWORD id, DWORD* count) {
  for (const VersionList& list : kVersionLists)
    if (list.id == id) {
      if (count) *count = list.count;
      return list.entries;
    }
  if (count) *count = 0;
  return nullptr;
}

DWORD ApiRecordSize(DWORD id, DWORD version) {
  DWORD count = 0;
  if (const ApiRecordVersion* list = ApiRecordVersions(id, &count)) return version < count ? list[version].size : 0;
  for (const OwnSize& own : kOwnSizes)
    if (own.id == id) return own.size;
  return 32;
}

int ApiCompareGetVersion(DWORD id, DWORD versionCount, DWORD version) {
  (void)id;
  if (version == 0 || version == versionCount) return 0;
  return version < versionCount ? 1 : 2;
}

DWORD ApiFindMasterKey(DWORD statusId, const ApiMasterKey** out) {
  for (const ApiMasterKey& row : ApiMasterKeyTable)
    if (row.statusId == statusId) {
      if (out) *out = &row;
      return row.masterSetting;
    }
  if (out) *out = nullptr;
  return 0;
}

const ApiColor* ApiFindColor(BYTE index) {
  for (const ApiColor& row : ApiColorTable)
    if (row.index == index) return &row;
  return nullptr;
}
