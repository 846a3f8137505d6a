// The pixels of the picture drawing on gdi32, read back from memory DCs: key colours, the page
// colour behind them, the combinations with a base picture, the buffer's stretch, grey pictures
// and .bmp files. Windows (Wine) only: natively the drawing is recorded (tests/resources).
#include <gtest/gtest.h>

#ifdef _WIN32
#include <string.h>

#include <string>
#include <vector>

#include "core/front/image_render.h"
#include "core/system/resources.h"

namespace {

// A palette picture (DIB section) of width x height with the given colour table; pixels[y][x]
// are the indexes, top row first.
HBITMAP Picture(int bits, const std::vector<COLORREF>& table, const std::vector<std::vector<BYTE>>& pixels) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info = {};
  const int width = int(pixels[0].size()), height = int(pixels.size());
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -height;
  info.header.biPlanes = 1;
  info.header.biBitCount = WORD(bits);
  info.header.biClrUsed = DWORD(table.size());
  for (size_t i = 0; i < table.size(); ++i) {
    info.colours[i].rgbRed = GetRValue(table[i]);
    info.colours[i].rgbGreen = GetGValue(table[i]);
    info.colours[i].rgbBlue = GetBValue(table[i]);
  }
  void* bits_ = nullptr;
  HBITMAP bitmap = CreateDIBSection(NULL, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits_, NULL, 0);
  const int stride = (bits * width + 31) / 32 * 4;
  BYTE* rows = static_cast<BYTE*>(bits_);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      BYTE* row = rows + y * stride;
      if (bits == 8) row[x] = pixels[y][x];
      else row[x / 2] |= BYTE(x % 2 ? pixels[y][x] : pixels[y][x] << 4);
    }
  GdiFlush();
  return bitmap;
}

// A 32-bit memory DC of width x height filled with one colour.
struct Canvas {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ previous;
  Canvas(int width, int height, COLORREF fill) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc = CreateCompatibleDC(NULL);
    bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    previous = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
  }
  ~Canvas() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
};

const LONG kNeutral[6] = {50, 50, 50, 50, 50, 50};
const COLORREF kKey = kImgKeyColour, kRed = RGB(255, 0, 0), kWhite = RGB(255, 255, 255);

ImgRenderJob Job(HDC target, HBITMAP bitmap, int bits, RECT rect, POINT at, DWORD flags) {
  ImgRenderJob job = {};
  job.target = target;
  job.bitmap = bitmap;
  BITMAP info;
  GetObjectW(bitmap, sizeof info, &info);
  job.width = info.bmWidth;
  job.height = info.bmHeight;
  job.bitsPerPixel = WORD(bits);
  job.rect = rect;
  job.at = at;
  job.flags = flags;
  job.adjust = kNeutral;
  job.noTheme = TRUE;
  job.background = RGB(10, 20, 30);
  return job;
}

// 2 x 2: key, red / red, key.
HBITMAP Checker() { return Picture(8, {kKey, kRed}, {{0, 1}, {1, 0}}); }

TEST(ImagePixels, FourBitPicturesUseTheirBottomLeftPixelAsKey) {
  Canvas canvas(4, 4, RGB(0, 128, 0));
  // White bottom-left: white is the key; the key colour 0x3300CC of other pictures is drawn.
  HBITMAP picture = Picture(4, {kWhite, kRed, kKey}, {{1, 2}, {0, 1}});
  ImgRenderJob job = Job(canvas.dc, picture, 4, RECT{0, 0, 4, 4}, POINT{1, 1}, kImgNoTheme);
  ASSERT_TRUE(ImgRender(&job, kImgRenderKeyed));
  EXPECT_EQ(kRed, canvas.At(1, 1));
  EXPECT_EQ(kKey, canvas.At(2, 1));
  EXPECT_EQ(RGB(0, 128, 0), canvas.At(1, 2));  // white shows the target
  EXPECT_EQ(kRed, canvas.At(2, 2));
  EXPECT_EQ(RGB(0, 128, 0), canvas.At(0, 0));
  DeleteObject(picture);
}

TEST(ImagePixels, CombinationsOfKeyAndTarget) {
  const COLORREF grey = RGB(128, 128, 128), page = RGB(10, 20, 30);
  struct Case {
    const char* what;
    DWORD flags;
    COLORREF key;     // where the key pixel (0, 0) of the picture lands
    COLORREF colour;  // where its red pixel (1, 0) lands
    COLORREF outside;  // the rest of the rectangle
  } cases[] = {
      {"the classic look: the page colour behind", 0, page, kRed, page},
      {"key pixels show the target", kImgNoTheme, grey, kRed, grey},
      {"the mode the lists pass (9)", kImgNoTheme | 0x8, grey, kRed, grey},
      {"opaque copy", kImgOpaque, kKey, kRed, grey},
      {"SRCAND on a base", kImgOnBase | kImgAnd, RGB(0x80, 0, 0x80 & 0x33), RGB(128, 0, 0), grey},
      {"MERGEPAINT base", kImgMergePaint, RGB(128 | 0x33, 255, 128 | 0xCC), RGB(128, 255, 255), grey},
  };
  for (const Case& c : cases) {
    Canvas canvas(4, 2, grey);
    HBITMAP picture = Checker();
    ImgRenderJob job = Job(canvas.dc, picture, 8, RECT{0, 0, 4, 2}, POINT{0, 0}, c.flags);
    ASSERT_TRUE(ImgRender(&job, kImgRenderKeyed)) << c.what;
    EXPECT_EQ(c.key, canvas.At(0, 0)) << c.what;
    EXPECT_EQ(c.colour, canvas.At(1, 0)) << c.what;
    EXPECT_EQ(c.outside, canvas.At(3, 0)) << c.what;
    DeleteObject(picture);
  }
}

TEST(ImagePixels, ARowWith0x50IsCentred) {
  Canvas canvas(10, 8, kWhite);
  const PicturePartRow row = {6001, 0, 0, 0, 0x50, 0, 0, 0, 0, 0};
  const RECT client = {0, 0, 10, 8};
  const ImgWindowPlan plan = ImgPlanWindowDraw(&row, &client, nullptr, 0, 0, 0);
  HBITMAP picture = Checker();
  ImgRenderJob job = Job(canvas.dc, picture, 8, plan.target, ImgAlignPicture(plan.at, 2, 2, plan.pictureFlags),
                         plan.pictureFlags | kImgNoTheme);
  ASSERT_TRUE(ImgRender(&job, kImgRenderKeyed));
  EXPECT_EQ(kRed, canvas.At(5, 3));
  EXPECT_EQ(kRed, canvas.At(4, 4));
  EXPECT_EQ(kWhite, canvas.At(4, 3));
  EXPECT_EQ(kWhite, canvas.At(3, 3));
  DeleteObject(picture);
}

TEST(ImagePixels, ABufferedStretchedDrawing) {
  Canvas window(4, 4, kWhite);
  DlgDrawState draw = {};
  const RECT rect = {0, 0, 4, 4};
  ASSERT_TRUE(ImgMakeBuffer(&draw, window.dc, &rect));
  HBITMAP picture = Checker();
  ImgRenderJob job = Job(draw.memoryDc, picture, 8, RECT{0, 0, 4, 4}, POINT{0, 0}, kImgStretch);
  ASSERT_TRUE(ImgRender(&job, kImgRenderNatural));
  draw.stretched = 1;
  draw.imageWidth = 2;
  draw.imageHeight = 2;
  ImgCopyBuffer(&draw, window.dc, &rect);
  ImgFreeBuffer(&draw);
  EXPECT_EQ((HDC)NULL, draw.memoryDc);
  // Each picture pixel became 2 x 2.
  EXPECT_EQ(kKey, window.At(0, 0));
  EXPECT_EQ(kKey, window.At(1, 1));
  EXPECT_EQ(kRed, window.At(2, 0));
  EXPECT_EQ(kRed, window.At(3, 1));
  EXPECT_EQ(kRed, window.At(0, 3));
  DeleteObject(picture);
}

TEST(ImagePixels, AMonochromeModelsPicturesAreGrey) {
  Canvas canvas(2, 1, kWhite);
  HBITMAP picture = Picture(8, {RGB(100, 150, 200), RGB(255, 0, 0)}, {{0, 1}});
  ImgRenderJob job = Job(canvas.dc, picture, 8, RECT{0, 0, 2, 1}, POINT{0, 0}, kImgStretch);
  job.grey = TRUE;
  ASSERT_TRUE(ImgRender(&job, kImgRenderNatural));
  EXPECT_EQ(RGB(140, 140, 140), canvas.At(0, 0));  // (30 x 100 + 59 x 150 + 11 x 200) / 100
  EXPECT_EQ(RGB(76, 76, 76), canvas.At(1, 0));
  DeleteObject(picture);
}

std::vector<BYTE> BmpFile(WORD bits, LONG height) {
  const DWORD entries = bits <= 8 ? 1u << bits : 0, stride = (bits * 3u + 31) / 32 * 4;
  const DWORD offBits = 54 + 4 * entries, rows = DWORD(height < 0 ? -height : height);
  std::vector<BYTE> b(offBits + stride * rows, 0);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfSize = DWORD(b.size());
  file.bfOffBits = offBits;
  BITMAPINFOHEADER info = {};
  info.biSize = 40;
  info.biWidth = 3;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = bits;
  memcpy(b.data(), &file, sizeof file);
  memcpy(b.data() + 14, &info, sizeof info);
  return b;
}

TEST(ImagePixels, BmpFilesAreReadOrRefused) {
  WCHAR folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  struct Case {
    const wchar_t* leaf;
    WORD bits;
    LONG height;
    DWORD headerSize;
    bool read;
  } cases[] = {
      {L"one.bmp", 1, 2, 40, true},      {L"four.bmp", 4, 2, 40, true},      {L"eight.bmp", 8, 2, 40, true},
      {L"rgb.bmp", 24, 2, 40, true},     {L"rgba.bmp", 32, 2, 40, true},     {L"topdown.bmp", 8, -2, 40, true},
      {L"\x0444\x0430\x0439\x043b.bmp", 8, 2, 40, true},  // Cyrillic
      {L"v5.bmp", 8, 2, 124, false},     {L"three.bmp", 3, 2, 40, false},    {L"sixtyfour.bmp", 64, 2, 40, false},
  };
  for (const Case& c : cases) {
    std::wstring path = std::wstring(folder) + c.leaf;
    std::vector<BYTE> bytes = BmpFile(c.bits, c.height);
    bytes[14] = BYTE(c.headerSize);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, NULL);
    CloseHandle(file);
    LONG width = -1, height = -1;
    HBITMAP bitmap = ResLoadBmpFile(path.c_str(), &width, &height);
    EXPECT_EQ(c.read, bitmap != NULL) << c.bits;
    EXPECT_EQ(c.read ? 3 : 0, width) << c.bits;
    EXPECT_EQ(c.read ? 2 : 0, height) << c.bits;
    if (bitmap) DeleteObject(bitmap);
    DeleteFileW(path.c_str());
  }
}

}  // namespace
#endif
