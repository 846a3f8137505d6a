// The model record carries this build's values; the variant table selects capability masks.
#include <gtest/gtest.h>

#include <string>

#include "core/tables/model_record.h"

namespace {

std::u16string W(const WCHAR* s) { return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : u"(null)"; }

TEST(ModelRecord, NumericFieldsHoldThisBuildsValues) {
  const ModelRecord* r = TblGetModelRecord();
  ASSERT_NE(r, nullptr);
  struct Case {
    const char* field;
    unsigned long actual;
    unsigned long expected;
  } cases[] = {
      {"specVersion", r->specVersion, 0x401},       {"driverVersion", r->driverVersion, 0x400},
      {"defaultFields", r->defaultFields, 0x7F03},  {"maxCopies", r->maxCopies, 999},
      {"landscapeAngle", r->landscapeAngle, 90},    {"baseResolution", r->baseResolution, 600},
      {"defOrientation", r->defOrientation, 1},     {"defPaperSize", r->defPaperSize, 9},
      {"defScale", r->defScale, 100},               {"defCopies", r->defCopies, 1},
      {"defDefaultSource", r->defDefaultSource, 7}, {"defPrintQuality", r->defPrintQuality, 600},
      {"defColor", r->defColor, 1},                 {"defDuplex", r->defDuplex, 1},
      {"defYResolution", r->defYResolution, 600},   {"defTTOption", r->defTTOption, 3},
      {"defCollate", r->defCollate, 0},             {"defICMMethod", r->defICMMethod, 1},
      {"defDitherType", r->defDitherType, 1},       {"layoutVersion", r->layoutVersion, 322},
      {"modelCode", r->modelCode, 148},             {"modelSubCode", r->modelSubCode, 0},
      {"versionWord", r->versionWord, 16},          {"layoutVersion2", r->layoutVersion2, 322},
      {"customWidthMin", r->customWidthMin, 4250},  {"customWidthMax", r->customWidthMax, 10204},
      {"customLengthMin", r->customLengthMin, 6614}, {"customLengthMax", r->customLengthMax, 42518},
      {"repairFallbackBytes[3]", r->repairFallbackBytes[3], 9},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.field;
  // The private tag reads "priv" in memory, as the private DEVMODE header stores it.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r->privateTag), 4), "priv");
}

TEST(ModelRecord, NamesHoldThisBuildsFiles) {
  const ModelRecord* r = TblGetModelRecord();
  struct Case {
    const char* field;
    const WCHAR* actual;
    const char16_t* expected;
  } cases[] = {
      {"settingsIniName", r->settingsIniName, u"OV1BD170.ini"},
      {"spoolDllName", r->spoolDllName, u"OV1BC123.DLL"},
      {"defFormName", r->defFormName, u"A4"},
      {"versionText1", r->versionText1, u"01.00"},
      {"versionText2", r->versionText2, u"01.00"},
      {"fallbackDriverName", r->fallbackDriverName, u"JP"},
      {"modelDataFile", r->modelDataFile, u"OV1BD172.ini"},
      {"companionDll1", r->companionDll1, u"OV00C140.dll"},
      {"companionDll2", r->companionDll2, u"zemsexc.DLL"},
      {"modelDataDll", r->modelDataDll, u"KV310dat.dll"},
      {"modelVersion", r->modelVersion, u"6.63"},
      {"modelDbIniName", r->modelDbIniName, u"OVINST.INI"},
  };
  for (const Case& c : cases) EXPECT_EQ(W(c.actual), c.expected) << c.field;
}

TEST(ModelRecord, VariantTableHasTheModelsOwnDriver) {
  ASSERT_EQ(ModelVariantCount(nullptr), 1u);
  const ModelVariant* v = ModelVariantAt(nullptr, 0);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(W(v->driverName), u"ORVEL ALTEN KV310 ZEMS");
  EXPECT_EQ(v->capabilityMask, 0u);
  EXPECT_EQ(ModelVariantAt(nullptr, 1), nullptr);
  EXPECT_EQ(ModelFindVariant(nullptr, TEXT("ORVEL ALTEN KV310 ZEMS")), v);
  // Driver names compare exactly: another case or a prefix is another driver.
  EXPECT_EQ(ModelFindVariant(nullptr, TEXT("orvel alten kv310 zems")), nullptr);
  EXPECT_EQ(ModelFindVariant(nullptr, TEXT("ORVEL ALTEN KV310")), nullptr);
  EXPECT_EQ(ModelFindVariant(nullptr, nullptr), nullptr);
}

TEST(ModelRecord, VariantLookupsFollowTheRecordGiven) {
  const ModelVariant rows[] = {{TEXT("A"), 0, 0, 0x1}, {TEXT("B"), 0, 0, 0x6}};
  const ModelVariantTable table = {2, rows};
  ModelRecord copy = *TblGetModelRecord();
  copy.variants = &table;
  EXPECT_EQ(ModelVariantCount(&copy), 2u);
  const ModelVariant* b = ModelFindVariant(&copy, TEXT("B"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->capabilityMask, 0x6u);
  copy.variants = nullptr;
  EXPECT_EQ(ModelVariantCount(&copy), 0u);
  EXPECT_EQ(ModelFindVariant(&copy, TEXT("B")), nullptr);
}

}  // namespace
