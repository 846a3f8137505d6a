// The command-list walk of the job header, page header and page end. Each block's text is built
// once into a growing buffer; its length is what the block head announces.
//
// Values that come from the settings, the user, the system or the resources are cleaned on the
// way in ('"' as an apostrophe, control bytes as blanks), so that no value can end a quoted PJL
// value or a line early; the model's own prefix, suffix and list texts stay as written.
#include "gr2k/job_header.h"

#include <stdio.h>
#include <string.h>

#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/item_values.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/modules/chapter_records.h"
#include "core/rules/judge_eval.h"
#include "core/store/font_tables.h"
#include "core/system/driver_paths.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"

namespace {

constexpr int kMaxPathBytes = 260;

// Header special kinds of the item table.
enum : WORD {
  kSpecialDate = 1,
  kSpecialDots = 2,
  kSpecialNames = 3,
  kSpecialSettingsPath = 5,
  kSpecialLogFile = 6,
  kSpecialLogDll = 7,
  kSpecialDialNumber = 8,
  kSpecialShiftX = 9,
  kSpecialShiftY = 10,
  kSpecialChapters = 11,
  kSpecialDriverDir = 12,
  kSpecialTextTable = 13,
};

void AppendBytes(HeaderWalk* w, const char* bytes, size_t cb) {
  if (!cb || cb > 0x7FFFFFF0u) return;
  if (PjlTextReserve(w->out, int(cb)) != 0) {
    w->lost = true;
    return;
  }
  memcpy(w->out->data + w->out->length, bytes, cb);
  w->out->length += int(cb);
  w->out->data[w->out->length] = 0;
}

void AppendModel(HeaderWalk* w, const char* text) {
  if (text) AppendBytes(w, text, strlen(text));
}

// Wide text as ANSI into out (cbOut bytes, terminated); the bytes written without the NUL.
int ToAnsi(const WCHAR* text, char* out, int cbOut) {
  out[0] = 0;
  if (!text || !text[0] || cbOut < 2) return 0;
  int n = WideCharToMultiByte(CP_ACP, 0, text, -1, out, cbOut, nullptr, nullptr);
  if (n <= 0) {
    // Too long for the buffer: the part that fits.
    n = WideCharToMultiByte(CP_ACP, 0, text, int(JobWideLength(text, size_t(cbOut) - 1)), out, cbOut - 1, nullptr, nullptr);
    if (n < 0) n = 0;
    out[n] = 0;
    return n;
  }
  return int(strlen(out));
}

const char* PrefixOf(const ModelItemDescriptor* d) { return d && d->commands ? d->commands->first : nullptr; }
const char* SuffixOf(const ModelItemDescriptor* d) { return d && d->commands ? d->commands->second : nullptr; }

// The text of a list choice (every list record has its text at the same place).
const char* ChoiceText(const void* choice) { return static_cast<const ListValueRecord*>(choice)->command; }

// The first choice whose value is value; null when none.
const void* FindChoice(const ModelItemDescriptor* d, WORD value) {
  if (!d || !(d->type & 0x0003)) return nullptr;
  for (const void* c = d->values; c; c = ModelNextChoice(d, c))
    if (ModelChoiceValue(d, c, nullptr) == value) return c;
  return nullptr;
}

// The choice at a place of the list; null past its end.
const void* ChoiceAt(const ModelItemDescriptor* d, WORD index) {
  const void* c = d->values;
  for (WORD i = 0; c && i < index; ++i) c = ModelNextChoice(d, c);
  return c;
}

// The item's text as ANSI into out (cbOut bytes), bounded by the item's size.
int ItemTextAnsi(DriverContext* ctx, const SettingItem* item, char* out, int cbOut) {
  out[0] = 0;
  UINT type = ItemDescType(item->descriptor);
  if (!ItemTypeIsText(type) || !ctx->settings) return 0;
  UINT size = ItemDescSize(item->descriptor);
  const BYTE* value = ItemStorageIn(ctx->settings, item);
  if (!value) return 0;
  if (ItemTypeIsWideText(type)) {
    WCHAR wide[1024];
    size_t chars = size / sizeof(WCHAR);
    if (chars >= 1024) chars = 1023;
    memcpy(wide, value, chars * sizeof(WCHAR));
    wide[chars] = 0;
    return ToAnsi(wide, out, cbOut);
  }
  size_t n = strnlen(reinterpret_cast<const char*>(value), size);
  if (n >= size_t(cbOut)) n = size_t(cbOut) - 1;
  memcpy(out, value, n);
  out[n] = 0;
  return int(n);
}

void WriteDecimal(HeaderWalk* w, const ModelItemDescriptor* d, long long v) {
  char text[24];
  snprintf(text, sizeof text, "%lld", v);
  JobWriteCommandText(w, d, text);
}

const NumericValueRecord* NumericOf(const ModelItemDescriptor* d) {
  return ModelValueShapeOf(d->type) == kModelShapeNumeric ? static_cast<const NumericValueRecord*>(d->values)
                                                          : nullptr;
}

// value x multiplier x output resolution / (divisor x 1200), in 64 bits; false for a divisor 0.
bool Dots(HeaderWalk* w, const ModelItemDescriptor* d, LONG value, long long* out) {
  const NumericValueRecord* r = NumericOf(d);
  long long mul = r ? r->numbers[4] : 1, div = r ? r->numbers[5] : 1;
  if (div == 0) return false;
  long long res = ItemGetRawById(w->ctx, kItem_zdmDstResolutionW);
  *out = static_cast<long long>(value) * mul * res / (div * 1200);
  return true;
}

void ReadClock(HeaderWalk* w) {
  if (w->clockRead) return;
  GetLocalTime(&w->clock);
  w->clockRead = true;
}

const char* LogName(HeaderWalk* w) {
  if (!w->logRead) w->logRead = GrReadLogFileName(w->ctx, w->logName, sizeof w->logName, w->ctx->printer) ? 1 : -1;
  return w->logRead > 0 ? w->logName : nullptr;
}

void QuotedName(HeaderWalk* w, const WCHAR* name, char* out) {
  char ansi[kMaxPathBytes + 1];
  out[0] = 0;
  if (ToAnsi(name, ansi, sizeof ansi) == 0) return;
  // Cleaned before the quotes go round it.
  size_t n = strlen(ansi);
  out[0] = '"';
  for (size_t i = 0; i < n; ++i) out[i + 1] = ansi[i] == '"' ? '\'' : (BYTE(ansi[i]) < 0x20 ? ' ' : ansi[i]);
  out[n + 1] = '"';
  out[n + 2] = 0;
}

// ---- the font lines ----

void DeviceFontLine(HeaderWalk* w) {
  LONG count = LONG(ItemGetRawById(w->ctx, kItem_zdmDeviceFontNum));
  const DeviceFontRecord* table = reinterpret_cast<const DeviceFontRecord*>(ItemGetRawById(w->ctx, kItem_zdmDeviceFont));
  if (count <= 0 || !table) return;
  if (DWORD(count) > kFontTableMaxCount) count = LONG(kFontTableMaxCount);
  AppendModel(w, "@PJL SET DEVFONTID = \"");
  for (LONG i = 0; i < count; ++i) {
    WORD id = WORD(table[i].id & 0xFFFF);
    if (id == 0xFFFF) continue;
    char text[16];
    snprintf(text, sizeof text, "%u+", unsigned(id));
    AppendModel(w, text);
    WCHAR name[kFontNameChars + 1];
    memcpy(name, table[i].name, sizeof table[i].name);
    name[kFontNameChars] = 0;
    char ansi[kFontNameChars + 1];
    int n = ToAnsi(name, ansi, sizeof ansi);
    JobAppendValue(w, ansi, size_t(n));
    AppendModel(w, "/");
  }
  // The last character written (the opening quote when no record was usable) gives way to the
  // line's end.
  w->out->length--;
  AppendModel(w, "\" \r\n");
}

void FontSubstLine(HeaderWalk* w) {
  LONG count = LONG(ItemGetRawById(w->ctx, kItem_zdmFontTableNum));
  const FontSubstEntry* table = reinterpret_cast<const FontSubstEntry*>(ItemGetRawById(w->ctx, kItem_zdmFontTable));
  if (count <= 0 || !table) return;
  if (DWORD(count) > kFontTableMaxCount) count = LONG(kFontTableMaxCount);
  AppendModel(w, "@PJL SET SUBFONTTABLE = \"");
  for (LONG i = 0; i < count; ++i) {
    for (int half = 0; half < 2; ++half) {
      WCHAR name[kFontNameChars + 1];
      memcpy(name, half ? table[i].deviceFont : table[i].face, kFontNameChars * sizeof(WCHAR));
      name[kFontNameChars] = 0;
      char ansi[kFontNameChars * 2 + 1];
      int n = ToAnsi(name, ansi, sizeof ansi);
      JobAppendValue(w, ansi, size_t(n));
      AppendModel(w, half ? "/" : "+");
    }
  }
  w->out->length--;
  AppendModel(w, "\" \r\n");
}

// ---- the chapter lines ----

struct ChapterTray {
  WORD tray;
  BYTE print;
};

void ChapterLine(HeaderWalk* w, const char* key, int n, const char* value) {
  char name[48];
  snprintf(name, sizeof name, "%s%d", key, n);
  JobWritePjlSetLine(w, name, value);
}

void ChapterNumberLine(HeaderWalk* w, const char* key, int n, DWORD value) {
  char text[16];
  snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(value));
  ChapterLine(w, key, n, text);
}

// The text of a tray value in wdmChapterTray's description.
const char* TrayText(HeaderWalk* w, WORD tray) {
  const ModelItemDescriptor* d = ModelFindDescriptor(kItem_wdmChapterTray, w->ctx);
  if (!d) return nullptr;
  int base = ModelGetBaseType(w->ctx, kItem_wdmChapterTray);
  if (base == 1) {
    SettingItem* item = ItemFind(w->ctx, kItem_wdmChapterTray);
    WORD logical = item ? WORD(ItemMapValue(w->ctx, item, tray)) : tray;
    const void* c = FindChoice(d, logical);
    return c ? ChoiceText(c) : nullptr;
  }
  if (base == 4 && d->values) {
    const BooleanValueRecord* b = static_cast<const BooleanValueRecord*>(d->values);
    return tray ? b->trueCommand : b->falseCommand;
  }
  return nullptr;
}

// A page range "n" or "n-m", digits only, each at most the largest page number; false for
// anything else.
bool ParseRange(const WCHAR* range, DWORD* start, DWORD* end) {
  DWORD v[2] = {0, 0};
  int part = 0, digits = 0;
  for (int i = 0; i < 16; ++i) {
    WCHAR c = range[i];
    if (c >= u'0' && c <= u'9') {
      v[part] = v[part] * 10 + DWORD(c - u'0');
      if (v[part] > kChapterPageMax) return false;
      ++digits;
    } else if (c == u'-' && part == 0 && digits) {
      part = 1;
      digits = 0;
    } else if (c == 0) {
      if (!digits) return false;
      *start = v[0];
      *end = part ? v[1] : v[0];
      return true;
    } else {
      return false;
    }
  }
  return false;
}

void ChapterLines(HeaderWalk* w) {
  DriverContext* ctx = w->ctx;
  LONG n = LONG(ItemGetRawById(ctx, kItem_wdmChapterNum));
  LONG t = LONG(ItemGetRawById(ctx, kItem_wdmChapterTrayMax));
  if (n <= 0 || t <= 0) return;
  DWORD records = 0;
  if (!ChapterArray(ctx, &records)) return;
  if (DWORD(n) > records) n = LONG(records);
  ChapterTray trays[kChapterPageMax > 64 ? 64 : kChapterPageMax];
  int count = 0;
  for (LONG i = 0; i < n; ++i) {
    const ChapterRecord* r = ChapterGetRecord(ctx, i);
    if (!r || (r->kind != 0 && r->kind != kChapterKindRange)) continue;
    int at = -1;
    for (int k = 0; k < count; ++k)
      if (trays[k].tray == r->tray) at = k;
    if (at >= 0) {
      if (r->print) trays[at].print = r->print;
    } else if (count < int(sizeof trays / sizeof trays[0])) {
      trays[count++] = {r->tray, r->print};
    }
  }
  if (t > count) t = count;
  bool duplex = ItemGetRawById(ctx, kItem_zdmFuncSelectDuplex) != 0;
  for (int i = 0; i < t; ++i) {
    ChapterLine(w, "CHAPTERPRINTTRAY", i + 1, TrayText(w, trays[i].tray));
    ChapterLine(w, "CHAPTERPRINTDUPLEX", i + 1, duplex && trays[i].print == 1 ? "ON" : "OFF");
  }
  for (LONG i = 0; i < n; ++i) {
    const ChapterRecord* r = ChapterGetRecord(ctx, i);
    if (!r) continue;
    int number = int(i + 1);
    int place = int(t) + 1;
    for (int k = 0; k < count; ++k)
      if (trays[k].tray == r->tray) {
        place = k + 1;
        break;
      }
    char trayKey[32];
    snprintf(trayKey, sizeof trayKey, "CHAPTERPRINTTRAY%d", place);
    if (r->kind != kChapterKindRange) ChapterNumberLine(w, "CHAPTERPAGENUMBER", number, r->page);
    if (r->kind == kChapterKindRange) {
      DWORD start = 0, end = 0;
      if (ParseRange(r->range, &start, &end)) {
        ChapterNumberLine(w, "CHAPTERPAGESTART", number, start);
        ChapterNumberLine(w, "CHAPTERPAGEEND", number, end);
      }
      ChapterLine(w, "CHAPTERPAGETRAY", number, trayKey);
    } else if (r->kind == 0) {
      ChapterLine(w, "CHAPTERPAGE", number, r->print == 1 || r->print == 2 ? "COPY" : "BLANK");
      ChapterLine(w, "CHAPTERPAGETRAY", number, trayKey);
    } else {
      ChapterLine(w, "CHAPTERPAGE", number, "BREAK");
    }
  }
}

// ---- option commands ----

void ValueKind(HeaderWalk* w, const ModelItemDescriptor* d, SettingItem* item) {
  DriverContext* ctx = w->ctx;
  WORD type = WORD(d->type & ~kOptionAnyIndex);
  switch (type) {
    case kModelTypePickOne:
    case kModelTypePickPage:
    case kModelTypePickSlot:
    case kModelTypeFontTbl: {
      const void* c = FindChoice(d, WORD(ItemGetValue(ctx, item)));
      // The font-table item holds the substitution table itself, which came from the model's
      // default entry: that entry is the one in force.
      if (!c && type == kModelTypeFontTbl) c = ChoiceAt(d, d->defaultValue);
      const char* text = c ? ChoiceText(c) : nullptr;
      if (!text || !text[0]) return;
      AppendModel(w, PrefixOf(d));
      AppendModel(w, text);
      AppendModel(w, SuffixOf(d));
      if (type == kModelTypeFontTbl && static_cast<const FontTableValueRecord*>(c)->pairCount != 0) FontSubstLine(w);
      return;
    }
    case kModelTypeBoolean: {
      const BooleanValueRecord* b = static_cast<const BooleanValueRecord*>(d->values);
      const char* text = b ? (ItemGetRaw(ctx, item) ? b->trueCommand : b->falseCommand) : nullptr;
      if (!text) return;
      AppendModel(w, PrefixOf(d));
      AppendModel(w, text);
      AppendModel(w, SuffixOf(d));
      return;
    }
    case kModelTypeNumeric: {
      const NumericValueRecord* r = NumericOf(d);
      unsigned long long mul = r ? r->numbers[4] : 1, div = r ? r->numbers[5] : 1;
      if (div == 0) return;
      unsigned long long v = static_cast<unsigned long long>(DWORD(ItemGetRaw(ctx, item))) * mul / div;
      char text[24];
      snprintf(text, sizeof text, "%llu", v);
      AppendModel(w, PrefixOf(d));
      AppendModel(w, text);
      AppendModel(w, SuffixOf(d));
      return;
    }
    case kModelTypeString: {
      char text[1024];
      if (ItemTextAnsi(ctx, item, text, sizeof text) > 0) JobWriteCommandText(w, d, text);
      return;
    }
    default:
      return;
  }
}

void SpecialKind(HeaderWalk* w, WORD kind, const ModelItemDescriptor* d, SettingItem* item) {
  DriverContext* ctx = w->ctx;
  switch (kind) {
    case kSpecialDate: {
      ReadClock(w);
      char text[48];
      snprintf(text, sizeof text, "@PJL SET DATE = \"%04u/%02u/%02u\" \r\n", unsigned(w->clock.wYear) % 10000u,
               unsigned(w->clock.wMonth) % 100u, unsigned(w->clock.wDay) % 100u);
      AppendModel(w, text);
      snprintf(text, sizeof text, "\"%02u:%02u:%02u\"", unsigned(w->clock.wHour) % 100u,
               unsigned(w->clock.wMinute) % 100u, unsigned(w->clock.wSecond) % 100u);
      AppendModel(w, PrefixOf(d));
      AppendModel(w, text);
      AppendModel(w, SuffixOf(d));
      return;
    }
    case kSpecialDots:
    case kSpecialShiftX:
    case kSpecialShiftY: {
      long long v = 0;
      if (!Dots(w, d, LONG(ItemGetRaw(ctx, item)), &v)) return;
      LONG dir = LONG(ItemGetRawById(ctx, kItem_zdmShiftDir));
      if ((kind == kSpecialShiftX && (dir == 2 || dir == 4)) || (kind == kSpecialShiftY && (dir == 3 || dir == 4))) v = -v;
      WriteDecimal(w, d, v);
      return;
    }
    case kSpecialNames: {
      char quoted[kMaxPathBytes + 3];
      QuotedName(w, PrnGetDriverName(ctx), quoted);
      if (quoted[0]) {
        AppendModel(w, "@PJL SET ZEMSDRIVERNAME = ");
        AppendModel(w, quoted);
        AppendModel(w, " \r\n");
      }
      QuotedName(w, PrnGetPrinterName(ctx), quoted);
      if (quoted[0]) {
        AppendModel(w, PrefixOf(d));
        AppendModel(w, quoted);
        AppendModel(w, SuffixOf(d));
      }
      return;
    }
    case kSpecialSettingsPath: {
      // The path escape 121 handed over stands; otherwise the printer's own.
      const WCHAR* path = ctx->ui && ctx->ui->settingsFilePath[0] ? ctx->ui->settingsFilePath : PathSettingsFile(ctx);
      char ansi[kMaxPathBytes + 1];
      ToAnsi(path, ansi, sizeof ansi);
      JobWriteCommandText(w, d, ansi);
      return;
    }
    case kSpecialLogFile:
    case kSpecialLogDll: {
      const char* name = LogName(w);
      if (!name) {
        JobWriteCommandText(w, d, nullptr);
        return;
      }
      char text[MAX_PATH + 1];
      snprintf(text, sizeof text, "%s", name);
      size_t n = strlen(text);
      if (kind == kSpecialLogDll && n > 3) memcpy(text + n - 3, "DLL", 3);
      JobWriteCommandText(w, d, text);
      return;
    }
    case kSpecialDialNumber: {
      char text[1024];
      int n = ItemTextAnsi(ctx, item, text, sizeof text);
      int k = 0;
      for (int i = 0; i < n; ++i)
        if (text[i] != '-' && text[i] != '(' && text[i] != ')') text[k++] = text[i];
      text[k] = 0;
      JobWriteCommandText(w, d, text);
      return;
    }
    case kSpecialChapters: {
      ValueKind(w, d, item);
      if (ItemGetRaw(ctx, item)) ChapterLines(w);
      return;
    }
    case kSpecialDriverDir: {
      char ansi[kMaxPathBytes + 1];
      ToAnsi(PathGetDriverDir(ctx), ansi, sizeof ansi);
      JobWriteCommandText(w, d, ansi);
      return;
    }
    case kSpecialTextTable: {
      const void* c = FindChoice(d, WORD(ItemGetValue(ctx, item)));
      const char* own = c ? ChoiceText(c) : nullptr;
      if (!own || !own[0]) return;
      WCHAR text[kHelpStringChars];
      if (!JobTextTableText(ctx, ModelChoiceValue(d, c, nullptr), text)) {
        AppendModel(w, PrefixOf(d));
        AppendModel(w, own);
        AppendModel(w, SuffixOf(d));
        return;
      }
      char ansi[kHelpStringChars * 2];
      ToAnsi(text, ansi, sizeof ansi);
      JobWriteCommandText(w, d, ansi);
      return;
    }
    default:
      return;
  }
}

int ItemEntry(HeaderWalk* w, const ItemCommandNode* node) {
  const ModelItemDescriptor* d = OptionCommandFind(node->head.symbolId, node->number, w->ctx);
  SettingItem* item = d ? ItemFind(w->ctx, d->itemId) : nullptr;
  if (!item) return -1;
  if (d->type & kModelTypeUnknown) return 0;
  WORD kind = item->specialCode;
  if (kind == 101 || kind == 102) {
    SelectColorDataFile(w, kind, d, node->number);
    return 0;
  }
  if (kind && kind != 4 && kind <= kSpecialTextTable)
    SpecialKind(w, kind, d, item);
  else
    ValueKind(w, d, item);
  return 0;
}

int WalkList(HeaderWalk* w, const CommandNode* node, int depth) {
  int result = 0;
  // The stored image never nests deeper; a deeper list is refused like an unknown entry.
  if (depth > 64) return -1;
  for (const CommandNode* n = node; n; n = n->next) {
    int before = w->out->length;
    switch (n->kind) {
      case kCommandNodeItem:
        result = ItemEntry(w, reinterpret_cast<const ItemCommandNode*>(n));
        break;
      case kCommandNodeString: {
        const StringCommandNode* s = reinterpret_cast<const StringCommandNode*>(n);
        if (s->number > 1 && s->text) AppendBytes(w, s->text, size_t(s->number - 1));
        result = 0;
        break;
      }
      case kCommandNodeConditional: {
        const CommandBlock* b = reinterpret_cast<const ConditionalCommandNode*>(n)->block;
        result = 0;
        if (b) {
          bool holds = !b->judge.cells || JudgeEvaluate(b->judge.cells, w->ctx);
          result = WalkList(w, holds ? b->thenList : b->elseList, depth + 1);
        }
        break;
      }
      case kCommandNodeFont:
        DeviceFontLine(w);
        result = 0;
        break;
      default:
        return -1;
    }
    if (result < 0) return -1;
    // An entry whose text could not all be had (no memory) leaves none of it.
    if (w->lost) {
      w->out->length = before;
      if (w->out->data) w->out->data[before] = 0;
      w->lost = false;
    }
  }
  return result;
}

int BuildGroup(DriverContext* ctx, int group, TextBuffer* out) {
  const ModelImageHeader* image = ModelImageOfContext(ctx);
  const CommandBlock* block = !image ? nullptr
                              : group == 0 ? image->jobStart
                              : group == 1 ? image->pageStart
                                           : image->pageEnd;
  return JobBuildCommandList(ctx, block, out);
}

int ListInto(DriverContext* ctx, int group, DWORD cbBuffer, char* buffer, DWORD* cbOut) {
  TextBuffer text = {};
  if (PjlTextInit(&text) != 0) return -1;
  int result = BuildGroup(ctx, group, &text);
  DWORD cb = DWORD(text.length);
  if (cbOut) *cbOut = cb;
  if (buffer && result >= 0) {
    if (cb > cbBuffer)
      result = -1;
    else
      memcpy(buffer, text.data, cb);
  }
  PjlTextFree(&text);
  return result;
}

}  // namespace

void JobAppendValue(HeaderWalk* w, const char* value, size_t cb) {
  if (!value || !cb || cb > 0x7FFFFFF0u) return;
  if (PjlTextReserve(w->out, int(cb)) != 0) {
    w->lost = true;
    return;
  }
  char* to = w->out->data + w->out->length;
  for (size_t i = 0; i < cb; ++i) {
    char c = value[i];
    to[i] = c == '"' ? '\'' : (BYTE(c) < 0x20 ? ' ' : c);
  }
  w->out->length += int(cb);
  w->out->data[w->out->length] = 0;
}

void JobWritePjlSetLine(HeaderWalk* w, const char* key, const char* value) {
  if (!value) return;
  AppendModel(w, "@PJL SET ");
  AppendModel(w, key);
  AppendModel(w, " = ");
  JobAppendValue(w, value, strlen(value));
  AppendModel(w, " \r\n");
}

void JobWriteCommandText(HeaderWalk* w, const ModelItemDescriptor* command, const char* value) {
  AppendModel(w, PrefixOf(command));
  if (value) JobAppendValue(w, value, strlen(value));
  AppendModel(w, SuffixOf(command));
}

int JobBuildCommandList(DriverContext* ctx, const CommandBlock* group, TextBuffer* out) {
  if (!ctx || !out) return -1;
  HeaderWalk walk = {};
  walk.ctx = ctx;
  walk.out = out;
  int result = 0;
  // A group is a block without a judge: its then-list.
  if (group) result = WalkList(&walk, group->thenList, 0);
  if (result == 0 && out->length > 0) result = 1;
  return result;
}

int JobStartCommands(DriverContext* ctx, TextBuffer* out) { return BuildGroup(ctx, 0, out); }
int JobPageStartCommands(DriverContext* ctx, TextBuffer* out) { return BuildGroup(ctx, 1, out); }
int JobPageEndCommands(DriverContext* ctx, TextBuffer* out) { return BuildGroup(ctx, 2, out); }

int JobHeaderList(DriverContext* ctx, DWORD cbBuffer, char* buffer, DWORD* cbOut) {
  return ListInto(ctx, 0, cbBuffer, buffer, cbOut);
}
int JobPageHeaderList(DriverContext* ctx, DWORD cbBuffer, char* buffer, DWORD* cbOut) {
  return ListInto(ctx, 1, cbBuffer, buffer, cbOut);
}
int JobPageEndList(DriverContext* ctx, DWORD cbBuffer, char* buffer, DWORD* cbOut) {
  return ListInto(ctx, 2, cbBuffer, buffer, cbOut);
}
