// Reports how long compiling a model description into its fixed-up image takes (parse with
// the rules, sizes, build and fix-up, all in memory) for the sample model, a generated model
// of 80 items x 10 values and 400 rules, and one ten times that. A program to run by hand,
// not a test: the figures depend on the machine (under an emulator they are far slower).
// Beside each compile it reports a cached load (the stored image's bytes, as read from a cache
// file: copied, checked whole and fixed up) and a hit of the process cache, with how many
// times faster than the compile each is. The machine's file, mutex and spooler calls are
// left out of both.
// Usage: compile_bench [model-description file]
#include <stdio.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include <string.h>

#include <vector>

#include "core/common/mem.h"
#include "core/model/image_validate.h"
#include "core/model/model_cache.h"
#include "core/model/model_image.h"
#include "tools/model_gen.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
  double parseMs = 0;  // parse, rules included
  double buildMs = 0;  // sizes, build and fix-up
  double totalMs = 0;
  DWORD imageBytes = 0;
};

// Compiles repeatedly for at least half a second; milliseconds per compilation.
bool Measure(const std::string& text, Figures* f) {
  int runs = 0;
  double parse = 0, build = 0;
  Clock::time_point start = Clock::now();
  do {
    Clock::time_point t0 = Clock::now();
    ModelParseState* state = ModelParseMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
    Clock::time_point t1 = Clock::now();
    ModelImageHeader* image = state ? ModelBuildImage(state) : nullptr;
    if (image) ModelFixUpImage(image);
    Clock::time_point t2 = Clock::now();
    if (!image) {
      ModelFreeParseState(state);
      return false;
    }
    f->imageBytes = image->totalSize;
    MemFree(image);
    ModelFreeParseState(state);
    parse += std::chrono::duration<double, std::milli>(t1 - t0).count();
    build += std::chrono::duration<double, std::milli>(t2 - t1).count();
    ++runs;
  } while (std::chrono::duration<double>(Clock::now() - start).count() < 0.5 || runs < 3);
  f->parseMs = parse / runs;
  f->buildMs = build / runs;
  f->totalMs = f->parseMs + f->buildMs;
  return true;
}

// Repeats fn for at least half a second; milliseconds per call.
template <typename Fn>
double TimeMs(Fn fn) {
  int runs = 0;
  Clock::time_point start = Clock::now();
  do {
    for (int i = 0; i < 16; ++i, ++runs) fn();
  } while (std::chrono::duration<double>(Clock::now() - start).count() < 0.5);
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / runs;
}

// The cached-load and process-cache figures of one model: false when its stored image does
// not pass the check.
bool MeasureCached(const std::string& text, double* cachedMs, double* hitMs) {
  ModelImageHeader* stored = ModelCompileMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
  if (!stored) return false;
  std::vector<BYTE> bytes(reinterpret_cast<BYTE*>(stored), reinterpret_cast<BYTE*>(stored) + stored->totalSize);
  MemFree(stored);
  bool ok = true;
  *cachedMs = TimeMs([&] {
    BYTE* copy = static_cast<BYTE*>(MemAllocZero(bytes.size()));
    memcpy(copy, bytes.data(), bytes.size());
    if (ModelValidateStoredImage(copy, static_cast<DWORD>(bytes.size())))
      ModelFixUpImage(reinterpret_cast<ModelImageHeader*>(copy));
    else
      ok = false;
    MemFree(copy);
  });
  ModelImageHeader* kept = static_cast<ModelImageHeader*>(MemAllocZero(bytes.size()));
  memcpy(kept, bytes.data(), bytes.size());
  ModelFixUpImage(kept);
  const WCHAR path[] = {'C', ':', '\\', 'm', '.', 'z', 'm', 'd', 0};
  ModelCacheImage(kept, path);
  *hitMs = TimeMs([&] {
    if (!ModelFindCachedImage(path)) ok = false;
  });
  ModelFreeImageCache();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : ZEMS_SOURCE_DIR "/samples/models/zems_c4.zmd";
  if (argc > 2 || path == "--help" || path == "-h") {
    printf("usage: compile_bench [model-description file]\n");
    return argc > 2 ? 2 : 0;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    fprintf(stderr, "compile_bench: cannot read %s\n", path.c_str());
    return 1;
  }
  std::ostringstream contents;
  contents << in.rdbuf();
  struct Model {
    const char* name;
    std::string text;
  } models[] = {
      {"sample", contents.str()},
      {"80 x 10, 400 rules", GenerateModelDescription({80, 10, 400})},
      {"800 x 10, 4000 rules", GenerateModelDescription({800, 10, 4000})},
  };
  printf("%-22s %10s %10s %10s %10s %10s %8s %10s %8s %10s %9s\n", "model", "text", "image", "parse ms", "build ms",
         "total ms", "ratio", "cached ms", "faster", "hit us", "faster");
  double first = 0;
  for (const Model& m : models) {
    Figures f;
    if (!Measure(m.text, &f)) {
      fprintf(stderr, "compile_bench: %s does not compile\n", m.name);
      return 1;
    }
    if (first == 0) first = f.totalMs;
    double cachedMs = 0, hitMs = 0;
    if (!MeasureCached(m.text, &cachedMs, &hitMs)) {
      fprintf(stderr, "compile_bench: the stored image of %s does not pass the check\n", m.name);
      return 1;
    }
    printf("%-22s %10zu %10lu %10.3f %10.3f %10.3f %8.1f %10.4f %8.1f %10.3f %9.0f\n", m.name, m.text.size(),
           static_cast<unsigned long>(f.imageBytes), f.parseMs, f.buildMs, f.totalMs, f.totalMs / first, cachedMs,
           f.totalMs / cachedMs, hitMs * 1000, f.totalMs / hitMs);
  }
  printf("faster: compile time over the cached load's and over the process-cache hit's.\n");
  printf("ratio: total time over the sample's. Size ratio of the two generated models: %.1f\n",
         static_cast<double>(models[2].text.size()) / static_cast<double>(models[1].text.size()));
  return 0;
}
