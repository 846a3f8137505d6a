#include "core/devmode/fin_readers.h"

#include "core/context/ui_state.h"
#include "core/items/item_access.h"

namespace {

const WORD kReaderItem[kFinReaderCount] = {
#define FIN_READER(name, id) id,
#include "core/devmode/fin_readers.inc"
#undef FIN_READER
};

// The option readers of each kind, in test order; the test stops at the first that is on.
// Kinds B and G share the FIN4 and Fin1Dom options, E and K the FIN2 options, each through
// readers of its own.
constexpr int kMaxKindOptions = 10;
struct KindRow {
  int count;
  FinReader options[kMaxKindOptions];
};
const KindRow kKinds[kFinKindCount] = {
    /* A */ {10, {kFinFin2000, kFinFin2000NA, kFinFin2000EU, kFinFin2000NE, kFinFin2000NoPunch,
                  kFinFin3000, kFinFin3000NA2, kFinFin3000EU2, kFinFin3000NA3, kFinFin3000NoPunch}},
    /* B */ {5, {kFinBFin1Dom, kFinBFIN4NA2, kFinBFIN4EU, kFinBFIN4NE, kFinBFIN4NoPunch}},
    /* C */ {1, {kFinType14}},
    /* D */ {1, {kFinFin1000}},
    /* E */ {5, {kFinFin50, kFinEFIN2NA, kFinEFIN2EU, kFinEFIN2NE, kFinEFIN2NoPunch}},
    /* F */ {1, {kFinType15}},
    /* G */ {6, {kFinGFin1Dom, kFinGFIN4NA2, kFinGFIN4EU, kFinGFIN4NE, kFinGFIN4NoPunch, kFinFin2Dom}},
    /* H */ {1, {kFinFinBF}},
    /* I */ {5, {kFinFin100, kFinFIN3NA, kFinFIN3EU, kFinFIN3NE, kFinFIN3NoPunch}},
    /* J */ {5, {kFinFinMF, kFinFIN1NA, kFinFIN1EU, kFinFIN1NE, kFinFIN1NoPunch}},
    /* K */ {4, {kFinKFIN2NA, kFinKFIN2EU, kFinKFIN2NE, kFinKFIN2NoPunch}},
};

}  // namespace

LONG FinCachedItemReader(DriverContext* ctx, int slot, WORD id) {
  if (ctx == nullptr || ctx->ui == nullptr || slot < 0 || slot >= kFinReaderCount) return 0;
  SettingItem*& kept = ctx->ui->finReaders.slot[slot];
  if (kept != nullptr) return static_cast<LONG>(ItemGetRaw(ctx, kept));
  SettingItem* found = nullptr;
  LONG value = static_cast<LONG>(ItemGetRawById(ctx, id, &found));
  if (found != nullptr) kept = found;
  return value;
}

LONG FinRead(DriverContext* ctx, FinReader reader) {
  if (reader < 0 || reader >= kFinReaderCount) return 0;
  return FinCachedItemReader(ctx, reader, kReaderItem[reader]);
}

LONG FinReadItem(DriverContext* ctx, WORD id) {
  if (ctx == nullptr) return 0;
  return static_cast<LONG>(ItemGetRawById(ctx, id));
}

int FinHasFinisherKind(DriverContext* ctx, int kind) {
  if (kind < 0 || kind >= kFinKindCount) return 0;
  const KindRow& row = kKinds[kind];
  for (int i = 0; i < row.count; ++i) {
    if (FinRead(ctx, row.options[i]) != 0) return 1;
  }
  return 0;
}
