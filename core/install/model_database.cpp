// The model database "orvdb.ini": the maker's tools find the installed models there. The
// install pass registers the printer's model, the DEVMODE conversion checks it again; and
// after an upgrade every store is saved again in the new driver's form.
#include "core/install/model_database.h"

#include <new>

#include "core/common/ini_access.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/store/free_size_store.h"
#include "core/install/install_ini_defaults.h"
#include "core/store/item_store.h"
#include "core/modules/preset_cache.h"
#include "core/store/preset_store.h"
#include "core/store/stamp_store.h"
#include "core/system/driver_paths.h"
#include "core/system/printer_names.h"
#include "core/tables/model_record.h"

namespace {

const WCHAR kDatabaseName[] = TEXT("orvdb.ini");
constexpr DWORD kValueChars = 260;
// Sections Models1, Models2 ... end at the first without the driver; bounded all the same.
constexpr int kMaxModels = 999;

// A model name of a section of the model data file, leading blanks skipped, cut to 32.
bool ReadModelName(const WCHAR* dataFile, const WCHAR* section, const WCHAR* driver, WCHAR* out) {
  WCHAR raw[kValueChars];
  raw[0] = 0;
  IniReadString(section, driver, TEXT(""), raw, kValueChars, dataFile);
  const WCHAR* p = raw;
  while (*p == ' ' || *p == '\t') ++p;
  StrCopyCut(out, kModelNameChars, p);
  return out[0] != 0;
}

// What a model's entry should hold.
struct ModelEntry {
  WCHAR loadDll[kValueChars];
  WCHAR resDll[kValueChars];
  WCHAR version[kValueChars];
};

struct Sources {
  WCHAR database[MAX_PATH];
  const WCHAR* installIni;  // OVINST.INI of the driver folder
  const WCHAR* dataFile;
  const WCHAR* driver;
  const WCHAR* dataDll;     // null or empty: nothing is registered
};

bool GetSources(DriverContext* ctx, Sources* s) {
  PathInWindowsDir(s->database, MAX_PATH, kDatabaseName);
  s->installIni = PathInstallIniFile(ctx);
  s->dataFile = PathModelDataFile(ctx);
  s->driver = PrnGetDriverName(ctx);
  s->dataDll = CtxModelRecord(ctx)->modelDataDll;
  return s->database[0] && s->dataFile[0] && s->driver[0];
}

void ExpectedEntry(const Sources& s, const WCHAR* model, bool multi, ModelEntry* e) {
  IniReadString(model, TEXT("LoadDll32"), TEXT(""), e->loadDll, kValueChars, s.installIni);
  IniReadString(model, TEXT("Version32"), TEXT(""), e->version, kValueChars, s.installIni);
  if (multi)
    IniReadString(model, TEXT("ResDll"), TEXT(""), e->resDll, kValueChars, s.dataFile);
  else
    StrCopyCut(e->resDll, kValueChars, s.dataDll ? s.dataDll : TEXT(""));
}

void Register(const Sources& s, const WCHAR* model, bool multi) {
  if (!s.dataDll || !s.dataDll[0]) return;
  ModelEntry e;
  ExpectedEntry(s, model, multi, &e);
  if (e.loadDll[0]) IniWriteString(model, TEXT("LoadDll"), e.loadDll, s.database);
  if (e.resDll[0]) IniWriteString(model, TEXT("ResDll"), e.resDll, s.database);
  if (e.version[0]) IniWriteString(model, TEXT("Version"), e.version, s.database);
}

bool Differs(const Sources& s, const WCHAR* model, bool multi) {
  ModelEntry want;
  ExpectedEntry(s, model, multi, &want);
  WCHAR have[kValueChars];
  const struct {
    const WCHAR* key;
    const WCHAR* value;
  } keys[] = {{TEXT("LoadDll"), want.loadDll}, {TEXT("ResDll"), want.resDll}, {TEXT("Version"), want.version}};
  for (const auto& k : keys) {
    IniReadString(model, k.key, TEXT(""), have, kValueChars, s.database);
    if (lstrcmpiW(have, k.value) != 0) return true;
  }
  return false;
}

// Walks the models of the driver: the multi-model sections, else the single "Models" entry.
// check: register only from the first model that differs on. 0 when no model name is found.
int RegisterModels(DriverContext* ctx, bool check) {
  if (!ctx || !ctx->ui) return 0;
  Sources* s = new (std::nothrow) Sources();
  if (!s) return 0;
  int result = 1;
  if (!GetSources(ctx, s)) {
    result = 0;
  } else {
    WCHAR model[kModelNameChars];
    bool differing = false;
    int n = 1;
    for (; n <= kMaxModels; ++n) {
      WCHAR section[32];
      wsprintfW(section, TEXT("Models%d"), n);
      if (!ReadModelName(s->dataFile, section, s->driver, model)) break;
      if (check && !differing) differing = Differs(*s, model, true);
      if (!check || differing) Register(*s, model, true);
    }
    if (n == 1) {
      const WCHAR* name = InstReadModelName(ctx);
      if (!name) {
        result = 0;
      } else if (!check || Differs(*s, name, false)) {
        Register(*s, name, false);
      }
    }
  }
  delete s;
  return result;
}

}  // namespace

const WCHAR* InstReadModelName(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return nullptr;
  WCHAR* name = ctx->ui->install.modelName;
  name[0] = 0;
  const WCHAR* dataFile = PathModelDataFile(ctx);
  const WCHAR* driver = PrnGetDriverName(ctx);
  if (!dataFile[0] || !driver[0]) return nullptr;
  return ReadModelName(dataFile, TEXT("Models"), driver, name) ? name : nullptr;
}

int InstRegisterModelDb(DriverContext* ctx) { return RegisterModels(ctx, false); }

int InstCheckModelDb(DriverContext* ctx) { return RegisterModels(ctx, true); }

int CtxRevalidateStores(HANDLE hPrinter, DriverContext* ctx) {
  if (!ctx) return 1;
  if (!PrnIsOnServer(ctx)) StoreSaveDeviceSettings(hPrinter, ctx);
  InstWriteJobMergeKeys(ctx, 2, nullptr);
  // Applying a preset or quality list changes the current settings: keep the user's.
  CtxSnapshotPush(ctx);
  // Each slot is read from its file: a cached apply says nothing about the file. A file its
  // load refused is left as it is, never overwritten with what stood in for it.
  PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
  int presets = PresetGetCount(ctx);
  for (int n = 0; n < presets; ++n) {
    // The spooler may not write preset files the preset store keeps read-only.
    if (PresetApplySlotFromFile(ctx, n) && PresetSlotIsWritable(ctx, n)) PresetSaveSlotItems(ctx, n);
  }
  int lists = QualityGetCount(ctx);
  for (int n = 0; n < lists; ++n)
    if (QualityApplySlotFromFile(ctx, n)) QualitySaveSlotFile(ctx, n);
  StampResaveAll(ctx);
  FreeSizeRewriteAll(ctx);
  CtxSnapshotPop(ctx, TRUE);
  return 1;
}
