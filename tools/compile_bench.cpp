// Reports how long compiling a model description into its fixed-up image takes (parse with
// the rules, sizes, build and fix-up, all in memory) for the sample model, a generated model
// of 80 items x 10 values and 400 rules, and one ten times that. A program to run by hand,
// not a test: the figures depend on the machine (under an emulator they are far slower).
// Beside each compile it reports a cached load (the stored image's bytes, as read from a cache
// file: copied, checked whole and fixed up) and a hit of the process cache, with how many
// times faster than the compile each is. The machine's file, mutex and spooler calls are
// left out of both.
// Where libcups was found (tools/anchor), each generated model's equal PPD is compiled the
// CUPS way (open, mark defaults, conflicts) in the same rounds, alternating with ours: thread
// CPU time, min and median over the rounds, and the ratio of the two medians.
// Usage: compile_bench [model-description file]
//        compile_bench --write-ppds FOLDER   (the equal PPDs, for tools/anchor/cups_anchor)
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/common/mem.h"
#include "core/model/image_validate.h"
#include "core/model/model_cache.h"
#include "core/model/model_image.h"
#include "tools/anchor/ppd_gen.h"
#include "tools/bench_spread.h"
#include "tools/model_gen.h"
#ifdef ZEMS_CUPS_ANCHOR
#include "tools/anchor/cups_anchor.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

double ThreadMs() { return BenchThreadMs(); }

struct Figures {
  Spread parse, build, total;  // ms; parse with the rules, then sizes, build and fix-up
  Spread cups;                 // ms of the equal PPD's open, mark defaults and conflicts
  Spread cached;               // ms of a load of the stored image: copy, whole check, fix-up
  DWORD imageBytes = 0;
  size_t ppdBytes = 0;
  int conflicts = -1;
};

// One compile: false when the text does not compile.
bool CompileOnce(const std::string& text, std::vector<double>* parse, std::vector<double>* build, DWORD* bytes) {
  const double t0 = ThreadMs();
  ModelParseState* state = ModelParseMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
  const double t1 = ThreadMs();
  ModelImageHeader* image = state ? ModelBuildImage(state) : nullptr;
  if (image) ModelFixUpImage(image);
  const double t2 = ThreadMs();
  if (image) *bytes = image->totalSize;
  MemFree(image);
  ModelFreeParseState(state);
  parse->push_back(t1 - t0);
  build->push_back(t2 - t1);
  return image != nullptr;
}

// One load of the stored image as from a cache file, in batches of 16: the milliseconds per
// load; negative when the image does not pass the check.
double CachedLoads(const std::vector<BYTE>& bytes) {
  const double t0 = ThreadMs();
  for (int i = 0; i < 16; ++i) {
    BYTE* copy = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED, bytes.size()));  // as the cache file's read
    if (!copy) return -1;
    memcpy(copy, bytes.data(), bytes.size());
    const bool ok = ModelValidateStoredImage(copy, static_cast<DWORD>(bytes.size())) != 0;
    if (ok) ModelFixUpImage(reinterpret_cast<ModelImageHeader*>(copy));
    MemFree(copy);
    if (!ok) return -1;
  }
  return (ThreadMs() - t0) / 16;
}

// Rounds of compiles, each followed by as many CUPS compiles of the PPD when there is one and
// by cached loads for about as long, so that all see the same state of a shared machine.
bool Measure(const std::string& text, const std::string& ppdPath, Figures* f) {
  std::vector<double> parse, build, cups, cached;
  ModelImageHeader* stored = ModelCompileMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
  if (!stored) return false;
  const std::vector<BYTE> bytes(reinterpret_cast<BYTE*>(stored), reinterpret_cast<BYTE*>(stored) + stored->totalSize);
  MemFree(stored);
  if (!CompileOnce(text, &parse, &build, &f->imageBytes)) return false;
  // About 40 ms of compiles per round and side, at least one.
  const int perRound = std::max(1, static_cast<int>(40.0 / std::max(0.01, parse[0] + build[0])));
  parse.clear();
  build.clear();
  constexpr int kRounds = 11;
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < perRound; ++i)
      if (!CompileOnce(text, &parse, &build, &f->imageBytes)) return false;
#ifdef ZEMS_CUPS_ANCHOR
    for (int i = 0; !ppdPath.empty() && i < perRound; ++i) {
      const double t0 = ThreadMs();
      f->conflicts = CupsAnchorCompile(ppdPath.c_str());
      cups.push_back(ThreadMs() - t0);
      if (f->conflicts < 0) {
        int line = 0;
        const char* error = CupsAnchorLastError(&line);
        fprintf(stderr, "compile_bench: CUPS refuses the equal PPD: %s, line %d\n", error, line);
        return false;
      }
    }
#endif
    for (double spent = 0; spent < 20;) {
      const double ms = CachedLoads(bytes);
      if (ms < 0) {
        fprintf(stderr, "compile_bench: the stored image does not pass the check\n");
        return false;
      }
      cached.push_back(ms);
      spent += ms * 16;
    }
  }
  std::vector<double> total(parse.size());
  for (size_t i = 0; i < total.size(); ++i) total[i] = parse[i] + build[i];
  f->parse = SpreadOf(parse);
  f->build = SpreadOf(build);
  f->total = SpreadOf(total);
  f->cups = SpreadOf(cups);
  f->cached = SpreadOf(cached);
  return true;
}

// The process-cache hit of one model, in batches of 1,024 for at least half a second: the
// median milliseconds per hit; negative when the image is not found.
double MeasureHit(const std::string& text) {
  ModelImageHeader* kept = ModelCompileMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
  if (!kept) return -1;
  bool ok = true;
  ModelFixUpImage(kept);
  const WCHAR path[] = {'C', ':', '\\', 'm', '.', 'z', 'm', 'd', 0};
  ModelCacheImage(kept, path);
  std::vector<double> batches;
  Clock::time_point start = Clock::now();
  do {
    const double t0 = ThreadMs();
    for (int i = 0; i < 1024; ++i) ok = ok && ModelFindCachedImage(path) != nullptr;
    batches.push_back((ThreadMs() - t0) / 1024);
  } while (std::chrono::duration<double>(Clock::now() - start).count() < 0.5);
  ModelFreeImageCache();
  return ok ? SpreadOf(batches).median : -1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : ZEMS_SOURCE_DIR "/samples/models/zems_c4.zmd";
  if (argc == 3 && path == "--write-ppds") {
    // The equal PPDs of the two generated models, for tools/anchor's cups_anchor by hand.
    for (ModelGenShape shape : {ModelGenShape{80, 10, 400}, ModelGenShape{800, 10, 4000}}) {
      const std::string name = std::string(argv[2]) + "/anchor_" + std::to_string(shape.items) + "x" +
                               std::to_string(shape.values) + "_" + std::to_string(shape.rules) + ".ppd";
      std::ofstream out(name, std::ios::binary);
      out << GeneratePpd(shape, GenerateModelDescription(shape).size());
      if (!out) return 1;
      printf("%s\n", name.c_str());
    }
    return 0;
  }
  if (argc > 2 || path == "--help" || path == "-h") {
    printf("usage: compile_bench [model-description file]\n       compile_bench --write-ppds FOLDER\n");
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
    ModelGenShape shape;  // zero for the file
  } models[] = {
      {"sample", contents.str(), {}},
      {"80 x 10, 400 rules", GenerateModelDescription({80, 10, 400}), {80, 10, 400}},
      {"800 x 10, 4000 rules", GenerateModelDescription({800, 10, 4000}), {800, 10, 4000}},
  };
  printf("%-22s %8s %8s %8s %8s %9s %9s %7s %9s %7s %9s %9s %9s %7s\n", "model", "text", "image", "parse",
         "build", "total", "min", "ratio", "cached", "faster", "hit us", "faster", "cups", "/cups");
  double first = 0;
  bool goals = true;
  for (const Model& m : models) {
    std::string ppdPath;
#ifdef ZEMS_CUPS_ANCHOR
    if (m.shape.rules) {
      const char* tmp = getenv("TMPDIR");
      ppdPath = std::string(tmp && *tmp ? tmp : "/tmp") + "/compile_bench_" + std::to_string(getpid()) + ".ppd";
      std::ofstream out(ppdPath, std::ios::binary);
      out << GeneratePpd(m.shape, m.text.size());
      if (!out) {
        fprintf(stderr, "compile_bench: cannot write %s\n", ppdPath.c_str());
        return 1;
      }
    }
#endif
    Figures f;
    const bool compiled = Measure(m.text, ppdPath, &f);
    if (!ppdPath.empty()) {
      std::ifstream in(ppdPath, std::ios::binary | std::ios::ate);
      f.ppdBytes = static_cast<size_t>(in.tellg());
      remove(ppdPath.c_str());
    }
    if (!compiled) {
      fprintf(stderr, "compile_bench: %s does not compile\n", m.name);
      return 1;
    }
    if (first == 0) first = f.total.median;
    const double cachedMs = f.cached.median, hitMs = MeasureHit(m.text);
    if (hitMs < 0) {
      fprintf(stderr, "compile_bench: the process cache does not find %s\n", m.name);
      return 1;
    }
    const double faster = f.total.median / cachedMs, hitFaster = f.total.median / hitMs;
    printf("%-22s %8zu %8lu %8.3f %8.3f %9.3f %9.3f %7.1f %9.4f %7.1f %9.3f %9.0f", m.name, m.text.size(),
           static_cast<unsigned long>(f.imageBytes), f.parse.median, f.build.median, f.total.median, f.total.min,
           f.total.median / first, cachedMs, faster, hitMs * 1000, hitFaster);
    if (f.cups.median > 0) {
      printf(" %9.3f %7.2f\n", f.cups.median, f.total.median / f.cups.median);
      printf("%-22s PPD %zu bytes, %d conflicts; CUPS min %.3f ms; min over min %.2f\n", "", f.ppdBytes,
             f.conflicts, f.cups.min, f.total.min / f.cups.min);
      goals = goals && f.total.median <= 0.5 * f.cups.median;
    } else {
      printf(" %9s %7s\n", "-", "-");
    }
    goals = goals && faster >= 25 && hitFaster >= 1000;
  }
  printf("ms: thread CPU time per compile, medians of 11 interleaved rounds (min: the least).\n");
  printf("faster: the compile's median over the cached load's and over the process-cache hit's.\n");
  printf("ratio: total over the sample's. /cups: our compile over CUPS' open + mark defaults + conflicts\n");
  printf("of the equal PPD (tools/anchor), medians of the same rounds.\n");
#ifdef ZEMS_CUPS_ANCHOR
  printf("goals (compile at most 0.5x CUPS, cached load 25x, hit 1000x): %s\n", goals ? "met" : "missed");
#else
  printf("CUPS side not built: libcups2-dev:i386 was not found (bash scripts/setup.sh bench).\n");
#endif
  printf("Size ratio of the two generated models: %.1f\n",
         static_cast<double>(models[2].text.size()) / static_cast<double>(models[1].text.size()));
  return 0;
}
