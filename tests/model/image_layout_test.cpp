// Layout of the compiled image: golden bytes of a small fixture, the order of descriptors,
// item slots, and judges kept for command groups.
#include <gtest/gtest.h>

#include <vector>

#include "core/common/mem.h"
#include "core/model/model_image.h"
#include "core/rules/model_rules.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "image_walk.h"
#include "model_test_util.h"

namespace {

using model_test::Parsed;

WORD ItemId(const char* name) { return TblFindSymbolByName(name)->itemId; }
WORD SymbolId(const char* name) { return TblFindSymbolByName(name)->symbolId; }
WORD Value(const char* name) { return TblFindValueSymbolByName(name)->logical; }
DWORD L(DWORD offset) { return offset * 16 + 1; }

struct Bytes {
  std::vector<BYTE> b;
  explicit Bytes(size_t n) : b(n, 0) {}
  void W16(size_t at, DWORD v) {
    b[at] = static_cast<BYTE>(v);
    b[at + 1] = static_cast<BYTE>(v >> 8);
  }
  void W32(size_t at, DWORD v) {
    W16(at, v & 0xFFFF);
    W16(at + 2, v >> 16);
  }
  void Text(size_t at, const char* t) {
    for (; *t; ++t) b[at++] = static_cast<BYTE>(*t);
  }
};

TEST(ModelImageLayout, GoldenBytesOfASmallFixture) {
  Parsed p(model_test::Fixture("image_golden.zmd"));
  ASSERT_NE(nullptr, p.state);
  ModelImageHeader* image = ModelBuildImage(p.state);
  ASSERT_NE(nullptr, image);
  const DWORD total = 8236;
  ASSERT_EQ(total, image->totalSize);

  WORD color = ItemId("TOV_dmColor"), symbol = SymbolId("TOV_dmColor"), mono = Value("DMCOLOR_MONO");
  Bytes x(total);
  // Header: version, size, descriptor list, the item's slot, the PageEnd group, device fonts
  // and the Exclusive list.
  x.W16(0, '1'), x.W16(2, '.'), x.W16(4, '0');
  x.W32(32, total);
  x.W32(36, 8160);
  x.W32(36 + 4 * color, 8160);
  x.W32(7972, 8208);
  x.W32(7976, 1);
  x.W32(7980, 8232);
  x.W32(7992, 8092);
  // Rules section: the judge's cells, then one entry of each statement, then Exclusive.
  x.W16(7996, 1), x.W16(7998, color), x.W16(8000, 2), x.W16(8002, 1), x.W16(8004, 3), x.W16(8006, 1);
  x.W16(8008, 3), x.W16(8010, 10);
  x.W16(8016, mono), x.W32(8020, L(7996)), x.W32(8028, L(7996));                   // ValueRule
  x.W16(8036, color), x.W32(8040, mono);                                             // ActionEntry
  x.W32(8048, L(7996)), x.W32(8052, L(8032));                                        // TransactEntry
  x.W16(8060, 1), x.W32(8064, L(8044));                                              // AlertActionEntry
  x.W32(8076, L(7996)), x.W16(8082, 0x10), x.W32(8088, L(8056));                     // AlertRecord
  x.W16(8096, symbol), x.W32(8100, L(7996)), x.W32(8108, L(8012)), x.W32(8112, L(8072)),
      x.W32(8116, L(8044));                                                          // ExclusiveRecord
  // Items section: the value's text and entry, the pair's texts and pair, the descriptor.
  x.Text(8128, "M");
  x.W16(8136, mono), x.W32(8140, 8128);
  x.Text(8144, "C="), x.Text(8147, ".");
  x.W32(8152, 8144), x.W32(8156, 8147);
  x.W16(8164, symbol), x.W16(8168, color), x.W16(8170, 1), x.W32(8176, 8152), x.W32(8180, 8092), x.W32(8184, 8132);
  // Command section: the string's text, the node and block of PageEnd, the font.
  x.Text(8188, "S");
  x.W16(8196, 2), x.W32(8200, 2), x.W32(8204, 8188);
  x.W32(8212, 8192);
  x.Text(8220, "F");
  x.W32(8224, 7), x.W32(8228, 8220);
  x.W32(8232, 8224);

  const BYTE* got = reinterpret_cast<const BYTE*>(image);
  size_t differs = total;
  for (size_t i = 0; i < total && differs == total; ++i) {
    if (got[i] != x.b[i]) differs = i;
  }
  EXPECT_EQ(total, differs) << "first differing byte at offset " << differs << ": "
                            << int(got[differs < total ? differs : 0]) << " instead of "
                            << int(x.b[differs < total ? differs : 0]);
  // Stored rules links are odd and decode as (v - 1) / 16.
  DWORD judge;
  memcpy(&judge, got + 8100, 4);
  EXPECT_EQ(1u, judge & 1);
  EXPECT_EQ(7996u, (judge - 1) / 16);

  ModelFixUpImage(image);
  EXPECT_EQ(reinterpret_cast<const BYTE*>(image) + 8092, reinterpret_cast<const BYTE*>(image->exclusives));
  EXPECT_EQ(reinterpret_cast<const JudgeCell*>(got + 7996), image->exclusives->judgeDisabled);
  EXPECT_EQ(reinterpret_cast<const ValueRule*>(got + 8012), image->exclusives->valueRules);
  EXPECT_EQ(std::string("S"), reinterpret_cast<const StringCommandNode*>(image->pageEnd->thenList)->text);
  MemFree(image);
}

TEST(ModelImageLayout, DescriptorOrderAndSlots) {
  std::string text =
      "*OpenUI *TOV_dmColor: PickOne\n*TOV_dmColor DMCOLOR_MONO: \"M\"\n*CloseUI\n"
      "*OpenUI *TOV_dmColor 1: PickOne\n*OptionCommand: {\"v\"}\n*CloseUI\n"
      "*OpenUI *TOV_dmCopies: Numeric\n*NumericValue: 0 \"0 1 1 9\"\n*CloseUI\n"
      "*OpenUI *TOV_dmCopies: Numeric\n*CloseUI\n"
      "*OpenUI *TOV_dmYResolution: Identity *TOV_dmColor\n*CloseUI\n"
      "*OpenUI *TOV_zdmTonerSave: Boolean\n*CloseUI\n";
  Parsed p(text);
  ASSERT_NE(nullptr, p.state);
  // No named item has an id of 1544-10000, so the last block is given one here.
  const WORD unslotted = 1600;
  ASSERT_NE(nullptr, p->lastDescriptor);
  p->lastDescriptor->itemId = unslotted;
  ModelImageHeader* image = ModelBuildImage(p.state);
  ASSERT_NE(nullptr, image);
  ModelFixUpImage(image);
  std::vector<const ModelItemDescriptor*> list;
  for (const ModelItemDescriptor* d = image->descriptors; d; d = d->next) list.push_back(d);
  ASSERT_EQ(6u, list.size());
  // Variants and Identity items first, the one declared last first; then bases in file order.
  EXPECT_EQ(ItemId("TOV_dmYResolution"), list[0]->itemId);
  EXPECT_EQ(ItemId("TOV_dmColor"), list[1]->itemId);
  EXPECT_EQ(1, list[1]->variant);
  EXPECT_EQ(ItemId("TOV_dmColor"), list[2]->itemId);
  EXPECT_EQ(ItemId("TOV_dmCopies"), list[3]->itemId);
  EXPECT_EQ(ItemId("TOV_dmCopies"), list[4]->itemId);
  EXPECT_EQ(unslotted, list[5]->itemId);
  for (size_t i = 0; i + 1 < list.size(); ++i) EXPECT_LT(list[i + 1], list[i]) << "written from the tail";

  // Two blocks of one id: the slot holds the first; the second stays on the list.
  EXPECT_EQ(list[3], *ModelHeaderSlot(image, ItemId("TOV_dmCopies")));
  EXPECT_NE(nullptr, list[3]->values);
  EXPECT_EQ(nullptr, list[4]->values);
  // A variant keeps its base's slot and shares its records; its command pair is its own.
  EXPECT_EQ(list[2], *ModelHeaderSlot(image, ItemId("TOV_dmColor")));
  EXPECT_EQ(list[2]->values, list[1]->values);
  ASSERT_NE(nullptr, list[1]->commands);
  EXPECT_STREQ("v", list[1]->commands->first);
  EXPECT_EQ(nullptr, list[2]->commands);
  // The Identity item has no base of its own: it takes its slot and shares the mirrored records.
  EXPECT_EQ(list[0], *ModelHeaderSlot(image, ItemId("TOV_dmYResolution")));
  EXPECT_EQ(list[2]->values, list[0]->values);
  // An id without a slot is found only along the list.
  EXPECT_EQ(nullptr, ModelHeaderSlot(image, unslotted));
  EXPECT_EQ(nullptr, *ModelHeaderSlot(image, ItemId("TOV_zdmTonerSave"))) << "slots follow the written ids";
  MemFree(image);
}

TEST(ModelImageLayout, WithoutExclusiveTheCommandGroupsKeepTheirJudges) {
  Parsed p(
      "*Judge 2=On: TOV_dmColor == 1\n"
      "*CommandGroup: JobStart { Command : On { Type : FontType } Command : Typo { Type : FontType } "
      "Command : NULL { Type : FontType } }\n");
  ASSERT_NE(nullptr, p.state);
  ModelImageHeader* image = ModelBuildImage(p.state);
  ASSERT_NE(nullptr, image);
  EXPECT_EQ(nullptr, image->exclusives);
  ModelFixUpImage(image);
  EXPECT_EQ(nullptr, image->exclusives);
  const CommandNode* n = image->jobStart->thenList;
  ASSERT_NE(nullptr, n);
  const JudgeCell* on = reinterpret_cast<const ConditionalCommandNode*>(n)->block->judge.cells;
  ASSERT_NE(nullptr, on);
  EXPECT_EQ(0, memcmp(ModelFindJudge(p.state, 2)->cells, on, 16));
  ASSERT_NE(nullptr, n->next);
  const JudgeCell* typo = reinterpret_cast<const ConditionalCommandNode*>(n->next)->block->judge.cells;
  ASSERT_NE(nullptr, typo) << "a misspelt judge must not make the block unconditional";
  EXPECT_EQ(kJudgeConstant, typo[0].kind);
  EXPECT_EQ(0, typo[0].value);
  EXPECT_EQ(kJudgeOpEnd, typo[1].value);
  ASSERT_NE(nullptr, n->next->next);
  EXPECT_EQ(nullptr, reinterpret_cast<const ConditionalCommandNode*>(n->next->next)->block->judge.cells);
  MemFree(image);
}

TEST(ModelImageLayout, RecordsNoBaseWroteGiveNoLink) {
  // An Identity item of an undescribed item, with a list type of its own: its values belong to
  // no base descriptor, so the image links none (never an address of the parse state).
  Parsed p(
      "*OpenUI *TOV_dmYResolution: Identity | PickOne *TOV_dmColor\n"
      "*TOV_dmYResolution DMCOLOR_MONO: \"x\"\n*CloseUI\n");
  ASSERT_NE(nullptr, p.state);
  ASSERT_NE(nullptr, p->header->descriptors);
  ASSERT_NE(0, p->header->descriptors->variant);
  ASSERT_NE(nullptr, p->header->descriptors->values);
  ModelImageHeader* image = ModelBuildImage(p.state);
  ASSERT_NE(nullptr, image);
  ModelFixUpImage(image);
  EXPECT_EQ(nullptr, image->descriptors->values);
  EXPECT_EQ("", model_test::CompareImage(p.state, image));
  MemFree(image);
}

TEST(ModelImageLayout, AVariantLinksTheRecordsOfTheFirstBase) {
  // OpenUI with variant number 0 (or a word that is no number) copies the base as a second
  // base description: both bases hold the same parse records and each gets its own copy in the
  // image. A variant or Identity item must link the copy of the first base, the one it was
  // declared from and that holds the item's slot.
  struct Case {
    const char* text;
    const char* variantItem;  // the item of the variant or Identity descriptor
    const char* baseItem;     // the item whose slot holds the base with the shared records
  } cases[] = {
      {"*OpenUI *TOV_dmColor: PickOne\n*TOV_dmColor DMCOLOR_MONO: \"M\"\n*CloseUI\n"
       "*OpenUI *TOV_dmColor 0: PickOne\n*CloseUI\n"
       "*OpenUI *TOV_dmColor 1: PickOne\n*CloseUI\n",
       "TOV_dmColor", "TOV_dmColor"},
      {"*OpenUI *TOV_dmPaperSize: PickPage\n*TOV_dmPaperSize DMPAPERSIZE_A4: \"A4\"\n"
       "*PageMMValue TOV_dmPaperSize DMPAPERSIZE_A4: \"2100 2970\"\n*CloseUI\n"
       "*OpenUI *TOV_dmPaperSize DMPAPERSIZE_LETTER: PickPage\n*CloseUI\n"
       "*OpenUI *TOV_dmPaperSize 1: PickPage\n*CloseUI\n",
       "TOV_dmPaperSize", "TOV_dmPaperSize"},
      {"*OpenUI *TOV_dmCopies: Numeric\n*NumericValue: 0 \"0 1 1 9\"\n*CloseUI\n"
       "*OpenUI *TOV_dmCopies 2: Numeric\n*CloseUI\n"
       "*OpenUI *TOV_dmCopies 0: Numeric\n*CloseUI\n",
       "TOV_dmCopies", "TOV_dmCopies"},
      {"*OpenUI *TOV_dmColor: PickOne\n*TOV_dmColor DMCOLOR_MONO: \"M\"\n*CloseUI\n"
       "*OpenUI *TOV_dmYResolution: Identity *TOV_dmColor\n*CloseUI\n"
       "*OpenUI *TOV_dmYResolution 0: PickOne\n*CloseUI\n",
       "TOV_dmYResolution", "TOV_dmColor"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Parsed p(c.text);
    ASSERT_NE(nullptr, p.state);
    ModelImageHeader* image = ModelBuildImage(p.state);
    ASSERT_NE(nullptr, image);
    ModelFixUpImage(image);
    EXPECT_EQ("", model_test::CompareImage(p.state, image));
    const ModelItemDescriptor* variant = nullptr;
    int bases = 0;
    for (const ModelItemDescriptor* d = image->descriptors; d; d = d->next) {
      if (d->itemId == ItemId(c.variantItem) && d->variant != 0 && !variant) variant = d;
      if (d->symbolId == SymbolId(c.variantItem) && d->variant == 0) ++bases;
    }
    EXPECT_EQ(strcmp(c.variantItem, c.baseItem) == 0 ? 2 : 1, bases);
    ASSERT_NE(nullptr, variant);
    const ModelItemDescriptor* base = *ModelHeaderSlot(image, ItemId(c.baseItem));
    ASSERT_NE(nullptr, base);
    ASSERT_NE(nullptr, base->values);
    EXPECT_EQ(base->values, variant->values);
    MemFree(image);
  }
}

TEST(ModelImageLayout, SavedFuzzInputsWalkBack) {
  for (const char* name : {"fuzz_variant_after_second_base.zmd"}) {
    SCOPED_TRACE(name);
    std::string text = model_test::Fixture(name);
    ASSERT_FALSE(text.empty());
    Parsed p(text);
    ASSERT_NE(nullptr, p.state);
    ModelImageHeader* image = ModelBuildImage(p.state);
    ASSERT_NE(nullptr, image);
    ModelFixUpImage(image);
    EXPECT_EQ("", model_test::CompareImage(p.state, image));
    MemFree(image);
  }
}

TEST(ModelImageLayout, TheWriterStaysInsideItsBlock) {
  BYTE block[8004] = {};
  struct Case {
    BYTE* base;
    DWORD limit, at, n;
    bool fits;
  } cases[] = {
      {block, sizeof(block), 7996, 8, true},
      {block, sizeof(block), 7996, 9, false},  // a size that disagrees with the records: no write
      {nullptr, 0, kModelImageMaxSize - 8, 8, true},
      {nullptr, 0, kModelImageMaxSize - 8, 9, false},  // beyond what x 16 + 1 links can encode
      {nullptr, 0, 7996, 0xFFFFFFFFu, false},
  };
  for (const Case& c : cases) {
    ModelImageWriter w = {c.base, c.limit, c.at, FALSE};
    DWORD at = ModelWriterReserve(&w, c.n);
    EXPECT_EQ(c.fits ? c.at : 0u, at) << c.at << " + " << c.n;
    EXPECT_EQ(c.fits ? FALSE : TRUE, w.failed);
    EXPECT_EQ(0u, ModelWriterReserve(&w, c.fits ? 0 : 1)) << "nothing more after a failure";
  }
}

}  // namespace
