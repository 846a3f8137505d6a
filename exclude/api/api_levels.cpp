// The process-wide level, its id ranges and the enabled bitmaps; the last error of a context.
#include "exclude/api/api_levels.h"

#include <string.h>

#include "core/bind/bidi_api.h"
#include "exclude/api/api_caps_table.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_status_table.h"
#include "exclude/exc_lock.h"

namespace {

constexpr ApiLevelRow kLevelCounts[kApiTopLevel + 1] = {
    {0, 0, 0, 0},        {35, 35, 55, 55},    {35, 35, 56, 56},    {35, 35, 56, 56},    {36, 36, 57, 57},
    {36, 36, 57, 57},    {45, 264, 69, 275},  {46, 264, 70, 275},  {47, 264, 71, 275},  {47, 264, 71, 275},
    {54, 269, 83, 282},  {56, 269, 86, 282},  {60, 269, 92, 282},  {67, 269, 100, 282}, {72, 269, 117, 282},
    {78, 269, 123, 282}, {79, 269, 127, 282},
};

struct Globals {
  BYTE capsEnabled[kApiBitmapBytes];
  BYTE statusEnabled[kApiBitmapBytes];
  LONG level;
  LONG maxLevel;
};
Globals g_api = {{}, {}, kApiInitialLevel, kApiInitialMaxLevel};

// The lock of the process-wide fields; absent outside process attach (tests of the core run
// without the DLL's attach), where the callers are single-threaded.
class GlobalsLock {
 public:
  GlobalsLock() : lock_(ExcApiLock()) {
    if (lock_) EnterCriticalSection(lock_);
  }
  ~GlobalsLock() {
    if (lock_) LeaveCriticalSection(lock_);
  }
  GlobalsLock(const GlobalsLock&) = delete;
  GlobalsLock& operator=(const GlobalsLock&) = delete;

 private:
  CRITICAL_SECTION* lock_;
};

bool InRanges(DWORD id, const DWORD (*ranges)[2], size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (id >= ranges[i][0] && id <= ranges[i][1]) return true;
  return false;
}

}  // namespace

LONG ApiClampLevel(LONG level) { return level < 0 ? 0 : (level > kApiTopLevel ? kApiTopLevel : level); }

const ApiLevelRow& ApiLevelCounts(LONG level) { return kLevelCounts[ApiClampLevel(level)]; }

int ApiStatusIdAtLevel(DWORD id, LONG level) {
  const ApiLevelRow& row = ApiLevelCounts(level);
  if (id >= 1 && id <= row.statusLastBasic) return 1;
  return id >= kApiFirstExtendedId && id <= row.statusLastOverall ? 1 : 0;
}

int ApiCapsIdAtLevel(DWORD id, LONG level) {
  if (id == kApiExtraCapsId) return 1;
  const ApiLevelRow& row = ApiLevelCounts(level);
  if (id >= 1 && id <= row.capsLastBasic) return 1;
  return id >= kApiFirstExtendedId && id <= row.capsLastOverall ? 1 : 0;
}

DWORD ApiNextStatusId(DWORD id, LONG level) {
  const ApiLevelRow& row = ApiLevelCounts(level);
  DWORD next = id + 1;
  if (next > row.statusLastBasic && next < kApiFirstExtendedId) next = kApiFirstExtendedId;
  return next <= row.statusLastOverall ? next : 0;
}

UINT ApiBitmapSizeForLevel(LONG level) { return ApiClampLevel(level) < 6 ? kApiBitmapBytesLow : kApiBitmapBytes; }

void ApiBitmapSet(BYTE* bits, UINT bytes, DWORD id) {
  if (!bits || id < 1 || id > bytes * 8u) return;
  bits[(id - 1) >> 3] |= static_cast<BYTE>(0x80u >> ((id - 1) & 7u));
}

void ApiBitmapClear(BYTE* bits, UINT bytes, DWORD id) {
  if (!bits || id < 1 || id > bytes * 8u) return;
  bits[(id - 1) >> 3] &= static_cast<BYTE>(~(0x80u >> ((id - 1) & 7u)));
}

int ApiBitmapTest(const BYTE* bits, UINT bytes, DWORD id) {
  if (!bits || id < 1 || id > bytes * 8u) return 0;
  return (bits[(id - 1) >> 3] & (0x80u >> ((id - 1) & 7u))) ? 1 : 0;
}

int ApiStatusSupported(DWORD id) {
  static const DWORD kRanges[][2] = {{1, 36}, {38, 43}, {45, 79}, {257, 262}, {264, 269}};
  return InRanges(id, kRanges, sizeof(kRanges) / sizeof(kRanges[0])) ? 1 : 0;
}

int ApiCapsSupported(DWORD id) {
  static const DWORD kRanges[][2] = {{1, 57}, {60, 67}, {69, 127}, {257, 272}, {274, 282}};
  return InRanges(id, kRanges, sizeof(kRanges) / sizeof(kRanges[0])) ? 1 : 0;
}

LONG ApiGetLevel() {
  GlobalsLock hold;
  return g_api.level;
}

LONG ApiGetMaxLevel() {
  GlobalsLock hold;
  return g_api.maxLevel;
}

void ApiApplyOfferedLevel(LONG offered) {
  GlobalsLock hold;
  g_api.maxLevel = offered;
  if (offered <= 3) g_api.level = offered;
}

void ApiApplyWantedLevel(LONG wanted) {
  GlobalsLock hold;
  LONG level = g_api.maxLevel;
  if (wanted < level) level = wanted;
  g_api.level = level < 0 ? 0 : level;
}

void ApiBuildEnabledMasks(LONG level) {
  BYTE caps[kApiBitmapBytes] = {};
  BYTE status[kApiBitmapBytes] = {};
  for (DWORD id = 1; id <= kApiLastCapsId; ++id) {
    if (!ApiCapsIdAtLevel(id, level) || !ApiCapsSupported(id)) continue;
    const ApiCapsItem* row = ApiCapsRow(id);
    if (row && row->enabled) ApiBitmapSet(caps, kApiBitmapBytes, id);
  }
  for (DWORD id = 1; id <= kApiLastStatusId; ++id) {
    if (!ApiStatusIdAtLevel(id, level) || !ApiStatusSupported(id)) continue;
    const ApiStatusItem* row = ApiStatusRow(id);
    if (row && row->enabled) ApiBitmapSet(status, kApiBitmapBytes, id);
  }
  GlobalsLock hold;
  memcpy(g_api.capsEnabled, caps, sizeof(caps));
  memcpy(g_api.statusEnabled, status, sizeof(status));
}

int ApiIsStatusEnabled(DWORD id) {
  GlobalsLock hold;
  return ApiBitmapTest(g_api.statusEnabled, kApiBitmapBytes, id);
}

int ApiIsCapsEnabled(DWORD id) {
  if (id == kApiExtraCapsId) return 1;
  GlobalsLock hold;
  return ApiBitmapTest(g_api.capsEnabled, kApiBitmapBytes, id);
}

void ApiResetGlobals() {
  GlobalsLock hold;
  memset(g_api.capsEnabled, 0, sizeof(g_api.capsEnabled));
  memset(g_api.statusEnabled, 0, sizeof(g_api.statusEnabled));
  g_api.level = kApiInitialLevel;
  g_api.maxLevel = kApiInitialMaxLevel;
}

int ApiSetLastError(ApiContext* api, LONG code) {
  ApiState* state = ApiGetState(api);
  if (!state) return 0;
  const bool acquisition = code >= static_cast<LONG>(kApiErrorComm) && code <= static_cast<LONG>(kApiErrorBadFormat);
  if (!acquisition && ApiLevel(api) <= 8) return 0;
  state->lastError = code;
  return 1;
}

LONG ApiGetLastErrorCode(ApiContext* api) {
  ApiState* state = ApiGetState(api);
  if (!state || ApiLevel(api) <= 8) return -1;
  return state->lastError;
}

LONG ApiPeekLastError(ApiContext* api) {
  ApiState* state = ApiGetState(api);
  return state ? state->lastError : 0;
}

void ApiRestoreLastError(ApiContext* api, LONG code) {
  if (ApiState* state = ApiGetState(api)) state->lastError = code;
}
