// .bmp files the user names: only the uncompressed 40-byte-header form whose palette and pixels
// lie inside the file is read; everything else is refused before any pixel is read.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "core/common/draw_ui.h"
#include "core/system/resources.h"
#include "support/machine_fixture.h"

namespace {

void Put32(std::vector<BYTE>& b, size_t at, DWORD v) {
  for (int i = 0; i < 4; ++i) b[at + i] = BYTE(v >> (8 * i));
}
void Put16(std::vector<BYTE>& b, size_t at, WORD v) {
  b[at] = BYTE(v);
  b[at + 1] = BYTE(v >> 8);
}

// A 6 x 5 picture of `bits` bits per pixel with a full palette, pixels right after it.
std::vector<BYTE> Bitmap(WORD bits) {
  const DWORD entries = bits <= 8 ? 1u << bits : 0;
  const DWORD stride = (bits * 6u + 31) / 32 * 4, offBits = 54 + 4 * entries;
  std::vector<BYTE> b(offBits + stride * 5, 0x11);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, DWORD(b.size()));
  Put32(b, 6, 0);
  Put32(b, 10, offBits);
  Put32(b, 14, 40);
  Put32(b, 18, 6);
  Put32(b, 22, 5);
  Put16(b, 26, 1);
  Put16(b, 28, bits);
  Put32(b, 30, 0);
  Put32(b, 34, stride * 5);
  Put32(b, 46, 0);
  return b;
}

TEST(BmpHeaders, AcceptedAndRefused) {
  struct Case {
    const char* what;
    WORD bits;
    void (*change)(std::vector<BYTE>&);
    BOOL accepted;
    LONG height;  // as the layout keeps it
  } cases[] = {
      {"1 bit", 1, nullptr, TRUE, 5},
      {"4 bits", 4, nullptr, TRUE, 5},
      {"8 bits", 8, nullptr, TRUE, 5},
      {"24 bits", 24, nullptr, TRUE, 5},
      {"32 bits", 32, nullptr, TRUE, 5},
      {"top-down", 8, [](std::vector<BYTE>& b) { Put32(b, 22, DWORD(-5)); }, TRUE, -5},
      {"a short palette of biClrUsed entries", 8, [](std::vector<BYTE>& b) { Put32(b, 46, 16); }, TRUE, 5},
      {"a V5 header", 8, [](std::vector<BYTE>& b) { Put32(b, 14, 124); }, FALSE, 0},
      {"0 bits", 8, [](std::vector<BYTE>& b) { Put16(b, 28, 0); }, FALSE, 0},
      {"3 bits", 8, [](std::vector<BYTE>& b) { Put16(b, 28, 3); }, FALSE, 0},
      {"64 bits", 8, [](std::vector<BYTE>& b) { Put16(b, 28, 64); }, FALSE, 0},
      {"run-length compressed", 8, [](std::vector<BYTE>& b) { Put32(b, 30, 1); }, FALSE, 0},
      {"width 0", 8, [](std::vector<BYTE>& b) { Put32(b, 18, 0); }, FALSE, 0},
      {"height 0", 8, [](std::vector<BYTE>& b) { Put32(b, 22, 0); }, FALSE, 0},
      {"negative width", 8, [](std::vector<BYTE>& b) { Put32(b, 18, DWORD(-6)); }, FALSE, 0},
      {"100,000 x 100,000", 8, [](std::vector<BYTE>& b) { Put32(b, 18, 100000); Put32(b, 22, 100000); }, FALSE, 0},
      {"16,385 high", 8, [](std::vector<BYTE>& b) { Put32(b, 22, 16385); }, FALSE, 0},
      {"16,385 high top-down", 8, [](std::vector<BYTE>& b) { Put32(b, 22, DWORD(-16385)); }, FALSE, 0},
      {"a row size that overflows 32 bits", 32,
       [](std::vector<BYTE>& b) { Put32(b, 18, 0x7FFFFFFF); Put32(b, 22, 0x7FFFFFFF); }, FALSE, 0},
      {"16,384 square: pixels past the end", 32,
       [](std::vector<BYTE>& b) { Put32(b, 18, 16384); Put32(b, 22, 16384); }, FALSE, 0},
      {"bfOffBits past the end", 8, [](std::vector<BYTE>& b) { Put32(b, 10, 0xFFFFFFF0); }, FALSE, 0},
      {"bfOffBits inside the palette", 8, [](std::vector<BYTE>& b) { Put32(b, 10, 60); }, FALSE, 0},
      {"more palette entries than 2^bits", 4, [](std::vector<BYTE>& b) { Put32(b, 46, 17); }, FALSE, 0},
      {"257 entries of 8 bits, the pixels after them", 8,
       [](std::vector<BYTE>& b) {
         Put32(b, 46, 257);
         b.insert(b.begin() + 1078, 4, 0);
         Put32(b, 10, 1082);
       },
       FALSE, 0},
      {"a palette past the end", 8, [](std::vector<BYTE>& b) { Put32(b, 46, 0); b.resize(600); }, FALSE, 0},
      {"two planes", 8, [](std::vector<BYTE>& b) { Put16(b, 26, 2); }, FALSE, 0},
  };
  for (const Case& c : cases) {
    std::vector<BYTE> b = Bitmap(c.bits);
    if (c.change) c.change(b);
    BmpLayout layout = {};
    EXPECT_EQ(c.accepted, ResCheckBmpHeaders(b.data(), DWORD(b.size()), DWORD(b.size()), &layout)) << c.what;
    if (c.accepted) {
      EXPECT_EQ(6, layout.width) << c.what;
      EXPECT_EQ(c.height, layout.height) << c.what;
      EXPECT_EQ(c.bits, layout.bitCount) << c.what;
      EXPECT_LE(layout.pixelsOffset + layout.imageSize, b.size()) << c.what;
    }
  }
  // A file shorter than its two headers.
  std::vector<BYTE> b = Bitmap(8);
  BmpLayout layout = {};
  EXPECT_FALSE(ResCheckBmpHeaders(b.data(), 40, 40, &layout));
  EXPECT_FALSE(ResCheckBmpHeaders(b.data(), DWORD(b.size()), 53, &layout));
}

class BmpFileTest : public zems_test::MachineTest {
 protected:
  void Write(const char16_t* path, const std::vector<BYTE>& bytes) {
    HANDLE file = CreateFileW(reinterpret_cast<LPCWSTR>(path), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, NULL);
    CloseHandle(file);
    ASSERT_EQ(bytes.size(), written);
  }
};

TEST_F(BmpFileTest, FilesAreReadOrRefusedWithNoSize) {
  std::vector<BYTE> topDown = Bitmap(24);
  Put32(topDown, 22, DWORD(-5));
  std::vector<BYTE> shortFile = Bitmap(8);
  shortFile.resize(30);
  std::vector<BYTE> cutPixels = Bitmap(8);
  cutPixels.resize(cutPixels.size() - 1);
  std::vector<BYTE> v5 = Bitmap(8);
  Put32(v5, 14, 124);
  struct Case {
    const char16_t* path;
    std::vector<BYTE> bytes;
    bool read;
  } cases[] = {
      {u"C:\\pictures\\eight.bmp", Bitmap(8), true},
      {u"C:\\pictures\\\u0440\u0438\u0441\u0443\u043d\u043e\u043a.bmp", Bitmap(4), true},  // Cyrillic
      {u"C:\\pictures\\topdown.bmp", topDown, true},
      {u"C:\\pictures\\short.bmp", shortFile, false},
      {u"C:\\pictures\\cut.bmp", cutPixels, false},
      {u"C:\\pictures\\v5.bmp", v5, false},
  };
  CreateDirectoryW(reinterpret_cast<LPCWSTR>(u"C:\\pictures"), NULL);
  for (const Case& c : cases) {
    Write(c.path, c.bytes);
    LONG width = -1, height = -1;
    HBITMAP bitmap = ResLoadBmpFile(reinterpret_cast<LPCWSTR>(c.path), &width, &height);
    EXPECT_EQ(c.read, bitmap != NULL);
    EXPECT_EQ(c.read ? 6 : 0, width);
    EXPECT_EQ(c.read ? 5 : 0, height);
    LONG w = 0, h = 0;
    WORD bits = 0;
    if (bitmap) {
      EXPECT_TRUE(DuiBitmapSize(bitmap, &w, &h, &bits));
      EXPECT_EQ(6, w);
      EXPECT_EQ(5, h);
    }
    DuiDeleteBitmap(bitmap);
  }
  LONG width = -1, height = -1;
  EXPECT_EQ(NULL, ResLoadBmpFile(reinterpret_cast<LPCWSTR>(u"C:\\pictures\\missing.bmp"), &width, &height));
  EXPECT_EQ(0, width);
  EXPECT_EQ(0, height);
}

}  // namespace
