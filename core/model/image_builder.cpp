// Building the compiled image: the bounded writer, the items and command sections, the sizes
// and the whole image. The rules section is written by the rules area.
#include <string.h>

#include "core/common/mem.h"
#include "core/model/model_image.h"

namespace {

// Nested command blocks are written recursively; the parser bounds their nesting, and this
// bound keeps any deeper input from exhausting the stack here.
constexpr int kMaxBlockDepth = 512;

DWORD AsDword(const void* p) { return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(p)); }

DWORD PutText(ModelImageWriter* w, const char* text) {
  return text ? ModelWriterPut(w, text, static_cast<DWORD>(strlen(text) + 1)) : 0;
}

DWORD PutWideText(ModelImageWriter* w, const WCHAR* text) {
  if (!text) return 0;
  DWORD n = 0;
  while (text[n]) ++n;
  return ModelWriterPutAligned(w, text, (n + 1) * sizeof(WCHAR));
}

// Writes a record whose link fields are filled by the caller afterwards.
template <typename Record>
DWORD PutRecord(ModelImageWriter* w, const Record& record) {
  return ModelWriterPutAligned(w, &record, sizeof(Record));
}

template <typename Record>
Record* RecordAt(ModelImageWriter* w, DWORD offset) {
  return reinterpret_cast<Record*>(ModelWriterBytes(w, offset));
}

// Stores an offset in a link field of a record written at `offset`.
template <typename Record, typename Field>
void SetLink(ModelImageWriter* w, DWORD offset, Field Record::*field, DWORD value) {
  Record* r = RecordAt<Record>(w, offset);
  if (r) memcpy(&(r->*field), &value, sizeof(DWORD));
}

DWORD PutPair(ModelImageWriter* w, const OptionCommandPair* pair) {
  DWORD first = PutText(w, pair->first);
  DWORD second = PutText(w, pair->second);
  OptionCommandPair empty = {};
  DWORD at = PutRecord(w, empty);
  SetLink(w, at, &OptionCommandPair::first, first);
  SetLink(w, at, &OptionCommandPair::second, second);
  return at;
}

DWORD PutGeometry(ModelImageWriter* w, const PaperGeometryRecord* g) {
  DWORD head = 0, previous = 0;
  for (; g; g = g->next) {
    PaperGeometryRecord copy = *g;
    copy.next = nullptr;
    DWORD at = PutRecord(w, copy);
    if (previous)
      SetLink(w, previous, &PaperGeometryRecord::next, at);
    else
      head = at;
    previous = at;
  }
  return head;
}

DWORD PutTextArray(ModelImageWriter* w, char* const* texts, LONG count) {
  if (!texts || count <= 0) return 0;
  DWORD* links = static_cast<DWORD*>(MemAllocZero(count * sizeof(DWORD)));
  if (!links) {
    w->failed = TRUE;
    return 0;
  }
  for (LONG i = 0; i < count; ++i) links[i] = PutText(w, texts[i]);
  DWORD at = ModelWriterPutAligned(w, links, count * sizeof(DWORD));
  MemFree(links);
  return at;
}

// One list entry of the given shape, preceded by what it owns; returns its offset.
DWORD PutListEntry(ModelImageWriter* w, ModelValueShape shape, const ListValueRecord* e) {
  DWORD command = PutText(w, e->command);
  DWORD at = 0;
  switch (shape) {
    case kModelShapePage: {
      const PageValueRecord* p = reinterpret_cast<const PageValueRecord*>(e);
      DWORD geometry = PutGeometry(w, p->geometry);
      PageValueRecord copy = *p;
      copy.next = nullptr;
      copy.command = nullptr;
      copy.geometry = nullptr;
      at = PutRecord(w, copy);
      SetLink(w, at, &PageValueRecord::geometry, geometry);
      break;
    }
    case kModelShapeSlot: {
      const SlotValueRecord* s = reinterpret_cast<const SlotValueRecord*>(e);
      DWORD papers = s->papers && s->paperCount > 0 ? ModelWriterPutAligned(w, s->papers, s->paperCount * sizeof(WORD)) : 0;
      SlotValueRecord copy = *s;
      copy.next = nullptr;
      copy.command = nullptr;
      copy.papers = nullptr;
      at = PutRecord(w, copy);
      SetLink(w, at, &SlotValueRecord::papers, papers);
      break;
    }
    case kModelShapeFontTable: {
      const FontTableValueRecord* f = reinterpret_cast<const FontTableValueRecord*>(e);
      DWORD faces = PutTextArray(w, f->faces, f->pairCount);
      DWORD devices = PutTextArray(w, f->deviceFonts, f->pairCount);
      FontTableValueRecord copy = *f;
      copy.next = nullptr;
      copy.command = nullptr;
      copy.faces = copy.deviceFonts = nullptr;
      at = PutRecord(w, copy);
      SetLink(w, at, &FontTableValueRecord::faces, faces);
      SetLink(w, at, &FontTableValueRecord::deviceFonts, devices);
      break;
    }
    default: {
      ListValueRecord copy = *e;
      copy.next = nullptr;
      copy.command = nullptr;
      at = PutRecord(w, copy);
      break;
    }
  }
  SetLink(w, at, &ListValueRecord::command, command);
  return at;
}

// The value records of a base descriptor; the offset of the first, 0 for none.
DWORD PutValues(ModelImageWriter* w, const ModelItemDescriptor* d) {
  if (!d->values) return 0;
  ModelValueShape shape = ModelValueShapeOf(d->type);
  switch (shape) {
    case kModelShapeList:
    case kModelShapePage:
    case kModelShapeSlot:
    case kModelShapeFontTable: {
      DWORD head = 0, previous = 0;
      for (const ListValueRecord* e = static_cast<const ListValueRecord*>(d->values); e; e = e->next) {
        DWORD at = PutListEntry(w, shape, e);
        if (previous)
          SetLink(w, previous, &ListValueRecord::next, at);
        else
          head = at;
        previous = at;
      }
      return head;
    }
    case kModelShapeBoolean: {
      const BooleanValueRecord* b = static_cast<const BooleanValueRecord*>(d->values);
      DWORD onTrue = PutText(w, b->trueCommand);
      DWORD onFalse = PutText(w, b->falseCommand);
      BooleanValueRecord copy = {b->defaultValue, nullptr, nullptr};
      DWORD at = PutRecord(w, copy);
      SetLink(w, at, &BooleanValueRecord::trueCommand, onTrue);
      SetLink(w, at, &BooleanValueRecord::falseCommand, onFalse);
      return at;
    }
    case kModelShapeNumeric:
      return PutRecord(w, *static_cast<const NumericValueRecord*>(d->values));
    case kModelShapeString:
      return PutRecord(w, *static_cast<const StringValueRecord*>(d->values));
    default:
      return 0;
  }
}

// Command nodes waiting to be written: a list's nodes are pushed, then written from the last.
struct NodeStack {
  const CommandNode** nodes = nullptr;
  DWORD count = 0;
  DWORD capacity = 0;
  ~NodeStack() { MemFree(nodes); }
  bool Push(const CommandNode* node) {
    if (count == capacity) {
      DWORD grown = capacity ? capacity * 2 : 64;
      const CommandNode** bigger = static_cast<const CommandNode**>(MemAllocZero(grown * sizeof(CommandNode*)));
      if (!bigger) return false;
      if (count) memcpy(bigger, nodes, count * sizeof(CommandNode*));
      MemFree(nodes);
      nodes = bigger;
      capacity = grown;
    }
    nodes[count++] = node;
    return true;
  }
};

struct CommandWriter {
  ModelImageWriter* w;
  const ModelImageLinks* links;
  ModelNumberIndex textByNumber;    // command-string number -> offset of its text
  ModelNumberIndex lengthByNumber;  // command-string number -> length with terminator
  NodeStack stack;
};

DWORD PutBlock(CommandWriter* c, const CommandBlock* block, int depth);

DWORD PutNode(CommandWriter* c, const CommandNode* node, DWORD next, int depth) {
  ModelImageWriter* w = c->w;
  DWORD at = 0;
  switch (node->kind) {
    case kCommandNodeItem: {
      ItemCommandNode copy = *reinterpret_cast<const ItemCommandNode*>(node);
      copy.head.next = nullptr;
      at = PutRecord(w, copy);
      break;
    }
    case kCommandNodeString: {
      const StringCommandNode* s = reinterpret_cast<const StringCommandNode*>(node);
      DWORD text = 0, length = 0;
      if (ModelNumberIndexFind(&c->textByNumber, static_cast<DWORD>(s->number), &text))
        ModelNumberIndexFind(&c->lengthByNumber, static_cast<DWORD>(s->number), &length);
      StringCommandNode copy = {{nullptr, kCommandNodeString, 0}, static_cast<LONG>(length), nullptr};
      at = PutRecord(w, copy);
      SetLink(w, at, &StringCommandNode::text, text);
      break;
    }
    case kCommandNodeConditional: {
      DWORD block = PutBlock(c, reinterpret_cast<const ConditionalCommandNode*>(node)->block, depth + 1);
      ConditionalCommandNode copy = {{nullptr, kCommandNodeConditional, 0}, nullptr};
      at = PutRecord(w, copy);
      SetLink(w, at, &ConditionalCommandNode::block, block);
      break;
    }
    default: {
      CommandNode copy = {nullptr, node->kind, 0};
      at = PutRecord(w, copy);
      break;
    }
  }
  SetLink(w, at, &CommandNode::next, next);
  return at;
}

DWORD PutList(CommandWriter* c, const CommandNode* head, int depth) {
  DWORD base = c->stack.count;
  for (const CommandNode* n = head; n; n = n->next) {
    if (!c->stack.Push(n)) {
      c->w->failed = TRUE;
      c->stack.count = base;
      return 0;
    }
  }
  DWORD next = 0;
  for (DWORD i = c->stack.count; i > base; --i) next = PutNode(c, c->stack.nodes[i - 1], next, depth);
  c->stack.count = base;
  return next;
}

DWORD PutBlock(CommandWriter* c, const CommandBlock* block, int depth) {
  if (!block) return 0;
  if (depth > kMaxBlockDepth) {
    c->w->failed = TRUE;
    return 0;
  }
  DWORD thenList = PutList(c, block->thenList, depth);
  DWORD elseList = PutList(c, block->elseList, depth);
  CommandBlock copy = {};
  DWORD at = PutRecord(c->w, copy);
  DWORD judge = ModelJudgeLink(c->links, block->judge.number);
  ModelWriterSetDword(c->w, at, judge);
  SetLink(c->w, at, &CommandBlock::thenList, thenList);
  SetLink(c->w, at, &CommandBlock::elseList, elseList);
  return at;
}

DWORD PutFonts(ModelImageWriter* w, FontListEntry* const* entries, LONG count) {
  if (!entries || count <= 0) return 0;
  DWORD* links = static_cast<DWORD*>(MemAllocZero(count * sizeof(DWORD)));
  if (!links) {
    w->failed = TRUE;
    return 0;
  }
  for (LONG i = 0; i < count; ++i) {
    if (!entries[i]) continue;
    DWORD name = PutText(w, entries[i]->name);
    FontListEntry copy = {entries[i]->id, nullptr};
    links[i] = PutRecord(w, copy);
    SetLink(w, links[i], &FontListEntry::name, name);
  }
  DWORD at = ModelWriterPutAligned(w, links, count * sizeof(DWORD));
  MemFree(links);
  return at;
}

// Header fields are written in every pass; while measuring they land in a scratch header.
void SetHeaderLink(void* field, DWORD value) { memcpy(field, &value, sizeof(DWORD)); }

}  // namespace

DWORD ModelWriterReserve(ModelImageWriter* w, DWORD n) {
  if (!w || w->failed || n == 0) return 0;
  if (n > kModelImageMaxSize || w->at > kModelImageMaxSize - n || (w->base && w->at + n > w->limit)) {
    w->failed = TRUE;
    return 0;
  }
  DWORD at = w->at;
  w->at += n;
  return at;
}

DWORD ModelWriterPut(ModelImageWriter* w, const void* data, DWORD n) {
  if (!data) return 0;
  DWORD at = ModelWriterReserve(w, n);
  if (at && w->base) memcpy(w->base + at, data, n);
  return at;
}

void ModelWriterSetDword(ModelImageWriter* w, DWORD offset, DWORD value) {
  if (w && w->base && offset && offset <= w->limit - sizeof(DWORD)) memcpy(w->base + offset, &value, sizeof(DWORD));
}

DWORD ModelWriterPutAligned(ModelImageWriter* w, const void* data, DWORD n) {
  if (!w || !data || n == 0 || w->failed) return 0;
  DWORD pad = (4 - (w->at & 3)) & 3;
  if (pad && !ModelWriterReserve(w, pad)) return 0;
  return ModelWriterPut(w, data, n);
}

BYTE* ModelWriterBytes(ModelImageWriter* w, DWORD offset) {
  return w && w->base && offset ? w->base + offset : nullptr;
}

DWORD ModelJudgeLink(const ModelImageLinks* links, DWORD reference) {
  if (reference == 0) return 0;
  DWORD offset = 0;
  if (reference == kModelRuleUnresolved || !ModelNumberIndexFind(&links->judgeByNumber, reference, &offset))
    offset = links->alwaysFalse;
  return ModelRuleLink(offset);
}

void ModelBuildItems(ModelImageWriter* w, const ModelParseState* state, ModelImageHeader* header,
                     const ModelImageLinks* links) {
  DWORD n = 0;
  for (const ModelItemDescriptor* d = state->header->descriptors; d; d = d->next) ++n;
  if (n == 0) return;
  // The written order: variants and Identity items, the one declared last first, then the
  // base descriptors in file order. Written from the tail, so bases come first in the block.
  const ModelItemDescriptor** order =
      static_cast<const ModelItemDescriptor**>(MemAllocZero(n * sizeof(ModelItemDescriptor*)));
  DWORD* offsets = static_cast<DWORD*>(MemAllocZero(n * sizeof(DWORD)));
  ModelNumberIndex valuesOf = {};  // value records of a base (parse address) -> their offset
  if (!order || !offsets) {
    MemFree(order);
    MemFree(offsets);
    w->failed = TRUE;
    return;
  }
  DWORD variants = 0;
  for (const ModelItemDescriptor* d = state->header->descriptors; d; d = d->next) variants += d->variant != 0;
  DWORD v = variants, b = variants;
  for (const ModelItemDescriptor* d = state->header->descriptors; d; d = d->next) {
    if (d->variant)
      order[--v] = d;
    else
      order[b++] = d;
  }
  for (DWORD i = n; i-- > 0;) {
    const ModelItemDescriptor* d = order[i];
    DWORD values = 0;
    if (d->variant == 0) {
      values = PutValues(w, d);
      // Two bases hold the same records when an OpenUI with variant number 0 copied the first;
      // each writes its own copy. The bases are written from the last to the first, so the
      // first in file order, the one a variant or Identity item took its records from, is the
      // one left in the index.
      if (values && !ModelNumberIndexSet(&valuesOf, AsDword(d->values), values)) w->failed = TRUE;
    } else if (d->values) {
      // Shares the records written for its base; a base that has none written gives none.
      ModelNumberIndexFind(&valuesOf, AsDword(d->values), &values);
    }
    DWORD pair = d->commands ? PutPair(w, d->commands) : 0;
    ModelItemDescriptor copy = *d;
    copy.next = nullptr;
    copy.commands = nullptr;
    copy.exclusive = nullptr;
    copy.values = nullptr;
    DWORD at = PutRecord(w, copy);
    DWORD exclusive = 0;
    ModelNumberIndexFind(&links->exclusiveBySymbol, d->symbolId, &exclusive);
    SetLink(w, at, &ModelItemDescriptor::next, i + 1 < n ? offsets[i + 1] : 0);
    SetLink(w, at, &ModelItemDescriptor::commands, pair);
    SetLink(w, at, &ModelItemDescriptor::exclusive, exclusive);
    SetLink(w, at, &ModelItemDescriptor::values, values);
    offsets[i] = at;
  }
  SetHeaderLink(&header->descriptors, offsets[0]);
  if (w->base) {
    // A base descriptor takes its item's slot, the first in file order winning; a variant or
    // Identity item only a slot no base descriptor has (the variants stand in reverse file
    // order at the head of the list).
    for (DWORD i = variants; i < n; ++i) {
      ModelItemDescriptor** slot = ModelHeaderSlot(header, order[i]->itemId);
      if (slot && !*slot) memcpy(slot, &offsets[i], sizeof(DWORD));
    }
    for (DWORD i = variants; i-- > 0;) {
      ModelItemDescriptor** slot = ModelHeaderSlot(header, order[i]->itemId);
      if (slot && !*slot) memcpy(slot, &offsets[i], sizeof(DWORD));
    }
  }
  ModelNumberIndexFree(&valuesOf);
  MemFree(order);
  MemFree(offsets);
}

void ModelBuildCommands(ModelImageWriter* w, const ModelParseState* state, ModelImageHeader* header,
                        const ModelImageLinks* links) {
  CommandWriter c;
  c.w = w;
  c.links = links;
  c.textByNumber = {};
  c.lengthByNumber = {};
  for (const CommandStringNode* s = state->commandStrings; s; s = s->next) {
    DWORD length = s->length > 0 ? static_cast<DWORD>(s->length) : 0;
    DWORD at = s->text ? ModelWriterPut(w, s->text, length) : 0;
    if (at && s->number != 0) {
      // The first CommandString of a number is the one its string nodes use.
      if (!ModelNumberIndexFind(&c.textByNumber, static_cast<DWORD>(s->number), nullptr)) {
        if (!ModelNumberIndexAdd(&c.textByNumber, static_cast<DWORD>(s->number), at) ||
            !ModelNumberIndexAdd(&c.lengthByNumber, static_cast<DWORD>(s->number), length))
          w->failed = TRUE;
      }
    }
  }
  const ModelImageHeader* h = state->header;
  SetHeaderLink(&header->uiResDllName, PutWideText(w, h->uiResDllName));
  SetHeaderLink(&header->excDepDllName, PutWideText(w, h->excDepDllName));
  CommandBlock* const* groups[] = {&h->jobStart, &h->jobEnd, &h->docReset, &h->pageStart, &h->pageEnd};
  CommandBlock** fields[] = {&header->jobStart, &header->jobEnd, &header->docReset, &header->pageStart,
                             &header->pageEnd};
  for (int i = 0; i < 5; ++i) SetHeaderLink(fields[i], PutBlock(&c, *groups[i], 0));
  SetHeaderLink(&header->deviceFonts, PutFonts(w, h->deviceFonts, h->deviceFontCount));
  SetHeaderLink(&header->cartridges, PutFonts(w, h->cartridges, h->cartridgeCount));
  ModelNumberIndexFree(&c.textByNumber);
  ModelNumberIndexFree(&c.lengthByNumber);
}

DWORD ModelRulesSize(ModelParseState* state) {
  ModelImageWriter w = {nullptr, 0, sizeof(ModelImageHeader), FALSE};
  ModelImageHeader scratch;
  ModelImageLinks links = {};
  ModelBuildRules(&w, state, &scratch, &links);
  ModelNumberIndexFree(&links.judgeByNumber);
  ModelNumberIndexFree(&links.exclusiveBySymbol);
  return w.failed ? kModelImageMaxSize : w.at - sizeof(ModelImageHeader);
}

DWORD ModelItemsSize(const ModelParseState* state) {
  ModelImageWriter w = {nullptr, 0, sizeof(ModelImageHeader), FALSE};
  ModelImageHeader scratch;
  ModelImageLinks links = {};
  ModelBuildItems(&w, state, &scratch, &links);
  return w.failed ? kModelImageMaxSize : w.at - sizeof(ModelImageHeader);
}

DWORD ModelCommandsSize(const ModelParseState* state) {
  ModelImageWriter w = {nullptr, 0, sizeof(ModelImageHeader), FALSE};
  ModelImageHeader scratch;
  ModelImageLinks links = {};
  ModelBuildCommands(&w, state, &scratch, &links);
  return w.failed ? kModelImageMaxSize : w.at - sizeof(ModelImageHeader);
}

ModelImageHeader* ModelBuildImage(ModelParseState* state) {
  if (!state || !state->header) return nullptr;
  DWORD sizes[3] = {ModelRulesSize(state), ModelItemsSize(state), ModelCommandsSize(state)};
  DWORD total = sizeof(ModelImageHeader);
  for (DWORD s : sizes) {
    if (s >= kModelImageMaxSize - total) return nullptr;  // too big for the x 16 + 1 links
    total += s;
  }
  BYTE* block = static_cast<BYTE*>(MemAllocZero(total));
  if (!block) return nullptr;
  ModelImageHeader* header = reinterpret_cast<ModelImageHeader*>(block);
  // What the header holds besides links: the version text and the two font counts.
  memcpy(header->fileVersion, state->header->fileVersion, sizeof(header->fileVersion));
  header->totalSize = total;
  header->deviceFontCount = state->header->deviceFontCount;
  header->cartridgeCount = state->header->cartridgeCount;

  ModelImageWriter w = {block, total, sizeof(ModelImageHeader), FALSE};
  ModelImageLinks links = {};
  ModelBuildRules(&w, state, header, &links);
  ModelBuildItems(&w, state, header, &links);
  ModelBuildCommands(&w, state, header, &links);
  ModelNumberIndexFree(&links.judgeByNumber);
  ModelNumberIndexFree(&links.exclusiveBySymbol);
  if (w.failed) {
    MemFree(block);
    return nullptr;
  }
  return header;
}

ModelImageHeader* ModelCompileDescription(LPCWSTR path) {
  ModelParseState* state = ModelParseFile(path);
  ModelImageHeader* image = ModelBuildImage(state);
  ModelFreeParseState(state);
  return image;
}

ModelImageHeader* ModelCompileMemory(const void* bytes, DWORD size, UINT codePage) {
  ModelParseState* state = ModelParseMemory(bytes, size, codePage);
  ModelImageHeader* image = ModelBuildImage(state);
  ModelFreeParseState(state);
  return image;
}
