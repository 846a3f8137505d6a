// A vector-mode PDEV without a printer: its pool, output stream, drawing-state cache and clip
// cache, drawing calls made on it directly and the page's records read back by the job-stream
// reader; engine objects made through the engine stand-in.
#pragma once
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gr2k/ddi_bodies.h"
#include "gr2k/draw_path.h"
#include "gr2k/draw_state.h"
#include "gr2k/records.h"
#include "gr2k/records_vector.h"
#include "gr2k/stream.h"
#include "host/job_stream/job_stream.h"
#include "platform/sim_gdi.h"

// One record as read back: its opcode and bytes.
struct DrawRecord {
  uint8_t opcode;
  std::vector<uint8_t> bytes;
  uint32_t U32(size_t at) const {
    uint32_t v;
    memcpy(&v, &bytes[at], 4);
    return v;
  }
  int32_t I32(size_t at) const { return int32_t(U32(at)); }
  int16_t I16(size_t at) const {
    int16_t v;
    memcpy(&v, &bytes[at], 2);
    return v;
  }
};

// A path point in whole dots; kind as SimGdiCreatePath takes it.
struct DotPoint {
  BYTE kind;
  LONG x, y;
};

class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  GraphicsPdev* pdev() { return pdev_.get(); }
  PdevOutputStream* stream() { return &pdev_->stream; }
  // Ends the page and reads its records (page start and end left out); a new page starts.
  std::vector<DrawRecord> Records();
  static std::vector<uint8_t> Opcodes(const std::vector<DrawRecord>& records);
  // A new page: the stream restarts and the drawing state is due again.
  void NewPage();

  // Engine objects, deleted at the end of the test.
  PATHOBJ* Path(const std::vector<DotPoint>& points, ULONG batch = 0);
  BRUSHOBJ* Solid(ULONG colour, FLONG colorType = 0);
  BRUSHOBJ* Hatch(ULONG hatch, ULONG fore, ULONG back);
  BRUSHOBJ* Pattern(SURFOBJ* pattern, XLATEOBJ* xlate = nullptr);
  CLIPOBJ* Clip(BYTE complexity, const std::vector<RECTL>& rects, ULONG uniq = 0, const RECTL* bounds = nullptr);
  // An engine bitmap over the given rows (copied), locked.
  SURFOBJ* Bitmap(LONG width, LONG height, ULONG format, const std::vector<uint8_t>& bits, bool topDown = true);

  std::unique_ptr<GraphicsPdev> pdev_;
  std::vector<uint8_t> sent_;
  SURFOBJ device_ = {};
  std::vector<PATHOBJ*> paths_;
  std::vector<BRUSHOBJ*> brushes_;
  std::vector<CLIPOBJ*> clips_;
  std::vector<HSURF> bitmaps_;
  std::vector<SURFOBJ*> locked_;
  std::vector<std::unique_ptr<std::vector<uint8_t>>> bits_;
  std::vector<std::unique_ptr<ULONG[]>> tables_;
  std::vector<std::unique_ptr<XLATEOBJ>> xlates_;
};
