// Preset files: conditions, path tokens, copying, and the guard of the paths written.
#include "core/store/preset_files.h"

#include <string.h>

#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/store/preset_store.h"
#include "core/store/settings_file.h"
#include "core/store/settings_stores.h"
#include "core/store/store_keys.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"

namespace {

constexpr DWORD kLineChars = 260;
constexpr DWORD kNameBytes = 260;
constexpr DWORD kSectionChars = 261;
constexpr DWORD kSectionBuffer = 30720;
constexpr WORD kIdFuncWatermark = 60, kIdTintBlockUI = 540;
constexpr DWORD kPackChecked = 0x40;

WCHAR Lower(WCHAR c) { return c >= u'A' && c <= u'Z' ? WCHAR(c - u'A' + u'a') : c; }

bool StartsWithNoCase(LPCWSTR text, LPCWSTR prefix) {
  for (; *prefix; ++text, ++prefix)
    if (Lower(*text) != Lower(*prefix)) return false;
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

struct Token {
  bool negate = false;
  bool tooLong = false;
  char name[kNameBytes] = {};
  char following = 0;  // '|', '&' or 0
};

// Parses one token at *p and moves past it.
void ParseToken(const char*& p, Token* t) {
  while (IsBlank(*p)) ++p;
  if (*p == '!') {
    t->negate = true;
    ++p;
  }
  DWORD n = 0;
  while (*p && !IsBlank(*p) && *p != '|' && *p != '&') {
    if (n + 1 < kNameBytes)
      t->name[n++] = *p;
    else
      t->tooLong = true;
    ++p;
  }
  t->name[n] = 0;
  while (IsBlank(*p)) ++p;
  if (*p == '|' || *p == '&') t->following = *p++;
}

// The model's lookup: the value symbol's first judge in the pseudo-item's description.
struct ModelLookup {
  DriverContext* ctx;
  const ModelItemDescriptor* desc;
  WORD itemId;
};

int LookUpInModel(const char* name, void* data) {
  const ModelLookup* m = static_cast<const ModelLookup*>(data);
  const ValueSymbol* v = TblFindValueSymbolByName(name);
  if (!v || v->kind != ValueKindItemValue || v->itemId != m->itemId || v->logical == 0) return -1;
  return ModelEvalDisableRule(m->desc->exclusive, v->logical, m->ctx) ? 1 : 0;
}

bool DriveFolderJoin(WCHAR* out, DWORD cchOut, LPCWSTR folder, LPCWSTR rest) {
  // Exactly one backslash between folder and rest.
  DWORD head = StrWideLength(folder);
  while (head && folder[head - 1] == u'\\') --head;
  while (*rest == u'\\') ++rest;
  WCHAR joined[2 * kPathChars];
  if (head == 0 || head + 1 + StrWideLength(rest) + 1 > 2 * kPathChars) return false;
  memcpy(joined, folder, head * sizeof(WCHAR));
  joined[head] = u'\\';
  joined[head + 1] = 0;
  if (!StrJoin(joined, 2 * kPathChars, joined, head + 1, rest)) return false;
  return StrCopyIfFits(out, cchOut, joined) != 0;
}

bool IsDrivePath(LPCWSTR path) {
  return path && ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z')) && path[1] == u':';
}

// 1 when path lies inside folder (case ignored, at a backslash boundary).
bool Inside(LPCWSTR path, LPCWSTR folder) {
  DWORD n = StrWideLength(folder);
  while (n && folder[n - 1] == u'\\') --n;
  if (n < 3) return false;
  for (DWORD i = 0; i < n; ++i)
    if (Lower(path[i]) != Lower(folder[i])) return false;
  return path[n] == u'\\' && path[n + 1] != 0;
}

// A folder named by printer data or the registry is only compared in its canonical spelling.
bool FolderIsCanonical(LPCWSTR folder) {
  DWORD n = StrWideLength(folder);
  while (n && folder[n - 1] == u'\\') --n;
  WCHAR probe[kPathChars + 8];
  return StrJoin(probe, kPathChars + 8, folder, n, TEXT("\\x.rst")) && PresetIsSettingsFileTarget(probe);
}

bool HasDotDotPart(LPCWSTR path) {
  for (const WCHAR* part = path; *part;) {
    const WCHAR* end = part;
    while (*end && *end != u'\\' && *end != u'/') ++end;
    if (end - part == 2 && part[0] == u'.' && part[1] == u'.') return true;
    part = *end ? end + 1 : end;
  }
  return false;
}

}  // namespace

// ---- conditions ----
int PresetEvalConditionLine(const char* line, int result, PresetConditionLookup lookup, void* data) {
  char pending = '&';
  const char* p = line ? line : "";
  for (;;) {
    Token t;
    ParseToken(p, &t);
    if (!t.name[0] && !t.tooLong) break;
    if (result == 1 && pending == '|') {
      pending = t.following;
    } else {
      pending = t.following;
      int found = t.tooLong ? -1 : lookup(t.name, data);
      int value = found < 0 ? 0 : (t.negate ? !found : found != 0);
      result = value;
      if (value == 0 && t.following == '&') return 0;
    }
    if (!t.following && !*p) break;
  }
  return result;
}

int PresetEvalConditionsWith(LPCWSTR file, PresetConditionLookup lookup, void* data) {
  if (!file || !file[0] || !lookup) return 1;
  int result = 1;
  WCHAR key[32] = TEXT("ConditionOption0_0"), wide[kLineChars];
  char line[2 * kLineChars];
  for (int g = 0; g < 10 && result == 1; ++g) {
    for (int t = 0; t < 10; ++t) {
      key[15] = WCHAR(u'0' + g);
      key[17] = WCHAR(u'0' + t);
      wide[0] = 0;
      IniReadString(TEXT("condition"), key, TEXT(""), wide, kLineChars, file);
      if (!wide[0]) break;
      StrWideToAnsi(line, wide, sizeof line);
      result = PresetEvalConditionLine(line, result, lookup, data);
      if (result == 1) break;
    }
  }
  return result;
}

int PresetEvalConditions(LPCWSTR file, DriverContext* ctx) {
  if (!ctx) return 1;
  const SymbolEntry* symbol = TblFindSymbolByName("TOV_ConditionOption");
  if (!symbol) return 1;
  const ModelItemDescriptor* desc = ModelFindDescriptorBySymbol(symbol->symbolId, ctx);
  if (!desc) return 1;
  ModelLookup m = {ctx, desc, symbol->itemId};
  return PresetEvalConditionsWith(file, LookUpInModel, &m);
}

int PresetIsEnabledForDriver(LPCWSTR file, DriverContext* ctx) {
  if (!file || !ctx) return 1;
  const WCHAR* driver = PrnGetDriverName(ctx);
  if (!driver || !driver[0]) return 1;
  return IniReadInt(TEXT("disable"), driver, 0, file) == 0 ? 1 : 0;
}

int PresetWatermarkFuncAllows(LPCWSTR file, DriverContext* ctx) { return PresetPassesTintBlockRule(file, ctx); }

int PresetPassesTintBlockRule(LPCWSTR file, DriverContext* ctx) {
  if (!ctx || ItemGetRawById(ctx, kIdTintBlockUI) == 0) return 1;
  if (!file) return 0;
  int count = 0;
  LPCWSTR ext = PathFindExtension(file, &count);
  if (count != 3 || !ext) return 0;
  WCHAR section[kSectionChars];
  if (StartsWithNoCase(ext, TEXT("rsr")))
    StoreCopyPrinterName(ctx, section, kSectionChars);
  else if (StartsWithNoCase(ext, TEXT("rsd")))
    StrCopyCut(section, kSectionChars, ResGetLangCodeAlias(ctx));
  else
    return 0;
  LPCWSTR key = ItemGetName(ctx, kIdFuncWatermark);
  if (!key || !key[0]) return 1;
  return IniReadInt(section, key, 0, file) == 0 ? 1 : 0;
}

// ---- path tokens ----
int PresetResolvePath(WCHAR* buffer, DWORD cchBuffer, int flag, DriverContext* ctx) {
  if (!buffer || !cchBuffer || !ctx) return 0;
  const DWORD length = StrWideLength(buffer);
  if (length >= kPathChars) return 0;
  if (IsDrivePath(buffer)) return 1;
  const bool own = flag == 1 && OsIsNt5OrLater();
  WCHAR value[kPathChars], folder[kPathChars] = {}, result[kPathChars] = {};
  StrCopyCut(value, kPathChars, buffer);
  LPCWSTR rest = value;
  if (StartsWithNoCase(value, TEXT("%windir%"))) {
    rest = value + 8;
    if (own)
      StrCopyCut(folder, kPathChars, PathGetDriverDir(ctx));
    else
      OsGetSystemWindowsDir(folder, kPathChars);
  } else if (StartsWithNoCase(value, TEXT("%sysdir%"))) {
    rest = value + 8;
    if (own)
      PathGetMachineSettingsFolder(folder, kPathChars, ctx);
    else
      OsGetSystemDir(folder, kPathChars, ctx);
  } else if (StartsWithNoCase(value, TEXT("..\\"))) {
    if (!PathFromSystemDirUp(result, kPathChars, value) || !result[0]) return 0;
    return StrCopyIfFits(buffer, cchBuffer, result) ? 1 : 0;
  } else {
    if (StartsWithNoCase(value, TEXT(".\\"))) rest = value + 2;
    if (own)
      StrCopyCut(folder, kPathChars, PathGetDriverDir(ctx));
    else
      OsGetSystemDir(folder, kPathChars, ctx);
  }
  if (!folder[0] || !DriveFolderJoin(result, kPathChars, folder, rest)) return 0;
  return StrCopyIfFits(buffer, cchBuffer, result) ? 1 : 0;
}

int PresetResolveListPath(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx) {
  return PresetResolvePath(buffer, cchBuffer, 1, ctx) && PathHasShortExtension(buffer) ? 1 : 0;
}

int InstallResolveFilePath(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx) {
  return PresetResolvePath(buffer, cchBuffer, 0, ctx);
}

int PathResolveInDriverFolder(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx) {
  if (!buffer || !cchBuffer || !ctx) return 0;
  if (IsDrivePath(buffer)) return 1;
  WCHAR result[kPathChars];
  if (!DriveFolderJoin(result, kPathChars, PathGetDriverDir(ctx), buffer)) return 0;
  return StrCopyIfFits(buffer, cchBuffer, result) ? 1 : 0;
}

int PathResolveInDriverFolderOf(WCHAR* buffer, DWORD cchBuffer, const DRIVER_INFO_3* driverInfo) {
  if (!buffer || !cchBuffer || !driverInfo) return 0;
  if (IsDrivePath(buffer)) return 1;
  WCHAR folder[kPathChars] = {}, result[kPathChars];
  if (!PathGetDriverDirOfFromInfo(nullptr, folder, kPathChars, driverInfo) || !folder[0]) return 0;
  if (!DriveFolderJoin(result, kPathChars, folder, buffer)) return 0;
  return StrCopyIfFits(buffer, cchBuffer, result) ? 1 : 0;
}

int StorePathIsSettingsTarget(LPCWSTR path, DriverContext* ctx) {
  if (!ctx || !PresetIsSettingsFileTarget(path)) return 0;
  // Before Windows 2000 the settings folder is the System directory, which holds the driver
  // folder: the driver's factory files are never a user's save target.
  if (ctx->ui && Inside(path, PathGetDriverDir(ctx))) return 0;
  WCHAR folder[kPathChars];
  auto check = [&](bool found) { return found && folder[0] && FolderIsCanonical(folder) && Inside(path, folder); };
  folder[0] = 0;
  if (check(PathGetSettingsFolder(folder, kPathChars, ctx) != 0)) return 1;
  folder[0] = 0;
  if (check(PathGetMachineSettingsFolder(folder, kPathChars, ctx) != 0)) return 1;
  folder[0] = 0;
  if (check(PathGetSessionSettingsFolder(folder, kPathChars, ctx) != 0)) return 1;
  folder[0] = 0;
  if (check(PathGetUserSettingsFolder(folder, kPathChars, ctx->printer) != 0)) return 1;
  return 0;
}

int StorePathIsDriverTarget(LPCWSTR path, DriverContext* ctx) {
  if (StorePathIsSettingsTarget(path, ctx)) return 1;
  return ctx && ctx->ui && PresetIsSettingsFileTarget(path) && Inside(path, PathGetDriverDir(ctx)) ? 1 : 0;
}

int StorePathIsInstallFileTarget(LPCWSTR path, DriverContext* ctx) {
  if (!ctx || !IsDrivePath(path) || path[2] != u'\\' || HasDotDotPart(path)) return 0;
  if (StorePathIsDriverTarget(path, ctx)) return 1;
  WCHAR folder[kPathChars];
  folder[0] = 0;
  if (OsGetSystemWindowsDir(folder, kPathChars) && folder[0] && Inside(path, folder)) return 1;
  folder[0] = 0;
  return OsGetSystemDir(folder, kPathChars, ctx) && folder[0] && Inside(path, folder) ? 1 : 0;
}

// ---- copying and reading ----
namespace {

// Copies one section of source over the same section of target (the target's copy deleted
// first); a section the source lacks is only deleted.
bool CopySection(LPCWSTR section, LPCWSTR source, LPCWSTR target) {
  WCHAR* keys = static_cast<WCHAR*>(MemAllocZero(kSectionBuffer * sizeof(WCHAR)));
  if (!keys) return false;
  DWORD got = GetPrivateProfileSectionW(section, keys, kSectionBuffer, source);
  bool ok = IniWriteString(section, nullptr, nullptr, target) || !FileExists(target);
  if (got) ok = WritePrivateProfileSectionW(section, keys, target) && ok;
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, target);
  MemFree(keys);
  return ok;
}

}  // namespace

int PresetCopyFile(LPCWSTR target, LPCWSTR source, DWORD groupFlags, DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings || !source || !target || !FileExists(source)) return 0;
  if (!StorePathIsSettingsTarget(target, ctx)) {
    CtxSetFileStatus(ctx, ERROR_ACCESS_DENIED);
    return 0;
  }
  WCHAR language[kSectionChars], header[16] = {};
  StrCopyCut(language, kSectionChars, ResGetLangCodeAlias(ctx));
  // The source must carry its language section: without it nothing is copied.
  IniReadString(language, TEXT("RstVersion"), TEXT(""), header, 16, source);
  if (!header[0]) return 0;
  StoreMutexHold hold(ctx);
  CtxSnapshotPush(ctx);
  int result = 0;
  StoreLoadSettingsFile(ctx->printer, source, groupFlags | kStoreFileLanguageSection, ctx);
  if (CtxGetFileStatus(ctx) == 0) {
    bool ok = CopySection(TEXT("condition"), source, target);
    ok = CopySection(TEXT("disable"), source, target) && ok;
    ok = StoreSaveSettingsFile(ctx->printer, target, groupFlags, ctx) && ok;
    WCHAR readOnly[16] = {}, printer[kSectionChars];
    IniReadString(language, TEXT("Readonly"), TEXT(""), readOnly, 16, source);
    if (readOnly[0]) {
      StoreCopyPrinterName(ctx, printer, kSectionChars);
      ok = IniWriteString(printer, TEXT("Readonly"), readOnly, target) && ok;
    }
    result = ok ? 1 : 0;
  }
  CtxSnapshotPop(ctx, TRUE);
  return result;
}

int PresetHasSettingsHeader(LPCWSTR file, DriverContext* ctx) {
  if (!file || !ctx) return 0;
  WCHAR printer[kSectionChars], value[16] = {};
  StoreCopyPrinterName(ctx, printer, kSectionChars);
  IniReadString(printer, TEXT("RstVersion"), TEXT(""), value, 16, file);
  return value[0] ? 1 : 0;
}

int PresetAppendFromPack(LPCWSTR settingsIni, LPCWSTR file, LPCWSTR name, LPCWSTR comment, DWORD flags,
                         DriverContext* ctx) {
  (void)settingsIni;  // the printer's own settings ini: the list lives there
  if (!ctx || !file) return 0;
  if ((flags & kPackChecked) && (!PresetEvalConditions(file, ctx) || !PresetIsEnabledForDriver(file, ctx) ||
                                 !PresetWatermarkFuncAllows(file, ctx)))
    return 1;
  PresetAppendEntry(ctx, file, name && name[0] ? name : TEXT("NoName"), comment ? comment : TEXT(""));
  return 1;
}

void PresetReadNameAndComment(LPCWSTR file, LPCWSTR section, WCHAR* name, WCHAR* comment) {
  if (name) IniReadString(section, TEXT("setname"), TEXT(""), name, kPathChars, file);
  if (comment) IniReadString(section, TEXT("setcomment"), TEXT(""), comment, kPathChars, file);
}

void QualityReadName(LPCWSTR file, LPCWSTR section, WCHAR* name) {
  if (name) IniReadString(section, TEXT("qualityname"), TEXT(""), name, kPathChars, file);
}

int PresetTwinPath(WCHAR* target, DWORD cchTarget, LPCWSTR file, DWORD groupFlags, DriverContext* ctx) {
  if (!target || !cchTarget || !file || !ctx) return 0;
  target[0] = 0;
  LPCWSTR ext = groupFlags & kStoreFileQuality ? TEXT("rsq") : groupFlags & kStoreFilePreset ? TEXT("rsd") : nullptr;
  WCHAR leaf[kPathChars];
  if (!ext || !PathReplaceExtension(leaf, PathFindLeaf(file), ext, kPathChars)) return 0;
  return PathInSettingsFolder(target, cchTarget, leaf, ctx) && target[0] ? 1 : 0;
}

int QualityRsqPath(WCHAR* target, DWORD cchTarget, LPCWSTR file, DriverContext* ctx) {
  return PresetTwinPath(target, cchTarget, file, kStoreFileQuality, ctx);
}

int PresetRsdPath(WCHAR* target, LPCWSTR file, DWORD cchTarget) {
  return PathReplaceExtension(target, file, TEXT("rsd"), cchTarget) ? 1 : 0;
}

// ---- ini text ----
LONG IniFindSection(LPCWSTR name, const char* text, DWORD length, DWORD* sectionLength) {
  if (!name || !text) return -1;
  char narrow[2 * kSectionChars];
  StrWideToAnsi(narrow, name, sizeof narrow);
  const DWORD nameLength = DWORD(strlen(narrow));
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  for (DWORD line = 0; line < length;) {
    DWORD next = line;
    while (next < length && text[next] != '\n') ++next;
    if (next < length) ++next;
    bool match = text[line] == '[' && line + 1 + nameLength < length && text[line + 1 + nameLength] == ']';
    for (DWORD i = 0; match && i < nameLength; ++i) match = lower(text[line + 1 + i]) == lower(narrow[i]);
    if (match) {
      if (sectionLength) {
        DWORD end = next;
        while (end < length && text[end] != '[') {
          while (end < length && text[end] != '\n') ++end;
          if (end < length) ++end;
        }
        *sectionLength = end - line;
      }
      return LONG(line);
    }
    line = next;
  }
  return -1;
}

int IniKeyIsSet(LPCWSTR file, LPCWSTR section, LPCWSTR key) {
  UINT v = IniReadInt(section, key, 0x7FFF, file);
  return v != 0 && v != 0x7FFF ? 1 : 0;
}
