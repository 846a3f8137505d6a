// The model-description parser: item blocks, values, defaults, variants and Identity items,
// value records, command groups, command strings, font lists and the header texts.
#include <gtest/gtest.h>
#include <string.h>

#include <thread>

#include "core/items/item_ids.h"
#include "core/model/model_parser_scan.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "core/items/item_ids.h"
#include "model_shapes.h"
#include "model_test_util.h"

using model_test::FindItem;
using model_test::Parsed;
using model_test::ValueIds;

namespace {

WORD Value(const char* name) {
  const ValueSymbol* v = TblFindValueSymbolByName(name);
  EXPECT_NE(nullptr, v) << "value symbol " << name;
  return v ? v->logical : 0;
}

WORD Symbol(const char* name) {
  const SymbolEntry* s = TblFindSymbolByName(name);
  EXPECT_NE(nullptr, s) << "symbol " << name;
  return s ? s->symbolId : 0;
}

const char kPaperBlock[] =
    "*OpenUI *TOV_dmPaperSize: PickPage\n"
    "*TOV_dmPaperSize DMPAPERSIZE_A4: \"@PJL SET PAPER=A4\"\n"
    "*TOV_dmPaperSize DMPAPERSIZE_A3: \"@PJL SET PAPER=A3\"\n"
    "*TOV_dmPaperSize DMPAPERSIZE_LETTER:\n"
    "*DefaultTOV_dmPaperSize: DMPAPERSIZE_A3\n"
    "*CloseUI\n";

TEST(ModelParser, ItemBlockBuildsDescriptorValuesAndDefaultIndex) {
  Parsed p(std::string(kPaperBlock) + "*TOV_dmPaperSize DMPAPERSIZE_A5: \"after the block\"\n");
  ASSERT_NE(nullptr, p.state);
  const ModelItemDescriptor* d = FindItem(p.state, kItem_dmPaperSize);
  ASSERT_NE(nullptr, d);
  EXPECT_EQ(Symbol("TOV_dmPaperSize"), d->symbolId);
  EXPECT_EQ(kModelTypePickPage, d->type);
  EXPECT_EQ((std::vector<WORD>{Value("DMPAPERSIZE_A4"), Value("DMPAPERSIZE_A3"), Value("DMPAPERSIZE_LETTER")}),
            ValueIds(d));
  EXPECT_EQ(1, d->defaultValue) << "the default becomes its index at CloseUI";
  EXPECT_EQ(d, *ModelHeaderSlot(p->header, kItem_dmPaperSize));
  const PageValueRecord* a4 = static_cast<const PageValueRecord*>(d->values);
  EXPECT_STREQ("@PJL SET PAPER=A4", a4->command);
  EXPECT_EQ(nullptr, a4->next->next->command) << "an entry without a value has no command";
  EXPECT_EQ(Value("DMPAPERSIZE_A3"), ModelImageGetItemDefault(p->header, kItem_dmPaperSize));
  EXPECT_EQ(nullptr, p->openName);
  EXPECT_EQ(3u, ValueIds(d).size()) << "an option entry after CloseUI is an unknown keyword";
}

TEST(ModelParser, DuplicatesAndStatementsOutsideTheirBlockAreDropped) {
  Parsed p(
      "*OpenUI *TOV_dmOrientation: PickOne\n"
      "*TOV_dmOrientation DMORIENTATION_PORTRAIT: \"P1\"\n"
      "*TOV_dmOrientation DMORIENTATION_LANDSCAPE: \"L1\"\n"
      "*TOV_dmOrientation DMORIENTATION_LANDSCAPE: \"L2\"\n"  // repeats the last entry
      "*TOV_dmOrientation DMORIENTATION_PORTRAIT: \"P2\"\n"
      "*TOV_dmOrientation NOT_A_VALUE: \"X\"\n"
      "*OpenUI *TOV_dmCopies: Numeric\n"  // a second OpenUI while one is open
      "*TOV_dmCopies X: \"dropped\"\n"
      "*CloseUI\n"
      "*TOV_dmOrientation DMORIENTATION_PORTRAIT: \"after\"\n"
      "*DefaultTOV_dmOrientation: DMORIENTATION_LANDSCAPE\n"
      "*CloseUI\n");
  ASSERT_NE(nullptr, p.state);
  const ModelItemDescriptor* d = FindItem(p.state, kItem_dmOrientation);
  ASSERT_NE(nullptr, d);
  EXPECT_EQ((std::vector<WORD>{Value("DMORIENTATION_PORTRAIT"), Value("DMORIENTATION_LANDSCAPE")}), ValueIds(d));
  const ListValueRecord* e = static_cast<const ListValueRecord*>(d->values);
  EXPECT_STREQ("P1", e->command) << "the first entry of a value stays";
  EXPECT_STREQ("L1", e->next->command);
  EXPECT_EQ(0, d->defaultValue) << "a Default after CloseUI is an unknown keyword";
  EXPECT_EQ(nullptr, FindItem(p.state, kItem_dmCopies)) << "a second OpenUI inside a block is dropped";
}

TEST(ModelParser, TypeWords) {
  struct Case {
    const char* type;
    WORD expected;
  } cases[] = {
      {"PickOne", 0x0001},  {"PickMany", 0x0002}, {"Boolean", 0x0004},  {"Numeric", 0x0008},
      {"String", 0x0010},   {"PickPage", 0x0101}, {"PickSlot", 0x0201}, {"FontTbl", 0x0401},
      {"PickOne|TypeUnknown", 0x2001}, {"PickOne | TypeUnknown", 0x2001}, {"Fancy", 0x0001},
      {"", 0x0001},
  };
  for (const Case& c : cases) {
    Parsed p(std::string("*OpenUI *TOV_dmColor: ") + c.type + "\n*CloseUI\n");
    const ModelItemDescriptor* d = FindItem(p.state, kItem_dmColor);
    ASSERT_NE(nullptr, d) << c.type;
    EXPECT_EQ(c.expected, d->type) << c.type;
  }
}

TEST(ModelParser, IdListEntriesAndBooleanEntries) {
  Parsed p(
      "*OpenUI *TOV_dmOrientation: PickOne\n"
      "*TOV_dmOrientation: IDList { DMORIENTATION_PORTRAIT\n"
      "   {DMORIENTATION_LANDSCAPE \"<1B>&l1O\"} }\n"
      "*CloseUI\n"
      "*OpenUI *TOV_dmPaperSize: PickOne\n"
      "*TOV_dmPaperSize: IDList {DMPAPERSIZE_A4 UNKNOWN_NAME DMPAPERSIZE_A3}\n"
      "*CloseUI\n"
      "*OpenUI *TOV_dmColor: Boolean\n"
      "*TOV_dmColor True: \"COLOR\"\n"
      "*TOV_dmColor False: \"MONO\"\n"
      "*TOV_dmColor True: \"COLOUR\"\n"
      "*DefaultTOV_dmColor: True\n"
      "*CloseUI\n");
  const ModelItemDescriptor* orientation = FindItem(p.state, kItem_dmOrientation);
  ASSERT_NE(nullptr, orientation);
  EXPECT_EQ((std::vector<WORD>{Value("DMORIENTATION_PORTRAIT"), Value("DMORIENTATION_LANDSCAPE")}),
            ValueIds(orientation));
  EXPECT_STREQ("\x1b&l1O", static_cast<const ListValueRecord*>(orientation->values)->next->command);
  EXPECT_EQ((std::vector<WORD>{Value("DMPAPERSIZE_A4")}), ValueIds(FindItem(p.state, kItem_dmPaperSize)))
      << "the list ends at the first unknown value name";
  const ModelItemDescriptor* color = FindItem(p.state, kItem_dmColor);
  ASSERT_NE(nullptr, color);
  const BooleanValueRecord* b = static_cast<const BooleanValueRecord*>(color->values);
  ASSERT_NE(nullptr, b);
  EXPECT_STREQ("COLOUR", b->trueCommand);
  EXPECT_STREQ("MONO", b->falseCommand);
  EXPECT_EQ(1, b->defaultValue);
  EXPECT_EQ(1, ModelImageGetItemDefault(p->header, kItem_dmColor));
}

TEST(ModelParser, CommandTextEscapes) {
  struct Case {
    const char* written;
    std::string decoded;  // empty: no text
  } cases[] = {
      {"\"plain\"", "plain"},
      {"\"<1B 45>\"", "\x1b\x45"},
      {"\"<1B45>x<0d0A>\"", std::string("\x1b\x45x\r\n")},
      {"\"a<1 B>b\"", "ab"},  // digits that are not adjacent give nothing
      {"\"say %\"hi%\"\"", "say \"hi\""},
      {"\"100%%\"", "100%"},
      {"\"%<not hex>\"", "<not hex>"},
      {"\"two\nlines\"", "twolines"},
      {"\"\"", ""},
      {"no quotes", ""},
  };
  for (const Case& c : cases) {
    std::string text = std::string("*OpenUI *TOV_dmOrientation: PickOne\n*TOV_dmOrientation DMORIENTATION_PORTRAIT: ") +
                       c.written + "\n*CloseUI\n";
    Parsed p(text);
    const ModelItemDescriptor* d = FindItem(p.state, kItem_dmOrientation);
    ASSERT_NE(nullptr, d) << c.written;
    const char* command = static_cast<const ListValueRecord*>(d->values)->command;
    EXPECT_EQ(c.decoded, command ? command : "") << c.written;
  }
}

TEST(ModelParser, VariantsShareTheBaseValuesAndKeepTheirOwnDefaultAndCommands) {
  Parsed p(
      "*OpenUI *TOV_dmOrientation: PickOne\n"
      "*TOV_dmOrientation DMORIENTATION_PORTRAIT: \"P\"\n"
      "*TOV_dmOrientation DMORIENTATION_LANDSCAPE: \"L\"\n"
      "*DefaultTOV_dmOrientation: DMORIENTATION_LANDSCAPE\n"
      "*OptionCommand: {\"base\"}\n"
      "*CloseUI\n"
      "*OpenUI *TOV_dmOrientation 2: PickOne\n"  // no Default: keeps the base's index
      "*CloseUI\n"
      "*OpenUI *TOV_dmOrientation 3: PickOne\n"
      "*DefaultTOV_dmOrientation: DMORIENTATION_PORTRAIT\n"
      "*OptionCommand: {\"first\" \"second\"}\n"
      "*CloseUI\n"
      // A variant declared before its base has values keeps none.
      "*OpenUI *TOV_dmColor: PickOne\n*CloseUI\n"
      "*OpenUI *TOV_dmColor 1: PickOne\n*CloseUI\n"
      "*OpenUI *TOV_dmColor: PickOne\n*TOV_dmColor DMORIENTATION_PORTRAIT:\n*CloseUI\n");
  const ModelItemDescriptor* base = FindItem(p.state, kItem_dmOrientation, 0);
  const ModelItemDescriptor* v2 = FindItem(p.state, kItem_dmOrientation, 2);
  const ModelItemDescriptor* v3 = FindItem(p.state, kItem_dmOrientation, 3);
  ASSERT_TRUE(base && v2 && v3);
  EXPECT_EQ(base->values, v2->values);
  EXPECT_EQ(base->values, v3->values);
  EXPECT_EQ(1, base->defaultValue);
  EXPECT_EQ(1, v2->defaultValue) << "a variant without Default keeps the base's index";
  EXPECT_EQ(0, v3->defaultValue);
  EXPECT_STREQ("base", base->commands->first);
  EXPECT_EQ(base->commands, v2->commands);
  EXPECT_STREQ("first", v3->commands->first);
  EXPECT_STREQ("second", v3->commands->second);
  EXPECT_STREQ("base", base->commands->first) << "the variant's pair does not change the base's";
  EXPECT_EQ(base, *ModelHeaderSlot(p->header, kItem_dmOrientation)) << "variants leave the slot to the builder";

  const ModelItemDescriptor* colorVariant = FindItem(p.state, kItem_dmColor, 1);
  ASSERT_NE(nullptr, colorVariant);
  EXPECT_EQ(nullptr, colorVariant->values);
  EXPECT_EQ(1u, ValueIds(FindItem(p.state, kItem_dmColor, 0)).size()) << "the first base received the value";
}

TEST(ModelParser, IdentityItemsMirrorAnotherItem) {
  Parsed p(std::string(kPaperBlock) +
           "*OpenUI *TOV_dmCopies: Identity *TOV_dmPaperSize\n*CloseUI\n"
           "*OpenUI *TOV_dmColor: Identity *TOV_dmOrientation\n*CloseUI\n");
  const ModelItemDescriptor* paper = FindItem(p.state, kItem_dmPaperSize);
  const ModelItemDescriptor* mirror = FindItem(p.state, kItem_dmCopies, Symbol("TOV_dmPaperSize"));
  ASSERT_TRUE(paper && mirror);
  EXPECT_EQ(kModelTypeIdentity | kModelTypePickPage, mirror->type);
  EXPECT_EQ(paper->values, mirror->values);
  EXPECT_EQ(1, mirror->defaultValue);
  EXPECT_EQ(mirror, *ModelHeaderSlot(p->header, kItem_dmCopies));
  const ModelItemDescriptor* lone = FindItem(p.state, kItem_dmColor, Symbol("TOV_dmOrientation"));
  ASSERT_NE(nullptr, lone) << "an Identity item whose model is not described yet";
  EXPECT_EQ(kModelTypeIdentity, lone->type);
  EXPECT_EQ(nullptr, lone->values);
}

// A mirror whose own type names another list shape must not write records of its shape into
// the mirrored list: it takes the mirrored item's type, and the mirrored list stays as written.
TEST(ModelParser, IdentityOfAnotherListShapeTakesTheMirroredType) {
  const char kOrientationBlock[] =
      "*OpenUI *TOV_dmOrientation: PickOne\n"
      "*TOV_dmOrientation DMORIENTATION_PORTRAIT: \"P\"\n"
      "*TOV_dmOrientation DMORIENTATION_LANDSCAPE: \"L\"\n"
      "*DefaultTOV_dmOrientation: DMORIENTATION_LANDSCAPE\n"
      "*CloseUI\n";
  struct Case {
    const char* mirror;  // the mirror's block
    WORD type;
  } cases[] = {
      {"*OpenUI *TOV_dmPaperSize: PickPage|Identity *TOV_dmOrientation\n"
       "*PageMMValue x DMORIENTATION_PORTRAIT: \"2100 2970\"\n"
       "*PageValue x DMORIENTATION_PORTRAIT: 600 DMORIENTATION_PORTRAIT \"1 2 3 4\"\n"
       "*TOV_dmPaperSize DMORIENTATION_LANDSCAPE: \"again\"\n*CloseUI\n",
       kModelTypeIdentity | kModelTypePickOne},
      {"*OpenUI *TOV_dmPaperSize: FontTbl|Identity *TOV_dmOrientation\n"
       "*TTFS x DMORIENTATION_PORTRAIT: IDList { {\"Arial\" \"Sans\"} }\n*CloseUI\n",
       kModelTypeIdentity | kModelTypePickOne},
      {"*OpenUI *TOV_dmPaperSize: PickSlot|Identity *TOV_dmOrientation\n"
       "*SlotPaper x DMORIENTATION_PORTRAIT: { DMPAPERSIZE_A4 }\n*CloseUI\n",
       kModelTypeIdentity | kModelTypePickOne},
      {"*OpenUI *TOV_dmPaperSize: TypeUnknown|Identity *TOV_dmOrientation\n*CloseUI\n",
       kModelTypeIdentity | kModelTypeUnknown | kModelTypePickOne},
  };
  for (const Case& c : cases) {
    Parsed p(std::string(kOrientationBlock) + c.mirror);
    ASSERT_NE(nullptr, p.state) << c.mirror;
    const ModelItemDescriptor* orientation = FindItem(p.state, kItem_dmOrientation);
    const ModelItemDescriptor* mirror = FindItem(p.state, kItem_dmPaperSize, Symbol("TOV_dmOrientation"));
    ASSERT_TRUE(orientation && mirror) << c.mirror;
    EXPECT_EQ(c.type, mirror->type) << c.mirror;
    EXPECT_EQ(orientation->values, mirror->values) << c.mirror;
    EXPECT_EQ(1, mirror->defaultValue) << c.mirror;
    EXPECT_EQ((std::vector<WORD>{Value("DMORIENTATION_PORTRAIT"), Value("DMORIENTATION_LANDSCAPE")}),
              ValueIds(orientation))
        << c.mirror;
    const ListValueRecord* second = static_cast<const ListValueRecord*>(orientation->values)->next;
    EXPECT_STREQ("L", second->command) << c.mirror;
  }
}

TEST(ModelParser, NumericAndStringValues) {
  Parsed p(
      "*OpenUI *TOV_dmCopies: Numeric\n"
      "*NumericValue: 3 \"1 5 -2 999 6 7 8 9\"\n"
      "*CloseUI\n"
      "*OpenUI *TOV_dmColor: Numeric\n"
      "*NumericValue: \"4 20\"\n"
      "*CloseUI\n"
      "*OpenUI *TOV_dmOrientation: String\n"
      "*StringValue: 32 ASCII | Password\n"
      "*DefaultTOV_dmOrientation: DMORIENTATION_PORTRAIT\n"
      "*CloseUI\n"
      "*OpenUI *TOV_dmPaperSize: String\n"
      "*StringValue: 8 Weird\n"
      "*CloseUI\n");
  const NumericValueRecord* copies =
      static_cast<const NumericValueRecord*>(FindItem(p.state, kItem_dmCopies)->values);
  ASSERT_NE(nullptr, copies);
  EXPECT_EQ((std::vector<WORD>{3, 1, 6, 7, 8, 9}), std::vector<WORD>(copies->numbers, copies->numbers + 6));
  EXPECT_EQ(5, copies->defaultValue);
  EXPECT_EQ(-2, copies->minimum);
  EXPECT_EQ(999, copies->maximum);
  EXPECT_EQ(5, ModelImageGetItemDefault(p->header, kItem_dmCopies));

  const NumericValueRecord* two = static_cast<const NumericValueRecord*>(FindItem(p.state, kItem_dmColor)->values);
  EXPECT_EQ(4, two->numbers[1]);
  EXPECT_EQ(20, two->defaultValue);
  EXPECT_EQ(0, two->minimum);
  EXPECT_EQ(0, two->maximum);

  const StringValueRecord* s = static_cast<const StringValueRecord*>(FindItem(p.state, kItem_dmOrientation)->values);
  ASSERT_NE(nullptr, s);
  EXPECT_EQ(32, s->maxLength);
  EXPECT_EQ(kModelCharAscii, s->charType);
  EXPECT_EQ(kModelStringPassword, s->flag);
  EXPECT_EQ(Value("DMORIENTATION_PORTRAIT"), s->defaultValue);
  const StringValueRecord* weird = static_cast<const StringValueRecord*>(FindItem(p.state, kItem_dmPaperSize)->values);
  EXPECT_EQ(kModelCharMultiByte, weird->charType) << "an unknown character type is MultiByte";
  EXPECT_EQ(0, weird->flag);
}

TEST(ModelParser, PaperGeometryAndSizes) {
  Parsed p(std::string(kPaperBlock) +
           "*OpenUI *TOV_dmPaperSize 1: PickPage\n"  // a variant: records go to the base
           "*PageMMValue TOV_dmPaperSize DMPAPERSIZE_A4: \"2100 2970\"\n"
           "*PageValue TOV_dmPaperSize DMPAPERSIZE_A4: 600 DMORIENTATION_PORTRAIT \"100 100 4760 6814 4960 7014\"\n"
           "*PageValue TOV_dmPaperSize DMPAPERSIZE_A4: 1200 DMORIENTATION_LANDSCAPE TOV_dmColor True \"1 2 3 4\"\n"
           "*PageValue TOV_dmPaperSize DMPAPERSIZE_A4: 0 DMORIENTATION_PORTRAIT \"1 2 3 4\"\n"
           "*PageValue TOV_dmPaperSize DMPAPERSIZE_A4: 600 NO_SUCH_VALUE \"1 2 3 4\"\n"
           "*PageValue TOV_dmPaperSize DMPAPERSIZE_A4: 600 DMORIENTATION_PORTRAIT \"1 2 3\"\n"
           "*PageMMValue TOV_dmPaperSize DMPAPERSIZE_A5: \"1480\"\n"  // not in the list
           "*PageMMValue TOV_dmPaperSize DMPAPERSIZE_A3: \"2970\"\n"
           "*CloseUI\n");
  const ModelItemDescriptor* d = FindItem(p.state, kItem_dmPaperSize);
  ASSERT_NE(nullptr, d);
  const PageValueRecord* a4 = static_cast<const PageValueRecord*>(d->values);
  EXPECT_EQ(2100, a4->width);
  EXPECT_EQ(2970, a4->length);
  const PaperGeometryRecord* g = a4->geometry;
  ASSERT_NE(nullptr, g);
  EXPECT_EQ(600, g->resolution);
  EXPECT_EQ(1, g->orientation) << "the orientation's stored code, not its display string id";
  EXPECT_EQ(0, g->conditionSymbol);
  EXPECT_EQ((std::vector<LONG>{100, 100, 4760, 6814, 4960, 7014}),
            (std::vector<LONG>{g->x, g->y, g->width, g->height, g->pageWidth, g->pageHeight}));
  ASSERT_NE(nullptr, g->next);
  EXPECT_EQ(1200, g->next->resolution);
  EXPECT_EQ(2, g->next->orientation);
  EXPECT_EQ(Symbol("TOV_dmColor"), g->next->conditionSymbol);
  EXPECT_EQ(1, g->next->conditionValue);
  EXPECT_EQ(0, g->next->pageWidth);
  EXPECT_EQ(nullptr, g->next->next) << "records with a failed part are dropped";
  const PageValueRecord* a3 = a4->next;
  EXPECT_EQ(2970, a3->width);
  EXPECT_EQ(0, a3->length);
}

// A resolution given by a value name is kept as its dpi, as a number would be.
TEST(ModelParser, PaperGeometryByValueNames) {
  Parsed p(std::string(kPaperBlock) + "*OpenUI *TOV_dmPaperSize 1: PickPage\n" +
           "*PageValue TOV_dmPaperSize DMPAPERSIZE_A4: ZDMDSTRESOLUTIONW_1200 DMORIENTATION_LANDSCAPE \"1 2 3 4\"\n"
           "*CloseUI\n");
  const ModelItemDescriptor* d = FindItem(p.state, kItem_dmPaperSize);
  ASSERT_NE(nullptr, d);
  const PaperGeometryRecord* g = static_cast<const PageValueRecord*>(d->values)->geometry;
  ASSERT_NE(nullptr, g);
  EXPECT_EQ(1200, g->resolution);
  EXPECT_EQ(2, g->orientation);
}

TEST(ModelParser, TrayPapersAndFontTables) {
  Parsed p(
      "*OpenUI *TOV_dmDefaultSource: PickSlot\n"
      "*TOV_dmDefaultSource: IDList {DMPAPERSIZE_A4 DMPAPERSIZE_A3}\n"
      "*SlotPaper TOV_dmDefaultSource DMPAPERSIZE_A4: {DMPAPERSIZE_A4 DMPAPERSIZE_LETTER}\n"
      "*SlotPaper TOV_dmDefaultSource DMPAPERSIZE_A3: {DMPAPERSIZE_A3}\n"
      "*SlotPaper TOV_dmDefaultSource DMPAPERSIZE_A3: {DMPAPERSIZE_A4 NOT_A_PAPER}\n"
      "*CloseUI\n"
      "*OpenUI *TOV_dmColor: FontTbl\n"
      "*TOV_dmColor DMORIENTATION_PORTRAIT:\n"
      "*TTFS TOV_dmColor DMORIENTATION_PORTRAIT: IDList {\n"
      "  {\"Arial\" \"Helvetica\"}\n"
      "  {\"Times New Roman\" \"Times\"} }\n"
      "*CloseUI\n");
  const ModelItemDescriptor* tray = FindItem(p.state, kItem_dmDefaultSource);
  ASSERT_NE(nullptr, tray);
  const SlotValueRecord* first = static_cast<const SlotValueRecord*>(tray->values);
  ASSERT_EQ(2, first->paperCount);
  EXPECT_EQ(Value("DMPAPERSIZE_A4"), first->papers[0]);
  EXPECT_EQ(Value("DMPAPERSIZE_LETTER"), first->papers[1]);
  ASSERT_EQ(1, first->next->paperCount) << "a list with an unknown paper is dropped whole";
  EXPECT_EQ(Value("DMPAPERSIZE_A3"), first->next->papers[0]);

  const ModelItemDescriptor* fonts = FindItem(p.state, kItem_dmColor);
  ASSERT_NE(nullptr, fonts);
  const FontTableValueRecord* table = static_cast<const FontTableValueRecord*>(fonts->values);
  ASSERT_EQ(2, table->pairCount);
  EXPECT_STREQ("Arial", table->faces[0]);
  EXPECT_STREQ("Helvetica", table->deviceFonts[0]);
  EXPECT_STREQ("Times New Roman", table->faces[1]);
  EXPECT_STREQ("Times", table->deviceFonts[1]);
}

// Flattens a command list for comparison: I<symbol>/<number>, S<number>, F, C<judge>(then|else).
std::string Describe(const CommandNode* node) {
  std::string out;
  for (; node; node = node->next) {
    if (!out.empty()) out += ' ';
    switch (node->kind) {
      case kCommandNodeItem: {
        const ItemCommandNode* n = reinterpret_cast<const ItemCommandNode*>(node);
        out += "I" + std::to_string(n->head.symbolId) + "/" + std::to_string(n->number);
        break;
      }
      case kCommandNodeString:
        out += "S" + std::to_string(reinterpret_cast<const StringCommandNode*>(node)->number);
        break;
      case kCommandNodeFont:
        out += "F";
        break;
      case kCommandNodeConditional: {
        const CommandBlock* b = reinterpret_cast<const ConditionalCommandNode*>(node)->block;
        // '?': a judge reference that names no rule (linked to a judge that is always false).
        out += "C" + (b->judge.number == kModelRuleUnresolved ? std::string("?") : std::to_string(b->judge.number)) +
               "(" + Describe(b->thenList) + "|" +
               Describe(b->elseList) + ")";
        break;
      }
      default:
        out += "?";
    }
  }
  return out;
}

TEST(ModelParser, CommandGroups) {
  Parsed p(
      "*Judge 4=DuplexOn: TOV_dmDuplex == 2\n"
      "*CommandGroup: JobStart {\n"
      "  Type : StringType 1\n"
      "  Type : GroupType TOV_dmCopies 3\n"
      "  Type : GroupType TOV_dmColor\n"
      "  Type : GroupType NO_SUCH_ITEM 5\n"
      "  Type : StringType 0\n"
      "  Command : DuplexOn {\n"
      "    Type : StringType 10\n"
      "  } ElseIf : Judge7 {\n"
      "    Type : StringType 11\n"
      "  } Else {\n"
      "    Type : StringType 12\n"
      "  }\n"
      "  Command : Judge9 { }\n"  // empty: dropped
      "  Command : NULL { Command : Action3 { Type : FontType } }\n"
      "  Type : FontType\n"
      "}\n"
      "*CommandGroup: PageStart { Type : StringType 20 }\n"
      "*CommandGroup: PageStart { Type : StringType 21 }\n"  // replaces
      "*CommandGroup: Nowhere { Type : StringType 22 }\n"
      "*CommandGroup: JobEnd Type : StringType 23\n"  // no brace
      "*CommandGroup: DocReset { Type: StringType 24 Type : FontType }\n");
  ASSERT_NE(nullptr, p.state);
  std::string copies = std::to_string(Symbol("TOV_dmCopies"));
  std::string color = std::to_string(Symbol("TOV_dmColor"));
  ASSERT_NE(nullptr, p->header->jobStart);
  EXPECT_EQ(0u, p->header->jobStart->judge.number);
  EXPECT_EQ("S1 I" + copies + "/3 I" + color + "/0 C4(S10|C7(S11|S12)) C0(C?(F|)|) F",
            Describe(p->header->jobStart->thenList));
  ASSERT_NE(nullptr, p->header->pageStart);
  EXPECT_EQ("S21", Describe(p->header->pageStart->thenList));
  EXPECT_EQ(nullptr, p->header->jobEnd);
  EXPECT_EQ(nullptr, p->header->pageEnd);
  // Entries are written "Type : ..."; after "Type:" the reader skips to the next colon, so
  // that entry swallows the StringType and only the FontType after the second colon remains.
  ASSERT_NE(nullptr, p->header->docReset);
  EXPECT_EQ("F", Describe(p->header->docReset->thenList));
}

TEST(ModelParser, ElseIfTakesItsOwnColon) {
  const char* cases[] = {"} ElseIf : Judge7 {", "} ElseIf: Judge7 {", "} ElseIf :Judge7 {", "}ElseIf:Judge7{"};
  for (const char* elseIf : cases) {
    Parsed p(std::string("*CommandGroup: JobStart {\n  Command : Judge4 { Type : StringType 10\n  ") + elseIf +
             " Type : StringType 11\n  } Else { Type : StringType 12 }\n  Type : FontType\n}\n");
    ASSERT_NE(nullptr, p.state);
    ASSERT_NE(nullptr, p->header->jobStart) << elseIf;
    EXPECT_EQ("C4(S10|C7(S11|S12)) F", Describe(p->header->jobStart->thenList)) << elseIf;
  }
}

std::string Repeat(const std::string& text, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += text;
  return out;
}

// An ElseIf chain is a list, however long; a block nested deeper than the cap is skipped by
// its braces, and the entries after it in the group are kept.
TEST(ModelParser, LongElseIfChainsAndDeepNesting) {
  struct Case {
    const char* what;
    std::string body;  // the JobStart group's entries
    std::string expected;
    UINT codePage;
  } cases[] = {
      {"100 ElseIf branches, then an entry",
       "Command : Judge1 { Type : StringType 1 }" + Repeat(" ElseIf : Judge2 { Type : StringType 2 }", 100) +
           " Else { Type : StringType 3 } Type : FontType",
       "C1(S1|" + Repeat("C2(S2|", 100) + "S3" + Repeat(")", 101) + " F", 1252},
      {"a chain of empty branches ending in one that is not",
       "Command : Judge1 { }" + Repeat(" ElseIf : Judge2 { }", 70) + " ElseIf : Judge3 { Type : FontType } Type : StringType 9",
       "C1(|" + Repeat("C2(|", 70) + "C3(F|)" + Repeat(")", 71) + " S9", 1252},
      {"nesting at the cap is kept", Repeat("Command : Judge1 { ", 64) + "Type : FontType" + Repeat(" }", 64) +
           " Type : StringType 9",
       Repeat("C1(", 64) + "F" + Repeat("|)", 64) + " S9", 1252},
      {"nesting beyond the cap is skipped, the rest kept",
       "Type : StringType 1 Command : Judge2 { " + Repeat("Command : Judge1 { ", 70) + "Type : FontType" +
           Repeat(" }", 70) + " Type : StringType 7 } Type : StringType 9",
       "S1 C2(S7|) S9", 1252},
      {"a skipped block takes its ElseIf and Else along",
       Repeat("Command : Judge1 { ", 64) + "Command : Judge5 { Type : FontType } ElseIf : Judge6 { Type : FontType }"
           " Else { Type : FontType } Type : StringType 8" + Repeat(" }", 64) + " Type : StringType 9",
       Repeat("C1(", 64) + "S8" + Repeat("|)", 64) + " S9", 1252},
      {"a brace in a double-byte character does not end a skipped block",
       "Command : Judge2 { " + Repeat("Command : Judge1 { ", 65) + "Type : GroupType \x81\x7D" + Repeat(" }", 65) +
           " Type : StringType 7 } Type : StringType 9",
       "C2(S7|) S9", 932},
  };
  for (const Case& c : cases) {
    Parsed p("*CommandGroup: JobStart {\n" + c.body + "\n}\n", c.codePage);
    ASSERT_NE(nullptr, p.state) << c.what;
    ASSERT_NE(nullptr, p->header->jobStart) << c.what;
    EXPECT_EQ(c.expected, Describe(p->header->jobStart->thenList)) << c.what;
  }
}

TEST(ModelParser, CommandStringsFontsAndHeaderTexts) {
  Parsed p(
      "*FileVersion: 6.63\n"
      "*UIResDLLName: \"zemsresus.dll\"\n"
      "*ExcDepDLLName: \"zemsexdp.dll\"\n"
      "*CommandString 1: \"@PJL SET RESOLUTION=600<0D0A>\"\n"
      "*CommandString 2: \"\"\n"
      "*CommandString 3: \"<00>z\"\n"
      "*DeviceFonts: IDList { {\"Courier\" 1} {\"Letter Gothic\" 2}\n {\"Symbol\" -3} }\n"
      "*FontCartridge: IDList { {\"Barcode\" 10} }\n"
      "*FontCartridge: IDList { {\"Replaced\" 11} }\n");
  ASSERT_NE(nullptr, p.state);
  EXPECT_EQ("6.63", model_test::Narrow(p->header->fileVersion));
  EXPECT_EQ("zemsresus.dll", model_test::Narrow(p->header->uiResDllName));
  EXPECT_EQ("zemsexdp.dll", model_test::Narrow(p->header->excDepDllName));
  const CommandStringNode* c = p->commandStrings;
  ASSERT_NE(nullptr, c);
  EXPECT_EQ(1, c->number);
  EXPECT_STREQ("@PJL SET RESOLUTION=600\r\n", c->text);
  EXPECT_EQ(26, c->length);
  ASSERT_NE(nullptr, c->next) << "the empty string 2 is dropped";
  EXPECT_EQ(3, c->next->number);
  EXPECT_EQ(3, c->next->length) << "a hex NUL byte is kept in the counted text";
  EXPECT_EQ('z', c->next->text[1]);
  EXPECT_EQ(nullptr, c->next->next);
  ASSERT_EQ(3, p->header->deviceFontCount);
  EXPECT_STREQ("Letter Gothic", p->header->deviceFonts[1]->name);
  EXPECT_EQ(-3, p->header->deviceFonts[2]->id);
  ASSERT_EQ(1, p->header->cartridgeCount);
  EXPECT_STREQ("Replaced", p->header->cartridges[0]->name);
}

TEST(ModelParser, UnknownKeywordsClearTheMemo) {
  Parsed p("*FileVersion: 1\n*Mystery: 2\n");
  ASSERT_NE(nullptr, p.state);
  EXPECT_EQ(0, p->keywordMemo);
  Parsed q("*Mystery: 2\n*FileVersion: 1\n");
  EXPECT_EQ(1, q->keywordMemo);
}

// An item block that the file leaves open is closed at the end: its default becomes an index.
TEST(ModelParser, BlockLeftOpenIsClosedAtTheEnd) {
  Parsed p(model_test::Fixture("openui_left_open.zmd"));
  ASSERT_NE(nullptr, p.state);
  EXPECT_EQ(nullptr, p->openName);
  const ModelItemDescriptor* d = FindItem(p.state, kItem_dmOrientation);
  ASSERT_NE(nullptr, d);
  EXPECT_EQ(1, d->defaultValue);
  EXPECT_EQ(Value("DMORIENTATION_LANDSCAPE"), ModelImageGetItemDefault(p->header, kItem_dmOrientation));
}

// A CloseUI written with trailing blanks closes its block, so the items after it are read.
TEST(ModelParser, CloseUiWithTrailingBlanksClosesTheBlock) {
  Parsed p(model_test::Fixture("closeui_trailing_blank.zmd"));
  ASSERT_NE(nullptr, p.state);
  const ModelItemDescriptor* orientation = FindItem(p.state, kItem_dmOrientation);
  ASSERT_NE(nullptr, orientation);
  EXPECT_EQ(1, orientation->defaultValue);
  const ModelItemDescriptor* paper = FindItem(p.state, kItem_dmPaperSize);
  ASSERT_NE(nullptr, paper) << "the item after the CloseUI is read";
  EXPECT_EQ(2u, ValueIds(paper).size());
}

// The last statement of a file without a final line end is kept.
TEST(ModelParser, LastStatementWithoutLineEndIsKept) {
  std::string text = model_test::Fixture("no_final_line_end.zmd");
  ASSERT_FALSE(text.empty());
  ASSERT_NE('\n', text.back());
  Parsed p(text);
  ASSERT_NE(nullptr, p.state);
  ASSERT_NE(nullptr, p->header->jobStart);
  EXPECT_EQ("S1", Describe(p->header->jobStart->thenList));
}

TEST(ModelParser, RuleNamesBelongToOneParse) {
  const char* defines = "*Judge 5=ColorOn: TOV_dmColor == 2\n*Judge 6=ColorOn: TOV_dmColor == 1\n";
  const char* uses = "*CommandGroup: JobStart { Command : ColorOn { Type : StringType 1 } }\n";
  Parsed both((std::string(defines) + uses).c_str());
  ASSERT_NE(nullptr, both->header->jobStart);
  EXPECT_EQ("C5(S1|)", Describe(both->header->jobStart->thenList)) << "the first registration wins";
  EXPECT_EQ(5, ModelFindRuleName(both.state, kModelRuleJudge, "ColorOn", 7));
  EXPECT_EQ(0, ModelFindRuleName(both.state, kModelRuleAction, "ColorOn", 7));

  Parsed later(uses);
  EXPECT_EQ("C?(S1|)", Describe(later->header->jobStart->thenList)) << "names of an earlier parse are gone";

  // Parses on several threads each see only their own names.
  std::string results[4];
  std::thread threads[4];
  for (int t = 0; t < 4; ++t) {
    threads[t] = std::thread([t, &results, uses] {
      std::string text = "*Judge " + std::to_string(t + 1) + "=ColorOn: TOV_dmColor\n" + uses;
      for (int round = 0; round < 50; ++round) {
        Parsed p(text);
        results[t] = p.state && p->header->jobStart ? Describe(p->header->jobStart->thenList) : "none";
        if (results[t] != "C" + std::to_string(t + 1) + "(S1|)") break;
      }
    });
  }
  for (std::thread& th : threads) th.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ("C" + std::to_string(t + 1) + "(S1|)", results[t]) << "thread " << t;
}

TEST(ModelParser, RuleReferences) {
  Parsed p("*Judge 3=Named: 1\n*Judge 4=Item5: 1\n");
  struct Case {
    const char* token;
    int kind;
    WORD expected;
  } cases[] = {
      {"Judge12", kModelRuleJudge, 12},  {"Judge1x2", kModelRuleJudge, 12}, {"Named", kModelRuleJudge, 3},
      {"Item5", kModelRuleJudge, 0},     {"Action2", kModelRuleJudge, 0},   {"NULL", kModelRuleJudge, 0},
      {"AlertAction7", kModelRuleAlertAction, 7}, {"Alert7", kModelRuleAlertAction, 0},
      {"Unknown", kModelRuleJudge, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, ModelResolveRuleReference(p.state, c.kind, c.token, static_cast<DWORD>(strlen(c.token))))
        << c.token;
  }
}

TEST(ModelParser, RuleNumbers) {
  struct Case {
    const char* word;
    LONG expected;
  } cases[] = {{"12", 12}, {"12=Name", 12}, {"1a2", 12}, {"-5", -5}, {"5-", -5}, {"=7", 0}, {"", 0}};
  for (const Case& c : cases) EXPECT_EQ(c.expected, ModelParseNumber(c.word)) << c.word;
}

// What the index answers is what walking the lists gives: every registration in order and
// the first name found, every geometry record in file order, every variant after its base.
TEST(ModelParser, LongInputsKeepTheirOrder) {
  const int n = 3000;
  Parsed judges(model_shapes::Generate(model_shapes::kNamedJudges, n) + "*Judge 9999=J7: TOV_dmColor == 1\n");
  ASSERT_NE(nullptr, judges.state);
  LONG expected = 1;
  for (const ModelRuleName* r = judges->ruleNames[kModelRuleJudge]; r; r = r->next) {
    if (expected <= n) {
      ASSERT_EQ(expected, r->number);
    }
    ++expected;
  }
  EXPECT_EQ(n + 2, expected) << "every registration is in the list, the repeated name too";
  for (LONG i : {1, 7, 1500, 3000}) {
    std::string name = "J" + std::to_string(i);
    EXPECT_EQ(i, ModelFindRuleName(judges.state, kModelRuleJudge, name.c_str(), static_cast<DWORD>(name.size())));
  }
  EXPECT_EQ(0, ModelFindRuleName(judges.state, kModelRuleJudge, "J3001", 5));

  Parsed pages(model_shapes::Generate(model_shapes::kPageValues, n));
  ASSERT_NE(nullptr, pages.state);
  const ModelItemDescriptor* paper = FindItem(pages.state, kItem_dmPaperSize);
  ASSERT_NE(nullptr, paper);
  const PageValueRecord* a4 = static_cast<const PageValueRecord*>(paper->values);
  ASSERT_NE(nullptr, a4);
  int count = 0;
  for (const PaperGeometryRecord* g = a4->geometry; g; g = g->next, ++count) {
    ASSERT_EQ(100 + count, g->resolution);
  }
  EXPECT_EQ(n, count);

  Parsed variants(model_shapes::Generate(model_shapes::kItemVariants, n));
  ASSERT_NE(nullptr, variants.state);
  const ModelItemDescriptor* base = FindItem(variants.state, kItem_dmPaperSize);
  ASSERT_NE(nullptr, base);
  int seen = 0;
  for (const ModelItemDescriptor* d = variants->header->descriptors; d; d = d->next, ++seen) {
    ASSERT_EQ(seen, d->variant);
    ASSERT_EQ(base->values, d->values) << "variants share the base's values";
    ASSERT_EQ(0, d->defaultValue) << "A4, the base's default, is at index 0";
  }
  EXPECT_EQ(n / 2 + 1, seen);
}

// Names resolve to the row the static tables' own lookups give.
TEST(ModelParser, NameLookupsAgreeWithTheTables) {
  for (int i = 0, n = TblSymbolCount(); i < n; ++i) {
    const SymbolEntry* row = TblSymbolAt(i);
    if (!row->name || !row->name[0]) continue;
    ModelSpan span = {row->name, static_cast<DWORD>(strlen(row->name))};
    ASSERT_EQ(TblFindSymbolByName(row->name), ModelFindSymbol(span)) << row->name;
  }
  for (int i = 0, n = TblValueSymbolCount(0); i < n; ++i) {
    const ValueSymbol* row = TblValueSymbolAt(0, i);
    ModelSpan span = {row->name, static_cast<DWORD>(strlen(row->name))};
    ASSERT_EQ(TblFindValueSymbolByName(row->name), ModelFindValueSymbol(span)) << row->name;
  }
  const char* unknown[] = {"TOV_", "TOV_dmPaperSizeX", "DMPAPERSIZE_", "ZZZ"};
  for (const char* name : unknown) {
    ModelSpan span = {name, static_cast<DWORD>(strlen(name))};
    EXPECT_EQ(nullptr, ModelFindSymbol(span)) << name;
    EXPECT_EQ(nullptr, ModelFindValueSymbol(span)) << name;
  }
}

}  // namespace
