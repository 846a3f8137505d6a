// Readers of the items the finishing rules test over and over, and the finisher kinds built on
// the installed-option items. Each reader keeps the item's record in a slot of the UI state
// after its first successful lookup, so a later read is one typed fetch; values are never
// cached, a read always sees the latest write.
#pragma once
#include "core/context/driver_context.h"
#include "core/items/item_table.h"
#include "platform/win32.h"

enum FinReader : int {
#define FIN_READER(name, id) kFin##name,
#include "core/devmode/fin_readers.inc"
#undef FIN_READER
  kFinReaderCount
};
static_assert(kFinReaderCount == 91, "one slot per reader");

// The reader slots: a member record of the UI state. Null until the reader's first successful
// lookup; the records point into the context's own item table, which never moves while the
// context lives (a restored table copies over the same rows), so nothing clears them.
struct FinReaderSlots {
  SettingItem* slot[kFinReaderCount];
};

// The finisher kinds the rules are written for.
enum FinKind : int {
  kFinKindA, kFinKindB, kFinKindC, kFinKindD, kFinKindE, kFinKindF,
  kFinKindG, kFinKindH, kFinKindI, kFinKindJ, kFinKindK, kFinKindCount
};

// The stored value of the item through the given slot: with an empty slot the item is looked
// up by id and the slot filled when it exists; 0 (slot left empty) when it does not.
LONG FinCachedItemReader(DriverContext* ctx, int slot, WORD id);
// The reader of one row of the reader table, with its fixed slot and item.
LONG FinRead(DriverContext* ctx, FinReader reader);
// The item's stored value by a plain lookup, without a slot.
LONG FinReadItem(DriverContext* ctx, WORD id);
// 1 when at least one of the kind's option items is on.
int FinHasFinisherKind(DriverContext* ctx, int kind);
