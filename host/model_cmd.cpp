// zemshost model: compiles a model description into its image and reports what it holds.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/common/mem.h"
#include "host/commands.h"
#include "core/model/model_image.h"
#include "core/rules/model_rules.h"



namespace {

int Usage(FILE* out) {
  fprintf(out,
          "usage: zemshost model compile FILE\n"
          "Compiles the model description FILE into its compiled image and prints the image's\n"
          "size, its sections and the counts of descriptors, judges, rules, Exclusive entries,\n"
          "command nodes and fonts. Judge references that name no judge are listed with their\n"
          "lines: they are linked to a judge that is always false.\n");
  return out == stderr ? 2 : 0;
}

bool ReadFile(const char* path, std::string* text) {
  FILE* f = fopen(path, "rb");
  if (!f) return false;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) text->append(buffer, n);
  bool ok = !ferror(f);
  fclose(f);
  return ok;
}

int CountNodes(const CommandNode* n, int depth) {
  int count = 0;
  for (; n && depth < 1000; n = n->next) {
    ++count;
    if (n->kind == kCommandNodeConditional) {
      const CommandBlock* b = reinterpret_cast<const ConditionalCommandNode*>(n)->block;
      if (b) count += CountNodes(b->thenList, depth + 1) + CountNodes(b->elseList, depth + 1);
    }
  }
  return count;
}

int CountEntries(const ModelRuleList* l) {
  int n = 0;
  for (; l; l = l->next) ++n;
  return n;
}

void PrintReference(void* context, const char* token, DWORD line) {
  fprintf(static_cast<FILE*>(context), "  line %lu: '%s' names no judge; linked to a judge that is always false\n",
          static_cast<unsigned long>(line), token);
}

int Compile(const char* path) {
  std::string text;
  if (!ReadFile(path, &text)) {
    fprintf(stderr, "zemshost model compile: cannot read %s\n", path);
    return 1;
  }
  if (text.empty()) {
    fprintf(stderr, "zemshost model compile: %s is empty\n", path);
    return 1;
  }
  ModelParseState* state = ModelParseMemory(text.data(), static_cast<DWORD>(text.size()), 0);
  if (!state) {
    fprintf(stderr, "zemshost model compile: %s could not be parsed (out of memory)\n", path);
    return 1;
  }
  DWORD rules = ModelRulesSize(state), items = ModelItemsSize(state), commands = ModelCommandsSize(state);
  ModelImageHeader* image = ModelBuildImage(state);
  if (!image) {
    fprintf(stderr, "zemshost model compile: no image for %s (out of memory, or above 256 MB)\n", path);
    ModelFreeParseState(state);
    return 1;
  }
  int descriptors = 0, judges = 0, fonts = 0;
  for (const ModelItemDescriptor* d = state->header->descriptors; d; d = d->next) ++descriptors;
  for (const JudgeRecord* j = state->judges; j; j = j->next) ++judges;
  const ModelImageHeader* h = state->header;
  int nodes = 0;
  for (const CommandBlock* b : {h->jobStart, h->jobEnd, h->docReset, h->pageStart, h->pageEnd}) {
    if (b) nodes += CountNodes(b->thenList, 0) + CountNodes(b->elseList, 0);
  }
  fonts = h->deviceFontCount + h->cartridgeCount;
  printf("model:       %s\n", path);
  printf("image:       %lu bytes\n", static_cast<unsigned long>(image->totalSize));
  printf("sections:    header %u, rules %lu, items %lu, commands %lu bytes\n",
         static_cast<unsigned>(sizeof(ModelImageHeader)), static_cast<unsigned long>(rules),
         static_cast<unsigned long>(items), static_cast<unsigned long>(commands));
  printf("descriptors: %d\n", descriptors);
  printf("judges:      %d\n", judges);
  printf("rules:       %d Item, %d Action, %d Transact, %d AlertAction, %d Alert\n", CountEntries(state->itemRules),
         CountEntries(state->actions), CountEntries(state->transacts), CountEntries(state->alertActions),
         CountEntries(state->alerts));
  printf("exclusive:   %lu entries\n", static_cast<unsigned long>(state->rules ? state->rules->exclusiveCount : 0));
  printf("nodes:       %d\n", nodes);
  printf("fonts:       %d (%ld device fonts, %ld cartridges)\n", fonts, static_cast<long>(h->deviceFontCount),
         static_cast<long>(h->cartridgeCount));
  DWORD unresolved = ModelListUnresolvedJudges(state, nullptr, nullptr);
  if (unresolved) {
    printf("unresolved judge references: %lu\n", static_cast<unsigned long>(unresolved));
    ModelListUnresolvedJudges(state, PrintReference, stdout);
  }
  MemFree(image);
  ModelFreeParseState(state);
  return 0;
}

}  // namespace

int CmdModel(int argc, char** argv) {
  if (argc < 1 || strcmp(argv[0], "--help") == 0 || strcmp(argv[0], "-h") == 0)
    return Usage(argc < 1 ? stderr : stdout);
  if (strcmp(argv[0], "compile") != 0) {
    fprintf(stderr, "zemshost model: unknown subcommand '%s'\n", argv[0]);
    return Usage(stderr);
  }
  if (argc == 2 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) return Usage(stdout);
  if (argc != 2) {
    fprintf(stderr, "zemshost model compile: expected one FILE\n");
    return Usage(stderr);
  }
  return Compile(argv[1]);
}
