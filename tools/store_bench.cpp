// Reports the time of a full settings-file save and load of the sample printer, and of the
// same load done with one ini call per key, as the transfer did before it read the file once.
// Fails when the whole-file load is not at least ten times faster.
// Usage: store_bench   (runs on a temporary machine with the sample model of the source tree)
#include <stdio.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "core/common/ini_access.h"
#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_table.h"
#include "core/store/item_store.h"
#include "core/store/settings_file.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "support/settings_file_exercise.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs one pass repeatedly for at least half a second; returns milliseconds per pass.
template <typename Pass>
double MillisecondsPerPass(Pass pass) {
  int passes = 0;
  Clock::time_point start = Clock::now();
  double seconds = 0;
  do {
    pass();
    ++passes;
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  } while (seconds < 0.5 || passes < 3);
  return seconds * 1000.0 / passes;
}

// The load's items read one by one through the ini calls, each call reading the file anew.
void LoadPerKey(DriverContext* ctx, LPCWSTR path, LPCWSTR section) {
  for (int i = 0; i < ctx->items->count; ++i) {
    SettingItem* row = &ctx->items->rows[i];
    if (row->id > 1249 || !StoreFilterPlainRead(row) || !StoreFilterNoSupportFlags(row) ||
        !StoreFilterNoSecrets(row) || !StoreFilterNoLockInfo(row->id))
      continue;
    const WCHAR* name = ItemGetName(ctx, row->id);
    if (!name) continue;
    const WCHAR* key = row->persistKey;
    const WCHAR* sectionWas = row->persistSection;
    row->persistKey = name;
    row->persistSection = section;
    StoreReadItemIni(ctx, row, path, nullptr, nullptr);
    row->persistKey = key;
    row->persistSection = sectionWas;
  }
}

}  // namespace

int main() {
  std::string root;
  CtxCacheInit();
  HANDLE printer = zems_test::MakeSampleMachine(ZEMS_SOURCE_DIR, &root);
  DriverContext* ctx = printer ? zems_test::OpenSampleContext(printer) : nullptr;
  WCHAR path[260];
  if (!ctx || !PathInSettingsFolder(path, 260, u"bench.rst", ctx)) {
    fprintf(stderr, "store_bench: cannot make the sample printer's machine\n");
    return 2;
  }
  if (!StoreSaveSettingsFile(printer, path, 0, ctx)) {
    fprintf(stderr, "store_bench: the save failed\n");
    return 2;
  }
  WCHAR section[261];
  lstrcpyW(section, PrnGetDriverName(ctx));
  double save = MillisecondsPerPass([&] { StoreSaveSettingsFile(printer, path, 0, ctx); });
  double load = MillisecondsPerPass([&] { StoreLoadSettingsFile(printer, path, 0, ctx); });
  double perKey = MillisecondsPerPass([&] { LoadPerKey(ctx, path, section); });
  printf("settings file of the sample printer:\n");
  printf("  save                         %9.2f ms\n", save);
  printf("  load (file read once)        %9.2f ms\n", load);
  printf("  load (one ini call per key)  %9.2f ms\n", perKey);
  printf("  whole-file load is %.1fx faster\n", perKey / load);
  CtxRelease(ctx, kReleaseExpired);
  ClosePrinter(printer);
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
  if (perKey < load * 10) {
    fprintf(stderr, "store_bench: the whole-file load is less than ten times faster\n");
    return 1;
  }
  return 0;
}
