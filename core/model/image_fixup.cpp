// Fix-up of a stored image: every offset becomes an address, in place. The image comes from
// the builder or from a cache file whose stored form was checked, so links are trusted here.
#include <stddef.h>
#include <string.h>

#include "core/model/model_image.h"

namespace {

// Nesting bound of command blocks, as when they were written.
constexpr int kMaxBlockDepth = 512;

// A plain link: nonzero offsets become base + offset; returns the address.
void* Plain(BYTE* base, void* field) {
  DWORD stored;
  memcpy(&stored, field, sizeof(DWORD));
  if (!stored) return nullptr;
  BYTE* address = base + stored;
  memcpy(field, &address, sizeof(DWORD));
  return address;
}

void RelocateTexts(BYTE* base, void* arrayField, LONG count) {
  char** texts = static_cast<char**>(Plain(base, arrayField));
  for (LONG i = 0; texts && i < count; ++i) Plain(base, &texts[i]);
}

void RelocateValues(BYTE* base, ModelItemDescriptor* d) {
  void* values = Plain(base, &d->values);
  if (!values || d->variant != 0) return;  // a variant's records are its base's
  ModelValueShape shape = ModelValueShapeOf(d->type);
  switch (shape) {
    case kModelShapeList:
    case kModelShapePage:
    case kModelShapeSlot:
    case kModelShapeFontTable:
      for (ListValueRecord* e = static_cast<ListValueRecord*>(values); e;
           e = static_cast<ListValueRecord*>(Plain(base, &e->next))) {
        Plain(base, &e->command);
        if (shape == kModelShapePage) {
          PageValueRecord* p = reinterpret_cast<PageValueRecord*>(e);
          for (PaperGeometryRecord* g = static_cast<PaperGeometryRecord*>(Plain(base, &p->geometry)); g;
               g = static_cast<PaperGeometryRecord*>(Plain(base, &g->next))) {
          }
        } else if (shape == kModelShapeSlot) {
          Plain(base, &reinterpret_cast<SlotValueRecord*>(e)->papers);
        } else if (shape == kModelShapeFontTable) {
          FontTableValueRecord* f = reinterpret_cast<FontTableValueRecord*>(e);
          RelocateTexts(base, &f->faces, f->pairCount);
          RelocateTexts(base, &f->deviceFonts, f->pairCount);
        }
      }
      break;
    case kModelShapeBoolean: {
      BooleanValueRecord* b = static_cast<BooleanValueRecord*>(values);
      Plain(base, &b->trueCommand);
      Plain(base, &b->falseCommand);
      break;
    }
    default:
      break;
  }
}

void RelocateBlock(BYTE* base, CommandBlock* block, int depth);

void RelocateList(BYTE* base, void* headField, int depth) {
  for (CommandNode* n = static_cast<CommandNode*>(Plain(base, headField)); n;
       n = static_cast<CommandNode*>(Plain(base, &n->next))) {
    if (n->kind == kCommandNodeString) {
      Plain(base, &reinterpret_cast<StringCommandNode*>(n)->text);
    } else if (n->kind == kCommandNodeConditional) {
      ConditionalCommandNode* c = reinterpret_cast<ConditionalCommandNode*>(n);
      RelocateBlock(base, static_cast<CommandBlock*>(Plain(base, &c->block)), depth + 1);
    }
  }
}

void RelocateBlock(BYTE* base, CommandBlock* block, int depth) {
  if (!block || depth > kMaxBlockDepth) return;
  DWORD judge;
  memcpy(&judge, &block->judge, sizeof(DWORD));
  if (judge & 1) block->judge.cells = reinterpret_cast<const JudgeCell*>(base + judge / 16);
  RelocateList(base, &block->thenList, depth);
  RelocateList(base, &block->elseList, depth);
}

void RelocateFonts(BYTE* base, void* arrayField, LONG count) {
  FontListEntry** entries = static_cast<FontListEntry**>(Plain(base, arrayField));
  for (LONG i = 0; entries && i < count; ++i) {
    FontListEntry* e = static_cast<FontListEntry*>(Plain(base, &entries[i]));
    if (e) Plain(base, &e->name);
  }
}

}  // namespace

void ModelRelocateItems(ModelImageHeader* image) {
  BYTE* base = reinterpret_cast<BYTE*>(image);
  for (ModelItemDescriptor* d = static_cast<ModelItemDescriptor*>(Plain(base, &image->descriptors)); d;
       d = static_cast<ModelItemDescriptor*>(Plain(base, &d->next))) {
    OptionCommandPair* pair = static_cast<OptionCommandPair*>(Plain(base, &d->commands));
    if (pair) {
      Plain(base, &pair->first);
      Plain(base, &pair->second);
    }
    Plain(base, &d->exclusive);
    RelocateValues(base, d);
  }
  // The slots are most of the header and mostly empty (the sample fills 61 of 1,977): one
  // pass over the three arrays, which stand one after the other.
  static_assert(offsetof(ModelImageHeader, slotsExt) == offsetof(ModelImageHeader, slotsLow) + sizeof(image->slotsLow) &&
                    offsetof(ModelImageHeader, slotsHigh) == offsetof(ModelImageHeader, slotsExt) + sizeof(image->slotsExt),
                "header: the slot arrays are contiguous");
  DWORD* slots = reinterpret_cast<DWORD*>(base + offsetof(ModelImageHeader, slotsLow));
  DWORD* const end = slots + (sizeof(image->slotsLow) + sizeof(image->slotsExt) + sizeof(image->slotsHigh)) / sizeof(DWORD);
  const DWORD address = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(base));
  // Eight at a time: most groups are empty, and their test is one predictable branch.
  for (; end - slots >= 8; slots += 8) {
    if ((slots[0] | slots[1] | slots[2] | slots[3] | slots[4] | slots[5] | slots[6] | slots[7]) == 0) continue;
    for (int i = 0; i < 8; ++i) slots[i] += address & (0u - (slots[i] != 0));
  }
  for (; slots < end; ++slots) *slots += address & (0u - (*slots != 0));
}

void ModelRelocateCommands(ModelImageHeader* image) {
  BYTE* base = reinterpret_cast<BYTE*>(image);
  Plain(base, &image->uiResDllName);
  Plain(base, &image->excDepDllName);
  CommandBlock** groups[] = {&image->jobStart, &image->jobEnd, &image->docReset, &image->pageStart,
                             &image->pageEnd};
  for (CommandBlock** group : groups) RelocateBlock(base, static_cast<CommandBlock*>(Plain(base, group)), 0);
  RelocateFonts(base, &image->deviceFonts, image->deviceFontCount);
  RelocateFonts(base, &image->cartridges, image->cartridgeCount);
}

void ModelFixUpImage(ModelImageHeader* image) {
  if (!image) return;
  ModelRelocateItems(image);
  ModelRelocateRules(image);
  ModelRelocateCommands(image);
  Plain(reinterpret_cast<BYTE*>(image), &image->exclusives);
}
