// Reports the time of a full settings-file save and load of the sample printer, and of the
// same load done with one ini call per key, as the transfer did before it read the file once:
// thread CPU time per pass, the median and the least of 11 rounds (the machine may be shared).
// Fails when the whole-file load is not at least ten times faster.
// Usage: store_bench   (runs on a temporary machine with the sample model of the source tree)
#include <stdio.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench_spread.h"

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

constexpr int kRounds = 11;

// Milliseconds of thread CPU time per pass: each round runs the pass for at least 40 ms.
template <typename Pass>
Spread MillisecondsPerPass(Pass pass) {
  std::vector<double> rounds;
  for (int r = 0; r < kRounds; ++r) {
    int passes = 0;
    double start = BenchThreadMs(), spent = 0;
    do {
      pass();
      ++passes;
      spent = BenchThreadMs() - start;
    } while (spent < 40 || passes < 3);
    rounds.push_back(spent / passes);
  }
  return SpreadOf(rounds);
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
  Spread save = MillisecondsPerPass([&] { StoreSaveSettingsFile(printer, path, 0, ctx); });
  Spread loaded = MillisecondsPerPass([&] { StoreLoadSettingsFile(printer, path, 0, ctx); });
  Spread keyed = MillisecondsPerPass([&] { LoadPerKey(ctx, path, section); });
  printf("settings file of the sample printer (thread CPU time per pass, median and least of %d rounds):\n",
         kRounds);
  printf("  save                         %9.3f ms  (least %.3f)\n", save.median, save.min);
  printf("  load (file read once)        %9.3f ms  (least %.3f)\n", loaded.median, loaded.min);
  printf("  load (one ini call per key)  %9.3f ms  (least %.3f)\n", keyed.median, keyed.min);
  const double load = loaded.median, perKey = keyed.median;
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
