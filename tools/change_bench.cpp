// Reports the time of one setting change on generated models of 400 and 4,000 rules with the
// same rules per item (tools/model_gen.cpp): the store, the item's Transact list, its alert
// check and every disable, restrict and lock judge that reads the changed item or an item its
// actions set, found through the rule index kept with the cached image. Beside it, the same
// change with every judge of the model evaluated (what a walk of all rules costs), and the
// ratio of the two models' times. A program to run by hand, not a test: the figures depend on
// the machine (under an emulator they are far slower).
// Usage: change_bench
#include <stdio.h>
#include <string.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/model/model_cache.h"
#include "core/model/model_image.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/alerts.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/rules/rule_index.h"
#include "core/rules/transacts.h"
#include "core/tables/model_record.h"
#include "tools/model_gen.h"

namespace {

using Clock = std::chrono::steady_clock;

// A context made by hand: the catalogue's items, a stamped settings block, a UI state with the
// evaluation stack, and the image.
struct BenchContext {
  DriverContext ctx = {};
  std::vector<BYTE> settings, initial;
  UiState ui = {};
  ModelRecord model = {};
  bool Open(ModelImageHeader* image) {
    for (std::vector<BYTE>* block : {&settings, &initial}) {
      block->assign(kSettingsBlockSize, 0);
      const WORD words[3] = {0, static_cast<WORD>(kDevmodeAreaSize),
                             static_cast<WORD>(kDevmodeAreaSize + kExtensionAreaSize)};
      memcpy(block->data() + kDmAreaOffsetWords, words, sizeof words);
    }
    model = *TblGetModelRecord();
    ctx.items = ItemTableCreate();
    ctx.settings = settings.data();
    ctx.model = &model;
    ui.initialSettings = initial.data();
    ctx.ui = &ui;
    ctx.modelImage = reinterpret_cast<ModelImage*>(image);
    return ctx.items && ModelAllocEvalStack(&ctx) == 0;
  }
  ~BenchContext() {
    ModelFreeEvalStack(&ctx);
    ItemTableFree(ctx.items);
  }
};

// One changeable item: its id, descriptor and the values its list offers.
struct Target {
  WORD id;
  const ModelItemDescriptor* desc;
  std::vector<WORD> values;
};

std::vector<Target> Targets(DriverContext* ctx, const ModelImageHeader* image) {
  std::vector<Target> targets;
  for (const ModelItemDescriptor* d = image->descriptors; d; d = d->next) {
    if (!d->exclusive || !d->itemId) continue;
    Target t = {d->itemId, d, {}};
    for (const void* c = d->values; c && t.values.size() < 3; c = ModelNextChoice(d, c))
      t.values.push_back(ModelChoiceValue(d, c, nullptr));
    if (t.values.size() >= 2) targets.push_back(t);
  }
  return targets;
}

int EvaluateReaders(DriverContext* ctx, ModelRuleRefs refs) {
  int held = 0;
  for (DWORD i = 0; i < refs.count; ++i) {
    const ModelRuleRef& r = refs.refs[i];
    if (r.kind == kRuleRefItemJudge || r.kind == kRuleRefValueJudge) held += RuleRefEvaluate(&r, ctx);
  }
  return held;
}

// One change through the index; returns the number of judges that hold (kept so that the
// work is not optimised away).
int ChangeIndexed(DriverContext* ctx, const Target& t, WORD value) {
  ItemSetValueById(ctx, t.id, value);
  ModelRunItemTransacts(t.desc, ctx);
  ModelCheckItemAlert(t.desc, ctx);
  const ModelRuleIndex* index = ModelGetRuleIndex(ctx);
  int held = EvaluateReaders(ctx, RuleIndexReadersOf(index, t.id));
  for (const TransactEntry* e = t.desc->exclusive->transact; e; e = e->next)
    for (const ActionEntry* a = e->actions; a; a = a->next)
      if (!a->targetIsDialog && a->target != t.id) held += EvaluateReaders(ctx, RuleIndexReadersOf(index, a->target));
  return held + EvaluateReaders(ctx, RuleIndexReadersOfAny(index));
}

// The same change with every judge of the model evaluated.
int ChangeScanning(DriverContext* ctx, const Target& t, WORD value, const ModelImageHeader* image) {
  ItemSetValueById(ctx, t.id, value);
  ModelRunItemTransacts(t.desc, ctx);
  ModelCheckItemAlert(t.desc, ctx);
  int held = 0;
  for (const ExclusiveRecord* x = image->exclusives; x; x = x->next) {
    for (const JudgeCell* j : {x->judgeDisabled, x->judgeRestricted, x->judgeLocked}) held += JudgeEvaluate(j, ctx);
    for (const ValueRule* v = x->valueRules; v; v = v->next)
      for (const JudgeCell* j : {v->judgeDisabled, v->judgeRestricted, v->judgeLocked}) held += JudgeEvaluate(j, ctx);
  }
  return held;
}

// Microseconds per change over at least half a second of changes, round robin over the items.
template <typename Change>
double MicrosPerChange(const std::vector<Target>& targets, Change change, long* sink) {
  long changes = 0;
  Clock::time_point start = Clock::now();
  double seconds = 0;
  do {
    for (int i = 0; i < 64; ++i, ++changes) {
      const Target& t = targets[static_cast<size_t>(changes) % targets.size()];
      *sink += change(t, t.values[static_cast<size_t>(changes / static_cast<long>(targets.size())) % t.values.size()]);
    }
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  } while (seconds < 0.5);
  return seconds * 1e6 / static_cast<double>(changes);
}

struct Result {
  double indexed = 0, scanning = 0;
  size_t items = 0;
  DWORD refs = 0;
};

bool Measure(int rules, Result* r, long* sink) {
  const std::string text = GenerateModelDescription({0, 4, rules, 1});
  ModelImageHeader* image = ModelCompileMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
  if (!image) return false;
  ModelFixUpImage(image);
  const WCHAR path[] = {'C', ':', '\\', 'b', 'e', 'n', 'c', 'h', '.', 'z', 'm', 'd', 0};
  image = ModelCacheImage(image, path);
  BenchContext bench;
  bool ok = bench.Open(image);
  DriverContext* ctx = &bench.ctx;
  std::vector<Target> targets = ok ? Targets(ctx, image) : std::vector<Target>();
  const ModelRuleIndex* index = ok ? ModelGetRuleIndex(ctx) : nullptr;
  ok = ok && !targets.empty() && index;
  if (ok) {
    r->items = targets.size();
    r->refs = RuleIndexRefCount(index);
    r->indexed = MicrosPerChange(targets, [&](const Target& t, WORD v) { return ChangeIndexed(ctx, t, v); }, sink);
    r->scanning =
        MicrosPerChange(targets, [&](const Target& t, WORD v) { return ChangeScanning(ctx, t, v, image); }, sink);
  }
  bench.ctx.modelImage = nullptr;
  ModelFreeImageCache();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    printf("usage: change_bench\n");
    return strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0 ? 0 : 2;
  }
  long sink = 0;
  Result small, large;
  if (!Measure(400, &small, &sink) || !Measure(4000, &large, &sink)) {
    fprintf(stderr, "change_bench: a generated model does not compile or has nothing to change\n");
    return 1;
  }
  printf("%-12s %8s %12s %16s %16s\n", "model", "items", "index refs", "indexed us", "all judges us");
  printf("%-12s %8zu %12lu %16.3f %16.3f\n", "400 rules", small.items, static_cast<unsigned long>(small.refs),
         small.indexed, small.scanning);
  printf("%-12s %8zu %12lu %16.3f %16.3f\n", "4000 rules", large.items, static_cast<unsigned long>(large.refs),
         large.indexed, large.scanning);
  const double ratio = large.indexed / small.indexed;
  printf("one change at 4000 rules: %.3f us (target at most 10 us: %s)\n", large.indexed,
         large.indexed <= 10.0 ? "met" : "missed on this machine");
  printf("4000 over 400 rules, indexed: %.2f (target at most 2: %s); all judges: %.2f\n", ratio,
         ratio <= 2.0 ? "met" : "missed", large.scanning / small.scanning);
  printf("(%ld judges held)\n", sink);
  return ratio <= 2.0 ? 0 : 1;
}
