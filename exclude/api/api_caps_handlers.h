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
