// Writes the graphics DLL's device-font resources, which gr2k/zemsgr.rc links in: the four
// font resources (type 258, ids 1-4: metrics, width table and the device strings) and the
// three glyph sets (type 260, ids 1-3) that map Unicode to the printer's character codes.
// Built and run by the build with the machine's own compiler (it runs where the build runs,
// also for the Windows build), so every field is written byte by byte, little-endian, in the
// 32-bit layouts the driver reads (gr2k/font_resources.h).
//
// Usage: font_resources_gen OUTDIR  -> OUTDIR/font1.bin .. font4.bin, glyphset1.bin .. 3.bin
//
// The glyph sets come from glibc's iconv tables:
// - set 2: code page 932, the single-byte codes 0x20-0x7E and 0xA1-0xDF and every double-byte
//   code up to 0xFC4B except the user-defined area 0xF040-0xF9FC; a Unicode character that
//   two codes give (the NEC and IBM duplicates) keeps the lower code;
// - sets 1 and 3: the single-byte codes 0x00-0xFE of a list of code pages, the first page
//   that gives a character keeping it (set 1 the Windows pages 1250-1258 with 437 and 850,
//   set 3 the DOS pages 850, 437, 737, 852, 855, 857, 862, 864, 866 and 869).
// A run is a stretch of consecutive Unicode characters; handles are the codes.
#include <iconv.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <map>
#include <string>
#include <vector>

namespace {

typedef std::vector<uint8_t> Bytes;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void Set32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// One character of a code page as one UTF-16 unit; false when the page has none there (or
// gives more than one unit, or buffers it for a combining mark).
bool Convert(iconv_t cd, const uint8_t* in, size_t n, uint16_t* unit) {
  char out[8];
  char* ip = reinterpret_cast<char*>(const_cast<uint8_t*>(in));
  char* op = out;
  size_t il = n, ol = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &ip, &il, &op, &ol) == size_t(-1) || il != 0 || sizeof out - ol != 2) return false;
  *unit = uint16_t(uint8_t(out[0]) | (uint8_t(out[1]) << 8));
  return true;
}

bool IsLeadByte(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Unicode -> code, the first code that gives a character winning.
typedef std::map<uint16_t, uint16_t> GlyphMap;

bool ShiftJisGlyphs(GlyphMap* glyphs) {
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  if (cd == iconv_t(-1)) return false;
  for (unsigned code = 0x20; code <= 0xFC4B; ++code) {
    uint8_t b[2];
    size_t n;
    if (code < 0x100) {
      if (!((code >= 0x20 && code <= 0x7E) || (code >= 0xA1 && code <= 0xDF))) continue;
      b[0] = uint8_t(code);
      n = 1;
    } else {
      b[0] = uint8_t(code >> 8);
      b[1] = uint8_t(code);
      if (!IsLeadByte(b[0]) || b[1] < 0x40 || b[1] == 0x7F || b[1] > 0xFC) continue;
      if (code >= 0xF040 && code <= 0xF9FC) continue;  // user-defined characters
      n = 2;
    }
    uint16_t unit;
    if (Convert(cd, b, n, &unit)) glyphs->insert({unit, uint16_t(code)});
  }
  iconv_close(cd);
  return true;
}

bool SingleByteGlyphs(const std::vector<const char*>& pages, GlyphMap* glyphs) {
  for (const char* page : pages) {
    iconv_t cd = iconv_open("UTF-16LE", page);
    if (cd == iconv_t(-1)) {
      fprintf(stderr, "font_resources_gen: iconv has no code page %s\n", page);
      return false;
    }
    for (unsigned code = 0; code <= 0xFE; ++code) {
      uint8_t b = uint8_t(code);
      uint16_t unit;
      if (Convert(cd, &b, 1, &unit)) glyphs->insert({unit, uint16_t(code)});
    }
    iconv_close(cd);
  }
  return true;
}

// FD_GLYPHSET image: cjThis, flAccel, cGlyphsSupported, cRuns, the runs {wcLow, cGlyphs, phg}
// (phg written 0: the driver rebuilds it), then the handles in run order.
Bytes GlyphSet(const GlyphMap& glyphs, uint32_t accel, uint32_t* runCount) {
  std::vector<std::pair<uint16_t, uint16_t>> runs;  // {first character, count}
  int previous = -2;
  for (const auto& g : glyphs) {
    if (int(g.first) != previous + 1) runs.push_back({g.first, 0});
    ++runs.back().second;
    previous = g.first;
  }
  Bytes b;
  uint32_t size = 16 + 8 * uint32_t(runs.size()) + 4 * uint32_t(glyphs.size());
  Put32(b, size);
  Put32(b, accel);
  Put32(b, uint32_t(glyphs.size()));
  Put32(b, uint32_t(runs.size()));
  for (const auto& r : runs) {
    Put16(b, r.first);
    Put16(b, r.second);
    Put32(b, 0);
  }
  for (const auto& g : glyphs) Put32(b, g.second);
  *runCount = uint32_t(runs.size());
  return b;
}

bool Utf16(const char* utf8, Bytes* out) {
  iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
  if (cd == iconv_t(-1)) return false;
  char buffer[256];
  char* ip = const_cast<char*>(utf8);
  char* op = buffer;
  size_t il = strlen(utf8), ol = sizeof buffer;
  bool ok = iconv(cd, &ip, &il, &op, &ol) != size_t(-1) && il == 0;
  iconv_close(cd);
  if (!ok) return false;
  out->insert(out->end(), buffer, op);
  Put16(*out, 0);
  return true;
}

struct FontRow {
  const char* face;  // family and face name, UTF-8
  const char* glyphSetName;
  const char* deviceName;
  const char* selection;
  uint8_t pitchAndFamily;
  uint32_t cjThis;
};
const FontRow kFonts[] = {
    {"明朝", "ROMA;J83;KATA", " @CHUMINCYO", " ,4@I55 CHUMINCYO", 0x11, 300},
    {"@明朝", "ROMA;J83V;KATA", " @CHUMINCYO", " ,4@I55 CHUMINCYO", 0x11, 308},
    {"ｺﾞｼｯｸ", "ROMA;J83;KATA", " @GOTHIC", " ,4@I55 GOTHIC", 0x21, 324},
    {"@ｺﾞｼｯｸ", "ROMA;J83V;KATA", " @GOTHIC", " ,4@I55 GOTHIC", 0x21, 332},
};
constexpr uint32_t kIfiOffset = 592;
constexpr uint32_t kIfiBytes = 184;  // IFIMETRICS without its names

// The IFIMETRICS with its names (family, style, face, unique name), cjThis bytes long.
bool Metrics(const FontRow& f, Bytes* out) {
  Bytes family, style, face, unique;
  if (!Utf16(f.face, &family) || !Utf16("Medium", &style) || !Utf16(f.face, &face) || !Utf16(f.face, &unique))
    return false;
  Bytes& b = *out;
  uint32_t at = kIfiBytes;
  Put32(b, f.cjThis);
  Put32(b, 0);  // cjIfiExtra
  Put32(b, at);
  Put32(b, at += uint32_t(family.size()));
  Put32(b, at += uint32_t(style.size()));
  Put32(b, at += uint32_t(face.size()));
  at += uint32_t(unique.size());
  for (int i = 0; i < 5; ++i) Put32(b, 0);  // dpFontSim, lEmbedId, lItalicAngle, lCharBias, dpCharSets
  b.push_back(128);                         // jWinCharSet: SHIFTJIS_CHARSET
  b.push_back(f.pitchAndFamily);
  Put16(b, 400);         // usWinWeight
  Put32(b, 0x18482038);  // flInfo
  Put16(b, 0);           // fsSelection
  Put16(b, 2);           // fsType
  // fwdUnitsPerEm .. fwdStrikeoutPosition: the values the engine reads, 0 where none is given.
  const int16_t fwd[26] = {1000, 0, 900, 100, 900, -100, 0, 900, -100, 0, 500, 1000, 0,
                           0,    0, 0,   0,   0,   0,    0, 0,   0,    46, -93, 46, 450};
  for (int16_t v : fwd) Put16(b, uint16_t(v));
  b.push_back(0x20);  // chFirstChar
  b.push_back(0xFE);  // chLastChar
  b.push_back(0xA5);  // chDefaultChar
  b.push_back(0x20);  // chBreakChar
  Put16(b, 0x20);     // wcFirstChar
  Put16(b, 0xFFFD);   // wcLastChar
  Put16(b, 0x30FB);   // wcDefaultChar
  Put16(b, 0x20);     // wcBreakChar
  const int32_t points[] = {1, 0, 1, 1, 0, 1, 0, 900, 500, -100};  // ptlBaseline, ptlAspect, ptlCaret, rclFontBox
  for (int32_t v : points) Put32(b, uint32_t(v));
  for (int i = 0; i < 3; ++i) Put32(b, 0);  // achVendId, cKerningPairs, ulPanoseCulture
  for (int i = 0; i < 12; ++i) b.push_back(0);  // PANOSE and the padding after it
  if (b.size() != kIfiBytes || at > f.cjThis) return false;
  for (const Bytes* name : {&family, &style, &face, &unique}) b.insert(b.end(), name->begin(), name->end());
  b.resize(f.cjThis, 0);
  return true;
}

bool FontResource(const FontRow& f, Bytes* out) {
  Bytes& b = *out;
  b.assign(kIfiOffset, 0);
  for (unsigned code = 0; code < 256; ++code) {
    bool half = (code >= 0x20 && code <= 0x7E) || (code >= 0xA1 && code <= 0xDE);
    b[60 + 2 * code] = half ? uint8_t(500 & 0xFF) : 0;
    b[61 + 2 * code] = half ? uint8_t(500 >> 8) : 0;
  }
  Set32(b, 4, kIfiOffset);
  Bytes metrics;
  if (!Metrics(f, &metrics)) return false;
  b.insert(b.end(), metrics.begin(), metrics.end());
  const char* strings[] = {f.glyphSetName, f.deviceName, f.selection, " none", " none"};
  for (int i = 0; i < 5; ++i) {
    Set32(b, 572 + 4 * i, uint32_t(b.size()));
    b.insert(b.end(), strings[i], strings[i] + strlen(strings[i]) + 1);
  }
  Set32(b, 0, uint32_t(b.size()));
  return true;
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: font_resources_gen OUTDIR\n");
    return 2;
  }
  std::string dir = argv[1];
  for (int i = 0; i < 4; ++i) {
    Bytes font;
    std::string path = dir + "/font" + std::to_string(i + 1) + ".bin";
    if (!FontResource(kFonts[i], &font) || !WriteFile(path, font)) {
      fprintf(stderr, "font_resources_gen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  GlyphMap sets[3];
  if (!SingleByteGlyphs({"CP1252", "CP1250", "CP1251", "CP1253", "CP1254", "CP1255", "CP1256", "CP1257", "CP1258",
                         "CP437", "CP850"},
                        &sets[0]) ||
      !ShiftJisGlyphs(&sets[1]) ||
      !SingleByteGlyphs({"CP850", "CP437", "CP737", "CP852", "CP855", "CP857", "CP862", "CP864", "CP866", "CP869"},
                        &sets[2])) {
    fprintf(stderr, "font_resources_gen: iconv lacks a code page the glyph sets need\n");
    return 1;
  }
  const uint32_t accel[3] = {4, 2, 4};  // GS_8BIT_HANDLES, GS_16BIT_HANDLES
  for (int i = 0; i < 3; ++i) {
    uint32_t runs = 0;
    Bytes set = GlyphSet(sets[i], accel[i], &runs);
    std::string path = dir + "/glyphset" + std::to_string(i + 1) + ".bin";
    if (!WriteFile(path, set)) {
      fprintf(stderr, "font_resources_gen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
