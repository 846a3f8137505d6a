#include "image_walk.h"

#include <string.h>

#include <map>
#include <vector>

#include "core/rules/model_rules.h"

namespace model_test {
namespace {

struct Walker {
  const ModelParseState* state;
  const BYTE* base;
  DWORD total;
  ImageCounts counts;
  std::string error;
  int steps = 0;

  bool Fail(const std::string& what) {
    if (error.empty()) error = what;
    return false;
  }
  // The image pointer must point at `size` bytes inside the block.
  bool Inside(const void* p, DWORD size, const char* what) {
    const BYTE* b = static_cast<const BYTE*>(p);
    if (b < base + sizeof(ModelImageHeader) || b > base + total || size > static_cast<DWORD>(base + total - b))
      return Fail(std::string(what) + " links outside the image");
    return true;
  }
  bool Budget() { return ++steps < 10000000 || Fail("walk does not end (a cycle)"); }

  bool Text(const char* expected, const char* actual, const char* what) {
    if (!expected || !actual) return (!expected && !actual) || Fail(std::string(what) + ": text missing or extra");
    if (!Inside(actual, 1, what)) return false;
    size_t n = strlen(expected) + 1;
    if (!Inside(actual, static_cast<DWORD>(n), what) || memcmp(expected, actual, n) != 0)
      return Fail(std::string(what) + ": text differs");
    return true;
  }

  bool Wide(const WCHAR* expected, const WCHAR* actual, const char* what) {
    if (!expected || !actual) return (!expected && !actual) || Fail(std::string(what) + ": missing or extra");
    for (DWORD i = 0;; ++i) {
      if (!Inside(actual + i, sizeof(WCHAR), what)) return false;
      if (expected[i] != actual[i]) return Fail(std::string(what) + " differs");
      if (!expected[i]) return true;
    }
  }

  // ---- rules ----

  const JudgeRecord* Judge(DWORD reference) {
    return reference && reference != kModelRuleUnresolved ? ModelFindJudge(state, reference) : nullptr;
  }

  bool JudgeCells(DWORD reference, const JudgeCell* actual, const char* what) {
    if (reference == 0) return actual == nullptr || Fail(std::string(what) + ": judge where none was written");
    if (!actual) return Fail(std::string(what) + ": a named judge links to none");
    static const JudgeCell kFalse[2] = {{kJudgeConstant, 0}, {kJudgeOperator, kJudgeOpEnd}};
    const JudgeRecord* j = Judge(reference);
    const JudgeCell* expected = j ? j->cells : kFalse;
    DWORD n = j ? j->length / sizeof(JudgeCell) : 2;
    if (!Inside(actual, n * sizeof(JudgeCell), what)) return false;
    if (memcmp(expected, actual, n * sizeof(JudgeCell)) != 0) return Fail(std::string(what) + ": judge cells differ");
    return true;
  }

  const ModelRuleList* List(const ModelRuleList* lists, DWORD reference) {
    if (reference == 0 || reference == kModelRuleUnresolved) return nullptr;
    for (const ModelRuleList* l = lists; l; l = l->next) {
      if (static_cast<DWORD>(l->number) == reference) return l;
    }
    return nullptr;
  }

  bool Actions(DWORD reference, const ActionEntry* a) {
    const ModelRuleList* list = List(state->actions, reference);
    const ModelRuleEntry* e = list ? list->first : nullptr;
    for (; e && a && Budget(); e = e->next, a = a->next) {
      if (!Inside(a, sizeof(*a), "action")) return false;
      if (a->target != e->element[0] || a->value != e->element[1] || a->targetIsDialog != e->element[2])
        return Fail("action entry differs");
    }
    return (!e && !a) || Fail("action list length differs");
  }

  bool Transacts(DWORD reference, const TransactEntry* t) {
    const ModelRuleList* list = List(state->transacts, reference);
    const ModelRuleEntry* e = list ? list->first : nullptr;
    for (; e && t && Budget(); e = e->next, t = t->next) {
      ++counts.transacts;
      if (!Inside(t, sizeof(*t), "transact") || !JudgeCells(e->element[0], t->judge, "transact judge") ||
          !Actions(e->element[1], t->actions))
        return false;
    }
    return (!e && !t) || Fail("transact list length differs");
  }

  bool AlertActions(DWORD reference, const AlertActionEntry* a) {
    const ModelRuleList* list = List(state->alertActions, reference);
    const ModelRuleEntry* e = list ? list->first : nullptr;
    for (; e && a && Budget(); e = e->next, a = a->next) {
      if (!Inside(a, sizeof(*a), "alert action")) return false;
      if (a->button != e->element[0] || a->dialogId != e->element[2] || a->controlId != e->element[3])
        return Fail("alert action differs");
      if (!Transacts(e->element[1], a->transact)) return false;
    }
    return (!e && !a) || Fail("alert action list length differs");
  }

  bool Alerts(DWORD reference, const AlertRecord* a) {
    const ModelRuleList* list = List(state->alerts, reference);
    const ModelRuleEntry* e = list ? list->first : nullptr;
    for (; e && a && Budget(); e = e->next, a = a->next) {
      ++counts.alerts;
      if (!Inside(a, sizeof(*a), "alert") || !JudgeCells(e->element[0], a->judge, "alert judge")) return false;
      if (a->messageId != e->element[1] || a->icon != e->element[2] || a->buttons != e->element[3] ||
          a->timing != e->element[4])
        return Fail("alert differs");
      if (!AlertActions(e->element[5], a->actions)) return false;
    }
    return (!e && !a) || Fail("alert list length differs");
  }

  bool ValueRules(DWORD reference, const ValueRule* v) {
    const ModelRuleList* list = List(state->itemRules, reference);
    const ModelRuleEntry* e = list ? list->first : nullptr;
    for (; e && v && Budget(); e = e->next, v = v->next) {
      ++counts.valueRules;
      if (!Inside(v, sizeof(*v), "value rule")) return false;
      if (v->valueId != e->element[0]) return Fail("value rule value differs");
      if (!JudgeCells(e->element[1], v->judgeDisabled, "value judge 1") ||
          !JudgeCells(e->element[2], v->judgeRestricted, "value judge 2") ||
          !JudgeCells(e->element[3], v->judgeLocked, "value judge 3"))
        return false;
    }
    return (!e && !v) || Fail("value rule list length differs");
  }

  const ExclusiveRecord* ExclusiveOf(const ModelImageHeader* image, WORD symbol) {
    for (const ExclusiveRecord* x = image->exclusives; x && Budget(); x = x->next) {
      if (x->symbolId == symbol) return x;
    }
    return nullptr;
  }

  bool Exclusives(const ModelImageHeader* image) {
    const ModelRuleEntry* e = state->exclusives;
    const ExclusiveRecord* x = image->exclusives;
    DWORD expected = state->rules ? state->rules->exclusiveCount : 0;
    for (DWORD i = 0; i < expected && e && x && Budget(); ++i, e = e->next, x = x->next) {
      ++counts.exclusives;
      if (!Inside(x, sizeof(*x), "exclusive")) return false;
      if (x->symbolId != (e->element[0] & 0xFFFF)) return Fail("exclusive symbol differs");
      if (!JudgeCells(e->element[1], x->judgeDisabled, "exclusive judge 1") ||
          !JudgeCells(e->element[2], x->judgeRestricted, "exclusive judge 2") ||
          !JudgeCells(e->element[7], x->judgeLocked, "exclusive judge 3") ||
          !ValueRules(e->element[3], x->valueRules) || !Alerts(e->element[4], x->alert) ||
          !Transacts(e->element[5], x->transact) || !Transacts(e->element[6], x->transactStored))
        return false;
      if (x->next && x->next != x + 1) return Fail("exclusive records are not consecutive");
    }
    if (static_cast<DWORD>(counts.exclusives) != expected) return Fail("exclusive count differs");
    return x == nullptr || Fail("extra exclusive records");
  }

  // ---- items ----

  bool Values(const ModelItemDescriptor* expected, const ModelItemDescriptor* actual) {
    ModelValueShape shape = ModelValueShapeOf(expected->type);
    if (!expected->values || shape == kModelShapeNone)
      return actual->values == nullptr || Fail("value records where none were written");
    switch (shape) {
      case kModelShapeBoolean: {
        auto e = static_cast<const BooleanValueRecord*>(expected->values);
        auto a = static_cast<const BooleanValueRecord*>(actual->values);
        return Inside(a, sizeof(*a), "boolean") && (a->defaultValue == e->defaultValue || Fail("boolean default")) &&
               Text(e->trueCommand, a->trueCommand, "True text") && Text(e->falseCommand, a->falseCommand, "False text");
      }
      case kModelShapeNumeric:
        return Inside(actual->values, sizeof(NumericValueRecord), "numeric") &&
               (memcmp(expected->values, actual->values, sizeof(NumericValueRecord)) == 0 || Fail("numeric differs"));
      case kModelShapeString:
        return Inside(actual->values, sizeof(StringValueRecord), "string") &&
               (memcmp(expected->values, actual->values, sizeof(StringValueRecord)) == 0 || Fail("string differs"));
      default:
        break;
    }
    const ListValueRecord* e = static_cast<const ListValueRecord*>(expected->values);
    const ListValueRecord* a = static_cast<const ListValueRecord*>(actual->values);
    for (; e && a && Budget(); e = e->next, a = a->next) {
      if (!Inside(a, sizeof(*a), "value entry")) return false;
      if (e->valueId != a->valueId || a->reserved != 0) return Fail("value entry differs");
      if (!Text(e->command, a->command, "value command")) return false;
      if (shape == kModelShapePage) {
        auto ep = reinterpret_cast<const PageValueRecord*>(e);
        auto ap = reinterpret_cast<const PageValueRecord*>(a);
        if (!Inside(ap, sizeof(*ap), "paper") || ep->width != ap->width || ep->length != ap->length)
          return Fail("paper size differs");
        const PaperGeometryRecord* eg = ep->geometry;
        const PaperGeometryRecord* ag = ap->geometry;
        for (; eg && ag && Budget(); eg = eg->next, ag = ag->next) {
          if (!Inside(ag, sizeof(*ag), "geometry")) return false;
          if (memcmp(reinterpret_cast<const BYTE*>(eg) + 4, reinterpret_cast<const BYTE*>(ag) + 4, 32) != 0)
            return Fail("geometry differs");
        }
        if (eg || ag) return Fail("geometry count differs");
      } else if (shape == kModelShapeSlot) {
        auto es = reinterpret_cast<const SlotValueRecord*>(e);
        auto as = reinterpret_cast<const SlotValueRecord*>(a);
        if (!Inside(as, sizeof(*as), "tray") || es->paperCount != as->paperCount) return Fail("tray differs");
        if (es->paperCount > 0 && es->papers) {
          if (!Inside(as->papers, es->paperCount * 2, "papers")) return false;
          if (memcmp(es->papers, as->papers, es->paperCount * 2) != 0) return Fail("tray papers differ");
        } else if (as->papers) {
          return Fail("tray papers where none were");
        }
      } else if (shape == kModelShapeFontTable) {
        auto ef = reinterpret_cast<const FontTableValueRecord*>(e);
        auto af = reinterpret_cast<const FontTableValueRecord*>(a);
        if (!Inside(af, sizeof(*af), "font table") || ef->pairCount != af->pairCount) return Fail("font table differs");
        for (LONG i = 0; ef->faces && i < ef->pairCount; ++i) {
          if (!Inside(af->faces, (i + 1) * 4, "faces") || !Inside(af->deviceFonts, (i + 1) * 4, "device fonts") ||
              !Text(ef->faces[i], af->faces[i], "face") || !Text(ef->deviceFonts[i], af->deviceFonts[i], "device font"))
            return false;
        }
      }
    }
    return (!e && !a) || Fail("value list length differs");
  }

  bool Items(const ModelImageHeader* image) {
    std::vector<const ModelItemDescriptor*> variants, bases;
    for (const ModelItemDescriptor* d = state->header->descriptors; d && Budget(); d = d->next)
      (d->variant ? variants : bases).push_back(d);
    std::vector<const ModelItemDescriptor*> order(variants.rbegin(), variants.rend());
    order.insert(order.end(), bases.begin(), bases.end());
    std::vector<const ModelItemDescriptor*> written;
    const ModelItemDescriptor* a = image->descriptors;
    for (const ModelItemDescriptor* e : order) {
      if (!a) return Fail("descriptor list shorter than the parse state's");
      if (!Inside(a, sizeof(*a), "descriptor")) return false;
      ++counts.descriptors;
      if (a->symbolId != e->symbolId || a->variant != e->variant || a->itemId != e->itemId || a->type != e->type ||
          a->defaultValue != e->defaultValue || a->reserved != e->reserved)
        return Fail("descriptor fields differ");
      if (!e->commands != !a->commands) return Fail("command pair missing or extra");
      if (e->commands && (!Inside(a->commands, 8, "command pair") || !Text(e->commands->first, a->commands->first, "pair 1") ||
                          !Text(e->commands->second, a->commands->second, "pair 2")))
        return false;
      if (a->exclusive != ExclusiveOf(image, e->symbolId)) return Fail("descriptor's exclusive record differs");
      written.push_back(a);
      a = a->next;
    }
    if (a) return Fail("descriptor list longer than the parse state's");
    for (size_t i = 0; i < order.size(); ++i) {
      const ModelItemDescriptor* e = order[i];
      if (e->variant == 0) {
        if (!Values(e, written[i])) return false;
        continue;
      }
      // A variant shares the records of the base whose records it copied, or has none.
      const ModelItemDescriptor* shared = nullptr;
      for (size_t j = 0; j < order.size() && e->values; ++j) {
        if (order[j]->variant == 0 && order[j]->values == e->values) {
          shared = written[j];
          break;
        }
      }
      if (written[i]->values != (shared ? shared->values : nullptr)) return Fail("variant's value records differ");
    }
    // Slots: the first base of an item id in file order, else the first variant.
    std::map<WORD, const ModelItemDescriptor*> expected;
    for (size_t k = 0; k < order.size(); ++k) {
      if (order[k]->variant == 0) expected.emplace(order[k]->itemId, written[k]);
    }
    for (size_t k = order.size(); k-- > 0;) {  // variants stand in reverse file order
      if (order[k]->variant != 0) expected.emplace(order[k]->itemId, written[k]);
    }
    for (WORD id = 1; id <= 10434; ++id) {
      ModelItemDescriptor** slot = ModelHeaderSlot(const_cast<ModelImageHeader*>(image), id);
      if (!slot) continue;
      auto it = expected.find(id);
      if (*slot != (it == expected.end() ? nullptr : it->second))
        return Fail("slot of item " + std::to_string(id) + " differs");
    }
    return true;
  }

  // ---- commands ----

  const CommandStringNode* StringOf(LONG number) {
    for (const CommandStringNode* c = state->commandStrings; c; c = c->next) {
      if (c->number == number && c->text) return c;
    }
    return nullptr;
  }

  bool Block(const CommandBlock* e, const CommandBlock* a, int depth) {
    if (!e || !a) return (!e && !a) || Fail("command block missing or extra");
    if (depth > 600) return Fail("command blocks nest too deep");
    if (!Inside(a, sizeof(*a), "command block") || !JudgeCells(e->judge.number, a->judge.cells, "block judge"))
      return false;
    return Nodes(e->thenList, a->thenList, depth) && Nodes(e->elseList, a->elseList, depth);
  }

  bool Nodes(const CommandNode* e, const CommandNode* a, int depth) {
    for (; e && a && Budget(); e = e->next, a = a->next) {
      ++counts.nodes;
      if (!Inside(a, sizeof(CommandNode), "command node") || a->kind != e->kind || a->symbolId != e->symbolId)
        return Fail("command node differs");
      if (e->kind == kCommandNodeItem) {
        if (!Inside(a, 12, "item node") ||
            reinterpret_cast<const ItemCommandNode*>(a)->number != reinterpret_cast<const ItemCommandNode*>(e)->number)
          return Fail("item node differs");
      } else if (e->kind == kCommandNodeString) {
        auto as = reinterpret_cast<const StringCommandNode*>(a);
        const CommandStringNode* text = StringOf(reinterpret_cast<const StringCommandNode*>(e)->number);
        if (!Inside(as, 16, "string node")) return false;
        if (!text) {
          if (as->text || as->number) return Fail("string node has a text it should not");
        } else if (as->number != text->length || !Inside(as->text, text->length, "string text") ||
                   memcmp(as->text, text->text, text->length) != 0) {
          return Fail("string node text differs");
        }
      } else if (e->kind == kCommandNodeConditional) {
        if (!Inside(a, 12, "conditional node") ||
            !Block(reinterpret_cast<const ConditionalCommandNode*>(e)->block,
                   reinterpret_cast<const ConditionalCommandNode*>(a)->block, depth + 1))
          return false;
      }
    }
    return (!e && !a) || Fail("command list length differs");
  }

  bool Fonts(FontListEntry* const* e, FontListEntry* const* a, LONG count) {
    if (count <= 0 || !e) return a == nullptr || Fail("font array where none was");
    if (!Inside(a, count * 4, "font array")) return false;
    for (LONG i = 0; i < count; ++i) {
      ++counts.fonts;
      if (!e[i] || !a[i]) {
        if (e[i] || a[i]) return Fail("font entry missing");
        continue;
      }
      if (!Inside(a[i], sizeof(FontListEntry), "font entry") || a[i]->id != e[i]->id ||
          !Text(e[i]->name, a[i]->name, "font name"))
        return Fail("font entry differs");
    }
    return true;
  }
};

}  // namespace

std::string CompareImage(const ModelParseState* state, const ModelImageHeader* image, ImageCounts* counts) {
  if (!state || !image) return "no parse state or no image";
  Walker w{state, reinterpret_cast<const BYTE*>(image), image->totalSize, {}, {}};
  const ModelImageHeader* h = state->header;
  if (memcmp(h->fileVersion, image->fileVersion, sizeof(h->fileVersion)) != 0) w.Fail("file version differs");
  if (image->totalSize < sizeof(ModelImageHeader)) w.Fail("total size too small");
  if (w.error.empty() && w.Exclusives(image) && w.Items(image) &&
      w.Wide(h->uiResDllName, image->uiResDllName, "UI resource DLL") &&
      w.Wide(h->excDepDllName, image->excDepDllName, "exclusion DLL") &&
      w.Block(h->jobStart, image->jobStart, 0) && w.Block(h->jobEnd, image->jobEnd, 0) &&
      w.Block(h->docReset, image->docReset, 0) && w.Block(h->pageStart, image->pageStart, 0) &&
      w.Block(h->pageEnd, image->pageEnd, 0)) {
    if (h->deviceFontCount != image->deviceFontCount || h->cartridgeCount != image->cartridgeCount)
      w.Fail("font counts differ");
    else if (w.Fonts(h->deviceFonts, image->deviceFonts, h->deviceFontCount))
      w.Fonts(h->cartridges, image->cartridges, h->cartridgeCount);
  }
  if (counts) *counts = w.counts;
  return w.error;
}

}  // namespace model_test
