// Walking and checking a job stream.
#include "host/job_stream/job_stream.h"

#include <stdio.h>

namespace {

uint32_t Get32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

bool Fail(JsError* err, size_t offset, int page, const char* fmt, unsigned long a = 0, unsigned long b = 0) {
  char text[200];
  snprintf(text, sizeof text, fmt, a, b);
  err->failed = true;
  err->offset = offset;
  err->page = page;
  err->message = text;
  return false;
}

struct RecordRule {
  uint8_t opcode;
  uint32_t minimum;  // smallest valid length
  enum Kind { Fixed, Length32, Length8, Pattern, Length16At14 } kind;
};

// The length rule of every record opcode: fixed sizes, a uint32 at byte 4, the colour record's
// length byte, the pattern's data count, or the font selections' uint16 at byte 14.
const RecordRule kRules[] = {
    {16, 24, RecordRule::Length32},  {17, 28, RecordRule::Length32},  {18, 28, RecordRule::Length32},
    {19, 28, RecordRule::Length32},  {32, 56, RecordRule::Length32},  {48, 8, RecordRule::Length8},
    {49, 4, RecordRule::Fixed},      {50, 4, RecordRule::Fixed},      {51, 8, RecordRule::Fixed},
    {52, 4, RecordRule::Fixed},      {53, 4, RecordRule::Fixed},      {54, 8, RecordRule::Fixed},
    {55, 4, RecordRule::Fixed},      {64, 8, RecordRule::Pattern},    {80, 28, RecordRule::Length16At14},
    {81, 36, RecordRule::Length32},  {82, 36, RecordRule::Length32},  {83, 64, RecordRule::Length32},
    {84, 28, RecordRule::Length32},  {85, 36, RecordRule::Length32},  {86, 36, RecordRule::Length16At14},
    {87, 64, RecordRule::Length32},  {96, 16, RecordRule::Fixed},     {97, 4, RecordRule::Fixed},
};

const RecordRule* RuleOf(uint8_t opcode) {
  for (const RecordRule& r : kRules)
    if (r.opcode == opcode) return &r;
  return nullptr;
}

// The image record's size from its own fields: head, palette and rows, padded to 4.
bool CheckImage(const uint8_t* rec, uint32_t length, uint64_t* expected) {
  uint8_t flags = rec[2];
  unsigned code = flags & 0xF;
  uint64_t bpp = code == 0 ? 1 : code == 1 ? 4 : code == 2 ? 8 : 24;
  uint64_t entries = code == 0 ? 2 : code == 1 ? 16 : code == 2 ? 256 : 0;
  if (flags & 0x30) entries = 0;  // no palette, or grey
  uint64_t width = Get32(rec + 32), rows = Get32(rec + 36);
  uint64_t rowBytes = (width * bpp + 31) / 32 * 4;
  *expected = (56 + entries * 3 + rowBytes * rows + 3) & ~3ull;
  return *expected == length;
}

bool WalkRecords(JsPage* page, JsError* err) {
  const std::vector<uint8_t>& list = page->displayList;
  size_t at = 0;
  if (list.size() % 4) return Fail(err, list.size(), page->number, "display list of %lu bytes is not a multiple of 4", list.size());
  while (at < list.size()) {
    const uint8_t* rec = list.data() + at;
    size_t left = list.size() - at;
    const RecordRule* rule = RuleOf(rec[0]);
    if (!rule) return Fail(err, at, page->number, "unknown record opcode %lu", rec[0]);
    uint32_t length = 0;
    switch (rule->kind) {
      case RecordRule::Fixed: length = rule->minimum; break;
      case RecordRule::Length8: length = rec[1]; break;
      case RecordRule::Length32:
        if (left < 8) return Fail(err, at, page->number, "record %lu cut off after %lu bytes", rec[0], left);
        length = Get32(rec + 4);
        break;
      case RecordRule::Pattern:
        if (left < 6) return Fail(err, at, page->number, "record %lu cut off after %lu bytes", rec[0], left);
        length = (6u + Get16(rec + 4) + 3u) & ~3u;
        break;
      case RecordRule::Length16At14:
        if (left < 16) return Fail(err, at, page->number, "record %lu cut off after %lu bytes", rec[0], left);
        length = Get16(rec + 14);
        break;
    }
    if (length < rule->minimum || length % 4)
      return Fail(err, at, page->number, "record %lu has a bad length %lu", rec[0], length);
    if (rec[0] == 48 && length > 16) return Fail(err, at, page->number, "colour record length %lu above 16", length);
    if (length > left)
      return Fail(err, at, page->number, "record %lu of %lu bytes runs past the display list", rec[0], length);
    if (rec[0] == 16 && length != (rec[2] == 5 || rec[2] == 6 ? 24u : 40u))
      return Fail(err, at, page->number, "rectangle of kind %lu has length %lu", rec[2], length);
    if (rec[0] == 32) {
      uint64_t expected = 0;
      if (!CheckImage(rec, length, &expected))
        return Fail(err, at, page->number, "image record of %lu bytes, its rows need %lu", length,
                    static_cast<unsigned long>(expected > 0xFFFFFFFFull ? 0xFFFFFFFFull : expected));
    }
    bool first = at == 0, last = at + length == list.size();
    if (first != (rec[0] == 96))
      return Fail(err, at, page->number, first ? "display list starts with record %lu, not 96" : "page start record %lu inside the list", rec[0]);
    if (last != (rec[0] == 97))
      return Fail(err, at, page->number, last ? "display list ends with record %lu, not 97" : "page end record %lu inside the list", rec[0]);
    page->records.push_back(JsRecord{at, rec[0], length, rec});
    at += length;
  }
  return true;
}

}  // namespace

bool JsRead(const uint8_t* data, size_t size, JsJob* job, JsError* err) {
  *err = JsError();
  job->blocks.clear();
  job->pages.clear();
  size_t at = 0;
  JsPage* open = nullptr;
  int pageNumber = 0;
  uint32_t previous = 0;
  while (at < size) {
    if (size - at < 8) return Fail(err, at, 0, "block head cut off after %lu bytes", size - at);
    uint32_t type = Get32(data + at), length = Get32(data + at + 4);
    if (length > size - at - 8)
      return Fail(err, at, 0, "block of %lu bytes runs past the end (%lu left)", length, size - at - 8);
    JsBlock block{at, type, length, data + at + 8};
    if (previous == 244 && type != 240) return Fail(err, at, 0, "page header not followed by block 240 (got %lu)", type);
    switch (type) {
      case 240:
        if (previous != 244) return Fail(err, at, 0, "block 240 without a page header before it");
        if (length) return Fail(err, at, 0, "block 240 carries %lu bytes", length);
        break;
      case 243:
      case 247:
        if (open) return Fail(err, at, 0, "job header block %lu inside a page", type);
        break;
      case 244:
        if (open) return Fail(err, at, 0, "page header inside page %lu", unsigned(open->number));
        job->pages.emplace_back();
        open = &job->pages.back();
        open->number = ++pageNumber;
        break;
      case 245:
        if (!open) return Fail(err, at, 0, "display-list block outside a page");
        open->displayList.insert(open->displayList.end(), block.payload, block.payload + length);
        break;
      case 241:
        if (!open) return Fail(err, at, 0, "page end without a page header");
        break;
      default:
        return Fail(err, at, 0, "unknown block type %lu", type);
    }
    job->blocks.push_back(block);
    if (open) open->blocks.push_back(job->blocks.size() - 1);
    if (type == 241) {
      if (!WalkRecords(open, err)) return false;
      open = nullptr;
    }
    previous = type;
    at += 8 + size_t(length);
  }
  if (open) return Fail(err, size, open->number, "page %lu has no page end", unsigned(open->number));
  return true;
}

const char* JsBlockName(uint32_t type) {
  switch (type) {
    case 240: return "page-header-end";
    case 241: return "page-end";
    case 243: return "job-header";
    case 244: return "page-header";
    case 245: return "display-list";
    case 247: return "devmode";
    default: return "unknown";
  }
}

const char* JsRecordName(uint8_t opcode) {
  switch (opcode) {
    case 16: return "rectangle";
    case 17: return "path";
    case 18: return "line-path";
    case 19: return "spans";
    case 32: return "image";
    case 48: return "colour";
    case 49: return "rop";
    case 50: return "background-mode";
    case 51: return "line-width-style";
    case 52: return "line-style-offset";
    case 53: return "line-cap";
    case 54: return "line-join";
    case 55: return "clip-reset";
    case 64: return "pattern-brush";
    case 80: return "font-select";
    case 81: return "character";
    case 82: return "glyph-codes";
    case 83: return "glyph-bitmap-cached";
    case 84: return "glyph-download";
    case 85: return "glyph-run";
    case 86: return "download-font-select";
    case 87: return "glyph-bitmap";
    case 96: return "page-start";
    case 97: return "page-end";
    default: return "unknown";
  }
}
