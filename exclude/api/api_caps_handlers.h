// Handlers of the capability items.
#pragma once
#include "platform/win32.h"

struct ApiContext;

// 34: zdmShiftMarginY has a numeric range.
LONG ApiCapsShiftYRange(ApiContext* api, DWORD id, void* buffer);
// 76: 0 when zdmExtOutput2SeparationSheet is not offered, else zdmSeparationSheetCycle's maximum.
LONG ApiCapsSeparationCycle(ApiContext* api, DWORD id, void* buffer);
// 82: authentication kinds 0, 1 or 2.
LONG ApiCapsAuthMode(ApiContext* api, DWORD id, void* buffer);
// The dialog TOV_IDD_ADVANCED is not disabled and zdmPrnFuncAuthenticationSecureMode is offered
// (the condition of authentication kind 2, caps 82 and 92).
int ApiAuthSecureOffered(ApiContext* api);
// 276: has options of zdmColorMatching when the environment's OS kind is neither 0 nor 1.
LONG ApiCapsColorMatching(ApiContext* api, DWORD id, void* buffer);
// 277: the allowed ICM types when capability 276 is present.
LONG ApiCapsIcmTypes(ApiContext* api, DWORD id, void* buffer);

// ---- the catalogue's remaining handlers (api_caps_values.cpp, api_caps_own_rules.cpp) ----
LONG ApiCapsAlways(ApiContext* api, DWORD id, void* buffer);            // 1, 24
LONG ApiCapsSettingValueList(ApiContext* api, DWORD id, void* buffer);  // 2, 4, 6, 15, 39-41
LONG ApiCapsSettingNameList(ApiContext* api, DWORD id, void* buffer);   // 3, 5, 7, 16, 127
LONG ApiCapsAllowedList(ApiContext* api, DWORD id, void* buffer);       // 18, 45, 47, 266, 268
LONG ApiCapsDependentAllowed(ApiContext* api, DWORD id, void* buffer);  // 66, 67, 109, 278
LONG ApiCapsMacroNames(ApiContext* api, DWORD id, void* buffer);        // 267, 269, 279
LONG ApiCapsPaperCodes(ApiContext* api, DWORD id, void* buffer);        // 10
LONG ApiCapsPaperNames(ApiContext* api, DWORD id, void* buffer);        // 11
LONG ApiCapsPaperSizes(ApiContext* api, DWORD id, void* buffer);        // 12
LONG ApiCapsPaperExtent16(ApiContext* api, DWORD id, void* buffer);     // 13, 14
LONG ApiCapsPaperExtent32(ApiContext* api, DWORD id, void* buffer);     // 124, 125
// The largest (maximum nonzero) or smallest custom paper {width, length} in display units as
// 32-bit values, limited to the custom-size ranges: 1, 0 without model record.
int ApiPaperExtentPair32(ApiContext* api, LONG* out, int maximum);
LONG ApiCapsScaleRange(ApiContext* api, DWORD id, void* buffer);        // 20, 21
LONG ApiCapsLengthRange(ApiContext* api, DWORD id, void* buffer);       // 26-29, 35-38, 113-116
LONG ApiCapsAdjustRange(ApiContext* api, DWORD id, void* buffer);       // 258-265
LONG ApiCapsMaxCopies(ApiContext* api, DWORD id, void* buffer);         // 17
LONG ApiCapsTextLength(ApiContext* api, DWORD id, void* buffer);        // 83, 90, 91
LONG ApiCapsSettingIfOffered(ApiContext* api, DWORD id, void* buffer);  // 89, 100, 0x30000
LONG ApiCapsColor(ApiContext* api, DWORD id, void* buffer);             // 8
LONG ApiCapsOrientation(ApiContext* api, DWORD id, void* buffer);       // 9
LONG ApiCapsScaleTypes(ApiContext* api, DWORD id, void* buffer);        // 19
LONG ApiCapsCover(ApiContext* api, DWORD id, void* buffer);             // 22
LONG ApiCapsMark(ApiContext* api, DWORD id, void* buffer);              // 23
LONG ApiCapsDuplex(ApiContext* api, DWORD id, void* buffer);            // 25
LONG ApiCapsWatermarkKinds(ApiContext* api, DWORD id, void* buffer);    // 30
LONG ApiCapsWatermarks(ApiContext* api, DWORD id, void* buffer);        // 32, 33
LONG ApiCapsJobBinder(ApiContext* api, DWORD id, void* buffer);         // 49
LONG ApiCapsHardDisk(ApiContext* api, DWORD id, void* buffer);          // 50, 51
LONG ApiCapsResolutionMacros(ApiContext* api, DWORD id, void* buffer);  // 54
LONG ApiCapsMarkPaperTypes(ApiContext* api, DWORD id, void* buffer);    // 56
LONG ApiCapsFunc1Bit(ApiContext* api, DWORD id, void* buffer);          // 57, 74, 95, 118
LONG ApiCapsColorModes(ApiContext* api, DWORD id, void* buffer);        // 61
LONG ApiCapsFoldKinds(ApiContext* api, DWORD id, void* buffer);         // 75
LONG ApiCapsTwoPlaneStamps(ApiContext* api, DWORD id, void* buffer);    // 77
LONG ApiCapsPresetIds(ApiContext* api, DWORD id, void* buffer);         // 85
LONG ApiCapsPresetNames(ApiContext* api, DWORD id, void* buffer);       // 86
LONG ApiCapsAuthKinds(ApiContext* api, DWORD id, void* buffer);         // 92
LONG ApiCapsLoadShare(ApiContext* api, DWORD id, void* buffer);         // 93
LONG ApiCapsCoverMedia(ApiContext* api, DWORD id, void* buffer);        // 98
LONG ApiCapsDuplexTypes(ApiContext* api, DWORD id, void* buffer);       // 103, 104
LONG ApiCapsNupTypes(ApiContext* api, DWORD id, void* buffer);          // 105, 106
LONG ApiCapsColorValues(ApiContext* api, DWORD id, void* buffer);       // 107
LONG ApiCapsMarginOverlap(ApiContext* api, DWORD id, void* buffer);     // 110
LONG ApiCapsFolding(ApiContext* api, DWORD id, void* buffer);           // 126
LONG ApiCapsUserMacros(ApiContext* api, DWORD id, void* buffer);        // 271
LONG ApiCapsUserMacroNames(ApiContext* api, DWORD id, void* buffer);    // 272
LONG ApiCapsTonerSaveDialog(ApiContext* api, DWORD id, void* buffer);   // 274
LONG ApiCapsTonerSaveValues(ApiContext* api, DWORD id, void* buffer);   // 275
LONG ApiCapsMatchingModes(ApiContext* api, DWORD id, void* buffer);     // 281
LONG ApiCapsMatchingNames(ApiContext* api, DWORD id, void* buffer);     // 282
