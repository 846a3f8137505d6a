// User-code sources: printer data set for a server's users, else the user-code store.
#include "core/bind/user_code.h"

#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/common/text.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"

namespace {

const WCHAR kStoreFile[] = TEXT("OV00C170.ini");
const WCHAR kMruSection[] = TEXT("ORVEL UserCode");
const WCHAR kKeyUse[] = TEXT("UserCode");
const WCHAR kKeyCode[] = TEXT("UserCodeString");
const WCHAR kKeyFix[] = TEXT("UserCodeFIX");
const WCHAR kKeyMru[] = TEXT("MRUUserCode");
constexpr DWORD kCodeChars = 64;  // read room; the items keep what fits them

constexpr DWORD kUserCodeBytes = 9;

// Reads a printer-data value of exactly size bytes; false (buffer zeroed) when it cannot.
bool ReadPrinterData(HANDLE printer, const WCHAR* name, BYTE* buffer, DWORD size) {
  for (DWORD i = 0; i < size; ++i) buffer[i] = 0;
  DWORD type = 0, needed = 0;
  if (!printer || GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, buffer, size, &needed) != ERROR_SUCCESS) {
    for (DWORD i = 0; i < size; ++i) buffer[i] = 0;
    return false;
  }
  return true;
}

void SetCodeText(DriverContext* ctx, WORD id, const WCHAR* code) {
  if (SettingItem* item = ItemFind(ctx, id)) ItemSetText(ctx, item, code);
}

}  // namespace

int UserCodeFromServer(DriverContext* ctx) {
  if (!ctx || PrnIsOnServer(ctx)) return 0;
  BYTE serverUse = 0;
  ReadPrinterData(ctx->printer, TEXT("ServerUse"), &serverUse, 1);
  if (!serverUse) return UserCodeReadStore(ctx);
  BYTE use = 0;
  ReadPrinterData(ctx->printer, TEXT("UserCodeUse"), &use, 1);
  ItemSetRawById(ctx, kItem_zdmLogCodeUse, use);
  // The value may use all nine bytes: the text ends in a tenth.
  char narrow[kUserCodeBytes + 1] = {};
  ReadPrinterData(ctx->printer, TEXT("UserCode"), reinterpret_cast<BYTE*>(narrow), kUserCodeBytes);
  WCHAR code[kUserCodeBytes + 1] = {};
  StrAnsiToWide(code, narrow, kUserCodeBytes + 1);
  SetCodeText(ctx, kItem_zdmLogCode, code);
  return 1;
}

int UserCodeReadStore(DriverContext* ctx) {
  if (!ctx) return 0;
  WCHAR* path = static_cast<WCHAR*>(MemAllocZero(MAX_PATH * sizeof(WCHAR)));
  if (!path) return 0;
  if (!PathInSettingsFolder(path, MAX_PATH, kStoreFile, ctx) || !path[0]) {
    MemFree(path);
    return 0;
  }
  const WCHAR* printer = PrnGetPrinterName(ctx);
  WCHAR code[kCodeChars] = {};
  UINT use = 0;
  if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) {
    WCHAR probe[kCodeChars] = {};
    if (IniReadString(printer, kKeyUse, TEXT(""), probe, kCodeChars, path) > 0) {
      use = IniReadInt(printer, kKeyUse, 0, path);
      IniReadString(printer, kKeyCode, TEXT(""), code, kCodeChars, path);
    } else {
      IniReadString(kMruSection, kKeyMru, TEXT(""), code, kCodeChars, path);
      IniWriteString(printer, kKeyUse, TEXT("0"), path);
      IniWriteString(printer, kKeyCode, code, path);
    }
  } else {
    IniWriteString(printer, kKeyUse, TEXT("0"), path);
    IniWriteString(printer, kKeyCode, TEXT(""), path);
    IniWriteString(kMruSection, kKeyMru, TEXT(""), path);
  }
  UINT fix = IniReadInt(printer, kKeyFix, 0, path);
  MemFree(path);
  ItemSetRawById(ctx, kItem_zdmLogCodeUse, static_cast<LONG_PTR>(use));
  SetCodeText(ctx, kItem_zdmLogCode, code);
  SetCodeText(ctx, kItem_zdmDllLogCode, code);
  ItemSetRawById(ctx, kItem_zdmUserCodeFIX, static_cast<LONG_PTR>(fix));
  return 1;
}

void UserCodeApplyProviderState(DriverContext* ctx) {
  ItemSetRawById(ctx, kItem_zdmUserCodeGet, 0);
  ItemSetRawById(ctx, kItem_zdmUserCodeDLL, 0);
}
