// Minimal version until the DEVMODE merge and defaults are built: the settings block holds
// zeros in every item, laid out as the item catalogue places them (an NT-size public part and
// the three areas one after the other).
#include <string.h>

#include "core/common/mem.h"
#include "core/devmode/settings_defaults.h"
#include "core/context/driver_context.h"
#include "core/items/item_table.h"

BYTE* DmBuildDefault(DriverContext* ctx, int mode) {
  (void)mode;
  if (!ctx) return nullptr;
  BYTE* block = static_cast<BYTE*>(MemAllocZero(kSettingsBlockSize));
  if (!block) return nullptr;
  const WORD publicSize = 220;
  memcpy(block + 68, &publicSize, 2);  // dmSize
  const WORD areas[3] = {0, WORD(kDevmodeAreaSize), WORD(kDevmodeAreaSize + kExtensionAreaSize)};
  memcpy(block + kDmAreaOffsetWords, areas, sizeof(areas));
  return block;
}

