// The model record: per-build constants that the model description does not carry (defaults of
// the public DEVMODE, companion file names, versions, custom-size limits, the variant table).
// Each driver context holds a private copy; the static record is read through the template.
#pragma once
#include <stddef.h>

#include "platform/win32.h"

struct DriverContext;

// One driver variant of this build: the printer's driver name selects its capability mask.
struct ModelVariant {
  const WCHAR* driverName;
  DWORD reserved1;
  DWORD reserved2;
  DWORD capabilityMask;
};

struct ModelVariantTable {
  DWORD count;
  const ModelVariant* rows;
};

// 204 bytes; fields without a reader in the settings engine are carried as they are.
struct ModelRecord {
  WORD specVersion;            // dmSpecVersion of the driver's DEVMODE
  WORD driverVersion;          // dmDriverVersion
  const WCHAR* settingsIniName;
  const WCHAR* spoolDllName;
  DWORD defaultFields;         // dmFields of a default DEVMODE
  WORD maxCopies;
  WORD unknown7;
  DWORD unknown8;
  DWORD landscapeAngle;
  DWORD baseResolution;
  DWORD unknown11;
  // Defaults of the public DEVMODE fields.
  WORD defOrientation;
  WORD defPaperSize;
  WORD defPaperLength;
  WORD defPaperWidth;
  WORD defScale;
  WORD defCopies;
  WORD defDefaultSource;
  WORD defPrintQuality;
  WORD defColor;
  WORD defDuplex;
  WORD defYResolution;
  WORD defTTOption;
  WORD defCollate;
  WORD unknown25;
  const WCHAR* defFormName;
  DWORD defICMMethod;
  DWORD defICMIntent;
  DWORD defMediaType;
  DWORD defDitherType;
  DWORD unknown31[4];
  DWORD privateTag;            // 'p','r','i','v' in memory order
  DWORD unknown36;
  DWORD layoutVersion;         // private DEVMODE layout, major * 100 + minor
  BYTE modelCode;              // written into zdmMachineID, compared by the identity tests
  BYTE modelSubCode;
  WORD repairFallbackWords[2];
  BYTE repairFallbackBytes[6];
  DWORD versionWord;           // fallback of item 233 in the repair sweep
  DWORD unknown49;
  const WCHAR* versionText1;   // the two version strings of the private DEVMODE
  const WCHAR* versionText2;
  const WCHAR* fallbackDriverName;  // used when no driver name can be read
  const void* unknown53;
  const WCHAR* modelDataFile;
  const WCHAR* companionDll1;
  const WCHAR* companionDll2;  // the exclusion DLL
  DWORD unknown57;
  const WCHAR* modelDataDll;
  const void* unknown59;
  const WCHAR* modelVersion;   // must equal the model description's FileVersion
  WORD layoutVersion2;
  DWORD customWidthMin;        // custom-size limits in 1/1200 inch
  DWORD customWidthMax;
  DWORD customLengthMin;
  DWORD customLengthMax;
  const WCHAR* modelDbIniName;
  const ModelVariantTable* variants;
};

static_assert(sizeof(ModelRecord) == 204, "ModelRecord is 204 bytes");
static_assert(offsetof(ModelRecord, settingsIniName) == 4 && offsetof(ModelRecord, defaultFields) == 12,
              "model record head");
static_assert(offsetof(ModelRecord, defOrientation) == 36 && offsetof(ModelRecord, defCollate) == 60,
              "public defaults");
static_assert(offsetof(ModelRecord, defFormName) == 64 && offsetof(ModelRecord, privateTag) == 100,
              "form name and private tag");
static_assert(offsetof(ModelRecord, layoutVersion) == 108 && offsetof(ModelRecord, modelCode) == 112,
              "layout version and model code");
static_assert(offsetof(ModelRecord, versionWord) == 124 && offsetof(ModelRecord, versionText1) == 132,
              "version word and texts");
static_assert(offsetof(ModelRecord, modelVersion) == 172 && offsetof(ModelRecord, layoutVersion2) == 176,
              "model version");
static_assert(offsetof(ModelRecord, customWidthMin) == 180 && offsetof(ModelRecord, modelDbIniName) == 196 &&
                  offsetof(ModelRecord, variants) == 200,
              "custom-size limits and variant table");

// The static model record of this build (the context template's).
const ModelRecord* TblGetModelRecord();

// The variant table of a model record (the template's when record is null).
DWORD ModelVariantCount(const ModelRecord* record);
// The index-th variant, null past the end.
const ModelVariant* ModelVariantAt(const ModelRecord* record, DWORD index);
// The variant whose driver name equals name (case-sensitive), null when none or name is null.
const ModelVariant* ModelFindVariant(const ModelRecord* record, const WCHAR* name);

// The landscape angle of the context's model record (the template's without one).
DWORD ModelGetLandscapeAngle(const DriverContext* ctx);

// 1 when the context's variant capability mask meets mask, else 0 (also without a context).
int CtxHasModelCap(const DriverContext* ctx, DWORD mask);

