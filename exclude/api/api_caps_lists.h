// Lists the capability handlers answer: the room a fill may use, the allowed values of a
// setting, their display names and the listers behind them.
//
// Every list handler knows the room of its output. An inner caller (the all-capabilities record,
// a status item filling a temporary array) states it with ApiCapsRoom for the duration of its
// call; through the export the room of a fill is what the context's last measuring call (null
// buffer) for that capability answered. A list longer than its room answers -1 (error 100) and
// writes nothing.
#pragma once
#include "platform/win32.h"

struct ApiContext;
struct DriverContext;
struct NumericValueRecord;

// The room of the fills made while it lives (entries; names count one each).
class ApiCapsRoom {
 public:
  explicit ApiCapsRoom(LONG entries);
  ~ApiCapsRoom();
  ApiCapsRoom(const ApiCapsRoom&) = delete;
  ApiCapsRoom& operator=(const ApiCapsRoom&) = delete;

 private:
  LONG saved_;
  bool savedSet_;
};

// Room of the fill in progress: entries, or -1 when unbounded (no room stated).
LONG ApiCapsFillRoom(ApiContext* api, DWORD id);
// What the context's last measuring call through the export answered for the capability, or
// -1 when it made none (a fill without measure is then not bounded by one).
LONG ApiCapsMeasured(ApiContext* api, DWORD id);
// Records the answer of a measuring call through the export (null buffer) for the context.
void ApiCapsRecordMeasure(ApiContext* api, DWORD id, LONG count);
// Forgets the measures of a context (its handle); the context's close calls it.
void ApiCapsForgetMeasures(DWORD handle);
// Contexts whose measures are kept.
LONG ApiCapsMeasuredContexts();

// Copies a finished list of 32-bit entries into buffer when it fits the room: the count, or
// -1 when it does not fit (nothing written). A null buffer answers the count.
LONG ApiCapsPutInts(ApiContext* api, DWORD id, void* buffer, const LONG* values, LONG count);
// The same for names of width bytes each (slots already laid out in names).
LONG ApiCapsPutNames(ApiContext* api, DWORD id, void* buffer, const char* names, LONG count, int width);

// Wide text into an ANSI slot of width bytes: 1, or 0 when it does not convert (nor fit).
int ApiCapsToAnsi(const WCHAR* text, char* slot, int width);

// ---- helpers of the catalogue ----
// The setting's values that survive a trial set, as an int list (zdmOutputTrayID starts with a
// 0 entry); 0 when there are none, -1 when the list cannot be made. out may be null (count).
LONG ApiCapsSettingValues(ApiContext* api, DWORD id, LONG* out, WORD setting, LONG room);
// Code and name listers of a setting (counts; a null output only counts).
typedef int (*ApiCapsCodeLister)(ApiContext* api, WORD setting, LONG* codes);
typedef int (*ApiCapsNameLister)(ApiContext* api, WORD setting, WCHAR* names, int width);
// Display names of the values of ApiCapsSettingValues, slots of width bytes.
LONG ApiCapsSettingNames(ApiContext* api, DWORD id, void* buffer, WORD setting, int width,
                         ApiCapsCodeLister codes, ApiCapsNameLister names);
// A lister of 16-bit codes called twice (count, fill) and widened to 32-bit entries.
typedef int (*ApiCapsU16Lister)(DriverContext* ctx, WORD* out, WORD setting);
LONG ApiCapsFetchU16List(ApiContext* api, DWORD id, void* buffer, WORD setting, ApiCapsU16Lister lister);
// A lister of wide names of a fixed width called twice, each converted to ANSI into a slot of
// the same width; a name that does not convert makes the answer -1.
typedef int (*ApiCapsWideNameLister)(DriverContext* ctx, WCHAR* out, int width, WORD setting);
LONG ApiCapsFetchNameList(ApiContext* api, DWORD id, void* buffer, int width, WORD setting,
                          ApiCapsWideNameLister lister);
// The range record of a numeric setting of the context's model, null for any other setting.
const NumericValueRecord* ApiCapsNumberOf(ApiContext* api, WORD setting);
// Allowed values (ApiAllowedValues) into a list, -1 when there is none.
LONG ApiCapsAllowed(ApiContext* api, WORD setting, LONG* out);
// Names of the values of ApiAllowedValues: mode 1 the language string of the value id, mode 0
// the string ApiValueNameTable gives (an unnamed value gets an empty slot).
LONG ApiListValueNames(ApiContext* api, DWORD id, void* buffer, WORD setting, int width, int mode);
// Every value of a PickOne setting in list order: stored values, and names (language string of
// the value id, width characters each); -1 when not PickOne, without values or a value without
// value symbol.
int ApiListAllValueCodes(ApiContext* api, WORD setting, LONG* codes);
int ApiListAllValueNames(ApiContext* api, WORD setting, WCHAR* names, int width);

// Value ids and the string that names them to applications, ended by a 0 value id.
struct ApiValueName {
  WORD valueId;
  WORD stringId;
};
constexpr int kApiValueNameRows = 58;  // 57 pairs and the end row
extern const ApiValueName ApiValueNameTable[kApiValueNameRows];
// The string id of a value id, 0 when the table has none.
WORD ApiValueNameString(WORD valueId);

// The text of language string 204 (a value without a name).
constexpr UINT kApiStringUnnamedValue = 204;

// ZEMSDrvGetCaps for one capability: a measuring call (null buffer) is remembered for the
// context, and a fill may write no more entries than that measure answered.
LONG ApiExportDispatchCaps(ApiContext* api, DWORD id, void* buffer);
