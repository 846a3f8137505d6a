// The capability dispatch, the row lookups and the shared flag handlers.
#include "exclude/api/api_caps_table.h"

#include "core/rules/api_readers.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_services.h"

namespace {

// Caps ids whose row setting gates them (the feature gate) and the terminal-server gated ones.
bool FeatureGated(DWORD id) {
  switch (id) {
    case 8: case 55: case 61: case 64: case 65: case 70: case 72: case 75: case 126: return true;
    default: return id >= 262 && id <= 269;
  }
}

bool AdminGated(DWORD id) { return (id >= 49 && id <= 53) || (id >= 121 && id <= 123); }

// The uniform flag forms: {caps id, setting, offered-test flags (0: has options)}.
struct FlagForm {
  DWORD id;
  WORD setting;
  DWORD flags;
};
constexpr FlagForm kFlagForms[] = {
    // offered tests
    {31, 60, 1},   {43, 184, 1},  {52, 213, 1},  {53, 217, 1},  {78, 1098, 1}, {79, 103, 1},  {80, 530, 3},
    {81, 531, 3},  {84, 79, 1},   {87, 601, 1},  {88, 386, 1},  {94, 197, 1},  {96, 66, 1},   {97, 70, 1},
    {99, 69, 1},   {101, 679, 1}, {102, 680, 1}, {108, 537, 1}, {111, 81, 1},  {112, 691, 1}, {117, 393, 1},
    {119, 394, 1}, {120, 10358, 1}, {121, 218, 1}, {122, 219, 1}, {123, 220, 1},
    // has options
    {42, 183, 0},  {44, 187, 0},  {46, 202, 0},  {48, 194, 0},  {55, 144, 0},  {60, 128, 0},  {62, 138, 0},
    {63, 139, 0},  {64, 140, 0},  {65, 141, 0},  {69, 383, 0},  {70, 163, 0},  {71, 100, 0},  {72, 193, 0},
    {73, 174, 0},  {257, 129, 0}, {270, 176, 0}, {273, 154, 0}, {280, 196, 0},
};

}  // namespace

const ApiCapsItem* ApiCapsRow(DWORD id) {
  if (id >= 1 && id <= kApiCapsBasicRows) return &ApiCapsItemTable[id - 1];
  if (id >= kApiFirstExtendedId && id < kApiFirstExtendedId + kApiCapsExtendedRows)
    return &ApiCapsItemTableExt[id - kApiFirstExtendedId];
  for (const ApiCapsItem& row : ApiCapsItemTableExtra)
    if (row.id == id) return &row;
  return nullptr;
}

const ApiCapsItem* ApiFindCapsItem(DWORD id, LONG level) {
  return ApiCapsIdAtLevel(id, level) ? ApiCapsRow(id) : nullptr;
}

LONG ApiDispatchGetCaps(ApiContext* api, DWORD id, void* buffer) {
  const ApiCapsItem* row = ApiFindCapsItem(id, ApiLevel(api));
  if (!row || !row->enabled || !row->handler) return 0;
  // A nested question (a handler asking another capability) uses the printer already open.
  HANDLE printer = api->printer;
  const bool opened = printer == nullptr;
  if (opened && !ApiOpenPrinter(api, &printer, nullptr)) {
    ApiSetLastError(api, kApiErrInternal);
    return -1;
  }
  LONG result = 0;
  const bool gated = (FeatureGated(id) && !ApiIsFeatureUsable(api, static_cast<WORD>(row->settingId))) ||
                     (AdminGated(id) && ApiIsAdminLocked(api));
  if (!gated) {
    const LONG before = ApiPeekLastError(api);
    ApiSetLastError(api, kApiErrInternal);
    result = row->handler(api, id, buffer);
    if (result != -1) ApiRestoreLastError(api, before);
  }
  if (opened) ApiClosePrinter(api, printer);
  return result;
}

WORD ApiCapsFlagSetting(DWORD id, DWORD* flags) {
  for (const FlagForm& form : kFlagForms)
    if (form.id == id) {
      if (flags) *flags = form.flags;
      return form.setting;
    }
  if (flags) *flags = 0;
  return 0;
}

LONG ApiCapsOfferedFlag(ApiContext* api, DWORD id, void*) {
  DWORD flags = 0;
  const WORD setting = ApiCapsFlagSetting(id, &flags);
  if (!setting || !flags) return 0;
  return ApiIsSettingOffered(api, setting, 0, flags) ? 1 : 0;
}

LONG ApiCapsHasOptionsFlag(ApiContext* api, DWORD id, void*) {
  DWORD flags = 0;
  const WORD setting = ApiCapsFlagSetting(id, &flags);
  if (!setting || flags) return 0;
  return ApiSettingHasOptions(ApiDriverCtx(api), setting) ? 1 : 0;
}
