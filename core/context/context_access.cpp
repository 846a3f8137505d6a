// Small accessors of a context's UI state, kept apart from the open and release so that code
// which only reads a context does not bring the whole context machinery with it.
#include "core/context/driver_context.h"
#include "core/common/locks.h"
#include "core/tables/model_record.h"
#include "core/context/ui_state.h"

BYTE* CtxInitialSettingsBlock(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->initialSettings : nullptr; }
BYTE* CtxLockDefaultSettingsBlock(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->lockDefaults : nullptr; }

int CtxUsesGlobalMutex(const DriverContext* ctx) { return !ctx || !ctx->ui || ctx->ui->useGlobalMutex ? 1 : 0; }

void CtxLockGlobalMutex(const DriverContext* ctx) {
  if (CtxUsesGlobalMutex(ctx)) LockGlobalMutex();
}

void CtxUnlockGlobalMutex(const DriverContext* ctx) {
  if (CtxUsesGlobalMutex(ctx)) UnlockGlobalMutex();
}

int CtxHasModelCap(const DriverContext* ctx, DWORD mask) {
  return ctx && ctx->ui && (ctx->ui->variantCapMask & mask) ? 1 : 0;
}

const ModelRecord* CtxModelRecord(const DriverContext* ctx) {
  if (ctx && ctx->model) return ctx->model;
  return TblGetModelRecord();
}

DWORD ModelGetLandscapeAngle(const DriverContext* ctx) { return CtxModelRecord(ctx)->landscapeAngle; }
