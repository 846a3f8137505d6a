// Minimal version until units and derived settings are built: no language uses a decimal
// comma (the language item does not exist yet).
#include "core/engine/units.h"

int ItemLangUsesDecimalComma(const DriverContext* ctx) {
  (void)ctx;
  return 0;
}
