// Freeing the font tables of the current settings.
#include "core/store/font_tables.h"

#include "core/context/driver_context.h"
#include "core/context/settings_snapshot.h"

int StoreFreeFontTables(DriverContext* ctx) {
  if (ctx) CtxFreeFontTables(ctx, ctx->settings);
  return 1;
}
