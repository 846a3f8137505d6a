// The resource DLLs of a context, string loading and bitmap resources.
#include "core/system/resources.h"

#include "core/common/draw_ui.h"
#include "core/common/text.h"
#include "core/context/ui_state.h"
#include "core/model/model_lookup.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"

namespace {

// Searched in order: the first row that holds an id decides.
const BitmapRangeRow kBitmapRanges[] = {
    {8213, 10000, 1}, {6001, 6228, 0}, {6239, 6400, 0}, {7955, 7972, 0}, {7983, 7999, 0},
    {8101, 8169, 0},  {8184, 8212, 0}, {6229, 6238, 1}, {6401, 7954, 1}, {7973, 7982, 1},
    {8000, 8100, 1},  {8170, 8183, 1},
    // Value pictures (their value ids, 3000 up) and button faces live in the language DLL.
    {1, 5999, 0},     {0, 0, 0},
};

// A name the driver may put after its own folder: a bare file name, nothing that climbs out.
bool IsBareLeaf(const WCHAR* name) {
  if (!name || !name[0]) return false;
  for (const WCHAR* p = name; *p; ++p) {
    if (*p == u'\\' || *p == u'/' || *p == u':') return false;
    if (p[0] == u'.' && p[1] == u'.') return false;
  }
  return true;
}

HMODULE LoadOnce(HMODULE* slot, const WCHAR* path) {
  if (!*slot && path && path[0]) *slot = LoadLibraryW(path);
  return *slot;
}

}  // namespace

WCHAR* ResMakeDllPath(WCHAR* buffer, DWORD cchBuffer, const WCHAR* folder, const WCHAR* name, const WCHAR* code,
                      BOOL common) {
  if (!buffer || cchBuffer == 0) return buffer;
  DWORD folderLength = StrWideLength(folder);
  if (!IsBareLeaf(name) || !StrJoin(buffer, cchBuffer, folder ? folder : TEXT(""), folderLength, name)) {
    buffer[0] = 0;
    return buffer;
  }
  WCHAR* leaf = buffer + folderLength;
  DWORD length = StrWideLength(leaf);
  if (common) {
    if (length < 8) {
      buffer[0] = 0;
      return buffer;
    }
    leaf[length - 8] = u'C';
    leaf[length - 6] = u'X';
    leaf[length - 5] = u'X';
    return buffer;
  }
  DWORD dot = length;
  while (dot > 0 && leaf[dot - 1] != u'.') --dot;
  // dot is one past the last '.'; two characters must stand before it.
  if (dot < 3 || !code || StrWideLength(code) != 2) {
    buffer[0] = 0;
    return buffer;
  }
  leaf[dot - 3] = code[0];
  leaf[dot - 2] = code[1];
  return buffer;
}

namespace {

const WCHAR* BuildPath(DriverContext* ctx, BOOL common) {
  static const WCHAR kEmpty[1] = {0};
  if (!ctx || !ctx->ui) return kEmpty;
  WCHAR* buffer = ctx->ui->driverDirPath;
  const WCHAR* name = ModelGetUiResDllName(ctx);
  const WCHAR* code = common ? nullptr : ResGetUiLangCode(ctx);
  PathGetDriverDir(ctx);
  WCHAR folder[kPathChars];
  StrCopyCut(folder, kPathChars, buffer);
  return ResMakeDllPath(buffer, kPathChars, folder, name, code, common);
}

}  // namespace

const WCHAR* ResLanguageDllPath(DriverContext* ctx) { return BuildPath(ctx, FALSE); }
const WCHAR* ResCommonDllPath(DriverContext* ctx) { return BuildPath(ctx, TRUE); }

int ResIsJapanese(DriverContext* ctx) {
  const WCHAR* path = ResLanguageDllPath(ctx);
  DWORD n = StrWideLength(path);
  if (n < 6) return 0;
  WCHAR a = path[n - 6], b = path[n - 5];
  return (a == u'j' || a == u'J') && (b == u'p' || b == u'P');
}

HMODULE ResLoadLanguageDll(DriverContext* ctx) {
  if (!ctx) return nullptr;
  if (ctx->languageDll) return ctx->languageDll;
  return LoadOnce(&ctx->languageDll, ResLanguageDllPath(ctx));
}

HMODULE ResLoadCommonDll(DriverContext* ctx) {
  if (!ctx) return nullptr;
  if (ctx->commonDll) return ctx->commonDll;
  return LoadOnce(&ctx->commonDll, ResCommonDllPath(ctx));
}

void ResFreeDlls(DriverContext* ctx) {
  if (!ctx) return;
  if (ctx->languageDll) FreeLibrary(ctx->languageDll);
  if (ctx->commonDll) FreeLibrary(ctx->commonDll);
  ctx->languageDll = ctx->commonDll = nullptr;
}

int ResLoadString(DriverContext* ctx, UINT id, WCHAR* buffer, int cchBuffer, BOOL complete) {
  // A size of 0 would make LoadStringW hand out a pointer instead of text.
  if (!buffer || cchBuffer <= 0) return 0;
  buffer[0] = 0;
  HMODULE dll = ResLoadLanguageDll(ctx);
  if (!dll) return 0;
  int n = LoadStringW(dll, id, buffer, cchBuffer);
  if (n < 0) n = 0;
  buffer[cchBuffer - 1] = 0;
  if (complete) ResCompleteString(ctx, id, buffer, cchBuffer);
  return n;
}

const BitmapRangeRow* ResGetBitmapRanges() { return kBitmapRanges; }

int ResBitmapDllOf(UINT id) {
  for (const BitmapRangeRow* r = kBitmapRanges; r->firstId != 0; ++r)
    if (id >= r->firstId && id <= r->lastId) return int(r->dll);
  return -1;
}

HGLOBAL ResLoadBitmapResource(DriverContext* ctx, UINT id) {
  int which = ResBitmapDllOf(id);
  if (which < 0) return nullptr;
  HMODULE dll = which == 0 ? ResLoadLanguageDll(ctx) : ResLoadCommonDll(ctx);
  if (!dll) return nullptr;
  HRSRC found = FindResourceW(dll, MAKEINTRESOURCEW(id), RT_BITMAP);
  return found ? LoadResource(dll, found) : nullptr;
}

HBITMAP ResLoadBitmap(DriverContext* ctx, UINT id) {
  int which = ResBitmapDllOf(id);
  if (which < 0) return nullptr;
  HMODULE dll = which == 0 ? ResLoadLanguageDll(ctx) : ResLoadCommonDll(ctx);
  return dll ? DuiLoadBitmap(dll, MAKEINTRESOURCEW(id)) : nullptr;
}

HBITMAP ResLoadCommonBitmapByName(DriverContext* ctx, LPCWSTR name) {
  HMODULE dll = name ? ResLoadCommonDll(ctx) : nullptr;
  return dll ? DuiLoadBitmap(dll, name) : nullptr;
}

void ResDrawIconAt(DriverContext* ctx, HDC dc, int x, int y, UINT id) {
  HMODULE dll = dc ? ResLoadLanguageDll(ctx) : nullptr;
  if (dll) DuiDrawIcon(dc, dll, id, x, y);
}

void ResDrawIcon(DriverContext* ctx, HWND window, UINT id) {
  HDC dc = DuiGetDc(window);
  if (!dc) return;
  ResDrawIconAt(ctx, dc, 0, 0, id);
  DuiReleaseDc(window, dc);
}
