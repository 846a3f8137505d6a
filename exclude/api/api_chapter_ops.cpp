// The chapter and colour-profile list operations of the application interface.
#include "core/common/ini_access.h"
#include "core/common/text.h"
#include "core/context/ui_state.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/store/store_keys.h"
#include "exclude/api/api_chapter_modules.h"
#include "exclude/api/api_chapters.h"
#include "exclude/api/api_context.h"

namespace {

constexpr int kProfileNameChars = 64;

struct PrinterSection {
  WCHAR ini[kPathChars] = {};
  WCHAR printer[261] = {};
  explicit PrinterSection(DriverContext* ctx) {
    StoreCopySettingsIni(ctx, ini);
    StoreCopyPrinterName(ctx, printer, 261);
  }
  LONG Int(LPCWSTR prefix, LONG n) const {
    WCHAR key[64];
    StoreFormatKey(key, 64, prefix, n, nullptr);
    return ini[0] ? static_cast<LONG>(static_cast<INT>(IniReadInt(printer, key, 0, ini))) : 0;
  }
  void Text(LPCWSTR prefix, LONG n, WCHAR* out, DWORD chars) const {
    WCHAR key[64];
    StoreFormatKey(key, 64, prefix, n, nullptr);
    out[0] = 0;
    if (ini[0]) IniReadString(printer, key, TEXT(""), out, chars, ini);
  }
};

LONG ParseNumber(const WCHAR* text) {
  LONG value = 0;
  bool negative = false;
  while (*text == u' ') ++text;
  if (*text == u'-') {
    negative = true;
    ++text;
  }
  while (*text >= u'0' && *text <= u'9') value = value * 10 + (*text++ - u'0');
  return negative ? -value : value;
}

}  // namespace

LONG ApiColorProfileCount(ApiContext* api) {
  LONG_PTR record[6] = {};
  return ApiChapterListOp(api, 0, record) ? static_cast<LONG>(record[0]) : 0;
}

int ApiColorProfileName(ApiContext* api, LONG index, WCHAR* name64) {
  LONG_PTR record[6] = {index, reinterpret_cast<LONG_PTR>(name64)};
  return ApiChapterListOp(api, 1, record);
}

int ApiChapterListOp(ApiContext* api, int operation, LONG_PTR* record) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || !record) return 0;
  switch (operation) {
    case 0: {
      WCHAR ini[kPathChars] = {};
      StoreCopySettingsIni(ctx, ini);
      const LONG count = ini[0] ? static_cast<LONG>(static_cast<INT>(IniReadInt(StoreListLangCode(ctx), TEXT("CmmCount"), 0, ini))) : 0;
      record[0] = count < 0 ? 0 : count;
      return 1;
    }
    case 1: {
      auto* out = reinterpret_cast<WCHAR*>(record[1]);
      WCHAR name[kProfileNameChars + 1] = {};
      if (!ApiCmmProfileName(api, static_cast<LONG>(record[0]), name)) return 0;
      if (out) {
        // At most 63 characters and the terminator.
        StrCopyCut(out, kProfileNameChars, name);
      }
      return 1;
    }
    case 2: {
      if (!PageFindByName(ctx, "TOV_IDD_DIALOG_CHAPTER")) return 0;
      const LONG first = static_cast<LONG>(record[0]);
      const LONG last = static_cast<LONG>(record[2]);
      WCHAR entry[32] = {}, number[16] = {};
      StoreFormatNumber(number, first);
      StrCopyCut(entry, 32, number);
      if (last && last != first) {
        StoreFormatNumber(number, last);
        const DWORD length = StrWideLength(entry);
        entry[length] = u'-';
        StrCopyCut(entry + length + 1, 32 - length - 1, number);
      }
      record[3] = ApiChapterMerge(api, entry);
      return 1;
    }
    case 3: {
      const LONG index = static_cast<LONG>(record[0]);
      const LONG used = static_cast<LONG>(ItemGetRawById(ctx, kItem_wdmChapterNum));
      DWORD capacity = 0;
      ApiChapterArray(api, &capacity);
      // Only an entry in use can be deleted; anything else is not carried out.
      if (index < 0 || index >= used || static_cast<DWORD>(index) >= capacity) return 0;
      if (ApiState* state = ApiGetState(api)) state->chapterIndex = index;
      record[1] = ApiChapterDeleteOne(api, index);
      return 1;
    }
    case 4:
      ApiChapterDeleteAll(api);
      record[0] = 0;
      return 1;
    case 5: {
      const PrinterSection section(ctx);
      const LONG n = static_cast<LONG>(record[0]) + 1;
      record[1] = section.Int(TEXT("wdmChapterPage"), n);
      record[2] = section.Int(TEXT("wdmChapterKind"), n);
      record[3] = section.Int(TEXT("wdmChapterTray"), n);
      record[4] = section.Int(TEXT("wdmChapterPrint"), n);
      if (record[2] == 3) {
        WCHAR range[64] = {};
        section.Text(TEXT("wdmChapterPageRange"), n, range, 64);
        if (!range[0]) {
          record[5] = record[1];
        } else {
          const WCHAR* dash = nullptr;
          for (const WCHAR* p = range; *p; ++p)
            if (*p == u'-') dash = p;
          record[5] = ParseNumber(dash ? dash + 1 : range);
        }
      }
      return 1;
    }
    case 6: {
      DWORD capacity = 0;
      ApiChapterArray(api, &capacity);
      const auto used = static_cast<DWORD>(ItemGetRawById(ctx, kItem_wdmChapterNum));
      record[2] = ChapterArraysDiffer(reinterpret_cast<const ChapterRecord*>(record[0]),
                                      reinterpret_cast<const ChapterRecord*>(record[1]), used, capacity);
      return 1;
    }
    default:
      return 0;
  }
}
