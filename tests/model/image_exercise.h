// Reads everything a checked and fixed-up image offers the driver: every lookup of every item,
// every judge of every rule, every command group and font list. Under AddressSanitizer any
// link the check let through that leads outside the block is caught. Header-only so that the
// fuzz targets share it.
#pragma once
#include <string.h>

#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_table.h"
#include "core/model/model_image.h"
#include "core/model/model_lookup.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"

namespace model_test {

struct ExerciseSink {
  unsigned long sum = 0;
  void Text(const char* t) { sum += t ? strlen(t) : 0; }
  void Wide(const WCHAR* t) {
    for (; t && *t; ++t) ++sum;
  }
  void Judge(const JudgeCell* j, DriverContext* ctx) { sum += static_cast<unsigned long>(JudgeEvaluate(j, ctx)); }
};

inline void ExerciseTransacts(const TransactEntry* t, DriverContext* ctx, ExerciseSink* s) {
  for (; t; t = t->next) {
    s->Judge(t->judge, ctx);
    for (const ActionEntry* a = t->actions; a; a = a->next) s->sum += a->value;
  }
}

inline void ExerciseNodes(const CommandNode* n, DriverContext* ctx, ExerciseSink* s);
inline void ExerciseBlock(const CommandBlock* b, DriverContext* ctx, ExerciseSink* s) {
  if (!b) return;
  s->Judge(b->judge.cells, ctx);
  ExerciseNodes(b->thenList, ctx, s);
  ExerciseNodes(b->elseList, ctx, s);
}
inline void ExerciseNodes(const CommandNode* n, DriverContext* ctx, ExerciseSink* s) {
  for (; n; n = n->next) {
    if (n->kind == kCommandNodeString) {
      const StringCommandNode* t = reinterpret_cast<const StringCommandNode*>(n);
      for (LONG i = 0; t->text && i < t->number; ++i) s->sum += static_cast<BYTE>(t->text[i]);
    } else if (n->kind == kCommandNodeConditional) {
      ExerciseBlock(reinterpret_cast<const ConditionalCommandNode*>(n)->block, ctx, s);
    } else if (n->kind == kCommandNodeItem) {
      s->sum += reinterpret_cast<const ItemCommandNode*>(n)->number;
    }
  }
}

inline void ExerciseValues(const ModelItemDescriptor* d, ExerciseSink* s) {
  if (!d->values) return;
  switch (ModelValueShapeOf(d->type)) {
    case kModelShapeBoolean: {
      const BooleanValueRecord* b = static_cast<const BooleanValueRecord*>(d->values);
      s->Text(b->trueCommand);
      s->Text(b->falseCommand);
      return;
    }
    case kModelShapeNumeric: s->sum += static_cast<const NumericValueRecord*>(d->values)->maximum; return;
    case kModelShapeString: s->sum += static_cast<const StringValueRecord*>(d->values)->maxLength; return;
    case kModelShapeNone: return;
    default: break;
  }
  const ModelValueShape shape = ModelValueShapeOf(d->type);
  for (const ListValueRecord* e = static_cast<const ListValueRecord*>(d->values); e; e = e->next) {
    s->Text(e->command);
    if (shape == kModelShapePage) {
      for (const PaperGeometryRecord* g = reinterpret_cast<const PageValueRecord*>(e)->geometry; g; g = g->next)
        s->sum += static_cast<unsigned long>(g->height);
    } else if (shape == kModelShapeSlot) {
      const SlotValueRecord* r = reinterpret_cast<const SlotValueRecord*>(e);
      for (LONG i = 0; r->papers && i < r->paperCount; ++i) s->sum += r->papers[i];
    } else if (shape == kModelShapeFontTable) {
      const FontTableValueRecord* f = reinterpret_cast<const FontTableValueRecord*>(e);
      for (LONG i = 0; i < f->pairCount; ++i) {
        if (f->faces) s->Text(f->faces[i]);
        if (f->deviceFonts) s->Text(f->deviceFonts[i]);
      }
    }
  }
}

// Runs every lookup and judge of the image on ctx (which must have an item table, a UI state
// and an evaluation stack); returns a sum so that nothing is optimised away.
inline unsigned long ExerciseImage(ModelImageHeader* image, DriverContext* ctx) {
  ExerciseSink s;
  ctx->modelImage = reinterpret_cast<ModelImage*>(image);
  for (int row = 0; ctx->items && row < ctx->items->count; ++row) {
    const WORD id = ctx->items->rows[row].id;
    const ModelItemDescriptor* d = ModelFindDescriptor(id, ctx);
    s.sum += ModelGetItemType(id, ctx) + static_cast<unsigned long>(ModelGetItemDefault(id, ctx));
    WORD index = 0;
    s.sum += ModelGetValueList(id, ctx, &index) != nullptr;
    s.sum += static_cast<unsigned long>(ModelGetValueCount(id, ctx));
    s.sum += ModelGetDescriptorAt(ctx, row) != nullptr;
    s.sum += ModelFindEnabledVariant(ctx, id, kModelTestDisabled | kModelTestRestricted) != nullptr;
    if (!d) continue;
    s.sum += static_cast<unsigned long>(ModelIsSymbolDisabled(ctx, d->symbolId));
    s.sum += ModelFindExclusive(d->symbolId, ctx) != nullptr;
    for (const void* c = d->values; c; c = ModelNextChoice(d, c)) {
      const ValueRule* rule = nullptr;
      WORD v = ModelChoiceValue(d, c, &rule);
      s.sum += static_cast<unsigned long>(ModelIsDescriptorDisabled(ctx, d, v) + ModelIsValueRestricted(d, v, ctx) +
                                          ModelEvalLockRule(d, v, ctx));
      if (ModelValueShapeOf(d->type) == kModelShapeNone) break;
    }
  }
  for (const ModelItemDescriptor* d = image->descriptors; d; d = d->next) {
    ExerciseValues(d, &s);
    if (d->commands) {
      s.Text(d->commands->first);
      s.Text(d->commands->second);
    }
  }
  for (const ExclusiveRecord* x = image->exclusives; x; x = x->next) {
    for (WORD v = 0; v < 2; ++v)
      s.sum += static_cast<unsigned long>(ModelEvalDisableRule(x, v, ctx) + ModelEvalSecondRule(x, v, ctx) +
                                          ModelEvalThirdRule(x, v, ctx));
    for (const ValueRule* r = x->valueRules; r; r = r->next) {
      s.Judge(r->judgeDisabled, ctx);
      s.Judge(r->judgeRestricted, ctx);
      s.Judge(r->judgeLocked, ctx);
    }
    for (const AlertRecord* a = x->alert; a; a = a->next) {
      s.Judge(a->judge, ctx);
      for (const AlertActionEntry* e = a->actions; e; e = e->next) ExerciseTransacts(e->transact, ctx, &s);
    }
    ExerciseTransacts(x->transact, ctx, &s);
    ExerciseTransacts(x->transactStored, ctx, &s);
  }
  for (const CommandBlock* b : {image->jobStart, image->jobEnd, image->docReset, image->pageStart, image->pageEnd})
    ExerciseBlock(b, ctx, &s);
  for (int list = 0; list < 2; ++list) {
    LONG count = list ? image->cartridgeCount : image->deviceFontCount;
    FontListEntry** entries = list ? image->cartridges : image->deviceFonts;
    for (LONG i = 0; entries && i < count; ++i)
      if (entries[i]) s.Text(entries[i]->name);
  }
  s.Wide(image->uiResDllName);
  s.Wide(image->excDepDllName);
  s.Wide(ModelGetUiResDllName(ctx));
  ctx->modelImage = nullptr;
  return s.sum;
}

}  // namespace model_test
