// Small accessors of a context's UI state, kept apart from the open and release so that code
// which only reads a context does not bring the whole context machinery with it.
#include "core/common/context_facts.h"
#include "core/engine/driver_context.h"
#include "core/engine/model_record.h"
#include "core/engine/ui_state.h"

BYTE* CtxInitialSettingsBlock(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->initialSettings : nullptr; }
BYTE* CtxLockDefaultSettingsBlock(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->lockDefaults : nullptr; }

int CtxUsesGlobalMutex(const DriverContext* ctx) { return !ctx || !ctx->ui || ctx->ui->useGlobalMutex ? 1 : 0; }

int CtxHasModelCap(const DriverContext* ctx, DWORD mask) {
  return ctx && ctx->ui && (ctx->ui->variantCapMask & mask) ? 1 : 0;
}

DWORD CtxOpenKind(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->openKind : 0; }
WORD CtxOpenMode(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->openMode : 0; }
LPWSTR CtxSettingsFilePath(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->settingsFilePath : nullptr; }
LPWSTR CtxLanguageCode(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->languageCode : nullptr; }
LPWSTR CtxTextBuffer(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->textBuffer : nullptr; }

void CtxSetOpenKind(DriverContext* ctx, DWORD kind) {
  if (ctx && ctx->ui) ctx->ui->openKind = kind;
}
void CtxSetOpenMode(DriverContext* ctx, WORD mode) {
  if (ctx && ctx->ui) ctx->ui->openMode = mode;
}

static_assert(sizeof(UiState::settingsFilePath) / sizeof(WCHAR) == kCtxSettingsFileChars, "settings-file path");
static_assert(sizeof(UiState::languageCode) / sizeof(WCHAR) == kCtxLanguageCodeChars, "language code");
static_assert(sizeof(UiState::textBuffer) / sizeof(WCHAR) == kCtxTextBufferChars, "text buffer");
