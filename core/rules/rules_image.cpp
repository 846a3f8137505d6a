// The rules section of the compiled image: judge cells, the entries of the Item, Action,
// Transact, AlertAction and Alert statements and the Exclusive records, with rule numbers
// turned into links (offset x 16 + 1); and their fix-up into addresses.
#include <string.h>

#include "core/model/model_image.h"
#include "core/rules/model_rules.h"

namespace {

// Offset of the first entry of the statement a reference names; 0 for none.
DWORD ListOffset(const ModelNumberIndex* index, DWORD reference) {
  DWORD offset = 0;
  if (reference == 0 || reference == kModelRuleUnresolved) return 0;
  ModelNumberIndexFind(index, reference, &offset);
  return offset;
}

DWORD EntrySize(int kind) {
  switch (kind) {
    case kModelRuleItem: return sizeof(ValueRule);
    case kModelRuleAction: return sizeof(ActionEntry);
    case kModelRuleTransact: return sizeof(TransactEntry);
    case kModelRuleAlertAction: return sizeof(AlertActionEntry);
    default: return sizeof(AlertRecord);
  }
}

const ModelRuleList* ListsOf(const ModelParseState* state, int kind) {
  switch (kind) {
    case kModelRuleItem: return state->itemRules;
    case kModelRuleAction: return state->actions;
    case kModelRuleTransact: return state->transacts;
    case kModelRuleAlertAction: return state->alertActions;
    default: return state->alerts;
  }
}

// One entry as stored; `next` is the stored link of the following entry.
void FillEntry(BYTE* at, int kind, const ModelRuleEntry* e, DWORD next, const ModelImageLinks* links,
               const ModelNumberIndex* lists) {
  const DWORD* x = e->element;
  switch (kind) {
    case kModelRuleItem: {
      ValueRule r = {};
      r.valueId = static_cast<WORD>(x[0]);
      DWORD fields[4] = {next, ModelJudgeLink(links, x[1]), ModelJudgeLink(links, x[2]), ModelJudgeLink(links, x[3])};
      memcpy(&r, &fields[0], 4);
      memcpy(&r.judgeDisabled, &fields[1], 12);
      memcpy(at, &r, sizeof(r));
      break;
    }
    case kModelRuleAction: {
      ActionEntry r = {};
      memcpy(&r.next, &next, 4);
      r.target = static_cast<WORD>(x[0]);
      r.targetIsDialog = static_cast<WORD>(x[2]);
      r.value = x[1];
      memcpy(at, &r, sizeof(r));
      break;
    }
    case kModelRuleTransact: {
      DWORD fields[3] = {next, ModelJudgeLink(links, x[0]),
                         ModelRuleLink(ListOffset(&lists[kModelRuleAction], x[1]))};
      memcpy(at, fields, sizeof(fields));
      break;
    }
    case kModelRuleAlertAction: {
      AlertActionEntry r = {};
      memcpy(&r.next, &next, 4);
      r.button = static_cast<WORD>(x[0]);
      DWORD transact = ModelRuleLink(ListOffset(&lists[kModelRuleTransact], x[1]));
      memcpy(&r.transact, &transact, 4);
      r.dialogId = static_cast<WORD>(x[2]);
      r.controlId = static_cast<WORD>(x[3]);
      memcpy(at, &r, sizeof(r));
      break;
    }
    default: {
      AlertRecord r = {};
      DWORD judge = ModelJudgeLink(links, x[0]);
      DWORD actions = ModelRuleLink(ListOffset(&lists[kModelRuleAlertAction], x[5]));
      memcpy(&r.next, &next, 4);
      memcpy(&r.judge, &judge, 4);
      r.messageId = static_cast<WORD>(x[1]);
      r.icon = static_cast<WORD>(x[2]);
      r.buttons = static_cast<WORD>(x[3]);
      r.timing = static_cast<WORD>(x[4]);
      memcpy(&r.actions, &actions, 4);
      memcpy(at, &r, sizeof(r));
      break;
    }
  }
}

// ---- fix-up ----

// A stored rules link becomes an address when its low bit says it is still an offset; the
// address (fixed now or earlier, through a shared list) is returned.
void* Relocate(BYTE* base, void* field) {
  DWORD stored;
  memcpy(&stored, field, sizeof(DWORD));
  if (stored & 1) {
    BYTE* address = base + stored / 16;
    memcpy(field, &address, sizeof(DWORD));
    return address;
  }
  return reinterpret_cast<void*>(static_cast<UINT_PTR>(stored));
}

void RelocateTransacts(BYTE* base, void* field) {
  for (TransactEntry* t = static_cast<TransactEntry*>(Relocate(base, field)); t;
       t = static_cast<TransactEntry*>(Relocate(base, &t->next))) {
    Relocate(base, &t->judge);
    for (ActionEntry* a = static_cast<ActionEntry*>(Relocate(base, &t->actions)); a;
         a = static_cast<ActionEntry*>(Relocate(base, &a->next))) {
    }
  }
}

}  // namespace

void ModelBuildRules(ModelImageWriter* w, ModelParseState* state, ModelImageHeader* header, ModelImageLinks* links) {
  header->exclusives = nullptr;
  links->judgeByNumber.owner = nullptr;
  links->exclusiveBySymbol.owner = nullptr;
  links->alwaysFalse = 0;
  if (!state->rules) return;
  for (JudgeRecord* j = state->judges; j; j = j->next) {
    j->imageOffset = ModelWriterPut(w, j->cells, j->length);
    if (j->imageOffset && !ModelNumberIndexAdd(&links->judgeByNumber, static_cast<DWORD>(j->number), j->imageOffset))
      w->failed = TRUE;
  }
  // References that name no compiled judge get one that is always false, never "no judge".
  if (ModelListUnresolvedJudges(state, nullptr, nullptr) > 0) {
    static const JudgeCell kAlwaysFalse[2] = {{kJudgeConstant, 0}, {kJudgeOperator, kJudgeOpEnd}};
    links->alwaysFalse = ModelWriterPut(w, kAlwaysFalse, sizeof(kAlwaysFalse));
  }
  ModelNumberIndex lists[kModelRuleKinds] = {};
  for (int kind = kModelRuleItem; kind < kModelRuleKinds; ++kind) {
    DWORD size = EntrySize(kind);
    for (const ModelRuleList* list = ListsOf(state, kind); list; list = list->next) {
      DWORD count = 0;
      for (const ModelRuleEntry* e = list->first; e; e = e->next) ++count;
      if (count == 0) {
        // An empty list still claims its number, so a later list of the same number stays
        // unused like every other duplicate and references to it find no entries.
        if (list->number != 0 && !ModelNumberIndexAdd(&lists[kind], static_cast<DWORD>(list->number), 0))
          w->failed = TRUE;
        continue;
      }
      DWORD first = count <= kModelImageMaxSize / size ? ModelWriterReserve(w, count * size) : 0;
      if (!first) {
        w->failed = TRUE;
        break;
      }
      const_cast<ModelRuleList*>(list)->imageOffset = first;
      if (!ModelNumberIndexAdd(&lists[kind], static_cast<DWORD>(list->number), first)) w->failed = TRUE;
      BYTE* bytes = ModelWriterBytes(w, first);
      DWORD i = 0;
      for (const ModelRuleEntry* e = list->first; e; e = e->next, ++i) {
        DWORD next = e->next ? ModelRuleLink(first + (i + 1) * size) : 0;
        if (bytes) FillEntry(bytes + i * size, kind, e, next, links, lists);
      }
    }
  }
  DWORD count = state->rules->exclusiveCount;
  DWORD first = 0;
  if (count) {
    first = count <= kModelImageMaxSize / sizeof(ExclusiveRecord) ? ModelWriterReserve(w, count * sizeof(ExclusiveRecord)) : 0;
    if (!first) w->failed = TRUE;
  }
  BYTE* bytes = first ? ModelWriterBytes(w, first) : nullptr;
  DWORD i = 0;
  for (const ModelRuleEntry* e = state->exclusives; first && e && i < count; e = e->next, ++i) {
    DWORD at = first + i * sizeof(ExclusiveRecord);
    if (!ModelNumberIndexAdd(&links->exclusiveBySymbol, e->element[0], at) && e->element[0]) w->failed = TRUE;
    if (!bytes) continue;
    const DWORD* x = e->element;
    DWORD fields[9] = {
        e->next && i + 1 < count ? at + sizeof(ExclusiveRecord) : 0,  // a plain offset
        x[0] & 0xFFFF,
        ModelJudgeLink(links, x[1]),
        ModelJudgeLink(links, x[2]),
        ModelRuleLink(ListOffset(&lists[kModelRuleItem], x[3])),
        ModelRuleLink(ListOffset(&lists[kModelRuleAlert], x[4])),
        ModelRuleLink(ListOffset(&lists[kModelRuleTransact], x[5])),
        ModelRuleLink(ListOffset(&lists[kModelRuleTransact], x[6])),
        ModelJudgeLink(links, x[7]),
    };
    memcpy(bytes + i * sizeof(ExclusiveRecord), fields, sizeof(fields));
  }
  memcpy(&header->exclusives, &first, sizeof(DWORD));
  for (ModelNumberIndex& index : lists) ModelNumberIndexFree(&index);
}

void ModelRelocateRules(ModelImageHeader* image) {
  BYTE* base = reinterpret_cast<BYTE*>(image);
  DWORD first;
  memcpy(&first, &image->exclusives, sizeof(DWORD));
  if (!first) return;
  for (ExclusiveRecord* x = reinterpret_cast<ExclusiveRecord*>(base + first);; ++x) {
    Relocate(base, &x->judgeDisabled);
    Relocate(base, &x->judgeRestricted);
    Relocate(base, &x->judgeLocked);
    for (ValueRule* v = static_cast<ValueRule*>(Relocate(base, &x->valueRules)); v;
         v = static_cast<ValueRule*>(Relocate(base, &v->next))) {
      Relocate(base, &v->judgeDisabled);
      Relocate(base, &v->judgeRestricted);
      Relocate(base, &v->judgeLocked);
    }
    for (AlertRecord* a = static_cast<AlertRecord*>(Relocate(base, &x->alert)); a;
         a = static_cast<AlertRecord*>(Relocate(base, &a->next))) {
      Relocate(base, &a->judge);
      for (AlertActionEntry* e = static_cast<AlertActionEntry*>(Relocate(base, &a->actions)); e;
           e = static_cast<AlertActionEntry*>(Relocate(base, &e->next)))
        RelocateTransacts(base, &e->transact);
    }
    RelocateTransacts(base, &x->transact);
    RelocateTransacts(base, &x->transactStored);
    // The records are consecutive: a next link names the record that follows.
    DWORD next;
    memcpy(&next, &x->next, sizeof(DWORD));
    if (!next) {
      x->next = nullptr;
      break;
    }
    x->next = x + 1;
  }
}
