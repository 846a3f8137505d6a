// The settings summary module: composes the summary edits' text from their line list each
// time the engine shows them. Its notify and event callbacks are the ignoring ones.
#include "core/modules/summary_module.h"

#include <stdlib.h>

#include "core/common/window_ui.h"
#include "core/front/control_types.h"
#include "core/items/item_access.h"
#include "core/items/item_display.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/modules/module_rows.h"
#include "core/system/resources.h"

const WCHAR kSummaryMarker[] = {0x30FB, 0x30FB, 0x30FB, 0x30FB, 0x30FB, 'e', 't', 'c', 0};

#ifndef ES_MULTILINE
#define ES_MULTILINE 0x0004L
#endif

namespace {

constexpr int kMarkerChars = 8;
const WCHAR kCrLf[] = {'\r', '\n', 0};

// A label shown only while an item holds one of up to four values (-1 = no value).
struct SummaryFilterRow {
  WORD label;
  WORD item;
  LONG allowed[4];
};
const SummaryFilterRow kSummaryFilter[] = {
    {1148, kItem_zdmOSKind, {1, 2, -1, -1}},  // the bold enhancement needs the newer systems
};

// Appends into a text of fixed capacity, keeping room for the marker behind the content.
class SummaryText {
 public:
  SummaryText(WCHAR* text, int capacity) : text_(text), capacity_(capacity) { text_[0] = 0; }
  // Characters the content may still take: the terminator and the marker stay free.
  int Room() const {
    int room = capacity_ - 1 - kMarkerChars - length_;
    return room > 0 ? room : 0;
  }
  int Remaining() const { return capacity_ - 1 - length_; }
  void Put(const WCHAR* s) {
    for (int room = Room(); s && *s && room > 0; --room) text_[length_++] = *s++;
    text_[length_] = 0;
  }
  // The space a loader may write into (with its terminator), then the length it took.
  WCHAR* End() { return text_ + length_; }
  void Adopt() {
    const int limit = capacity_ - 1 - kMarkerChars;
    while (length_ < limit && text_[length_]) ++length_;
    text_[length_] = 0;
  }
  void PutMarker() {
    for (const WCHAR* s = kSummaryMarker; *s && length_ < capacity_ - 1; ++s) text_[length_++] = *s;
    text_[length_] = 0;
  }
  int Length() const { return length_; }

 private:
  WCHAR* text_;
  int capacity_;
  int length_ = 0;
};

LONG_PTR SymbolValue(DriverContext* ctx, WORD symbol) { return ItemGetValue(ctx, ItemFindBySymbol(ctx, symbol)); }

void PutSymbolText(DriverContext* ctx, WORD symbol, SummaryText& out) {
  if (!symbol || out.Room() <= 0) return;
  ItemFormatValue(ctx, symbol, out.End(), out.Room() + 1);
  out.Adopt();
}

void PutLine(DriverContext* ctx, const SummaryLine& line, SummaryText& out) {
  if (out.Room() > 0) {
    ResLoadString(ctx, line.label, out.End(), out.Room() + 1, TRUE);
    out.Adopt();
  }
  const bool condition_holds = line.condition == 0 || SymbolValue(ctx, line.condition) == 1;
  if (condition_holds && line.value)
    PutSymbolText(ctx, line.value, out);
  else
    PutSymbolText(ctx, line.condition, out);
}

// The text the control shows without a line list: its item's text when the item has a place
// in the settings, else what the window shows now.
void PlainText(DriverContext* ctx, const DlgControlRecord* control, HWND window, WCHAR* text, int capacity) {
  text[0] = 0;
  if (control->item && ItemDescArea(control->item->descriptor) != ItemAreaNone)
    ItemGetTextBounded(ctx, control->item, text, capacity);
  else if (window)
    WuiGetText(window, text, capacity);
}

void NewlineEscapes(WCHAR* text) {
  for (WCHAR* p = text; p[0] && p[1]; ++p) {
    if (p[0] == '\\' && p[1] == 'n') {
      p[0] = '\r';
      p[1] = '\n';
      ++p;
    }
  }
}

bool SameText(const WCHAR* a, const WCHAR* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

}  // namespace

int SummaryLineAccepted(DriverContext* ctx, WORD label) {
  for (const SummaryFilterRow& row : kSummaryFilter) {
    if (row.label != label) continue;
    const LONG value = static_cast<LONG>(ItemGetValueById(ctx, row.item));
    for (LONG allowed : row.allowed)
      if (allowed != -1 && allowed == value) return 1;
    return 0;
  }
  return 1;
}

int SummaryComposeLines(DriverContext* ctx, const SummaryLine* lines, int count, WCHAR* text, int capacity) {
  if (!text || capacity <= 0) return 0;
  SummaryText out(text, capacity);
  for (int i = 0; lines && i < count; ++i) {
    if (!SummaryLineAccepted(ctx, lines[i].label)) continue;
    PutLine(ctx, lines[i], out);
    if (i + 1 < count) out.Put(kCrLf);
    if (out.Remaining() < kSummaryReserve) {
      out.PutMarker();
      break;
    }
  }
  return out.Length();
}

void SummaryComposeText(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  if (!ctx || !control) return;
  const CtlExtPicture* ext = reinterpret_cast<const CtlExtPicture*>(CtlGetExtension(control, kCtlExtPicture));
  const bool has_lines = ext && ext->lines && ext->lineCount > 0;
  const int capacity = has_lines ? kSummaryCapacityLines : kSummaryCapacityPlain;
  WCHAR* text = static_cast<WCHAR*>(calloc(capacity, sizeof(WCHAR)));
  WCHAR* shown = static_cast<WCHAR*>(calloc(capacity, sizeof(WCHAR)));
  if (text && shown) {
    HWND window = CtlChoiceWindow(page, control);
    if (has_lines)
      SummaryComposeLines(ctx, static_cast<const SummaryLine*>(ext->lines), ext->lineCount, text, capacity);
    else
      PlainText(ctx, control, window, text, capacity);
    if (window && (WuiGetStyle(window) & ES_MULTILINE)) NewlineEscapes(text);
    if (window) {
      WuiGetText(window, shown, capacity);
      if (!SameText(text, shown)) WuiSetText(window, text);
    }
  }
  free(text);
  free(shown);
}

int SummaryControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM, LPARAM) {
  if (!control || message != WM_PAINT) return 0;
  if ((page->dialogId == kSummaryPage && control->controlId == kSummaryControl) ||
      (page->dialogId == kSummaryStatusPage && control->controlId == kSummaryStatusControl))
    SummaryComposeText(ctx, page, control);
  return 0;
}

int SummaryHandleControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                         WPARAM wParam, LPARAM lParam, void*) {
  if (!page || (page->dialogId != kSummaryPage && page->dialogId != kSummaryStatusPage)) return 0;
  return SummaryControl(ctx, page, control, message, wParam, lParam);
}
