// Fuzz target: any bytes as a job's "@PJL SET" lines. Every line is parsed; the bytes up to the
// first NUL are set as a command base on a context of the sample model, the rest is given as
// an update, and the value lists are asked. A crash or a sanitizer report is a finding. The
// context's settings are put back after each input, so every run starts alike.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/common/mem.h"
#include "core/context/ui_state.h"
#include "core/items/item_table.h"
#include "core/model/model_image.h"
#include "core/model/model_parser.h"
#include "core/pjl/pjl_service.h"
#include "core/rules/judge_eval.h"
#include "core/tables/model_record.h"

namespace {

// The sample model of the source tree this file belongs to.
std::string SampleText() {
  std::string here = __FILE__;
  std::string root = here.substr(0, here.rfind("/tools/fuzz/"));
  std::ifstream in(root + "/samples/models/zems_c4.zmd", std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Fixture {
  DriverContext ctx = {};
  UiState ui = {};
  ModelRecord model = {};
  std::vector<BYTE> settings, initial, pristine;
  ExcHandle handle = {};
  BYTE present[kExcSlotCount] = {};
  LONG values[kExcSlotCount] = {};

  static void Stamp(std::vector<BYTE>& block) {
    block.assign(kSettingsBlockSize, 0);
    const WORD words[3] = {0, static_cast<WORD>(kDevmodeAreaSize),
                           static_cast<WORD>(kDevmodeAreaSize + kExtensionAreaSize)};
    memcpy(block.data() + kDmAreaOffsetWords, words, sizeof words);
    const WORD publicSize = 220;
    memcpy(block.data() + 68, &publicSize, sizeof publicSize);
  }

  Fixture() {
    Stamp(settings);
    Stamp(initial);
    model = *TblGetModelRecord();
    ctx.items = ItemTableCreate();
    ctx.settings = settings.data();
    ctx.model = &model;
    ui.initialSettings = initial.data();
    ctx.ui = &ui;
    ModelAllocEvalStack(&ctx);
    std::string text = SampleText();
    if (ModelParseState* state = ModelParseMemory(reinterpret_cast<const BYTE*>(text.data()),
                                                  static_cast<DWORD>(text.size()), 1252)) {
      if (ModelImageHeader* image = ModelBuildImage(state)) {
        ModelFixUpImage(image);
        ctx.modelImage = reinterpret_cast<ModelImage*>(image);
      }
      ModelFreeParseState(state);
    }
    if (!ctx.modelImage) {
      fprintf(stderr, "pjl_base_fuzz: the sample model cannot be compiled\n");
      abort();
    }
    pristine = settings;
    handle.context = &ctx;
    handle.count = kExcSlotCount;
    handle.present = present;
    handle.values = values;
  }
};

Fixture& Get() {
  static Fixture f;
  return f;
}

void AskValues(ExcHandle* h) {
  char buffer[512];
  int length = 0;
  for (const char* name : {"TRAY", "NUP", "COPIES", "BINDING", "PAPERSCALEH"}) {
    ExcServiceGetCommandValue(h, name, 0, sizeof buffer, buffer, &length);
    ExcServiceGetCommandValue(h, name, 1, sizeof buffer, buffer, &length);
  }
  ExcServiceGetPrinterOption(h, "OUTBIN", sizeof buffer, buffer, &length);
  ExcServiceGetPrinterValue(h, "USERCODE", sizeof buffer, buffer, &length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  if (size > (1u << 16)) return 0;
  Fixture& f = Get();
  // The base: the bytes up to the first NUL, in a block of exactly its size with its NUL.
  size_t baseSize = strnlen(reinterpret_cast<const char*>(data), size);
  char* base = static_cast<char*>(malloc(baseSize + 1));
  if (!base) return 0;
  memcpy(base, data, baseSize);
  base[baseSize] = 0;
  size_t restSize = baseSize < size ? size - baseSize - 1 : 0;
  char* update = static_cast<char*>(malloc(restSize + 1));
  if (!update) {
    free(base);
    return 0;
  }
  memcpy(update, data + (size - restSize), restSize);
  update[restSize] = 0;

  char name[kPjlTokenSize], value[kPjlTokenSize];
  for (const char* p = base; *p;) {
    int used = PjlParseSetLine(p, name, value);
    if (used == 0) break;
    p = used < 0 ? PjlSkipLine(p) : p + used;
  }
  PjlFindLineValue(base, "TRAY", value);

  ExcHandle* h = &f.handle;
  ExcReset(h, 0);
  if (PjlSetBaseLines(h, base) >= 0) {
    AskValues(h);
    ExcDropChange(h);
    PjlUpdateLine(h, update);
    char buffer[256];
    int length = 0;
    ExcServiceGetCommandChange(h, sizeof buffer, buffer, &length);
    ExcServiceGetCommandBase(h, sizeof buffer, buffer, &length);
  }
  ExcReset(h, 0);
  memcpy(f.settings.data(), f.pristine.data(), f.pristine.size());
  free(base);
  free(update);
  return 0;
}
