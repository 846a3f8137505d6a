// Fuzz target: any bytes as a settings file of the sample printer. The first byte picks the
// flags of the load (and whether the tray is locked), the rest is the file; it is written into
// the printer's settings folder and loaded into a context of the printer. A crash or a
// sanitizer report is a finding. At start a machine with the sample printer is made in a
// temporary folder, and a plain, a preset and a watermark file saved from its context are the
// seeds the mutator starts from whenever an input is too short to be a file.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/system/settings_folders.h"
#include "support/settings_file_exercise.h"

namespace {

struct Machine {
  std::string root;
  HANDLE printer = nullptr;
  DriverContext* ctx = nullptr;
  std::u16string path;
  std::vector<std::string> seeds;
};

Machine& TheMachine() {
  static Machine m = [] {
    Machine made;
    CtxCacheInit();
    made.printer = zems_test::MakeSampleMachine(ZEMS_SOURCE_DIR, &made.root);
    if (made.printer) made.ctx = zems_test::OpenSampleContext(made.printer);
    if (made.ctx) {
      WCHAR path[260];
      if (PathInSettingsFolder(path, 260, u"fuzz.rst", made.ctx)) made.path = reinterpret_cast<const char16_t*>(path);
      made.seeds = zems_test::SettingsFileSeeds(made.ctx, made.printer, made.path);
    }
    return made;
  }();
  return m;
}

}  // namespace

extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  if (!TheMachine().ctx) abort();  // no machine: nothing could be fuzzed
  // The seeds (whole settings files) are larger than libFuzzer's default input bound.
  bool maxLen = false;
  for (int i = 1; i < *argc; ++i) maxLen = maxLen || strncmp((*argv)[i], "-max_len=", 9) == 0;
  if (!maxLen) {
    static std::vector<char*> args;
    static char flag[] = "-max_len=65536";
    args.assign(*argv, *argv + *argc);
    args.insert(args.begin() + 1, flag);
    args.push_back(nullptr);
    *argc += 1;
    *argv = args.data();
  }
  return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
  const std::vector<std::string>& seeds = TheMachine().seeds;
  if (size < 16 && !seeds.empty()) {
    const std::string& s = seeds[seed % seeds.size()];
    if (s.size() <= maxSize) {
      memcpy(data, s.data(), s.size());
      size = s.size();
      data[0] = uint8_t(seed >> 8);  // any flags, with or without the tray lock
    }
  }
  return LLVMFuzzerMutate(data, size, maxSize);
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  Machine& m = TheMachine();
  if (size < 1 || size > (1u << 20)) return 0;
  zems_test::ExerciseSettingsFileLoad(m.ctx, m.printer, m.path, data, size);
  return 0;
}
