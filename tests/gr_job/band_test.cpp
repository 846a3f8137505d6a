// Raster pages: GDI renders each page band by band and every band leaves as an image record
// of the rows inside the page, between the page's start record and its end record.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/job_stream/job_stream.h"
#include "platform/sim.h"
#include "support/print_fixture.h"

namespace {

using zems_test::PrintTest;

uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

class BandTest : public PrintTest {
 protected:
  static std::vector<uint8_t> Stream(DWORD job) {
    std::ifstream in(std::string(SimMachineRoot()) + "/stand-ins/ov1bc123/" + std::to_string(job) + ".zjs",
                     std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
};

TEST_F(BandTest, BandsCoverThePageOnceWithTheRowsInsideIt) {
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::string>> settings;
  } kCases[] = {
      {"mono", {{"zdmImagePrint", "1"}, {"zdmColorProcess", "1"}, {"dmColor", "1"}}},
      {"colour", {{"zdmImagePrint", "1"}, {"dmColor", "2"}}},
      // A4's width on 281.8 mm: 6656 lines, thirteen bands of 512 exactly.
      {"whole bands",
       {{"zdmImagePrint", "1"}, {"zdmColorProcess", "1"}, {"dmColor", "1"}, {"dmPaperSize", "256"},
        {"dmPaperWidth", "2100"}, {"dmPaperLength", "2818"}}},
  };
  for (const auto& c : kCases) {
    winsim::PrintSessionOptions options;
    options.settings = c.settings;
    winsim::PrintSessionResult r =
        RunScript("doc \"b\"\npage\nbrush solid 0\nrect 100 100 1100 1100\nendpage\nenddoc\n", options);
    ASSERT_TRUE(r.ok) << c.what << ": " << r.error;
    std::vector<uint8_t> bytes = Stream(r.jobId);
    JsJob job;
    JsError err;
    ASSERT_TRUE(JsRead(bytes.data(), bytes.size(), &job, &err)) << c.what << ": " << err.message;
    ASSERT_EQ(job.pages.size(), 1u) << c.what;
    const std::vector<JsRecord>& recs = job.pages[0].records;
    ASSERT_GE(recs.size(), 4u) << c.what;
    uint32_t width = U32(recs[0].bytes + 4), height = U32(recs[0].bytes + 8);
    EXPECT_EQ(recs[1].opcode, 49) << c.what;
    EXPECT_EQ(recs[1].bytes[1], 0xCC) << c.what;
    uint32_t nextTop = 0;
    bool drawn = false;
    for (size_t i = 2; i + 1 < recs.size(); ++i) {
      const uint8_t* rec = recs[i].bytes;
      ASSERT_EQ(recs[i].opcode, 32) << c.what << " record " << i;
      EXPECT_EQ(rec[3] & 4, 4) << c.what << ": a band image";
      EXPECT_EQ(U32(rec + 8), 0u) << c.what;
      EXPECT_EQ(U32(rec + 12), nextTop) << c.what << ": bands follow each other";
      EXPECT_EQ(U32(rec + 16), width) << c.what;
      EXPECT_EQ(U32(rec + 32), width) << c.what;
      nextTop = U32(rec + 20);
      EXPECT_EQ(U32(rec + 36), nextTop - U32(rec + 12)) << c.what << ": rows of the band";
      // Black pixels are 0 bytes; each row has at most 3 bytes of zero padding.
      size_t zeros = 0;
      for (uint32_t k = 56 + ((rec[2] & 0x30) ? 0 : 6); k < recs[i].length; ++k) zeros += rec[k] == 0;
      drawn = drawn || zeros > size_t(U32(rec + 36)) * 3 + 2;
    }
    EXPECT_EQ(nextTop, height) << c.what << ": the last band ends with the page, no row beyond";
    // GDI renders no band below the page, also when the page is a whole number of bands.
    long nextBands = 0;
    for (const std::string& t : r.trace) nextBands += t.rfind("DrvNextBand ", 0) == 0;
    EXPECT_EQ(nextBands, long(recs.size()) - 3) << c.what << ": one band per image record";
    EXPECT_TRUE(drawn) << c.what << ": the rectangle reached the bands";
    EXPECT_EQ(recs.back().opcode, 97) << c.what;
  }
}

}  // namespace
