// The engine stand-in's transfers with a source: conversion between the six depths, stretching
// and mirroring, masks, halftoning, the device break-down into DrvCopyBits and the control that
// makes EngCreateBitmap fail.
#include "draw_fixture.h"

namespace {

class EngineTransferTest : public DrawTest {
 protected:
  static ULONG Pixel(const SURFOBJ* so, LONG x, LONG y) {
    const BYTE* row = static_cast<const BYTE*>(so->pvScan0) + y * so->lDelta;
    switch (so->iBitmapFormat) {
      case BMF_1BPP: return (row[x >> 3] >> (7 - (x & 7))) & 1;
      case BMF_4BPP: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
      case BMF_8BPP: return row[x];
      case BMF_16BPP: return ULONG(row[2 * x]) | ULONG(row[2 * x + 1]) << 8;
      case BMF_24BPP: return ULONG(row[3 * x]) | ULONG(row[3 * x + 1]) << 8 | ULONG(row[3 * x + 2]) << 16;
    }
    ULONG v;
    memcpy(&v, row + 4 * x, 4);
    return v;
  }
  SURFOBJ* Blank(LONG w, LONG h, ULONG format) {
    ULONG bits = format == BMF_1BPP ? 1 : format == BMF_4BPP ? 4 : format == BMF_8BPP ? 8 : format == BMF_16BPP ? 16
                 : format == BMF_24BPP ? 24 : 32;
    return Bitmap(w, h, format, std::vector<uint8_t>(((size_t(w) * bits + 31) / 32) * 4 * h, 0));
  }
};

// One white pixel and one mid-grey pixel of each depth, copied into a 24-bpp bitmap.
TEST_F(EngineTransferTest, EachDepthConvertsToTwentyFour) {
  struct {
    ULONG format;
    std::vector<uint8_t> bits;  // pixel 0 white, pixel 1 grey 0x808080 (or the nearest)
    ULONG grey;
  } cases[] = {
      {BMF_1BPP, {0x80, 0, 0, 0}, 0x000000},
      {BMF_4BPP, {0xF8, 0, 0, 0}, 0x888888},
      {BMF_8BPP, {0xFF, 0x80, 0, 0}, 0x808080},
      {BMF_16BPP, {0xFF, 0x7F, 0x10, 0x42}, 0x838383},
      {BMF_24BPP, {0xFF, 0xFF, 0xFF, 0x80, 0x80, 0x80, 0, 0}, 0x808080},
      {BMF_32BPP, {0xFF, 0xFF, 0xFF, 0, 0x80, 0x80, 0x80, 0}, 0x808080},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    SURFOBJ* src = Bitmap(2, 1, c.format, c.bits);
    SURFOBJ* dst = Blank(2, 1, BMF_24BPP);
    RECTL all = {0, 0, 2, 1};
    POINTL origin = {0, 0};
    ASSERT_TRUE(EngCopyBits(dst, src, nullptr, nullptr, &all, &origin));
    EXPECT_EQ(Pixel(dst, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Pixel(dst, 1, 0), c.grey);
  }
}

TEST_F(EngineTransferTest, TableTranslatesIndicesAndRefusesOthers) {
  ULONG table[2] = {0x112233, 0x445566};
  XLATEOBJ xlate = {0, XO_TABLE, PAL_INDEXED, 0, 2, table};
  SURFOBJ* src = Bitmap(3, 1, BMF_8BPP, {1, 0, 2, 0});
  SURFOBJ* dst = Blank(3, 1, BMF_24BPP);
  RECTL two = {0, 0, 2, 1}, three = {0, 0, 3, 1};
  POINTL origin = {0, 0};
  ASSERT_TRUE(EngBitBlt(dst, src, nullptr, nullptr, &xlate, &two, &origin, nullptr, nullptr, nullptr, 0xCCCC));
  EXPECT_EQ(Pixel(dst, 0, 0), 0x445566u);
  EXPECT_EQ(Pixel(dst, 1, 0), 0x112233u);
  EXPECT_FALSE(EngBitBlt(dst, src, nullptr, nullptr, &xlate, &three, &origin, nullptr, nullptr, nullptr, 0xCCCC));
}

TEST_F(EngineTransferTest, StretchesMirrorsAndMasks) {
  SURFOBJ* src = Bitmap(4, 1, BMF_8BPP, {1, 2, 3, 4});
  SURFOBJ* wide = Blank(8, 1, BMF_8BPP);
  RECTL to = {8, 0, 0, 1}, from = {0, 0, 4, 1};
  ASSERT_TRUE(EngStretchBlt(wide, src, nullptr, nullptr, nullptr, nullptr, nullptr, &to, &from, nullptr, COLORONCOLOR));
  std::vector<ULONG> got;
  for (LONG x = 0; x < 8; ++x) got.push_back(Pixel(wide, x, 0));
  EXPECT_EQ(got, (std::vector<ULONG>{4, 4, 3, 3, 2, 2, 1, 1}));
  // The mask's set bits take the foreground ROP3 (source), the clear ones the background (keep).
  SURFOBJ* masked = Bitmap(4, 1, BMF_8BPP, {9, 9, 9, 9});
  SURFOBJ* mask = Bitmap(4, 1, BMF_1BPP, {0xA0, 0, 0, 0});
  RECTL same = {0, 0, 4, 1};
  POINTL at = {0, 0};
  ASSERT_TRUE(EngStretchBltROP(masked, src, mask, nullptr, nullptr, nullptr, nullptr, &same, &from, &at, COLORONCOLOR,
                               nullptr, 0xAACC));
  got.clear();
  for (LONG x = 0; x < 4; ++x) got.push_back(Pixel(masked, x, 0));
  EXPECT_EQ(got, (std::vector<ULONG>{1, 9, 3, 9}));
}

TEST_F(EngineTransferTest, HalftoneDithersGreyOntoOneBit) {
  // Mid grey on 1 bpp: half the pixels of a 4 x 4 cell set in halftone mode, all or none without.
  SURFOBJ* src = Bitmap(4, 4, BMF_8BPP, std::vector<uint8_t>(16, 0x80));
  for (ULONG mode : {ULONG(HALFTONE), ULONG(COLORONCOLOR)}) {
    SURFOBJ* dst = Blank(4, 4, BMF_1BPP);
    RECTL all = {0, 0, 4, 4};
    ASSERT_TRUE(EngStretchBlt(dst, src, nullptr, nullptr, nullptr, nullptr, nullptr, &all, &all, nullptr, mode));
    int set = 0;
    for (LONG y = 0; y < 4; ++y)
      for (LONG x = 0; x < 4; ++x) set += int(Pixel(dst, x, y));
    if (mode == HALFTONE)
      EXPECT_EQ(set, 8);
    else
      EXPECT_TRUE(set == 0 || set == 16);
  }
}

SURFOBJ* g_copiedFrom = nullptr;
RECTL g_copiedTo;
ULONG g_copiedPixel;
BOOL WINAPI RecordCopy(SURFOBJ*, SURFOBJ* src, CLIPOBJ*, XLATEOBJ*, RECTL* dest, POINTL* from) {
  g_copiedFrom = src;
  g_copiedTo = *dest;
  g_copiedPixel = static_cast<const BYTE*>(src->pvScan0)[from->y * src->lDelta + from->x * 3];
  return TRUE;
}

TEST_F(EngineTransferTest, TransferToTheDeviceBecomesACopyOfABitmap) {
  device_.hdev = pdev()->hdev;
  device_.iBitmapFormat = BMF_24BPP;
  SURFOBJ* src = Bitmap(2, 2, BMF_24BPP, std::vector<uint8_t>(16, 0x40));
  RECTL to = {10, 20, 14, 24}, from = {0, 0, 2, 2};
  EXPECT_FALSE(EngStretchBlt(&device_, src, nullptr, nullptr, nullptr, nullptr, nullptr, &to, &from, nullptr,
                             COLORONCOLOR));
  SimGdiSetDeviceCopyBits(device_.hdev, RecordCopy);
  DWORD live = SimGdiLiveObjects();
  ASSERT_TRUE(EngStretchBlt(&device_, src, nullptr, nullptr, nullptr, nullptr, nullptr, &to, &from, nullptr,
                            COLORONCOLOR));
  SimGdiSetDeviceCopyBits(device_.hdev, nullptr);
  ASSERT_NE(g_copiedFrom, nullptr);
  EXPECT_EQ(g_copiedTo.left, 10);
  EXPECT_EQ(g_copiedTo.bottom, 24);
  EXPECT_EQ(g_copiedPixel, 0x40u);
  EXPECT_EQ(SimGdiLiveObjects(), live) << "the engine's bitmap is gone";
}

TEST_F(EngineTransferTest, BitmapCreationFailsAboveASizeOrAfterACount) {
  SimGdiLimitBitmaps(1000, -1);
  HBITMAP small = EngCreateBitmap(SIZEL{10, 10}, 0, BMF_8BPP, 0, nullptr);
  EXPECT_NE(small, nullptr);
  EXPECT_EQ(EngCreateBitmap(SIZEL{100, 100}, 0, BMF_8BPP, 0, nullptr), nullptr);
  SimGdiLimitBitmaps(0, 1);
  HBITMAP one = EngCreateBitmap(SIZEL{100, 100}, 0, BMF_8BPP, 0, nullptr);
  EXPECT_NE(one, nullptr);
  EXPECT_EQ(EngCreateBitmap(SIZEL{1, 1}, 0, BMF_8BPP, 0, nullptr), nullptr);
  SimGdiLimitBitmaps(0, -1);
  EngDeleteSurface(reinterpret_cast<HSURF>(small));
  EngDeleteSurface(reinterpret_cast<HSURF>(one));
}

}  // namespace
