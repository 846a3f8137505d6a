// The dialog tables: page records, control rows, control symbols and their items, control types,
// extensions and item-picture sizes.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "core/front/control_lookup.h"
#include "core/front/control_types.h"
#include "core/front/page_lookup.h"
#include "core/items/item_table.h"
#include "core/tables/symbol_table.h"

namespace {

const DlgPageRecord* Page(WORD id) {
  const DlgPageTable* table = TblGetPageTable();
  for (SHORT i = 0; i < table->count; ++i)
    if (table->rows[i].dialogId == id) return &table->rows[i];
  return nullptr;
}

// A context whose page table is the static one (the lookups read only the table).
DriverContext StaticContext() {
  DriverContext ctx{};
  ctx.pages = const_cast<DlgPageTable*>(TblGetPageTable());
  return ctx;
}

TEST(DialogTables, PagesAndTheirControlCounts) {
  const DlgPageTable* table = TblGetPageTable();
  ASSERT_EQ(79, table->count);
  // dialog id, kind, help id, control count
  struct Expected {
    WORD id, kind;
    DWORD help;
    WORD controls;
  };
  const Expected expected[] = {
      {1001, 0x01, 20101, 42}, {1002, 0x11, 22001, 54}, {1003, 0x11, 22301, 45}, {1004, 0x11, 22701, 30},
      {1005, 0x11, 22801, 20}, {1006, 0x01, 21401, 39}, {1010, 0x05, 20301, 49}, {1011, 0x06, 21001, 27},
      {1009, 0x02, 23201, 10}, {1008, 0x02, 23301, 5},  {1015, 0x06, 20801, 23}, {1007, 0x04, 20201, 14},
      {1012, 0x04, 20401, 8},  {1013, 0x04, 20501, 6},  {1014, 0x04, 20601, 11}, {1016, 0x04, 20701, 14},
      {1017, 0x04, 20901, 40}, {1018, 0x04, 21101, 13}, {1019, 0x04, 21201, 27}, {1020, 0x04, 0, 3},
      {1021, 0x20, 21601, 36}, {1038, 0x20, 23601, 25}, {4004, 0x04, 21402, 13}, {1029, 0x20, 21801, 15},
      {1022, 0x04, 22401, 33}, {1023, 0x04, 22501, 20}, {1024, 0x04, 22601, 68}, {1030, 0x04, 22101, 23},
      {1031, 0x04, 22201, 21}, {1034, 0x04, 23001, 10}, {1041, 0x04, 23901, 37}, {1035, 0x04, 23101, 13},
      {1036, 0x04, 0, 4},      {1037, 0x04, 23501, 12}, {1039, 0x04, 0, 5},      {1040, 0x04, 23701, 10},
      {1042, 0x04, 0, 26},     {1043, 0x04, 0, 24},     {1044, 0x04, 0, 37},     {4014, 0x04, 0, 22},
      {4015, 0x8000, 0, 10},   {4016, 0x04, 0, 26},     {4017, 0x04, 0, 45},     {4018, 0x04, 0, 10},
      {4019, 0x04, 0, 12},     {4020, 0x04, 0, 5},      {4021, 0x04, 0, 5},      {4022, 0x04, 0, 12},
      {4023, 0x04, 0, 11},     {4024, 0x04, 0, 18},     {4025, 0x04, 0, 18},     {4026, 0x04, 0, 11},
      {4027, 0x04, 0, 3},      {4028, 0x04, 0, 21},     {4029, 0x04, 0, 3},      {4030, 0x04, 0, 35},
      {4031, 0x04, 0, 21},     {4032, 0x04, 0, 3},      {4033, 0x04, 0, 2},      {4034, 0x04, 0, 21},
      {1065, 0x04, 0, 3},      {1032, 0x04, 21301, 7},  {1033, 0x04, 21901, 8},  {1025, 0x04, 0, 13},
      {1026, 0x04, 0, 3},      {1027, 0x04, 0, 6},      {1028, 0x04, 0, 5},      {4005, 0x04, 0, 5},
      {4006, 0x04, 0, 1},      {4001, 0x100, 0, 12},    {4002, 0x200, 0, 15},    {4003, 0x400, 0, 12},
      {4007, 0x800, 0, 13},    {4008, 0x1000, 0, 12},   {4009, 0x2000, 0, 12},   {4010, 0x04, 0, 17},
      {4011, 0x04, 0, 8},      {4012, 0x04, 0, 8},      {4013, 0x04, 20302, 11},
  };
  ASSERT_EQ(79u, sizeof(expected) / sizeof(expected[0]));
  int total = 0;
  for (int i = 0; i < 79; ++i) {
    const DlgPageRecord& page = table->rows[i];
    SCOPED_TRACE(page.dialogId);
    EXPECT_EQ(expected[i].id, page.dialogId) << "table order";
    EXPECT_EQ(284 + i, page.symbolId);
    EXPECT_EQ(expected[i].kind, page.kind);
    EXPECT_EQ(expected[i].help, page.helpId);
    EXPECT_EQ(expected[i].controls, page.controlCount);
    ASSERT_NE(nullptr, page.controls);
    total += page.controlCount;
  }
  EXPECT_EQ(1397, total);
}

TEST(DialogTables, TypeHistogramOfTheRows) {
  std::map<WORD, int> histogram;
  const DlgPageTable* table = TblGetPageTable();
  for (SHORT i = 0; i < table->count; ++i)
    for (WORD c = 0; c < table->rows[i].controlCount; ++c) ++histogram[table->rows[i].controls[c].type];
  const std::map<WORD, int> expected = {{1, 361}, {2, 125}, {4, 39},  {21, 308}, {22, 141}, {23, 21}, {41, 94},
                                        {42, 6},  {43, 6},   {47, 27}, {48, 101}, {49, 1},   {50, 2},  {61, 99},
                                        {63, 41}, {81, 5},   {82, 8},  {84, 10},  {105, 2}};
  EXPECT_EQ(expected, histogram);
  for (const auto& entry : histogram) EXPECT_NE(nullptr, CtlFindType(entry.first)) << "type " << entry.first;
}

// Types whose control chooses or edits a value: such a control shows an item.
bool IsChoosingType(WORD type) {
  return type == 22 || type == 23 || (type >= 41 && type <= 50) || type == 61 || type == 63 ||
         (type >= 81 && type <= 85);
}

// Controls of the sheet pages that show no single item on purpose: lists of presets, options
// and fonts, whose entries are items or table rows of their own, the per-tray settings of the
// option page (they follow the tray chosen in its tree), and settings the item catalogue has no
// item for.
const std::set<std::string> kWithoutItem = {
    "TOV_IDC_PRESET_ICONLIST",        "TOV_IDC_OPTION_CHOICE_OPTION",      "TOV_IDC_OPTION_CHOICE_PAPERSIZE",
    "TOV_IDC_OPTION_CHOICE_PAPERMEDIA", "TOV_RADIOLIST_5",                 "TOV_IDC_OPTION_CHOICE_TRAYLOCK",
    "TOV_IDC_TTF_SELECT_TTF",         "TOV_IDC_TTF_CHOICE_TTF",            "TOV_IDC_TTF_CHOICE_DEVICEFONT",
    "TOV_IDC_EDIT_CHOICE_REPEAT",     "TOV_IDC_OTHERS_CHOICE_INDEX",       "TOV_RADIOLIST_32",
    "TOV_IDC_PRINTQUALITY_CHOICE_INKSAVE_MODE",
};

TEST(DialogTables, EveryRowHasItsSymbolAndSheetChoicesNameAnItem) {
  const WORD sheetPages[] = {1001, 1002, 1003, 1004, 1005, 1006, 1010, 1011, 1009, 1008, 1015};
  const DlgPageTable* table = TblGetPageTable();
  for (SHORT i = 0; i < table->count; ++i) {
    const DlgPageRecord& page = table->rows[i];
    bool sheet = false;
    for (WORD id : sheetPages) sheet = sheet || id == page.dialogId;
    for (WORD c = 0; c < page.controlCount; ++c) {
      const DlgControlRecord& control = page.controls[c];
      SCOPED_TRACE(std::to_string(page.dialogId) + "/" + std::to_string(control.controlId));
      const SymbolEntry* symbol = TblFindSymbol(control.symbolId);
      ASSERT_NE(nullptr, symbol);
      EXPECT_GE(control.symbolId, 6000);
      EXPECT_LT(control.symbolId, 8000);
      EXPECT_EQ(symbol->itemId, CtlSymbolItem(control.symbolId));
      if (symbol->itemId != 0) {
        EXPECT_NE(nullptr, TblItemTemplateRow(symbol->itemId)) << symbol->name;
      }
      if (sheet && IsChoosingType(control.type)) {
        EXPECT_TRUE(symbol->itemId != 0 || kWithoutItem.count(symbol->name)) << symbol->name << " names no item";
      }
      if (!IsChoosingType(control.type) && control.type != 21) {
        EXPECT_EQ(0, symbol->itemId) << symbol->name << ": a label shows no item";
      }
    }
  }
  for (const std::string& name : kWithoutItem) {
    const SymbolEntry* symbol = TblFindSymbolByName(name.c_str());
    ASSERT_NE(nullptr, symbol) << name;
    EXPECT_EQ(0, symbol->itemId) << name << " stands in the list but names an item";
  }
}

TEST(DialogTables, RadioGroupsShareOneSymbol) {
  const DlgPageRecord* quality = Page(1006);
  ASSERT_NE(nullptr, quality);
  WORD group = 0;
  int buttons = 0;
  for (WORD c = 0; c < quality->controlCount; ++c) {
    const DlgControlRecord& control = quality->controls[c];
    if (std::string(TblFindSymbol(control.symbolId)->name) != "TOV_RADIOLIST_3") continue;
    if (group == 0) group = control.symbolId;
    EXPECT_EQ(group, control.symbolId);
    ++buttons;
  }
  EXPECT_EQ(8, buttons);
  EXPECT_EQ(177, CtlSymbolItem(group)) << "the print-macro buttons show zdmPrintMacro";
}

TEST(DialogTables, ControlsOnSeveralPagesAreFoundOnTheFirst) {
  DriverContext ctx = StaticContext();
  struct Case {
    WORD control, firstPage;
  };
  const Case cases[] = {{2007, 1001}, {2039, 1002}, {2384, 1009}, {2385, 1009}, {1, 1010}};
  for (const Case& c : cases) {
    DlgControlRecord* found = CtlFind(&ctx, nullptr, c.control);
    ASSERT_NE(nullptr, found) << c.control;
    EXPECT_EQ(found, CtlFind(&ctx, PageFind(&ctx, c.firstPage), c.control)) << c.control;
  }
  // 2039 stands on eleven pages, 2384 also on 4004.
  int pages = 0;
  for (SHORT i = 0; i < ctx.pages->count; ++i)
    if (CtlFind(&ctx, &ctx.pages->rows[i], 2039)) ++pages;
  EXPECT_EQ(11, pages);
  EXPECT_NE(nullptr, CtlFind(&ctx, PageFind(&ctx, 4004), 2384));
}

TEST(DialogTables, AnItemSymbolFindsTheControlThatShowsTheItem) {
  DriverContext ctx = StaticContext();
  const SymbolEntry* dmColor = TblFindSymbolByName("TOV_dmColor");
  ASSERT_NE(nullptr, dmColor);
  DlgControlRecord* first = CtlFindBySymbol(&ctx, nullptr, dmColor->symbolId);
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(2013, first->controlId) << "the colour choice of the first page";
  DlgControlRecord* onBasic = CtlFindBySymbol(&ctx, PageFind(&ctx, 1002), dmColor->symbolId);
  ASSERT_NE(nullptr, onBasic);
  EXPECT_EQ(2044, onBasic->controlId);
  EXPECT_EQ(nullptr, CtlFindBySymbol(&ctx, PageFind(&ctx, 1008), dmColor->symbolId));
  // A control's own symbol finds it as well.
  EXPECT_EQ(onBasic, CtlFindBySymbol(&ctx, PageFind(&ctx, 1002), onBasic->symbolId));
}

TEST(DialogTables, ExtensionsAnswerOnlyTheirKind) {
  DriverContext ctx = StaticContext();
  DlgControlRecord* ramp = CtlFind(&ctx, PageFind(&ctx, 1038), 2273);
  ASSERT_NE(nullptr, ramp);
  const CtlExtRecord* ext = CtlGetExtension(ramp, kCtlExtColourRamp);
  ASSERT_NE(nullptr, ext);
  EXPECT_EQ(kRampPictureRed, reinterpret_cast<const CtlExtRamp*>(ext)->picture);
  EXPECT_EQ(nullptr, CtlGetExtension(ramp, kCtlExtStepButton)) << "another kind gives null";
  DlgControlRecord* up = CtlFind(&ctx, PageFind(&ctx, 1038), 2503);
  const CtlExtSteps* steps = reinterpret_cast<const CtlExtSteps*>(CtlGetExtension(up, kCtlExtStepButton));
  ASSERT_NE(nullptr, steps);
  EXPECT_EQ(3, steps->count);
  EXPECT_EQ(nullptr, CtlGetExtension(CtlFind(&ctx, nullptr, 2001), kCtlExtColourRamp)) << "no extension";
  EXPECT_EQ(nullptr, CtlGetExtension(nullptr, kCtlExtColourRamp));
}

TEST(DialogTables, TypeTableOrderAndUnknownTypes) {
  const WORD order[] = {1,  2,  3,  4,  5,  6,  21, 24, 22, 41, 42, 43, 44,  45,  46,  47,  48,
                        49, 50, 61, 62, 63, 23, 64, 65, 81, 82, 83, 84, 85, 101, 102, 104, 105};
  ASSERT_EQ(34, CtlTypeCount());
  for (int i = 0; i < 34; ++i) EXPECT_EQ(order[i], CtlTypeAt(i)->type);
  EXPECT_EQ(nullptr, CtlFindType(7));
  EXPECT_EQ(nullptr, CtlFindType(0));
  EXPECT_EQ(nullptr, CtlTypeAt(34));
}

TEST(DialogTables, ItemPictureSizes) {
  struct Case {
    WORD control;
    UINT width, height;
  };
  const Case cases[] = {{2001, 108, 107}, {2139, 108, 107}, {2085, 77, 78}, {2467, 91, 51},
                        {2134, 42, 42},   {2100, 16, 16},   {2384, 16, 16}, {2009, 16, 14}};
  for (const Case& c : cases) {
    UINT width = 1, height = 2;
    EXPECT_TRUE(DlgApplyMeasureEntry(c.control, &width, &height)) << c.control;
    EXPECT_EQ(c.width, width) << c.control;
    EXPECT_EQ(c.height, height) << c.control;
  }
  // Every owner-drawn list, combo and icon list of the rows has a size.
  const DlgPageTable* table = TblGetPageTable();
  for (SHORT i = 0; i < table->count; ++i)
    for (WORD c = 0; c < table->rows[i].controlCount; ++c) {
      const DlgControlRecord& control = table->rows[i].controls[c];
      if (control.type >= 47 && control.type <= 50) {
        const CtlImageSize* row = DlgFindMeasureEntry(control.controlId);
        ASSERT_NE(nullptr, row) << control.controlId;
        EXPECT_GT(row->width, 0) << control.controlId;
      }
    }
  // Without a row the measure stays as the system filled it.
  UINT width = 33, height = 44;
  EXPECT_FALSE(DlgApplyMeasureEntry(2026, &width, &height));
  EXPECT_EQ(33u, width);
  EXPECT_EQ(44u, height);
}

TEST(DialogTables, ContextsCopyTheRows) {
  DriverContext ctx = StaticContext();
  DlgControlRecord* color = CtlFind(&ctx, PageFind(&ctx, 1002), 2044);
  ASSERT_NE(nullptr, color);
  EXPECT_EQ(48, color->type);
  EXPECT_EQ(0, color->aliasId);
  EXPECT_EQ(nullptr, color->window);
  // Spin buttons name their edit as partner.
  DlgControlRecord* spin = CtlFind(&ctx, PageFind(&ctx, 1002), 2060);
  ASSERT_NE(nullptr, spin);
  EXPECT_EQ(2059, spin->partner);
}

}  // namespace

namespace {

TEST(DialogTables, LengthEditsAndTheirSpinsCarryTheLengthFlag) {
  const DlgPageTable* table = TblGetPageTable();
  int flagged = 0;
  for (SHORT p = 0; p < table->count; ++p) {
    const DlgPageRecord& page = table->rows[p];
    for (WORD c = 0; c < page.controlCount; ++c) {
      const DlgControlRecord& control = page.controls[c];
      if (!(control.flags & 0x80000000u)) continue;
      ++flagged;
      EXPECT_TRUE(page.dialogId == 1003 || page.dialogId == 1017 || page.dialogId == 1024 || page.dialogId == 1041)
          << page.dialogId << " " << control.controlId;
      EXPECT_TRUE(control.type == 63 || control.type == 23 || control.type == 81) << control.controlId;
    }
  }
  EXPECT_EQ(flagged, 38);
  struct Row {
    WORD page, control;
    bool length;
  } rows[] = {{1041, 2682, true}, {1041, 2685, true}, {1017, 2392, true}, {1003, 2470, true},
              {1024, 3188, true}, {1024, 2649, false}, {1002, 2059, false}};
  for (const Row& r : rows) {
    const DlgPageRecord* page = nullptr;
    for (SHORT p = 0; p < table->count; ++p)
      if (table->rows[p].dialogId == r.page) page = &table->rows[p];
    ASSERT_NE(page, nullptr);
    bool found = false;
    for (WORD c = 0; c < page->controlCount; ++c)
      if (page->controls[c].controlId == r.control) {
        found = true;
        EXPECT_EQ((page->controls[c].flags & 0x80000000u) != 0, r.length) << r.page << " " << r.control;
      }
    EXPECT_TRUE(found) << r.control;
  }
}

}  // namespace
