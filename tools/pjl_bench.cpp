// Reports the times of the exclusion service on the sample model: a command base of 13 lines
// set (lines applied, the coupling pass with every Transact list, the changes and the rebuilt
// base) and one update (NUP, whose N-up rule turns scaling off), each the median of many runs
// on a context made by hand (the context's open, which ExcSetCommandBase adds, is not in
// it). An update should stay under 1 ms. A program to run by hand, not a test: the figures
// depend on the machine (under an emulator they are far slower).
// Usage: pjl_bench [SAMPLE.zmd]
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/context/ui_state.h"
#include "core/items/item_table.h"
#include "core/model/model_image.h"
#include "core/model/model_parser.h"
#include "core/pjl/pjl_service.h"
#include "core/rules/judge_eval.h"
#include "core/tables/model_record.h"

namespace {

using Clock = std::chrono::steady_clock;

const char kBase[] =
    "@PJL SET APLPAGESIZE = A4 \r\n@PJL SET APLPAGELAYOUT = PORTRAIT \r\n@PJL SET PAPER = SAME \r\n"
    "@PJL SET TRAY = ALL \r\n@PJL SET COPIES = 2 \r\n@PJL SET DUPLEX = ON \r\n@PJL SET BINDING = LEFT \r\n"
    "@PJL SET NUP = OFF \r\n@PJL SET SCALETYPE = PAPERSCALE \r\n@PJL SET PAPERSCALEH = 150 \r\n"
    "@PJL SET COLLATE = OFF \r\n@PJL SET MEDIATYPE = PLAIN \r\n@PJL SET OUTBIN = UPPER \r\n";

void Stamp(std::vector<BYTE>& block) {
  block.assign(kSettingsBlockSize, 0);
  const WORD words[3] = {0, static_cast<WORD>(kDevmodeAreaSize), static_cast<WORD>(kDevmodeAreaSize + kExtensionAreaSize)};
  memcpy(block.data() + kDmAreaOffsetWords, words, sizeof words);
  const WORD publicSize = 220;
  memcpy(block.data() + 68, &publicSize, sizeof publicSize);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = argc > 1 ? argv[1] : ZEMS_SOURCE_DIR "/samples/models/zems_c4.zmd";
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ModelParseState* state = ModelParseMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
  ModelImageHeader* image = state ? ModelBuildImage(state) : nullptr;
  if (!image) {
    fprintf(stderr, "pjl_bench: %s cannot be compiled\n", path.c_str());
    return 1;
  }
  ModelFixUpImage(image);
  std::vector<BYTE> settings, initial;
  Stamp(settings);
  Stamp(initial);
  UiState ui = {};
  ModelRecord model = *TblGetModelRecord();
  DriverContext ctx = {};
  ctx.items = ItemTableCreate();
  ctx.settings = settings.data();
  ctx.model = &model;
  ui.initialSettings = initial.data();
  ctx.ui = &ui;
  ctx.modelImage = reinterpret_cast<ModelImage*>(image);
  ModelAllocEvalStack(&ctx);
  const std::vector<BYTE> pristine = settings;
  BYTE present[kExcSlotCount] = {};
  LONG values[kExcSlotCount] = {};
  ExcHandle h = {};
  h.context = &ctx;
  h.count = kExcSlotCount;
  h.present = present;
  h.values = values;

  const int runs = 200;
  std::vector<double> setTimes, updateTimes;
  int setResult = 0, updateResult = 0;
  for (int i = 0; i < runs; ++i) {
    ExcReset(&h, 0);
    memcpy(settings.data(), pristine.data(), pristine.size());
    Clock::time_point t0 = Clock::now();
    setResult = PjlSetBaseLines(&h, kBase);
    Clock::time_point t1 = Clock::now();
    ExcDropChange(&h);
    updateResult = PjlUpdateLine(&h, i % 2 ? "@PJL SET NUP = 4IN1P1 \r\n" : "@PJL SET NUP = 9IN1P1 \r\n");
    Clock::time_point t2 = Clock::now();
    setTimes.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    updateTimes.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count());
  }
  double update = Median(updateTimes);
  printf("model:  %s\n", path.c_str());
  printf("set:    %.1f us (median of %d, result %d)\n", Median(setTimes), runs, setResult);
  printf("update: %.1f us (median of %d, result %d) %s\n", update, runs, updateResult,
         update < 1000 ? "under 1 ms" : "OVER 1 ms");
  ExcReset(&h, 0);
  return update < 1000 ? 0 : 1;
}
