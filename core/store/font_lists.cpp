// The font lists of the model description.
#include "core/store/font_lists.h"

#include "core/common/mem.h"
#include "core/common/text.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"

namespace {

// More rows than any description holds; keeps the block size far from overflowing.
constexpr DWORD kMaxRows = 0x10000;

template <typename Row>
Row* NewRows(LONG n) {
  if (n <= 0 || DWORD(n) > kMaxRows) return nullptr;
  return static_cast<Row*>(MemAllocZero(SIZE_T(n) * sizeof(Row)));
}

// Converts the whole name, then keeps the first kFontNameChars - 1 characters.
void CopyName(WCHAR (&out)[kFontNameChars], const char* narrow) { StrAnsiToWide(out, narrow, kFontNameChars); }

void SetCount(DWORD* count, DWORD n) {
  if (count) *count = n;
}

DeviceFontRecord* ListFonts(DriverContext* ctx, bool cartridges, DWORD* count) {
  SetCount(count, 0);
  const ModelImageHeader* image = ModelImageOfContext(ctx);
  if (!image) return nullptr;
  const LONG n = cartridges ? image->cartridgeCount : image->deviceFontCount;
  FontListEntry* const* entries = cartridges ? image->cartridges : image->deviceFonts;
  if (!entries) return nullptr;
  DeviceFontRecord* rows = NewRows<DeviceFontRecord>(n);
  if (!rows) return nullptr;
  for (LONG i = 0; i < n; ++i) {
    const FontListEntry* entry = entries[i];
    if (!entry) continue;
    rows[i].id = static_cast<DWORD>(entry->id);
    CopyName(rows[i].name, entry->name);
  }
  SetCount(count, DWORD(n));
  return rows;
}

// The first value entry with pairs of the first FontTbl descriptor, or null.
const FontTableValueRecord* FirstSubstitutionEntry(const ModelImageHeader* image) {
  for (const ModelItemDescriptor* d = image->descriptors; d; d = d->next) {
    if (d->type != kModelTypeFontTbl) continue;
    for (auto* v = static_cast<const FontTableValueRecord*>(d->values); v; v = v->next)
      if (v->pairCount > 0) return v;
    return nullptr;
  }
  return nullptr;
}

const char* NameAt(char* const* names, LONG i) { return names ? names[i] : nullptr; }

template <typename Row>
Row* Narrowed(Row* rows, DWORD n, WORD* count) {
  if (count) *count = 0;
  if (rows && n > kFontTableMaxCount) {
    MemFree(rows);
    return nullptr;
  }
  if (rows && count) *count = WORD(n);
  return rows;
}

}  // namespace

DeviceFontRecord* ModelListDeviceFonts(DriverContext* ctx, DWORD* count) { return ListFonts(ctx, false, count); }

DeviceFontRecord* ModelListFontCartridges(DriverContext* ctx, DWORD* count) { return ListFonts(ctx, true, count); }

FontSubstEntry* ModelListFontSubstitutions(DriverContext* ctx, DWORD* count) {
  SetCount(count, 0);
  const ModelImageHeader* image = ModelImageOfContext(ctx);
  if (!image) return nullptr;
  const FontTableValueRecord* entry = FirstSubstitutionEntry(image);
  if (!entry) return nullptr;
  FontSubstEntry* rows = NewRows<FontSubstEntry>(entry->pairCount);
  if (!rows) return nullptr;
  for (LONG i = 0; i < entry->pairCount; ++i) {
    CopyName(rows[i].face, NameAt(entry->faces, i));
    CopyName(rows[i].deviceFont, NameAt(entry->deviceFonts, i));
  }
  SetCount(count, DWORD(entry->pairCount));
  return rows;
}

DeviceFontRecord* StoreModelFontRecords(DriverContext* ctx, int cartridges, WORD* count) {
  DWORD n = 0;
  DeviceFontRecord* rows = cartridges ? ModelListFontCartridges(ctx, &n) : ModelListDeviceFonts(ctx, &n);
  return Narrowed(rows, n, count);
}

FontSubstEntry* StoreModelFontSubstTable(DriverContext* ctx, WORD* count) {
  DWORD n = 0;
  FontSubstEntry* rows = ModelListFontSubstitutions(ctx, &n);
  return Narrowed(rows, n, count);
}
