// The parse index: one open-addressing hash table of tagged keys.
#include "core/model/model_parser_index.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/model/model_parser.h"

namespace {

enum : DWORD {
  kTagSymbol = 1,         // a = symbol id
  kTagSymbolVariant = 2,  // a = symbol id, b = variant
  kTagListValue = 3,      // a = list head, b = value id
  kTagListTail = 4,       // a = list head
  kTagGeometryTail = 5,   // a = paper record
  kTagRuleName = 6,       // a = kind, b = hash of the name; several names may share it
  kTagRuleTail = 7,       // a = kind
};

struct Slot {
  DWORD tag;  // 0: empty
  ULONG_PTR a;
  DWORD b;
  void* ptr;
  DWORD n;
};

constexpr DWORD kFirstCapacity = 1024;

}  // namespace

struct ModelParseIndex {
  Slot* slots;
  DWORD capacity;  // a power of two
  DWORD count;
  bool incomplete;  // an entry could not be stored: every answer is unknown from then on
};

namespace {

DWORD Hash(DWORD tag, ULONG_PTR a, DWORD b) {
  DWORD h = tag * 0x9E3779B1u;
  h ^= static_cast<DWORD>(a) * 0x85EBCA77u;
  h = (h << 13) | (h >> 19);
  h ^= b * 0xC2B2AE3Du;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  return h;
}

DWORD HashName(const char* name, DWORD length) {
  DWORD h = 2166136261u;
  for (DWORD i = 0; i < length; ++i) h = (h ^ static_cast<BYTE>(name[i])) * 16777619u;
  return h;
}

ModelParseIndex* IndexOf(const ModelParseState* state) { return state ? state->index : nullptr; }

bool Usable(const ModelParseIndex* index) { return index && index->slots && !index->incomplete; }

// The first slot of the key, or the empty slot where it would go.
Slot* Probe(const ModelParseIndex* index, DWORD tag, ULONG_PTR a, DWORD b) {
  DWORD mask = index->capacity - 1;
  for (DWORD i = Hash(tag, a, b) & mask;; i = (i + 1) & mask) {
    Slot* slot = &index->slots[i];
    if (slot->tag == 0 || (slot->tag == tag && slot->a == a && slot->b == b)) return slot;
  }
}

bool Grow(ModelParseIndex* index) {
  DWORD capacity = index->capacity * 2;
  if (capacity == 0 || capacity > 0x4000000) return false;
  Slot* slots = static_cast<Slot*>(MemAllocZero(capacity * sizeof(Slot)));
  if (!slots) return false;
  Slot* old = index->slots;
  DWORD oldCapacity = index->capacity;
  index->slots = slots;
  index->capacity = capacity;
  for (DWORD i = 0; i < oldCapacity; ++i) {
    if (!old[i].tag) continue;
    DWORD mask = capacity - 1;
    DWORD j = Hash(old[i].tag, old[i].a, old[i].b) & mask;
    while (slots[j].tag) j = (j + 1) & mask;
    slots[j] = old[i];
  }
  MemFree(old);
  return true;
}

// A new slot for the key (after any that share it); null, and the index marked incomplete,
// when no memory can be had.
Slot* Add(ModelParseIndex* index, DWORD tag, ULONG_PTR a, DWORD b) {
  if (!Usable(index)) return nullptr;
  if ((index->count + 1) * 2 > index->capacity && !Grow(index)) {
    index->incomplete = true;
    return nullptr;
  }
  DWORD mask = index->capacity - 1;
  DWORD i = Hash(tag, a, b) & mask;
  while (index->slots[i].tag) i = (i + 1) & mask;
  Slot* slot = &index->slots[i];
  slot->tag = tag;
  slot->a = a;
  slot->b = b;
  ++index->count;
  return slot;
}

// Sets the value of a key that has one slot at most.
void Put(ModelParseIndex* index, DWORD tag, ULONG_PTR a, DWORD b, void* ptr, DWORD n) {
  if (!Usable(index)) return;
  Slot* slot = Probe(index, tag, a, b);
  if (!slot->tag) slot = Add(index, tag, a, b);
  if (!slot) return;
  slot->ptr = ptr;
  slot->n = n;
}

ModelIndexAnswer Get(const ModelParseIndex* index, DWORD tag, ULONG_PTR a, DWORD b, void** ptr, DWORD* n) {
  if (!Usable(index)) return kIndexUnknown;
  const Slot* slot = Probe(index, tag, a, b);
  if (!slot->tag) return kIndexAbsent;
  if (ptr) *ptr = slot->ptr;
  if (n) *n = slot->n;
  return kIndexFound;
}

ULONG_PTR Key(const void* p) { return reinterpret_cast<ULONG_PTR>(p); }

}  // namespace

ModelParseIndex* ModelIndexCreate() {
  ModelParseIndex* index = static_cast<ModelParseIndex*>(MemAllocZero(sizeof(ModelParseIndex)));
  if (!index) return nullptr;
  index->slots = static_cast<Slot*>(MemAllocZero(kFirstCapacity * sizeof(Slot)));
  if (!index->slots) {
    MemFree(index);
    return nullptr;
  }
  index->capacity = kFirstCapacity;
  return index;
}

void ModelIndexFree(ModelParseIndex* index) {
  if (!index) return;
  MemFree(index->slots);
  MemFree(index);
}

void ModelIndexNoteDescriptor(ModelParseState* state, ModelItemDescriptor* d) {
  ModelParseIndex* index = IndexOf(state);
  if (!Usable(index) || !d) return;
  if (Get(index, kTagSymbol, d->symbolId, 0, nullptr, nullptr) == kIndexAbsent) Put(index, kTagSymbol, d->symbolId, 0, d, 0);
  if (Get(index, kTagSymbolVariant, d->symbolId, d->variant, nullptr, nullptr) == kIndexAbsent)
    Put(index, kTagSymbolVariant, d->symbolId, d->variant, d, 0);
}

ModelIndexAnswer ModelIndexFirstBySymbol(ModelParseState* state, WORD symbol, ModelItemDescriptor** found) {
  void* ptr = nullptr;
  ModelIndexAnswer answer = Get(IndexOf(state), kTagSymbol, symbol, 0, &ptr, nullptr);
  *found = static_cast<ModelItemDescriptor*>(ptr);
  return answer;
}

ModelIndexAnswer ModelIndexFirstBySymbolVariant(ModelParseState* state, WORD symbol, WORD variant,
                                                ModelItemDescriptor** found) {
  void* ptr = nullptr;
  ModelIndexAnswer answer = Get(IndexOf(state), kTagSymbolVariant, symbol, variant, &ptr, nullptr);
  *found = static_cast<ModelItemDescriptor*>(ptr);
  return answer;
}

ModelIndexAnswer ModelIndexListFind(ModelParseState* state, const void* head, WORD valueId, ListValueRecord** entry,
                                    DWORD* position) {
  void* ptr = nullptr;
  DWORD n = 0;
  ModelIndexAnswer answer = Get(IndexOf(state), kTagListValue, Key(head), valueId, &ptr, &n);
  *entry = static_cast<ListValueRecord*>(ptr);
  if (position) *position = n;
  return answer;
}

ModelIndexAnswer ModelIndexListTail(ModelParseState* state, const void* head, ListValueRecord** tail, DWORD* count) {
  void* ptr = nullptr;
  DWORD n = 0;
  ModelIndexAnswer answer = Get(IndexOf(state), kTagListTail, Key(head), 0, &ptr, &n);
  *tail = static_cast<ListValueRecord*>(ptr);
  if (count) *count = n;
  return answer;
}

void ModelIndexNoteListEntry(ModelParseState* state, const void* head, ListValueRecord* entry) {
  ModelParseIndex* index = IndexOf(state);
  if (!Usable(index) || !head || !entry) return;
  DWORD count = 0;
  void* tail = nullptr;
  if (head != entry && Get(index, kTagListTail, Key(head), 0, &tail, &count) != kIndexFound) {
    index->incomplete = true;  // a list the index never saw begin
    return;
  }
  Put(index, kTagListValue, Key(head), entry->valueId, entry, count);
  Put(index, kTagListTail, Key(head), 0, entry, count + 1);
}

ModelIndexAnswer ModelIndexGeometryTail(ModelParseState* state, const PageValueRecord* paper, PaperGeometryRecord** tail) {
  void* ptr = nullptr;
  ModelIndexAnswer answer = Get(IndexOf(state), kTagGeometryTail, Key(paper), 0, &ptr, nullptr);
  *tail = static_cast<PaperGeometryRecord*>(ptr);
  return answer;
}

void ModelIndexNoteGeometry(ModelParseState* state, const PageValueRecord* paper, PaperGeometryRecord* record) {
  Put(IndexOf(state), kTagGeometryTail, Key(paper), 0, record, 0);
}

ModelIndexAnswer ModelIndexFindRuleName(const ModelParseState* state, int kind, const char* name, DWORD length,
                                        LONG* number) {
  const ModelParseIndex* index = IndexOf(state);
  if (!Usable(index)) return kIndexUnknown;
  const DWORD tag = kTagRuleName;
  const ULONG_PTR a = static_cast<ULONG_PTR>(kind);
  const DWORD b = HashName(name, length);
  DWORD mask = index->capacity - 1;
  for (DWORD i = Hash(tag, a, b) & mask; index->slots[i].tag; i = (i + 1) & mask) {
    const Slot& slot = index->slots[i];
    if (slot.tag != tag || slot.a != a || slot.b != b) continue;
    const ModelRuleName* entry = static_cast<const ModelRuleName*>(slot.ptr);
    if (slot.n == length && memcmp(entry->name, name, length) == 0) {
      *number = entry->number;
      return kIndexFound;
    }
  }
  return kIndexAbsent;
}

ModelIndexAnswer ModelIndexRuleNameTail(ModelParseState* state, int kind, ModelRuleName** tail) {
  void* ptr = nullptr;
  ModelIndexAnswer answer = Get(IndexOf(state), kTagRuleTail, static_cast<ULONG_PTR>(kind), 0, &ptr, nullptr);
  *tail = static_cast<ModelRuleName*>(ptr);
  return answer;
}

void ModelIndexNoteRuleName(ModelParseState* state, int kind, ModelRuleName* entry, DWORD length) {
  ModelParseIndex* index = IndexOf(state);
  if (!Usable(index) || !entry) return;
  Put(index, kTagRuleTail, static_cast<ULONG_PTR>(kind), 0, entry, 0);
  LONG earlier = 0;
  if (ModelIndexFindRuleName(state, kind, entry->name, length, &earlier) != kIndexAbsent) return;
  Slot* slot = Add(index, kTagRuleName, static_cast<ULONG_PTR>(kind), HashName(entry->name, length));
  if (!slot) return;
  slot->ptr = entry;
  slot->n = length;
}
