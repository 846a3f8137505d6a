// Copies out of the printer's driver folder.
#include "core/system/driver_files.h"

#include "core/common/file_ops.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/system/driver_paths.h"

namespace {

// a + b into out (MAX_PATH characters); false when it does not fit.
bool Join(LPWSTR out, LPCWSTR a, LPCWSTR b) { return StrJoin(out, MAX_PATH, a, StrWideLength(a), b) != 0; }

bool IsAbsolute(LPCWSTR path) { return path && path[0] && path[1] == ':'; }

}  // namespace

BOOL FileCopyFromDriverFolder(LPCWSTR name, LPCWSTR sourceName, WORD mode, DriverContext* ctx) {
  if (!name || !ctx) return FALSE;
  WCHAR source[MAX_PATH], target[MAX_PATH];
  // Only the printer's own driver folder is a source: without its driver information there is
  // nothing to copy from.
  source[0] = 0;
  PathInDriverDir(source, MAX_PATH, sourceName ? sourceName : name, ctx->printer);
  if (!source[0]) return FALSE;
  PathInSystemDir(target, MAX_PATH, name);
  if (!target[0]) return FALSE;
  return FileCopyByRule(source, target, mode, kUpToDateNotOlder);
}

BOOL FileCopyFromDriverFolderCmp(LPCWSTR target, LPCWSTR sourceName, WORD mode, DriverContext* ctx, int rule) {
  if (!target || !ctx) return FALSE;
  if (!IsAbsolute(target)) return FileCopyFromDriverFolder(target, sourceName, mode, ctx);
  WCHAR source[MAX_PATH];
  LPCWSTR driverDir = PathGetDriverDir(ctx);
  if (!driverDir || !driverDir[0]) return FALSE;  // a bare name would be taken from anywhere
  if (!Join(source, driverDir, sourceName ? sourceName : PathFindLeaf(target))) return FALSE;
  return FileCopyByRule(source, target, mode, rule);
}

BOOL FileCopyFromDriverDir(LPCWSTR target, LPCWSTR sourceName, WORD mode, DriverContext* ctx) {
  return FileCopyFromDriverFolderCmp(target, sourceName, mode, ctx, kUpToDateSameTime);
}

