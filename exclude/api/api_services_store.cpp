// Services of the interface over stored values: user strings of the job-control store, raw
// reads from a saved settings image, the action word, the scratch watermark.
#include <string.h>

#include "core/bind/export_of.h"
#include "core/bind/jc_string.h"
#include "core/bind/job_control.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/context/settings_snapshot.h"
#include "core/devmode/dm_layout.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/store/settings_stores.h"
#include "core/store/stamp_store.h"
#include "core/system/settings_folders.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_journal.h"
#include "exclude/api/api_records.h"
#include "exclude/api/api_services.h"

namespace {

// The user strings of the job-control store by id (1-11), their API mask bits and settings.
struct UserString {
  DWORD id;
  DWORD mask;
  WORD setting;
};
constexpr UserString kUserStrings[] = {
    {1, kApiUserCode, kItem_zdmUserCode},
    {2, kApiUserOwnerName, kItem_zdmOwnerName},
    {3, kApiUserJobPassword, kItem_zdmJOBPassword},
    {4, kApiUserId, kItem_zdmUserID},
    {5, kApiUserDocumentName, kItem_zdmDocumentName},
    {6, kApiUserTelNo, kItem_zdmTelNo},
    {7, kApiUserTelLine, kItem_zdmTelLine},
    {8, kApiUserStoredPassword, kItem_zdmStoredPassword},
    {9, kApiUserAuthName, kItem_wdmAuthenticationUserName},
    {10, kApiUserAuthPassword, kItem_wdmAuthenticationPassword},
    {11, kApiUserAuthNetworkKey, kItem_wdmAuthenticationNetworkKey},
};
constexpr DWORD kJcWriteKindText = 1;

// Which ids a Windows 9x save takes: exactly one of these bits.
bool SavableOn9x(DWORD mask) {
  static const DWORD kSingle[] = {kApiUserCode,           kApiUserOwnerName, kApiUserJobPassword, kApiUserId,
                                  kApiUserDocumentName,   kApiUserStoredPassword, kApiUserAuthName,
                                  kApiUserAuthPassword,   kApiUserAuthNetworkKey};
  for (DWORD bit : kSingle)
    if (mask == bit) return true;
  return false;
}

}  // namespace

void ApiLoadUserStrings(ApiContext* api, DWORD mask) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return;
  if (!OsIsWin9x()) {
    JcFetchPropertiesOnce(ctx, mask);  // opens its own session, as the save does
    return;
  }
  for (const UserString& row : kUserStrings) {
    if (!(mask & row.mask)) continue;
    WCHAR text[129] = {};
    if (!ApiJcGetString(api->printer, row.id, 0, text, 129)) continue;
    SettingItem* item = ItemFind(ctx, row.setting);
    if (!item) continue;
    if (row.setting == kItem_zdmTelLine) {
      LONG number = 0;
      for (int i = 0; text[i] >= u'0' && text[i] <= u'9' && i < 8; ++i) number = number * 10 + (text[i] - u'0');
      ItemSetRaw(ctx, item, number);
    } else {
      ItemSetText(ctx, item, text);
    }
  }
}

int ApiSaveUserString(ApiContext* api, DWORD mask) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return 0;
  if (!ApiJournalUserStrings(api, mask)) return 0;
  if (!OsIsWin9x()) {
    JcPushProperties(ctx, mask);
    return 1;
  }
  if (!SavableOn9x(mask)) return 1;
  for (const UserString& row : kUserStrings) {
    if (row.mask != mask) continue;
    SettingItem* item = ItemFind(ctx, row.setting);
    if (!item) return 0;
    const char* text = reinterpret_cast<const char*>(ItemGetRaw(ctx, item));
    const int size = static_cast<int>(ItemDescSize(item->descriptor));
    WCHAR wide[260] = {};
    int chars = 0;
    if (text && size > 0) {
      int length = 0;
      while (length < size && text[length]) ++length;
      chars = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, length, wide, 259);
    }
    return ApiJcSetString(api->printer, row.id, wide, static_cast<DWORD>((chars + 1) * sizeof(WCHAR)));
  }
  return 1;
}

int ApiJcSetString(HANDLE printer, DWORD id, const WCHAR* text, DWORD byteCount) {
  if (!printer || !text) return 0;
  auto* info = static_cast<PRINTER_INFO_2W*>(JcGetPrinterAlloc(printer, 2));
  if (!info) return 0;
  int result = 0;
  HMODULE module = info->pPrinterName ? ApiJcLoadLibrary() : nullptr;
  if (module) {
    auto getInterface = ExportOf<JcGetInterfaceProc>(module, "JCGetInterface");
    auto dispose = ExportOf<JcDisposeInterfaceProc>(module, "JCDisposeInterface");
    JcOps* ops = nullptr;
    if (getInterface && dispose && getInterface(0x101, &ops) == 0 && ops) {
      DWORD session = 0;
      if (ops->openSession && ops->setProperty && ops->openSession(info->pPrinterName, &session) == 0) {
        result = ops->setProperty(session, id, kJcWriteKindText, text, byteCount) == 0 ? 1 : 0;
        if (ops->closeSession) ops->closeSession(session);
      }
      dispose(ops);
    }
    FreeLibrary(module);
  }
  MemFree(info);
  return result;
}

LONG_PTR ApiReadSettingFromImage(ApiContext* api, const SettingItem* row, const BYTE* image) {
  (void)api;
  if (!row || !image) return 0;
  const UINT area = ItemDescArea(row->descriptor);
  if (area == ItemAreaNone) return 0;
  WORD start = 0;
  memcpy(&start, image + kDmOffAreaOffsets + 2 * (area - 1), sizeof(start));
  UINT at = static_cast<UINT>(start) + row->areaOffset;
  const UINT type = ItemDescType(row->descriptor);
  const UINT size = ItemDescSize(row->descriptor);
  if (at >= kDmBlockSize || size > kDmBlockSize - at) return 0;
  const BYTE* p = image + at;
  if (ItemTypeIsBit(type)) {
    const UINT byte = ItemBitByte(type);
    return at + byte < kDmBlockSize && (p[byte] & (1u << ItemBitIndex(type))) ? 1 : 0;
  }
  switch (type) {
    case ItemTypeS8: return static_cast<signed char>(p[0]);
    case ItemTypeU8: return p[0];
    case ItemTypeS16: {
      SHORT v;
      memcpy(&v, p, 2);
      return v;
    }
    case ItemTypeU16: {
      WORD v;
      memcpy(&v, p, 2);
      return v;
    }
    case ItemTypeS32:
    case ItemTypeU32: {
      LONG v;
      memcpy(&v, p, 4);
      return v;
    }
    default:
      return reinterpret_cast<LONG_PTR>(p);
  }
}

int ApiSaveActionItem(ApiContext* api, SettingItem* row, LPCWSTR file) {
  if (!api || !row) return 0;
  const WCHAR* key = row->persistKey;
  const DWORD descriptor = row->descriptor;
  const WORD storage = row->storageKind;
  // The whole 16-bit field of the job-action bits goes under one key.
  row->persistKey = TEXT("zdmAction");
  row->descriptor = ItemDescriptorMake(ItemDescArea(descriptor), ItemTypeU16, 2);
  if (row->storageKind == ItemStoreNone) row->storageKind = ItemStoreSettingsIni;
  const int saved = ApiStoreSaveItem(api, row, file);
  row->persistKey = key;
  row->descriptor = descriptor;
  row->storageKind = storage;
  return saved;
}

int ApiWatermarkZeroStored(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return 0;
  WCHAR section[MAX_PATH] = {};
  StampSectionName(section, MAX_PATH, 0, ctx);
  WCHAR value[8] = {};
  IniReadString(section, TEXT("zdmWmKind"), TEXT("\x01"), value, 8, PathSettingsFile(ctx));
  return value[0] != 0x01 ? 1 : 0;
}

void ApiPrepareScratchWatermark(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return;
  CtxSnapshotPush(ctx);
  StampSelect(ctx, 0);
  if (SettingItem* name = ItemFind(ctx, kItem_wdmWmCharName)) ItemSetText(ctx, name, TEXT(""));
  StampSave(ctx, 256);
  CtxSnapshotPop(ctx, TRUE);
}

namespace {

struct FaceSearch {
  const WCHAR* face;
  int found;
};

int CALLBACK FindTrueTypeFace(const LOGFONTW* font, const TEXTMETRICW* metrics, DWORD fontType, LPARAM lParam) {
  (void)metrics;
  auto* search = reinterpret_cast<FaceSearch*>(lParam);
  // Vertical forms ('@') and faces that are not TrueType do not count.
  if (!(fontType & TRUETYPE_FONTTYPE) || font->lfFaceName[0] == '@') return 1;
  for (int i = 0; i < LF_FACESIZE; ++i) {
    if (font->lfFaceName[i] != search->face[i]) return 1;
    if (!font->lfFaceName[i]) break;
  }
  search->found = 1;
  return 0;
}

}  // namespace

int ApiIsFontInstalled(ApiContext* api, const char* faceName) {
  (void)api;
  if (!faceName || !faceName[0]) return 0;
  WCHAR wanted[LF_FACESIZE + 1] = {};
  if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, faceName, -1, wanted, LF_FACESIZE) <= 0) return 0;
  HWND desktop = GetDesktopWindow();
  HDC dc = GetDC(desktop);
  if (!dc) return 0;
  LOGFONTW all = {};
  all.lfCharSet = DEFAULT_CHARSET;
  FaceSearch search = {wanted, 0};
  EnumFontFamiliesExW(dc, &all, FindTrueTypeFace, reinterpret_cast<LPARAM>(&search), 0);
  ReleaseDC(desktop, dc);
  return search.found;
}
