// Minimal version until the UI state is built with the driver context: the open kind and
// mode, the settings-file path, the language code and the text buffer of each context are
// kept in a table beside the context, made on first use and kept for the process.
#include <map>
#include <mutex>

#include "core/common/context_facts.h"

namespace {

struct Facts {
  DWORD openKind = 0;
  WORD openMode = 0;
  WCHAR settingsFile[kCtxSettingsFileChars] = {};
  WCHAR languageCode[kCtxLanguageCodeChars] = {};
  WCHAR textBuffer[kCtxTextBufferChars] = {};
};

std::mutex g_lock;
std::map<const DriverContext*, Facts>& Table() {
  static std::map<const DriverContext*, Facts> table;
  return table;
}

Facts* Find(DriverContext* ctx) {
  if (!ctx) return nullptr;
  std::lock_guard<std::mutex> hold(g_lock);
  return &Table()[ctx];  // map nodes stay where they are
}

}  // namespace

DWORD CtxOpenKind(DriverContext* ctx) {
  Facts* f = Find(ctx);
  return f ? f->openKind : 0;
}
WORD CtxOpenMode(DriverContext* ctx) {
  Facts* f = Find(ctx);
  return f ? f->openMode : 0;
}
LPWSTR CtxSettingsFilePath(DriverContext* ctx) {
  Facts* f = Find(ctx);
  return f ? f->settingsFile : nullptr;
}
LPWSTR CtxLanguageCode(DriverContext* ctx) {
  Facts* f = Find(ctx);
  return f ? f->languageCode : nullptr;
}
LPWSTR CtxTextBuffer(DriverContext* ctx) {
  Facts* f = Find(ctx);
  return f ? f->textBuffer : nullptr;
}
void CtxSetOpenKind(DriverContext* ctx, DWORD kind) {
  if (Facts* f = Find(ctx)) f->openKind = kind;
}
void CtxSetOpenMode(DriverContext* ctx, WORD mode) {
  if (Facts* f = Find(ctx)) f->openMode = mode;
}
