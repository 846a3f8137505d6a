// The model record of this build and its variant table.
#include "core/tables/model_record.h"

#include "core/common/text.h"

namespace {

const ModelVariant g_variantRows[] = {
    {TEXT("ORVEL ALTEN KV310 ZEMS"), 0, 0, 0},
};
const ModelVariantTable g_variants = {sizeof(g_variantRows) / sizeof(g_variantRows[0]), g_variantRows};

constexpr DWORD Tag(char a, char b, char c, char d) {
  return DWORD(BYTE(a)) | DWORD(BYTE(b)) << 8 | DWORD(BYTE(c)) << 16 | DWORD(BYTE(d)) << 24;
}

const ModelRecord g_modelRecord = {
    0x401,                   // specVersion
    0x400,                   // driverVersion
    TEXT("OV1BD170.ini"),    // settingsIniName
    TEXT("OV1BC123.DLL"),    // spoolDllName
    0x7F03,                  // defaultFields
    999,                     // maxCopies
    1,
    4,
    90,                      // landscapeAngle
    600,                     // baseResolution
    0,
    // orientation, paper, length, width, scale, copies, source, quality, color, duplex,
    // y resolution, TrueType option, collate
    1, 9, 0, 0, 100, 1, 7, 600, 1, 1, 600, 3, 0,
    0,
    TEXT("A4"),              // defFormName
    1, 1, 1, 1,              // ICM method, ICM intent, media type, dither type
    {1, 1000, 1, 999},
    Tag('p', 'r', 'i', 'v'), // privateTag
    0,
    322,                     // layoutVersion
    148,                     // modelCode
    0,                       // modelSubCode
    {600, 600},
    {0, 0, 0, 9, 0, 0},
    16,                      // versionWord
    32,
    TEXT("01.00"),           // versionText1
    TEXT("01.00"),           // versionText2
    TEXT("JP"),              // fallbackDriverName
    nullptr,
    TEXT("OV1BD172.ini"),    // modelDataFile
    TEXT("OV00C140.dll"),    // companionDll1
    TEXT("zemsexc.DLL"),     // companionDll2
    0,
    TEXT("KV310dat.dll"),    // modelDataDll
    nullptr,
    TEXT("6.63"),            // modelVersion
    322,                     // layoutVersion2
    4250, 10204, 6614, 42518,  // custom width min/max, length min/max
    TEXT("OVINST.INI"),      // modelDbIniName
    &g_variants,
};

const ModelVariantTable* VariantsOf(const ModelRecord* record) {
  if (!record) record = &g_modelRecord;
  return record->variants;
}

}  // namespace

const ModelRecord* TblGetModelRecord() { return &g_modelRecord; }

DWORD ModelVariantCount(const ModelRecord* record) {
  const ModelVariantTable* table = VariantsOf(record);
  return table ? table->count : 0;
}

const ModelVariant* ModelVariantAt(const ModelRecord* record, DWORD index) {
  const ModelVariantTable* table = VariantsOf(record);
  if (!table || !table->rows || index >= table->count) return nullptr;
  return &table->rows[index];
}

const ModelVariant* ModelFindVariant(const ModelRecord* record, const WCHAR* name) {
  if (!name) return nullptr;
  for (DWORD i = 0; i < ModelVariantCount(record); ++i) {
    const ModelVariant* row = ModelVariantAt(record, i);
    if (StrWideEqual(row->driverName, name)) return row;
  }
  return nullptr;
}

