// The full and basic value checks, their couplings, and check-and-repair on fixture models.
#include <gtest/gtest.h>

#include "core/devmode/item_reset.h"
#include "core/items/item_checks.h"
#include "core/model/model_lookup.h"
#include "item_checks/checks_fixture.h"

namespace zems_test {
namespace {

TEST_F(ChecksTest, FullAndBasicChecksOfListBooleanNumericAndStringItems) {
  SampleModel model(ctx(), Fixture("check_values.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  Mono(true);
  struct Case {
    const char* what;
    WORD id;
    LONG_PTR value;
    int full;   // ItemCheckValueRules
    int basic;  // ItemCheckValueBasic, also ItemIsValueAllowedBasic
    int allowed;
  } cases[] = {
      {"listed value", kItem_zdmMediaType, Stored("ZDMMEDIATYPE_PLAIN"), 1, 1, 1},
      {"disabled value", kItem_zdmMediaType, Stored("ZDMMEDIATYPE_THICK"), 4, 0, 0},
      {"restricted value: the basic check has no restrict judge", kItem_zdmMediaType,
       Stored("ZDMMEDIATYPE_LABELS"), 5, 1, 1},
      {"in the item's own list, not in the model's", kItem_zdmMediaType, Stored("ZDMMEDIATYPE_RECYCLED"), 0, 0, 0},
      {"not in the item's own list", kItem_zdmMediaType, 999, 0, 0, 0},
      {"Boolean 0", kItem_zdmTonerSave, 0, 1, 1, 1},
      {"Boolean 1", kItem_zdmTonerSave, 1, 1, 1, 1},
      {"Boolean 2", kItem_zdmTonerSave, 2, 0, 0, 0},
      {"Numeric at the signed minimum", kItem_zdmBrightness, -50, 1, 1, 1},
      {"Numeric below the minimum", kItem_zdmBrightness, -51, 0, 0, 0},
      {"Numeric at the maximum", kItem_zdmBrightness, 50, 1, 1, 1},
      {"Numeric above the maximum", kItem_zdmBrightness, 51, 0, 0, 0},
      {"String", kItem_zdmUserCode, 12345, 1, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ModelItemDescriptor* desc = ModelGetDescriptor(c.id, ctx());
    ASSERT_NE(nullptr, desc);
    EXPECT_EQ(c.full, ItemCheckValueRules(Item(c.id), c.id, c.value, ctx(), desc));
    EXPECT_EQ(c.basic, ItemCheckValueBasic(Item(c.id), c.id, c.value, ctx()));
    EXPECT_EQ(c.allowed, ItemIsValueAllowed(c.id, c.value, ctx()));
    EXPECT_EQ(c.basic, ItemIsValueAllowedBasic(c.id, c.value, ctx()));
  }
  Mono(false);
  EXPECT_EQ(1, ItemCheckValueRules(Item(kItem_zdmMediaType), kItem_zdmMediaType, Stored("ZDMMEDIATYPE_THICK"), ctx(),
                                   ModelGetDescriptor(kItem_zdmMediaType, ctx())))
      << "the disable judge no longer holds in colour";
}

TEST_F(ChecksTest, WithoutADescriptorListOnlyTheItemsOwnListAccepts) {
  HandList empty(kItem_zdmMediaType, {}, {});
  HandList emptyStaple(kItem_zdmStapleType, {}, {});
  struct Case {
    const char* what;
    WORD id;
    LONG_PTR value;
    const ModelItemDescriptor* desc;
    int full;
  } cases[] = {
      {"own list, no descriptor", kItem_zdmMediaType, Stored("ZDMMEDIATYPE_PLAIN"), nullptr, 1},
      {"own list, descriptor without values", kItem_zdmMediaType, Stored("ZDMMEDIATYPE_PLAIN"), empty.desc(), 1},
      {"own list, value not in it", kItem_zdmMediaType, 999, empty.desc(), 0},
      {"no own list, no descriptor", kItem_zdmStapleType, 65, nullptr, 0},
      {"no own list, descriptor without values", kItem_zdmStapleType, 65, emptyStaple.desc(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.full, ItemCheckValueRules(Item(c.id), c.id, c.value, ctx(), c.desc));
    // The basic check looks its descriptor up: the context has no model description.
    if (!c.desc) {
      EXPECT_EQ(c.full, ItemCheckValueBasic(Item(c.id), c.id, c.value, ctx()));
    }
  }
}

TEST_F(ChecksTest, TypesWithoutARuleOfTheirOwnAcceptEveryValue) {
  HandList fonts(kItem_zdmMediaType, {1}, {});
  ModelItemDescriptor desc = *fonts.desc();
  const WORD types[] = {kModelTypeFontTbl, kModelTypePickOne | kModelTypeBoolean, kModelTypeString};
  for (WORD type : types) {
    desc.type = type;
    EXPECT_EQ(1, ItemCheckValueRules(Item(kItem_zdmMediaType), kItem_zdmMediaType, 999, ctx(), &desc)) << type;
  }
}

TEST_F(ChecksTest, AnItemWithoutASymbolOrADescriptorHasNoRuleAndIsNotRepaired) {
  SampleModel model(ctx(), Fixture("check_values.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  const WORD conditionItem = 737;  // a condition item: no symbol id
  ASSERT_EQ(0, Item(conditionItem)->symbolId);
  EXPECT_EQ(2, ItemIsValueAllowed(conditionItem, 5, ctx()));
  EXPECT_EQ(2, ItemIsValueAllowedBasic(conditionItem, 5, ctx()));
  EXPECT_EQ(2, ItemCheckAndRepair(conditionItem, 5, ctx()));
  EXPECT_EQ(2, ItemCheckAndRepairBasic(conditionItem, 5, ctx()));
  SetRaw(kItem_zdmSortType, 99);  // the fixture does not describe zdmSortType
  EXPECT_EQ(3, ItemIsValueAllowed(kItem_zdmSortType, 99, ctx()));
  EXPECT_EQ(3, ItemCheckAndRepair(kItem_zdmSortType, 99, ctx()));
  EXPECT_EQ(3, ItemCheckAndRepairBasic(kItem_zdmSortType, 99, ctx()));
  EXPECT_EQ(99, Raw(kItem_zdmSortType));
  SetRaw(kItem_zdmShiftDir, 9);  // described as TypeUnknown
  EXPECT_EQ(3, ItemIsValueAllowed(kItem_zdmShiftDir, 9, ctx()));
  EXPECT_EQ(3, ItemCheckAndRepair(kItem_zdmShiftDir, 9, ctx()));
  EXPECT_EQ(9, Raw(kItem_zdmShiftDir));
  EXPECT_EQ(2, ItemIsValueAllowed(0, 1, ctx())) << "no item record";
}

TEST_F(ChecksTest, ARefusedPresetNumberIsKeptWhenItNamesAPresetOrNone) {
  SampleModel model(ctx(), Fixture("check_values.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  // The fixture offers only the first preset, so every other one is refused and repaired.
  struct Case {
    const char* what;
    LONG_PTR value;
    LONG_PTR after;
  } cases[] = {
      {"the offered preset", Stored("ZDMPRESETNO_PRESET1"), 5},
      {"preset 11 (display string 130)", Stored("ZDMPRESETNO_PRESET12"), 5},
      {"none, as stored (-1)", -1, 5},
      {"none (255)", 255, 5},
      {"display string 118 (none)", 118, 5},
      {"300 names no preset", 300, 0},
      {"-5 names no preset", -5, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetRaw(kItem_zdmPresetNo, 5);
    EXPECT_EQ(1, ItemCheckAndRepair(kItem_zdmPresetNo, c.value, ctx()));
    EXPECT_EQ(c.after, Raw(kItem_zdmPresetNo));
  }
}

TEST_F(ChecksTest, TheMergeFlagsDecideHowARefusedValueIsRepaired) {
  SampleModel model(ctx(), Fixture("check_values.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  Mono(true);
  const LONG_PTR plain = Stored("ZDMMEDIATYPE_PLAIN");
  struct Case {
    const char* what;
    LONG_PTR value;
    DWORD flags;
    LONG_PTR after;
  } cases[] = {
      {"disabled: model default", Stored("ZDMMEDIATYPE_THICK"), 0, plain},
      {"disabled, setting-lock merge: kept", Stored("ZDMMEDIATYPE_THICK"), 0x80000, Stored("ZDMMEDIATYPE_THICK")},
      {"disabled, option block applied: model default", Stored("ZDMMEDIATYPE_THICK"), 0x40000000, plain},
      {"not listed, setting-lock merge: model default", Stored("ZDMMEDIATYPE_RECYCLED"), 0x80000, plain},
      {"restricted: accepted", Stored("ZDMMEDIATYPE_LABELS"), 0, Stored("ZDMMEDIATYPE_LABELS")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetRaw(kItem_zdmMediaType, c.value);
    Ui()->mergeFlags = c.flags;
    EXPECT_EQ(1, ItemCheckAndRepair(kItem_zdmMediaType, c.value, ctx()));
    EXPECT_EQ(c.after, Raw(kItem_zdmMediaType));
  }
}

TEST_F(ChecksTest, AfterAnOptionBlockTheScaleIsClampedIntoTheModelsRange) {
  SampleModel model(ctx(), Fixture("check_values.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  struct Case {
    const char* what;
    LONG_PTR value;
    DWORD flags;
    LONG_PTR after;
  } cases[] = {
      {"below the minimum", 10, 0x40000000, 25},
      {"above the maximum", 500, 0x40000000, 400},
      {"below the minimum, no option block: model default", 10, 0, 100},
      {"in range: accepted", 150, 0x40000000, 150},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetRaw(kItem_zdmScaleH, c.value);
    Ui()->mergeFlags = c.flags;
    EXPECT_EQ(1, ItemCheckAndRepair(kItem_zdmScaleH, c.value, ctx()));
    EXPECT_EQ(c.after, Raw(kItem_zdmScaleH));
  }
  // A value refused for another reason inside the range (disabled) goes to the model default.
  SetRaw(kItem_zdmScaleH, 150);
  ItemClampOrReset(kItem_zdmScaleH, ctx(), Item(kItem_zdmScaleH), 150);
  EXPECT_EQ(100, Raw(kItem_zdmScaleH));
}

TEST_F(ChecksTest, TheDuplexTypeIsJudgedOnlyWhileDuplexIsOn) {
  SampleModel model(ctx(), Fixture("check_values.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  Mono(true);  // disables ZDMDUPLEXTYPE_TOP
  const LONG_PTR top = Stored("ZDMDUPLEXTYPE_TOP");
  const ModelItemDescriptor* desc = ModelGetDescriptor(kItem_zdmDuplexType, ctx());
  SetRaw(kItem_zdmFuncSelectDuplex, 0);
  EXPECT_EQ(1, ItemCheckValueRules(Item(kItem_zdmDuplexType), kItem_zdmDuplexType, top, ctx(), desc));
  EXPECT_EQ(1, ItemIsValueAllowed(kItem_zdmDuplexType, top, ctx()));
  SetRaw(kItem_zdmFuncSelectDuplex, 1);
  EXPECT_EQ(4, ItemCheckValueRules(Item(kItem_zdmDuplexType), kItem_zdmDuplexType, top, ctx(), desc));
  EXPECT_EQ(0, ItemIsValueAllowed(kItem_zdmDuplexType, top, ctx()));
}

TEST_F(ChecksTest, CheckingTheNupTypeAlignsThePostKind) {
  SampleModel model(ctx(), Fixture("check_values.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  const ModelItemDescriptor* desc = ModelGetDescriptor(kItem_zdmNUPType, ctx());
  ASSERT_NE(nullptr, desc);
  // Codes: 1 and 2 are 2-up (kind 1; 2 is disabled in monochrome), 33 4-up (2), 65 9-up (3),
  // 97 16-up (4). In landscape the stored code 1 is the rotated 2IN1P2.
  struct Case {
    const char* what;
    LONG_PTR kind;  // zdmNUPPOSTKind before
    LONG_PTR value;
    bool nupOn, mono, landscape;
    LONG_PTR kindAfter, typeAfter;
  } cases[] = {
      {"kind 1, a value of kind 2", 1, 33, true, false, false, 2, 33},
      {"kind 1, its own disabled value", 1, 2, true, true, false, 1, 1},
      {"kind 1, its own enabled value", 1, 2, true, false, false, 1, 2},
      {"kind 2, same kind", 2, 33, true, false, false, 2, 33},
      {"kind 2, a value of kind 3", 2, 65, true, false, false, 3, 65},
      {"kind 3, a 2-up value, portrait", 3, 2, true, false, false, 1, 1},
      {"kind 3, a 2-up value, landscape", 3, 1, true, false, true, 1, 3},
      {"kind 4, same kind", 4, 97, true, false, false, 4, 97},
      {"kind 9, a value of kind 2", 9, 33, true, false, false, 2, 33},
      {"kind 10, a value of kind 3", 10, 65, true, false, false, 3, 65},
      {"kind 10, a 2-up value", 10, 2, true, false, false, 1, 1},
      {"kind 11, a value of kind 4", 11, 97, true, false, false, 4, 97},
      {"kind 11, a 2-up value, landscape", 11, 1, true, false, true, 1, 3},
      {"another kind: nothing changes", 0, 33, true, false, false, 0, 33},
      {"N-up off: nothing changes", 1, 33, false, false, false, 1, 33},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Mono(c.mono);
    Landscape(c.landscape);
    SetRaw(kItem_zdmFuncSelectNup, c.nupOn ? 1 : 0);
    SetRaw(kItem_zdmNUPPOSTKind, c.kind);
    SetRaw(kItem_zdmNUPType, c.value);
    EXPECT_EQ(1, ItemCheckValueRules(Item(kItem_zdmNUPType), kItem_zdmNUPType, c.value, ctx(), desc));
    EXPECT_EQ(c.kindAfter, Raw(kItem_zdmNUPPOSTKind));
    EXPECT_EQ(c.typeAfter, Raw(kItem_zdmNUPType));
  }
}

TEST(NupTypeKind, EachCodeHasItsPostKind) {
  struct Case {
    LONG_PTR code;
    DWORD kind;
  } cases[] = {{1, 1},   {2, 1},   {3, 1},   {33, 2},  {34, 2},  {37, 2},    {38, 2},    {65, 3},
               {66, 3},  {69, 3},  {70, 3},  {97, 4},  {98, 4},  {101, 4},   {102, 4},   {129, 11},
               {130, 11}, {161, 10}, {164, 10}, {32769, 9}, {32771, 9}, {0, 0}, {4, 0}, {131, 0},
               {165, 0}, {32772, 0}, {-1, 0}};
  for (const Case& c : cases) {
    DWORD out = 99;
    EXPECT_EQ(c.kind, ItemNupTypeKind(c.code, &out)) << c.code;
    EXPECT_EQ(c.kind, out) << c.code;
  }
}

TEST_F(ChecksTest, EachFunctionGateDecidesWhetherItsItemsValueIsJudged) {
  // The gated items' descriptors are made by hand: each lists one value whose disable judge is
  // always true (zdmDuplexType's value in both orientations).
  HandList duplex(kItem_zdmDuplexType, {3086, 3088}, {3086, 3088});
  HandList punch(kItem_zdmPunchType, {1}, {1});
  HandList staple(kItem_zdmStapleType, {65}, {65});
  HandList fold(kItem_zdmFoldType, {2}, {2});
  HandList mask(kItem_zdmCopyProtectTileMask, {3}, {3});
  struct Gate {
    WORD item;
    WORD gate;
    const HandList& desc;
    LONG_PTR value;
  } gates[] = {
      {kItem_zdmDuplexType, kItem_zdmFuncSelectDuplex, duplex, 3},
      {kItem_zdmPunchType, kItem_zdmFuncSelectPunch, punch, 1},
      {kItem_zdmStapleType, kItem_zdmFuncSelectStaple, staple, 65},
      {kItem_zdmFoldType, kItem_zdmFuncSelectFold, fold, 2},
      {kItem_zdmCopyProtectTileMask, kItem_zdmCopyProtectFuncSelectMaskPattern, mask, 3},
  };
  auto check = [&](const Gate& g) { return ItemCheckValueRules(Item(g.item), g.item, g.value, ctx(), g.desc.desc()); };
  for (const Gate& g : gates) {
    SCOPED_TRACE(g.item);
    SetRaw(g.gate, 1);
    EXPECT_EQ(1, check(g)) << "the gate has no descriptor";
  }
  SampleModel model(ctx(), Fixture("check_gates.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  struct State {
    const char* what;
    bool on, mono, landscape;
    int result;
  } states[] = {
      {"gate off", false, false, false, 1},
      {"gate on", true, false, false, 4},
      {"gate on but disabled", true, true, false, 1},
      {"gate on but restricted", true, false, true, 1},
  };
  for (const Gate& g : gates) {
    for (const State& s : states) {
      SCOPED_TRACE(testing::Message() << g.item << ": " << s.what);
      SetRaw(g.gate, s.on ? 1 : 0);
      Mono(s.mono);
      Landscape(s.landscape);
      EXPECT_EQ(s.result, check(g));
    }
  }
}

TEST_F(ChecksTest, ColourMatchingCodesAreAcceptedWithoutTheirJudges) {
  for (WORD id : {kItem_zdmColorMatchingMode, kItem_wdmColorMatchingText, kItem_wdmColorMatchingLine,
                  kItem_wdmColorMatchingImage}) {
    HandList list(static_cast<WORD>(id), {5, 199, 200, 215, 216}, {5, 199, 200, 215, 216});
    struct Case {
      LONG_PTR value;
      int result;
    } cases[] = {{199, 4}, {200, 1}, {207, 0}, {215, 1}, {216, 4}, {5, 4}};
    for (const Case& c : cases)
      EXPECT_EQ(c.result, ItemCheckValueRules(Item(id), id, c.value, ctx(), list.desc())) << id << " " << c.value;
  }
}

TEST_F(ChecksTest, TheExclusionDllAcceptsItsTwoApplicationCodes) {
  HandList macros(kItem_zdmUserPrintMacro, {135}, {});
  HandList colorModes(kItem_zdmColorMode, {0, 1}, {});
  struct Case {
    WORD id;
    LONG_PTR value;
    const HandList& list;
    int plain;
    int exclusion;
  } cases[] = {
      {kItem_zdmUserPrintMacro, 160, macros, 0, 1},
      {kItem_zdmUserPrintMacro, 161, macros, 0, 0},
      {kItem_zdmColorMode, 255, colorModes, 0, 1},
      {kItem_zdmColorMode, 254, colorModes, 0, 0},
      {kItem_zdmColorMode, 160, colorModes, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " " << c.value);
    TestVariant().checkAcceptsApiCodes = 0;
    EXPECT_EQ(c.plain, ItemCheckValueRules(Item(c.id), c.id, c.value, ctx(), c.list.desc()));
    TestVariant().checkAcceptsApiCodes = 1;
    EXPECT_EQ(c.exclusion, ItemCheckValueRules(Item(c.id), c.id, c.value, ctx(), c.list.desc()));
  }
}

TEST_F(ChecksTest, WithoutASettingsBlockAChecksAnswersFromTheValueAndWritesNothing) {
  SampleModel model(ctx(), Fixture("check_values.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  BYTE* settings = ctx()->settings;
  std::vector<BYTE> before(settings, settings + kSettingsBlockSize);
  ctx()->settings = nullptr;
  EXPECT_EQ(0, ItemIsValueAllowed(kItem_zdmBrightness, 51, ctx()));
  EXPECT_EQ(1, ItemCheckAndRepair(kItem_zdmBrightness, 51, ctx()));
  EXPECT_EQ(1, ItemCheckAndRepair(kItem_zdmPresetNo, 300, ctx()));
  EXPECT_EQ(1, ItemCheckValueRules(Item(kItem_zdmNUPType), kItem_zdmNUPType, 33, ctx(),
                                   ModelGetDescriptor(kItem_zdmNUPType, ctx())));
  ItemRepairSweep(ctx(), 1);
  DmResetItemToModelDefault(ctx(), Item(kItem_zdmScaleH));
  ctx()->settings = settings;
  EXPECT_EQ(before, std::vector<BYTE>(settings, settings + kSettingsBlockSize));
}

TEST_F(ChecksTest, AnItemIsResetToItsModelDefaultThroughItsValueList) {
  SampleModel model(ctx(), Fixture("check_values.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  struct Case {
    const char* what;
    WORD id;
    LONG_PTR before;
    LONG_PTR after;
  } cases[] = {
      {"list item: the default's stored value", kItem_zdmMediaType, Stored("ZDMMEDIATYPE_THICK"),
       Stored("ZDMMEDIATYPE_PLAIN")},
      {"list item whose stored code differs from its position", kItem_zdmDuplexType, Stored("ZDMDUPLEXTYPE_TOP"),
       Stored("ZDMDUPLEXTYPE_LEFT")},
      {"Numeric item", kItem_zdmScaleH, 7, 100},
      {"Boolean item", kItem_zdmTonerSave, 1, 0},
      {"an item the model does not describe keeps its value", kItem_zdmSortType, 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetRaw(c.id, c.before);
    DmResetItemToModelDefault(ctx(), Item(c.id));
    EXPECT_EQ(c.after, Raw(c.id));
  }
  DmResetItemToModelDefault(ctx(), nullptr);
  DmResetItemToModelDefault(nullptr, Item(kItem_zdmScaleH));
}

TEST_F(ChecksTest, EveryItemsTransactListRunsInTableOrder) {
  SampleModel model(ctx());
  ASSERT_NE(nullptr, model.image());
  SetRaw(kItem_dmPaperSize, Stored("DMPAPERSIZE_ENV10"));
  SetRaw(kItem_zdmStapleType, Stored("ZDMSTAPLETYPE_TOPLEFT"));
  ItemRunAllTransacts(ctx());
  EXPECT_EQ(Stored("ZDMSTAPLETYPE_OFF"), Raw(kItem_zdmStapleType)) << "the paper's Transact turns stapling off";
}

}  // namespace
}  // namespace zems_test
