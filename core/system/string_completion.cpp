// Completion of loaded strings with the values they stand for: tray names, custom sizes, the
// unit name, colour-matching names and size ranges. Every kind writes within the caller's
// buffer size; a text that does not fit is cut at the end.
#include <initializer_list>

#include "core/common/text.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/units.h"
#include "core/modules/free_size_limits.h"
#include "core/system/resources.h"
#include "core/tables/build_switches.h"

namespace {

enum : DWORD { kTrayName = 1, kCustomSize = 2, kUnitName = 3, kColorMatchName = 4, kSizeRange = 5, kAsLoaded = 6 };

constexpr UINT kStringMetricUnit = 153;
constexpr UINT kStringInchUnit = 154;
constexpr UINT kFirstSlotString = 109;
constexpr UINT kFirstColorMatchString = 565;
constexpr int kUnitNameChars = 16;
constexpr WORD kPageFreeSize = 1017;
constexpr WORD kPageFreeSizeInput = 1041;
constexpr UINT kFirstCustomMediaString = 13708;
constexpr int kCustomMediaCount = 16;

// Rows are built once, in the order the kinds are searched.
struct CompletionTable {
  StringCompletionRow rows[80];
  CompletionTable() : rows{} {
    int n = 0;
    for (DWORD first : {29u, 813u, 50017u})
      for (WORD i = 0; i < 9; ++i) rows[n++] = {first + i, WORD(kItem_wdmPrintPostTray1Name + i), kTrayName};
    for (WORD i = 0; i < 10; ++i) rows[n++] = {kFirstSlotString + i, WORD(i + 1), kCustomSize};
    rows[n++] = {752, 11, kCustomSize};
    rows[n++] = {13379, 11, kCustomSize};
    rows[n++] = {753, 12, kCustomSize};
    rows[n++] = {13383, 12, kCustomSize};
    rows[n++] = {kStringMetricUnit, 0, kUnitName};
    rows[n++] = {kStringInchUnit, 0, kUnitName};
    for (DWORD i = 0; i < 16; ++i) rows[n++] = {kFirstColorMatchString + i, 0, kColorMatchName};
    for (DWORD id = 13273; id <= 13276; ++id) rows[n++] = {id, 0, kSizeRange};
    for (DWORD id = 13708; id <= 13723; ++id) rows[n++] = {id, 0, kAsLoaded};
    rows[n] = {0, 0, 0};
  }
};

const CompletionTable& Table() {
  static const CompletionTable table;
  return table;
}

// Appends within a buffer of size characters, always terminated; the rest is cut.
class Appender {
 public:
  Appender(WCHAR* buffer, int size) : buffer_(buffer), size_(size), length_(int(StrWideLength(buffer))) {
    if (length_ >= size_) length_ = size_ - 1;
    buffer_[length_] = 0;
  }
  void Put(const WCHAR* text) {
    for (; text && *text && length_ + 1 < size_; ++text) buffer_[length_++] = *text;
    buffer_[length_] = 0;
  }
  void PutNumber(LONG whole, LONG fraction, int digits) {
    WCHAR text[24];
    int n = 0;
    DWORD v = whole < 0 ? DWORD(0) - DWORD(whole) : DWORD(whole);
    WCHAR rev[12];
    int r = 0;
    do {
      rev[r++] = WCHAR(u'0' + v % 10);
      v /= 10;
    } while (v);
    if (whole < 0) text[n++] = u'-';
    while (r) text[n++] = rev[--r];
    text[n++] = u'.';
    DWORD f = fraction < 0 ? DWORD(0) - DWORD(fraction) : DWORD(fraction);
    for (int d = digits - 1; d >= 0; --d) {
      text[n + d] = WCHAR(u'0' + f % 10);
      f /= 10;
    }
    n += digits;
    text[n] = 0;
    Put(text);
  }

 private:
  WCHAR* buffer_;
  int size_;
  int length_;
};

void LoadUnitName(DriverContext* ctx, WCHAR* unit) {
  ResLoadString(ctx, ItemIsMetricUnit(ctx) ? kStringMetricUnit : kStringInchUnit, unit, kUnitNameChars, FALSE);
}

void CompleteTrayName(DriverContext* ctx, WORD item, WCHAR* buffer, int size) {
  WCHAR name[kTextBufferChars];
  name[0] = 0;
  if (SettingItem* found = ItemFind(ctx, item)) ItemGetTextBounded(ctx, found, name, kTextBufferChars);
  Appender out(buffer, size);
  out.Put(TEXT(":"));
  out.Put(name);
}

void CompleteCustomSize(DriverContext* ctx, UINT id, WCHAR* buffer, int size) {
  LONG width = 0, length = 0;
  if (id >= kFirstSlotString && id < kFirstSlotString + 10) {
    const UiState* ui = ctx ? ctx->ui : nullptr;
    if (!ui) return;
    const FreeSizeSlot& slot = ui->freeSizes[id - kFirstSlotString];
    char name[sizeof slot.currentName + 1];
    for (size_t i = 0; i < sizeof slot.currentName; ++i) name[i] = slot.currentName[i];
    name[sizeof slot.currentName] = 0;
    StrAnsiToWide(buffer, name, size);
    width = slot.width;
    length = slot.length;
    LONG high, low;
    if (FreeSizeGetLimits(ctx, WORD(slot.tray), WORD(slot.orientation), &high, &low, FALSE)) {
      if (width > high) width = high;
      if (width < low) width = low;
    }
    if (FreeSizeGetLimits(ctx, WORD(slot.tray), WORD(slot.orientation), &high, &low, TRUE)) {
      if (length > high) length = high;
      if (length < low) length = low;
    }
  } else if (id == 752 || id == 13379) {
    width = LONG(ItemGetRawById(ctx, kItem_zdmPaperFreeSizeWidth));
    length = LONG(ItemGetRawById(ctx, kItem_zdmPaperFreeSizeLength));
  } else {
    width = LONG(ItemGetRawById(ctx, kItem_zdmPrintFreeSizeWidth));
    length = LONG(ItemGetRawById(ctx, kItem_zdmPrintFreeSizeLength));
  }
  const BOOL metric = ItemIsMetricUnit(ctx);
  const LONG divisor = metric ? 10 : 100;
  const LONG w = ItemDotsToDisplay(ctx, 0, width), l = ItemDotsToDisplay(ctx, 0, length);
  WCHAR unit[kUnitNameChars];
  LoadUnitName(ctx, unit);
  Appender out(buffer, size);
  out.Put(TEXT("("));
  out.PutNumber(w / divisor, w % divisor, metric ? 1 : 2);
  out.Put(TEXT(" x "));
  out.PutNumber(l / divisor, l % divisor, metric ? 1 : 2);
  out.Put(unit);
  out.Put(TEXT(")"));
  if (ItemLangUsesDecimalComma(ctx)) StrUseDecimalComma(buffer);
}

// The tray and orientation the current custom-size page edits; false on other pages.
bool PageTrayAndOrientation(DriverContext* ctx, WORD* tray, WORD* orientation) {
  if (!ctx) return false;
  if (ctx->currentPage == kPageFreeSize) {
    *tray = WORD(ItemGetRawById(ctx, kItem_wdmFreeSizeTray));
    *orientation = WORD(ItemGetRawById(ctx, kItem_wdmFreeSizeOrient));
    return true;
  }
  if (ctx->currentPage == kPageFreeSizeInput) {
    const bool paper = ItemGetRawById(ctx, kItem_wdmInputFreeSizeType) == 1;
    *tray = WORD(ItemGetRawById(ctx, paper ? kItem_zdmPaperFreeSizeTray : kItem_zdmPrintFreeSizeTray));
    *orientation = WORD(ItemGetRawById(ctx, paper ? kItem_zdmPaperFreeSizeOrient : kItem_zdmPrintFreeSizeOrient));
    return true;
  }
  return false;
}

void FormatLimit(DriverContext* ctx, LONG dots, WCHAR* text, int size) {
  const BOOL metric = ItemIsMetricUnit(ctx);
  StrFormatFixedPoint(text, size, metric ? 10 : 100, ItemDotsToDisplay(ctx, 0, dots), ItemLangUsesDecimalComma(ctx));
  if (metric) {
    // Whole millimetres show without their decimal: "210.0" -> "210".
    DWORD n = StrWideLength(text);
    if (n >= 2 && text[n - 1] == u'0') text[n - 2] = 0;
  }
}

void CompleteSizeRange(DriverContext* ctx, UINT id, WCHAR* buffer, int size) {
  WCHAR minimum[24], maximum[24];
  const BOOL metric = ItemIsMetricUnit(ctx);
  WORD tray, orientation;
  if (!PageTrayAndOrientation(ctx, &tray, &orientation)) {
    StrCopyCut(minimum, 24, metric ? TEXT("0") : TEXT("0.00"));
    StrCopyCut(maximum, 24, minimum);
  } else {
    LONG high = 0, low = 0;
    if (!FreeSizeGetLimits(ctx, tray, orientation, &high, &low, id <= 13274)) high = low = 0;
    FormatLimit(ctx, low, minimum, 24);
    FormatLimit(ctx, high, maximum, 24);
  }
  // The loaded text is a format with two text places, filled here by substitution: any other
  // '%' is plain text and never reads an argument.
  WCHAR format[kTextBufferChars];
  StrCopyCut(format, kTextBufferChars, buffer);
  buffer[0] = 0;
  Appender out(buffer, size);
  int filled = 0;
  WCHAR one[2] = {0, 0};
  for (const WCHAR* p = format; *p; ++p) {
    if (filled < 2 && p[0] == u'%' && p[1] == u's') {
      out.Put(filled++ == 0 ? minimum : maximum);
      ++p;
      continue;
    }
    one[0] = *p;
    out.Put(one);
  }
}

// The lead bytes of the double-byte code page the media names are kept in.
bool IsMediaLeadByte(BYTE b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The narrow name of custom media n (0-15) in place of the loaded text: at most size - 1 bytes
// of it, never the first byte of a double-byte character without its second. An empty name
// leaves the loaded text.
void CompleteCustomMediaName(DriverContext* ctx, UINT id, WCHAR* buffer, int size) {
  const int n = int(id - kFirstCustomMediaString);
  if (n < 0 || n >= kCustomMediaCount) return;
  const SettingItem* item = ItemFind(ctx, WORD(kItem_wdmCustomMedia1Name + n));
  const BYTE* stored = ItemStoragePtr(ctx, item);
  if (!stored) return;
  const int capacity = int(ItemDescSize(item->descriptor));
  char name[kTextBufferChars];
  int room = size - 1;
  if (room > capacity) room = capacity;
  if (room > kTextBufferChars - 1) room = kTextBufferChars - 1;
  int length = 0;
  while (length < room && stored[length]) {
    const int step = IsMediaLeadByte(stored[length]) ? 2 : 1;
    if (length + step > room) break;
    if (step == 2 && !stored[length + 1]) break;  // a lead byte without its trail ends the name
    for (int k = 0; k < step; ++k, ++length) name[length] = char(stored[length]);
  }
  name[length] = 0;
  if (!length) return;
  StrAnsiToWide(buffer, name, size);
}

}  // namespace

const StringCompletionRow* ResGetCompletionTable() { return Table().rows; }

void ResCompleteString(DriverContext* ctx, UINT id, WCHAR* buffer, int cchBuffer) {
  if (!buffer || cchBuffer <= 0) return;
  buffer[cchBuffer - 1] = 0;
  const StringCompletionRow* row = ResGetCompletionTable();
  while (row->stringId != 0 && row->stringId != id) ++row;
  switch (row->kind) {
    case kTrayName:
      CompleteTrayName(ctx, row->itemId, buffer, cchBuffer);
      break;
    case kCustomSize:
      CompleteCustomSize(ctx, id, buffer, cchBuffer);
      break;
    case kUnitName: {
      WCHAR unit[kUnitNameChars];
      LoadUnitName(ctx, unit);
      StrCopyCut(buffer, DWORD(cchBuffer), unit);
      break;
    }
    case kColorMatchName: {
      ResColorMatchNameEvent event = {id, buffer, DWORD(cchBuffer)};
      ModBusSendEvent(ctx, kModEventColorMatchName, &event);
      buffer[cchBuffer - 1] = 0;
      break;
    }
    case kSizeRange:
      CompleteSizeRange(ctx, id, buffer, cchBuffer);
      break;
    case kAsLoaded:
      // The custom media strings: names of the application interface's build, else as loaded.
      if (BuildGetVariant().completeCustomMediaNames) CompleteCustomMediaName(ctx, id, buffer, cchBuffer);
      break;
    default:  // no row
      break;
  }
}
