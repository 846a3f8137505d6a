// Capability items: the rows of ApiCapsItemTable, the dispatch with its gates and the helpers
// the capability handlers share.
#pragma once
#include "platform/win32.h"

struct ApiContext;

// (context, caps id, buffer or null) -> the item's answer (a null buffer asks for the answer
// alone, for lists the count).
typedef LONG (*ApiCapsHandler)(ApiContext* api, DWORD id, void* buffer);

struct ApiCapsItem {
  DWORD id;
  DWORD enabled;
  DWORD settingId;  // the setting whose usability gates the item (feature gate), 0 for none
  ApiCapsHandler handler;
};

constexpr DWORD kApiCapsBasicRows = 127;    // ids 1-127
constexpr DWORD kApiCapsExtendedRows = 26;  // ids 257-282
constexpr DWORD kApiCapsExtraRows = 1;      // id 0x30000
extern const ApiCapsItem ApiCapsItemTable[kApiCapsBasicRows];
extern const ApiCapsItem ApiCapsItemTableExt[kApiCapsExtendedRows];
extern const ApiCapsItem ApiCapsItemTableExtra[kApiCapsExtraRows];

// The row of a caps id at a level (1..last basic, 257..last overall, else the extra list), or
// null.
const ApiCapsItem* ApiFindCapsItem(DWORD id, LONG level);
// The row whatever the level (the enabled bitmaps), or null.
const ApiCapsItem* ApiCapsRow(DWORD id);
// The dispatch: 0 when gated, disabled or without handler; -1 with error 100 when the printer
// cannot be opened; else the handler's answer (the previous last error kept unless -1).
LONG ApiDispatchGetCaps(ApiContext* api, DWORD id, void* buffer);

// ---- shared handlers of the catalogue's uniform forms ----
// Offered-test flags (value 0, flags 1; flags 3 where the catalogue says) of the setting the
// caps id stands for.
LONG ApiCapsOfferedFlag(ApiContext* api, DWORD id, void* buffer);
// Has-options flags.
LONG ApiCapsHasOptionsFlag(ApiContext* api, DWORD id, void* buffer);
// The setting an offered-test or has-options caps id stands for (0 when none) and its flags.
WORD ApiCapsFlagSetting(DWORD id, DWORD* flags);
