// Public DEVMODE codes the driver accepts without a rule of the model.
#include "core/devmode/dm_codes.h"

#include <string.h>

#include <vector>

#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/tables/build_switches.h"
#include "core/tables/value_symbols.h"

int DmIsKnownPaperSize(LONG code) {
  if (code >= 1 && code <= 118) return 1;
  return TblIsKnownValue(kItem_dmPaperSize, code) ? 1 : 0;
}

int DmIsStdResolutionCode(LONG code) { return code >= -4 && code <= -1 ? 1 : 0; }

int DmIsColorCapable(DWORD flags, const void* devmode) {
  if (!devmode) return 0;
  constexpr size_t kSizeAt = 68;  // dmSize, then dmDriverExtra
  WORD sizes[2];
  memcpy(sizes, static_cast<const BYTE*>(devmode) + kSizeAt, sizeof sizes);
  size_t bytes = static_cast<size_t>(sizes[0]) + sizes[1];
  if (bytes < kSizeAt + sizeof sizes) bytes = kSizeAt + sizeof sizes;
  // A zero-filled copy: fields the caller's DEVMODE does not reach read as 0.
  std::vector<BYTE> copy(kSettingsBlockSize, 0);
  memcpy(copy.data(), devmode, bytes < copy.size() ? bytes : copy.size());
  DriverContext reader = *TblGetContextTemplate();
  reader.settings = copy.data();
  if (!ItemGetRawById(&reader, kItem_zdmMachineTypeColor)) return 0;
  if (BuildHasFeature(nullptr, 2) && (flags & 1) && ItemGetRawById(&reader, kItem_dmColor) == 1) return 0;
  return 1;
}
