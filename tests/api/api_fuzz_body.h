// One hostile input through the application interface on an enabled context: a status record
// of the exact size its item and version ask, set (and read back), or a DEVMODE merged through
// GetDevmodeEx flag 8. Shared by the fuzz target tools/fuzz/api_status_fuzz.cpp and the bounded
// run of the native tests. No test framework here: a broken rule aborts.
#pragma once
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/devmode/dm_layout.h"
#include "core/items/item_table.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_exports.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_status_table.h"
#include "support/settings_file_exercise.h"

namespace zems_test {

// The sample machine under a fresh root (its folder into *root, its printer into *printer)
// with the interface enabled for its printer at level 16: the handle, or null.
inline void* ApiFuzzStart(const char* sourceDir, std::string* root, HANDLE* printer) {
  *printer = MakeSampleMachine(sourceDir, root);
  if (!*printer) return nullptr;
  DriverContext* ctx = OpenSampleContext(*printer);  // makes the settings folder
  if (!ctx) return nullptr;
  CtxClose(ctx);
  void* handle = ApiExportEnable("Office");
  // The sample machine's data file offers no level: the top one is settled here.
  ApiApplyOfferedLevel(16);
  ApiBuildEnabledMasks(16);
  const LONG wanted[2] = {0, 16};
  ApiExportInit(1, wanted);
  return handle;
}

// Status ids with set or get handlers of this build, in the order byte 0 picks them.
inline const std::vector<DWORD>& ApiFuzzIds() {
  static const std::vector<DWORD> ids = [] {
    std::vector<DWORD> out;
    for (DWORD id = 1; id <= 269; ++id) {
      const ApiStatusItem* row = ApiStatusRow(id);
      if (row && (row->set || row->get)) out.push_back(id);
    }
    return out;
  }();
  return ids;
}

inline void ApiFuzzFail(const char* what, DWORD id) {
  fprintf(stderr, "api fuzz: %s (status %lu)\n", what, static_cast<unsigned long>(id));
  abort();
}
#define ApiFuzzCheck(ok, what, id) \
  do {                              \
    if (!(ok)) ApiFuzzFail(what, id); \
  } while (0)

// Where byte 0 must be to pick this status id (-1 when the build has no handler for it).
inline int ApiFuzzIndexOf(DWORD id) {
  const std::vector<DWORD>& ids = ApiFuzzIds();
  for (size_t i = 0; i < ids.size(); ++i)
    if (ids[i] == id) return static_cast<int>(i);
  return -1;
}

// Byte 0 picks the item, byte 1 the mode (bits 0-1), the record version (bits 2-3), with bit 6
// a record whose bytes past the input are text characters instead of zeros (so every text
// field there, the last one included, runs to the record's end without a terminator) and, with
// bit 7, a DEVMODE merge instead; the rest is the record (or the DEVMODE), padded or cut.
inline void ApiFuzzOne(void* handle, const uint8_t* data, size_t size) {
  if (size < 2 || !handle) return;
  ApiContext* api = ApiEnterCall(handle);
  if (!api) return;
  const BYTE* block = CtxGetSettings(api->ctx);
  std::vector<BYTE> before(block, block + kDmSize);
  ApiLeaveCall(api);
  const uint8_t* rest = data + 2;
  const size_t restSize = size - 2;
  if (data[1] & 0x80) {
    // The caller's DEVMODE: what its size fields say is always inside the buffer.
    std::vector<BYTE> given(4096, 0);
    memcpy(given.data(), rest, restSize < given.size() ? restSize : given.size());
    WORD dmSize = 0, extra = 0;
    memcpy(&dmSize, given.data() + kDmOffSize, 2);
    memcpy(&extra, given.data() + kDmOffDriverExtra, 2);
    if (dmSize > 2048) dmSize = 2048;
    if (extra > 4096 - dmSize) extra = static_cast<WORD>(4096 - dmSize);
    memcpy(given.data() + kDmOffSize, &dmSize, 2);
    memcpy(given.data() + kDmOffDriverExtra, &extra, 2);
    std::vector<BYTE> out(kDmSize);
    const LONG r = ApiExportGetDevmodeEx(handle, 8, out.data(), given.data(), nullptr);
    ApiFuzzCheck(r == static_cast<LONG>(kDmSize) || r == -1, "a DEVMODE merge answered neither size nor -1", 0);
    return;
  }
  const std::vector<DWORD>& ids = ApiFuzzIds();
  const DWORD id = ids[data[0] % ids.size()];
  const LONG mode = data[1] & 3;
  DWORD version = (data[1] >> 2) & 3;
  // A set reads version 0 as version 1, and versions above the item's newest as the newest.
  DWORD recordSize = ApiRecordSize(id, version ? version : 1);
  for (DWORD newest = 3; recordSize == 0 && newest >= 1; --newest) recordSize = ApiRecordSize(id, newest);
  if (recordSize == 0) return;
  // Exactly the record's size: a text read past its array is a read past the allocation.
  std::vector<BYTE> record(recordSize, (data[1] & 0x40) ? 'Z' : 0);
  memcpy(record.data(), rest, restSize < recordSize ? restSize : recordSize);
  memcpy(record.data(), &version, sizeof(version));
  BYTE bits[64];
  memset(bits, 0xA5, sizeof(bits));
  const LONG r = ApiExportSetStatus(handle, id, record.data(), bits, mode);
  api = ApiEnterCall(handle);
  ApiFuzzCheck(api != nullptr, "the context is gone", id);
  if (r == -1) {
    // A refused set leaves the settings as they were.
    ApiFuzzCheck(memcmp(before.data(), CtxGetSettings(api->ctx), kDmSize) == 0, "a refused set changed the DEVMODE", id);
    // Refused before anything was tried: the bitmap is untouched; later: zeroed.
    const BYTE first = bits[0];
    for (UINT i = 0; i < ApiBitmapBytes(api); ++i)
      ApiFuzzCheck((first == 0 || first == 0xA5) && bits[i] == first, "a refused set left bitmap bits", id);
  }
  ApiLeaveCall(api);
  std::vector<BYTE> back(1024, 0);
  const LONG got = ApiExportGetStatus(handle, id, back.data(), version);
  ApiFuzzCheck(got == -1 || (got >= 0 && got <= 1024), "a get answered beyond its record", id);
}

}  // namespace zems_test
