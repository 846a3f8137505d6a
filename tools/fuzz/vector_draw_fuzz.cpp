// Fuzz target: any bytes as the outside data of vector drawing. The first byte picks the use:
// from 0xC0, an image transfer (source format, size, row order, bits, palette, mask, rectangles,
// call and ROP from the bytes; the engine's bitmaps limited in size by a byte) sent as image
// records; below it, even, a brush pattern (format, width, height, row order and bits from the bytes, laid over an
// engine bitmap of exactly those bits) realised by the driver; odd, a path (28.4 points, kinds
// and a batch size from the bytes) encoded as path records, clip records and outline data. The
// records written must read back as a sound display list; a read outside the input or the
// records, or a crash, is a finding.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <vector>

#include "gr2k/ddi_bodies.h"
#include "gr2k/draw_path.h"
#include "gr2k/draw_state.h"
#include "gr2k/records.h"
#include "gr2k/stream.h"
#include "host/job_stream/job_stream.h"
#include "platform/sim_gdi.h"

namespace {

std::vector<uint8_t> g_sent;
GraphicsPdev* g_pdev = nullptr;

BOOL WINAPI Sink(HANDLE, LPVOID bytes, DWORD cb, LPDWORD written) {
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  g_sent.insert(g_sent.end(), p, p + cb);
  *written = cb;
  return TRUE;
}

BOOL WINAPI Realize(BRUSHOBJ* bo, SURFOBJ* target, SURFOBJ* pattern, SURFOBJ* mask, XLATEOBJ* xlate, ULONG hatch) {
  return BrushRealize(g_pdev, bo, target, pattern, mask, xlate, hatch);
}

void Word(std::vector<uint8_t>* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(uint8_t(v >> (8 * i)));
}

// The rows of a bitmap of the format and size (padded to 32 bits) from the bytes, 0 past them.
std::vector<uint8_t> Rows(ULONG format, LONG width, LONG height, const uint8_t* data, size_t size) {
  ULONG bpp = format == BMF_1BPP ? 1 : format == BMF_4BPP ? 4 : format == BMF_8BPP ? 8 : format == BMF_16BPP ? 16
              : format == BMF_24BPP ? 24 : 32;
  size_t need = size_t((width * bpp + 31) / 32 * 4) * size_t(height);
  std::vector<uint8_t> bits(need, 0);
  memcpy(bits.data(), data, size < need ? size : need);
  return bits;
}

void Pattern(const uint8_t* data, size_t size, SURFOBJ* device) {
  if (size < 4) return;
  static const ULONG kFormats[] = {BMF_1BPP, BMF_4BPP, BMF_8BPP, BMF_16BPP, BMF_24BPP, BMF_32BPP};
  ULONG format = kFormats[data[0] % 6];
  LONG width = data[1] % 40 + 1, height = data[2] % 40 + 1;
  FLONG flags = (data[3] & 1) ? BMF_TOPDOWN : 0;
  data += 4, size -= 4;
  std::vector<uint8_t> bits = Rows(format, width, height, data, size);
  size_t need = bits.size();
  HBITMAP bitmap = EngCreateBitmap(SIZEL{width, height}, 0, format, flags, bits.data());
  if (!bitmap) return;
  SURFOBJ* so = EngLockSurface(reinterpret_cast<HSURF>(bitmap));
  ULONG table[256];
  for (ULONG i = 0; i < 256; ++i) table[i] = i * 0x010101u;
  XLATEOBJ xlate = {0, XO_TABLE, 0, 0, size > need ? ULONG(data[need] % 257) : 256, table};
  BRUSHOBJ* brush = SimGdiCreateBrush(0xFFFFFFFFu, 0, Realize, device, so, &xlate, 0xFFFFFFFFu);
  RealizedBrush* realized = GrBrushColor(g_pdev, device, brush, nullptr);
  if (realized) GrStatePattern(g_pdev, realized);
  SimGdiDeleteBrush(brush);
  EngUnlockSurface(so);
  EngDeleteSurface(reinterpret_cast<HSURF>(bitmap));
}

void Image(const uint8_t* data, size_t size, SURFOBJ* device) {
  if (size < 16) return;
  static const ULONG kFormats[] = {BMF_1BPP, BMF_4BPP, BMF_8BPP, BMF_16BPP, BMF_24BPP, BMF_32BPP};
  ULONG format = kFormats[data[0] % 6];
  LONG width = data[1] % 64 + 1, height = data[2] % 64 + 1;
  BYTE options = data[3];
  RECTL dest = {int8_t(data[4]) * 4, int8_t(data[5]) * 4, int8_t(data[6]) * 4, int8_t(data[7]) * 4};
  RECTL src = {int8_t(data[8]), int8_t(data[9]), int8_t(data[10]), int8_t(data[11])};
  static const ROP4 kRops[] = {0xCCCC, 0xAACC, 0xCCAA, 0x8888, 0x6666, 0xAAAA, 0x0000, 0xEEEE};
  ROP4 rop4 = kRops[data[12] % 8];
  ULONG entries = data[13];
  ULONG limit = data[14];
  g_pdev->reduceImages = options & 0x40;
  data += 16, size -= 16;
  std::vector<uint8_t> bits = Rows(format, width, height, data, size);
  std::vector<uint8_t> maskBits(size_t((width + 31) / 32 * 4) * size_t(height), 0xA5);
  HBITMAP bitmap = EngCreateBitmap(SIZEL{width, height}, 0, format, (options & 1) ? BMF_TOPDOWN : 0, bits.data());
  HBITMAP maskBitmap = EngCreateBitmap(SIZEL{width, height}, 0, BMF_1BPP, BMF_TOPDOWN, maskBits.data());
  if (!bitmap || !maskBitmap) {
    if (bitmap) EngDeleteSurface(reinterpret_cast<HSURF>(bitmap));
    if (maskBitmap) EngDeleteSurface(reinterpret_cast<HSURF>(maskBitmap));
    return;
  }
  SURFOBJ* so = EngLockSurface(reinterpret_cast<HSURF>(bitmap));
  SURFOBJ* mask = (options & 2) ? EngLockSurface(reinterpret_cast<HSURF>(maskBitmap)) : nullptr;
  ULONG table[256];
  for (ULONG i = 0; i < 256; ++i) table[i] = (i * 0x010101u) ^ ((options & 4) ? 0x102030u : 0u);
  XLATEOBJ xlate = {0, FLONG(XO_TABLE | ((options & 8) ? XO_HOST_ICM : 0)), 0, 0, entries, table};
  XLATEOBJ* use = (options & 0x10) ? &xlate : nullptr;
  POINTL at = {src.left, src.top};
  // The engine's bitmaps: any size, or none above limit x 64 bytes.
  SimGdiLimitBitmaps(limit ? limit * 64 : 0, -1);
  switch ((options >> 5) & 3) {
    case 0:
      VecBitBlt(g_pdev, device, so, mask, nullptr, use, &dest, &at, &at, nullptr, nullptr, rop4);
      break;
    case 1:
      VecStretchBlt(g_pdev, device, so, mask, nullptr, use, nullptr, nullptr, &dest, &src, &at, COLORONCOLOR,
                    nullptr, 0xCCCC);
      break;
    case 2:
      VecStretchBltRop(g_pdev, device, so, mask, nullptr, use, nullptr, nullptr, &dest, &src, &at, COLORONCOLOR,
                       nullptr, rop4);
      break;
    default:
      VecCopyBits(g_pdev, device, so, nullptr, use, &dest, &at);
      break;
  }
  SimGdiLimitBitmaps(0, -1);
  if (mask) EngUnlockSurface(mask);
  EngUnlockSurface(so);
  EngDeleteSurface(reinterpret_cast<HSURF>(maskBitmap));
  EngDeleteSurface(reinterpret_cast<HSURF>(bitmap));
}

void Path(const uint8_t* data, size_t size) {
  if (size < 2) return;
  ULONG batch = data[0] % 8;
  BYTE kind = BYTE(data[1] % 6);
  data += 2, size -= 2;
  std::vector<POINTFIX> points;
  std::vector<BYTE> kinds;
  for (size_t at = 0; at + 5 <= size; at += 5) {
    static const BYTE kKinds[] = {kSimPathMove, kSimPathLine, kSimPathCurve, BYTE(kSimPathLine | kSimPathClose),
                                  BYTE(kSimPathCurve | kSimPathClose)};
    kinds.push_back(kKinds[data[at] % 5]);
    points.push_back(
        POINTFIX{int16_t(data[at + 1] | data[at + 2] << 8) * 16, int16_t(data[at + 3] | data[at + 4] << 8)});
  }
  PATHOBJ* path = SimGdiCreatePath(points.data(), kinds.data(), ULONG(points.size()), batch);
  if (!path) return;
  if (!points.empty()) path->cCurves = kinds[0];  // cCurves may claim anything
  GrSendPath(g_pdev, path, kind);
  BYTE outline[512];
  BOOL closed;
  GrEncodeOutline(g_pdev, path, &closed, outline, sizeof outline, 3, -7);
  EngDeletePath(path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static GraphicsPdev* pdev = [] {
    GraphicsPdev* p = new GraphicsPdev();
    memset(p, 0, sizeof *p);
    p->magic = p->magicEnd = kPdevMagic;
    p->pool = PdevPoolCreate();
    p->resolution = 600;
    p->clipCache = static_cast<BYTE*>(PdevPoolAlloc(p->pool, 32));
    memset(p->clipCache, 0, 32);
    GrDrawStateCreate(p);
    p->stream.pdev = p;
    p->stream.spoolModule = reinterpret_cast<HMODULE>(1);
    p->stream.write = reinterpret_cast<PVOID>(&Sink);
    p->hdev = SimGdiCreateDevice();
    SimGdiBindDevice(p->hdev, reinterpret_cast<DHPDEV>(p));
    p->colourMachine = 1;
    return p;
  }();
  g_pdev = pdev;
  SURFOBJ device = {};
  device.dhpdev = reinterpret_cast<DHPDEV>(pdev);
  device.iType = STYPE_DEVICE;
  g_sent.clear();
  GrStreamReset(&pdev->stream);
  GrDrawStateNewPage(pdev);
  GrRecPageStart(&pdev->stream, 100, 100, 600, 600);
  if (data[0] >= 0xC0) Image(data + 1, size - 1, &device);
  else if (data[0] % 2 == 0) Pattern(data + 1, size - 1, &device);
  else Path(data + 1, size - 1);
  GrRecPageEnd(&pdev->stream);
  GrStreamFlush(&pdev->stream);
  std::vector<uint8_t> job;
  Word(&job, 244), Word(&job, 0), Word(&job, 240), Word(&job, 0);
  job.insert(job.end(), g_sent.begin(), g_sent.end());
  Word(&job, 241), Word(&job, 0);
  JsJob read;
  JsError err;
  if (!JsRead(job.data(), job.size(), &read, &err)) __builtin_trap();  // the driver wrote a broken record
  std::string out;
  JsDump(read, kJsDumpRecords | kJsDumpHex, 0, &out);
  return 0;
}
