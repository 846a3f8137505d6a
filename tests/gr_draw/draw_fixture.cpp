#include "draw_fixture.h"

#include "support/bare_stream.h"

namespace {

std::vector<uint8_t>* g_sent = nullptr;
GraphicsPdev* g_pdev = nullptr;

BOOL WINAPI Sink(HANDLE, LPVOID bytes, DWORD cb, LPDWORD written) {
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  g_sent->insert(g_sent->end(), p, p + cb);
  *written = cb;
  return TRUE;
}

// GDI realises a brush through the driver of the device it is drawn on.
BOOL WINAPI Realize(BRUSHOBJ* bo, SURFOBJ* target, SURFOBJ* pattern, SURFOBJ* mask, XLATEOBJ* xlate, ULONG hatch) {
  return BrushRealize(g_pdev, bo, target, pattern, mask, xlate, hatch);
}

void Word(std::vector<uint8_t>* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(uint8_t(v >> (8 * i)));
}

}  // namespace

void DrawTest::SetUp() {
  pdev_.reset(new GraphicsPdev());
  zems_test::BareStreamPdevOpen(pdev_.get(), &Sink);
  pdev_->magic = pdev_->magicEnd = kPdevMagic;
  pdev_->resolution = 600;
  pdev_->hdev = SimGdiCreateDevice();
  SimGdiBindDevice(pdev_->hdev, reinterpret_cast<DHPDEV>(pdev_.get()));
  pdev_->clipCache = static_cast<BYTE*>(PdevPoolAlloc(pdev_->pool, 32));
  memset(pdev_->clipCache, 0, 32);
  ASSERT_TRUE(GrDrawStateCreate(pdev_.get()));
  g_sent = &sent_;
  g_pdev = pdev_.get();
  device_.dhpdev = reinterpret_cast<DHPDEV>(pdev_.get());
  device_.iType = STYPE_DEVICE;
  device_.sizlBitmap = SIZEL{4800, 6600};
  NewPage();
}

void DrawTest::TearDown() {
  for (PATHOBJ* p : paths_) EngDeletePath(p);
  for (BRUSHOBJ* b : brushes_) SimGdiDeleteBrush(b);
  for (CLIPOBJ* c : clips_) SimGdiDeleteClip(c);
  for (SURFOBJ* so : locked_) EngUnlockSurface(so);
  for (HSURF h : bitmaps_) EngDeleteSurface(h);
  IcmFreeTransforms(pdev_.get());
  SimGdiLimitBitmaps(0, -1);
  SimGdiDeleteDevice(pdev_->hdev);
  PdevPoolDestroy(pdev_->pool);
  g_sent = nullptr;
  g_pdev = nullptr;
}

void DrawTest::NewPage() {
  sent_.clear();  // a flush during a drawing call sends part of the page early
  GrStreamReset(stream());
  GrDrawStateNewPage(pdev());
  ASSERT_NE(GrRecPageStart(stream(), 4800, 6600, 600, 600), nullptr);
}

std::vector<DrawRecord> DrawTest::Records() {
  EXPECT_NE(GrRecPageEnd(stream()), nullptr);
  EXPECT_TRUE(GrStreamFlush(stream()));
  std::vector<uint8_t> job;
  Word(&job, 244), Word(&job, 0), Word(&job, 240), Word(&job, 0);
  job.insert(job.end(), sent_.begin(), sent_.end());
  Word(&job, 241), Word(&job, 0);
  JsJob read;
  JsError err;
  std::vector<DrawRecord> out;
  EXPECT_TRUE(JsRead(job.data(), job.size(), &read, &err)) << err.message << " at " << err.offset;
  if (!err.failed && read.pages.size() == 1) {
    const auto& records = read.pages[0].records;
    for (size_t i = 1; i + 1 < records.size(); ++i)
      out.push_back(DrawRecord{records[i].opcode,
                               std::vector<uint8_t>(records[i].bytes, records[i].bytes + records[i].length)});
  }
  NewPage();
  return out;
}

std::vector<uint8_t> DrawTest::Opcodes(const std::vector<DrawRecord>& records) {
  std::vector<uint8_t> out;
  for (const DrawRecord& r : records) out.push_back(r.opcode);
  return out;
}

PATHOBJ* DrawTest::Path(const std::vector<DotPoint>& points, ULONG batch) {
  std::vector<POINTFIX> fix;
  std::vector<BYTE> kinds;
  for (const DotPoint& p : points) {
    fix.push_back(POINTFIX{p.x * 16, p.y * 16});
    kinds.push_back(p.kind);
  }
  PATHOBJ* path = SimGdiCreatePath(fix.data(), kinds.data(), ULONG(fix.size()), batch);
  paths_.push_back(path);
  return path;
}

BRUSHOBJ* DrawTest::Solid(ULONG colour, FLONG colorType) {
  BRUSHOBJ* b = SimGdiCreateBrush(colour, colorType, Realize, &device_, nullptr, nullptr, 0xFFFFFFFFu);
  brushes_.push_back(b);
  return b;
}

BRUSHOBJ* DrawTest::Hatch(ULONG hatch, ULONG fore, ULONG back) {
  tables_.emplace_back(new ULONG[2]{back, fore});
  xlates_.emplace_back(new XLATEOBJ());
  XLATEOBJ* x = xlates_.back().get();
  x->flXlate = XO_TABLE;
  x->cEntries = 2;
  x->pulXlate = tables_.back().get();
  BRUSHOBJ* b = SimGdiCreateBrush(0xFFFFFFFFu, 0, Realize, &device_, nullptr, x, hatch);
  brushes_.push_back(b);
  return b;
}

BRUSHOBJ* DrawTest::Pattern(SURFOBJ* pattern, XLATEOBJ* xlate) {
  BRUSHOBJ* b = SimGdiCreateBrush(0xFFFFFFFFu, 0, Realize, &device_, pattern, xlate, 0xFFFFFFFFu);
  brushes_.push_back(b);
  return b;
}

CLIPOBJ* DrawTest::Clip(BYTE complexity, const std::vector<RECTL>& rects, ULONG uniq, const RECTL* bounds) {
  CLIPOBJ* c = SimGdiCreateClip(complexity, bounds, rects.data(), ULONG(rects.size()), nullptr, uniq);
  clips_.push_back(c);
  return c;
}

SURFOBJ* DrawTest::Bitmap(LONG width, LONG height, ULONG format, const std::vector<uint8_t>& bits, bool topDown) {
  bits_.emplace_back(new std::vector<uint8_t>(bits));
  HBITMAP bm = EngCreateBitmap(SIZEL{width, height}, 0, format, topDown ? BMF_TOPDOWN : 0, bits_.back()->data());
  EXPECT_NE(bm, nullptr);
  bitmaps_.push_back(reinterpret_cast<HSURF>(bm));
  SURFOBJ* so = EngLockSurface(reinterpret_cast<HSURF>(bm));
  locked_.push_back(so);
  return so;
}
