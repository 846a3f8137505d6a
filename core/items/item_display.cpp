// Display text of an item's current value.
#include "core/items/item_display.h"

#include "core/system/resources.h"
#include "core/common/text.h"
#include "core/front/control_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/items/units.h"
#include "core/front/dialog_records.h"

namespace {

enum : UINT {
  kStringUnknownValue = 96,
  kStringOn = 370,
  kStringOff = 371,
};

// Length items shown in display units carry this change class.
constexpr DWORD kDisplayLengthClass = 0x80000000;

// List values whose display string is another string: first id -> replacement id.
struct StringReplacement {
  WORD from;
  WORD to;
};

const StringReplacement kStringReplacements[] = {
    {2284, 261},    {2285, 262},    {2286, 263},    {2431, 1012},   {2435, 1013},
    {2436, 1014},   {2447, 1018},   {2448, 1019},   {2747, 1130},   {2746, 1131},
    {2745, 1132},   {2856, 1143},   {2857, 1144},   {2122, 60401},  {2126, 60402},
    {2127, 60403},  {2128, 60404},  {2481, 491},    {2565, 60405},  {2883, 13014},
    {2131, 60407},  {2132, 60405},  {2026, 13479},  {2027, 13480},  {2701, 13463},
    {2702, 13464},  {2514, 13467},  {2515, 13468},  {3087, 13469},  {3088, 13470},
    {2669, 92},     {2670, 13471},  {2671, 13472},  {2672, 92},     {2673, 13471},
    {2674, 13473},  {2184, 13474},  {2186, 13475},  {2185, 13476},  {2840, 13463},
    {2841, 13464},  {3053, 13477},  {3055, 13478},  {3197, 13537},  {3169, 13493},
    {3170, 13494},  {3171, 13495},  {2001, 13376},  {3217, 13644},  {3218, 13645},
    {3219, 13646},  {3220, 13647},  {3221, 13648},  {3222, 13649},  {3224, 13650},
    {3226, 13651},  {3228, 13652},
};
static_assert(sizeof kStringReplacements / sizeof kStringReplacements[0] == 57,
              "57 replacement pairs");

// Watermark kinds 1-3: character stamp, image stamp, combined.
const WCHAR kWmKindText1[] = {0x6587, 0x5B57, 0xFF7D, 0xFF80, 0xFF9D, 0xFF8C, 0xFF9F, 0};
const WCHAR kWmKindText2[] = {0xFF72, 0xFF92, 0xFF70, 0xFF7C, 0xFF9E, 0xFF7D,
                              0xFF80, 0xFF9D, 0xFF8C, 0xFF9F, 0};
const WCHAR kWmKindText3[] = {0x5408, 0x6210, 0};

// Watermark name controls of the kinds 1-3.
const WORD kWmNameControls[] = {2310, 2339, 2584};

// Appends to a caller's buffer of a fixed size; the text stays terminated and is cut where
// the buffer ends.
class BoundedText {
 public:
  BoundedText(WCHAR* buffer, int size) : buffer_(buffer), size_(size) {
    if (size_ > 0) buffer_[0] = 0;
  }
  int length() const { return length_; }
  WCHAR* end() { return buffer_ + length_; }
  int room() const { return size_ - length_; }
  void Put(WCHAR c) {
    if (length_ + 1 >= size_) return;
    buffer_[length_++] = c;
    buffer_[length_] = 0;
  }
  void Put(const WCHAR* text) {
    for (; text && *text; ++text) Put(*text);
  }
  void PutAscii(const char* text) {
    for (; *text; ++text) Put(static_cast<WCHAR>(*text));
  }
  void PutUnsigned(DWORD v) {
    char digits[12];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v != 0);
    while (n > 0) Put(static_cast<WCHAR>(digits[--n]));
  }
  void PutSigned(LONG v) {
    if (v < 0) {
      Put(u'-');
      PutUnsigned(0u - static_cast<DWORD>(v));
    } else {
      PutUnsigned(static_cast<DWORD>(v));
    }
  }
  // Takes over what a loader wrote at end() (it stays within room()).
  void Adopt() {
    while (length_ + 1 < size_ && buffer_[length_] != 0) ++length_;
    if (size_ > 0) buffer_[length_] = 0;
  }

 private:
  WCHAR* buffer_;
  int size_;
  int length_ = 0;
};

void LoadInto(DriverContext* ctx, UINT id, BoundedText& out) {
  if (out.room() <= 1) return;
  ResLoadString(ctx, id, out.end(), out.room(), 1);
  out.Adopt();
}

// Integers print as the item stores them: 32-bit unsigned items without a sign.
void PutItemNumber(const SettingItem* item, LONG_PTR value, BoundedText& out) {
  if (item && ((item->descriptor >> 24) & 0x3F) == 6)
    out.PutUnsigned(static_cast<DWORD>(value));
  else
    out.PutSigned(static_cast<LONG>(value));
}

}  // namespace

WORD ItemDisplayStringId(WORD value_id) {
  for (const StringReplacement& pair : kStringReplacements)
    if (pair.from == value_id) value_id = pair.to;
  return value_id;
}

int ItemFormatNumber(DriverContext* ctx, const SettingItem* item, LONG_PTR value,
                     WCHAR* buffer, int cchBuffer) {
  if (!buffer || cchBuffer <= 0) return 0;
  BoundedText out(buffer, cchBuffer);
  if (!item || !(item->changeClasses & kDisplayLengthClass)) {
    PutItemNumber(item, value, out);
    return out.length();
  }
  // 0.1 mm with one decimal, 0.01 inch with two; the decimal comma where the language has it.
  LONG shown = ItemDotsToDisplay(ctx, 0, static_cast<LONG>(value));
  StrFormatFixedPoint(buffer, cchBuffer, ItemIsMetricUnit(ctx) ? 10 : 100, shown, ItemLangUsesDecimalComma(ctx) ? TRUE : FALSE);
  out.Adopt();
  return out.length();
}

int ItemFormatValue(DriverContext* ctx, WORD symbol, WCHAR* buffer, int cchBuffer) {
  if (!buffer || cchBuffer <= 0) return 0;
  buffer[0] = 0;
  if (!ctx) return 0;
  return ItemFormatDescribedValue(ctx, ItemFindBySymbol(ctx, symbol),
                                  ModelFindDescriptorBySymbol(symbol, ctx), buffer, cchBuffer);
}

int ItemFormatDescribedValue(DriverContext* ctx, const SettingItem* item,
                             const ModelItemDescriptor* descriptor, WCHAR* buffer, int cchBuffer) {
  if (!buffer || cchBuffer <= 0) return 0;
  BoundedText out(buffer, cchBuffer);
  if (!ctx) return 0;
  LONG_PTR value = ItemGetValue(ctx, item);
  WORD type = descriptor ? static_cast<WORD>(descriptor->type & ~kModelTypeFlags & 0xFF) : 0;
  switch (type) {
    case 1:
    case 2:
      LoadInto(ctx, ItemDisplayStringId(static_cast<WORD>(value)), out);
      if (out.length() == 0) {
        out.PutSigned(static_cast<LONG>(value));
        out.PutAscii(" is not string-ID");
      }
      return out.length();
    case 4:
      LoadInto(ctx, value ? kStringOn : kStringOff, out);
      return out.length();
    case 8: {
      ItemFormatNumber(ctx, item, value, out.end(), out.room());
      out.Adopt();
      const NumericValueRecord* numeric =
          static_cast<const NumericValueRecord*>(descriptor->values);
      if (numeric && numeric->numbers[0] != 0) LoadInto(ctx, numeric->numbers[0], out);
      return out.length();
    }
    case 16:
      ItemGetTextBounded(ctx, item, buffer, cchBuffer);
      out.Adopt();
      return out.length();
    default:
      break;
  }
  WORD id = item ? item->id : 0;
  if (id == kItem_zdmWmKind) {
    if (value == 1) out.Put(kWmKindText1);
    else if (value == 2) out.Put(kWmKindText2);
    else if (value == 3) out.Put(kWmKindText3);
    else LoadInto(ctx, kStringUnknownValue, out);
  } else if (id == kItem_zdmWmID) {
    LONG_PTR kind = ItemGetValueById(ctx, kItem_zdmWmKind);
    if (kind >= 1 && kind <= 3) {
      const DlgControlRecord* control = CtlFind(ctx, nullptr, kWmNameControls[kind - 1]);
      if (control) ItemGetTextBounded(ctx, control->item, buffer, cchBuffer);
      out.Adopt();
    } else {
      LoadInto(ctx, kStringUnknownValue, out);
    }
  } else {
    PutItemNumber(item, value, out);
  }
  return out.length();
}

