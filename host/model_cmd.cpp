// zemshost model: compiles a model description into its image and reports what it holds.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_caps.h"
#include "core/items/item_ids.h"
#include "core/model/model_cache.h"
#include "core/model/model_reader.h"
#include "host/commands.h"
#include "host/host_text.h"
#include "core/model/model_image.h"
#include "core/model/model_parser.h"
#include "core/rules/model_rules.h"
#include "platform/win32.h"



namespace {

int Usage(FILE* out) {
  fprintf(out,
          "usage: zemshost model compile FILE\n"
          "       zemshost model compile --check FILE\n"
          "       zemshost model check FILE\n"
          "       zemshost model load PRINTER\n"
          "       zemshost model caps PRINTER\n"
          "       zemshost model set PRINTER ITEM=VALUE... [--answer ok|cancel|yes|no|...]...\n"
          "compile: compiles the model description FILE into its compiled image and prints the\n"
          "image's size, its sections and the counts of descriptors, judges, rules, Exclusive\n"
          "entries, command nodes and fonts. Judge references that name no judge are listed with\n"
          "their lines: they are linked to a judge that is always false. Rule statements refused\n"
          "for a number that does not fit its field (an Action value above 32 bits) are listed\n"
          "with their lines.\n"
          "check (or compile --check): the model author's check. Prints each statement the parser\n"
          "dropped or cut as FILE:LINE: reason (*KEYWORD) - an unknown keyword, a bad expression, an\n"
          "unknown item name, a duplicate number, a nesting cut, a statement that cannot be read -\n"
          "and each judge name that names no judge; exits 1 when anything was dropped or unresolved\n"
          "or no item is described, else prints nothing and exits 0.\n"
          "load: loads the model image of the printer as a context open does (under the global\n"
          "mutex) and says where it came from: the cache file beside the data file, or a compile\n"
          "(and whether the cache file was written); then loads it again from the process cache.\n"
          "caps: opens a context of the printer and prints the papers, bins and resolutions it\n"
          "offers now (what the application asks for), which follow the installed options; then\n"
          "the papers and bins again as an application asks for them, through DeviceCapabilitiesW\n"
          "and the driver's DrvDeviceCapabilities.\n"
          "set: opens a context of the printer and sets each ITEM (TOV_dmPaperSize or dmPaperSize)\n"
          "to VALUE (a value name such as DMPAPERSIZE_ENV10, or a number; a text item takes\n"
          "ITEM=\"text\") in turn, committed as the dialogs commit: the item's alert first, which\n"
          "each --answer answers in turn (then ok); the answer's action runs, and an answer that\n"
          "refuses the change (cancel, any answer of a yes/no box) puts the old value back; the\n"
          "item's transacts run only for a change without an alert;\n"
          "prints what changed and, among the rules that read a changed item, the values that are\n"
          "now disabled, restricted or locked. The printer's stored settings stay as they were.\n");
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

void PrintRefused(void* context, const char* token, DWORD line) {
  fprintf(static_cast<FILE*>(context), "  line %lu: '%s' does not fit its field; the statement was refused\n",
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
  DWORD refused = ModelListRefusedStatements(state, nullptr, nullptr);
  if (refused) {
    printf("refused statements: %lu\n", static_cast<unsigned long>(refused));
    ModelListRefusedStatements(state, PrintRefused, stdout);
  }
  MemFree(image);
  ModelFreeParseState(state);
  return 0;
}

void PrintUnresolved(void* context, const char* token, DWORD line) {
  printf("%s:%lu: unresolved name '%s': no judge of that name or number\n", static_cast<const char*>(context),
         static_cast<unsigned long>(line), token);
}

void PrintRefusedAt(void* context, const char* token, DWORD line) {
  printf("%s:%lu: number '%s' does not fit its field: the rule statement was refused\n",
         static_cast<const char*>(context), static_cast<unsigned long>(line), token);
}

// What the parser dropped or cut, as FILE:LINE: reason; 1 when anything was, or when the file
// describes no item at all.
int Check(const char* path) {
  std::string text;
  if (!ReadFile(path, &text)) {
    fprintf(stderr, "zemshost model check: cannot read %s\n", path);
    return 1;
  }
  ModelParseState* state = ModelParseMemory(text.data(), static_cast<DWORD>(text.size()), 0);
  if (!state) {
    printf("%s: cannot be parsed (out of memory)\n", path);
    return 1;
  }
  for (const ModelDiagnostic* d = state->diagnostics; d; d = d->next) {
    if (d->statement[0])
      printf("%s:%lu: %s (*%s)\n", path, static_cast<unsigned long>(d->line), d->reason, d->statement);
    else
      printf("%s:%lu: %s\n", path, static_cast<unsigned long>(d->line), d->reason);
  }
  if (state->diagnosticCount > kModelMaxDiagnostics)
    printf("%s: %lu more statements dropped\n", path,
           static_cast<unsigned long>(state->diagnosticCount - kModelMaxDiagnostics));
  const DWORD unresolved = ModelListUnresolvedJudges(state, PrintUnresolved, const_cast<char*>(path));
  const DWORD refused = ModelListRefusedStatements(state, PrintRefusedAt, const_cast<char*>(path));
  const bool noItem = state->header->descriptors == nullptr;
  if (noItem) printf("%s: no item is described\n", path);
  const bool failed = state->diagnosticCount || unresolved || refused || noItem;
  ModelFreeParseState(state);
  return failed ? 1 : 0;
}

const char* SourceName(ModelImageSource source) {
  switch (source) {
    case kModelFromProcessCache: return "the process cache";
    case kModelFromCacheFile: return "the cache file";
    case kModelCompiled: return "a compile of the data file";
    default: return "nowhere";
  }
}

int Load(const char* printer) {
  std::u16string name = Wide(printer);
  HANDLE h = nullptr;
  if (!OpenPrinterW(reinterpret_cast<LPWSTR>(&name[0]), &h, nullptr)) {
    fprintf(stderr, "zemshost model load: no printer '%s'\n", printer);
    return 1;
  }
  LPWSTR path = ModelGetDataFilePath(h);
  if (!path) {
    fprintf(stderr, "zemshost model load: the spooler names no data file for '%s'\n", printer);
    ClosePrinter(h);
    return 1;
  }
  WCHAR cacheName[kModelCacheNameChars] = {};
  BOOL hasCacheName = ModelMakeCacheFileName(cacheName, path);
  // A context as the open has it when the image is loaded: the printer and the mutex flag.
  static UiState ui;
  ui.useGlobalMutex = 1;
  DriverContext ctx = {};
  ctx.printer = h;
  ctx.ui = &ui;
  ModelImageSource source = kModelFromNowhere;
  ModelImageHeader* image = reinterpret_cast<ModelImageHeader*>(ModelLoadImageFrom(&ctx, &source));
  printf("printer:     %s\n", printer);
  printf("data file:   %s\n", Narrow(path).c_str());
  printf("cache file:  %s\n", hasCacheName ? Narrow(cacheName).c_str() : "(none: the path is too long)");
  int status = 0;
  if (!image) {
    printf("image:       none (the data file cannot be read or compiled)\n");
    status = 1;
  } else {
    printf("image:       %lu bytes, from %s\n", static_cast<unsigned long>(image->totalSize), SourceName(source));
    if (source == kModelCompiled) {
      bool written = hasCacheName && GetFileAttributesW(cacheName) != INVALID_FILE_ATTRIBUTES;
      printf("cache file:  %s\n", written ? "written" : "not written");
    }
    ModelLoadImageFrom(&ctx, &source);
    printf("again:       from %s\n", SourceName(source));
  }
  ModelFreeImageCache();
  MemFree(path);
  ClosePrinter(h);
  return status;
}

// One list line: the count (or "none" for a failed list), then each code with its name.
void PrintCodes(const char* title, int n, const WORD* codes, const WCHAR* names, int step) {
  if (n < 0) {
    printf("%s none\n", title);
    return;
  }
  printf("%s %d\n", title, n);
  for (int i = 0; i < n; ++i) {
    // A name that fills its slot has no terminator.
    std::vector<WCHAR> one(static_cast<size_t>(step) + 1, 0);
    if (names) memcpy(one.data(), names + static_cast<size_t>(i) * static_cast<size_t>(step), sizeof(WCHAR) * static_cast<size_t>(step));
    const std::string name = Narrow(one.data());
    printf("  %u%s%s\n", static_cast<unsigned>(codes[i]), name.empty() ? "" : " ", name.c_str());
  }
}

// The papers and bins as an application asks for them: DeviceCapabilitiesW, which the
// spooler answers through the printer's configuration DLL (zemsui's DrvDeviceCapabilities).
bool CapsThroughSpooler(std::u16string& name) {
  constexpr int kPaperStep = 64, kBinStep = 24;
  LPCWSTR device = reinterpret_cast<LPCWSTR>(name.c_str());
  const int papers = DeviceCapabilitiesW(device, nullptr, DC_PAPERS, nullptr, nullptr);
  const int bins = DeviceCapabilitiesW(device, nullptr, DC_BINS, nullptr, nullptr);
  if (papers < 0 || bins < 0) {
    fprintf(stderr, "zemshost model caps: DeviceCapabilitiesW refused the paper or bin count (%d, %d)\n", papers, bins);
    return false;
  }
  printf("through DeviceCapabilitiesW (zemsui's DrvDeviceCapabilities):\n");
  std::vector<WORD> codes(static_cast<size_t>(papers) + 1);
  std::vector<WCHAR> names((static_cast<size_t>(papers) + 1) * kPaperStep);
  DeviceCapabilitiesW(device, nullptr, DC_PAPERS, reinterpret_cast<LPWSTR>(codes.data()), nullptr);
  DeviceCapabilitiesW(device, nullptr, DC_PAPERNAMES, names.data(), nullptr);
  PrintCodes("papers:", papers, codes.data(), names.data(), kPaperStep);
  codes.assign(static_cast<size_t>(bins) + 1, 0);
  names.assign((static_cast<size_t>(bins) + 1) * kBinStep, 0);
  DeviceCapabilitiesW(device, nullptr, DC_BINS, reinterpret_cast<LPWSTR>(codes.data()), nullptr);
  DeviceCapabilitiesW(device, nullptr, DC_BINNAMES, names.data(), nullptr);
  PrintCodes("bins:", bins, codes.data(), names.data(), kBinStep);
  return true;
}

int Caps(const char* printer) {
  std::u16string name = Wide(printer);
  HANDLE h = nullptr;
  if (!OpenPrinterW(reinterpret_cast<LPWSTR>(&name[0]), &h, nullptr)) {
    fprintf(stderr, "zemshost model caps: no printer '%s'\n", printer);
    return 1;
  }
  DriverContext* ctx = CtxOpen(h, h, nullptr, 0, kKindSettings, 0, nullptr);
  if (!ctx) {
    fprintf(stderr, "zemshost model caps: no context for '%s' (its model description cannot be loaded)\n", printer);
    ClosePrinter(h);
    return 1;
  }
  constexpr int kPaperStep = 64, kBinStep = 24;
  printf("printer:     %s\n", printer);
  const int papers = ItemListPaperCodes(ctx, nullptr, kItem_dmPaperSize);
  const int bins = ItemListBinCodes(ctx, nullptr);
  const int resolutions = ItemListResolutions(ctx, nullptr);
  // Each list is sized by its own count first, as an application does.
  std::vector<WORD> codes(papers > 0 ? papers : 1);
  std::vector<WCHAR> names(static_cast<size_t>(papers > 0 ? papers : 1) * kPaperStep);
  if (papers > 0) {
    ItemListPaperCodes(ctx, codes.data(), kItem_dmPaperSize);
    ItemListPaperNames(ctx, names.data(), kPaperStep, kItem_dmPaperSize);
  }
  PrintCodes("papers:", papers, codes.data(), names.data(), kPaperStep);
  codes.assign(bins > 0 ? bins : 1, 0);
  names.assign(static_cast<size_t>(bins > 0 ? bins : 1) * kBinStep, 0);
  if (bins > 0) {
    ItemListBinCodes(ctx, codes.data());
    ItemListBinNames(ctx, names.data(), kBinStep);
  }
  PrintCodes("bins:", bins, codes.data(), names.data(), kBinStep);
  std::vector<LONG> pairs(static_cast<size_t>(resolutions > 0 ? resolutions : 1) * 2);
  ItemListResolutions(ctx, pairs.data());
  printf("resolutions: %d\n", resolutions);
  for (int i = 0; i < resolutions; ++i) printf("  %ld x %ld\n", static_cast<long>(pairs[2 * i]), static_cast<long>(pairs[2 * i + 1]));
  CtxRelease(ctx, kReleaseExpired);
  ClosePrinter(h);
  return CapsThroughSpooler(name) ? 0 : 1;
}

}  // namespace

int CmdModel(int argc, char** argv) {
  if (argc < 1 || strcmp(argv[0], "--help") == 0 || strcmp(argv[0], "-h") == 0)
    return Usage(argc < 1 ? stderr : stdout);
  const bool load = strcmp(argv[0], "load") == 0;
  const bool caps = strcmp(argv[0], "caps") == 0;
  if (strcmp(argv[0], "set") == 0) {
    if (argc == 2 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) return Usage(stdout);
    return CmdModelSet(argc - 1, argv + 1);
  }
  const bool check = strcmp(argv[0], "check") == 0;
  if (strcmp(argv[0], "compile") == 0 && argc >= 2 && strcmp(argv[1], "--check") == 0) {
    if (argc != 3) {
      fprintf(stderr, "zemshost model compile --check: expected one FILE\n");
      return Usage(stderr);
    }
    return Check(argv[2]);
  }
  if (!load && !caps && !check && strcmp(argv[0], "compile") != 0) {
    fprintf(stderr, "zemshost model: unknown subcommand '%s'\n", argv[0]);
    return Usage(stderr);
  }
  if (argc == 2 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) return Usage(stdout);
  if (argc != 2) {
    fprintf(stderr, load    ? "zemshost model load: expected one PRINTER\n"
                    : caps  ? "zemshost model caps: expected one PRINTER\n"
                    : check ? "zemshost model check: expected one FILE\n"
                            : "zemshost model compile: expected one FILE\n");
    return Usage(stderr);
  }
  if (caps) return Caps(argv[1]);
  if (check) return Check(argv[1]);
  return load ? Load(argv[1]) : Compile(argv[1]);
}
