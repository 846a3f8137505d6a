// The colour-profile list in the settings ini and the profile header check.
#include "core/modules/cmm_profiles.h"

#include <string.h>

#include "core/common/ini_access.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/item_values.h"
#include "core/store/store_keys.h"

namespace {

struct Signature {
  DWORD offset;
  char bytes[5];
};
// The header fields a printer profile of this driver carries.
const Signature kSignature[] = {{4, "OVMS"}, {12, "prtr"}, {20, "RGB "}, {36, "acsp"}, {48, "ORVL"}};
constexpr DWORD kProfileHeaderBytes = 52;  // through the last signature field

struct ProfileIni {
  WCHAR file[kPathChars] = {};
  explicit ProfileIni(DriverContext* ctx) { StoreCopySettingsIni(ctx, file); }
};

// The list's counts are any user's text in the settings ini: bounded as the store bounds
// every count (a walk over the list stays short, no count overflows where it is added to).
// Unlike StoreReadCount an absent key keeps its default, which the judges rely on.
LONG ReadListKey(DriverContext* ctx, LPCWSTR key, LONG def) {
  const ProfileIni ini(ctx);
  if (!ini.file[0]) return def;
  const LONG value = static_cast<LONG>(static_cast<INT>(IniReadInt(StoreListLangCode(ctx), key, def, ini.file)));
  return value < 0 ? 0 : value > kStoreLimitColorProfiles ? kStoreLimitColorProfiles : value;
}

void ReadEntry(DriverContext* ctx, LONG n, WCHAR* name, WCHAR* path) {
  const ProfileIni ini(ctx);
  WCHAR section[64];
  CmmFormatSection(ctx, section, 64, n);
  IniReadString(section, TEXT("zdmColorMatchingMode"), TEXT(""), name, kCmmTextChars, ini.file);
  IniReadString(section, TEXT("wdmColorProfilePath"), TEXT(""), path, kCmmTextChars, ini.file);
}

void WriteEntry(DriverContext* ctx, LONG n, const WCHAR* name, const WCHAR* path) {
  const ProfileIni ini(ctx);
  WCHAR section[64];
  CmmFormatSection(ctx, section, 64, n);
  IniWriteString(section, TEXT("zdmColorMatchingMode"), name, ini.file);
  IniWriteString(section, TEXT("wdmColorProfilePath"), path, ini.file);
}

}  // namespace

LONG CmmGetCount(DriverContext* ctx) { return ReadListKey(ctx, TEXT("CmmCount"), 0); }
LONG CmmGetDefault(DriverContext* ctx) { return ReadListKey(ctx, TEXT("CmmDefault"), 4); }
LONG CmmGetMax(DriverContext* ctx) { return ReadListKey(ctx, TEXT("CmmMax"), 16); }

void CmmSetCount(DriverContext* ctx, LONG count) {
  const ProfileIni ini(ctx);
  WCHAR text[16];
  if (ini.file[0]) IniWriteString(StoreListLangCode(ctx), TEXT("CmmCount"), StoreFormatNumber(text, count), ini.file);
}

void CmmFormatSection(DriverContext* ctx, WCHAR* buffer, DWORD cchBuffer, LONG n) {
  StoreFormatKey(buffer, cchBuffer, TEXT("ColorMatching"), n, StoreListLangCode(ctx));
}

void CmmLoadEntry(DriverContext* ctx, LONG n) {
  if (!ctx || !ctx->ui) return;
  UiState* ui = ctx->ui;
  ui->cmmName[0] = ui->cmmPath[0] = 0;
  if (n < 0) return;
  if (n >= CmmGetCount(ctx)) n = 0;
  ReadEntry(ctx, n, ui->cmmName, ui->cmmPath);
}

void CmmSaveEntry(DriverContext* ctx, LONG n) {
  if (!ctx || !ctx->ui || n < 0 || n >= CmmGetCount(ctx)) return;
  ctx->ui->cmmName[kCmmTextChars - 1] = ctx->ui->cmmPath[kCmmTextChars - 1] = 0;
  WriteEntry(ctx, n, ctx->ui->cmmName, ctx->ui->cmmPath);
}

int CmmDeleteEntry(DriverContext* ctx, LONG n) {
  const LONG count = CmmGetCount(ctx);
  // Without a selected user profile the caller passes -1: shifting from there would drop a
  // built-in entry, so only user entries are ever removed.
  if (!ctx || !ctx->ui || n < 0 || n < CmmGetDefault(ctx) || n >= count) return 0;
  WCHAR name[kCmmTextChars], path[kCmmTextChars];
  for (LONG k = n; k + 1 < count; ++k) {
    ReadEntry(ctx, k + 1, name, path);
    WriteEntry(ctx, k, name, path);
  }
  CmmSetCount(ctx, count - 1);
  return 1;
}

LONG CmmIndexFromValue(DriverContext* ctx, LONG value) {
  const LONG n = value - kCmmProfileValueBase;
  return n >= 0 && n < CmmGetCount(ctx) ? n : -1;
}

LONG CmmIndexOfItem(DriverContext* ctx, WORD id) {
  if (!ItemFind(ctx, id)) return -1;
  return CmmIndexFromValue(ctx, static_cast<LONG>(ItemGetRawById(ctx, id)));
}

LONG CmmIndexOfModeControl(DriverContext* ctx) { return CmmIndexOfItem(ctx, kItem_zdmColorMatchingMode); }

void CmmSetModeIndex(DriverContext* ctx, LONG n) {
  SettingItem* item = ItemFind(ctx, kItem_zdmColorMatchingMode);
  if (!item) return;
  if (n >= 0 && n < CmmGetCount(ctx)) {
    ItemSetRaw(ctx, item, kCmmProfileValueBase + n);
    return;
  }
  const ItemValueEntry* list = ItemChooseValueList(ctx, item);
  ItemSetRaw(ctx, item, list ? list[0].stored : 0);
}

int CmmProfileHeaderValid(const BYTE* bytes, DWORD size) {
  if (!bytes) return 0;
  for (const Signature& s : kSignature)
    if (size < s.offset + 4 || memcmp(bytes + s.offset, s.bytes, 4) != 0) return 0;
  return 1;
}

int CmmCheckProfileHeader(const WCHAR* path) {
  if (!path || !path[0]) return 0;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  BYTE header[kProfileHeaderBytes] = {};
  DWORD read = 0;
  const BOOL ok = ReadFile(file, header, kProfileHeaderBytes, &read, nullptr);
  CloseHandle(file);
  return ok ? CmmProfileHeaderValid(header, read) : 0;
}

void QualityRememberMatching(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  static const WORD kItems[4] = {kItem_zdmColorMatchingMode, kItem_wdmColorMatchingText, kItem_wdmColorMatchingLine,
                                 kItem_wdmColorMatchingImage};
  int which = 0;
  if (ItemGetRawById(ctx, kItem_zdmAdjustMode) != 0) {
    const LONG_PTR object = ItemGetRawById(ctx, kItem_zdmAdjustObject);
    if (object < 0 || object > 2) return;
    which = 1 + static_cast<int>(object);
  }
  ctx->ui->cmmMatching[which] = static_cast<BYTE>(ItemGetRawById(ctx, kItems[which]));
  ctx->ui->cmmMatchingNoted = static_cast<BYTE>(ctx->ui->cmmMatchingNoted | (1u << which));
}
