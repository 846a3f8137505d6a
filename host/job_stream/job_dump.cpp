// The text of zemshost job dump: blocks with their offsets, command text with other bytes as
// <HH>, the DEVMODE block's public fields and each record's fields.
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "host/job_stream/job_stream.h"

namespace {

uint32_t Get32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
int32_t GetI32(const uint8_t* p) { return int32_t(Get32(p)); }

void Add(std::string* out, const char* fmt, ...) {
  char text[512];
  va_list args;
  va_start(args, fmt);
  vsnprintf(text, sizeof text, fmt, args);
  va_end(args);
  *out += text;
}

void Text(const uint8_t* p, uint32_t n, std::string* out) {
  *out += "    \"";
  for (uint32_t i = 0; i < n; ++i) {
    if (p[i] >= 0x20 && p[i] < 0x7F && p[i] != '<') {
      *out += char(p[i]);
    } else {
      Add(out, "<%02X>", p[i]);
      if (p[i] == 0x0A && i + 1 < n) *out += "\"\n    \"";
    }
  }
  *out += "\"\n";
}

void Hex(const uint8_t* p, uint32_t n, std::string* out) {
  for (uint32_t i = 0; i < n; i += 16) {
    Add(out, "    %06x:", i);
    for (uint32_t j = i; j < n && j < i + 16; ++j) Add(out, " %02x", p[j]);
    *out += "\n";
  }
}

// The public fields of a DEVMODEW at their fixed offsets; the name is narrowed to ASCII.
void Devmode(const uint8_t* p, uint32_t n, std::string* out) {
  if (n < 104) {
    Add(out, "    (%u bytes: too short for the public fields)\n", n);
    return;
  }
  *out += "    dmDeviceName=\"";
  for (int i = 0; i < 32; ++i) {
    uint16_t c = Get16(p + 2 * i);
    if (!c) break;
    if (c >= 0x20 && c < 0x7F) *out += char(c);
    else Add(out, "<U+%04X>", c);
  }
  *out += "\"\n";
  Add(out, "    dmSpecVersion=0x%04x dmDriverVersion=0x%04x dmSize=%u dmDriverExtra=%u dmFields=0x%08x\n",
      Get16(p + 64), Get16(p + 66), Get16(p + 68), Get16(p + 70), Get32(p + 72));
  uint16_t orientation = Get16(p + 76), color = Get16(p + 92), duplex = Get16(p + 94);
  Add(out, "    dmOrientation=%s dmPaperSize=%u dmPaperLength=%d dmPaperWidth=%d dmScale=%d dmCopies=%d\n",
      orientation == 1 ? "portrait" : orientation == 2 ? "landscape" : "other", Get16(p + 78),
      int16_t(Get16(p + 80)), int16_t(Get16(p + 82)), int16_t(Get16(p + 84)), int16_t(Get16(p + 86)));
  Add(out, "    dmDefaultSource=%u dmPrintQuality=%d dmColor=%s dmDuplex=%s dmYResolution=%d dmCollate=%d\n",
      Get16(p + 88), int16_t(Get16(p + 90)), color == 1 ? "monochrome" : color == 2 ? "color" : "other",
      duplex == 1 ? "simplex" : duplex == 2 ? "vertical" : duplex == 3 ? "horizontal" : "other",
      int16_t(Get16(p + 96)), int16_t(Get16(p + 100)));
}

uint32_t Colour(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16; }

void SubPaths(const JsRecord& r, uint32_t at, std::string* out);

// Records 17 and 18: the head, then each sub-path's start and items, as far as the record holds
// them (a count that runs past the record ends the listing with a note).
void PathRecord(const JsRecord& r, std::string* out) {
  static const char* const kKinds[] = {"stroke", "fill", "fill-winding", "stroke-fill", "stroke-fill-winding", "clip"};
  const uint8_t* p = r.bytes;
  unsigned kind = p[2] & 7;
  Add(out, ": %s%s%s bounds=(%d,%d)-(%d,%d) size=%u\n", kind < 6 ? kKinds[kind] : "other",
      (p[2] & 0x08) ? " closed" : "", (p[2] & 0x10) ? " sub-paths" : "", GetI32(p + 8), GetI32(p + 12),
      GetI32(p + 16), GetI32(p + 20), Get32(p + 24));
  SubPaths(r, 28, out);
}

// The sub-paths of path data from at to the record's end: each start point and its items.
void SubPaths(const JsRecord& r, uint32_t at, std::string* out) {
  const uint8_t* p = r.bytes;
  while (at + 12 <= r.length) {
    uint32_t items = Get32(p + at);
    Add(out, "    sub-path of %u items from (%d,%d)/16\n", items, GetI32(p + at + 4), GetI32(p + at + 8));
    at += 12;
    for (uint32_t i = 0; i < items; ++i) {
      if (at + 4 > r.length) break;
      uint32_t tag = Get32(p + at);
      uint32_t cb = tag == 1 ? 28 : 12;
      if (at + cb > r.length) break;
      if (tag == 1)
        Add(out, "      curve (%d,%d) (%d,%d) (%d,%d)\n", GetI32(p + at + 4), GetI32(p + at + 8), GetI32(p + at + 12),
            GetI32(p + at + 16), GetI32(p + at + 20), GetI32(p + at + 24));
      else
        Add(out, "      line (%d,%d)\n", GetI32(p + at + 4), GetI32(p + at + 8));
      at += cb;
    }
  }
  if (at != r.length) Add(out, "    (%u bytes not read as path data)\n", r.length - at);
}

// Record 19: flags, target and the entries' rows; the first and last entries.
void SpanRecord(const JsRecord& r, std::string* out) {
  const uint8_t* p = r.bytes;
  bool wide = p[2] & 0x10;
  uint32_t size = wide ? 12 : 6;
  uint32_t count = (r.length - 24) / size;
  Add(out, ": %s%s%s%s%s target=(%d,%d)-(%d,%d) entries=%u", (p[2] & 0x02) ? "first" : "",
      (p[2] & 0x04) ? "more" : "", (p[2] & 0x08) ? " last" : "", wide ? " wide" : "", "", GetI32(p + 8),
      GetI32(p + 12), GetI32(p + 16), GetI32(p + 20), count);
  for (uint32_t k : {0u, count ? count - 1 : 0u}) {
    if (!count) break;
    const uint8_t* e = p + 24 + k * size;
    if (wide)
      Add(out, " [y=%d %d..%d]", GetI32(e), GetI32(e + 4), GetI32(e + 8));
    else
      Add(out, " [y=%d %d..%d]", int16_t(Get16(e)), int16_t(Get16(e + 2)), int16_t(Get16(e + 4)));
    if (count == 1) break;
  }
  *out += "\n";
}

// A name in the printer's multibyte code: ASCII as it stands, other bytes as <HH>.
void Name(const uint8_t* p, uint32_t n, std::string* out) {
  *out += '"';
  for (uint32_t i = 0; i < n && p[i]; ++i) {
    if (p[i] >= 0x20 && p[i] < 0x7F && p[i] != '<' && p[i] != '"') *out += char(p[i]);
    else Add(out, "<%02X>", p[i]);
  }
  *out += '"';
}

// Records 80 and 86: the selection's fields and the face name (at 24 or 32).
void FontRecord(const JsRecord& r, std::string* out) {
  const uint8_t* p = r.bytes;
  bool download = r.opcode == 86;
  uint16_t flags = Get16(p + 4);
  Add(out, ": charset=%u pitch=0x%02X flags=0x%04X%s%s%s%s weight=%d angle=%d width=%d height=%d leading=%d "
           "default=U+%04X name=",
      download ? p[1] : p[2], download ? p[2] : p[3], flags, (flags & 0x08) ? " codes" : "",
      (flags & 0x200) ? " glyphs" : "", (flags & 0x10) ? " glyph-index" : "", (flags & 0x80) ? " vertical" : "",
      int16_t(Get16(p + 6)), int16_t(Get16(p + 8)), int16_t(Get16(p + 10)), int16_t(Get16(p + 12)),
      int16_t(Get16(p + 20)), Get16(p + 22));
  uint32_t at = download ? 32 : 24;
  if (at < r.length) Name(p + at, r.length - at, out);
  *out += "\n";
}

// Glyph bits: raw or unpacked to the rows of width x height, shown as one FNV-1a value of the
// rows and, with hex, as rows of '#' and '.'.
void GlyphBits(const uint8_t* bits, uint32_t cb, uint32_t width, uint32_t height, uint8_t compression, bool hex,
               std::string* out) {
  uint64_t rowBytes = (uint64_t(width) + 7) / 8, size = rowBytes * height;
  if (size > (1u << 24)) {
    Add(out, "    (glyph of %u x %u: too large to show)\n", width, height);
    return;
  }
  std::vector<uint8_t> rows(size_t(size), 0);
  if (compression == 2) {
    if (!JsGlyphUnpack(bits, cb, rows.data(), rows.size())) {
      *out += "    (packed bits do not unpack to the glyph's rows)\n";
      return;
    }
  } else {
    memcpy(rows.data(), bits, cb < size ? cb : size_t(size));
  }
  uint32_t hash = 2166136261u;
  for (uint8_t b : rows) hash = (hash ^ b) * 16777619u;
  Add(out, "    %s %u bytes, rows=%08x\n", compression == 2 ? "packed" : compression == 0 ? "raw" : "other", cb, hash);
  if (!hex) return;
  for (uint32_t y = 0; y < height; ++y) {
    *out += "    ";
    for (uint32_t x = 0; x < width; ++x) *out += (rows[size_t(y * rowBytes + x / 8)] & (0x80 >> (x % 8))) ? '#' : '.';
    *out += "\n";
  }
}

void TextRecord(const JsRecord& r, bool hex, std::string* out) {
  const uint8_t* p = r.bytes;
  switch (r.opcode) {
    case 81:
      Add(out, ": %s (%d,%d)-(%d,%d) at (%d,%d) U+%04X\n", p[2] == 1 ? "outline" : p[2] == 0 ? "cell" : "other",
          GetI32(p + 8), GetI32(p + 12), GetI32(p + 16), GetI32(p + 20), GetI32(p + 24), GetI32(p + 28),
          Get16(p + 32));
      if (p[2] == 1 && r.length >= 40) SubPaths(r, 40, out);
      return;
    case 82: {
      uint32_t count = Get16(p + 32), advances = (p[2] & 0x80) ? count : 1;
      Add(out, ": background=(%d,%d)-(%d,%d) at (%d,%d) glyphs=%u%s\n    advances", GetI32(p + 8), GetI32(p + 12),
          GetI32(p + 16), GetI32(p + 20), GetI32(p + 24), GetI32(p + 28), count,
          (p[2] & 0x80) ? " one-advance-each" : "");
      if (36 + 2 * uint64_t(advances + count) > r.length) {
        *out += " (more than the record holds)\n";
        return;
      }
      for (uint32_t i = 0; i < advances; ++i) Add(out, " %d", int16_t(Get16(p + 36 + 2 * i)));
      *out += "\n    codes";
      for (uint32_t i = 0; i < count; ++i) Add(out, " %04X", Get16(p + 36 + 2 * (advances + i)));
      *out += "\n";
      return;
    }
    case 83:
    case 87: {
      uint32_t cb = Get32(p + 52);
      Add(out, ": flags=0x%02X box=(%d,%d)-(%d,%d) ref=(%d,%d) corner=(%d,%d) %ux%u code=%04X\n", p[2],
          GetI32(p + 8), GetI32(p + 12), GetI32(p + 16), GetI32(p + 20), GetI32(p + 24), GetI32(p + 28),
          GetI32(p + 36), GetI32(p + 40), Get32(p + 44), Get32(p + 48), Get16(p + 60));
      if (!Get32(p + 32)) return;
      if (Get32(p + 32) != 64 || cb > r.length - 64) {
        *out += "    (bits beyond the record)\n";
        return;
      }
      GlyphBits(p + 64, cb, Get32(p + 44), Get32(p + 48), p[62], hex, out);
      return;
    }
    case 84: {
      uint32_t cb = Get32(p + 8);
      Add(out, ": flags=0x%02X %ux%u code=%04X\n", p[2], Get32(p + 12), Get32(p + 16), Get16(p + 24));
      if (cb > r.length - 28) {
        *out += "    (bits beyond the record)\n";
        return;
      }
      GlyphBits(p + 28, cb, Get32(p + 12), Get32(p + 16), p[26], hex, out);
      return;
    }
    case 85: {
      uint32_t count = Get16(p + 32);
      Add(out, ": flags=0x%02X background=(%d,%d)-(%d,%d) at (%d,%d) glyphs=%u\n    ", p[2], GetI32(p + 8),
          GetI32(p + 12), GetI32(p + 16), GetI32(p + 20), GetI32(p + 24), GetI32(p + 28), count);
      if (36 + 6 * uint64_t(count) > r.length) {
        *out += "(more than the record holds)\n";
        return;
      }
      for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* item = p + 36 + 6 * i;
        Add(out, "%s%04X%+d%+d", i ? " " : "", Get16(item + 4), int16_t(Get16(item)), int16_t(Get16(item + 2)));
      }
      *out += "\n";
      return;
    }
    default:
      FontRecord(r, out);
  }
}

void Record(const JsRecord& r, bool hex, std::string* out) {
  const uint8_t* p = r.bytes;
  Add(out, "  +%06zx %-2u %-16s %u bytes", r.offset, r.opcode, JsRecordName(r.opcode), r.length);
  switch (r.opcode) {
    case 96:
      Add(out, ": width=%u height=%u dpi=%ux%u\n", Get32(p + 4), Get32(p + 8), Get16(p + 12), Get16(p + 14));
      return;
    case 97:
    case 55:
      *out += "\n";
      return;
    case 49:
      Add(out, ": rop3=0x%02X\n", p[1]);
      return;
    case 32: {
      static const char* const kFormats[] = {"1bpp", "4bpp", "8bpp"};
      unsigned code = p[2] & 0xF;
      // The pixels as one FNV-1a value: a dump then shows a changed image without its bytes.
      uint32_t hash = 2166136261u;
      for (uint32_t i = 56; i < r.length; ++i) hash = (hash ^ p[i]) * 16777619u;
      Add(out, ": format=%s%s%s%s%s%s%s%s dest=(%d,%d)-(%d,%d) src=(%d,%d) width=%u rows=%u data=%08x\n",
          code < 3 ? kFormats[code] : "24bpp", (p[2] & 0x20) ? " no-palette" : "", (p[2] & 0x10) ? " grey" : "",
          (p[3] & 4) ? " band" : "", (p[2] & 0x80) ? " blt" : "", (p[3] & 8) ? " host-icm" : "",
          (p[3] & 0x10) ? " bottom-up" : "", (p[1] & 2) ? " reduced" : "", GetI32(p + 8), GetI32(p + 12), GetI32(p + 16), GetI32(p + 20), GetI32(p + 24),
          GetI32(p + 28), Get32(p + 32), Get32(p + 36), hash);
      if (hex) Hex(p, r.length, out);
      return;
    }
    case 16:
      Add(out, ": kind=%u (%d,%d)-(%d,%d)\n", p[2], GetI32(p + 8), GetI32(p + 12), GetI32(p + 16), GetI32(p + 20));
      return;
    case 17:
    case 18:
      PathRecord(r, out);
      return;
    case 19:
      SpanRecord(r, out);
      return;
    case 48: {
      // Foreground, then the background (flag 0x08) and the third colour (flag 0x10).
      Add(out, ": fore=%06X", Colour(p + 4));
      uint32_t at = 7;
      if ((p[2] & 0x08) && at + 3 <= r.length) Add(out, " back=%06X", Colour(p + at)), at += 3;
      if ((p[2] & 0x10) && at + 3 <= r.length) Add(out, " third=%06X", Colour(p + at));
      Add(out, "%s%s\n", (p[2] & 0x40) ? " text" : "", (p[2] & 0x80) ? " host-icm" : "");
      return;
    }
    case 50:
      Add(out, ": mode=%s\n", p[1] == 1 ? "transparent" : p[1] == 2 ? "opaque" : "other");
      return;
    case 51:
      Add(out, ": unit=%u width=%d pattern=%08X\n", p[1], int16_t(Get16(p + 2)), Get32(p + 4));
      return;
    case 52:
      Add(out, ": offset=%u\n", p[1]);
      return;
    case 53:
      Add(out, ": cap=%s\n", p[1] == 0 ? "round" : p[1] == 1 ? "butt" : p[1] == 2 ? "square" : "other");
      return;
    case 54:
      Add(out, ": join=%s miter=%u/256\n", p[1] == 0 ? "round" : p[1] == 1 ? "bevel" : p[1] == 2 ? "miter" : "other",
          Get32(p + 4));
      return;
    case 64: {
      uint32_t count = Get16(p + 4);
      uint32_t hash = 2166136261u;
      for (uint32_t i = 6; i < 6 + count && i < r.length; ++i) hash = (hash ^ p[i]) * 16777619u;
      Add(out, ": %s size=%u bytes=%u%s data=%08x\n", !(p[1] & 0x80) ? "solid" : (p[1] & 1) ? "24bpp" : "1bpp",
          p[2], count, (p[1] & 0x40) ? " host-icm" : "", hash);
      if (hex) Hex(p, r.length, out);
      return;
    }
    case 80:
    case 81:
    case 82:
    case 83:
    case 84:
    case 85:
    case 86:
    case 87:
      TextRecord(r, hex, out);
      return;
    default:
      *out += "\n";
      Hex(p, r.length, out);
  }
}

}  // namespace

void JsDump(const JsJob& job, unsigned what, int page, std::string* out) {
  bool hex = what & kJsDumpHex;
  if (what & kJsDumpBlocks) {
    const JsPage* shown = nullptr;
    if (page > 0 && size_t(page) <= job.pages.size()) shown = &job.pages[size_t(page) - 1];
    if (page > 0 && !shown) return;
    for (size_t i = 0; i < job.blocks.size(); ++i) {
      const JsBlock& b = job.blocks[i];
      if (shown) {
        bool inPage = false;
        for (size_t k : shown->blocks) inPage = inPage || k == i;
        if (!inPage) continue;
      }
      Add(out, "@%08zx %u %-15s %u bytes\n", b.offset, b.type, JsBlockName(b.type), b.length);
      if (b.type == 247) Devmode(b.payload, b.length, out);
      else if (b.type != 245 && b.length) Text(b.payload, b.length, out);
      if (hex && b.type != 245) Hex(b.payload, b.length, out);
    }
  }
  if (what & kJsDumpRecords) {
    for (const JsPage& p : job.pages) {
      if (page > 0 && p.number != page) continue;
      Add(out, "page %d: display list %zu bytes, %zu records\n", p.number, p.displayList.size(), p.records.size());
      for (const JsRecord& r : p.records) Record(r, hex, out);
    }
  }
}
