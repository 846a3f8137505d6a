// Page-list texts into chapter entries, and their merge into the chapter array.
#include "core/modules/page_list.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"

namespace {

constexpr int kNoMemory = 1;
constexpr int kNumberDigits = 5;  // 30000 is the highest page

LONG Raw(DriverContext* ctx, WORD id) { return static_cast<LONG>(ItemGetRawById(ctx, id)); }

// The number of text[from, to): digits only, at most five of them; -1 otherwise (an empty
// field included, which the rules read as the refused page 0).
LONG ReadNumber(const WCHAR* text, int from, int to) {
  if (to <= from || to - from > kNumberDigits) return -1;
  LONG value = 0;
  for (int i = from; i < to; ++i) {
    if (text[i] < u'0' || text[i] > u'9') return -1;
    value = value * 10 + (text[i] - u'0');
  }
  return value;
}

bool ValidPage(LONG page) { return page >= 1 && page <= kChapterPageMax; }

void FormatEntry(PageListEntry* e) {
  WCHAR digits[8];
  int n = 0;
  auto put = [&](LONG v) {
    int k = 0;
    do {
      digits[k++] = static_cast<WCHAR>(u'0' + v % 10);
      v /= 10;
    } while (v && k < 7);
    while (k > 0 && n < 15) e->text[n++] = digits[--k];
  };
  put(e->first);
  if (e->last != e->first) {
    e->text[n++] = u'-';
    put(e->last);
  }
  e->text[n] = 0;
}

bool Listed(const PageList* list, WORD first, WORD last) {
  for (int i = 0; i < list->count; ++i)
    if (list->entries[i].first == first && list->entries[i].last == last) return true;
  return false;
}

// Adds an entry unless it is listed; kPageListTooMany past the limit or the buffer.
int Add(PageList* list, DWORD limit, WORD first, WORD last, bool keepText) {
  if (Listed(list, first, last)) return kPageListOk;
  if (list->count >= kPageListEntries || static_cast<DWORD>(list->count) >= limit) return kPageListTooMany;
  PageListEntry& e = list->entries[list->count++];
  e.first = first;
  e.last = last;
  if (keepText) FormatEntry(&e);
  return kPageListOk;
}

void ShellSort(PageList* list) {
  for (int gap = list->count / 2; gap > 0; gap /= 2)
    for (int i = gap; i < list->count; ++i) {
      const PageListEntry moving = list->entries[i];
      int j = i;
      for (; j >= gap && list->entries[j - gap].first > moving.first; j -= gap) list->entries[j] = list->entries[j - gap];
      list->entries[j] = moving;
    }
}

// The pages a record covers: a range record's text "f-d", otherwise its page.
void RecordSpan(const ChapterRecord& r, LONG* first, LONG* last) {
  *first = *last = r.page;
  if (r.kind != kChapterKindRange) return;
  int dash = -1;
  for (int i = 0; i < 15 && r.range[i]; ++i)
    if (r.range[i] == u'-') dash = i;
  if (dash < 0) return;
  int end = dash + 1;
  while (end < 15 && r.range[end]) ++end;
  const LONG d = ReadNumber(r.range, dash + 1, end);
  if (d >= r.page) *last = d;
}

bool Intersect(LONG f, LONG d, LONG e, LONG g) { return !(g < f || e > d); }

// 1 when a new entry may not join a list holding record r.
bool Overlaps(const ChapterRecord& r, const PageListEntry& e, bool newIsRange) {
  LONG f = 0, d = 0;
  RecordSpan(r, &f, &d);
  if (r.kind == kChapterKindRange) return Intersect(f, d, e.first, e.last);
  return newIsRange && f >= e.first && f <= e.last;
}

}  // namespace

int PageListParse(const WCHAR* text, int kind, DWORD limit, PageList* list) {
  if (!list) return kPageListBadPage;
  memset(list, 0, sizeof(*list));
  if (!text) return kPageListOk;
  WCHAR buffer[kPageListTextChars] = {};
  int length = 0;
  while (length < kPageListTextChars - 1 && text[length]) {
    buffer[length] = text[length];
    ++length;
  }
  for (int i = 0; i < length; ++i) {
    const WCHAR c = buffer[i];
    if (!((c >= u'0' && c <= u'9') || c == u',' || c == u'-')) return kPageListBadCharacter;
  }
  const bool keepRanges = kind == kChapterKindRange;
  int from = 0;
  while (from < length) {
    int to = from;
    while (to < length && buffer[to] != u',') ++to;
    // Only a ',' at the very end closes nothing; every other empty field is the page 0.
    int dash = -1, dashes = 0;
    for (int i = from; i < to; ++i)
      if (buffer[i] == u'-') {
        if (dash < 0) dash = i;
        ++dashes;
      }
    if (dashes == 0) {
      const LONG page = ReadNumber(buffer, from, to);
      if (!ValidPage(page)) return kPageListBadPage;
      const int added = Add(list, limit, static_cast<WORD>(page), static_cast<WORD>(page), keepRanges);
      if (added != kPageListOk) return added;
    } else {
      if (dashes > 1) return kPageListBadPage;
      LONG a = ReadNumber(buffer, from, dash), b = ReadNumber(buffer, dash + 1, to);
      if (!ValidPage(a) || !ValidPage(b)) return kPageListBadPage;
      if (a > b) {
        const LONG t = a;
        a = b;
        b = t;
      }
      if (keepRanges) {
        const int added = Add(list, limit, static_cast<WORD>(a), static_cast<WORD>(b), true);
        if (added != kPageListOk) return added;
      } else {
        for (LONG page = a; page <= b; ++page) {
          const int added = Add(list, limit, static_cast<WORD>(page), static_cast<WORD>(page), false);
          if (added != kPageListOk) return added;
        }
      }
    }
    from = to + 1;
  }
  ShellSort(list);
  return kPageListOk;
}

int PageListMerge(DriverContext* ctx, const PageList* list) {
  if (!list) return kPageListBadPage;
  DWORD records = 0;
  ChapterRecord* array = ChapterArray(ctx, &records);
  if (!array || records == 0) return kNoMemory;
  const DWORD limit = ChapterLimit(ctx) < records - 1 ? ChapterLimit(ctx) : records - 1;
  LONG count = ChapterGetCount(ctx);
  if (count < 0) count = 0;
  if (static_cast<DWORD>(count) > limit) count = static_cast<LONG>(limit);
  const BYTE kind = static_cast<BYTE>(Raw(ctx, kItem_wdmChapterKind));
  const bool ranges = kind == kChapterKindRange;
  const bool coverFront = Raw(ctx, kItem_zdmFuncSelectCover) != 0 && Raw(ctx, kItem_zdmCoverType) != 1;

  for (int j = 0; j < list->count; ++j) {
    const PageListEntry& e = list->entries[j];
    for (LONG i = 0; i < count; ++i)
      if (Overlaps(array[i], e, ranges)) return kPageListOverlap;
    for (int k = 0; ranges && k < j; ++k)
      if (Intersect(list->entries[k].first, list->entries[k].last, e.first, e.last)) return kPageListOverlap;
    if (ranges && e.first == 1 && coverFront) return kPageListCoverClash;
  }

  auto* old = static_cast<ChapterRecord*>(MemAllocZero(sizeof(ChapterRecord) * records));
  if (!old) return kNoMemory;
  memcpy(old, array, sizeof(ChapterRecord) * records);
  int result = kPageListOk;
  DWORD written = 0;
  LONG i = 0;
  int j = 0;
  // Both inputs ascend, so the pass ends after count + list->count steps at most.
  while (i < count || j < list->count) {
    if (written >= limit) {
      result = kPageListTooMany;
      break;
    }
    if (j < list->count) {
      const PageListEntry& e = list->entries[j];
      if (written > 0 && array[written - 1].page == e.first) {
        ++j;
        continue;
      }
      if (i >= count || old[i].page >= e.first) {
        if (i < count && old[i].page == e.first) ++i;
        ChapterRecord& r = array[written++];
        memset(&r, 0, sizeof(r));
        r.page = e.first;
        r.kind = kind;
        if (kind == 0 || ranges) {
          r.tray = static_cast<WORD>(Raw(ctx, kItem_wdmChapterTray));
          r.print = static_cast<BYTE>(Raw(ctx, kItem_wdmChapterPrint));
        }
        if (ranges) memcpy(r.range, e.text, sizeof(r.range));
        ++j;
        continue;
      }
    }
    array[written++] = old[i++];
  }
  for (DWORD n = written; n < records; ++n) memset(&array[n], 0, sizeof(ChapterRecord));

  if (result == kPageListOk) {
    DWORD seen = 0;
    LONG distinct = 0;
    for (DWORD n = 0; n < written; ++n) {
      if (array[n].kind != 0) continue;
      const DWORD bit = 1u << (ChapterRecordTrayNumber(ctx, array[n].tray) % 32);
      if (!(seen & bit)) ++distinct;
      seen |= bit;
    }
    if (distinct > Raw(ctx, kItem_wdmChapterTrayMax)) result = kPageListTooManyTrays;
    for (DWORD a = 0; result == kPageListOk && a < written; ++a)
      for (DWORD b = 0; b < written; ++b)
        if (array[a].print == 2 && array[b].print == 1 && array[a].tray == array[b].tray) {
          result = kPageListPrintClash;
          break;
        }
  }
  if (result != kPageListOk) {
    memcpy(array, old, sizeof(ChapterRecord) * records);
  } else {
    ItemSetRawById(ctx, kItem_wdmChapterNum, static_cast<LONG_PTR>(written));
    ChapterTraySummary(ctx);
  }
  MemFree(old);
  return result;
}

int PageListImport(DriverContext* ctx, const WCHAR* text) {
  auto* list = static_cast<PageList*>(MemAllocZero(sizeof(PageList)));
  if (!list) return kNoMemory;
  int result = PageListParse(text, static_cast<int>(Raw(ctx, kItem_wdmChapterKind)), ChapterLimit(ctx), list);
  if (result == kPageListOk) result = PageListMerge(ctx, list);
  MemFree(list);
  return result;
}

int ChapterDeleteOne(DriverContext* ctx, LONG index) {
  DWORD records = 0;
  ChapterRecord* array = ChapterArray(ctx, &records);
  if (!array || records == 0) return 1;
  LONG count = ChapterGetCount(ctx);
  if (count > static_cast<LONG>(records - 1)) count = static_cast<LONG>(records - 1);
  if (index < 0 || index >= count) return 1;
  ctx->ui->chapterNotedCount = ChapterGetCount(ctx);
  memmove(&array[index], &array[index + 1], sizeof(ChapterRecord) * static_cast<DWORD>(count - index - 1));
  memset(&array[count - 1], 0, sizeof(ChapterRecord));
  LONG used = 0;
  while (used < count && array[used].page != 0) ++used;
  ItemSetRawById(ctx, kItem_wdmChapterNum, used);
  return 0;
}

void ChapterDeleteAll(DriverContext* ctx) {
  DWORD records = 0;
  ChapterRecord* array = ChapterArray(ctx, &records);
  if (!array) return;
  ctx->ui->chapterNotedCount = ChapterGetCount(ctx);
  memset(array, 0, sizeof(ChapterRecord) * records);
  ItemSetRawById(ctx, kItem_wdmChapterNum, 0);
}
