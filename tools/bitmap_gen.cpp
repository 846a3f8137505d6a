// Writes the sample's pictures: 8-bit palette bitmaps whose entry 0 is the key colour 0x3300CC
// (the pixels the page shows through), into samples/resources/bitmaps/{language,common}, and the
// small .bmp files of the image tests into tests/fixtures/bmp. Run by hand from the repository
// root after a change; the output is committed:
//   c++ -std=c++17 -o /tmp/bitmap_gen tools/bitmap_gen.cpp && /tmp/bitmap_gen .
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Rgb {
  uint8_t r, g, b;
};
const Rgb kPalette[] = {
    {0xCC, 0x00, 0x33},  // 0 key
    {0x00, 0x00, 0x00},  // 1 black
    {0xFF, 0xFF, 0xFF},  // 2 white
    {0x80, 0x80, 0x80},  // 3 grey
    {0xC0, 0xC0, 0xC0},  // 4 light grey
    {0x00, 0x60, 0xC0},  // 5 blue
    {0xE0, 0x20, 0x20},  // 6 red
    {0x20, 0xA0, 0x20},  // 7 green
    {0xF0, 0xC0, 0x00},  // 8 yellow
};
enum : uint8_t { kKey, kBlack, kWhite, kGrey, kLight, kBlue, kRed, kGreen, kYellow };

struct Picture {
  int width, height;
  std::vector<uint8_t> pixels;  // top row first
  Picture(int w, int h) : width(w), height(h), pixels(size_t(w) * h, kKey) {}
  void Fill(int x0, int y0, int x1, int y1, uint8_t c) {
    for (int y = y0; y < y1 && y < height; ++y)
      for (int x = x0; x < x1 && x < width; ++x)
        if (x >= 0 && y >= 0) pixels[size_t(y) * width + x] = c;
  }
  void Frame(int x0, int y0, int x1, int y1, uint8_t c) {
    Fill(x0, y0, x1, y0 + 1, c);
    Fill(x0, y1 - 1, x1, y1, c);
    Fill(x0, y0, x0 + 1, y1, c);
    Fill(x1 - 1, y0, x1, y1, c);
  }
};

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A bitmap file: bits 1, 4, 8 (palette of kPalette, cut to 2^bits), 24 or 32; topDown writes a
// negative height.
std::vector<uint8_t> Encode(const Picture& p, int bits, bool topDown) {
  const uint32_t entries = bits <= 8 ? (1u << bits) : 0;
  const uint32_t stride = (uint32_t(bits) * p.width + 31) / 32 * 4;
  const uint32_t offBits = 54 + 4 * entries;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, offBits + stride * p.height);
  Put32(out, 0);
  Put32(out, offBits);
  Put32(out, 40);
  Put32(out, uint32_t(p.width));
  Put32(out, uint32_t(topDown ? -p.height : p.height));
  Put16(out, 1);
  Put16(out, uint16_t(bits));
  Put32(out, 0);
  Put32(out, stride * p.height);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (uint32_t i = 0; i < entries; ++i) {
    const Rgb c = i < sizeof kPalette / sizeof kPalette[0] ? kPalette[i] : Rgb{0, 0, 0};
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
  for (int row = 0; row < p.height; ++row) {
    const int y = topDown ? row : p.height - 1 - row;
    std::vector<uint8_t> line(stride, 0);
    for (int x = 0; x < p.width; ++x) {
      uint8_t c = p.pixels[size_t(y) * p.width + x];
      if (bits < 8 && c >= (1u << bits)) c = uint8_t(c & ((1u << bits) - 1));
      const Rgb rgb = kPalette[c];
      switch (bits) {
        case 1: line[x / 8] |= uint8_t((c & 1) << (7 - x % 8)); break;
        case 4: line[x / 2] |= uint8_t(x % 2 ? c : c << 4); break;
        case 8: line[x] = c; break;
        case 24: line[3 * x] = rgb.b; line[3 * x + 1] = rgb.g; line[3 * x + 2] = rgb.r; break;
        case 32: line[4 * x] = rgb.b; line[4 * x + 1] = rgb.g; line[4 * x + 2] = rgb.r; break;
      }
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  return out;
}

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// A button face: a raised square with a symbol (0 left arrow, 1 right arrow, 2 dot).
Picture Face(int symbol) {
  Picture p(16, 16);
  p.Fill(0, 0, 16, 16, kLight);
  p.Frame(0, 0, 16, 16, kGrey);
  for (int i = 0; i < 4; ++i) {
    if (symbol == 0) p.Fill(5 + i, 7 - i, 6 + i, 9 + i, kBlack);
    if (symbol == 1) p.Fill(10 - i, 7 - i, 11 - i, 9 + i, kBlack);
  }
  if (symbol == 2) p.Fill(6, 6, 10, 10, kBlack);
  return p;
}

// A mark: a round-ish badge, information (blue "i") or lock (yellow padlock).
Picture Mark(bool lock) {
  Picture p(16, 16);
  if (lock) {
    p.Frame(4, 1, 12, 8, kBlack);
    p.Fill(2, 7, 14, 15, kYellow);
    p.Frame(2, 7, 14, 15, kBlack);
    p.Fill(7, 9, 9, 13, kBlack);
  } else {
    p.Fill(2, 2, 14, 14, kBlue);
    p.Fill(7, 4, 9, 6, kWhite);
    p.Fill(7, 7, 9, 12, kWhite);
  }
  return p;
}

// A check-list state: an empty, checked, greyed-checked or unavailable box.
Picture Check(int state) {
  Picture p(16, 16);
  p.Fill(2, 2, 14, 14, state == 3 ? kLight : kWhite);
  p.Frame(2, 2, 14, 14, kGrey);
  if (state == 1 || state == 2)
    for (int i = 0; i < 6; ++i) p.Fill(4 + i, (i < 2 ? 8 + i : 11 - i), 5 + i, (i < 2 ? 10 + i : 13 - i), state == 2 ? kGrey : kBlack);
  return p;
}

// The printer, 200 x 180, with its trays and bins where the hit areas lie.
Picture Printer(bool options) {
  Picture p(200, 180);
  p.Fill(20, 30, 180, 100, kLight);
  p.Frame(20, 30, 180, 100, kBlack);
  p.Fill(40, 40, 160, 56, kWhite);   // inner bin
  p.Frame(40, 40, 160, 56, kGrey);
  p.Fill(40, 8, 160, 24, kWhite);    // upper bin
  p.Frame(40, 8, 160, 24, kGrey);
  p.Fill(150, 60, 196, 80, kWhite);  // multi-purpose tray
  p.Frame(150, 60, 196, 80, kGrey);
  const int trays = options ? 3 : 1;
  for (int i = 0; i < trays; ++i) {
    p.Fill(20, 100 + 24 * i, 180, 120 + 24 * i, kLight);
    p.Frame(20, 100 + 24 * i, 180, 120 + 24 * i, kBlack);
    p.Fill(90, 108 + 24 * i, 110, 112 + 24 * i, kBlack);
  }
  if (options)
    for (int n = 0; n < 4; ++n) p.Frame(168, 8 + 14 * n, 196, 20 + 14 * n, kBlue);
  p.Fill(30, 90, 40, 94, kGreen);  // status lamp
  return p;
}

// A paper value's picture: a sheet of the size's proportions (width and length in millimetres)
// with a folded corner, on 32 x 40.
Picture Paper(int width, int length) {
  Picture p(32, 40);
  const int big = width > length ? width : length;
  const int w = 4 + width * 26 / big, h = 4 + length * 34 / big;
  const int x0 = (32 - w) / 2, y0 = (40 - h) / 2;
  p.Fill(x0, y0, x0 + w, y0 + h, kWhite);
  p.Frame(x0, y0, x0 + w, y0 + h, kBlack);
  for (int i = 0; i < 5; ++i) p.Fill(x0 + w - 5 + i, y0, x0 + w, y0 + 1 + i - (i ? 1 : 0), kKey);
  for (int line = y0 + 6; line < y0 + h - 4; line += 4) p.Fill(x0 + 3, line, x0 + w - 3, line + 1, kGrey);
  return p;
}

// A colour ramp under a value scroll bar's track, 128 x 12: from black through grey or the dark
// shade to the full colour (0 grey, 1 red, 2 green, 3 blue), in the palette's few steps.
Picture Ramp(int which) {
  Picture p(128, 12);
  const uint8_t full[4] = {kWhite, kRed, kGreen, kBlue};
  const uint8_t steps[4] = {kBlack, kGrey, which == 0 ? kLight : kGrey, full[which]};
  for (int band = 0; band < 4; ++band) p.Fill(band * 32, 0, band * 32 + 32, 12, steps[band]);
  return p;
}

// A small picture for the .bmp tests: key border, a red square, a white bottom-left pixel.
Picture Sample() {
  Picture p(6, 5);
  p.Fill(1, 1, 5, 4, kRed);
  p.Fill(0, 4, 1, 5, kWhite);
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string root = argc > 1 ? argv[1] : ".";
  const std::string language = root + "/samples/resources/bitmaps/language/";
  const std::string common = root + "/samples/resources/bitmaps/common/";
  const std::string fixtures = root + "/tests/fixtures/bmp/";
  bool ok = true;
  for (int i = 0; i < 3; ++i) ok &= Write(language + std::to_string(220 + i) + ".bmp", Encode(Face(i), 8, false));
  ok &= Write(language + "6193.bmp", Encode(Face(0), 8, false));
  ok &= Write(language + "6194.bmp", Encode(Face(1), 8, false));
  ok &= Write(language + "2067.bmp", Encode(Printer(false), 8, false));
  ok &= Write(language + "3203.bmp", Encode(Printer(true), 8, false));
  // The paper list's first values (3000 Letter, Ledger, Legal, Halfletter, Executive, A3, A4, A5, B4, B5).
  const int papers[10][2] = {{216, 279}, {279, 432}, {216, 356}, {140, 216}, {184, 267},
                             {297, 420}, {210, 297}, {148, 210}, {257, 364}, {182, 257}};
  for (int i = 0; i < 10; ++i)
    ok &= Write(language + std::to_string(3000 + i) + ".bmp", Encode(Paper(papers[i][0], papers[i][1]), 8, false));
  for (int i = 0; i < 4; ++i) ok &= Write(common + std::to_string(7001 + i) + ".bmp", Encode(Check(i), 8, false));
  ok &= Write(common + "7005.bmp", Encode(Mark(false), 8, false));
  ok &= Write(common + "7006.bmp", Encode(Mark(true), 8, false));
  for (int i = 0; i < 4; ++i) ok &= Write(common + std::to_string(7110 + i) + ".bmp", Encode(Ramp(i), 8, false));
  for (int bits : {1, 4, 8, 24, 32}) ok &= Write(fixtures + "sample" + std::to_string(bits) + ".bmp", Encode(Sample(), bits, false));
  ok &= Write(fixtures + "topdown8.bmp", Encode(Sample(), 8, true));
  if (!ok) std::fprintf(stderr, "bitmap_gen: a file could not be written under %s\n", root.c_str());
  return ok ? 0 : 1;
}
