// The per-printer defaults ini: values an installer leaves waiting ("ZemsInstDone" 0), or the
// user's locale, give a printer its display language, default paper, display unit and user
// code. Writes to the file run under the global mutex, so no rewrite in another process drops
// them.
#include "core/install/install_ini_defaults.h"

#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/install/install_ini.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/model_record.h"

namespace {

const WCHAR kDefaultsIniName[] = TEXT("OV00C170.ini");
const WCHAR kKeyDone[] = TEXT("ZemsInstDone");
const WCHAR kKeyLang[] = TEXT("DispLang");
const WCHAR kKeyPaper[] = TEXT("DefPaper");
const WCHAR kKeyUnit[] = TEXT("DefUnit");
constexpr INT kMissing = 0x7FFF;
constexpr WORD kPaperLetter = 1;
constexpr WORD kPaperA4 = 9;

bool IsLetterGroup(LONG_PTR group) { return group == 1 || group == 2 || group == 5; }

void WriteNumber(const WCHAR* path, const WCHAR* section, const WCHAR* key, UINT value) {
  WCHAR text[16];
  wsprintfW(text, TEXT("%u"), value);
  IniWriteString(section, key, text, path);
}

// The context's defaults ini and printer section, with the global mutex held for the scope.
class DefaultsFile {
 public:
  explicit DefaultsFile(DriverContext* ctx) : ctx_(ctx) {
    ok_ = InstDefaultsIniPath(path_, MAX_PATH, ctx) != 0;
    section_ = PrnGetPrinterName(ctx);
    CtxLockGlobalMutex(ctx_);
  }
  ~DefaultsFile() { CtxUnlockGlobalMutex(ctx_); }
  DefaultsFile(const DefaultsFile&) = delete;
  DefaultsFile& operator=(const DefaultsFile&) = delete;
  bool ok() const { return ok_ && section_[0]; }
  const WCHAR* path() const { return path_; }
  const WCHAR* section() const { return section_; }
  void Write(const WCHAR* key, UINT value) {
    if (ok()) WriteNumber(path_, section_, key, value);
  }

 private:
  DriverContext* ctx_;
  WCHAR path_[MAX_PATH] = {};
  const WCHAR* section_;
  bool ok_;
};

}  // namespace

int InstDefaultsIniPath(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx) {
  if (!buffer || !cchBuffer || !ctx) return 0;
  return PathInSettingsFolder(buffer, cchBuffer, kDefaultsIniName, ctx) > 0 && buffer[0] ? 1 : 0;
}

int InstGetLocaleGroup(DriverContext* ctx) {
  (void)ctx;
  WCHAR country[8] = {};
  if (!GetLocaleInfoW(GetUserDefaultLCID(), LOCALE_ICOUNTRY, country, 7)) return 0;
  switch (country[0]) {
    case '1':
      return 1;
    case '2':
      return 2;
    case '5':
      return 5;
    default:
      return 0;
  }
}

void InstSetLocaleDefaults(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  InstUserDefaults& d = ctx->ui->install.defaults;
  int group = InstGetLocaleGroup(ctx);
  if (IsLetterGroup(group)) {
    d.localeGroup = WORD(group);
    d.displayUnit = 1;
    d.defaultPaper = kPaperLetter;
  } else {
    d.localeGroup = 0;
    d.displayUnit = 0;
    d.defaultPaper = kPaperA4;
  }
  ItemSetRawById(ctx, kItem_zdmLocaleID, d.localeGroup);
}

int InstComputeLocaleDefaults(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  InstUserDefaults& d = ctx->ui->install.defaults;
  WORD language = ResLangIndexFromUserLocale();
  if (language == kNoLanguageIndex) language = ResLangIndexFromDriverHelp(ctx);
  d.displayLanguage = language;
  int group = InstGetLocaleGroup(ctx);
  if (IsLetterGroup(group)) {
    d.defaultPaper = kPaperLetter;
    d.displayUnit = 1;
    d.localeGroup = WORD(group);
  } else {
    d.defaultPaper = kPaperA4;
    d.displayUnit = 0;
    d.localeGroup = 0;
  }
  return 1;
}

int InstReadPendingDefaults(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  DefaultsFile file(ctx);
  if (!file.ok() || !FileExists(file.path())) return 0;
  const WCHAR* path = file.path();
  const WCHAR* section = file.section();
  if (IniReadInt(section, kKeyDone, kMissing, path) != 0) return 0;
  WCHAR probe[8];
  IniReadString(section, kKeyLang, TEXT("*"), probe, 8, path);
  if (probe[0] == '*' && !probe[1]) return 0;
  InstUserDefaults& d = ctx->ui->install.defaults;
  d.userCode = BYTE(IniReadInt(section, TEXT("UserCode"), 0, path));
  d.userCodeFix = BYTE(IniReadInt(section, TEXT("UserCodeFIX"), 0, path));
  IniReadString(section, TEXT("UserCodeString"), TEXT(""), d.userCodeText, 9, path);
  d.displayLanguage = WORD(IniReadInt(section, kKeyLang, 0, path));
  d.defaultPaper = WORD(IniReadInt(section, kKeyPaper, 0, path));
  d.displayUnit = WORD(IniReadInt(section, kKeyUnit, 0, path));
  IniWriteString(section, kKeyDone, TEXT("1"), path);
  return 1;
}

void InstLoadUserDefaults(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  InstUserDefaults& d = ctx->ui->install.defaults;
  {
    if (InstReadPendingDefaults(ctx)) {
      ItemSetRawById(ctx, kItem_zdmLogCodeUse, d.userCode);
      ItemSetText(ctx, ItemFind(ctx, kItem_zdmLogCode), d.userCodeText);
      ItemSetRawById(ctx, kItem_zdmUserCodeFIX, d.userCodeFix);
      d.localeGroup = WORD(InstGetLocaleGroup(ctx));
    } else {
      InstComputeLocaleDefaults(ctx);
      DefaultsFile file(ctx);
      file.Write(kKeyLang, d.displayLanguage);
      file.Write(kKeyPaper, d.defaultPaper);
      file.Write(kKeyUnit, d.displayUnit);
    }
  }
  WORD installed = ResLangIndexFromDriverHelp(ctx);
  if (installed != d.displayLanguage) {
    DefaultsFile file(ctx);
    if (installed == 0) {
      d.displayLanguage = 0;
      d.defaultPaper = kPaperA4;
      d.displayUnit = 0;
      file.Write(kKeyLang, d.displayLanguage);
      file.Write(kKeyPaper, d.defaultPaper);
      file.Write(kKeyUnit, d.displayUnit);
    } else {
      d.displayLanguage = installed;
      file.Write(kKeyLang, d.displayLanguage);
    }
  }
  // A model without a sub-code (every model of this build) defaults to A4.
  if (CtxModelRecord(ctx)->modelSubCode == 0) {
    d.defaultPaper = kPaperA4;
    DefaultsFile file(ctx);
    file.Write(kKeyPaper, d.defaultPaper);
  }
  ItemSetRawById(ctx, kItem_zdmLanguageID, d.displayLanguage);
  ItemSetRawById(ctx, kItem_zdmDspLanguageID, d.displayLanguage);
  ItemSetRawById(ctx, kItem_zdmLocaleID, d.localeGroup);
  ItemSetRawById(ctx, kItem_zdmDspUnit, d.displayUnit);
  ItemSetRawById(ctx, kItem_dmPaperSize, d.defaultPaper);
}

int InstWritePrinterDefaults(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  {
    DefaultsFile file(ctx);
    if (!file.ok()) return 0;
    file.Write(kKeyLang, UINT(ItemGetRawById(ctx, kItem_zdmLanguageID)));
    file.Write(kKeyPaper, IsLetterGroup(ItemGetRawById(ctx, kItem_zdmLocaleID)) ? kPaperLetter : kPaperA4);
    file.Write(kKeyUnit, UINT(ItemGetRawById(ctx, kItem_zdmDspUnit)));
    InstWriteUserCodeDefaults(file.section(), 0, ctx);
    IniWriteString(file.section(), kKeyDone, TEXT("0"), file.path());
  }
  InstReadPendingDefaults(ctx);
  return 1;
}

WCHAR* PrnGetPrinterNameOfAlias(HANDLE hPrinter, WCHAR* buffer, DWORD cchBuffer) {
  return PrnGetPrinterNameOf(hPrinter, buffer, cchBuffer);
}
