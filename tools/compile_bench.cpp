// Reports how long compiling a model description into its fixed-up image takes (parse with
// the rules, sizes, build and fix-up, all in memory) for the sample model, a generated model
// of 80 items x 10 values and 400 rules, and one ten times that. A program to run by hand,
// not a test: the figures depend on the machine (under an emulator they are far slower).
// Usage: compile_bench [model-description file]
#include <stdio.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "core/common/mem.h"
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
  printf("%-22s %10s %10s %10s %10s %10s %8s\n", "model", "text", "image", "parse ms", "build ms", "total ms",
         "ratio");
  double first = 0;
  for (const Model& m : models) {
    Figures f;
    if (!Measure(m.text, &f)) {
      fprintf(stderr, "compile_bench: %s does not compile\n", m.name);
      return 1;
    }
    if (first == 0) first = f.totalMs;
    printf("%-22s %10zu %10lu %10.3f %10.3f %10.3f %8.1f\n", m.name, m.text.size(),
           static_cast<unsigned long>(f.imageBytes), f.parseMs, f.buildMs, f.totalMs, f.totalMs / first);
  }
  printf("ratio: total time over the sample's. Size ratio of the two generated models: %.1f\n",
         static_cast<double>(models[2].text.size()) / static_cast<double>(models[1].text.size()));
  return 0;
}
