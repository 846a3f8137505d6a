// Reports how many model-description statements per second the statement reader and the
// parser handle, for a model description, a generated one ten times its size, and 100,000
// statements of each shape that once made the parse time grow with the square of the input.
// Fails when a shape takes more than twice the model description's time per statement.
// Usage: model_bench [model-description file]   (default: the sample model of the source tree)
#include <stdio.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "core/model/model_parser.h"
#include "model/model_shapes.h"

namespace {

using Clock = std::chrono::steady_clock;

// Statements in the text (read and syntax-error results both count as statements).
long CountStatements(const std::string& text) {
  ModelDataReader* data = ModelOpenMemoryReader(text.data(), static_cast<DWORD>(text.size()), 0);
  ModelStatementReader* s = ModelNewStatementReader();
  long count = 0;
  for (;;) {
    int result = ModelReadStatement(s, data);
    if (result != kModelReadOk && result != kModelReadSyntax) break;
    ++count;
  }
  ModelFreeStatementReader(s);
  ModelCloseDataReader(data);
  return count;
}

// Runs one pass repeatedly for at least half a second; returns passes per second.
template <typename Pass>
double PassesPerSecond(Pass pass) {
  int passes = 0;
  Clock::time_point start = Clock::now();
  double seconds = 0;
  do {
    pass();
    ++passes;
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  } while (seconds < 0.5);
  return passes / seconds;
}

// Prints the rates; parse receives the parse rate in statements per second (0 on failure).
bool Report(const char* what, const std::string& text, double* parse = nullptr) {
  long statements = CountStatements(text);
  ModelParseState* check = ModelParseMemory(text.data(), static_cast<DWORD>(text.size()), 0);
  if (!check) {
    fprintf(stderr, "model_bench: the %s does not parse\n", what);
    return false;
  }
  ModelFreeParseState(check);
  double reads = PassesPerSecond([&] { CountStatements(text); });
  double parses = PassesPerSecond([&] {
    ModelFreeParseState(ModelParseMemory(text.data(), static_cast<DWORD>(text.size()), 0));
  });
  printf("%-26s %9zu bytes %7ld statements  read %11.0f statements/s  parse %11.0f statements/s\n", what,
         text.size(), statements, reads * statements, parses * statements);
  if (parse) *parse = parses * statements;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : ZEMS_SOURCE_DIR "/samples/models/zems_c4.zmd";
  if (argc > 2 || path == "--help" || path == "-h") {
    printf("usage: model_bench [model-description file]\n");
    return argc > 2 ? 2 : 0;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    fprintf(stderr, "model_bench: cannot read %s\n", path.c_str());
    return 1;
  }
  std::ostringstream contents;
  contents << in.rdbuf();
  std::string model = contents.str();
  // Ten copies one after the other: every block is parsed again (later copies add items and
  // replace what repeats), which is the work of a model ten times the size.
  std::string generated;
  for (int i = 0; i < 10; ++i) generated += model + "\n";
  double sampleRate = 0;
  bool ok = Report("model description", model, &sampleRate) && Report("generated, 10x", generated);
  for (int shape = 0; ok && shape < model_shapes::kShapeCount; ++shape) {
    double rate = 0;
    ok = Report(model_shapes::ShapeName(shape), model_shapes::Generate(shape, 100000), &rate);
    if (!ok) break;
    double ratio = sampleRate / rate;  // time per statement against the sample's
    printf("%-26s %.2f times the model description's time per statement\n", "", ratio);
    if (ratio > 2.0) {
      fprintf(stderr, "model_bench: %s take more than twice the time per statement\n", model_shapes::ShapeName(shape));
      ok = false;
    }
  }
  return ok ? 0 : 1;
}
